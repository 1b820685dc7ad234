#include "shgedit/options.h"

#include <array>
#include <exception>

namespace qm::shgedit {

namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(std::string_view in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(in[at + static_cast<std::size_t>(i)]);
    return v;
}

}  // namespace

TWindowPlacement TWindowPlacement::FromWindow(int left, int top, int width, int height, bool maximized) {
    TWindowPlacement p;
    p.Length = kSize;
    p.ShowCmd = maximized ? kShowMaximized : kShowNormal;
    p.Left = left;
    p.Top = top;
    p.Right = left + width;
    p.Bottom = top + height;
    return p;
}

std::string TWindowPlacement::Pack() const {
    std::string out;
    out.reserve(kSize);
    for (std::uint32_t v : {Length, Flags, ShowCmd}) PutU32(out, v);
    for (std::int32_t v : {MinX, MinY, MaxX, MaxY, Left, Top, Right, Bottom})
        PutU32(out, static_cast<std::uint32_t>(v));
    return out;
}

TWindowPlacement TWindowPlacement::Unpack(std::string_view bytes) {
    TWindowPlacement p;
    if (bytes.size() != kSize) return p;
    p.Length = GetU32(bytes, 0);
    p.Flags = GetU32(bytes, 4);
    p.ShowCmd = GetU32(bytes, 8);
    std::array<std::int32_t*, 8> fields{&p.MinX, &p.MinY, &p.MaxX, &p.MaxY, &p.Left, &p.Top, &p.Right, &p.Bottom};
    for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = static_cast<std::int32_t>(GetU32(bytes, 12 + 4 * i));
    return p;
}

void TOptions::SetDefaults() {
    LastOpenDir.clear();
    LastSaveDir.clear();
    ViewStatusBar = true;
    ViewToolbar = true;
    DefAttribute = 1;
    DefType = 0;
    DefID = "Hotspot";
    AssocSHG = true;
}

void TOptions::ReadFromRegistry(const SettingsStore& store) {
    // Each value on its own: one that is missing or cannot be read takes its
    // default, and every value read is kept.
    const TOptions defaults = [] {
        TOptions d;
        d.SetDefaults();
        return d;
    }();
    auto read = [&](auto find, auto& field, const auto& fallback) {
        try {
            if (auto v = find()) {
                field = *v;
                return;
            }
        } catch (const std::exception&) {
            // The store noted what it could not read.
        }
        field = fallback;
    };
    auto str = [&](const char* name) { return [&store, name] { return store.FindString(kSettingsKey, name); }; };
    auto num = [&](const char* name) { return [&store, name] { return store.FindInteger(kSettingsKey, name); }; };
    auto flag = [&](const char* name) { return [&store, name] { return store.FindBool(kSettingsKey, name); }; };
    read(str("LastOpenDir"), LastOpenDir, defaults.LastOpenDir);
    read(str("LastSaveDir"), LastSaveDir, defaults.LastSaveDir);
    read(flag("ViewToolbar"), ViewToolbar, defaults.ViewToolbar);
    read(flag("ViewStatusBar"), ViewStatusBar, defaults.ViewStatusBar);
    read(num("DefAttribute"), DefAttribute, defaults.DefAttribute);
    read(num("DefType"), DefType, defaults.DefType);
    read(str("DefID"), DefID, defaults.DefID);
    read(flag("AssocSHG"), AssocSHG, defaults.AssocSHG);
    // A Position that is missing or cannot be read leaves the placement as it was.
    try {
        std::array<char, TWindowPlacement::kSize> raw{};
        if (auto n = store.ReadBinary(kSettingsKey, "Position", raw.data(), raw.size()))
            Position = TWindowPlacement::Unpack(std::string_view(raw.data(), *n));
    } catch (const std::exception&) {
    }
    // The lists that offer these take only their own item numbers.
    if (DefAttribute < 0 || DefAttribute > 1) DefAttribute = 1;
    if (DefType < 0 || DefType > 2) DefType = 0;
}

void TOptions::WriteToRegistry(SettingsStore& store) const {
    try {
        store.WriteString(kSettingsKey, "LastOpenDir", LastOpenDir);
        store.WriteString(kSettingsKey, "LastSaveDir", LastSaveDir);
        store.WriteBool(kSettingsKey, "ViewToolbar", ViewToolbar);
        store.WriteBool(kSettingsKey, "ViewStatusBar", ViewStatusBar);
        store.WriteInteger(kSettingsKey, "DefAttribute", DefAttribute);
        store.WriteInteger(kSettingsKey, "DefType", DefType);
        store.WriteString(kSettingsKey, "DefID", DefID);
        store.WriteBool(kSettingsKey, "AssocSHG", AssocSHG);
        const std::string position = Position.Pack();
        store.WriteBinary(kSettingsKey, "Position", position.data(), position.size());
    } catch (const std::exception&) {
        // Settings never stop the program; the next start falls back to defaults.
    }
}

}  // namespace qm::shgedit
