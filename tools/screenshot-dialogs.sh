#!/usr/bin/env bash
# Takes screenshots of the topic-link form and the macro expression builder
# under a virtual X display: out/screenshots/topiclink.png and
# out/screenshots/macroedit.png. Needs a GUI build (default: out/default;
# pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_dialogs" --gtest_filter='*.Screenshot*'
echo "screenshots: $QM_SCREENSHOT_DIR/topiclink.png $QM_SCREENSHOT_DIR/macroedit.png"
