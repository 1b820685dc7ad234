// The RTF reader. It takes what the help compiler's world writes: word
// processors, the rich-edit control and hand-written help RTF. It never trusts
// the input: groups may be unbalanced, numbers huge, the text cut anywhere.
// Footnote groups are read as ordinary text (their marks and text stay in the
// paragraph); destinations it does not show are skipped.
#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>

#include "richtext/richdoc.h"
#include "util/cp1252.h"

namespace qm {
namespace {

// The control words, grouped as RTF documents group them.
// clang-format off
enum class Kw : std::uint8_t {
    // destinations
    FontTbl, ColorTbl, SkipDest, Pn, Footnote,
    // document
    Deff, Bin, Uc, U,
    // breaks and special characters
    Par, Sect, Row, Cell, Tab, Line, Page, Emdash, Endash, Space, Bullet, Lquote, Rquote,
    Ldblquote, Rdblquote,
    // character formatting
    Plain, F, Fs, B, I, Ul, Uldb, Ulnone, Strike, Striked, V, Cf, Cb, Highlight, Chcbpat,
    // paragraph formatting
    Pard, Ql, Qr, Qc, Qj, Fi, Li, Ri, Sb, Sa, Sl, Slmult, Keepn, Tx, Tb, Ls, PnLvlBlt,
    // font table entries
    Froman, Fswiss, Fmodern, Fscript, Fdecor, Ftech, Fbidi, Fnil, Fcharset, Fprq,
    // colour table entries
    Red, Green, Blue,
};

const std::unordered_map<std::string_view, Kw>& Keywords() {
    static const std::unordered_map<std::string_view, Kw> map = {
        {"fonttbl", Kw::FontTbl}, {"colortbl", Kw::ColorTbl}, {"pn", Kw::Pn},
        {"footnote", Kw::Footnote},
        // Destinations whose text is not part of the shown document.
        {"stylesheet", Kw::SkipDest}, {"info", Kw::SkipDest}, {"pict", Kw::SkipDest},
        {"object", Kw::SkipDest}, {"header", Kw::SkipDest}, {"headerl", Kw::SkipDest},
        {"headerr", Kw::SkipDest}, {"headerf", Kw::SkipDest}, {"footer", Kw::SkipDest},
        {"footerl", Kw::SkipDest}, {"footerr", Kw::SkipDest}, {"footerf", Kw::SkipDest},
        {"ftnsep", Kw::SkipDest}, {"ftnsepc", Kw::SkipDest}, {"ftncn", Kw::SkipDest},
        {"aftnsep", Kw::SkipDest}, {"aftnsepc", Kw::SkipDest}, {"aftncn", Kw::SkipDest},
        {"pntext", Kw::SkipDest}, {"listtext", Kw::SkipDest}, {"listtable", Kw::SkipDest},
        {"listoverridetable", Kw::SkipDest}, {"revtbl", Kw::SkipDest}, {"rsidtbl", Kw::SkipDest},
        {"filetbl", Kw::SkipDest}, {"fldinst", Kw::SkipDest}, {"xe", Kw::SkipDest},
        {"tc", Kw::SkipDest}, {"txe", Kw::SkipDest}, {"nonshppict", Kw::SkipDest},
        {"themedata", Kw::SkipDest}, {"colorschememapping", Kw::SkipDest},
        {"datastore", Kw::SkipDest}, {"latentstyles", Kw::SkipDest}, {"generator", Kw::SkipDest},
        {"pntxta", Kw::SkipDest}, {"pntxtb", Kw::SkipDest}, {"template", Kw::SkipDest},
        {"bkmkstart", Kw::SkipDest}, {"bkmkend", Kw::SkipDest}, {"comment", Kw::SkipDest},
        {"author", Kw::SkipDest}, {"title", Kw::SkipDest}, {"subject", Kw::SkipDest},
        {"operator", Kw::SkipDest}, {"keywords", Kw::SkipDest}, {"doccomm", Kw::SkipDest},
        {"userprops", Kw::SkipDest}, {"docvar", Kw::SkipDest}, {"mmathPr", Kw::SkipDest},
        {"deff", Kw::Deff}, {"bin", Kw::Bin}, {"uc", Kw::Uc}, {"u", Kw::U},
        {"par", Kw::Par}, {"sect", Kw::Sect}, {"row", Kw::Row}, {"nestrow", Kw::Row},
        {"cell", Kw::Cell}, {"nestcell", Kw::Cell}, {"tab", Kw::Tab}, {"line", Kw::Line},
        {"page", Kw::Page}, {"emdash", Kw::Emdash}, {"endash", Kw::Endash},
        {"emspace", Kw::Space}, {"enspace", Kw::Space}, {"qmspace", Kw::Space},
        {"bullet", Kw::Bullet}, {"lquote", Kw::Lquote}, {"rquote", Kw::Rquote},
        {"ldblquote", Kw::Ldblquote}, {"rdblquote", Kw::Rdblquote},
        {"plain", Kw::Plain}, {"f", Kw::F}, {"fs", Kw::Fs}, {"b", Kw::B}, {"i", Kw::I},
        {"ul", Kw::Ul}, {"ulw", Kw::Ul}, {"uld", Kw::Ul}, {"uldash", Kw::Ul}, {"uldashd", Kw::Ul},
        {"uldashdd", Kw::Ul}, {"ulth", Kw::Ul}, {"ulwave", Kw::Ul}, {"ulhwave", Kw::Ul},
        {"ulldash", Kw::Ul}, {"ulthd", Kw::Ul}, {"ulthdash", Kw::Ul}, {"uldb", Kw::Uldb},
        {"ululdbwave", Kw::Uldb}, {"ulnone", Kw::Ulnone}, {"strike", Kw::Strike},
        {"striked", Kw::Striked}, {"v", Kw::V}, {"cf", Kw::Cf}, {"cb", Kw::Cb},
        {"highlight", Kw::Highlight}, {"chcbpat", Kw::Chcbpat},
        {"pard", Kw::Pard}, {"ql", Kw::Ql}, {"qr", Kw::Qr}, {"qc", Kw::Qc}, {"qj", Kw::Qj},
        {"fi", Kw::Fi}, {"li", Kw::Li}, {"ri", Kw::Ri}, {"sb", Kw::Sb}, {"sa", Kw::Sa},
        {"sl", Kw::Sl}, {"slmult", Kw::Slmult}, {"keepn", Kw::Keepn}, {"tx", Kw::Tx},
        {"tb", Kw::Tb}, {"ls", Kw::Ls}, {"pnlvlblt", Kw::PnLvlBlt},
        {"froman", Kw::Froman}, {"fswiss", Kw::Fswiss}, {"fmodern", Kw::Fmodern},
        {"fscript", Kw::Fscript}, {"fdecor", Kw::Fdecor}, {"ftech", Kw::Ftech},
        {"fbidi", Kw::Fbidi}, {"fnil", Kw::Fnil}, {"fcharset", Kw::Fcharset}, {"fprq", Kw::Fprq},
        {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue},
    };
    // clang-format on
    return map;
}

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable, Pn };

struct CharState {
    int font = -1;  // RTF font number; -1 = the default font
    int size = 24;
    bool bold = false, italic = false, strike = false, hidden = false;
    Underline underline = Underline::None;
    int color = 0, back = 0, highlight = 0;
    bool operator==(const CharState&) const = default;
};

struct CharStateHash {
    std::size_t operator()(const CharState& c) const {
        std::size_t h = std::hash<long long>()((static_cast<long long>(c.font) << 32) ^ c.size);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
        mix((std::size_t(c.bold) << 0) | (std::size_t(c.italic) << 1) | (std::size_t(c.strike) << 2) |
            (std::size_t(c.hidden) << 3) | (std::size_t(c.underline) << 4));
        mix(std::hash<int>()(c.color));
        mix(std::hash<int>()(c.back));
        mix(std::hash<int>()(c.highlight));
        return h;
    }
};

struct CharFormatHash {
    std::size_t operator()(const CharFormat& f) const {
        std::size_t h = std::hash<std::string>()(f.font.face);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
        mix((std::size_t(f.font.charset) << 16) | (std::size_t(f.font.pitch) << 8) | std::size_t(f.font.family));
        mix(std::size_t(f.sizeHalfPoints));
        mix((std::size_t(f.bold) << 0) | (std::size_t(f.italic) << 1) | (std::size_t(f.strikeOut) << 2) |
            (std::size_t(f.hidden) << 3) | (std::size_t(f.underline) << 4));
        for (const RtfColor& c : {f.color, f.backColor, f.highlight}) mix((std::size_t(c.automatic) << 32) | c.rgb);
        return h;
    }
};

struct State {
    Dest dest = Dest::Text;
    CharState chr;
    ParaFormat para;
    bool intbl = false;  // the paragraph is a table's
    int uc = 1;
    // Raw \sl value and \slmult flag; the rule is derived from both.
    int sl = 0;
    bool slmult = false;
};

struct FontEntry {
    FontInfo info;
    bool named = false;
};

// What ReadRtfTables gathers while the reader reads.
struct TableCollector {
    RtfTablesAndText read;
    std::vector<RtfTable>& tables = read.tables;
    bool open = false;  // tables.back() is being read
    RtfTableRow row;
    RtfTableCell cell;
    std::vector<int> definition;  // the edges of the last definition

