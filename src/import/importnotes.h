#pragma once
// What an import could not bring into the project, for the messages pane.
#include <string>
#include <string_view>
#include <unordered_set>

#include "util/errors.h"
#include "util/qorstring.h"

namespace qm {

// A value of the input as a note quotes it: in double quotes, cut short.
inline std::string Quoted(std::string_view value) { return "\"" + QuoteInput(value) + "\""; }

// The lines in the order added, each kept once.
class TImportNotes {
public:
    void Add(std::string line) {
        if (seen_.insert(line).second) lines_.push_back(std::move(line));
    }
    const StringList& Lines() const { return lines_; }
    bool Empty() const { return lines_.empty(); }

private:
    StringList lines_;
    std::unordered_set<std::string> seen_;
};

}  // namespace qm
