#pragma once
// Reader of help-compiler project files (.hpj) for the import. It splits the
// four sections the import needs into plain lists and leaves the meaning of
// the values to the import.
#include <cstdint>
#include <string>
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
    std::int32_t Rgb1 = 0xFFFFFF;  // 0xFFFFFF when the colour group is absent
    std::int32_t Rgb2 = 0xFFFFFF;
    std::string Rest;  // whatever follows the second colour group
};

class THpjFile {
public:
    static constexpr int kMaxWindows = 255;
    // Help-compiler projects are a few kilobytes; larger files are refused
    // before they are read.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{4} << 20;

    // Loads the file as text lines and parses them. A file that cannot be
    // read raises its EFileAccess error; a bad project raises qm::Error.
    void LoadFromFile(const std::string& fileName);
    // Parses the lines of a project file. Lists filled before an error stay.
    void Parse(const StringList& lines);

    // A copy of window record i (0-based); qm::Error when out of range.
    TWindowInfo GetWindow(int i) const;
    std::int32_t WindowCount() const { return static_cast<std::int32_t>(windows_.size()); }

    StringList OptionKeys;    // upper-cased option names, in file order
    StringList OptionValues;  // the matching values, trimmed
    StringList MapIds;        // context strings of [MAP]
    StringList MapValues;     // the matching numbers as text
    StringList Files;         // the [FILES] entries, trimmed

    // Parses one window line (already trimmed, holding "="). Exposed for tests.
    static TWindowInfo ParseWindowLine(const std::string& line);

private:
    std::vector<TWindowInfo> windows_;
};

}  // namespace qm
