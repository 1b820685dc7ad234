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
//
// A list may also take `SetItemNode(i, h, name)`, the name being what NameOf
// gave for `h` just before: a sort then hands it on instead of a second look-up.
#include <algorithm>
#include <concepts>
#include <cstdint>
#include <string>
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
        const Rows rows = ReadRows(kTakesNames);
        std::vector<std::int32_t> ids;
        ids.reserve(rows.nodes.size());
        for (const Handle& h : rows.nodes) ids.push_back(static_cast<std::int32_t>(list_.ContextIdOf(h)));
        SortRows(rows, [&](std::size_t a, std::size_t b) { return ascending ? ids[a] < ids[b] : ids[b] < ids[a]; });
    }

    // True sorts by descending name, false ascending; names compare byte-wise.
    void SortByName(bool descending) {
        const Rows rows = ReadRows(true);
        SortRows(rows, [&](std::size_t a, std::size_t b) {
            const int c = CompareNamesBytewise(rows.Name(a), rows.Name(b));
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
    // The items' handles and their nodes' names, read once each in list
    // order, the names side by side in one buffer: a sort compares and moves
    // each row many times, and looked up again from the nodes (which lie all
    // over memory) in sorted order, a large list's sort grew faster than
    // the list.
    struct Rows {
        std::vector<Handle> nodes;
        std::string names;
        std::vector<std::size_t> start;  // each name's start, then the end of the last
        std::string_view Name(std::size_t i) const {
            return std::string_view(names).substr(start[i], start[i + 1] - start[i]);
        }
    };

    // Whether the list takes a row's name with its handle.
    static constexpr bool kTakesNames = requires(L & l, int i, const Handle& h, std::string_view name) {
        l.SetItemNode(i, h, name);
    };

    Rows ReadRows(bool withNames) const {
        Rows rows;
        rows.nodes = CopyToList();
        if (!withNames) return rows;
        rows.start.reserve(rows.nodes.size() + 1);
        for (const Handle& h : rows.nodes) {
            rows.start.push_back(rows.names.size());
            rows.names.append(list_.NameOf(h));
        }
        rows.start.push_back(rows.names.size());
        return rows;
    }

    // A stable sort of the rows by `less` over their places in `rows`, written
    // back in the new order (with the names read, where the list takes them
    // with the handle) and repainted.
    template <class Less>
    void SortRows(const Rows& rows, Less less) {
        std::vector<std::size_t> order(rows.nodes.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), less);
        bool moved = false;
        for (std::size_t i = 0; i < order.size() && !moved; ++i) moved = order[i] != i;
        // Rows already in order stay as they are (the item strings too).
        const int n = moved ? std::min(list_.Count(), static_cast<int>(order.size())) : 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t from = order[static_cast<std::size_t>(i)];
            if constexpr (kTakesNames)
                list_.SetItemNode(i, rows.nodes[from], rows.Name(from));
            else
                list_.SetItemNode(i, rows.nodes[from]);
        }
        list_.Repaint();
    }

    L& list_;
    int contentsImage_;
};

}  // namespace qm
