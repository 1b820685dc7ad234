#pragma once
// The core's fonts and colours at the toolkit edge. Colours are kept as
// stored, 0x00BBGGRR; fonts as face, point size, style bits and colour.
#include <cstdint>

#include <QColor>
#include <QFont>

#include "model/styles.h"

namespace qm {

class TTextAttributes2;

QColor ColorFromBgr(std::int32_t bgr);
std::int32_t BgrFromColor(const QColor& color);

// Sets bold, italic, underline and strikeout from the kFont* bits.
void ApplyFontStyle(QFont& font, std::uint8_t styleBits);
std::uint8_t FontStyleBits(const QFont& font);

// The toolkit font of a core font (its colour is separate: ColorFromBgr).
QFont ToQFont(const TFontInfo& info);
TFontInfo FromQFont(const QFont& font, const QColor& color);

// The face, size, style bits and colour of the editor's attributes, the
// automatic colour as the colour it shows.
TFontInfo FontInfoOf(const TTextAttributes2& attributes);

}  // namespace qm
