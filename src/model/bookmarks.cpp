#include "model/bookmarks.h"

#include <string>

#include "util/errors.h"

namespace qm {

TBookmarks::TBookmarks() { slots_.fill(-1); }

bool TBookmarks::Add(std::int32_t line) {
    if (count_ >= MaxCount) return false;
    int at = 0;
    while (at < count_ && slots_[at] < line) ++at;
    for (int k = count_; k > at; --k) slots_[k] = slots_[k - 1];
    slots_[at] = line;
    ++count_;
    return true;
}

void TBookmarks::Remove(std::int32_t line) {
    int i = IndexOf(line);
    if (i < 0) return;
    for (int k = i - 1; k < count_ - 1; ++k) slots_[k] = slots_[k + 1];
    --count_;
    slots_[count_] = -1;
}

bool TBookmarks::Contains(std::int32_t line) const { return IndexOf(line) > 0; }

int TBookmarks::IndexOf(std::int32_t line) const {
    for (int k = 0; k < count_; ++k)
        if (slots_[k] == line) return k + 1;
    return -1;
}

// Equal numbers stand side by side; stepping skips them, so Next and Previous
// always move to another line (or wrap round to the first or last one).
std::int32_t TBookmarks::Next(std::int32_t line) const {
    if (count_ == 0) return -1;
    for (int k = 0; k < count_; ++k)
        if (slots_[k] > line) return slots_[k];
    return slots_[0];
}

std::int32_t TBookmarks::Previous(std::int32_t line) const {
    if (count_ == 0) return -1;
    for (int k = count_ - 1; k >= 0; --k)
        if (slots_[k] < line) return slots_[k];
    return slots_[count_ - 1];
}

void TBookmarks::TruncateAfter(std::int32_t line) {
    // Sorted, so the bookmarks above `line` form the tail.
    while (count_ > 0 && slots_[count_ - 1] > line) {
        --count_;
        slots_[count_] = -1;
    }
}

void TBookmarks::Assign(const TBookmarks& source) {
    if (this == &source) return;
    Clear();
    for (int k = 0; k < source.count_; ++k) Add(source.slots_[k]);
}

std::int32_t TBookmarks::GetItem(int i) const {
    if (i < 1 || i > MaxCount) throw Error("Bookmark index out of range (" + std::to_string(i) + ").");
    return slots_[i - 1];
}

void TBookmarks::Clear() {
    slots_.fill(-1);
    count_ = 0;
}

}  // namespace qm
