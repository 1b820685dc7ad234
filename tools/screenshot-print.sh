#!/usr/bin/env bash
# Prints every module of examples/Sample.qpf through Print (all modules, one
# copy) to out/screenshots/print.pdf under a virtual X display, and turns its
# pages into out/screenshots/print-<n>.png with pdftoppm (poppler-utils).
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
out="$root/out/screenshots"
mkdir -p "$out"
rm -f "$out"/print.pdf "$out"/print-*.png
export QM_PRINT_PDF="$out/print.pdf"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_mainwindow" --gtest_filter='PrintCommandsTest.PrintOfTheSampleProject'
pdftoppm -png -r 60 "$QM_PRINT_PDF" "$out/print"
echo "printed: $QM_PRINT_PDF"
ls "$out"/print-*.png
