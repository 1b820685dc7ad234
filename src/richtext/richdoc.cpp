#include "richtext/richdoc.h"

#include <algorithm>

#include "util/cp1252.h"

namespace qm {

// --- Paragraph ---------------------------------------------------------------------------

namespace {
// How many of the latest formats of a paragraph's table a new run compares
// with before it adds its own: enough for the few formats a paragraph
// alternates between, without a search that grows with the table.
constexpr std::size_t kFormatsLookedAt = 8;
}  // namespace

std::size_t Paragraph::runCount() const {
    if (!spans_.empty()) return spans_.size();
    return text_.empty() ? 0 : 1;
}

std::size_t Paragraph::runBegin(std::size_t i) const { return i == 0 ? 0 : spans_[i - 1].end; }

std::size_t Paragraph::runEnd(std::size_t i) const { return spans_.empty() ? text_.size() : spans_[i].end; }

const SharedCharFormat& Paragraph::runFormat(std::size_t i) const {
    return formats_[spans_.empty() ? 0 : spans_[i].format];
}

const CharFormat& Paragraph::formatAt(std::size_t pos) const {
    if (pos >= text_.size()) return markFormat;
    if (spans_.empty()) return *formats_[0];
    const auto it = std::upper_bound(spans_.begin(), spans_.end(), pos,
                                     [](std::size_t v, const Span& span) { return v < span.end; });
    return *formats_[it->format];
}

void Paragraph::append(std::u16string_view text, const CharFormat& format) {
    if (!text.empty()) appendRun(text, nullptr, format);
}

void Paragraph::append(std::u16string_view text, const SharedCharFormat& format) {
    if (!text.empty()) appendRun(text, &format, *format);
}

void Paragraph::append(const Paragraph& other, std::size_t from, std::size_t to) {
    if (&other == this) {
        const Paragraph copy = other;
        append(copy, from, to);
        return;
    }
    to = std::min(to, other.length());
    if (from >= to) return;
    std::size_t i = 0;
    if (!other.spans_.empty())
        i = static_cast<std::size_t>(std::upper_bound(other.spans_.begin(), other.spans_.end(), from,
                                                      [](std::size_t v, const Span& span) { return v < span.end; }) -
                                     other.spans_.begin());
    for (; i < other.runCount() && other.runBegin(i) < to; ++i) {
        const std::size_t b = std::max(from, other.runBegin(i));
        const std::size_t e = std::min(to, other.runEnd(i));
        const SharedCharFormat& f = other.runFormat(i);
        appendRun(other.text().substr(b, e - b), &f, *f);
    }
}

void Paragraph::appendRun(std::u16string_view text, const SharedCharFormat* shared, const CharFormat& value) {
    // Positions are 32 bits: far more than any text a reader takes.
    if (text_.size() + text.size() > UINT32_MAX) throw RtfTooLargeError();
    const std::size_t n = runCount();
    if (n > 0) {
        const SharedCharFormat& last = runFormat(n - 1);
        if ((shared && last == *shared) || *last == value) {
            text_.append(text);
            if (!spans_.empty()) spans_.back().end = static_cast<std::uint32_t>(text_.size());
            return;
        }
    }
    if (n == 0) {
        // The one run of the paragraph: its format is the table's first.
        spans_.clear();
        formats_.assign(1, shared ? *shared : std::make_shared<const CharFormat>(value));
        text_.assign(text);
        return;
    }
    const std::uint32_t index = formatIndex(shared, value);
    if (spans_.empty()) spans_.push_back({static_cast<std::uint32_t>(text_.size()), 0});
    text_.append(text);
    spans_.push_back({static_cast<std::uint32_t>(text_.size()), index});
}

std::uint32_t Paragraph::formatIndex(const SharedCharFormat* shared, const CharFormat& value) {
    const std::size_t stop = formats_.size() > kFormatsLookedAt ? formats_.size() - kFormatsLookedAt : 0;
    for (std::size_t i = formats_.size(); i-- > stop;)
        if ((shared && formats_[i] == *shared) || *formats_[i] == value) return static_cast<std::uint32_t>(i);
    formats_.push_back(shared ? *shared : std::make_shared<const CharFormat>(value));
    return static_cast<std::uint32_t>(formats_.size() - 1);
}

void Paragraph::shrinkToFit() {
    text_.shrink_to_fit();
    spans_.shrink_to_fit();
    formats_.shrink_to_fit();
}

bool Paragraph::operator==(const Paragraph& other) const {
    if (!(format == other.format) || !(markFormat == other.markFormat) || text_ != other.text_) return false;
    const std::size_t n = runCount();
    if (n != other.runCount()) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (runEnd(i) != other.runEnd(i)) return false;
        const SharedCharFormat& a = runFormat(i);
        const SharedCharFormat& b = other.runFormat(i);
        if (a != b && !(*a == *b)) return false;
    }
    return true;
}

