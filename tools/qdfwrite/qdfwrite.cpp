// qdfwrite: builds a main spelling dictionary (".qdf") from a word list.
//
//   qdfwrite <word list> <output.qdf>
//
// The list holds one word a line, in UTF-8 or Windows-1252 (UTF-8 when the
// whole file is valid UTF-8). Words are folded to lower case A-Z. Words the
// dictionary cannot hold (characters outside the spell scan's word characters,
// such as digits, blanks, capital accented letters or letters Windows-1252
// lacks, or more than 79 characters) are skipped and counted, and so are the
// pieces of contractions that are no words on their own (the "NT" that folds
// to the "nt" of "don't").
#include <cstdio>
#include <exception>
#include <set>
#include <string>

#include "spell/qdfbuilder.h"
#include "util/cp1252.h"
#include "util/fileio.h"
#include "util/qorstring.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qdfwrite <word list> <output.qdf>\n");
        return 2;
    }
    try {
        qm::StringList words;
        qm::StringList skipped;
        qm::ReadWordListFile(argv[1], words, skipped);
        const std::string data = qm::BuildDictionaryData(words);
        qm::WriteFileAtomic(argv[2], data);

        std::set<std::string> distinct;
        for (const std::string& w : words) distinct.insert(qm::AsciiLowerStr(w));
        std::printf("qdfwrite: %zu words, %zu nodes, %zu bytes -> %s\n", distinct.size(), (data.size() - 128) / 4,
                    data.size(), argv[2]);
        if (!skipped.empty()) {
            std::printf("qdfwrite: skipped %zu words the dictionary cannot hold or that are pieces of contractions:",
                        skipped.size());
            for (std::size_t i = 0; i < skipped.size() && i < 10; ++i)
                std::printf(" %s", qm::Cp1252ToUtf8(skipped[i]).c_str());
            std::printf(skipped.size() > 10 ? " ...\n" : "\n");
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qdfwrite: %s\n", e.what());
        return 1;
    }
}
