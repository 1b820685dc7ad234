#pragma once
// Pikeral's frame: a multiple-document window whose children (TfrmShg) each
// show one picture with its hotspots. The frame owns the commands (open,
// save, import, export, a one-hotspot clipboard, select, properties,
// preferences, help), the recent-files list, the settings and the two name
// lists that Quillmark hands over when it starts Pikeral.
#include <QMainWindow>
#include <QRect>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "shg/qorshg.h"
#include "shgedit/association.h"
#include "shgedit/mru.h"
#include "shgedit/options.h"
#include "util/qorstring.h"

class QAction;
class QCloseEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace qm {
class ActionTable;
class SettingsStore;
class StatusPanels;
class TMruMenu;
class UiServices;
}  // namespace qm

namespace qm::shgedit {

class TfrmShg;

inline constexpr const char* kCaption = "Pikeral v1.02";
inline constexpr const char* kHelpFileName = "Pikeral.hlp";
inline constexpr const char* kMsgUnableToOpen = "Unable to open the file ";
// The File menu's position of the first recent file.
inline constexpr int kMruMenuIndex = 13;

// What the frame needs from its surroundings.
struct TShgEditEnv {
    UiServices* Ui = nullptr;           // required
    SettingsStore* Settings = nullptr;  // required
    QString HandoffFolder;              // from --handoff=; empty: no hand-off lists
    QString ProgramFolder;              // where Pikeral.hlp lies
    // Where the file association is written; the default places write
    // nothing (tests), the program passes CurrentAssociationPlaces().
    TAssociationPlaces Association;
};

// How many pictures the .shg file `name` says it holds; 0 when it is no
// readable .shg file (missing, too short, another magic).
int PicturesInFile(const std::string& name);

// `r` moved and cut so that it lies within `screen` (an empty screen
// leaves it as it is).
QRect ClampToScreen(QRect r, const QRect& screen);

// The largest file Open and Import read.
inline constexpr std::uintmax_t kMaxPictureFile = 256u * 1024 * 1024;

// Reads a picture file as Open does: a file named .bmp, or any file that
// begins "BM" (a bitmap renamed .shg), becomes a new picture without
// hotspots (IsShg false); anything else is read as a .shg file. Throws the
// reader's error.
std::unique_ptr<TShg> LoadPictureFile(const std::string& name);

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: the hand-off lists, the recent files, the help file, the
    // settings with the window's placement, the bars.
    explicit TfrmMain(TShgEditEnv env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Shows the frame (maximised when it closed so), then FormShow.
    void Start(const QStringList& args);
    // Opens the first argument that is not the hand-off option: a missing
    // file gives "Unable to open the file " + name; an opened one goes to
    // the top of the recent files.
    void FormShow(const QStringList& args);

    // --- frame operations ---
    // Opens a picture in a new child; on failure the name leaves the recent
    // files and the reader's message is shown once. False on failure.
    bool OpenFile(const std::string& name);
    bool SaveActive();
    bool SaveActiveAs();  // false when cancelled
    // Save and Save As of one child, whichever is active.
    bool SaveChild(TfrmShg& child);
    bool SaveChildAs(TfrmShg& child);
    TfrmShg* ActiveChild() const;
    TShg* ActiveShg() const;
    THotspot* SelectedHotspot() const;
    void SelectHotspot(int index);
    void ImportImage(const std::string& name);
    void ClampHotspots();
    QList<TfrmShg*> Children() const;

    UiServices& Ui() const { return ui_; }
    const TOptions& Options() const { return options_; }
    TOptions& Options() { return options_; }
    TMru& Mru() { return mru_; }
    const StringList& TopicNames() const { return topicNames_; }
    const StringList& PopupNames() const { return popupNames_; }
    const THotspot* ClipboardHotspot() const { return clipboard_.get(); }
    QMdiArea* MdiArea() const { return mdiArea_; }
    StatusPanels& Status() const { return *status_; }
    ActionTable& Actions() const { return *actions_; }
    QToolBar* Toolbar() const { return tbrMain_; }

    // The enabling rules, run now (the context menu and tests); otherwise
    // they run coalesced after the signals that change them.
    void UpdateActionsNow();
    void RequestUpdateActions();

    // The actions, by their names.
    QAction* actOpen = nullptr;
    QAction* actClose = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actImport = nullptr;
    QAction* actExport = nullptr;
    QAction* actPicProps = nullptr;
    QAction* actExit = nullptr;
    QAction* actCut = nullptr;
    QAction* actCopy = nullptr;
    QAction* actPaste = nullptr;
    QAction* actDelete = nullptr;
    QAction* actSelect = nullptr;
    QAction* actHSProps = nullptr;
    QAction* actOptions = nullptr;
    QAction* actViewToolbar = nullptr;
    QAction* actViewStatusBar = nullptr;
    QAction* actWindowCascade = nullptr;
    QAction* actWindowTileHorizontal = nullptr;
    QAction* actWindowTileVertical = nullptr;
    QAction* actWindowMinimizeAll = nullptr;
    QAction* actWindowArrange = nullptr;
    QAction* actWindowPrev = nullptr;
    QAction* actWindowNext = nullptr;
    QAction* actHelpContents = nullptr;
    QAction* actHelpIndex = nullptr;
    QAction* actAbout = nullptr;

    // --- the commands ---
    void actOpenExecute();
    void actCloseExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    void actImportExecute();
    void actExportExecute();
    void actPicPropsExecute();
    void actExitExecute();
    void actCutExecute();
    void actCopyExecute();
    void actPasteExecute();
    void actDeleteExecute();
    void actSelectExecute();
    void actHSPropsExecute();
    void actOptionsExecute();
    void actViewToolbarExecute();
    void actViewStatusBarExecute();
    void actWindowTileHorizontalExecute();
    void actWindowTileVerticalExecute();
    void actWindowMinimizeAllExecute();
    void actWindowArrangeExecute();
    void actHelpContentsExecute();
    void actHelpIndexExecute();
    void actAboutExecute();

protected:
    // Asks every child (one refusal cancels), then writes the settings.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void UpdateActions();
    void ApplyPlacement();
    QMdiSubWindow* AddChild(TfrmShg* child);
    // Writes the picture of `child` to `name`, after asking when the file
    // holds pictures the save would drop; false when the user said No.
    bool WriteChild(TfrmShg& child, const std::string& name, bool askedToReplace);
    // A save dialog that asks before an existing file is replaced;
    // nullopt when cancelled.
    std::optional<std::string> AskSaveName(const QString& caption, const QString& filter, const QString& folder,
                                           const QString& preset, const QString& suffix, bool shgTarget);
    std::vector<QMdiSubWindow*> VisibleSubWindows() const;

    TShgEditEnv env_;
    UiServices& ui_;
    SettingsStore& settings_;
    TOptions options_;
    TMru mru_;
    StringList topicNames_;
    StringList popupNames_;
    std::unique_ptr<THotspot> clipboard_;

    QMdiArea* mdiArea_ = nullptr;
    ActionTable* actions_ = nullptr;
    StatusPanels* status_ = nullptr;
    QToolBar* tbrMain_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    TMruMenu* mruMenu_ = nullptr;
    bool maximized_ = false;
};

}  // namespace qm::shgedit
