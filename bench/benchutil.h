#pragma once
// What the benchmarks share: times of repeated rounds (the best and the mean),
// the process's CPU time and peak memory, and the growth factor from one size
// to the next, so that a path growing faster than its input shows at once.
//
// Other programs share the machine, so wall times swing: each benchmark takes
// turns between its anchor and the measured path, and the best of the rounds
// is the figure to compare. The CPU time beside it counts only this process.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/vfs.h>
#endif

namespace qmbench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// CPU seconds this thread has used.
inline double ThreadCpuSeconds() {
#ifndef _WIN32
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
#else
    return 0;
#endif
}

// The rounds of one measurement.
struct Timing {
    double best = 1e300, sum = 0, bestCpu = 1e300;
    int rounds = 0;
    void Add(double seconds, double cpu = 0) {
        best = std::min(best, seconds);
        bestCpu = std::min(bestCpu, cpu);
        sum += seconds;
        ++rounds;
    }
    double Mean() const { return rounds ? sum / rounds : 0; }
};

// Times `f` once, wall and CPU, into `t`.
template <class F>
void TimeInto(Timing& t, F&& f) {
    const double c0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    f();
    const auto t1 = Clock::now();
    t.Add(Seconds(t0, t1), ThreadCpuSeconds() - c0);
}

// Peak resident size of this process, in MB (0 where unknown): since the
// last ResetPeakRss where the system can reset it, else since the start.
inline double PeakRssMb() {
#ifdef __linux__
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        double kb = -1;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %lf kB", &kb) == 1) break;
        std::fclose(f);
        if (kb >= 0) return kb / 1024.0;
    }
#endif
#ifndef _WIN32
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
#else
    return 0;
#endif
}

// Starts the peak over from the present resident size, so that each
// measurement shows its own peak (the input it reads included) (Linux only; elsewhere the peak keeps the
// process's highest, so measure the smallest size first).
inline void ResetPeakRss() {
#ifdef __GLIBC__
    malloc_trim(0);  // memory freed by the last measurement is no longer resident
#endif
#ifdef __linux__
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
#endif
}

// The growth factor column: "-" for the first size, else this time over the
// previous one, flagged when a doubling of the input costs more than `limit`
// times as much (each size is twice the one before).
inline std::string Growth(double previous, double current, double limit = 2.2) {
    if (previous <= 0) return "-";
    char buf[48];
    const double g = current / previous;
    std::snprintf(buf, sizeof buf, "%.2fx%s", g, g > limit ? " (over)" : "");
    return buf;
}

// Whether `folder` is in memory (tmpfs), where writing files measures no disk
// and no inode allocation of a disk file system.
inline bool IsTmpfs(const std::string& folder) {
#ifdef __linux__
    struct statfs s {};
    return statfs(folder.c_str(), &s) == 0 && s.f_type == 0x01021994;  // TMPFS_MAGIC
#else
    (void)folder;
    return false;
#endif
}

}  // namespace qmbench
