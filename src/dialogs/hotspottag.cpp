#include "dialogs/hotspottag.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmHotspotTag::TfrmHotspotTag(UiServices& ui, const QString& formName, const QString& caption, int helpContext,
                               const TProject& project, QWidget* parent)
    : TTagForm(ui, formName, caption, helpContext, parent), project_(project) {
    optTxtHotSpot = new QRadioButton(QStringLiteral("Te&xt hotspot"), this);
    optTxtHotSpot->setObjectName(QStringLiteral("optTxtHotSpot"));
    txtHotSpot = MakeEdit(QStringLiteral("txtHotSpot"));
    optImgHotSpot = new QRadioButton(QStringLiteral("&Image hotspot"), this);
    optImgHotSpot->setObjectName(QStringLiteral("optImgHotSpot"));
    txtBmp = MakeEdit(QStringLiteral("txtBmp"));
    cmdBrowseBmp = MakeBrowseButton(QStringLiteral("cmdBrowseBmp"));
    chkUserDefined = new QCheckBox(QStringLiteral("&User defined appearance"), this);
    chkUserDefined->setObjectName(QStringLiteral("chkUserDefined"));
    cboAlign = new QComboBox(this);
    cboAlign->setObjectName(QStringLiteral("cboAlign"));
    FillAlignCombo(cboAlign);
    lblAlign = MakeLabel(QStringLiteral("&Alignment:"), cboAlign);
    auto* choice = new QButtonGroup(this);
    choice->addButton(optTxtHotSpot);
    choice->addButton(optImgHotSpot);
    optTxtHotSpot->setChecked(true);

    connect(cmdBrowseBmp, &QPushButton::clicked, this,
            guarded(Ui(), [this] { BrowseImage(txtBmp, QStringLiteral("Insert Bitmap"), project_); }));
    Watch(optTxtHotSpot);
    Watch(txtHotSpot);
    Watch(txtBmp);
}

int TfrmHotspotTag::AddHotspotRows(int row) {
    grid_->addWidget(optTxtHotSpot, row, 0);
    grid_->addWidget(txtHotSpot, row, 1, 1, 2);
    ++row;
    grid_->addWidget(optImgHotSpot, row, 0);
    grid_->addWidget(txtBmp, row, 1);
    grid_->addWidget(cmdBrowseBmp, row, 2);
    ++row;
    auto* look = new QHBoxLayout;
    look->addWidget(chkUserDefined);
    look->addStretch(1);
    look->addWidget(lblAlign);
    look->addWidget(cboAlign);
    grid_->addLayout(look, row, 0, 1, 3);
    return row + 1;
}

void TfrmHotspotTag::PresetHotspot(const std::string& hotspot, bool userDefined) {
    if (const auto image = ParseImageHotspot(hotspot)) {
        optImgHotSpot->setChecked(true);
        txtBmp->setText(FromCp1252(image->File));
        imageTagName_ = image->TagName;
        cboAlign->setCurrentIndex(static_cast<int>(ImageAlignOf(image->TagName)));
        chkUserDefined->setChecked(false);
    } else {
        optTxtHotSpot->setChecked(true);
        txtHotSpot->setText(FromCp1252(hotspot));
        chkUserDefined->setChecked(userDefined);
    }
}

bool TfrmHotspotTag::HotspotFilled() const {
    return optTxtHotSpot->isChecked() ? !txtHotSpot->text().isEmpty() : !txtBmp->text().isEmpty();
}

std::string TfrmHotspotTag::HotspotText() const {
    if (optTxtHotSpot->isChecked()) return ToCp1252(txtHotSpot->text());
    return "<" + ImageTagNameFor(AlignOf(cboAlign), imageTagName_) + " \"" + FileNameOnly(ToCp1252(txtBmp->text())) +
           "\">";
}

bool TfrmHotspotTag::UserDefinedLook() const { return optTxtHotSpot->isChecked() && chkUserDefined->isChecked(); }

std::string TfrmHotspotTag::ImageFile() const {
    return optImgHotSpot->isChecked() ? ToCp1252(txtBmp->text()) : std::string();
}

void TfrmHotspotTag::updateEnabling() {
    const bool text = optTxtHotSpot->isChecked();
    txtHotSpot->setEnabled(text);
    chkUserDefined->setEnabled(text);
    for (QWidget* w : {static_cast<QWidget*>(txtBmp), static_cast<QWidget*>(cmdBrowseBmp),
                       static_cast<QWidget*>(lblAlign), static_cast<QWidget*>(cboAlign)})
        w->setEnabled(!text);
    TTagForm::updateEnabling();
}

}  // namespace qm
