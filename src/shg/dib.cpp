#include "shg/dib.h"

#include <algorithm>
#include <cstring>

#include "util/fileio.h"

namespace qm {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
// Far beyond any picture a help file shows; keeps sizes clear of overflow.
constexpr std::int64_t kMaxDimension = 0x7FFFFFFF;

bool SupportedBits(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::uint16_t GetU16(std::string_view d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[at]) | (static_cast<std::uint8_t>(d[at + 1]) << 8));
}

std::uint32_t GetU32(std::string_view d, std::size_t at) {
    return static_cast<std::uint32_t>(GetU16(d, at)) | (static_cast<std::uint32_t>(GetU16(d, at + 2)) << 16);
}

void PutU16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// Extracts the channel selected by `mask` and scales it to 0..255.
std::uint8_t MaskedChannel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    std::uint32_t m = mask >> shift;
    std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint8_t>((v * 255 + m / 2) / m);
}

// Decodes run-length pixels (8 or 4 bits) into uncompressed bottom-up rows of
// `d`. Writes outside the picture are dropped; a stream that ends early leaves
// the rest of the picture at index 0, as other readers do.
void DecodeBmpRunLength(std::string_view in, TDib& d) {
    const bool four = d.BitsPerPixel == 4;
    const auto stride = static_cast<std::size_t>(d.Stride());
    const auto width = static_cast<std::size_t>(d.Width);
    const auto height = static_cast<std::size_t>(d.Height);
    d.Bits.assign(stride * height, '\0');
    auto put = [&](std::size_t x, std::size_t y, std::uint8_t v) {
        if (x >= width || y >= height) return;
        char& b = d.Bits[y * stride + (four ? x / 2 : x)];
        if (!four)
            b = static_cast<char>(v);
        else if (x % 2 == 0)
            b = static_cast<char>((static_cast<std::uint8_t>(b) & 0x0F) | ((v & 0x0F) << 4));
        else
            b = static_cast<char>((static_cast<std::uint8_t>(b) & 0xF0) | (v & 0x0F));
    };
    std::size_t x = 0, y = 0, i = 0;
    auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(in[at]); };
    while (i + 1 < in.size() && y < height) {
        std::uint8_t count = byte(i), value = byte(i + 1);
        i += 2;
        if (count > 0) {
            for (std::size_t k = 0; k < count; ++k, ++x)
                put(x, y, four ? ((k % 2 == 0) ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // move right and up
            if (i + 1 >= in.size()) break;
            x += byte(i);
            y += byte(i + 1);
            i += 2;
        } else {  // literal run, padded to a 2-byte boundary
            std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (bytes > in.size() - i) bytes = in.size() - i;
            for (std::size_t k = 0; k < value; ++k, ++x) {
                std::size_t at = i + (four ? k / 2 : k);
                if (at >= i + bytes) break;
                put(x, y, four ? ((k % 2 == 0) ? byte(at) >> 4 : byte(at) & 0x0F) : byte(at));
            }
            i += bytes + (bytes & 1);
        }
    }
}

}  // namespace

EInvalidBitmap::EInvalidBitmap() : Error("Bitmap image is not valid.") {}

std::vector<TRgbQuad> DefaultPalette(std::uint16_t bitsPerPixel) {
    static const std::uint8_t kStandard[16][3] = {
        {0, 0, 0},       {0x80, 0, 0},       {0, 0x80, 0},       {0x80, 0x80, 0},   {0, 0, 0x80}, {0x80, 0, 0x80},
        {0, 0x80, 0x80}, {0x80, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {0xFF, 0, 0},      {0, 0xFF, 0}, {0xFF, 0xFF, 0},
        {0, 0, 0xFF},    {0xFF, 0, 0xFF},    {0, 0xFF, 0xFF},    {0xFF, 0xFF, 0xFF}};
    auto rgb = [](int r, int g, int b) {
        return TRgbQuad{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 0};
    };
    std::vector<TRgbQuad> pal;
    switch (bitsPerPixel) {
        case 1: pal = {rgb(0, 0, 0), rgb(0xFF, 0xFF, 0xFF)}; break;
        case 4:
            for (const auto& c : kStandard) pal.push_back(rgb(c[0], c[1], c[2]));
            break;
        case 8:
            for (const auto& c : kStandard) pal.push_back(rgb(c[0], c[1], c[2]));
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b) pal.push_back(rgb(r * 51, g * 51, b * 51));
            for (int i = 1; i <= 24; ++i) pal.push_back(rgb(i * 10, i * 10, i * 10));
            break;
        default: break;
    }
    return pal;
}

