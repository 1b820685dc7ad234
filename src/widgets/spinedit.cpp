#include "widgets/spinedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace qm {

double SpinCheckValue(double v, double min, double max) {
    if (max == min) return v;
    if (v < min) return min;
    if (v > max) return max;
    return v;
}

namespace {

QLocale Plain(QLocale locale) {
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

}  // namespace

QString SpinValueText(double v, const QLocale& locale) {
    if (v == 0) v = 0;  // no "-0"
    return Plain(locale).toString(v, 'g', 15);
}

std::optional<double> SpinParseValue(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double v = Plain(locale).toDouble(text.trimmed(), &ok);
    if (!ok) return std::nullopt;
    return v;
}

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(true);
    setAutoRepeatDelay(kFirstRepeat);
    setAutoRepeatInterval(kRepeat);
}

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), UpButton(new TTimerSpeedButton(this)), DownButton(new TTimerSpeedButton(this)) {
    UpButton->setObjectName(QStringLiteral("UpButton"));
    DownButton->setObjectName(QStringLiteral("DownButton"));
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    for (TTimerSpeedButton* b : {UpButton, DownButton}) {
        connect(b, &QToolButton::pressed, this, [this] {
            if (FocusControl && FocusControl->isEnabled() && !FocusControl->hasFocus()) FocusControl->setFocus();
        });
    }
    connect(UpButton, &QToolButton::clicked, this, &TSpinButton::upClick);
    connect(DownButton, &QToolButton::clicked, this, &TSpinButton::downClick);
    resize(20, 25);
}

void TSpinButton::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    UpButton->setGeometry(0, 0, width(), upHeight);
    DownButton->setGeometry(0, upHeight, width(), height() - upHeight);
}

TQorSpinEdit::TQorSpinEdit(QWidget* parent) : QLineEdit(parent), Button(new TSpinButton(this)) {
    Button->FocusControl = this;
    Button->setCursor(Qt::ArrowCursor);
    setText(QStringLiteral("0"));
    setTextMargins(0, 0, kButtonWidth + 2, 0);
    connect(Button, &TSpinButton::upClick, this, &TQorSpinEdit::UpClick);
    connect(Button, &TSpinButton::downClick, this, &TQorSpinEdit::DownClick);
    connect(this, &QLineEdit::textEdited, this, &TQorSpinEdit::valueEdited);
    placeButton();
}

QLocale TQorSpinEdit::numberLocale() const { return locale(); }

void TQorSpinEdit::SetEditorEnabled(bool on) {
    editorEnabled_ = on;
    setAcceptDrops(on);
    setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

double TQorSpinEdit::GetValue() const { return SpinParseValue(text(), numberLocale()).value_or(MinValue); }

void TQorSpinEdit::SetValue(double v) { setText(SpinValueText(CheckValue(v), numberLocale())); }

void TQorSpinEdit::UpClick() {
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    SetValue(GetValue() + Increment);
    emit valueEdited();
}

void TQorSpinEdit::DownClick() {
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    SetValue(GetValue() - Increment);
    emit valueEdited();
}

bool TQorSpinEdit::IsValidChar(QChar c) const {
    if (c.isDigit() && c.unicode() < 128) return true;
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) return true;
    const QString point = numberLocale().decimalPoint();
    return point.size() == 1 && c == point.front();
}

void TQorSpinEdit::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up: UpClick(); break;
        case Qt::Key_Down: DownClick(); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Refused, and kept from the dialog's default button.
            QApplication::beep();
            e->accept();
            return;
        default: break;
    }
    if (!editorEnabled_) {
        const bool edits = e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete ||
                           e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) ||
                           (!e->text().isEmpty() && e->text().front().isPrint());
        if (edits) {
            QApplication::beep();
            e->accept();
            return;
        }
    } else if (!e->text().isEmpty() && e->text().front().isPrint() &&
               !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        for (QChar c : e->text()) {
            if (!IsValidChar(c)) {
                QApplication::beep();
                e->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(e);
}

void TQorSpinEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (QApplication::mouseButtons() == Qt::NoButton) selectAll();
}

void TQorSpinEdit::focusOutEvent(QFocusEvent* e) {
    if (MaxValue != MinValue) {
        const double v = GetValue();
        if (CheckValue(v) != v) SetValue(v);
    }
    QLineEdit::focusOutEvent(e);
}

void TQorSpinEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    placeButton();
}

void TQorSpinEdit::placeButton() {
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    Button->setGeometry(width() - kButtonWidth - frame, frame, kButtonWidth, height() - 2 * frame);
}

}  // namespace qm
