// Gutter paints per second on a topic of 20,000 paragraphs with 100
// bookmarks spread over it (one every 200 lines, one of them the last line),
// with the view at the top, in the middle and at the end of the text.
//
// Goal: at least 2,000 paints a second at each place, the same order at the
// end as at the top (the cost follows the bookmarks, not the text's length).
// Needs the GUI; runs offscreen when no display is named.
#include <cstdio>

#ifdef QM_BENCH_GUI
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <chrono>
#include <string>

#include "editor/gutter.h"
#include "editor/richtext2.h"
#include "model/bookmarks.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

constexpr int kParagraphs = 20000;

std::string Topic() {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; i < kParagraphs; ++i) {
        rtf += "Paragraph " + std::to_string(i) + " of the topic, with {\\b some bold} words";
        // Every seventh paragraph wraps over several display lines.
        if (i % 7 == 0)
            for (int k = 0; k < 6; ++k) rtf += " and a longer sentence that goes on past the right edge";
        rtf += "\\par\r\n";
    }
    return rtf + "}";
}

// Paints per second at the current scroll position, for about a second.
double PaintRate(const qm::TGutter& gutter, std::size_t& glyphs) {
    QImage image(gutter.size(), QImage::Format_RGB32);
    int paints = 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point now = start;
    while (Seconds(start, now) < 1.0) {
        QPainter p(&image);
        gutter.Paint(p);
        ++paints;
        now = Clock::now();
    }
    glyphs = gutter.VisibleGlyphs().size();
    return paints / Seconds(start, now);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qm::TRichText2 edit;
    edit.resize(800, 600);
    edit.SetLeftViewportMargin(qm::TGutter::Width);
    qm::TBookmarks bookmarks;
    for (int i = 0; i < 99; ++i) bookmarks.Add(i * 200 + 5);
    bookmarks.Add(kParagraphs - 1);
    auto* gutter = new qm::TGutter(edit);
    gutter->SetBookmarks(&bookmarks);
    edit.show();

    const std::string rtf = Topic();
    const Clock::time_point t0 = Clock::now();
    edit.SetRtfText(rtf);
    QApplication::processEvents();
    const Clock::time_point t1 = Clock::now();
    std::size_t glyphs = 0;
    std::printf("%d paragraphs, %d bookmarks, %.1f MB RTF: load and first paint %.0f ms\n", kParagraphs,
                bookmarks.Count(), rtf.size() / 1048576.0, Seconds(t0, t1) * 1000);

    QScrollBar* bar = edit.verticalScrollBar();
    const QTextBlock middle = edit.document()->findBlockByNumber(kParagraphs / 2);
    struct Place {
        const char* name;
        int value;
    } places[] = {
        {"top", 0},
        {"middle", static_cast<int>(edit.document()->documentLayout()->blockBoundingRect(middle).top())},
        {"end", bar->maximum()},
    };
    for (const Place& place : places) {
        bar->setValue(place.value);
        QApplication::processEvents();
        const double rate = PaintRate(*gutter, glyphs);
        std::printf("%-7s %9.0f paints/s (%zu glyphs in view)%s\n", place.name, rate, glyphs,
                    rate < 2000 ? "  BELOW GOAL" : "");
    }
    return 0;
}

#else

int main() {
    std::puts("bench_gutter needs the GUI build.");
    return 0;
}

#endif
