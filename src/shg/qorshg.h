#pragma once
// Segmented hypergraphics (.shg): one bitmap with rectangular hotspots, each
// of which opens a popup, jumps to a topic or runs a help macro. The editor
// reads and writes these files; the main program reads them for its preview.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shg/dib.h"
#include "util/errors.h"

namespace qm {

inline constexpr const char* kInvalidShgMessage = "This file is not a valid segmented hypergraphic file.";

// A .shg file that cannot be read: a wrong magic, or a count, size or offset
// that does not fit the file. Other messages name a feature we do not read.
class EInvalidShgFile : public Error {
public:
    EInvalidShgFile() : Error(kInvalidShgMessage) {}
    explicit EInvalidShgFile(const std::string& message) : Error(message) {}
};

// Also the item index of every list that offers "Popup", "Jump" and "Macro".
enum class THotspotKind : std::uint8_t { Popup = 0, Jump = 1, Macro = 2 };

struct THotspot {
    std::string ID;
    std::string Context;  // target of a Popup or Jump: a context string
    std::string Macro;    // target of a Macro: the macro text
    // Picture pixels; Right and Bottom are exclusive.
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool Visible = true;
    THotspotKind Kind = THotspotKind::Popup;

    void Assign(const THotspot& source) { *this = source; }
    bool operator==(const THotspot&) const = default;
};

// A bounded reading position in a byte buffer; running out of bytes is an
// invalid .shg file.
class TShgInput {
public:
    explicit TShgInput(std::string_view data) : data_(data) {}
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::string_view ReadBytes(std::size_t n);
    // Bytes up to the next NUL, which is consumed; no NUL left is invalid.
    std::string ReadString();

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

class THotspots {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    // Appends at the tail; the list owns the hotspot.
    THotspot& Add(const THotspot& hotspot);
    void Clear() { items_.clear(); }
    // 0 <= index < Count(); an index outside that range throws.
    THotspot& GetItem(std::int32_t index);
    const THotspot& GetItem(std::int32_t index) const;
    void Delete(std::int32_t index);
    // The last hotspot whose rectangle holds the point, or -1.
    std::int32_t HitTest(std::int32_t x, std::int32_t y) const;

    // Appends the hotspot block (header, records, macro data, strings).
    void SaveToStream(std::string& stream) const;
    // Replaces the list with the hotspot block `block` holds. On failure the
    // list is left as it was.
    void LoadFromStream(std::string_view block);

    // The help compiler's hash of a context string (ASCII case ignored).
    static std::int32_t ContextHash(std::string_view name);

    bool operator==(const THotspots& other) const;

private:
    std::vector<std::unique_ptr<THotspot>> items_;
};

class TShg {
public:
    TShg() = default;
    TShg(const TShg&) = delete;
    TShg& operator=(const TShg&) = delete;

    std::unique_ptr<TDib> Bitmap;  // none until a file is read or imported
    THotspots Hotspots;
    std::string FileName;
    bool IsShg = false;

    // Writes the whole file through the atomic writer.
    bool SaveToFile(std::string_view fileName) const;
    // The bytes SaveToFile writes.
    std::string SaveToBytes() const;
    // Reads a .shg file. On failure the object is left unchanged.
    bool LoadFromFile(std::string_view fileName);
    // Reads .shg bytes into this object (FileName is not touched).
    void LoadFromBytes(std::string_view data);
    // Takes a standard .bmp file as the picture, with no hotspots.
    bool ImportBitmap(std::string_view fileName);

    // Compressed integers: a word below 128 takes one byte, a dword below
    // 32768 two; the lowest bit tells the long form. Return the bytes written.
    static int WriteCompressedWord(std::string& stream, std::uint32_t value);
    static int WriteCompressedDword(std::string& stream, std::uint32_t value);
    static std::uint32_t ReadCompressedWord(TShgInput& stream);
    static std::uint32_t ReadCompressedDword(TShgInput& stream);
    // A plain u32, low half first.
    static std::uint32_t ReadDword(TShgInput& stream);

    // Run-length unpacking: a control byte k (1..127) repeats the next byte k
    // times, 0x80 + k copies the next k bytes. Stops once `limit` bytes are out.
    // Returns the bytes appended to `target`.
    static std::size_t UnpackRunLength(std::string_view packed, std::string& target, std::size_t limit = SIZE_MAX);
    // The help compiler's LZ77: a flag byte per eight items, bit set = a
    // 16-bit back reference (12 bits distance - 1, 4 bits length - 3), clear =
    // a literal byte. A reference before the start is an invalid file.
    static std::size_t UnpackLz77(std::string_view packed, std::string& target, std::size_t limit = SIZE_MAX);
};

// Resolution: a .shg holds dots per inch, a bitmap pixels per metre.
std::int32_t PelsPerMeterToDpi(std::int32_t pelsPerMeter);
std::int32_t DpiToPelsPerMeter(std::uint32_t dpi);

}  // namespace qm
