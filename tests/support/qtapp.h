#pragma once
// One QApplication for a whole test program (offscreen under ctest).
#include <QApplication>

namespace qmtest {

inline QApplication& EnsureQtApp() {
    static QApplication* app = [] {
        static int argc = 1;
        static char name[] = "qm_test";
        static char* argv[] = {name, nullptr};
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
        // Run as a plain program too, not only under ctest.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace qmtest
