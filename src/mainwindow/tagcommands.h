#pragma once
// The tag commands: inserting tags (Topic Link, Popup Link, Non-Scrolling
// Region, Anchor, Macro, Image, Button, Sound, Video, RTF, empty start and end
// tags), Edit Tag on the tag at the caret, the member lists (List Members,
// List Topics, List Popups) with the editor's window procedure behind them,
// and the editor's pop-up menu.
//
// With the option TagsDialogs a command runs its insert-tag form; without it
// the tag is written around the selection at once and the caret put where
// the missing part is typed. Every insertion is one undoable step. Edit Tag
// changes only what the form changed, so confirming a form unchanged leaves
// the text, its formatting and the undo history as they were.
#include <QList>
#include <memory>
#include <string>
#include <string_view>

#include "dialogs/tagdialogs.h"
#include "mainwindow/commandhandler.h"
#include "preprocess/edittags.h"

class QAction;
class QMenu;
class QString;
class QWidget;

namespace qm {

class TEditorWndProc;
class TRichText2;
class TTagTextCache;
class TfrmVList;

inline constexpr const char* kAnchorCaption = "Insert Anchor";
inline constexpr const char* kAnchorPrompt = "New anchor name:";

// The form's preset for an edited tag (see tagdialogs.h); `nameAsWritten` is
// the tag's name as the text has it (image tags keep it when unchanged).
TTagPreset PresetForTag(TTagEditKind kind, const TTagInfo& info, std::string_view nameAsWritten = {});

class TTagCommands : public TCommandHandler {
public:
    explicit TTagCommands(TMainContext& context);
    ~TTagCommands() override;

    void CreateActions(ActionTable& table) override;

    QAction* actAddTopicLink = nullptr;
    QAction* actAddPopupLink = nullptr;
    QAction* actAddNoScroll = nullptr;
    QAction* actAddAnchor = nullptr;
    QAction* actAddMacro = nullptr;
    QAction* actAddBitmap = nullptr;
    QAction* actAddButton = nullptr;
    QAction* actAddSound = nullptr;
    QAction* actAddVideo = nullptr;
    QAction* actAddRtfTag = nullptr;
    QAction* actStartTag = nullptr;
    QAction* actEndTag = nullptr;
    QAction* actEditTag = nullptr;
    QAction* actListMembers = nullptr;
    QAction* actPopTopics = nullptr;
    QAction* actPopPopups = nullptr;
    // The seven of the Tag menu's top, the Tags tool bar and the Insert
    // sub-menu, in that order.
    QList<QAction*> InsertActions() const;

    // The editor's pop-up menu: Edit Tag, the Insert sub-menu, View Image and
    // Edit Image (the image commands connect those two).
    QMenu* EditorPopMenu = nullptr;
    QAction* mnuEditorPopEditTag = nullptr;
    QMenu* mnuEditorPopInsert = nullptr;
    QAction* mnuEditorPopViewImage = nullptr;
    QAction* mnuEditorPopEditImage = nullptr;
    // Makes the menu (owned by `owner`) and shows it on the editor's right
    // click; its image items run `viewImage` and `editImage`.
    void CreateEditorPopMenu(QWidget* owner, QAction* viewImage, QAction* editImage);
    // The menu opens: focus to the editor, items enabled by the tag at the
    // caret, the member list hidden.
    void EditorPopMenuPopup();

    // The editor's window procedure, installed at start-up and taken off at
    // close; the member list belongs to the editor.
    void InstallEditorProc(TRichText2* editor, TfrmVList* list);
    void RemoveEditorProc();
    TEditorWndProc& WndProc() const { return *wndProc_; }
    // Hides the member list whenever one of `menus` opens.
    void HideListOn(const QList<QMenu*>& menus);

    // The tag at a place of the editor's text.
    TTagInfo ParseTagAt(int position);
    // How often the editor's text was copied for the tag parse (tests).
    int TextCopies() const;

    void actAddTopicLinkExecute();
    void actAddPopupLinkExecute();
    void actAddNoScrollExecute();
    void actAddAnchorExecute();
    void actAddMacroExecute();
    void actAddBitmapExecute();
    void actAddButtonExecute();
    void actAddSoundExecute();
    void actAddVideoExecute();
    void actAddRtfTagExecute();
    void actStartTagExecute();
    void actEndTagExecute();
    void actEditTagExecute();
    void actListMembersExecute();

    // The edit routines, each on the tag Edit Tag found.
    void EditTopicLinkTag(const TTagInfo& info);
    void EditPopupLinkTag(const TTagInfo& info);
    void EditMacroTag(const TTagInfo& info);
    void EditButtonTag(const TTagInfo& info);
    void EditAnchorTag(const TTagInfo& info);
    void EditImageTag(const TTagInfo& info);
    void EditRtfTag(const TTagInfo& info);
    void EditSoundTag(const TTagInfo& info);
    void EditVideoTag(const TTagInfo& info);

private:
    // The insert commands: the form of `form` (nullopt: none), else or
    // without TagsDialogs the text written around the selection.
    void insertTag(std::optional<TTagKind> form, TInsertTag direct);
    void insertDirect(TInsertTag kind);
    // Runs `form` on the tag and puts its answer over the start tag, or the
    // whole pair with `wholePair`.
    void editWithForm(TTagKind form, TTagEditKind kind, const TTagInfo& info, bool wholePair, bool focusBack);
    // Replaces text [from, end) by `newText`, changing only what differs.
    void replaceRange(int from, int end, const std::string& newText);
    // Asks for an anchor name; nullopt when cancelled, empty or refused.
    std::optional<QString> askAnchorName(const QString& preset);
    // The tag's name as written in the text.
    std::string nameAsWritten(const TTagInfo& info);

    std::unique_ptr<TTagTextCache> text_;
    std::unique_ptr<TEditorWndProc> wndProc_;
};

}  // namespace qm
