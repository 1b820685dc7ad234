#pragma once
// The views of the contents file editor: the entry tree as a flat list (row i
// is entry i in preorder, indented by its level), the project's topic list
// that entries are dragged from, and the drags between them, which carry
// data of their own types so that a drop knows where it came from.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractListModel>
#include <QByteArray>
#include <QIcon>
#include <QAbstractItemView>
#include <QListWidget>
#include <QStyledItemDelegate>

#include "formats/cntfile.h"

class QMimeData;

namespace qm {

// A row of the entry tree being dragged: "<token> <row>", the token naming
// the model that made it.
inline constexpr const char* kMimeCntRow = "application/x-quillmark-contents-row";
// A topic of the project: its name (Windows-1252).
inline constexpr const char* kMimeCntTopic = "application/x-quillmark-topic";

// The height of a row of either list, and the indent of a level.
inline constexpr int kCntRowHeight = 20;
inline constexpr int kCntLevelIndent = 25;

// The picture of an entry kind (also the picture of its insert command).
QIcon CntKindIcon(TCntNodeKind kind);

// The entry tree as rows. Rebuild() walks the tree once and keeps each
// entry's node and level, so that painting never walks the tree per row.
class TCntRowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The level a row is painted at (an include on level 1, whatever its depth).
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit TCntRowsModel(const TCntTree& tree, QObject* parent = nullptr);

    // Reads the tree again after a change (a reset of the model).
    void Rebuild();
    const TCntTreeNode* NodeAt(int row) const;
    // The painted level of `row` (0 when out of range).
    int LevelAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // A row drag of the first index.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

    // The row of a row drag that this model made; -1 for any other data.
    int DraggedRow(const QMimeData* data) const;

private:
    struct Row {
        const TCntTreeNode* node;
        int level;
    };
    const TCntTree& tree_;
    std::vector<Row> rows_;
    QByteArray token_;
};

// Paints a row: the kind's picture and the text, 25 pixels further in per level.
class TCntRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The entry list. Every row has the same height and the width of the view,
// so where a row is, and which rows a rectangle meets, is arithmetic: opening
// a large file lays out nothing per entry, and a paint asks the model only
// for the rows it shows. Drags leave it as copies (the drop moves the entry);
// a drag over it marks the row under the pointer; a drop hands its data and
// the row under the pointer (-1 off the rows) to OnDrop.
class TCntTreeView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit TCntTreeView(QWidget* parent = nullptr);

    // Whether data is taken; by default a row drag of this view's model or a topic.
    std::function<bool(const QMimeData*)> CanDrop;
    std::function<void(const QMimeData*, int row)> OnDrop;
    // The row marked under a drag's pointer; -1 when none.
    int DragRow() const { return dragRow_; }

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int Rows() const;
    // The row at `y` of the viewport, unclamped (negative above the first).
    int RowAtY(int y) const;
    bool Takes(const QMimeData* data) const;
    void MarkRow(int row);
    int dragRow_ = -1;
};

// The project's topics, dragged as topics (copied, never moved out).
class TTopicDragList : public QListWidget {
    Q_OBJECT
public:
    explicit TTopicDragList(QWidget* parent = nullptr);
    // Adds a row for the topic `name` (Windows-1252).
    void AddTopic(const std::string& name);
    // The topic of a row (Windows-1252); empty when out of range.
    std::string TopicAt(int row) const;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
};

// The topic name of a topic drag; nullopt for other data.
std::optional<std::string> DraggedTopic(const QMimeData* data);

}  // namespace qm
