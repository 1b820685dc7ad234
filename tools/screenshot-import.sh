#!/usr/bin/env bash
# Takes screenshots of the main window after the import of a hand-kept help
# project, with what the project could not hold listed in the messages pane
# (out/screenshots/import-notes.png), and after the import of topics holding
# tables, one open in the editor (out/screenshots/import-table.png), under a
# virtual X display. Needs a GUI build (default: out/default; pass another
# build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" \
  --gtest_filter='LegacyProjectTest.ScreenshotOfTheImportNotes:TableProjectTest.ScreenshotOfTheImportedTable'
echo "screenshot: $QM_SCREENSHOT_DIR/import-notes.png"
echo "screenshot: $QM_SCREENSHOT_DIR/import-table.png"
