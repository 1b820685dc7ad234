#!/usr/bin/env bash
# Takes screenshots of tag editing under a virtual X display: the tag list
# over the editor after "<LI" is typed (out/screenshots/tag-list.png, the
# whole screen, since the list is a window of its own) and the topic-link
# form that Edit Tag opens on a link (out/screenshots/edit-topic-link.png).
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" --gtest_filter='EditorWndProcTest.ScreenshotOfTheTagListAndEditTag'
echo "screenshots: $QM_SCREENSHOT_DIR/tag-list.png $QM_SCREENSHOT_DIR/edit-topic-link.png"
