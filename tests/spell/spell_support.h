#pragma once
// The spell scan's tests: an engine over a tiny main dictionary, answered by
// the scripted dialog of support/scriptedspellui.h.
#include <string>

#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "support/scriptedspellui.h"
#include "util/fileio.h"

namespace qmtest {

// The words every scan test knows.
inline const qm::StringList& KnownWords() {
    static const qm::StringList words = {"a",    "is",   "the", "there", "test",    "world", "hello",
                                         "thee", "text", "te",  "it's",  "caf\xE9", "of",    "and"};
    return words;
}

// An engine whose main dictionary holds KnownWords(), answering through `ui`.
inline void LoadKnownWords(qm::TQorSpellEngine& engine, const std::string& folder) {
    qm::WriteFileAtomic(folder + "/english.qdf", qm::BuildDictionaryData(KnownWords()));
    engine.DictionaryFolder = folder;
    engine.LoadMainDictionary("english");
}

}  // namespace qmtest
