#include "mainwindow/modulecommands.h"

#include <QAction>
#include <charconv>
#include <optional>

#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/actiontable.h"

namespace qm {

void TModuleCommands::CreateActions(ActionTable& table) {
    actSetEditing = table.Add({"actSetEditing", "&Editing", "", "Editing|Marks the module as being edited.", "state-editing",
                               [this] { actSetEditingExecute(); }, true});
    actSetDone = table.Add(
        {"actSetDone", "&Done", "", "Done|Marks the module as done.", "state-done", [this] { actSetDoneExecute(); }, true});
    actSetContents =
        table.Add({"actSetContents", "&Set as contents page", "",
                   "Set As Contents Page|Makes the topic the contents page.", "contents-page", [this] { actSetContentsExecute(); }});
    actRename = table.Add({"actRename", "&Rename", "F2", "Rename|Gives the selected topic or popup a new name.", "rename",
                           [this] { actRenameExecute(); }});
    mnuProjectRenumberItem = table.Add({"mnuProjectRenumberItem", "Re&number ID", "",
                                        "Renumber ID|Gives the selected topic or popup a new context ID.", "renumber",
                                        [this] { RenumberModuleId(); }});
    mnuProjPopRename =
        table.Add({"mnuProjPopRename", "&Rename", "", "Rename|Gives the selected topic or popup a new name.", "rename",
                   [this] { RenameModule(true); }});
    mnuProjPopRenumber = table.Add({"mnuProjPopRenumber", "Re&number ID", "",
                                    "Renumber ID|Gives the selected topic or popup a new context ID.", "renumber",
                                    [this] { RenumberModuleId(); }});
}

void TModuleCommands::UpdateActions() {
    const ExplorerPage page = ctx_.ActivePage();
    const bool topicsPage = page == ExplorerPage::Topics;
    actSetContents->setEnabled(topicsPage && ctx_.ListRow(ExplorerPage::Topics) >= 0);
    const TTopicNode* selected = ctx_.Project().Topics.FindById(ctx_.SelectedNode(page));
    actSetEditing->setEnabled(selected != nullptr);
    actSetDone->setEnabled(selected != nullptr);
    actSetEditing->setChecked(selected && selected->State == TopicState::Edit);
    actSetDone->setChecked(selected && selected->State == TopicState::Done);
    // On either page only with a row selected: there is nothing to rename otherwise.
    const bool nameable = ctx_.ListRow(page) >= 0;
    actRename->setEnabled(nameable);
    mnuProjectRenumberItem->setEnabled(nameable);
}

void TModuleCommands::SetState(TopicState state) {
    TTopicNode* node = ctx_.Project().Topics.FindById(ctx_.SelectedNode(ctx_.ActivePage()));
    if (!node) return;
    node->State = state;
    ctx_.RepaintLists();
    ctx_.Actions().RequestUpdate();
}

void TModuleCommands::SetContents() {
    if (ctx_.ActivePage() != ExplorerPage::Topics) return;
    TProject& project = ctx_.Project();
    TTopicNode* chosen = project.Topics.FindById(ctx_.SelectedNode(ExplorerPage::Topics));
    // Without a selected topic the contents page stays where it is, so the
    // project never loses it.
    if (!chosen || !chosen->IsTopic()) return;
    if (TTopicNode* old = project.Topics.FindContents()) old->IsContents = false;
    chosen->IsContents = true;
    project.Modified = true;
    ctx_.RepaintLists();
}

void TModuleCommands::TopicButtonClick(int tag) {
    if (tag == 3) SetContents();
    if (tag == 4) RenameModule(true);
    if (tag == 5) RenumberModuleId();
}

void TModuleCommands::PopupButtonClick(int tag) {
    if (tag == 3) RenameModule(true);
    if (tag == 4) RenumberModuleId();
}

namespace {

constexpr std::size_t kNameCapacity = 255;

// A context ID typed by the user: an optional minus sign and digits that
// make a 32-bit number; nothing else.
std::optional<std::int32_t> ParseContextId(std::string_view text) {
    std::int32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace

void TModuleCommands::RenameModule(bool updateLinks) {
    const bool popup = ctx_.ActivePage() == ExplorerPage::Popups;
    TProject& project = ctx_.Project();
    TTopicNode* node = project.Topics.FindById(ctx_.SelectedNode(ctx_.ActivePage()));
    if (!node) return;
    const std::string old = node->GetName();
    const char* kind = popup ? "popup" : "topic";
    const std::optional<QString> reply = ctx_.Ui().InputText(
        QStringLiteral("Rename"), QStringLiteral("New %1 name:").arg(QLatin1String(kind)), FromCp1252(old));
    if (!reply) return;
    // Cut before the checks, on both pages, so the name checked is the name stored.
    std::string name = Trim(ToCp1252(*reply));
    if (name.size() > kNameCapacity) name.resize(kNameCapacity);
    if (name.empty() || SameText(name, old)) return;
    auto refuse = [this](const std::string& text) { ctx_.Ui().Information(FromCp1252(text)); };
    if (project.Topics.NameExists(name)) return refuse(name + " : This " + kind + " name already exists.");
    if (name.find(' ') != std::string::npos)
        return refuse(std::string("Spaces are not allowed in ") + kind + " names.");
    if (!IsValidName(name)) return refuse(std::string("Invalid ") + kind + " name.");

    const TNodeId id = node->Id();
    project.Modified = true;
    node->SetName(name);
    if (updateLinks && ctx_.Options().UpdateOnRename) ctx_.UpdateLinks("=\"" + old + "\"", "=\"" + name + "\"");
    ctx_.ShowRenamedModule(id);
    ctx_.RepaintLists();
}

void TModuleCommands::RenumberModuleId() {
    const bool popup = ctx_.ActivePage() == ExplorerPage::Popups;
    TProject& project = ctx_.Project();
    TTopicNode* node = project.Topics.FindById(ctx_.SelectedNode(ctx_.ActivePage()));
    if (!node) return;
    const std::optional<QString> reply =
        ctx_.Ui().InputText(QStringLiteral("Renumber ID"),
                            popup ? QStringLiteral("New popup context ID:") : QStringLiteral("New topic context ID:"),
                            QString::number(node->ContextId));
    if (!reply) return;
    const std::string text = Trim(ToCp1252(*reply));
    if (text.empty()) return;
    // Digits and minus signs that make no number ("1-2", "--") or a number
    // out of range are refused like any other text that is no number.
    const std::optional<std::int32_t> id = IsNumeric(text) ? ParseContextId(text) : std::nullopt;
    if (!id) {
        ctx_.Ui().ErrorBox(FromCp1252(text + " is not a valid integer value."));
        return;
    }
    if (*id == node->ContextId) return;
    if (project.Topics.ContextIdExists(*id)) {
        ctx_.Ui().Information(FromCp1252(text + " : This context ID already exists."));
        return;
    }
    node->ContextId = *id;
    ctx_.RepaintLists();
    project.Modified = true;
}

}  // namespace qm
