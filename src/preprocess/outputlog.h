#pragma once
// The build log: what the preprocessor found, in the order found, counted by
// kind. Entries name their module by its node Id (and keep the name it had),
// so a log outlives the opening, importing and removal of modules safely.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "model/topics.h"

namespace qm {

// Check codes.
namespace Check {
inline constexpr int UnresolvedLink = 1;
inline constexpr int UnresolvedAnchor = 2;
inline constexpr int DuplicateAnchor = 3;
inline constexpr int TopicInPopupLink = 4;
inline constexpr int PopupInTopicLink = 5;
inline constexpr int IncompleteTag = 6;
inline constexpr int UnclosedTag = 7;
inline constexpr int UndefinedWindow = 8;
inline constexpr int ImageNotFound = 9;
}  // namespace Check

// The message of check `code` (1..9), "%s" standing for the module's name;
// empty for any other code.
std::string_view PreprocessorMessage(int code);

struct TError {
    std::uint8_t Kind = 0;  // 0 error, any other value warning
    std::int32_t Code = 0;
    std::string Text;             // what the entry is about, normally the tag without RTF
    TNodeId Topic = 0;            // the module it was found in
    std::string TopicName;        // that module's name when the entry was added
    std::int32_t Occurrence = 1;  // the how-manieth entry with this code, text and module

    bool IsError() const { return Kind == 0; }
    // The message with the module's name put in.
    std::string Message() const;
};

// One row of the log tree: its text, its image index (-1 none, 2 error,
// 3 warning) and the log entry it stands for (-1 for banner rows).
struct TLogRow {
    std::string Text;
    int ImageIndex = -1;
    int Entry = -1;

    bool operator==(const TLogRow&) const = default;
};

// The entries of a log in blocks of a fixed size that never move: a log of
// many thousand findings grows without copying them and without one large
// block (which the allocator would map afresh, and fault in, on every build).
class TLogEntries {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TError;
        using difference_type = std::ptrdiff_t;
        using pointer = const TError*;
        using reference = const TError&;
        const_iterator() = default;
        const TError& operator*() const { return (*list_)[index_]; }
        const TError* operator->() const { return &(*list_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++index_;
            return was;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        friend class TLogEntries;
        const_iterator(const TLogEntries* list, std::size_t index) : list_(list), index_(index) {}
        const TLogEntries* list_ = nullptr;
        std::size_t index_ = 0;
    };

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const TError& operator[](std::size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
    const TError& at(std::size_t i) const;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

private:
    friend class TOutputLog;
    static constexpr std::size_t kBlock = 512;
    TError& operator[](std::size_t i) { return blocks_[i / kBlock][i % kBlock]; }
    void push_back(TError&& e);
    void clear();
    std::vector<std::vector<TError>> blocks_;
    std::size_t size_ = 0;
};

class TOutputLog {
public:
    void Clear();
    void Add(std::uint8_t kind, std::int32_t code, std::string_view text, const TTopicNode& topic,
             std::int32_t occurrence);
    void Add(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic, std::string_view topicName,
             std::int32_t occurrence);
    // Adds an entry whose occurrence is one more than the entries already
    // there with this code, text and module.
    void AddNext(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic,
                 std::string_view topicName);
    // Entries with this code, exactly this text and this module.
    int CountSame(std::int32_t code, std::string_view text, const TTopicNode& topic) const;
    int CountSame(std::int32_t code, std::string_view text, TNodeId topic) const;

    int ErrorCount() const { return errors_; }
    int WarningCount() const { return warnings_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    const TError& Entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    const TLogEntries& Entries() const { return entries_; }

    // The rows of the log tree; `milliseconds` -1 leaves out the time line.
    std::vector<TLogRow> ShowLog(int milliseconds) const;

private:
    // The entries of one code, text and module are counted in one slot of an
    // open-addressed table that names the first of them, so CountSame needs
    // no scan per entry and an entry no key of its own.
    struct SameSlot {
        std::uint32_t hash = 0;   // the low half of the key's hash
        std::uint32_t entry = 0;  // 1 + the index of the first entry; 0: empty
        std::int32_t count = 0;
    };
    static std::size_t Hash(std::int32_t code, std::string_view text, TNodeId topic);
    // The slot of this code, text and module, or the empty slot where it goes.
    std::size_t FindSlot(std::size_t hash, std::int32_t code, std::string_view text, TNodeId topic) const;
    // Counts one more entry of this code, text and module (the last entry when
    // it is the first of them); gives the new count.
    int CountOneMore(std::int32_t code, std::string_view text, TNodeId topic);
    void Push(std::uint8_t kind, std::int32_t code, std::string_view text, TNodeId topic, std::string_view topicName,
              std::int32_t occurrence);
    TLogEntries entries_;
    std::vector<SameSlot> same_;  // a power of two in size, at most three quarters full
    std::size_t sameUsed_ = 0;
    int errors_ = 0;
    int warnings_ = 0;
};

}  // namespace qm
