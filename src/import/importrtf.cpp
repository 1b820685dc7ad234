#include "import/importrtf.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <functional>
#include <memory>
#include <unordered_set>

#include "import/importobjects.h"
#include "import/rtfscan.h"
#include "preprocess/buildchecks.h"
#include "preprocess/tagtext.h"
#include "richtext/richdoc.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"

namespace qm {

namespace {

using namespace rtfscan;

constexpr std::string_view kMarks = "#$KA+!*>";

bool IsOurMark(char c) { return kMarks.find(c) != std::string_view::npos; }

std::string& FieldOf(TFootnotes& f, char mark) {
    switch (mark) {
        case '#': return f.ID;
        case '$': return f.Title;
        case 'K': return f.Keywords;
        case 'A': return f.AKeywords;
        case '+': return f.Browse;
        case '!': return f.Macros;
        case '*': return f.BuildTags;
        default: return f.Window;
    }
}

// One footnote group found while walking a text.
struct FootnoteHit {
    std::size_t page;
    char mark;               // 0 when no mark of ours stands before it
    std::size_t markPos;     // valid when mark != 0
    std::size_t begin, end;  // the group, braces included
};

// Walks the text: calls `onPage` at each page-breaking "\page" (with its
// token) and `onFootnote` for each footnote group, which is not entered.
template <typename OnPage, typename OnFootnote>
void WalkText(std::string_view s, OnPage&& onPage, OnFootnote&& onFootnote) {
    Lexer lx(s);
    Token t;
    std::size_t page = 0;
    // The last text character and whether only braces and line ends followed it.
    std::size_t markPos = 0;
    bool markValid = false;
    while (lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open: {
                const GroupKind k = KindOfGroup(s, t.begin);
                if (k == GroupKind::Plain) break;
                const std::size_t end = GroupEnd(s, t.begin);
                if (k == GroupKind::Footnote) {
                    char mark = 0;
                    // "@" marks the compiler's comment footnotes.
                    if (markValid && (IsOurMark(s[markPos]) || s[markPos] == '@')) mark = s[markPos];
                    onFootnote(FootnoteHit{page, mark, markPos, t.begin, end});
                }
                markValid = false;
                lx.Seek(end);
                break;
            }
            case Tok::Close: break;
            case Tok::Text: {
                std::size_t e = t.end;
                while (e > t.begin && (s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
                if (e > t.begin) {
                    markPos = e - 1;
                    markValid = true;
                }
                break;
            }
            case Tok::Word:
                markValid = false;
                if (IsWord(t, "page")) {
                    onPage(t);
                    ++page;
                }
                break;
            case Tok::Symbol: markValid = false; break;
        }
    }
}

// The text of a footnote group after "\footnote", without the closing brace.
std::string_view FootnoteContents(std::string_view s, const FootnoteHit& h) {
    std::string_view g = s.substr(h.begin, h.end - h.begin);
    if (g.size() >= 2 && g.back() == '}') g.remove_suffix(1);
    const std::size_t at = g.find("\\footnote");
    return at == std::string_view::npos ? std::string_view() : g.substr(at + 9);
}

// Copies `s` without the given (sorted, non-overlapping) spans, putting
// `with[i]` in place of span i.
std::string Rebuild(std::string_view s, std::vector<std::pair<std::size_t, std::size_t>>& spans,
                    std::vector<std::string>* with = nullptr) {
    std::vector<std::size_t> order(spans.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return spans[a] < spans[b]; });
    // Room for all of it at once: the text, what goes in, a blank per span.
    std::size_t room = s.size() + spans.size();
    if (with)
        for (const std::string& w : *with) room += w.size();
    std::string out;
    out.reserve(room);
    std::size_t done = 0;
    for (std::size_t i : order) {
        auto [b, e] = spans[i];
        if (b < done) b = done;  // never copy anything twice
        if (e < b) e = b;
        out.append(s, done, b - done);
        if (with) out += (*with)[i];
        done = e;
        // A removal must not join a control word with the text after it.
        if (done < s.size() && EndsInOpenControlWord(out)) {
            const char c = s[done];
            if (IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == ' ') out += ' ';
        }
    }
    out.append(s, done, std::string_view::npos);
    return out;
}

std::string LowerKey(std::string_view s) { return AsciiLowerStr(s); }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

// "<" and ">" of a value that goes into a tag.
std::string EscapeBrackets(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&rt;";
        else
            out += c;
    }
    return out;
}

std::string UnescapeBrackets(std::string s) {
    ReplaceAllFrom(s, "&lt;", "<");
    ReplaceAllFrom(s, "&rt;", ">");
    return s;
}

// A value put into a tag of the RTF text: it must stay one tag and read back
// as written.
std::string TagValue(std::string_view plain) { return EscapeRtf(EscapeBrackets(plain)); }

}  // namespace

// ---------------------------------------------------------------------------

bool TFootnotes::Empty() const {
    return ID.empty() && Title.empty() && Window.empty() && Macros.empty() && Browse.empty() && Keywords.empty() &&
           AKeywords.empty() && BuildTags.empty() && Anchors.empty();
}

std::string FootnoteValue(std::string_view contents, char mark) {
    // Word processors repeat the mark at the start of the footnote text,
    // often in a group of its own ("{\up6 K} keyword").
    Lexer lx(contents);
    Token t;
    std::size_t skip = 0;
    bool markGroup = false;
    while (lx.Next(t)) {
        if (t.kind == Tok::Word) continue;
        if (t.kind == Tok::Text) {
            bool blankOnly = true;
            for (std::size_t i = t.begin; i < t.end; ++i)
                if (static_cast<unsigned char>(contents[i]) > 0x20) blankOnly = false;
            if (blankOnly) continue;
        }
        if (t.kind == Tok::Open) {
            const std::size_t end = GroupEnd(contents, t.begin);
            if (Trim(StripRtf(contents.substr(t.begin, end - t.begin))) == std::string(1, mark)) {
                skip = end;
                markGroup = true;
            }
        }
        break;
    }
    std::string body = StripRtf(contents.substr(skip));
    body.erase(std::remove_if(body.begin(), body.end(), [](char c) { return c == '\r' || c == '\n'; }), body.end());
    body = Trim(body);
    if (!markGroup && body.size() >= 2 && body[0] == mark && static_cast<unsigned char>(body[1]) <= 0x20)
        body = Trim(std::string_view(body).substr(1));
    else if (!markGroup && body.size() == 1 && body[0] == mark)
        body.clear();
    return body;
}

