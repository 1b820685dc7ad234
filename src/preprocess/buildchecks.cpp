#include "preprocess/buildchecks.h"

#include <array>

#include "preprocess/outputlog.h"
#include "preprocess/topicwriter.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/qorsystem.h"

namespace qm {

namespace {

bool IsDeviceName(std::string_view name) {
    // Windows takes the part before the first dot, without trailing blanks.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    const std::string upper = AsciiUpperStr(stem);
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (upper == device) return true;
    if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0)) {
        // The digits 1-9 and the superscripts one, two and three (cp1252).
        const auto d = static_cast<unsigned char>(upper[3]);
        return (d >= '1' && d <= '9') || d == 0xB9 || d == 0xB2 || d == 0xB3;
    }
    return false;
}

bool HoldsFolderPart(std::string_view name) {
    return name == ".." || name.find_first_of("\\/:") != std::string_view::npos;
}

[[noreturn]] void LineTextError(std::string_view field, std::string_view owner) {
    throw Error("The " + std::string(field) + " of " + std::string(owner) +
                " cannot hold a line break or other control character.");
}

void CheckText(std::string_view text, std::string_view field, std::string_view owner) {
    if (HoldsControlCharacter(text)) LineTextError(field, owner);
}

void CheckTexts(const StringList& texts, std::string_view field, std::string_view owner) {
    for (const std::string& text : texts) CheckText(text, field, owner);
}

void CheckOutputName(std::string_view name, std::string_view what) {
    if (name.empty()) return;
    if (HoldsFolderPart(name))
        throw Error("The " + std::string(what) + " name \"" + std::string(name) +
                    "\" must be a file name without a folder or drive.");
    if (!IsPortableFileName(name))
        throw Error("The " + std::string(what) + " name \"" + std::string(name) + "\" cannot be used as a file name.");
}

}  // namespace

bool HoldsControlCharacter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
    return false;
}

bool IsPortableFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string_view::npos) return false;
    return !IsDeviceName(name);
}

void CheckModuleFileNames(const TProject& project) {
    // The longest file name the folders take (bytes here, UTF-16 units on Windows).
    constexpr std::size_t kMaxModuleFileName = 255;
    for (const auto& node : project.Topics) {
        const std::string name = node->GetName();
        if (!IsPortableFileName(name))
            throw Error("The module name \"" + QuoteInput(name) + "\" cannot be used as a file name.");
        // The module's work file must fit the limit after the extension and
        // the conversion from Windows-1252.
        if (ToFsPath(name + ".rtf").native().size() > kMaxModuleFileName)
            throw Error("The module name \"" + QuoteInput(name) + "\" is too long to be used as a file name.");
    }
}

void CheckLineTexts(const TProject& project) {
    const std::string_view self = "the project";
    CheckText(project.GetTitle(), "title", self);
    CheckText(project.GetCopyright(), "copyright", self);
    CheckText(project.GetCitation(), "citation", self);
    CheckText(project.GetHlpFile(), "help file name", self);
    CheckText(project.GetCntFile(), "contents file name", self);
    CheckTexts(project.BmRoot, "image folders", self);
    CheckTexts(project.IncludeTags, "build tags to include", self);
    CheckTexts(project.ExcludeTags, "build tags to exclude", self);
    for (int i = 1; i <= project.Windows.Count(); ++i) {
        const TWindowDef& w = project.Windows.GetWindow(i);
        const std::string owner = "window \"" + w.GetName() + "\"";
        CheckText(w.GetName(), "name", owner);
        CheckText(w.GetCaption(), "caption", owner);
        CheckTexts(w.Macros, "macros", owner);
    }
    for (const auto& node : project.Topics) {
        const std::string owner = "module \"" + node->GetName() + "\"";
        CheckText(node->GetTitle(), "title", owner);
        CheckTexts(node->Keywords, "keywords", owner);
        CheckTexts(node->AKeywords, "A-keywords", owner);
        CheckTexts(node->Macros, "entry macros", owner);
        CheckText(node->GetWindow(), "window", owner);
        CheckText(node->GetBrowse(), "browse string", owner);
        CheckText(node->GetBuildTag(), "build tag", owner);
    }
}

void CheckOutputFileNames(const TProject& project) {
    CheckOutputName(project.GetHlpFile(), "help file");
    CheckOutputName(project.GetCntFile(), "contents file");
}

void CheckProjectForBuild(const TProject& project) {
    CheckModuleFileNames(project);
    CheckLineTexts(project);
    CheckOutputFileNames(project);
}

TBuildForecast ForecastBuild(const TProject& project, const TCheckSettings& checks) {
    TBuildForecast forecast;
    try {
        CheckProjectForBuild(project);
    } catch (const Error& e) {
        forecast.Refusal = e.what();
        return forecast;
    }
    TOutputLog log;
    std::vector<TAnchorTable> anchorTables(static_cast<std::size_t>(project.Topics.Count()));
    TUnresolvedAnchorTable unresolved;
    const TModuleIndex modules(project.Topics);
    TFolderCache folders;
    std::size_t index = 0;
    for (const auto& node : project.Topics) {
        const TPassContext ctx{project, *node, log, checks, false, &modules, &folders};
        (void)PreprocessTopic(ctx, anchorTables[index++], unresolved);
    }
    ResolveAnchors(anchorTables, unresolved, log, checks);
    for (const TError& e : log.Entries()) {
        if (e.Code < 1 || e.Code > TCheckSettings::kChecks) continue;
        ++(e.Kind == 0 ? forecast.Errors : forecast.Warnings)[static_cast<std::size_t>(e.Code - 1)];
    }
    return forecast;
}

std::string HelpIndexPath(const TProject& project) {
    CheckOutputFileNames(project);
    if (project.FileName.empty()) return {};
    std::string name = project.GetHlpFile();
    if (name.empty()) name = ExtractFileName(project.FileName);
    ChangeExtension(name, "gid");
    return ExtractFilePath(project.FileName) + name;
}

}  // namespace qm
