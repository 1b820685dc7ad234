// Imports random bytes as a help RTF file: the footnotes, the pages, the
// embedded pictures and tables, and the records made from them. Besides not
// crashing, every record must have a valid, unique name (so no name can leave
// the build's work folder), every page its footnote record, and every picture
// kept a whole image file of its kind.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "import/importobjects.h"
#include "import/importrtf.h"
#include "preprocess/topicwriter.h"
#include "util/errors.h"
#include "util/qorstring.h"

namespace {

std::uint32_t Le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// Keeps nothing on disk: checks the image file it is given.
class CheckingSink : public qm::TPictureSink {
public:
    std::string Save(const std::string& bytes, std::string_view extension, std::string_view) override {
        if (extension == "bmp") {
            // The file header's size is the file's, its bits inside it.
            if (bytes.size() < 14 + 12 || bytes.compare(0, 2, "BM") != 0 || Le32(bytes, 2) != bytes.size() ||
                Le32(bytes, 10) > bytes.size())
                std::abort();
        } else if (extension == "wmf") {
            if (bytes.size() < 22 + 18 || Le32(bytes, 0) != 0x9AC6CDD7u) std::abort();
        } else {
            std::abort();
        }
        return "p" + std::to_string(++saved_) + "." + std::string(extension);
    }

private:
    int saved_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    qm::StringList pages;
    int count = 0;
    qm::TFootnotesList footnotes;
    CheckingSink pictures;
    qm::TImportNotes notes;
    try {
        qm::ParseRtfFile(text, pages, count, footnotes, {}, &pictures, &notes);
    } catch (const qm::Error&) {
        return 0;  // a reported failure is a valid outcome
    }
    if (pages.size() != static_cast<std::size_t>(count) || footnotes.size() != pages.size()) std::abort();
    std::vector<std::unique_ptr<qm::TTopicNode>> list;
    qm::TTopicImportExtras extras;
    extras.Notes = &notes;
    qm::CreateImportedTopics(count, pages, footnotes, nullptr, list, &extras);
    if (list.size() != pages.size()) std::abort();
    if (!list.empty()) qm::MakePopupOnlyRecordsPopups(list, list.front()->GetName());
    qm::TProject project;
    std::unordered_set<std::string> names;
    for (auto& node : list) {
        const std::string name = node->GetName();
        if (!qm::IsValidName(name) || !names.insert(qm::AsciiLowerStr(name)).second) std::abort();
        project.Topics.AddNode(std::move(node));
    }
    qm::CheckModuleFileNames(project);  // raises for a name that is no file name
    return 0;
}
