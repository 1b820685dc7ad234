#pragma once
// The navigation history of the main window: the modules visited before the
// open one (the back list, newest first) and those left by going back (the
// forward list, the next one first), as a web browser keeps them.
//
// Entries refer to modules by their stable Id, so a renamed module is still
// found; each also keeps the module's name as last seen, for the message when
// the module has gone. A step through the history is made in two halves:
// Target() names the module to open, and only once the window has opened it
// does StepTo() change the lists (a failed open leaves them as they were).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/topics.h"

namespace qm {

enum class HistoryList { Back = 0, Forward = 1 };

struct THistoryEntry {
    TNodeId Id = 0;
    std::string Name;  // the module's name when last seen
    bool operator==(const THistoryEntry&) const = default;
};

class THistory {
public:
    static constexpr int DefaultLimit = 300;

    explicit THistory(int limit = DefaultLimit);

    // Each list holds at most `limit` entries (at least 1); longer lists lose
    // their oldest entries now.
    void SetLimit(int limit);
    int Limit() const { return limit_; }

    const std::vector<THistoryEntry>& Entries(HistoryList list) const;
    const std::vector<THistoryEntry>& Back() const { return back_; }
    const std::vector<THistoryEntry>& Forward() const { return forward_; }
    bool Empty(HistoryList list) const { return Entries(list).empty(); }

    // Records the module left at entry 0 of the back list, and empties the
    // forward list when `clearForward` is set; nothing at all when entry 0
    // already is that module. An entry without a module (Id 0) is ignored.
    void PushBack(const THistoryEntry& entry, bool clearForward);
    // The same on the forward list, which it never clears.
    void PushForward(const THistoryEntry& entry);

    // The entry that a step to entry `k` of `list` opens (entry 0: Back or
    // Forward); nullptr when the list has no entry k.
    const THistoryEntry* Target(HistoryList list, int k) const;
    // After the module of entry `k` of `list` has been opened, `left` being
    // the module the window left: `left` and then entries 0 .. k-1 go onto
    // the other list (the last of them ends at its entry 0, the other list is
    // not cleared), and entries 0 .. k leave `list`. Nothing when `list` has
    // no entry k.
    void StepTo(HistoryList list, int k, const THistoryEntry& left);
    // The module of entry `k` of `list` no longer exists: the entry goes.
    void Drop(HistoryList list, int k);
    // Brings the names up to date: `nameOf` gives the current name of a
    // module, or nullopt when it is gone (the entry then keeps its name).
    void RefreshNames(const std::function<std::optional<std::string>(TNodeId)>& nameOf);
    void Clear();

private:
    std::vector<THistoryEntry>& list(HistoryList l) { return l == HistoryList::Back ? back_ : forward_; }
    static void Push(std::vector<THistoryEntry>& list, const THistoryEntry& entry, int limit);

    int limit_;
    std::vector<THistoryEntry> back_;
    std::vector<THistoryEntry> forward_;
};

}  // namespace qm
