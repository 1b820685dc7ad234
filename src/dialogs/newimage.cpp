#include "dialogs/newimage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewImage::TfrmNewImage(UiServices& ui, const TProject& project, QWidget* parent)
    : TTagForm(ui, QStringLiteral("frmNewImage"), QStringLiteral("Image Tag Editor"), kImageHelpContext, parent),
      project_(project) {
    txtImage = MakeEdit(QStringLiteral("txtImage"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    cboAlign = new QComboBox(this);
    cboAlign->setObjectName(QStringLiteral("cboAlign"));
    FillAlignCombo(cboAlign);
    grid_->addWidget(MakeLabel(QStringLiteral("&Image"), txtImage), 0, 0);
    grid_->addWidget(txtImage, 0, 1);
    grid_->addWidget(cmdBrowse, 0, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Alignment"), cboAlign), 1, 0);
    grid_->addWidget(cboAlign, 1, 1, Qt::AlignLeft);
    ChainTabOrder({txtImage, cmdBrowse, cboAlign, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowse, &QPushButton::clicked, this,
            guarded(Ui(), [this] { BrowseImage(txtImage, QStringLiteral("Insert Image"), project_); }));
    Watch(txtImage);
}

void TfrmNewImage::Preset(const TTagPreset& preset) {
    txtImage->setText(FromCp1252(preset.Image));
    tagName_ = preset.ImageTagName;
    cboAlign->setCurrentIndex(static_cast<int>(ImageAlignOf(tagName_)));
}

bool TfrmNewImage::okRule() const { return !Trim(ToCp1252(txtImage->text())).empty(); }

std::string TfrmNewImage::ImageFile() const { return ToCp1252(txtImage->text()); }

std::string TfrmNewImage::GetTag() const {
    return "<" + ImageTagNameFor(AlignOf(cboAlign), tagName_) + " \"" + FileNameOnly(ToCp1252(txtImage->text())) +
           "\">";
}

}  // namespace qm