    RtfTable& current() {
        if (!open) {
            tables.emplace_back();
            tables.back().after = read.paragraphs.size();
            open = true;
        }
        return tables.back();
    }
    void endRow() {
        if (!cell.paragraphs.empty()) {
            bool text = false;
            for (const Paragraph& p : cell.paragraphs) text = text || p.length() > 0;
            // The paragraph that only marks the row's end is no cell.
            if (text) row.cells.push_back(std::move(cell));
            cell = RtfTableCell();
        }
        if (row.cells.empty()) return;
        row.cellRight = definition;
        current().rows.push_back(std::move(row));
        row = RtfTableRow();
    }
    void endTable() {
        if (!open && row.cells.empty() && cell.paragraphs.empty()) return;
        endRow();
        if (open && tables.back().rows.empty()) tables.pop_back();
        open = false;
    }
};

// Deeper nesting than this keeps the last state; it only counts braces, so a
// flood of "{" costs no memory.
constexpr std::size_t kMaxDepth = 1024;

class Reader {
public:
    // Each paragraph goes to `sink` as soon as it is complete.
    Reader(std::string_view in, const ParagraphSink& sink) : in_(in), sink_(sink), plain_(unused_) {}
    // Only the characters are kept, into `plain` (runPlain), no formats.
    Reader(std::string_view in, std::u16string& plain) : in_(in), sink_(NoSink()), textOnly_(true), plain_(plain) {}
    // Only the tables' paragraphs are kept, into `tables`.
    Reader(std::string_view in, TableCollector& tables) : in_(in), sink_(NoSink()), plain_(unused_) {
        tables_ = &tables;
    }

