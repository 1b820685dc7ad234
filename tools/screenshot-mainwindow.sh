#!/usr/bin/env bash
# Takes a screenshot of the main window with examples/Sample.qpf open, under a
# virtual X display: out/screenshots/mainwindow.png. Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT="$shots/mainwindow.png"
xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowTest.ScreenshotOfTheSampleProject'
echo "screenshot: $QM_SCREENSHOT"