int ExtractFootnotes(std::string& text, TFootnotesList& footnotes, const TProgressFn& progress) {
    const std::size_t first = footnotes.size();
    footnotes.emplace_back();
    std::vector<std::pair<std::size_t, std::size_t>> remove;
    // Which marks each page has taken already.
    std::vector<std::string> taken(1);
    WalkText(
        text,
        [&](const Token&) {
            footnotes.emplace_back();
            taken.emplace_back();
        },
        [&](const FootnoteHit& h) {
            const std::size_t index = first + h.page;
            if (h.mark == '#' && taken[h.page].find('#') != std::string::npos)
                return;  // an anchor: ConvertAnchorFootnotes takes it
            if (h.mark != 0) remove.emplace_back(h.markPos, h.markPos + 1);
            remove.emplace_back(h.begin, h.end);
            if (h.mark == 0 || h.mark == '@') return;  // not shown by the compiler either
            std::string value = FootnoteValue(FootnoteContents(text, h), h.mark);
            std::string& field = FieldOf(footnotes[index], h.mark);
            if (taken[h.page].find(h.mark) == std::string::npos) {
                field = value;
                taken[h.page] += h.mark;
            } else if ((h.mark == 'K' || h.mark == 'A') && !value.empty()) {
                if (!field.empty() && field.back() != ';') field += ';';
                field += value;
            }
        });
    const std::size_t total = remove.size();
    if (progress) progress(0, 100);
    std::sort(remove.begin(), remove.end());
    text = Rebuild(text, remove);
    if (progress && total) progress(25, 100);
    return static_cast<int>(footnotes.size() - first);
}

namespace {

// Calls `bracket(begin, end, isLt)` for each literal angle bracket of the
// document text, in order: the span [begin, end) that stands for it.
template <typename Bracket>
void ForEachLiteralBracket(std::string_view s, Bracket&& bracket) {
    Lexer lx(s);
    Token t;
    while (lx.Next(t)) {
        if (t.kind == Tok::Open) {
            if (KindOfGroup(s, t.begin) != GroupKind::Plain) lx.Seek(GroupEnd(s, t.begin));
            continue;
        }
        if (t.kind == Tok::Text) {
            for (std::size_t i = t.begin; i < t.end; ++i)
                if (s[i] == '<' || s[i] == '>') bracket(i, i + 1, s[i] == '<');
            continue;
        }
        if (t.kind == Tok::Symbol && t.end - t.begin == 4 && s[t.begin + 1] == '\'') {
            const std::string hex = AsciiLowerStr(s.substr(t.begin + 2, 2));
            if (hex == "3c" || hex == "3e") bracket(t.begin, t.end, hex == "3c");
            continue;
        }
        if (t.kind == Tok::Word && t.name == "u" && t.hasParam && (t.param == 60 || t.param == 62)) {
            std::size_t e = t.end;
            // The one-character fallback that follows (\uc1).
            if (e < s.size() && s[e] != '\\' && s[e] != '{' && s[e] != '}') ++e;
            bracket(t.begin, e, t.param == 60);
            lx.Seek(e);
        }
    }
}

}  // namespace

void EscapeLiteralBrackets(std::string& text) {
    const std::string_view s = text;
    // The size of the result first, so that it is made in one buffer: one
    // that grows would hold the text twice and more while it moves.
    std::size_t size = s.size();
    bool any = false;
    ForEachLiteralBracket(s, [&](std::size_t begin, std::size_t end, bool) {
        size = size - (end - begin) + 4;
        any = true;
    });
    if (!any) return;
    std::string out;
    out.reserve(size);
    std::size_t done = 0;
    ForEachLiteralBracket(s, [&](std::size_t begin, std::size_t end, bool isLt) {
        out.append(s, done, begin - done);
        out += isLt ? "&lt;" : "&rt;";
        done = end;
    });
    out.append(s, done, std::string_view::npos);
    text.swap(out);
}

void ConvertAnchorFootnotes(std::string& text, TFootnotesList& footnotes, std::size_t firstPage) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<std::string> with;
    WalkText(
        text, [](const Token&) {},
        [&](const FootnoteHit& h) {
            if (h.mark != '#') return;
            const std::size_t index = firstPage + h.page;
            const std::string value = FootnoteValue(FootnoteContents(text, h), '#');
            std::string tag;
            if (!value.empty() && index < footnotes.size()) {
                const std::string& id = footnotes[index].ID;
                std::string name = value;
                // "ID_anchor" in topic ID names the anchor "anchor"; anything
                // else is another context string of the page, kept whole.
                if (!id.empty() && value.size() > id.size() + 1 && StartsWithNoCase(value, id) &&
                    value[id.size()] == '_')
                    name = value.substr(id.size() + 1);
                footnotes[index].Anchors.emplace_back(value, name);
                tag = "<ANCHOR \"" + TagValue(name) + "\">";
            }
            // The mark may stand in a group of its own: replace it and the
            // footnote group separately, so that no brace is lost.
            spans.emplace_back(h.markPos, h.markPos + 1);
            with.push_back(tag);
            spans.emplace_back(h.begin, h.end);
            with.emplace_back();
        });
    if (!spans.empty()) text = Rebuild(text, spans, &with);
}

std::size_t PageHeaderLength(std::string_view text) {
    Lexer lx(text);
    Token t;
    while (lx.Next(t)) {
        if (t.kind == Tok::Open) {
            const GroupKind k = KindOfGroup(text, t.begin);
            if (k != GroupKind::Plain) lx.Seek(GroupEnd(text, t.begin));
            continue;
        }
        if (!(t.kind == Tok::Word && t.name == "viewkind" && t.hasParam && t.param == 4)) continue;
        // The run of control words (and destination groups) after it.
        std::size_t end = t.end;
        if (t.blank) return end;
        while (lx.Next(t)) {
            if (t.kind == Tok::Word) {
                end = t.end;
                if (t.blank) return end;
                continue;
            }
            if (t.kind == Tok::Open && KindOfGroup(text, t.begin) == GroupKind::Hidden) {
                end = GroupEnd(text, t.begin);
                lx.Seek(end);
                continue;
            }
            break;
        }
        return end;
    }
    return 0;
}

namespace {

// The positions of the page-breaking "\page" words of normalised text: each
// as [begin, end) with one following blank included.
std::vector<std::pair<std::size_t, std::size_t>> PageBreaks(std::string_view text) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    WalkText(
        text, [&](const Token& t) { out.emplace_back(t.begin, t.end); }, [](const FootnoteHit&) {});
    return out;
}

