#include "shgedit/association.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "util/fileio.h"

namespace qm::shgedit {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDefaultSection = "[Default Applications]";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// An XDG base folder: the variable when it holds an absolute path, else
// $HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
    std::string v = Env(variable);
    if (!v.empty() && v.front() == '/') return v;
    const std::string home = Env("HOME");
    return home.empty() ? std::string() : home + fallback;
}

std::string TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

// One line of a text file with its line end, so unchanged lines are written
// back byte for byte.
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> SplitKeepingEnds(std::string_view s) {
    std::vector<Line> lines;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t j = s.find_first_of("\r\n", i);
        if (j == std::string_view::npos) {
            lines.push_back({std::string(s.substr(i)), {}});
            break;
        }
        std::size_t k = j + 1;
        if (s[j] == '\r' && k < s.size() && s[k] == '\n') ++k;
        lines.push_back({std::string(s.substr(i, j - i)), std::string(s.substr(j, k - j))});
        i = k;
    }
    return lines;
}

bool IsSection(const std::string& text) {
    const std::string t = TrimBlanks(text);
    return !t.empty() && t.front() == '[';
}

// The key of a "key=value" line, or empty.
std::string KeyOf(const std::string& text) {
    const std::size_t eq = text.find('=');
    return eq == std::string::npos ? std::string() : TrimBlanks(std::string_view(text).substr(0, eq));
}

std::string ValueOf(const std::string& text) {
    const std::size_t eq = text.find('=');
    return eq == std::string::npos ? std::string() : TrimBlanks(std::string_view(text).substr(eq + 1));
}

std::string OurLine() { return std::string(kShgMimeType) + "=" + kDesktopFileName; }

// A mimeapps.list is a few lines; one larger than this is left alone.
constexpr std::uintmax_t kMaxMimeApps = 1024 * 1024;

bool ReadIfExists(const fs::path& path, std::string& data) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return false;
    if (fs::file_size(path) > kMaxMimeApps) throw std::runtime_error("too large");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("unreadable");
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Writes through a link to the file it names, so a linked mimeapps.list
// stays linked.
void WriteNative(const fs::path& path, std::string_view data) {
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) target = fs::canonical(path);
    fs::create_directories(target.parent_path());
    WriteFileAtomic(FromFsPath(target), data);
}

void RemoveOurFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(path, ec))) fs::remove(path, ec);
}

void RunHelper(const TAssociationPlaces& places, const char* program, const fs::path& folder) {
    if (!places.RunHelper) return;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    places.RunHelper(program, {folder.string()});
}

bool RegisterOnWindows(bool on, const TAssociationPlaces& places) {
#ifdef _WIN32
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    const QString exe = QDir::toNativeSeparators(QString::fromStdString(places.ProgramPath));
    if (on) {
        classes.setValue(QStringLiteral(".shg/Default"), QStringLiteral("SHG.File"));
        classes.setValue(QStringLiteral("SHG.File/Default"), QStringLiteral("Segmented Hypergraphic"));
        classes.setValue(QStringLiteral("SHG.File/DefaultIcon/Default"), exe + QStringLiteral(",0"));
        classes.setValue(QStringLiteral("SHG.File/Shell/Open/Command/Default"), exe + QStringLiteral(" \"%1\""));
    } else {
        classes.remove(QStringLiteral(".shg"));
        classes.remove(QStringLiteral("SHG.File"));
    }
    classes.sync();
    return classes.status() == QSettings::NoError;
#else
    (void)on;
    (void)places;
    return false;
#endif
}

}  // namespace

TAssociationPlaces CurrentAssociationPlaces() {
    TAssociationPlaces places;
    places.ConfigHome = XdgFolder("XDG_CONFIG_HOME", "/.config");
    places.DataHome = XdgFolder("XDG_DATA_HOME", "/.local/share");
    if (QCoreApplication::instance()) {
        const QString program = QCoreApplication::applicationFilePath();
        places.ProgramPath = QDir::toNativeSeparators(program).toStdString();
        const QString prefix = QFileInfo(program).absoluteDir().absoluteFilePath(QStringLiteral(".."));
        places.Installed = QFileInfo::exists(QDir(prefix).filePath(QStringLiteral("share/applications/")) +
                                             QString::fromLatin1(kDesktopFileName));
    }
    places.RunHelper = [](const std::string& program, const std::vector<std::string>& arguments) {
        const QString found = QStandardPaths::findExecutable(QString::fromStdString(program));
        if (found.isEmpty()) return;
        QStringList args;
        for (const std::string& a : arguments) args << QString::fromStdString(a);
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(found, args);
        if (process.waitForStarted(5000)) process.waitForFinished(30000);
    };
    return places;
}

