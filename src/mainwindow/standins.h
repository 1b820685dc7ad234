#pragma once
// Small placeholders for controls and forms that the main window creates at
// start-up but whose full behaviour comes later: the paragraph ruler, the
// style combo box, the command bars, the member list, the progress window,
// the image viewer and the about box. Each has the name and the interface
// the main window uses, and nothing more.
#include <QDialog>
#include <QFrame>
#include <QList>
#include <QString>
#include <QWidget>

#include "util/qorstring.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QToolButton;
class QVBoxLayout;

namespace qm {

// The ruler above the editor: keeps the indents and settings it is given.
class TRuler : public QFrame {
    Q_OBJECT
public:
    explicit TRuler(QWidget* parent = nullptr);
    void SetOrigin(int x) { origin_ = x; }
    void SetIndents(int first, int left, int right);
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    int GetFirstIndent() const { return first_; }
    int GetLeftIndent() const { return left_; }
    int GetRightIndent() const { return right_; }
    int ScaleMode() const { return scaleMode_; }
    int Origin() const { return origin_; }
    int RightMargin = 10;

private:
    int origin_ = 0;
    int first_ = 0;
    int left_ = 0;
    int right_ = 0;
    int scaleMode_ = 0;
};

// Takes over the main window's style box and lists the style names.
class TStyleCombo {
public:
    explicit TStyleCombo(QComboBox* box) : box_(box) {}
    void FillList(const StringList& names);
    QComboBox* Box() const { return box_; }

private:
    QComboBox* box_;
};

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

// The member list, the progress window, the image viewer and the about box,
// created hidden and reused.
class TfrmVList : public QFrame {
    Q_OBJECT
public:
    explicit TfrmVList(QWidget* owner);
};
class TfrmMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMessage(QWidget* owner);
    QLabel* lblMsg;
    QProgressBar* pgbProgress;
};
class TfrmImgView : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImgView(QWidget* owner);
};
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* owner);
};

}  // namespace qm
