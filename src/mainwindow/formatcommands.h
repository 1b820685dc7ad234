#pragma once
// Formatting: the Paragraph and Styles commands, the style box (applying a
// chosen style, and showing the style that matches the selection), and the
// link between the ruler and the editor's paragraph: the indents a drag
// sets, the guide line while a marker moves, the ruler's zero where the
// text starts, and the ruler's scale menu.
#include <QObject>
#include <QPointer>

#include "mainwindow/commandhandler.h"

class QAction;
class QMenu;
class QWidget;

namespace qm {

class TFormatCommands : public QObject, public TCommandHandler {
    Q_OBJECT
public:
    explicit TFormatCommands(TMainContext& context);
    ~TFormatCommands() override;

    // Adds the actions, and wires the ruler, the style box and the scale menu.
    void CreateActions(ActionTable& table) override;

    QAction* actParagraph = nullptr;
    QAction* actStyles = nullptr;

    void actParagraphExecute();
    void actStylesExecute();

    // --- the style box ---
    // Shows in the box the first style whose font (face, size, style bits,
    // colour) is the selection's; none when no style matches. Never applies
    // a style.
    void MatchStyleToSelection();
    // Applies the style chosen in the box to the selection (and, for a
    // paragraph style, to its paragraph).
    void cboStylesChange();

    // --- the ruler link ---
    // The paragraphs of the selection take these indents (pixels): the first
    // line's, the following lines' offset from it, the right one.
    void SetParagraphIndents(int startIndent, int offset, int rightIndent);
    // A marker moves: the guide line follows it over the editor.
    void RulerMarkerMove(int x);
    // A drag ended: the guide goes, the paragraph takes the ruler's indents.
    void RulerChange();
    // Puts the scale's zero where the editor's text starts and its right end
    // where the text ends.
    void UpdateRulerOrigin();

    // The ruler's context menu and its items.
    QMenu* mnuPopScaleMode = nullptr;
    QAction* mnuPopScalePixels = nullptr;
    QAction* mnuPopScaleInches = nullptr;
    QAction* mnuPopScaleCentimeters = nullptr;
    // Checks the item of the ruler's mode.
    void mnuPopScaleModePopup();
    // The ruler and the option ScaleMode take `mode`.
    void SetScaleMode(int mode);

    // The 1-pixel line over the editor while a marker is dragged.
    QWidget* RulerGuide() const { return guide_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QPointer<QWidget> guide_;
};

}  // namespace qm
