#pragma once
// A numeric edit with up and down buttons that holds a floating-point value
// (the paragraph dialog's indents and spacings). Unlike the toolkit's spin
// box it shows the shortest decimal form of its value, clamps only when it
// has limits (equal limits mean none), and reads the decimal separator of
// its locale. Enter is refused with a beep: it never presses the dialog's
// default button.
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <optional>

namespace qm {

// The pure rules, for the edit and its tests.
// v within [min, max]; unchanged when min equals max (no limits).
double SpinCheckValue(double v, double min, double max);
// The shortest decimal form of v (up to 15 significant digits) in `locale`,
// without group separators: 1.5, 0, -2.25.
QString SpinValueText(double v, const QLocale& locale);
// `text` as a number in `locale`; nullopt when it is none.
std::optional<double> SpinParseValue(const QString& text, const QLocale& locale);

// A flat button that repeats its click while held: the first repeat after
// 400 ms, then every 100 ms.
class TTimerSpeedButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kFirstRepeat = 400;
    static constexpr int kRepeat = 100;
    explicit TTimerSpeedButton(QWidget* parent = nullptr);
    // An arrow needs no room of a caption: half the edit's height will do.
    QSize minimumSizeHint() const override { return {8, 6}; }
    QSize sizeHint() const override { return {20, 12}; }
};

// The pair of buttons beside the edit; pressing either gives the focus to
// FocusControl.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);
    TTimerSpeedButton* UpButton;
    TTimerSpeedButton* DownButton;
    QWidget* FocusControl = nullptr;

signals:
    void upClick();
    void downClick();

protected:
    void resizeEvent(QResizeEvent* e) override;
};

class TQorSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 20;
    explicit TQorSpinEdit(QWidget* parent = nullptr);

    double MinValue = 0;
    double MaxValue = 0;
    double Increment = 1.0;
    // False: the text takes no typing, the buttons still work.
    void SetEditorEnabled(bool on);
    bool EditorEnabled() const { return editorEnabled_; }

    // The text as a number; MinValue when it is none.
    double GetValue() const;
    // Shows CheckValue(v).
    void SetValue(double v);
    double CheckValue(double v) const { return SpinCheckValue(v, MinValue, MaxValue); }

    // One Increment up or down; a beep when the edit is read-only.
    virtual void UpClick();
    virtual void DownClick();
    // Digits, "+", "-" and the decimal separator.
    virtual bool IsValidChar(QChar c) const;

    TSpinButton* Button;

signals:
    // The user changed the value: typed, pasted, or clicked a button.
    void valueEdited();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QLocale numberLocale() const;
    void placeButton();
    bool editorEnabled_ = true;
};

}  // namespace qm
