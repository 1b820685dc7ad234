#include "editor/qtfont.h"

#include <algorithm>

#include "editor/richtext2.h"
#include "model/options.h"
#include "util/cp1252.h"

namespace qm {

QColor ColorFromBgr(std::int32_t bgr) {
    const auto u = static_cast<std::uint32_t>(bgr);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF));
}

std::int32_t BgrFromColor(const QColor& color) {
    const QColor c = color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) |
                                     (static_cast<std::uint32_t>(c.green()) << 8) |
                                     (static_cast<std::uint32_t>(c.blue()) << 16));
}

void ApplyFontStyle(QFont& font, std::uint8_t styleBits) {
    font.setBold(styleBits & kFontBold);
    font.setItalic(styleBits & kFontItalic);
    font.setUnderline(styleBits & kFontUnderline);
    font.setStrikeOut(styleBits & kFontStrikeOut);
}

std::uint8_t FontStyleBits(const QFont& font) {
    std::uint8_t bits = 0;
    if (font.bold()) bits |= kFontBold;
    if (font.italic()) bits |= kFontItalic;
    if (font.underline()) bits |= kFontUnderline;
    if (font.strikeOut()) bits |= kFontStrikeOut;
    return bits;
}

QFont ToQFont(const TFontInfo& info) {
    QFont font(QString::fromStdU16String(Cp1252ToUtf16(info.Name)));
    // A size the toolkit cannot take would give a default-sized font anyway; keep it valid.
    font.setPointSize(std::clamp(info.Size, kMinFontSize, kMaxFontSize));
    ApplyFontStyle(font, info.Style);
    return font;
}

TFontInfo FromQFont(const QFont& font, const QColor& color) {
    TFontInfo info;
    info.Name = Utf16ToCp1252(font.family().toStdU16String());
    info.Size = font.pointSize() > 0 ? font.pointSize() : static_cast<std::int32_t>(font.pointSizeF() + 0.5);
    info.Style = FontStyleBits(font);
    info.Color = BgrFromColor(color);
    return info;
}

TFontInfo FontInfoOf(const TTextAttributes2& attributes) {
    TFontInfo font;
    font.Name = attributes.GetName();
    font.Size = attributes.GetSize();
    font.Style = static_cast<std::uint8_t>(attributes.GetStyle());
    font.Color = static_cast<std::int32_t>(ColorToRGB(attributes.GetColor()));
    return font;
}

}  // namespace qm