TDib TDib::Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    TDib d;
    d.Width = width;
    d.Height = height;
    d.BitsPerPixel = bitsPerPixel;
    d.Palette = DefaultPalette(bitsPerPixel);
    d.CheckValid();
    d.Bits.assign(static_cast<std::size_t>(d.ImageSize()), '\0');
    return d;
}

std::uint64_t TDib::RowBytes(std::uint64_t width, std::uint64_t bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

std::uint64_t TDib::Stride() const {
    if (Width <= 0) return 0;
    return RowBytes(static_cast<std::uint64_t>(Width), BitsPerPixel);
}

std::uint64_t TDib::ImageSize() const {
    if (Height <= 0) return 0;
    return Stride() * static_cast<std::uint64_t>(Height);
}

void TDib::CheckValid() const {
    if (Width <= 0 || Height <= 0 || !SupportedBits(BitsPerPixel)) throw EInvalidBitmap();
    // Both at most 2^31 - 1 and a stride of at most 2^34: the product fits.
    std::uint64_t size = ImageSize();
    if (size > 0x7FFFFFFF) throw EInvalidBitmap();
    if (!Bits.empty() && Bits.size() != size) throw EInvalidBitmap();
    if (BitsPerPixel <= 8 && Palette.size() > 256) throw EInvalidBitmap();
}

std::uint32_t TDib::PixelValue(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height || Bits.size() != ImageSize()) return 0;
    std::size_t row = static_cast<std::size_t>(Height - 1 - y) * static_cast<std::size_t>(Stride());
    const auto* p = reinterpret_cast<const std::uint8_t*>(Bits.data()) + row;
    auto ux = static_cast<std::size_t>(x);
    switch (BitsPerPixel) {
        case 1: return (p[ux / 8] >> (7 - ux % 8)) & 1;
        case 4: return (ux % 2 == 0) ? (p[ux / 2] >> 4) : (p[ux / 2] & 0x0F);
        case 8: return p[ux];
        case 16: return static_cast<std::uint32_t>(p[ux * 2] | (p[ux * 2 + 1] << 8));
        case 24: return static_cast<std::uint32_t>(p[ux * 3] | (p[ux * 3 + 1] << 8) | (p[ux * 3 + 2] << 16));
        case 32:
            return static_cast<std::uint32_t>(p[ux * 4]) | (static_cast<std::uint32_t>(p[ux * 4 + 1]) << 8) |
                   (static_cast<std::uint32_t>(p[ux * 4 + 2]) << 16);
        default: return 0;
    }
}

std::uint32_t TDib::PixelRgb(std::int32_t x, std::int32_t y) const {
    std::uint32_t v = PixelValue(x, y);
    if (BitsPerPixel <= 8) {
        if (v >= Palette.size()) return 0;
        const TRgbQuad& q = Palette[v];
        return (static_cast<std::uint32_t>(q.Red) << 16) | (q.Green << 8) | q.Blue;
    }
    if (BitsPerPixel == 16) {
        // 5 bits each of red, green and blue.
        std::uint32_t r = MaskedChannel(v, 0x7C00), g = MaskedChannel(v, 0x03E0), b = MaskedChannel(v, 0x001F);
        return (r << 16) | (g << 8) | b;
    }
    return v & 0xFFFFFF;  // stored blue, green, red
}

