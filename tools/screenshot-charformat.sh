#!/usr/bin/env bash
# Takes screenshots of the character-format controls under a virtual X
# display, into out/screenshots/: the text-colour menu dropped down from its
# button, grabbed from the screen (colormenu.png), and the window with the
# special-character pane shown (charpane.png). Needs a GUI build (default:
# out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" --gtest_filter='CharFormatTest.Screenshot*'
echo "screenshots in $QM_SCREENSHOT_DIR: colormenu.png charpane.png"
