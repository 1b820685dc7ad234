#!/usr/bin/env bash
# Takes screenshots of the settings dialogs under a virtual X display: the
# windows editor's Position page, the options' General page, the project
# settings' Compression page and the browse sequence editor, as
# out/screenshots/{windowseditor,options,projectoptions,browseedit}.png.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_dialogs" \
  --gtest_filter='WindowsEditorTest.Screenshot*:ProgramOptionsTest.Screenshot*:ProjectOptionsTest.Screenshot*:BrowseEditTest.Screenshot*'
echo "screenshots: $QM_SCREENSHOT_DIR/{windowseditor,options,projectoptions,browseedit}.png"
