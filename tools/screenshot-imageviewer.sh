#!/usr/bin/env bash
# Takes screenshots of the image viewer showing a real hypergraphic
# (out/screenshots/imageviewer.png) and of the about box
# (out/screenshots/about.png) under a virtual X display.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='ImageCommandsTest.ScreenshotOfTheViewerAndTheAboutBox'
echo "screenshots: $QM_SCREENSHOT_DIR/imageviewer.png $QM_SCREENSHOT_DIR/about.png"
