#include "shgedit/mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "shgedit/aboutdlg.h"
#include "shgedit/handoff.h"
#include "shgedit/optionsdlg.h"
#include "shgedit/picpropsdlg.h"
#include "shgedit/rundialog.h"
#include "shgedit/selectdlg.h"
#include "shgedit/shgchild.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "widgets/actiontable.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"
#include "widgets/icons.h"
#include "widgets/mrumenu.h"
#include "widgets/statusbar.h"

namespace qm::shgedit {

namespace {

constexpr const char* kOpenFilter =
    "Segmented hypergraphics (*.shg)|*.shg|Bitmap images (*.bmp)|*.bmp|All image files (*.shg;*.bmp)|*.shg;*.bmp";
constexpr const char* kShgFilter = "Segmented hypergraphics (*.shg)|*.shg";
constexpr const char* kBmpFilter = "Bitmap images (*.bmp)|*.bmp";

// The first bytes of a file; fewer when it is shorter or unreadable.
std::string FileHead(const std::string& name, std::size_t count) {
    std::ifstream in(ToFsPath(name), std::ios::binary);
    std::string head(count, '\0');
    if (!in) return {};
    in.read(head.data(), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

}  // namespace

int PicturesInFile(const std::string& name) {
    const std::string head = FileHead(name, 4);
    if (head.size() < 4 || head[0] != 'l' || (head[1] != 'p' && head[1] != 'P')) return 0;
    return static_cast<std::uint8_t>(head[2]) | (static_cast<std::uint8_t>(head[3]) << 8);
}

QRect ClampToScreen(QRect r, const QRect& screen) {
    if (screen.isEmpty()) return r;
    r.setWidth(std::min(r.width(), screen.width()));
    r.setHeight(std::min(r.height(), screen.height()));
    r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() + 1 - r.height()));
    return r;
}

std::unique_ptr<TShg> LoadPictureFile(const std::string& name) {
    // Read whole into memory: a file far beyond any help picture is refused first.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(ToFsPath(name), ec);
    if (!ec && size > kMaxPictureFile) throw Error("The file " + name + " is too large to be a picture.");
    auto shg = std::make_unique<TShg>();
    // Help folders hold plain bitmaps that were only renamed .shg.
    if (AsciiUpperStr(ExtractExtension(name)) == "BMP" || FileHead(name, 2) == "BM")
        shg->ImportBitmap(name);
    else
        shg->LoadFromFile(name);
    return shg;
}

// ---- construction ------------------------------------------------------------

TfrmMain::TfrmMain(TShgEditEnv env, QWidget* parent)
    : QMainWindow(parent), env_(std::move(env)), ui_(*env_.Ui), settings_(*env_.Settings), mru_(kMruKey) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(QmIcon(QStringLiteral("pikeral")));

    // 1. The names Quillmark handed over, if it did.
    THandoffLists lists = TakeHandoffLists(env_.HandoffFolder);
    topicNames_ = std::move(lists.Topics);
    popupNames_ = std::move(lists.Popups);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiMain"));
    setCentralWidget(mdiArea_);
    status_ = new StatusPanels(statusBar());
    statusBar()->setObjectName(QStringLiteral("sbrStatus"));
    // A single panel: the hints.
    status_->Panel(1)->hide();
    actions_ = new ActionTable(this, ui_, status_);
    actions_->SetUpdater([this] { UpdateActions(); });
    CreateActions();
    // 2. The recent files, after the menus that show them.
    CreateMenus();
    mru_.AttachMenu(mruMenu_->Setter());
    mru_.ReadFromRegistry(settings_);

    // 4. The help file beside the program.
    QString folder = env_.ProgramFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    ui_.SetHelpFile(folder + QString::fromLatin1(kHelpFileName));

    // 5. The settings: an unreadable store gives the defaults.
    options_.ReadFromRegistry(settings_);
    ApplyPlacement();
    // 6. The bars as they were.
    actViewToolbar->setChecked(options_.ViewToolbar);
    actViewStatusBar->setChecked(options_.ViewStatusBar);
    tbrMain_->setVisible(options_.ViewToolbar);
    statusBar()->setVisible(options_.ViewStatusBar);
    // 7. A setting that could not be read is said once, in the status bar:
    // never a box before the window shows.
    if (const std::vector<std::string> problems = settings_.TakeReadProblems(); !problems.empty()) {
        QString text = FromCp1252(problems.front());
        if (problems.size() > 1) text += QStringLiteral(" (%1 more)").arg(problems.size() - 1);
        status_->SetStatus(text);
    }

