#include "mainwindow/settingscommands.h"

#include <QAction>
#include <QComboBox>

#include "dialogs/dialogfactory.h"
#include "dialogs/programoptions.h"
#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/spellcommands.h"
#include "mainwindow/usertoolsmenu.h"
#include "model/mru.h"
#include "model/options.h"
#include "model/project.h"
#include "model/renumber.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "spell/spellengine.h"
#include "util/errors.h"
#include "widgets/actiontable.h"
#include "widgets/busycursor.h"
#include "widgets/statusbar.h"

namespace qm {

namespace {

QStringList Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; box && i < box->count(); ++i) out << box->itemText(i);
    return out;
}

}  // namespace

void TSettingsCommands::CreateActions(ActionTable& table) {
    actWinEdit =
        table.Add({"actWinEdit", "&Windows Editor", "Ctrl+W", "Windows Editor|Defines the help windows of the project.",
                   "preferences-system-windows", [this] { actWinEditExecute(); }});
    actProjectOptions =
        table.Add({"actProjectOptions", "&Options...", "", "Project Options|Edits the settings of the help project.",
                   "document-properties", [this] { actProjectOptionsExecute(); }});
    actBrowseEdit = table.Add({"actBrowseEdit", "&Browse Sequence Editor", "",
                               "Browse Sequence Editor|Arranges the topics into browse sequences.", "browse-sequence",
                               [this] { actBrowseEditExecute(); }});
    actRenumberIDs = table.Add({"actRenumberIDs", "Renumber Context &IDs", "",
                                "Renumber Context IDs|Gives every topic and popup a new context ID.", "renumber",
                                [this] { actRenumberIDsExecute(); }});
    actOptions = table.Add({"actOptions", "&Options...", "", "Options|Edits the program's settings.",
                            "preferences-system", [this] { actOptionsExecute(); }});
}

void TSettingsCommands::actWinEditExecute() {
    TProject& project = ctx_.Project();
    if (!ctx_.Dialogs().RunWindowsEditor(project, ctx_.Macros())) return;
    project.Modified = true;
    ctx_.UpdateCaption();
}

void TSettingsCommands::actProjectOptionsExecute() {
    TProject& project = ctx_.Project();
    if (!ctx_.Dialogs().RunProjectOptions(project, ctx_.Macros())) return;
    project.Modified = true;
    ctx_.RepaintLists();
    ctx_.UpdateCaption();
}

void TSettingsCommands::actBrowseEditExecute() {
    TProject& project = ctx_.Project();
    if (!ctx_.Dialogs().RunBrowseEditor(project)) return;
    project.Modified = true;
    ctx_.UpdateCaption();
}

void TSettingsCommands::actRenumberIDsExecute() {
    TProject& project = ctx_.Project();
    const auto values = ctx_.Dialogs().RunRenumberIds(project);
    if (!values) return;
    RenumberContextIds(project.Topics, (*values)[0], (*values)[1], (*values)[2]);
    ctx_.RepaintLists();
    project.Modified = true;
    ctx_.UpdateCaption();
}

std::function<std::optional<TTool>(const TTool&, QWidget*)> TSettingsCommands::ToolEditor() {
    return [this](const TTool& tool, QWidget*) { return ctx_.Dialogs().RunAddTool(tool); };
}

void TSettingsCommands::actOptionsExecute() {
    TOptions& options = ctx_.Options();
    TQorSpellEngine* engine = ctx_.SpellEngine();
    TOptionsRun run;
    run.Options = &options;
    run.Tools = &ctx_.UserTools();
    run.Settings = &ctx_.Settings();
    run.FontNames = Items(ctx_.FontNameBox());
    run.FontSizes = Items(ctx_.FontSizeBox());
    run.ToolIcon = [](const TTool& tool) { return TUserToolsMenu::ToolIcon(tool); };
    run.EditTool = ToolEditor();
    if (engine) {
        run.MainDictionaries = engine->ListDictionaries(kSpellMainDictionaryMask);
        run.PersonalDictionaries = engine->ListDictionaries(kSpellUserDictionaryMask);
        run.PersonalFolder = engine->UserDictionaryFolder;
        // Edits in the word-list editor start from the words the engine holds.
        try {
            engine->SaveUserDictionary();
        } catch (const Error& e) {
            ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        }
    }
    ctx_.Dialogs().RunOptions(run);
    ApplyDictionaries(run);
    if (run.Accepted) ApplyOptions(run);
}

void TSettingsCommands::ApplyDictionaries(const TOptionsRun& run) {
    TQorSpellEngine* engine = ctx_.SpellEngine();
    if (!engine) return;
    // Names keep their case: file names are case-sensitive here.
    const std::string& personal = run.PersonalDictionary;
    if (personal != engine->UserDictionaryName() || run.UserDictionaryEdited) {
        try {
            engine->LoadUserDictionary(personal);
            ctx_.Options().UserDictionary = engine->UserDictionaryName();
        } catch (const Error& e) {
            ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        }
    }
}

void TSettingsCommands::ApplyOptions(const TOptionsRun& run) {
    const TOptions& options = ctx_.Options();
    ctx_.RepaintLists();
    if (run.MruCleared) ctx_.Mru().Clear();
    if (!options.HotCursor && ctx_.Editor()) ctx_.Editor()->viewport()->unsetCursor();
    TQorSpellEngine* engine = ctx_.SpellEngine();
    if (!engine) return;
    engine->MoveDialog = options.SpellEnsureVisible;
    engine->StartAtCaret = !options.SpellStartBeginning;
    const std::string& main = run.MainDictionary;
    if (main.empty() || main == engine->MainDictionaryName()) return;
    StatusPanels& status = ctx_.Status();
    try {
        BusyCursor busy;
        status.SetStatus(QStringLiteral("Loading dictionary..."));
        engine->LoadMainDictionary(main);
        ctx_.Options().Dictionary = engine->MainDictionaryName();
    } catch (const Error& e) {
        status.SetReady();
        ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        return;
    }
    status.SetReady();
}

}  // namespace qm
