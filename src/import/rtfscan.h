#pragma once
// The RTF tokens the import works with: a small lexer that never trusts its
// input (a cut-off control word, a lone backslash or a "\\bin" longer than
// the text all end cleanly), and what a group is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_set>

namespace qm::rtfscan {

enum class Tok : std::uint8_t { Open, Close, Word, Symbol, Text };

struct Token {
    Tok kind = Tok::Text;
    std::size_t begin = 0;
    std::size_t end = 0;    // a control word's end includes its delimiting blank
    std::string_view name;  // control words only
    bool hasParam = false;
    long param = 0;
    bool blank = false;  // the control word ended with a delimiting blank
};

inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Lexer {
public:
    explicit Lexer(std::string_view s, std::size_t pos = 0) : s_(s), pos_(pos) {}

    bool Next(Token& t) {
        const std::size_t n = s_.size();
        if (pos_ >= n) return false;
        t = Token();
        t.begin = pos_;
        const char c = s_[pos_];
        if (c == '{') {
            t.kind = Tok::Open;
            t.end = ++pos_;
            return true;
        }
        if (c == '}') {
            t.kind = Tok::Close;
            t.end = ++pos_;
            return true;
        }
        if (c != '\\') {
            std::size_t e = pos_;
            while (e < n && s_[e] != '{' && s_[e] != '}' && s_[e] != '\\') ++e;
            t.kind = Tok::Text;
            t.end = pos_ = e;
            return true;
        }
        // A backslash.
        if (pos_ + 1 >= n) {
            t.kind = Tok::Symbol;
            t.end = pos_ = n;
            return true;
        }
        const char d = s_[pos_ + 1];
        if (!IsAsciiLetter(d)) {
            t.kind = Tok::Symbol;
            std::size_t len = 2;
            if (d == '\'') len = std::min<std::size_t>(4, n - pos_);
            t.end = pos_ = pos_ + len;
            return true;
        }
        std::size_t e = pos_ + 1;
        while (e < n && IsAsciiLetter(s_[e]) && e - pos_ <= 32) ++e;
        t.kind = Tok::Word;
        t.name = s_.substr(pos_ + 1, e - pos_ - 1);
        std::size_t p = e;
        bool neg = false;
        if (p < n && s_[p] == '-' && p + 1 < n && IsDigit(s_[p + 1])) {
            neg = true;
            ++p;
        }
        if (p < n && IsDigit(s_[p])) {
            long v = 0;
            std::size_t digits = 0;
            while (p < n && IsDigit(s_[p])) {
                if (digits < 10) v = v * 10 + (s_[p] - '0');
                ++digits;
                ++p;
            }
            t.hasParam = true;
            t.param = neg ? -v : v;
            e = p;
        }
        if (e < n && s_[e] == ' ') {
            t.blank = true;
            ++e;
        }
        // Binary data is skipped whole, never read as RTF.
        if (t.name == "bin" && t.hasParam && t.param > 0) {
            const std::size_t left = n - e;
            e += std::min<std::size_t>(static_cast<std::size_t>(t.param), left);
        }
        t.end = pos_ = e;
        return true;
    }

    std::size_t Pos() const { return pos_; }
    void Seek(std::size_t p) { pos_ = p; }

private:
    std::string_view s_;
    std::size_t pos_;
};

inline bool IsWord(const Token& t, std::string_view name) {
    return t.kind == Tok::Word && t.name == name && !t.hasParam;
}

// The position after the group that opens at `open` (the "{"), or the end of
// the text when it never closes.
inline std::size_t GroupEnd(std::string_view s, std::size_t open) {
    Lexer lx(s, open + 1);
    Token t;
    int depth = 1;
    while (lx.Next(t)) {
        if (t.kind == Tok::Open) ++depth;
        if (t.kind == Tok::Close && --depth == 0) return t.end;
    }
    return s.size();
}

// Destinations whose text is not part of the document: a "\page" in them
// breaks no page, and their text is not escaped.
inline bool IsHiddenDestination(std::string_view name) {
    static const std::unordered_set<std::string_view> kNames = {"fonttbl",    "colortbl",
                                                                "stylesheet", "info",
                                                                "pict",       "object",
                                                                "header",     "headerl",
                                                                "headerr",    "headerf",
                                                                "footer",     "footerl",
                                                                "footerr",    "footerf",
                                                                "ftnsep",     "ftnsepc",
                                                                "ftncn",      "aftnsep",
                                                                "aftnsepc",   "aftncn",
                                                                "listtable",  "listoverridetable",
                                                                "revtbl",     "rsidtbl",
                                                                "filetbl",    "fldinst",
                                                                "xe",         "tc",
                                                                "txe",        "nonshppict",
                                                                "themedata",  "colorschememapping",
                                                                "datastore",  "latentstyles",
                                                                "generator",  "template",
                                                                "comment",    "author",
                                                                "title",      "subject",
                                                                "operator",   "keywords",
                                                                "doccomm",    "userprops",
                                                                "docvar",     "pntext",
                                                                "pntxta",     "pntxtb",
                                                                "listtext"};
    return kNames.count(name) != 0;
}

// What the group opening at `open` is: a footnote, a hidden destination, or
// an ordinary group.
enum class GroupKind { Plain, Footnote, Hidden };

inline GroupKind KindOfGroup(std::string_view s, std::size_t open) {
    Lexer lx(s, open + 1);
    Token t;
    while (lx.Next(t)) {
        if (t.kind == Tok::Text) {
            // Line ends before the first control word do not count.
            bool onlyBreaks = true;
            for (std::size_t i = t.begin; i < t.end; ++i)
                if (s[i] != '\r' && s[i] != '\n') onlyBreaks = false;
            if (onlyBreaks) continue;
            return GroupKind::Plain;
        }
        if (t.kind == Tok::Symbol && t.end - t.begin == 2 && s[t.begin + 1] == '*') return GroupKind::Hidden;
        if (t.kind == Tok::Word) {
            if (t.name == "footnote") return GroupKind::Footnote;
            return IsHiddenDestination(t.name) ? GroupKind::Hidden : GroupKind::Plain;
        }
        return GroupKind::Plain;
    }
    return GroupKind::Plain;
}

// The destination of the group opening at `open`: its first control word,
// after the "\*" of an optional destination; empty when text or another
// group comes first.
inline std::string_view DestinationName(std::string_view s, std::size_t open) {
    Lexer lx(s, open + 1);
    Token t;
    while (lx.Next(t)) {
        if (t.kind == Tok::Text &&
            s.substr(t.begin, t.end - t.begin).find_first_not_of("\r\n") == std::string_view::npos)
            continue;
        if (t.kind == Tok::Symbol && t.end - t.begin == 2 && s[t.begin + 1] == '*') continue;
        return t.kind == Tok::Word ? t.name : std::string_view();
    }
    return {};
}

// Whether `out` ends in a control word that no delimiter has ended yet.
inline bool EndsInOpenControlWord(std::string_view out) {
    std::size_t i = out.size();
    while (i > 0 && IsDigit(out[i - 1])) --i;
    if (i > 0 && out[i - 1] == '-') --i;
    const std::size_t lettersEnd = i;
    while (i > 0 && IsAsciiLetter(out[i - 1])) --i;
    if (i == lettersEnd || i == 0 || out[i - 1] != '\\') return false;
    std::size_t slashes = 0;
    while (i > slashes && out[i - 1 - slashes] == '\\') ++slashes;
    return slashes % 2 == 1;
}

}  // namespace qm::rtfscan
