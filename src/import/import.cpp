#include "import/import.h"

#include <exception>
#include <filesystem>
#include <new>
#include <unordered_set>

#include "import/importlinks.h"
#include "import/importobjects.h"
#include "model/projectfile.h"
#include "preprocess/tagtext.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/helpunits.h"
#include "util/qorstring.h"
#include "util/qorsystem.h"

namespace qm {

namespace {

const char* const kFailed = "HelpWorkshop project importation failed for the following reason:";

// Hides the progress window however the import ends.
class ProgressScope {
public:
    explicit ProgressScope(TImportUi& ui) : ui_(ui) {}
    ~ProgressScope() { ui_.HideProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    TImportUi& ui_;
};

std::string ReasonOf(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "Insufficient memory.";
    return e.what();
}

// A path that names its folder from the root. A drive letter is a full path
// only where drives exist: elsewhere it would count from the working folder.
bool IsAbsolute(std::string_view p) {
    if (!p.empty() && (p[0] == '\\' || p[0] == '/')) return true;
#ifdef _WIN32
    return p.size() >= 2 && p[1] == ':';
#else
    return false;
#endif
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A folder named with a drive letter ("C:\HELP") or as a share
// ("\\server\share"): it names the same place wherever the project is, so
// it is never counted from the project's folder.
bool HasDriveOrShare(std::string_view p) {
    if (p.size() >= 2 && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':') return true;
    return p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1]);
}

// Whether the folder is there on this machine. A drive letter names no
// folder where there are no drives.
bool ImageFolderIsHere(std::string_view path) {
#ifndef _WIN32
    if (path.size() >= 2 && path[1] == ':') return false;
#endif
    return FolderExists(path);
}

std::string WithoutTrailingSeparators(std::string s) {
    while (s.size() > 1 && IsSeparator(s.back())) s.pop_back();
    return s;
}

// The folder `entry` names, counted from `folder` when it is relative; each
// part matches a folder of another case when no exact one exists. The path as
// written when there is no such folder.
std::string ResolveImportFolder(std::string_view folder, std::string_view entry) {
    std::string rel = WithoutTrailingSeparators(Trim(entry));
    // A drive's root keeps its separator: "C:" alone is a folder of its own.
    if (rel.size() == 2 && rel[1] == ':' && HasDriveOrShare(rel)) rel = Trim(entry).substr(0, 3);
    if (rel.empty() || IsAbsolute(rel) || HasDriveOrShare(rel)) return rel;
    std::string result(folder);
    if (!result.empty() && !IsSeparator(result.back())) result += '/';
    const std::string asWritten = result + rel;
    if (FolderExists(asWritten)) return asWritten;
    std::filesystem::path dir = ToFsPath(result.empty() ? std::string(".") : result);
    std::size_t start = 0;
    while (start <= rel.size()) {
        std::size_t end = rel.find_first_of("\\/", start);
        if (end == std::string::npos) end = rel.size();
        const std::string part = rel.substr(start, end - start);
        if (!part.empty() && part != ".") {
            std::string found;
            std::error_code ec;
            if (part == ".." || std::filesystem::is_directory(dir / ToFsPath(part), ec)) {
                found = part;
            } else {
                for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
                    std::error_code ec2;
                    const std::string n = FromFsPath(e.path().filename());
                    if (SameText(n, part) && e.is_directory(ec2)) {
                        found = n;
                        break;
                    }
                }
            }
            if (found.empty()) return asWritten;
            result += found;
            dir /= ToFsPath(found);
            if (end < rel.size()) result += rel[end];
        }
        start = end + 1;
    }
    return WithoutTrailingSeparators(result);
}

// Reads the file or raises its file-access error.
std::string ReadImportFile(const std::string& name) { return ReadWholeFile(name, kMaxImportFileBytes); }

}  // namespace

std::string ImportFailedMessage(std::string_view reason) {
    return std::string(kFailed) + "\r\n\r\n" + std::string(reason);
}

bool LoadFileToString(const std::string& name, std::string& text) {
    try {
        text = ReadWholeFile(name);
        return true;
    } catch (const Error&) {
        return false;
    }
}

std::string ResolveImportPath(std::string_view folder, std::string_view entry) {
    if (entry.empty()) return {};
    if (IsAbsolute(entry)) return FileExists(entry) ? std::string(entry) : std::string();
    return FindFileInFolder(folder, entry);
}

