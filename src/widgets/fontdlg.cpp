#include "widgets/fontdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/colorcombo.h"

namespace qm {

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 1638;

}  // namespace

TdlgFont::TdlgFont(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("dlgFont"), parent) {
    setWindowTitle(QStringLiteral("Font"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cboFontName = new QFontComboBox(this);
    cboFontName->setObjectName(QStringLiteral("cboFontName"));
    cboFontName->setMinimumWidth(220);
    cboFontSize = new QComboBox(this);
    cboFontSize->setObjectName(QStringLiteral("cboFontSize"));
    cboFontSize->setEditable(true);
    cboFontSize->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        cboFontSize->addItem(QString::number(size));
    cboFontSize->lineEdit()->setValidator(new QIntValidator(0, kMaxSize, cboFontSize));
    form->addRow(QStringLiteral("&Font:"), cboFontName);
    form->addRow(QStringLiteral("&Size:"), cboFontSize);
    layout->addLayout(form);

    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    auto* grid = new QHBoxLayout(effects);
    auto makeBox = [&](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, effects);
        box->setObjectName(QString::fromLatin1(name));
        grid->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TdlgFont::updateSample);
        return box;
    };
    chkBold = makeBox("chkBold", QStringLiteral("&Bold"));
    chkItalic = makeBox("chkItalic", QStringLiteral("&Italic"));
    chkUnderline = makeBox("chkUnderline", QStringLiteral("&Underline"));
    chkStrikeout = makeBox("chkStrikeout", QStringLiteral("Stri&keout"));
    layout->addWidget(effects);

    auto* colorRow = new QFormLayout;
    cboColor = new TColorCombo(this);
    cboColor->setObjectName(QStringLiteral("cboColor"));
    colorRow->addRow(QStringLiteral("&Color:"), cboColor);
    layout->addLayout(colorRow);

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    lblSample = new QLabel(QStringLiteral("AaBbYyZz"), sampleBox);
    lblSample->setObjectName(QStringLiteral("lblSample"));
    lblSample->setAlignment(Qt::AlignCenter);
    lblSample->setMinimumHeight(56);
    sampleLayout->addWidget(lblSample);
    layout->addWidget(sampleBox);
    layout->addWidget(MakeStandardButtons(false));

    connect(cboFontName, &QFontComboBox::currentFontChanged, this, &TdlgFont::updateSample);
    connect(cboFontSize, &QComboBox::editTextChanged, this, &TdlgFont::updateSample);
    connect(cboColor, &QComboBox::currentIndexChanged, this, &TdlgFont::updateSample);
}

void TdlgFont::SetChoice(const FontChoice& choice) {
    choice_ = choice;
    cboFontName->setCurrentFont(choice.font);
    const int points = choice.font.pointSize() > 0 ? choice.font.pointSize() : 10;
    cboFontSize->setEditText(QString::number(points));
    chkBold->setChecked(choice.font.bold());
    chkItalic->setChecked(choice.font.italic());
    chkUnderline->setChecked(choice.font.underline());
    chkStrikeout->setChecked(choice.font.strikeOut());
    cboColor->SetSelectedColor(choice.color.isValid() ? BgrFromQColor(choice.color) : 0);
    updateSample();
}

QFont TdlgFont::currentFont() const {
    QFont f = cboFontName->currentFont();
    bool ok = false;
    const int points = cboFontSize->currentText().toInt(&ok);
    if (ok && points >= kMinSize) f.setPointSize(points);
    f.setBold(chkBold->isChecked());
    f.setItalic(chkItalic->isChecked());
    f.setUnderline(chkUnderline->isChecked());
    f.setStrikeOut(chkStrikeout->isChecked());
    return f;
}

QColor TdlgFont::currentColor() const { return QColorFromBgr(cboColor->GetSelectedColor()); }

void TdlgFont::updateSample() {
    lblSample->setFont(currentFont());
    QPalette p = lblSample->palette();
    p.setColor(QPalette::WindowText, currentColor());
    lblSample->setPalette(p);
}

bool TdlgFont::validate() {
    bool ok = false;
    const int points = cboFontSize->currentText().toInt(&ok);
    if (!ok || points < kMinSize || points > kMaxSize) {
        Refuse(QStringLiteral("The size must be a whole number from %1 to %2.").arg(kMinSize).arg(kMaxSize));
        return false;
    }
    return true;
}

void TdlgFont::store() { choice_ = FontChoice{currentFont(), currentColor()}; }

std::optional<FontChoice> RunFontDialog(UiServices& ui, const FontChoice& initial) {
    TdlgFont dialog(ui, ui.ParentWidget());
    dialog.SetChoice(initial);
    dialog.Activate();
    ui.RunDialog(dialog);
    if (!dialog.Accepted()) return std::nullopt;
    return dialog.Choice();
}

}  // namespace qm
