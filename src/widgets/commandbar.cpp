#include "widgets/commandbar.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>

#include "widgets/icons.h"
#include "widgets/statusbar.h"

namespace qm {

namespace {

// The glyphs' size, as the image lists hold them.
constexpr int kGlyphSize = 16;

// A flat button that draws its glyph at the glyph's own size, centred and
// cut at the edges when the button is smaller, as picture buttons do: a
// 16-pixel glyph on a 15-pixel button keeps its pixels instead of being
// scaled to a blur.
class TBarButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionToolButton opt;
        initStyleOption(&opt);
        opt.icon = QIcon();
        opt.text.clear();
        p.drawComplexControl(QStyle::CC_ToolButton, opt);
        if (icon().isNull()) return;
        const QSize glyph = iconSize();
        QRect r(QPoint((width() - glyph.width()) / 2, (height() - glyph.height()) / 2), glyph);
        if (isDown()) r.translate(1, 1);
        icon().paint(&p, r, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled,
                     isChecked() ? QIcon::On : QIcon::Off);
    }
};

}  // namespace

TQorCommandBar::TQorCommandBar(QWidget* owner) : QFrame(owner) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

TQorCommandBar::TQorCommandBar(const QString& name, int buttonSize, QWidget* owner) : TQorCommandBar(owner) {
    setObjectName(name);
    ButtonWidth = ButtonHeight = buttonSize;
}

QToolButton* TQorCommandBar::AddButton(bool isSeparator, int tag, const QString& hint, int imageIndex) {
    const int before = haveButton_ ? lastTop_ : TopMargin - ButtonHeight - 1;
    Entry entry;
    entry.IsSeparator = isSeparator;
    if (isSeparator) {
        entry.LineY = before + ButtonHeight + 3;
        afterSeparator_ = true;
        bottom_ = std::max(bottom_, entry.LineY + 2);
    } else {
        auto* b = new TBarButton(this);
        b->setObjectName(objectName() + QStringLiteral("Button") + QString::number(tag));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);  // a click leaves the focus where the command works
        b->setFixedSize(ButtonWidth, ButtonHeight);
        b->setProperty("tag", tag);
        b->setToolTip(ShortHint(hint));
        b->setStatusTip(LongHint(hint));
        if (Images && imageIndex != -1) {
            b->setIcon(Images->Glyph(imageIndex));
            b->setIconSize(QSize(kGlyphSize, kGlyphSize));
        }
        lastTop_ = before + ButtonHeight + (afterSeparator_ ? 9 : 1);
        haveButton_ = true;
        afterSeparator_ = false;
        b->move(ButtonLeft(), lastTop_);
        b->show();
        connect(b, &QToolButton::clicked, this, [this, b] { ButtonClick(b); });
        entry.Button = b;
        bottom_ = std::max(bottom_, lastTop_ + ButtonHeight);
    }
    entries_.push_back(entry);
    updateGeometry();
    update();
    return entry.Button;
}

QToolButton* TQorCommandBar::GetButton(int n) const {
    for (const Entry& e : entries_)
        if (!e.IsSeparator && --n == 0) return e.Button;
    return nullptr;
}

QToolButton* TQorCommandBar::Button(int tag) const {
    for (const Entry& e : entries_)
        if (e.Button && e.Button->property("tag").toInt() == tag) return e.Button;
    return nullptr;
}

int TQorCommandBar::SeparatorY(int entry) const {
    if (entry < 1 || entry > Count()) return -1;
    return entries_[static_cast<std::size_t>(entry - 1)].LineY;
}

void TQorCommandBar::ButtonClick(QToolButton* button) { emit OnButtonClick(button->property("tag").toInt()); }

QSize TQorCommandBar::sizeHint() const { return {ButtonWidth + 6, bottom_ + TopMargin}; }

QSize TQorCommandBar::minimumSizeHint() const { return {ButtonWidth + 2, 0}; }

void TQorCommandBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    for (const Entry& e : entries_)
        if (e.Button) e.Button->move(ButtonLeft(), e.Button->y());
}

void TQorCommandBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const int x0 = width() / 2 - ButtonWidth / 2;
    const int x1 = width() / 2 + ButtonWidth / 2;  // the line ends before it
    for (const Entry& e : entries_) {
        if (!e.IsSeparator) continue;
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawLine(x0, e.LineY, x1 - 1, e.LineY);
        p.setPen(Qt::white);
        p.drawLine(x0, e.LineY + 1, x1 - 1, e.LineY + 1);
    }
}

}  // namespace qm
