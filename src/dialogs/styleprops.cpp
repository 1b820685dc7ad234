#include "dialogs/styleprops.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "dialogs/paragraphdlg.h"
#include "editor/qtfont.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"

namespace qm {

namespace {

enum StyleTypeItem { TypeCharacter = 0, TypeParagraph = 1 };

}  // namespace

TfrmStyleProperties::TfrmStyleProperties(TDialogFactory& factory, const TStyles& styles, QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmStyleProperties"), parent), factory_(factory), styles_(styles) {
    setWindowTitle(QStringLiteral("Style Properties"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    txtStyleName = new QLineEdit(this);
    txtStyleName->setObjectName(QStringLiteral("txtStyleName"));
    cboStyleType = new QComboBox(this);
    cboStyleType->setObjectName(QStringLiteral("cboStyleType"));
    cboStyleType->addItems({QStringLiteral("Character"), QStringLiteral("Paragraph")});
    form->addRow(QStringLiteral("Style &name"), txtStyleName);
    form->addRow(QStringLiteral("Style &type"), cboStyleType);
    layout->addLayout(form);

    auto* grpPreview = new QGroupBox(QStringLiteral("Preview"), this);
    auto* previewLayout = new QVBoxLayout(grpPreview);
    pbSample = new QLabel(grpPreview);
    pbSample->setObjectName(QStringLiteral("pbSample"));
    pbSample->setAlignment(Qt::AlignCenter);
    pbSample->setTextFormat(Qt::PlainText);
    pbSample->setMinimumHeight(48);
    pbSample->setAutoFillBackground(true);
    pbSample->setBackgroundRole(QPalette::Base);
    previewLayout->addWidget(pbSample);
    layout->addWidget(grpPreview);

    auto* grpDescription = new QGroupBox(QStringLiteral("Description"), this);
    auto* descriptionLayout = new QVBoxLayout(grpDescription);
    pbDescription = new QLabel(grpDescription);
    pbDescription->setObjectName(QStringLiteral("pbDescription"));
    pbDescription->setWordWrap(true);
    pbDescription->setMargin(4);
    pbDescription->setTextFormat(Qt::PlainText);
    pbDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pbDescription->setMinimumSize(320, 64);
    descriptionLayout->addWidget(pbDescription);
    layout->addWidget(grpDescription, 1);

    auto* bottom = new QHBoxLayout;
    cmdFormat = MakeButton(QStringLiteral("cmdFormat"), QStringLiteral("&Format"));
    FormatPopup = new QMenu(this);
    FormatPopup->setObjectName(QStringLiteral("FormatPopup"));
    mnuFormatPopFont = FormatPopup->addAction(QStringLiteral("&Font..."));
    mnuFormatPopFont->setObjectName(QStringLiteral("mnuFormatPopFont"));
    mnuFormatPopParagraph = FormatPopup->addAction(QStringLiteral("&Paragraph..."));
    mnuFormatPopParagraph->setObjectName(QStringLiteral("mnuFormatPopParagraph"));
    cmdFormat->setMenu(FormatPopup);
    bottom->addWidget(cmdFormat);
    bottom->addStretch(1);
    auto* buttons = MakeStandardButtons();
    cmdOk->setText(QStringLiteral("Ok"));
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(mnuFormatPopFont, &QAction::triggered, this, [this] { mnuFormatPopFontClick(); });
    connect(mnuFormatPopParagraph, &QAction::triggered, this, [this] { mnuFormatPopParagraphClick(); });
    connect(cboStyleType, &QComboBox::currentIndexChanged, this, &TfrmStyleProperties::typeChanged);
    Watch(cboStyleType);
    txtStyleName->setFocus();
}

void TfrmStyleProperties::Preset(const TStyle& style, int editIndex, const std::string& name) {
    style_ = style;
    editIndex_ = editIndex;
    txtStyleName->setText(FromCp1252(name));
    cboStyleType->setCurrentIndex(style.StyleType == 1 ? TypeParagraph : TypeCharacter);
    typeChanged();
    showStyle();
}

void TfrmStyleProperties::typeChanged() {
    style_.StyleType = cboStyleType->currentIndex() == TypeParagraph ? 1 : 0;
    showStyle();
}

void TfrmStyleProperties::showStyle() {
    QFont font = ToQFont(style_.Font);
    pbSample->setFont(font);
    QPalette p = pbSample->palette();
    p.setColor(QPalette::WindowText, ColorFromBgr(style_.Font.Color));
    pbSample->setPalette(p);
    pbSample->setText(FromCp1252(style_.Font.Name));
    pbDescription->setText(FromCp1252(style_.Describe()));
}

void TfrmStyleProperties::updateEnabling() {
    mnuFormatPopParagraph->setEnabled(cboStyleType->currentIndex() == TypeParagraph);
}

void TfrmStyleProperties::mnuFormatPopFontClick() {
    const std::optional<FontChoice> chosen =
        Ui().ChooseFont(FontChoice{ToQFont(style_.Font), ColorFromBgr(style_.Font.Color)});
    if (!chosen) return;
    style_.Font = FromQFont(chosen->font, chosen->color);
    showStyle();
}

void TfrmStyleProperties::mnuFormatPopParagraphClick() {
    if (!mnuFormatPopParagraph->isEnabled()) return;
    TParagraphRequest request;
    request.Format.StartIndent = style_.StartIndent;
    request.Format.Offset = style_.Offset;
    request.Format.RightIndent = style_.RightIndent;
    request.Format.Alignment = style_.Alignment;
    request.Format.SpaceBefore = style_.SpaceBefore;
    request.Format.SpaceAfter = style_.SpaceAfter;
    request.Format.LineSpacingRule = style_.LineSpacingRule;
    request.Format.LineSpacing = style_.LineSpacing;
    request.ShowTabs = false;
    const std::optional<TParagraphFormat> result = factory_.RunParagraph(request, this);
    if (!result) return;
    style_.StartIndent = result->StartIndent;
    style_.Offset = result->Offset;
    style_.RightIndent = result->RightIndent;
    style_.Alignment = static_cast<std::uint8_t>(result->Alignment);
    style_.SpaceBefore = result->SpaceBefore;
    style_.SpaceAfter = result->SpaceAfter;
    style_.LineSpacing = result->LineSpacing;
    style_.LineSpacingRule = result->LineSpacingRule;
    showStyle();
}

bool TfrmStyleProperties::validate() {
    const QString typed = txtStyleName->text().trimmed();
    if (!CheckCp1252(typed, QStringLiteral("Style name"))) return false;
    const std::string name = ToCp1252(typed);
    if (styles_.NameExists(name)) {
        const TStyle* edited = editIndex_ != -1 ? styles_.GetStyle(editIndex_) : nullptr;
        if (!(edited && SameText(edited->Name, name))) {
            Refuse(FromCp1252(name) + QString::fromLatin1(kMsgStyleNameUsed));
            return false;
        }
    }
    if (name.find(' ') != std::string::npos) {
        Refuse(QString::fromLatin1(kMsgStyleNameSpaces));
        return false;
    }
    name_ = name;
    return true;
}

void TfrmStyleProperties::store() { style_.Name = name_; }

}  // namespace qm