    void run() {
        readAll();
        if (tables_) tables_->endTable();
    }

    // What run() gives as the paragraphs' plain text, without making them.
    void runPlain() {
        plain_.clear();
        readAll();
        // Each paragraph was ended by a separator; the last one has none.
        if (!plain_.empty() && committed_ > 0) plain_.pop_back();
    }

private:
    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<State> stack_;
    std::size_t extraDepth_ = 0;  // groups beyond kMaxDepth
    int rootDepth_ = 0;           // groups open, counting the root
    bool started_ = false;
    bool ended_ = false;
    int ucSkip_ = 0;  // fallback characters still to skip after \u
    int deff_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    int fontNum_ = 0;  // font being defined in the table
    std::string fontName_;
    std::vector<RtfColor> colors_;
    RtfColor colorEntry_;
    bool colorHasValue_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool pendingStar_ = false;
    bool pnBullet_ = false;

    const ParagraphSink& sink_;
    std::size_t emitted_ = 0;
    Paragraph cur_;
    // The characters read in the current format, not yet in cur_.
    std::u16string pending_;
    SharedCharFormat pendingFormat_;
    bool fmtDirty_ = true;
    SharedCharFormat fmt_;
    // The formats made so far, by the character state they came from (valid
    // while the font and colour tables stay as they are) and by value, so
    // that each format is held once however many runs have it.
    std::unordered_map<CharState, SharedCharFormat, CharStateHash> byState_;
    std::unordered_map<CharFormat, SharedCharFormat, CharFormatHash> byValue_;

    // The text-only reading: the characters, each paragraph ended by a
    // separator; where the current paragraph began.
    bool textOnly_ = false;
    std::u16string unused_;
    std::u16string& plain_;
    std::size_t paraStart_ = 0;
    bool touched_ = false;  // runText since the last paragraph
    std::size_t committed_ = 0;
    TableCollector* tables_ = nullptr;  // reading the tables only

    static const ParagraphSink& NoSink() {
        static const ParagraphSink none = [](Paragraph&&) {};
        return none;
    }

    State& st() { return stack_.back(); }

    void readAll() {
        stack_.reserve(32);
        stack_.push_back(State());
        parse();
        // The text after the last \par is a paragraph only when it holds
        // characters; a trailing \par ends the last paragraph as written.
        const bool hasRuns = touched_;
        const bool hasParagraphs = textOnly_ ? committed_ > 0 : emitted_ > 0;
        if (hasRuns || !hasParagraphs) commitParagraph();
    }

    std::size_t currentLength() const {
        return textOnly_ ? plain_.size() - paraStart_ : cur_.length() + pending_.size();
    }

    void parse() {
        const std::size_t n = in_.size();
        while (pos_ < n && !ended_) {
            char c = in_[pos_];
            switch (c) {
                case '{':
                    ++pos_;
                    openGroup();
                    break;
                case '}':
                    ++pos_;
                    closeGroup();
                    break;
                case '\\': controlWord(); break;
                case '\r':
                case '\n': ++pos_; break;
                default: plainText(); break;
            }
        }
    }

    void openGroup() {
        started_ = true;
        pendingStar_ = false;
        ucSkip_ = 0;
        ++rootDepth_;
        if (rootDepth_ == 1) return;  // the root group uses the base state
        if (stack_.size() >= kMaxDepth) {
            ++extraDepth_;
            return;
        }
        stack_.push_back(stack_.back());
    }

