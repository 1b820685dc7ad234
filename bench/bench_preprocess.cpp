// Preprocessing speed: projects built into a scratch work folder, each beside
// the time that plainly writing the same bytes takes (the anchor, timed in
// turns with the build in the same run), at 1, 2 and 4 times their size with
// the growth factor from each size to the next.
//
//   bench_preprocess [--dir FOLDER] [--rounds N] [case...]
//
// Cases: small (2,500 topics of 2 KB with five tags each), big (one topic of
// 1 MB with 5,000 links), stray (the same after a stray "<", with plain and
// with image hotspots), images (5,000 image tags: exact names, names in another case than the
// files, and a project folder of 10,000 unrelated files before the image
// folder). The work folders go under /dev/shm when it is a tmpfs, so that the
// anchor measures writing bytes, not a disk file system's inode allocation
// (which swings tenfold between runs on ext4); --dir chooses another place.
// The output says which. The last column counts the passes that fell back to
// replacing tag by tag (a sweep of the text per tag).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "benchutil.h"
#include "model/project.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "preprocess/topicwriter.h"

namespace fs = std::filesystem;
using qmbench::Timing;

namespace {

std::string Filler(std::size_t n) {
    static const char words[] = "The quick brown fox jumps over the lazy dog \\par ";
    std::string s;
    while (s.size() < n) s += words;
    s.resize(n);
    return s;
}

const char* const kHeader = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";

// `count` topics of about 2 KB, each with five tags.
void SmallTopics(qm::TProject& p, int count) {
    for (int i = 0; i < count; ++i) {
        qm::TTopicNode& t = p.Topics.AddNew();
        t.SetName("Topic" + std::to_string(i));
        t.ContextId = 5 * (i + 1);
        t.SetTitle("Topic number " + std::to_string(i));
    }
    for (int i = 0; i < count; ++i) {
        const std::string next = "Topic" + std::to_string((i + 1) % count);
        std::string body = kHeader;
        body += "<ANCHOR \"a" + std::to_string(i) + "\">" + Filler(350);
        body += "<LINK TOPIC=\"" + next + "\">next</LINK>" + Filler(350);
        body += "<LINK TOPIC=\"" + next + ":a" + std::to_string((i + 1) % count) + "\">anchor</LINK>" + Filler(350);
        body += "<MACRO JumpId(`x.hlp',`y')>macro</MACRO>" + Filler(350);
        body += "<BTN Back()>Back</BTN>" + Filler(350) + "\\par }\r\n";
        p.Topics.GetNode(i).Text = body;
    }
}

// One topic of about `links` x 200 bytes with `links` links; `lead` goes
// before the first tag and `hotspot` before each link's number (an image tag
// makes the hotspot hold a "<", as the tag dialogs write it).
void BigTopic(qm::TProject& p, int links, const std::string& lead = "", const std::string& hotspot = "link ") {
    for (int i = 0; i < 50; ++i) {
        qm::TTopicNode& t = p.Topics.AddNew();
        t.SetName("Target" + std::to_string(i));
        t.ContextId = 5 * (i + 2);
    }
    qm::TTopicNode& big = p.Topics.AddNew();
    big.SetName("Big");
    big.ContextId = 5;
    std::string body = "{\\rtf1\\ansi\\viewkind4\\uc1\\pard " + lead;
    for (int i = 0; i < links; ++i)
        body += "<LINK TOPIC=\"Target" + std::to_string(i % 50) + "\">" + hotspot + std::to_string(i) +
                (hotspot == "link " ? "" : ".bmp\">") + "</LINK> " + Filler(165);
    body += "}";
    big.Text = body;
}

enum class ImageNames { Exact, OtherCase, CrowdedProjectFolder };

// `images` IMAGE tags, 50 to a topic, naming files that exist. The project
// lives in `root`/proj, the images in its image folder "art". With
// CrowdedProjectFolder the project folder, searched first, also holds twice
// as many unrelated files as there are images.
void ImageTopics(qm::TProject& p, int images, ImageNames names, const std::string& root) {
    const fs::path proj = fs::path(root) / "proj";
    fs::remove_all(proj);
    fs::create_directories(proj / "art");
    const auto touch = [](const fs::path& file) {
        if (std::FILE* f = std::fopen(file.c_str(), "wb")) std::fclose(f);
    };
    for (int i = 0; i < images; ++i) touch(proj / "art" / ("pic" + std::to_string(i) + ".bmp"));
    if (names == ImageNames::CrowdedProjectFolder)
        for (int i = 0; i < 2 * images; ++i) touch(proj / ("other" + std::to_string(i) + ".dat"));
    p.FileName = (proj / "Guide.qpf").string();
    p.BmRoot = {"art"};
    const int perTopic = 50;
    for (int t = 0; t * perTopic < images; ++t) {
        qm::TTopicNode& node = p.Topics.AddNew();
        node.SetName("Pictures" + std::to_string(t));
        node.ContextId = 5 * (t + 1);
        std::string body = kHeader;
        for (int i = t * perTopic; i < std::min(images, (t + 1) * perTopic); ++i) {
            const std::string number = std::to_string(i);
            const std::string file = names == ImageNames::OtherCase ? "PIC" + number + ".BMP" : "pic" + number + ".bmp";
            body += "<IMAGE \"" + file + "\"> " + Filler(165);
        }
        node.Text = body + "}";
    }
}

void PlainWrite(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, data] : files) {
        std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
        if (!f) std::exit(1);
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

struct Result {
    Timing build, plain, passes;
    std::size_t inBytes = 0, outBytes = 0;
    int topics = 0, logEntries = 0;
    int tagByTag = 0;  // passes that fell back to replacing tag by tag
};

// Builds the project `rounds` times into fresh folders under `root`, in turns
// with plain writes of the same bytes into other fresh folders.
Result Measure(const qm::TProject& p, const std::string& root, int rounds) {
    Result r;
    const qm::TCheckSettings checks;
    for (const auto& n : p.Topics) r.inBytes += n->Text.size();
    r.topics = p.Topics.Count();

    // The passes alone, in memory, give the bytes the plain write writes.
    std::vector<std::pair<std::string, std::string>> files;
    qmbench::TimeInto(r.passes, [&] {
        qm::TOutputLog memLog;
        const qm::TModuleIndex modules(p.Topics);
        qm::TFolderCache folders;
        std::vector<qm::TAnchorTable> tables(static_cast<std::size_t>(p.Topics.Count()));
        qm::TUnresolvedAnchorTable unresolved;
        std::size_t i = 0;
        qm::TPassStats stats;
        for (const auto& n : p.Topics) {
            qm::TPassContext ctx{p, *n, memLog, checks, false, &modules, &folders};
            ctx.Stats = &stats;
            files.emplace_back(n->GetName() + ".rtf", qm::PreprocessTopic(ctx, tables[i++], unresolved));
        }
        qm::ResolveAnchors(tables, unresolved, memLog, checks);
        r.tagByTag = stats.TagByTag;
    });
    for (const auto& f : files) r.outBytes += f.second.size();

    for (int round = 0; round < rounds; ++round) {
        const std::string work = root + "/work", plainDir = root + "/plain";
        fs::create_directory(work);
        fs::create_directory(plainDir);
        for (int step = 0; step < 2; ++step) {
            if ((step + round) % 2 == 0) {
                qm::TOutputLog log;
                qmbench::TimeInto(r.build, [&] { qm::WriteTopicFiles(p, work, log, checks); });
                r.logEntries = log.Count();
            } else {
                qmbench::TimeInto(r.plain, [&] { PlainWrite(plainDir, files); });
            }
        }
        fs::remove_all(work);
        fs::remove_all(plainDir);
    }
    return r;
}

void PrintHeader() {
    std::printf("  %-5s %7s %7s %8s %9s %9s %9s %9s %7s %8s %6s\n", "scale", "topics", "MB in", "passes", "build",
                "build", "build", "plain", "ratio", "growth", "tag by");
    std::printf("  %-5s %7s %7s %8s %9s %9s %9s %9s %7s %8s %6s\n", "", "", "", "in mem", "best", "mean", "best cpu",
                "best", "", "", "tag");
}

// `goal`: the most the build may take in plain writes (0: none); a row that
// takes more ends in "over".
void PrintRow(int scale, const Result& r, double previousBuild, double goal) {
    const double ratio = r.build.best / r.plain.best;
    std::printf(
        "  %-5s %7d %7.1f %7.4fs %8.4fs %8.4fs %8.4fs %8.4fs %6.2fx %8s %6d%s\n", (std::to_string(scale) + "x").c_str(),
        r.topics, r.inBytes / 1e6, r.passes.best, r.build.best, r.build.Mean(), r.build.bestCpu, r.plain.best, ratio,
        qmbench::Growth(previousBuild, r.build.best).c_str(), r.tagByTag, goal > 0 && ratio > goal ? "  over" : "");
    std::fflush(stdout);
}

// Runs one case at 1, 2 and 4 times its size; returns the build's best time
// at each scale. `goal` as in PrintRow.
std::vector<Result> RunScaled(const char* label, const std::function<void(qm::TProject&, int)>& make,
                              const std::string& root, int rounds, double goal = 0) {
    std::printf("%s\n", label);
    PrintHeader();
    std::vector<Result> results;
    double previous = 0;
    for (int scale : {1, 2, 4}) {
        qm::TProject p;
        make(p, scale);
        results.push_back(Measure(p, root, rounds));
        PrintRow(scale, results.back(), previous, goal);
        previous = results.back().build.best;
    }
    return results;
}

}  // namespace

