#!/usr/bin/env bash
# Takes screenshots of the main window's tool bars and menus under a virtual
# X display with a window manager (twm), so the menus are grabbed from the
# screen as a user sees them: out/screenshots/toolbars.png (every tool bar
# shown) and out/screenshots/menu-<menu>.png for each menu of the menu bar
# opened in turn (menu-<menu>-<sub-menu>.png for its sub-menus). Needs a GUI
# build (default: out/default; pass another build folder).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_MENUS="$shots"
xrun_wm "$build/bin/test_mainwindow" --gtest_filter="MainWindowTest.ScreenshotsOfTheToolBarsAndMenus"
echo "screenshots in $QM_SCREENSHOT_MENUS: toolbars.png menu-*.png"
