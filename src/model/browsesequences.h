#pragma once
// Browse sequences: the chains of topics the help viewer's browse buttons
// step through. The project keeps no sequence objects; each topic carries
// one browse string "name:number", and the topics that share a name form a
// sequence ordered by their numbers. These classes rebuild the sequences
// from the strings and write fresh strings back.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/topics.h"

namespace qm {

// The browse field holds 50 characters; a new name leaves room for ":" and
// a four-digit number.
inline constexpr std::size_t kBrowseFieldCapacity = 50;
inline constexpr std::size_t kMaxBrowseNameLength = 45;

struct TBrowseEntry {
    TNodeId Topic = 0;
    std::int32_t Order = 0;
};

class TBrowseSequence {
public:
    std::string Name;
    void Add(TNodeId topic, std::int32_t order) { entries_.push_back({topic, order}); }
    // Puts an entry at `index` (clamped to the end).
    void Insert(int index, TNodeId topic, std::int32_t order);
    int Count() const { return static_cast<int>(entries_.size()); }
    // Entry i (0-based); out of range raises qm::Error.
    const TBrowseEntry& Items(int i) const;
    void Delete(int i);
    void Clear() { entries_.clear(); }
    // Ascending order; entries with equal numbers keep their order.
    void SortByOrder();
    // Moves entry `from` to index `to`, as a list move does; out of range
    // raises qm::Error.
    void Move(int from, int to);

private:
    std::vector<TBrowseEntry> entries_;
};

class TBrowseSequences {
public:
    // Appends an empty sequence and returns it.
    TBrowseSequence& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TBrowseSequence& Items(int i);
    const TBrowseSequence& Items(int i) const;
    // The first sequence whose name equals `name` trimmed, ignoring ASCII
    // case; -1 when none.
    int IndexOf(std::string_view name) const;
    void Delete(int i);

private:
    std::vector<std::unique_ptr<TBrowseSequence>> items_;
};

// The order of a browse string's number; 0 for a text that is no 32-bit
// integer ("1-0", "-", "99999999999"), so such a topic stays in its sequence.
std::int32_t ParseBrowseOrder(std::string_view text);

// Fills `sequences` from the browse strings of the project's topics (popups
// never take part), each sorted by its numbers. Returns the topics that
// belong to no sequence, in project order.
std::vector<TNodeId> BuildSequences(const TTopics& topics, TBrowseSequences& sequences);

// The browse string of entry `index` (0-based): name + ":" + (index + 1) * 5
// with at least three digits ("intro:005", "intro:1000").
std::string BrowseString(std::string_view name, int index);

// The first sequence whose strings would not fit the browse field; nullopt
// when all fit.
std::optional<std::string> SequenceTooLong(const TBrowseSequences& sequences);

// Writes fresh strings into every topic of every sequence and empties the
// browse strings of `available`. Checks SequenceTooLong first and raises
// qm::Error ("The browse sequence <name> is too long to be stored.") before
// changing anything.
void WriteBrowseStrings(TTopics& topics, const TBrowseSequences& sequences, const std::vector<TNodeId>& available);

}  // namespace qm
