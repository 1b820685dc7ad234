#pragma once
// Reader of help-compiler project files (.hpj) for the import. It splits the
// four sections the import needs into plain lists, keeps every section's body
// for the rest of the import, reads the map files that [MAP] includes, and
// leaves the meaning of the values to the import.
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "util/qorstring.h"

namespace qm {

// One line of the [WINDOWS] section, field by field.
struct TWindowInfo {
    std::string Name;     // text before the "="
    std::string Caption;  // text between the first two double quotes
    std::int32_t X = -1;  // -1 when the number is empty or its group absent
    std::int32_t Y = -1;
    std::int32_t W = -1;
    std::int32_t H = -1;
    std::int32_t State = 0;        // 0 when empty
    std::int32_t Rgb1 = 0xFFFFFF;  // 0xFFFFFF when the colour group is absent or empty
    std::int32_t Rgb2 = 0xFFFFFF;
    std::string Rest;  // whatever follows the second colour group
};

// One section of the file: its name as it stands between the brackets
// (upper-cased, trimmed) and its body lines, trimmed, without blank and
// comment lines.
struct THpjSection {
    std::string Name;
    StringList Lines;
};

class THpjFile {
public:
    static constexpr int kMaxWindows = 255;
    // Help-compiler projects and their map files are a few kilobytes; larger
    // files are refused before they are read.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{4} << 20;
    // Map files read for one project, nested ones included.
    static constexpr int kMaxIncludes = 64;

    // Loads the file as text lines and parses them; relative map files are
    // found in the file's folder. A file that cannot be read raises its
    // EFileAccess error; a bad project raises qm::Error.
    void LoadFromFile(const std::string& fileName);
    // Parses the lines of a project file. Lists filled before an error stay.
    void Parse(const StringList& lines);

    // A copy of window record i (0-based); qm::Error when out of range.
    TWindowInfo GetWindow(int i) const;
    std::int32_t WindowCount() const { return static_cast<std::int32_t>(windows_.size()); }

    StringList OptionKeys;    // upper-cased option names, in file order
    StringList OptionValues;  // the matching values, trimmed
    // The context strings of [MAP] and of the map files it includes, in the
    // order read, and the matching numbers as text.
    StringList MapIds;
    StringList MapValues;
    StringList Files;                   // the [FILES] entries, trimmed
    std::vector<THpjSection> Sections;  // every section, in file order
    // What could not be read and was left out: one line each, for the
    // import's messages.
    StringList Warnings;
    // Where relative map files are found (with its separator); when empty,
    // only map files named with a full path are read.
    std::string IncludeFolder;

    // Parses one window line (already trimmed, holding "="). Exposed for tests.
    static TWindowInfo ParseWindowLine(const std::string& line);

    // The context string and number of one map line ("name value",
    // "name=value", "#define name value"); false for any other line.
    static bool ParseMapLine(std::string_view line, std::string& id, std::string& value);

private:
    void readMapLines(const StringList& lines, const std::string& ownFolder, int depth);
    void readInclude(std::string_view name, const std::string& ownFolder, int depth);

    std::vector<TWindowInfo> windows_;
    std::unordered_set<std::string> includesRead_;  // the map files read, by their full path
    std::string ownPath_;                           // the project file itself, never read as a map
};

}  // namespace qm
