#include "dialogs/contentsedit.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/cntdialog.h"
#include "dialogs/cntprops.h"
#include "dialogs/cnttreeview.h"
#include "dialogs/dialogfactory.h"
#include "dialogs/newtopic.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "widgets/actiontable.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"
#include "widgets/icons.h"

namespace qm {

namespace {

constexpr const char* kCaption = "Contents File Editor - ";
constexpr const char* kFilter = "Contents files (*.cnt);;All files (*)";

}  // namespace

TfrmContentsEdit::TfrmContentsEdit(TDialogFactory& factory, const TProject& project, const TMacros& macros,
                                   bool openProjectContents, QWidget* parent)
    : QDialog(parent), factory_(factory), project_(project), macros_(macros) {
    setObjectName(QStringLiteral("frmContentsEdit"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    CreateActions();
    CreateWidgets();
    resize(820, 560);

    StringList topics;
    for (const TTopicNode* node : project_.Topics.NodesOfKind(TopicKind::Topic)) topics.push_back(node->GetName());
    std::sort(topics.begin(), topics.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const std::string& name : topics) lstTopics->AddTopic(name);

    SetCaption();
    // Without a project file the name would count from the current folder,
    // and an empty contents-file name would name the folder itself.
    const std::string path = IncludeBackslash(ProjectFolder()) + project_.GetCntFile();
    if (openProjectContents && !project_.FileName.empty() && FileExists(path) && OpenFile(path)) return;
    file_.BaseFile = ExtractFileName(project_.GetHlpFile());
    file_.Title = project_.GetTitle();
    ShowTree(-1);
}

TfrmContentsEdit::~TfrmContentsEdit() = default;

UiServices& TfrmContentsEdit::Ui() const { return factory_.Ui(); }

std::string TfrmContentsEdit::ProjectFolder() const { return ExtractFilePath(project_.FileName); }

// --- construction ------------------------------------------------------------

void TfrmContentsEdit::CreateActions() {
    actions_ = new ActionTable(this, Ui());
    ActionTable& t = *actions_;
    actNew =
        t.Add({"actNew", "New", "Ctrl+N", "New|Starts a new, empty contents file.", "", [this] { actNewExecute(); }});
    actOpen = t.Add({"actOpen", "Open", "Ctrl+O", "Open|Opens a contents file.", "", [this] { actOpenExecute(); }});
    actClose = t.Add({"actClose", "Close", "", "Close|Closes the contents file and starts a new one.", "",
                      [this] { actNewExecute(); }});
    actSave = t.Add({"actSave", "Save", "Ctrl+S", "Save|Saves the contents file.", "", [this] { actSaveExecute(); }});
    actSaveAs = t.Add({"actSaveAs", "Save As", "", "Save As|Saves the contents file under a new name.", "",
                       [this] { actSaveAsExecute(); }});
    actFileProps = t.Add({"actFileProps", "Properties...", "",
                          "Properties|Edits the title, the base help file and the lists of the contents file.", "",
                          [this] { actFilePropsExecute(); }});
    actExit = t.Add({"actExit", "E&xit", "", "Exit|Closes the contents file editor.", "", [this] { close(); }});
    actAddTopic =
        t.Add({"actAddTopic", "Topic", "", "Topic|Inserts a new topic entry.", "", [this] { actAddTopicExecute(); }});
    actAddHeader =
        t.Add({"actAddHeader", "Header", "", "Header|Inserts a new book.", "", [this] { actAddHeaderExecute(); }});
    actAddMacro =
        t.Add({"actAddMacro", "Macro", "", "Macro|Inserts a new macro entry.", "", [this] { actAddMacroExecute(); }});
    actAddInclude = t.Add({"actAddInclude", "Include", "", "Include|Inserts an included contents file.", "",
                           [this] { actAddIncludeExecute(); }});
    actAddComment =
        t.Add({"actAddComment", "Comment", "", "Comment|Inserts a comment.", "", [this] { actAddCommentExecute(); }});
    actInsertSel =
        t.Add({"actInsertSel", "Selected Topic", "", "Selected Topic|Inserts the topic selected in the topic list.", "",
               [this] { actInsertSelExecute(); }});
    actItemProps = t.Add({"actItemProps", "Node Properties...", "", "Node Properties|Edits the selected entry.", "",
                          [this] { actItemPropsExecute(); }});
    actMoveUp = t.Add({"actMoveUp", "Move &Up", "", "Move Up|Moves the selected entry above the one before it.", "",
                       [this] { actMoveUpExecute(); }});
    actMoveDown = t.Add({"actMoveDown", "Move &Down", "", "Move Down|Moves the selected entry below the one after it.",
                         "", [this] { actMoveDownExecute(); }});
    actMoveLeft = t.Add({"actMoveLeft", "Move &Left", "", "Move Left|Moves the selected entry out of its book.", "",
                         [this] { actMoveLeftExecute(); }});
    actMoveRight =
        t.Add({"actMoveRight", "Move &Right", "", "Move Right|Moves the selected entry into the book before it.", "",
               [this] { actMoveRightExecute(); }});
    actDelete =
        t.Add({"actDelete", "Delete", "Del", "Delete|Deletes the selected entry.", "", [this] { actDeleteExecute(); }});
    actHelp = t.Add({"actHelp", "Help", "F1", "Help|Shows the help on the contents file editor.", "",
                     [this] { actHelpExecute(); }});
    t.SetUpdater([this] { UpdateActions(); });

    actNew->setIcon(QmIcon(QStringLiteral("document-new")));
    actOpen->setIcon(QmIcon(QStringLiteral("document-open")));
    actSave->setIcon(QmIcon(QStringLiteral("document-save")));
    actSaveAs->setIcon(QmIcon(QStringLiteral("document-save-as")));
    actFileProps->setIcon(QmIcon(QStringLiteral("document-properties")));
    actAddTopic->setIcon(CntKindIcon(TCntNodeKind::Topic));
    actAddHeader->setIcon(CntKindIcon(TCntNodeKind::Book));
    actAddMacro->setIcon(CntKindIcon(TCntNodeKind::Macro));
    actAddInclude->setIcon(CntKindIcon(TCntNodeKind::Include));
    actAddComment->setIcon(CntKindIcon(TCntNodeKind::Comment));
    actItemProps->setIcon(QmIcon(QStringLiteral("document-properties")));
    actMoveUp->setIcon(QmIcon(QStringLiteral("go-up")));
    actMoveDown->setIcon(QmIcon(QStringLiteral("go-down")));
    actMoveLeft->setIcon(QmIcon(QStringLiteral("go-previous")));
    actMoveRight->setIcon(QmIcon(QStringLiteral("go-next")));
    actDelete->setIcon(QmIcon(QStringLiteral("edit-delete")));
    actHelp->setIcon(QmIcon(QStringLiteral("help-browser")));
}

void TfrmContentsEdit::CreateWidgets() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    mnuMain = new QMenuBar(this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    layout->setMenuBar(mnuMain);
    const auto addMenu = [this](const char* name, const QString& caption, std::initializer_list<QAction*> items) {
        QMenu* menu = mnuMain->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        for (QAction* a : items) {
            if (a)
                menu->addAction(a);
            else
                menu->addSeparator();
        }
        actions_->WatchMenu(menu);
        return menu;
    };
    // A null entry is a separator.
    mnuFile = addMenu("mnuFile", QStringLiteral("&File"),
                      {actNew, actOpen, actClose, actSave, actSaveAs, nullptr, actFileProps, nullptr, actExit});
    mnuEdit = addMenu("mnuEdit", QStringLiteral("&Edit"),
                      {actItemProps, nullptr, actMoveUp, actMoveDown, actMoveLeft, actMoveRight, nullptr, actDelete});
    mnuInsert = addMenu("mnuInsert", QStringLiteral("&Insert"),
                        {actInsertSel, nullptr, actAddTopic, actAddHeader, actAddMacro, actAddInclude, actAddComment});

    tbCommands = new QToolBar(this);
    tbCommands->setObjectName(QStringLiteral("tbCommands"));
    tbCommands->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The size every picture has, so that the captions line up.
    tbCommands->setIconSize(QSize(16, 16));
    for (QAction* a : {actNew, actOpen, actSave, actSaveAs, actFileProps}) tbCommands->addAction(a);
    tbCommands->addSeparator();
    for (QAction* a : {actAddTopic, actAddHeader, actAddMacro, actAddInclude, actAddComment}) tbCommands->addAction(a);
    tbCommands->addSeparator();
    tbCommands->addAction(actHelp);
    layout->addWidget(tbCommands);

    auto* body = new QWidget(this);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(4, 2, 4, 4);
    splMain = new QSplitter(Qt::Horizontal, body);
    splMain->setObjectName(QStringLiteral("splMain"));
    splMain->setChildrenCollapsible(false);
    bodyLayout->addWidget(splMain);
    layout->addWidget(body, 1);

    lstTopics = new TTopicDragList(splMain);
    lstTopics->setObjectName(QStringLiteral("lstTopics"));
    lstTopics->setMinimumWidth(120);

    auto* right = new QWidget(splMain);
    auto* rightLayout = new QHBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    pnlCommands = new QFrame(right);
    pnlCommands->setObjectName(QStringLiteral("pnlCommands"));
    auto* buttons = new QVBoxLayout(pnlCommands);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    const auto button = [this, buttons](const char* name, QAction* action) {
        auto* b = new QToolButton(pnlCommands);
        b->setDefaultAction(action);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setIconSize(QSize(16, 16));
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
        return b;
    };
    spbMoveUp = button("spbMoveUp", actMoveUp);
    spbMoveDown = button("spbMoveDown", actMoveDown);
    spbMoveLeft = button("spbMoveLeft", actMoveLeft);
    spbMoveRight = button("spbMoveRight", actMoveRight);
    auto* line = new QFrame(pnlCommands);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    buttons->addWidget(line);
    spbMoveDelete = button("spbMoveDelete", actDelete);
    spbMoveProperties = button("spbMoveProperties", actItemProps);
    buttons->addStretch(1);
    rightLayout->addWidget(pnlCommands);

    lstTree = new TCntTreeView(right);
    lstTree->setObjectName(QStringLiteral("lstTree"));
    rows_ = new TCntRowsModel(file_.Tree, lstTree);
    lstTree->setModel(rows_);
    lstTree->setItemDelegate(new TCntRowDelegate(lstTree));
    lstTree->CanDrop = [this](const QMimeData* data) {
        return rows_->DraggedRow(data) >= 0 || DraggedTopic(data).has_value();
    };
    lstTree->OnDrop = [this](const QMimeData* data, int row) { runCommand(Ui(), [&] { DropOnTree(data, row); }); };
    rightLayout->addWidget(lstTree, 1);
    splMain->addWidget(lstTopics);
    splMain->addWidget(right);
    splMain->setStretchFactor(0, 0);
    splMain->setStretchFactor(1, 1);
    splMain->setSizes({230, 590});

    // The tree's pop-up menu names the commands as a pop-up does.
    mnuTreePop = new QMenu(this);
    mnuTreePop->setObjectName(QStringLiteral("mnuTreePop"));
    for (auto [name, caption, action] :
         {std::tuple{"popProperties", "Properties...", actItemProps}, std::tuple{"popMoveUp", "Move Up", actMoveUp},
          std::tuple{"popMoveDown", "Move Down", actMoveDown}, std::tuple{"popMoveLeft", "Move Left", actMoveLeft},
          std::tuple{"popMoveRight", "Move Right", actMoveRight}, std::tuple{"popDelete", "Delete", actDelete}}) {
        QAction* item = mnuTreePop->addAction(action->icon(), QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        QAction* target = action;
        connect(item, &QAction::triggered, target, &QAction::trigger);
        connect(target, &QAction::enabledChanged, item, &QAction::setEnabled);
        if (target == actItemProps) mnuTreePop->setDefaultAction(item);
    }
    lstTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        UpdateActions();
        mnuTreePop->popup(lstTree->viewport()->mapToGlobal(p));
    });

    connect(lstTree, &QAbstractItemView::doubleClicked, this, guarded(Ui(), [this] { actItemPropsExecute(); }));
    connect(lstTopics, &QListWidget::itemDoubleClicked, this, guarded(Ui(), [this] { actInsertSelExecute(); }));
    connect(lstTree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateActions(); });
    connect(lstTopics, &QListWidget::itemSelectionChanged, this, [this] { UpdateActions(); });

    setTabOrder(lstTopics, lstTree);
    lstTree->setFocus();
}

// --- state -------------------------------------------------------------------

void TfrmContentsEdit::SetCaption() {
    const std::string name = file_.FileName.empty() ? std::string("[untitled]") : ExtractFileName(file_.FileName);
    setWindowTitle(QString::fromLatin1(kCaption) + FromCp1252(name));
}

void TfrmContentsEdit::ClearFile() {
    file_.Clear();
    SetCaption();
}

int TfrmContentsEdit::SelectedRow() const {
    const QModelIndexList selected = lstTree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void TfrmContentsEdit::SelectRow(int row) {
    const QModelIndex index = rows_->index(row, 0);
    if (index.isValid()) {
        lstTree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        lstTree->scrollTo(index);
    } else {
        lstTree->selectionModel()->clear();
    }
    UpdateActions();
}

void TfrmContentsEdit::ShowTree(int row) {
    rows_->Rebuild();
    SelectRow(row);
}

void TfrmContentsEdit::UpdateActions() {
    const bool entry = SelectedRow() >= 0;
    for (QAction* a : {actItemProps, actMoveUp, actMoveDown, actMoveLeft, actMoveRight, actDelete})
        a->setEnabled(entry);
    actInsertSel->setEnabled(!lstTopics->selectedItems().isEmpty());
}

// --- files -------------------------------------------------------------------

bool TfrmContentsEdit::OpenFile(const std::string& name) {
    file_.Clear();
    if (!file_.LoadFromFile(name)) {
        // Untitled, so that the empty tree is never saved over the file unasked.
        const QString why = FromCp1252(file_.LastError());
        ClearFile();
        ShowTree(-1);
        Ui().ErrorBox(why);
        return false;
    }
    SetCaption();
    ShowTree(-1);
    return true;
}

bool TfrmContentsEdit::SaveFile(const std::string& name) {
    if (!file_.SaveToFile(name)) {
        Ui().ErrorBox(FromCp1252(file_.LastError()));
        return false;
    }
    file_.Modified = false;
    SetCaption();
    return true;
}

std::string TfrmContentsEdit::ProposedFileName() const {
    const std::string cnt = ExtractFileName(project_.GetCntFile());
    if (!cnt.empty()) return cnt;
    // ".cnt" alone would be a hidden file.
    const std::string base = ExtractFileName(RemoveExtension(project_.FileName));
    return (base.empty() ? std::string("untitled") : base) + ".cnt";
}

std::optional<std::string> TfrmContentsEdit::ExecuteSaveDialog() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Save As");
    request.filter = QString::fromLatin1(kFilter);
    request.folder = FromCp1252(ProjectFolder());
    request.fileName = FromCp1252(ProposedFileName());
    request.defaultSuffix = QStringLiteral("cnt");
    request.confirmOverwrite = true;
    const auto chosen = Ui().SaveFileName(request);
    if (!chosen) return std::nullopt;
    return ToCp1252(*chosen);
}

bool TfrmContentsEdit::QuerySave() {
    if (!file_.Modified) return true;
    switch (Ui().Confirm(QString::fromLatin1(kMsgCntSaveChanges), MsgButtons::YesNoCancel)) {
        case MsgResult::Yes: {
            std::string name = file_.FileName;
            if (name.empty()) {
                const auto chosen = ExecuteSaveDialog();
                if (!chosen) return false;
                name = *chosen;
            }
            return SaveFile(name);
        }
        case MsgResult::No: return true;
        default: return false;
    }
}

void TfrmContentsEdit::reject() {
    if (!closing_) {
        if (!QuerySave()) return;
        closing_ = true;
    }
    QDialog::reject();
}

void TfrmContentsEdit::closeEvent(QCloseEvent* event) {
    // reject() asks; QDialog's own handler would ask a second time.
    if (!closing_) reject();
    if (closing_)
        event->accept();
    else
        event->ignore();
}

void TfrmContentsEdit::actNewExecute() {
    if (!QuerySave()) return;
    // Only creation presets the help file and title from the project.
    ClearFile();
    ShowTree(-1);
}

void TfrmContentsEdit::actOpenExecute() {
    if (!QuerySave()) return;
    FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = QString::fromLatin1(kFilter);
    request.folder = FromCp1252(ProjectFolder());
    request.defaultSuffix = QStringLiteral("cnt");
    if (const auto chosen = Ui().OpenFileName(request)) OpenFile(ToCp1252(*chosen));
}

void TfrmContentsEdit::actSaveExecute() {
    if (!file_.FileName.empty()) {
        SaveFile(file_.FileName);
        return;
    }
    actSaveAsExecute();
}

void TfrmContentsEdit::actSaveAsExecute() {
    if (const auto name = ExecuteSaveDialog()) SaveFile(*name);
}

void TfrmContentsEdit::actFilePropsExecute() {
    TfrmCntProps dialog(factory_, this);
    dialog.Preset(file_);
    if (!factory_.Run(dialog)) return;
    dialog.StoreInto(file_);
    file_.Modified = true;
}

void TfrmContentsEdit::actHelpExecute() { Ui().ShowHelp(kContentsEditHelpContext); }

// --- entries -----------------------------------------------------------------

void TfrmContentsEdit::InsertItem(std::unique_ptr<TCntNode> item) {
    TCntTree& tree = file_.Tree;
    const int selected = SelectedRow();
    int show = selected;
    const TCntNodeKind kind = item->Kind;
    if (selected < 0 || !tree.GetNode(selected)) {
        tree.AddChild(nullptr, std::move(item));
        show = -1;
    } else if (kind == TCntNodeKind::Include) {
        // The reader puts an include on level 1, and what follows it too: it
        // goes before the selected entry's level-1 entry (itself on level 1).
        int top = selected;
        while (const TCntTreeNode* parent = tree.GetParent(top)) top = tree.IndexOf(parent);
        tree.Insert(std::move(item), top);
        show = top;
    } else if (kind == TCntNodeKind::Comment) {
        tree.Insert(std::move(item), selected);
    } else if (tree.GetItem(selected)->Kind == TCntNodeKind::Book) {
        tree.AddChild(tree.GetNode(selected), std::move(item));
    } else {
        tree.AddChild(tree.GetParent(selected), std::move(item));
    }
    ShowTree(show);
}

bool TfrmContentsEdit::RunEntryDialog(TCntNode& entry, bool isNew) {
    const std::unique_ptr<TCntEntryDialog> dialog = MakeCntEntryDialog(entry.Kind, factory_, project_, macros_, this);
    if (!dialog) return false;
    if (!isNew) {
        dialog->LoadEntry(entry);
    } else if (auto* topic = qobject_cast<TfrmNewTopic*>(dialog.get())) {
        const TTopicNode* contents = project_.Topics.FindContents();
        topic->PresetNew(contents ? contents->GetName() : std::string());
    }
    if (!factory_.Run(*dialog)) return false;
    dialog->SaveEntry(entry);
    return true;
}

void TfrmContentsEdit::AddEntry(TCntNodeKind kind) {
    auto entry = std::make_unique<TCntNode>();
    entry->Kind = kind;
    if (!RunEntryDialog(*entry, true)) return;
    InsertItem(std::move(entry));
    file_.Modified = true;
}

void TfrmContentsEdit::actAddTopicExecute() { AddEntry(TCntNodeKind::Topic); }
void TfrmContentsEdit::actAddHeaderExecute() { AddEntry(TCntNodeKind::Book); }
void TfrmContentsEdit::actAddMacroExecute() { AddEntry(TCntNodeKind::Macro); }
void TfrmContentsEdit::actAddIncludeExecute() { AddEntry(TCntNodeKind::Include); }
void TfrmContentsEdit::actAddCommentExecute() { AddEntry(TCntNodeKind::Comment); }

std::unique_ptr<TCntNode> TfrmContentsEdit::TopicEntry(const std::string& name) {
    const TTopicNode* topic = project_.Topics.FindByName(name);
    if (!topic || !topic->IsTopic()) return nullptr;
    auto entry = std::make_unique<TCntNode>();
    entry->Kind = TCntNodeKind::Topic;
    entry->TopicId = name;
    entry->Title = topic->GetTitle();
    entry->Window = topic->GetWindow();
    if (const auto fault = CntEntryFault(*entry)) {
        Ui().Information(FromCp1252(CntRefusalText(fault->Field + " of the topic \"" + QuoteInput(name) + "\"",
                                                   CodePointToCp1252(fault->Char))));
        return nullptr;
    }
    return entry;
}

void TfrmContentsEdit::actInsertSelExecute() {
    const QList<QListWidgetItem*> selected = lstTopics->selectedItems();
    if (selected.isEmpty()) return;
    auto entry = TopicEntry(lstTopics->TopicAt(lstTopics->row(selected.front())));
    if (!entry) return;
    InsertItem(std::move(entry));
    file_.Modified = true;
}

void TfrmContentsEdit::actItemPropsExecute() {
    const int row = SelectedRow();
    TCntNode* entry = file_.Tree.GetItem(row);
    if (!entry) return;
    if (!RunEntryDialog(*entry, false)) return;
    file_.Modified = true;
    ShowTree(row);
}

void TfrmContentsEdit::Move(bool (TCntTree::*op)(int), bool sideways) {
    const int row = SelectedRow();
    const TCntTreeNode* node = file_.Tree.GetNode(row);
    if (!node) return;
    if (sideways && (node->Item->Kind == TCntNodeKind::Include || node->Item->Kind == TCntNodeKind::Comment)) return;
    if (!(file_.Tree.*op)(row)) return;
    ShowTree(file_.Tree.IndexOf(node));
    file_.Modified = true;
}

void TfrmContentsEdit::actMoveUpExecute() { Move(&TCntTree::MoveUp, false); }
void TfrmContentsEdit::actMoveDownExecute() { Move(&TCntTree::MoveDown, false); }
void TfrmContentsEdit::actMoveLeftExecute() { Move(&TCntTree::MoveLeft, true); }
void TfrmContentsEdit::actMoveRightExecute() { Move(&TCntTree::MoveRight, true); }

void TfrmContentsEdit::actDeleteExecute() {
    const int row = SelectedRow();
    const TCntNode* entry = file_.Tree.GetItem(row);
    if (!entry) return;
    const bool book = entry->Kind == TCntNodeKind::Book;
    if (Ui().Confirm(QString::fromLatin1(book ? kMsgCntDeleteHeader : kMsgCntDeleteItem), MsgButtons::YesNo) !=
        MsgResult::Yes)
        return;
    file_.Tree.Delete(row);
    file_.Modified = true;
    ShowTree(SelectAfterRemoval(row, file_.Tree.Count()));
}

void TfrmContentsEdit::DropOnTree(const QMimeData* data, int row) {
    TCntTree& tree = file_.Tree;
    if (const int source = rows_->DraggedRow(data); source >= 0) {
        if (row < 0 || row == source) return;
        TCntTreeNode* node = tree.GetNode(source);
        // The entry lands beside the target, so an include must not land
        // beside one inside a book.
        if (node->Item->Kind == TCntNodeKind::Include && tree.GetParent(row)) return;
        if (!tree.Move(node, row)) return;
        ShowTree(tree.IndexOf(node));
        file_.Modified = true;
        return;
    }
    const auto topic = DraggedTopic(data);
    if (!topic) return;
    auto entry = TopicEntry(*topic);
    if (!entry) return;
    if (row < 0 || !tree.GetNode(row)) {
        InsertItem(std::move(entry));
    } else {
        tree.Insert(std::move(entry), row);
        ShowTree(row);
    }
    file_.Modified = true;
}

}  // namespace qm
