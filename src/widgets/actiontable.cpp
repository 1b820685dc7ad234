#include "widgets/actiontable.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "util/errors.h"
#include "widgets/commandguard.h"
#include "widgets/icons.h"
#include "widgets/statusbar.h"

namespace qm {

ActionTable::ActionTable(QWidget* owner, UiServices& ui, StatusPanels* status)
    : QObject(owner), owner_(owner), ui_(ui), status_(status) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ActionTable::UpdateNow);
}

QAction* ActionTable::Add(const ActionSpec& spec) {
    auto* action = new QAction(QString::fromUtf8(spec.caption), owner_);
    action->setObjectName(QString::fromLatin1(spec.objectName));
    if (spec.shortcut && *spec.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
    const QString hint = QString::fromUtf8(spec.hint ? spec.hint : "");
    action->setToolTip(ShortHint(hint));
    action->setStatusTip(LongHint(hint));
    action->setCheckable(spec.checkable);
    if (spec.icon && *spec.icon) action->setIcon(QmIcon(QString::fromLatin1(spec.icon)));
    if (spec.slot) {
        auto slot = spec.slot;
        connect(action, &QAction::triggered, this, [this, slot] { runCommand(ui_, slot); });
    }
    if (status_) {
        StatusPanels* status = status_;
        connect(action, &QAction::hovered, status, [status, hint] { status->ShowHint(hint); });
    }
    if (owner_) owner_->addAction(action);
    actions_.append(action);
    return action;
}

void ActionTable::Add(const std::vector<ActionSpec>& specs) {
    for (const ActionSpec& s : specs) Add(s);
}

QAction* ActionTable::Find(const QString& objectName) const {
    for (QAction* a : actions_)
        if (a->objectName() == objectName) return a;
    return nullptr;
}

QAction* ActionTable::Get(const QString& objectName) const {
    QAction* a = Find(objectName);
    if (!a) throw Error("There is no action named " + objectName.toStdString() + ".");
    return a;
}

void ActionTable::RequestUpdate() {
    if (!timer_.isActive()) timer_.start();
}

void ActionTable::UpdateNow() {
    timer_.stop();
    if (!updater_) return;
    ++updates_;
    runCommand(ui_, updater_);
}

void ActionTable::WatchMenu(QMenu* menu) { connect(menu, &QMenu::aboutToShow, this, &ActionTable::UpdateNow); }

void ActionTable::RequestOnFocusChange() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &ActionTable::RequestUpdate);
}

}  // namespace qm