std::u16string DecodeTextFile(std::string_view bytes) {
    const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (bom) bytes.remove_prefix(3);
    if (!bom && !IsValidUtf8(bytes)) return Cp1252ToUtf16(bytes);
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t cp = 0;
        bool ok = len != 0 && i + len <= n;
        if (ok) {
            cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
            for (std::size_t k = 1; k < len && ok; ++k) {
                const auto c = static_cast<unsigned char>(bytes[i + k]);
                if ((c & 0xC0) != 0x80) ok = false;
                cp = (cp << 6) | (c & 0x3F);
            }
            if (ok && (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        }
        if (!ok) {
            // A broken sequence after a byte-order mark: one replacement.
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += len;
    }
    return out;
}

// ---------------------------------------------------------------------------

namespace {

// Where the pictures of an RTF file imported into `project` go: its first
// image folder that exists, else its own folder, else the file's.
std::string PictureFolderFor(const TProject& project, const std::string& fileName) {
    const std::string projectFolder = ExtractFilePath(project.FileName);
    for (const std::string& f : project.BmRoot) {
        const std::string path = ResolveImportFolder(projectFolder, f);
        if (!path.empty() && (!projectFolder.empty() || IsAbsolute(path)) && FolderExists(path)) return path;
    }
    if (!projectFolder.empty()) return WithoutTrailingSeparators(projectFolder);
    const std::string fileFolder = ExtractFilePath(fileName);
    return WithoutTrailingSeparators(fileFolder.empty() ? std::string(".") : fileFolder);
}

}  // namespace

TRtfImportResult ImportRtfFile(TProject& project, const TImportTarget& target, const std::string& name,
                               bool useFootnotes, TImportUi& ui, TOutputLog* log) {
    TRtfImportResult result;
    ProgressScope scope(ui);
    TImportNotes notes;
    TPictureFolder pictures(PictureFolderFor(project, name), &notes);
    try {
        ui.ShowProgress("Importing Rich Text Format File...");
        ui.SetProgress(0, 100);
        std::string text = ReadImportFile(name);
        TTopicNode* open = target.OpenNode ? project.Topics.FindById(target.OpenNode) : nullptr;
        if (!useFootnotes) {
            if (!open) throw Error("No topic or popup is open to take the file.");
            open->Text = std::move(text);
            project.Modified = true;
            result.OpenNode = open->Id();
            result.Ok = true;
            ui.SetProgress(100, 100);
            return result;
        }
        StringList pages;
        int count = 0;
        TFootnotesList footnotes;
        ParseRtfFile(
            std::move(text), pages, count, footnotes, [&ui](int position, int max) { ui.SetProgress(position, max); },
            &pictures, &notes);
        if (count == 0) throw Error("The file holds no topic.");
        std::vector<std::unique_ptr<TTopicNode>> records;
        TTopicImportExtras extras;
        extras.Notes = &notes;
        CreateImportedTopics(count, std::move(pages), footnotes, &project, records, &extras);
        ui.SetProgress(100, 100);
        for (auto& r : records) r->Kind = target.ActiveKind;
        // Nothing may point at the module about to be freed.
        if (log) log->Clear();
        ui.ClearResults();
        TTopicNode* first = records.front().get();
        if (open) {
            if (target.ActiveKind == TopicKind::Topic && open->IsTopic()) first->IsContents = open->IsContents;
            project.Topics.ReplaceNode(open, std::move(records.front()));
        } else {
            project.Topics.AddNode(std::move(records.front()));
        }
        result.OpenNode = first->Id();
        for (std::size_t i = 1; i < records.size(); ++i) {
            result.Appended.push_back(records[i]->Id());
            project.Topics.AddNode(std::move(records[i]));
        }
        // The project's own folder is searched anyway.
        if (pictures.Used() && !project.IsBmRootFolder(pictures.Folder()) &&
            !SameText(WithoutTrailingSeparators(ExtractFilePath(project.FileName)), pictures.Folder()))
            project.BmRoot.push_back(pictures.Folder());
        project.Modified = true;
        result.Notes = notes.Lines();
        result.Ok = true;
    } catch (const std::exception& e) {
        pictures.Discard();
        result = TRtfImportResult();
        ui.ShowError(ImportFailedMessage(ReasonOf(e)));
    }
    return result;
}

namespace {

// Decoded text as RTF, written as it is read, line by line: a document of
// the whole file would take many times its size.
std::string TextToRtf(std::u16string_view text, const CharFormat& format) {
    RtfStreamWriter writer;
    ReadPlainTextParagraphs(text, format, [&writer](Paragraph&& p) { writer.note(p); });
    ReadPlainTextParagraphs(text, format, [&writer](Paragraph&& p) { writer.write(p); });
    return writer.finish();
}

}  // namespace

std::string ImportTextToRtf(std::string_view bytes, const CharFormat& format) {
    return TextToRtf(DecodeTextFile(bytes), format);
}

bool ImportTextFile(TProject& project, TNodeId openNode, const std::string& name, const CharFormat& format,
                    TImportUi& ui) {
    try {
        TTopicNode* open = openNode ? project.Topics.FindById(openNode) : nullptr;
        if (!open) throw Error("No topic or popup is open to take the file.");
        // The file's bytes go as soon as they are decoded.
        const std::u16string text = DecodeTextFile(ReadImportFile(name));
        std::string rtf = TextToRtf(text, format);
        if (rtf.size() > projectfile::MaxModuleTextBytes)
            throw Error("The file " + QuoteInput(name) + " is too large to import: its text would pass the limit of " +
                        std::to_string(projectfile::MaxModuleTextBytes >> 20) + " MB of a module.");
        open->Text = std::move(rtf);
        project.Modified = true;
        return true;
    } catch (const std::exception& e) {
        ui.ShowError(ReasonOf(e));
        return false;
    }
}

// ---------------------------------------------------------------------------

namespace {

// The window state bits and the buttons they stand for.
struct StateButton {
    std::int32_t bit;
    std::uint8_t button;
};
constexpr StateButton kStateButtons[] = {
    {256, WindowButtons::Options}, {512, WindowButtons::Browse},      {1024, WindowButtons::Contents},
    {2048, WindowButtons::Index},  {4096, WindowButtons::HelpTopics}, {8192, WindowButtons::Print},
    {16384, WindowButtons::Back},  {32768, WindowButtons::Find},
};

void ImportWindow(const TWindowInfo& info, TWindowDef& w) {
    w.Buttons = 0;
    w.Attributes = 0;
    w.SetName(Trim(info.Name));
    w.SetCaption(info.Caption);
    w.Rgb2 = static_cast<TColorRef>(info.Rgb1);
    w.Rgb1 = static_cast<TColorRef>(info.Rgb2);
    if (info.State & 1) w.Attributes |= WindowAttributes::Maximize;
    if (info.State & 4) w.NoDefaultButtons = true;
    for (const StateButton& sb : kStateButtons)
        if (info.State & sb.bit) w.Buttons |= sb.button;
    const std::string rest = info.Rest;
    if (rest.empty()) {
        w.AdjustRes = 1;
    } else if (rest == "1") {
        w.Attributes |= WindowAttributes::KeepOnTop | WindowAttributes::Maximize;
        w.AdjustRes = 1;
    } else {
        const int n = rest.size() >= 2 && rest[1] >= '0' && rest[1] <= '9' ? rest[1] - '0' : 0;
        if (n & 1) w.Attributes |= WindowAttributes::KeepOnTop;
        if (n & 2) w.Attributes |= WindowAttributes::AutoSizeHeight;
        w.AdjustRes = (n & 4) ? 0 : 1;
    }
    const ScreenSize screen = Screen().screenSize();
    w.X = info.X == -1 ? screen.width / 2 - 300 : info.X;
    w.Y = info.Y == -1 ? screen.height / 2 - 240 : info.Y;
    w.W = info.W == -1 ? 600 : info.W;
    w.H = info.H == -1 ? 480 : info.H;
}

}  // namespace

namespace {

// The sections the import reads; any other is noted as left out.
bool IsReadSection(const std::string& name) {
    return name == "OPTIONS" || name == "FILES" || name == "MAP" || name == "WINDOWS" || name == "CONFIG" ||
           name.rfind("CONFIG-", 0) == 0 || name == "ALIAS" || name == "BITMAPS";
}

// A number of [MAP]: decimal, or hexadecimal after "0x", with the suffixes C
// allows; 0 to the largest context number.
bool ParseMapNumber(std::string_view text, std::int32_t& value) {
    std::string t = Trim(text);
    while (!t.empty() && (t.back() == 'L' || t.back() == 'l' || t.back() == 'U' || t.back() == 'u')) t.pop_back();
    const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    const std::size_t from = hex ? 2 : 0;
    if (t.size() <= from) return false;
    std::int64_t v = 0;
    for (std::size_t i = from; i < t.size(); ++i) {
        const char c = AsciiLower(t[i]);
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return false;
        v = v * (hex ? 16 : 10) + digit;
        if (v > INT32_MAX) return false;
    }
    value = static_cast<std::int32_t>(v);
    return true;
}

// The compression a COMPRESS value stands for, as near as the project holds
// it: false for a value that names none.
bool ParseCompress(std::string_view value, std::uint8_t& mode, std::int32_t& flags) {
    const std::string v = AsciiUpperStr(Trim(value));
    flags = 0;
    if (v == "0" || v == "NO" || v == "FALSE") {
        mode = CompressMode::None;
        return true;
    }
    if (v == "1" || v == "YES" || v == "TRUE" || v == "HIGH") {
        mode = CompressMode::Maximum;
        return true;
    }
    if (v == "MEDIUM") {
        mode = CompressMode::Custom;
        flags = CompressFlags::Zeck;
        return true;
    }
    // A number of the help compiler's bits, or their names ("12 Hall Zeck"):
    // the number counts when there is one.
    std::size_t digits = 0;
    while (digits < v.size() && v[digits] >= '0' && v[digits] <= '9') ++digits;
    std::int32_t bits = 0;
    if (digits > 0) {
        if (digits > 6) return false;
        bits = std::stoi(v.substr(0, digits));
        if (bits == 0) {
            mode = CompressMode::None;
            return true;
        }
        if (bits == 1) {
            mode = CompressMode::Maximum;
            return true;
        }
    } else {
        StringList words;
        SplitToStrings(v, ' ', words);
        for (const std::string& w : words) {
            const std::string word = Trim(w);
            if (word == "PHRASE")
                bits |= CompressFlags::Phrase;
            else if (word == "HALL")
                bits |= CompressFlags::Hall;
            else if (word == "ZECK")
                bits |= CompressFlags::Zeck;
            else if (!word.empty())
                return false;
        }
    }
    const std::int32_t known = CompressFlags::Phrase | CompressFlags::Hall | CompressFlags::Zeck;
    if (bits == 0 || (bits & ~known) != 0) return false;
    if (bits == (CompressFlags::Hall | CompressFlags::Zeck)) {
        mode = CompressMode::Maximum;  // what the build writes as 12
        return true;
    }
    mode = CompressMode::Custom;
    flags = bits;
    return true;
}

// The aliases of [ALIAS] ("alias = context"), in file order.
std::vector<std::pair<std::string, std::string>> AliasesOf(const THpjFile& hpj) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const THpjSection& section : hpj.Sections) {
        if (section.Name != "ALIAS") continue;
        for (const std::string& line : section.Lines) {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string alias = Trim(CutAtNul(std::string_view(line).substr(0, eq)));
            std::string context = Trim(CutAtNul(std::string_view(line).substr(eq + 1)));
            if (!alias.empty() && !context.empty()) out.emplace_back(std::move(alias), std::move(context));
        }
    }
    return out;
}

// Where each alias of [ALIAS] leads: its chain of aliases followed to the
// context string at its end. Keyed by the alias, lower-cased. An alias whose
// chain comes back on itself leads nowhere (it is left out) and is noted, and
// so is a second line for an alias, which the first line's target keeps.
std::unordered_map<std::string, std::string> FollowAliases(
    const std::vector<std::pair<std::string, std::string>>& aliases, TImportNotes* notes) {
    // Each alias's first line: the alias as written and what it names.
    std::unordered_map<std::string, std::pair<std::string, std::string>> direct;
    for (const auto& [alias, context] : aliases) {
        const auto [it, fresh] = direct.emplace(AsciiLowerStr(alias), std::make_pair(alias, context));
        if (!fresh && notes && !SameText(it->second.second, context))
            notes->Add("The alias " + Quoted(alias + " = " + context) + " of [ALIAS] was not used: " +
                       Quoted(it->second.first) + " is already an alias of " + Quoted(it->second.second) + ".");
    }
    std::unordered_map<std::string, std::string> ends;
    std::unordered_set<std::string> looping;
    for (const auto& [alias, context] : aliases) {
        const std::string key = AsciiLowerStr(alias);
        if (ends.count(key) || looping.count(key)) continue;
        // Each alias is walked once: the chains met on the way are known.
        std::vector<std::string> path{key};
        std::unordered_set<std::string> onPath{key};
        std::string at = direct.at(key).second;
        bool loop = false;
        std::string end;
        for (;;) {
            const std::string k = AsciiLowerStr(at);
            if (const auto known = ends.find(k); known != ends.end()) {
                end = known->second;
                break;
            }
            if (looping.count(k) || onPath.count(k)) {
                loop = true;
                break;
            }
            const auto next = direct.find(k);
            if (next == direct.end()) {
                end = at;
                break;
            }
            path.push_back(k);
            onPath.insert(k);
            at = next->second.second;
        }
        for (const std::string& k : path) {
            if (loop)
                looping.insert(k);
            else
                ends.emplace(k, end);
        }
    }
    if (notes && !looping.empty()) {
        std::unordered_set<std::string> told;
        for (const auto& [alias, context] : aliases) {
            const std::string key = AsciiLowerStr(alias);
            if (!looping.count(key) || !told.insert(key).second) continue;
            // The chain as far as its first repeat (a long one is cut short).
            std::string chain = direct.at(key).first;
            std::unordered_set<std::string> seen{key};
            std::string k = key;
            for (int steps = 0;; ++steps) {
                const std::string& next = direct.at(k).second;
                if (steps == 8) {
                    chain += " = ...";
                    break;
                }
                chain += " = " + next;
                k = AsciiLowerStr(next);
                if (!seen.insert(k).second) break;
            }
            notes->Add("The alias " + Quoted(alias + " = " + context) + " of [ALIAS] was not resolved: its chain " +
                       Quoted(chain) + " comes back on itself, so what names " + Quoted(alias) + " leads to no topic.");
        }
    }
    return ends;
}

// The name an alias of [ALIAS] leads to, or the name itself.
std::string FollowAlias(const THpjFile& hpj, const std::string& name) {
    const auto ends = FollowAliases(AliasesOf(hpj), nullptr);
    const auto it = ends.find(AsciiLowerStr(name));
    return it == ends.end() ? name : it->second;
}

// The context numbers of [MAP] and the aliases, for the records of the
// project. A context string mapped twice keeps its first number; a context
// string without a number of its own takes that of its first alias.
TTopicImportExtras ExtrasOf(const THpjFile& hpj, TImportNotes& notes) {
    TTopicImportExtras extras;
    extras.Notes = &notes;
    const std::size_t n = std::min(hpj.MapIds.size(), hpj.MapValues.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string id = CutAtNul(hpj.MapIds[i]);
        std::int32_t value = 0;
        if (!ParseMapNumber(CutAtNul(hpj.MapValues[i]), value)) {
            notes.Add("The [MAP] entry " + Quoted(id) + " was not imported: " + Quoted(hpj.MapValues[i]) +
                      " is not a context number.");
            continue;
        }
        extras.Numbers.emplace(AsciiLowerStr(id), value);
    }
    const auto aliases = AliasesOf(hpj);
    extras.Aliases = FollowAliases(aliases, &notes);
    std::unordered_set<std::string> done;
    for (const auto& [alias, context] : aliases) {
        const std::string key = AsciiLowerStr(alias);
        const auto end = extras.Aliases.find(key);
        if (end == extras.Aliases.end() || !done.insert(key).second) continue;
        // The number the application asks for under the alias reaches the
        // topic, which holds one number.
        const auto number = extras.Numbers.find(key);
        if (number == extras.Numbers.end()) continue;
        const auto [at, fresh] = extras.Numbers.emplace(AsciiLowerStr(end->second), number->second);
        if (!fresh && at->second != number->second)
            notes.Add("The [MAP] number " + std::to_string(number->second) + " of the alias " + Quoted(alias) +
                      " was not kept: its topic " + Quoted(end->second) + " has the number " +
                      std::to_string(at->second) + ", and a topic holds one.");
    }
    return extras;
}

// The image folders of the project: each BMROOT (a list split at ","), then
// the folders of the files [BITMAPS] lists; relative ones from `folder`.
StringList ImageFoldersOf(const THpjFile& hpj, std::string_view folder) {
    StringList out;
    auto add = [&out](std::string path) {
        if (path.empty()) return;
        for (const std::string& f : out)
            if (SameText(f, path)) return;
        out.push_back(std::move(path));
    };
    const std::size_t n = std::min(hpj.OptionKeys.size(), hpj.OptionValues.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (Trim(CutAtNul(hpj.OptionKeys[i])) != "BMROOT") continue;
        StringList parts;
        SplitToStrings(CutAtNul(hpj.OptionValues[i]), ',', parts);
        for (const std::string& part : parts) add(ResolveImportFolder(folder, Trim(part)));
    }
    for (const THpjSection& section : hpj.Sections) {
        if (section.Name != "BITMAPS") continue;
        for (const std::string& line : section.Lines) {
            const std::string entry = Trim(CutAtNul(line));
            const std::size_t sep = entry.find_last_of("\\/");
            add(sep == std::string::npos ? WithoutTrailingSeparators(std::string(folder))
                                         : ResolveImportFolder(folder, entry.substr(0, sep)));
        }
    }
    return out;
}

// Whether `part` (a folder as an option names it) is the project's own
// folder `folder`: nothing, ".", or a path to that folder.
bool IsProjectFolder(std::string_view part, std::string_view folder) {
    const std::string p = WithoutTrailingSeparators(Trim(part));
    if (p.empty() || p == ".") return true;
    if (folder.empty()) return false;
#ifndef _WIN32
    // No drive is the project's folder where there are no drives.
    if (p.size() >= 2 && p[1] == ':') return false;
#endif
    const std::string path = IsAbsolute(p) ? p : ResolveImportFolder(folder, p);
    // Both as the disk names them, "." and ".." and links resolved.
    const auto onDisk = [](const std::string& f, std::string& out) {
        std::error_code ec;
        const std::filesystem::path full =
            std::filesystem::weakly_canonical(std::filesystem::absolute(ToFsPath(f), ec), ec);
        if (ec) return false;
        out = WithoutTrailingSeparators(FromFsPath(full));
        return true;
    };
    std::string a, b;
    if (!onDisk(path, a) || !onDisk(std::string(folder), b)) return false;
#ifdef _WIN32
    return SameText(a, b);
#else
    return a == b;
#endif
}

// The help or contents file name of an option without its folder: the build
// writes the help file beside the project, and the help file looks for its
// contents file beside itself. A folder other than the project's own is noted.
std::string OutputFileName(const std::string& value, std::string_view folder, std::string_view option,
                           std::string_view what, std::string_view where, TImportNotes& note) {
    const std::size_t sep = value.find_last_of("\\/:");
    if (sep == std::string::npos) return value;
    const std::string name = Trim(std::string_view(value).substr(sep + 1));
    const std::string part = value.substr(0, sep + 1);
    if (name.empty()) {
        note.Add("The " + std::string(what) + " " + Quoted(value) + " of " + std::string(option) +
                 " names no file: the project has none, and the build names it after the project.");
    } else if (!IsProjectFolder(part, folder)) {
        note.Add("The " + std::string(what) + " " + Quoted(value) + " of " + std::string(option) + " is now " +
                 Quoted(name) + ": " + std::string(where) + ", not in " + Quoted(part) + ".");
    }
    return name;
}

}  // namespace

