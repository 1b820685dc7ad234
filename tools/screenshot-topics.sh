#!/usr/bin/env bash
# Takes a screenshot of Topic Properties (its General page) over the main
# window with examples/Sample.qpf open, under a virtual X display:
# out/screenshots/topicprops.png. The dialogs of their own (popup and tool
# properties, the export choice, every page of Topic Properties) come from
# tools/screenshot-dialogs.sh. Needs a GUI build (default: out/default; pass
# another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='TopicsTest.ScreenshotOfTopicPropertiesOverTheWindow'
echo "screenshot: $QM_SCREENSHOT_DIR/topicprops.png"
