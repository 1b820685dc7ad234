// Main dictionary speed: looks up every word of a 1,000,000-word English text
// and makes suggestions for 1,000 misspellings, printing words per second.
// Beside it, when libhunspell and Debian's en_US dictionary are installed
// (packages libhunspell-1.7-0 and hunspell-en-us), the same work through
// hunspell, loaded at run time so that the benchmark builds without it.
//
// Suggestion quality: for the 1,000 common misspellings of misspellings.txt
// (beside this file), how often the intended word is among the first five
// suggestions, ours beside hunspell's on the same list (goal: at least
// hunspell's). Without hunspell the line says its figure is missing; to get
// it: apt-get install libhunspell-1.7-0 hunspell-en-us.
//
//   bench_dictionary [english.qdf] [word list] [hunspell .aff] [hunspell .dic] [misspellings]
//
// Without an english.qdf beside the program (Dictionaries/english.qdf), the
// dictionary is built in memory from the word list.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "hunspell.h"
#include "spell/qdfbuilder.h"
#include "spell/qordictionary.h"
#include "util/cp1252.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

#ifndef QM_BENCH_MISSPELLINGS
#define QM_BENCH_MISSPELLINGS "misspellings.txt"
#endif

namespace {

constexpr std::size_t kTextWords = 1000000;
constexpr std::size_t kMisspellings = 1000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

struct Word {
    std::string ansi;  // Windows-1252, for our dictionary
    std::string utf8;  // for hunspell
};

std::string DefaultDictionary() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "Dictionaries/english.qdf";
    return (exe.parent_path() / "Dictionaries" / "english.qdf").string();
}

