#include "model/history.h"

#include <algorithm>

namespace qm {

THistory::THistory(int limit) : limit_(std::max(limit, 1)) {}

void THistory::SetLimit(int limit) {
    limit_ = std::max(limit, 1);
    for (auto* l : {&back_, &forward_})
        if (static_cast<int>(l->size()) > limit_) l->resize(limit_);
}

const std::vector<THistoryEntry>& THistory::Entries(HistoryList list) const {
    return list == HistoryList::Back ? back_ : forward_;
}

void THistory::Push(std::vector<THistoryEntry>& list, const THistoryEntry& entry, int limit) {
    list.insert(list.begin(), entry);
    if (static_cast<int>(list.size()) > limit) list.pop_back();
}

void THistory::PushBack(const THistoryEntry& entry, bool clearForward) {
    if (entry.Id == 0) return;
    if (!back_.empty() && back_.front().Id == entry.Id) return;
    Push(back_, entry, limit_);
    if (clearForward) forward_.clear();
}

void THistory::PushForward(const THistoryEntry& entry) {
    if (entry.Id == 0) return;
    if (!forward_.empty() && forward_.front().Id == entry.Id) return;
    Push(forward_, entry, limit_);
}

const THistoryEntry* THistory::Target(HistoryList l, int k) const {
    const std::vector<THistoryEntry>& entries = Entries(l);
    if (k < 0 || k >= static_cast<int>(entries.size())) return nullptr;
    return &entries[k];
}

void THistory::StepTo(HistoryList l, int k, const THistoryEntry& left) {
    std::vector<THistoryEntry>& from = list(l);
    if (k < 0 || k >= static_cast<int>(from.size())) return;
    // Copied first: pushing onto the other list may drop entries of its own only.
    const std::vector<THistoryEntry> skipped(from.begin(), from.begin() + k);
    auto push = [&](const THistoryEntry& e) {
        if (l == HistoryList::Back)
            PushForward(e);
        else
            PushBack(e, false);
    };
    push(left);
    for (const THistoryEntry& e : skipped) push(e);
    from.erase(from.begin(), from.begin() + k + 1);
}

void THistory::Drop(HistoryList l, int k) {
    std::vector<THistoryEntry>& from = list(l);
    if (k < 0 || k >= static_cast<int>(from.size())) return;
    from.erase(from.begin() + k);
}

void THistory::RefreshNames(const std::function<std::optional<std::string>(TNodeId)>& nameOf) {
    for (auto* l : {&back_, &forward_})
        for (THistoryEntry& e : *l)
            if (std::optional<std::string> name = nameOf(e.Id)) e.Name = std::move(*name);
}

void THistory::Clear() {
    back_.clear();
    forward_.clear();
}

}  // namespace qm
