#include "preprocess/edittags.h"

#include <algorithm>

#include "model/macros.h"
#include "model/options.h"
#include "model/project.h"
#include "util/cp1252.h"

namespace qm {

// ============================================================================
// Tag at a place, tag editing and the member list
// ============================================================================

namespace {

char16_t UpperUnit(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

std::u16string UpperUnits(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out) c = UpperUnit(c);
    return out;
}

std::u16string Units(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// s[from, from + count) cut to the text: every read of a fixed width stays
// inside it.
std::u16string_view Sub(std::u16string_view s, std::size_t from, std::size_t count = std::u16string_view::npos) {
    if (from >= s.size()) return {};
    return s.substr(from, count);
}

// True when the text at k, upper-cased, begins with `upperWhat`.
bool MatchUpperAt(const TTagText& text, int k, std::u16string_view upperWhat) {
    if (k < 0 || static_cast<std::size_t>(k) + upperWhat.size() > static_cast<std::size_t>(text.Length())) return false;
    for (std::size_t n = 0; n < upperWhat.size(); ++n)
        if (UpperUnit(text.At(k + static_cast<int>(n))) != upperWhat[n]) return false;
    return true;
}

bool EndsWithUpper(std::u16string_view s, std::string_view upperAscii) {
    if (s.size() < upperAscii.size()) return false;
    const std::u16string_view tail = s.substr(s.size() - upperAscii.size());
    for (std::size_t n = 0; n < tail.size(); ++n)
        if (UpperUnit(tail[n]) != char16_t(static_cast<unsigned char>(upperAscii[n]))) return false;
    return true;
}

// The ">" that closes the tag starting at the "<" at i: it must come before
// the next "<" and the end of the text; -1 when it does not.
int CloseOf(const TTagText& text, int i) {
    const int next = text.OpenAtOrAfter(i + 1);
    const int limit = next < 0 ? text.Length() : next;
    const std::u16string_view t = text.Text();
    for (int k = i + 1; k < limit; ++k)
        if (t[static_cast<std::size_t>(k)] == u'>') return k;
    return -1;
}

// The text between the first two double quotes; empty when there is no
// second one. `end` receives the place after the closing quote (or after the
// opening one, or npos when there is none).
std::u16string_view QuotedValue(std::u16string_view tag, std::size_t* end = nullptr) {
    const std::size_t q1 = tag.find(u'"');
    const std::size_t q2 = q1 == std::u16string_view::npos ? q1 : tag.find(u'"', q1 + 1);
    if (end) *end = q2 != std::u16string_view::npos ? q2 + 1 : q1 != std::u16string_view::npos ? q1 + 1 : q1;
    if (q2 == std::u16string_view::npos) return {};
    return tag.substr(q1 + 1, q2 - q1 - 1);
}

bool IsWindowNameChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

bool IsPairedName(std::string_view name) {
    return name == "LINK" || name == "ULINK" || name == "MACRO" || name == "UMACRO" || name == "BTN";
}

bool IsImageName(std::string_view name) {
    return name == "IMAGE" || name == "IMAGEC" || name == "IMAGEL" || name == "IMAGER";
}

// The parts of one start tag (from its "<" to its ">").
void SplitParts(std::u16string_view tag, TTagInfo& info) {
    const std::size_t blank = tag.find(u' ');
    const std::string name =
        ToCp1252Units(UpperUnits(blank == std::u16string_view::npos ? Sub(tag, 1) : Sub(tag, 1, blank - 1)));
    info.Parts.push_back(name);
    const std::u16string upper = UpperUnits(tag);
    // Up to, not including, the closing ">".
    auto macroFrom = [&](std::size_t from) {
        return Sub(tag, from, tag.size() - 1 > from ? tag.size() - 1 - from : 0);
    };

    if (name == "LINK" || name == "ULINK") {
        const std::size_t at = name == "LINK" ? 6 : 7;
        const std::string keyword = ToCp1252Units(Sub(upper, at, 5));
        if (keyword != "TOPIC" && keyword != "POPUP") return;
        info.Parts.push_back(keyword);
        std::size_t afterValue = 0;
        info.Parts.push_back(ToCp1252Units(QuotedValue(tag, &afterValue)));
        if (afterValue == std::u16string_view::npos) afterValue = at + 5;
        // FILE= takes the rest of the tag, blanks included; a window is read
        // only between the value and FILE=, so a topic or file name that
        // holds "WINDOW=" never gives one.
        const std::size_t file = upper.find(u"FILE=", afterValue);
        const std::size_t window = upper.find(u"WINDOW=", afterValue);
        if (window != std::u16string::npos && (file == std::u16string::npos || window < file)) {
            std::size_t end = window + 7;
            while (end < tag.size() && IsWindowNameChar(tag[end])) ++end;
            info.Parts.push_back("WINDOW");
            info.Parts.push_back(ToCp1252Units(Sub(tag, window + 7, end - (window + 7))));
        }
        if (file != std::u16string::npos) {
            info.Parts.push_back("FILE");
            info.Parts.push_back(ToCp1252Units(macroFrom(file + 5)));
        }
    } else if (name == "MACRO" || name == "UMACRO" || name == "BTN") {
        info.Parts.push_back(ToCp1252Units(macroFrom(name == "MACRO" ? 7 : name == "UMACRO" ? 8 : 5)));
    } else if (name == "SOUND" || name == "VIDEO") {
        for (const char* flag : {"EXTERNAL", "MENU", "PLAY", "REPEAT", "PLAYBAR"})
            if (upper.find(u" " + Units(flag) + u" ") != std::u16string::npos) info.Parts.push_back(flag);
        info.Parts.push_back(ToCp1252Units(QuotedValue(tag)));
    } else if (name == "ANCHOR" || name == "RTF" || IsImageName(name)) {
        info.Parts.push_back(ToCp1252Units(QuotedValue(tag)));
    }
}

}  // namespace

void TTagText::Assign(std::u16string text) {
    text_ = std::move(text);
    opens_.clear();
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == u'<') opens_.push_back(static_cast<int>(i));
}

int TTagText::OpenAtOrBefore(int p) const {
    const auto it = std::upper_bound(opens_.begin(), opens_.end(), p);
    return it == opens_.begin() ? -1 : *std::prev(it);
}

int TTagText::OpenAtOrAfter(int p) const {
    const auto it = std::lower_bound(opens_.begin(), opens_.end(), p);
    return it == opens_.end() ? -1 : *it;
}

std::optional<std::string> TTagInfo::After(std::string_view key) const {
    for (std::size_t i = 1; i + 1 < Parts.size(); ++i)
        if (Parts[i] == key) return Parts[i + 1];
    return std::nullopt;
}

bool TTagInfo::Has(std::string_view part) const {
    return std::find(Parts.begin() + (Parts.empty() ? 0 : 1), Parts.end(), part) != Parts.end();
}

TTagInfo ParseTagAt(const TTagText& text, int p) {
    const int length = text.Length();
    if (p < 0 || length == 0) return {};
    p = std::min(p, length);
    // The character at p itself counts: a caret just before "<" is in that tag.
    int i = text.OpenAtOrBefore(std::min(p, length - 1));
    if (i < 0) return {};
    TTagInfo info;
    if (text.At(i + 1) == u'/') {
        const int j = CloseOf(text, i);
        if (j < 0) return {};
        const std::u16string start =
            u"<" + UpperUnits(text.Text().substr(static_cast<std::size_t>(i) + 2, static_cast<std::size_t>(j - i - 2)));
        info.EndTagBegin = i;
        info.EndTagEnd = j;
        int k = i;
        while (k >= 0 && !MatchUpperAt(text, k, start)) k = text.OpenAtOrBefore(k - 1);
        if (k < 0) return {};
        i = k;
    }
    info.StartTagBegin = i;
    info.StartTagEnd = CloseOf(text, i);
    if (info.StartTagEnd < 0) return {};
    const std::u16string_view tag =
        text.Text().substr(static_cast<std::size_t>(i), static_cast<std::size_t>(info.StartTagEnd - i + 1));
    SplitParts(tag, info);
    info.Count = static_cast<int>(info.Parts.size());
    if (IsPairedName(info.Name())) {
        const std::u16string end = u"</" + Units(info.Name()) + u">";
        int k = text.OpenAtOrAfter(info.StartTagEnd);
        while (k >= 0 && !MatchUpperAt(text, k, end)) k = text.OpenAtOrAfter(k + 1);
        if (k < 0) return {};
        info.EndTagBegin = k;
        info.EndTagEnd = k + static_cast<int>(end.size()) - 1;
    }
    if (info.EndTagBegin >= 0)
        info.InnerText =
            ToCp1252Units(text.Text().substr(static_cast<std::size_t>(info.StartTagEnd) + 1,
                                             static_cast<std::size_t>(info.EndTagBegin - info.StartTagEnd - 1)));
    if ((info.EndTagEnd < 0 && p > info.StartTagEnd) || (info.EndTagEnd >= 0 && info.EndTagEnd < p)) return {};
    return info;
}

TTagEditKind EditKindOf(const TTagInfo& info) {
    const std::string name = info.Name();
    if (name == "LINK" || name == "ULINK") {
        if (info.Count >= 3 && info.Parts[1] == "TOPIC") return TTagEditKind::TopicLink;
        if (info.Count >= 3 && info.Parts[1] == "POPUP") return TTagEditKind::PopupLink;
        return TTagEditKind::None;
    }
    if (name == "ANCHOR" && info.Count == 2) return TTagEditKind::Anchor;
    if ((name == "MACRO" || name == "UMACRO") && info.Count == 2) return TTagEditKind::Macro;
    if (name == "BTN" && info.Count == 2) return TTagEditKind::Button;
    if (name == "RTF" && info.Count == 2) return TTagEditKind::Rtf;
    if (name == "SOUND" && info.Count >= 2) return TTagEditKind::Sound;
    if (name == "VIDEO" && info.Count >= 2) return TTagEditKind::Video;
    if (IsImageTag(info)) return TTagEditKind::Image;
    return TTagEditKind::None;
}

bool IsImageTag(const TTagInfo& info) { return info.Count == 2 && IsImageName(info.Name()); }

bool IsEditableImageTag(const TTagInfo& info) {
    if (!IsImageTag(info)) return false;
    const std::string ext = ExtractExtension(info.Parts[1]);
    return SameText(ext, "SHG") || SameText(ext, "BMP");
}

std::string ToCp1252Units(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char16_t c : s) out.push_back(c >= 0xD800 && c <= 0xDFFF ? '?' : CodePointToCp1252(c));
    return out;
}

