#include "widgets/actioncheck.h"

#include <QAction>
#include <QKeySequence>
#include <QMap>
#include <QMenu>
#include <QMenuBar>

namespace qm {

QChar Mnemonic(const QString& caption) {
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;  // a literal "&"
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

QStringList ShortcutConflicts(const QList<QAction*>& actions) {
    QMap<QString, QStringList> users;
    for (QAction* a : actions)
        for (const QKeySequence& key : a->shortcuts())
            if (!key.isEmpty()) users[key.toString(QKeySequence::PortableText)] << a->objectName();
    QStringList out;
    for (auto it = users.cbegin(); it != users.cend(); ++it)
        if (it.value().size() > 1) out << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    return out;
}

QStringList MnemonicConflicts(const QList<QAction*>& items) {
    QMap<QChar, QStringList> users;
    for (QAction* a : items) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const QChar m = Mnemonic(a->text());
        if (!m.isNull()) users[m] << a->text();
    }
    QStringList out;
    for (auto it = users.cbegin(); it != users.cend(); ++it)
        if (it.value().size() > 1)
            out << QString(it.key()) + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    return out;
}

QStringList MenuMnemonicConflicts(QWidget& window) {
    QStringList out;
    auto add = [&out](const QString& where, const QList<QAction*>& items) {
        for (const QString& line : MnemonicConflicts(items)) out << where + QStringLiteral(" - ") + line;
    };
    if (auto* bar = window.findChild<QMenuBar*>()) add(QStringLiteral("menu bar"), bar->actions());
    // Every menu the window owns: those of the bar, their sub-menus and the pop-ups.
    for (QMenu* menu : window.findChildren<QMenu*>())
        add(menu->objectName().isEmpty() ? menu->title() : menu->objectName(), menu->actions());
    return out;
}

}  // namespace qm
