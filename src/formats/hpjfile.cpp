#include "formats/hpjfile.h"

#include <cstddef>
#include <limits>

#include "util/errors.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {

namespace {

constexpr const char* kInvalid = "Invalid HelpWorkshop project file. ";

// Index of the header line of a section, or -1. A line is the header when its
// trimmed text, cut to the header's length, matches it ignoring case.
long FindSection(const StringList& lines, std::string_view header) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string t = Trim(lines[i]);
        if (t.size() >= header.size() && SameText(std::string_view(t).substr(0, header.size()), header))
            return static_cast<long>(i);
    }
    return -1;
}

// The trimmed body lines of the section whose header is at `header`: the run
// up to the first blank line or the next "[" line. Comment lines are dropped.
StringList SectionBody(const StringList& lines, long header) {
    StringList body;
    if (header < 0) return body;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
        std::string t = Trim(lines[i]);
        if (t.empty() || t[0] == '[') break;
        if (t[0] == ';') continue;
        body.push_back(std::move(t));
    }
    return body;
}

bool HasLineAfter(const StringList& lines, long header) {
    return header >= 0 && static_cast<std::size_t>(header) + 1 < lines.size();
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-'; }

// Strict decimal int32: an optional "-" and at least one digit, no overflow.
std::int32_t ToInt32(const std::string& text) {
    const auto fail = [&]() { return Error("'" + QuoteInput(text) + "' is not a valid integer value"); };
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    if (i >= text.size()) throw fail();
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') throw fail();
        value = value * 10 + (c - '0');
        if (value > limit) throw fail();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// Walks the blank-free tail of a window line. Every read stops at the end of
// the text, so a short line leaves the remaining fields at their defaults.
class WindowCursor {
public:
    explicit WindowCursor(std::string s) : s_(std::move(s)) {}

    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }
    void skip() {
        if (!atEnd()) ++pos_;
    }
    void seek(std::size_t pos) { pos_ = pos < s_.size() ? pos : s_.size(); }

    // The run of digits and "-" from here; the character ending it is skipped.
    // `endedByText` tells whether a character (not the end of the line) ended it.
    std::string run(bool* endedByText = nullptr) {
        const std::size_t start = pos_;
        while (!atEnd() && IsNumberChar(s_[pos_])) ++pos_;
        std::string text = s_.substr(start, pos_ - start);
        if (endedByText) *endedByText = !atEnd();
        skip();
        return text;
    }

    // A number that may be empty: `absent` when it is.
    std::int32_t number(std::int32_t absent) {
        const std::string text = run();
        return text.empty() ? absent : ToInt32(text);
    }

    // A colour group "(r<decimal>)", or 0xFFFFFF when there is none; the
    // separating character after it is skipped in both cases.
    std::int32_t colour() {
        std::int32_t value = 0xFFFFFF;
        if (peek() == '(') {
            skip();
            const char c = peek();
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) skip();
            bool endedByText = false;
            const std::string text = run(&endedByText);
            // A group cut off by the end of the line is absent; an empty group
            // that is closed ("(r)") is a bad number.
            if (!text.empty() || endedByText) value = ToInt32(text);
        }
        skip();
        return value;
    }

    std::string rest() const { return atEnd() ? std::string() : s_.substr(pos_); }

private:
    std::string s_;
    std::size_t pos_ = 0;
};

}  // namespace

TWindowInfo THpjFile::ParseWindowLine(const std::string& t) {
    TWindowInfo w;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) return w;
    w.Name = Trim(std::string_view(t).substr(0, eq));

    // The numbers start after the caption's closing quote, so a caption may
    // hold commas.
    std::size_t from = eq + 1;
    const std::size_t q1 = t.find('"');
    if (q1 != std::string::npos) {
        const std::size_t q2 = t.find('"', q1 + 1);
        if (q2 != std::string::npos) {
            w.Caption = t.substr(q1 + 1, q2 - q1 - 1);
            if (q2 + 1 > from) from = q2 + 1;
        }
    }
    const std::size_t comma = t.find(',', from);
    std::string s;
    if (comma != std::string::npos) {
        for (std::size_t i = comma; i < t.size(); ++i)
            if (t[i] != ' ' && t[i] != '\t') s += t[i];
    }

    WindowCursor cur(s);
    if (s.size() >= 2 && s[1] == ',') {
        cur.seek(2);
    } else {
        cur.seek(2);
        w.X = cur.number(-1);
        w.Y = cur.number(-1);
        w.W = cur.number(-1);
        w.H = cur.number(-1);
        cur.skip();
    }
    w.State = cur.number(0);
    w.Rgb1 = cur.colour();
    w.Rgb2 = cur.colour();
    w.Rest = cur.rest();
    return w;
}

void THpjFile::LoadFromFile(const std::string& fileName) {
    // ReadWholeFile raises the file-access error in its access form.
    const std::string data = ReadWholeFile(fileName, kMaxFileBytes);
    std::string_view view = data;
    // An editor's UTF-8 mark would otherwise hide the first header.
    if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
    Parse(SplitLines(view));
}

void THpjFile::Parse(const StringList& lines) {
    OptionKeys.clear();
    OptionValues.clear();
    MapIds.clear();
    MapValues.clear();
    Files.clear();
    windows_.clear();

    const long options = FindSection(lines, "[OPTIONS]");
    if (!HasLineAfter(lines, options)) throw Error(std::string(kInvalid) + "[OPTIONS] section is missing.");
    for (const std::string& t : SectionBody(lines, options)) {
        const std::size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        // Hand-written files put blanks around "="; the key is matched by name.
        OptionKeys.push_back(AsciiUpperStr(Trim(std::string_view(t).substr(0, eq))));
        OptionValues.push_back(Trim(std::string_view(t).substr(eq + 1)));
    }

    const long files = FindSection(lines, "[FILES]");
    if (!HasLineAfter(lines, files)) throw Error(std::string(kInvalid) + "[FILES] section is missing.");
    Files = SectionBody(lines, files);
    if (Files.empty()) throw Error(std::string(kInvalid) + "No files in [FILES] section.");

    for (const std::string& t : SectionBody(lines, FindSection(lines, "[MAP]"))) {
        const std::size_t blank = t.find(' ');
        if (blank == std::string::npos) continue;
        MapIds.push_back(t.substr(0, blank));
        MapValues.push_back(t.substr(blank + 1));
    }

    for (const std::string& t : SectionBody(lines, FindSection(lines, "[WINDOWS]"))) {
        if (t.find('=') == std::string::npos) continue;
        if (windows_.size() >= static_cast<std::size_t>(kMaxWindows)) break;
        windows_.push_back(ParseWindowLine(t));
    }
}

TWindowInfo THpjFile::GetWindow(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= windows_.size())
        throw Error("List index out of bounds (" + std::to_string(i) + ")");
    return windows_[static_cast<std::size_t>(i)];
}

}  // namespace qm
