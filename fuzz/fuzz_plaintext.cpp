// The plain-text reader, which the editor, the searches and the import use
// for a module text or a file that is not RTF, and for RTF that cannot be
// read at all. Random bytes are read as plain text, and as a module's text.
// Besides not crashing:
// - the text reads as one paragraph per line (CR LF, CR or LF; a NUL between
//   CR and LF parts nothing), NULs dropped, and writes back as those bytes
//   with CR LF line ends; the paragraph-by-paragraph reader agrees;
// - a module's text shows the searches the characters the editor shows
//   (ModulePlainText is ReadModuleText's plain text), and RTF that cannot be
//   read is shown as the plain text it is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/richdoc.h"
#include "search/modulesearch.h"
#include "util/cp1252.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// The text as WritePlainText gives it back: NULs gone, every line end CR LF.
std::string Normalised(std::string_view in) {
    std::string noNul;
    for (char c : in)
        if (c != '\0') noNul += c;
    std::string out;
    for (std::size_t i = 0; i < noNul.size(); ++i) {
        if (noNul[i] == '\r' || noNul[i] == '\n') {
            if (noNul[i] == '\r' && i + 1 < noNul.size() && noNul[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += noNul[i];
        }
    }
    return out;
}

std::size_t LineEnds(std::string_view normalised) {
    std::size_t n = 0;
    for (std::size_t at = normalised.find("\r\n"); at != std::string_view::npos; at = normalised.find("\r\n", at + 2))
        ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    qm::CharFormat format;
    format.font.face = "Courier New";

    const qm::RichDocument doc = qm::ReadPlainText(in, format);
    const std::string expected = Normalised(in);
    Check(qm::WritePlainText(doc) == expected);
    Check(doc.paragraphs.size() == LineEnds(expected) + 1);
    for (const qm::Paragraph& p : doc.paragraphs) Check(p.markFormat == format);
    std::vector<qm::Paragraph> streamed;
    qm::ReadPlainTextParagraphs(qm::Cp1252ToUtf16(in), format,
                                [&streamed](qm::Paragraph&& p) { streamed.push_back(std::move(p)); });
    Check(streamed == doc.paragraphs);

    qm::RichDocument module;
    try {
        module = qm::ReadModuleText(in, format);
    } catch (const qm::ERtfError&) {
        std::abort();  // a module's text always shows, as RTF or as text
    }
    Check(qm::ModulePlainText(in) == module.plainText());
    if (!qm::LooksLikeRtf(in)) {
        Check(module == doc);
    } else {
        bool readable = true;
        try {
            (void)qm::ReadRtf(in);
        } catch (const qm::ERtfError&) {
            readable = false;
        }
        if (!readable) Check(module == doc);
    }
    return 0;
}
