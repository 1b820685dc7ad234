// The tag at a place of the editor's text: what every mouse move over the
// editor costs while the hot cursor is on, and what Edit Tag and the editor's
// menu cost once.
//   bench_tagparse
//
// One topic of 1 MB of plain text (fixed seed): paragraphs of prose with a
// link, an image or a macro hotspot now and then, and long runs of up to
// 64 KB without any "<", where a scan back from the place would be long.
// Times the copy of the text made after each change (TTagText::Assign),
// ParseTagAt at random places, at the ends of the long runs (the worst case
// of a scan), and the hot-cursor rule with its parse; positions per second,
// against a plain scan back to the nearest "<" over the same places.
//
// Goal: every kind of place at more than 1,000,000 positions a second (a
// mouse move costs under a microsecond); the copy of 1 MB under 10 ms.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "model/options.h"
#include "preprocess/edittags.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

const char* const kWords[] = {"help", "file", "topic", "window", "press", "button", "select", "menu", "option",
                              "the",  "and",  "to",    "of",     "a",     "in",     "is",     "you",  "dialog"};

const char* const kTags[] = {
    "<LINK TOPIC=\"Overview:start\" WINDOW=main>see the overview</LINK>",
    "<LINK POPUP=\"Glossary\" FILE=other help.hlp>glossary</LINK>",
    "<IMAGE \"picture.bmp\">",
    "<MACRO JumpId(\"a.hlp\", \"b\")>run it</MACRO>",
    "<LINK TOPIC=\"Beta\"><IMAGEL \"hot.shg\"></LINK>",
    "<ANCHOR \"here\">",
};

// About 1 MB: paragraphs of prose with a tag in one of three, and every
// tenth paragraph a run of 8 to 64 KB without "<". `runEnds` receives the
// last place of each long run.
std::u16string MakeTopic(std::mt19937& rng, std::vector<int>& runEnds) {
    std::uniform_int_distribution<int> word(0, static_cast<int>(std::size(kWords)) - 1);
    std::uniform_int_distribution<int> tag(0, static_cast<int>(std::size(kTags)) - 1);
    std::uniform_int_distribution<int> pick(0, 29);
    std::uniform_int_distribution<std::size_t> runLength(8 * 1024, 64 * 1024);
    std::u16string text;
    auto append = [&](const char* s) {
        for (; *s; ++s) text.push_back(static_cast<char16_t>(*s));
    };
    for (int paragraph = 0; text.size() < 1024 * 1024; ++paragraph) {
        const std::size_t target = paragraph % 10 == 9 ? runLength(rng) : 400;
        const std::size_t start = text.size();
        while (text.size() - start < target) {
            append(kWords[word(rng)]);
            append(" ");
            if (target == 400 && pick(rng) == 0) {
                append(kTags[tag(rng)]);
                append(" ");
            }
        }
        if (target != 400) runEnds.push_back(static_cast<int>(text.size()) - 1);
        text.push_back(u'\u2029');
    }
    return text;
}

// The nearest "<" at or before p by a plain scan, as a reading without the
// index of "<" would find it.
int ScanBack(const std::u16string& text, int p) {
    while (p >= 0 && text[static_cast<std::size_t>(p)] != u'<') --p;
    return p;
}

template <typename F>
void Time(const char* what, const std::vector<int>& places, int rounds, F&& f) {
    long long sink = 0;
    const auto a = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (const int p : places) sink += f(p);
    const auto b = Clock::now();
    const double n = static_cast<double>(places.size()) * rounds;
    std::printf("  %-44s %12.0f positions/s  (%.3f us each; %lld)\n", what, n / Seconds(a, b), 1e6 * Seconds(a, b) / n,
                sink % 7);
}

}  // namespace

int main() {
    std::mt19937 rng(20261210);
    std::vector<int> runEnds;
    const std::u16string topic = MakeTopic(rng, runEnds);
    std::printf("topic: %zu units, %zu long runs without \"<\"\n", topic.size(), runEnds.size());

    qm::TTagText text;
    const auto a = Clock::now();
    const int copies = 20;
    for (int i = 0; i < copies; ++i) text.Assign(topic);
    const auto b = Clock::now();
    std::printf("  %-44s %12.2f ms each\n", "copy after a change (Assign)", 1e3 * Seconds(a, b) / copies);

    std::uniform_int_distribution<int> anywhere(0, static_cast<int>(topic.size()) - 1);
    std::vector<int> random(200000);
    for (int& p : random) p = anywhere(rng);

    auto parse = [&](int p) { return qm::ParseTagAt(text, p).Count; };
    Time("ParseTagAt, random places", random, 5, parse);
    Time("ParseTagAt, ends of the long runs", runEnds, 2000, parse);
    Time("plain scan back, random places", random, 5, [&](int p) { return ScanBack(topic, p); });
    Time("plain scan back, ends of the long runs", runEnds, 200, [&](int p) { return ScanBack(topic, p); });

    qm::TOptions options;
    options.HotCursor = true;
    options.ShowGutter = true;
    options.DblClickFollowsLink = true;
    Time("hot cursor with its parse, random places", random, 5, [&](int p) {
        const qm::THotCursorState state{false, false, 100};
        return static_cast<int>(qm::HotCursorFor(state, options, [&] { return qm::ParseTagAt(text, p); }));
    });
    return 0;
}
