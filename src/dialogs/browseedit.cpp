#include "dialogs/browseedit.h"

#include <QDialogButtonBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumSize(150, 220);
    return list;
}

}  // namespace

TfrmBrowseEdit::TfrmBrowseEdit(UiServices& ui, TProject& project, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmBrowseEdit"), parent), project_(project) {
    setWindowTitle(QStringLiteral("Browse Sequence Editor"));
    lstBrSeq = MakeList(this, "lstBrSeq");
    lstIncTopics = MakeList(this, "lstIncTopics");
    lstAvTopics = MakeList(this, "lstAvTopics");
    cmdNew = MakeButton(QStringLiteral("cmdNew"), QStringLiteral("&New..."));
    cmdRemove = MakeButton(QStringLiteral("cmdRemove"), QStringLiteral("&Remove"));
    auto arrow = [this](const char* name, const QString& glyph, const QString& hint) {
        QPushButton* b = MakeButton(QString::fromLatin1(name), glyph);
        b->setToolTip(hint);
        b->setFixedWidth(40);
        return b;
    };
    cmdUp = arrow("cmdUp", QStringLiteral("\u25B2"), QStringLiteral("Move Up"));
    cmdDown = arrow("cmdDown", QStringLiteral("\u25BC"), QStringLiteral("Move Down"));
    cmdIncludeOne = arrow("cmdIncludeOne", QStringLiteral("<"), QStringLiteral("Include Selection"));
    cmdIncludeAll = arrow("cmdIncludeAll", QStringLiteral("<<"), QStringLiteral("Include All"));
    cmdExcludeOne = arrow("cmdExcludeOne", QStringLiteral(">"), QStringLiteral("Exclude Selection"));
    cmdExcludeAll = arrow("cmdExcludeAll", QStringLiteral(">>"), QStringLiteral("Exclude All"));

    auto column = [this](const QString& caption, QListWidget* list) {
        auto* box = new QVBoxLayout;
        auto* label = new QLabel(caption, this);
        label->setBuddy(list);
        box->addWidget(label);
        box->addWidget(list, 1);
        return box;
    };
    auto* seqColumn = column(QStringLiteral("&Browse sequences"), lstBrSeq);
    auto* seqButtons = new QHBoxLayout;
    seqButtons->addWidget(cmdNew);
    seqButtons->addWidget(cmdRemove);
    seqColumn->addLayout(seqButtons);
    auto* upDown = new QVBoxLayout;
    upDown->addStretch(1);
    upDown->addWidget(cmdUp);
    upDown->addWidget(cmdDown);
    upDown->addStretch(1);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    for (QPushButton* b : {cmdIncludeOne, cmdIncludeAll, cmdExcludeOne, cmdExcludeAll}) moves->addWidget(b);
    moves->addStretch(1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(seqColumn);
    lists->addLayout(upDown);
    lists->addLayout(column(QStringLiteral("&Included topics"), lstIncTopics));
    lists->addLayout(moves);
    lists->addLayout(column(QStringLiteral("&Available topics"), lstAvTopics));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(MakeStandardButtons());

    for (QListWidget* list : {lstIncTopics, lstAvTopics}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        list->setDragEnabled(true);
        list->setAcceptDrops(true);
        list->setDragDropMode(QAbstractItemView::DragDrop);
        list->setDefaultDropAction(Qt::MoveAction);
    }
    connect(lstBrSeq, &QListWidget::currentRowChanged, this, [this] { ShowSequence(); });
    connect(cmdNew, &QPushButton::clicked, this, guarded(Ui(), [this] { NewClick(); }));
    connect(cmdRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveClick(); }));
    connect(cmdUp, &QPushButton::clicked, this, guarded(Ui(), [this] { UpClick(); }));
    connect(cmdDown, &QPushButton::clicked, this, guarded(Ui(), [this] { DownClick(); }));
    connect(cmdIncludeOne, &QPushButton::clicked, this, guarded(Ui(), [this] { IncludeOneClick(); }));
    connect(cmdIncludeAll, &QPushButton::clicked, this, guarded(Ui(), [this] { IncludeAllClick(); }));
    connect(cmdExcludeOne, &QPushButton::clicked, this, guarded(Ui(), [this] { ExcludeOneClick(); }));
    connect(cmdExcludeAll, &QPushButton::clicked, this, guarded(Ui(), [this] { ExcludeAllClick(); }));
    connect(lstAvTopics, &QListWidget::itemDoubleClicked, this, guarded(Ui(), [this] { IncludeOneClick(); }));
    connect(lstIncTopics, &QListWidget::itemDoubleClicked, this, guarded(Ui(), [this] { ExcludeOneClick(); }));

    // Opening: the sequences from the topics' strings, the rest available.
    const std::vector<TNodeId> available = BuildSequences(project_.Topics, BrowseSequences);
    for (int i = 0; i < BrowseSequences.Count(); ++i) lstBrSeq->addItem(FromCp1252(BrowseSequences.Items(i).Name));
    for (TNodeId id : available) AddAvailable(id);
    lstAvTopics->setCurrentRow(-1);
    if (lstBrSeq->count() > 0) lstBrSeq->setCurrentRow(0);
    cmdNew->setFocus();
}

