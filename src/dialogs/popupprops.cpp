#include "dialogs/popupprops.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <charconv>

#include "dialogs/modulechecks.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/dialoghelpers.h"

namespace qm {

TfrmPopupProps::TfrmPopupProps(UiServices& ui, const TProject& project, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmPopupProps"), parent), project_(project) {
    setWindowTitle(QStringLiteral("Popup Properties"));
    tabGeneral = new QTabWidget(this);
    tabGeneral->setObjectName(QStringLiteral("tabGeneral"));
    auto* page = new QWidget(tabGeneral);
    page->setObjectName(QStringLiteral("tsGeneral"));

    txtPopupName = new QLineEdit(page);
    txtPopupName->setObjectName(QStringLiteral("txtPopupName"));
    txtPopupName->setMaxLength(255);
    txtPopupName->setMinimumWidth(300);
    txtContext = new QLineEdit(page);
    txtContext->setObjectName(QStringLiteral("txtContext"));
    // Digits only, and no length limit: an ID of more digits (renumbered or
    // imported) shows whole and is kept.
    DigitsOnly(txtContext);
    cboState = new QComboBox(page);
    cboState->setObjectName(QStringLiteral("cboState"));
    cboState->addItems({QStringLiteral("Done"), QStringLiteral("Editing")});
    cboState->setCurrentIndex(-1);

    auto label = [page](const QString& caption, QWidget* buddy) {
        auto* l = new QLabel(caption, page);
        l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
        l->setBuddy(buddy);
        return l;
    };
    auto* grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("Popup &name"), txtPopupName), 0, 0);
    grid->addWidget(txtPopupName, 0, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("&Context ID"), txtContext), 1, 0);
    grid->addWidget(txtContext, 1, 1);
    grid->addWidget(label(QStringLiteral("&Development state"), cboState), 2, 0);
    grid->addWidget(cboState, 2, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 140);
    grid->setRowStretch(3, 1);
    tabGeneral->addTab(page, QStringLiteral("General"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabGeneral, 1);
    layout->addWidget(MakeStandardButtons());
}

void TfrmPopupProps::LoadPopup(TTopicNode& node) {
    node_ = &node;
    txtPopupName->setText(FromCp1252(node.GetName()));
    txtContext->setText(QString::number(node.ContextId));
    // A state byte other than done or editing (kept as read from a file)
    // shows no state, and OK keeps it unless one is chosen.
    const auto state = static_cast<int>(node.State);
    cboState->setCurrentIndex(state == 0 || state == 1 ? state : -1);
    Activate();
}

void TfrmPopupProps::StorePopup() {
    if (!node_) return;
    node_->SetName(ToCp1252(txtPopupName->text()));
    const std::string context = ToCp1252(txtContext->text());
    std::int32_t id = 0;
    const auto [end, error] = std::from_chars(context.data(), context.data() + context.size(), id);
    if (error == std::errc() && end == context.data() + context.size()) node_->ContextId = id;
    if (cboState->currentIndex() == 0 || cboState->currentIndex() == 1)
        node_->State = static_cast<TopicState>(cboState->currentIndex());
}

bool TfrmPopupProps::validate() {
    if (!node_) return false;
    if (!CheckCp1252(txtPopupName->text(), QStringLiteral("Popup name")) ||
        !CheckCp1252(txtContext->text(), QStringLiteral("Context ID")))
        return false;
    for (QLineEdit* edit : {txtPopupName, txtContext}) edit->setText(FromCp1252(Trim(ToCp1252(edit->text()))));
    if (auto refusal = ModuleNameRefusal(ToCp1252(txtPopupName->text()), *node_, project_.Topics, kPopupNameTexts)) {
        Refuse(FromCp1252(*refusal));
        return false;
    }
    if (const TContextIdCheck id = CheckContextId(ToCp1252(txtContext->text()), *node_, project_.Topics); id.refusal) {
        Refuse(FromCp1252(*id.refusal));
        return false;
    }
    return true;
}

void TfrmPopupProps::showEvent(QShowEvent* event) {
    QmDialog::showEvent(event);
    txtPopupName->setFocus();
}

}  // namespace qm
