#pragma once
// The user tools' items of the Tools menu, after the separator that precedes
// them. The items are rebuilt from the list after every change, so each item
// runs the tool its caption names (the window opens it through the shell).
// Icons come from the platform's file icons.
#include <QAction>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>

#include "model/usertools.h"

namespace qm {

class TUserToolsMenu : public QObject {
    Q_OBJECT
public:
    // `separator` is the menu's separator before the tools; it is shown only
    // while there is at least one tool. Takes over the list's change callback.
    TUserToolsMenu(TUserTools& tools, QMenu* menu, QAction* separator, QObject* parent = nullptr);
    ~TUserToolsMenu() override;

    // Rebuilds the items from the list.
    void Rebuild();
    const QList<QAction*>& Items() const { return items_; }

    // The system's icon for a tool's program, in small and large size.
    static QIcon ToolIcon(const TTool& tool);
    // "&" + the 0-based index + " " + the tool's name, with the name's own
    // "&" doubled so that it shows as itself: the digit stays the mnemonic.
    static QString MenuCaption(int index, const TTool& tool);

signals:
    // Tool `index` (0-based) was chosen.
    void toolChosen(int index);

private:
    TUserTools& tools_;
    QPointer<QMenu> menu_;
    QPointer<QAction> separator_;
    QList<QAction*> items_;
};

}  // namespace qm
