#!/usr/bin/env bash
# Takes screenshots of the main window's tool bars and menus under a virtual
# X display with a window manager (twm), so the menus are grabbed from the
# screen as a user sees them: out/screenshots/toolbars.png (every tool bar
# shown) and out/screenshots/menu-<menu>.png for each menu of the menu bar
# opened in turn (menu-<menu>-<sub-menu>.png for its sub-menus). Needs a GUI
# build (default: out/default; pass another build folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/out/default}
mkdir -p "$root/out/screenshots"
export QM_SCREENSHOT_MENUS="$root/out/screenshots"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  twm >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$0/bin/test_mainwindow" --gtest_filter="MainWindowTest.ScreenshotsOfTheToolBarsAndMenus"
  rc=$?
  kill $wm 2>/dev/null || true
  exit $rc' "$build"
echo "screenshots in $QM_SCREENSHOT_MENUS: toolbars.png menu-*.png"