    connect(mdiArea_, &QMdiArea::subWindowActivated, actions_, &ActionTable::RequestUpdate);
    UpdateActionsNow();
}

TfrmMain::~TfrmMain() {
    actions_->SetUpdater(nullptr);
    // The children reach the frame while they go; they go first.
    for (QMdiSubWindow* sw : mdiArea_->subWindowList()) delete sw;
}

void TfrmMain::CreateActions() {
    auto slot = [this](void (TfrmMain::*method)()) { return [this, method] { (this->*method)(); }; };
    ActionTable& t = *actions_;
    actOpen = t.Add({"actOpen", "&Open...", "Ctrl+O", "Open|Opens an existing document.", "document-open",
                     slot(&TfrmMain::actOpenExecute)});
    actClose = t.Add({"actClose", "&Close", "", "Close|Closes the active window, prompts to save the changes.",
                      "document-close", slot(&TfrmMain::actCloseExecute)});
    actSave = t.Add({"actSave", "&Save", "Ctrl+S", "Save|Saves the active image.", "document-save",
                     slot(&TfrmMain::actSaveExecute)});
    actSaveAs = t.Add({"actSaveAs", "Save &As...", "", "|Saves the active image under a new name.", "document-save-as",
                       slot(&TfrmMain::actSaveAsExecute)});
    actImport = t.Add({"actImport", "&Import Image...", "", "Import|Import an image in to active document.",
                       "image-import", slot(&TfrmMain::actImportExecute)});
    actExport =
        t.Add({"actExport", "&Export Image...", "", "Export|Exports the image in the active document to an image file.",
               "image-export", slot(&TfrmMain::actExportExecute)});
    actPicProps = t.Add({"actPicProps", "Properties...", "", "|Displays the active picture properties.",
                         "document-properties", slot(&TfrmMain::actPicPropsExecute)});
    actExit = t.Add({"actExit", "E&xit", "Alt+F4", "|Quits the application, prompts to save the changes.",
                     "system-log-out", slot(&TfrmMain::actExitExecute)});
    actCut = t.Add(
        {"actCut", "&Cut", "Ctrl+X", "Cut|Cuts the selected hotspot.", "edit-cut", slot(&TfrmMain::actCutExecute)});
    actCopy = t.Add({"actCopy", "C&opy", "Ctrl+C", "Copy|Copies the selected hotspot to the clipboard.", "edit-copy",
                     slot(&TfrmMain::actCopyExecute)});
    actPaste = t.Add({"actPaste", "&Paste", "Ctrl+V", "Paste|Pastes a hotspot from the clipboard.", "edit-paste",
                      slot(&TfrmMain::actPasteExecute)});
    actDelete = t.Add({"actDelete", "&Delete", "Del", "Delete|Deletes the selected hotspot.", "edit-delete",
                       slot(&TfrmMain::actDeleteExecute)});
    actSelect = t.Add({"actSelect", "Select...", "", "Select|Displays a list of hotspots.", "edit-select-all",
                       slot(&TfrmMain::actSelectExecute)});
    actHSProps =
        t.Add({"actHSProps", "Hotspot Properties...", "F4", "Properties|Edits the selected hotspot properties.",
               "document-properties", slot(&TfrmMain::actHSPropsExecute)});
    actOptions = t.Add({"actOptions", "Preferences...", "", "|Edits the application preferences.", "preferences-system",
                        slot(&TfrmMain::actOptionsExecute)});
    actViewToolbar = t.Add({"actViewToolbar", "Toolbar", "", "|Toggles the toolbar.", "view-toolbar",
                            slot(&TfrmMain::actViewToolbarExecute), true});
    actViewStatusBar = t.Add({"actViewStatusBar", "Status Bar", "", "|Toggles the status bar.", "view-statusbar",
                              slot(&TfrmMain::actViewStatusBarExecute), true});
    actWindowCascade = t.Add({"actWindowCascade", "&Cascade", "", "|Cascades windows on the desktop.", "window-cascade",
                              [this] { mdiArea_->cascadeSubWindows(); }});
    actWindowTileHorizontal =
        t.Add({"actWindowTileHorizontal", "Tile &Horizontally", "", "|Tiles windows horizontally on the desktop.",
               "window-tile-horizontal", slot(&TfrmMain::actWindowTileHorizontalExecute)});
    actWindowTileVertical =
        t.Add({"actWindowTileVertical", "&Tile Vertically", "", "|Tiles windows vertically on the desktop.",
               "window-tile-vertical", slot(&TfrmMain::actWindowTileVerticalExecute)});
    actWindowMinimizeAll = t.Add({"actWindowMinimizeAll", "&Minimize All", "", "|Minimizes all opened windows.",
                                  "window-minimize-all", slot(&TfrmMain::actWindowMinimizeAllExecute)});
    actWindowArrange = t.Add({"actWindowArrange", "&Arrange", "", "|Arranges all iconized windows.", "window-arrange",
                              slot(&TfrmMain::actWindowArrangeExecute)});
    actWindowPrev = t.Add({"actWindowPrev", "Previous", "", "|Activates the previous window.", "go-previous",
                           [this] { mdiArea_->activatePreviousSubWindow(); }});
    actWindowNext = t.Add({"actWindowNext", "Next", "", "|Activates the next window.", "go-next",
                           [this] { mdiArea_->activateNextSubWindow(); }});
    actHelpContents = t.Add({"actHelpContents", "&Contents...", "F1", "Help|Displays the Pikeral help contents.",
                             "help-browser", slot(&TfrmMain::actHelpContentsExecute)});
    actHelpIndex = t.Add({"actHelpIndex", "&Index...", "", "|Displays the Pikeral help index.", "help-index",
                          slot(&TfrmMain::actHelpIndexExecute)});
    actAbout = t.Add(
        {"actAbout", "&About...", "", "|Shows the program's version.", "pikeral", slot(&TfrmMain::actAboutExecute)});
}

void TfrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));

    mnuFile_ = bar->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    // The recent files come last (positions 13 to 16): made first, the
    // other items then go in front of them.
    mruMenu_ = new TMruMenu(
        mnuFile_, TMru::kCount, [this](int slot) { return mru_.GetItem(slot); }, this);
    for (int k = 0; k < TMru::kCount; ++k) mruMenu_->Item(k)->setStatusTip(QStringLiteral("Opens this document."));
    QAction* first = mruMenu_->Item(0);
    auto add = [&](QAction* a) { mnuFile_->insertAction(first, a); };
    auto separator = [&] { mnuFile_->insertSeparator(first); };
    add(actOpen);
    add(actClose);
    separator();
    add(actSave);
    add(actSaveAs);
    separator();
    add(actImport);
    add(actExport);
    separator();
    add(actPicProps);
    separator();
    add(actExit);
    separator();
    connect(mruMenu_, &TMruMenu::projectChosen, this, [this](int, const QString& file) {
        runCommand(ui_, [this, name = ToCp1252(file)] {
            // A failed open has taken the name out of the list; it stays out.
            if (OpenFile(name)) mru_.AddFile(name);
        });
    });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    edit->addActions({actCut, actCopy, actPaste, actDelete});
    edit->addSeparator();
    edit->addActions({actSelect, actHSProps});
    edit->addSeparator();
    edit->addAction(actOptions);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addActions({actViewToolbar, actViewStatusBar});

    QMenu* window = bar->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("mnuWindow"));
    window->addActions(
        {actWindowCascade, actWindowTileHorizontal, actWindowTileVertical, actWindowMinimizeAll, actWindowArrange});
    window->addSeparator();
    window->addActions({actWindowPrev, actWindowNext});

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addActions({actHelpContents, actHelpIndex});
    help->addSeparator();
    help->addAction(actAbout);

    for (QMenu* m : {mnuFile_, edit, view, window, help}) actions_->WatchMenu(m);

    tbrMain_ = addToolBar(QStringLiteral("Toolbar"));
    tbrMain_->setObjectName(QStringLiteral("tbrMain"));
    tbrMain_->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    tbrMain_->addActions({actOpen, actSave});
    tbrMain_->addSeparator();
    tbrMain_->addActions({actImport, actExport});
    tbrMain_->addSeparator();
    tbrMain_->addActions({actCut, actCopy, actPaste, actDelete});
    tbrMain_->addSeparator();
    tbrMain_->addActions({actSelect, actHSProps});
    tbrMain_->addSeparator();
    tbrMain_->addActions({actWindowCascade, actWindowTileHorizontal, actWindowTileVertical, actClose});
    tbrMain_->addSeparator();
    tbrMain_->addAction(actHelpContents);
    // Where a button shows text (no icon), it is the short hint: "Import", not "Import Image".
    for (QAction* a : tbrMain_->actions())
        if (!a->isSeparator() && !a->toolTip().isEmpty()) a->setIconText(a->toolTip());
}

