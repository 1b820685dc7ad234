#!/usr/bin/env bash
# Takes a screenshot of the spelling dialog over the main window, with a
# misspelt word of examples/Sample.qpf selected and its suggestions shown,
# under a virtual X display: out/screenshots/spelling.png. Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT="$root/out/screenshots/spelling.png"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='MainWindowSpellTest.ScreenshotOfTheSpellingDialog'
echo "screenshot: $QM_SCREENSHOT"
