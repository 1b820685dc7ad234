#include "mainwindow/usertoolsmenu.h"

#include <QFileIconProvider>
#include <QFileInfo>

#include "platform/qtcp1252.h"
#include "util/fileio.h"

namespace qm {

QString TUserToolsMenu::MenuCaption(int index, const TTool& tool) {
    // The index digit is the mnemonic; an "&" of the name is text.
    QString name = FromCp1252(tool.Name);
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 ").arg(index) + name;
}

TUserToolsMenu::TUserToolsMenu(TUserTools& tools, QMenu* menu, QAction* separator, QObject* parent)
    : QObject(parent), tools_(tools), menu_(menu), separator_(separator) {
    QPointer<TUserToolsMenu> self(this);
    tools_.SetOnChange([self] {
        if (self) self->Rebuild();
    });
    Rebuild();
}

TUserToolsMenu::~TUserToolsMenu() { tools_.SetOnChange({}); }

QIcon TUserToolsMenu::ToolIcon(const TTool& tool) {
    static QFileIconProvider provider;
    const QString native = QString::fromStdU16String(ToFsPath(tool.Path).u16string());
    return provider.icon(QFileInfo(native));
}

void TUserToolsMenu::Rebuild() {
    for (QAction* a : items_) {
        if (menu_) menu_->removeAction(a);
        a->deleteLater();
    }
    items_.clear();
    if (!menu_) return;

    // The tools follow the separator in list order.
    const QList<QAction*> actions = menu_->actions();
    const qsizetype at = separator_ ? actions.indexOf(separator_.data()) : -1;
    QAction* before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
    for (int i = 0; i < tools_.Count(); ++i) {
        const TTool tool = tools_.GetTool(i);
        auto* action = new QAction(ToolIcon(tool), MenuCaption(i, tool), menu_);
        action->setStatusTip(FromCp1252(tool.Name));
        action->setData(i);
        connect(action, &QAction::triggered, this, [this, i] { emit toolChosen(i); });
        menu_->insertAction(before, action);
        items_.push_back(action);
    }
    if (separator_) separator_->setVisible(tools_.Count() > 0);
}

}  // namespace qm
