// Pikeral: the segmented hypergraphics (.shg) editor.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "platform/qtsettingsstore.h"
#include "platform/qtuiservices.h"
#include "shgedit/association.h"
#include "shgedit/handoff.h"
#include "shgedit/mainform.h"

namespace {

// Without a display the toolkit would abort with a message of its own that
// users do not understand; say what is missing instead.
bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs(
            "Pikeral needs a graphical display, but none was found (DISPLAY and WAYLAND_DISPLAY are not "
            "set).\nStart it from a desktop session, or under a virtual display such as xvfb-run.\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // Message boxes carry the program's name; the settings stay Quillmark's file.
    QApplication::setApplicationName(QStringLiteral("Pikeral"));
    QApplication::setOrganizationName(QString::fromLatin1(qm::kOrganisationName));

    qm::QtUiServices ui;
    qm::QtSettingsStore settings;
    const QStringList args = app.arguments().mid(1);
    qm::shgedit::TShgEditEnv env;
    env.Ui = &ui;
    env.Settings = &settings;
    env.HandoffFolder = qm::shgedit::HandoffFolderOf(args);
    env.ProgramFolder = QCoreApplication::applicationDirPath();
    env.Association = qm::shgedit::CurrentAssociationPlaces();
    int rc = 0;
    {
        qm::shgedit::TfrmMain window(env);
        ui.SetParentWidget(&window);
        window.Start(args);
        rc = QApplication::exec();
        ui.SetParentWidget(nullptr);
    }
    settings.Sync();
    return rc;
}
