#include "model/browsesequences.h"

#include <algorithm>
#include <charconv>

#include "util/errors.h"
#include "util/qorstring.h"

namespace qm {

void TBrowseSequence::Insert(int index, TNodeId topic, std::int32_t order) {
    if (index < 0 || index > Count()) index = Count();
    entries_.insert(entries_.begin() + index, TBrowseEntry{topic, order});
}

const TBrowseEntry& TBrowseSequence::Items(int i) const {
    if (i < 0 || i >= Count()) throw Error("List index out of bounds (" + std::to_string(i) + ")");
    return entries_[static_cast<std::size_t>(i)];
}

void TBrowseSequence::Delete(int i) {
    Items(i);
    entries_.erase(entries_.begin() + i);
}

void TBrowseSequence::SortByOrder() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const TBrowseEntry& a, const TBrowseEntry& b) { return a.Order < b.Order; });
}

void TBrowseSequence::Move(int from, int to) {
    Items(from);
    Items(to);
    const TBrowseEntry moved = entries_[static_cast<std::size_t>(from)];
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, moved);
}

TBrowseSequence& TBrowseSequences::Add() {
    items_.push_back(std::make_unique<TBrowseSequence>());
    return *items_.back();
}

TBrowseSequence& TBrowseSequences::Items(int i) {
    if (i < 0 || i >= Count()) throw Error("List index out of bounds (" + std::to_string(i) + ")");
    return *items_[static_cast<std::size_t>(i)];
}

const TBrowseSequence& TBrowseSequences::Items(int i) const { return const_cast<TBrowseSequences*>(this)->Items(i); }

int TBrowseSequences::IndexOf(std::string_view name) const {
    const std::string wanted = Trim(name);
    for (int i = 0; i < Count(); ++i)
        if (SameText(items_[static_cast<std::size_t>(i)]->Name, wanted)) return i;
    return -1;
}

void TBrowseSequences::Delete(int i) {
    Items(i);
    items_.erase(items_.begin() + i);
}

std::int32_t ParseBrowseOrder(std::string_view text) {
    const std::string t = Trim(text);
    std::int32_t value = 0;
    const char* first = t.data();
    const char* last = first + t.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return 0;
    return value;
}

std::vector<TNodeId> BuildSequences(const TTopics& topics, TBrowseSequences& sequences) {
    std::vector<TNodeId> available;
    for (const auto& node : topics) {
        if (!node->IsTopic()) continue;
        const std::string s = node->GetBrowse();
        const std::size_t colon = s.find(':');
        if (colon == std::string::npos) {
            available.push_back(node->Id());
            continue;
        }
        const std::string name = s.substr(0, colon);
        int index = sequences.IndexOf(name);
        if (index < 0) {
            sequences.Add().Name = name;
            index = sequences.Count() - 1;
        }
        sequences.Items(index).Add(node->Id(), ParseBrowseOrder(std::string_view(s).substr(colon + 1)));
    }
    for (int i = 0; i < sequences.Count(); ++i) sequences.Items(i).SortByOrder();
    return available;
}

std::string BrowseString(std::string_view name, int index) {
    std::string number = std::to_string((static_cast<long long>(index) + 1) * 5);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    return std::string(name) + ":" + number;
}

std::optional<std::string> SequenceTooLong(const TBrowseSequences& sequences) {
    for (int i = 0; i < sequences.Count(); ++i) {
        const TBrowseSequence& s = sequences.Items(i);
        // The last entry has the longest number.
        if (s.Count() > 0 && BrowseString(s.Name, s.Count() - 1).size() > kBrowseFieldCapacity) return s.Name;
    }
    return std::nullopt;
}

void WriteBrowseStrings(TTopics& topics, const TBrowseSequences& sequences, const std::vector<TNodeId>& available) {
    if (const auto name = SequenceTooLong(sequences))
        throw Error("The browse sequence " + *name + " is too long to be stored.");
    for (int i = 0; i < sequences.Count(); ++i) {
        const TBrowseSequence& s = sequences.Items(i);
        for (int j = 0; j < s.Count(); ++j)
            if (TTopicNode* node = topics.FindById(s.Items(j).Topic)) node->SetBrowse(BrowseString(s.Name, j));
    }
    for (TNodeId id : available)
        if (TTopicNode* node = topics.FindById(id)) node->Browse.Clear();
}

}  // namespace qm
