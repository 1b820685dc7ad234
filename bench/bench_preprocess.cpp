// Preprocessing speed: two projects written into a scratch work folder, with
// beside each the time that plainly writing the same bytes takes.
//   bench_preprocess
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "preprocess/topicwriter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

std::string Filler(std::size_t n) {
    static const char words[] = "The quick brown fox jumps over the lazy dog \\par ";
    std::string s;
    while (s.size() < n) s += words;
    s.resize(n);
    return s;
}

// 10,000 topics of about 2 KB, each with five tags.
void SmallTopics(qm::TProject& p) {
    const int count = 10000;
    for (int i = 0; i < count; ++i) {
        qm::TTopicNode& t = p.Topics.AddNew();
        t.SetName("Topic" + std::to_string(i));
        t.ContextId = 5 * (i + 1);
        t.SetTitle("Topic number " + std::to_string(i));
    }
    for (int i = 0; i < count; ++i) {
        const std::string next = "Topic" + std::to_string((i + 1) % count);
        std::string body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
        body += "<ANCHOR \"a" + std::to_string(i) + "\">" + Filler(350);
        body += "<LINK TOPIC=\"" + next + "\">next</LINK>" + Filler(350);
        body += "<LINK TOPIC=\"" + next + ":a" + std::to_string((i + 1) % count) + "\">anchor</LINK>" + Filler(350);
        body += "<MACRO JumpId(`x.hlp',`y')>macro</MACRO>" + Filler(350);
        body += "<BTN Back()>Back</BTN>" + Filler(350) + "\\par }\r\n";
        p.Topics.GetNode(i).Text = body;
    }
}

// One topic of about 1 MB with 5,000 links; `lead` goes before the first tag
// and `hotspot` before each link's number (an image tag makes the hotspot hold
// a "<", as the tag dialogs write it).
void BigTopic(qm::TProject& p, const std::string& lead = "", const std::string& hotspot = "link ") {
    for (int i = 0; i < 50; ++i) {
        qm::TTopicNode& t = p.Topics.AddNew();
        t.SetName("Target" + std::to_string(i));
        t.ContextId = 5 * (i + 2);
    }
    qm::TTopicNode& big = p.Topics.AddNew();
    big.SetName("Big");
    big.ContextId = 5;
    std::string body = "{\\rtf1\\ansi\\viewkind4\\uc1\\pard " + lead;
    for (int i = 0; i < 5000; ++i)
        body += "<LINK TOPIC=\"Target" + std::to_string(i % 50) + "\">" + hotspot + std::to_string(i) +
                (hotspot == "link " ? "" : ".bmp\">") + "</LINK> " + Filler(165);
    body += "}";
    big.Text = body;
}

void PlainWrite(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, data] : files) {
        std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
        if (!f) std::exit(1);
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

void Bench(const char* label, const qm::TProject& p, const std::string& root) {
    qm::TCheckSettings checks;
    std::size_t inBytes = 0;
    for (const auto& n : p.Topics) inBytes += n->Text.size();

    // The passes alone, in memory.
    qm::TOutputLog memLog;
    const qm::TModuleIndex modules(p.Topics);
    std::vector<qm::TAnchorTable> tables(static_cast<std::size_t>(p.Topics.Count()));
    qm::TUnresolvedAnchorTable unresolved;
    std::vector<std::pair<std::string, std::string>> files;
    const auto m0 = Clock::now();
    std::size_t i = 0;
    for (const auto& n : p.Topics) {
        const qm::TPassContext ctx{p, *n, memLog, checks, false, &modules};
        files.emplace_back(n->GetName() + ".rtf", qm::PreprocessTopic(ctx, tables[i++], unresolved));
    }
    qm::ResolveAnchors(tables, unresolved, memLog, checks);
    const auto m1 = Clock::now();
    std::size_t outBytes = 0;
    for (const auto& f : files) outBytes += f.second.size();

    // The whole build step into a fresh folder, and plain writes of the same
    // bytes into another fresh folder. Creating files costs much and varies on
    // a shared machine, so each is timed three times, in turn, and the best
    // time is kept.
    double pre = 1e9, plain = 1e9;
    qm::TOutputLog log;
    for (int round = 0; round < 3; ++round) {
        const std::string work = root + "/work", plainDir = root + "/plain";
        std::filesystem::create_directory(work);
        std::filesystem::create_directory(plainDir);
        for (int step = 0; step < 2; ++step) {
            const auto t0 = Clock::now();
            if ((step + round) % 2 == 0) {
                log.Clear();
                qm::WriteTopicFiles(p, work, log, checks);
                pre = std::min(pre, Seconds(t0, Clock::now()));
            } else {
                PlainWrite(plainDir, files);
                plain = std::min(plain, Seconds(t0, Clock::now()));
            }
        }
        std::filesystem::remove_all(work);
        std::filesystem::remove_all(plainDir);
    }

    const double mem = Seconds(m0, m1);
    std::printf("%s: %d topics, %.1f MB in, %.1f MB out, %d log entries\n", label, p.Topics.Count(), inBytes / 1e6,
                outBytes / 1e6, log.Count());
    std::printf("  passes in memory: %.3f s  %.0f topics/s  %.1f MB/s\n", mem, p.Topics.Count() / mem,
                inBytes / 1e6 / mem);
    std::printf("  preprocess + write: %.3f s  %.0f topics/s  %.1f MB/s\n", pre, p.Topics.Count() / pre,
                inBytes / 1e6 / pre);
    std::printf("  plain write of the same bytes: %.3f s  (preprocess + write is %.2f times that)\n", plain,
                pre / plain);
}

}  // namespace

int main() {
    char templ[] = "/tmp/qm_bench_preprocess_XXXXXX";
    if (!::mkdtemp(templ)) return 1;
    const std::string root = templ;
    {
        qm::TProject p;
        SmallTopics(p);
        Bench("10,000 topics of 2 KB, 5 tags each", p, root);
    }
    {
        qm::TProject p;
        BigTopic(p);
        Bench("one topic of 1 MB with 5,000 links", p, root);
    }
    {
        qm::TProject p;
        BigTopic(p, "if a < b ", "<IMAGE \"pic");
        Bench("one topic of 1 MB with 5,000 image links after a stray <", p, root);
    }
    std::filesystem::remove_all(root);
    return 0;
}
