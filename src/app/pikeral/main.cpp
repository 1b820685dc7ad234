// Pikeral: the segmented hypergraphics (.shg) editor.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "platform/datafolder.h"
#include "platform/display.h"
#include "platform/qtsettingsstore.h"
#include "platform/qtuiservices.h"
#include "shgedit/association.h"
#include "shgedit/handoff.h"
#include "shgedit/mainform.h"
#include "widgets/icons.h"

int main(int argc, char** argv) {
    if (!qm::HasDisplay()) {
        qm::ReportNoDisplay("Pikeral");
        return 1;
    }
    QApplication app(argc, argv);
    // Message boxes carry the program's name; the settings stay Quillmark's file.
    QApplication::setApplicationName(QStringLiteral("Pikeral"));
    QApplication::setOrganizationName(QString::fromLatin1(qm::kOrganisationName));
    // Every window of the program, its dialogs too, shows the program's icon.
    QApplication::setWindowIcon(qm::QmIcon(QStringLiteral("pikeral")));

    qm::QtUiServices ui;
    qm::QtSettingsStore settings;
    const QStringList args = app.arguments().mid(1);
    qm::shgedit::TShgEditEnv env;
    env.Ui = &ui;
    env.Settings = &settings;
    env.HandoffFolder = qm::shgedit::HandoffFolderOf(args);
    // Its help file lies with Quillmark's data.
    env.ProgramFolder = qm::ProgramDataFolder(QCoreApplication::applicationDirPath());
    env.Association = qm::shgedit::CurrentAssociationPlaces();
    int rc = 0;
    {
        qm::shgedit::TfrmMain window(env);
        ui.SetParentWidget(&window);
        window.Start(args);
        // QM_STARTUP_CHECK=1 (for the install test): started, and ends at once.
        if (qEnvironmentVariableIntValue("QM_STARTUP_CHECK") == 1) {
            std::printf("data: %s\n", qPrintable(env.ProgramFolder));
            std::fflush(stdout);
        } else {
            rc = QApplication::exec();
        }
        ui.SetParentWidget(nullptr);
    }
    settings.Sync();
    return rc;
}
