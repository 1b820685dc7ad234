#pragma once
// A private folder in the temporary folder (TMPDIR, else /tmp; the user's
// temporary folder on Windows) for one test, removed with everything in it
// when the object goes. Several suites run on one machine at once, so every
// folder gets a unique name; a test makes its files inside one of these and
// nowhere else, so a run leaves nothing behind.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qmtest {

// Paths in the tests are UTF-8 strings on every system, as path::string()
// gives them; on Windows a narrow path would otherwise be read in the ANSI
// code page.
inline std::filesystem::path NativePath(const std::string& utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}

class ScratchDir {
public:
    // `prefix` starts the folder's name, so a folder left by a killed test
    // shows which program made it.
    explicit ScratchDir(std::string_view prefix = "qm_test_") {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
#ifdef _WIN32
        // No mkdtemp: creating a folder fails when the name is taken, so a
        // random name that creates is ours alone.
        std::random_device rd;
        for (int tries = 0; tries < 100 && path_.empty(); ++tries) {
            const std::filesystem::path p = base / (std::string(prefix) + std::to_string(rd()));
            if (std::filesystem::create_directory(p)) path_ = p;
        }
        if (path_.empty()) throw std::runtime_error("cannot create a scratch folder");
#else
        const std::string templ = (base / (std::string(prefix) + "XXXXXX")).string();
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed in " + base.string());
        path_ = buf.data();
#endif
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // The full path of `name` inside the folder, as a string.
    std::string file(std::string_view name) const { return (path_ / NativePath(std::string(name))).string(); }

    // Names of every entry in the folder, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path path_;
};

// Makes a symbolic link at `link` to `to`; false where links cannot be made.
// On Windows mingw's std::filesystem makes none (and wine could not hold
// one), so tests that need a link skip there; elsewhere they assert.
inline bool TryMakeSymlink(const std::filesystem::path& to, const std::filesystem::path& link) {
    std::error_code ec;
    std::filesystem::create_symlink(to, link, ec);
    return !ec;
}

#ifdef _WIN32
#define QM_SYMLINK_OR_SKIP(to, link) \
    if (!qmtest::TryMakeSymlink(to, link)) GTEST_SKIP() << "symbolic links cannot be made on Windows here"
#else
#define QM_SYMLINK_OR_SKIP(to, link) ASSERT_TRUE(qmtest::TryMakeSymlink(to, link)) << "cannot make a link at " << (link)
#endif

inline void WriteRaw(const std::string& path, std::string_view data) {
    std::ofstream f(NativePath(path), std::ios::binary | std::ios::trunc);
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("cannot write fixture " + path);
}

inline std::string ReadRaw(const std::string& path) {
    std::ifstream f(NativePath(path), std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace qmtest