std::optional<TTextSplice> SpliceFor(std::u16string_view oldText, std::string_view newText) {
    const std::string old = ToCp1252Units(oldText);
    if (old == newText) return std::nullopt;
    const std::size_t shorter = std::min(old.size(), newText.size());
    std::size_t prefix = 0;
    while (prefix < shorter && old[prefix] == newText[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == newText[newText.size() - 1 - suffix]) ++suffix;
    // Never split a surrogate pair: the whole character is replaced instead.
    auto splits = [&](std::size_t at) {
        return at > 0 && at < oldText.size() && oldText[at - 1] >= 0xD800 && oldText[at - 1] <= 0xDBFF &&
               oldText[at] >= 0xDC00 && oldText[at] <= 0xDFFF;
    };
    if (splits(prefix)) --prefix;
    if (splits(old.size() - suffix)) --suffix;
    TTextSplice splice;
    splice.From = static_cast<int>(prefix);
    splice.Length = static_cast<int>(old.size() - prefix - suffix);
    splice.Insert = Cp1252ToUtf16(newText.substr(prefix, newText.size() - prefix - suffix));
    return splice;
}

std::u16string WithOriginal(std::string_view newText, std::u16string_view original) {
    std::u16string out = Cp1252ToUtf16(newText);
    const std::string projected = ToCp1252Units(original);
    if (projected.empty()) return out;
    const std::size_t at = newText.rfind(projected);
    if (at != std::string_view::npos) out.replace(at, original.size(), original);
    return out;
}

TDirectInsert DirectInsert(TInsertTag kind, std::u16string_view sel) {
    const std::u16string s(sel);
    const int n = static_cast<int>(sel.size());
    auto after = [](std::u16string text) {
        const int end = static_cast<int>(text.size());
        return TDirectInsert{std::move(text), end, 0};
    };
    switch (kind) {
        case TInsertTag::TopicLink: return {u"<LINK TOPIC=\"" + s + u"\">" + s + u"</LINK>", 13, n};
        case TInsertTag::PopupLink: return {u"<LINK POPUP=\"" + s + u"\">" + s + u"</LINK>", 13, n};
        case TInsertTag::NoScroll: return {u"<NOSCROLL>" + s + u"</NOSCROLL>", 10, 0};
        case TInsertTag::Anchor:
            if (s.empty()) return {u"<ANCHOR \"\">", 9, 0};
            return after(u"<ANCHOR \"" + s + u"\">");
        case TInsertTag::Macro: return {u"<MACRO >" + s + u"</MACRO>", 7, 0};
        case TInsertTag::Image: return {u"<IMAGE \"" + s + u"\">", 8, n};
        case TInsertTag::Button: return {u"<BTN >" + s + u"</BTN>", 5, 0};
        case TInsertTag::Sound: return {u"<SOUND \"\">", 8, 0};
        case TInsertTag::Video: return {u"<VIDEO \"\">", 8, 0};
        case TInsertTag::Rtf: return {u"<RTF \"\">", 6, 0};
        case TInsertTag::StartTag:
            if (s.empty()) return {u"<>", 1, 0};
            return after(u"<" + s + u">");
        case TInsertTag::EndTag:
            if (s.empty()) return {u"</>", 2, 0};
            return after(u"</" + s + u">");
    }
    return {};
}

const std::array<const char*, 17> kMemberTagNames = {"ANCHOR", "BTN",    "IMAGE",     "LINK",   "MACRO",  "NOSCROLL",
                                                     "RTF",    "SOUND",  "ULINK",     "UMACRO", "VIDEO",  "/BTN",
                                                     "/LINK",  "/MACRO", "/NOSCROLL", "/ULINK", "/UMACRO"};

char16_t ListStartChar(int kind) {
    switch (kind) {
        case lkTopics:
        case lkPopups: return u'"';
        case lkWindows: return u'=';
        case lkMacros: return u' ';
        default: return u'<';
    }
}

int ListImageOf(int kind) {
    switch (kind) {
        case lkTopics: return 2;
        case lkPopups: return 3;
        case lkWindows: return 1;
        case lkMacros: return 4;
        default: return 0;
    }
}

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n' || c == 0x0B || c == 0x2028 || c == 0x2029; }

std::u16string GetTypedWord(std::u16string_view text, int p, char16_t c) {
    p = std::clamp(p, 0, static_cast<int>(text.size()));
    int k = p - 1;
    while (k >= 0 && text[static_cast<std::size_t>(k)] != c && !IsLineEnd(text[static_cast<std::size_t>(k)])) --k;
    return std::u16string(text.substr(static_cast<std::size_t>(k + 1), static_cast<std::size_t>(p - k - 1)));
}

int WordStartBefore(std::u16string_view text, int p, char16_t c) {
    p = std::clamp(p, 0, static_cast<int>(text.size()));
    for (int k = p - 1; k >= 0; --k) {
        const char16_t at = text[static_cast<std::size_t>(k)];
        if (at == c) return k + 1;
        if (IsLineEnd(at)) return -1;
    }
    return -1;
}

int ListKindAfterTyping(char16_t ch, std::u16string_view before, const TOptions& options) {
    if (!options.EnableTagInsight) return -1;
    switch (ch) {
        case u'<': return options.PopupTags ? lkTags : -1;
        case u'"':
            if (options.PopupTopics && EndsWithUpper(before, "TOPIC=\"")) return lkTopics;
            if (options.PopupPopups && EndsWithUpper(before, "POPUP=\"")) return lkPopups;
            return -1;
        case u'=': return options.PopupWindows && EndsWithUpper(before, "WINDOW=") ? lkWindows : -1;
        case u' ':
            return options.PopupMacros && (EndsWithUpper(before, "<MACRO ") || EndsWithUpper(before, "<BTN "))
                       ? lkMacros
                       : -1;
        default: return -1;
    }
}

int ListKindForPlace(std::u16string_view line, int p) {
    struct Trigger {
        int kind;
        const char* text;
    };
    static constexpr Trigger kTriggers[] = {{lkTopics, "TOPIC=\""},
                                            {lkPopups, "POPUP=\""},
                                            {lkWindows, "WINDOW="},
                                            {lkMacros, "<MACRO "},
                                            {lkMacros, "<BTN "}};
    p = std::clamp(p, 0, static_cast<int>(line.size()));
    for (const Trigger& t : kTriggers) {
        const int start = WordStartBefore(line, p, ListStartChar(t.kind));
        if (start < 0 || !EndsWithUpper(line.substr(0, static_cast<std::size_t>(start)), t.text)) continue;
        // A ">" closed the tag, and a window name holds no blank: the caret
        // has left the value, and accepting would overwrite what follows it.
        const std::u16string_view typed =
            line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(p - start));
        if (typed.find(u'>') != std::u16string_view::npos) continue;
        if (t.kind == lkWindows && typed.find(u' ') != std::u16string_view::npos) continue;
        return t.kind;
    }
    return lkAll;
}

