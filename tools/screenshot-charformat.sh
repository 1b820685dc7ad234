#!/usr/bin/env bash
# Takes screenshots of the character-format controls under a virtual X
# display, into out/screenshots/: the text-colour menu dropped down from its
# button, grabbed from the screen (colormenu.png), and the window with the
# special-character pane shown (specchars.png). Needs a GUI build (default:
# out/default; pass another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='CharFormatTest.Screenshot*'
echo "screenshots in $QM_SCREENSHOT_DIR: colormenu.png specchars.png"
