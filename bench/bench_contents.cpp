// The contents file editor in its real window, offscreen: the Open command
// from the file's name to the tree shown and painted, and the Save command
// to the file written, for contents files of 10,000, 20,000 and 40,000
// entries (books three levels deep with their topics, macros, comments and
// includes). Beside each, from the same run, its anchor: reading the file and
// splitting it into its lines for the open, joining the lines and writing the
// file as saves write it for the save; the ratio of the two and the growth
// factor from each size to the next, so a path that grows faster than the
// entries shows at once.
//
// Goal: each within 3 times its anchor; a line that misses ends in "over".
//
//   bench_contents [rounds [entries...]]   (default 5 rounds of every size;
//                                           the best and the mean are printed)
// For instruction counts of the open alone, on a busy machine:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*TimedCommand*' bench_contents 1 10000
#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "benchutil.h"
#include "dialogs/contentsedit.h"
#include "dialogs/dialogfactory.h"
#include "formats/cntfile.h"
#include "model/macros.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/qtuiservices.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace fs = std::filesystem;
using qmbench::Timing;

namespace {

// The real services, but a box or a dialog ends the run: nothing here should
// ask anything, and an offscreen box would wait for ever.
class BenchUi : public qm::QtUiServices {
public:
    QString file;
    qm::MsgResult Message(qm::MsgKind, const QString& text, qm::MsgButtons) override {
        std::fprintf(stderr, "bench_contents: unexpected box: %s\n", text.toLocal8Bit().constData());
        std::exit(2);
    }
    std::optional<QString> OpenFileName(const qm::FileDialogRequest&) override { return file; }
    std::optional<QString> SaveFileName(const qm::FileDialogRequest&) override { return file; }
    int RunDialog(QDialog&) override {
        std::fprintf(stderr, "bench_contents: unexpected dialog\n");
        std::exit(2);
    }
};

// A contents file of about `entries` entries: books of about twenty entries
// on three levels, mostly topics of the project, a macro, a comment and an
// include now and then, in the editor's own form.
std::string MakeContents(const fs::path& file, int entries, int topics) {
    qm::TCntFile cnt;
    cnt.Title = "Bench Help";
    cnt.BaseFile = "bench.hlp";
    std::mt19937 rng(static_cast<unsigned>(entries));
    int made = 0;
    const auto topic = [&](qm::TCntTreeNode* book) {
        auto e = std::make_unique<qm::TCntNode>();
        const int n = static_cast<int>(rng() % static_cast<unsigned>(topics));
        e->Kind = qm::TCntNodeKind::Topic;
        e->Title = "Topic number " + std::to_string(n) + " of the bench help";
        e->TopicId = "T" + std::to_string(n);
        if (n % 7 == 0) e->Window = "second";
        cnt.Tree.AddChild(book, std::move(e));
        ++made;
    };
    const auto other = [&](qm::TCntTreeNode* book, int i) {
        auto e = std::make_unique<qm::TCntNode>();
        if (i % 3 == 0) {
            e->Kind = qm::TCntNodeKind::Macro;
            e->Title = "Run macro " + std::to_string(made);
            e->Macro = "JumpId(`other.hlp',`id" + std::to_string(made) + "')";
        } else {
            e->Kind = qm::TCntNodeKind::Comment;
            e->Title = " a note on entry " + std::to_string(made);
        }
        cnt.Tree.AddChild(book, std::move(e));
        ++made;
    };
    const auto book = [&](qm::TCntTreeNode* parent, const std::string& title) {
        auto e = std::make_unique<qm::TCntNode>();
        e->Kind = qm::TCntNodeKind::Book;
        e->Title = title;
        ++made;
        return cnt.Tree.AddChild(parent, std::move(e));
    };
    for (int chapter = 0; made < entries; ++chapter) {
        qm::TCntTreeNode* b1 = book(nullptr, "Chapter " + std::to_string(chapter));
        for (int section = 0; section < 5 && made < entries; ++section) {
            qm::TCntTreeNode* b2 = book(b1, "Section " + std::to_string(chapter) + "." + std::to_string(section));
            for (int part = 0; part < 4 && made < entries; ++part) {
                qm::TCntTreeNode* b3 = book(b2, "Part " + std::to_string(part));
                for (int i = 0; i < 20 && made < entries; ++i) i % 10 == 9 ? other(b3, i / 10) : topic(b3);
            }
            topic(b2);
        }
        if (chapter % 10 == 9) {
            auto e = std::make_unique<qm::TCntNode>();
            e->Kind = qm::TCntNodeKind::Include;
            e->HelpFile = "more" + std::to_string(chapter) + ".cnt";
            cnt.Tree.AddChild(nullptr, std::move(e));
            ++made;
        }
    }
    if (!cnt.SaveToFile(file.string())) {
        std::fprintf(stderr, "bench_contents: %s\n", cnt.LastError().c_str());
        std::exit(1);
    }
    return file.string();
}

// The timed part, on its own so that a profiler can count it alone.
[[gnu::noinline]] double TimedCommand(QAction* action) {
    const auto t0 = qmbench::Clock::now();
    action->trigger();
    QApplication::processEvents();  // the tree laid out and painted
    return qmbench::Seconds(t0, qmbench::Clock::now());
}

void PrintRow(const char* what, int entries, const Timing& t, const Timing& anchor, double previous) {
    const double ratio = t.best / anchor.best;
    std::printf("%8d %-5s %9.4fs %9.4fs %9.4fs %7.2fx %9s%s\n", entries, what, t.best, t.Mean(), anchor.best, ratio,
                qmbench::Growth(previous, t.best).c_str(), ratio > 3 ? "  over" : "");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::max(10, std::atoi(argv[i])));
    if (sizes.empty()) sizes = {10000, 20000, 40000};
    const fs::path dir = fs::temp_directory_path() / ("qm-bench-contents-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);

    // A project of 10,000 topics, so that the window lists as many.
    const int topics = 10000;
    qm::TProject project;
    project.NewProject();
    for (int i = 0; i < topics; ++i) {
        qm::TTopicNode& n = project.Topics.AddNew();
        n.SetName("T" + std::to_string(i));
        n.SetTitle("Topic number " + std::to_string(i));
        n.ContextId = 5 * (i + 2);
    }
    project.FileName = (dir / "bench.qpf").string();
    const qm::TMacros macros;

    std::printf("The contents file editor (offscreen), best of %d rounds; the anchors read and split, or join and\n"
                "write, the file's lines (goal: within 3x)\n",
                rounds);
    std::printf("%8s %-5s %10s %10s %10s %8s %9s\n", "entries", "", "best", "mean", "anchor", "ratio", "growth");
    double previousOpen = 0, previousSave = 0;
    int rc = 0;
    for (const int entries : sizes) {
        const std::string file = MakeContents(dir / ("bench" + std::to_string(entries) + ".cnt"), entries, topics);
        const std::string saved = (dir / ("saved" + std::to_string(entries) + ".cnt")).string();
        Timing open, save, read, write;
        for (int r = 0; r < rounds; ++r) {
            // The anchors and the window take turns, so all see the same machine.
            qm::StringList lines;
            qmbench::TimeInto(read, [&] { lines = qm::SplitLines(qm::ReadWholeFile(file)); });
            qmbench::TimeInto(write, [&] { qm::WriteFileAtomic(saved, qm::JoinLinesCrLf(lines)); });

            BenchUi ui;
            qm::TDialogFactory factory(ui, dir.string());
            auto editor = std::make_unique<qm::TfrmContentsEdit>(factory, project, macros, false);
            ui.SetParentWidget(editor.get());
            editor->show();
            QApplication::processEvents();
            ui.file = qm::FromCp1252(file);
            open.Add(TimedCommand(editor->actOpen));
            if (editor->ContentsFile().Tree.Count() < entries) {
                std::fprintf(stderr, "bench_contents: the file did not open\n");
                rc = 1;
            }
            // A change to save, as an author would have made.
            editor->ContentsFile().Modified = true;
            ui.file = qm::FromCp1252(saved);
            save.Add(TimedCommand(editor->actSaveAs));
            if (editor->ContentsFile().Modified) {
                std::fprintf(stderr, "bench_contents: the file was not saved\n");
                rc = 1;
            }
            editor.reset();
        }
        PrintRow("open", entries, open, read, previousOpen);
        PrintRow("save", entries, save, write, previousSave);
        std::fflush(stdout);
        previousOpen = open.best;
        previousSave = save.best;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
}
