#include "widgets/mrumenu.h"

#include <QAction>

#include "platform/qtcp1252.h"

namespace qm {

TMruMenu::TMruMenu(QMenu* menu, int count, SlotReader fileOf, QObject* parent)
    : QObject(parent), fileOf_(std::move(fileOf)) {
    QAction* before = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    for (int k = 0; k < count; ++k) {
        auto* action = new QAction(menu);
        menu->insertAction(before, action);
        connect(action, &QAction::triggered, this, [this, k] {
            const std::string file = fileOf_(k + 1);
            if (!file.empty()) emit projectChosen(k + 1, FromCp1252(file));
        });
        items_.push_back(action);
    }
}

TMruMenu::ItemSetter TMruMenu::Setter() const {
    // The items are guarded: a menu deleted first leaves the list harmless.
    QVector<QPointer<QAction>> items = items_;
    return [items](int k, const std::string& caption, bool enabled) {
        if (k < 0 || k >= items.size() || !items[k]) return;
        items[k]->setText(FromCp1252(caption));
        items[k]->setEnabled(enabled);
    };
}

}  // namespace qm
