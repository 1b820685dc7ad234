#!/usr/bin/env bash
# Takes screenshots of Pikeral on a real picture (DCONNECT.SHG of the shared
# fixtures, a hotspot selected) and of its hotspot properties dialog, under a
# virtual X display: out/screenshots/pikeral.png and pikeral-hsprops.png.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT="$root/out/screenshots/pikeral.png"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/test_shgedit" --gtest_filter='ShgEditTest.ScreenshotOfARealPicture'
echo "screenshots: $QM_SCREENSHOT and ${QM_SCREENSHOT%.png}-hsprops.png"
