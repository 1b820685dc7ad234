#!/usr/bin/env bash
# Takes a screenshot of the spelling dialog over the main window, with a
# misspelt word of examples/Sample.qpf selected and its suggestions shown,
# under a virtual X display: out/screenshots/spelling.png. Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT="$shots/spelling.png"
xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowSpellTest.ScreenshotOfTheSpellingDialog'
echo "screenshot: $QM_SCREENSHOT"