void TfrmMain::ApplyPlacement() {
    resize(800, 600);
    const TWindowPlacement& p = options_.Position;
    // A placement never stored keeps the default place.
    if (!p.IsUsable()) return;
    QRect r(p.Left, p.Top, p.Right - p.Left, p.Bottom - p.Top);
    QScreen* screen = QGuiApplication::screenAt(r.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) r = ClampToScreen(r, screen->availableGeometry());
    setGeometry(r);
    maximized_ = p.Maximized();
}

void TfrmMain::Start(const QStringList& args) {
    if (maximized_)
        showMaximized();
    else
        show();
    FormShow(args);
}

void TfrmMain::FormShow(const QStringList& args) {
    const std::optional<QString> file = FileArgumentOf(args);
    if (!file || file->isEmpty()) return;
    runCommand(ui_, [&] {
        const std::string name = ToCp1252(*file);
        // A file that is there but cannot be read has shown its own message.
        if (!FileExists(name)) {
            ui_.ErrorBox(QString::fromLatin1(kMsgUnableToOpen) + *file);
            return;
        }
        if (OpenFile(name)) mru_.AddFile(name);
    });
}

// ---- children ------------------------------------------------------------------

QList<TfrmShg*> TfrmMain::Children() const {
    QList<TfrmShg*> out;
    for (QMdiSubWindow* sw : mdiArea_->subWindowList())
        if (auto* child = qobject_cast<TfrmShg*>(sw->widget())) out << child;
    return out;
}

TfrmShg* TfrmMain::ActiveChild() const {
    QMdiSubWindow* sw = mdiArea_->currentSubWindow();
    return sw ? qobject_cast<TfrmShg*>(sw->widget()) : nullptr;
}

TShg* TfrmMain::ActiveShg() const {
    TfrmShg* child = ActiveChild();
    return child ? &child->Shg() : nullptr;
}

THotspot* TfrmMain::SelectedHotspot() const {
    TfrmShg* child = ActiveChild();
    if (!child || !child->HasSelection()) return nullptr;
    return &child->Shg().Hotspots.GetItem(child->SelectedIndex());
}

void TfrmMain::SelectHotspot(int index) {
    if (TfrmShg* child = ActiveChild()) child->SelectHotspot(index);
}

QMdiSubWindow* TfrmMain::AddChild(TfrmShg* child) {
    QMdiSubWindow* sw = mdiArea_->addSubWindow(child);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    sw->setObjectName(QStringLiteral("subShg"));
    connect(child, &TfrmShg::stateChanged, actions_, &ActionTable::RequestUpdate);
    connect(sw, &QObject::destroyed, actions_, &ActionTable::RequestUpdate);
    sw->show();
    // The whole picture where the frame has room for it: the window's own
    // frame and the scroll area's border come on top of the picture.
    const QSize chrome = sw->size() - sw->contentsRect().size();
    const int border = 2 * child->ScrollArea()->frameWidth();
    const QSize want = QSize(child->PictureWidth(), child->PictureHeight()) + QSize(border, border) + chrome;
    QSize room = mdiArea_->size();
    // Before the frame is laid out its area has no size worth keeping to.
    if (room.width() < 200 || room.height() < 150) room = want;
    room -= QSize(sw->x(), sw->y());
    sw->resize(std::max(200, std::min(want.width(), room.width())),
               std::max(150, std::min(want.height(), room.height())));
    mdiArea_->setActiveSubWindow(sw);
    child->Canvas()->setFocus();
    return sw;
}