// A header that can take any text after it.
std::string UsableHeader(std::string_view text, std::size_t len) {
    std::string h(text.substr(0, len));
    if (h.empty()) return "{\\rtf1\\ansi ";
    // A header ending in a control word without its blank would swallow the
    // letters of the page.
    Lexer lx(h);
    Token t, last;
    while (lx.Next(t)) last = t;
    if (last.kind == Tok::Word && !last.blank) h += ' ';
    return h;
}

}  // namespace

int SplitPages(std::string_view text, StringList& pages, int& count) {
    const std::size_t lastBrace = text.rfind('}');
    std::string_view body = lastBrace == std::string_view::npos ? text : text.substr(0, lastBrace + 1);
    const auto breaks = PageBreaks(body);
    if (breaks.empty()) {
        pages.emplace_back(body);
        ++count;
        return 1;
    }
    // Without a closing brace there is none to leave out.
    const std::size_t bodyEnd = lastBrace == std::string_view::npos ? body.size() : body.size() - 1;
    const std::string header = UsableHeader(body, PageHeaderLength(body));
    std::size_t from = 0;
    for (std::size_t k = 0; k <= breaks.size(); ++k) {
        const std::size_t to = k < breaks.size() ? breaks[k].first : bodyEnd;
        std::string page;
        if (k > 0) page = header;
        if (to > from) page.append(body.substr(from, to - from));
        page += '}';
        pages.push_back(std::move(page));
        ++count;
        if (k < breaks.size()) from = std::max(breaks[k].second, from);
        if (from > bodyEnd) from = bodyEnd;
    }
    return static_cast<int>(breaks.size() + 1);
}

std::string PageVisibleText(std::string_view page) {
    std::size_t h = PageHeaderLength(page);
    std::string_view body = page.substr(h);
    if (h == 0) {
        // Without a header of our dialect, skip the leading destinations.
        std::string out;
        Lexer lx(page);
        Token t;
        std::size_t done = 0;
        while (lx.Next(t)) {
            if (t.kind == Tok::Open && KindOfGroup(page, t.begin) != GroupKind::Plain) {
                out += StripRtf(page.substr(done, t.begin - done));
                done = GroupEnd(page, t.begin);
                lx.Seek(done);
            }
        }
        out += StripRtf(page.substr(done));
        return Trim(out);
    }
    return Trim(StripRtf(body));
}

namespace {

// Cuts a stream of paragraphs into pages at their page-break characters. The
// paragraph a break stands in goes on in the next page with its format; a
// page left without a paragraph gets an empty one.
class PageSplitter {
public:
    using OnPageEnd = std::function<void()>;
    PageSplitter(ParagraphSink onParagraph, OnPageEnd onPageEnd)
        : onParagraph_(std::move(onParagraph)), onPageEnd_(std::move(onPageEnd)) {}

    void add(Paragraph&& p) {
        const std::u16string_view text = p.text();
        std::size_t at = text.find(kPageBreakChar);
        if (at == std::u16string_view::npos) {
            emit(std::move(p));
            return;
        }
        Paragraph cur = Fresh(p);
        std::size_t start = 0;
        for (; at != std::u16string_view::npos; at = text.find(kPageBreakChar, start)) {
            cur.append(p, start, at);
            // The text before the break ends the page as a paragraph.
            if (cur.length() > 0) emit(std::move(cur));
            endPage();
            cur = Fresh(p);
            start = at + 1;
        }
        cur.append(p, start, text.size());
        emit(std::move(cur));
    }

    // Ends the last page.
    void finish() { endPage(); }

private:
    ParagraphSink onParagraph_;
    OnPageEnd onPageEnd_;
    bool pageHasParagraph_ = false;

    static Paragraph Fresh(const Paragraph& like) {
        Paragraph p;
        p.format = like.format;
        p.markFormat = like.markFormat;
        return p;
    }
    void emit(Paragraph&& p) {
        pageHasParagraph_ = true;
        onParagraph_(std::move(p));
    }
    void endPage() {
        if (!pageHasParagraph_) onParagraph_(Paragraph());
        pageHasParagraph_ = false;
        onPageEnd_();
    }
};

}  // namespace

std::vector<RichDocument> SplitDocumentPages(RichDocument doc) {
    std::vector<RichDocument> out(1);
    out.back().paragraphs.clear();
    PageSplitter split([&out](Paragraph&& p) { out.back().paragraphs.push_back(std::move(p)); },
                       [&out] {
                           out.emplace_back();
                           out.back().paragraphs.clear();
                       });
    for (Paragraph& p : doc.paragraphs) split.add(std::move(p));
    split.finish();
    out.pop_back();  // opened by the last page's end
    return out;
}

void ParseRtfFile(std::string text, StringList& pages, int& count, TFootnotesList& footnotes,
                  const TProgressFn& progress, TPictureSink* pictures, TImportNotes* notes) {
    const std::size_t firstRecord = footnotes.size();
    const int rawPages = ExtractFootnotes(text, footnotes, progress);
    EscapeLiteralBrackets(text);
    ConvertTablesAndPictures(text, footnotes, firstRecord, pictures, notes);
    ConvertAnchorFootnotes(text, footnotes, firstRecord);
    // Normalising: the text is read as the editor reads it, and each page is
    // written back on its own in the editor's dialect. Cutting the written
    // text instead would give every page the first page's formatting.
    //
    // The document is never held whole: it is read twice, paragraph by
    // paragraph. The first reading collects each page's font and colour
    // tables (they lead the page's text), the second writes the pages.
    std::vector<std::unique_ptr<RtfStreamWriter>> writers;
    {
        std::size_t page = 0;
        PageSplitter split(
            [&](Paragraph&& p) {
                if (writers.size() <= page) writers.push_back(std::make_unique<RtfStreamWriter>());
                writers[page]->note(p);
            },
            [&] { ++page; });
        LoadRtfOrTextParagraphs(text, [&split](Paragraph&& p) { split.add(std::move(p)); });
        split.finish();
    }
    if (progress) progress(50, 100);
    const int textPages = static_cast<int>(writers.size());
    if (textPages != rawPages) {
        footnotes.resize(firstRecord);
        throw Error("The pages of the RTF file could not be matched with their footnotes: the file holds " +
                    std::to_string(rawPages) + " pages, of which " + std::to_string(textPages) +
                    " remain after reading it.");
    }
    // A page without footnotes and without text (the one left by a final
    // "\page", or an empty one between two) makes no topic.
    std::size_t keep = firstRecord;
    std::size_t k = 0;
    PageSplitter split([&](Paragraph&& p) { writers[k]->write(p); },
                       [&] {
                           TFootnotes& f = footnotes[firstRecord + k];
                           std::string page = writers[k]->finish();
                           writers[k].reset();  // written: its memory can go
                           ++k;
                           if (f.Empty() && PageVisibleText(page).empty()) return;
                           f.OwnHeader = true;
                           if (keep != firstRecord + k - 1) footnotes[keep] = std::move(f);
                           ++keep;
                           // Kept until the records are made: without the room
                           // left over from writing it.
                           page.shrink_to_fit();
                           pages.push_back(std::move(page));
                           ++count;
                       });
    LoadRtfOrTextParagraphs(text, [&split](Paragraph&& p) { split.add(std::move(p)); });
    split.finish();
    text.clear();
    text.shrink_to_fit();
    footnotes.resize(keep);
    if (progress) progress(75, 100);
}

