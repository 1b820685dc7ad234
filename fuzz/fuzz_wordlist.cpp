// Reads random bytes as a word list, the input of the dictionary builder
// (tools/qdfwrite): UTF-8 or Windows-1252, one word a line. Every word kept
// must be storable, and every word skipped not, unless it is a piece of a
// contraction of the list; the dictionary built from the kept words must load
// and find each of them.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "spell/qdfbuilder.h"
#include "spell/qordictionary.h"
#include "util/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    qm::StringList words, skipped;
    qm::ReadWordList(in, words, skipped);
    for (const std::string& w : words)
        if (!qm::IsStorableWord(w)) std::abort();
    qm::StringList pieces;
    for (const std::string& w : skipped)
        if (qm::IsStorableWord(w)) pieces.push_back(w);
    qm::StringList all = words;
    all.insert(all.end(), pieces.begin(), pieces.end());
    if (qm::ContractionPieces(all) != pieces) std::abort();
    std::string qdf;
    try {
        qdf = qm::BuildDictionaryData(words);
    } catch (const qm::Error&) {
        return 0;  // more nodes than a dictionary can address: reported
    }
    qm::TQorDictionary dict;
    dict.LoadFromData(qdf, "fuzz.qdf");
    for (const std::string& w : words)
        if (!dict.Lookup(w)) std::abort();
    return 0;
}