int main(int argc, char** argv) {
    std::string base;
    int rounds = 3;
    std::vector<std::string> cases;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            base = argv[++i];
        else if (a == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            cases.push_back(a);
    }
    if (cases.empty()) cases = {"small", "big", "stray", "images"};
    if (base.empty()) base = qmbench::IsTmpfs("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    std::string templ = base + "/qm_bench_preprocess_XXXXXX";
    if (!::mkdtemp(templ.data())) return 1;
    const std::string root = templ;
    std::printf("work folders in %s (%s); best of %d rounds, the build and the plain write taking turns\n\n",
                root.c_str(), qmbench::IsTmpfs(root) ? "tmpfs: memory, no disk" : "a disk file system", rounds);

    for (const std::string& c : cases) {
        if (c == "small") {
            RunScaled(
                "small: 2,500 topics of 2 KB, 5 tags each (goal: within 3x the plain write)",
                [](qm::TProject& p, int s) { SmallTopics(p, 2500 * s); }, root, rounds, 3);
        } else if (c == "big") {
            const auto r = RunScaled(
                "big: one topic of 1 MB with 5,000 links (goal: within 3x the plain write)",
                [](qm::TProject& p, int s) { BigTopic(p, 5000 * s); }, root, rounds, 3);
            std::printf("  1 MB topic: %.2fx the plain write (goal 3x)%s\n", r[0].build.best / r[0].plain.best,
                        r[0].build.best <= 3 * r[0].plain.best ? "" : "  NOT MET");
        } else if (c == "stray") {
            RunScaled(
                "stray: one topic of 1 MB with 5,000 links after a stray < (goal: within 3x the plain write)",
                [](qm::TProject& p, int s) { BigTopic(p, 5000 * s, "if a < b "); }, root, rounds, 3);
            RunScaled(
                "stray: one topic of 1 MB with 5,000 image hotspots after a stray < (goal: within 3x the plain "
                "write)",
                [](qm::TProject& p, int s) { BigTopic(p, 5000 * s, "if a < b ", "<IMAGE \"pic"); }, root, rounds, 3);
        } else if (c == "images") {
            const auto exact = RunScaled(
                "images: 5,000 IMAGE tags, names as on disk (the anchor of the two below)",
                [&](qm::TProject& p, int s) { ImageTopics(p, 5000 * s, ImageNames::Exact, root); }, root, rounds);
            const auto report = [&](const std::vector<Result>& r) {
                for (std::size_t i = 0; i < r.size(); ++i)
                    std::printf("  %dx: %.2fx the exact names (goal: within 2x)%s\n", 1 << i,
                                r[i].build.best / exact[i].build.best,
                                r[i].build.best <= 2 * exact[i].build.best ? "" : "  NOT MET");
            };
            report(RunScaled(
                "images: the same tags in upper case, the files in lower case",
                [&](qm::TProject& p, int s) { ImageTopics(p, 5000 * s, ImageNames::OtherCase, root); }, root, rounds));
            report(RunScaled(
                "images: exact names, 10,000 unrelated files in the project folder searched "
                "first",
                [&](qm::TProject& p, int s) { ImageTopics(p, 5000 * s, ImageNames::CrowdedProjectFolder, root); }, root,
                rounds));
        } else {
            std::fprintf(stderr, "bench_preprocess: unknown case %s\n", c.c_str());
        }
        std::printf("\n");
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}
