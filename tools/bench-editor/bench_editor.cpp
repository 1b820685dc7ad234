#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>

#include "editor/richtext2.h"
#include "richtext/richdoc.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 ";
    int paragraphs = 0;
    while (rtf.size() < (1u << 20)) {
        rtf += "Some words \\'e9t\\'e9 {\\b bold} {\\i\\cf1 red} {\\uldb link}{\\v Target} <LINK TOPIC=\"x\">y</LINK>";
        if (++paragraphs % 3 == 0) rtf += "\\par\r\n";
    }
    rtf += "}";
    qm::TRichText2 edit;
    edit.resize(800, 600);
    edit.show();
    QApplication::processEvents();
    const std::string dialect = qm::NormalizeRtf(rtf);
    for (int round = 0; round < 3; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        edit.SetRtfText(dialect);
        QApplication::processEvents();
        auto t1 = std::chrono::steady_clock::now();
        std::string back = edit.GetRtfText();
        auto t2 = std::chrono::steady_clock::now();
        std::printf("SetRtfText of %.2f MB: %.0f ms; GetRtfText: %.0f ms; same text: %s\n", dialect.size() / 1048576.0,
                    std::chrono::duration<double, std::milli>(t1 - t0).count(),
                    std::chrono::duration<double, std::milli>(t2 - t1).count(), back == dialect ? "yes" : "no");
    }
    return 0;
}
