#include "import/importlinks.h"

#include <algorithm>
#include <unordered_map>

#include "preprocess/tagtext.h"

namespace qm {

namespace {

using Kind = TMacroArgKind;

// The macros of the catalogue whose arguments name topics ("topic-ID") or
// hold macros ("macro", "button-macro", ...), by lower-cased name and short
// form.
const std::unordered_map<std::string, TMacroArgs>& MacroTable() {
    static const std::unordered_map<std::string, TMacroArgs> table = [] {
        std::unordered_map<std::string, TMacroArgs> t;
        const auto add = [&t](std::initializer_list<const char*> names, TMacroArgs args) {
            for (const char* name : names) t.emplace(name, args);
        };
        add({"jumpid", "ji"}, {0, {{1, Kind::Topic}}});
        add({"popupid", "pi"}, {0, {{1, Kind::Topic}}});
        add({"updatewindow"}, {0, {{1, Kind::Topic}}});
        add({"alink", "al"}, {-1, {{2, Kind::Topic}}});
        add({"klink", "kl"}, {-1, {{2, Kind::Topic}}});
        add({"execfile", "ef"}, {-1, {{3, Kind::Topic}}});
        add({"shellexecute", "se"}, {-1, {{5, Kind::Topic}}});
        add({"shortcut", "sh"}, {-1, {{4, Kind::Topic}}});
        add({"mprintid"}, {-1, {{0, Kind::Topic}}});
        add({"addaccelerator", "aa"}, {-1, {{2, Kind::Macro}}});
        add({"appenditem", "ai"}, {-1, {{3, Kind::Macro}}});
        add({"insertitem"}, {-1, {{3, Kind::Macro}}});
        add({"changebuttonbinding", "cbb"}, {-1, {{1, Kind::Macro}}});
        add({"changeenable", "ce"}, {-1, {{1, Kind::Macro}}});
        add({"changeitembinding", "cib"}, {-1, {{1, Kind::Macro}}});
        add({"createbutton", "cb"}, {-1, {{2, Kind::Macro}}});
        add({"ifthen", "if"}, {-1, {{1, Kind::Macro}}});
        add({"ifthenelse", "ie"}, {-1, {{1, Kind::Macro}, {2, Kind::Macro}}});
        return t;
    }();
    return table;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// One argument of a call: where its text is, and where the text inside its
// quotes is (the same when it is not quoted).
struct Arg {
    std::size_t begin = 0, end = 0;            // the argument, blanks around it left out
    std::size_t innerBegin = 0, innerEnd = 0;  // inside the quotes
};

// Reads a quoted string from `i` (at its opening quote): "..." (a backslash
// escapes the next character) or `...' (which nest). Gives the position after
// the closing quote, or npos when the string does not end.
std::size_t SkipQuoted(std::string_view s, std::size_t i) {
    if (s[i] == '"') {
        for (std::size_t k = i + 1; k < s.size(); ++k) {
            if (s[k] == '\\') {
                ++k;
                continue;
            }
            if (s[k] == '"') return k + 1;
        }
        return std::string_view::npos;
    }
    int depth = 0;
    for (std::size_t k = i; k < s.size(); ++k) {
        if (s[k] == '`') ++depth;
        if (s[k] == '\'' && --depth == 0) return k + 1;
    }
    return std::string_view::npos;
}

// Reads the arguments of a call whose "(" is at `open`. Gives the position
// after its ")", or npos when the call cannot be read.
std::size_t ReadArgs(std::string_view s, std::size_t open, std::vector<Arg>& args) {
    std::size_t i = open + 1;
    for (;;) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i >= s.size()) return std::string_view::npos;
        if (s[i] == ')' && args.empty()) return i + 1;
        Arg a;
        a.begin = i;
        if (s[i] == '"' || s[i] == '`') {
            const std::size_t after = SkipQuoted(s, i);
            if (after == std::string_view::npos) return after;
            a.innerBegin = i + 1;
            a.innerEnd = after - 1;
            a.end = i = after;
        } else {
            // An unquoted argument: a number, a variable or a call
            // (IsMark("x")), up to the "," or ")" outside its parentheses.
            int depth = 0;
            while (i < s.size() && !(depth == 0 && (s[i] == ',' || s[i] == ')'))) {
                if (s[i] == '"' || s[i] == '`') {
                    const std::size_t after = SkipQuoted(s, i);
                    if (after == std::string_view::npos) return after;
                    i = after;
                    continue;
                }
                if (s[i] == '(') ++depth;
                if (s[i] == ')') --depth;
                ++i;
            }
            a.end = i;
            while (a.end > a.begin && IsBlank(s[a.end - 1])) --a.end;
            a.innerBegin = a.begin;
            a.innerEnd = a.end;
        }
        args.push_back(a);
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i >= s.size()) return std::string_view::npos;
        if (s[i] == ')') return i + 1;
        if (s[i] != ',') return std::string_view::npos;
        ++i;
    }
}

