// Spell-check speed: the scan of a 1 MB topic (words from the American
// English word list, about 2 % misspelt, with tags, empty tags, punctuation
// and paragraphs; fixed seed), its dialog answering Ignore to every word. The
// scan is timed on a plain string and, when Qt is built, in the real editor
// control (offscreen). Beside it, hunspell on exactly the words the scan
// looked up, and the suggestions of both for the words the scan reported.
//
//   bench_spellcheck [english.qdf] [word list] [hunspell .aff] [hunspell .dic]
//
// Without an english.qdf beside the program (Dictionaries/english.qdf) the
// dictionary is built from the word list. hunspell is optional (Debian:
// libhunspell-1.7-0 and hunspell-en-us); without it only our figures print.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "hunspell.h"
#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "util/cp1252.h"
#include "util/fileio.h"

#if QM_BENCH_EDITOR
#include <QApplication>

#include "editor/richspelltarget.h"
#include "editor/richtext2.h"
#include "platform/qtcp1252.h"
#endif

namespace {

constexpr std::size_t kTopicBytes = 1024 * 1024;
// hunspell makes about ten suggestion lists a second: both are timed on the
// first reported words only.
constexpr std::size_t kMaxSuggested = 250;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string DefaultDictionary() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "Dictionaries/english.qdf";
    return (exe.parent_path() / "Dictionaries" / "english.qdf").string();
}

// One random edit (delete, insert, replace, exchange) that leaves no word.
std::string Misspell(const std::string& w, std::mt19937& rng, const qm::TQorDictionary& dict) {
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int tries = 0; tries < 50; ++tries) {
        std::string s = w;
        std::uniform_int_distribution<std::size_t> pos(0, s.size() - 1);
        const std::size_t i = pos(rng);
        switch (rng() % 4) {
            case 0: s.erase(i, 1); break;
            case 1: s.insert(i, 1, static_cast<char>(letter(rng))); break;
            case 2: s[i] = static_cast<char>(letter(rng)); break;
            default:
                if (i + 1 < s.size()) std::swap(s[i], s[i + 1]);
                break;
        }
        if (s.size() > 1 && !dict.Lookup(s)) return s;
    }
    return w + "qq";
}

// A topic as authors write them: sentences in paragraphs, some words in
// tags, now and then an empty tag, about 2 % of the words misspelt.
std::string MakeTopic(const qm::StringList& words, const qm::TQorDictionary& dict) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> sentence(4, 18);
    std::string text;
    text.reserve(kTopicBytes + 256);
    int inSentence = sentence(rng);
    int inParagraph = 5;
    bool capital = true;
    while (text.size() < kTopicBytes) {
        std::string w = words[pick(rng)];
        if (percent(rng) < 2 && w.size() > 2) w = Misspell(w, rng, dict);
        if (capital && !w.empty()) w[0] = qm::AsciiUpper(w[0]);
        capital = false;
        const int r = percent(rng);
        if (r < 3)
            text += "<b>" + w + "</b>";
        else if (r < 5)
            text += "<LINK TOPIC=\"" + w + "\">" + w + "</LINK>";
        else if (r < 6)
            text += w + "<>";
        else
            text += w;
        if (--inSentence == 0) {
            text += percent(rng) < 80 ? "." : "?";
            capital = true;
            inSentence = sentence(rng);
            if (--inParagraph == 0) {
                text += '\n';
                inParagraph = 5;
                continue;
            }
        } else if (percent(rng) < 8) {
            text += ',';
        }
        text += ' ';
    }
    return text;
}

// The dialog: Ignore to every word, counting them.
class IgnoreAllUi : public qm::TSpellUi {
public:
    void SetCaption(std::string_view) override {}
    qm::TSpellAnswer Ask(const qm::TSpellQuestion& q) override {
        reported.push_back(q.Word);
        return {qm::TSpellAction::Ignore, {}};
    }
    void Finish() override {}
    qm::StringList reported;
};

struct ScanResult {
    double seconds = 0;
    qm::StringList examined;
    qm::StringList reported;
};

ScanResult ScanOnce(qm::TQorSpellEngine& engine, qm::TSpellTarget& target) {
    IgnoreAllUi ui;
    ScanResult r;
    engine.SetUi(&ui);
    engine.RecordWords(&r.examined);
    engine.ResetLists();
    const auto t0 = Clock::now();
    engine.CheckControl(target);
    r.seconds = Seconds(t0);
    engine.RecordWords(nullptr);
    engine.SetUi(nullptr);
    r.reported = std::move(ui.reported);
    return r;
}

// The faster of two scans: the first also pays for pages of the dictionary
// and the text met for the first time.
ScanResult Scan(qm::TQorSpellEngine& engine, qm::TSpellTarget& target) {
    ScanResult first = ScanOnce(engine, target);
    ScanResult second = ScanOnce(engine, target);
    return first.seconds <= second.seconds ? first : second;
}