QString TfrmBrowseEdit::NameOf(TNodeId id) const {
    const TTopicNode* node = project_.Topics.FindById(id);
    return node ? FromCp1252(node->GetName()) : QString();
}

TNodeId TfrmBrowseEdit::AvailableAt(int row) const {
    const QListWidgetItem* item = lstAvTopics->item(row);
    return item ? item->data(Qt::UserRole).value<TNodeId>() : 0;
}

void TfrmBrowseEdit::AddAvailable(TNodeId id) {
    const QString name = NameOf(id);
    int at = 0;
    while (at < lstAvTopics->count() && QString::compare(lstAvTopics->item(at)->text(), name, Qt::CaseInsensitive) <= 0)
        ++at;
    auto* item = new QListWidgetItem(name);
    item->setData(Qt::UserRole, QVariant::fromValue<TNodeId>(id));
    lstAvTopics->insertItem(at, item);
}

TBrowseSequence* TfrmBrowseEdit::Selected() {
    const int row = lstBrSeq->currentRow();
    return row >= 0 && row < BrowseSequences.Count() ? &BrowseSequences.Items(row) : nullptr;
}

void TfrmBrowseEdit::ShowSequence() {
    lstIncTopics->clear();
    const TBrowseSequence* s = Selected();
    if (!s) return;
    for (int i = 0; i < s->Count(); ++i) lstIncTopics->addItem(NameOf(s->Items(i).Topic));
}

bool TfrmBrowseEdit::ValidateSequenceName(const QString& name) {
    const std::string n = AsciiUpperStr(Trim(ToCp1252(name)));
    QString refusal;
    if (n.empty())
        refusal = QString::fromLatin1(kMsgInvalidBrowseId);
    else if (n.find(' ') != std::string::npos)
        refusal = QString::fromLatin1(kMsgBrowseIdSpaces);
    else if (n.find(':') != std::string::npos)
        // The colon ends the name in a browse string: the next opening could
        // not read the sequence back.
        refusal = QString::fromLatin1(kMsgInvalidBrowseId);
    else if (n.size() > kMaxBrowseNameLength)
        refusal = QString::fromLatin1(kMsgBrowseIdTooLong);
    else if (BrowseSequences.IndexOf(n) >= 0)
        refusal = FromCp1252(n) + QStringLiteral(": this browse sequence identifier already exists.");
    if (refusal.isEmpty()) return true;
    Ui().Information(refusal);
    return false;
}

void TfrmBrowseEdit::NewClick() {
    const std::optional<QString> answer =
        Ui().InputText(QStringLiteral("New"), QStringLiteral("New browse sequence name:"), QString());
    if (!answer || !ValidateSequenceName(*answer)) return;
    const std::string name = Trim(ToCp1252(*answer));
    BrowseSequences.Add().Name = name;
    lstBrSeq->addItem(FromCp1252(name));
    lstBrSeq->setCurrentRow(lstBrSeq->count() - 1);
    ShowSequence();
}

void TfrmBrowseEdit::RemoveClick() {
    const int row = lstBrSeq->currentRow();
    TBrowseSequence* s = Selected();
    if (!s) return;
    const QString text = QStringLiteral("Remove the browse sequence %1 ?").arg(FromCp1252(s->Name));
    if (Ui().Confirm(text) != MsgResult::Yes) return;
    for (int i = 0; i < s->Count(); ++i) AddAvailable(s->Items(i).Topic);
    BrowseSequences.Delete(row);
    {
        const QSignalBlocker block(lstBrSeq);
        delete lstBrSeq->takeItem(row);
        lstBrSeq->setCurrentRow(SelectAfterRemoval(row, lstBrSeq->count()));
    }
    ShowSequence();
}

void TfrmBrowseEdit::IncludeOneClick() {
    const int k = lstAvTopics->currentRow();
    if (k < 0) return;
    if (lstBrSeq->count() == 0) {
        Ui().Information(QStringLiteral("You must define a browse sequence before including this topic."));
        return;
    }
    TBrowseSequence* s = Selected();
    if (!s) return;
    const TNodeId id = AvailableAt(k);
    s->Add(id, 0);
    lstIncTopics->addItem(NameOf(id));
    delete lstAvTopics->takeItem(k);
    lstAvTopics->setCurrentRow(SelectAfterRemoval(k, lstAvTopics->count()));
}

void TfrmBrowseEdit::IncludeAllClick() {
    if (lstAvTopics->count() == 0) return;
    if (lstBrSeq->count() == 0) {
        Ui().Information(QStringLiteral("You must define a browse sequence before including these topics."));
        return;
    }
    TBrowseSequence* s = Selected();
    if (!s) return;
    for (int k = 0; k < lstAvTopics->count(); ++k) {
        const TNodeId id = AvailableAt(k);
        s->Add(id, 0);
        lstIncTopics->addItem(NameOf(id));
    }
    lstAvTopics->clear();
}

