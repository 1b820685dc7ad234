#include "preprocess/tablerows.h"

#include <vector>

#include "preprocess/tagtext.h"

namespace qm {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What an RTF tag's codes do to a table, in order: 'd' a row's definition
// begins, 'x' a cell's right edge, 'c' a cell ends, 'r' a row ends.
std::string TableCodesOf(std::string_view rawTag) {
    std::string codes = FirstQuoted(StripRtf(rawTag));
    ReplaceAllFrom(codes, "\\\\", "\\", 0);
    std::string ops;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != '\\') continue;
        std::size_t e = i + 1;
        while (e < codes.size() && IsLetter(codes[e])) ++e;
        const std::string_view word = std::string_view(codes).substr(i + 1, e - i - 1);
        if (word == "trowd")
            ops += 'd';
        else if (word == "cellx")
            ops += 'x';
        else if (word == "cell")
            ops += 'c';
        else if (word == "row")
            ops += 'r';
        // "\\" is a backslash, not the start of a word.
        i = e > i + 1 ? e - 1 : i + 1;
    }
    return ops;
}

// The pieces of the editor's RTF body that the assembly tells apart.
enum class Piece : unsigned char {
    Format,   // formatting words, groups, line ends: no text
    Content,  // text, characters, tags that are no table's
    Par,      // "\par"
    Pard,     // "\pard"
    Table,    // an RTF tag with a table's codes
};

struct Unit {
    Piece kind;
    std::size_t begin, end;
    std::string ops;  // Table: what its codes do
};

// Words of the editor's paragraph formats: the run after a "\pard" that sets
// a paragraph's format.
bool IsParagraphWord(std::string_view w) {
    return w == "keepn" || w == "qr" || w == "qc" || w == "qj" || w == "ql" || w == "fi" || w == "li" || w == "ri" ||
           w == "sb" || w == "sa" || w == "sl" || w == "slmult" || w == "tx";
}

// Words that stand for a character of the text.
bool IsCharacterWord(std::string_view w) {
    return w == "tab" || w == "line" || w == "page" || w == "u" || w == "emdash" || w == "endash" || w == "bullet" ||
           w == "lquote" || w == "rquote" || w == "ldblquote" || w == "rdblquote" || w == "emspace" || w == "enspace" ||
           w == "qmspace";
}

// Cuts the body from `from` into units; the RTF tags of `tags` are one unit each.
std::vector<Unit> Units(std::string_view s, std::size_t from, const std::vector<TTagSpan>& tags) {
    std::vector<Unit> out;
    std::size_t k = 0;
    while (k < tags.size() && tags[k].begin < from) ++k;
    std::size_t i = from;
    const std::size_t n = s.size();
    while (i < n) {
        while (k < tags.size() && tags[k].begin < i) ++k;  // inside a group taken whole
        if (k < tags.size() && tags[k].begin == i) {
            std::string ops = TableCodesOf(s.substr(tags[k].begin, tags[k].end - tags[k].begin));
            out.push_back({ops.empty() ? Piece::Content : Piece::Table, i, tags[k].end, std::move(ops)});
            i = tags[k].end;
            ++k;
            continue;
        }
        const std::size_t next = k < tags.size() ? tags[k].begin : n;
        const char c = s[i];
        if (c == '{' || c == '}') {
            // The editor's body holds groups only for the paragraph numbering
            // of its format; a group is formatting, whole.
            std::size_t e = i + 1;
            if (c == '{') {
                int depth = 1;
                while (e < n && depth > 0) {
                    if (s[e] == '\\' && e + 1 < n)
                        ++e;
                    else if (s[e] == '{')
                        ++depth;
                    else if (s[e] == '}')
                        --depth;
                    ++e;
                }
            }
            out.push_back({Piece::Format, i, std::min(e, n), {}});
            i = std::min(e, n);
            continue;
        }
        if (c == '\\') {
            if (i + 1 < n && IsLetter(s[i + 1])) {
                std::size_t e = i + 1;
                while (e < n && IsLetter(s[e])) ++e;
                const std::string_view word = s.substr(i + 1, e - i - 1);
                if (e < n && s[e] == '-' && e + 1 < n && IsDigit(s[e + 1])) ++e;
                while (e < n && IsDigit(s[e])) ++e;
                if (e < n && s[e] == ' ') ++e;
                Piece kind = Piece::Format;
                if (word == "par")
                    kind = Piece::Par;
                else if (word == "pard")
                    kind = Piece::Pard;
                else if (IsCharacterWord(word))
                    kind = Piece::Content;
                out.push_back({kind, i, e, {}});
                i = e;
                continue;
            }
            // A symbol: an escaped character or "\'hh".
            std::size_t e = std::min(i + 2, n);
            if (i + 1 < n && s[i + 1] == '\'') e = std::min(i + 4, n);
            out.push_back({Piece::Content, i, e, {}});
            i = e;
            continue;
        }
        std::size_t e = i;
        bool text = false;
        while (e < next && s[e] != '\\' && s[e] != '{' && s[e] != '}') {
            if (s[e] != '\r' && s[e] != '\n') text = true;
            ++e;
        }
        out.push_back({text ? Piece::Content : Piece::Format, i, e, {}});
        i = e;
    }
    return out;
}

// The text of a unit without the blank that ends its control word.
std::string_view WordText(std::string_view s, const Unit& u) {
    std::string_view w = s.substr(u.begin, u.end - u.begin);
    if (!w.empty() && w.back() == ' ') w.remove_suffix(1);
    return w;
}

}  // namespace

