// Project-file throughput: saves and loads a project of 10,000 topics with
// 2 KB of RTF each, and compares both with a plain copy of the saved file on
// the same disk, the practical limit. The save flushes its file to disk before
// renaming it, so a copy followed by the same flush is printed too: that is the
// fair limit for the save. Run by hand: bench_projectfile [folder]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "model/project.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void Report(const char* what, double seconds, double bytes) {
    std::printf("%-22s %8.3f s  %9.1f MB/s\n", what, seconds, bytes / 1e6 / seconds);
}

std::string MakeRtf(std::mt19937& rng, int n) {
    static const char words[][10] = {"help", "topic", "window", "link", "\\par ", "popup", "{\\b bold}", "index"};
    std::string s = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Topic " + std::to_string(n) + " ";
    while (s.size() < 2040) {
        s += words[rng() % 8];
        s += ' ';
    }
    s.resize(2047);
    s += '}';
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path dir = base / ("qm-bench-projectfile-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string file = (dir / "bench.qpf").string();
    const std::string copy = (dir / "copy.qpf").string();
    int rc = 0;
    try {
        qm::TProject p;
        p.NewProject();
        std::mt19937 rng(42);
        p.Topics.GetNode(0).Text = MakeRtf(rng, 0);
        for (int i = 1; i < 10000; ++i) {
            qm::TTopicNode& n = p.Topics.AddNew();
            n.SetName("Topic" + std::to_string(i));
            n.SetTitle("Title of topic " + std::to_string(i));
            n.ContextId = 5 * (i + 1);
            n.Keywords = {"keyword" + std::to_string(i), "common"};
            n.Text = MakeRtf(rng, i);
        }

        const int rounds = 5;
        double save = 1e9, load = 1e9, plain = 1e9, plainSync = 1e9;
        double bytes = 0;
        for (int r = 0; r < rounds; ++r) {
            auto t0 = Clock::now();
            p.SaveToFile(file);
            auto t1 = Clock::now();
            qm::TProject q;
            q.LoadFromFile(file);
            auto t2 = Clock::now();
            fs::remove(copy);
            auto t3 = Clock::now();
            fs::copy_file(file, copy);
            auto t4 = Clock::now();
#ifndef _WIN32
            int fd = ::open(copy.c_str(), O_RDONLY);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
#endif
            auto t5 = Clock::now();
            if (q.Topics.Count() != p.Topics.Count()) throw std::runtime_error("load lost topics");
            bytes = static_cast<double>(fs::file_size(file));
            save = std::min(save, Seconds(t0, t1));
            load = std::min(load, Seconds(t1, t2));
            plain = std::min(plain, Seconds(t3, t4));
            plainSync = std::min(plainSync, Seconds(t3, t5));
        }
        std::printf("project file: %.1f MB, %d topics (best of %d)\n", bytes / 1e6, p.Topics.Count(), rounds);
        Report("save", save, bytes);
        Report("load", load, bytes);
        Report("plain copy (limit)", plain, bytes);
        Report("plain copy + flush", plainSync, bytes);
        std::printf("save / (copy + flush) speed: %.2f   load / copy speed: %.2f\n", plainSync / save, plain / load);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_projectfile: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
}
