#include "mainwindow/helpcommands.h"

#include "mainwindow/maincontext.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"

namespace qm {

void THelpCommands::CreateActions(ActionTable& table) {
    actHelpContents = table.Add({"actHelpContents", "&Contents", "F1", "Contents|Shows the contents of the help.",
                                 "help-browser", [this] { actHelpContentsExecute(); }});
    actHelpIndex = table.Add({"actHelpIndex", "&Index", "", "Index|Shows the index of the help.", "help-index",
                              [this] { actHelpIndexExecute(); }});
    actHelpOnHelp = table.Add({"actHelpOnHelp", "&How to Use Help", "", "How to Use Help|Explains the help viewer.", "dialog-information",
                               [this] { actHelpOnHelpExecute(); }});
    actTutorial = table.Add({"actTutorial", "&Quick Tutorial", "", "Quick Tutorial|Shows the quick tutorial.", "x-office-presentation",
                             [this] { actTutorialExecute(); }});
}

void THelpCommands::actHelpContentsExecute() { ctx_.Ui().ShowHelpContents(); }

void THelpCommands::actHelpIndexExecute() { ctx_.Ui().ShowHelpIndex(QString()); }

void THelpCommands::actHelpOnHelpExecute() {
    HelpRequest request;
    request.helpFile = kHelpOnHelpFile;
    request.command = HelpCommand::Contents;
    ctx_.Ui().Help(request);
}

void THelpCommands::actTutorialExecute() {
    HelpRequest request = ctx_.Ui().ProgramHelp(HelpCommand::Context, kTutorialContext);
    request.window = kTutorialWindow;
    ctx_.Ui().Help(request);
}

}  // namespace qm
