#pragma once
// Help-window definitions of a project. Windows are numbered from 1.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/fixedtext.h"
#include "util/qorstring.h"

namespace qm {

class BinaryReader;
class BinaryWriter;

// A colour as the project file holds it: 0x00BBGGRR. Never hand one to code
// that expects 0xRRGGBB; convert at the GUI edge.
using TColorRef = std::uint32_t;

// `TWindowDef::Attributes` bits.
namespace WindowAttributes {
inline constexpr std::uint8_t AutoSizeHeight = 1;
inline constexpr std::uint8_t Maximize = 2;
inline constexpr std::uint8_t KeepOnTop = 4;
}  // namespace WindowAttributes

// `TWindowDef::Buttons` bits.
namespace WindowButtons {
inline constexpr std::uint8_t Contents = 1;
inline constexpr std::uint8_t Index = 2;
inline constexpr std::uint8_t Find = 4;
inline constexpr std::uint8_t HelpTopics = 8;
inline constexpr std::uint8_t Print = 16;
inline constexpr std::uint8_t Back = 32;
inline constexpr std::uint8_t Options = 64;
inline constexpr std::uint8_t Browse = 128;
}  // namespace WindowButtons

struct TWindowDef {
    TFixedText<8> Name;
    TFixedText<50> Caption;
    std::uint8_t Attributes = 0;
    StringList Macros;
    // 1: X, Y, W, H are help units (0..1023); 0: pixels. Kept as stored.
    std::uint8_t AdjustRes = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 600;
    std::int32_t H = 480;
    std::uint8_t Buttons =
        WindowButtons::Contents | WindowButtons::Index | WindowButtons::Print | WindowButtons::Back;  // 51
    bool NoDefaultButtons = false;
    TColorRef Rgb1 = 0xFFFFFF;  // non-scrolling region
    TColorRef Rgb2 = 0xFFFFFF;  // topic area

    std::string GetName() const { return Name.Get(); }
    void SetName(std::string_view s) { Name.Set(s); }
    std::string GetCaption() const { return Caption.Get(); }
    void SetCaption(std::string_view s) { Caption.Set(s); }

    bool operator==(const TWindowDef&) const = default;
};

class TWindows {
public:
    TWindows() = default;
    // Copies are deep (each window and its macro list are copied).
    TWindows(const TWindows& other) { Assign(other); }
    TWindows& operator=(const TWindows& other) {
        if (this != &other) Assign(other);
        return *this;
    }
    TWindows(TWindows&&) noexcept = default;
    TWindows& operator=(TWindows&&) noexcept = default;

    // Appends a definition with the defaults (600 x 480 centred on qm::Screen(),
    // buttons 51, white, pixels) and returns it. The reference stays valid until
    // that window is deleted or the list cleared.
    TWindowDef& Add();
    // Window i, 1-based. On a non-empty list any i below 2 gives window 1; an
    // empty list or i above Count() raises qm::Error.
    TWindowDef& GetWindow(int i);
    const TWindowDef& GetWindow(int i) const;
    bool NameExists(std::string_view name) const;  // ASCII case-insensitive
    // Removes window i (1 <= i <= Count(), else qm::Error); later windows move up.
    void Delete(int i);
    // Replaces this list by independent copies of `source`'s windows.
    void Assign(const TWindows& source);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    // Window i in the project-file record layout (86 bytes, then the macros).
    // ReadWindow reads over every field of window i.
    void ReadWindow(BinaryReader& reader, int i);
    void WriteWindow(BinaryWriter& writer, int i) const;

private:
    std::size_t checkedIndex(int i, bool belowTwoIsFirst) const;
    std::vector<std::unique_ptr<TWindowDef>> items_;
};

}  // namespace qm
