#pragma once
// Pikeral's settings, kept under "Pikeral\Settings" of the settings store it
// shares with Quillmark (each program writes only its own keys), and the
// frame's window placement as the 44-byte record the settings hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/settingsstore.h"

namespace qm::shgedit {

inline constexpr const char* kSettingsKey = "Pikeral\\Settings";
inline constexpr const char* kMruKey = "Pikeral\\Mru";

inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMaximized = 3;

// The window placement record: length (44), flags, show command (1 normal, 3
// maximised), the minimised and maximised positions, and the normal
// rectangle (left, top, right, bottom), every field 32 bits little-endian.
struct TWindowPlacement {
    static constexpr std::size_t kSize = 44;

    std::uint32_t Length = 0;
    std::uint32_t Flags = 0;
    std::uint32_t ShowCmd = 0;
    std::int32_t MinX = 0;
    std::int32_t MinY = 0;
    std::int32_t MaxX = 0;
    std::int32_t MaxY = 0;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    // A placement for a window whose normal rectangle is (left, top, width,
    // height), maximised or not.
    static TWindowPlacement FromWindow(int left, int top, int width, int height, bool maximized);
    // The 44 bytes as stored.
    std::string Pack() const;
    // Reads 44 stored bytes; any other size gives the all-zero placement.
    static TWindowPlacement Unpack(std::string_view bytes);

    bool IsZero() const { return *this == TWindowPlacement{}; }
    // True when this names a window to restore: the record's own length and
    // a normal rectangle of some size.
    bool IsUsable() const { return Length == kSize && Right > Left && Bottom > Top; }
    bool Maximized() const { return ShowCmd == kShowMaximized; }

    bool operator==(const TWindowPlacement&) const = default;
};

class TOptions {
public:
    // Every field zero or empty, as before reading.
    TOptions() = default;

    std::string LastOpenDir;
    std::string LastSaveDir;
    bool ViewStatusBar = false;
    bool ViewToolbar = false;
    std::int32_t DefAttribute = 0;  // 0 Visible, 1 Invisible
    std::int32_t DefType = 0;       // THotspotKind: 0 Popup, 1 Jump, 2 Macro
    std::string DefID;              // prefix of the IDs of new hotspots
    bool AssocSHG = false;          // .shg files open in Pikeral
    TWindowPlacement Position;

    // Every field but Position gets its default.
    void SetDefaults();

    // Reads LastOpenDir, LastSaveDir, ViewToolbar, ViewStatusBar,
    // DefAttribute, DefType, DefID, AssocSHG and Position in that order, each
    // on its own: a value that is missing or cannot be read (a mistyped
    // number, an unreadable store) takes its default and every value read is
    // kept. A Position that is missing, of another type or longer than 44
    // bytes leaves the placement as it was. List choices out of range fall
    // back to their defaults. Never throws.
    void ReadFromRegistry(const SettingsStore& store);
    // Writes every field; errors are swallowed.
    void WriteToRegistry(SettingsStore& store) const;

    bool operator==(const TOptions&) const = default;
};

}  // namespace qm::shgedit
