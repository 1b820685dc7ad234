#pragma once
// Shared helpers of the model tests: a scratch folder and a populated project.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "model/project.h"
#include "project_fixture.h"
#include "support/scratchdir.h"
#include "util/helpunits.h"

namespace qmtest {

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempDir : ScratchDir {
    TempDir() : ScratchDir("qm_model_") {}
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

inline std::int32_t Int32At(const std::string& s, std::size_t off) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s.at(off + static_cast<std::size_t>(i)));
    return static_cast<std::int32_t>(v);
}

inline void PutInt32(std::string& s, std::size_t off, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) s.at(off + static_cast<std::size_t>(i)) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The text of a fixed field at `off`: up to the first NUL within `width`.
inline std::string FieldAt(const std::string& s, std::size_t off, std::size_t width) {
    std::string f = s.substr(off, width);
    return f.substr(0, f.find('\0'));
}

// Installs a fixed screen for the lifetime of the object.
class ScopedScreen {
public:
    ScopedScreen(int w, int h) : metrics_({w, h}) { qm::SetScreenMetrics(&metrics_); }
    ~ScopedScreen() { qm::SetScreenMetrics(nullptr); }

private:
    qm::FixedScreenMetrics metrics_;
};

}  // namespace qmtest
