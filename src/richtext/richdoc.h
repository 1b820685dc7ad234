#pragma once
// The rich-text document model: paragraphs holding runs of characters with
// their formatting. It is what the editor control shows and what the RTF reader
// and writer translate. Standard C++ only.
//
// Text is UTF-16 so that every character the editor can hold survives, and so
// that character positions count as the editor counts them. A few control
// characters stand for RTF breaks inside a paragraph:
//   '\t' a tab (\tab), 0x0B a line break (\line), 0x0C a page break (\page).
// Paragraph breaks are not characters of the runs; in the plain text they
// count as one character each (kParagraphSeparator).
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "util/errors.h"

namespace qm {

inline constexpr char16_t kTabChar = u'\t';
inline constexpr char16_t kLineBreakChar = 0x0B;
inline constexpr char16_t kPageBreakChar = 0x0C;
// How a paragraph break appears in PlainText().
inline constexpr char16_t kParagraphSeparator = u'\r';
inline constexpr std::size_t kMaxTabStops = 32;

enum class Underline : std::uint8_t { None, Single, Double };
enum class FontPitch : std::uint8_t { Default, Fixed, Variable };
enum class FontFamily : std::uint8_t { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

struct FontInfo {
    std::string face;  // Windows-1252
    int charset = 0;
    FontPitch pitch = FontPitch::Default;
    FontFamily family = FontFamily::Nil;
    bool operator==(const FontInfo&) const = default;
};

// A colour that is either automatic (the system's text colour, or no
// background) or an RGB value 0x00BBGGRR as the platform stores it.
struct RtfColor {
    bool automatic = true;
    std::uint32_t rgb = 0;
    static RtfColor Auto() { return {}; }
    static RtfColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return {false, std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16)};
    }
    std::uint8_t red() const { return rgb & 0xFF; }
    std::uint8_t green() const { return (rgb >> 8) & 0xFF; }
    std::uint8_t blue() const { return (rgb >> 16) & 0xFF; }
    bool operator==(const RtfColor&) const = default;
};

struct CharFormat {
    FontInfo font;
    int sizeHalfPoints = 24;  // RTF's \fs unit; 12 pt when nothing says otherwise
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::None;
    bool strikeOut = false;
    bool hidden = false;
    RtfColor color;      // \cf
    RtfColor backColor;  // \cb
    RtfColor highlight;  // \highlight
    bool operator==(const CharFormat&) const = default;
};

enum class ParaAlignment : std::uint8_t { Left, Right, Center, Justify };
enum class ParaNumbering : std::uint8_t { None, Bullet };
// The platform's line-spacing rules, in its order.
enum class LineSpacingRule : std::uint8_t { Single, OneAndHalf, Double, AtLeast, Exactly, Multiple };

// Lengths are twips. The indents are RTF's: `firstIndent` is the first line's
// offset from `leftIndent` (negative for a hanging indent).
struct ParaFormat {
    ParaAlignment alignment = ParaAlignment::Left;
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    ParaNumbering numbering = ParaNumbering::None;
    std::vector<int> tabs;  // at most kMaxTabStops positions
    int spaceBefore = 0;
    int spaceAfter = 0;
    // AtLeast and Exactly: the height in twips. Multiple: RTF's \sl value with
    // \slmult1, 240 per line. The other rules ignore it.
    int lineSpacing = 0;
    LineSpacingRule lineSpacingRule = LineSpacingRule::Single;
    bool keepWithNext = false;
    bool operator==(const ParaFormat&) const = default;
};

// A format shared by the runs (and paragraphs) that have it, so a document
// with a format change every few characters holds each format once.
using SharedCharFormat = std::shared_ptr<const CharFormat>;

// One run of a paragraph as its readers see it: characters of the
// paragraph's text in one format. Valid until the paragraph changes.
struct TextRun {
    const CharFormat& format;
    std::u16string_view text;
};

