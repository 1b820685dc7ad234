// Project-file throughput: saves and loads projects of 5,000, 10,000 and
// 20,000 topics with 2 KB of RTF each. Beside each, from the same run and in
// turns with it, the anchors:
//   - for the load, one read() of the whole file in this process and `cp` of
//     the file to /dev/null as a process (the file is in the page cache for
//     all three, so they measure the same bytes);
//   - for the save, a plain copy of the file followed by a flush to disk, as
//     the save flushes its file before renaming it.
// Goals: load at least 0.5 x the in-process read's speed; save at least 0.5 x
// the flushed copy's. The growth factor from each size to the next shows a
// path that grows faster than the file.
//
//   bench_projectfile [folder] [--rounds N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchutil.h"
#include "model/project.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using qmbench::Timing;

namespace {

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

void MakeProject(qm::TProject& p, int topics) {
    p.NewProject();
    std::mt19937 rng(42);
    p.Topics.GetNode(0).Text = MakeRtf(rng, 0);
    for (int i = 1; i < topics; ++i) {
        qm::TTopicNode& n = p.Topics.AddNew();
        n.SetName("Topic" + std::to_string(i));
        n.SetTitle("Title of topic " + std::to_string(i));
        n.ContextId = 5 * (i + 1);
        n.Keywords = {"keyword" + std::to_string(i), "common"};
        n.Text = MakeRtf(rng, i);
    }
}

#ifndef _WIN32
// One read() of the whole file into a buffer of its size: the least a load
// that holds the file's bytes can do.
std::size_t ReadOnce(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + file);
    struct stat st {};
    ::fstat(fd, &st);
    std::string buf(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t used = 0;
    while (used < buf.size()) {
        const ssize_t n = ::read(fd, buf.data() + used, buf.size() - used);
        if (n <= 0) break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return used;
}

void Flush(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

int main(int argc, char** argv) {
    fs::path base = fs::temp_directory_path();
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            base = a;
    }
    const fs::path dir = base / ("qm-bench-projectfile-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string file = (dir / "bench.qpf").string();
    const std::string copy = (dir / "copy.qpf").string();
    int rc = 0;
    try {
        std::printf("project file in %s; best of %d rounds (mean beside it), the anchors taking turns with the load\n",
                    dir.string().c_str(), rounds);
        std::printf("%7s %7s | %8s %8s %8s %8s %6s %7s | %8s %8s %6s\n", "topics", "MB", "load", "mean", "read()",
                    "cp proc", "ratio", "growth", "save", "cp+sync", "ratio");
        double previousLoad = 0;
        for (const int topics : {5000, 10000, 20000}) {
            qm::TProject p;
            MakeProject(p, topics);
            Timing save, load, read, cpProcess, copySync;
            double bytes = 0;
            for (int r = 0; r < rounds; ++r) {
                qmbench::TimeInto(save, [&] { p.SaveToFile(file); });
                bytes = static_cast<double>(fs::file_size(file));
                // The load and its anchors in turns, so all see the same machine.
                qmbench::TimeInto(load, [&] {
                    qm::TProject q;
                    q.LoadFromFile(file);
                    if (q.Topics.Count() != topics) throw std::runtime_error("the load lost topics");
                });
#ifndef _WIN32
                qmbench::TimeInto(read, [&] {
                    if (ReadOnce(file) != static_cast<std::size_t>(bytes)) throw std::runtime_error("short read");
                });
                const std::string cmd = "cp '" + file + "' /dev/null";
                qmbench::TimeInto(cpProcess, [&] {
                    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cp failed");
                });
#endif
                fs::remove(copy);
                qmbench::TimeInto(copySync, [&] {
                    fs::copy_file(file, copy);
#ifndef _WIN32
                    Flush(copy);
#endif
                });
            }
            std::printf("%7d %7.1f | %7.3fs %7.3fs %7.3fs %7.3fs %5.2fx %7s | %7.3fs %7.3fs %5.2fx\n", topics,
                        bytes / 1e6, load.best, load.Mean(), read.best, cpProcess.best, read.best / load.best,
                        qmbench::Growth(previousLoad, load.best).c_str(), save.best, copySync.best,
                        copySync.best / save.best);
            std::fflush(stdout);
            previousLoad = load.best;
        }
        std::printf(
            "ratio: the anchor's time over the load's (or the save's), i.e. the speed as a part of the "
            "anchor's; goal 0.5 or more\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_projectfile: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
}
