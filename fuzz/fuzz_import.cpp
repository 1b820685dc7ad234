// Imports random bytes as a help RTF file: the footnotes, the pages and the
// records made from them. Besides not crashing, every record must have a
// valid, unique name (so no name can leave the build's work folder) and every
// page its footnote record.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "import/importrtf.h"
#include "preprocess/topicwriter.h"
#include "util/errors.h"
#include "util/qorstring.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    qm::StringList pages;
    int count = 0;
    qm::TFootnotesList footnotes;
    try {
        qm::ParseRtfFile(text, pages, count, footnotes);
    } catch (const qm::Error&) {
        return 0;  // a reported failure is a valid outcome
    }
    if (pages.size() != static_cast<std::size_t>(count) || footnotes.size() != pages.size()) std::abort();
    std::vector<std::unique_ptr<qm::TTopicNode>> list;
    qm::CreateImportedTopics(count, pages, footnotes, nullptr, list);
    if (list.size() != pages.size()) std::abort();
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
