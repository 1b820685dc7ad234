// Imports random bytes as a text file: decoded (UTF-8 or Windows-1252), cut
// into lines and written as RTF paragraph by paragraph, as the Import command
// does. The RTF must read back to one paragraph per line of the text, and be
// what the whole-document road (appendText, then WriteRtf) gives.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "import/import.h"
#include "richtext/richdoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    qm::CharFormat format;
    format.font.face = "Courier New";
    const std::string rtf = qm::ImportTextToRtf(in, format);

    const std::u16string text = qm::DecodeTextFile(in);
    std::u16string withoutNul = text;
    std::erase(withoutNul, u'\0');
    qm::RichDocument doc;
    doc.paragraphs.front().markFormat = format;
    doc.appendText(withoutNul, format);
    if (rtf != qm::WriteRtf(doc)) std::abort();
    if (qm::ReadRtf(rtf).paragraphs.size() != doc.paragraphs.size()) std::abort();
    return 0;
}
