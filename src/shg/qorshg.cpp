#include "shg/qorshg.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "util/fileio.h"

namespace qm {

namespace {

constexpr std::uint16_t kMagic = 0x706C;        // "lp": the form this program writes
constexpr std::uint16_t kMagicEditor = 0x506C;  // "lP": the platform's own hotspot editor
constexpr std::uint8_t kTypeDdb = 5;
constexpr std::uint8_t kTypeDib = 6;
constexpr std::uint32_t kMaxField = 0x7FFFFFFF;  // the largest compressed dword
constexpr std::size_t kRecordSize = 15;
constexpr std::size_t kBlockHeaderSize = 7;
constexpr std::int32_t kMaxHotspots = 0x7FFF;  // the count is read as signed 16 bits

void PutU16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A record stores each coordinate in 16 unsigned bits.
std::uint32_t ClampCoord(std::int32_t v) {
    if (v < 0) return 0;
    if (v > 0xFFFF) return 0xFFFF;
    return static_cast<std::uint32_t>(v);
}

// Cut at the first NUL: the file separates its strings with NUL.
std::string_view UpToNul(std::string_view s) {
    auto p = s.find('\0');
    return p == std::string_view::npos ? s : s.substr(0, p);
}

std::array<std::uint8_t, 256> MakeHashTable() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        int v = 0;
        if (c == 0)
            v = 0;
        else if (c <= 0x2F)
            v = c == '!' ? 11 : c == '.' ? 12 : c + 208;
        else if (c == '0')
            v = 10;
        else if (c <= '9')
            v = c - '0';
        else if (c <= 0x40)
            v = c - 48;
        else if (c <= 'Z')
            v = c - 'A' + 17;
        else if (c <= 0x60) {
            static const int punct[6] = {11, 12, 13, 14, 13, 16};  // [ \ ] ^ _ `
            v = punct[c - '['];
        } else if (c <= 'z')
            v = c - 'a' + 17;
        else if (c <= 0x7F)
            v = c - '{' + 43;
        else
            v = c == 0xB4 ? 11 : c - 48;
        t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(v);
    }
    return t;
}

// The most bytes one packed byte can turn into, for each packing: none,
// run-length (2 bytes give 127), LZ77 (17 bytes give 144), run-length in LZ77.
std::uint64_t MaxExpansion(std::uint8_t packing) {
    switch (packing) {
        case 0: return 1;
        case 1: return 64;
        case 2: return 9;
        default: return 9 * 64;
    }
}

}  // namespace

// ---- TShgInput --------------------------------------------------------------