// ---------------------------------------------------------------------------

void TContextMap::Add(std::string_view context, std::string target) {
    map_.emplace(LowerKey(context), std::move(target));
}

bool TContextMap::Knows(std::string_view context) const { return map_.count(LowerKey(context)) != 0; }

std::string TContextMap::Resolve(std::string_view context) const {
    auto it = map_.find(LowerKey(context));
    return it == map_.end() ? std::string(context) : it->second;
}

namespace {

// Whether the backslash at `i` is itself escaped (an odd run of backslashes
// before it).
bool EscapedBackslashAt(std::string_view s, std::size_t i) {
    std::size_t n = 0;
    while (i > n && s[i - n - 1] == '\\') ++n;
    return n % 2 == 1;
}

// Every escaped code "\{<word>" ... "\}" of the text, as [begin, end).
// Codes that start inside a span of `skip` (sorted) are not codes.
std::vector<std::pair<std::size_t, std::size_t>> FindCodes(std::string_view s, std::string_view start,
                                                           const std::vector<TTagSpan>& skip) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t p = 0;
    std::size_t k = 0;
    while ((p = s.find(start, p)) != std::string_view::npos) {
        while (k < skip.size() && skip[k].end <= p) ++k;
        if (k < skip.size() && skip[k].begin <= p) {
            p = skip[k].end;
            continue;
        }
        if (EscapedBackslashAt(s, p)) {
            p += 1;
            continue;
        }
        std::size_t q = p + start.size();
        std::size_t close = std::string_view::npos;
        while ((q = s.find("\\}", q)) != std::string_view::npos) {
            if (!EscapedBackslashAt(s, q)) {
                close = q;
                break;
            }
            q += 2;
        }
        if (close == std::string_view::npos) break;
        out.emplace_back(p, close + 2);
        p = close + 2;
    }
    return out;
}

// Replaces each code found by `start` by what `convert` makes of it (the code
// stays when it gives nothing).
template <typename Convert>
void ReplaceCodes(std::string& text, std::string_view start, Convert&& convert) {
    // The codes an RTF tag carries are the help compiler's.
    std::vector<TTagSpan> rawTags;
    if (text.find("RTF") != std::string::npos) rawTags = ScanTags(text, "RTF");
    auto codes = FindCodes(text, start, rawTags);
    if (codes.empty()) return;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<std::string> with;
    for (auto [b, e] : codes) {
        std::string r;
        if (!convert(std::string_view(text).substr(b, e - b), r)) continue;
        spans.emplace_back(b, e);
        with.push_back(std::move(r));
    }
    if (!spans.empty()) text = Rebuild(text, spans, &with);
}

// "\{bmc file\}" and its placements. The image tags hold no transparency:
// a transparent bitmap ("\{bmct file\}") is noted.
bool ConvertBitmap(std::string_view code, std::string& out, TImportNotes* notes) {
    std::string plain = Trim(StripRtf(code));  // "{bmc file}"
    if (plain.size() < 2 || plain.front() != '{' || plain.back() != '}') return false;
    plain = Trim(std::string_view(plain).substr(1, plain.size() - 2));
    std::size_t sp = 0;
    while (sp < plain.size() && static_cast<unsigned char>(plain[sp]) > 0x20) ++sp;
    const std::string word = AsciiLowerStr(std::string_view(plain).substr(0, sp));
    if (word.size() < 3 || word.compare(0, 2, "bm") != 0) return false;
    const char placement = word[2];
    if (placement != 'c' && placement != 'l' && placement != 'r') return false;
    // The file name as written, folder and case included.
    const std::string file = Trim(std::string_view(plain).substr(sp));
    if (file.empty()) return false;
    out = std::string("<IMAGE") + AsciiUpper(placement) + " \"" + TagValue(file) + "\">";
    if (notes && word.find('t', 3) != std::string::npos)
        notes->Add("The transparent bitmap " + Quoted(file) + " ({" + word +
                   "}) became a plain image: an image tag holds no transparency.");
    return true;
}

// "\{button label, macro\}".
bool ConvertButton(std::string_view code, std::string& out) {
    std::string_view inner = code.substr(9, code.size() - 11);  // after "\{button ", before "\}"
    const std::size_t comma = inner.find(',');
    if (comma == std::string_view::npos) return false;
    const std::string label(inner.substr(0, comma));
    const std::string macro = Trim(inner.substr(comma + 1));
    out = "<BTN " + macro + ">" + Trim(label) + "</BTN>";
    return true;
}

// Whether the blank-separated option words hold `word` (any case).
bool HasOption(std::string_view options, std::string_view word) {
    std::size_t i = 0;
    while (i < options.size()) {
        while (i < options.size() && (options[i] == ' ' || options[i] == '\t')) ++i;
        std::size_t e = i;
        while (e < options.size() && options[e] != ' ' && options[e] != '\t') ++e;
        if (e > i && SameText(options.substr(i, e - i), word)) return true;
        i = e;
    }
    return false;
}