std::string TDib::SaveToBmp() const {
    CheckValid();
    if (Bits.size() != ImageSize()) throw EInvalidBitmap();
    auto paletteBytes = static_cast<std::uint32_t>(Palette.size() * 4);
    std::uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    auto imageSize = static_cast<std::uint32_t>(Bits.size());
    std::string out;
    out.reserve(offBits + imageSize);
    out += "BM";
    PutU32(out, offBits + imageSize);
    PutU32(out, 0);
    PutU32(out, offBits);
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(Width));
    PutU32(out, static_cast<std::uint32_t>(Height));
    PutU16(out, Planes);
    PutU16(out, BitsPerPixel);
    PutU32(out, kBiRgb);
    PutU32(out, imageSize);
    PutU32(out, static_cast<std::uint32_t>(XPelsPerMeter));
    PutU32(out, static_cast<std::uint32_t>(YPelsPerMeter));
    // A table shorter than the full one must be announced; a full one is
    // written as the figure the bitmap carries.
    std::uint32_t used = ColorsUsed;
    if (Palette.size() != used && !(used == 0 && BitsPerPixel <= 8 && Palette.size() == (1u << BitsPerPixel)))
        used = static_cast<std::uint32_t>(Palette.size());
    PutU32(out, used);
    PutU32(out, ColorsImportant);
    for (const TRgbQuad& q : Palette) {
        out.push_back(static_cast<char>(q.Blue));
        out.push_back(static_cast<char>(q.Green));
        out.push_back(static_cast<char>(q.Red));
        out.push_back(static_cast<char>(q.Reserved));
    }
    out += Bits;
    return out;
}