bool TfrmMain::OpenFile(const std::string& name) {
    std::unique_ptr<TShg> shg;
    try {
        shg = LoadPictureFile(name);
    } catch (const std::exception& e) {
        mru_.RemoveFile(name);
        ui_.ErrorBox(FromCp1252(e.what()));
        return false;
    }
    AddChild(new TfrmShg(*this, std::move(shg)));
    return true;
}

// ---- saving ------------------------------------------------------------------

bool TfrmMain::SaveActive() {
    TfrmShg* child = ActiveChild();
    return child ? SaveChild(*child) : false;
}

bool TfrmMain::SaveActiveAs() {
    TfrmShg* child = ActiveChild();
    return child ? SaveChildAs(*child) : false;
}

bool TfrmMain::SaveChild(TfrmShg& child) {
    if (!child.Shg().IsShg) return SaveChildAs(child);
    return WriteChild(child, child.Shg().FileName, false);
}

bool TfrmMain::WriteChild(TfrmShg& child, const std::string& name, bool askedToReplace) {
    // We keep the first picture only: never drop the others without asking.
    const int pictures = PicturesInFile(name);
    if (pictures > 1 && !askedToReplace) {
        const QString question =
            QStringLiteral("This file holds %1 pictures; only the first is kept. Save anyway?").arg(pictures);
        if (ui_.Confirm(question, MsgButtons::YesNo) != MsgResult::Yes) return false;
    }
    child.Shg().SaveToFile(name);
    child.SetModified(false);
    return true;
}

std::optional<std::string> TfrmMain::AskSaveName(const QString& caption, const QString& filter, const QString& folder,
                                                 const QString& preset, const QString& suffix, bool shgTarget) {
    FileDialogRequest request;
    request.caption = caption;
    request.filter = WindowsFilterToQt(filter);
    request.folder = folder;
    request.fileName = preset;
    request.defaultSuffix = suffix;
    // We ask ourselves, below, so the question is the same everywhere.
    request.confirmOverwrite = false;
    for (;;) {
        const std::optional<QString> chosen = ui_.SaveFileName(request);
        if (!chosen) return std::nullopt;
        const std::string name = ToCp1252(*chosen);
        if (!FileExists(name)) return name;
        const int pictures = shgTarget ? PicturesInFile(name) : 0;
        const QString question =
            pictures > 1
                ? QStringLiteral("This file holds %1 pictures; only the first is kept. Save anyway?").arg(pictures)
                : *chosen + QStringLiteral(" already exists.\nDo you want to replace it?");
        if (ui_.Confirm(question, MsgButtons::YesNo) == MsgResult::Yes) return name;
        request.fileName = *chosen;
    }
}

bool TfrmMain::SaveChildAs(TfrmShg& child) {
    const std::optional<std::string> name =
        AskSaveName(QStringLiteral("Save As"), QString::fromLatin1(kShgFilter), FromCp1252(options_.LastSaveDir), {},
                    QStringLiteral("shg"), true);
    if (!name) return false;
    WriteChild(child, *name, true);
    child.Shg().FileName = *name;
    child.Shg().IsShg = true;
    child.setWindowTitle(FromCp1252(*name));
    options_.LastSaveDir = ExtractFilePath(*name);
    return true;
}

// ---- the commands ----------------------------------------------------------------

void TfrmMain::actOpenExecute() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = WindowsFilterToQt(QString::fromLatin1(kOpenFilter));
    request.folder = FromCp1252(options_.LastOpenDir);
    request.defaultSuffix = QStringLiteral("shg");
    const std::optional<QString> chosen = ui_.OpenFileName(request);
    if (!chosen) return;
    const std::string name = ToCp1252(*chosen);
    options_.LastOpenDir = ExtractFilePath(name);
    if (OpenFile(name)) mru_.AddFile(name);
}

void TfrmMain::actCloseExecute() {
    if (QMdiSubWindow* sw = mdiArea_->currentSubWindow()) sw->close();
}

void TfrmMain::actSaveExecute() { SaveActive(); }

