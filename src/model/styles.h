#pragma once
// The program's character and paragraph styles: at most 25, numbered from 1,
// kept under the key "Styles" of the settings store.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/qorstring.h"
#include "util/settingsstore.h"

namespace qm {

// Font-style bits, as the styles and the topic-state options store them.
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontItalic = 2;
inline constexpr std::uint8_t kFontUnderline = 4;
inline constexpr std::uint8_t kFontStrikeOut = 8;

// A font as the core keeps it; the GUI turns it into a toolkit font.
struct TFontInfo {
    std::string Name;        // face name
    std::int32_t Size = 0;   // points
    std::uint8_t Style = 0;  // kFont* bits
    std::int32_t Color = 0;  // 0x00BBGGRR, black by default
    bool operator==(const TFontInfo&) const = default;
};

inline constexpr int kMaxStyles = 25;
inline constexpr const char* kStylesKey = "Styles";

struct TStyle {
    std::string Name;
    TFontInfo Font;
    std::uint8_t StyleType = 0;  // 0 character style, 1 paragraph style
    std::int32_t StartIndent = 0;
    std::int32_t Offset = 0;  // following lines relative to the first; positive is hanging
    std::int32_t RightIndent = 0;
    std::uint8_t Alignment = 0;    // 0 left, 1 right, 2 centre
    std::int32_t SpaceBefore = 0;  // pixels
    std::int32_t SpaceAfter = 0;   // pixels
    std::int32_t LineSpacing = 0;  // pixels
    std::int32_t LineSpacingRule = 0;
    bool Bullet = false;  // not stored: lasts until the program ends

    // Replaces the font and sets the other fields; SpaceBefore and SpaceAfter stay.
    void SetAll(std::string name, std::uint8_t type, std::string fontFace, std::int32_t size, std::uint8_t fontStyle,
                std::int32_t color, std::int32_t startIndent, std::int32_t offset, std::int32_t rightIndent,
                std::uint8_t alignment, std::int32_t lineSpacing, std::int32_t lineSpacingRule, bool bullet);
    // The description the style dialogs show.
    std::string Describe() const;

    bool operator==(const TStyle&) const = default;
};

class TStyles {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Appends a style; refused (false) when the list already holds 25.
    bool Add(TStyle style);
    // Slot i, 1-based; nullptr when out of range.
    TStyle* GetStyle(int i);
    const TStyle* GetStyle(int i) const;
    // Puts a style into slot i and hands back the one it replaces; nothing
    // changes (nullopt) when i is out of range.
    std::optional<TStyle> PutStyle(int i, TStyle style);
    // Removes style i; the following ones move down one slot.
    void Delete(int i);
    // Takes the style at `from` out and puts it at `to`; the ones between shift by one.
    void Move(int from, int to);
    // True when a style's name equals `name` ignoring ASCII case.
    bool NameExists(std::string_view name) const;
    // 1-based index of the first style named exactly `name` (case-sensitive), -1 when none.
    int IndexOfName(std::string_view name) const;
    void Assign(const TStyles& source) { items_ = source.items_; }
    // The names in slot order, for the style boxes.
    StringList Names() const;
    void Clear() { items_.clear(); }
    // Appends the five default styles, as far as there is room.
    void SetDefaults();

    // Replaces the list with the stored styles, at most 25: the defaults when
    // there is no Styles key or nothing was read. Without a readable count
    // every stored style is read; a style whose key is gone is skipped, and a
    // value of a style that is missing or cannot be read takes what a new
    // style has (a binary one stays as it was), keeping the rest of the
    // style. Never throws.
    void LoadFromRegistry(const SettingsStore& store);
    // Replaces the stored styles with this list; store failures are swallowed.
    void SaveToRegistry(SettingsStore& store) const;

    bool operator==(const TStyles&) const = default;

private:
    std::vector<TStyle> items_;
};

}  // namespace qm
