#include "shgedit/optionsdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"

namespace qm::shgedit {

TfrmOptions::TfrmOptions(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmOptions"), parent) {
    setWindowTitle(QStringLiteral("Preferences"));
    auto* group = new QGroupBox(QStringLiteral(" Default attributes "), this);
    group->setObjectName(QStringLiteral("fraDefaults"));
    txtID = new QLineEdit(group);
    txtID->setObjectName(QStringLiteral("txtID"));
    cboType = new QComboBox(group);
    cboType->setObjectName(QStringLiteral("cboType"));
    cboType->addItems({QStringLiteral("Popup"), QStringLiteral("Jump"), QStringLiteral("Macro")});
    cboAttribute = new QComboBox(group);
    cboAttribute->setObjectName(QStringLiteral("cboAttribute"));
    cboAttribute->addItems({QStringLiteral("Visible"), QStringLiteral("Invisible")});
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Hotspot &ID"), txtID);
    form->addRow(QStringLiteral("T&ype"), cboType);
    form->addRow(QStringLiteral("&Attribute"), cboAttribute);

    auto* heading = new QHBoxLayout;
    auto* lblAssociation = new QLabel(QStringLiteral("File association"), this);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    heading->addWidget(lblAssociation);
    heading->addWidget(line, 1);
    chkAssociate = new QCheckBox(QStringLiteral("Associate segmented hypergraphic files with Pikeral"), this);
    chkAssociate->setObjectName(QStringLiteral("chkAssociate"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(heading);
    layout->addWidget(chkAssociate);
    layout->addStretch(1);
    layout->addWidget(MakeStandardButtons(false));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmOptions::SetOptions(const TOptions& options) {
    chkAssociate->setChecked(options.AssocSHG);
    cboType->setCurrentIndex(options.DefType);
    cboAttribute->setCurrentIndex(options.DefAttribute);
    txtID->setText(FromCp1252(options.DefID));
}

void TfrmOptions::store() {
    result_.AssocSHG = chkAssociate->isChecked();
    result_.DefType = cboType->currentIndex() < 0 ? 0 : cboType->currentIndex();
    result_.DefAttribute = cboAttribute->currentIndex() < 0 ? 0 : cboAttribute->currentIndex();
    result_.DefID = ToCp1252(txtID->text());
}

void TfrmOptions::ApplyTo(TOptions& options) const {
    options.AssocSHG = result_.AssocSHG;
    options.DefType = result_.DefType;
    options.DefAttribute = result_.DefAttribute;
    options.DefID = result_.DefID;
}

}  // namespace qm::shgedit
