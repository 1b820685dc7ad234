// The writer of the editor's RTF dialect. The build finds tags in this text and
// the import cuts it into pages, so its shape is fixed:
//   - header "{\rtf1\ansi\ansicpg1252\deff0\deflang1033" with the font table,
//     CR LF, the colour table, CR LF, then exactly one "\viewkind4\uc1";
//   - a flat body: formatting is switched by toggles, never by groups;
//   - a control word is followed by one blank only when text follows it; the
//     first paragraph's control words always end with that blank;
//   - CR LF only after "\par" (it delimits the control word) and between the
//     header groups;
//   - hidden text switches on after, and off before, the underline changes,
//     so a hotspot reads "\uldb hot\ulnone\v target\v0 ".
#include <algorithm>
#include <charconv>
#include <memory>

#include "richtext/richdoc.h"
#include "util/cp1252.h"

namespace qm {
namespace {

const char* FamilyWord(FontFamily f) {
    switch (f) {
        case FontFamily::Roman: return "\\froman";
        case FontFamily::Swiss: return "\\fswiss";
        case FontFamily::Modern: return "\\fmodern";
        case FontFamily::Script: return "\\fscript";
        case FontFamily::Decor: return "\\fdecor";
        case FontFamily::Tech: return "\\ftech";
        case FontFamily::Bidi: return "\\fbidi";
        case FontFamily::Nil: break;
    }
    return "\\fnil";
}

// Writes one document paragraph by paragraph. The font and colour tables
// come first in the text, so they are collected first (note(), in paragraph
// order), then the paragraphs are written in the same order (write()). Holding
// only the tables, a caller can write a document far larger than it could
// keep whole; WriteRtf notes and writes a document it holds.
class Writer {
public:
    Writer() { colors_.push_back(RtfColor::Auto()); }

    void reserve(std::size_t n) { out_.reserve(n); }

    // Tables in order of first use, so the same document always gives the
    // same numbers and the first font is the default.
    void note(const Paragraph& p) {
        for (const TextRun& r : p.runs())
            if (!r.text.empty()) noteFormat(r.format);
        noteFormat(p.markFormat);
    }

    void write(const Paragraph& p) {
        if (!started_) {
            if (fonts_.empty()) fonts_.push_back(FontInfo());
            writeHeader();
            started_ = true;
        }
        if (first_ || !(p.format == prev_)) writeParaFormat(p.format);
        if (first_) {
            const CharFormat& f = p.runs().empty() ? p.markFormat : p.runs().front().format;
            switchTo(f);
            // The blank that ends the first paragraph's control words is
            // written even when no text follows; the import cuts there.
            out_ += ' ';
            pendingBlank_ = false;
            first_ = false;
        }
        for (const TextRun& r : p.runs()) {
            if (r.text.empty()) continue;
            switchTo(r.format);
            writeText(r.text);
        }
        switchTo(p.markFormat);
        out_ += "\\par\r\n";
        pendingBlank_ = false;
        prev_ = p.format;
    }

    std::string finish() {
        // A document always holds a paragraph.
        if (!started_) write(Paragraph());
        out_ += '}';
        return std::move(out_);
    }

private:
    std::string out_;
    std::vector<FontInfo> fonts_;
    std::vector<RtfColor> colors_;  // index 0 is the automatic colour
    bool pendingBlank_ = false;     // the last thing written was a control word
    bool haveState_ = false;
    CharFormat state_;
    int stateFont_ = -1;
    bool started_ = false;
    bool first_ = true;
    ParaFormat prev_;

    int fontIndex(const FontInfo& f) {
        for (std::size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i] == f) return int(i);
        fonts_.push_back(f);
        return int(fonts_.size() - 1);
    }
    int colorIndex(const RtfColor& c) {
        if (c.automatic) return 0;
        for (std::size_t i = 1; i < colors_.size(); ++i)
            if (colors_[i].rgb == c.rgb) return int(i);
        colors_.push_back(c);
        return int(colors_.size() - 1);
    }
    void noteFormat(const CharFormat& f) {
        fontIndex(f.font);
        colorIndex(f.color);
        colorIndex(f.backColor);
        colorIndex(f.highlight);
    }

