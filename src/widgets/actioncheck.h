#pragma once
// Checks over a window's actions and menus that a reader of the code cannot
// see at a glance: two actions answering one key, or two items of one menu
// underlining the same letter (Alt plus that letter then reaches only one).
#include <QList>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace qm {

// The mnemonic of a caption: the character after a single "&", upper-cased;
// a null QChar when there is none ("&&" is a literal "&").
QChar Mnemonic(const QString& caption);

// One line per key that more than one of `actions` uses, naming the key and
// the actions' objectNames.
QStringList ShortcutConflicts(const QList<QAction*>& actions);

// One line per mnemonic that more than one of the items uses (separators and
// hidden items do not count), naming the letter and the captions.
QStringList MnemonicConflicts(const QList<QAction*>& items);

// MnemonicConflicts over `window`'s menu bar and every menu it owns (those of
// the bar, their sub-menus, pop-up menus); each line starts with the menu's
// objectName, or its title when it has none.
QStringList MenuMnemonicConflicts(QWidget& window);

}  // namespace qm
