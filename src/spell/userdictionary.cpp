#include "spell/userdictionary.h"

#include <filesystem>
#include <system_error>

#include "util/errors.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {

bool IsDictionaryName(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

void CheckDictionaryName(std::string_view name) {
    if (IsDictionaryName(name)) return;
    std::string shown(name);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';  // the message must show all of it
    throw Error("\"" + shown +
                "\" is not a valid dictionary name. A name may not be empty or hold \"/\", \"\\\" or \"..\".");
}

void TUserWords::SetText(std::string_view text) {
    std::set<std::string, TextLess> words;
    for (const std::string& line : SplitLines(text)) {
        std::string word = Trim(line);
        if (!word.empty()) words.insert(std::move(word));
    }
    words_ = std::move(words);
}

std::string TUserWords::Text() const {
    std::string out;
    std::size_t total = 0;
    for (const std::string& w : words_) total += w.size() + 2;
    out.reserve(total);
    for (const std::string& w : words_) {
        out += w;
        out += kCrLf;
    }
    return out;
}

void TUserWords::LoadFromFile(const std::string& fileName) {
    // Refuse an oversized file before reading it into memory.
    std::error_code ec;
    const std::filesystem::path native = ToFsPath(fileName);
    if (std::filesystem::is_regular_file(native, ec)) {
        const std::uintmax_t size = std::filesystem::file_size(native, ec);
        if (!ec && size > kMaxUserDictionarySize)
            throw Error("The personal dictionary " + fileName + " is too large to be read.");
    }
    const std::string data = ReadWholeFile(fileName);
    if (data.size() > kMaxUserDictionarySize)
        throw Error("The personal dictionary " + fileName + " is too large to be read.");
    SetText(data);
}

void TUserWords::SaveToFile(const std::string& fileName) const {
    const std::filesystem::path folder = ToFsPath(fileName).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) throw CreateFileAccessError(fileName, false, WinCodeFromErrno(ec.value(), folder.string()));
    }
    WriteFileAtomic(fileName, Text());
}

bool TUserWords::Add(std::string_view word) { return words_.emplace(word).second; }

}  // namespace qm
