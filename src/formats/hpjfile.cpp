#include "formats/hpjfile.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <limits>

#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorsystem.h"
#include "util/textfile.h"

namespace qm {

namespace {

constexpr const char* kInvalid = "Invalid HelpWorkshop project file. ";

// Index of the header line of a section, or -1. A line is the header when its
// trimmed text, cut to the header's length, matches it ignoring case.
long FindSection(const StringList& lines, std::string_view header) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string t = Trim(lines[i]);
        if (t.size() >= header.size() && SameText(std::string_view(t).substr(0, header.size()), header))
            return static_cast<long>(i);
    }
    return -1;
}

// Whether a trimmed line is a comment: ";" starts one in every section.
bool IsCommentLine(std::string_view t) { return !t.empty() && t[0] == ';'; }

// The trimmed body lines of the section whose header is at `header`: the run
// up to the next "[" line or the end of the file. Blank and comment lines
// inside it are skipped, as the help compiler skips them.
StringList SectionBody(const StringList& lines, long header) {
    StringList body;
    if (header < 0) return body;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
        std::string t = Trim(lines[i]);
        if (!t.empty() && t[0] == '[') break;
        if (t.empty() || IsCommentLine(t)) continue;
        body.push_back(std::move(t));
    }
    return body;
}

// Every section of the file, in order, with its body.
std::vector<THpjSection> AllSections(const StringList& lines) {
    std::vector<THpjSection> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string t = Trim(lines[i]);
        if (t.empty() || t[0] != '[') continue;
        const std::size_t close = t.find(']');
        THpjSection section;
        section.Name = AsciiUpperStr(
            Trim(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos : close - 1)));
        section.Lines = SectionBody(lines, static_cast<long>(i));
        out.push_back(std::move(section));
    }
    return out;
}

bool HasLineAfter(const StringList& lines, long header) {
    return header >= 0 && static_cast<std::size_t>(header) + 1 < lines.size();
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-'; }

// Strict decimal int32: an optional "-" and at least one digit, no overflow.
std::int32_t ToInt32(const std::string& text) {
    const auto fail = [&]() { return Error("'" + QuoteInput(text) + "' is not a valid integer value"); };
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    if (i >= text.size()) throw fail();
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') throw fail();
        value = value * 10 + (c - '0');
        if (value > limit) throw fail();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// One field of a "(red,green,blue)" colour, held to 0..255.
std::int32_t Component(const std::string& text) { return std::clamp(ToInt32(text), 0, 255); }

// Walks the blank-free tail of a window line. Every read stops at the end of
// the text, so a short line leaves the remaining fields at their defaults.
class WindowCursor {
public:
    explicit WindowCursor(std::string s) : s_(std::move(s)) {}

    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }
    void skip() {
        if (!atEnd()) ++pos_;
    }
    void seek(std::size_t pos) { pos_ = pos < s_.size() ? pos : s_.size(); }

    // The run of digits and "-" from here, leaving the character that ends it.
    std::string runOnly() {
        const std::size_t start = pos_;
        while (!atEnd() && IsNumberChar(s_[pos_])) ++pos_;
        return s_.substr(start, pos_ - start);
    }

    // The run of digits and "-" from here; the character ending it is skipped.
    std::string run() {
        std::string text = runOnly();
        skip();
        return text;
    }

    // A number that may be empty: `absent` when it is.
    std::int32_t number(std::int32_t absent) {
        const std::string text = run();
        return text.empty() ? absent : ToInt32(text);
    }

    // A colour group, or 0xFFFFFF when there is none: "(r<decimal>)" as the
    // help compiler's tools write it, or "(red,green,blue)" as older projects
    // do, where an empty field means the colour is not given. The separating
    // character after the group is skipped in every case.
    std::int32_t colour() {
        std::int32_t value = 0xFFFFFF;
        if (peek() == '(') {
            skip();
            const char c = peek();
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) skip();
            const std::string first = runOnly();
            if (peek() == ',') {
                std::string parts[3] = {first, {}, {}};
                for (int k = 1; k < 3; ++k) {
                    if (peek() == ',') skip();
                    parts[k] = runOnly();
                }
                if (peek() == ')') skip();
                if (!parts[0].empty() && !parts[1].empty() && !parts[2].empty())
                    value = Component(parts[0]) | (Component(parts[1]) << 8) | (Component(parts[2]) << 16);
            } else {
                // A group cut off by the end of the line is absent; an empty
                // group that is closed ("(r)") is a bad number.
                const bool endedByText = !atEnd();
                skip();
                if (!first.empty() || endedByText) value = ToInt32(first);
            }
        }
        skip();
        return value;
    }

    std::string rest() const { return atEnd() ? std::string() : s_.substr(pos_); }

private:
    std::string s_;
    std::size_t pos_ = 0;
};

}  // namespace