int AcceptStart(std::u16string_view line, int p, int kind) {
    p = std::clamp(p, 0, static_cast<int>(line.size()));
    const int start = WordStartBefore(line, p, ListStartChar(kind));
    if (start < 0) return p;
    if (kind == lkTags || kind == lkAll) {
        const std::u16string_view typed =
            line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(p - start));
        if (typed.find_first_of(u" >") != std::u16string_view::npos) return p;
    }
    return start;
}

std::string TypedPrefix(std::u16string_view line, int p, int kind) {
    std::string s = Trim(ToCp1252Units(GetTypedWord(line, p, ListStartChar(kind))));
    if ((kind == lkTopics || kind == lkPopups) && !s.empty() && s.back() == '"') s.pop_back();
    return s;
}

std::vector<TMemberItem> MemberItems(int kind, const TProject& project, const TMacros& macros) {
    std::vector<TMemberItem> items;
    auto addNodes = [&](TopicKind nodeKind, int listKind) {
        for (const TTopicNode* node : project.Topics.NodesOfKind(nodeKind))
            items.push_back({node->GetName(), ListImageOf(listKind)});
    };
    auto addWindows = [&] {
        for (int i = 1; i <= project.Windows.Count(); ++i)
            items.push_back({project.Windows.GetWindow(i).GetName(), ListImageOf(lkWindows)});
    };
    auto addTags = [&] {
        for (const char* name : kMemberTagNames) items.push_back({name, ListImageOf(lkTags)});
    };
    auto addMacros = [&] {
        for (int i = 0; i < macros.Count(); ++i) items.push_back({macros.GetMacro(i)->Name, ListImageOf(lkMacros)});
    };
    switch (kind) {
        case lkTopics: addNodes(TopicKind::Topic, lkTopics); break;
        case lkPopups: addNodes(TopicKind::Popup, lkPopups); break;
        case lkWindows: addWindows(); break;
        case lkTags: addTags(); return items;
        case lkMacros: addMacros(); break;
        case lkAll:
            addTags();
            addNodes(TopicKind::Popup, lkPopups);
            addNodes(TopicKind::Topic, lkTopics);
            addMacros();
            addWindows();
            break;
        default: return items;
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const TMemberItem& a, const TMemberItem& b) { return CompareText(a.Name, b.Name) < 0; });
    return items;
}

