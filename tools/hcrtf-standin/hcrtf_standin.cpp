// Native stand-in for the help compiler; see README.md beside this file.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

// A path from the project: "Z:\x\y" (wine) becomes "/x/y"; backslashes become
// slashes; a relative path is taken from the project's folder.
fs::path Resolve(std::string p, const fs::path& base) {
    if (p.size() >= 2 && (p[0] == 'Z' || p[0] == 'z') && p[1] == ':') p = p.substr(2);
    for (char& c : p)
        if (c == '\\') c = '/';
    fs::path path(p);
    return path.is_absolute() ? path : base / path;
}

// Writes `data` as a new file at `path`, as the build writes its own files:
// never through a symbolic link, a FIFO, a device or a folder standing there
// (planted in the work folder, say), which is refused; a plain file there is
// removed and the new one created exclusively, so not even a hard link to
// another file is written through. Returns "" or why the file was not written.
std::string WriteOutput(const fs::path& path, const std::string& data) {
#ifdef _WIN32
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (fs::exists(st) && !fs::is_regular_file(st)) return "it is not a regular file";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    out.close();
    return out ? std::string() : std::string("it cannot be written");
#else
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) return "a symbolic link stands in its place";
        if (!S_ISREG(st.st_mode)) return "it is not a regular file";
        if (::unlink(path.c_str()) != 0) return std::strerror(errno);
    } else if (errno != ENOENT) {
        return std::strerror(errno);
    }
    // Whatever was planted between the check and here makes the create fail.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? "something else was put in its place" : std::strerror(errno);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why = std::strerror(n < 0 ? errno : ENOSPC);
            ::close(fd);
            return why;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 ? std::string() : std::string(std::strerror(errno));
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (const char* ms = std::getenv("QM_STANDIN_SLEEP_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(ms)));

    if (const char* record = std::getenv("QM_STANDIN_RECORD"); record && *record) {
        std::ofstream out(record, std::ios::binary | std::ios::app);
        std::error_code ec;
        out << "cwd=" << fs::current_path(ec).string() << "\n";
        for (const std::string& a : args) out << "arg=" << a << "\n";
        out << "end\n";
    }
    const int exitCode = std::getenv("QM_STANDIN_EXIT") ? std::atoi(std::getenv("QM_STANDIN_EXIT")) : 0;

    std::string hpj;
    for (const std::string& a : args)
        if (a.size() > 4 && Lower(a.substr(a.size() - 4)) == ".hpj") hpj = a;
    if (hpj.empty()) return exitCode;

    const fs::path project = Resolve(hpj, fs::current_path());
    const fs::path folder = project.parent_path();
    std::ifstream in(project, std::ios::binary);
    if (!in) {
        std::cerr << "hcrtf: cannot open " << project.string() << "\n";
        return exitCode ? exitCode : 1;
    }
    fs::path hlp = project;
    hlp.replace_extension(".hlp");
    fs::path report = folder / "hcwreport.log";
    std::vector<std::string> files;
    std::string section, line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = Lower(line);
            continue;
        }
        if (section == "[options]") {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = Lower(Trim(line.substr(0, eq)));
            const std::string value = Trim(line.substr(eq + 1));
            if (key == "hlp" && !value.empty()) hlp = Resolve(value, folder);
            if (key == "errorlog" && !value.empty()) report = Resolve(value, folder);
        } else if (section == "[files]") {
            files.push_back(line);
        }
    }

    // The build empties its work folder afterwards: a test that wants to read
    // the topic files it built names a folder to keep copies in.
    const char* keep = std::getenv("QM_STANDIN_KEEP");
    int found = 0;
    std::ostringstream missing;
    for (const std::string& f : files) {
        const fs::path file = Resolve(f, folder);
        if (!fs::is_regular_file(file)) {
            missing << "Warning: file not found: " << f << "\r\n";
            continue;
        }
        ++found;
        if (keep && *keep) {
            std::error_code ec;
            fs::create_directories(keep, ec);
            fs::copy_file(file, fs::path(keep) / file.filename(), fs::copy_options::overwrite_existing, ec);
        }
    }

    // A file that cannot be made is an error the report names, as the
    // compiler's own errors are, and fails the run.
    int status = exitCode;
    std::string help = "Stand-in help file\r\n";
    for (const std::string& f : files) help += f + "\r\n";
    std::string outcome = "Created " + hlp.string() + "\r\n";
    if (const std::string why = WriteOutput(hlp, help); !why.empty()) {
        outcome = "HC5000: Error: Cannot write " + hlp.string() + ": " + why + ".\r\n";
        std::cerr << "hcrtf: cannot write " << hlp.string() << ": " << why << "\n";
        if (status == 0) status = 2;
    }
    if (!std::getenv("QM_STANDIN_NO_REPORT")) {
        std::ostringstream log;
        log << "Stand-in help compiler\r\n";
        log << "Compiling " << project.string() << "\r\n";
        log << missing.str();
        log << "Topic files:\t" << found << " of " << files.size() << "\r\n";
        log << outcome;
        if (const std::string why = WriteOutput(report, log.str()); !why.empty()) {
            std::cerr << "hcrtf: cannot write the report " << report.string() << ": " << why << "\n";
            if (status == 0) status = 2;
        }
    }
    return status;
}