void ImportHpjOptions(const THpjFile& hpj, TProject& project, std::string_view folder, TImportNotes* notes) {
    TImportNotes ownNotes;
    TImportNotes& note = notes ? *notes : ownNotes;
    for (int i = 0; i < hpj.WindowCount(); ++i) ImportWindow(hpj.GetWindow(i), project.Windows.Add());
    if (project.Windows.Empty()) project.Windows.Add().SetName("main");

    bool haveContents = false;
    std::string contents;
    const std::size_t n = std::min(hpj.OptionKeys.size(), hpj.OptionValues.size());
    for (std::size_t i = 0; i < n; ++i) {
        // The model's fields and lists end at a NUL; so does every value here.
        const std::string key = Trim(CutAtNul(hpj.OptionKeys[i]));
        const std::string value = Trim(CutAtNul(hpj.OptionValues[i]));
        if (key == "TITLE") {
            project.SetTitle(value);
        } else if (key == "COPYRIGHT") {
            project.SetCopyright(value);
        } else if (key == "CITATION") {
            project.SetCitation(value);
        } else if (key == "HLP") {
            project.SetHlpFile(OutputFileName(value, folder, "HLP", "help file",
                                              "the build writes the help file beside the project", note));
        } else if (key == "CNT") {
            project.SetCntFile(OutputFileName(value, folder, "CNT", "contents file",
                                              "the help file looks for it beside itself, in the project's folder",
                                              note));
        } else if (key == "BMROOT") {
            // A list of folders; each relative one counts from the project's
            // folder, never from the program's working folder. One with a
            // drive or a share is kept as written.
            StringList parts;
            SplitToStrings(value, ',', parts);
            for (const std::string& part : parts) {
                const std::string path =
                    folder.empty() ? WithoutTrailingSeparators(Trim(part)) : ResolveImportFolder(folder, part);
                if (path.empty() || project.IsBmRootFolder(path)) continue;
                project.BmRoot.push_back(path);
                if ((!folder.empty() || IsAbsolute(path) || HasDriveOrShare(path)) && !ImageFolderIsHere(path))
                    note.Add("The image folder " + Quoted(Trim(part)) +
                             " of BMROOT does not exist here: it is kept as written, and the build finds no "
                             "picture in it until it does.");
            }
        } else if (key == "CONTENTS" && !value.empty()) {
            haveContents = true;
            contents = value;
        } else if (key == "COMPRESS") {
            std::uint8_t mode = 0;
            std::int32_t flags = 0;
            if (ParseCompress(value, mode, flags)) {
                project.CompressMode = mode;
                project.CompressFlags = flags;
            } else {
                note.Add("The option " + Quoted("COMPRESS=" + value) +
                         " was not understood: the project keeps its default compression.");
            }
        } else {
            note.Add("The option " + Quoted(key + "=" + value) +
                     " was not imported: the project has no setting for it.");
        }
    }
    // The folders of [BITMAPS] are where the compiler found the bitmaps.
    if (!folder.empty())
        for (const std::string& path : ImageFoldersOf(hpj, folder))
            if (!project.IsBmRootFolder(path)) project.BmRoot.push_back(path);

    // The start-up macros of the main window, and those of the other windows.
    for (const THpjSection& section : hpj.Sections) {
        if (section.Name == "CONFIG") {
            StringList& macros = project.Windows.GetWindow(1).Macros;
            for (const std::string& line : section.Lines) macros.push_back(CutAtNul(line));
        } else if (section.Name.rfind("CONFIG-", 0) == 0) {
            const std::string name = Trim(std::string_view(section.Name).substr(7));
            TWindowDef* window = nullptr;
            for (int i = 1; i <= project.Windows.Count() && !window; ++i)
                if (SameText(project.Windows.GetWindow(i).GetName(), name)) window = &project.Windows.GetWindow(i);
            if (window)
                for (const std::string& line : section.Lines) window->Macros.push_back(CutAtNul(line));
            else if (!section.Lines.empty())
                note.Add("The macros of [" + QuoteInput(section.Name) +
                         "] were not imported: the project has no window " + Quoted(name) + ".");
        } else if (!IsReadSection(section.Name) && !section.Lines.empty()) {
            note.Add("The [" + QuoteInput(section.Name) + "] section (" + std::to_string(section.Lines.size()) +
                     (section.Lines.size() == 1 ? " line" : " lines") +
                     ") was not imported: the project has no place for it.");
        }
    }

    for (const auto& node : project.Topics) node->IsContents = false;
    TTopicNode* topic = nullptr;
    if (haveContents) {
        // The topic may have been named after the context string with its
        // characters that a name cannot hold replaced.
        // An alias of [ALIAS] leads there when no topic has the name itself.
        const std::string target = FollowAlias(hpj, contents);
        for (const std::string& name : {contents, ContextToName(contents), target, ContextToName(target)}) {
            for (TTopicNode* t : project.Topics.NodesOfKind(TopicKind::Topic))
                if (SameText(t->GetName(), name)) {
                    topic = t;
                    break;
                }
            if (topic) break;
        }
    } else {
        // The help compiler starts at the first topic then.
        auto topics = project.Topics.NodesOfKind(TopicKind::Topic);
        if (!topics.empty()) topic = topics.front();
    }
    if (!topic) throw Error("Unable to resolve the contents topic within the project.");
    topic->IsContents = true;
}

