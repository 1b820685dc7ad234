#include "platform/display.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace qm {

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

void ReportNoDisplay(const char* program) {
    std::fprintf(stderr,
                 "%s needs a graphical display, but none was found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                 "Start it from a desktop session, or under a virtual display such as xvfb-run.\n",
                 program);
}

}  // namespace qm
