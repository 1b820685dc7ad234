// Spell Check All over a project of 10,000 topics with no misspelling: about
// 300 words of the American English word list a topic, in RTF of the editor's
// dialect, with bold runs, links (tags the scan skips), punctuation and
// paragraphs (fixed seed).
//
// The scan is timed as the command runs it: the engine's lists reset once,
// then one check of each module's text, on a plain string and, when Qt is
// built, in the real editor control (the module's RTF loaded first, untimed,
// as bench_spellcheck does). The anchor is the dictionary's look-up of the
// same words, in the same order. With Qt it also times the whole command in
// the real main window (offscreen), which opens every topic in the editor.
//
// Goal: the scan, and the whole command, within 3 x the anchor. The anchor
// takes turns with each scan, and each figure is the best of a few rounds:
// the machine is shared and times swing.
//
//   bench_spellcheckall [english.qdf] [word list]
//
// QM_BENCH_NO_WINDOW=1 leaves out the main window's line (the slow one).
//
// Without an english.qdf beside the program (Dictionaries/english.qdf) the
// dictionary is built from the word list.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/topics.h"
#include "richtext/richdoc.h"
#include "search/modulesearch.h"
#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "util/cp1252.h"
#include "util/fileio.h"

#if QM_BENCH_EDITOR
#include <QApplication>

#include "editor/richspelltarget.h"
#include "editor/richtext2.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/spellcommands.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/qtuiservices.h"
#include "util/settingsstore.h"
#endif

namespace {

constexpr int kTopics = 10000;
constexpr int kWordsPerTopic = 300;
constexpr double kGoal = 3.0;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string DefaultDictionary() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "Dictionaries/english.qdf";
    return (exe.parent_path() / "Dictionaries" / "english.qdf").string();
}

// A topic as authors write them, every word spelt right: sentences in
// paragraphs, some words bold, some in links.
std::string MakeTopic(std::mt19937& rng, const qm::StringList& words) {
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> sentence(4, 18);
    std::string body;
    int inSentence = sentence(rng);
    bool capital = true;
    for (int i = 0; i < kWordsPerTopic; ++i) {
        std::string w = words[pick(rng)];
        if (capital) w[0] = qm::AsciiUpper(w[0]);
        capital = false;
        const int r = percent(rng);
        if (r < 4)
            body += "{\\b " + w + "}";
        else if (r < 6)
            body += "<LINK TOPIC=\"Topic" + std::to_string(pick(rng) % kTopics) + "\">" + w + "</LINK>";
        else
            body += w;
        if (--inSentence == 0) {
            body += percent(rng) < 80 ? "." : "?";
            capital = true;
            inSentence = sentence(rng);
            if (percent(rng) < 25) body += "\\par\r\n";
        } else if (percent(rng) < 8) {
            body += ',';
        }
        body += ' ';
    }
    return qm::NormalizeRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\f0\\fs20 " + body + "\\par}");
}

// The dialog: never asked, for no word is misspelt; it counts what it is asked.
class CountingUi : public qm::TSpellUi {
public:
    void SetCaption(std::string_view) override {}
    qm::TSpellAnswer Ask(const qm::TSpellQuestion&) override {
        ++asked;
        return {qm::TSpellAction::Ignore, {}};
    }
    void Finish() override {}
    int asked = 0;
};

struct Best {
    double seconds = 1e300;
    void Add(double s) { seconds = std::min(seconds, s); }
};

// The anchor: the dictionary's look-up of `words`, in their order.
double TimeLookup(const qm::TQorDictionary& dict, const qm::StringList& words, std::size_t* found = nullptr) {
    const auto t0 = Clock::now();
    std::size_t n = 0;
    for (const std::string& w : words) n += dict.Lookup(w) ? 1 : 0;
    const double seconds = Seconds(t0);
    if (found) *found = n;
    return seconds;
}

void Line(const char* what, std::size_t words, double seconds, double anchor) {
    const double ratio = seconds / anchor;
    std::printf("%-34s %9zu words in %8.3f s: %5.2f x the look-up's %.3f s (goal %.0f x)%s\n", what, words, seconds,
                ratio, anchor, kGoal, ratio > kGoal ? " (over)" : "");
}

#if QM_BENCH_EDITOR
// Boxes are answered with their default; the check shows only its last one.
class BenchUi : public qm::QtUiServices {
public:
    qm::MsgResult Message(qm::MsgKind, const QString& text, qm::MsgButtons buttons) override {
        last = text;
        return buttons == qm::MsgButtons::Ok ? qm::MsgResult::Ok : qm::MsgResult::No;
    }
    QString last;
};

