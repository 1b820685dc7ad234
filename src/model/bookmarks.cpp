#include "model/bookmarks.h"

#include <algorithm>
#include <string>

#include "util/errors.h"

namespace qm {

TBookmarks::TBookmarks() = default;

bool TBookmarks::Add(std::int32_t line) {
    if (Count() >= MaxCount) return false;
    lines_.insert(std::lower_bound(lines_.begin(), lines_.end(), line), line);
    return true;
}

void TBookmarks::Remove(std::int32_t line) {
    const int i = IndexOf(line);
    if (i > 0) lines_.erase(lines_.begin() + (i - 1));
}

bool TBookmarks::Contains(std::int32_t line) const { return IndexOf(line) > 0; }

int TBookmarks::IndexOf(std::int32_t line) const {
    for (std::size_t k = 0; k < lines_.size(); ++k)
        if (lines_[k] == line) return static_cast<int>(k) + 1;
    return -1;
}

// Equal numbers stand side by side; stepping skips them, so Next and Previous
// always move to another line (or wrap round to the first or last one).
std::int32_t TBookmarks::Next(std::int32_t line) const {
    if (lines_.empty()) return -1;
    for (const std::int32_t n : lines_)
        if (n > line) return n;
    return lines_.front();
}

std::int32_t TBookmarks::Previous(std::int32_t line) const {
    if (lines_.empty()) return -1;
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (*it < line) return *it;
    return lines_.back();
}

void TBookmarks::TruncateAfter(std::int32_t line) {
    // Sorted, so the bookmarks above `line` form the tail.
    lines_.erase(std::upper_bound(lines_.begin(), lines_.end(), line), lines_.end());
}

void TBookmarks::Assign(const TBookmarks& source) {
    if (this != &source) lines_ = source.lines_;
}

std::int32_t TBookmarks::GetItem(int i) const {
    if (i < 1 || i > MaxCount) throw Error("Bookmark index out of range (" + std::to_string(i) + ").");
    return i <= Count() ? lines_[static_cast<std::size_t>(i - 1)] : -1;
}

void TBookmarks::Clear() { lines_.clear(); }

}  // namespace qm
