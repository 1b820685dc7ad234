#include "dialogs/cnttreeview.h"

#include <algorithm>

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyle>

#include "platform/qtcp1252.h"
#include "widgets/icons.h"

namespace qm {

QIcon CntKindIcon(TCntNodeKind kind) {
    switch (kind) {
        case TCntNodeKind::Topic: return QmIcon(QStringLiteral("topic"));
        case TCntNodeKind::Book: return QmIcon(QStringLiteral("contents-book"));
        case TCntNodeKind::Include: return QmIcon(QStringLiteral("contents-include"));
        case TCntNodeKind::Macro: return QmIcon(QStringLiteral("tag-macro"));
        case TCntNodeKind::Comment: return QmIcon(QStringLiteral("accessories-text-editor"));
    }
    return {};
}

// ------------------------------------------------------------- TCntRowsModel

TCntRowsModel::TCntRowsModel(const TCntTree& tree, QObject* parent)
    : QAbstractListModel(parent),
      tree_(tree),
      token_(QByteArray::number(QRandomGenerator::global()->generate64(), 16)) {
    Rebuild();
}

void TCntRowsModel::Rebuild() {
    beginResetModel();
    rows_.clear();
    rows_.reserve(static_cast<std::size_t>(tree_.Count()));
    // One preorder walk, keeping the level as it goes down and up.
    const TCntTreeNode* node = tree_.First();
    int level = 1;
    while (node) {
        rows_.push_back({node, node->Item->Kind == TCntNodeKind::Include ? 1 : level});
        if (node->FirstChild) {
            node = node->FirstChild;
            ++level;
            continue;
        }
        while (node && !node->NextSibling) {
            while (node->PrevSibling) node = node->PrevSibling;
            node = node->Parent;
            --level;
        }
        if (node) node = node->NextSibling;
    }
    endResetModel();
}

const TCntTreeNode* TCntRowsModel::NodeAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)].node : nullptr;
}

int TCntRowsModel::LevelAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)].level : 0;
}

int TCntRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TCntRowsModel::data(const QModelIndex& index, int role) const {
    const TCntTreeNode* node = NodeAt(index.row());
    if (!node) return {};
    const TCntNode& e = *node->Item;
    switch (role) {
        case Qt::DisplayRole:
            return e.Kind == TCntNodeKind::Include ? QStringLiteral(":INCLUDE ") + FromCp1252(e.HelpFile)
                                                   : FromCp1252(e.Title);
        case Qt::DecorationRole: return CntKindIcon(e.Kind);
        case LevelRole: return LevelAt(index.row());
        default: return {};
    }
}

Qt::ItemFlags TCntRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList TCntRowsModel::mimeTypes() const {
    return {QString::fromLatin1(kMimeCntRow), QString::fromLatin1(kMimeCntTopic)};
}

QMimeData* TCntRowsModel::mimeData(const QModelIndexList& indexes) const {
    for (const QModelIndex& index : indexes) {
        if (!NodeAt(index.row())) continue;
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(kMimeCntRow), token_ + ' ' + QByteArray::number(index.row()));
        return data;
    }
    return nullptr;
}

int TCntRowsModel::DraggedRow(const QMimeData* data) const {
    if (!data || !data->hasFormat(QString::fromLatin1(kMimeCntRow))) return -1;
    const QList<QByteArray> parts = data->data(QString::fromLatin1(kMimeCntRow)).split(' ');
    if (parts.size() != 2 || parts[0] != token_) return -1;
    bool ok = false;
    const int row = parts[1].toInt(&ok);
    return ok && NodeAt(row) ? row : -1;
}

// ----------------------------------------------------------- TCntRowDelegate

void TCntRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QIcon icon = opt.icon;
    const QString text = opt.text;
    // The row's background (the selection's colours) without its own text and picture.
    opt.text.clear();
    opt.icon = QIcon();
    opt.features &= ~QStyleOptionViewItem::HasDecoration;
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const int level = std::max(1, index.data(TCntRowsModel::LevelRole).toInt());
    const QRect r = opt.rect;
    const int x = r.left() + (level - 1) * kCntLevelIndent;
    const bool selected = opt.state & QStyle::State_Selected;
    const QIcon::Mode mode = !(opt.state & QStyle::State_Enabled) ? QIcon::Disabled
                             : selected                           ? QIcon::Selected
                                                                  : QIcon::Normal;
    icon.paint(painter, QRect(x + 3, r.top() + 2, 16, 16), Qt::AlignCenter, mode);
    const QRect textRect(x + 23, r.top(), std::max(0, r.right() - x - 23), r.height());
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = r;
        focus.state |= QStyle::State_KeyboardFocusChange;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

