#!/usr/bin/env bash
# Takes screenshots of the editor frame and the history under a virtual X
# display: out/screenshots/gutter.png (examples/Sample.qpf with three
# bookmarks in the gutter), out/screenshots/backmenu.png (the Back
# drop-down open after a few visits) and out/screenshots/rtfoutput.png (the
# Rich Text Output pane under the editor). Needs a GUI build (default:
# out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
QM_SCREENSHOT="$shots/gutter.png" xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowEditorFrameTest.ScreenshotOfTheGutter'
QM_SCREENSHOT="$shots/backmenu.png" xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowNavigationTest.ScreenshotOfTheBackMenu'
QM_SCREENSHOT="$shots/rtfoutput.png" xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowEditorFrameTest.ScreenshotOfTheRichTextOutput'
echo "screenshots: $root/out/screenshots/gutter.png $root/out/screenshots/backmenu.png $root/out/screenshots/rtfoutput.png"
