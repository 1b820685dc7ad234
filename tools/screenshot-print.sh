#!/usr/bin/env bash
# Prints every module of examples/Sample.qpf through Print (all modules, one
# copy) to out/screenshots/print.pdf under a virtual X display, and turns its
# pages into out/screenshots/print-<n>.png with pdftoppm (poppler-utils).
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
source "$(dirname "$0")/screenshot-common.sh"
out="$shots"
rm -f "$out"/print.pdf "$out"/print-*.png
export QM_PRINT_PDF="$out/print.pdf"
xrun "$build/bin/test_mainwindow" --gtest_filter='PrintCommandsTest.PrintOfTheSampleProject'
pdftoppm -png -r 60 "$QM_PRINT_PDF" "$out/print"
echo "printed: $QM_PRINT_PDF"
ls "$out"/print-*.png
