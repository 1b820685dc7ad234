// Reads and writes RTF documents through the rich-text core: a document of
// mixed formatting (5 MB, 20,000 paragraphs) and a dense one (a format
// change every few bytes), each at 1, 2 and 4 times its size. For each it
// prints the best and the mean time of the rounds, the speed, the peak
// resident size of the read (input included) against the input's size, and
// the growth factor of the read's time from each size to the next.
//
//   bench_richtext [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchutil.h"
#include "richtext/richdoc.h"

using qmbench::Timing;

namespace {

std::string MakeDocument(std::size_t paragraphs, std::size_t targetBytes) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n";
    rtf.reserve(targetBytes + 4096);
    const std::size_t perPara = targetBytes / paragraphs;
    for (std::size_t i = 0; i < paragraphs; ++i) {
        std::size_t start = rtf.size();
        rtf += i % 7 == 0 ? "\\pard\\qc\\sb120\\keepn " : i % 7 == 1 ? "\\pard\\fi-360\\li720\\tx720 " : "";
        while (rtf.size() - start < perPara) {
            rtf += "Plain words \\'e9t\\'e9 and {\\b bold} then {\\i\\cf1 red italic} with ";
            rtf += "{\\uldb a link}{\\v Target_Topic} and \\{braces\\} \\tab <LINK TOPIC=\"x\">y</LINK> ";
        }
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

// The densest formatting: bold on and off every few characters, in
// paragraphs of 2 KB.
std::string MakeDense(std::size_t targetBytes) {
    std::string rtf = "{\\rtf1\\ansi ";
    rtf.reserve(targetBytes + 64);
    while (rtf.size() < targetBytes) {
        const std::size_t start = rtf.size();
        while (rtf.size() - start < 2048) rtf += "\\b x\\b0 y";
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

void Run(const char* label, std::string (*make)(std::size_t), std::size_t baseBytes, int rounds) {
    std::printf("%s\n", label);
    std::printf("  %-5s %7s %11s %9s %9s %8s %9s %9s %7s %9s %7s %8s\n", "scale", "MB in", "paragraphs", "read best",
                "read mean", "MB/s", "write best", "peak 1st", "1st/in", "peak max", "max/in", "growth");
    double previous = 0;
    for (const int scale : {1, 2, 4}) {
        const std::string rtf = make(baseBytes * static_cast<std::size_t>(scale));
        const double mb = static_cast<double>(rtf.size()) / 1e6;
        Timing read, write;
        double peak = 0, first = 0;
        std::size_t paragraphs = 0;
        for (int r = 0; r < rounds; ++r) {
            qmbench::ResetPeakRss();
            qm::RichDocument doc;
            qmbench::TimeInto(read, [&] { doc = qm::ReadRtf(rtf); });
            peak = std::max(peak, qmbench::PeakRssMb());
            if (r == 0) first = peak;
            paragraphs = doc.paragraphs.size();
            std::string out;
            qmbench::TimeInto(write, [&] { out = qm::WriteRtf(doc); });
        }
        std::printf("  %-5s %7.1f %11zu %8.3fs %8.3fs %8.1f %8.3fs %9.1f %6.1fx %9.1f %6.1fx %8s\n",
                    (std::to_string(scale) + "x").c_str(), mb, paragraphs, read.best, read.Mean(), mb / read.best,
                    write.best, first, first / mb, peak, peak / mb, qmbench::Growth(previous, read.best).c_str());
        std::fflush(stdout);
        previous = read.best;
    }
}

// Text of generators with the signature Run takes.
std::string Mixed(std::size_t bytes) { return MakeDocument(bytes / 262, bytes); }

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf(
        "RTF to the document model and back; best of %d rounds, the mean beside it; peak: resident size during "
        "the read, the input included (1st: the first round's, as in a new process; max: the highest of the "
        "rounds)\n",
        rounds);
    Run("mixed formatting, 262 bytes a paragraph", Mixed, 5u << 20, rounds);
    Run("dense: a format change every 4 bytes", MakeDense, 5u << 20, rounds);
    return 0;
}
