// Reads random bytes as RTF (or plain text), writes the dialect, and checks the
// round trips: the written text reads back to the same document, and writing
// that document again gives the same bytes; the text-only reading agrees.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "richtext/richdoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    qm::RichDocument doc;
    try {
        doc = qm::LoadRtfOrText(in);
    } catch (const qm::ERtfError&) {
        return 0;  // a reported error is a valid outcome
    }
    // The searches' text-only reading sees the characters the document has.
    if (qm::LooksLikeRtf(in) && qm::ReadRtfPlainText(in) != doc.plainText()) std::abort();
    std::string out = qm::WriteRtf(doc);
    qm::RichDocument again = qm::ReadRtf(out);  // our own output never fails
    if (!(again == doc)) std::abort();
    if (qm::WriteRtf(again) != out) std::abort();
    (void)qm::WritePlainText(doc);
    return 0;
}
