#include "model/options.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace qm {

namespace {

// How a field is kept in the store. Bin fields are raw bytes of a fixed size.
enum class Reg { Str, Int, Bool, Bin };
enum class Group { Settings, Docking };

struct BoolAt {
    std::array<bool, kBuildCheckCount> TOptions::*Array;
    int Index;
};
struct ByteAt {
    std::array<std::uint8_t, kBuildCheckCount> TOptions::*Array;
    int Index;
};

using FieldRef = std::variant<std::string TOptions::*, bool TOptions::*, std::uint8_t TOptions::*,
                              std::int32_t TOptions::*, TScreenRect TOptions::*, BoolAt, ByteAt>;
using FieldPtr = std::variant<std::string*, bool*, std::uint8_t*, std::int32_t*, TScreenRect*>;

// No default: the field is left alone by SetDefaults.
struct NoDefault {};
using Default = std::variant<NoDefault, std::string_view, std::int32_t>;

struct OptionDef {
    std::string Name;
    Group Grp;
    Reg Type;
    std::size_t BinSize;  // for Reg::Bin
    FieldRef Field;
    Default Def;
};

FieldPtr Resolve(TOptions& o, const FieldRef& f) {
    struct V {
        TOptions& o;
        FieldPtr operator()(std::string TOptions::*m) const { return &(o.*m); }
        FieldPtr operator()(bool TOptions::*m) const { return &(o.*m); }
        FieldPtr operator()(std::uint8_t TOptions::*m) const { return &(o.*m); }
        FieldPtr operator()(std::int32_t TOptions::*m) const { return &(o.*m); }
        FieldPtr operator()(TScreenRect TOptions::*m) const { return &(o.*m); }
        FieldPtr operator()(BoolAt a) const { return &(o.*a.Array)[static_cast<std::size_t>(a.Index)]; }
        FieldPtr operator()(ByteAt a) const { return &(o.*a.Array)[static_cast<std::size_t>(a.Index)]; }
    };
    return std::visit(V{o}, f);
}

// The one description of every option, in the order the values are read
// (and written). Types: str string, int 32-bit number, bool number 0/1,
// bin n bytes of the field.
const std::vector<OptionDef>& Table() {
    static const std::vector<OptionDef> table = [] {
        using O = TOptions;
        const auto S = Group::Settings;
        const auto D = Group::Docking;
        const NoDefault none{};
        std::vector<OptionDef> t = {
            {"CompilerPath", S, Reg::Str, 0, &O::CompilerPath, std::string_view("")},
            {"LastOpenDir", S, Reg::Str, 0, &O::LastOpenDir, none},
            {"LastSaveDir", S, Reg::Str, 0, &O::LastSaveDir, none},
            {"DefFont", S, Reg::Str, 0, &O::DefFont, std::string_view("MS Sans Serif")},
            {"DefFontSize", S, Reg::Int, 0, &O::DefFontSize, 8},
            {"Dictionary", S, Reg::Str, 0, &O::Dictionary, std::string_view("english")},
            {"UserDictionary", S, Reg::Str, 0, &O::UserDictionary, std::string_view("user")},
            {"SpellEnsureVisible", S, Reg::Bool, 0, &O::SpellEnsureVisible, 1},
            {"SpellStartBeginning", S, Reg::Bool, 0, &O::SpellStartBeginning, 0},
            {"DblClickFollowsLink", S, Reg::Bin, 1, &O::DblClickFollowsLink, 1},
            {"AcDoNothing", S, Reg::Bin, 1, &O::AcDoNothing, 0},
            {"AcViewCnt", S, Reg::Bin, 1, &O::AcViewCnt, 1},
            {"AcViewCurrent", S, Reg::Bin, 1, &O::AcViewCurrent, 0},
            {"StartMakeNew", S, Reg::Bin, 1, &O::StartMakeNew, 1},
            {"StartOpenLast", S, Reg::Bin, 1, &O::StartOpenLast, 0},
            {"SaveBeforeCompile", S, Reg::Bin, 1, &O::SaveBeforeCompile, 0},
            {"EnableTagInsight", S, Reg::Bin, 1, &O::EnableTagInsight, 1},
            {"AddClosingQuotes", S, Reg::Bin, 1, &O::AddClosingQuotes, 0},
            {"AddClosingBrackets", S, Reg::Bin, 1, &O::AddClosingBrackets, 0},
            {"PopupTags", S, Reg::Bin, 1, &O::PopupTags, 1},
            {"PopupTopics", S, Reg::Bin, 1, &O::PopupTopics, 1},
            {"PopupPopups", S, Reg::Bin, 1, &O::PopupPopups, 1},
            {"PopupMacros", S, Reg::Bin, 1, &O::PopupMacros, 1},
            {"PopupWindows", S, Reg::Bin, 1, &O::PopupWindows, 1},
            {"EditStyle", S, Reg::Bin, 1, &O::EditStyle, 1},
            {"EditColor", S, Reg::Bin, 4, &O::EditColor, 0},
            {"DoneStyle", S, Reg::Bin, 1, &O::DoneStyle, 0},
            {"DoneColor", S, Reg::Bin, 4, &O::DoneColor, 0x808080},
            {"PromptTopicInfos", S, Reg::Bin, 1, &O::PromptTopicInfos, 0},
            {"TagsDialogs", S, Reg::Bin, 1, &O::TagsDialogs, 1},
            {"UpdateOnRename", S, Reg::Bin, 1, &O::UpdateOnRename, 1},
            {"ShowGutter", S, Reg::Bin, 1, &O::ShowGutter, 1},
            {"ShowRuler", S, Reg::Bin, 1, &O::ShowRuler, 1},
            {"ShowMessages", S, Reg::Bin, 1, &O::ShowMessages, 1},
            {"ShowProject", S, Reg::Bin, 1, &O::ShowProject, 1},
            {"ShowSpecChars", S, Reg::Bin, 1, &O::ShowSpecChars, 0},
            {"ShowRtf", S, Reg::Bin, 1, &O::ShowRtf, 0},
            {"HistoryStack", S, Reg::Int, 0, &O::HistoryStack, 300},
            {"IdIncrement", S, Reg::Int, 0, &O::IdIncrement, 5},
            {"LastProject", S, Reg::Str, 0, &O::LastProject, std::string_view("")},
            {"HotCursor", S, Reg::Bool, 0, &O::HotCursor, 1},
            {"ScaleMode", S, Reg::Bin, 1, &O::ScaleMode, 0},
        };
        for (int n = 1; n <= kBuildCheckCount; ++n) {
            t.push_back({"Error" + std::to_string(n), S, Reg::Bool, 0, BoolAt{&O::Errors, n - 1}, 1});
            t.push_back({"ErrorType" + std::to_string(n), S, Reg::Bin, 1, ByteAt{&O::ErrorTypes, n - 1}, 0});
        }
        const std::vector<OptionDef> docking = {
            {"ExplorerPane", D, Reg::Str, 0, &O::ExplorerPane, std::string_view("pnlLeftDock")},
            {"ExplorerRect", D, Reg::Bin, 16, &O::ExplorerRect, none},
            {"MessagesPane", D, Reg::Str, 0, &O::MessagesPane, std::string_view("pnlBottomDock")},
            {"MessagesRect", D, Reg::Bin, 16, &O::MessagesRect, none},
        };
        t.insert(t.end(), docking.begin(), docking.end());
        return t;
    }();
    return table;
}

const char* KeyOf(Group g) { return g == Group::Settings ? kSettingsKey : kDockingKey; }

void PutLE(unsigned char* p, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

std::int32_t GetLE(const unsigned char* p) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// The bytes a Bin field is stored as (the field's memory, little-endian).
std::string BinBytes(const FieldPtr& f) {
    unsigned char buf[16] = {};
    std::size_t n = 0;
    if (auto b = std::get_if<bool*>(&f)) {
        buf[0] = **b ? 1 : 0;
        n = 1;
    } else if (auto y = std::get_if<std::uint8_t*>(&f)) {
        buf[0] = **y;
        n = 1;
    } else if (auto i = std::get_if<std::int32_t*>(&f)) {
        PutLE(buf, **i);
        n = 4;
    } else if (auto r = std::get_if<TScreenRect*>(&f)) {
        PutLE(buf, (*r)->Left);
        PutLE(buf + 4, (*r)->Top);
        PutLE(buf + 8, (*r)->Right);
        PutLE(buf + 12, (*r)->Bottom);
        n = 16;
    }
    return std::string(reinterpret_cast<const char*>(buf), n);
}

// Puts stored bytes back into a Bin field. Fewer bytes than the field fill
// its first bytes only, the way the registry's binary read does.
void SetFromBin(const FieldPtr& f, const std::string& current, const unsigned char* data, std::size_t n) {
    unsigned char buf[16] = {};
    std::copy(current.begin(), current.end(), buf);
    std::copy(data, data + n, buf);
    if (auto b = std::get_if<bool*>(&f)) {
        **b = buf[0] != 0;
    } else if (auto y = std::get_if<std::uint8_t*>(&f)) {
        **y = buf[0];
    } else if (auto i = std::get_if<std::int32_t*>(&f)) {
        **i = GetLE(buf);
    } else if (auto r = std::get_if<TScreenRect*>(&f)) {
        **r = TScreenRect{GetLE(buf), GetLE(buf + 4), GetLE(buf + 8), GetLE(buf + 12)};
    }
}

// Reads one value into its field; false when the value is missing. A value
// that is there but cannot be read as asked throws.
bool ReadOption(const SettingsStore& store, const OptionDef& d, TOptions& o) {
    const FieldPtr f = Resolve(o, d.Field);
    const char* key = KeyOf(d.Grp);
    switch (d.Type) {
        case Reg::Str: {
            auto s = store.FindString(key, d.Name);
            if (s) *std::get<std::string*>(f) = std::move(*s);
            return s.has_value();
        }
        case Reg::Int: {
            const auto n = store.FindInteger(key, d.Name);
            if (n) *std::get<std::int32_t*>(f) = *n;
            return n.has_value();
        }
        case Reg::Bool: {
            const auto b = store.FindBool(key, d.Name);
            if (b) *std::get<bool*>(f) = *b;
            return b.has_value();
        }
        case Reg::Bin: {
            unsigned char buf[16] = {};
            const auto n = store.ReadBinary(key, d.Name, buf, d.BinSize);
            if (n) SetFromBin(f, BinBytes(f), buf, *n);
            return n.has_value();
        }
    }
    return false;
}

void WriteOption(SettingsStore& store, const OptionDef& d, TOptions& o) {
    const FieldPtr f = Resolve(o, d.Field);
    const char* key = KeyOf(d.Grp);
    switch (d.Type) {
        case Reg::Str: store.WriteString(key, d.Name, *std::get<std::string*>(f)); break;
        case Reg::Int: store.WriteInteger(key, d.Name, *std::get<std::int32_t*>(f)); break;
        case Reg::Bool: store.WriteBool(key, d.Name, *std::get<bool*>(f)); break;
        case Reg::Bin: {
            const std::string bytes = BinBytes(f);
            store.WriteBinary(key, d.Name, bytes.data(), bytes.size());
            break;
        }
    }
}

void ApplyDefault(const OptionDef& d, TOptions& o) {
    if (std::holds_alternative<NoDefault>(d.Def)) return;
    const FieldPtr f = Resolve(o, d.Field);
    if (auto s = std::get_if<std::string_view>(&d.Def)) {
        *std::get<std::string*>(f) = std::string(*s);
        return;
    }
    const std::int32_t v = std::get<std::int32_t>(d.Def);
    if (auto b = std::get_if<bool*>(&f))
        **b = v != 0;
    else if (auto y = std::get_if<std::uint8_t*>(&f))
        **y = static_cast<std::uint8_t>(v);
    else if (auto i = std::get_if<std::int32_t*>(&f))
        **i = v;
}

void ApplyDefaults(Group g, TOptions& o) {
    for (const OptionDef& d : Table())
        if (d.Grp == g) ApplyDefault(d, o);
}

// Reads one group value by value: a missing value, or one that cannot be
// read, takes its own default (a field without one stays as it was), and
// every value that was read is kept. A missing group gives its defaults.
void LoadGroup(const SettingsStore& store, Group g, TOptions& o) {
    bool exists = false;
    try {
        exists = store.KeyExists(KeyOf(g));
    } catch (const std::exception&) {
        // An unreadable backend reads as an empty one.
    }
    for (const OptionDef& d : Table()) {
        if (d.Grp != g) continue;
        bool read = false;
        try {
            read = exists && ReadOption(store, d, o);
        } catch (const std::exception&) {
            // The store noted what it could not read; the default stands in.
        }
        if (!read) ApplyDefault(d, o);
    }
}

void SaveGroup(SettingsStore& store, Group g, TOptions& o) {
    try {
        for (const OptionDef& d : Table())
            if (d.Grp == g) WriteOption(store, d, o);
    } catch (const qm::Error&) {
        // Settings that cannot be saved are not worth interrupting the user for.
    }
}

}  // namespace

void TOptions::LoadFromRegistry(const SettingsStore& store) {
    LoadGroup(store, Group::Settings, *this);
    LoadGroup(store, Group::Docking, *this);
    ClampLoaded();
}

void TOptions::SaveToRegistry(SettingsStore& store) const {
    // The table hands out writable field pointers; saving only reads them.
    TOptions& self = const_cast<TOptions&>(*this);
    SaveGroup(store, Group::Settings, self);
    SaveGroup(store, Group::Docking, self);
}

void TOptions::SetDefaults() { ApplyDefaults(Group::Settings, *this); }

void TOptions::SetDockingDefaults() { ApplyDefaults(Group::Docking, *this); }

void TOptions::ClampLoaded() {
    HistoryStack = std::clamp(HistoryStack, kMinHistoryStack, kMaxHistoryStack);
    IdIncrement = std::max(IdIncrement, kMinIdIncrement);
    DefFontSize = std::clamp(DefFontSize, kMinFontSize, kMaxFontSize);
    ScaleMode = std::min(ScaleMode, kMaxScaleMode);
}

bool TOptions::GetError(int i) const {
    return i >= 1 && i <= kBuildCheckCount ? Errors[static_cast<std::size_t>(i - 1)] : false;
}

void TOptions::SetError(int i, bool on) {
    if (i >= 1 && i <= kBuildCheckCount) Errors[static_cast<std::size_t>(i - 1)] = on;
}

std::uint8_t TOptions::GetErrorType(int i) const {
    return i >= 1 && i <= kBuildCheckCount ? ErrorTypes[static_cast<std::size_t>(i - 1)] : 0;
}

void TOptions::SetErrorType(int i, std::uint8_t kind) {
    if (i >= 1 && i <= kBuildCheckCount) ErrorTypes[static_cast<std::size_t>(i - 1)] = kind;
}

}  // namespace qm
