#include "editor/mrumenu.h"

#include <QAction>

#include "util/cp1252.h"

namespace qm {

TMruMenu::TMruMenu(TMru& mru, QMenu* menu, QObject* parent) : QObject(parent), mru_(mru) {
    QAction* before = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    for (int k = 0; k < kMruCount; ++k) {
        auto* action = new QAction(menu);
        menu->insertAction(before, action);
        connect(action, &QAction::triggered, this, [this, k] {
            const std::string file = mru_.GetItem(k + 1);
            if (!file.empty()) emit projectChosen(k + 1, QString::fromStdU16String(Cp1252ToUtf16(file)));
        });
        items_.push_back(action);
    }
    // The items are guarded: a menu deleted first leaves the list harmless.
    QVector<QPointer<QAction>> items = items_;
    mru_.AttachMenu([items](int k, const std::string& caption, bool enabled) {
        if (k < 0 || k >= items.size() || !items[k]) return;
        items[k]->setText(QString::fromStdU16String(Cp1252ToUtf16(caption)));
        items[k]->setEnabled(enabled);
    });
}

}  // namespace qm
