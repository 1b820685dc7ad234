#pragma once
// The commands that add, remove and edit the project's topics and popups:
// Add Topic, Add Popup, Remove, the properties dialogs (with the link update
// a new name may ask for) and the two keyword commands of the editor.
#include "mainwindow/commandhandler.h"
#include "mainwindow/maincontext.h"
#include "model/topics.h"

class QAction;

namespace qm {

class TModuleCommands;

inline constexpr const char* kMsgCannotDeleteContents = "You cannot delete the Contents Page topic.";
// A project keeps at least one topic, so there is always one to open.
inline constexpr const char* kMsgCannotDeleteLastTopic = "You cannot delete the last topic of the project.";
inline constexpr const char* kMsgRemoveModule = "Remove the selected topic from the project?";
inline constexpr const char* kMsgTopicRenamed = "Topic name has changed. Update all links throughout the project?";
inline constexpr const char* kMsgPopupRenamed = "Popup name has changed. Update all links throughout the project?";
inline constexpr const char* kMsgKeywordIncluded = "This keyword is already included.";
inline constexpr const char* kMsgAKeywordIncluded = "This A-keyword is already included.";

class TTopicCommands : public TCommandHandler {
public:
    // `modules` names a new module when the properties dialog is not asked for.
    TTopicCommands(TMainContext& context, TModuleCommands& modules) : TCommandHandler(context), modules_(modules) {}

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    QAction* actAddTopic = nullptr;
    QAction* actAddPopup = nullptr;
    QAction* actRemoveTopic = nullptr;
    QAction* actTopicProps = nullptr;
    QAction* actPopupProps = nullptr;
    QAction* actAddToKeywords = nullptr;
    QAction* actAddToAKeywords = nullptr;
    // "&Properties..." of the Project menu, F4: the selected item's dialog
    // (actPropertiesExecute).
    QAction* mnuProjectItemProperties = nullptr;
    // The explorer pop-up menu's New, Remove and Properties; the window sets
    // their captions for the list the menu opens on (PrepareExplorerMenu).
    QAction* mnuProjPopNew = nullptr;
    QAction* mnuProjPopRemove = nullptr;
    QAction* mnuProjPopProperties = nullptr;

    void actAddTopicExecute() { AddModule(TopicKind::Topic); }
    void actAddPopupExecute() { AddModule(TopicKind::Popup); }
    void actRemoveTopicExecute() { RemoveModule(); }
    void actTopicPropsExecute() { ModuleProperties(ExplorerPage::Topics); }
    void actPopupPropsExecute() { ModuleProperties(ExplorerPage::Popups); }
    // The popup dialog on the popups page, else the topic dialog.
    void actPropertiesExecute();
    void actAddToKeywordsExecute() { AddToKeywords(false); }
    void actAddToAKeywordsExecute() { AddToKeywords(true); }

    // The buttons of the topics', popups' and editor's command bars, by tag;
    // each runs its action, so a disabled command stays disabled.
    void TopicButtonClick(int tag);
    void PopupButtonClick(int tag);
    void EditorButtonClick(int tag);
    // The Delete key in the list of `page`.
    void ListDeleteKey(ExplorerPage page);
    // The pop-up menu's captions and enabling for the list of `page`;
    // `selected`: the list has a selected row whose node is in the project.
    void PrepareExplorerMenu(ExplorerPage page, bool selected);

    // A new topic or popup: named NewTopic<n> / NewPopup<n>, the next free
    // context ID, the default text; listed, selected and opened; then its
    // properties dialog (option PromptTopicInfos) or the rename prompt.
    void AddModule(TopicKind kind);
    // Removes the selected module of the open page after the question; only
    // Yes removes. The contents topic and the last topic are refused. When it
    // was open, the topic selected in lstTopics (else its first) opens.
    void RemoveModule();
    // The properties dialog on the selected module of `page`'s list; after a
    // new name, the question whether the links follow it.
    void ModuleProperties(ExplorerPage page);
    // Adds the editor's selected text, trimmed, to the open topic's keywords
    // or A-keywords. Blanks only or a popup: nothing happens.
    void AddToKeywords(bool aKeywords);

private:
    TModuleCommands& modules_;
};

}  // namespace qm
