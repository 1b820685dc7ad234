#pragma once
// The program's settings, kept under the keys "Settings" and "Docking" of the
// settings store. Every field is described once, in the table of options.cpp
// (value name, registry type, default, field), and loading, saving and the
// defaults all walk that table.
#include <array>
#include <cstdint>
#include <string>

#include "util/settingsstore.h"

namespace qm {

// A screen rectangle as stored: four int32 values, little-endian, in this order.
struct TScreenRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const TScreenRect&) const = default;
};

inline constexpr int kBuildCheckCount = 9;

// Ranges the options dialog allows; loaded values are brought into them so
// that no user of the settings sees a zero or negative size or step.
inline constexpr std::int32_t kMinHistoryStack = 5;
inline constexpr std::int32_t kMaxHistoryStack = 1000;
inline constexpr std::int32_t kMinIdIncrement = 1;
inline constexpr std::int32_t kMinFontSize = 1;
inline constexpr std::int32_t kMaxFontSize = 1638;  // the largest point size the editor takes
inline constexpr std::uint8_t kMaxScaleMode = 2;    // 0 pixels, 1 inches, 2 centimetres

inline constexpr const char* kSettingsKey = "Settings";
inline constexpr const char* kDockingKey = "Docking";

class TOptions {
public:
    // Every field zero or empty, as before loading.
    TOptions() = default;

    std::string CompilerPath;
    bool StartMakeNew = false;
    bool StartOpenLast = false;
    bool AcDoNothing = false;
    bool AcViewCnt = false;
    bool AcViewCurrent = false;
    bool SaveBeforeCompile = false;
    bool EnableTagInsight = false;
    bool AddClosingQuotes = false;
    bool AddClosingBrackets = false;
    bool PopupTags = false;
    bool PopupTopics = false;
    bool PopupPopups = false;
    bool PopupMacros = false;
    bool PopupWindows = false;
    std::uint8_t EditStyle = 0;  // font-style bits: 1 bold, 2 italic, 4 underline, 8 strikeout
    std::int32_t EditColor = 0;  // 0x00BBGGRR
    std::uint8_t DoneStyle = 0;
    std::int32_t DoneColor = 0;
    std::string LastProject;
    std::string LastOpenDir;
    std::string LastSaveDir;
    std::string DefFont;
    std::int32_t DefFontSize = 0;
    bool TagsDialogs = false;
    bool UpdateOnRename = false;
    bool ShowGutter = false;
    bool ShowRuler = false;
    bool ShowMessages = false;
    bool ShowProject = false;
    bool ShowRtf = false;
    bool ShowSpecChars = false;
    std::int32_t IdIncrement = 0;
    bool PromptTopicInfos = false;
    bool DblClickFollowsLink = false;
    std::int32_t HistoryStack = 0;
    // Build check n (1 to 9) is Errors[n - 1]; stored as "Error" + n.
    std::array<bool, kBuildCheckCount> Errors{};
    // Kind of check n's findings, 0 error, 1 warning; stored as "ErrorType" + n.
    std::array<std::uint8_t, kBuildCheckCount> ErrorTypes{};
    std::string ExplorerPane;
    TScreenRect ExplorerRect;
    std::string MessagesPane;
    TScreenRect MessagesRect;
    bool HotCursor = false;
    std::uint8_t ScaleMode = 0;
    std::string Dictionary;
    std::string UserDictionary;
    bool SpellEnsureVisible = false;
    bool SpellStartBeginning = false;

    // Reads "Settings" and "Docking" value by value: a missing value, or one
    // of the wrong type or longer than its field, takes its own default (the
    // fields without one, the two folders and the rectangles, stay as they
    // were); every value read is kept. A binary value shorter than its field
    // fills its first bytes. Numbers are then brought into the dialog's
    // ranges. Never throws; the store notes what it could not read.
    void LoadFromRegistry(const SettingsStore& store);
    // Writes both groups. The Docking fields are written as they are: the main
    // window copies the live panes' dock sites and rectangles into them first.
    // Store failures are swallowed.
    void SaveToRegistry(SettingsStore& store) const;

    // Every default except LastOpenDir, LastSaveDir and the Docking values.
    void SetDefaults();
    // The two dock sites; the rectangles stay as they are.
    void SetDockingDefaults();

    // Build check i, 1 to 9; other indexes read as off / 0 and are ignored when set.
    bool GetError(int i) const;
    void SetError(int i, bool on);
    std::uint8_t GetErrorType(int i) const;
    void SetErrorType(int i, std::uint8_t kind);

    bool operator==(const TOptions&) const = default;

private:
    void ClampLoaded();
};

}  // namespace qm
