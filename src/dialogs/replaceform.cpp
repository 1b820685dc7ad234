#include "dialogs/replaceform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

TfrmReplace::TfrmReplace(UiServices& ui, QWidget* owner)
    : TSearchForm(ui, QStringLiteral("frmReplace"), QStringLiteral("Replace"), kHelpReplace, owner) {
    cboReplace = new QComboBox(this);
    cboReplace->setObjectName(QStringLiteral("cboReplace"));
    cboReplace->setEditable(true);
    cboReplace->setInsertPolicy(QComboBox::NoInsert);
    cboReplace->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboReplace->setMinimumContentsLength(30);
    lblReplace = new QLabel(QStringLiteral("Repla&ce:"), this);
    lblReplace->setObjectName(QStringLiteral("lblReplace"));
    lblReplace->setBuddy(cboReplace);
    fields_->addWidget(lblReplace, 1, 0);
    fields_->addWidget(cboReplace, 1, 1, 1, 2);
    setTabOrder(cboFind, cboReplace);
    setTabOrder(cboReplace, cboDirection);

    cmdReplace = new QPushButton(QStringLiteral("&Replace"), this);
    cmdReplace->setObjectName(QStringLiteral("cmdReplace"));
    cmdReplaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
    cmdReplaceAll->setObjectName(QStringLiteral("cmdReplaceAll"));
    for (QPushButton* b : {cmdReplace, cmdReplaceAll}) b->setAutoDefault(false);
    buttons_->insertWidget(1, cmdReplace);
    buttons_->insertWidget(2, cmdReplaceAll);
    setTabOrder(cmdFind, cmdReplace);
    setTabOrder(cmdReplace, cmdReplaceAll);
    setTabOrder(cmdReplaceAll, cmdCancel);

    connect(cboReplace, &QComboBox::editTextChanged, this, [this] { UpdateButtons(); });
    connect(cmdReplace, &QPushButton::clicked, this, [this] { ReplaceClicked(0); });
    connect(cmdReplaceAll, &QPushButton::clicked, this, [this] { ReplaceClicked(1); });
    UpdateButtons();
}

QString TfrmReplace::GetReplaceText() const { return cboReplace->currentText(); }

void TfrmReplace::SetReplaceText(const QString& text) {
    AddToHistory(cboReplace, text);
    cboReplace->setEditText(text);
}

void TfrmReplace::UpdateButtons() {
    TSearchForm::UpdateButtons();
    if (!cmdReplace) return;  // still being made
    // An empty replace text is allowed: replacing with nothing deletes the
    // hits. An empty find text has nothing to replace.
    const bool find = !GetFindText().isEmpty();
    cmdReplace->setEnabled(find && Scope() == kScopeCurrentText);
    cmdReplaceAll->setEnabled(find);
}

void TfrmReplace::ReplaceClicked(int all) {
    if (GetFindText().isEmpty()) return;
    replaceAll_ = all;
    AddToHistory(cboFind, GetFindText());
    AddToHistory(cboReplace, GetReplaceText());
    emit OnReplace();
}

}  // namespace qm
