#include "dialogs/paragraphdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <cmath>

#include "util/helpunits.h"
#include "widgets/dialoghelpers.h"
#include "widgets/spinedit.h"

namespace qm {

namespace {

constexpr double kCmPerInch = 2.54;

// The nearest integer, a tie going to the even one.
int RoundHalfEven(double v) {
    if (std::fabs(v - std::trunc(v)) == 0.5) return static_cast<int>(2.0 * std::round(v / 2.0));
    return static_cast<int>(std::round(v));
}

// Digits, "," and "." only, three characters at most. A validator rather
// than a length limit, so a preset is never cut.
class TabStopValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (input.size() > 3) return Invalid;
        for (QChar c : input)
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char(',') && c != QLatin1Char('.')) return Invalid;
        return Acceptable;
    }
};

enum FirstLine { FirstLineNone = 0, FirstLinePositive = 1, FirstLineNegative = 2 };
enum SpacingRule { RuleSimple = 0, RuleExactly = 1 };

}  // namespace

double PixelsToUnit(int pixels, int scaleMode, int ppi) {
    if (ppi <= 0) ppi = kDefaultPixelsPerInch;
    if (scaleMode == 0) return pixels;
    if (scaleMode == 2) return pixels / (ppi / kCmPerInch);
    return static_cast<double>(pixels) / ppi;
}

int UnitToPixels(double value, int scaleMode, int ppi) {
    if (ppi <= 0) ppi = kDefaultPixelsPerInch;
    if (scaleMode == 0) return static_cast<int>(std::trunc(value));
    if (scaleMode == 2) return RoundHalfEven(value * ppi / kCmPerInch);
    return RoundHalfEven(value * ppi);
}

