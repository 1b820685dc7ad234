#pragma once
// What the spell scan needs of the text it checks and of the user it asks,
// as two small interfaces: the program puts the rich-text control and the
// spelling dialog behind them, tests a string and a scripted answerer.
#include <functional>
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

// The answers of the spelling dialog, with the dialog's action codes.
enum class TSpellAction : int { None = 0, Ignore = 1, IgnoreAll = 2, Change = 3, ChangeAll = 4, Add = 5, Cancel = 7 };

// A rectangle in screen co-ordinates; Right and Bottom lie just outside.
struct TSpellBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The text under examination. Positions count characters from 0; the text
// holds one Windows-1252 byte per position.
class TSpellTarget {
public:
    // An edit made by someone other than the scan: at `position`, `removed`
    // characters were replaced by `inserted`.
    using EditHandler = std::function<void(int position, int removed, std::string_view inserted)>;

    virtual ~TSpellTarget() = default;

    virtual int Length() const = 0;
    // The whole text, one byte per position; a character Windows-1252 cannot
    // hold comes as a byte that is no word character.
    virtual std::string Text() const = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    // Selects `length` characters from `start` (cut to the text).
    virtual void Select(int start, int length) = 0;
    // Replaces the selection by `text` as one undoable step.
    virtual void ReplaceSelection(std::string_view text) = 0;
    // The screen box of the characters from `start`: the left and top of the
    // first, the left of the one after the last, the bottom of the line.
    virtual TSpellBox ScreenBox(int start, int length) const = 0;
    // Gives the control the input focus.
    virtual void Focus() {}

    // The scan listens here for edits while it runs (an empty handler: none).
    void SetEditHandler(EditHandler handler) { onEdit_ = std::move(handler); }

protected:
    void ReportEdit(int position, int removed, std::string_view inserted) {
        if (onEdit_) onEdit_(position, removed, inserted);
    }

private:
    EditHandler onEdit_;
};

// One misspelt word put to the user.
struct TSpellQuestion {
    std::string Word;  // lower case, as the scan read it
    const StringList* Suggestions = nullptr;
    bool AddEnabled = false;
    // The word's box on the screen when the dialog should keep clear of it.
    bool MoveDialog = false;
    TSpellBox WordBox;
};

struct TSpellAnswer {
    TSpellAction Action = TSpellAction::Cancel;
    std::string ChangeTo;  // the "Change to" text (Windows-1252)
};

// The user's side: the spelling dialog.
class TSpellUi {
public:
    virtual ~TSpellUi() = default;
    // The dialog's caption ("Verifiying Orthograph...", "Not In Dictionary").
    virtual void SetCaption(std::string_view caption) = 0;
    // Shows the word and its suggestions and waits for the user's answer.
    virtual TSpellAnswer Ask(const TSpellQuestion& question) = 0;
    // Closes the dialog and tells the user the check is over.
    virtual void Finish() = 0;
};

// A target over a string, for tests and benchmarks: it counts undo steps and
// can play an edit made by the user while the scan waits.
class TStringSpellTarget : public TSpellTarget {
public:
    explicit TStringSpellTarget(std::string text = {}) : text_(std::move(text)) {}

    int Length() const override { return static_cast<int>(text_.size()); }
    std::string Text() const override { return text_; }
    int SelStart() const override { return selStart_; }
    int SelLength() const override { return selLength_; }
    void Select(int start, int length) override;
    void ReplaceSelection(std::string_view text) override;
    // Eight pixels a character on one line of 16 pixels from (0, Top).
    TSpellBox ScreenBox(int start, int length) const override;
    void Focus() override { ++focusCount_; }

    // An edit by the user: changes the text and reports it.
    void Edit(int position, int removed, std::string_view inserted);

    const std::string& Value() const { return text_; }
    int UndoSteps() const { return undoSteps_; }
    int FocusCount() const { return focusCount_; }
    int Top = 0;

private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    int undoSteps_ = 0;
    int focusCount_ = 0;
};

}  // namespace qm