// "\{mci options,file\}".
bool ConvertMedia(std::string_view code, std::string& out) {
    const std::string plain = StripRtf(code.substr(6, code.size() - 8));
    const std::size_t comma = plain.find(',');
    if (comma == std::string::npos) return false;
    const std::string options = plain.substr(0, comma);
    const std::string file = Trim(std::string_view(plain).substr(comma + 1));
    if (file.empty()) return false;
    const bool video = AsciiLowerStr(plain).find(".avi") != std::string::npos;
    std::string tag = video ? "<VIDEO " : "<SOUND ";
    if (HasOption(options, "EXTERNAL")) tag += "External ";
    if (video) {
        if (HasOption(options, "REPEAT")) tag += "Repeat ";
        if (HasOption(options, "PLAY")) tag += "Play ";
        if (!HasOption(options, "NOMENU")) tag += "Menu ";
        if (!HasOption(options, "NOPLAYBAR")) tag += "Playbar ";
    }
    tag += "\"" + TagValue(file) + "\">";
    out = std::move(tag);
    return true;
}

// What a hotspot run looks like: the word that switched it on.
enum class HotspotLook { Underline, DoubleUnderline, Strike };

// The tag a hotspot becomes: the run of the hotspot's text from `hotStart` to
// `hotEnd` (switched on by `look`), then the hidden text from `v` to `e` (its
// \v0). `after` is a word of the hidden text's own look that still holds
// after it (empty when none). False when it makes none (no hotspot text, no
// context, no target).
bool MakeHotspot(std::string_view s, HotspotLook look, std::size_t hotStart, std::size_t hotEnd, const Token& v,
                 const Token& e, std::string_view after, const TContextMap* contexts, std::string& replacement) {
    std::string formatting;
    Lexer lx(s, hotStart);
    for (Token t; lx.Pos() < e.begin && lx.Next(t);) {
        if (t.kind != Tok::Word) continue;
        // A \u character stays with its fallback in the hotspot text.
        if (t.name == "ul" || t.name == "uldb" || t.name == "ulnone" || t.name == "strike" || t.name == "v" ||
            t.name == "u")
            continue;
        // Formatting switched inside the run still holds after it.
        formatting.append(s.substr(t.begin, t.end - t.begin - (t.blank ? 1 : 0)));
    }
    formatting += after;
    const std::string hotspot = StripRtf(s.substr(hotStart, hotEnd - hotStart));
    if (Trim(hotspot).empty()) return false;
    std::string context = Trim(StripRtf(s.substr(v.end, e.begin - v.end)));
    bool user = false, macro = false;
    std::size_t lead = 0;
    while (lead < context.size() && (context[lead] == '%' || context[lead] == '!' || context[lead] == '*')) {
        if (context[lead] == '%') user = true;
        if (context[lead] == '!') macro = true;
        ++lead;
    }
    context = Trim(std::string_view(context).substr(lead));
    if (context.empty()) return false;
    const std::string hot = EscapeRtf(hotspot);
    const std::string u = user ? "U" : "";
    std::string tag;
    if (macro) {
        // Hidden text that starts with "!" runs a macro, whatever the look of
        // the hotspot. Its ">" already stands as "&rt;".
        tag = "<" + u + "MACRO " + EscapeRtf(context) + ">" + hot + "</" + u + "MACRO>";
    } else {
        // target, then ">window" and "@file" in either order.
        const std::string plain = UnescapeBrackets(context);
        std::size_t cut = plain.find_first_of(">@");
        std::string target = Trim(std::string_view(plain).substr(0, cut));
        std::string window, file;
        while (cut != std::string::npos) {
            const char sep = plain[cut];
            const std::size_t next = plain.find(sep == '>' ? '@' : '>', cut + 1);
            const std::string part = Trim(std::string_view(plain).substr(
                cut + 1, next == std::string::npos ? std::string::npos : next - cut - 1));
            (sep == '>' ? window : file) = part;
            cut = next;
        }
        if (target.empty()) return false;
        if (file.empty() && contexts) target = contexts->Resolve(target);
        // The help compiler takes struck-through text for a jump, as it
        // takes double underline.
        if (look != HotspotLook::Underline) {
            tag = "<" + u + "LINK TOPIC=\"" + TagValue(target) + "\"";
            if (!window.empty()) tag += " WINDOW=" + TagValue(window);
        } else {
            tag = "<" + u + "LINK POPUP=\"" + TagValue(target) + "\"";
        }
        if (!file.empty()) tag += " FILE=" + TagValue(file);
        tag += ">" + hot + "</" + u + "LINK>";
    }
    replacement = (look == HotspotLook::Strike ? "\\strike0 " : "\\ulnone ") + tag + formatting;
    // The words need their delimiter when text follows.
    if (!formatting.empty() && e.end < s.size() && s[e.end] != '\\' && s[e.end] != '{' && s[e.end] != '}')
        replacement += ' ';
    return true;
}

// Where the tokens of a kind were last seen: the index and the token.
struct LastSeen {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t index = kNone;
    Token tok;
    bool seen() const { return index != kNone; }
};

// A word that switches a hotspot's look on (\ul, \uldb, \strike).
bool IsLookOn(const Token& t) { return IsWord(t, "ul") || IsWord(t, "uldb") || IsWord(t, "strike"); }

// A word of the hotspot looks: on, or off (\ulnone, \strike0).
bool IsLookWord(const Token& t) {
    return t.kind == Tok::Word && (t.name == "ul" || t.name == "uldb" || t.name == "ulnone" || t.name == "strike");
}

