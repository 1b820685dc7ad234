// Imports a generated help-compiler project: the input is the .hpj text and
// up to three RTF files ("a.rtf", "b.rtf", "c.rtf"), separated by lines
// "--8<--". They are written to a scratch folder and imported whole as the
// Import command does. Besides not crashing, a project that imports must have
// valid, unique module names and exactly one contents topic, and a save and a
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
// not what this target fuzzes: they could read any file of the machine.
bool StaysInFolder(std::string_view hpj) {
    if (hpj.find("..") != std::string_view::npos) return false;
    for (const std::string& line : qm::SplitLines(hpj)) {
        const std::string t = qm::Trim(line);
        if (!t.empty() && (t[0] == '/' || t[0] == '\\')) return false;
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
    std::string_view parts[4];
    std::size_t count = 0;
    while (count < 4) {
        const std::size_t cut = count < 3 ? in.find("\n--8<--\n") : std::string_view::npos;
        parts[count++] = in.substr(0, cut);
        if (cut == std::string_view::npos) break;
        in.remove_prefix(cut + 8);
    }
    if (!StaysInFolder(parts[0])) return 0;
    Put("p.hpj", parts[0], true);
    Put("a.rtf", parts[1], count > 1);
    Put("b.rtf", parts[2], count > 2);
    Put("c.rtf", parts[3], count > 3);

    qm::TImportUi ui;
    std::unique_ptr<qm::TProject> project = qm::ImportHpjProject((Folder() / "p.hpj").string(), ui);
    if (!project) return 0;  // a failure shown to the user is a valid outcome
    std::unordered_set<std::string> names;
    int contents = 0;
    for (const auto& node : project->Topics) {
        if (!qm::IsValidName(node->GetName()) || !names.insert(qm::AsciiLowerStr(node->GetName())).second) std::abort();
        if (node->IsContents) ++contents;
    }
    if (contents != 1 || project->Windows.Count() < 1) std::abort();
    const std::string saved = project->SaveToBytes();
    qm::TProject loaded;
    loaded.LoadFromBytes(saved, "p.qpf");
    if (loaded.SaveToBytes() != saved) std::abort();
    return 0;
}
