#include "spell/spellengine.h"

#include <algorithm>
#include <stdexcept>

#include "util/errors.h"
#include "util/qorsystem.h"

namespace qm {

bool IsSpellWordChar(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c == '\'' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 224 && c <= 246) ||
           (c >= 249 && c <= 253);
}

std::string CopyCase(std::string_view model, std::string_view replacement) {
    std::string out(replacement);
    const std::size_t n = std::min(model.size(), out.size());
    for (std::size_t i = 0; i < n; ++i)
        if (model[i] >= 'A' && model[i] <= 'Z') out[i] = AsciiUpper(out[i]);
    return out;
}

std::optional<TSpellPoint> PlaceSpellDialog(int screenWidth, int screenHeight, const TSpellBox& dialog,
                                            const TSpellBox& word) {
    // A word broken over two lines ends left of where it starts.
    const int wordLeft = std::min(word.Left, word.Right);
    const int wordRight = std::max(word.Left, word.Right);
    const bool meets =
        wordLeft < dialog.Right && dialog.Left < wordRight && word.Top < dialog.Bottom && dialog.Top < word.Bottom;
    if (!meets) return std::nullopt;
    const int width = dialog.Right - dialog.Left;
    const int height = dialog.Bottom - dialog.Top;
    TSpellPoint p;
    p.Y = screenHeight > height + word.Bottom + 10 ? word.Bottom + 10 : word.Top - height - 10;
    p.X = screenWidth > width + word.Right + 10 ? word.Right + 10 : word.Left - width - 10;
    return p;
}

namespace {

// `name` inside `folder`, joined with the separator the folder already uses.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    const char sep = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\' : '/';
    return folder + sep + name;
}

bool DigitsAndDashOnly(std::string_view word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

}  // namespace

// --- dictionaries ----------------------------------------------------------------------

std::string TQorSpellEngine::MainDictionaryPath(std::string_view name) const {
    CheckDictionaryName(name);
    return InFolder(DictionaryFolder, std::string(name) + ".qdf");
}

std::string TQorSpellEngine::UserDictionaryPath(std::string_view name) const {
    CheckDictionaryName(name);
    if (UserDictionaryFolder.empty()) throw Error("No folder for personal dictionaries is known.");
    return InFolder(UserDictionaryFolder, std::string(name) + ".dic");
}

void TQorSpellEngine::LoadMainDictionary(const std::string& name) {
    auto dictionary = std::make_unique<TQorDictionary>();
    dictionary->LoadFromFile(MainDictionaryPath(name));
    dictionary_ = std::move(dictionary);
    mainName_ = name;
}

void TQorSpellEngine::LoadUserDictionary(const std::string& name) {
    if (name.empty()) {
        userWords_.reset();
        userName_.clear();
        userModified_ = false;
        return;
    }
    TUserWords words;
    words.LoadFromFile(UserDictionaryPath(name));
    userWords_ = std::move(words);
    userName_ = name;
    userModified_ = false;
}

void TQorSpellEngine::SaveUserDictionary() {
    if (!userWords_ || userName_.empty()) return;
    userWords_->SaveToFile(UserDictionaryPath(userName_));
    userModified_ = false;
}

StringList TQorSpellEngine::ListDictionaries(std::string_view mask) const {
    const bool personal = SameText(ExtractExtension(mask), "dic");
    const std::string& folder = personal ? UserDictionaryFolder : DictionaryFolder;
    StringList names;
    if (folder.empty()) return names;
    StringList files;
    ListFiles(folder, files, mask);
    for (const std::string& f : files) {
        std::string name = RemoveExtension(f);
        if (IsDictionaryName(name)) names.push_back(std::move(name));
    }
    return names;
}

// --- checking ------------------------------------------------------------------------------

// The state of one scan. The copy of the text is read once and kept in step
// with every edit, the scan's own and the user's while the dialog waits.
struct TQorSpellEngine::Scan {
    std::string text;
    int pos = 0;
    int end = 0;
    // The range runs to the end of the text, however the text grows.
    bool toEnd = false;
    // The word put to the user; an edit inside it makes it stale, and so does
    // one that makes a letter of a neighbour that was none (or the reverse).
    int askStart = -1;
    int askEnd = -1;
    bool askIntact = false;
    bool letterBefore = false;
    bool letterAfter = false;
    // The selection to restore afterwards.
    int selStart = 0;
    int selEnd = 0;
    // Set while the scan replaces text itself: the target's report is not
    // needed, the scan books the change on its own.
    bool ownEdit = false;

    char At(int i) const {
        return i >= 0 && i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : '\0';
    }
};

