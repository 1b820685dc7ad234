#include "mainwindow/charformatcommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolButton>

#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TCharFormatCommands::CreateActions(ActionTable& table) {
    actBold = table.Add({"actBold", "&Bold", "Ctrl+B", "Bold|Makes the selection bold.", "format-text-bold",
                         [this] { actBoldExecute(); }, true});
    actItalic = table.Add({"actItalic", "&Italic", "Ctrl+I", "Italic|Makes the selection italic.",
                           "format-text-italic", [this] { actItalicExecute(); }, true});
    actUnderline = table.Add({"actUnderline", "&Underline", "Ctrl+U", "Underline|Underlines the selection.",
                              "format-text-underline", [this] { actUnderlineExecute(); }, true});
    actStrikeout = table.Add({"actStrikeout", "Stri&ke Out", "", "Strike Out|Strikes the selection out.",
                              "format-text-strikethrough", [this] { actStrikeoutExecute(); }, true});
    actAlignLeft = table.Add({"actAlignLeft", "Align &Left", "Ctrl+L", "Align Left|Aligns the paragraph left.",
                              "format-justify-left", [this] { actAlignLeftExecute(); }, true});
    actAlignCenter = table.Add({"actAlignCenter", "C&entre", "Ctrl+E", "Centre|Centres the paragraph.",
                                "format-justify-center", [this] { actAlignCenterExecute(); }, true});
    actAlignRight = table.Add({"actAlignRight", "Align &Right", "Ctrl+Shift+R", "Align Right|Aligns the paragraph right.",
                               "format-justify-right", [this] { actAlignRightExecute(); }, true});
    actBulletIndent = table.Add({"actBulletIndent", "Bulle&ts", "", "Bullets|Puts a bullet before the paragraph.",
                                 "list-bullets", [this] { actBulletIndentExecute(); }, true});
    actNumberingIndent = table.Add({"actNumberingIndent", "&Numbering", "", "Numbering|Numbers the paragraphs.",
                                    "list-numbers", [] {}});
    actFont = table.Add({"actFont", "&Font...", "", "Font|Changes the font of the selection.",
                         "preferences-desktop-font", [this] { actFontExecute(); }});
    actSetTextColor = table.Add({"actSetTextColor", "Text &Colour", "", "Text Colour|Changes the colour of the selection.",
                                 "text-colour", [] {}});
    actConvertLower = table.Add({"actConvertLower", "Convert To Lo&wercase", "",
                                 "Convert To Lowercase|Turns the selection's capital letters into small ones.",
                                 "case-lower", [this] { actConvertLowerExecute(); }});
    actConvertUpper = table.Add({"actConvertUpper", "Convert To Upperc&ase", "",
                                 "Convert To Uppercase|Turns the selection's small letters into capitals.",
                                 "case-upper", [this] { actConvertUpperExecute(); }});

    ColorPopMenu = new QMenu(&ctx_.Window());
    ColorPopMenu->setObjectName(QStringLiteral("ColorPopMenu"));
    tbbColors = new QToolButton(&ctx_.Window());
    tbbColors->setObjectName(QStringLiteral("tbbColors"));
    tbbColors->setDefaultAction(actSetTextColor);
}

void TCharFormatCommands::UpdateActions() {}

void TCharFormatCommands::actBoldExecute() {}
void TCharFormatCommands::actItalicExecute() {}
void TCharFormatCommands::actUnderlineExecute() {}
void TCharFormatCommands::actStrikeoutExecute() {}
void TCharFormatCommands::actAlignLeftExecute() {}
void TCharFormatCommands::actAlignCenterExecute() {}
void TCharFormatCommands::actAlignRightExecute() {}
void TCharFormatCommands::actBulletIndentExecute() {}
void TCharFormatCommands::actFontExecute() {}
void TCharFormatCommands::actConvertLowerExecute() {}
void TCharFormatCommands::actConvertUpperExecute() {}

}  // namespace qm
