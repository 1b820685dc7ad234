// Peak memory of the readers against the size of their file. Each reader runs
// in a fresh process (this program started again with "--child"), so the peak
// resident size (ru_maxrss) is the reader's own: the file read whole, the
// document or records it makes, and whatever it writes. Prints, for inputs of
// 10, 50 and 100 MB, the peak and its ratio to the file's size; the readers
// are meant to stay under 10 times the file.
//
//   bench_memory                 every reader, every input, 10/50/100 MB
//   bench_memory 10 50           only those sizes (MB)
//   bench_memory --only text     only the inputs whose name starts with "text"
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "import/import.h"
#include "model/project.h"
#include "richtext/richdoc.h"
#include "util/fileio.h"

namespace fs = std::filesystem;

namespace {

// ------------------------------------------------------------- the inputs

// Prose: lines of about 70 characters, some of them accented.
std::string MakeProse(std::size_t bytes) {
    static const char* const kWords[] = {"the",      "help",   "file",     "topic",          "caf\xE9",
                                         "index",    "window", "na\xEFve", "macro",          "link",
                                         "compiler", "page",   "keyword",  "\x93quoted\x94", "and"};
    std::string s;
    s.reserve(bytes + 128);
    std::size_t w = 0, line = 0;
    while (s.size() < bytes) {
        const char* word = kWords[(w * 7 + line) % (sizeof(kWords) / sizeof(kWords[0]))];
        s += word;
        ++w;
        if (s.size() - line > 70) {
            s += "\r\n";
            line = s.size();
        } else {
            s += ' ';
        }
    }
    return s;
}

// The worst text for a paragraph model: a line end every few bytes.
std::string MakeShortLines(std::size_t bytes) {
    std::string s;
    s.reserve(bytes + 8);
    while (s.size() < bytes) s += (s.size() / 5) % 4 == 0 ? "\r\n" : "ok\r\n";
    return s;
}

// Help RTF as a word processor writes it: topics separated by page breaks,
// named by footnotes, with hotspots, a bitmap and formatting.
std::string MakeHelpRtf(std::size_t bytes) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\r\n\\pard\\plain\\f0\\fs20\r\n";
    rtf.reserve(bytes + 4096);
    const std::size_t perTopic = 4096;
    for (int i = 0; rtf.size() < bytes; ++i) {
        const std::string id = "Topic_" + std::to_string(i);
        const std::size_t start = rtf.size();
        if (i) rtf += "{\\f0 \\page}\r\n";
        rtf += "{\\super #}{\\footnote \\pard\\plain {\\super #} " + id + "}";
        rtf += "{\\super $}{\\footnote \\pard\\plain {\\super $} Title of topic " + std::to_string(i) + "}";
        rtf += "{\\super K}{\\footnote \\pard\\plain {\\super K} keyword " + std::to_string(i % 97) + ";index}\r\n";
        rtf += "\\pard\\plain\\keepn\\b\\f0\\fs24 Heading " + std::to_string(i) + "\\par\r\n\\pard\\plain\\f0\\fs20 ";
        while (rtf.size() - start < perTopic) {
            rtf += "Plain words \\'e9t\\'e9 and {\\b bold} text, 1 < 2, see {\\uldb the next topic}{\\v Topic_" +
                   std::to_string(i + 1) + "} or {\\ul a term}{\\v Term}. ";
            rtf += "\\{bmc picture.bmp\\} \\par\r\n";
        }
    }
    rtf += "}";
    return rtf;
}

// The worst RTF for a paragraph model: nothing but paragraph breaks.
std::string MakeEmptyParagraphs(std::size_t bytes) {
    // One footnote names the page, so the import makes a topic of it.
    std::string rtf = "{\\rtf1\\ansi #{\\footnote Empty}";
    rtf.reserve(bytes + 16);
    while (rtf.size() < bytes) rtf += "\\par\r\n";
    rtf += "}";
    return rtf;
}

// The worst RTF for runs: every character in a format of its own.
std::string MakeFormatRuns(std::size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi ";
    rtf.reserve(bytes + 16);
    while (rtf.size() < bytes) rtf += "\\b x\\b0 y";
    rtf += "}";
    return rtf;
}

// The worst page for the hotspot pass: hotspot after hotspot, no page break.
std::string MakeHotspots(std::size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi #{\\footnote Hot}";
    rtf.reserve(bytes + 64);
    while (rtf.size() < bytes) rtf += "{\\uldb hot}{\\v Target}\\b x\\b0 ";
    rtf += "}";
    return rtf;
}

struct Case {
    const char* name;
    const char* reader;  // what the child runs
    std::string (*make)(std::size_t);
};

