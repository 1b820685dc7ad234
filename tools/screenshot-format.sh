#!/usr/bin/env bash
# Takes screenshots of the formatting controls and dialogs under a virtual X
# display, into out/screenshots/: the ruler in inches over indented
# paragraphs (ruler.png), the style box's open list (stylelist.png), the
# paragraph dialog's two pages (paragraph.png, paragraph-tabs.png), the style
# dialogs (styles.png, styleproperties.png, reorganizestyles.png) and the
# font dialog (font.png). Needs a GUI build (default: out/default; pass
# another build folder as the first argument).
source "$(dirname "$0")/screenshot-common.sh"
export QM_SCREENSHOT_DIR="$shots"
xrun "$build/bin/test_mainwindow" --gtest_filter='MainWindowFormatTest.Screenshot*'
xrun "$build/bin/test_dialogs" --gtest_filter='ParagraphTest.Screenshot*:StyleDialogsTest.Screenshot*'
xrun "$build/bin/test_widgets" --gtest_filter='FontDialogTest.Screenshot*'
echo "screenshots in $QM_SCREENSHOT_DIR: ruler.png stylelist.png paragraph.png paragraph-tabs.png styles.png" \
  "styleproperties.png reorganizestyles.png font.png"