void TfrmMain::actSaveAsExecute() { SaveActiveAs(); }

void TfrmMain::actImportExecute() {
    if (!ActiveChild()) return;
    FileDialogRequest request;
    request.caption = QStringLiteral("Import Image");
    request.filter = WindowsFilterToQt(QString::fromLatin1(kOpenFilter));
    request.folder = FromCp1252(options_.LastOpenDir);
    request.defaultSuffix = QStringLiteral("shg");
    const std::optional<QString> chosen = ui_.OpenFileName(request);
    if (chosen) ImportImage(ToCp1252(*chosen));
}

void TfrmMain::ImportImage(const std::string& name) {
    TfrmShg* child = ActiveChild();
    if (!child) return;
    // Read whole before anything changes: a bad file leaves the picture as it was.
    std::unique_ptr<TShg> loaded = LoadPictureFile(name);
    if (!loaded->Bitmap) throw Error("The file holds no picture.");
    child->Shg().Bitmap = std::move(loaded->Bitmap);
    child->PictureReplaced();
    ClampHotspots();
    // A new picture is a change to save like any other.
    child->SetModified(true);
}

void TfrmMain::ClampHotspots() {
    if (TfrmShg* child = ActiveChild()) child->ClampHotspots();
}

void TfrmMain::actExportExecute() {
    TfrmShg* child = ActiveChild();
    if (!child || !child->Shg().Bitmap) return;
    // The last "." of the file name, never one of a folder.
    std::string preset = child->Shg().FileName;
    ChangeExtension(preset, "bmp");
    const std::optional<std::string> name =
        AskSaveName(QStringLiteral("Export Bitmap"), QString::fromLatin1(kBmpFilter), {}, FromCp1252(preset),
                    QStringLiteral("bmp"), false);
    if (name) child->Shg().Bitmap->SaveToFile(*name);
}

void TfrmMain::actPicPropsExecute() {
    TShg* shg = ActiveShg();
    if (!shg || !shg->Bitmap) return;
    TfrmProperties dialog(ui_, this);
    dialog.SetFigures(TPictureFigures::Of(*shg->Bitmap, shg->IsShg));
    RunShgDialog(dialog);
}

void TfrmMain::actExitExecute() { close(); }

void TfrmMain::actCutExecute() {
    TfrmShg* child = ActiveChild();
    if (!child || !child->HasSelection()) return;
    clipboard_ = std::make_unique<THotspot>(*SelectedHotspot());
    child->DeleteSelected();
    RequestUpdateActions();
}

void TfrmMain::actCopyExecute() {
    const THotspot* selected = SelectedHotspot();
    if (!selected) return;
    clipboard_ = std::make_unique<THotspot>(*selected);
    RequestUpdateActions();
}

void TfrmMain::actPasteExecute() {
    TfrmShg* child = ActiveChild();
    if (!child || !clipboard_) return;
    THotspot pasted = *clipboard_;
    pasted.Right -= pasted.Left;
    pasted.Bottom -= pasted.Top;
    pasted.Left = 0;
    pasted.Top = 0;
    child->AppendHotspot(pasted);
}

void TfrmMain::actDeleteExecute() {
    if (TfrmShg* child = ActiveChild()) child->DeleteSelected();
}

void TfrmMain::actSelectExecute() {
    TShg* shg = ActiveShg();
    if (!shg) return;
    StringList ids;
    for (std::int32_t i = 0; i < shg->Hotspots.Count(); ++i) ids.push_back(shg->Hotspots.GetItem(i).ID);
    TfrmSelect dialog(ui_, this);
    dialog.SetItems(ids);
    if (!RunShgDialog(dialog)) return;
    const int index = dialog.SelectedIndex();
    if (index >= 0) SelectHotspot(index);
}

void TfrmMain::actHSPropsExecute() {
    if (TfrmShg* child = ActiveChild()) child->EditHotspotProperties();
}

void TfrmMain::actOptionsExecute() {
    TfrmOptions dialog(ui_, this);
    dialog.SetOptions(options_);
    if (!RunShgDialog(dialog)) return;
    dialog.ApplyTo(options_);
    RegisterFileType(options_.AssocSHG, env_.Association);
}