namespace {

// The last CONTENTS of the options, as ImportHpjOptions reads it.
std::string ContentsOption(const THpjFile& hpj) {
    std::string contents;
    const std::size_t n = std::min(hpj.OptionKeys.size(), hpj.OptionValues.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string value = Trim(CutAtNul(hpj.OptionValues[i]));
        if (Trim(CutAtNul(hpj.OptionKeys[i])) == "CONTENTS" && !value.empty()) contents = value;
    }
    return contents;
}

// The project's own help file as macros may name it: HLP, else the .hpj's
// name with ".hlp".
std::string OwnHelpFile(const THpjFile& hpj, const std::string& hpjName) {
    const std::size_t n = std::min(hpj.OptionKeys.size(), hpj.OptionValues.size());
    std::string hlp;
    for (std::size_t i = 0; i < n; ++i)
        if (Trim(CutAtNul(hpj.OptionKeys[i])) == "HLP") hlp = ExtractFileName(Trim(CutAtNul(hpj.OptionValues[i])));
    if (!hlp.empty()) return hlp;
    std::string own = ExtractFileName(hpjName);
    ChangeExtension(own, "hlp");
    return own;
}

// The notes on [ALIAS] once the records are made: the aliases that a topic's
// own context string hides, those that lead to no topic, and how many were
// resolved.
void NoteAliases(const THpjFile& hpj, const TTopicImportExtras& extras, const TFootnotesList& footnotes,
                 TImportNotes& notes) {
    std::unordered_set<std::string> pageContexts;
    for (const TFootnotes& f : footnotes) {
        pageContexts.insert(AsciiLowerStr(Trim(CutAtNul(f.ID))));
        for (const auto& [context, anchor] : f.Anchors) pageContexts.insert(AsciiLowerStr(context));
    }
    std::unordered_set<std::string> done;
    int resolved = 0;
    for (const auto& [alias, context] : AliasesOf(hpj)) {
        const std::string key = AsciiLowerStr(alias);
        const auto end = extras.Aliases.find(key);
        if (end == extras.Aliases.end() || !done.insert(key).second) continue;
        if (pageContexts.count(key)) {
            notes.Add("The alias " + Quoted(alias + " = " + context) + " of [ALIAS] was not used: a topic has " +
                      Quoted(alias) + " as its own context string.");
            continue;
        }
        ++resolved;
        if (!pageContexts.count(AsciiLowerStr(end->second)))
            notes.Add("The alias " + Quoted(alias + " = " + context) + " of [ALIAS] leads to " + Quoted(end->second) +
                      ", which no topic of the project has.");
    }
    if (resolved > 0)
        notes.Add((resolved == 1 ? std::string("The alias of [ALIAS] was resolved")
                                 : "The " + std::to_string(resolved) + " aliases of [ALIAS] were resolved") +
                  ": the links, popups, macros and [MAP] numbers that named an alias now name its topic.");
}

// The file a picture's name leads to from `folder` as the compiler looks for
// it: the name as written, then its file name alone.
std::string FindPicture(TFolderCache& cache, std::string_view folder, const std::string& file) {
    std::string found = cache.FindFile(folder, file);
    const std::string bare = ExtractFileName(file);
    if (found.empty() && bare != file) found = cache.FindFile(folder, bare);
    return found;
}

// Pictures that the compiler found from the .hpj's folder but that lie in no
// image folder of the project: their folders become image folders, so the
// project finds them wherever it is saved.
void AddSourcePictureFolders(TProject& project, const std::string& folder) {
    if (folder.empty()) return;
    TFolderCache cache;
    std::unordered_set<std::string> seen;
    for (const auto& node : project.Topics) {
        if (node->Text.find("<") == std::string::npos) continue;
        for (const TTagSpan& span : ScanTags(node->Text, "IMAGE")) {
            const std::string file =
                FirstQuoted(StripRtf(std::string_view(node->Text).substr(span.begin, span.end - span.begin)));
            if (file.empty() || !seen.insert(AsciiLowerStr(file)).second) continue;
            if (!project.FindInImageFolders(file, &cache).empty()) continue;
            const std::string found = FindPicture(cache, folder, file);
            if (found.empty()) continue;
            const std::string dir = WithoutTrailingSeparators(ExtractFilePath(found));
            if (!project.IsBmRootFolder(dir)) project.BmRoot.push_back(dir);
        }
    }
}

// Where the pictures of a help project's files go: its first image folder
// that exists, else the project's own folder.
std::string PictureFolderOf(const THpjFile& hpj, const std::string& folder) {
    for (const std::string& path : ImageFoldersOf(hpj, folder))
        if (FolderExists(path)) return path;
    return WithoutTrailingSeparators(folder.empty() ? std::string(".") : folder);
}

}  // namespace

