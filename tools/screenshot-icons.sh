#!/usr/bin/env bash
# Draws every icon of the compiled-in set at 16 and 22 pixels, enlarged
# beside them, into one contact sheet: out/screenshots/icons.png. Our own
# drawings come first on a grey ground, then Tango's. Needs a GUI build
# (default: out/default; pass another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_ICONS="$shots/icons.png"
# Offscreen has no icon theme: the sheet shows only what is built in.
export QT_QPA_PLATFORM=offscreen
"$build/bin/test_widgets" --gtest_filter='IconSet.ContactSheet'
echo "contact sheet: $QM_SCREENSHOT_ICONS"