// The hotspot pass. It walks the tokens once and keeps only the few it may
// still need (a page can be large), building the new text as it goes: a
// hotspot is an underlined or struck-through run, then hidden text (\v ...
// \v0), with nothing between that ends a group or is other hidden text.
// Paragraph marks may stand in the run: the hotspot is its part after the
// last of them.
void ConvertHotspots(std::string& text, const TContextMap* contexts) {
    const std::string_view s = text;
    auto isHardBarrier = [](const Token& t) {
        if (t.kind == Tok::Open || t.kind == Tok::Close) return true;
        return t.kind == Tok::Word && (t.name == "page" || t.name == "sect" || t.name == "v");
    };
    auto isParagraphBarrier = [](const Token& t) {
        return t.kind == Tok::Word && (t.name == "par" || t.name == "pard");
    };
    auto isV0 = [](const Token& t) { return t.kind == Tok::Word && t.name == "v" && t.hasParam && t.param == 0; };

    // The last look word, hard barrier and paragraph barrier before the
    // current token; the run of look words that ends at the token before it
    // (its first word, and the last look word before that run).
    LastSeen look, hardBarrier, parBarrier, lookBeforeRun, runFirst;
    bool inRun = false;
    // The hidden text waiting for its \v0.
    struct Pending {
        bool active = false;
        HotspotLook kind = HotspotLook::Underline;
        std::size_t replaceFrom = 0, hotStart = 0, hotEnd = 0;
        Token v;
        std::string after;
    } pending;
    std::string out;
    std::size_t done = 0;
    bool changed = false;
    std::size_t floor = 0;  // no hotspot starts before the end of the last one
    Lexer lx(s);
    Token t;
    for (std::size_t i = 0; lx.Next(t); ++i) {
        bool endedHotspot = false;
        if (pending.active) {
            if (isV0(t)) {
                pending.active = false;
                endedHotspot = true;
                std::string replacement;
                if (MakeHotspot(s, pending.kind, pending.hotStart, pending.hotEnd, pending.v, t, pending.after,
                                contexts, replacement)) {
                    // As Rebuild joins the pieces.
                    if (!changed) out.reserve(s.size());
                    changed = true;
                    out.append(s, done, pending.replaceFrom - done);
                    out += replacement;
                    done = t.end;
                    if (done < s.size() && EndsInOpenControlWord(out)) {
                        const char c = s[done];
                        if (IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == ' ') out += ' ';
                    }
                    floor = t.end;
                }
            } else if (IsWord(t, "v") || isHardBarrier(t) || isParagraphBarrier(t)) {
                pending.active = false;  // other hidden text or a barrier first: no hotspot
            }
        }
        if (!endedHotspot && IsWord(t, "v") && t.begin >= floor) {
            // The control writes hidden text right after the look is switched
            // off; word processors also give the hidden text a look of its
            // own, or leave the hotspot's on.
            const LastSeen& st = inRun ? lookBeforeRun : look;
            const std::size_t hotEnd = inRun ? runFirst.tok.begin : t.begin;
            if (st.seen() && IsLookOn(st.tok) && st.tok.begin >= floor &&
                !(hardBarrier.seen() && hardBarrier.index > st.index)) {
                pending.active = true;
                pending.kind = IsWord(st.tok, "ul")       ? HotspotLook::Underline
                               : IsWord(st.tok, "strike") ? HotspotLook::Strike
                                                          : HotspotLook::DoubleUnderline;
                pending.replaceFrom = st.tok.begin;
                pending.hotStart = st.tok.end;
                if (parBarrier.seen() && parBarrier.index > st.index) {
                    // The run began before a paragraph mark: that stays.
                    std::size_t from = parBarrier.tok.end;
                    while (from < hotEnd && (s[from] == '\r' || s[from] == '\n')) ++from;
                    pending.replaceFrom = pending.hotStart = from;
                }
                pending.hotEnd = std::max(hotEnd, pending.hotStart);
                pending.v = t;
                // The hidden text's own look may go on after it.
                pending.after.clear();
                if (inRun && IsLookOn(look.tok))
                    pending.after =
                        std::string(s.substr(look.tok.begin, look.tok.end - look.tok.begin - (look.tok.blank ? 1 : 0)));
            }
        }
        if (IsLookWord(t)) {
            if (!inRun) {
                lookBeforeRun = look;
                runFirst = {i, t};
            }
            inRun = true;
            look = {i, t};
        } else {
            inRun = false;
        }
        if (isHardBarrier(t)) hardBarrier = {i, t};
        if (isParagraphBarrier(t)) parBarrier = {i, t};
    }
    if (!changed) return;
    out.append(s, done, std::string_view::npos);
    text.swap(out);
}

}  // namespace

void RtfToTags(std::string& text, const TContextMap* contexts, TImportNotes* notes) {
    ReplaceCodes(text, "\\{bm",
                 [notes](std::string_view code, std::string& out) { return ConvertBitmap(code, out, notes); });
    ReplaceCodes(text, "\\{button ", ConvertButton);
    ReplaceCodes(text, "\\{mci ", ConvertMedia);
    // Most pages of a file hold no hidden text at all; those are not cut into
    // tokens ("\\viewkind" is no "\\v").
    for (std::size_t at = text.find("\\v"); at != std::string::npos; at = text.find("\\v", at + 2)) {
        if (at + 2 < text.size() && IsAsciiLetter(text[at + 2])) continue;
        ConvertHotspots(text, contexts);
        break;
    }
}

// ---------------------------------------------------------------------------

namespace {

void SplitList(const std::string& value, StringList& out) {
    StringList parts;
    SplitToStrings(value, ';', parts);
    out.clear();
    for (const std::string& p : parts) {
        // A list entry ends at a NUL in the project file.
        std::string t = Trim(CutAtNul(p));
        if (!t.empty()) out.push_back(std::move(t));
    }
}

void RemoveFirstWord(std::string& text, std::string_view name) {
    Lexer lx(text);
    Token t;
    while (lx.Next(t)) {
        if (IsWord(t, name)) {
            text.erase(t.begin, 1 + name.size());
            return;
        }
    }
}

}  // namespace

bool ConvertNoScrollRegion(std::string& text) {
    const std::size_t h = PageHeaderLength(text);
    if (h == 0) return false;
    // The header's tokens first: most pages have no region, and the rest of
    // the page is cut into tokens only when one starts.
    std::vector<Token> toks;
    Lexer lx(text);
    {
        Token t;
        while (lx.Pos() < h && lx.Next(t)) toks.push_back(t);
    }
    // The paragraph format of the first paragraph is the end of the header.
    std::size_t first = 0;
    while (first < toks.size() && toks[first].end <= h) ++first;
    bool keepn = false;
    for (std::size_t i = first; i-- > 0;) {
        if (IsWord(toks[i], "keepn")) keepn = true;
        if (IsWord(toks[i], "pard") || IsWord(toks[i], "viewkind")) break;
        if (toks[i].kind == Tok::Word && toks[i].name == "viewkind") break;
    }
    if (!keepn) return false;
    {
        Token t;
        while (lx.Next(t)) toks.push_back(t);
    }
    // The region runs to the "\par" after which a paragraph without
    // \keepn begins (a new "\pard" run that lacks it).
    std::size_t endPar = static_cast<std::size_t>(-1);
    for (std::size_t i = first; i < toks.size(); ++i) {
        if (!IsWord(toks[i], "par")) continue;
        endPar = i;
        std::size_t j = i + 1;
        while (j < toks.size() && toks[j].kind == Tok::Text &&
               text.find_first_not_of("\r\n", toks[j].begin) >= toks[j].end)
            ++j;
        if (j >= toks.size() || !IsWord(toks[j], "pard")) continue;  // same format goes on
        bool next = false;
        for (std::size_t k = j + 1; k < toks.size() && toks[k].kind == Tok::Word; ++k) {
            if (IsWord(toks[k], "keepn")) next = true;
            if (toks[k].blank) break;
        }
        if (!next) break;
    }
    if (endPar == static_cast<std::size_t>(-1)) return false;
    std::string out;
    out.reserve(text.size() + 24);
    std::size_t done = 0;
    auto copyWithoutKeepn = [&](std::size_t upTo) {
        for (std::size_t i = 0; i < toks.size() && toks[i].begin < upTo; ++i) {
            if (toks[i].begin < done || !IsWord(toks[i], "keepn")) continue;
            out.append(text, done, toks[i].begin - done);
            done = toks[i].begin + 6;  // the word; its blank still delimits the one before
        }
        out.append(text, done, upTo - done);
        done = upTo;
    };
    copyWithoutKeepn(h);
    out += "<NOSCROLL>";
    copyWithoutKeepn(toks[endPar].begin);
    // The build ends the region with a paragraph break of its own.
    out += "</NOSCROLL>";
    done = toks[endPar].end;
    out.append(text, done, std::string::npos);
    text.swap(out);
    return true;
}

