#!/usr/bin/env bash
# Takes a screenshot of Quillmark's start-up on a project that fails to open:
# the error box must sit on the main window, with the splash gone. Runs under
# a virtual X display with a window manager (twm), so the windows have their
# frames and stacking as on a desktop: out/screenshots/startup-message.png.
# Needs a GUI build (default: out/default; pass another build folder).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_STARTUP="$shots/startup-message.png"
xrun_wm "$build/bin/test_mainwindow" --gtest_filter="MainWindowTest.ScreenshotOfAStartUpMessage"
echo "screenshot: $QM_SCREENSHOT_STARTUP"
