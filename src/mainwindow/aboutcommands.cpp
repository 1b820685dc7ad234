#include "mainwindow/aboutcommands.h"

#include <QAction>
#include <QMainWindow>

#include "mainwindow/aboutbox.h"
#include "mainwindow/maincontext.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"

namespace qm {

void TAboutCommands::CreateActions(ActionTable& table) {
    mnuHelpAbout =
        table.Add({"mnuHelpAbout", "&About Quillmark...", "", "About|Shows the program's version and credits.",
                   "quillmark", [this] { mnuHelpAboutClick(); }});
}

void TAboutCommands::mnuHelpAboutClick() {
    TfrmAbout about(&ctx_.Window());
    ctx_.Ui().RunDialog(about);
}

}  // namespace qm
