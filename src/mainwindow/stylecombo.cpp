#include "mainwindow/stylecombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "dialogs/styleglyphs.h"
#include "editor/qtfont.h"
#include "model/styles.h"
#include "platform/qtcp1252.h"

namespace qm {

namespace {

QFont ListFont(const TFontInfo& info) {
    TFontInfo capped = info;
    capped.Size = std::min(capped.Size, kStyleListMaxPoints);
    return ToQFont(capped);
}

class TStyleItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics fm(index.data(StyleFontRole).value<QFont>());
        const int w = fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + kStyleListExtra;
        return {std::max(w, option.rect.width()), kStyleItemHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        const QRect item = option.rect;
        const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
        const QColor menu = option.palette.color(QPalette::Window);
        p->fillRect(item, selected ? option.palette.color(QPalette::Highlight) : QColor(Qt::white));
        const QRect r = item.adjusted(2, 2, -2, -2);
        p->setPen(menu);
        p->setBrush(Qt::white);
        p->drawRect(r.adjusted(0, 0, -1, -1));

        const QFont font = index.data(StyleFontRole).value<QFont>();
        const int points = std::max(font.pointSize(), 1);
        p->setFont(font);
        p->setPen(index.data(StyleColorRole).value<QColor>());
        const int top = r.top() + 20 - (points + 12) / 2;
        p->drawText(QRect(r.left() + 6, top, r.width() - 6 - 32, r.bottom() - top), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());

        // The band with the size and the two glyphs.
        const QRect band(r.right() - 30, r.top(), 31, r.height());
        p->setPen(menu);
        p->setBrush(menu);
        p->drawRect(band.adjusted(0, 0, -1, -1));
        QFont label(QStringLiteral("Tahoma"));
        label.setPointSize(7);
        p->setFont(label);
        p->setPen(Qt::black);
        p->drawText(QRect(r.right() - 28, r.top() + 20, 30, r.height() - 20), Qt::AlignLeft | Qt::AlignTop,
                    QString::number(index.data(StyleSizeRole).toInt()) + QStringLiteral(" pt"));
        p->drawImage(QPoint(r.right() - 30, r.top() + 3),
                     StyleGlyph(AlignmentGlyph(index.data(StyleAlignmentRole).toInt())));
        p->drawImage(QPoint(r.right() - 15, r.top() + 3), StyleGlyph(KindGlyph(index.data(StyleTypeRole).toInt())));
        p->restore();
    }
};

}  // namespace

TStyleCombo::TStyleCombo(QComboBox* box) : box_(box) {
    auto* delegate = new TStyleItemDelegate(box_);
    delegate_ = delegate;
    box_->setItemDelegate(delegate);
    box_->installEventFilter(this);
    popup_ = box_->view()->parentWidget();
    if (popup_) popup_->installEventFilter(this);
    AdjustDropDownWidth();
}

TStyleCombo::~TStyleCombo() {
    if (popup_) popup_->removeEventFilter(this);
    if (box_) {
        // The box draws its items as plain text again.
        box_->removeEventFilter(this);
        box_->setItemDelegate(new QStyledItemDelegate(box_));
        box_->update();
    }
    delete delegate_.data();
}

void TStyleCombo::FillList(const TStyles& styles) {
    box_->clear();
    for (int i = 1; i <= styles.Count(); ++i) {
        const TStyle& s = *styles.GetStyle(i);
        box_->addItem(FromCp1252(s.Name));
        const int row = box_->count() - 1;
        box_->setItemData(row, ListFont(s.Font), StyleFontRole);
        box_->setItemData(row, ColorFromBgr(s.Font.Color), StyleColorRole);
        box_->setItemData(row, s.Font.Size, StyleSizeRole);
        box_->setItemData(row, s.StyleType, StyleTypeRole);
        box_->setItemData(row, s.Alignment, StyleAlignmentRole);
    }
    AdjustDropDownWidth();
    box_->update();
}

int TStyleCombo::DropDownWidth() const {
    int widest = 0;
    for (int i = 0; i < box_->count(); ++i) {
        const QFontMetrics fm(box_->itemData(i, StyleFontRole).value<QFont>());
        widest = std::max(widest, fm.horizontalAdvance(box_->itemText(i)));
    }
    return widest + kStyleListExtra;
}

void TStyleCombo::AdjustDropDownWidth() {
    if (!box_) return;
    box_->view()->setMinimumWidth(DropDownWidth());
}

bool TStyleCombo::eventFilter(QObject* watched, QEvent* e) {
    if (watched == box_) {
        if (e->type() == QEvent::Paint) {
            paintClosedBox();
            return true;
        }
        if (e->type() == QEvent::Resize) AdjustDropDownWidth();
    } else if (watched == popup_ && e->type() == QEvent::Show) {
        // The list is as wide as its widest name, whatever the box's width.
        AdjustDropDownWidth();
        const int wanted = DropDownWidth();
        if (popup_->width() < wanted) popup_->resize(wanted, popup_->height());
    }
    return QObject::eventFilter(watched, e);
}

void TStyleCombo::paintClosedBox() {
    QStylePainter p(box_);
    QStyleOptionComboBox opt;
    opt.initFrom(box_);
    opt.editable = false;
    opt.frame = true;
    opt.subControls = QStyle::SC_All;
    if (box_->view()->isVisible()) opt.state |= QStyle::State_On;
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const int row = box_->currentIndex();
    if (row < 0) return;
    const QRect field = box_->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box_);
    const QImage& glyph = StyleGlyph(KindGlyph(box_->itemData(row, StyleTypeRole).toInt()));
    p.drawImage(QPoint(field.left() + 3, field.top() + (field.height() - glyph.height()) / 2), glyph);
    p.setPen(box_->palette().color(QPalette::ButtonText));
    p.setFont(box_->font());
    p.drawText(field.adjusted(19, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, box_->itemText(row));
}

}  // namespace qm