    void word(std::string_view w) {
        out_ += w;
        pendingBlank_ = true;
    }
    void wordNum(std::string_view w, int n) {
        out_ += w;
        char buf[16];
        auto res = std::to_chars(buf, buf + sizeof buf, n);
        out_.append(buf, res.ptr);
        pendingBlank_ = true;
    }
    void textStart() {
        if (pendingBlank_) out_ += ' ';
        pendingBlank_ = false;
    }

    void writeFontName(std::string_view face) {
        for (char c : face) {
            unsigned char u = static_cast<unsigned char>(c);
            if (c == '\\' || c == '{' || c == '}' || c == ';') {
                // ';' ends the name; it can only stand escaped.
                if (c == ';') {
                    out_ += "\\'3b";
                } else {
                    out_ += '\\';
                    out_ += c;
                }
            } else if (u >= 0x80 || u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out_ += "\\'";
                out_ += hex[u >> 4];
                out_ += hex[u & 15];
            } else {
                out_ += c;
            }
        }
    }

    void writeHeader() {
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            const FontInfo& f = fonts_[i];
            out_ += "{";
            wordNum("\\f", int(i));
            out_ += FamilyWord(f.family);
            if (f.pitch == FontPitch::Fixed) out_ += "\\fprq1";
            if (f.pitch == FontPitch::Variable) out_ += "\\fprq2";
            wordNum("\\fcharset", f.charset);
            out_ += ' ';
            writeFontName(f.face);
            out_ += ";}";
        }
        out_ += "}\r\n{\\colortbl ;";
        for (std::size_t i = 1; i < colors_.size(); ++i) {
            const RtfColor& c = colors_[i];
            wordNum("\\red", c.red());
            wordNum("\\green", c.green());
            wordNum("\\blue", c.blue());
            out_ += ';';
        }
        out_ += "}\r\n\\viewkind4\\uc1";
        pendingBlank_ = true;
    }

    void writeParaFormat(const ParaFormat& p) {
        word("\\pard");
        if (p.numbering == ParaNumbering::Bullet) {
            out_ += "{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}";
            pendingBlank_ = false;
        }
        if (p.keepWithNext) word("\\keepn");
        switch (p.alignment) {
            case ParaAlignment::Right: word("\\qr"); break;
            case ParaAlignment::Center: word("\\qc"); break;
            case ParaAlignment::Justify: word("\\qj"); break;
            case ParaAlignment::Left: break;
        }
        if (p.firstIndent != 0) wordNum("\\fi", p.firstIndent);
        if (p.leftIndent != 0) wordNum("\\li", p.leftIndent);
        if (p.rightIndent != 0) wordNum("\\ri", p.rightIndent);
        if (p.spaceBefore != 0) wordNum("\\sb", p.spaceBefore);
        if (p.spaceAfter != 0) wordNum("\\sa", p.spaceAfter);
        switch (p.lineSpacingRule) {
            case LineSpacingRule::Single: break;
            case LineSpacingRule::OneAndHalf: word("\\sl360\\slmult1"); break;
            case LineSpacingRule::Double: word("\\sl480\\slmult1"); break;
            case LineSpacingRule::AtLeast:
                if (p.lineSpacing > 0) wordNum("\\sl", p.lineSpacing);
                break;
            case LineSpacingRule::Exactly:
                if (p.lineSpacing > 0) wordNum("\\sl", -p.lineSpacing);
                break;
            case LineSpacingRule::Multiple:
                if (p.lineSpacing > 0) {
                    wordNum("\\sl", p.lineSpacing);
                    word("\\slmult1");
                }
                break;
        }
        std::size_t n = std::min(p.tabs.size(), kMaxTabStops);
        for (std::size_t i = 0; i < n; ++i) wordNum("\\tx", p.tabs[i]);
    }

