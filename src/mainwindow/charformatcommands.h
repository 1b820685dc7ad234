#pragma once
// Character and paragraph formatting from the Format menu and the format
// tool bar: the style bits, alignment, bullets, the font dialog, the text
// colour with its menu, the font name and size boxes, and case conversion.
#include <QObject>
#include <QPointer>

#include "mainwindow/commandhandler.h"

class QAction;
class QMenu;
class QToolButton;

namespace qm {

class TCharFormatCommands : public QObject, public TCommandHandler {
    Q_OBJECT
public:
    explicit TCharFormatCommands(TMainContext& context) : TCommandHandler(context) {}

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    QAction* actBold = nullptr;
    QAction* actItalic = nullptr;
    QAction* actUnderline = nullptr;
    QAction* actStrikeout = nullptr;
    QAction* actAlignLeft = nullptr;
    QAction* actAlignCenter = nullptr;
    QAction* actAlignRight = nullptr;
    QAction* actBulletIndent = nullptr;
    QAction* actNumberingIndent = nullptr;
    QAction* actFont = nullptr;
    QAction* actSetTextColor = nullptr;
    QAction* actConvertLower = nullptr;
    QAction* actConvertUpper = nullptr;

    // The text-colour menu and the format bar's button that drops it down.
    QMenu* ColorPopMenu = nullptr;
    QToolButton* tbbColors = nullptr;

    void actBoldExecute();
    void actItalicExecute();
    void actUnderlineExecute();
    void actStrikeoutExecute();
    void actAlignLeftExecute();
    void actAlignCenterExecute();
    void actAlignRightExecute();
    void actBulletIndentExecute();
    void actFontExecute();
    void actConvertLowerExecute();
    void actConvertUpperExecute();
};

}  // namespace qm
