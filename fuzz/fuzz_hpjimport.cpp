// Imports a generated help-compiler project: the input is the .hpj text, up
// to three RTF files ("a.rtf", "b.rtf", "c.rtf") and a map file ("ids.h",
// which the .hpj may #include, as may the map file itself), separated by
// lines "--8<--". They are written to a scratch folder and imported whole as
// the Import command does: options, map and its includes, files. Besides not
// crashing, a project that imports must have valid, unique module names,
// unique context numbers and exactly one contents topic, and a save and a
// load must give the same bytes again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "import/import.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
    static const fs::path dir = [] {
        // Memory-backed when the machine has it: the files change every run.
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string t = (base / "qm-fuzz-hpj-XXXXXX").string();
        if (!::mkdtemp(t.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Folder(), ec);
        });
        return fs::path(t);
    }();
    return dir;
}

// Entries that would leave the scratch folder (an absolute path, "..") are
// not what this target fuzzes: they could read any file of the machine. An
// include naming any folder is left out for the same reason.
bool StaysInFolder(std::string_view text) {
    if (text.find("..") != std::string_view::npos) return false;
    for (const std::string& line : qm::SplitLines(text)) {
        const std::string t = qm::Trim(line);
        if (!t.empty() && (t[0] == '/' || t[0] == '\\')) return false;
        if (t.find('#') != std::string::npos && t.find_first_of("/\\:") != std::string::npos &&
            qm::AsciiLowerStr(t).find("include") != std::string::npos)
            return false;
    }
    return true;
}

void Put(const char* name, std::string_view data, bool present) {
    const fs::path p = Folder() / name;
    // Removed and made anew: a file cut to nothing and written again is
    // flushed to the disk on close by some file systems, which is slow.
    std::error_code ec;
    fs::remove(p, ec);
    if (present) std::ofstream(p, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::string_view parts[5];
    std::size_t count = 0;
    while (count < 5) {
        const std::size_t cut = count < 4 ? in.find("\n--8<--\n") : std::string_view::npos;
        parts[count++] = in.substr(0, cut);
        if (cut == std::string_view::npos) break;
        in.remove_prefix(cut + 8);
    }
    if (!StaysInFolder(parts[0]) || !StaysInFolder(parts[4])) return 0;
    // The pictures an earlier run wrote go, so the folder does not grow.
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(Folder(), ec)) fs::remove_all(e.path(), ec);
    Put("p.hpj", parts[0], true);
    Put("a.rtf", parts[1], count > 1);
    Put("b.rtf", parts[2], count > 2);
    Put("c.rtf", parts[3], count > 3);
    Put("ids.h", parts[4], count > 4);

    qm::TImportUi ui;
    qm::StringList notes;
    std::unique_ptr<qm::TProject> project = qm::ImportHpjProject((Folder() / "p.hpj").string(), ui, nullptr, &notes);
    if (!project) return 0;  // a failure shown to the user is a valid outcome
    std::unordered_set<std::string> names;
    std::unordered_set<std::int32_t> numbers;
    int contents = 0;
    for (const auto& node : project->Topics) {
        if (!qm::IsValidName(node->GetName()) || !names.insert(qm::AsciiLowerStr(node->GetName())).second) std::abort();
        if (!numbers.insert(node->ContextId).second) std::abort();
        if (node->IsContents) ++contents;
    }
    // Each note is said once.
    if (std::unordered_set<std::string>(notes.begin(), notes.end()).size() != notes.size()) std::abort();
    if (contents != 1 || project->Windows.Count() < 1) std::abort();
    const std::string saved = project->SaveToBytes();
    qm::TProject loaded;
    loaded.LoadFromBytes(saved, "p.qpf");
    if (loaded.SaveToBytes() != saved) std::abort();
    return 0;
}
