#pragma once
// The bookmarked lines of one topic: at most 100 0-based editor line numbers,
// kept in ascending order in slots 1 to 100. Equal numbers may repeat.
#include <cstdint>
#include <vector>

namespace qm {

class TBookmarks {
public:
    static constexpr int MaxCount = 100;

    TBookmarks();

    // Inserts before the first slot whose number is not below `line`. A full
    // list refuses the line and returns false.
    bool Add(std::int32_t line);
    // Removes the first slot holding `line`; nothing when absent.
    void Remove(std::int32_t line);
    bool Contains(std::int32_t line) const;
    // 1-based slot of the first occurrence, or -1.
    int IndexOf(std::int32_t line) const;
    // The bookmark after / before `line`, wrapping round; -1 on an empty list.
    std::int32_t Next(std::int32_t line) const;
    std::int32_t Previous(std::int32_t line) const;
    // Drops every bookmark greater than `line`.
    void TruncateAfter(std::int32_t line);
    void Assign(const TBookmarks& source);
    // The number in slot i (1..100; a free slot holds -1). Raises qm::Error
    // for a slot outside 1..100.
    std::int32_t GetItem(int i) const;
    int Count() const { return static_cast<int>(lines_.size()); }
    bool Empty() const { return lines_.empty(); }
    // Count 0, every slot -1.
    void Clear();

    bool operator==(const TBookmarks&) const = default;

private:
    // The numbers in use, in order: most topics have none, and a node carries
    // its list, so the free slots are not stored.
    std::vector<std::int32_t> lines_;
};

}  // namespace qm
