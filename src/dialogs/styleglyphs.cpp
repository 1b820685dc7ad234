#include "dialogs/styleglyphs.h"

#include <QFont>
#include <QPainter>
#include <array>

namespace qm {

namespace {

QImage Draw(TStyleGlyph glyph) {
    QImage pm(kStyleGlyphSize, kStyleGlyphSize, QImage::Format_ARGB32_Premultiplied);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QColor ink(0x20, 0x20, 0x60);
    switch (glyph) {
        case TStyleGlyph::CharacterStyle:
        case TStyleGlyph::ParagraphStyle: {
            QFont f(QStringLiteral("Serif"));
            f.setPixelSize(12);
            f.setBold(true);
            p.setFont(f);
            p.setPen(ink);
            p.drawText(QRect(0, 0, kStyleGlyphSize, kStyleGlyphSize), Qt::AlignCenter,
                       glyph == TStyleGlyph::CharacterStyle ? QStringLiteral("a") : QString(QChar(0x00B6)));
            break;
        }
        case TStyleGlyph::AlignLeft:
        case TStyleGlyph::AlignCenter:
        case TStyleGlyph::AlignRight: {
            // Four lines, long and short in turn, set as the alignment sets text.
            p.setPen(ink);
            for (int i = 0; i < 4; ++i) {
                const int length = i % 2 == 0 ? 11 : 7;
                const int y = 3 + i * 3;
                int x = 1;
                if (glyph == TStyleGlyph::AlignCenter) x = 1 + (11 - length) / 2;
                if (glyph == TStyleGlyph::AlignRight) x = 1 + 11 - length;
                p.drawLine(x, y, x + length - 1, y);
            }
            break;
        }
    }
    return pm;
}

}  // namespace

const QImage& StyleGlyph(TStyleGlyph glyph) {
    static std::array<QImage, 5> cache;
    QImage& pm = cache[static_cast<std::size_t>(glyph)];
    if (pm.isNull()) pm = Draw(glyph);
    return pm;
}

TStyleGlyph KindGlyph(int styleType) {
    return styleType == 1 ? TStyleGlyph::ParagraphStyle : TStyleGlyph::CharacterStyle;
}

TStyleGlyph AlignmentGlyph(int alignment) {
    if (alignment == 0) return TStyleGlyph::AlignLeft;
    if (alignment == 2) return TStyleGlyph::AlignCenter;
    return TStyleGlyph::AlignRight;
}

}  // namespace qm
