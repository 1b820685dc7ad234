#!/usr/bin/env bash
# Takes a screenshot of Quillmark's start-up on a project that fails to open:
# the error box must sit on the main window, with the splash gone. Runs under
# a virtual X display with a window manager (twm), so the windows have their
# frames and stacking as on a desktop: out/screenshots/startup-message.png.
# Needs a GUI build (default: out/default; pass another build folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_STARTUP="$root/out/screenshots/startup-message.png"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  twm >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$0/bin/test_mainwindow" --gtest_filter="MainWindowTest.ScreenshotOfAStartUpMessage"
  rc=$?
  kill $wm 2>/dev/null || true
  exit $rc' "$build"
echo "screenshot: $QM_SCREENSHOT_STARTUP"
