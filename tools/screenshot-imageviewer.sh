#!/usr/bin/env bash
# Takes screenshots of the image viewer showing a real hypergraphic
# (out/screenshots/imageviewer.png) and of the about box
# (out/screenshots/about.png) under a virtual X display.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" --gtest_filter='ImageCommandsTest.ScreenshotOfTheViewerAndTheAboutBox'
echo "screenshots: $QM_SCREENSHOT_DIR/imageviewer.png $QM_SCREENSHOT_DIR/about.png"
