#include "mainwindow/viewcommands.h"

#include <QAction>
#include <tuple>
#include <utility>

#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "widgets/actiontable.h"

namespace qm {

void TViewCommands::CreateActions(ActionTable& table) {
    actToggleExplorer =
        table.Add({"actToggleExplorer", "Project &Explorer", "F6",
                   "Project Explorer|Shows or hides the project explorer.", "view-explorer", [this] { ToggleExplorer(); }, true});
    actToggleMessages =
        table.Add({"actToggleMessages", "&Messages", "Shift+F2", "Messages|Shows or hides the messages pane.", "view-messages",
                   [this] { ToggleMessages(); }, true});
    actToggleRuler = table.Add({"actToggleRuler", "R&uler", "", "Ruler|Shows or hides the ruler.", "view-ruler",
                                [this] {
                                    ctx_.ShowRuler(actToggleRuler->isChecked());
                                    ctx_.Options().ShowRuler = actToggleRuler->isChecked();
                                },
                                true});
    actToggleGutter = table.Add({"actToggleGutter", "&Gutter", "", "Gutter|Shows or hides the bookmark gutter.", "gutter",
                                 [this] { ctx_.ShowGutter(actToggleGutter->isChecked()); }, true});
    actToggleSpecChars = table.Add({"actToggleSpecChars", "Special &Characters", "Shift+F5",
                                    "Special Characters|Shows or hides the special characters.", "accessories-character-map",
                                    [this] { ctx_.ShowSpecChars(actToggleSpecChars->isChecked()); }, true});
    actToggleRtf = table.Add({"actToggleRtf", "&Rich Text Output", "Shift+F6",
                              "Rich Text Output|Shows or hides the RTF source of the open module.", "view-rtf",
                              [this] { ctx_.ShowRtfOutput(actToggleRtf->isChecked()); }, true});
    actDockAll = table.Add({"actDockAll", "&Dock All", "", "Dock All|Docks the panes back into the window.", "dock-all",
                            [this] { actDockAllExecute(); }});
    struct Toggle {
        QAction*& action;
        const char* name;
        const char* caption;
        const char* hint;
        const char* bar;
    };
    const Toggle toggles[] = {
        {actToggleStandard, "actToggleStandard", "&Standard", "Standard|Shows or hides the standard tool bar.",
         "tbStandard"},
        {actToggleFormat, "actToggleFormat", "&Format", "Format|Shows or hides the format tool bar.", "tbFormat"},
        {actToggleView, "actToggleView", "&View", "View|Shows or hides the view tool bar.", "tbView"},
        {actToggleBuild, "actToggleBuild", "&Build", "Build|Shows or hides the build tool bar.", "tbBuild"},
        {actToggleTopics, "actToggleTopics", "T&opics", "Topics|Shows or hides the topics tool bar.", "tbTopics"},
        {actToggleTools, "actToggleTools", "&Tools", "Tools|Shows or hides the tools tool bar.", "tbTools"},
        {actToggleTags, "actToggleTags", "T&ags", "Tags|Shows or hides the tags tool bar.", "tbTags"},
        {actToggleProject, "actToggleProject", "&Project", "Project|Shows or hides the project tool bar.", "tbProject"},
    };
    for (const Toggle& t : toggles) {
        const char* bar = t.bar;
        QAction** self = &t.action;  // a member of this handler, set before any trigger
        t.action = table.Add({t.name, t.caption, "", t.hint, "view-toolbar",
                              [this, self, bar] { ctx_.ShowToolBar(bar, (*self)->isChecked()); }, true});
        barToggles_.push_back({t.action, bar});
    }
}

void TViewCommands::UpdateActions() {
    actToggleExplorer->setChecked(ctx_.PaneShown(Pane::Explorer));
    actToggleMessages->setChecked(ctx_.PaneShown(Pane::Messages));
    for (const auto& [action, bar] : barToggles_) action->setChecked(ctx_.ToolBarShown(bar));
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

void TViewCommands::actDockAllExecute() {
    for (const auto& [pane, home, toggle] : {std::tuple{Pane::Explorer, DockSite::Left, actToggleExplorer},
                                             std::tuple{Pane::Messages, DockSite::Bottom, actToggleMessages}}) {
        if (ctx_.PaneShown(pane) && !ctx_.PaneFloating(pane)) continue;
        ctx_.DockPane(pane, home);
        ctx_.ShowPane(pane, true);
        toggle->setChecked(true);
    }
    ctx_.Actions().RequestUpdate();
}

}  // namespace qm
