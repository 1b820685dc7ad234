#include "mainwindow/topiccommands.h"

#include <QAction>
#include <QString>

#include "dialogs/dialogfactory.h"
#include "editor/richtext2.h"
#include "mainwindow/modulecommands.h"
#include "mainwindow/projectcommands.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/actiontable.h"
#include "widgets/icons.h"

namespace qm {

void TTopicCommands::CreateActions(ActionTable& table) {
    actAddTopic = table.Add({"actAddTopic", "Add &Topic", "F8", "Add Topic|Adds a new topic to the project.", "topic-new",
                             [this] { actAddTopicExecute(); }});
    actAddPopup = table.Add({"actAddPopup", "Add &Popup", "F9", "Add Popup|Adds a new popup to the project.", "popup-new",
                             [this] { actAddPopupExecute(); }});
    actRemoveTopic = table.Add({"actRemoveTopic", "Re&move Topic", "",
                                "Remove|Removes the selected topic or popup from the project.", "list-remove",
                                [this] { actRemoveTopicExecute(); }});
    actTopicProps = table.Add({"actTopicProps", "Top&ic Properties", "",
                               "Topic Properties|Shows the properties of the selected topic.", "document-properties",
                               [this] { actTopicPropsExecute(); }});
    actPopupProps = table.Add({"actPopupProps", "Pop&up Properties", "",
                               "Popup Properties|Shows the properties of the selected popup.", "document-properties",
                               [this] { actPopupPropsExecute(); }});
    actAddToKeywords = table.Add({"actAddToKeywords", "Add To &Keywords", "",
                                  "Add To Keywords|Adds the selected text to the topic's keywords.", "keyword-add",
                                  [this] { actAddToKeywordsExecute(); }});
    actAddToAKeywords = table.Add({"actAddToAKeywords", "Add To A-Ke&ywords", "",
                                   "Add To A-Keywords|Adds the selected text to the topic's A-keywords.", "akeyword-add",
                                   [this] { actAddToAKeywordsExecute(); }});
    mnuProjectItemProperties = table.Add({"mnuProjectItemProperties", "&Properties...", "F4",
                                          "Properties|Shows the properties of the selected topic or popup.",
                                          "document-properties", [this] { actPropertiesExecute(); }});
    mnuProjPopNew =
        table.Add({"mnuProjPopNew", "New", "", "New|Adds a new topic or popup to the project.", "topic-new", [this] {
                       AddModule(ctx_.ActivePage() == ExplorerPage::Popups ? TopicKind::Popup : TopicKind::Topic);
                   }});
    mnuProjPopRemove =
        table.Add({"mnuProjPopRemove", "Remove", "", "Remove|Removes the selected topic or popup from the project.",
                   "list-remove", [this] { RemoveModule(); }});
    mnuProjPopProperties = table.Add({"mnuProjPopProperties", "&Properties...", "",
                                      "Properties|Shows the properties of the selected topic or popup.",
                                      "document-properties", [this] { actPropertiesExecute(); }});
}

void TTopicCommands::UpdateActions() {
    const TRichText2* editor = ctx_.Editor();
    const bool selection = editor && editor->GetSelLength() > 0;
    actAddToKeywords->setEnabled(selection);
    actAddToAKeywords->setEnabled(selection);
    // On either page only with a row selected.
    mnuProjectItemProperties->setEnabled(ctx_.ListRow(ctx_.ActivePage()) >= 0);
}

void TTopicCommands::actPropertiesExecute() {
    ModuleProperties(ctx_.ActivePage() == ExplorerPage::Popups ? ExplorerPage::Popups : ExplorerPage::Topics);
}

void TTopicCommands::TopicButtonClick(int tag) {
    if (tag == 1) actAddTopic->trigger();
    if (tag == 2) actRemoveTopic->trigger();
    if (tag == 6) actTopicProps->trigger();
}

void TTopicCommands::PopupButtonClick(int tag) {
    if (tag == 1) actAddPopup->trigger();
    if (tag == 2) actRemoveTopic->trigger();
    if (tag == 5) actPopupProps->trigger();
}

void TTopicCommands::EditorButtonClick(int tag) {
    if (tag == 2) actAddToKeywords->trigger();
    if (tag == 3) actAddToAKeywords->trigger();
}

void TTopicCommands::ListDeleteKey(ExplorerPage page) {
    if (ctx_.ListRow(page) >= 0) actRemoveTopic->trigger();
}

void TTopicCommands::PrepareExplorerMenu(ExplorerPage page, bool selected) {
    const bool popups = page == ExplorerPage::Popups;
    mnuProjPopNew->setText(popups ? QStringLiteral("New P&opup") : QStringLiteral("New &Topic"));
    mnuProjPopNew->setIcon(imlCommands().Glyph(popups ? kGlyphNewPopup : kGlyphNewTopic));
    mnuProjPopRemove->setText(popups ? QStringLiteral("De&lete Popup") : QStringLiteral("De&lete Topic"));
    mnuProjPopNew->setEnabled(true);
    // The topics page always has its items; the popups page only for a popup.
    mnuProjPopRemove->setEnabled(!popups || selected);
    mnuProjPopProperties->setEnabled(!popups || selected);
}

// --- adding and removing --------------------------------------------------------------------

void TTopicCommands::AddModule(TopicKind kind) {
    if (ctx_.EditorTextHeld()) return;
    TProject& project = ctx_.Project();
    const TOptions& options = ctx_.Options();
    const bool popup = kind == TopicKind::Popup;
    const std::string name = popup ? project.Topics.NewPopupName() : project.Topics.NewTopicName();
    const std::int32_t id = project.Topics.NextFreeContextId(options.IdIncrement);
    TTopicNode& node = project.Topics.AddNew();
    node.SetName(name);
    node.ContextId = id;
    node.Kind = kind;
    node.Text = DefaultTopicText(options.DefFont, options.DefFontSize);
    const TNodeId nodeId = node.Id();
    ctx_.AddModuleRow(nodeId);
    project.Modified = true;
    const ExplorerPage page = popup ? ExplorerPage::Popups : ExplorerPage::Topics;
    ctx_.ShowPage(page);
    ctx_.SetListRow(page, ctx_.ListCount(page) - 1);
    ctx_.OpenSelected(page);
    if (options.PromptTopicInfos)
        ModuleProperties(page);
    else
        modules_.RenameModule(false);
}

void TTopicCommands::RemoveModule() {
    if (ctx_.EditorTextHeld()) return;
    UiServices& ui = ctx_.Ui();
    TProject& project = ctx_.Project();
    const TTopicNode* node = project.Topics.FindById(ctx_.SelectedNode(ctx_.ActivePage()));
    if (!node) return;
    if (node->IsContents) {
        ui.Information(QString::fromLatin1(kMsgCannotDeleteContents));
        return;
    }
    if (node->IsTopic() && project.Topics.TopicCount() <= 1) {
        ui.Information(QString::fromLatin1(kMsgCannotDeleteLastTopic));
        return;
    }
    // Only Yes removes: a box closed any other way keeps the module.
    if (ui.Confirm(QString::fromLatin1(kMsgRemoveModule)) != MsgResult::Yes) return;
    const TNodeId id = node->Id();
    ctx_.RemoveModuleRow(id);
    if (ctx_.CurrentModule() == id) {
        // The editor never stays without a module: what is typed there would
        // belong to none and be lost. A topic is opened in its place.
        if (TRichText2* editor = ctx_.Editor()) {
            editor->Clear();
            editor->SetModified(false);
        }
        ctx_.ForgetCurrentModule();
        if (ctx_.ListRow(ExplorerPage::Topics) < 0) ctx_.SetListRow(ExplorerPage::Topics, 0);
        ctx_.OpenSelected(ExplorerPage::Topics);
    }
    project.Topics.DeleteNode(project.Topics.FindById(id));
    project.Modified = true;
    ctx_.Actions().RequestUpdate();
}

// --- properties ---------------------------------------------------------------------------------

void TTopicCommands::ModuleProperties(ExplorerPage page) {
    if (ctx_.EditorTextHeld()) return;
    TProject& project = ctx_.Project();
    TTopicNode* node = project.Topics.FindById(ctx_.SelectedNode(page));
    if (!node) return;
    const bool popup = page == ExplorerPage::Popups;
    const TNodeId id = node->Id();
    const std::string old = node->GetName();
    const bool accepted = popup ? ctx_.Dialogs().RunPopupProps(*node, project)
                                : ctx_.Dialogs().RunTopicProps(*node, project, ctx_.Macros());
    if (!accepted) return;
    project.Modified = true;
    const std::string name = node->GetName();
    if (name != old &&
        ctx_.Ui().Confirm(QString::fromLatin1(popup ? kMsgPopupRenamed : kMsgTopicRenamed)) == MsgResult::Yes)
        ctx_.UpdateLinks("=\"" + old + "\"", "=\"" + name + "\"");
    // A repaint reads no names: the row and the combo box get the new one.
    ctx_.ShowRenamedModule(id);
    ctx_.RepaintLists();
    ctx_.Actions().RequestUpdate();
}

void TTopicCommands::AddToKeywords(bool aKeywords) {
    TTopicNode* node = ctx_.CurrentNode();
    const TRichText2* editor = ctx_.Editor();
    if (!node || !editor) return;
    const std::string keyword = Trim(editor->GetSelText());
    // Blanks only make no keyword; a popup has none.
    if (keyword.empty() || node->IsPopup()) return;
    StringList& list = aKeywords ? node->AKeywords : node->Keywords;
    for (const std::string& k : list)
        if (SameText(k, keyword)) {
            ctx_.Ui().Information(QString::fromLatin1(aKeywords ? kMsgAKeywordIncluded : kMsgKeywordIncluded));
            return;
        }
    list.push_back(keyword);
    ctx_.Project().Modified = true;
}

}  // namespace qm
