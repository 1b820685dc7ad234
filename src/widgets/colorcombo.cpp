#include "widgets/colorcombo.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace qm {

namespace {

constexpr int kColorItemHeight = 18;

// A framed swatch from x 5 to 30 and the name from x 35; navy under the
// chosen item's name.
class TColorItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int text = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {35 + text + 6, kColorItemHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        const QRect r = option.rect;
        const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
        p->fillRect(r, Qt::white);
        const QRect swatch(r.left() + 5, r.top() + 3, 25, r.height() - 6);
        p->setPen(Qt::black);
        p->setBrush(Qt::NoBrush);
        p->drawRect(swatch.adjusted(0, 0, -1, -1));
        p->fillRect(swatch.adjusted(1, 1, -1, -1), index.data(Qt::UserRole).value<QColor>());
        const QString name = index.data(Qt::DisplayRole).toString();
        const QFontMetrics& fm = option.fontMetrics;
        const QRect text(r.left() + 35, r.top() + (r.height() - fm.height()) / 2, fm.horizontalAdvance(name) + 2,
                         fm.height());
        if (selected) {
            p->fillRect(text, QColor(0, 0, 0x80));
            p->setPen(Qt::white);
        } else {
            p->setPen(Qt::black);
        }
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, name);
        p->restore();
    }
};

}  // namespace

int NamedColorIndex(std::uint32_t bgr) {
    for (int i = 0; i < kNamedColorCount; ++i)
        if (kNamedColors[static_cast<std::size_t>(i)].Value == bgr) return i;
    return -1;
}

QColor QColorFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t BgrFromQColor(const QColor& color) {
    const QColor c = color.toRgb();
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new TColorItemDelegate(this));
    for (const TNamedColor& c : kNamedColors) {
        QPixmap swatch(16, 12);
        swatch.fill(QColorFromBgr(c.Value));
        {
            QPainter p(&swatch);
            p.setPen(Qt::black);
            p.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
        }
        // The closed box shows the swatch as the item's icon; the list draws
        // its own from the colour.
        addItem(QIcon(swatch), QString::fromLatin1(c.Name));
        setItemData(count() - 1, QColorFromBgr(c.Value), Qt::UserRole);
    }
    setCurrentIndex(-1);
}

std::uint32_t TColorCombo::GetSelectedColor() const {
    const int i = currentIndex();
    if (i < 0 || i >= kNamedColorCount) return given_;
    return kNamedColors[static_cast<std::size_t>(i)].Value;
}

void TColorCombo::SetSelectedColor(std::uint32_t bgr) {
    given_ = bgr;
    setCurrentIndex(NamedColorIndex(bgr));
}

}  // namespace qm
