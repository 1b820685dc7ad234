#!/usr/bin/env bash
# Takes screenshots of Pikeral on a real picture (DCONNECT.SHG of the shared
# fixtures, a hotspot selected) and of its hotspot properties dialog, under a
# virtual X display: out/screenshots/pikeral.png and pikeral-hsprops.png.
# Needs a GUI build (default: out/default; pass another build folder as the
# first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT="$shots/pikeral.png"
xrun "$build/bin/test_shgedit" --gtest_filter='ShgEditTest.ScreenshotOfARealPicture'
echo "screenshots: $QM_SCREENSHOT and ${QM_SCREENSHOT%.png}-hsprops.png"