    // Writes the toggles that take the current state to `f`. Other properties
    // first, then hidden off, the underline, hidden on.
    void switchTo(const CharFormat& f) {
        const bool all = !haveState_;
        const CharFormat& s = state_;
        int fi = fontIndex(f.font);
        if (all || fi != stateFont_) wordNum("\\f", fi);
        if (all || f.sizeHalfPoints != s.sizeHalfPoints) wordNum("\\fs", f.sizeHalfPoints);
        if (all ? !f.color.automatic : !(f.color == s.color)) wordNum("\\cf", colorIndex(f.color));
        if (all ? !f.highlight.automatic : !(f.highlight == s.highlight))
            wordNum("\\highlight", colorIndex(f.highlight));
        if (all ? !f.backColor.automatic : !(f.backColor == s.backColor)) wordNum("\\cb", colorIndex(f.backColor));
        if (all ? f.bold : f.bold != s.bold) word(f.bold ? "\\b" : "\\b0");
        if (all ? f.italic : f.italic != s.italic) word(f.italic ? "\\i" : "\\i0");
        if (all ? f.strikeOut : f.strikeOut != s.strikeOut) word(f.strikeOut ? "\\strike" : "\\strike0");
        bool wasHidden = !all && s.hidden;
        if (wasHidden && !f.hidden) word("\\v0");
        if (all ? f.underline != Underline::None : f.underline != s.underline) {
            switch (f.underline) {
                case Underline::None: word("\\ulnone"); break;
                case Underline::Single: word("\\ul"); break;
                case Underline::Double: word("\\uldb"); break;
            }
        }
        if (!wasHidden && f.hidden) word("\\v");
        state_ = f;
        stateFont_ = fi;
        haveState_ = true;
    }

    void writeText(std::u16string_view text) {
        static const char hex[] = "0123456789abcdef";
        for (char16_t c : text) {
            switch (c) {
                case kTabChar: word("\\tab"); continue;
                case kLineBreakChar: word("\\line"); continue;
                case kPageBreakChar: word("\\page"); continue;
                case 0:
                case u'\r':
                case u'\n':
                    // Line ends are paragraph breaks and never stand inside a run.
                    continue;
                default: break;
            }
            if (c < 0x80) {
                textStart();
                if (c == u'\\' || c == u'{' || c == u'}') {
                    out_ += '\\';
                    out_ += char(c);
                } else if (c < 0x20) {
                    out_ += "\\'";
                    out_ += hex[c >> 4];
                    out_ += hex[c & 15];
                } else {
                    out_ += char(c);
                }
                continue;
            }
            unsigned char b = static_cast<unsigned char>(CodePointToCp1252(c));
            if (b != '?') {
                textStart();
                out_ += "\\'";
                out_ += hex[b >> 4];
                out_ += hex[b & 15];
                continue;
            }
            // RTF's \u takes a signed 16-bit value; the '?' is the fallback
            // that \uc1 tells readers to skip.
            wordNum("\\u", int(std::int16_t(c)));
            out_ += '?';
            pendingBlank_ = false;
        }
    }
};

}  // namespace

std::string WriteRtf(const RichDocument& doc) {
    if (doc.paragraphs.empty()) return WriteRtf(RichDocument());
    Writer w;
    for (const Paragraph& p : doc.paragraphs) w.note(p);
    std::size_t estimate = 256 + doc.paragraphs.size() * 8;
    for (const Paragraph& p : doc.paragraphs) estimate += p.length() + p.runs().size() * 8;
    w.reserve(estimate);
    for (const Paragraph& p : doc.paragraphs) w.write(p);
    return w.finish();
}

struct RtfStreamWriter::Impl {
    Writer writer;
};

RtfStreamWriter::RtfStreamWriter() : impl_(std::make_unique<Impl>()) {}
RtfStreamWriter::~RtfStreamWriter() = default;
void RtfStreamWriter::note(const Paragraph& p) { impl_->writer.note(p); }
void RtfStreamWriter::write(const Paragraph& p) { impl_->writer.write(p); }
std::string RtfStreamWriter::finish() { return impl_->writer.finish(); }

}  // namespace qm