// One random edit (delete, insert, replace, exchange) that leaves no word.
std::string Misspell(const std::string& w, std::mt19937& rng, const qm::TQorDictionary& dict) {
    std::uniform_int_distribution<int> letter('a', 'z');
    for (;;) {
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
}

// A misspelling and the word meant.
struct Misspelling {
    std::string wrong;
    std::string meant;
};

// The pairs of the list: the misspelling, a blank, the intended word (which
// may hold a blank itself); '#' starts a comment line.
std::vector<Misspelling> ReadMisspellings(const std::string& path) {
    std::vector<Misspelling> pairs;
    for (const std::string& raw : qm::SplitLines(qm::ReadWholeFile(path, std::uintmax_t{1} << 20))) {
        const std::string line = qm::Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        pairs.push_back({line.substr(0, blank), qm::Trim(line.substr(blank + 1))});
    }
    return pairs;
}

constexpr std::size_t kTopSuggestions = 5;

// True when `meant` is among the first five of `list` (ignoring case).
template <class List>
bool InTopFive(const List& list, std::size_t count, const std::string& meant) {
    for (std::size_t i = 0; i < count && i < kTopSuggestions; ++i)
        if (qm::SameText(list[i], meant)) return true;
    return false;
}

void Report(const char* who, const char* what, std::size_t words, double secs, std::size_t hits, const char* hitName) {
    std::printf("%-10s %-12s %9zu words in %8.3f s: %12.0f words/s (%zu %s)\n", who, what, words, secs,
                static_cast<double>(words) / secs, hits, hitName);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string qdf = argc > 1 ? argv[1] : DefaultDictionary();
    const std::string list = argc > 2 ? argv[2] : "/usr/share/dict/american-english";
    const std::string aff = argc > 3 ? argv[3] : "/usr/share/hunspell/en_US.aff";
    const std::string dic = argc > 4 ? argv[4] : "/usr/share/hunspell/en_US.dic";
    const std::string misspellings = argc > 5 ? argv[5] : QM_BENCH_MISSPELLINGS;

    try {
        qm::StringList ansiWords;
        qm::StringList skipped;
        qm::ReadWordListFile(list, ansiWords, skipped);
        std::vector<Word> words;
        for (const std::string& w : ansiWords) words.push_back({w, qm::Cp1252ToUtf8(w)});
        if (words.empty()) {
            std::fprintf(stderr, "bench_dictionary: no words in %s\n", list.c_str());
            return 1;
        }

        qm::TQorDictionary dict;
        if (qm::FileExists(qdf)) {
            dict.LoadFromFile(qdf);
            std::printf("dictionary: %s (%zu nodes)\n", qdf.c_str(), dict.NodeCount());
        } else {
            dict.LoadFromData(qm::BuildDictionaryData(ansiWords), "memory");
            std::printf("dictionary: built from %s (%zu nodes)\n", list.c_str(), dict.NodeCount());
        }

        // The text: words drawn at random from the list, with a fixed seed.
        std::mt19937 rng(20261210);
        std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
        // Held as one running text, as the spell scan meets it: Windows-1252
        // words for our dictionary, and the same words in UTF-8, each ended
        // by a NUL, for hunspell.
        std::string ansiText;
        std::string utf8Text;
        std::vector<std::string_view> textWords;
        std::vector<std::size_t> utf8Starts;
        textWords.reserve(kTextWords);
        utf8Starts.reserve(kTextWords);
        std::vector<std::size_t> ansiStarts;
        ansiStarts.reserve(kTextWords);
        for (std::size_t i = 0; i < kTextWords; ++i) {
            const Word& w = words[pick(rng)];
            ansiStarts.push_back(ansiText.size());
            ansiText += w.ansi;
            ansiText += ' ';
            utf8Starts.push_back(utf8Text.size());
            utf8Text += w.utf8;
            utf8Text += '\0';
        }
        for (std::size_t i = 0; i < kTextWords; ++i) {
            const std::size_t end = i + 1 < kTextWords ? ansiStarts[i + 1] - 1 : ansiText.size() - 1;
            textWords.push_back(std::string_view(ansiText).substr(ansiStarts[i], end - ansiStarts[i]));
        }

        std::vector<Word> misspelt;
        while (misspelt.size() < kMisspellings) {
            const Word& w = words[pick(rng)];
            if (w.ansi.size() < 4 || w.ansi.size() != w.utf8.size()) continue;  // ASCII words of 4 letters or more
            Word m;
            m.ansi = Misspell(w.ansi, rng, dict);
            m.utf8 = m.ansi;
            misspelt.push_back(std::move(m));
        }

        auto t0 = Clock::now();
        std::size_t found = 0;
        for (const std::string_view w : textWords) found += dict.IsWord(w) ? 1 : 0;
        const double ourLookup = Seconds(t0);
        Report("qm", "lookup", textWords.size(), ourLookup, found, "found");

        t0 = Clock::now();
        std::size_t suggestions = 0;
        qm::StringList sugg;
        for (const Word& m : misspelt) {
            dict.Suggest(m.ansi, sugg);
            suggestions += sugg.size();
        }
        const double ourSuggest = Seconds(t0);
        Report("qm", "suggest", misspelt.size(), ourSuggest, suggestions, "suggestions");

        const std::vector<Misspelling> common = ReadMisspellings(misspellings);
        // The list holds misspellings of words of the dictionary only.
        std::size_t unfit = 0;
        for (const Misspelling& m : common) {
            bool meantKnown = true;
            for (std::size_t a = 0, b = 0; a <= m.meant.size(); a = b + 1) {
                b = std::min(m.meant.find(' ', a), m.meant.size());
                meantKnown = meantKnown && dict.Lookup(std::string_view(m.meant).substr(a, b - a));
            }
            unfit += dict.Lookup(m.wrong) || !meantKnown ? 1 : 0;
        }
        if (unfit) std::printf("note: %zu pairs of %s do not fit this dictionary\n", unfit, misspellings.c_str());
        std::size_t ourTop = 0;
        std::size_t ourFirst = 0;
        for (const Misspelling& m : common) {
            dict.Suggest(m.wrong, sugg);
            ourTop += InTopFive(sugg, sugg.size(), m.meant) ? 1 : 0;
            ourFirst += !sugg.empty() && qm::SameText(sugg.front(), m.meant) ? 1 : 0;
        }
        auto percent = [&](std::size_t n) { return common.empty() ? 0.0 : 100.0 * n / common.size(); };

#if defined(__unix__)
        Hunspell hun;
        if (!hun.Open(aff, dic)) {
            std::printf("hunspell   not available (libhunspell-1.7-0 and hunspell-en-us): no comparison\n");
            std::printf(
                "suggestion quality: the intended word is among the first %zu suggestions for %.1f %% of %zu "
                "misspellings (first: %.1f %%); goal: at least hunspell's figure, not measured (apt-get install "
                "libhunspell-1.7-0 hunspell-en-us)\n",
                kTopSuggestions, percent(ourTop), common.size(), percent(ourFirst));
            return 0;
        }
        t0 = Clock::now();
        std::size_t hunFound = 0;
        for (const std::size_t start : utf8Starts) hunFound += hun.spell(hun.handle, utf8Text.data() + start) ? 1 : 0;
        const double hunLookup = Seconds(t0);
        Report("hunspell", "lookup", textWords.size(), hunLookup, hunFound, "found");

        t0 = Clock::now();
        std::size_t hunSuggestions = 0;
        for (const Word& m : misspelt) {
            char** out = nullptr;
            const int n = hun.suggest(hun.handle, &out, m.utf8.c_str());
            hunSuggestions += static_cast<std::size_t>(n > 0 ? n : 0);
            hun.freeList(hun.handle, &out, n);
        }
        const double hunSuggest = Seconds(t0);
        Report("hunspell", "suggest", misspelt.size(), hunSuggest, hunSuggestions, "suggestions");

        std::printf("lookup speed: %.1f x hunspell; suggestion speed: %.1f x hunspell\n", hunLookup / ourLookup,
                    hunSuggest / ourSuggest);

        std::size_t hunTop = 0;
        std::size_t hunFirst = 0;
        for (const Misspelling& m : common) {
            char** out = nullptr;
            const std::string w = qm::Cp1252ToUtf8(m.wrong);
            const int n = hun.suggest(hun.handle, &out, w.c_str());
            const std::string meant = qm::Cp1252ToUtf8(m.meant);
            hunTop += n > 0 && InTopFive(out, static_cast<std::size_t>(n), meant) ? 1 : 0;
            hunFirst += n > 0 && qm::SameText(out[0], meant) ? 1 : 0;
            hun.freeList(hun.handle, &out, n);
        }
        std::printf(
            "suggestion quality: the intended word is among the first %zu suggestions for %.1f %% of %zu "
            "misspellings (goal: at least hunspell's %.1f %%)%s; first suggestion: qm %.1f %%, hunspell %.1f %%\n",
            kTopSuggestions, percent(ourTop), common.size(), percent(hunTop), ourTop < hunTop ? " (over)" : "",
            percent(ourFirst), percent(hunFirst));
#else
        (void)aff;
        (void)dic;
        std::printf("hunspell   comparison only on POSIX systems\n");
#endif
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_dictionary: %s\n", e.what());
        return 1;
    }
}