TfrmParagraph::TfrmParagraph(UiServices& ui, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmParagraph"), parent), ppi_(ScreenPixelsPerInch()) {
    setWindowTitle(QStringLiteral("Paragraph"));
    auto* layout = new QVBoxLayout(this);
    tbsParagraph = new QTabWidget(this);
    tbsParagraph->setObjectName(QStringLiteral("tbsParagraph"));

    // --- Indentation and Spacing ---
    tsIndentation = new QWidget(tbsParagraph);
    tsIndentation->setObjectName(QStringLiteral("tsIndentation"));
    auto* page1 = new QVBoxLayout(tsIndentation);
    auto* alignRow = new QHBoxLayout;
    cboAlignment = new QComboBox(tsIndentation);
    cboAlignment->setObjectName(QStringLiteral("cboAlignment"));
    cboAlignment->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    cboAlignment->setCurrentIndex(0);
    auto* lblAlignment = new QLabel(QStringLiteral("&Alignment :"), tsIndentation);
    lblAlignment->setBuddy(cboAlignment);
    alignRow->addWidget(lblAlignment);
    alignRow->addWidget(cboAlignment);
    alignRow->addStretch(1);
    page1->addLayout(alignRow);

    int scaleIndex = 0;
    auto makeSpin = [&](const char* name, QWidget* parent) {
        auto* spin = new TQorSpinEdit(parent);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setMinimumWidth(110);
        lblScale[scaleIndex] = new QLabel(QStringLiteral("pixels"), parent);
        lblScale[scaleIndex]->setObjectName(QStringLiteral("lblScale%1").arg(scaleIndex + 1));
        lblScale[scaleIndex]->setMinimumWidth(
            lblScale[scaleIndex]->fontMetrics().horizontalAdvance(QStringLiteral("inches")) + 4);
        ++scaleIndex;
        return spin;
    };
    auto addRow = [](QGridLayout* grid, int row, QLabel* caption, QComboBox* combo, TQorSpinEdit* spin, QLabel* unit) {
        caption->setBuddy(combo ? static_cast<QWidget*>(combo) : spin);
        grid->addWidget(caption, row, 0);
        if (combo) grid->addWidget(combo, row, 1);
        grid->addWidget(spin, row, 2);
        grid->addWidget(unit, row, 3);
    };

    auto* grpIndent = new QGroupBox(QStringLiteral("Indentation"), tsIndentation);
    auto* indentGrid = new QGridLayout(grpIndent);
    seLeft = makeSpin("seLeft", grpIndent);
    seRight = makeSpin("seRight", grpIndent);
    cboFirstLine = new QComboBox(grpIndent);
    cboFirstLine->setObjectName(QStringLiteral("cboFirstLine"));
    cboFirstLine->addItems({QStringLiteral("(None)"), QStringLiteral("Positive"), QStringLiteral("Negative")});
    cboFirstLine->setCurrentIndex(FirstLineNone);
    seFirst = makeSpin("seFirst", grpIndent);
    addRow(indentGrid, 0, new QLabel(QStringLiteral("&Left :"), grpIndent), nullptr, seLeft, lblScale[0]);
    addRow(indentGrid, 1, new QLabel(QStringLiteral("&Right :"), grpIndent), nullptr, seRight, lblScale[1]);
    addRow(indentGrid, 2, new QLabel(QStringLiteral("&First line :"), grpIndent), cboFirstLine, seFirst, lblScale[2]);
    indentGrid->setColumnStretch(4, 1);
    page1->addWidget(grpIndent);

    auto* grpSpacing = new QGroupBox(QStringLiteral("Spacing"), tsIndentation);
    auto* spacingGrid = new QGridLayout(grpSpacing);
    seBefore = makeSpin("seBefore", grpSpacing);
    seAfter = makeSpin("seAfter", grpSpacing);
    cboLineSpacingRule = new QComboBox(grpSpacing);
    cboLineSpacingRule->setObjectName(QStringLiteral("cboLineSpacingRule"));
    cboLineSpacingRule->addItems({QStringLiteral("Simple"), QStringLiteral("Exactly")});
    cboLineSpacingRule->setCurrentIndex(RuleSimple);
    seSpacing = makeSpin("seSpacing", grpSpacing);
    addRow(spacingGrid, 0, new QLabel(QStringLiteral("&Before :"), grpSpacing), nullptr, seBefore, lblScale[3]);
    addRow(spacingGrid, 1, new QLabel(QStringLiteral("Af&ter :"), grpSpacing), nullptr, seAfter, lblScale[4]);
    addRow(spacingGrid, 2, new QLabel(QStringLiteral("L&ine spacing :"), grpSpacing), cboLineSpacingRule, seSpacing,
           lblScale[5]);
    spacingGrid->setColumnStretch(4, 1);
    // The two groups' columns line up: the widest caption and box of either.
    int captionWidth = 0;
    for (QGridLayout* grid : {indentGrid, spacingGrid})
        for (int row = 0; row < grid->rowCount(); ++row)
            if (QLayoutItem* item = grid->itemAtPosition(row, 0))
                captionWidth = std::max(captionWidth, item->sizeHint().width());
    const int boxWidth = std::max(cboFirstLine->sizeHint().width(), cboLineSpacingRule->sizeHint().width());
    for (QGridLayout* grid : {indentGrid, spacingGrid}) {
        grid->setColumnMinimumWidth(0, captionWidth);
        grid->setColumnMinimumWidth(1, boxWidth);
    }
    page1->addWidget(grpSpacing);
    page1->addStretch(1);
    tbsParagraph->addTab(tsIndentation, QStringLiteral("Indentation and Spacing"));

    // --- Tab Stops ---
    tsTabs = new QWidget(tbsParagraph);
    tsTabs->setObjectName(QStringLiteral("tsTabs"));
    auto* page2 = new QVBoxLayout(tsTabs);
    page2->addWidget(new QLabel(QStringLiteral("Enter the tabs stops for the current paragraph."), tsTabs));
    auto* tabsRow = new QHBoxLayout;
    auto* tabsLeft = new QVBoxLayout;
    txtTabs = new QLineEdit(tsTabs);
    txtTabs->setObjectName(QStringLiteral("txtTabs"));
    txtTabs->setValidator(new TabStopValidator(txtTabs));
    lstTabs = new QListWidget(tsTabs);
    lstTabs->setObjectName(QStringLiteral("lstTabs"));
    tabs_ = new ListEditor(lstTabs, this);
    tabsLeft->addWidget(txtTabs);
    tabsLeft->addWidget(lstTabs, 1);
    auto* tabsButtons = new QVBoxLayout;
    cmdAdd = MakeButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"), tsTabs);
    cmdRemove = MakeButton(QStringLiteral("cmdRemove"), QStringLiteral("&Remove"), tsTabs);
    cmdRemoveAll = MakeButton(QStringLiteral("cmdRemoveAll"), QStringLiteral("&Clear"), tsTabs);
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdRemoveAll}) tabsButtons->addWidget(b);
    tabsButtons->addStretch(1);
    tabsRow->addLayout(tabsLeft, 1);
    tabsRow->addLayout(tabsButtons);
    page2->addLayout(tabsRow, 1);
    tbsParagraph->addTab(tsTabs, QStringLiteral("Tab Stops"));

    layout->addWidget(tbsParagraph);
    layout->addWidget(MakeStandardButtons());

    // Tab order: down the first page, then the buttons.
    setTabOrder(cboAlignment, seLeft);
    setTabOrder(seLeft, seRight);
    setTabOrder(seRight, cboFirstLine);
    setTabOrder(cboFirstLine, seFirst);
    setTabOrder(seFirst, seBefore);
    setTabOrder(seBefore, seAfter);
    setTabOrder(seAfter, cboLineSpacingRule);
    setTabOrder(cboLineSpacingRule, seSpacing);

    connect(tbsParagraph, &QTabWidget::currentChanged, this, &TfrmParagraph::pageChanged);
    connect(cboFirstLine, &QComboBox::activated, this, &TfrmParagraph::firstLineChanged);
    connect(cboAlignment, &QComboBox::activated, this, [this] { keptAlignment_.reset(); });
    connect(cboLineSpacingRule, &QComboBox::activated, this, &TfrmParagraph::lineSpacingRuleChanged);
    connect(seSpacing, &TQorSpinEdit::valueEdited, this, [this] {
        keptRule_.reset();
        keptSpacing_.reset();
    });
    connect(cmdAdd, &QPushButton::clicked, this, &TfrmParagraph::cmdAddClick);
    connect(cmdRemove, &QPushButton::clicked, this, &TfrmParagraph::cmdRemoveClick);
    connect(cmdRemoveAll, &QPushButton::clicked, this, &TfrmParagraph::cmdRemoveAllClick);
    Watch(txtTabs);
    Watch(lstTabs);
    Watch(tbsParagraph);
    cboAlignment->setFocus();
}

