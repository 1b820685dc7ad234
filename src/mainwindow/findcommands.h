#pragma once
// Find, Replace and Find Next: the events of the find and replace forms
// searched and replaced in the open module (the current text) or in the
// topics, the popups or the whole project, the search results of the
// messages pane, and the link update that follows a rename.
//
// No search ever writes a mark into a text: a hit is shown by the editor's
// selection and an extra selection (RemoveSearchHighlights clears it).
// Replacing rewrites only the modules with a hit; the open module is changed
// in the editor as one undoable step.
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/commandhandler.h"
#include "search/modulesearch.h"

class QAction;
class QString;

namespace qm {

class TSearchForm;

inline constexpr const char* kMsgNoMoreMatches = "No more matches found.";
inline constexpr const char* kStatusSearching = "Searching...";
inline constexpr const char* kStatusReplacing = "Replacing occurences...";
inline constexpr const char* kStatusUpdatingLinks = "Updating links";

// "The specified region has been searched. <n> replacements were made."
QString ReplacementsMessage(int count);

class TFindCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actFind = nullptr;
    QAction* actReplace = nullptr;
    QAction* actFindNext = nullptr;

    // Shows the find (replace) form preset with the editor's selection when
    // it is on one line, hiding the other form.
    void actFindExecute();
    void actReplaceExecute();
    // The find form's search with its present state, open or not; with an
    // empty find text it shows the form instead.
    void actFindNextExecute();

    // The forms' events.
    void FindDlgFind();
    void ReplaceDlgFind();
    void ReplaceDlgReplace();

    // Opens the module of the selected result row and selects the hit.
    void lvwFindDblClick();

    // Replaces `oldText` by `newText` in every module, ignoring case, as a
    // rename's link update (TLinkRule); returns the number of links changed.
    int UpdateLinks(const std::string& oldText, const std::string& newText);

    // The plain texts of the modules, kept between searches.
    TModuleTextCache& TextCache() { return cache_; }

private:
    void ShowForm(TSearchForm* show, TSearchForm* hide);
    // Marks a hit in the editor beside its selection while the editor has no
    // focus (and draws no selection): an extra selection, never a format of
    // the text; it goes when the editor takes the focus.
    void MarkHit(int start, int length);
    void Search(TSearchForm& form);
    void FindInCurrentText(const std::u16string& text, int options, int flags);
    void FindInModules(TSearchForm& form, const std::u16string& text, TModuleScope scope, int flags);

    // Rewrites the modules of `scope` that `plan` finds edits in: the open
    // one in the editor, the others by `apply` on their text. `plan` gets
    // the plain text folded when `options` ignore case. Returns the total
    // that `apply` and the editor's edits report.
    struct TModuleEdit {
        int options = 0;
        std::function<std::vector<TTextEdit>(std::u16string_view)> plan;
        std::function<int(std::string&, const CharFormat&)> apply;
        std::function<void(int index, int count)> progress;
    };
    int EditModules(TModuleScope scope, const TModuleEdit& edit);

    TModuleTextCache cache_;
};

}  // namespace qm