    void closeGroup() {
        pendingStar_ = false;
        ucSkip_ = 0;
        if (rootDepth_ <= 0) return;  // stray "}" before anything: ignore it
        Dest leaving = st().dest;
        if (leaving == Dest::FontTable) finishFont();
        if (leaving == Dest::Pn && extraDepth_ == 0 && stack_.size() > 1 &&
            stack_[stack_.size() - 2].dest != Dest::Pn) {
            // The numbering group sets the paragraph it stands in.
            if (pnBullet_) stack_[stack_.size() - 2].para.numbering = ParaNumbering::Bullet;
            pnBullet_ = false;
        }
        --rootDepth_;
        if (rootDepth_ == 0) {
            ended_ = true;  // the root group is closed: the rest is not RTF
            return;
        }
        if (extraDepth_ > 0) {
            --extraDepth_;
            return;
        }
        if (stack_.size() > 1) {
            stack_.pop_back();
            fmtDirty_ = true;
        }
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    static int HexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void controlWord() {
        const std::size_t n = in_.size();
        ++pos_;  // the backslash
        if (pos_ >= n) return;
        char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        std::size_t start = pos_;
        while (pos_ < n && IsLetter(in_[pos_])) ++pos_;
        std::string_view name = in_.substr(start, pos_ - start);
        bool hasParam = false;
        bool neg = false;
        long long value = 0;
        if (pos_ < n && in_[pos_] == '-' && pos_ + 1 < n && IsDigit(in_[pos_ + 1])) {
            neg = true;
            ++pos_;
        }
        while (pos_ < n && IsDigit(in_[pos_])) {
            hasParam = true;
            if (value < 100000000000LL) value = value * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (pos_ < n && in_[pos_] == ' ') ++pos_;
        if (neg) value = -value;
        value = std::clamp<long long>(value, INT_MIN, INT_MAX);
        keyword(name, hasParam, int(value));
    }

    void controlSymbol(char c) {
        switch (c) {
            case '*': pendingStar_ = true; return;
            case '\'': {
                int hi = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
                int lo = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
                if (hi < 0) return;  // "\'" without digits: nothing
                ++pos_;
                int v = hi;
                if (lo >= 0) {
                    v = hi * 16 + lo;
                    ++pos_;
                }
                byteChar(static_cast<unsigned char>(v));
                return;
            }
            case '\r':
            case '\n':
                // A backslash before a line end stands for \par.
                if (!skipping()) paragraphBreak();
                return;
            case '~': specialChar(0xA0); return;
            case '-': specialChar(0xAD); return;
            case '_': specialChar(u'-'); return;
            default:
                // \\ \{ \} and the rarely used \: \| are the characters themselves.
                if (static_cast<unsigned char>(c) >= 0x20) byteChar(static_cast<unsigned char>(c));
                return;
        }
    }

    bool skipping() const { return stack_.back().dest == Dest::Skip || ended_; }

    void enterDest(Dest d) {
        pendingStar_ = false;
        // The root group has no state of its own to give up.
        if (rootDepth_ <= 1 || extraDepth_ > 0) {
            if (d == Dest::Skip) skipRestOfGroup();
            return;
        }
        if (d == Dest::Pn) pnBullet_ = false;
        st().dest = d;
    }

    // Skips to the end of the current group without interpreting it; used
    // when the group's state cannot be changed (root or over-deep groups).
    void skipRestOfGroup() {
        int depth = 0;
        const std::size_t n = in_.size();
        while (pos_ < n) {
            char c = in_[pos_++];
            if (c == '\\') {
                if (pos_ < n) ++pos_;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (depth == 0) {
                    --pos_;
                    return;
                }
                --depth;
            }
        }
    }

    void keyword(std::string_view name, bool hasParam, int value) {
        const auto& map = Keywords();
        auto it = map.find(name);
        State& s = st();
        if (pendingStar_) {
            // {\*\dest ...}: only the old numbering is understood.
            if (it != map.end() && it->second == Kw::Pn && s.dest == Dest::Text) {
                enterDest(Dest::Pn);
            } else {
                enterDest(Dest::Skip);
            }
            return;
        }
        if (it == map.end()) {
            if (tables_ && s.dest == Dest::Text) tableWord(name, hasParam, value);
            if (ucSkip_ > 0) --ucSkip_;
            return;
        }
        Kw kw = it->second;
        if (kw == Kw::Bin) {
            binary(hasParam ? value : 0);
            return;
        }
        if (s.dest == Dest::Skip) return;
        if (s.dest == Dest::FontTable) {
            fontWord(kw, hasParam, value);
            return;
        }
        if (s.dest == Dest::ColorTable) {
            colorWord(kw, value);
            return;
        }
        if (s.dest == Dest::Pn) {
            if (kw == Kw::PnLvlBlt) pnBullet_ = true;
            if (kw == Kw::SkipDest) enterDest(Dest::Skip);
            return;
        }
        // A skipped fallback character may be a control word.
        bool isChar = kw == Kw::Tab || kw == Kw::Line || kw == Kw::Page || kw == Kw::Emdash || kw == Kw::Endash ||
                      kw == Kw::Space || kw == Kw::Bullet || kw == Kw::Lquote || kw == Kw::Rquote ||
                      kw == Kw::Ldblquote || kw == Kw::Rdblquote || kw == Kw::Cell;
        if (isChar && ucSkip_ > 0) {
            --ucSkip_;
            return;
        }
        const bool on = !hasParam || value != 0;
        CharState& c = s.chr;
        ParaFormat& p = s.para;
        switch (kw) {
            case Kw::FontTbl: enterDest(Dest::FontTable); break;
            case Kw::ColorTbl:
                colors_.clear();
                tablesChanged();
                colorEntry_ = RtfColor::Auto();
                colorHasValue_ = false;
                enterDest(Dest::ColorTable);
                break;
            case Kw::SkipDest: enterDest(Dest::Skip); break;
            case Kw::Pn:
                if (rootDepth_ > 1) enterDest(Dest::Pn);
                break;
            case Kw::Footnote: break;  // read as text
            case Kw::Deff:
                deff_ = value;
                tablesChanged();
                break;
            case Kw::Uc: s.uc = std::clamp(value, 0, 16); break;
            case Kw::U: unicodeChar(value); break;
            case Kw::Par: paragraphBreak(); break;
            case Kw::Row:
                if (tables_)
                    tableRow();
                else
                    paragraphBreak();
                break;
            case Kw::Sect:
                // A section ends its paragraph; after a \par it adds none.
                if (currentLength() > 0) paragraphBreak();
                break;
            case Kw::Cell:
                if (tables_) {
                    tableCell();
                    break;
                }
                specialChar(kTabChar);
                break;
            case Kw::Tab: specialChar(kTabChar); break;
            case Kw::Line: specialChar(kLineBreakChar); break;
            case Kw::Page: specialChar(kPageBreakChar); break;
            case Kw::Emdash: byteChar(0x97); break;
            case Kw::Endash: byteChar(0x96); break;
            case Kw::Space: byteChar(' '); break;
            case Kw::Bullet: byteChar(0x95); break;
            case Kw::Lquote: byteChar(0x91); break;
            case Kw::Rquote: byteChar(0x92); break;
            case Kw::Ldblquote: byteChar(0x93); break;
            case Kw::Rdblquote: byteChar(0x94); break;
            case Kw::Plain:
                c = CharState();
                fmtDirty_ = true;
                break;
            case Kw::F:
                c.font = value;
                fmtDirty_ = true;
                break;
            case Kw::Fs:
                c.size = hasParam && value > 0 ? std::min(value, 3276) : 24;
                fmtDirty_ = true;
                break;
            case Kw::B:
                c.bold = on;
                fmtDirty_ = true;
                break;
            case Kw::I:
                c.italic = on;
                fmtDirty_ = true;
                break;
            case Kw::Ul:
                c.underline = on ? Underline::Single : Underline::None;
                fmtDirty_ = true;
                break;
            case Kw::Uldb:
                c.underline = on ? Underline::Double : Underline::None;
                fmtDirty_ = true;
                break;
            case Kw::Ulnone:
                c.underline = Underline::None;
                fmtDirty_ = true;
                break;
            case Kw::Strike:
            case Kw::Striked:
                c.strike = on;
                fmtDirty_ = true;
                break;
            case Kw::V:
                c.hidden = on;
                fmtDirty_ = true;
                break;
            case Kw::Cf:
                c.color = value;
                fmtDirty_ = true;
                break;
            case Kw::Cb:
            case Kw::Chcbpat:
                c.back = value;
                fmtDirty_ = true;
                break;
            case Kw::Highlight:
                c.highlight = value;
                fmtDirty_ = true;
                break;
            case Kw::Pard:
                p = ParaFormat();
                s.sl = 0;
                s.slmult = false;
                s.intbl = false;
                break;
            case Kw::Ql: p.alignment = ParaAlignment::Left; break;
            case Kw::Qr: p.alignment = ParaAlignment::Right; break;
            case Kw::Qc: p.alignment = ParaAlignment::Center; break;
            case Kw::Qj: p.alignment = ParaAlignment::Justify; break;
            case Kw::Fi: p.firstIndent = Length(value); break;
            case Kw::Li: p.leftIndent = Length(value); break;
            case Kw::Ri: p.rightIndent = Length(value); break;
            case Kw::Sb: p.spaceBefore = Length(value); break;
            case Kw::Sa: p.spaceAfter = Length(value); break;
            case Kw::Sl:
                s.sl = Length(value);
                s.slmult = false;
                deriveLineSpacing(s);
                break;
            case Kw::Slmult:
                s.slmult = on;
                deriveLineSpacing(s);
                break;
            case Kw::Keepn: p.keepWithNext = on; break;
            case Kw::Tx:
            case Kw::Tb:
                if (p.tabs.size() < kMaxTabStops) p.tabs.push_back(Length(value));
                break;
            case Kw::Ls:
                if (value > 0) p.numbering = ParaNumbering::Bullet;
                break;
            default: break;
        }
    }

    // Lengths in twips, bounded to what a page can hold many times over.
    static int Length(int v) { return std::clamp(v, -0x7FFFFF, 0x7FFFFF); }

    static void deriveLineSpacing(State& s) {
        ParaFormat& p = s.para;
        int sl = s.sl;
        if (sl == 0) {
            p.lineSpacingRule = LineSpacingRule::Single;
            p.lineSpacing = 0;
        } else if (sl < 0) {
            p.lineSpacingRule = LineSpacingRule::Exactly;
            p.lineSpacing = -sl;
        } else if (!s.slmult) {
            p.lineSpacingRule = LineSpacingRule::AtLeast;
            p.lineSpacing = sl;
        } else if (sl == 240) {
            p.lineSpacingRule = LineSpacingRule::Single;
            p.lineSpacing = 0;
        } else if (sl == 360) {
            p.lineSpacingRule = LineSpacingRule::OneAndHalf;
            p.lineSpacing = 0;
        } else if (sl == 480) {
            p.lineSpacingRule = LineSpacingRule::Double;
            p.lineSpacing = 0;
        } else {
            p.lineSpacingRule = LineSpacingRule::Multiple;
            p.lineSpacing = sl;
        }
    }

    void fontWord(Kw kw, bool hasParam, int value) {
        tablesChanged();
        switch (kw) {
            case Kw::F:
                finishFont();
                fontNum_ = value;
                fonts_[fontNum_];  // defined, perhaps without a name yet
                break;
            case Kw::Froman: fonts_[fontNum_].info.family = FontFamily::Roman; break;
            case Kw::Fswiss: fonts_[fontNum_].info.family = FontFamily::Swiss; break;
            case Kw::Fmodern: fonts_[fontNum_].info.family = FontFamily::Modern; break;
            case Kw::Fscript: fonts_[fontNum_].info.family = FontFamily::Script; break;
            case Kw::Fdecor: fonts_[fontNum_].info.family = FontFamily::Decor; break;
            case Kw::Ftech: fonts_[fontNum_].info.family = FontFamily::Tech; break;
            case Kw::Fbidi: fonts_[fontNum_].info.family = FontFamily::Bidi; break;
            case Kw::Fnil: fonts_[fontNum_].info.family = FontFamily::Nil; break;
            case Kw::Fcharset: fonts_[fontNum_].info.charset = std::clamp(value, 0, 255); break;
            case Kw::Fprq:
                fonts_[fontNum_].info.pitch = !hasParam || value == 0 ? FontPitch::Default
                                              : value == 1            ? FontPitch::Fixed
                                                                      : FontPitch::Variable;
                break;
            case Kw::SkipDest: enterDest(Dest::Skip); break;
            default: break;
        }
    }

    void fontChar(char c, bool literal) {
        if (c == ';' && !literal) {
            finishFont();
            return;
        }
        if (fontName_.size() < 256) fontName_ += c;
    }

    void finishFont() {
        if (fontName_.empty()) return;
        tablesChanged();
        FontEntry& e = fonts_[fontNum_];
        if (!e.named) {
            e.info.face = Trim(fontName_);
            e.named = true;
        }
        fontName_.clear();
    }

    static std::string Trim(const std::string& s) {
        std::size_t a = 0, b = s.size();
        while (a < b && s[a] == ' ') ++a;
        while (b > a && s[b - 1] == ' ') --b;
        return s.substr(a, b - a);
    }

    void colorWord(Kw kw, int value) {
        int v = std::clamp(value, 0, 255);
        switch (kw) {
            case Kw::Red:
                red_ = v;
                colorHasValue_ = true;
                break;
            case Kw::Green:
                green_ = v;
                colorHasValue_ = true;
                break;
            case Kw::Blue:
                blue_ = v;
                colorHasValue_ = true;
                break;
            default: break;
        }
    }

    void colorSemicolon() {
        tablesChanged();
        if (colors_.size() < 65536)
            colors_.push_back(colorHasValue_
                                  ? RtfColor::Rgb(std::uint8_t(red_), std::uint8_t(green_), std::uint8_t(blue_))
                                  : RtfColor::Auto());
        red_ = green_ = blue_ = 0;
        colorHasValue_ = false;
    }

    void binary(int count) {
        if (count < 0 || std::size_t(count) > in_.size() - pos_)
            throw ERtfError("The RTF text is damaged: binary data runs past its end.");
        pos_ += std::size_t(count);
        if (ucSkip_ > 0) --ucSkip_;
    }

    // A run of characters that are neither control nor group characters.
    void plainText() {
        const std::size_t n = in_.size();
        Dest d = st().dest;
        if (!started_ || d != Dest::Text || ucSkip_ > 0) {
            // One at a time where each character needs its own handling.
            char c = in_[pos_++];
            if (!started_) return;  // text before the root group
            switch (d) {
                case Dest::FontTable: fontChar(c, false); break;
                case Dest::ColorTable:
                    if (c == ';') colorSemicolon();
                    break;
                case Dest::Text: textByte(static_cast<unsigned char>(c)); break;
                default: break;
            }
            return;
        }
        std::size_t start = pos_;
        while (pos_ < n) {
            char c = in_[pos_];
            if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') break;
            ++pos_;
        }
        std::u16string& text = runText();
        for (std::size_t i = start; i < pos_; ++i) {
            unsigned char b = static_cast<unsigned char>(in_[i]);
            if (b >= 0x20)
                text.push_back(b < 0x80 ? char16_t(b) : char16_t(Cp1252ToCodePoint(b)));
            else if (b == '\t')
                text.push_back(kTabChar);
            // other control bytes carry nothing
        }
    }

    void textByte(unsigned char b) {
        if (b == '\t') {
            specialChar(kTabChar);
        } else if (b >= 0x20) {
            byteChar(b);
        }
    }

    // A character given as a byte of the document's code page.
    void byteChar(unsigned char b) {
        State& s = st();
        if (s.dest == Dest::FontTable) {
            fontChar(char(b), true);
            return;
        }
        if (s.dest != Dest::Text || !started_) return;
        if (ucSkip_ > 0) {
            --ucSkip_;
            return;
        }
        if (b == 0 || b == '\r' || b == '\n') return;  // never text inside a paragraph
        runText().push_back(b < 0x80 ? char16_t(b) : char16_t(Cp1252ToCodePoint(b)));
    }

    // A character given by its code (\tab, \~ ...): not a code-page byte.
    void specialChar(char16_t c) {
        if (st().dest != Dest::Text || !started_) return;
        if (ucSkip_ > 0) {
            --ucSkip_;
            return;
        }
        runText().push_back(c);
    }

    void unicodeChar(int value) {
        State& s = st();
        if (s.dest == Dest::FontTable || s.dest != Dest::Text || !started_) return;
        char16_t c = char16_t(static_cast<std::uint16_t>(value));
        ucSkip_ = 0;
        if (c != 0 && c != u'\r' && c != u'\n') runText().push_back(c);
        ucSkip_ = s.uc;
    }

    CharFormat currentFormat() {
        const CharState& c = st().chr;
        CharFormat f;
        int fn = c.font < 0 ? deff_ : c.font;
        auto it = fonts_.find(fn);
        if (it == fonts_.end()) it = fonts_.find(deff_);
        if (it != fonts_.end()) f.font = it->second.info;
        f.sizeHalfPoints = c.size;
        f.bold = c.bold;
        f.italic = c.italic;
        f.underline = c.underline;
        f.strikeOut = c.strike;
        f.hidden = c.hidden;
        f.color = colorAt(c.color);
        f.backColor = colorAt(c.back);
        f.highlight = colorAt(c.highlight);
        return f;
    }

    RtfColor colorAt(int i) const {
        if (i <= 0 || std::size_t(i) >= colors_.size()) return RtfColor::Auto();
        return colors_[std::size_t(i)];
    }

    // A change of the font or colour table: the formats made from character
    // states may read differently now.
    void tablesChanged() { byState_.clear(); }

    // The current format, made once for each state and each value.
    const SharedCharFormat& format() {
        if (!fmtDirty_) return fmt_;
        fmtDirty_ = false;
        const CharState& c = st().chr;
        if (auto it = byState_.find(c); it != byState_.end()) {
            fmt_ = it->second;
            return fmt_;
        }
        // A document of a different format every few characters would keep
        // them all: past a bound the tables start over (the runs keep theirs).
        constexpr std::size_t kMaxRemembered = 4096;
        if (byState_.size() >= kMaxRemembered) byState_.clear();
        if (byValue_.size() >= kMaxRemembered) byValue_.clear();
        CharFormat f = currentFormat();
        auto [it, added] = byValue_.try_emplace(std::move(f));
        if (added) it->second = std::make_shared<const CharFormat>(it->first);
        byState_.emplace(c, it->second);
        fmt_ = it->second;
        return fmt_;
    }

    // Where text in the current format goes: the pending characters, which
    // go into the paragraph when the format changes or the paragraph ends.
    std::u16string& runText() {
        touched_ = true;
        if (textOnly_) return plain_;
        const SharedCharFormat& f = format();
        if (f != pendingFormat_) {
            flushPending();
            pendingFormat_ = f;
        }
        return pending_;
    }

    void flushPending() {
        if (pending_.empty()) return;
        cur_.append(pending_, pendingFormat_);
        pending_.clear();
    }

    void commitParagraph() {
        touched_ = false;
        if (textOnly_) {
            plain_.push_back(kParagraphSeparator);
            paraStart_ = plain_.size();
            ++committed_;
            return;
        }
        flushPending();
        State& s = st();
        cur_.format = s.para;
        cur_.markFormat = *format();
        if (tables_) {
            if (s.intbl) {
                tables_->current();
                tables_->cell.paragraphs.push_back(std::move(cur_));
            } else {
                tables_->endTable();
                tables_->read.paragraphs.push_back(std::move(cur_));
            }
        } else {
            sink_(std::move(cur_));
        }
        ++emitted_;
        cur_ = Paragraph();
    }

    // The table words the document model has no place for.
    void tableWord(std::string_view name, bool hasParam, int value) {
        if (name == "intbl") {
            st().intbl = true;
        } else if (name == "itap") {
            st().intbl = hasParam && value > 0;
        } else if (name == "trowd") {
            tables_->definition.clear();
        } else if (name == "cellx") {
            if (tables_->definition.size() < 4096) tables_->definition.push_back(Length(value));
        }
    }

    // "\cell": the paragraph ends its cell, whatever its own marks say.
    void tableCell() {
        if (st().dest != Dest::Text || !started_) return;
        ucSkip_ = 0;
        const bool intbl = st().intbl;
        st().intbl = true;
        commitParagraph();
        st().intbl = intbl;
        tables_->row.cells.push_back(std::move(tables_->cell));
        tables_->cell = RtfTableCell();
    }

    void tableRow() {
        if (st().dest != Dest::Text || !started_) return;
        ucSkip_ = 0;
        if (touched_) {
            const bool intbl = st().intbl;
            st().intbl = true;
            commitParagraph();
            st().intbl = intbl;
        }
        cur_ = Paragraph();
        pending_.clear();
        touched_ = false;
        tables_->current();
        tables_->endRow();
    }

    void paragraphBreak() {
        if (st().dest != Dest::Text || !started_) return;
        ucSkip_ = 0;
        commitParagraph();
    }
};

// How many paragraphs the text can make at most: one, and one more for each
// word or symbol that may end one. Cheap next to reading; it lets the
// document take its room once instead of growing (and copying) as it reads.
std::size_t ParagraphBound(std::string_view rtf) {
    std::size_t n = 1;
    const std::size_t size = rtf.size();
    for (std::size_t i = rtf.find('\\'); i != std::string_view::npos && i + 1 < size; i = rtf.find('\\', i + 1)) {
        const char c = rtf[i + 1];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++n;
            continue;
        }
        std::size_t e = i + 1;
        while (e < size && e - i <= 8 && ((rtf[e] >= 'a' && rtf[e] <= 'z') || (rtf[e] >= 'A' && rtf[e] <= 'Z'))) ++e;
        const std::string_view word = rtf.substr(i + 1, e - i - 1);
        if (word == "par" || word == "row" || word == "nestrow" || word == "sect") ++n;
    }
    return n;
}

}  // namespace

void ReadRtfParagraphs(std::string_view rtf, const ParagraphSink& sink) {
    if (rtf.size() > kMaxRtfBytes) throw RtfTooLargeError();
    Reader(rtf, sink).run();
}

RtfTablesAndText ReadRtfTables(std::string_view rtf) {
    if (rtf.size() > kMaxRtfBytes) throw RtfTooLargeError();
    TableCollector tables;
    Reader(rtf, tables).run();
    return std::move(tables.read);
}

std::u16string RtfTableCell::text() const {
    std::u16string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) out += kParagraphSeparator;
        out += paragraphs[i].text();
    }
    return out;
}

RichDocument ReadRtf(std::string_view rtf) {
    RichDocument doc;
    doc.paragraphs.clear();
    if (rtf.size() <= kMaxRtfBytes) doc.paragraphs.reserve(ParagraphBound(rtf));
    ReadRtfParagraphs(rtf, [&doc](Paragraph&& p) {
        // Kept for good: no room left over from the growth while reading.
        // (A huge buffer keeps its room: the copy would cost more than it.)
        constexpr std::size_t kShrinkBelow = std::size_t{1} << 20;
        if (p.length() * sizeof(char16_t) <= kShrinkBelow) p.shrinkToFit();
        doc.paragraphs.push_back(std::move(p));
    });
    if (doc.paragraphs.empty()) doc.paragraphs.emplace_back();
    return doc;
}

void ReadRtfPlainText(std::string_view rtf, std::u16string& out) {
    if (rtf.size() > kMaxRtfBytes) throw RtfTooLargeError();
    Reader(rtf, out).runPlain();
}

std::u16string ReadRtfPlainText(std::string_view rtf) {
    std::u16string out;
    ReadRtfPlainText(rtf, out);
    return out;
}

}  // namespace qm