int FindPrefix(const std::vector<TMemberItem>& items, std::string_view prefix) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& name = items[i].Name;
        if (name.size() >= prefix.size() && SameText(std::string_view(name).substr(0, prefix.size()), prefix))
            return static_cast<int>(i);
    }
    return -1;
}

TListPlace PlaceMemberList(int x, int y, int width, int height, int screenLeft, int screenTop, int screenWidth,
                           int screenHeight) {
    int rx = x - screenLeft;
    int ry = y - screenTop;
    if (rx + width >= screenWidth) rx = screenWidth - width - 40;
    if (ry + height >= screenHeight) ry = screenHeight - height - 80;
    return {screenLeft + rx, screenTop + ry};
}

THotCursor HotCursorFor(const THotCursorState& state, const TOptions& options,
                        const std::function<TTagInfo()>& tagAtMouse) {
    if (state.FormatPainter || !options.HotCursor || state.LeftButton) return THotCursor::Unchanged;
    if (state.X < 32 && options.ShowGutter) return THotCursor::Pointer;
    const TTagInfo info = tagAtMouse ? tagAtMouse() : TTagInfo();
    if (info.Count == 0) return THotCursor::Default;
    const std::string name = info.Name();
    if ((name == "LINK" || name == "ULINK") && options.DblClickFollowsLink) return THotCursor::Hand;
    return THotCursor::Tag;
}

