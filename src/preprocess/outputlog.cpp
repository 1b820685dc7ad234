#include "preprocess/outputlog.h"

#include <algorithm>
#include <array>
#include <functional>
#include <stdexcept>

namespace qm {

namespace {

constexpr std::array<std::string_view, 10> kMessages = {
    "",
    "Unresolved topic link in module %s.",
    "Unresolved anchor in module %s.",
    "Duplicate anchor in module %s.",
    "Provided topic in a popup link in module %s.",
    "Provided popup in a topic link in module %s.",
    "Incomplete tag in module %s.",
    "Unclosed tag in module %s.",
    "Undefined window type in module %s.",
    "Image not found in module %s.",
};

}  // namespace

std::string_view PreprocessorMessage(int code) {
    if (code < 1 || code > 9) return {};
    return kMessages[static_cast<std::size_t>(code)];
}

std::string TError::Message() const {
    std::string msg(PreprocessorMessage(Code));
    const std::size_t p = msg.find("%s");
    if (p != std::string::npos) msg.replace(p, 2, TopicName);
    return msg;
}

const TError& TLogEntries::at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("TLogEntries::at");
    return (*this)[i];
}

void TLogEntries::push_back(TError&& e) {
    if (size_ % kBlock == 0) {
        if (size_ / kBlock == blocks_.size()) blocks_.emplace_back();
        blocks_[size_ / kBlock].reserve(kBlock);
    }
    blocks_[size_ / kBlock].push_back(std::move(e));
    ++size_;
}

void TLogEntries::clear() {
    blocks_.clear();
    size_ = 0;
}

void TOutputLog::Clear() {
    entries_.clear();
    same_.clear();
    sameUsed_ = 0;
    errors_ = 0;
    warnings_ = 0;
}

std::size_t TOutputLog::Hash(std::int32_t code, std::string_view text, TNodeId topic) {
    std::size_t h = std::hash<std::string_view>{}(text);
    h ^= (static_cast<std::size_t>(topic) * 0x9E3779B97F4A7C15ull) + static_cast<std::size_t>(code) + (h << 6) +
         (h >> 2);
    return h;
}

std::size_t TOutputLog::FindSlot(std::size_t hash, std::int32_t code, std::string_view text, TNodeId topic) const {
    const std::size_t mask = same_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const SameSlot& slot = same_[i];
        if (slot.entry == 0) return i;
        if (slot.hash != static_cast<std::uint32_t>(hash)) continue;
        const TError& e = entries_[slot.entry - 1];
        if (e.Code == code && e.Topic == topic && e.Text == text) return i;
    }
}

int TOutputLog::CountOneMore(std::int32_t code, std::string_view text, TNodeId topic) {
    if (4 * (sameUsed_ + 1) > 3 * same_.size()) {
        std::vector<SameSlot> old(std::max<std::size_t>(16, 2 * same_.size()));
        old.swap(same_);
        const std::size_t mask = same_.size() - 1;
        for (const SameSlot& slot : old) {
            if (slot.entry == 0) continue;
            std::size_t i = slot.hash & mask;
            while (same_[i].entry != 0) i = (i + 1) & mask;
            same_[i] = slot;
        }
    }
    const std::size_t hash = Hash(code, text, topic);
    SameSlot& slot = same_[FindSlot(hash, code, text, topic)];
    if (slot.entry == 0) {
        slot.hash = static_cast<std::uint32_t>(hash);
        slot.entry = static_cast<std::uint32_t>(entries_.size());  // the entry just added
        ++sameUsed_;
    }
    return ++slot.count;
}

void TOutputLog::Add(std::uint8_t kind, std::int32_t code, std::string_view text, const TTopicNode& topic,
                     std::int32_t occurrence) {
    Add(kind, code, text, topic.Id(), topic.GetName(), occurrence);
}

void TOutputLog::Add(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic,
                     std::string_view topicName, std::int32_t occurrence) {
    Push(kind, code, text, topic, topicName, occurrence);
    CountOneMore(code, text, topic);
}

void TOutputLog::AddNext(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic,
                         std::string_view topicName) {
    Push(kind, code, text, topic, topicName, 0);
    entries_[entries_.size() - 1].Occurrence = CountOneMore(code, text, topic);
}

void TOutputLog::Push(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic,
                      std::string_view topicName, std::int32_t occurrence) {
    entries_.push_back(TError{kind, code, std::string(text), topic, std::string(topicName), occurrence});
    if (kind == 0)
        ++errors_;
    else
        ++warnings_;
}

int TOutputLog::CountSame(std::int32_t code, std::string_view text, const TTopicNode& topic) const {
    return CountSame(code, text, topic.Id());
}

int TOutputLog::CountSame(std::int32_t code, std::string_view text, TNodeId topic) const {
    if (same_.empty()) return 0;
    const SameSlot& slot = same_[FindSlot(Hash(code, text, topic), code, text, topic)];
    return slot.entry == 0 ? 0 : slot.count;
}

std::vector<TLogRow> TOutputLog::ShowLog(int milliseconds) const {
    std::vector<TLogRow> rows;
    rows.push_back({"QUILLMARK PREPROCESSOR", -1, -1});
    rows.push_back({"Version 1.04", -1, -1});
    rows.push_back({std::string(45, '-'), -1, -1});
    if (milliseconds != -1)
        rows.push_back({"Processing time: " + std::to_string(milliseconds) + " milliseconds", -1, -1});
    rows.push_back({std::to_string(errors_) + " errors, " + std::to_string(warnings_) + " warnings.", -1, -1});
    if (!entries_.empty()) rows.push_back({"", -1, -1});
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TError& e = entries_[i];
        const bool error = e.IsError();
        rows.push_back({(error ? "Error   : " : "Warning : ") + e.Message(), error ? 2 : 3, static_cast<int>(i)});
    }
    return rows;
}

}  // namespace qm
