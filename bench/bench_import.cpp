// Imports help RTF of 5,000 topics per 20 MB (Word-style footnotes, hotspots,
// bitmaps, a table and a picture now and then) at 1, 2 and 4 times that size, and prints the best and the mean
// time of the rounds, MB/s, the peak resident size against the input's size
// (the input, held once as the import holds the file it read, included)
// and the growth factor from each size to the next. With "--peer" (20 MB
// only), it also times a headless office suite's conversion of the same file
// to text, when one is installed, as the speed to compare with.
//
//   bench_import [rounds] [--peer]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "benchutil.h"
#include "import/importrtf.h"

namespace {

std::string MakeHelpFile(int topics, std::size_t targetBytes) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\r\n\\pard\\plain\\f0\\fs20\r\n";
    const std::size_t perTopic = targetBytes / static_cast<std::size_t>(topics);
    for (int i = 0; i < topics; ++i) {
        const std::string id = "Topic_" + std::to_string(i);
        const std::size_t start = rtf.size();
        if (i) rtf += "{\\f0 \\page}\r\n";
        rtf += "{\\super #}{\\footnote \\pard\\plain {\\super #} " + id + "}";
        rtf += "{\\super $}{\\footnote \\pard\\plain {\\super $} Title of topic " + std::to_string(i) + "}";
        rtf += "{\\super K}{\\footnote \\pard\\plain {\\super K} keyword " + std::to_string(i % 97) + ";index}\r\n";
        rtf += "\\pard\\plain\\keepn\\b\\f0\\fs24 Heading " + std::to_string(i) + "\\par\r\n\\pard\\plain\\f0\\fs20 ";
        while (rtf.size() - start < perTopic) {
            rtf += "Plain words \\'e9t\\'e9 and {\\b bold} text, 1 < 2, see {\\uldb the next topic}{\\v Topic_" +
                   std::to_string((i + 1) % topics) + "} or {\\ul a term}{\\v Term}. ";
            rtf += "\\{bmc picture.bmp\\} \\par\r\n";
        }
        // Every 50th topic ends in a small table, every 100th in a picture.
        if (i % 50 == 0) rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl Key\\cell Action\\cell\\row\\pard\\par\r\n";
        if (i % 100 == 0) rtf += "{\\pict\\pngblip 89504e470d0a1a0a}\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

}  // namespace

int main(int argc, char** argv) {
    bool peer = false;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--peer")
            peer = true;
        else
            rounds = std::max(1, std::atoi(argv[i]));
    }
    std::printf(
        "import of help RTF (5,000 topics per 20 MB); best of %d rounds, the mean beside it; peak: resident "
        "size during the import, the input included\n",
        rounds);
    std::printf(
        "peak 1st: the first round's, as in a new process; peak max: the highest of the rounds (the allocator "
        "may keep blocks an earlier round freed)\n");
    std::printf("  %-5s %7s %7s %9s %9s %8s %9s %8s %9s %8s %8s\n", "scale", "MB in", "topics", "best", "mean", "MB/s",
                "peak 1st", "1st/in", "peak max", "max/in", "growth");
    double previous = 0, best20 = 0;
    for (const int scale : {1, 2, 4}) {
        const auto make = [scale] { return MakeHelpFile(5000 * scale, (20u << 20) * static_cast<std::size_t>(scale)); };
        double mb = 0;
        qmbench::Timing t;
        double peak = 0, first = 0;
        int count = 0;
        for (int round = 0; round < rounds; ++round) {
            // Made anew for each round and handed over, as the import command
            // hands over the file it read: the peak holds the input once.
            std::string rtf = make();
            mb = double(rtf.size()) / 1e6;
            qmbench::ResetPeakRss();
            qmbench::TimeInto(t, [&] {
                qm::StringList pages;
                qm::TFootnotesList footnotes;
                count = 0;
                qm::ParseRtfFile(std::move(rtf), pages, count, footnotes);
                std::vector<std::unique_ptr<qm::TTopicNode>> list;
                qm::CreateImportedTopics(count, std::move(pages), footnotes, nullptr, list);
            });
            peak = std::max(peak, qmbench::PeakRssMb());
            if (round == 0) first = peak;
        }
        std::printf("  %-5s %7.1f %7d %8.3fs %8.3fs %8.1f %9.1f %7.1fx %9.1f %7.1fx %8s\n",
                    (std::to_string(scale) + "x").c_str(), mb, count, t.best, t.Mean(), mb / t.best, first, first / mb,
                    peak, peak / mb, qmbench::Growth(previous, t.best).c_str());
        std::fflush(stdout);
        previous = t.best;
        if (scale == 1) best20 = t.best;
        if (peer && scale == 1) break;
    }
    if (peer) {
        const std::string rtf = MakeHelpFile(5000, 20u << 20);
        const double mb = double(rtf.size()) / 1e6;
        const auto dir = std::filesystem::temp_directory_path() / "qm-bench-import";
        std::filesystem::create_directories(dir);
        const auto file = dir / "help.rtf";
        std::ofstream(file, std::ios::binary).write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
        const std::string cmd = "soffice --headless --convert-to txt:Text --outdir '" + dir.string() + "' '" +
                                file.string() + "' > /dev/null 2>&1";
        const auto p0 = std::chrono::steady_clock::now();
        const int rc = std::system(cmd.c_str());
        const auto p1 = std::chrono::steady_clock::now();
        if (rc != 0)
            std::printf("peer: office conversion not available (exit %d)\n", rc);
        else
            std::printf("peer: office conversion to text %.3f s = %.1f MB/s (import is %.1fx as fast)\n",
                        qmbench::Seconds(p0, p1), mb / qmbench::Seconds(p0, p1), qmbench::Seconds(p0, p1) / best20);
        std::filesystem::remove_all(dir);
    }
    return 0;
}