// --- RichDocument ------------------------------------------------------------------------

RichDocument::RichDocument() : paragraphs(1) {}

std::size_t RichDocument::length() const {
    std::size_t n = paragraphs.empty() ? 0 : paragraphs.size() - 1;
    for (const Paragraph& p : paragraphs) n += p.length();
    return n;
}

std::u16string RichDocument::plainText() const {
    std::u16string s;
    s.reserve(length());
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) s.push_back(kParagraphSeparator);
        s += paragraphs[i].text();
    }
    return s;
}

void RichDocument::appendText(std::u16string_view text, const CharFormat& format) {
    if (paragraphs.empty()) paragraphs.emplace_back();
    auto addPiece = [&](std::u16string_view piece) {
        if (piece.empty()) return;
        Paragraph& p = paragraphs.back();
        p.append(piece, format);
        p.markFormat = format;
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        addPiece(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
        paragraphs.back().markFormat = format;
        Paragraph next;
        next.format = paragraphs.back().format;
        next.markFormat = format;
        paragraphs.push_back(std::move(next));
    }
    addPiece(text.substr(start));
}

void RichDocument::normalize() {
    if (paragraphs.empty()) paragraphs.emplace_back();
}

bool LooksLikeRtf(std::string_view text) { return text.substr(0, 5) == "{\\rtf"; }

ERtfError RtfTooLargeError() {
    return ERtfError("The RTF text is too large (the limit is " + std::to_string(kMaxRtfBytes >> 20) + " MB).");
}

namespace {

// Calls `line` for each line of the text: CR LF, CR and LF end one; the NULs
// a reader drops do not part a CR from its LF.
template <typename Char, typename OnLine>
void ForEachLine(std::basic_string_view<Char> text, OnLine&& line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c != Char('\r') && c != Char('\n')) continue;
        line(text.substr(start, i - start));
        std::size_t next = i + 1;
        while (next < text.size() && text[next] == Char(0)) ++next;
        if (c == Char('\r') && next < text.size() && text[next] == Char('\n')) i = next;
        start = i + 1;
    }
    line(text.substr(start));
}

// What appendText makes of a line in a new document whose mark takes
// `format`: a paragraph holding the line as one run.
void EmitLine(std::u16string piece, const SharedCharFormat& format, const ParagraphSink& sink) {
    Paragraph p;
    p.markFormat = *format;
    // NUL is no character of an edit control's text.
    piece.erase(std::remove(piece.begin(), piece.end(), u'\0'), piece.end());
    p.append(piece, format);
    sink(std::move(p));
}

}  // namespace

void ReadPlainTextParagraphs(std::u16string_view text, const CharFormat& format, const ParagraphSink& sink) {
    const SharedCharFormat shared = std::make_shared<const CharFormat>(format);
    ForEachLine(text, [&](std::u16string_view line) { EmitLine(std::u16string(line), shared, sink); });
}

RichDocument ReadPlainText(std::string_view text, const CharFormat& format) {
    if (text.size() > kMaxRtfBytes) throw RtfTooLargeError();
    RichDocument doc;
    doc.paragraphs.clear();
    // Room for a paragraph per line end and the last line, taken once: a
    // vector that grows by doubling holds both copies while it moves.
    doc.paragraphs.reserve(1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r') +
                                                        std::count(text.begin(), text.end(), '\n')));
    const SharedCharFormat shared = std::make_shared<const CharFormat>(format);
    // Line by line, so the text is never held whole a second time.
    ForEachLine(text, [&](std::string_view line) {
        EmitLine(Cp1252ToUtf16(line), shared, [&doc](Paragraph&& p) { doc.paragraphs.push_back(std::move(p)); });
    });
    return doc;
}

RichDocument LoadRtfOrText(std::string_view text, const CharFormat& plainFormat) {
    if (LooksLikeRtf(text)) return ReadRtf(text);
    return ReadPlainText(text, plainFormat);
}

void LoadRtfOrTextParagraphs(std::string_view text, const ParagraphSink& sink, const CharFormat& plainFormat) {
    if (LooksLikeRtf(text)) return ReadRtfParagraphs(text, sink);
    if (text.size() > kMaxRtfBytes) throw RtfTooLargeError();
    const SharedCharFormat shared = std::make_shared<const CharFormat>(plainFormat);
    ForEachLine(text, [&](std::string_view line) { EmitLine(Cp1252ToUtf16(line), shared, sink); });
}

std::string WritePlainText(const RichDocument& doc) {
    std::string out;
    out.reserve(doc.length() + doc.paragraphs.size());
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        if (i > 0) out += "\r\n";
        // Run by run, as a character pair parted by a change of format is two.
        for (const TextRun& r : doc.paragraphs[i].runs()) out += Utf16ToCp1252(r.text);
    }
    return out;
}

std::string NormalizeRtf(std::string_view text) { return WriteRtf(LoadRtfOrText(text)); }

}  // namespace qm
