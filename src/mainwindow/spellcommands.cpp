#include "mainwindow/spellcommands.h"

#include <QAction>
#include <QMainWindow>
#include <QScopedValueRollback>
#include <QTimer>
#include <exception>

#include "editor/richspelltarget.h"
#include "editor/richtext2.h"
#include "editor/spellcheckdlg.h"
#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "spell/spellengine.h"
#include "widgets/actiontable.h"

namespace qm {

namespace {

// Runs `f` when the scope ends, however it ends.
template <class F>
class OnExit {
public:
    explicit OnExit(F f) : f_(std::move(f)) {}
    ~OnExit() { f_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    F f_;
};

}  // namespace

TSpellCommands::TSpellCommands(TMainContext& context)
    : TCommandHandler(context), dialogUi_(std::make_unique<TSpellDialogUi>(context.Ui(), &context.Window())) {
    // The enabling rules follow the wait: the window disables what must not
    // run while the dialog holds the text, and enables it again afterwards.
    // The word asked about is shown: Spell Check All holds the editor's
    // layout while it walks the modules.
    QObject::connect(dialogUi_.get(), &TSpellDialogUi::waitStarted, dialogUi_.get(), [this] {
        ctx_.Editor()->ReleaseLayout();
        ctx_.Actions().UpdateNow();
    });
    QObject::connect(dialogUi_.get(), &TSpellDialogUi::waitEnded, dialogUi_.get(),
                     [this] { ctx_.Actions().RequestUpdate(); });
}

TSpellCommands::~TSpellCommands() = default;

void TSpellCommands::CreateActions(ActionTable& table) {
    actCheckSpell =
        table.Add({"actCheckSpell", "&Spell Check", "F7", "Spell Check|Checks the spelling of the open topic or popup.",
                   "spelling", [this] { actCheckSpellExecute(); }});
    actCheckSpellAll = table.Add({"actCheckSpellAll", "Spell Check &All", "",
                                  "Spell Check All|Checks the spelling of every topic and popup of the project.",
                                  "spelling-all", [this] { actCheckSpellAllExecute(); }});
}

TQorSpellEngine* TSpellCommands::EngineForCheck() {
    TQorSpellEngine* engine = ctx_.SpellEngine();
    if (engine && engine->HasMainDictionary()) return engine;
    ctx_.Ui().ErrorBox(FromCp1252("Quillmark could not load the " + AsciiUpperStr(ctx_.Options().Dictionary) +
                                  " dictionary on startup. Spell checking is disabled."));
    return nullptr;
}

void TSpellCommands::CheckEditor(TQorSpellEngine& engine) {
    TRichTextSpellTarget target(*ctx_.Editor());
    engine.CheckControl(target);
}

void TSpellCommands::actCheckSpellExecute() {
    if (running_) return;
    TQorSpellEngine* engine = EngineForCheck();
    if (!engine) return;
    names_ = std::make_unique<TTopicNameIndex>(ctx_.Project().Topics);
    running_ = true;
    bool finished = false;
    OnExit done([&] {
        if (!finished) dialogUi_->Discard();
        names_.reset();
        running_ = false;
        if (closePending_) {
            closePending_ = false;
            QMainWindow* window = &ctx_.Window();
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
    });
    engine->ResetLists();
    CheckEditor(*engine);
    finished = true;
    engine->FinishCheck();
    SaveUserDictionary();
}

void TSpellCommands::actCheckSpellAllExecute() {
    if (running_) return;
    TQorSpellEngine* engine = EngineForCheck();
    if (!engine) return;
    names_ = std::make_unique<TTopicNameIndex>(ctx_.Project().Topics);
    running_ = true;
    bool finished = false;
    OnExit done([&] {
        if (!finished) dialogUi_->Discard();
        names_.reset();
        running_ = false;
        if (closePending_) {
            closePending_ = false;
            QMainWindow* window = &ctx_.Window();
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
    });
    // Every module is read whole: the carets the modules were left with are
    // not where the user asked to start.
    const QScopedValueRollback<bool> fromStart(engine->StartAtCaret, false);
    // The word asked about is shown selected in every module: set once for
    // the whole check, not again for each module.
    TRichText2* editor = ctx_.Editor();
    const bool hideSelection = editor->HideSelection();
    editor->SetHideSelection(false);
    OnExit restoreSelection([editor, hideSelection] { editor->SetHideSelection(hideSelection); });
    // Nothing is painted between the modules: none is laid out until the
    // check stops at a word (the dialog's wait releases the layout) or ends.
    OnExit releaseLayout([editor] { editor->ReleaseLayout(); });
    engine->ResetLists();
    for (const ExplorerPage page : {ExplorerPage::Topics, ExplorerPage::Popups}) {
        if (engine->Cancelled() || (page == ExplorerPage::Popups && ctx_.ListCount(page) == 0)) break;
        ctx_.ShowPage(page);
        for (int row = 0; row < ctx_.ListCount(page) && !engine->Cancelled(); ++row) {
            editor->HoldLayout();
            ctx_.SetListRow(page, row);
            ctx_.OpenSelected(page);
            CheckEditor(*engine);
        }
    }
    editor->ReleaseLayout();
    finished = true;
    engine->FinishCheck();
    SaveUserDictionary();
}

void TSpellCommands::IsProjectWord(std::string_view word, bool& accepted) const {
    const bool known = names_ ? names_->Find(word) != nullptr : ctx_.Project().Topics.FindByName(word) != nullptr;
    if (known) accepted = true;
}

StringList TSpellCommands::ListDictionaries(std::string_view mask) const {
    const TQorSpellEngine* engine = ctx_.SpellEngine();
    return engine ? engine->ListDictionaries(mask) : StringList{};
}

bool TSpellCommands::Waiting() const { return dialogUi_->Waiting(); }

bool TSpellCommands::DeferClose() {
    if (!running_) return false;
    closePending_ = true;
    dialogUi_->CancelWait();
    return true;
}

void TSpellCommands::SaveUserDictionary() {
    TQorSpellEngine* engine = ctx_.SpellEngine();
    if (!engine || !engine->UserDictionaryModified()) return;
    try {
        engine->SaveUserDictionary();
    } catch (const std::exception& e) {
        ctx_.Ui().ErrorBox(FromCp1252(e.what()));
    }
}

}  // namespace qm
