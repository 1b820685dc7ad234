// Project-file throughput: saves and loads projects of 5,000, 10,000, 20,000
// and 40,000 topics with 2 KB of RTF each. Beside each, from the same run and in
// turns with it, the anchors:
//   - for the load, one read() of the whole file into a new buffer of its size
//     in this process and `cp` of the file to /dev/null as a process (the file
//     is in the page cache for all three, so they measure the same bytes);
//   - for the save, a plain copy of the file followed by a flush to disk, as
//     the save flushes its file before renaming it.
// The load and the read each start with the memory freed before them given
// back to the system, so that the topics and the read's buffer both land in
// pages touched for the first time, as a project opened in a new program
// does. (Without it, whether the read's buffer came back already touched
// depended on where the allocator had left the last round's blocks, and the
// anchor jumped from a copy's speed to that of fresh pages as the file grew.)
// For comparison, "warm" reads the file into a buffer that is already
// touched: the copy alone.
// Goals: load at least 0.5 x the in-process read's speed; save at least 0.5 x
// the flushed copy's. The growth factor from each size to the next shows a
// path that grows faster than the file; the read's own growth stands beside
// it, as fresh pages cost more per byte at some sizes than at others. A line
// that misses a goal says "over".
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

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// Hands the memory freed so far back to the system, so that what is
// allocated next is touched for the first time.
void ReleaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

#ifndef _WIN32
// One read() of the whole file into `buf` (a new buffer of the file's size
// when it is empty): the least a load that holds the file's bytes can do.
std::size_t ReadOnce(const std::string& file, std::string& buf) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + file);
    struct stat st {};
    ::fstat(fd, &st);
    if (buf.empty()) buf.assign(static_cast<std::size_t>(st.st_size), '\0');
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
        std::printf("%7s %7s | %8s %8s %8s %8s %8s %6s %7s %7s | %8s %8s %6s\n", "topics", "MB", "load", "mean",
                    "read()", "warm", "cp proc", "ratio", "growth", "read gr", "save", "cp+sync", "ratio");
        double previousLoad = 0, previousRead = 0;
        for (const int topics : {5000, 10000, 20000, 40000}) {
            qm::TProject p;
            MakeProject(p, topics);
            Timing save, load, read, warm, cpProcess, copySync;
            std::string warmBuffer;
            double bytes = 0;
            for (int r = 0; r < rounds; ++r) {
                qmbench::TimeInto(save, [&] { p.SaveToFile(file); });
                bytes = static_cast<double>(fs::file_size(file));
                // The load and its anchors in turns, so all see the same machine.
                ReleaseFreedMemory();
                qmbench::TimeInto(load, [&] {
                    qm::TProject q;
                    q.LoadFromFile(file);
                    if (q.Topics.Count() != topics) throw std::runtime_error("the load lost topics");
                });
#ifndef _WIN32
                ReleaseFreedMemory();
                qmbench::TimeInto(read, [&] {
                    std::string fresh;
                    if (ReadOnce(file, fresh) != static_cast<std::size_t>(bytes))
                        throw std::runtime_error("short read");
                });
                if (warmBuffer.empty()) ReadOnce(file, warmBuffer);
                qmbench::TimeInto(warm, [&] {
                    if (ReadOnce(file, warmBuffer) != static_cast<std::size_t>(bytes))
                        throw std::runtime_error("short read");
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
            const double loadRatio = read.best / load.best, saveRatio = copySync.best / save.best;
            char readGrowth[16] = "-";
            if (previousRead > 0) std::snprintf(readGrowth, sizeof readGrowth, "%.2fx", read.best / previousRead);
            std::printf("%7d %7.1f | %7.3fs %7.3fs %7.3fs %7.3fs %7.3fs %5.2fx %7s %7s | %7.3fs %7.3fs %5.2fx%s\n",
                        topics, bytes / 1e6, load.best, load.Mean(), read.best, warm.best, cpProcess.best, loadRatio,
                        qmbench::Growth(previousLoad, load.best).c_str(), readGrowth, save.best, copySync.best,
                        saveRatio, loadRatio < 0.5 || saveRatio < 0.5 ? "  (over)" : "");
            std::fflush(stdout);
            previousLoad = load.best;
            previousRead = read.best;
        }
        std::printf(
            "ratio: the anchor's time (read(), cp+sync) over the load's (or the save's), i.e. the speed as a part of "
            "the anchor's; goal 0.5 or more. warm: the read into a buffer already touched (the copy alone)\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_projectfile: %s\n", e.what());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
}
