#include "preprocess/projectwriter.h"

#include <array>

#include "preprocess/buildchecks.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace qm {

std::string MapPathAsIs(std::string_view path) { return std::string(path); }

std::string MapPathForWine(std::string_view path) {
    if (path.empty() || path[0] != '/') return std::string(path);
    std::string out = "Z:";
    out.reserve(path.size() + 2);
    for (char c : path) out += c == '/' ? '\\' : c;
    return out;
}

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

// The standard Windows scheme, by system-colour index.
constexpr std::array<std::uint32_t, 31> kSystemColors = {
    Rgb(212, 208, 200),  // scroll bar
    Rgb(58, 110, 165),   // desktop
    Rgb(10, 36, 106),    // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(212, 208, 200),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(212, 208, 200),  // active border
    Rgb(212, 208, 200),  // inactive border
    Rgb(128, 128, 128),  // application workspace
    Rgb(10, 36, 106),    // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(212, 208, 200),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // grey text
    Rgb(0, 0, 0),        // button text
    Rgb(212, 208, 200),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(64, 64, 64),     // 3D dark shadow
    Rgb(212, 208, 200),  // 3D light
    Rgb(0, 0, 0),        // info text
    Rgb(255, 255, 225),  // info background
    Rgb(181, 181, 181),  // (unused)
    Rgb(0, 0, 128),      // hot light
    Rgb(166, 202, 240),  // gradient active caption
    Rgb(192, 192, 192),  // gradient inactive caption
    Rgb(49, 106, 197),   // menu highlight
    Rgb(236, 233, 216),  // menu bar
};

std::string StripTrailingSeparators(std::string s) {
    while (s.size() > 1 && (s.back() == '\\' || s.back() == '/')) s.pop_back();
    return s;
}

// The last separator ("\\" or "/") of `path`, or `fallback` when it has none.
char SeparatorOf(std::string_view path, char fallback) {
    const std::size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? fallback : path[sep];
}

// `name` inside `folder`, joined with the separator the folder itself uses,
// so a native compiler gets a native path ("/tmp/work/Intro.rtf") and a
// Windows folder keeps its backslashes. A folder without any separator gets
// `fallback`.
std::string InFolder(std::string_view folder, std::string_view name, char fallback = '\\') {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += SeparatorOf(path, fallback);
    path += name;
    return path;
}

// The folders the help project names besides the project's own texts.
void CheckFolderName(std::string_view folder) {
    if (HoldsControlCharacter(folder))
        throw Error("The folder " + std::string(folder) +
                    " cannot be named in the help project: its name holds a line break or other control character.");
}

}  // namespace

std::uint32_t ResolveStoredColor(TColorRef color) {
    if ((color & 0x80000000u) == 0) return color;
    const std::uint32_t index = color & 0xFFu;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
}

std::string WindowFlags(const TWindowDef& window) {
    const std::uint8_t a = window.Attributes;
    const std::uint8_t b = window.Buttons;
    int flags = 4;
    if (a & WindowAttributes::Maximize) flags += 1;
    if (b & WindowButtons::Options) flags += 256;
    if (b & WindowButtons::Browse) flags += 512;
    if (b & WindowButtons::Contents) flags += 1024;
    if (b & WindowButtons::Index) flags += 2048;
    if (b & WindowButtons::HelpTopics) flags += 4096;
    if (b & WindowButtons::Print) flags += 8192;
    if (b & WindowButtons::Back) flags += 16384;
    if (b & WindowButtons::Find) flags += 32768;
    return std::to_string(flags);
}

std::string WindowFSuffix(const TWindowDef& window) {
    int n = window.AdjustRes == 0 ? 4 : 0;
    if (window.Attributes & WindowAttributes::KeepOnTop) n += 1;
    if (window.Attributes & WindowAttributes::AutoSizeHeight) n += 2;
    return n == 0 ? std::string() : ",f" + std::to_string(n);
}

