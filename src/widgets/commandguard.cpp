#include "widgets/commandguard.h"

#include <exception>
#include <string>

#include <QString>

#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "widgets/busycursor.h"

namespace qm {

bool runCommand(UiServices& ui, const std::function<void()>& command, const std::function<void()>& onError) {
    const int cursors = BusyCursor::Depth();
    std::string message;
    try {
        command();
        return true;
    } catch (const Error& e) {
        message = e.what();
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = kMsgUnknownError;
    }
    // Scoped busy cursors are gone by now; this catches the unscoped ones.
    BusyCursor::RestoreTo(cursors);
    if (onError) {
        try {
            onError();
        } catch (...) {
            // The first error is the one the user needs to see.
        }
    }
    try {
        // Messages of the system are Windows-1252 text.
        ui.ErrorBox(QString::fromStdU16String(Cp1252ToUtf16(message)));
    } catch (...) {
        // Nothing may leave an event handler.
    }
    return false;
}

}  // namespace qm