const Case kCases[] = {
    {"text-prose", "text", MakeProse},
    {"text-short-lines", "text", MakeShortLines},
    {"rtf-help", "rtf", MakeHelpRtf},
    {"rtf-empty-paragraphs", "rtf", MakeEmptyParagraphs},
    {"rtf-format-runs", "rtf", MakeFormatRuns},
    {"rtf-plain-text", "rtf", MakeProse},  // text not starting with {\rtf loads as plain text
    {"import-rtf-help", "importrtf", MakeHelpRtf},
    {"import-rtf-empty-paragraphs", "importrtf", MakeEmptyParagraphs},
    {"import-rtf-hotspots", "importrtf", MakeHotspots},
    {"import-hpj-help", "hpj", MakeHelpRtf},
};

// ------------------------------------------------------------- the child

class QuietUi : public qm::TImportUi {
public:
    void ShowError(const std::string& message) override { error = message; }
    std::string error;
};

long PeakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

int RunChild(const std::string& reader, const std::string& file) {
    QuietUi ui;
    bool ok = true;
    if (reader == "text") {
        qm::TProject p;
        qm::TTopicNode& open = p.Topics.AddNew();
        ok = qm::ImportTextFile(p, open.Id(), file, qm::CharFormat(), ui);
    } else if (reader == "rtf") {
        const qm::RichDocument doc = qm::LoadRtfOrText(qm::ReadWholeFile(file));
        ok = !doc.paragraphs.empty();
    } else if (reader == "importrtf") {
        qm::TProject p;
        qm::TTopicNode& open = p.Topics.AddNew();
        open.SetName("Open");
        const qm::TRtfImportResult r = qm::ImportRtfFile(p, {open.Id(), qm::TopicKind::Topic}, file, true, ui, nullptr);
        ok = r.Ok;
    } else if (reader == "hpj") {
        const std::string hpj = file + ".hpj";
        std::ofstream(hpj, std::ios::binary) << "[OPTIONS]\r\nTITLE=Bench\r\n\r\n[FILES]\r\n"
                                             << fs::path(file).filename().string() << "\r\n";
        ok = qm::ImportHpjProject(hpj, ui, nullptr) != nullptr;
        fs::remove(hpj);
    } else {
        std::fprintf(stderr, "unknown reader %s\n", reader.c_str());
        return 2;
    }
    if (!ok) std::fprintf(stderr, "reader failed: %s\n", ui.error.c_str());
    std::printf("%ld\n", PeakKb());
    return ok ? 0 : 1;
}

// ------------------------------------------------------------- the parent

// Peak resident kilobytes of one child run, or -1.
long Measure(const char* self, const std::string& reader, const std::string& file) {
    int out[2];
    if (pipe(out) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(self, self, "--child", reader.c_str(), file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::atol(text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") return RunChild(argv[2], argv[3]);

    std::vector<std::size_t> sizes;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else
            sizes.push_back(std::strtoul(a.c_str(), nullptr, 10));
    }
    if (sizes.empty()) sizes = {10, 50, 100};

    const fs::path dir = fs::temp_directory_path() / ("qm-bench-memory-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // The process itself, before it reads anything.
    const fs::path empty = dir / "empty.in";
    std::ofstream(empty, std::ios::binary).flush();
    const long base = Measure("/proc/self/exe", "rtf", empty.string());
    std::printf("a reader process without input: %.1f MB\n\n", base / 1024.0);
    std::printf("%-30s %8s %10s %8s\n", "input", "file MB", "peak MB", "ratio");
    int over = 0;
    for (const Case& c : kCases) {
        if (!only.empty() && std::string(c.name).rfind(only, 0) != 0) continue;
        for (std::size_t mb : sizes) {
            const fs::path file = dir / (std::string(c.name) + ".in");
            {
                const std::string data = c.make(mb << 20);
                std::ofstream(file, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
            }
            const double fileMb = static_cast<double>(fs::file_size(file)) / (1 << 20);
            const long kb = Measure("/proc/self/exe", c.reader, file.string());
            fs::remove(file);
            if (kb < 0) {
                std::printf("%-30s %8.1f %10s %8s\n", c.name, fileMb, "failed", "-");
                ++over;
                continue;
            }
            const double ratio = (kb / 1024.0) / fileMb;
            if (ratio >= 10) ++over;
            std::printf("%-30s %8.1f %10.1f %7.2fx%s\n", c.name, fileMb, kb / 1024.0, ratio,
                        ratio >= 10 ? "  over 10x" : "");
            std::fflush(stdout);
        }
    }
    fs::remove_all(dir);
    std::printf("\n%s\n", over ? "some readers went over 10 times the file's size" : "every reader under 10x");
    return over ? 1 : 0;
}
