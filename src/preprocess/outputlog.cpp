#include "preprocess/outputlog.h"

#include <array>

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

void TOutputLog::Clear() {
    entries_.clear();
    same_.clear();
    errors_ = 0;
    warnings_ = 0;
}

std::string TOutputLog::Key(std::int32_t code, std::string_view text, TNodeId topic) {
    std::string key = std::to_string(code) + ':' + std::to_string(topic) + ':';
    key.append(text);
    return key;
}

void TOutputLog::Add(std::uint8_t kind, std::int32_t code, std::string_view text, const TTopicNode& topic,
                     std::int32_t occurrence) {
    Add(kind, code, text, topic.Id(), topic.GetName(), occurrence);
}

void TOutputLog::Add(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic,
                     std::string_view topicName, std::int32_t occurrence) {
    TError e;
    e.Kind = kind;
    e.Code = code;
    e.Text.assign(text);
    e.Topic = topic;
    e.TopicName.assign(topicName);
    e.Occurrence = occurrence;
    entries_.push_back(std::move(e));
    ++same_[Key(code, text, topic)];
    if (kind == 0)
        ++errors_;
    else
        ++warnings_;
}

int TOutputLog::CountSame(std::int32_t code, std::string_view text, const TTopicNode& topic) const {
    return CountSame(code, text, topic.Id());
}

int TOutputLog::CountSame(std::int32_t code, std::string_view text, TNodeId topic) const {
    const auto it = same_.find(Key(code, text, topic));
    return it == same_.end() ? 0 : it->second;
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
