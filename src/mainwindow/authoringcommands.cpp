#include "mainwindow/authoringcommands.h"

#include "dialogs/dialogfactory.h"
#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TAuthoringCommands::CreateActions(ActionTable& table) {
    actContentsEdit = table.Add({"actContentsEdit", "Contents File Editor", "",
                                 "Contents File Editor|Edits the contents file of the help system.", "contents-file",
                                 [this] { actContentsEditExecute(); }});
    actMacroBuilder = table.Add({"actMacroBuilder", "&Macro Expression Builder", "Ctrl+M",
                                 "Macro Expression Builder|Builds a macro expression and inserts it at the caret.",
                                 "macro-builder", [this] { actMacroBuilderExecute(); }});
    actCreateTableOfContents =
        table.Add({"actCreateTableOfContents", "Create &Table of Contents", "",
                   "Create Table of Contents|Inserts a link to every topic of the topic list.", "table-of-contents",
                   [this] { CreateTableOfContents(); }});
}

void TAuthoringCommands::actContentsEditExecute() { ctx_.Dialogs().RunContentsEditor(ctx_.Project(), ctx_.Macros()); }

void TAuthoringCommands::actMacroBuilderExecute() {}

void TAuthoringCommands::CreateTableOfContents() {}

}  // namespace qm
