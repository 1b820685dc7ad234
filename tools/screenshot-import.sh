#!/usr/bin/env bash
# Takes screenshots of the main window after the import of a hand-kept help
# project, with what the project could not hold listed in the messages pane
# (out/screenshots/import-notes.png), after the import of topics holding
# tables, one open in the editor (import-table.png), and after the import of
# the MFC project, whose notes say what its first build will report
# (import-forecast.png), under a virtual X display. Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" \
  --gtest_filter='LegacyProjectTest.ScreenshotOfTheImportNotes:TableProjectTest.ScreenshotOfTheImportedTable:MainWindowImportTest.ScreenshotOfTheNotesOfTheMfcProject'
for f in import-notes import-table import-forecast; do echo "screenshot: $QM_SCREENSHOT_DIR/$f.png"; done
