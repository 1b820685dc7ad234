#include "model/macros.h"

#include <charconv>

#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace qm {

namespace {

bool IsBlank(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

// A decimal int32 with optional blanks around it and an optional minus sign.
bool ParseInt32(std::string_view s, std::int32_t& out) {
    const std::string t = Trim(s);
    if (t.empty()) return false;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    const auto r = std::from_chars(first, last, out);
    return r.ec == std::errc() && r.ptr == last;
}

}  // namespace

const std::string& TMacroInfo::Param(int k) const {
    static const std::string empty;
    return k >= 1 && k <= kMaxMacroParams ? Params[static_cast<std::size_t>(k - 1)] : empty;
}

bool ParseMacroLine(std::string_view line, TMacroInfo& out) {
    if (IsBlank(line)) return false;
    const std::size_t comma = line.find(',');
    const std::size_t paren = line.find('(');
    const std::size_t bar = line.find('|');
    if (comma == std::string_view::npos || paren == std::string_view::npos || bar == std::string_view::npos)
        return false;
    if (!(comma < paren && paren < bar)) return false;

    TMacroInfo m;
    if (!ParseInt32(line.substr(0, comma), m.HelpContext)) return false;
    m.Name = std::string(line.substr(comma + 1, paren - comma - 1));
    m.Syntax = std::string(line.substr(comma + 1, bar - comma - 1));

    if (bar + 1 >= line.size()) return false;
    const char digit = line[bar + 1];
    if (digit < '0' || digit > '0' + kMaxMacroParams) return false;
    m.ParamCount = digit - '0';

    // The names start after the digit and the comma that follows it.
    std::size_t pos = bar + 3;
    for (int k = 1; k <= m.ParamCount; ++k) {
        std::string& param = m.Params[static_cast<std::size_t>(k - 1)];
        if (pos < line.size()) {
            std::size_t end = line.find(',', pos);
            if (end == std::string_view::npos) end = line.size();
            param = std::string(line.substr(pos, end - pos));
            pos = end + 1;
        }
        ReplaceString(m.Syntax, "%" + std::to_string(k), param, true);
    }
    out = std::move(m);
    return true;
}

TMacroInfo& TMacros::Add() { return items_.emplace_back(); }

const TMacroInfo* TMacros::GetMacro(int i) const {
    return i >= 0 && i < Count() ? &items_[static_cast<std::size_t>(i)] : nullptr;
}

int TMacros::LoadFromText(std::string_view text) {
    // A text editor may have put a UTF-8 byte-order mark before the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int malformed = 0;
    for (const std::string& line : SplitLines(text)) {
        TMacroInfo m;
        if (ParseMacroLine(line, m))
            Add() = std::move(m);
        else if (!IsBlank(line))
            ++malformed;
    }
    return malformed;
}

void TMacros::LoadFromFile(std::string_view path) {
    Clear();
    std::string text;
    try {
        text = ReadWholeFile(path, kMaxFileBytes);
    } catch (const qm::Error&) {
        return;  // no catalogue: the macro lists stay empty
    }
    LoadFromText(text);
}

}  // namespace qm