TWindowInfo THpjFile::ParseWindowLine(const std::string& t) {
    TWindowInfo w;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) return w;
    w.Name = Trim(std::string_view(t).substr(0, eq));

    // The numbers start after the caption's closing quote, so a caption may
    // hold commas.
    std::size_t from = eq + 1;
    const std::size_t q1 = t.find('"');
    if (q1 != std::string::npos) {
        const std::size_t q2 = t.find('"', q1 + 1);
        if (q2 != std::string::npos) {
            w.Caption = t.substr(q1 + 1, q2 - q1 - 1);
            if (q2 + 1 > from) from = q2 + 1;
        }
    }
    const std::size_t comma = t.find(',', from);
    std::string s;
    if (comma != std::string::npos) {
        for (std::size_t i = comma; i < t.size(); ++i)
            if (t[i] != ' ' && t[i] != '\t') s += t[i];
    }

    WindowCursor cur(s);
    if (s.size() >= 2 && s[1] == ',') {
        cur.seek(2);
    } else {
        cur.seek(2);
        w.X = cur.number(-1);
        w.Y = cur.number(-1);
        w.W = cur.number(-1);
        w.H = cur.number(-1);
        cur.skip();
    }
    w.State = cur.number(0);
    w.Rgb1 = cur.colour();
    w.Rgb2 = cur.colour();
    w.Rest = cur.rest();
    return w;
}

namespace {

std::string WithoutUtf8Mark(std::string_view text) {
    // An editor's UTF-8 mark would otherwise hide the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return std::string(text);
}

// A path that names its folder from the root. A drive letter is a full path
// only where drives exist: elsewhere it would count from the working folder.
bool IsFullPath(std::string_view p) {
    if (!p.empty() && (p[0] == '\\' || p[0] == '/')) return true;
#ifdef _WIN32
    return p.size() >= 2 && p[1] == ':';
#else
    return false;
#endif
}

// The same file under one name, whatever path reached it. Windows names
// differ in case only as written, never on the disk.
std::string FileKey(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::weakly_canonical(ToFsPath(path), ec);
    if (ec) return AsciiLowerStr(path);
#ifdef _WIN32
    return AsciiLowerStr(FromFsPath(full));
#else
    return FromFsPath(full);
#endif
}

// The full name of a file as the author should see it: from the root, links
// and "." and ".." resolved.
std::string FullName(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full =
        std::filesystem::weakly_canonical(std::filesystem::absolute(ToFsPath(path), ec), ec);
    return ec ? path : FromFsPath(full);
}

// Whether `path` lies in `folder` or below it, once both are resolved (a link
// in the folder that points out of it leads outside).
bool LiesInFolder(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    const std::filesystem::path file =
        std::filesystem::weakly_canonical(std::filesystem::absolute(ToFsPath(path), ec), ec);
    if (ec) return false;
    const std::filesystem::path dir =
        std::filesystem::weakly_canonical(std::filesystem::absolute(ToFsPath(folder), ec), ec);
    if (ec) return false;
    auto f = file.begin();
    for (auto d = dir.begin(); d != dir.end(); ++d, ++f) {
        if (d->empty()) continue;  // the empty last part of a folder named with its separator
        if (f == file.end()) return false;
#ifdef _WIN32
        if (!SameText(FromFsPath(*d), FromFsPath(*f))) return false;
#else
        if (*d != *f) return false;
#endif
    }
    return f != file.end();
}

// Whether something (a folder, a device, a pipe, ...) stands at `path`.
bool EntryExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(ToFsPath(path), ec);
}

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

