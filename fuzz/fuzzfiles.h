#pragma once
// What the targets that read through the file system share: a fresh folder
// per input in the temporary folder, removed with what is in it when the
// input is done, so a fuzzing run leaves nothing behind.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace qmfuzz {

inline void Check(bool ok) {
    if (!ok) std::abort();
}

// Where the folders go: memory (/dev/shm) where there is one, as the settings
// store flushes what it writes to disk; else the temporary folder.
inline std::filesystem::path ScratchBase() {
    static const std::filesystem::path base = [] {
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK | X_OK) == 0)
            return std::filesystem::path("/dev/shm");
        return std::filesystem::temp_directory_path();
    }();
    return base;
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string templ = (ScratchBase() / "qm_fuzz_XXXXXX").string();
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back('\0');
        Check(::mkdtemp(buf.data()) != nullptr);
        path_ = buf.data();
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` as the file `name` of the folder and gives its path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        Check(static_cast<bool>(out));
        return file;
    }

private:
    std::filesystem::path path_;
};

}  // namespace qmfuzz