double TfrmParagraph::toUnit(int pixels) const {
    // Four decimals hold every pixel to well under half a pixel at any
    // common resolution, and keep 14 pixels from showing as 0.145833333333333.
    constexpr double kShown = 10000.0;
    return std::round(PixelsToUnit(pixels, scaleMode_, ppi_) * kShown) / kShown;
}
int TfrmParagraph::toPixels(double value) const { return UnitToPixels(value, scaleMode_, ppi_); }

void TfrmParagraph::SetScaleMode(int mode) {
    scaleMode_ = mode;
    const QString unit = mode == 0   ? QStringLiteral("pixels")
                         : mode == 2 ? QStringLiteral("cm")
                                     : QStringLiteral("inches");
    for (QLabel* l : lblScale) l->setText(unit);
    const double maximum = mode == 0 ? 1024 : mode == 2 ? 25 : 10;
    for (TQorSpinEdit* s : {seLeft, seRight, seFirst, seBefore, seAfter, seSpacing}) {
        s->Increment = mode == 0 ? 1.0 : 0.1;
        s->MaxValue = maximum;
    }
}

void TfrmParagraph::SetParaAttributes(int startIndent, int offset, int alignment, int rightIndent) {
    seLeft->SetValue(toUnit(offset < 0 ? startIndent + offset : startIndent));
    seFirst->SetValue(toUnit(std::abs(offset)));
    seRight->SetValue(toUnit(rightIndent));
    cboFirstLine->setCurrentIndex(offset == 0 ? FirstLineNone : offset < 0 ? FirstLinePositive : FirstLineNegative);
    cboAlignment->setCurrentIndex(alignment == 0 ? 0 : alignment == 2 ? 1 : 2);
    keptAlignment_ = alignment;
}

void TfrmParagraph::SetSpacingAttributes(int spaceBefore, int spaceAfter, int lineSpacingRule, int lineSpacing) {
    const bool exactly = lineSpacingRule != 0;
    cboLineSpacingRule->setCurrentIndex(exactly ? RuleExactly : RuleSimple);
    seBefore->SetValue(toUnit(spaceBefore));
    seAfter->SetValue(toUnit(spaceAfter));
    seSpacing->SetValue(exactly ? toUnit(lineSpacing) : 0);
    keptRule_ = lineSpacingRule;
    keptSpacing_ = lineSpacing;
}

void TfrmParagraph::SetTabsAttributes(const std::vector<int>& tabs) {
    lstTabs->clear();
    for (int t : tabs) lstTabs->addItem(QString::number(t));
    if (lstTabs->count() > 0) lstTabs->setCurrentRow(0);
    Activate();
}

void TfrmParagraph::HideTabsPage() {
    tbsParagraph->setCurrentIndex(0);
    tbsParagraph->setTabVisible(tbsParagraph->indexOf(tsTabs), false);
}

