#!/usr/bin/env bash
# Takes a screenshot of Topic Properties (its General page) over the main
# window with examples/Sample.qpf open, under a virtual X display:
# out/screenshots/topicprops.png. The dialogs of their own (popup and tool
# properties, the export choice, every page of Topic Properties) come from
# tools/screenshot-dialogs.sh. Needs a GUI build (default: out/default; pass
# another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" --gtest_filter='TopicsTest.ScreenshotOfTopicPropertiesOverTheWindow'
echo "screenshot: $QM_SCREENSHOT_DIR/topicprops.png"