QSize TCntRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int level = std::max(1, index.data(TCntRowsModel::LevelRole).toInt());
    const int width =
        (level - 1) * kCntLevelIndent + 23 + option.fontMetrics.horizontalAdvance(index.data().toString()) + 4;
    return {width, kCntRowHeight};
}

// -------------------------------------------------------------- TCntTreeView

TCntTreeView::TCntTreeView(QWidget* parent) : QAbstractItemView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Rows are as wide as the view; a text too long for it is elided.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // The row under the pointer is marked instead of a line between rows.
    setDropIndicatorShown(false);
    setDefaultDropAction(Qt::CopyAction);
}

void TCntTreeView::setModel(QAbstractItemModel* m) {
    if (model()) disconnect(model(), nullptr, this, nullptr);
    QAbstractItemView::setModel(m);
    if (!m) return;
    // A reset is laid out by the base; rows coming or going change the range too.
    const auto relayout = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(m, &QAbstractItemModel::rowsInserted, this, relayout);
    connect(m, &QAbstractItemModel::rowsRemoved, this, relayout);
    connect(m, &QAbstractItemModel::rowsMoved, this, relayout);
    connect(m, &QAbstractItemModel::layoutChanged, this, relayout);
}

int TCntTreeView::Rows() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int TCntTreeView::verticalOffset() const { return verticalScrollBar()->value(); }

int TCntTreeView::RowAtY(int y) const {
    const int at = y + verticalOffset();
    return at < 0 ? -1 : at / kCntRowHeight;
}

QRect TCntTreeView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex() || index.column() != 0)
        return {};
    return {0, index.row() * kCntRowHeight - verticalOffset(), viewport()->width(), kCntRowHeight};
}

QModelIndex TCntTreeView::indexAt(const QPoint& point) const {
    if (!model() || point.x() < 0 || point.x() >= viewport()->width() || point.y() < 0) return {};
    const int row = RowAtY(point.y());
    return row >= 0 && row < Rows() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void TCntTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // The range may still be that of the rows before a reset.
    updateGeometries();
    const QRect r = visualRect(index);
    if (!r.isValid()) return;
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    const int top = r.top() + bar->value();  // in the rows' own coordinates
    switch (hint) {
        case PositionAtTop: bar->setValue(top); break;
        case PositionAtBottom: bar->setValue(top + kCntRowHeight - height); break;
        case PositionAtCenter: bar->setValue(top + kCntRowHeight / 2 - height / 2); break;
        case EnsureVisible:
            if (r.top() < 0)
                bar->setValue(top);
            else if (r.bottom() >= height)
                bar->setValue(top + kCntRowHeight - height);
            break;
    }
}

QModelIndex TCntTreeView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const int rows = Rows();
    if (rows == 0) return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return model()->index(0, 0, rootIndex());
    const int page = std::max(1, viewport()->height() / kCntRowHeight);
    int row = current.row();
    switch (cursorAction) {
        case MoveUp:
        case MovePrevious: --row; break;
        case MoveDown:
        case MoveNext: ++row; break;
        case MovePageUp: row -= page; break;
        case MovePageDown: row += page; break;
        case MoveHome: row = 0; break;
        case MoveEnd: row = rows - 1; break;
        case MoveLeft:
        case MoveRight: break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

void TCntTreeView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel()) return;
    const QRect r = rect.normalized();
    const int first = std::max(0, RowAtY(r.top()));
    const int last = std::min(Rows() - 1, RowAtY(r.bottom()));
    if (first > last || r.right() < 0 || r.left() >= viewport()->width()) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(
        QItemSelection(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex())), command);
}

QRegion TCntTreeView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect view = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent() != rootIndex() || range.left() > 0) continue;
        const QRect r(0, range.top() * kCntRowHeight - verticalOffset(), view.width(),
                      (range.bottom() - range.top() + 1) * kCntRowHeight);
        region += r.intersected(view);
    }
    return region;
}

void TCntTreeView::updateGeometries() {
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(kCntRowHeight);
    bar->setPageStep(std::max(1, height));
    bar->setRange(0, std::max(0, Rows() * kCntRowHeight - height));
    QAbstractItemView::updateGeometries();
}

void TCntTreeView::scrollContentsBy(int dx, int dy) {
    // QAbstractItemView::scrollContentsBy would also move the editors; there are none.
    viewport()->scroll(dx, dy);
}