namespace {

constexpr std::size_t kNameWidth = decltype(TTopicNode::Name)::capacity;

// Whether the build can write the module's work file ("<name>.rtf"): the
// folders take 255 bytes a name (UTF-16 units on Windows), and a character of
// a name may take more than one of them.
bool FitsAsModuleFile(std::string_view name) {
    constexpr std::size_t kMaxFileName = 255;
    return name.size() + 4 <= kNameWidth && ToFsPath(std::string(name) + ".rtf").native().size() <= kMaxFileName;
}

// `base` cut until it fits with `suffix` after it.
std::string FitModuleName(std::string_view base, std::string_view suffix = {}) {
    std::string name(base.substr(0, std::min(base.size(), kNameWidth)));
    while (!name.empty() && !FitsAsModuleFile(name + std::string(suffix))) name.pop_back();
    return name + std::string(suffix);
}

}  // namespace

namespace {

// The hidden text of raw RTF codes with its jump and popup targets led to the
// records' names, as the build writes them (an anchor as name_anchor).
std::string MapHiddenContexts(std::string_view codes, const TContextMap& contexts) {
    std::string out;
    std::size_t done = 0;
    std::vector<bool> hidden(1, false);
    Lexer lx(codes);
    Token t;
    while (lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open: hidden.push_back(hidden.back()); break;
            case Tok::Close:
                if (hidden.size() > 1) hidden.pop_back();
                break;
            case Tok::Word:
                if (t.name == "v") hidden.back() = !t.hasParam || t.param != 0;
                break;
            case Tok::Symbol: break;
            case Tok::Text: {
                if (!hidden.back()) break;
                const std::string_view text = codes.substr(t.begin, t.end - t.begin);
                std::size_t from = text.find_first_not_of(" %*");
                if (from == std::string_view::npos || text[from] == '!') break;
                const std::size_t to = std::min(text.find_first_of(">@", from), text.size());
                if (to < text.size() && text[to] == '@') break;  // another help file's
                std::size_t end = to;
                while (end > from && text[end - 1] == ' ') --end;
                const std::string_view target = text.substr(from, end - from);
                std::string mapped = contexts.Resolve(target);
                std::replace(mapped.begin(), mapped.end(), ':', '_');
                if (mapped == target) break;
                out.append(codes, done, t.begin + from - done);
                out += mapped;
                done = t.begin + end;
                break;
            }
        }
    }
    if (done == 0) return std::string(codes);
    out.append(codes, done, std::string_view::npos);
    return out;
}

// The hotspots of the raw RTF that a kept table holds follow renamed topics.
void MapRawTagContexts(std::string& text, const TContextMap& contexts) {
    if (contexts.Empty() || text.find("<RTF") == std::string::npos) return;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<std::string> with;
    for (const TTagSpan& span : ScanTags(text, "RTF")) {
        std::string codes = FirstQuoted(StripRtf(std::string_view(text).substr(span.begin, span.end - span.begin)));
        ReplaceAllFrom(codes, "\\\\", "\\");
        const std::string mapped = MapHiddenContexts(codes, contexts);
        if (mapped == codes) continue;
        spans.emplace_back(span.begin, span.end);
        with.push_back(EscapeRtf(RawRtfTag(mapped)));
    }
    if (!spans.empty()) text = Rebuild(text, spans, &with);
}

}  // namespace

std::string ContextToName(std::string_view context) {
    std::string name(context.substr(0, std::min(context.size(), kNameWidth)));
    for (char& c : name)
        if (!IsValidName(std::string_view(&c, 1))) c = '_';
    name = FitModuleName(name);
    // A Windows device name (NUL, COM1, ...) can name no work file, so the
    // build would refuse the project: it keeps its shape with a "_" after it.
    if (!name.empty() && !IsPortableFileName(name)) name = FitModuleName(name, "_");
    return name;
}

namespace {

// The list without repeats (ignoring case), in the order first seen.
void KeepOnce(StringList& list) {
    std::unordered_set<std::string> seen;
    StringList out;
    for (std::string& item : list)
        if (seen.insert(LowerKey(item)).second) out.push_back(std::move(item));
    list.swap(out);
}

}  // namespace