std::string LowerName(std::string_view s) { return AsciiLowerStr(Trim(s)); }

}  // namespace

const TMacroArgs* TopicMacroArgs(std::string_view name) {
    const auto& table = MacroTable();
    const auto it = table.find(AsciiLowerStr(name));
    return it == table.end() ? nullptr : &it->second;
}

TTopicLeads::TTopicLeads(const TContextMap& contexts, const std::vector<std::unique_ptr<TTopicNode>>& records,
                         std::string helpFile)
    : contexts_(contexts) {
    for (const auto& r : records) names_.insert(AsciiLowerStr(r->GetName()));
    const std::size_t sep = helpFile.find_last_of("\\/:");
    helpFile_ = LowerName(sep == std::string::npos ? helpFile : helpFile.substr(sep + 1));
}

std::optional<std::string> TTopicLeads::LeadTarget(std::string_view target) const {
    const std::string t = Trim(target);
    // A record's own name stays: it may also be a context string that leads
    // elsewhere (a topic "a_b" beside one whose context string "a.b" was
    // renamed "a_b_1").
    if (t.empty() || names_.count(AsciiLowerStr(t)) || !contexts_.Knows(t)) return std::nullopt;
    std::string led = contexts_.Resolve(t);
    if (led == t) return std::nullopt;
    return led;
}

bool TTopicLeads::IsOwnHelpFile(std::string_view file) const {
    std::string f = Trim(file);
    // The window part: ">window", or as the import escapes it, "&rt;window".
    f = f.substr(0, std::min(f.find('>'), f.find("&rt;")));
    f = Trim(f);
    if (f.empty() || SameText(f, "qchPath")) return true;
    const std::size_t sep = f.find_last_of("\\/:");
    const std::string name = LowerName(sep == std::string::npos ? f : f.substr(sep + 1));
    return !helpFile_.empty() && name == helpFile_;
}

std::string TTopicLeads::LeadMacros(std::string_view macros) const { return LeadMacrosAt(macros, 0); }

std::string TTopicLeads::LeadMacrosAt(std::string_view macros, int depth) const {
    std::string out;
    std::size_t done = 0;
    std::size_t i = 0;
    const std::string_view s = macros;
    while (i < s.size()) {
        while (i < s.size() && (IsBlank(s[i]) || s[i] == ';' || s[i] == ':')) ++i;
        if (i >= s.size()) break;
        const std::size_t nameBegin = i;
        while (i < s.size() && IsNameChar(s[i])) ++i;
        const std::string_view name = s.substr(nameBegin, i - nameBegin);
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (name.empty() || i >= s.size() || s[i] != '(') return std::string(macros);  // not a call we can read
        std::vector<Arg> args;
        const std::size_t after = ReadArgs(s, i, args);
        if (after == std::string_view::npos) return std::string(macros);
        i = after;
        const TMacroArgs* known = TopicMacroArgs(name);
        if (!known) continue;
        if (known->FileArg >= 0) {
            const std::size_t f = static_cast<std::size_t>(known->FileArg);
            // Topics of another help file keep their context strings.
            if (f < args.size() && !IsOwnHelpFile(s.substr(args[f].innerBegin, args[f].innerEnd - args[f].innerBegin)))
                continue;
        }
        for (const TMacroArg& spec : known->Args) {
            const auto k = static_cast<std::size_t>(spec.Index);
            if (k >= args.size()) continue;
            const Arg& a = args[k];
            const std::string_view inner = s.substr(a.innerBegin, a.innerEnd - a.innerBegin);
            std::string led;
            if (spec.Kind == TMacroArgKind::Macro) {
                // Each level is a quoted string inside the last: a hostile
                // file could nest them without end.
                if (depth + 1 >= kMaxMacroNesting) continue;
                led = LeadMacrosAt(inner, depth + 1);
                if (led == inner) continue;
            } else {
                std::optional<std::string> to = LeadTarget(inner);
                if (!to) continue;
                // The build names an anchor's context string name_anchor.
                for (char& c : *to)
                    if (c == ':') c = '_';
                if (*to == inner) continue;
                led = std::move(*to);
            }
            out.append(s, done, a.innerBegin - done);
            out += led;
            done = a.innerEnd;
        }
    }
    if (done == 0) return std::string(macros);
    out.append(s, done, std::string_view::npos);
    return out;
}

