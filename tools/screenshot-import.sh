#!/usr/bin/env bash
# Takes a screenshot of the main window after the import of a hand-kept help
# project, with what the project could not hold listed in the messages pane
# (out/screenshots/import-notes.png), under a virtual X display. Needs a GUI
# build (default: out/default; pass another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='LegacyProjectTest.ScreenshotOfTheImportNotes'
echo "screenshot: $QM_SCREENSHOT_DIR/import-notes.png"
