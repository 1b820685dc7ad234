#include "editor/vlist.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QVBoxLayout>

#include "editor/richtext2.h"
#include "model/macros.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "widgets/icons.h"

namespace qm {

namespace {

constexpr int kItemHeight = 18;

// Every row 18 pixels high, as wide as the list.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};

}  // namespace

TfrmVList::TfrmVList(TCustomRichText2* editor)
    : QFrame(editor, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      editor_(editor) {
    setObjectName(QStringLiteral("frmVList"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    imlImages = {QmIcon(QStringLiteral("tag")), QmIcon(QStringLiteral("help-window")), QmIcon(QStringLiteral("topic")),
                 QmIcon(QStringLiteral("popup")), QmIcon(QStringLiteral("tag-macro"))};
    lstVList = new QListWidget(this);
    lstVList->setObjectName(QStringLiteral("lstVList"));
    lstVList->setFocusPolicy(Qt::NoFocus);
    lstVList->setFrameShape(QFrame::NoFrame);
    lstVList->setItemDelegate(new FixedHeightDelegate(lstVList));
    lstVList->setUniformItemSizes(true);
    lstVList->setIconSize(QSize(16, 16));
    lstVList->setSelectionMode(QAbstractItemView::SingleSelection);
    lstVList->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(lstVList);
    resize(278, 96);
    connect(lstVList, &QListWidget::itemDoubleClicked, this, [this] {
        AcceptItem();
        hide();
        editor_->setFocus();
    });
    hide();
}

void TfrmVList::fill(int kind, std::vector<TMemberItem> items) {
    items_ = std::move(items);
    lstVList->clear();
    for (const TMemberItem& item : items_) {
        auto* row = new QListWidgetItem(FromCp1252(item.Name), lstVList);
        if (item.Image >= 0 && item.Image < static_cast<int>(imlImages.size()))
            row->setIcon(imlImages[static_cast<std::size_t>(item.Image)]);
        row->setData(Qt::UserRole, item.Image);
    }
    listKind_ = kind;
}

namespace {
const TProject& NoProject() {
    static const TProject none;
    return none;
}
const TMacros& NoMacros() {
    static const TMacros none;
    return none;
}
}  // namespace

void TfrmVList::ShowTopics(const TProject& project) { fill(lkTopics, MemberItems(lkTopics, project, NoMacros())); }
void TfrmVList::ShowPopups(const TProject& project) { fill(lkPopups, MemberItems(lkPopups, project, NoMacros())); }
void TfrmVList::ShowWindows(const TProject& project) { fill(lkWindows, MemberItems(lkWindows, project, NoMacros())); }
void TfrmVList::ShowTags() { fill(lkTags, MemberItems(lkTags, NoProject(), NoMacros())); }
void TfrmVList::ShowMacros(const TMacros& macros) { fill(lkMacros, MemberItems(lkMacros, NoProject(), macros)); }
void TfrmVList::ShowAll(const TProject& project, const TMacros& macros) {
    fill(lkAll, MemberItems(lkAll, project, macros));
}

bool TfrmVList::Fill(int kind, const TProject& project, const TMacros& macros) {
    switch (kind) {
        case lkTopics: ShowTopics(project); return true;
        case lkPopups: ShowPopups(project); return true;
        case lkWindows: ShowWindows(project); return true;
        case lkTags: ShowTags(); return true;
        case lkMacros: ShowMacros(macros); return true;
        case lkAll: ShowAll(project, macros); return true;
        default: return false;
    }
}

std::u16string TfrmVList::caretLine(int* caret) const {
    const QTextCursor c = editor_->textCursor();
    const int position = c.selectionStart();
    const QTextBlock block = editor_->document()->findBlock(position);
    *caret = position - block.position();
    return block.text().toStdU16String();
}

void TfrmVList::Narrow() {
    int caret = 0;
    const std::u16string line = caretLine(&caret);
    lstVList->setCurrentRow(FindPrefix(items_, TypedPrefix(line, caret, listKind_)));
}

void TfrmVList::SelectTyped() {
    Narrow();
    if (!lstVList->currentItem() && lstVList->count() > 0) lstVList->setCurrentRow(0);
}

QString TfrmVList::SelectedItem() const {
    const QListWidgetItem* item = lstVList->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TfrmVList::AcceptItem() {
    const QString item = SelectedItem();
    if (item.isEmpty()) return;
    int caret = 0;
    const std::u16string line = caretLine(&caret);
    const int lineStart = editor_->GetSelStart() - caret;
    const int start = AcceptStart(line, caret, listKind_);
    editor_->SetSelStart(lineStart + start);
    editor_->SetSelLength(caret - start);
    editor_->SetSelText(item);
}

bool TfrmVList::eventFilter(QObject* watched, QEvent* e) {
    // Keys reach the list only when the user has clicked into it.
    if (watched == lstVList && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AcceptItem();
            hide();
            return true;
        }
        if (key == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return QFrame::eventFilter(watched, e);
}

}  // namespace qm