std::string TTopicLeads::LeadTagText(std::string_view tag, bool link) const {
    if (link) {
        // <LINK TOPIC="target[:anchor]" ...>: another help file's target stays.
        if (AsciiUpperStr(tag).find("FILE=") != std::string::npos) return std::string(tag);
        const std::size_t q1 = tag.find('"');
        const std::size_t q2 = q1 == std::string_view::npos ? q1 : tag.find('"', q1 + 1);
        if (q2 == std::string_view::npos) return std::string(tag);
        const std::string_view value = tag.substr(q1 + 1, q2 - q1 - 1);
        const std::size_t colon = value.find(':');
        const std::optional<std::string> to = LeadTarget(value.substr(0, colon));
        if (!to) return std::string(tag);
        std::string led = *to;
        // An alias of an anchor's context string already names the anchor.
        if (colon != std::string_view::npos && led.find(':') == std::string::npos)
            led += std::string(value.substr(colon));
        return std::string(tag.substr(0, q1 + 1)) + led + std::string(tag.substr(q2));
    }
    // <MACRO macros>, <UMACRO macros>, <BTN macros>: the macros follow the name.
    const std::size_t blank = tag.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= tag.size()) return std::string(tag);
    const std::string_view macros = tag.substr(blank + 1, tag.size() - 1 - (blank + 1));
    const std::string led = LeadMacros(macros);
    if (led == macros) return std::string(tag);
    return std::string(tag.substr(0, blank + 1)) + led + ">";
}

void TTopicLeads::LeadRecords(std::vector<std::unique_ptr<TTopicNode>>& records) const {
    for (auto& record : records) {
        LeadMacroList(record->Macros);
        std::string& text = record->Text;
        if (text.find('<') == std::string::npos) continue;
        struct Change {
            TTagSpan span;
            std::string with;
        };
        std::vector<Change> changes;
        for (const auto& [name, link] : {std::pair<const char*, bool>{"LINK", true},
                                         {"ULINK", true},
                                         {"MACRO", false},
                                         {"UMACRO", false},
                                         {"BTN", false}}) {
            for (const TTagSpan& span : ScanTags(text, name)) {
                const std::string_view raw = std::string_view(text).substr(span.begin, span.end - span.begin);
                const std::string plain = StripRtf(raw);
                // A tag with formatting inside would lose it: it stays.
                if (EscapeRtf(plain) != raw) continue;
                const std::string led = LeadTagText(plain, link);
                if (led != plain) changes.push_back({span, EscapeRtf(led)});
            }
        }
        if (changes.empty()) continue;
        std::sort(changes.begin(), changes.end(),
                  [](const Change& a, const Change& b) { return a.span.begin < b.span.begin; });
        std::string out;
        out.reserve(text.size() + 16 * changes.size());
        std::size_t done = 0;
        for (const Change& c : changes) {
            if (c.span.begin < done) continue;  // tags that share a ">": the first one is led
            out.append(text, done, c.span.begin - done);
            out += c.with;
            done = c.span.end;
        }
        out.append(text, done, std::string::npos);
        text.swap(out);
    }
}

void TTopicLeads::LeadMacroList(StringList& macros) const {
    for (std::string& m : macros) m = LeadMacros(m);
}

}  // namespace qm