bool TCntTreeView::Takes(const QMimeData* data) const { return data && CanDrop && CanDrop(data); }

void TCntTreeView::startDrag(Qt::DropActions) {
    const QModelIndexList indexes = selectedIndexes();
    if (indexes.isEmpty() || !model()) return;
    QMimeData* data = model()->mimeData(indexes);
    if (!data) return;
    // A copy: the drop moves the entry itself, so nothing may remove the row
    // when the drag ends, whoever takes it.
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void TCntTreeView::dragEnterEvent(QDragEnterEvent* event) {
    QAbstractItemView::dragEnterEvent(event);  // scrolling near the edges
    if (!Takes(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    MarkRow(index.isValid() ? index.row() : -1);
}

void TCntTreeView::dragMoveEvent(QDragMoveEvent* event) {
    QAbstractItemView::dragMoveEvent(event);
    if (!Takes(event->mimeData())) {
        event->ignore();
        MarkRow(-1);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    MarkRow(index.isValid() ? index.row() : -1);
}

void TCntTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    QAbstractItemView::dragLeaveEvent(event);
    MarkRow(-1);
}

void TCntTreeView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    MarkRow(-1);
    if (!Takes(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (OnDrop) OnDrop(event->mimeData(), index.isValid() ? index.row() : -1);
}

void TCntTreeView::MarkRow(int row) {
    if (row == dragRow_) return;
    for (int r : {dragRow_, row})
        if (r >= 0 && model()) viewport()->update(visualRect(model()->index(r, 0)));
    dragRow_ = row;
}

void TCntTreeView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int rows = Rows();
    const QRect area = event->rect();
    const int first = std::max(0, RowAtY(area.top()));
    const int last = std::min(rows - 1, RowAtY(area.bottom()));
    if (first <= last) {
        QStyleOptionViewItem base;
        initViewItemOption(&base);
        const bool focus = hasFocus() || viewport()->hasFocus();
        const QModelIndex current = currentIndex();
        const QItemSelectionModel* selection = selectionModel();
        const bool enabled = isEnabled();
        for (int row = first; row <= last; ++row) {
            const QModelIndex index = model()->index(row, 0, rootIndex());
            QStyleOptionViewItem option = base;
            option.rect = visualRect(index);
            option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Enabled);
            if (enabled && (model()->flags(index) & Qt::ItemIsEnabled)) option.state |= QStyle::State_Enabled;
            if (selection && selection->isSelected(index)) option.state |= QStyle::State_Selected;
            if (focus && index == current) option.state |= QStyle::State_HasFocus;
            if (isActiveWindow()) option.state |= QStyle::State_Active;
            itemDelegateForIndex(index)->paint(&painter, option, index);
        }
    }
    if (dragRow_ < 0 || !model()) return;
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(visualRect(model()->index(dragRow_, 0)).adjusted(0, 0, -1, -1));
}

// ------------------------------------------------------------ TTopicDragList

TTopicDragList::TTopicDragList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    setDefaultDropAction(Qt::CopyAction);
}

void TTopicDragList::AddTopic(const std::string& name) {
    // Made whole before it joins the list: an item made in the list with its
    // picture looks itself up among all the rows before it is one of them,
    // which made filling the list of a large project grow with the square of
    // its topics.
    auto* item = new QListWidgetItem(CntKindIcon(TCntNodeKind::Topic), FromCp1252(name));
    item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    // The row's own width, so that the picture is not cut off.
    item->setSizeHint(QSize(fontMetrics().horizontalAdvance(item->text()) + iconSize().width() + 12, kCntRowHeight));
    addItem(item);
}

std::string TTopicDragList::TopicAt(int row) const {
    const QListWidgetItem* i = item(row);
    return i ? i->data(Qt::UserRole).toByteArray().toStdString() : std::string();
}

QStringList TTopicDragList::mimeTypes() const { return {QString::fromLatin1(kMimeCntTopic)}; }

QMimeData* TTopicDragList::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty() || !items.front()) return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeCntTopic), items.front()->data(Qt::UserRole).toByteArray());
    return data;
}

void TTopicDragList::startDrag(Qt::DropActions) {
    QMimeData* data = mimeData(selectedItems());
    if (!data) return;
    // A copy: a move would take the topic out of the list.
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

std::optional<std::string> DraggedTopic(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(kMimeCntTopic))) return std::nullopt;
    return data->data(QString::fromLatin1(kMimeCntTopic)).toStdString();
}

}  // namespace qm