void TQorSpellEngine::ResetLists() {
    suggestions_.clear();
    ignoreAll_.clear();
    changeAll_.clear();
    cancelled_ = false;
}

void TQorSpellEngine::ApplyEdit(Scan& s, int position, int removed, std::string_view inserted) {
    const int len = static_cast<int>(s.text.size());
    const int p = std::clamp(position, 0, len);
    const int r = std::clamp(removed, 0, len - p);
    const int delta = static_cast<int>(inserted.size()) - r;
    s.text.replace(static_cast<std::size_t>(p), static_cast<std::size_t>(r), inserted);
    // A position inside the removed text goes to the edit's start; a range
    // end there goes to the end of what was inserted.
    auto movePoint = [&](int& x) {
        if (x < p) return;
        x = x >= p + r ? x + delta : p;
    };
    auto moveEnd = [&](int& x) {
        if (x <= p) return;
        x = x >= p + r ? x + delta : p + static_cast<int>(inserted.size());
    };
    movePoint(s.pos);
    if (s.toEnd)
        s.end = static_cast<int>(s.text.size());
    else
        moveEnd(s.end);
    movePoint(s.selStart);
    moveEnd(s.selEnd);
    if (s.askStart >= 0) {
        if (p + r <= s.askStart) {
            s.askStart += delta;
            s.askEnd += delta;
        } else if (p < s.askEnd) {
            s.askIntact = false;
        }
    }
}

void TQorSpellEngine::Replace(TSpellTarget& target, Scan& s, int start, int end, const std::string& text) {
    target.Select(start, end - start);
    {
        s.ownEdit = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{s.ownEdit};
        target.ReplaceSelection(text);
    }
    ApplyEdit(s, start, end - start, text);
    if (static_cast<int>(s.text.size()) != target.Length()) {
        // The control changed more than it was asked to: start from its text.
        s.text = target.Text();
        const int len = static_cast<int>(s.text.size());
        s.pos = std::min(s.pos, len);
        s.end = std::min(s.end, len);
    }
}

void TQorSpellEngine::CheckControl(TSpellTarget& target) {
    if (!ui_) throw std::logic_error("TQorSpellEngine::CheckControl: no dialog");
    Scan s;
    s.selStart = target.SelStart();
    s.selEnd = s.selStart + target.SelLength();
    s.text = target.Text();

    // The user may edit the text while the dialog waits: the copy and the
    // positions follow each edit. A report that is wider than the change
    // (the control may report a whole paragraph) is narrowed to the bytes
    // that differ, so positions outside them stay put.
    target.SetEditHandler([&s, &target](int position, int removed, std::string_view inserted) {
        if (s.ownEdit) return;
        const int len = static_cast<int>(s.text.size());
        int p = std::clamp(position, 0, len);
        int r = std::clamp(removed, 0, len - p);
        std::string_view old =
            std::string_view(s.text).substr(static_cast<std::size_t>(p), static_cast<std::size_t>(r));
        std::size_t head = 0;
        while (head < old.size() && head < inserted.size() && old[head] == inserted[head]) ++head;
        std::size_t tail = 0;
        while (tail < old.size() - head && tail < inserted.size() - head &&
               old[old.size() - 1 - tail] == inserted[inserted.size() - 1 - tail])
            ++tail;
        p += static_cast<int>(head);
        r -= static_cast<int>(head + tail);
        inserted = inserted.substr(head, inserted.size() - head - tail);
        if (r > 0 || !inserted.empty()) ApplyEdit(s, p, r, inserted);
        if (static_cast<int>(s.text.size()) != target.Length()) {
            s.text = target.Text();
            const int now = static_cast<int>(s.text.size());
            s.pos = std::min(s.pos, now);
            s.end = std::min(s.end, now);
            s.askIntact = false;
        }
    });
    struct Finally {
        TSpellTarget& target;
        Scan& s;
        ~Finally() {
            target.SetEditHandler({});
            try {
                target.Select(s.selStart, std::max(0, s.selEnd - s.selStart));
                target.Focus();
            } catch (...) {
                // The scan's own error, if any, is the one to report.
            }
        }
    } finally{target, s};
    RunScan(target, s);
}

