#include "richtext/richdoc.h"

#include <algorithm>

#include "util/cp1252.h"

namespace qm {

std::size_t Paragraph::length() const {
    std::size_t n = 0;
    for (const TextRun& r : runs) n += r.text.size();
    return n;
}

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
        for (const TextRun& r : paragraphs[i].runs) s += r.text;
    }
    return s;
}

void RichDocument::appendText(std::u16string_view text, const CharFormat& format) {
    if (paragraphs.empty()) paragraphs.emplace_back();
    auto addPiece = [&](std::u16string_view piece) {
        if (piece.empty()) return;
        Paragraph& p = paragraphs.back();
        if (!p.runs.empty() && p.runs.back().format == format)
            p.runs.back().text += piece;
        else
            p.runs.push_back({format, std::u16string(piece)});
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
    for (Paragraph& p : paragraphs) {
        bool joinable = false;
        for (std::size_t i = 0; i < p.runs.size() && !joinable; ++i)
            joinable = p.runs[i].text.empty() || (i > 0 && p.runs[i - 1].format == p.runs[i].format);
        if (!joinable) continue;  // most paragraphs: nothing to do, nothing to copy
        std::vector<TextRun> joined;
        joined.reserve(p.runs.size());
        for (TextRun& r : p.runs) {
            if (r.text.empty()) continue;
            if (!joined.empty() && joined.back().format == r.format)
                joined.back().text += r.text;
            else
                joined.push_back(std::move(r));
        }
        p.runs = std::move(joined);
    }
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
void EmitLine(std::u16string piece, const CharFormat& format, const ParagraphSink& sink) {
    Paragraph p;
    p.markFormat = format;
    // NUL is no character of an edit control's text.
    piece.erase(std::remove(piece.begin(), piece.end(), u'\0'), piece.end());
    if (!piece.empty()) p.runs.push_back({format, std::move(piece)});
    sink(std::move(p));
}

}  // namespace

void ReadPlainTextParagraphs(std::u16string_view text, const CharFormat& format, const ParagraphSink& sink) {
    ForEachLine(text, [&](std::u16string_view line) { EmitLine(std::u16string(line), format, sink); });
}

RichDocument ReadPlainText(std::string_view text, const CharFormat& format) {
    if (text.size() > kMaxRtfBytes) throw RtfTooLargeError();
    RichDocument doc;
    doc.paragraphs.clear();
    // Line by line, so the text is never held whole a second time.
    ForEachLine(text, [&](std::string_view line) {
        EmitLine(Cp1252ToUtf16(line), format, [&doc](Paragraph&& p) { doc.paragraphs.push_back(std::move(p)); });
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
    ForEachLine(text, [&](std::string_view line) { EmitLine(Cp1252ToUtf16(line), plainFormat, sink); });
}

std::string WritePlainText(const RichDocument& doc) {
    std::string out;
    out.reserve(doc.length() + doc.paragraphs.size());
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        if (i > 0) out += "\r\n";
        for (const TextRun& r : doc.paragraphs[i].runs) out += Utf16ToCp1252(r.text);
    }
    return out;
}

std::string NormalizeRtf(std::string_view text) { return WriteRtf(LoadRtfOrText(text)); }

}  // namespace qm
