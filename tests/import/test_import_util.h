#pragma once
// Helpers of the import tests: a scratch folder, file bytes, the tags of a
// body, and a scripted import UI.
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "import/import.h"
#include "preprocess/tagtext.h"
#include "support/scratchdir.h"
#include "util/fileio.h"

namespace qmtest {

// A fresh folder under the system's temporary folder, removed afterwards.
struct ImportTempDir : ScratchDir {
    ImportTempDir() : ScratchDir("qm_import_") {}
};

// Reads a file the program names (a model path: "\\" or "/", Windows-1252);
// a file that cannot be read fails the test instead of reading as empty.
inline std::string ReadFileBytes(const std::string& path) { return qm::ReadWholeFile(path); }

inline void WriteFileBytes(const std::string& path, const std::string& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// The tags of an RTF body as the editor shows them, in order.
inline std::vector<std::string> TagsOf(const std::string& rtf) {
    const std::string plain = qm::StripRtf(rtf);
    std::vector<std::string> out;
    static const std::regex tag("<[^<>]*>");
    for (auto it = std::sregex_iterator(plain.begin(), plain.end(), tag); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

// Records what the import shows and answers its question as scripted.
class ScriptedUi : public qm::TImportUi {
public:
    void ShowProgress(const std::string& text) override { progressTexts.push_back(text); }
    void SetProgress(int position, int max) override { positions.push_back(position * 100 / (max ? max : 1)); }
    void HideProgress() override { ++hidden; }
    void ShowError(const std::string& message) override { errors.push_back(message); }
    bool QuerySaveChanges() override {
        ++questions;
        return answer;
    }
    void ClearResults() override { ++cleared; }

    std::vector<std::string> progressTexts;
    std::vector<int> positions;
    std::vector<std::string> errors;
    int hidden = 0;
    int questions = 0;
    int cleared = 0;
    bool answer = true;
};

}  // namespace qmtest