// The command in the real main window, opening each topic in the editor.
void TimeMainWindow(const qm::TTopics& topics, const std::string& qdf, double anchor, std::size_t words) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("qm_bench_spellall_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "Dictionaries");
    std::filesystem::copy_file(qdf, root / "Dictionaries" / "english.qdf");
    {
        qm::TProject project;
        project.NewProject();
        project.Topics.Clear();
        for (const auto& node : topics) project.Topics.AddNode(std::make_unique<qm::TTopicNode>(*node));
        project.SaveToFile((root / "bench.qpf").string());

        BenchUi ui;
        qm::MemorySettingsStore settings;
        qm::TMainWindowEnv env;
        env.Ui = &ui;
        env.Settings = &settings;
        env.ProgramFolder = root.string() + "/";
        env.TempFolder = root.string() + "/";
        env.WaitScale = 0;
        qm::TfrmMain window(env);
        ui.SetParentWidget(&window);
        if (!window.Startup({qm::FromCp1252((root / "bench.qpf").string())})) {
            std::printf("main window: the project did not open\n");
        } else {
            Best all;
            for (int round = 0; round < 2; ++round) {
                ui.last.clear();
                const auto t0 = Clock::now();
                window.SpellCommands().actCheckSpellAllExecute();
                all.Add(Seconds(t0));
            }
            const double ratio = all.seconds / anchor;
            std::printf(
                "%-34s %9zu words in %8.3f s: %5.2f x the look-up's %.3f s (goal %.0f x)%s, %.3f ms a topic "
                "(\"%s\")\n",
                "whole command (main window)", words, all.seconds, ratio, anchor, kGoal, ratio > kGoal ? " (over)" : "",
                1000.0 * all.seconds / topics.Count(), ui.last.toUtf8().constData());
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const std::string qdf = argc > 1 ? argv[1] : DefaultDictionary();
    const std::string list = argc > 2 ? argv[2] : "/usr/share/dict/american-english";
    try {
        qm::StringList all;
        qm::StringList skipped;
        qm::ReadWordListFile(list, all, skipped);
        qm::TQorDictionary dict;
        if (qm::FileExists(qdf)) {
            dict.LoadFromFile(qdf);
            std::printf("dictionary: %s\n", qdf.c_str());
        } else {
            dict.LoadFromData(qm::BuildDictionaryData(all), "memory");
            std::printf("dictionary: built from %s\n", list.c_str());
        }
        // Words the dictionary knows, in ASCII (the topics' RTF stays plain).
        qm::StringList words;
        for (const std::string& w : all)
            if (std::all_of(w.begin(), w.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) &&
                dict.Lookup(w))
                words.push_back(w);

        std::mt19937 rng(20261211);
        qm::TTopics topics;
        std::size_t rtfBytes = 0;
        for (int i = 0; i < kTopics; ++i) {
            qm::TTopicNode& node = topics.AddNew();
            node.SetName("Topic" + std::to_string(i));
            node.Text = MakeTopic(rng, words);
            rtfBytes += node.Text.size();
        }
        // The modules' texts as the editor holds them.
        std::vector<qm::TStringSpellTarget> texts;
        texts.reserve(kTopics);
        for (const auto& node : topics) texts.emplace_back(qm::Utf16ToCp1252(qm::ModulePlainText(node->Text)));
        std::printf("%d topics, %.1f MB of RTF\n", kTopics, static_cast<double>(rtfBytes) / (1 << 20));

        qm::TQorSpellEngine engine;
        std::filesystem::path folder = std::filesystem::path(qdf).parent_path();
        const std::filesystem::path scratch =
            std::filesystem::temp_directory_path() / ("qm_bench_spellall_dict_" + std::to_string(::getpid()));
        if (!qm::FileExists(qdf)) {
            std::filesystem::create_directories(scratch);
            qm::WriteFileAtomic((scratch / "english.qdf").string(), qm::BuildDictionaryData(all));
            folder = scratch;
        }
        engine.DictionaryFolder = folder.string();
        engine.LoadMainDictionary(qm::RemoveExtension(qm::ExtractFileName(qdf.empty() ? "english.qdf" : qdf)));
        CountingUi ui;
        engine.SetUi(&ui);

        // The words the scan looks up, recorded in a run of their own.
        qm::StringList examined;
        engine.RecordWords(&examined);
        engine.ResetLists();
        for (qm::TStringSpellTarget& t : texts) engine.CheckControl(t);
        engine.RecordWords(nullptr);
        std::printf("%zu words looked up, %d reported\n", examined.size(), ui.asked);

        constexpr int kRounds = 5;
        Best anchor;
        Best scan;
        std::size_t found = 0;
        for (int round = 0; round < kRounds; ++round) {
            anchor.Add(TimeLookup(dict, examined, &found));

            const auto t0 = Clock::now();
            engine.ResetLists();
            for (qm::TStringSpellTarget& t : texts) engine.CheckControl(t);
            scan.Add(Seconds(t0));
        }
        std::printf("%-34s %9zu words in %8.3f s (%zu found)\n", "anchor: dictionary look-up", examined.size(),
                    anchor.seconds, found);
        Line("scan of each module (string)", examined.size(), scan.seconds, anchor.seconds);

#if QM_BENCH_EDITOR
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int qargc = 1;
        char name[] = "bench_spellcheckall";
        char* qargv[] = {name, nullptr};
        QApplication app(qargc, qargv);
        {
            qm::TRichText2 editor;
            editor.resize(800, 600);
            // As the command does: the selection is shown for the whole check.
            editor.SetHideSelection(false);
            Best rich;
            qm::StringList richWords;
            for (int round = 0; round < 4; ++round) {
                anchor.Add(TimeLookup(dict, examined));
                double seconds = 0;
                engine.ResetLists();
                engine.RecordWords(round == 0 ? &richWords : nullptr);
                for (const auto& node : topics) {
                    editor.SetRtfText(node->Text);
                    const auto t0 = Clock::now();
                    qm::TRichTextSpellTarget target(editor);
                    engine.CheckControl(target);
                    seconds += Seconds(t0);
                }
                engine.RecordWords(nullptr);
                if (round > 0) rich.Add(seconds);
            }
            Line("scan of each module (TRichText2)", richWords.size(), rich.seconds, anchor.seconds);
            if (richWords != examined) std::printf("note: the editor's scan looked up other words than the string's\n");
        }
        engine.SetUi(nullptr);
        if (qEnvironmentVariableIsEmpty("QM_BENCH_NO_WINDOW"))
            TimeMainWindow(topics, (folder / "english.qdf").string(), anchor.seconds, examined.size());
#else
        std::printf("scan in the editor and the main window not built (no Qt)\n");
#endif
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_spellcheckall: %s\n", e.what());
        return 1;
    }
}
