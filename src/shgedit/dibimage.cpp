#include "shgedit/dibimage.h"

#include <array>
#include <cstdint>

namespace qm::shgedit {

namespace {

// A 5-bit channel of a 16-bit pixel scaled to 0..255, as TDib::PixelRgb does.
std::uint32_t Scale5(std::uint32_t c) { return (c * 255 + 15) / 31; }

}  // namespace

QImage DibToImage(const TDib& dib) {
    if (dib.Width <= 0 || dib.Height <= 0 || dib.Bits.size() < dib.ImageSize()) return {};
    QImage image(dib.Width, dib.Height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const int w = dib.Width;
    if (dib.Bits.size() != dib.ImageSize()) {
        // Pixels are read only from a buffer of the exact size: pixel by pixel.
        for (int y = 0; y < dib.Height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) line[x] = 0xFF000000u | dib.PixelRgb(x, y);
        }
        return image;
    }
    // Row by row from the stored rows (bottom row first): a large picture
    // opens in the time of one pass over its bytes.
    std::array<QRgb, 256> colours{};
    if (dib.BitsPerPixel <= 8)
        for (std::size_t i = 0; i < colours.size(); ++i) {
            // An index beyond the palette is black.
            const TRgbQuad q = i < dib.Palette.size() ? dib.Palette[i] : TRgbQuad{};
            colours[i] = 0xFF000000u | (std::uint32_t(q.Red) << 16) | (std::uint32_t(q.Green) << 8) | q.Blue;
        }
    const auto stride = static_cast<std::size_t>(dib.Stride());
    const auto* bits = reinterpret_cast<const std::uint8_t*>(dib.Bits.data());
    for (int y = 0; y < dib.Height; ++y) {
        const std::uint8_t* p = bits + static_cast<std::size_t>(dib.Height - 1 - y) * stride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (dib.BitsPerPixel) {
            case 1:
                for (int x = 0; x < w; ++x) line[x] = colours[(p[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                for (int x = 0; x < w; ++x) line[x] = colours[x % 2 == 0 ? p[x / 2] >> 4 : p[x / 2] & 0x0F];
                break;
            case 8:
                for (int x = 0; x < w; ++x) line[x] = colours[p[x]];
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = p[2 * x] | (std::uint32_t(p[2 * x + 1]) << 8);
                    line[x] =
                        0xFF000000u | (Scale5((v >> 10) & 31) << 16) | (Scale5((v >> 5) & 31) << 8) | Scale5(v & 31);
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x, p += 3)
                    line[x] = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                break;
            case 32:
                for (int x = 0; x < w; ++x, p += 4)
                    line[x] = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                break;
            default:
                for (int x = 0; x < w; ++x) line[x] = 0xFF000000u | dib.PixelRgb(x, y);
                break;
        }
    }
    return image;
}

}  // namespace qm::shgedit