std::string HelpProjectText(const TProject& project, const std::string& workFolder, const TPathMapper& mapPath,
                            const TColorResolver& resolveColor) {
    StringList lines;
    const auto add = [&lines](std::string line) { lines.push_back(std::move(line)); };
    const auto section = [&](std::string header) {
        if (!lines.empty()) add("");
        add(std::move(header));
    };

    section("[OPTIONS]");
    add("TITLE=" + project.GetTitle());
    if (!project.GetCopyright().empty()) add("COPYRIGHT=" + project.GetCopyright());
    if (!project.GetCitation().empty()) add("CITATION=" + project.GetCitation());
    if (project.CompressMode == CompressMode::None) {
        add("COMPRESS=NO");
    } else if (project.CompressMode == CompressMode::Maximum) {
        add("COMPRESS=12");
    } else {
        const std::int32_t f = project.CompressFlags;
        const std::int32_t value = (f & CompressFlags::Hall) | (f & CompressFlags::Zeck) | (f & CompressFlags::Phrase);
        add("COMPRESS=" + std::to_string(value));
        const bool old = (value & CompressFlags::Phrase) && (f & CompressFlags::PhraseIndex);
        add(old ? "OLDKEYPHRASE=YES" : "OLDKEYPHRASE=NO");
    }
    // A project without a contents topic lets the compiler take the first one.
    if (const TTopicNode* contents = project.Topics.FindContents()) add("CONTENTS=" + contents->GetName());
    add("REPORT=YES");
    if (!project.GetHlpFile().empty()) add("HLP=" + project.GetHlpFile());
    if (!project.GetCntFile().empty()) add("CNT=" + project.GetCntFile());
    add("ERRORLOG=" + mapPath(InFolder(workFolder, "hcwreport.log")));
    add("BMROOT=" + mapPath(StripTrailingSeparators(ExtractFilePath(project.FileName))));
    // The image check searches these same folders; an empty entry names none.
    for (const std::string& folder : project.BmRoot)
        if (!folder.empty()) add("BMROOT=" + mapPath(folder));

    section("[FILES]");
    for (const auto& node : project.Topics) add(mapPath(InFolder(workFolder, node->GetName() + ".rtf")));

    section("[WINDOWS]");
    for (int i = 1; i <= project.Windows.Count(); ++i) {
        const TWindowDef& w = project.Windows.GetWindow(i);
        add(w.GetName() + "=\"" + w.GetCaption() + "\",(" + std::to_string(w.X) + "," + std::to_string(w.Y) + "," +
            std::to_string(w.W) + "," + std::to_string(w.H) + ")," + WindowFlags(w) + ",(r" +
            std::to_string(resolveColor(w.Rgb2)) + "),(r" + std::to_string(resolveColor(w.Rgb1)) + ")" +
            WindowFSuffix(w));
    }

    for (int i = 1; i <= project.Windows.Count(); ++i) {
        const TWindowDef& w = project.Windows.GetWindow(i);
        if (w.Macros.empty()) continue;
        section(i == 1 ? "[CONFIG]" : "[CONFIG-" + w.GetName() + "]");
        for (const std::string& macro : w.Macros) add(macro);
    }

    section("[MAP]");
    for (const auto& node : project.Topics) add(node->GetName() + " " + std::to_string(node->ContextId));

    section("[INCLUDE]");
    for (const std::string& tag : project.IncludeTags) add(tag);
    section("[EXCLUDE]");
    for (const std::string& tag : project.ExcludeTags) add(tag);

    return JoinLinesCrLf(lines);
}

std::string HelpProjectPath(const TProject& project, const std::string& projectFolder) {
    std::string name = ExtractFileName(project.FileName);
    ChangeExtension(name, "hpj");
    // The folder's own separator, else the project file's: on POSIX the
    // result is a path of "/" alone, as the compiler's call and the messages
    // name it.
    return InFolder(projectFolder, name, SeparatorOf(project.FileName, '\\'));
}

std::string WriteProjectFile(const TProject& project, const std::string& projectFolder, const std::string& workFolder,
                             const TPathMapper& mapPath, const TColorResolver& resolveColor) {
    // A name that cannot be a file, or a text that would add or break a line,
    // stops the build before anything is written.
    CheckProjectForBuild(project);
    CheckFolderName(ExtractFilePath(project.FileName));
    CheckFolderName(workFolder);
    const std::string path = HelpProjectPath(project, projectFolder);
    // A link planted where the help project goes is replaced, not written
    // through.
    WriteFileAtomic(path, HelpProjectText(project, workFolder, mapPath, resolveColor), LinkAtTarget::Replace);
    return path;
}

}  // namespace qm