// A paragraph's text with its formats: the characters in one string, the runs
// as spans of it, each naming a format of the paragraph's table of formats.
// Adjacent runs always differ in format and no run is empty, so two
// paragraphs of the same text and formats are the same runs.
class Paragraph {
public:
    ParaFormat format;
    // The format of the paragraph mark: what an empty paragraph shows and
    // what text typed at its end takes.
    CharFormat markFormat;

    class RunList;

    // The characters of the runs.
    std::u16string_view text() const { return text_; }
    std::size_t length() const { return text_.size(); }
    RunList runs() const;
    // The format of the character at `pos`; the mark's at the end and past it.
    const CharFormat& formatAt(std::size_t pos) const;

    // Appends `text` in `format`; it joins the last run when that run has the
    // format. Nothing happens for empty text. CR and LF are characters here
    // (RichDocument::appendText breaks paragraphs at them).
    void append(std::u16string_view text, const CharFormat& format);
    void append(std::u16string_view text, const SharedCharFormat& format);
    // Appends the characters from..to of `other` with their formats.
    void append(const Paragraph& other, std::size_t from, std::size_t to);
    // Gives back the room left over from growing.
    void shrinkToFit();

    bool operator==(const Paragraph& other) const;

private:
    struct Span {
        std::uint32_t end;     // one past the run's last character in text_
        std::uint32_t format;  // index in formats_
    };
    std::size_t runCount() const;
    std::size_t runBegin(std::size_t i) const;
    std::size_t runEnd(std::size_t i) const;
    const SharedCharFormat& runFormat(std::size_t i) const;
    // `shared`, when given, holds `value`.
    void appendRun(std::u16string_view text, const SharedCharFormat* shared, const CharFormat& value);
    std::uint32_t formatIndex(const SharedCharFormat* shared, const CharFormat& value);

    std::u16string text_;
    // Empty while the paragraph has at most one run: it then covers all of
    // text_ in formats_[0].
    std::vector<Span> spans_;
    std::vector<SharedCharFormat> formats_;
};

// The runs of a paragraph, in order.
class Paragraph::RunList {
public:
    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = TextRun;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TextRun;
        TextRun operator*() const { return RunList(p_)[i_]; }
        iterator& operator++() {
            ++i_;
            return *this;
        }
        iterator operator++(int) {
            iterator old = *this;
            ++i_;
            return old;
        }
        bool operator==(const iterator& o) const { return i_ == o.i_; }

    private:
        friend class RunList;
        iterator(const Paragraph* p, std::size_t i) : p_(p), i_(i) {}
        const Paragraph* p_;
        std::size_t i_;
    };

    std::size_t size() const { return p_->runCount(); }
    bool empty() const { return size() == 0; }
    TextRun operator[](std::size_t i) const {
        return {*p_->runFormat(i), p_->text().substr(p_->runBegin(i), p_->runEnd(i) - p_->runBegin(i))};
    }
    TextRun front() const { return (*this)[0]; }
    TextRun back() const { return (*this)[size() - 1]; }
    iterator begin() const { return iterator(p_, 0); }
    iterator end() const { return iterator(p_, size()); }

private:
    friend class Paragraph;
    explicit RunList(const Paragraph* p) : p_(p) {}
    const Paragraph* p_;
};

inline Paragraph::RunList Paragraph::runs() const { return RunList(this); }

class RichDocument {
public:
    // A document always holds at least one (possibly empty) paragraph.
    RichDocument();
    std::vector<Paragraph> paragraphs;

    // Characters, each paragraph break counting as one.
    std::size_t length() const;
    // The text with kParagraphSeparator between paragraphs.
    std::u16string plainText() const;
    // Appends text in `format` to the last paragraph, splitting at CR LF, CR
    // and LF into new paragraphs that take the last paragraph's format.
    void appendText(std::u16string_view text, const CharFormat& format);
    // Gives the document its one paragraph when it has none. (Runs are kept
    // joined and without empty ones as they are made.)
    void normalize();
    bool operator==(const RichDocument&) const = default;
};

// The RTF could not be read; the message says why.
class ERtfError : public Error {
public:
    using Error::Error;
};

