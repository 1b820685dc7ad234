#pragma once
// Small placeholders for controls and forms that the main window creates at
// start-up but whose full behaviour comes later: the command bars. Each has
// the name and the interface the main window uses, and nothing more. (The
// ruler and the style box are real now; their headers come along for the
// code that finds them here.)
#include <QDialog>
#include <QFrame>
#include <QList>
#include <QString>
#include <QWidget>

#include "editor/ruler.h"
#include "mainwindow/stylecombo.h"
#include "util/qorstring.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QToolButton;
class QVBoxLayout;

namespace qm {

// A narrow vertical bar of flat buttons; a click reports the button's tag.
class TQorCommandBar : public QFrame {
    Q_OBJECT
public:
    TQorCommandBar(const QString& name, int buttonSize, QWidget* parent = nullptr);
    QToolButton* AddButton(int tag, const QString& hint, int glyph);
    void AddSeparator();
    // The button with this tag; nullptr when none.
    QToolButton* Button(int tag) const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    int BarSetting = 0;

signals:
    void buttonClicked(int tag);

private:
    int size_;
    QVBoxLayout* layout_;
    QList<QToolButton*> buttons_;
};

}  // namespace qm
