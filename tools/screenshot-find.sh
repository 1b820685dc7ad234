#!/usr/bin/env bash
# Takes screenshots of the find and replace forms under a virtual X display:
# out/screenshots/find.png, replace.png and replace-project.png (a module
# scope, the direction disabled), and of the main window with the results of
# a search of examples/Sample.qpf (find-results.png). Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_dialogs" --gtest_filter='SearchFormScreenshot.FindAndReplace'
xrun "$build/bin/test_mainwindow" --gtest_filter='FindTest.ScreenshotOfTheSearchResults'
echo "screenshots: $QM_SCREENSHOT_DIR/find.png $QM_SCREENSHOT_DIR/replace.png $QM_SCREENSHOT_DIR/find-results.png"
