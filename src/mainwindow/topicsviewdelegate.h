#pragma once
// Draws one line of the project pane's topic and popup lists: the context ID
// in a column of its own, the contents-topic image, and the name in the look
// the options give the topic's state.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QIcon>
#include <QStyledItemDelegate>

#include "model/options.h"

namespace qm {

// What a line shows of its node.
struct TTopicRowInfo {
    std::int32_t ContextId = 0;
    std::string Name;  // Windows-1252
    bool IsContents = false;
    int State = 0;  // 1 the edit state, anything else done
};

class TTopicsViewDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `rowInfo` resolves a list index to its node (nullopt when the node is
    // gone: the line is then drawn empty). `contentsIcon` is drawn before the
    // contents topic; a null icon draws nothing (the popup list).
    using RowInfo = std::function<std::optional<TTopicRowInfo>(const QModelIndex&)>;
    TTopicsViewDelegate(const TOptions& options, RowInfo rowInfo, QIcon contentsIcon, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A line is as high as its tallest font needs, plus a pixel above and
    // below for the grid lines, so no descender (an underscore) is cut; as
    // wide as the fixed columns before the name (the list gives the rest).
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Geometry of a line, in pixels from the item's left edge.
    static constexpr int kIdLeft = 3;
    static constexpr int kIdRight = 50;
    static constexpr int kSeparatorX = 49;
    static constexpr int kIconX = 51;
    static constexpr int kNameLeft = 67;

private:
    const TOptions& options_;
    RowInfo rowInfo_;
    QIcon contentsIcon_;
};

}  // namespace qm
