#include "mainwindow/authoringcommands.h"

#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialogfactory.h"
#include "editor/richtext2.h"
#include "import/import.h"
#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "widgets/actiontable.h"

namespace qm {

void TAuthoringCommands::CreateActions(ActionTable& table) {
    actContentsEdit = table.Add({"actContentsEdit", "&Contents File Editor", "",
                                 "Contents File Editor|Edits the contents file of the help system.", "contents-file",
                                 [this] { actContentsEditExecute(); }});
    actMacroBuilder = table.Add({"actMacroBuilder", "&Macro Expression Builder", "Ctrl+M",
                                 "Macro Expression Builder|Builds a macro expression and inserts it at the caret.",
                                 "macro-builder", [this] { actMacroBuilderExecute(); }});
    actCreateTableOfContents = table.Add({"actCreateTableOfContents", "Create &Table of Contents", "",
                                          "Create Table of Contents|Inserts a link to every topic of the topic list.",
                                          "table-of-contents", [this] { CreateTableOfContents(); }});
}

void TAuthoringCommands::actContentsEditExecute() { ctx_.Dialogs().RunContentsEditor(ctx_.Project(), ctx_.Macros()); }

void TAuthoringCommands::actMacroBuilderExecute() {
    TRichText2* editor = ctx_.Editor();
    if (const std::optional<std::string> expression = ctx_.Dialogs().RunMacroBuilder(ctx_.Macros(), std::string()))
        editor->SetSelText(std::string_view(*expression));
    editor->setFocus();
}

void TAuthoringCommands::CreateTableOfContents() {
    std::vector<const TTopicNode*> entries;
    const int rows = ctx_.ListCount(ExplorerPage::Topics);
    for (int row = 0; row < rows; ++row)
        if (const TTopicNode* node = ctx_.Project().Topics.FindById(ctx_.NodeAt(ExplorerPage::Topics, row)))
            entries.push_back(node);
    TRichText2* editor = ctx_.Editor();
    // The lines are Windows-1252, as the names and titles are.
    editor->SetSelText(std::string_view(qm::CreateTableOfContents(entries)));
    editor->setFocus();
}

}  // namespace qm
