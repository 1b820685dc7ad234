#!/usr/bin/env bash
# Takes screenshots of the contents file editor with tests/data/cnt/editor.cnt
# open and a row three books deep selected, and of each of its dialogs, under a
# virtual X display: out/screenshots/contents-editor.png and
# out/screenshots/cnt-*.png. Needs a GUI build (default: out/default; pass
# another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_dialogs" --gtest_filter='ContentsEditTest.Screenshot*:CntDialogTest.Screenshot*'
echo "screenshots: $QM_SCREENSHOT_DIR/contents-editor.png $QM_SCREENSHOT_DIR/cnt-*.png"