// ============================================================================

// ============================================================================
// Link following
// ============================================================================

namespace {

// True when the `word.size()` characters at `at`, ASCII upper-cased, are
// `word`; false when fewer characters are left.
bool UpperAt(std::u16string_view text, long at, std::string_view word) {
    if (at < 0 || at > static_cast<long>(text.size()) || text.size() - at < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        char16_t c = text[at + k];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c != static_cast<unsigned char>(word[k])) return false;
    }
    return true;
}

bool CharAt(std::u16string_view text, long at, char16_t c) {
    return at >= 0 && at < static_cast<long>(text.size()) && text[at] == c;
}

}  // namespace

bool FindLinkAt(std::u16string_view text, int caret, std::string& name) {
    const long L = static_cast<long>(text.size());
    if (caret < 0 || caret >= L) return false;
    // The nearest "<" at or before the caret.
    long i = caret;
    while (i >= 1 && text[i] != u'<') --i;

    // The next "<" after the start tag, or the end of the text.
    auto nextTag = [&](long s) {
        long k = s + 1;
        while (k < L && text[k] != u'<') ++k;
        return k;
    };
    long v = 0;
    if (UpperAt(text, i, "<LINK ")) {
        const long s = i;
        i = nextTag(s);
        if (!(i <= L - 7)) return false;
        if (!UpperAt(text, i, "</LINK>") && !UpperAt(text, i, "<BITMAP ")) return false;
        v = s + 13;
    } else if (UpperAt(text, i, "<ULINK ") || UpperAt(text, i, "<BITMAP ")) {
        const long s = i;
        i = nextTag(s);
        if (!(i <= L - 8)) return false;
        if (!UpperAt(text, i, "</ULINK>")) return false;
        v = s + 14;
    } else {
        return false;
    }
    if (!CharAt(text, v - 1, u'"')) return false;
    long j = v + 1;
    while (j < L && text[j] != u'"') ++j;
    --j;
    // The value must end before the end tag.
    if (!(i > j)) return false;
    std::u16string_view value = text.substr(v, j - v + 1);
    if (const std::size_t colon = value.find(u':'); colon != std::u16string_view::npos) value = value.substr(0, colon);
    name = Utf16ToCp1252(value);
    return true;
}

// ============================================================================

}  // namespace qm