// The text of a map line before its comment ("//" or ";").
std::string_view WithoutLineComment(std::string_view t) {
    const std::size_t slashes = t.find("//");
    if (slashes != std::string_view::npos) t = t.substr(0, slashes);
    const std::size_t semicolon = t.find(';');
    if (semicolon != std::string_view::npos) t = t.substr(0, semicolon);
    return t;
}

// The name an "#include" line gives: between "<" and ">", between double
// quotes, or the rest of the line.
std::string IncludeName(std::string_view rest) {
    rest = WithoutLineComment(rest);
    std::string t = Trim(rest);
    if (t.size() >= 2 && ((t.front() == '<' && t.back() == '>') || (t.front() == '"' && t.back() == '"')))
        t = Trim(std::string_view(t).substr(1, t.size() - 2));
    return t;
}

// The directive of a "#" line ("define", "include", ...) and the text after it.
bool SplitDirective(std::string_view t, std::string& directive, std::string_view& rest) {
    if (t.empty() || t[0] != '#') return false;
    std::size_t i = 1;
    while (i < t.size() && IsBlankChar(t[i])) ++i;
    std::size_t e = i;
    while (e < t.size() && !IsBlankChar(t[e]) && t[e] != '<' && t[e] != '"') ++e;
    directive = AsciiLowerStr(t.substr(i, e - i));
    rest = t.substr(e);
    return true;
}

}  // namespace

bool THpjFile::ParseMapLine(std::string_view line, std::string& id, std::string& value) {
    std::string_view t = WithoutLineComment(line);
    while (!t.empty() && IsBlankChar(t.front())) t.remove_prefix(1);
    std::string directive;
    std::string_view rest;
    if (SplitDirective(t, directive, rest)) {
        if (directive != "define") return false;
        t = rest;
        while (!t.empty() && IsBlankChar(t.front())) t.remove_prefix(1);
    }
    std::size_t e = 0;
    while (e < t.size() && !IsBlankChar(t[e]) && t[e] != '=') ++e;
    id = std::string(t.substr(0, e));
    std::size_t v = e;
    while (v < t.size() && IsBlankChar(t[v])) ++v;
    // "name=value" and "name = value"; a "#define" has no "=".
    if (v < t.size() && t[v] == '=' && directive.empty()) ++v;
    value = Trim(t.substr(v));
    return !id.empty() && !value.empty();
}

void THpjFile::readMapLines(const StringList& lines, const std::string& ownFolder, int depth) {
    bool inComment = false;  // inside a "/* */" comment that spans lines
    for (const std::string& line : lines) {
        // The line without its block comments.
        std::string t;
        std::size_t i = 0;
        while (i < line.size()) {
            if (inComment) {
                const std::size_t close = line.find("*/", i);
                if (close == std::string::npos) break;
                inComment = false;
                i = close + 2;
                continue;
            }
            const std::size_t open = line.find("/*", i);
            t.append(line, i, open == std::string::npos ? std::string::npos : open - i);
            if (open == std::string::npos) break;
            t += ' ';
            inComment = true;
            i = open + 2;
        }
        t = Trim(t);
        if (t.empty() || IsCommentLine(t)) continue;
        std::string directive;
        std::string_view rest;
        if (SplitDirective(t, directive, rest) && directive == "include") {
            readInclude(IncludeName(rest), ownFolder, depth);
            continue;
        }
        std::string id, value;
        if (!ParseMapLine(t, id, value)) continue;
        MapIds.push_back(std::move(id));
        MapValues.push_back(std::move(value));
    }
}

