#pragma once
// A device-independent bitmap as a .bmp file holds it: the figures of its
// information header, its colour table and its pixel rows, bottom row first,
// each row padded to a multiple of 4 bytes. Bit depths are kept as stored, so
// the picture figures shown to the user and the bytes written back stay true.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/errors.h"

namespace qm {

// A colour-table entry as stored: blue, green, red, reserved.
struct TRgbQuad {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;
    bool operator==(const TRgbQuad&) const = default;
};

// A bitmap that cannot be read, or one whose figures do not fit its data.
class EInvalidBitmap : public Error {
public:
    EInvalidBitmap();
    explicit EInvalidBitmap(const std::string& message) : Error(message) {}
};

class TDib {
public:
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint16_t Planes = 1;
    std::uint16_t BitsPerPixel = 0;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    // The header's figure: 0 means a full table of 2^bits entries for 8 bits
    // or fewer and none above. `Palette` always holds the entries themselves.
    std::uint32_t ColorsUsed = 0;
    std::uint32_t ColorsImportant = 0;
    std::vector<TRgbQuad> Palette;
    // Pixel rows, bottom row first, each `Stride()` bytes.
    std::string Bits;

    // A blank (all zero) bitmap with the default palette of its bit count.
    static TDib Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel);

    // Bytes per stored row for a bit count and width (padded to 4 bytes).
    static std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bitsPerPixel);
    std::uint64_t Stride() const;
    // Bytes of pixel data: Height x Stride().
    std::uint64_t ImageSize() const;

    // Throws EInvalidBitmap when the figures and the data disagree.
    void CheckValid() const;

    // The stored value of a pixel; (0, 0) is the top-left corner. For 8 bits
    // or fewer it is the palette index.
    std::uint32_t PixelValue(std::int32_t x, std::int32_t y) const;
    // The pixel's colour as 0xRRGGBB (black for an index beyond the palette).
    std::uint32_t PixelRgb(std::int32_t x, std::int32_t y) const;

    // A standard .bmp file: 14-byte file header, 40-byte information header,
    // colour table, pixels.
    std::string SaveToBmp() const;
    // Reads a standard .bmp file (core, information and later headers;
    // uncompressed, and bit fields for 16 and 32 bits).
    static TDib LoadFromBmp(std::string_view data);

    static TDib LoadFromFile(std::string_view fileName);
    // Saves through the atomic writer.
    void SaveToFile(std::string_view fileName) const;

    bool operator==(const TDib&) const = default;
};

// The palette a bitmap of `bitsPerPixel` has when none is stored: black and
// white for 1 bit, the 16 standard colours for 4, and for 8 the 16 standard
// colours, a 6 x 6 x 6 colour cube and a grey ramp. Empty above 8 bits.
std::vector<TRgbQuad> DefaultPalette(std::uint16_t bitsPerPixel);

}  // namespace qm
