#pragma once
// One QApplication for a whole test program (offscreen under ctest).
#include <QApplication>
#include <QByteArray>
#include <QFile>

#include "support/scratchdir.h"

namespace qmtest {

// Qt keeps files of its own in the user's folders: the file dialogs' history
// in the configuration folder, caches, and its runtime folder (in the
// temporary folder when XDG_RUNTIME_DIR is unset). A test program points them
// all at one folder of its own, removed when the program ends, so no test
// writes into the user's home or shares a file with a suite running beside it.
inline void UsePrivateDesktopFolders() {
    static const ScratchDir home("qm_qt_home_");
    const auto set = [](const char* name, const char* sub) {
        const std::filesystem::path p = home.path() / sub;
        std::filesystem::create_directories(p);
        std::filesystem::permissions(p, std::filesystem::perms::owner_all);
        qputenv(name, QFile::encodeName(QString::fromStdString(p.string())));
    };
    set("XDG_CONFIG_HOME", "config");
    set("XDG_DATA_HOME", "data");
    set("XDG_CACHE_HOME", "cache");
    set("XDG_STATE_HOME", "state");
    set("XDG_RUNTIME_DIR", "runtime");
}

inline QApplication& EnsureQtApp() {
    static QApplication* app = [] {
        static int argc = 1;
        static char name[] = "qm_test";
        static char* argv[] = {name, nullptr};
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
        // Run as a plain program too, not only under ctest.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        UsePrivateDesktopFolders();
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace qmtest
