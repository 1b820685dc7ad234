#include "shgedit/hspropsdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"

namespace qm::shgedit {

THotspotFields THotspotFields::Of(const THotspot& h) {
    THotspotFields f;
    f.ID = h.ID;
    f.Kind = h.Kind;
    f.Binding = h.Kind == THotspotKind::Macro ? h.Macro : h.Context;
    f.Attribute = h.Visible ? 0 : 1;
    f.Left = h.Left;
    f.Top = h.Top;
    f.Right = h.Right;
    f.Bottom = h.Bottom;
    return f;
}

namespace {

QSpinBox* MakeCoordinate(const char* name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, kMaxCoordinate);
    box->setWrapping(false);
    box->setAccelerated(true);
    return box;
}

}  // namespace

TfrmHsProps::TfrmHsProps(UiServices& ui, StringList topics, StringList popups, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmHsProps"), parent), topics_(std::move(topics)), popups_(std::move(popups)) {
    setWindowTitle(QStringLiteral("Hotspot Properties"));

    txtID = new QLineEdit(this);
    txtID->setObjectName(QStringLiteral("txtID"));
    cboType = new QComboBox(this);
    cboType->setObjectName(QStringLiteral("cboType"));
    cboType->addItems({QStringLiteral("Popup"), QStringLiteral("Jump"), QStringLiteral("Macro")});
    cboAttribute = new QComboBox(this);
    cboAttribute->setObjectName(QStringLiteral("cboAttribute"));
    cboAttribute->addItems({QStringLiteral("Visible"), QStringLiteral("Invisible")});

    auto* top = new QGridLayout;
    auto* lblID = new QLabel(QStringLiteral("Hotspot &ID"), this);
    lblID->setBuddy(txtID);
    auto* lblType = new QLabel(QStringLiteral("T&ype"), this);
    lblType->setBuddy(cboType);
    auto* lblAttribute = new QLabel(QStringLiteral("&Attribute"), this);
    lblAttribute->setBuddy(cboAttribute);
    top->addWidget(lblID, 0, 0);
    top->addWidget(txtID, 0, 1, 1, 3);
    top->addWidget(lblType, 1, 0);
    top->addWidget(cboType, 1, 1);
    top->addWidget(lblAttribute, 1, 2);
    top->addWidget(cboAttribute, 1, 3);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(3, 1);

    fraBinding = new QGroupBox(QStringLiteral(" Binding "), this);
    fraBinding->setObjectName(QStringLiteral("fraBinding"));
    lblBinding = new QLabel(QStringLiteral("Conte&xt string"), fraBinding);
    lblBinding->setObjectName(QStringLiteral("lblBinding"));
    cboBinding = new QComboBox(fraBinding);
    cboBinding->setObjectName(QStringLiteral("cboBinding"));
    cboBinding->setEditable(true);
    // A typed target is a value, not a new choice.
    cboBinding->setInsertPolicy(QComboBox::NoInsert);
    cboBinding->setMinimumContentsLength(32);
    lblBinding->setBuddy(cboBinding);
    auto* binding = new QVBoxLayout(fraBinding);
    binding->addWidget(lblBinding);
    binding->addWidget(cboBinding);

    fraRect = new QGroupBox(QStringLiteral(" Bounding Box "), this);
    fraRect->setObjectName(QStringLiteral("fraRect"));
    txtLeft = MakeCoordinate("txtLeft", fraRect);
    txtTop = MakeCoordinate("txtTop", fraRect);
    txtRight = MakeCoordinate("txtRight", fraRect);
    txtBottom = MakeCoordinate("txtBottom", fraRect);
    auto* rect = new QGridLayout(fraRect);
    auto place = [&](const char* caption, QSpinBox* box, int row, int column) {
        auto* label = new QLabel(QString::fromLatin1(caption), fraRect);
        label->setBuddy(box);
        rect->addWidget(label, row, column);
        rect->addWidget(box, row, column + 1);
    };
    place("&Left", txtLeft, 0, 0);
    place("&Top", txtTop, 0, 2);
    place("&Right", txtRight, 1, 0);
    place("&Bottom", txtBottom, 1, 2);
    rect->setColumnStretch(1, 1);
    rect->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fraBinding);
    layout->addWidget(fraRect);
    layout->addWidget(MakeStandardButtons(true));
    // A fixed dialog border.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtID, cboType);
    setTabOrder(cboType, cboAttribute);
    setTabOrder(cboAttribute, cboBinding);
    setTabOrder(cboBinding, txtLeft);
    setTabOrder(txtLeft, txtTop);
    setTabOrder(txtTop, txtRight);
    setTabOrder(txtRight, txtBottom);

    connect(cboType, &QComboBox::currentIndexChanged, this, [this] { cboTypeChange(); });
    cboTypeChange();
}

void TfrmHsProps::cboTypeChange() {
    const QString typed = cboBinding->currentText();
    const auto kind = static_cast<THotspotKind>(cboType->currentIndex() < 0 ? 0 : cboType->currentIndex());
    lblBinding->setText(kind == THotspotKind::Macro ? QStringLiteral("&Macro") : QStringLiteral("Conte&xt string"));
    QStringList choices;
    if (kind != THotspotKind::Macro)
        for (const std::string& name : kind == THotspotKind::Popup ? popups_ : topics_) choices << FromCp1252(name);
    cboBinding->clear();
    cboBinding->addItems(choices);
    cboBinding->setEditText(typed);
}

void TfrmHsProps::SetFields(const THotspotFields& f) {
    txtID->setText(FromCp1252(f.ID));
    cboType->setCurrentIndex(static_cast<int>(f.Kind));
    cboTypeChange();
    cboBinding->setEditText(FromCp1252(f.Binding));
    cboAttribute->setCurrentIndex(f.Attribute == 0 ? 0 : 1);
    txtLeft->setValue(f.Left);
    txtTop->setValue(f.Top);
    txtRight->setValue(f.Right);
    txtBottom->setValue(f.Bottom);
}

THotspotFields TfrmHsProps::Fields() const {
    THotspotFields f;
    f.ID = ToCp1252(txtID->text());
    f.Kind = static_cast<THotspotKind>(cboType->currentIndex() < 0 ? 0 : cboType->currentIndex());
    f.Binding = ToCp1252(cboBinding->currentText());
    f.Attribute = cboAttribute->currentIndex() == 1 ? 1 : 0;
    f.Left = txtLeft->value();
    f.Top = txtTop->value();
    f.Right = txtRight->value();
    f.Bottom = txtBottom->value();
    return f;
}

}  // namespace qm::shgedit