void TfrmBrowseEdit::ExcludeOneClick() {
    TBrowseSequence* s = Selected();
    const int j = lstIncTopics->currentRow();
    if (!s || j < 0 || j >= s->Count()) return;
    const TNodeId id = s->Items(j).Topic;
    s->Delete(j);
    AddAvailable(id);
    delete lstIncTopics->takeItem(j);
    lstIncTopics->setCurrentRow(SelectAfterRemoval(j, lstIncTopics->count()));
}

void TfrmBrowseEdit::ExcludeAllClick() {
    TBrowseSequence* s = Selected();
    if (!s || lstIncTopics->count() == 0) return;
    for (int i = 0; i < s->Count(); ++i) AddAvailable(s->Items(i).Topic);
    s->Clear();
    lstIncTopics->clear();
}

void TfrmBrowseEdit::UpClick() {
    TBrowseSequence* s = Selected();
    const int j = lstIncTopics->currentRow();
    if (!s || j <= 0 || j >= s->Count()) return;
    s->Move(j, j - 1);
    ListEditor(lstIncTopics).MoveUp();
}

void TfrmBrowseEdit::DownClick() {
    TBrowseSequence* s = Selected();
    const int j = lstIncTopics->currentRow();
    if (!s || j < 0 || j + 1 >= s->Count()) return;
    s->Move(j, j + 1);
    ListEditor(lstIncTopics).MoveDown();
}

void TfrmBrowseEdit::DropWithinIncluded(int row) {
    TBrowseSequence* s = Selected();
    const int from = lstIncTopics->currentRow();
    if (!s || from < 0 || row < 0 || row >= s->Count() || from >= s->Count()) return;
    s->Move(from, row);
    QListWidgetItem* item = lstIncTopics->takeItem(from);
    lstIncTopics->insertItem(row, item);
    lstIncTopics->setCurrentRow(row);
}

void TfrmBrowseEdit::DropFromAvailable(int row) {
    TBrowseSequence* s = Selected();
    const int k = lstAvTopics->currentRow();
    if (!s || k < 0) return;
    const TNodeId id = AvailableAt(k);
    const bool below = row < 0 || row >= s->Count();
    const int at = below ? s->Count() : row;
    s->Insert(at, id, 0);
    lstIncTopics->insertItem(at, NameOf(id));
    delete lstAvTopics->takeItem(k);
    if (below)
        lstIncTopics->setCurrentRow(-1);
    else
        lstIncTopics->setCurrentRow(at);
}

bool TfrmBrowseEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        std::function<void()> command;
        if (watched == lstIncTopics) {
            if (key->key() == Qt::Key_Right && alt) command = [this] { ExcludeAllClick(); };
            if (key->key() == Qt::Key_Right && !alt) command = [this] { ExcludeOneClick(); };
            if (alt && key->key() == Qt::Key_Up) command = [this] { UpClick(); };
            if (alt && key->key() == Qt::Key_Down) command = [this] { DownClick(); };
        } else if (watched == lstAvTopics && key->key() == Qt::Key_Left) {
            if (alt)
                command = [this] { IncludeAllClick(); };
            else
                command = [this] { IncludeOneClick(); };
        }
        if (command) {
            runCommand(Ui(), command);
            return true;
        }
        return QmDialog::eventFilter(watched, event);
    }
    // Drops from one list onto the other, or within the included list.
    const bool onIncluded = watched == lstIncTopics->viewport();
    const bool onAvailable = watched == lstAvTopics->viewport();
    if ((onIncluded || onAvailable) &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop)) {
        auto* drag = static_cast<QDropEvent*>(event);
        const QObject* source = drag->source();
        bool accept = false;
        if (onIncluded)
            accept = source == lstIncTopics || (source == lstAvTopics && lstAvTopics->currentRow() >= 0 && Selected());
        else
            accept = source == lstIncTopics && lstIncTopics->currentRow() >= 0;
        if (!accept) {
            drag->ignore();
            return true;
        }
        if (event->type() != QEvent::Drop) {
            drag->acceptProposedAction();
            return true;
        }
        const QPoint at = drag->position().toPoint();
        runCommand(Ui(), [&] {
            if (onAvailable)
                DropOnAvailable();
            else if (source == lstIncTopics)
                DropWithinIncluded(lstIncTopics->indexAt(at).row());
            else
                DropFromAvailable(lstIncTopics->indexAt(at).row());
        });
        // The lists keep their own rows: the drop is handled here, not moved by the view.
        drag->setDropAction(Qt::IgnoreAction);
        drag->accept();
        return true;
    }
    return QmDialog::eventFilter(watched, event);
}

bool TfrmBrowseEdit::validate() {
    if (const auto name = SequenceTooLong(BrowseSequences)) {
        Refuse(QStringLiteral("The browse sequence %1 is too long to be stored.").arg(FromCp1252(*name)));
        return false;
    }
    return true;
}

void TfrmBrowseEdit::store() {
    std::vector<TNodeId> available;
    for (int k = 0; k < lstAvTopics->count(); ++k) available.push_back(AvailableAt(k));
    WriteBrowseStrings(project_.Topics, BrowseSequences, available);
}

}  // namespace qm
