// fuzz-needs: Qt6Core
// fuzz-units: shgedit/handoff.cpp
// Pikeral's hand-off lists, read as it reads them at start-up: two bytes give
// the length of the topics file, which follows; the rest is the popups file.
// Both are written into a fresh folder and taken back with TakeHandoffLists.
// Besides not crashing: each list is what HandoffNames makes of its file,
// every name is a non-empty line, the names read back the same from the file
// Quillmark would write of them, and the emptied folder is gone.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

#include "fuzzfiles.h"
#include "shgedit/handoff.h"
#include "util/textfile.h"

namespace {

using qmfuzz::Check;

void CheckNames(const qm::StringList& names) {
    for (const std::string& name : names) Check(!name.empty() && name.find_first_of("\r\n") == std::string::npos);
    Check(qm::shgedit::HandoffNames(qm::JoinLinesCrLf(names)) == names);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() < 2) return 0;
    const std::size_t topicsLength =
        (static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8)) % (bytes.size() - 1);
    bytes.remove_prefix(2);
    const std::string_view topics = bytes.substr(0, topicsLength);
    const std::string_view popups = bytes.substr(topicsLength);

    const qmfuzz::ScratchFolder scratch;
    const std::filesystem::path folder = scratch.path() / "handoff";
    std::filesystem::create_directory(folder);
    scratch.Write("handoff/" + std::string(qm::shgedit::kTopicsHandoffFile), topics);
    scratch.Write("handoff/" + std::string(qm::shgedit::kPopupsHandoffFile), popups);
    const qm::shgedit::THandoffLists lists = qm::shgedit::TakeHandoffLists(QString::fromStdString(folder.string()));
    Check(!std::filesystem::exists(folder));

    Check(lists.Topics == qm::shgedit::HandoffNames(topics));
    Check(lists.Popups == qm::shgedit::HandoffNames(popups));
    CheckNames(lists.Topics);
    CheckNames(lists.Popups);
    return 0;
}
