#include "dialogs/styleglyphs.h"

#include <QIcon>
#include <QPainter>
#include <array>

#include "widgets/icons.h"

namespace qm {

const QImage& StyleGlyph(TStyleGlyph glyph) {
    static std::array<QImage, 5> cache;
    QImage& image = cache[static_cast<std::size_t>(glyph)];
    if (image.isNull()) {
        image = QImage(kStyleGlyphSize, kStyleGlyphSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        imlCommands()
            .Glyph(kGlyphCharacterStyle + static_cast<int>(glyph))
            .paint(&p, QRect(0, 0, kStyleGlyphSize, kStyleGlyphSize));
    }
    return image;
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
