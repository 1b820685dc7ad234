#pragma once
// Every action and event handler that runs a command goes through runCommand,
// so no exception ever crosses a Qt event boundary: the command's error is
// shown in an error box, the cursor is restored and the window stays as it was.
#include <functional>
#include <utility>

namespace qm {

class UiServices;

// Runs `command`. When it throws (qm::Error, std::exception or anything
// else): busy cursors set since the call are restored, `onError` runs (e.g.
// status "Ready.", undoing half-done state; its own exceptions are swallowed),
// then the error's text is shown in an error box with OK. Returns true when
// the command ended normally.
bool runCommand(UiServices& ui, const std::function<void()>& command, const std::function<void()>& onError = {});

// A slot for connect() that runs `command` through runCommand.
template <class F>
auto guarded(UiServices& ui, F command) {
    return [&ui, command = std::move(command)]() { runCommand(ui, command); };
}

// The text shown for an exception that is not a std::exception.
inline constexpr const char* kMsgUnknownError = "An unknown error occurred.";

}  // namespace qm
