// Quillmark: the help authoring program.
#include <QApplication>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>

#include "mainwindow/mainwindow.h"
#include "model/macros.h"
#include "platform/datafolder.h"
#include "platform/display.h"
#include "platform/qtcp1252.h"
#include "platform/qtscreenmetrics.h"
#include "platform/qtsettingsstore.h"
#include "platform/qtuiservices.h"
#include "spell/spellengine.h"
#include "widgets/fontdlg.h"
#include "widgets/icons.h"

int main(int argc, char** argv) {
    if (!qm::HasDisplay()) {
        qm::ReportNoDisplay("Quillmark");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(qm::kApplicationName));
    QApplication::setOrganizationName(QString::fromLatin1(qm::kOrganisationName));
    // Every window of the program, its dialogs too, shows the program's icon.
    QApplication::setWindowIcon(qm::QmIcon(QStringLiteral("quillmark")));
    // Help units and the ruler's inches follow the real screen.
    qm::InstallQtScreenMetrics();

    qm::QtUiServices ui;
    // The toolkit's font dialog has no colour; styles and text have one.
    ui.SetFontDialog(&qm::RunFontDialog);
    qm::QtSettingsStore settings;
    qm::TMainWindowEnv env;
    env.Ui = &ui;
    env.Settings = &settings;
    const QString programFolder = QCoreApplication::applicationDirPath();
    env.ProgramFolder = qm::ToCp1252(programFolder);
    env.DataFolder = qm::ToCp1252(qm::ProgramDataFolder(programFolder));
    env.PersonalDictionaryFolder = qm::ToCp1252(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                                QStringLiteral("/Dictionaries"));
    int rc = 1;
    {
        qm::TfrmMain window(env);
        ui.SetParentWidget(&window);
        if (window.Startup(app.arguments().mid(1))) {
            // QM_STARTUP_CHECK=1 (for the install test): says what the
            // start-up found and ends without waiting for the user.
            if (qEnvironmentVariableIntValue("QM_STARTUP_CHECK") == 1) {
                const qm::TQorSpellEngine* spell = window.SpellEngine();
                std::printf("data: %s\nmacros: %d\ndictionary: %s\n", qPrintable(qm::FromCp1252(env.DataFolder)),
                            window.Macros().Count(),
                            spell && spell->HasMainDictionary() ? spell->MainDictionaryName().c_str() : "none");
                std::fflush(stdout);
                rc = 0;
            } else {
                rc = QApplication::exec();
            }
        }
        ui.SetParentWidget(nullptr);
    }
    settings.Sync();
    return rc;
}