std::string DesktopEntry(std::string_view exec) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Pikeral\n"
           "GenericName=Segmented Hypergraphics Editor\n"
           "Comment=Draws and edits the hotspots of segmented hypergraphic (.shg) pictures\n"
           "Exec=" +
           std::string(exec) +
           "\n"
           "Icon=pikeral\n"
           "MimeType=application/x-shg;\n"
           "Categories=Graphics;2DGraphics;\n"
           "Terminal=false\n";
}

std::string QuotedExec(std::string_view programPath) {
    // Inside the quotes '"', '`', '$' and '\' take a backslash; the value's
    // own escaping then doubles every backslash, and '%' doubles as a field
    // code would otherwise start.
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '\\')
            quoted += "\\\\\\";
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\" %f";
}

std::string MimePackage() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-shg\">\n"
           "    <comment>Segmented Hypergraphic</comment>\n"
           "    <magic priority=\"50\">\n"
           "      <match type=\"string\" offset=\"0\" value=\"lp\"/>\n"
           "      <match type=\"string\" offset=\"0\" value=\"lP\"/>\n"
           "    </magic>\n"
           "    <glob pattern=\"*.shg\" case-sensitive=\"false\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string EditMimeApps(std::string_view mimeapps, bool on) {
    std::vector<Line> lines = SplitKeepingEnds(mimeapps);
    const std::string eol = [&] {
        for (const Line& l : lines)
            if (!l.end.empty()) return l.end;
        return std::string("\n");
    }();
    // The section's first line, and our key's line within it.
    std::size_t section = lines.size(), ours = lines.size(), sectionEnd = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsSection(lines[i].text)) {
            if (section != lines.size()) {
                sectionEnd = i;
                break;
            }
            if (TrimBlanks(lines[i].text) == kDefaultSection) section = i;
            continue;
        }
        if (section != lines.size() && ours == lines.size() && KeyOf(lines[i].text) == kShgMimeType) ours = i;
    }
    if (on) {
        if (ours != lines.size()) {
            lines[ours].text = OurLine();
        } else if (section != lines.size()) {
            // After the section's last key line, before blank lines that part it from the next.
            std::size_t at = sectionEnd;
            while (at > section + 1 && TrimBlanks(lines[at - 1].text).empty()) --at;
            if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{OurLine(), eol});
        } else {
            if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
            lines.push_back({std::string(kDefaultSection), eol});
            lines.push_back({OurLine(), eol});
        }
    } else if (ours != lines.size()) {
        std::string value = ValueOf(lines[ours].text);
        while (!value.empty() && value.back() == ';') value.pop_back();
        if (value == kDesktopFileName) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(ours));
    }
    std::string out;
    for (const Line& l : lines) out += l.text + l.end;
    return out;
}

bool RegisterFileType(bool on, const TAssociationPlaces& places) {
    try {
#ifdef _WIN32
        return RegisterOnWindows(on, places);
#else
        (void)RegisterOnWindows;
        if (places.ConfigHome.empty()) return false;
        bool ok = true;
        if (!places.Installed && !places.DataHome.empty()) {
            const fs::path data(places.DataHome);
            const fs::path desktop = data / "applications" / kDesktopFileName;
            const fs::path package = data / "mime" / "packages" / kMimePackageFileName;
            if (on) {
                if (places.ProgramPath.empty()) return false;
                WriteNative(package, MimePackage());
                WriteNative(desktop, DesktopEntry(QuotedExec(places.ProgramPath)));
            } else {
                RemoveOurFile(desktop);
                RemoveOurFile(package);
            }
            RunHelper(places, "update-mime-database", data / "mime");
            RunHelper(places, "update-desktop-database", data / "applications");
        }
        const fs::path list = fs::path(places.ConfigHome) / "mimeapps.list";
        std::string before;
        const bool existed = ReadIfExists(list, before);
        if (!existed && !on) return ok;
        const std::string after = EditMimeApps(before, on);
        if (after != before || !existed) WriteNative(list, after);
        return ok;
#endif
    } catch (const std::exception&) {
        // The association is a convenience; failing to write it is not reported.
        return false;
    }
}

}  // namespace qm::shgedit