namespace {

// CreateImportedTopics; each page's text is moved out of `takeFrom` (which
// is `pages`) when it is given.
void MakeImportedTopics(int count, const StringList& pages, StringList* takeFrom, const TFootnotesList& footnotes,
                        const TProject* checkProject, std::vector<std::unique_ptr<TTopicNode>>& list,
                        const TTopicImportExtras* extras) {
    const std::size_t n = std::min({static_cast<std::size_t>(std::max(count, 0)), pages.size(), footnotes.size()});
    TImportNotes* notes = extras ? extras->Notes : nullptr;
    // Lower-case names taken: the project's (when checked) and this run's.
    std::unordered_set<std::string> made;
    if (checkProject)
        for (const auto& node : checkProject->Topics) made.insert(LowerKey(node->GetName()));
    auto taken = [&](const std::string& name) { return made.count(LowerKey(name)) != 0; };
    // The next suffix to try for each name, so that many equal names cost
    // no more than a few.
    std::unordered_map<std::string, long long> nextSuffix;
    // The numbers in use, and which record or module has each.
    std::unordered_map<std::int32_t, std::string> usedNumbers;
    if (checkProject)
        for (const auto& node : checkProject->Topics) usedNumbers.emplace(node->ContextId, node->GetName());

    // Names first, so that links between the pages can follow renamed topics.
    StringList names(n);
    TContextMap contexts;
    long long newTopic = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // The name field ends at a NUL; links must find the name it keeps.
        const std::string id = Trim(CutAtNul(footnotes[i].ID));
        // The author's name keeps its shape: characters a name may not hold
        // become "_" (and a long name is cut so that its work file can be written).
        std::string name = ContextToName(id);
        if (name.empty()) {
            do {
                name = "NewTopic" + std::to_string(++newTopic);
            } while (taken(name));
        }
        if (taken(name)) {
            long long& from = nextSuffix[LowerKey(name)];
            for (long long k = from + 1;; ++k) {
                const std::string suffix = "_" + std::to_string(k);
                std::string candidate = FitModuleName(name, suffix);
                if (!taken(candidate)) {
                    from = k;
                    name = std::move(candidate);
                    break;
                }
            }
        }
        made.insert(LowerKey(name));
        names[i] = name;
        if (!id.empty()) contexts.Add(id, name);
    }
    for (std::size_t i = 0; i < n; ++i)
        for (const auto& [context, anchor] : footnotes[i].Anchors) contexts.Add(context, names[i] + ":" + anchor);
    // An alias leads where the context string it names leads; to that
    // context string itself when no page has it.
    if (extras)
        for (const auto& [alias, context] : extras->Aliases)
            contexts.Add(alias, contexts.Knows(context) ? contexts.Resolve(context) : context);
    if (extras && extras->Contexts) *extras->Contexts = contexts;

    // The numbers of the map first: a record without one must not take the
    // number of a later record that has one.
    std::vector<std::int32_t> numbers(n, -1);
    if (extras && !extras->Numbers.empty()) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto it = extras->Numbers.find(LowerKey(Trim(CutAtNul(footnotes[i].ID))));
            if (it == extras->Numbers.end()) continue;
            const auto [at, fresh] = usedNumbers.emplace(it->second, names[i]);
            if (fresh) {
                numbers[i] = it->second;
            } else if (notes) {
                notes->Add("The topic " + Quoted(names[i]) + " did not keep its [MAP] number " +
                           std::to_string(it->second) + ": " + Quoted(at->second) + " has it.");
            }
        }
    }

    std::int32_t number = 0;
    for (std::size_t i = 0; i < n; ++i) {
        auto node = NewTopicNode();
        node->Kind = TopicKind::Topic;
        if (numbers[i] >= 0) {
            node->ContextId = numbers[i];
        } else {
            do {
                number = number > INT32_MAX - 5 ? 5 : number + 5;
            } while (usedNumbers.count(number));
            usedNumbers.emplace(number, names[i]);
            node->ContextId = number;
        }
        std::string text = takeFrom ? std::move((*takeFrom)[i]) : pages[i];
        RtfToTags(text, &contexts, notes);
        MapRawTagContexts(text, contexts);
        if (!footnotes[i].OwnHeader || !ConvertNoScrollRegion(text)) RemoveFirstWord(text, "keepn");
        node->Text = std::move(text);
        node->SetName(names[i]);
        const TFootnotes& f = footnotes[i];
        node->SetTitle(f.Title);
        node->SetBrowse(f.Browse);
        node->SetBuildTag(f.BuildTags);
        if (!Trim(f.Window).empty()) node->SetWindow(Trim(f.Window));
        SplitList(f.Keywords, node->Keywords);
        SplitList(f.AKeywords, node->AKeywords);
        SplitList(f.Macros, node->Macros);
        // Several K (or A) footnotes often repeat a keyword.
        KeepOnce(node->Keywords);
        KeepOnce(node->AKeywords);
        list.push_back(std::move(node));
    }
}

}  // namespace

void CreateImportedTopics(int count, const StringList& pages, const TFootnotesList& footnotes,
                          const TProject* checkProject, std::vector<std::unique_ptr<TTopicNode>>& list,
                          const TTopicImportExtras* extras) {
    MakeImportedTopics(count, pages, nullptr, footnotes, checkProject, list, extras);
}

void CreateImportedTopics(int count, StringList&& pages, const TFootnotesList& footnotes, const TProject* checkProject,
                          std::vector<std::unique_ptr<TTopicNode>>& list, const TTopicImportExtras* extras) {
    MakeImportedTopics(count, pages, &pages, footnotes, checkProject, list, extras);
    pages.clear();
}

namespace {

// The target of a LINK or ULINK tag (without its anchor) and whether it is a
// popup link; false for a tag of another form or into another help file.
bool LinkTarget(std::string_view raw, std::string& target, bool& popup) {
    const std::string tag = StripRtf(raw);
    const std::string upper = AsciiUpperStr(tag);
    const std::size_t name = upper[1] == 'U' ? 6 : 5;  // "<ULINK" or "<LINK"
    if (upper.size() <= name) return false;
    const std::string_view rest = std::string_view(upper).substr(name);
    if (rest.substr(0, 8) == " TOPIC=\"")
        popup = false;
    else if (rest.substr(0, 8) == " POPUP=\"")
        popup = true;
    else
        return false;
    if (upper.find("FILE=") != std::string::npos) return false;
    target = FirstQuoted(tag);
    target = target.substr(0, target.find(':'));
    return !target.empty();
}

}  // namespace

void MakePopupOnlyRecordsPopups(std::vector<std::unique_ptr<TTopicNode>>& list, std::string_view keepTopic) {
    std::unordered_set<std::string> popupTargets, jumpTargets;
    for (const auto& node : list) {
        if (node->Text.find('<') == std::string::npos) continue;
        for (const char* name : {"LINK", "ULINK"}) {
            for (const TTagSpan& span : ScanTags(node->Text, name)) {
                std::string target;
                bool popup = false;
                if (!LinkTarget(std::string_view(node->Text).substr(span.begin, span.end - span.begin), target, popup))
                    continue;
                (popup ? popupTargets : jumpTargets).insert(LowerKey(target));
            }
        }
    }
    for (auto& node : list) {
        const std::string key = LowerKey(node->GetName());
        if (!popupTargets.count(key) || jumpTargets.count(key) || SameText(node->GetName(), keepTopic)) continue;
        // Keywords, a browse sequence and entry macros are a topic's: a popup
        // would lose them in the build.
        if (!node->Keywords.empty() || !node->AKeywords.empty() || !node->GetBrowse().empty() || !node->Macros.empty())
            continue;
        node->Kind = TopicKind::Popup;
    }
}

}  // namespace qm