void TfrmMain::actViewToolbarExecute() {
    options_.ViewToolbar = actViewToolbar->isChecked();
    tbrMain_->setVisible(options_.ViewToolbar);
}

void TfrmMain::actViewStatusBarExecute() {
    options_.ViewStatusBar = actViewStatusBar->isChecked();
    statusBar()->setVisible(options_.ViewStatusBar);
}

std::vector<QMdiSubWindow*> TfrmMain::VisibleSubWindows() const {
    std::vector<QMdiSubWindow*> out;
    for (QMdiSubWindow* sw : mdiArea_->subWindowList())
        if (!sw->isHidden() && !sw->isMinimized()) out.push_back(sw);
    return out;
}

void TfrmMain::actWindowTileHorizontalExecute() {
    // One above the other, each as wide as the frame.
    const std::vector<QMdiSubWindow*> windows = VisibleSubWindows();
    if (windows.empty()) return;
    const QRect area = mdiArea_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[static_cast<std::size_t>(i)]->showNormal();
        const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
        windows[static_cast<std::size_t>(i)]->setGeometry(0, top, area.width(), bottom - top);
    }
}

void TfrmMain::actWindowTileVerticalExecute() {
    // Side by side, each as high as the frame.
    const std::vector<QMdiSubWindow*> windows = VisibleSubWindows();
    if (windows.empty()) return;
    const QRect area = mdiArea_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[static_cast<std::size_t>(i)]->showNormal();
        const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
        windows[static_cast<std::size_t>(i)]->setGeometry(left, 0, right - left, area.height());
    }
}

void TfrmMain::actWindowMinimizeAllExecute() {
    for (QMdiSubWindow* sw : mdiArea_->subWindowList()) sw->showMinimized();
    actWindowArrangeExecute();
}

void TfrmMain::actWindowArrangeExecute() {
    // The minimised windows in rows along the bottom, left to right.
    const QRect area = mdiArea_->viewport()->rect();
    int x = 0, y = area.height();
    for (QMdiSubWindow* sw : mdiArea_->subWindowList()) {
        if (!sw->isMinimized()) continue;
        const QSize size = sw->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        if (x == 0 && y == area.height()) y -= size.height();
        sw->move(x, y);
        x += size.width();
    }
}

void TfrmMain::actHelpContentsExecute() { ui_.ShowHelpContents(); }

void TfrmMain::actHelpIndexExecute() { ui_.ShowHelpIndex(QString()); }

void TfrmMain::actAboutExecute() {
    TfrmAbout dialog(ui_, this);
    RunShgDialog(dialog);
}

// ---- action states ----------------------------------------------------------------

void TfrmMain::UpdateActionsNow() { actions_->UpdateNow(); }

void TfrmMain::RequestUpdateActions() { actions_->RequestUpdate(); }

void TfrmMain::UpdateActions() {
    TfrmShg* child = ActiveChild();
    const bool any = child != nullptr;
    const bool selection = any && child->HasSelection();
    for (QAction* a : {actClose, actSave, actSaveAs, actImport, actExport, actPicProps}) a->setEnabled(any);
    for (QAction* a : {actCut, actCopy, actDelete, actHSProps}) a->setEnabled(selection);
    actPaste->setEnabled(any && clipboard_ != nullptr);
    actSelect->setEnabled(any && child->Shg().Hotspots.Count() > 0);
    const bool several = mdiArea_->subWindowList().size() >= 2;
    actWindowPrev->setEnabled(several);
    actWindowNext->setEnabled(several);
}

// ---- closing ----------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Every child is asked in turn; a Cancel stops the whole close there.
    for (QMdiSubWindow* sw : mdiArea_->subWindowList()) {
        if (!sw->close()) {
            event->ignore();
            return;
        }
    }
    QRect normal = normalGeometry();
    if (normal.isEmpty()) normal = geometry();
    options_.Position =
        TWindowPlacement::FromWindow(normal.x(), normal.y(), normal.width(), normal.height(), isMaximized());
    options_.ViewToolbar = actViewToolbar->isChecked();
    options_.ViewStatusBar = actViewStatusBar->isChecked();
    mru_.WriteToRegistry(settings_);
    options_.WriteToRegistry(settings_);
    event->accept();
}

}  // namespace qm::shgedit
