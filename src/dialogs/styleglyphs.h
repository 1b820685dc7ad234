#pragma once
// The small pictures beside styles in the style box and the style dialogs:
// the style's kind (character or paragraph) and its alignment. They are
// glyphs 37 to 41 of the commands' image list (widgets/icons.h), in the
// order of TStyleGlyph.
#include <QImage>

namespace qm {

enum class TStyleGlyph { CharacterStyle, ParagraphStyle, AlignLeft, AlignCenter, AlignRight };

// Each glyph is kStyleGlyphSize pixels square, drawn once and kept.
inline constexpr int kStyleGlyphSize = 16;
const QImage& StyleGlyph(TStyleGlyph glyph);

// The glyph of a style type (1 paragraph, anything else character).
TStyleGlyph KindGlyph(int styleType);
// The glyph of an alignment (0 left, 2 centre, anything else right).
TStyleGlyph AlignmentGlyph(int alignment);

}  // namespace qm
