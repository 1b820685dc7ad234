#include "model/styles.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>

#include "model/options.h"

namespace qm {

namespace {

std::int32_t ClampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The size of a signed number, safe for the most negative one.
std::int64_t Magnitude(std::int32_t v) { return v < 0 ? -static_cast<std::int64_t>(v) : v; }

std::string StyleKey(int n) { return std::string(kStylesKey) + "\\" + std::to_string(n); }

TStyle DefaultStyle(const char* name, std::int32_t size, std::uint8_t fontStyle) {
    TStyle s;
    s.Name = name;
    s.Font.Name = "MS Sans Serif";
    s.Font.Size = size;
    s.Font.Style = fontStyle;
    s.Font.Color = 0;
    return s;
}

// Each value of a style is read on its own: one that is missing or cannot be
// read takes the value a new style has, and the rest of the style is kept.
template <class T, class Read>
T ValueOr(Read read, T fallback) {
    try {
        if (auto v = read()) return static_cast<T>(*v);
    } catch (const std::exception&) {
        // The store noted what it could not read.
    }
    return fallback;
}

std::uint8_t ReadByte(const SettingsStore& store, const std::string& key, const char* name, std::uint8_t current) {
    std::uint8_t b = current;
    try {
        store.ReadBinary(key, name, &b, 1);
    } catch (const std::exception&) {
        b = current;  // a value of the wrong type or size leaves the field
    }
    return b;
}

// Reads style n in the stored order.
TStyle ReadStyle(const SettingsStore& store, int n) {
    const std::string key = StyleKey(n);
    const TStyle fresh = DefaultStyle("", 8, 0);
    auto str = [&](const char* name, const std::string& fallback) {
        return ValueOr<std::string>([&] { return store.FindString(key, name); }, fallback);
    };
    auto num = [&](const char* name, std::int32_t fallback) {
        return ValueOr<std::int32_t>([&] { return store.FindInteger(key, name); }, fallback);
    };
    TStyle s;
    s.Name = str("Name", fresh.Name);
    s.Font.Name = str("FontFace", fresh.Font.Name);
    s.Font.Size = std::clamp(num("FontHeight", fresh.Font.Size), kMinFontSize, kMaxFontSize);
    s.Font.Color = num("FontColor", fresh.Font.Color);
    s.Font.Style = ReadByte(store, key, "FontStyle", s.Font.Style);
    s.Alignment = ReadByte(store, key, "ParaAlignment", s.Alignment);
    s.SpaceAfter = num("ParaAfter", 0);
    s.SpaceBefore = num("ParaBefore", 0);
    s.LineSpacing = num("ParaLineSpacing", 0);
    s.LineSpacingRule = num("ParaLineSpacingRule", 0);
    s.RightIndent = num("RightIndent", 0);
    s.StartIndent = num("StartIndent", 0);
    const std::int32_t offset = num("Offset", 0);
    const bool positive = ValueOr<bool>([&] { return store.FindBool(key, "Positive"); }, true);
    s.Offset = positive ? offset : ClampToInt32(-static_cast<std::int64_t>(offset));
    s.StyleType = ReadByte(store, key, "Type", s.StyleType);
    return s;
}

void WriteStyle(SettingsStore& store, int n, const TStyle& s) {
    const std::string key = StyleKey(n);
    store.WriteString(key, "Name", s.Name);
    store.WriteString(key, "FontFace", s.Font.Name);
    store.WriteInteger(key, "FontHeight", s.Font.Size);
    store.WriteInteger(key, "FontColor", s.Font.Color);
    store.WriteBinary(key, "FontStyle", &s.Font.Style, 1);
    store.WriteBinary(key, "ParaAlignment", &s.Alignment, 1);
    store.WriteInteger(key, "ParaAfter", s.SpaceAfter);
    store.WriteInteger(key, "ParaBefore", s.SpaceBefore);
    store.WriteInteger(key, "ParaLineSpacing", s.LineSpacing);
    store.WriteInteger(key, "ParaLineSpacingRule", s.LineSpacingRule);
    store.WriteInteger(key, "RightIndent", s.RightIndent);
    store.WriteInteger(key, "StartIndent", s.StartIndent);
    store.WriteInteger(key, "Offset", ClampToInt32(Magnitude(s.Offset)));
    store.WriteBool(key, "Positive", s.Offset >= 0);
    store.WriteBinary(key, "Type", &s.StyleType, 1);
}

}  // namespace

void TStyle::SetAll(std::string name, std::uint8_t type, std::string fontFace, std::int32_t size,
                    std::uint8_t fontStyle, std::int32_t color, std::int32_t startIndent, std::int32_t offset,
                    std::int32_t rightIndent, std::uint8_t alignment, std::int32_t lineSpacing,
                    std::int32_t lineSpacingRule, bool bullet) {
    Name = std::move(name);
    StyleType = type;
    Font = TFontInfo{std::move(fontFace), size, fontStyle, color};
    StartIndent = startIndent;
    Offset = offset;
    RightIndent = rightIndent;
    Alignment = alignment;
    LineSpacing = lineSpacing;
    LineSpacingRule = lineSpacingRule;
    Bullet = bullet;
}

std::string TStyle::Describe() const {
    std::string d = "Font:  " + Font.Name + ", " + std::to_string(Font.Size) + " pt";
    if (Font.Style & kFontBold) d += ", Bold";
    if (Font.Style & kFontItalic) d += ", Italic";
    if (Font.Style & kFontUnderline) d += ", Underline";
    if (Font.Style & kFontStrikeOut) d += ", Strikeout";
    if (StyleType != 1) return d;

    d += "\r\n\r\nParagraph:  ";
    d += Alignment == 0 ? "Left justify" : Alignment == 2 ? "Center" : "Right justify";
    const std::int64_t offsetSize = Magnitude(Offset);
    if (Offset >= 0 && StartIndent > 0) {
        d += ", Left indent: " + std::to_string(StartIndent);
    } else if (Offset < 0 && StartIndent - offsetSize > 0) {
        d += ", Left indent: " + std::to_string(StartIndent - offsetSize);
    }
    if (Offset != 0)
        d += ", First line indent: " + std::to_string(offsetSize) + (Offset < 0 ? " (positive)" : " (negative)");
    if (RightIndent != 0) d += ", Right indent: " + std::to_string(RightIndent);
    if (SpaceBefore != 0) d += ", Space before: " + std::to_string(SpaceBefore) + " pixels";
    if (SpaceAfter != 0) d += ", Space after: " + std::to_string(SpaceAfter) + " pixels";
    if (LineSpacing != 0) d += ", Line spacing: " + std::to_string(LineSpacing) + " pixels";
    return d;
}

bool TStyles::Add(TStyle style) {
    if (Count() >= kMaxStyles) return false;
    items_.push_back(std::move(style));
    return true;
}

TStyle* TStyles::GetStyle(int i) { return i >= 1 && i <= Count() ? &items_[static_cast<std::size_t>(i - 1)] : nullptr; }

const TStyle* TStyles::GetStyle(int i) const {
    return i >= 1 && i <= Count() ? &items_[static_cast<std::size_t>(i - 1)] : nullptr;
}

std::optional<TStyle> TStyles::PutStyle(int i, TStyle style) {
    TStyle* slot = GetStyle(i);
    if (!slot) return std::nullopt;
    std::swap(*slot, style);
    return style;
}

void TStyles::Delete(int i) {
    if (i >= 1 && i <= Count()) items_.erase(items_.begin() + (i - 1));
}

void TStyles::Move(int from, int to) {
    if (from < 1 || from > Count() || to < 1 || to > Count() || from == to) return;
    const auto f = items_.begin() + (from - 1);
    const auto t = items_.begin() + (to - 1);
    if (from < to)
        std::rotate(f, f + 1, t + 1);
    else
        std::rotate(t, f, f + 1);
}

bool TStyles::NameExists(std::string_view name) const {
    return std::any_of(items_.begin(), items_.end(), [&](const TStyle& s) { return SameText(s.Name, name); });
}

int TStyles::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Name == name) return static_cast<int>(i) + 1;
    return -1;
}