TDib TDib::LoadFromBmp(std::string_view data) {
    if (data.size() < kFileHeaderSize + kCoreHeaderSize || data[0] != 'B' || data[1] != 'M') throw EInvalidBitmap();
    std::uint32_t offBits = GetU32(data, 10);
    std::uint32_t headerSize = GetU32(data, kFileHeaderSize);
    if (headerSize < kCoreHeaderSize || headerSize > data.size() - kFileHeaderSize) throw EInvalidBitmap();
    const std::size_t h = kFileHeaderSize;

    TDib d;
    std::int64_t width = 0, height = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t paletteAt = h + headerSize;
    std::size_t entryBytes = 4;
    std::uint64_t paletteCount = 0;
    if (headerSize == kCoreHeaderSize) {
        width = GetU16(data, h + 4);
        height = GetU16(data, h + 6);
        d.Planes = GetU16(data, h + 8);
        d.BitsPerPixel = GetU16(data, h + 10);
        entryBytes = 3;
        if (d.BitsPerPixel <= 8) paletteCount = 1u << d.BitsPerPixel;
    } else {
        if (headerSize < kInfoHeaderSize) throw EInvalidBitmap();
        width = static_cast<std::int32_t>(GetU32(data, h + 4));
        height = static_cast<std::int32_t>(GetU32(data, h + 8));
        d.Planes = GetU16(data, h + 12);
        d.BitsPerPixel = GetU16(data, h + 14);
        compression = GetU32(data, h + 16);
        d.XPelsPerMeter = static_cast<std::int32_t>(GetU32(data, h + 24));
        d.YPelsPerMeter = static_cast<std::int32_t>(GetU32(data, h + 28));
        d.ColorsUsed = GetU32(data, h + 32);
        d.ColorsImportant = GetU32(data, h + 36);
        if (d.ColorsUsed != 0)
            paletteCount = d.ColorsUsed;
        else if (d.BitsPerPixel <= 8)
            paletteCount = 1u << d.BitsPerPixel;
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            // The masks follow a 40-byte header, or sit inside a longer one.
            std::size_t maskAt = h + kInfoHeaderSize;
            if (maskAt + 12 > data.size()) throw EInvalidBitmap();
            for (int i = 0; i < 3; ++i) masks[i] = GetU32(data, maskAt + 4 * static_cast<std::size_t>(i));
            if (headerSize == kInfoHeaderSize) paletteAt += (compression == kBiAlphaBitfields) ? 16 : 12;
        }
    }
    if (!SupportedBits(d.BitsPerPixel)) throw EInvalidBitmap();
    const bool runLength =
        (compression == kBiRle8 && d.BitsPerPixel == 8) || (compression == kBiRle4 && d.BitsPerPixel == 4);
    if (compression != kBiRgb && !runLength) {
        bool fields = (compression == kBiBitfields || compression == kBiAlphaBitfields) &&
                      (d.BitsPerPixel == 16 || d.BitsPerPixel == 32);
        if (!fields) throw EInvalidBitmap("Compressed bitmaps are not supported.");
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) throw EInvalidBitmap();
    d.Width = static_cast<std::int32_t>(width);
    d.Height = static_cast<std::int32_t>(height);

    // Colour table.
    if (paletteCount > 256 && d.BitsPerPixel <= 8) throw EInvalidBitmap();
    if (paletteAt > data.size() || paletteCount > (data.size() - paletteAt) / entryBytes) throw EInvalidBitmap();
    for (std::uint64_t i = 0; i < paletteCount; ++i) {
        std::size_t at = paletteAt + static_cast<std::size_t>(i) * entryBytes;
        TRgbQuad q;
        q.Blue = static_cast<std::uint8_t>(data[at]);
        q.Green = static_cast<std::uint8_t>(data[at + 1]);
        q.Red = static_cast<std::uint8_t>(data[at + 2]);
        if (entryBytes == 4) q.Reserved = static_cast<std::uint8_t>(data[at + 3]);
        d.Palette.push_back(q);
    }

    // Pixels.
    std::uint64_t stride = d.Stride();
    if (offBits > data.size()) throw EInvalidBitmap();
    if (runLength) {
        if (topDown) throw EInvalidBitmap();
        // Runs give at most 255 pixels for 2 bytes; only moves can skip more,
        // and no picture in a help file comes near 32 MB.
        std::uint64_t limit =
            std::max<std::uint64_t>((static_cast<std::uint64_t>(data.size() - offBits) + 2) * 128, 32u << 20);
        if (stride > limit || static_cast<std::uint64_t>(d.Height) > limit / stride) throw EInvalidBitmap();
        DecodeBmpRunLength(data.substr(offBits), d);
        d.CheckValid();
        return d;
    }
    std::uint64_t avail = data.size() - offBits;
    if (stride == 0 || stride > avail || static_cast<std::uint64_t>(d.Height) > avail / stride) throw EInvalidBitmap();
    std::string_view pixels = data.substr(offBits, static_cast<std::size_t>(stride * d.Height));
    if (!topDown) {
        d.Bits.assign(pixels);
    } else {
        d.Bits.resize(pixels.size());
        auto s = static_cast<std::size_t>(stride);
        for (std::size_t r = 0; r < static_cast<std::size_t>(d.Height); ++r)
            std::memcpy(&d.Bits[r * s], pixels.data() + (static_cast<std::size_t>(d.Height) - 1 - r) * s, s);
    }

    if (compression != kBiRgb) {
        // Channel masks: convert to plain 24-bit pixels so the picture can be
        // stored in a hypergraphic, which has no room for masks.
        TDib out = d;
        out.BitsPerPixel = 24;
        out.ColorsUsed = 0;
        out.ColorsImportant = 0;
        out.Palette.clear();
        out.Bits.clear();
        out.CheckValid();
        out.Bits.assign(static_cast<std::size_t>(out.ImageSize()), '\0');
        std::size_t outStride = static_cast<std::size_t>(out.Stride());
        int bytes = d.BitsPerPixel / 8;
        for (std::size_t r = 0; r < static_cast<std::size_t>(d.Height); ++r) {
            const auto* src = reinterpret_cast<const std::uint8_t*>(d.Bits.data()) + r * stride;
            auto* dst = reinterpret_cast<std::uint8_t*>(out.Bits.data()) + r * outStride;
            for (std::size_t x = 0; x < static_cast<std::size_t>(d.Width); ++x) {
                std::uint32_t v = 0;
                for (int b = 0; b < bytes; ++b) v |= static_cast<std::uint32_t>(src[x * bytes + b]) << (8 * b);
                dst[x * 3] = MaskedChannel(v, masks[2]);
                dst[x * 3 + 1] = MaskedChannel(v, masks[1]);
                dst[x * 3 + 2] = MaskedChannel(v, masks[0]);
            }
        }
        return out;
    }
    d.CheckValid();
    return d;
}

TDib TDib::LoadFromFile(std::string_view fileName) { return LoadFromBmp(ReadWholeFile(fileName)); }

void TDib::SaveToFile(std::string_view fileName) const { WriteFileAtomic(fileName, SaveToBmp()); }

}  // namespace qm
