// Loads arbitrary bytes as a main dictionary, then looks words up and makes
// suggestions, checking what the answers promise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "spell/qordictionary.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Probe(const qm::TQorDictionary& d, std::string_view word) {
    qm::TQorDictionary::TPath path{};
    int depth = -1;
    const bool found = d.Lookup(word, depth, path);
    Check(depth >= 0 && static_cast<std::size_t>(depth) <= word.size() && depth <= qm::TQorDictionary::MaxWordLength);
    Check(!found || static_cast<std::size_t>(depth) == word.size());
    for (int i = 0; i < depth; ++i) Check(path[static_cast<std::size_t>(i)] < d.NodeCount());
    Check(found == d.Lookup(word));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qm::TQorDictionary d;
    try {
        d.LoadFromData(bytes, "fuzz.qdf");
    } catch (const qm::EInvalidDictionary&) {
        Check(d.NodeCount() == 0);
        return 0;
    }
    Check(d.NodeCount() == (size - qm::TQorDictionary::HeaderSize) / 4);

    for (const char* w : {"a", "an", "and", "it's", "Be", "\xE9t\xE9", "zz"}) Probe(d, w);
    Probe(d, std::string(79, 'a'));
    Probe(d, std::string(80, 'a'));

    // A word taken from the free header bytes, so the fuzzer steers it.
    const std::size_t len = static_cast<unsigned char>(bytes[2]) % 12;
    const std::string word(bytes.substr(3, len));
    Probe(d, word);
    qm::StringList list;
    if (!d.IsWord(word, &list)) {
        // Each suggestion is a word, or two words split at a blank.
        for (const std::string& s : list) {
            bool ok = d.Lookup(s);
            for (std::size_t b = s.find(' '); !ok && b != std::string::npos; b = s.find(' ', b + 1))
                ok = d.Lookup(s.substr(0, b)) && d.Lookup(s.substr(b + 1));
            Check(ok);
        }
    }
    return 0;
}