std::optional<std::string> AssembleTableRows(std::string_view text) {
    // Most modules hold no table: a table's tag holds "\\cell", "\\row" or
    // "\\trowd" (its backslash escaped once in the RTF, twice when the tag
    // doubles it); one look for escaped backslashes finds them all.
    bool maybe = false;
    for (std::size_t at = text.find("\\\\"); at != std::string_view::npos && !maybe; at = text.find("\\\\", at + 2)) {
        const std::string_view next = text.substr(at + 2, 5);
        maybe = next.starts_with("cell") || next.starts_with("row") || next.starts_with("trowd");
    }
    if (!maybe) return std::nullopt;
    const std::vector<TTagSpan> tags = ScanTags(text, "RTF");
    const std::size_t body = std::min(text.find("\\viewkind4"), text.size());
    const std::vector<Unit> units = Units(text, body, tags);
    bool any = false;
    for (const Unit& u : units) any = any || u.kind == Piece::Table;
    if (!any) return std::nullopt;

    std::string out;
    out.reserve(text.size() + text.size() / 16 + 64);
    out.append(text, 0, body);
    // The paragraph format the editor gave last: "\pard" and its words.
    std::string paraFormat = "\\pard";
    bool rowOpen = false;      // a row's definition was met, its "\row" not yet
    int edges = 0, ended = 0;  // the open row's cells: defined, and ended so far
    bool intblOn = false;      // the output's paragraph format holds "\intbl"
    std::size_t at = 0;
    while (at < units.size()) {
        // One paragraph of the editor: up to and including its "\par".
        std::size_t end = at;
        while (end < units.size() && units[end].kind != Piece::Par) ++end;
        if (end < units.size()) ++end;
        bool hasTable = false;
        std::size_t leadPard = units.size();  // the "\pard" before any text
        bool seenText = false;
        for (std::size_t i = at; i < end; ++i) {
            if (units[i].kind == Piece::Table) hasTable = true;
            if (units[i].kind == Piece::Pard && !seenText && leadPard == units.size()) leadPard = i;
            if (units[i].kind == Piece::Content || units[i].kind == Piece::Table) seenText = true;
        }
        const bool inTable = rowOpen || hasTable;
        if (inTable && leadPard == units.size()) {
            out += "\\intbl ";
        } else if (!inTable && intblOn && leadPard == units.size()) {
            // After a row: the paragraph's own format, without "\intbl".
            out += paraFormat + " ";
        }
        intblOn = inTable;
        bool dropPar = false;   // only formatting since a table's tag
        bool afterRow = false;  // a row ended in this paragraph, no text since
        for (std::size_t i = at; i < end; ++i) {
            const Unit& u = units[i];
            switch (u.kind) {
                case Piece::Pard: {
                    out.append(text, u.begin, 5);  // "\pard"
                    if (i == leadPard && inTable)
                        out += "\\intbl";
                    else
                        intblOn = false;
                    out.append(text, u.begin + 5, u.end - u.begin - 5);
                    // The editor writes the format's words right after it.
                    paraFormat = std::string(WordText(text, u));
                    for (std::size_t j = i + 1; j < end && units[j].kind == Piece::Format; ++j) {
                        const std::string_view w = WordText(text, units[j]);
                        bool paragraphWord = !w.empty() && w[0] == '{';  // the numbering group
                        if (w.size() > 1 && w[0] == '\\') {
                            std::size_t e = 1;
                            while (e < w.size() && IsLetter(w[e])) ++e;
                            paragraphWord = IsParagraphWord(w.substr(1, e - 1));
                        }
                        if (!paragraphWord) break;
                        paraFormat += w;
                    }
                    break;
                }
                case Piece::Table: {
                    // A row whose end was deleted ends where the next one
                    // begins, or once each of its cells has ended.
                    if (rowOpen && ended > 0 && u.ops[0] == 'd') out += "\\row ";
                    out.append(text, u.begin, u.end - u.begin);
                    bool ends = false;
                    for (char op : u.ops) {
                        if (op == 'd') {
                            rowOpen = true;
                            edges = ended = 0;
                        } else if (op == 'x') {
                            ++edges;
                        } else if (op == 'c') {
                            ++ended;
                            ends = rowOpen && ended == edges;
                        } else if (op == 'r') {
                            rowOpen = ends = false;
                            afterRow = true;
                        }
                    }
                    if (ends) {
                        out += "\\row ";
                        rowOpen = false;
                        afterRow = true;
                    }
                    if (rowOpen) afterRow = false;
                    dropPar = true;
                    break;
                }
                case Piece::Content:
                    if (afterRow) {
                        // Text after a row's end in the same paragraph is no
                        // longer the row's.
                        out += paraFormat + " ";
                        intblOn = false;
                        bool more = false;
                        for (std::size_t j = i + 1; j < end; ++j) more = more || units[j].kind == Piece::Table;
                        if (more) {
                            out += "\\intbl ";
                            intblOn = true;
                        }
                        afterRow = false;
                    }
                    out.append(text, u.begin, u.end - u.begin);
                    dropPar = false;
                    break;
                case Piece::Par:
                    if (!dropPar) out.append(text, u.begin, u.end - u.begin);
                    break;
                case Piece::Format: out.append(text, u.begin, u.end - u.begin); break;
            }
        }
        at = end;
    }
    return out;
}

}  // namespace qm
