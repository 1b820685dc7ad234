#pragma once
// Shows the recent projects of a TMru in a menu: ten items at the top of the
// menu, captioned and enabled by the list. Choosing one reports its slot.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include "model/mru.h"

namespace qm {

class TMruMenu : public QObject {
    Q_OBJECT
public:
    // Puts the ten items at the top of `menu` and attaches them to `mru`. The
    // list must not outlive the main window that owns both.
    TMruMenu(TMru& mru, QMenu* menu, QObject* parent = nullptr);

    QAction* Item(int k) const { return k >= 0 && k < items_.size() ? items_[k].data() : nullptr; }

signals:
    // Slot 1 to 10 of the list was chosen; `file` is its name.
    void projectChosen(int slot, const QString& file);

private:
    TMru& mru_;
    QVector<QPointer<QAction>> items_;
};

}  // namespace qm