std::unique_ptr<TProject> ImportHpjProject(const std::string& name, TImportUi& ui, TOutputLog* log,
                                           StringList* notesOut) {
    THpjFile hpj;
    try {
        hpj.LoadFromFile(name);
    } catch (const std::exception& e) {
        ui.ShowError(ReasonOf(e));
        return nullptr;
    }
    ProgressScope scope(ui);
    TImportNotes notes;
    const std::string folder = ExtractFilePath(name);
    TPictureFolder pictures(PictureFolderOf(hpj, folder), &notes);
    try {
        auto project = std::make_unique<TProject>();
        ui.ShowProgress("Importing project...");
        for (const std::string& warning : hpj.Warnings) notes.Add(warning);
        StringList pages;
        int count = 0;
        TFootnotesList footnotes;
        std::string firstMissing;
        for (const std::string& line : hpj.Files) {
            // A ";" starts a comment in the project file.
            std::string entry = Trim(line.substr(0, line.find(';')));
            if (entry.empty()) continue;
            std::string path = ResolveImportPath(folder, entry);
            if (path.empty()) {
                const std::string shown = Quoted(IsAbsolute(entry) ? entry : folder + entry);
                if (firstMissing.empty()) firstMissing = shown;
                notes.Add("The file " + shown + " of [FILES] was not found: its topics were not imported.");
                continue;
            }
            std::string text = ReadImportFile(path);
            ui.ShowProgress("Importing file " + QuoteInput(ExtractFileName(entry)) + "...");
            ui.SetProgress(0, 100);
            ParseRtfFile(
                std::move(text), pages, count, footnotes,
                [&ui](int position, int max) { ui.SetProgress(position, max); }, &pictures, &notes);
        }
        if (count == 0)
            throw Error(firstMissing.empty()
                            ? "The files of [FILES] hold no topic."
                            : "None of the files of [FILES] was found; the first is " + firstMissing + ".");
        TTopicImportExtras extras = ExtrasOf(hpj, notes);
        TContextMap contexts;
        extras.Contexts = &contexts;
        std::vector<std::unique_ptr<TTopicNode>> records;
        CreateImportedTopics(count, std::move(pages), footnotes, nullptr, records, &extras);
        NoteAliases(hpj, extras, footnotes, notes);
        // The links and macros that still name a context string or an alias
        // (in macros, buttons, and whatever a table's cells made) name the
        // records.
        const TTopicLeads leads(contexts, records, OwnHelpFile(hpj, name));
        leads.LeadRecords(records);
        // Records that only popup hotspots lead to are popups; the contents
        // topic stays a topic.
        const std::string contents = ContentsOption(hpj);
        const std::string contentsName = contents.empty()           ? records.front()->GetName()
                                         : contexts.Knows(contents) ? contexts.Resolve(contents)
                                                                    : ContextToName(contents);
        MakePopupOnlyRecordsPopups(records, contentsName.substr(0, contentsName.find(':')));
        for (auto& r : records) project->Topics.AddNode(std::move(r));
        ImportHpjOptions(hpj, *project, folder, &notes);
        for (int i = 1; i <= project->Windows.Count(); ++i) leads.LeadMacroList(project->Windows.GetWindow(i).Macros);
        if (pictures.Used() && !project->IsBmRootFolder(pictures.Folder()))
            project->BmRoot.push_back(pictures.Folder());
        AddSourcePictureFolders(*project, folder);
        project->FileName.clear();
        project->Modified = true;
        if (log) log->Clear();
        ui.ClearResults();
        if (notesOut) *notesOut = notes.Lines();
        return project;
    } catch (const std::exception& e) {
        pictures.Discard();
        ui.ShowError(ImportFailedMessage(ReasonOf(e)));
        return nullptr;
    }
}

