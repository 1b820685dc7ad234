// Start-up with a project on the command line: from starting the program to
// its main window shown (painted once), offscreen, with projects of 10,000,
// 20,000 and 40,000 topics. Each round starts a new process, as a user does,
// so the program's loading, the toolkit's set-up and the font list are
// counted; the process is this benchmark run as "--child", which builds the
// window as the program's main() does (the settings in memory, the program
// folder beside this benchmark, so the dictionary and the macro catalogue are
// the built ones) and reports the moment of the first paint. The anchor,
// in turns with it: the core's load of the same file in this process.
//
// The start-up sequence keeps three status texts of the splash up for at
// least 35 ms each before the window shows (the splash itself stays 1.5 s,
// but the window shows before it goes). Those holds are counted, less the
// work done while they last; "- holds" leaves out all 105 ms of them.
//
// Goal: 20,000 topics shown in under 0.5 s; a line that misses says "over".
// Growth from each size to the next shows a path that grows faster than the
// topics.
//
//   bench_startup [rounds [topics...]]   (default 3 rounds of each size)
#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "benchproject.h"
#include "benchutil.h"
#include "mainwindow/mainwindow.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/qtuiservices.h"
#include "util/settingsstore.h"

namespace fs = std::filesystem;
using qmbench::Clock;

namespace {

constexpr double kStatusHolds = 3 * 0.035;  // the status texts held before the window shows
constexpr int kGoalTopics = 20000;
constexpr double kGoalSeconds = 0.5;

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// The real services, but a box or a dialog ends the run: nothing here should
// ask anything, and an offscreen box would wait for ever.
class ChildUi : public qm::QtUiServices {
public:
    qm::MsgResult Message(qm::MsgKind, const QString& text, qm::MsgButtons) override {
        std::fprintf(stderr, "bench_startup: unexpected box: %s\n", text.toLocal8Bit().constData());
        std::_Exit(2);
    }
    int RunDialog(QDialog&) override {
        std::fprintf(stderr, "bench_startup: unexpected dialog\n");
        std::_Exit(2);
    }
};

// Reports the end of the main window's first paint once it is visible, and
// ends the process there: what follows (the splash's remaining time) is not
// start-up to the window shown.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::int64_t created) : created_(created) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* w = static_cast<QWidget*>(watched);
        if (e->type() != QEvent::UpdateRequest || !w->isVisible()) return false;
        w->removeEventFilter(this);
        QCoreApplication::sendEvent(w, e);  // the paint itself, so that its end is what is timed
        std::printf("%lld %lld\n", static_cast<long long>(created_), static_cast<long long>(NowNs()));
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    std::int64_t created_;
};

int Child(int argc, char** argv) {
    // argv: --child <project> <work folder>
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    const fs::path work = argv[3];
    ChildUi ui;
    qm::MemorySettingsStore settings;
    qm::TMainWindowEnv env;
    env.Ui = &ui;
    env.Settings = &settings;
    env.ProgramFolder = qm::ToCp1252(QCoreApplication::applicationDirPath());
    env.PersonalDictionaryFolder = (work / "dict").string();
    env.TempFolder = (work / "tmp").string();
    qm::TfrmMain window(env);
    ui.SetParentWidget(&window);
    FirstPaint probe(NowNs());
    window.installEventFilter(&probe);
    window.Startup({QString::fromLocal8Bit(argv[2])});
    std::fprintf(stderr, "bench_startup: the window never painted\n");
    return 1;
}

#ifndef _WIN32
// Runs this program as a child for `file`; gives the seconds from the spawn to
// the window shown, and from the spawn to the window made (0, 0 on failure).
std::pair<double, double> TimedStart(const std::string& self, const std::string& file, const fs::path& work) {
    const fs::path out = work / "child.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const fs::path err = work / "child-errors.txt";
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string a0 = self, a1 = "--child", a2 = file, a3 = work.string();
    char* args[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
    const std::int64_t start = NowNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {0, 0};
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        // What the child said goes on to this program's errors.
        if (std::FILE* f = std::fopen(err.c_str(), "r")) {
            char line[512];
            while (std::fgets(line, sizeof line, f)) std::fputs(line, stderr);
            std::fclose(f);
        }
        return {0, 0};
    }
    long long made = 0, shown = 0;
    if (std::FILE* f = std::fopen(out.c_str(), "r")) {
        if (std::fscanf(f, "%lld %lld", &made, &shown) != 2) made = shown = 0;
        std::fclose(f);
    }
    if (shown == 0) return {0, 0};
    return {(shown - start) * 1e-9, (made - start) * 1e-9};
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") return Child(argc, argv);
#ifdef _WIN32
    std::fprintf(stderr, "bench_startup: runs on POSIX systems only\n");
    return 1;
#else
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::max(2, std::atoi(argv[i])));
    if (sizes.empty()) sizes = {10000, 20000, 40000};
    const std::string self = fs::canonical("/proc/self/exe").string();
    const fs::path dir = fs::temp_directory_path() / ("qm-bench-startup-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir / "tmp");
    std::printf(
        "Start-up to the main window shown (offscreen, a new process a round), %d rounds; the anchor is the "
        "core's load of the same file\n",
        rounds);
    std::printf("%8s %10s %10s %10s %10s %10s %8s %8s\n", "topics", "shown", "mean", "- holds", "window made", "load",
                "ratio", "growth");
    int rc = 0;
    double previous = 0;
    for (const int topics : sizes) {
        const std::string file = qmbench::MakeLargeProject(dir, topics, "startup");
        qmbench::Timing shown, made, load;
        for (int r = 0; r < rounds; ++r) {
            // The anchor and the start-up take turns, so both see the same machine.
            qmbench::TimeInto(load, [&] {
                qm::TProject p;
                p.LoadFromFile(file);
            });
            const auto [toShown, toMade] = TimedStart(self, file, dir);
            if (toShown <= 0) {
                std::fprintf(stderr, "bench_startup: the program did not start\n");
                rc = 1;
                break;
            }
            shown.Add(toShown);
            made.Add(toMade);
        }
        if (rc) break;
        const bool goal = topics != kGoalTopics || shown.best < kGoalSeconds;
        std::printf("%8d %9.3fs %9.3fs %9.3fs %9.3fs %9.3fs %7.1fx %8s%s\n", topics, shown.best, shown.Mean(),
                    shown.best - kStatusHolds, made.best, load.best, shown.best / load.best,
                    qmbench::Growth(previous, shown.best).c_str(), goal ? "" : "  (over)");
        std::fflush(stdout);
        previous = shown.best;
        fs::remove(file);
    }
    std::printf(
        "shown: from starting the process to the end of the window's first paint, the splash's status texts held "
        "(3 x 35 ms, less the work done meanwhile) included; - holds: less all 105 ms of them; window made: the "
        "process running and the main window built, before its start-up sequence; goal for %d topics: under "
        "%.1f s\n",
        kGoalTopics, kGoalSeconds);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
#endif
}
