#include "mainwindow/authoringcommands.h"

#include "dialogs/dialogfactory.h"
#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TAuthoringCommands::CreateActions(ActionTable& table) {
    actContentsEdit = table.Add({"actContentsEdit", "Contents File Editor", "",
                                 "Contents File Editor|Edits the contents file of the help system.", "",
                                 [this] { actContentsEditExecute(); }});
}

void TAuthoringCommands::actContentsEditExecute() { ctx_.Dialogs().RunContentsEditor(ctx_.Project(), ctx_.Macros()); }

}  // namespace qm
