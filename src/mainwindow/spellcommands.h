#pragma once
// The spelling commands: Spell Check (the open module) and Spell Check All
// (every topic, then every popup), the project's names as words, the
// dictionaries' names for the options, and the personal dictionary's saves.
//
// While the spelling dialog waits for an answer the editor's text is in the
// scan's hands: Waiting() is the window's signal to disable every command
// that could open, switch, remove or close modules or the project, and a
// close request of the window cancels the check and closes it afterwards.
#include <memory>
#include <string>
#include <string_view>

#include "mainwindow/commandhandler.h"
#include "model/topics.h"
#include "util/qorstring.h"

class QAction;

namespace qm {

class TQorSpellEngine;
class TSpellDialogUi;

inline constexpr const char* kSpellMainDictionaryMask = "*.qdf";
inline constexpr const char* kSpellUserDictionaryMask = "*.dic";

class TSpellCommands : public TCommandHandler {
public:
    explicit TSpellCommands(TMainContext& context);
    ~TSpellCommands() override;

    void CreateActions(ActionTable& table) override;

    QAction* actCheckSpell = nullptr;
    QAction* actCheckSpellAll = nullptr;

    void actCheckSpellExecute();
    void actCheckSpellAllExecute();

    // Sets `accepted` when a topic or popup has the name `word`, ignoring case.
    // During a check it is a hash look-up in the names as they stood when the
    // check began (modules cannot be added, removed or renamed while it runs).
    void IsProjectWord(std::string_view word, bool& accepted) const;
    // Dictionary names without extension: "*.qdf" beside the program,
    // "*.dic" in the personal folder.
    StringList ListDictionaries(std::string_view mask) const;

    // True while the spelling dialog waits for an answer.
    bool Waiting() const;
    // True while a check runs.
    bool Running() const { return running_; }
    // The window is asked to close. During a check the check is cancelled,
    // the window closes once it has ended, and the answer is true: the close
    // must wait.
    bool DeferClose();
    // Saves the personal dictionary when words were added to it; a failure
    // shows the error (naming the file) and keeps the words for a later save.
    void SaveUserDictionary();

    // The spelling dialog's side of the engine; the window hands it to the
    // engine it makes.
    TSpellDialogUi& DialogUi() const { return *dialogUi_; }

private:
    // The engine, when it has a main dictionary; otherwise shows why not.
    TQorSpellEngine* EngineForCheck();
    void CheckEditor(TQorSpellEngine& engine);

    std::unique_ptr<TSpellDialogUi> dialogUi_;
    // The project's names while a check runs; dropped when it ends, so the
    // next check sees the names as they are then.
    std::unique_ptr<TTopicNameIndex> names_;
    bool running_ = false;
    bool closePending_ = false;
};

}  // namespace qm