// RTF and plain text larger than this are refused (ERtfError) before they are
// read: the document a reader makes takes many times its text's size.
inline constexpr std::size_t kMaxRtfBytes = std::size_t{256} << 20;
// "The RTF text is too large (the limit is 256 MB)."
ERtfError RtfTooLargeError();

// Where the readers hand each paragraph once it is complete.
using ParagraphSink = std::function<void(Paragraph&&)>;

// True when the text begins with "{\rtf".
bool LooksLikeRtf(std::string_view text);
// Reads RTF. Malformed input loads what can be read; ERtfError only for data
// that cannot be trusted at all (binary data running past the end).
RichDocument ReadRtf(std::string_view rtf);
// ReadRtf(rtf).plainText(), without making the document (the searches read
// many texts and keep only their characters).
std::u16string ReadRtfPlainText(std::string_view rtf);
// The same into `out`, whose memory is reused.
void ReadRtfPlainText(std::string_view rtf, std::u16string& out);
// Windows-1252 text; CR LF, CR and LF each end a paragraph.
RichDocument ReadPlainText(std::string_view text, const CharFormat& format = CharFormat());
// RTF when the text looks like RTF, else plain text.
RichDocument LoadRtfOrText(std::string_view text, const CharFormat& plainFormat = CharFormat());

// The readers above, paragraph by paragraph: each paragraph of the document
// they would return goes to `sink` in order (at least one), so a caller that
// writes or cuts the document as it comes never holds it whole.
void ReadRtfParagraphs(std::string_view rtf, const ParagraphSink& sink);
// Plain text already decoded: CR LF, CR and LF each end a paragraph; NULs are
// dropped.
void ReadPlainTextParagraphs(std::u16string_view text, const CharFormat& format, const ParagraphSink& sink);
void LoadRtfOrTextParagraphs(std::string_view text, const ParagraphSink& sink,
                             const CharFormat& plainFormat = CharFormat());

// A table of RTF as a reader that shows tables takes it: rows of cells, each
// cell its paragraphs.
struct RtfTableCell {
    std::vector<Paragraph> paragraphs;
    // The paragraphs' characters, kParagraphSeparator between them.
    std::u16string text() const;
};

struct RtfTableRow {
    std::vector<int> cellRight;  // the "\cellx" edges of the row's definition, twips
    std::vector<RtfTableCell> cells;
};

struct RtfTable {
    std::size_t after = 0;  // the paragraphs outside tables that come before it
    std::vector<RtfTableRow> rows;
};

struct RtfTablesAndText {
    std::vector<Paragraph> paragraphs;  // outside tables, in order
    std::vector<RtfTable> tables;
};

// RTF read with its tables. The paragraphs marked "\intbl" are cells'
// paragraphs; "\cell" ends a cell and "\row" a row, which takes the edges
// of the last definition ("\trowd" and its "\cellx"); a paragraph outside a
// table ends the table. A table inside a cell counts its cells as the row's.
// Footnotes are read as text, as ReadRtf reads them. ERtfError as ReadRtf.
RtfTablesAndText ReadRtfTables(std::string_view rtf);

// The RTF of the editor's dialect. Ends with the root group's "}".
std::string WriteRtf(const RichDocument& doc);

// WriteRtf for a document given paragraph by paragraph, for one too large to
// hold whole: first note() every paragraph in order (the font and colour
// tables lead the text), then write() the same paragraphs in the same order,
// then finish(). The text equals WriteRtf of a document of those paragraphs
// (no paragraph at all counts as one empty paragraph).
class RtfStreamWriter {
public:
    RtfStreamWriter();
    ~RtfStreamWriter();
    RtfStreamWriter(const RtfStreamWriter&) = delete;
    RtfStreamWriter& operator=(const RtfStreamWriter&) = delete;

    void note(const Paragraph& p);
    void write(const Paragraph& p);
    std::string finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
// The text in Windows-1252 with CR LF between paragraphs; characters it can't
// hold become '?'.
std::string WritePlainText(const RichDocument& doc);
// Any RTF (or plain text) in the editor's dialect: read, then written.
std::string NormalizeRtf(std::string_view text);

}  // namespace qm