StringList TStyles::Names() const {
    StringList names;
    for (const TStyle& s : items_) names.push_back(s.Name);
    return names;
}

void TStyles::SetDefaults() {
    Add(DefaultStyle("Normal", 8, 0));
    Add(DefaultStyle("StdHeader", 14, kFontBold));
    Add(DefaultStyle("Title1", 8, kFontBold));
    Add(DefaultStyle("Title2", 8, kFontBold | kFontUnderline));
    Add(DefaultStyle("Title3", 8, kFontBold | kFontItalic));
}

void TStyles::LoadFromRegistry(const SettingsStore& store) {
    Clear();
    try {
        if (!store.KeyExists(kStylesKey)) {
            SetDefaults();
            return;
        }
        // Without a readable count, every style stored is read.
        const std::int32_t count =
            ValueOr<std::int32_t>([&] { return store.FindInteger(kStylesKey, "Count"); }, kMaxStyles);
        for (int n = 1; n <= std::min(count, kMaxStyles); ++n)
            if (store.KeyExists(StyleKey(n))) Add(ReadStyle(store, n));
    } catch (const std::exception&) {
        // A backend that fails keeps the styles read so far.
    }
    if (Count() == 0) SetDefaults();
}

void TStyles::SaveToRegistry(SettingsStore& store) const {
    try {
        for (int n = 1; n <= kMaxStyles; ++n) store.DeleteKey(StyleKey(n));
        store.WriteInteger(kStylesKey, "Count", Count());
        for (int n = 1; n <= Count(); ++n) WriteStyle(store, n, items_[static_cast<std::size_t>(n - 1)]);
    } catch (const qm::Error&) {
        // Nothing is reported for settings that cannot be saved.
    }
}

}  // namespace qm
