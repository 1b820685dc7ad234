#include "dialogs/reorganizestyles.h"

#include <QDialogButtonBox>
#include <QDragMoveEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>
#include <functional>

#include "platform/qtcp1252.h"
#include "widgets/dialoghelpers.h"
#include "widgets/icons.h"

namespace qm {

namespace {

// A list whose lines are dragged onto each other: the line under the
// pointer carries a focus mark, and a drop reports that line's row. Drags
// come only from the list itself, and the list never removes what it drags.
class TStyleDragList : public QListWidget {
public:
    explicit TStyleDragList(QWidget* parent) : QListWidget(parent) {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::CopyAction);
        setDropIndicatorShown(false);
    }
    std::function<void(int)> OnDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (e->source() == this) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (e->source() != this) {
            e->ignore();
            return;
        }
        mark(indexAt(e->position().toPoint()).row());
        e->setDropAction(Qt::CopyAction);
        e->accept();
    }
    void dragLeaveEvent(QDragLeaveEvent* e) override {
        mark(-1);
        e->accept();
    }
    void dropEvent(QDropEvent* e) override {
        const int row = indexAt(e->position().toPoint()).row();
        mark(-1);
        if (e->source() != this) {
            e->ignore();
            return;
        }
        // A copy as far as the view knows: the line moves by our own hand.
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (OnDrop) OnDrop(row);
    }
    void paintEvent(QPaintEvent* e) override {
        QListWidget::paintEvent(e);
        if (marked_ < 0 || !item(marked_)) return;
        QPainter p(viewport());
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = visualItemRect(item(marked_));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }

private:
    void mark(int row) {
        if (row == marked_) return;
        marked_ = row;
        viewport()->update();
    }
    int marked_ = -1;
};

}  // namespace

TfrmReorganizeStyles::TfrmReorganizeStyles(UiServices& ui, const TStyles& styles, int selected, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmReorganizeStyles"), parent), working_(styles) {
    setWindowTitle(QStringLiteral("Reorganize Styles"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* list = new TStyleDragList(this);
    lstStyles = list;
    lstStyles->setObjectName(QStringLiteral("lstStyles"));
    lstStyles->setMinimumSize(200, 220);
    list->OnDrop = [this](int r) { dropOnRow(r); };
    lines_ = new ListEditor(lstStyles, this);
    for (const std::string& name : working_.Names()) lstStyles->addItem(FromCp1252(name));
    if (selected >= 0 && selected < lstStyles->count()) lstStyles->setCurrentRow(selected);
    row->addWidget(lstStyles, 1);

    auto* arrows = new QVBoxLayout;
    cmdUp = MakeButton(QStringLiteral("cmdUp"), QString());
    cmdUp->setIcon(QmIcon(QStringLiteral("go-up")));
    cmdUp->setToolTip(QStringLiteral("Move up"));
    cmdDown = MakeButton(QStringLiteral("cmdDown"), QString());
    cmdDown->setIcon(QmIcon(QStringLiteral("go-down")));
    cmdDown->setToolTip(QStringLiteral("Move down"));
    arrows->addStretch(1);
    arrows->addWidget(cmdUp);
    arrows->addWidget(cmdDown);
    arrows->addStretch(1);
    row->addLayout(arrows);
    layout->addLayout(row, 1);
    layout->addWidget(MakeStandardButtons(false));
    cmdOk->setText(QStringLiteral("Ok"));

    connect(cmdUp, &QPushButton::clicked, this, &TfrmReorganizeStyles::cmdUpClick);
    connect(cmdDown, &QPushButton::clicked, this, &TfrmReorganizeStyles::cmdDownClick);
    Watch(lstStyles);
    connect(lstStyles, &QListWidget::itemSelectionChanged, this, &QmDialog::Activate);
}

int TfrmReorganizeStyles::selectedRow() const {
    return lstStyles->selectedItems().isEmpty() ? -1 : lstStyles->currentRow();
}

void TfrmReorganizeStyles::cmdUpClick() {
    const int row = selectedRow();
    if (row <= 0) return;
    working_.Move(row + 1, row);
    lines_->MoveUp();
}

void TfrmReorganizeStyles::cmdDownClick() {
    const int row = selectedRow();
    if (row < 0 || row >= lstStyles->count() - 1) return;
    working_.Move(row + 1, row + 2);
    lines_->MoveDown();
}

void TfrmReorganizeStyles::dropOnRow(int row) {
    const int from = selectedRow();
    if (from < 0 || row < 0 || row >= lstStyles->count() || row == from) return;
    working_.Move(from + 1, row + 1);
    QListWidgetItem* item = lstStyles->takeItem(from);
    lstStyles->insertItem(row, item);
    lstStyles->setCurrentRow(row);
}

void TfrmReorganizeStyles::updateEnabling() {
    const int row = selectedRow();
    cmdUp->setEnabled(row > 0);
    cmdDown->setEnabled(row >= 0 && row < lstStyles->count() - 1);
}

}  // namespace qm
