#include "mainwindow/viewcommands.h"

#include <QAction>
#include <utility>

#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "widgets/actiontable.h"

namespace qm {

void TViewCommands::CreateActions(ActionTable& table) {
    actToggleExplorer =
        table.Add({"actToggleExplorer", "Project Explorer", "", "Project Explorer|Shows or hides the project explorer.",
                   "view-explorer", [this] { ToggleExplorer(); }, true});
    actToggleMessages =
        table.Add({"actToggleMessages", "Messages", "Shift+F2", "Messages|Shows or hides the messages pane.",
                   "view-messages", [this] { ToggleMessages(); }, true});
    actToggleRuler = table.Add({"actToggleRuler", "Ruler", "", "Ruler|Shows or hides the ruler.", "view-ruler",
                                [this] {
                                    ctx_.ShowRuler(actToggleRuler->isChecked());
                                    ctx_.Options().ShowRuler = actToggleRuler->isChecked();
                                },
                                true});
    actToggleGutter = table.Add({"actToggleGutter", "Gutter", "", "Gutter|Shows or hides the bookmark gutter.",
                                 "gutter", [this] { ctx_.ShowGutter(actToggleGutter->isChecked()); }, true});
    actToggleSpecChars =
        table.Add({"actToggleSpecChars", "Special Characters", "",
                   "Special Characters|Shows or hides the special characters.", "accessories-character-map",
                   [this] { ctx_.Options().ShowSpecChars = actToggleSpecChars->isChecked(); }, true});
    actToggleRtf = table.Add({"actToggleRtf", "Rich Text Output", "Shift+F6",
                              "Rich Text Output|Shows or hides the RTF source of the open module.", "view-rtf",
                              [this] { ctx_.ShowRtfOutput(actToggleRtf->isChecked()); }, true});
}

void TViewCommands::UpdateActions() {
    actToggleExplorer->setChecked(ctx_.PaneShown(Pane::Explorer));
    actToggleMessages->setChecked(ctx_.PaneShown(Pane::Messages));
}

void TViewCommands::RestoreToggles() {
    const TOptions& options = ctx_.Options();
    // The toggles flip their state, so each starts opposite to its setting.
    for (const auto& [action, on] :
         {std::pair{actToggleSpecChars, options.ShowSpecChars}, std::pair{actToggleGutter, options.ShowGutter},
          std::pair{actToggleRuler, options.ShowRuler}, std::pair{actToggleRtf, options.ShowRtf}}) {
        action->setChecked(!on);
        action->trigger();
    }
}

void TViewCommands::ToggleExplorer() {
    const bool show = !ctx_.PaneShown(Pane::Explorer);
    ctx_.ShowPane(Pane::Explorer, show);
    actToggleExplorer->setChecked(show);
}

void TViewCommands::ToggleMessages() {
    const bool show = !ctx_.PaneShown(Pane::Messages);
    ctx_.ShowPane(Pane::Messages, show);
    actToggleMessages->setChecked(show);
}

}  // namespace qm