void Report(const char* who, const char* what, std::size_t words, double secs, const std::string& extra) {
    std::printf("%-10s %-20s %9zu words in %8.3f s: %12.0f words/s%s\n", who, what, words, secs,
                static_cast<double>(words) / secs, extra.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string qdf = argc > 1 ? argv[1] : DefaultDictionary();
    const std::string list = argc > 2 ? argv[2] : "/usr/share/dict/american-english";
    const std::string aff = argc > 3 ? argv[3] : "/usr/share/hunspell/en_US.aff";
    const std::string dic = argc > 4 ? argv[4] : "/usr/share/hunspell/en_US.dic";

    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("qm_bench_spell_" + std::to_string(::getpid()));
    try {
        qm::StringList words;
        qm::StringList skipped;
        qm::ReadWordList(qm::ReadWholeFile(list), words, skipped);
        if (words.empty()) {
            std::fprintf(stderr, "bench_spellcheck: no words in %s\n", list.c_str());
            return 1;
        }
        qm::TQorSpellEngine engine;
        if (qm::FileExists(qdf)) {
            engine.DictionaryFolder = qm::ExtractFilePath(qdf);
            engine.LoadMainDictionary(qm::RemoveExtension(qm::ExtractFileName(qdf)));
            std::printf("dictionary: %s\n", qdf.c_str());
        } else {
            std::filesystem::create_directories(scratch);
            qm::WriteFileAtomic((scratch / "english.qdf").string(), qm::BuildDictionaryData(words));
            engine.DictionaryFolder = scratch.string();
            engine.LoadMainDictionary("english");
            std::printf("dictionary: built from %s\n", list.c_str());
        }
        const std::string topic = MakeTopic(words, *engine.Dictionary());
        std::printf("topic: %zu bytes, %zu paragraphs\n", topic.size(),
                    static_cast<std::size_t>(std::count(topic.begin(), topic.end(), '\n')) + 1);

        qm::TStringSpellTarget text(topic);
        const ScanResult core = Scan(engine, text);
        Report("qm", "scan (string)", core.examined.size(), core.seconds,
               " (" + std::to_string(core.reported.size()) + " reported)");

#if QM_BENCH_EDITOR
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int qargc = 1;
        char name[] = "bench_spellcheck";
        char* qargv[] = {name, nullptr};
        QApplication app(qargc, qargv);
        {
            qm::TRichText2 editor;
            editor.resize(800, 600);
            editor.setPlainText(qm::FromCp1252(topic));
            qm::TRichTextSpellTarget target(editor);
            const ScanResult rich = Scan(engine, target);
            Report("qm", "scan (TRichText2)", rich.examined.size(), rich.seconds,
                   " (" + std::to_string(rich.reported.size()) + " reported)");
            if (rich.examined != core.examined)
                std::printf("note: the editor's scan looked up other words than the string's\n");
        }
#else
        std::printf("qm         scan (TRichText2)    not built (no Qt)\n");
#endif

        // Suggestions for the words the scan reported.
        const std::size_t nSuggest = std::min(core.reported.size(), kMaxSuggested);
        qm::StringList sugg;
        std::size_t ourLists = 0;
        auto t0 = Clock::now();
        for (std::size_t i = 0; i < nSuggest; ++i) {
            engine.Dictionary()->Suggest(core.reported[i], sugg);
            ourLists += sugg.size();
        }
        const double ourSuggest = Seconds(t0);
        char mean[64];
        std::snprintf(mean, sizeof mean, " (mean %.1f suggestions)",
                      nSuggest ? static_cast<double>(ourLists) / static_cast<double>(nSuggest) : 0.0);
        std::printf("suggestions for the first %zu of the %zu reported words\n", nSuggest, core.reported.size());
        Report("qm", "suggest", nSuggest, ourSuggest, mean);

#if defined(__unix__)
        Hunspell hun;
        if (!hun.Open(aff, dic)) {
            std::printf("hunspell   not available (Debian packages hunspell and hunspell-en-us): no comparison\n");
        } else {
            std::vector<std::string> utf8;
            utf8.reserve(core.examined.size());
            for (const std::string& w : core.examined) utf8.push_back(qm::Cp1252ToUtf8(w));
            t0 = Clock::now();
            std::size_t found = 0;
            for (const std::string& w : utf8) found += hun.spell(hun.handle, w.c_str()) ? 1 : 0;
            const double hunLookup = Seconds(t0);
            // The scan looks words up in lower case, so hunspell misses names.
            Report("hunspell", "spell (same words)", utf8.size(), hunLookup,
                   " (" + std::to_string(utf8.size() - found) + " not found)");

            t0 = Clock::now();
            std::size_t hunLists = 0;
            for (std::size_t i = 0; i < nSuggest; ++i) {
                char** out = nullptr;
                const std::string w = qm::Cp1252ToUtf8(core.reported[i]);
                const int n = hun.suggest(hun.handle, &out, w.c_str());
                hunLists += static_cast<std::size_t>(n > 0 ? n : 0);
                hun.freeList(hun.handle, &out, n);
            }
            const double hunSuggest = Seconds(t0);
            std::snprintf(mean, sizeof mean, " (mean %.1f suggestions)",
                          nSuggest ? static_cast<double>(hunLists) / static_cast<double>(nSuggest) : 0.0);
            Report("hunspell", "suggest", nSuggest, hunSuggest, mean);
            std::printf("scan (string) vs hunspell spell: %.2f x; suggestions: %.0f x hunspell\n",
                        (static_cast<double>(core.examined.size()) / core.seconds) /
                            (static_cast<double>(utf8.size()) / hunLookup),
                        hunSuggest / ourSuggest);
        }
#else
        (void)aff;
        (void)dic;
        std::printf("hunspell   comparison only on POSIX systems\n");
#endif
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
        return 0;
    } catch (const std::exception& e) {
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
        std::fprintf(stderr, "bench_spellcheck: %s\n", e.what());
        return 1;
    }
}
