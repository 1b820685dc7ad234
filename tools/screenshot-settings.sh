#!/usr/bin/env bash
# Takes screenshots of the settings dialogs under a virtual X display: the
# windows editor's Position page, the options' General page, the project
# settings' Compression page and the browse sequence editor, as
# out/screenshots/{windowseditor,options,projectoptions,browseedit}.png.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_DIR="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_dialogs" \
  --gtest_filter='WindowsEditorTest.Screenshot*:ProgramOptionsTest.Screenshot*:ProjectOptionsTest.Screenshot*:BrowseEditTest.Screenshot*'
echo "screenshots: $QM_SCREENSHOT_DIR/{windowseditor,options,projectoptions,browseedit}.png"