std::uint8_t TShgInput::ReadByte() {
    if (remaining() < 1) throw EInvalidShgFile();
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint16_t TShgInput::ReadWord() {
    std::uint16_t lo = ReadByte();
    std::uint16_t hi = ReadByte();
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::string_view TShgInput::ReadBytes(std::size_t n) {
    if (n > remaining()) throw EInvalidShgFile();
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
}

std::string TShgInput::ReadString() {
    auto end = data_.find('\0', pos_);
    if (end == std::string_view::npos) throw EInvalidShgFile();
    std::string s(data_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return s;
}

// ---- resolution -------------------------------------------------------------

std::int32_t PelsPerMeterToDpi(std::int32_t pelsPerMeter) {
    if (pelsPerMeter <= 0) return 0;
    // 1 inch = 0.0254 m, rounded to the nearest dot.
    return static_cast<std::int32_t>((static_cast<std::int64_t>(pelsPerMeter) * 254 + 5000) / 10000);
}

std::int32_t DpiToPelsPerMeter(std::uint32_t dpi) {
    std::int64_t ppm = (static_cast<std::int64_t>(dpi) * 10000 + 127) / 254;
    return ppm > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(ppm);
}

// ---- THotspots --------------------------------------------------------------

THotspot& THotspots::Add(const THotspot& hotspot) {
    items_.push_back(std::make_unique<THotspot>(hotspot));
    return *items_.back();
}

THotspot& THotspots::GetItem(std::int32_t index) {
    if (index < 0 || index >= Count()) throw Error("Hotspot index out of range.");
    return *items_[static_cast<std::size_t>(index)];
}

const THotspot& THotspots::GetItem(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw Error("Hotspot index out of range.");
    return *items_[static_cast<std::size_t>(index)];
}

void THotspots::Delete(std::int32_t index) {
    if (index < 0 || index >= Count()) throw Error("Hotspot index out of range.");
    items_.erase(items_.begin() + index);
}

std::int32_t THotspots::HitTest(std::int32_t x, std::int32_t y) const {
    for (std::int32_t i = Count() - 1; i >= 0; --i) {
        const THotspot& h = *items_[static_cast<std::size_t>(i)];
        if (h.Left <= x && x < h.Right && h.Top <= y && y < h.Bottom) return i;
    }
    return -1;
}

bool THotspots::operator==(const THotspots& other) const {
    if (items_.size() != other.items_.size()) return false;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!(*items_[i] == *other.items_[i])) return false;
    return true;
}

std::int32_t THotspots::ContextHash(std::string_view name) {
    static const std::array<std::uint8_t, 256> table = MakeHashTable();
    std::uint32_t h = 0;  // wraps in 32 bits
    for (char c : name) h = h * 43 + table[static_cast<std::uint8_t>(c)];
    return static_cast<std::int32_t>(h);
}

void THotspots::SaveToStream(std::string& stream) const {
    if (Count() > kMaxHotspots) throw Error("A picture can hold at most 32767 hotspots.");
    std::string records;
    std::string strings;  // macro data first, then the ID and target strings
    std::uint32_t macroOffset = 0;
    for (const auto& p : items_) {
        const THotspot& h = *p;
        std::uint8_t type = 0;
        switch (h.Kind) {
            case THotspotKind::Popup: type = h.Visible ? 0xE2 : 0xE6; break;
            case THotspotKind::Jump: type = h.Visible ? 0xE3 : 0xE7; break;
            case THotspotKind::Macro: type = h.Visible ? 0xC8 : 0xCC; break;
        }
        records.push_back(static_cast<char>(type));
        records.push_back(static_cast<char>(h.Visible ? 0 : 4));
        records.push_back('\0');
        // A rectangle dragged up or left is stored the right way round.
        std::uint32_t l = ClampCoord(std::min(h.Left, h.Right));
        std::uint32_t r = ClampCoord(std::max(h.Left, h.Right));
        std::uint32_t t = ClampCoord(std::min(h.Top, h.Bottom));
        std::uint32_t b = ClampCoord(std::max(h.Top, h.Bottom));
        PutU16(records, l);
        PutU16(records, t);
        PutU16(records, r - l);
        PutU16(records, b - t);
        if (h.Kind == THotspotKind::Macro) {
            std::string_view macro = UpToNul(h.Macro);
            PutU32(records, macroOffset);
            strings.append(macro);
            strings.push_back('\0');
            macroOffset += static_cast<std::uint32_t>(macro.size() + 1);
        } else {
            PutU32(records, static_cast<std::uint32_t>(ContextHash(UpToNul(h.Context))));
        }
    }
    for (const auto& p : items_) {
        const THotspot& h = *p;
        strings.append(UpToNul(h.ID));
        strings.push_back('\0');
        strings.append(UpToNul(h.Kind == THotspotKind::Macro ? h.Macro : h.Context));
        strings.push_back('\0');
    }
    stream.push_back('\x01');
    PutU16(stream, static_cast<std::uint32_t>(Count()));
    PutU32(stream, macroOffset);
    stream += records;
    stream += strings;
}

void THotspots::LoadFromStream(std::string_view block) {
    TShgInput in(block);
    in.ReadByte();  // block marker
    auto n = static_cast<std::int16_t>(in.ReadWord());
    auto macroSize = static_cast<std::int32_t>(TShg::ReadDword(in));
    std::vector<std::unique_ptr<THotspot>> items;
    if (n > 0) {
        if (static_cast<std::size_t>(n) * kRecordSize > in.remaining()) throw EInvalidShgFile();
        for (std::int16_t i = 0; i < n; ++i) {
            auto h = std::make_unique<THotspot>();
            std::uint8_t type = in.ReadByte();
            std::uint8_t attr = in.ReadByte();
            in.ReadByte();
            std::int32_t x = in.ReadWord(), y = in.ReadWord(), w = in.ReadWord(), hh = in.ReadWord();
            TShg::ReadDword(in);  // hash or macro offset: the strings repeat what is needed
            h->Left = x;
            h->Top = y;
            h->Right = x + w;
            h->Bottom = y + hh;
            h->Visible = attr == 0;
            if (type == 0xC8 || type == 0xCC)
                h->Kind = THotspotKind::Macro;
            else if (type == 0xE2 || type == 0xE6 || type == 0xEA || type == 0xEE)
                h->Kind = THotspotKind::Popup;
            else
                h->Kind = THotspotKind::Jump;
            items.push_back(std::move(h));
        }
    }
    if (macroSize > 0) in.ReadBytes(static_cast<std::size_t>(macroSize));
    for (auto& h : items) {
        // Read whole: long macros must survive a load and a save.
        h->ID = in.ReadString();
        std::string target = in.ReadString();
        if (h->Kind == THotspotKind::Macro)
            h->Macro = std::move(target);
        else
            h->Context = std::move(target);
    }
    items_ = std::move(items);
}

// ---- TShg: integers and unpacking -----------------------------------------

int TShg::WriteCompressedWord(std::string& stream, std::uint32_t value) {
    if (value < 128) {
        stream.push_back(static_cast<char>(value * 2));
        return 1;
    }
    PutU16(stream, (value * 2 + 1) & 0xFFFF);
    return 2;
}

int TShg::WriteCompressedDword(std::string& stream, std::uint32_t value) {
    if (value < 32768) {
        PutU16(stream, value * 2);
        return 2;
    }
    PutU32(stream, value * 2 + 1);
    return 4;
}

std::uint32_t TShg::ReadCompressedWord(TShgInput& stream) {
    std::uint32_t b = stream.ReadByte();
    if ((b & 1) == 0) return b >> 1;
    std::uint32_t hi = stream.ReadByte();
    return (b | (hi << 8)) >> 1;
}

std::uint32_t TShg::ReadCompressedDword(TShgInput& stream) {
    std::uint32_t lo = stream.ReadWord();
    if ((lo & 1) == 0) return lo >> 1;
    std::uint32_t hi = stream.ReadWord();
    return (lo | (hi << 16)) >> 1;
}

std::uint32_t TShg::ReadDword(TShgInput& stream) {
    std::uint32_t lo = stream.ReadWord();
    std::uint32_t hi = stream.ReadWord();
    return lo | (hi << 16);
}

std::size_t TShg::UnpackRunLength(std::string_view packed, std::string& target, std::size_t limit) {
    std::size_t start = target.size();
    std::uint32_t n = 0;
    for (char ch : packed) {
        if (target.size() - start >= limit) break;
        auto c = static_cast<std::uint8_t>(ch);
        if ((n & 0x7F) == 0) {
            n = c;
        } else if (n & 0x80) {
            target.push_back(static_cast<char>(c));
            --n;
        } else {
            std::size_t k = std::min<std::size_t>(n, limit - (target.size() - start));
            target.append(k, static_cast<char>(c));
            n = 0;
        }
    }
    return target.size() - start;
}

std::size_t TShg::UnpackLz77(std::string_view packed, std::string& target, std::size_t limit) {
    std::size_t start = target.size();
    std::size_t i = 0;
    while (i < packed.size() && target.size() - start < limit) {
        auto flags = static_cast<std::uint8_t>(packed[i++]);
        for (int bit = 0; bit < 8 && i < packed.size() && target.size() - start < limit; ++bit) {
            if ((flags & (1u << bit)) == 0) {
                target.push_back(packed[i++]);
                continue;
            }
            if (packed.size() - i < 2) throw EInvalidShgFile();
            std::uint32_t code = static_cast<std::uint8_t>(packed[i]) |
                                 (static_cast<std::uint32_t>(static_cast<std::uint8_t>(packed[i + 1])) << 8);
            i += 2;
            std::size_t distance = (code & 0x0FFF) + 1;
            std::size_t length = (code >> 12) + 3;
            if (distance > target.size() - start) throw EInvalidShgFile();
            length = std::min(length, limit - (target.size() - start));
            // Byte by byte: a reference may overlap what it produces.
            for (std::size_t k = 0; k < length; ++k) target.push_back(target[target.size() - distance]);
        }
    }
    return target.size() - start;
}

// ---- TShg: files ----------------------------------------------------------

std::string TShg::SaveToBytes() const {
    if (!Bitmap) throw Error("There is no picture to save.");
    const TDib& dib = *Bitmap;
    dib.CheckValid();
    if (dib.Bits.size() != dib.ImageSize()) throw EInvalidBitmap();
    // Every reader expects the palette that the colours-used figure announces,
    // and 0 would announce a full one: always store and count the real table.
    std::vector<TRgbQuad> palette = dib.Palette;
    if (palette.empty() && dib.BitsPerPixel <= 8) palette = DefaultPalette(dib.BitsPerPixel);
    auto colors = static_cast<std::uint32_t>(palette.size());
    auto imageSize = static_cast<std::uint32_t>(dib.Bits.size());

    std::string hotspots;
    if (Hotspots.Count() > 0) Hotspots.SaveToStream(hotspots);

    std::string out;
    PutU16(out, kMagic);
    PutU16(out, 1);
    PutU32(out, 8);
    out.push_back(static_cast<char>(kTypeDib));
    out.push_back('\0');  // stored as is
    std::uint32_t counted = 0;
    counted += WriteCompressedDword(out, static_cast<std::uint32_t>(PelsPerMeterToDpi(dib.XPelsPerMeter)));
    counted += WriteCompressedDword(out, static_cast<std::uint32_t>(PelsPerMeterToDpi(dib.YPelsPerMeter)));
    counted += WriteCompressedWord(out, std::min<std::uint32_t>(dib.Planes, 0x7FFF));
    counted += WriteCompressedWord(out, dib.BitsPerPixel);
    counted += WriteCompressedDword(out, static_cast<std::uint32_t>(dib.Width));
    counted += WriteCompressedDword(out, static_cast<std::uint32_t>(dib.Height));
    counted += WriteCompressedDword(out, colors);
    counted += WriteCompressedDword(out, std::min(dib.ColorsImportant, kMaxField));
    counted += WriteCompressedDword(out, imageSize);
    counted += WriteCompressedDword(out, static_cast<std::uint32_t>(hotspots.size()));
    std::uint32_t imageOffset = counted + 10 + 4 * colors;
    PutU32(out, imageOffset);
    PutU32(out, hotspots.empty() ? 0 : imageOffset + imageSize);
    for (const TRgbQuad& q : palette) {
        out.push_back(static_cast<char>(q.Blue));
        out.push_back(static_cast<char>(q.Green));
        out.push_back(static_cast<char>(q.Red));
        out.push_back(static_cast<char>(q.Reserved));
    }
    out += dib.Bits;
    out += hotspots;
    return out;
}

bool TShg::SaveToFile(std::string_view fileName) const {
    WriteFileAtomic(fileName, SaveToBytes());
    return true;
}

void TShg::LoadFromBytes(std::string_view data) {
    TShgInput file(data);
    std::uint16_t magic = file.ReadWord();
    if (magic != kMagic && magic != kMagicEditor) throw EInvalidShgFile();
    std::uint16_t pictures = file.ReadWord();
    std::uint32_t pictureOffset = ReadDword(file);
    // The first picture sits where the header says, past the offset table.
    if (pictures == 0 || pictureOffset < 4u + 4u * pictures || pictureOffset >= data.size()) throw EInvalidShgFile();
    std::string_view picture = data.substr(pictureOffset);
    TShgInput in(picture);

    std::uint8_t type = in.ReadByte();
    std::uint8_t packing = in.ReadByte();
    if (type != kTypeDib && type != kTypeDdb)
        throw EInvalidShgFile("This segmented hypergraphic holds a picture of type " + std::to_string(type) +
                              ", which cannot be read: only bitmaps (types 5 and 6) are supported.");
    if (packing > 3)
        throw EInvalidShgFile("This segmented hypergraphic uses the unknown packing method " + std::to_string(packing) +
                              ".");

    auto dib = std::make_unique<TDib>();
    std::uint32_t xDpi = ReadCompressedDword(in);
    std::uint32_t yDpi = ReadCompressedDword(in);
    std::uint32_t planes = ReadCompressedWord(in);
    std::uint32_t bits = ReadCompressedWord(in);
    std::uint32_t width = ReadCompressedDword(in);
    std::uint32_t height = ReadCompressedDword(in);
    std::uint32_t colorsUsed = ReadCompressedDword(in);
    std::uint32_t colorsImportant = ReadCompressedDword(in);
    std::uint32_t imageSize = ReadCompressedDword(in);
    std::uint32_t hotspotSize = ReadCompressedDword(in);
    std::uint32_t imageOffset = ReadDword(in);
    std::uint32_t hotspotOffset = ReadDword(in);
    if (width == 0 || height == 0 || !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        throw EInvalidShgFile();
    dib->XPelsPerMeter = DpiToPelsPerMeter(xDpi);
    dib->YPelsPerMeter = DpiToPelsPerMeter(yDpi);
    dib->Planes = static_cast<std::uint16_t>(planes);
    dib->BitsPerPixel = static_cast<std::uint16_t>(bits);
    dib->Width = static_cast<std::int32_t>(width);
    dib->Height = static_cast<std::int32_t>(height);
    dib->ColorsImportant = colorsImportant;

    if (type == kTypeDib) {
        // Colours used 0 means a full table for 8 bits or fewer.
        std::uint64_t count = colorsUsed != 0 ? colorsUsed : (bits <= 8 ? (1u << bits) : 0);
        if (bits <= 8 && count > 256) throw EInvalidShgFile();
        if (count > in.remaining() / 4) throw EInvalidShgFile();
        std::string_view raw = in.ReadBytes(static_cast<std::size_t>(count) * 4);
        dib->Palette.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < dib->Palette.size(); ++i) {
            TRgbQuad& q = dib->Palette[i];
            q.Blue = static_cast<std::uint8_t>(raw[i * 4]);
            q.Green = static_cast<std::uint8_t>(raw[i * 4 + 1]);
            q.Red = static_cast<std::uint8_t>(raw[i * 4 + 2]);
            q.Reserved = static_cast<std::uint8_t>(raw[i * 4 + 3]);
        }
        dib->ColorsUsed = colorsUsed;
    } else {
        // A device-dependent bitmap stores no palette.
        dib->Palette = DefaultPalette(static_cast<std::uint16_t>(bits));
        dib->ColorsUsed = 0;
    }

    if (imageOffset > picture.size() || imageSize > picture.size() - imageOffset) throw EInvalidShgFile();
    std::string_view packed = picture.substr(imageOffset, imageSize);
    // Device-dependent rows are padded to 2 bytes and run top to bottom.
    std::uint64_t sourceStride =
        type == kTypeDib ? TDib::RowBytes(width, bits) : ((static_cast<std::uint64_t>(width) * bits + 15) / 16) * 2;
    std::uint64_t bound =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(imageSize) * MaxExpansion(packing), kMaxField);
    if (sourceStride > bound || height > bound / sourceStride) throw EInvalidShgFile();
    if (dib->Stride() * height > kMaxField) throw EInvalidShgFile();
    auto expected = static_cast<std::size_t>(sourceStride * height);

    std::string pixels;
    pixels.reserve(expected);
    switch (packing) {
        case 0: pixels.assign(packed.substr(0, expected)); break;
        case 1: UnpackRunLength(packed, pixels, expected); break;
        case 2: UnpackLz77(packed, pixels, expected); break;
        default: {
            std::string runs;
            UnpackLz77(packed, runs, std::min<std::uint64_t>(static_cast<std::uint64_t>(imageSize) * 9, kMaxField));
            UnpackRunLength(runs, pixels, expected);
            break;
        }
    }
    if (pixels.size() < expected) throw EInvalidShgFile();

    if (type == kTypeDib) {
        dib->Bits = std::move(pixels);
    } else {
        auto src = static_cast<std::size_t>(sourceStride);
        auto dst = static_cast<std::size_t>(dib->Stride());
        auto rows = static_cast<std::size_t>(height);
        dib->Bits.assign(dst * rows, '\0');
        for (std::size_t r = 0; r < rows; ++r)
            std::memcpy(&dib->Bits[(rows - 1 - r) * dst], pixels.data() + r * src, std::min(src, dst));
    }

    THotspots hotspots;
    if (hotspotOffset != 0 && hotspotSize != 0) {
        if (hotspotOffset > picture.size() || hotspotSize > picture.size() - hotspotOffset) throw EInvalidShgFile();
        hotspots.LoadFromStream(picture.substr(hotspotOffset, hotspotSize));
    }

    Bitmap = std::move(dib);
    Hotspots = std::move(hotspots);
}

bool TShg::LoadFromFile(std::string_view fileName) {
    std::string data = ReadWholeFile(fileName);
    LoadFromBytes(data);
    FileName = std::string(fileName);
    IsShg = true;
    return true;
}

bool TShg::ImportBitmap(std::string_view fileName) {
    auto dib = std::make_unique<TDib>(TDib::LoadFromFile(fileName));
    FileName = std::string(fileName);
    IsShg = false;
    Hotspots.Clear();
    Bitmap = std::move(dib);
    return true;
}

}  // namespace qm
