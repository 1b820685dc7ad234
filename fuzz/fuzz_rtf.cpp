// Reads random bytes as RTF (or plain text: text not starting with "{\rtf"),
// writes the dialect, and checks the round trips: the written text reads back
// to the same document, and writing that document again gives the same bytes.
// The paragraph-by-paragraph reader and writer the import uses must give the
// same paragraphs and the same text, and the searches' text-only reading the
// same characters; the reading with tables no more than those.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/richdoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    qm::RichDocument doc;
    try {
        doc = qm::LoadRtfOrText(in);
    } catch (const qm::ERtfError&) {
        return 0;  // a reported error is a valid outcome
    }
    std::vector<qm::Paragraph> streamed;
    qm::LoadRtfOrTextParagraphs(in, [&streamed](qm::Paragraph&& p) { streamed.push_back(std::move(p)); });
    if (streamed != doc.paragraphs) std::abort();
    // The searches' text-only reading sees the characters the document has.
    if (qm::LooksLikeRtf(in) && qm::ReadRtfPlainText(in) != doc.plainText()) std::abort();
    // The reading with tables sees no character the document lacks (a cell's
    // end is a tab there).
    if (qm::LooksLikeRtf(in)) {
        const qm::RtfTablesAndText tables = qm::ReadRtfTables(in);
        std::size_t chars = 0;
        for (const qm::Paragraph& p : tables.paragraphs) chars += p.length();
        for (const qm::RtfTable& t : tables.tables) {
            if (t.after > tables.paragraphs.size()) std::abort();
            for (const qm::RtfTableRow& row : t.rows)
                for (const qm::RtfTableCell& cell : row.cells)
                    for (const qm::Paragraph& p : cell.paragraphs) chars += p.length();
        }
        std::size_t docChars = 0;
        for (const qm::Paragraph& p : doc.paragraphs) docChars += p.length();
        if (chars > docChars) std::abort();
    }
    std::string out = qm::WriteRtf(doc);
    qm::RtfStreamWriter writer;
    for (const qm::Paragraph& p : streamed) writer.note(p);
    for (const qm::Paragraph& p : streamed) writer.write(p);
    if (writer.finish() != out) std::abort();
    qm::RichDocument again = qm::ReadRtf(out);  // our own output never fails
    if (!(again == doc)) std::abort();
    if (qm::WriteRtf(again) != out) std::abort();
    (void)qm::WritePlainText(doc);
    return 0;
}
