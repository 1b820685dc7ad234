#!/usr/bin/env bash
# Takes screenshots of the contents file editor with tests/data/cnt/editor.cnt
# open and a row three books deep selected, and of each of its dialogs, under a
# virtual X display: out/screenshots/contents-editor.png and
# out/screenshots/cnt-*.png. Needs a GUI build (default: out/default; pass
# another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_dialogs" --gtest_filter='ContentsEditTest.Screenshot*:CntDialogTest.Screenshot*'
echo "screenshots: $QM_SCREENSHOT_DIR/contents-editor.png $QM_SCREENSHOT_DIR/cnt-*.png"