TImportOutcome RunImport(TProject& project, const TImportTarget& target, const TImportRequest& request,
                         const CharFormat& textFormat, TImportUi& ui, TOutputLog* log, const TCheckSettings* checks) {
    TImportOutcome out;
    switch (request.Filter) {
        case TImportFilter::Rtf: {
            TRtfImportResult r = ImportRtfFile(project, target, request.FileName, request.UseFootnotes, ui, log);
            out.Ok = r.Ok;
            out.OpenNode = r.OpenNode;
            out.Appended = std::move(r.Appended);
            out.Notes = std::move(r.Notes);
            break;
        }
        case TImportFilter::Text:
            out.Ok = ImportTextFile(project, target.OpenNode, request.FileName, textFormat, ui);
            if (out.Ok) out.OpenNode = target.OpenNode;
            break;
        case TImportFilter::Hpj:
            if (!ui.QuerySaveChanges()) break;
            out.NewProject = ImportHpjProject(request.FileName, ui, log, &out.Notes);
            out.Ok = out.NewProject != nullptr;
            if (out.Ok) {
                auto topics = out.NewProject->Topics.NodesOfKind(TopicKind::Topic);
                if (!topics.empty()) out.OpenNode = topics.front()->Id();
                if (checks) {
                    // As if saved beside the .hpj, the likeliest place; the
                    // project stays without a file name.
                    TProject& p = *out.NewProject;
                    p.FileName = request.FileName;
                    ChangeExtension(p.FileName, "qpf");
                    try {
                        out.Forecast = ForecastBuild(p, *checks);
                    } catch (const std::exception&) {
                        // The import stands; only its forecast is missing.
                    }
                    p.FileName.clear();
                }
            }
            break;
    }
    return out;
}

std::string CreateTableOfContents(const std::vector<const TTopicNode*>& entries) {
    std::string out;
    for (const TTopicNode* node : entries) {
        if (!node) continue;
        // A title may hold angle brackets; they must not become tags.
        std::string title = node->GetTitle();
        std::string safe;
        for (char c : title) {
            if (c == '<')
                safe += "&lt;";
            else if (c == '>')
                safe += "&rt;";
            else
                safe += c;
        }
        out += "<LINK TOPIC=\"" + node->GetName() + "\">" + safe + "</LINK>\r\n";
    }
    return out;
}

}  // namespace qm
