#pragma once
// The main window's menu bar, its sub-menus and its tool bars, laid out by
// objectName in one table (MainWindowLayout) and built from it once.
//
// An item of a menu or a tool bar is one of:
//   "-"            a separator;
//   "actX"         an action of the window's ActionTable;
//   "mnuX"         a sub-menu that the table itself lays out (a row of `Menus`);
//   "name"         a named part the window made elsewhere (TNamedParts): a
//                  menu goes into a menu as its sub-menu, a control or a
//                  separator action goes where it stands;
//   "actX|menu"    an action with a drop-down: in a tool bar a button
//                  ("tbb" + the action's name without "act") that runs the
//                  action and drops the menu down; in a menu the action's item
//                  opens that menu as its sub-menu.
// A name that is none of these throws qm::Error naming it, so a typo fails
// the window's construction (and its tests) instead of dropping an item.
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

class QMainWindow;
class QMenu;
class QObject;
class QToolBar;

namespace qm {

class ActionTable;

// One menu or tool bar: its objectName, its caption and its items in order.
struct TLayoutRow {
    const char* objectName;
    const char* caption;
    std::vector<const char*> items;
};

struct TWindowLayout {
    // The menu bar's menus in order, each a row of `Menus`.
    std::vector<const char*> MenuBar;
    // Every menu the table makes: those of the bar and their sub-menus.
    std::vector<TLayoutRow> Menus;
    // The top tool-bar area, line by line; a named QToolBar (made elsewhere)
    // takes its place here with its own items.
    std::vector<std::vector<TLayoutRow>> ToolBarLines;
};

// The parts the window made outside the action table, by objectName.
using TNamedParts = QHash<QString, QObject*>;

// What BuildLayout made, by objectName.
struct TBuiltLayout {
    QHash<QString, QMenu*> Menus;
    QHash<QString, QToolBar*> ToolBars;
    // Every menu the layout holds: its own and the named ones it placed.
    QList<QMenu*> AllMenus() const;
};

// Quillmark's main window.
const TWindowLayout& MainWindowLayout();

// Builds `layout` into `window`'s menu bar and its top tool-bar area (the
// only area the tool bars may go to). Throws qm::Error naming the first item
// that is neither an action of `actions` nor a part of `named` or of the
// table, and for a part that cannot stand where it is placed.
TBuiltLayout BuildLayout(QMainWindow& window, const ActionTable& actions, const TNamedParts& named,
                         const TWindowLayout& layout);

}  // namespace qm