void THpjFile::readInclude(std::string_view name, const std::string& ownFolder, int depth) {
    if (name.empty()) return;
    const std::string quoted = "\"" + QuoteInput(name) + "\"";
    std::string path;
    // What the include names when no regular file of that name is there.
    std::string named;
    if (IsFullPath(name)) {
        named = std::string(name);
        if (FileExists(name)) path = named;
    } else {
        // Named from the project's folder; a map file that includes another
        // may also name it from its own folder.
        for (const std::string& folder : {IncludeFolder, ownFolder}) {
            if (folder.empty() || !path.empty()) continue;
            path = FindFileInFolder(folder, name);
            if (path.empty() && named.empty() && EntryExists(folder + std::string(name)))
                named = folder + std::string(name);
        }
    }
    if (path.empty()) {
        // A folder, a device or a pipe is never read as a map file: a pipe
        // could hold the import up and a device could feed it without end.
        if (EntryExists(named))
            Warnings.push_back("The map file " + quoted +
                               " is not a regular file: it was not read, and the context numbers it would give were "
                               "not imported.");
        else
            Warnings.push_back("The map file " + quoted +
                               " was not found: the context numbers it holds were not imported.");
        return;
    }
    const std::string key = FileKey(path);
    // A file is read once: an include of itself or a cycle ends here.
    if (key == ownPath_ || includesRead_.count(key)) return;
    if (includesRead_.size() >= static_cast<std::size_t>(kMaxIncludes) || depth >= kMaxIncludes) {
        Warnings.push_back("The map file " + quoted + " was not read: a project reads at most " +
                           std::to_string(kMaxIncludes) + " map files.");
        return;
    }
    includesRead_.insert(key);
    std::string data;
    try {
        data = WithoutUtf8Mark(ReadWholeFile(path, kMaxFileBytes));
    } catch (const Error& e) {
        Warnings.push_back("The map file " + quoted + " could not be read: " + e.what());
        return;
    }
    // The compiler reads it, and so does the import; the author is told,
    // since a project that reads files from elsewhere is seldom meant to.
    if (!LiesInFolder(path, IncludeFolder))
        Warnings.push_back("The map file \"" + QuoteInput(FullName(path)) +
                           "\" lies outside the project's folder: the context numbers it holds were read from it.");
    readMapLines(SplitLines(data), ExtractFilePath(path), depth + 1);
}

void THpjFile::LoadFromFile(const std::string& fileName) {
    // ReadWholeFile raises the file-access error in its access form.
    const std::string data = WithoutUtf8Mark(ReadWholeFile(fileName, kMaxFileBytes));
    IncludeFolder = ExtractFilePath(fileName);
    ownPath_ = FileKey(fileName);
    Parse(SplitLines(data));
}

void THpjFile::Parse(const StringList& lines) {
    OptionKeys.clear();
    OptionValues.clear();
    MapIds.clear();
    MapValues.clear();
    Files.clear();
    Sections.clear();
    Warnings.clear();
    windows_.clear();
    includesRead_.clear();

    const long options = FindSection(lines, "[OPTIONS]");
    if (!HasLineAfter(lines, options)) throw Error(std::string(kInvalid) + "[OPTIONS] section is missing.");
    for (const std::string& t : SectionBody(lines, options)) {
        const std::size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        // Hand-written files put blanks around "="; the key is matched by name.
        OptionKeys.push_back(AsciiUpperStr(Trim(std::string_view(t).substr(0, eq))));
        OptionValues.push_back(Trim(std::string_view(t).substr(eq + 1)));
    }

    const long files = FindSection(lines, "[FILES]");
    if (!HasLineAfter(lines, files)) throw Error(std::string(kInvalid) + "[FILES] section is missing.");
    Files = SectionBody(lines, files);
    if (Files.empty()) throw Error(std::string(kInvalid) + "No files in [FILES] section.");

    readMapLines(SectionBody(lines, FindSection(lines, "[MAP]")), IncludeFolder, 0);

    for (const std::string& t : SectionBody(lines, FindSection(lines, "[WINDOWS]"))) {
        if (t.find('=') == std::string::npos) continue;
        if (windows_.size() >= static_cast<std::size_t>(kMaxWindows)) break;
        windows_.push_back(ParseWindowLine(t));
    }

    Sections = AllSections(lines);
}

TWindowInfo THpjFile::GetWindow(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= windows_.size())
        throw Error("List index out of bounds (" + std::to_string(i) + ")");
    return windows_[static_cast<std::size_t>(i)];
}

}  // namespace qm
