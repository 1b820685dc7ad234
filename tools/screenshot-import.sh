#!/usr/bin/env bash
# Takes screenshots of the main window after the import of a hand-kept help
# project, with what the project could not hold listed in the messages pane
# (out/screenshots/import-notes.png), and after the import of the MFC project,
# whose notes say what its first build will report (import-forecast.png),
# under a virtual X display. Needs a GUI
# build (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" \
    --gtest_filter='LegacyProjectTest.ScreenshotOfTheImportNotes:MainWindowImportTest.ScreenshotOfTheNotesOfTheMfcProject'
echo "screenshots: $QM_SCREENSHOT_DIR/import-notes.png $QM_SCREENSHOT_DIR/import-forecast.png"
