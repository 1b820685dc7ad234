// Reading and writing paragraph by paragraph, for documents too large to hold
// whole: the streamed forms must give exactly what the whole-document forms
// give, and the readers refuse text over their limit.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "richtext/richdoc.h"
#include "util/cp1252.h"

namespace {

using qm::Paragraph;
using qm::RichDocument;

struct Sample {
    const char* name;
    std::string text;  // RTF or plain text
};

void PrintTo(const Sample& s, std::ostream* os) { *os << s.name; }

const Sample kSamples[] = {
    {"empty", ""},
    {"plain_lines", "one\r\ntwo\rthree\nfour"},
    {"plain_nul_between_cr_and_lf", std::string("a\r\0\nb\0c\r\n\r\n", 12)},
    {"plain_accents", "caf\xE9 \x80 na\xEFve\r\n\x93q\x94"},
    {"rtf_formats",
     "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman Times;}{\\f1\\fswiss Arial;}}{\\colortbl;\\red10\\green20\\blue30;}"
     "plain {\\f0\\fs21\\b\\i\\uldb\\v\\cf1\\highlight1 all}\\par\\pard\\qc\\li100 centred\\par}"},
    {"rtf_fonts_by_page",
     "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}{\\f2 C;}}\\f1 one\\page\\f2 two\\par\\f0 three\\page\\page four}"},
    {"rtf_empty_paragraphs", "{\\rtf1 \\par\\par\\par}"},
    {"rtf_unicode", "{\\rtf1\\uc1 a\\u1234?b\\tab c\\line d}"},
    {"rtf_table_cells", "{\\rtf1 a\\cell b\\row c\\sect d}"},
    {"rtf_no_paragraph_at_all", "{\\rtf1 }"},
};

class Streaming : public ::testing::TestWithParam<Sample> {};

TEST_P(Streaming, ParagraphsAreThoseOfTheWholeDocument) {
    const Sample& s = GetParam();
    std::vector<Paragraph> streamed;
    qm::LoadRtfOrTextParagraphs(s.text, [&](Paragraph&& p) { streamed.push_back(std::move(p)); });
    const RichDocument whole = qm::LoadRtfOrText(s.text);
    EXPECT_EQ(streamed, whole.paragraphs);
}

TEST_P(Streaming, WriterGivesTheTextOfWriteRtf) {
    const Sample& s = GetParam();
    const RichDocument doc = qm::LoadRtfOrText(s.text);
    qm::RtfStreamWriter w;
    for (const Paragraph& p : doc.paragraphs) w.note(p);
    for (const Paragraph& p : doc.paragraphs) w.write(p);
    EXPECT_EQ(w.finish(), qm::WriteRtf(doc));
}

// The text import's road: decoded text, line by line, into the writer. It
// must give what a document filled by appendText gives.
TEST_P(Streaming, PlainTextLinesAreWhatAppendTextMakes) {
    const Sample& s = GetParam();
    qm::CharFormat format;
    format.font.face = "Courier New";
    format.sizeHalfPoints = 20;
    const std::u16string text = qm::Cp1252ToUtf16(s.text);
    std::u16string withoutNul = text;
    std::erase(withoutNul, u'\0');
    RichDocument doc;
    doc.paragraphs.front().markFormat = format;
    doc.appendText(withoutNul, format);
    std::vector<Paragraph> streamed;
    qm::ReadPlainTextParagraphs(text, format, [&](Paragraph&& p) { streamed.push_back(std::move(p)); });
    EXPECT_EQ(streamed, doc.paragraphs);
}

INSTANTIATE_TEST_SUITE_P(Samples, Streaming, ::testing::ValuesIn(kSamples),
                         [](const ::testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

TEST(StreamWriter, WithoutParagraphsWritesTheEmptyDocument) {
    qm::RtfStreamWriter w;
    EXPECT_EQ(w.finish(), qm::WriteRtf(RichDocument()));
}

TEST(ReaderLimit, TextOverTheLimitIsRefusedBeforeItIsRead) {
    // One buffer for both: RTF over the limit, and (from its second byte on)
    // plain text over the limit.
    std::string buffer(qm::kMaxRtfBytes + 2, ' ');
    buffer.replace(0, 7, "{\\rtf1 ");
    const std::string_view rtf = buffer;
    const std::string_view text = rtf.substr(1);
    const std::string message = "The RTF text is too large (the limit is 256 MB).";
    struct Row {
        const char* name;
        std::function<void()> read;
    };
    const Row rows[] = {
        {"ReadRtf", [&] { qm::ReadRtf(rtf); }},
        {"LoadRtfOrText_rtf", [&] { qm::LoadRtfOrText(rtf); }},
        {"LoadRtfOrText_text", [&] { qm::LoadRtfOrText(text); }},
        {"ReadPlainText", [&] { qm::ReadPlainText(text); }},
        {"paragraphs_rtf", [&] { qm::ReadRtfParagraphs(rtf, [](Paragraph&&) {}); }},
        {"paragraphs_text", [&] { qm::LoadRtfOrTextParagraphs(text, [](Paragraph&&) {}); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        try {
            r.read();
            ADD_FAILURE() << "read";
        } catch (const qm::ERtfError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

}  // namespace
