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

struct TextRun {
    CharFormat format;
    std::u16string text;
    bool operator==(const TextRun&) const = default;
};

struct Paragraph {
    ParaFormat format;
    std::vector<TextRun> runs;
    // The format of the paragraph mark: what an empty paragraph shows and
    // what text typed at its end takes.
    CharFormat markFormat;
    std::size_t length() const;  // characters of the runs
    bool operator==(const Paragraph&) const = default;
};

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
    // Joins adjacent runs of equal format and drops empty ones.
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
