#!/usr/bin/env bash
# Takes screenshots of the find and replace forms under a virtual X display:
# out/screenshots/find.png, replace.png and replace-project.png (a module
# scope, the direction disabled), and of the main window with the results of
# a search of examples/Sample.qpf (find-results.png). Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_dialogs" --gtest_filter='SearchFormScreenshot.FindAndReplace'
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='FindTest.ScreenshotOfTheSearchResults'
echo "screenshots: $QM_SCREENSHOT_DIR/find.png $QM_SCREENSHOT_DIR/replace.png $QM_SCREENSHOT_DIR/find-results.png"
