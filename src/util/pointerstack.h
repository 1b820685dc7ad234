#pragma once
// A stack of non-owned pointers; popping an empty stack gives nullptr.
#include <vector>

namespace qm {

template <typename T>
class TPointerStack {
public:
    void Push(T* p) { items_.push_back(p); }
    T* Pop() {
        if (items_.empty()) return nullptr;
        T* p = items_.back();
        items_.pop_back();
        return p;
    }
    T* Top() const { return items_.empty() ? nullptr : items_.back(); }
    void Clear() { items_.clear(); }
    bool Empty() const { return items_.empty(); }
    std::size_t Size() const { return items_.size(); }

private:
    std::vector<T*> items_;
};

}  // namespace qm
