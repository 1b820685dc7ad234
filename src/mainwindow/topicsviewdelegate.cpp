#include "mainwindow/topicsviewdelegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "editor/qtfont.h"
#include "util/cp1252.h"

namespace qm {

namespace {
const QColor kNavy(0, 0, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);
}  // namespace

TTopicsViewDelegate::TTopicsViewDelegate(const TOptions& options, RowInfo rowInfo, QIcon contentsIcon, QObject* parent)
    : QStyledItemDelegate(parent),
      options_(options),
      rowInfo_(std::move(rowInfo)),
      contentsIcon_(std::move(contentsIcon)) {}

void TTopicsViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(r, selected ? option.palette.highlight().color() : QColor(Qt::white));

    if (const auto row = rowInfo_ ? rowInfo_(index) : std::nullopt) {
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        // The text keeps clear of the grid lines at the top and bottom.
        const QRect textBand = r.adjusted(0, 1, 0, -1);

        QFont idFont = option.font;
        idFont.setBold(true);
        painter->setFont(idFont);
        painter->setPen(selected ? QColor(Qt::white) : kNavy);
        const QRect idRect(r.left() + kIdLeft, textBand.top(), kIdRight - kIdLeft, textBand.height());
        painter->drawText(
            idRect, flags,
            painter->fontMetrics().elidedText(QString::number(row->ContextId), Qt::ElideRight, idRect.width()));

        if (row->IsContents && !contentsIcon_.isNull())
            contentsIcon_.paint(painter, QRect(r.left() + kIconX, r.top() + r.height() / 2 - 8, 16, 16));

        const bool editing = row->State == 1;
        QFont nameFont = option.font;
        ApplyFontStyle(nameFont, editing ? options_.EditStyle : options_.DoneStyle);
        painter->setFont(nameFont);
        painter->setPen(selected ? QColor(Qt::white) : ColorFromBgr(editing ? options_.EditColor : options_.DoneColor));
        const QRect nameRect(r.left() + kNameLeft, textBand.top(), std::max(0, r.width() - kNameLeft),
                             textBand.height());
        const QString name = QString::fromStdU16String(Cp1252ToUtf16(row->Name));
        painter->drawText(nameRect, flags, painter->fontMetrics().elidedText(name, Qt::ElideRight, nameRect.width()));
    }

    painter->setPen(kSilver);
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter->drawLine(r.left(), r.top(), r.right(), r.top());
    painter->drawLine(r.left() + kSeparatorX, r.top(), r.left() + kSeparatorX, r.bottom());
    painter->restore();
}

QSize TTopicsViewDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    QFont idFont = option.font;
    idFont.setBold(true);
    int tallest = QFontMetrics(idFont).height();
    for (const std::uint8_t style : {options_.EditStyle, options_.DoneStyle}) {
        QFont nameFont = option.font;
        ApplyFontStyle(nameFont, style);
        tallest = std::max(tallest, QFontMetrics(nameFont).height());
    }
    // The fixed columns only: the name takes what the list's width leaves it.
    return QSize(kNameLeft, std::max({size.height(), tallest + 2, 18}));
}

}  // namespace qm
