// Loads arbitrary bytes as a project file. A load either succeeds or raises
// qm::Error with the project cleared; a loaded project saves to bytes that load
// back to the same bytes; and the same bytes read from a file (parsed as they
// are read) load as they do from memory.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/project.h"
#include "util/errors.h"

namespace {

// The outcome of a load: the error's message, or the saved bytes.
std::string Outcome(qm::TProject& p, bool loaded, const std::string& error) {
    return loaded ? "ok:" + p.SaveToBytes() : "error:" + error;
}

// A file of this process for the bytes, removed at exit.
struct ScratchFile {
    std::string path =
        (std::filesystem::temp_directory_path() / ("qm-fuzz-projectfile-" + std::to_string(::getpid()) + ".qpf"))
            .string();
    ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& ScratchPath() {
    static const ScratchFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& name = ScratchPath();
    qm::TProject p;
    bool loaded = true;
    std::string error;
    try {
        p.LoadFromBytes(bytes, name);
    } catch (const qm::Error& e) {
        if (p.Topics.Count() != 0 || p.Windows.Count() != 0 || !p.BmRoot.empty()) __builtin_trap();
        loaded = false;
        error = e.what();
    }
    const std::string fromBytes = Outcome(p, loaded, error);

    if (std::FILE* f = std::fopen(name.c_str(), "wb")) {
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (std::fclose(f) == 0 && written) {
            qm::TProject fromFile;
            bool fileLoaded = true;
            std::string fileError;
            try {
                fromFile.LoadFromFile(name);
            } catch (const qm::Error& e) {
                fileLoaded = false;
                fileError = e.what();
            }
            if (Outcome(fromFile, fileLoaded, fileError) != fromBytes) __builtin_trap();
        }
    }
    if (!loaded) return 0;

    const std::string saved = p.SaveToBytes();
    qm::TProject q;
    q.LoadFromBytes(saved, "again.qpf");
    if (q.SaveToBytes() != saved) __builtin_trap();
    return 0;
}
