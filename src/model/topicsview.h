#pragma once
// Sorting of the project pane's topic and popup lists. The list control keeps
// one node handle per item (a stable id of the topic model, never a pointer)
// and the view reorders the handles; the item strings are left alone. The
// drawing of a line belongs to the GUI's item delegate.
//
// The list is reached through a small adapter so that the core needs neither
// the toolkit nor the topic model's classes:
//
//   struct List {
//       using Handle = ...;                        // copyable, equality-comparable
//       int Count() const;                         // items in list order
//       Handle ItemNode(int i) const;              // 0-based
//       void SetItemNode(int i, const Handle& h);
//       std::int32_t ContextIdOf(const Handle& h) const;
//       std::string_view NameOf(const Handle& h) const;   // Windows-1252 bytes
//       void Repaint();
//   };
#include <algorithm>
#include <concepts>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

template <class L>
concept TopicListControl = requires(L& l, const L& cl, int i, const typename L::Handle& h) {
    { cl.Count() } -> std::convertible_to<int>;
    { cl.ItemNode(i) } -> std::convertible_to<typename L::Handle>;
    l.SetItemNode(i, h);
    { cl.ContextIdOf(h) } -> std::convertible_to<std::int32_t>;
    { cl.NameOf(h) } -> std::convertible_to<std::string_view>;
    l.Repaint();
};

// Byte-wise, case-sensitive order of two names (bytes compared unsigned).
inline int CompareNamesBytewise(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline constexpr int kContentsTopicImage = 47;  // drawn before the contents topic
inline constexpr int kNoContentsImage = -1;     // the popup list has no contents topic

template <TopicListControl L>
class TTopicsView {
public:
    using Handle = typename L::Handle;

    TTopicsView(L& list, int contentsImage) : list_(list), contentsImage_(contentsImage) {}

    L& List() const { return list_; }
    int ContentsImage() const { return contentsImage_; }

    // The list index whose item carries the node, -1 when none.
    int IndexOfNode(const Handle& node) const {
        const int n = list_.Count();
        for (int i = 0; i < n; ++i)
            if (list_.ItemNode(i) == node) return i;
        return -1;
    }

    // True sorts by ascending context ID, false descending.
    void SortById(bool ascending) {
        SortByKey([this](const Handle& h) { return static_cast<std::int32_t>(list_.ContextIdOf(h)); },
                  [ascending](std::int32_t x, std::int32_t y) { return ascending ? x < y : y < x; });
    }

    // True sorts by descending name, false ascending; names compare byte-wise.
    void SortByName(bool descending) {
        SortByKey([this](const Handle& h) { return std::string_view(list_.NameOf(h)); },
                  [descending](std::string_view a, std::string_view b) {
                      const int c = CompareNamesBytewise(a, b);
                      return descending ? c > 0 : c < 0;
                  });
    }

    // The items' handles in list order.
    std::vector<Handle> CopyToList() const {
        std::vector<Handle> nodes;
        const int n = list_.Count();
        nodes.reserve(static_cast<std::size_t>(std::max(n, 0)));
        for (int i = 0; i < n; ++i) nodes.push_back(list_.ItemNode(i));
        return nodes;
    }

    // Writes the handles back as the items' data, in order, and repaints. A
    // list of another length than the control's writes only the items both have.
    void CopyFromList(const std::vector<Handle>& nodes) {
        const int n = std::min(list_.Count(), static_cast<int>(nodes.size()));
        for (int i = 0; i < n; ++i) list_.SetItemNode(i, nodes[static_cast<std::size_t>(i)]);
        list_.Repaint();
    }

private:
    // A stable sort of the items by a key read once per item: finding a
    // node's key costs a look-up, which a comparison must not repeat.
    template <class KeyOf, class Less>
    void SortByKey(KeyOf keyOf, Less less) {
        using Key = decltype(keyOf(std::declval<const Handle&>()));
        std::vector<Handle> nodes = CopyToList();
        std::vector<std::pair<Key, std::size_t>> keyed;
        keyed.reserve(nodes.size());
        for (std::size_t i = 0; i < nodes.size(); ++i) keyed.emplace_back(keyOf(nodes[i]), i);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&less](const auto& a, const auto& b) { return less(a.first, b.first); });
        std::vector<Handle> sorted;
        sorted.reserve(nodes.size());
        for (const auto& k : keyed) sorted.push_back(nodes[k.second]);
        CopyFromList(sorted);
    }

    L& list_;
    int contentsImage_;
};

}  // namespace qm
