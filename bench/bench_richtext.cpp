// Reads and writes a 5 MB RTF document of 20,000 paragraphs with mixed
// formatting through the rich-text core and prints MB/s for each direction.
#include <chrono>
#include <cstdio>
#include <string>

#include "richtext/richdoc.h"

namespace {

std::string MakeDocument(std::size_t paragraphs, std::size_t targetBytes) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n";
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

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

}  // namespace

int main() {
    const std::string rtf = MakeDocument(20000, 5u << 20);
    const double mb = double(rtf.size()) / (1 << 20);
    const int rounds = 5;
    double readTime = 0, writeTime = 0;
    std::size_t written = 0;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        qm::RichDocument doc = qm::ReadRtf(rtf);
        auto t1 = std::chrono::steady_clock::now();
        std::string out = qm::WriteRtf(doc);
        auto t2 = std::chrono::steady_clock::now();
        readTime += Seconds(t0, t1);
        writeTime += Seconds(t1, t2);
        written = out.size();
    }
    std::printf("input %.2f MB, %zu paragraphs; output %.2f MB\n", mb, std::size_t(20000), double(written) / (1 << 20));
    std::printf("read:  %.1f MB/s\n", mb * rounds / readTime);
    std::printf("write: %.1f MB/s (of output)\n", double(written) / (1 << 20) * rounds / writeTime);
    return 0;
}