int TfrmParagraph::Alignment() const {
    if (keptAlignment_) return *keptAlignment_;
    switch (cboAlignment->currentIndex()) {
        case 1: return 2;
        case 2: return 1;
        default: return 0;
    }
}

int TfrmParagraph::StartIndent() const {
    if (cboFirstLine->currentIndex() == FirstLineNegative) return toPixels(seLeft->GetValue());
    return toPixels(seLeft->GetValue() + seFirst->GetValue());
}

int TfrmParagraph::Offset() const {
    const int first = toPixels(seFirst->GetValue());
    return cboFirstLine->currentIndex() == FirstLineNegative ? first : -first;
}

int TfrmParagraph::RightIndent() const { return toPixels(seRight->GetValue()); }
int TfrmParagraph::SpaceBefore() const { return toPixels(seBefore->GetValue()); }
int TfrmParagraph::SpaceAfter() const { return toPixels(seAfter->GetValue()); }

int TfrmParagraph::LineSpacing() const {
    if (keptSpacing_) return *keptSpacing_;
    return toPixels(seSpacing->GetValue());
}

int TfrmParagraph::LineSpacingRule() const {
    if (keptRule_) return *keptRule_;
    return cboLineSpacingRule->currentIndex() == RuleExactly ? 4 : 0;
}

std::vector<int> TfrmParagraph::Tabs() const {
    std::vector<int> tabs;
    for (int i = 0; i < lstTabs->count(); ++i) tabs.push_back(lstTabs->item(i)->text().toInt());
    return tabs;
}

TParagraphFormat TfrmParagraph::Format() const {
    TParagraphFormat f;
    f.StartIndent = StartIndent();
    f.Offset = Offset();
    f.RightIndent = RightIndent();
    f.Alignment = Alignment();
    f.SpaceBefore = SpaceBefore();
    f.SpaceAfter = SpaceAfter();
    f.LineSpacingRule = LineSpacingRule();
    f.LineSpacing = LineSpacing();
    f.Tabs = Tabs();
    return f;
}

void TfrmParagraph::firstLineChanged() {
    if (cboFirstLine->currentIndex() == FirstLineNone)
        seFirst->SetValue(0);
    else if (seFirst->GetValue() == 0)
        seFirst->SetValue(1);
}

void TfrmParagraph::lineSpacingRuleChanged() {
    keptRule_.reset();
    keptSpacing_.reset();
    if (cboLineSpacingRule->currentIndex() == RuleSimple)
        seSpacing->SetValue(0);
    else if (seSpacing->GetValue() == 0)
        seSpacing->SetValue(12);
}

void TfrmParagraph::cmdAddClick() {
    const QString text = txtTabs->text();
    if (text.isEmpty()) return;
    if (lstTabs->count() >= kParagraphMaxTabs) {
        Refuse(QString::fromLatin1(kMsgTooManyTabs));
        return;
    }
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('.'))) {
        Refuse(QString::fromLatin1(kMsgTabNotWhole));
        return;
    }
    const int v = text.toInt();
    int row = 0;
    while (row < lstTabs->count() && lstTabs->item(row)->text().toInt() < v) ++row;
    if (row < lstTabs->count() && lstTabs->item(row)->text().toInt() == v) {
        Refuse(QString::fromLatin1(kMsgTabAlreadyAdded));
        return;
    }
    tabs_->Insert(row, QString::number(v));
    txtTabs->clear();
    txtTabs->setFocus();
}

void TfrmParagraph::cmdRemoveClick() { tabs_->Remove(); }

void TfrmParagraph::cmdRemoveAllClick() {
    lstTabs->clear();
    // A cleared list signals a reset, which no watch sees.
    Activate();
}

void TfrmParagraph::updateEnabling() {
    cmdAdd->setEnabled(!txtTabs->text().isEmpty());
    const bool any = lstTabs->count() > 0;
    cmdRemove->setEnabled(any);
    cmdRemoveAll->setEnabled(any);
}

void TfrmParagraph::pageChanged(int page) {
    const bool tabs = tbsParagraph->widget(page) == tsTabs;
    // On the tab page Enter adds the stop typed; elsewhere it is OK's.
    cmdOk->setDefault(!tabs);
    cmdAdd->setDefault(tabs);
    if (tabs)
        txtTabs->setFocus();
    else
        cboAlignment->setFocus();
}

int TfrmParagraph::helpContext() const {
    return tbsParagraph->currentWidget() == tsTabs ? kParagraphTabsHelpContext : kParagraphIndentsHelpContext;
}

}  // namespace qm
