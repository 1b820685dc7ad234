#pragma once
// The spell engine: checks a text word by word against the main dictionary
// and a personal word list, skipping the tags of the topic language, and asks
// the user about each word it does not know (spelltarget.h has the text's and
// the user's interfaces). One engine serves the whole program.
//
// Main dictionaries (".qdf") are read from one folder (beside the program);
// personal dictionaries (".dic") live in another (the user's data folder).
// The personal list is saved only when asked (SaveUserDictionary), never by
// the destructor.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "spell/qordictionary.h"
#include "spell/spelltarget.h"
#include "spell/userdictionary.h"
#include "util/qorstring.h"

namespace qm {

inline constexpr const char* kSpellCaptionVerifying = "Verifiying Orthograph...";
inline constexpr const char* kSpellCaptionNotFound = "Not In Dictionary";

// A word character of the scan: apostrophe, A-Z, a-z, and the Windows-1252
// letters 224-246 and 249-253.
bool IsSpellWordChar(char c);

// `replacement` with each character upper-cased whose counterpart in `model`
// (same index) is in A-Z; characters beyond the shorter of the two stay as
// they are. Either one empty: `replacement` unchanged.
std::string CopyCase(std::string_view model, std::string_view replacement);

struct TSpellPoint {
    int X = 0;
    int Y = 0;
};

// Where the dialog (`dialog`, its window rectangle) goes so that it does not
// cover `word` on a screen of `screenWidth` x `screenHeight`: below the word
// when there is room, else above it; right of it when there is room, else
// left of it. Nothing (nullopt) when the dialog does not meet the word's box.
std::optional<TSpellPoint> PlaceSpellDialog(int screenWidth, int screenHeight, const TSpellBox& dialog,
                                            const TSpellBox& word);

class TQorSpellEngine {
public:
    // Sets `accepted` when the word is a name the project knows.
    using TWordCheck = std::function<void(std::string_view word, bool& accepted)>;

    TQorSpellEngine() = default;
    // Frees the lists and the dictionary; saves nothing.
    ~TQorSpellEngine() noexcept = default;
    TQorSpellEngine(const TQorSpellEngine&) = delete;
    TQorSpellEngine& operator=(const TQorSpellEngine&) = delete;

    // --- settings ----------------------------------------------------------------
    std::string DictionaryFolder;      // main dictionaries, "<name>.qdf"
    std::string UserDictionaryFolder;  // personal dictionaries, "<name>.dic"
    bool StartAtCaret = false;
    bool MoveDialog = true;
    // Kept for the main window; the scan does not call it.
    TWordCheck WordCheck;
    // The dialog; needed by CheckControl and FinishCheck.
    void SetUi(TSpellUi* ui) { ui_ = ui; }

    // --- dictionaries --------------------------------------------------------------
    // The file a name stands for; throws qm::Error for a name that is no name.
    std::string MainDictionaryPath(std::string_view name) const;
    std::string UserDictionaryPath(std::string_view name) const;
    // Loads "<name>.qdf" of the main folder in place of the dictionary held.
    // An error (a bad name, a missing or invalid file) leaves dictionary and
    // name as they were.
    void LoadMainDictionary(const std::string& name);
    // An empty name: no personal dictionary. Otherwise loads "<name>.dic" of
    // the personal folder; an error leaves the list and name as they were.
    void LoadUserDictionary(const std::string& name);
    // Writes the personal list to its file, when one is named. A failure
    // throws EFileAccess naming the file; the old file stays whole and the
    // list stays marked as unsaved.
    void SaveUserDictionary();
    // True when words were added since the list was loaded or saved.
    bool UserDictionaryModified() const { return userModified_; }
    bool HasMainDictionary() const { return !mainName_.empty(); }
    const std::string& MainDictionaryName() const { return mainName_; }
    const std::string& UserDictionaryName() const { return userName_; }
    const TQorDictionary* Dictionary() const { return dictionary_.get(); }
    // The personal list; nullptr when none is named.
    const TUserWords* UserWords() const { return userWords_ ? &*userWords_ : nullptr; }
    // Names (without extension) of the dictionaries matching `mask`: a mask
    // for ".dic" files lists the personal folder, any other the main folder.
    // Files whose names could not be loaded are left out.
    StringList ListDictionaries(std::string_view mask) const;

    // --- checking --------------------------------------------------------------------
    // Forgets the answers of the last check (ignore all, change all) and the
    // cancelled flag.
    void ResetLists();
    // Checks the target's selection (two characters or more), else its text
    // from the start of the word at the caret (StartAtCaret) or from the
    // start. Restores the selection and gives the target the focus
    // afterwards, also when an error ends it.
    void CheckControl(TSpellTarget& target);
    // Closes the dialog and tells the user the check is complete.
    void FinishCheck();
    bool Cancelled() const { return cancelled_; }
    // Words looked up since the engine was made (for benchmarks).
    std::size_t WordsExamined() const { return examined_; }
    // The words the scan looked up, in order, when `words` is given (for
    // benchmarks); nullptr stops the recording.
    void RecordWords(StringList* words) { record_ = words; }

private:
    struct Scan;
    void RunScan(TSpellTarget& target, Scan& s);
    // Replaces the word [start, end) by `text` in the target, keeping the
    // scan's copy and positions in step.
    void Replace(TSpellTarget& target, Scan& s, int start, int end, const std::string& text);
    static void ApplyEdit(Scan& s, int position, int removed, std::string_view inserted);

    std::unique_ptr<TQorDictionary> dictionary_;
    StringList suggestions_;
    std::unordered_set<std::string> ignoreAll_;
    std::unordered_map<std::string, std::string> changeAll_;
    std::optional<TUserWords> userWords_;
    std::string userName_;
    std::string mainName_;
    bool userModified_ = false;
    bool cancelled_ = false;
    TSpellUi* ui_ = nullptr;
    Scan* scan_ = nullptr;
    std::size_t examined_ = 0;
    StringList* record_ = nullptr;
};

}  // namespace qm