void TQorSpellEngine::RunScan(TSpellTarget& target, Scan& s) {
    if (!dictionary_) return;
    const bool userNamed = userWords_.has_value() && !userName_.empty();
    const int len = static_cast<int>(s.text.size());
    int start = 0;
    int end = len;
    const int selStart = std::clamp(s.selStart, 0, len);
    const int selEnd = std::clamp(s.selEnd, selStart, len);
    if (selEnd - selStart < 2) {
        // From the caret, the word it stands in is read whole: a piece of a
        // word is no misspelling.
        start = StartAtCaret ? selStart : 0;
        while (start > 0 && IsSpellWordChar(s.At(start - 1))) --start;
        s.toEnd = true;
    } else {
        start = selStart;
        end = selEnd;
    }
    if (start >= end) return;
    s.pos = start;
    s.end = end;
    int wordStart = start;
    const char* caption = nullptr;
    auto setCaption = [&](const char* text) {
        if (caption != text) {
            ui_->SetCaption(text);
            caption = text;
        }
    };

    std::string word;
    char c = s.At(s.pos);
    while (s.pos < s.end) {
        setCaption(kSpellCaptionVerifying);
        // `c` is the character that ended the previous word. The character at
        // the position is tested before each step, so "<>" ends the skip at
        // its own ">".
        if (c == '<') {
            while (s.pos < s.end && s.At(s.pos) != '>') ++s.pos;
            wordStart = s.pos;
        }
        c = s.At(s.pos);
        while (s.pos < s.end && IsSpellWordChar(c)) {
            ++s.pos;
            c = s.At(s.pos);
        }
        const int wordEnd = s.pos;
        if (wordEnd - wordStart > 1) {
            // One buffer for every word of the scan.
            word.assign(s.text, static_cast<std::size_t>(wordStart), static_cast<std::size_t>(wordEnd - wordStart));
            for (char& ch : word) ch = AsciiLower(ch);
            if (!DigitsAndDashOnly(word) && ignoreAll_.find(word) == ignoreAll_.end()) {
                ++examined_;
                if (record_) record_->push_back(word);
                const auto change = changeAll_.find(word);
                if (change != changeAll_.end()) {
                    const std::string original = s.text.substr(static_cast<std::size_t>(wordStart),
                                                               static_cast<std::size_t>(wordEnd - wordStart));
                    Replace(target, s, wordStart, wordEnd, CopyCase(original, change->second));
                } else if (!dictionary_->Lookup(word) && !(userNamed && userWords_->Contains(word))) {
                    dictionary_->Suggest(word, suggestions_);
                    target.Select(wordStart, wordEnd - wordStart);
                    TSpellQuestion q;
                    q.Word = word;
                    q.Suggestions = &suggestions_;
                    q.AddEnabled = userNamed;
                    q.MoveDialog = MoveDialog;
                    if (MoveDialog) q.WordBox = target.ScreenBox(wordStart, wordEnd - wordStart);
                    setCaption(kSpellCaptionNotFound);
                    s.askStart = wordStart;
                    s.askEnd = wordEnd;
                    s.askIntact = true;
                    s.letterBefore = IsSpellWordChar(s.At(wordStart - 1));
                    s.letterAfter = IsSpellWordChar(s.At(wordEnd));
                    const TSpellAnswer answer = ui_->Ask(q);
                    const bool intact = s.askIntact && s.askEnd <= static_cast<int>(s.text.size()) &&
                                        IsSpellWordChar(s.At(s.askStart - 1)) == s.letterBefore &&
                                        IsSpellWordChar(s.At(s.askEnd)) == s.letterAfter &&
                                        AsciiLowerStr(std::string_view(s.text).substr(
                                            static_cast<std::size_t>(s.askStart),
                                            static_cast<std::size_t>(s.askEnd - s.askStart))) == word;
                    const int askStart = s.askStart;
                    const int askEnd = s.askEnd;
                    s.askStart = s.askEnd = -1;
                    switch (answer.Action) {
                        case TSpellAction::IgnoreAll: ignoreAll_.insert(word); break;
                        case TSpellAction::ChangeAll:
                        case TSpellAction::Change: {
                            // A word the user has edited meanwhile is no longer
                            // the one the answer was about: it counts as Ignore.
                            if (!intact) break;
                            if (answer.Action == TSpellAction::ChangeAll) changeAll_.emplace(word, answer.ChangeTo);
                            const std::string original = s.text.substr(static_cast<std::size_t>(askStart),
                                                                       static_cast<std::size_t>(askEnd - askStart));
                            Replace(target, s, askStart, askEnd, CopyCase(original, answer.ChangeTo));
                            break;
                        }
                        case TSpellAction::Add:
                            if (userNamed && userWords_->Add(word)) userModified_ = true;
                            break;
                        case TSpellAction::Cancel: cancelled_ = true; return;
                        default: break;
                    }
                }
            }
        }
        ++s.pos;
        wordStart = s.pos;
    }
}

void TQorSpellEngine::FinishCheck() {
    if (ui_) ui_->Finish();
}

}  // namespace qm
