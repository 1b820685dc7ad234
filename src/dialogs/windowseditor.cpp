#include "dialogs/windowseditor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

#include "dialogs/dialogfactory.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/helpunits.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kHelpContexts[] = {210, 215, 220, 225, 230};
constexpr std::uint8_t kDefaultButtons = WindowButtons::Contents | WindowButtons::Index | WindowButtons::HelpTopics |
                                         WindowButtons::Print | WindowButtons::Back;
constexpr int kNonScrollingBottom = 30;

QColor FromColorRef(TColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
TColorRef ToColorRef(const QColor& c) {
    return static_cast<TColorRef>(c.red()) | (static_cast<TColorRef>(c.green()) << 8) |
           (static_cast<TColorRef>(c.blue()) << 16);
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

// --- the colour panel ----------------------------------------------------------------

TColorPanel::TColorPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pbColor"));
    setMouseTracking(true);
    setMinimumSize(220, 80);
}

void TColorPanel::SetColors(TColorRef nonScrolling, TColorRef topic) {
    rgb1_ = nonScrolling;
    rgb2_ = topic;
    update();
}

QString TColorPanel::HintAt(int y) const {
    const TColorRef c = y < kNonScrollingBottom ? rgb1_ : rgb2_;
    return QStringLiteral("Red: %1, Green: %2, Blue: %3").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}

void TColorPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(QRect(0, 0, width(), kNonScrollingBottom + 1), FromColorRef(rgb1_));
    p.setPen(Qt::black);
    p.drawLine(0, kNonScrollingBottom + 1, width(), kNonScrollingBottom + 1);
    p.fillRect(QRect(0, kNonScrollingBottom + 2, width(), height()), FromColorRef(rgb2_));
    const int ascent = fontMetrics().ascent();
    p.setPen(rgb1_ == 0 ? Qt::white : Qt::black);
    p.drawText(6, 7 + ascent, QStringLiteral("Non Scrolling Area Color"));
    p.setPen(rgb2_ == 0 ? Qt::white : Qt::black);
    p.drawText(6, 39 + ascent, QStringLiteral("Topic Area Color"));
}

void TColorPanel::mouseMoveEvent(QMouseEvent* event) {
    setToolTip(HintAt(event->position().toPoint().y()));
    QWidget::mouseMoveEvent(event);
}

// --- the dialog ------------------------------------------------------------------------

TfrmWindows::TfrmWindows(TDialogFactory& factory, TProject& project, const TMacros& macros, QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmWindows"), parent),
      factory_(factory),
      project_(project),
      macros_(macros),
      copy_(project.Windows) {
    setWindowTitle(QStringLiteral("Windows Editor"));
    BuildControls();
    for (int i = 1; i <= copy_.Count(); ++i) lstWindows->addItem(FromCp1252(copy_.GetWindow(i).GetName()));
    if (lstWindows->count() > 0) {
        const QSignalBlocker block(lstWindows);
        lstWindows->setCurrentRow(0);
    }
    ShowWindow(lstWindows->currentRow());
    cmdAdd->setEnabled(false);
    cmdNew->setEnabled(copy_.Count() < kMaxWindows);
}

void TfrmWindows::BuildControls() {
    lstWindows = Named(new QListWidget(this), "lstWindows");
    lstWindows->setMinimumWidth(110);
    cmdNew = MakeButton(QStringLiteral("cmdNew"), QStringLiteral("&New..."));
    cmdRemove = MakeButton(QStringLiteral("cmdRemove"), QStringLiteral("&Remove"));
    auto* lblWindows = new QLabel(QStringLiteral("&Windows:"), this);
    lblWindows->setBuddy(lstWindows);
    auto* left = new QVBoxLayout;
    left->addWidget(lblWindows);
    left->addWidget(lstWindows, 1);
    left->addWidget(cmdNew);
    left->addWidget(cmdRemove);

    tbsAttribs = Named(new QTabWidget(this), "tbsAttribs");
    // Every page's tab in sight: the dialog is as wide as its tabs.
    tbsAttribs->setUsesScrollButtons(false);

    // General
    auto* general = Named(new QWidget, "tsGeneral");
    txtWindowName = Named(new QLineEdit(general), "txtWindowName");
    txtWindowName->setReadOnly(true);
    txtWindowName->setMaxLength(8);
    cmdRename = MakeButton(QStringLiteral("cmdRename"), QStringLiteral("&..."), general);
    cmdRename->setFixedWidth(cmdRename->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    txtWinTitle = Named(new QLineEdit(general), "txtWinTitle");
    txtWinTitle->setMaxLength(50);
    auto* grpAttributes = new QGroupBox(QStringLiteral(" Window attributes "), general);
    chkAutoSizeHeight = Named(new QCheckBox(QStringLiteral("Auto-size hei&ght"), grpAttributes), "chkAutoSizeHeight");
    chkKeepOnTop = Named(new QCheckBox(QStringLiteral("&Keep help window on top"), grpAttributes), "chkKeepOnTop");
    chkMaximizeWin = Named(new QCheckBox(QStringLiteral("&Maximize window"), grpAttributes), "chkMaximizeWin");
    auto* attributes = new QVBoxLayout(grpAttributes);
    for (QWidget* w : std::initializer_list<QWidget*>{chkAutoSizeHeight, chkKeepOnTop, chkMaximizeWin})
        attributes->addWidget(w);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(txtWindowName, 1);
    nameRow->addWidget(cmdRename);
    auto* generalLayout = new QVBoxLayout(general);
    auto* lblName = new QLabel(QStringLiteral("Window name"), general);
    lblName->setBuddy(txtWindowName);
    auto* lblTitle = new QLabel(QStringLiteral("Window t&itle"), general);
    lblTitle->setBuddy(txtWinTitle);
    generalLayout->addWidget(lblName);
    generalLayout->addLayout(nameRow);
    generalLayout->addWidget(lblTitle);
    generalLayout->addWidget(txtWinTitle);
    generalLayout->addWidget(grpAttributes);
    generalLayout->addStretch(1);
    tbsAttribs->addTab(general, QStringLiteral("General"));

    // Position
    auto* position = Named(new QWidget, "tsPosition");
    auto* grpPosition = new QGroupBox(QStringLiteral(" Window size and position "), position);
    auto* grid = new QGridLayout(grpPosition);
    auto makeSpin = [&](const char* name, const QString& caption, int row, int column) {
        auto* spin = Named(new QSpinBox(grpPosition), name);
        spin->setWrapping(false);
        spin->setMinimumWidth(80);
        auto* label = new QLabel(caption, grpPosition);
        label->setBuddy(spin);
        grid->addWidget(label, row, column);
        grid->addWidget(spin, row, column + 1);
        return spin;
    };
    udLeft = makeSpin("udLeft", QStringLiteral("&Left"), 0, 0);
    udTop = makeSpin("udTop", QStringLiteral("&Top"), 1, 0);
    udWidth = makeSpin("udWidth", QStringLiteral("W&idth"), 0, 2);
    udHeight = makeSpin("udHeight", QStringLiteral("Hei&ght"), 1, 2);
    grid->setColumnStretch(4, 1);
    chkAdjustRes =
        Named(new QCheckBox(QStringLiteral("&Adjust for user's screen resolution"), position), "chkAdjustRes");
    cmdAutoSizer = MakeButton(QStringLiteral("cmdAutoSizer"), QStringLiteral("Auto-Si&zer"), position);
    cmdDefPos = MakeButton(QStringLiteral("cmdDefPos"), QStringLiteral("&Default Positions"), position);
    auto* positionButtons = new QHBoxLayout;
    positionButtons->addWidget(cmdAutoSizer);
    positionButtons->addWidget(cmdDefPos);
    positionButtons->addStretch(1);
    auto* positionLayout = new QVBoxLayout(position);
    positionLayout->addWidget(grpPosition);
    positionLayout->addWidget(chkAdjustRes);
    positionLayout->addLayout(positionButtons);
    positionLayout->addStretch(1);
    tbsAttribs->addTab(position, QStringLiteral("Position"));

    // Buttons
    auto* buttons = Named(new QWidget, "tsButtons");
    auto* grpButtons = new QGroupBox(QStringLiteral(" Buttons "), buttons);
    auto* buttonGrid = new QGridLayout(grpButtons);
    auto makeBox = [&](const char* name, const QString& caption, int row, int column) {
        auto* box = Named(new QCheckBox(caption, grpButtons), name);
        buttonGrid->addWidget(box, row, column);
        return box;
    };
    chkContents = makeBox("chkContents", QStringLiteral("&Contents"), 0, 0);
    chkHelpTopics = makeBox("chkHelpTopics", QStringLiteral("Help &topics"), 1, 0);
    chkIndex = makeBox("chkIndex", QStringLiteral("&Index"), 2, 0);
    chkFind = makeBox("chkFind", QStringLiteral("&Find"), 3, 0);
    chkPrint = makeBox("chkPrint", QStringLiteral("&Print"), 0, 1);
    chkBrowse = makeBox("chkBrowse", QStringLiteral("&Browse"), 1, 1);
    chkOptions = makeBox("chkOptions", QStringLiteral("&Options"), 2, 1);
    chkBack = makeBox("chkBack", QStringLiteral("B&ack"), 3, 1);
    chkNoDefButtons = Named(new QCheckBox(QStringLiteral("No &default buttons"), buttons), "chkNoDefButtons");
    auto* buttonsLayout = new QVBoxLayout(buttons);
    buttonsLayout->addWidget(grpButtons);
    buttonsLayout->addWidget(chkNoDefButtons);
    buttonsLayout->addStretch(1);
    tbsAttribs->addTab(buttons, QStringLiteral("Buttons"));

    // Color
    auto* color = Named(new QWidget, "tsColor");
    pbColor = new TColorPanel(color);
    auto* bevel = new QFrame(color);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* bevelLayout = new QVBoxLayout(bevel);
    bevelLayout->setContentsMargins(2, 2, 2, 2);
    bevelLayout->addWidget(pbColor);
    cmdChgNoScroll = MakeButton(QStringLiteral("cmdChgNoScroll"), QStringLiteral("&Change..."), color);
    cmdChgClient = MakeButton(QStringLiteral("cmdChgClient"), QStringLiteral("Ch&ange..."), color);
    auto* colorButtons = new QVBoxLayout;
    colorButtons->addWidget(cmdChgNoScroll);
    colorButtons->addSpacing(8);
    colorButtons->addWidget(cmdChgClient);
    colorButtons->addStretch(1);
    auto* colorLayout = new QHBoxLayout(color);
    colorLayout->addWidget(bevel, 1);
    colorLayout->addLayout(colorButtons);
    tbsAttribs->addTab(color, QStringLiteral("Color"));

    // Macros
    auto* macroPage = Named(new QWidget, "tsMacros");
    txtMacro = Named(new QLineEdit(macroPage), "txtMacro");
    cmdBrowseMacro = MakeButton(QStringLiteral("cmdBrowseMacro"), QStringLiteral("&..."), macroPage);
    cmdBrowseMacro->setFixedWidth(cmdBrowseMacro->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    lstMacros = Named(new QListWidget(macroPage), "lstMacros");
    cmdAdd = MakeButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"), macroPage);
    cmdRemoveMacro = MakeButton(QStringLiteral("cmdRemoveMacro"), QStringLiteral("Re&move"), macroPage);
    cmdClear = MakeButton(QStringLiteral("cmdClear"), QStringLiteral("&Clear"), macroPage);
    auto* macroRow = new QHBoxLayout;
    macroRow->addWidget(txtMacro, 1);
    macroRow->addWidget(cmdBrowseMacro);
    macroRow->addWidget(cmdAdd);
    auto* macroButtons = new QVBoxLayout;
    macroButtons->addWidget(cmdRemoveMacro);
    macroButtons->addWidget(cmdClear);
    macroButtons->addStretch(1);
    auto* macroList = new QHBoxLayout;
    macroList->addWidget(lstMacros, 1);
    macroList->addLayout(macroButtons);
    auto* macroLayout = new QVBoxLayout(macroPage);
    macroLayout->addWidget(new QLabel(QStringLiteral("Macro(s) to run when this window opens:"), macroPage));
    macroLayout->addLayout(macroRow);
    macroLayout->addLayout(macroList, 1);
    tbsAttribs->addTab(macroPage, QStringLiteral("Macros"));

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(tbsAttribs, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(MakeStandardButtons());
    resize(560, 380);

    connect(lstWindows, &QListWidget::currentRowChanged, this,
            [this](int row) { runCommand(Ui(), [&] { ShowWindow(row); }); });
    connect(cmdNew, &QPushButton::clicked, this, guarded(Ui(), [this] { NewClick(); }));
    connect(cmdRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveClick(); }));
    connect(cmdRename, &QPushButton::clicked, this, guarded(Ui(), [this] { RenameClick(); }));
    connect(txtWinTitle, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (cur_ && !showing_) cur_->SetCaption(ToCp1252(text));
    });
    AttributeToggled(chkAutoSizeHeight, WindowAttributes::AutoSizeHeight);
    AttributeToggled(chkKeepOnTop, WindowAttributes::KeepOnTop);
    AttributeToggled(chkMaximizeWin, WindowAttributes::Maximize);
    for (QSpinBox* spin : {udLeft, udTop, udWidth, udHeight})
        connect(spin, &QSpinBox::valueChanged, this, [this] { PositionChanged(); });
    connect(chkAdjustRes, &QCheckBox::clicked, this,
            [this](bool on) { runCommand(Ui(), [&] { AdjustResClicked(on); }); });
    connect(cmdDefPos, &QPushButton::clicked, this, guarded(Ui(), [this] { DefPosClick(); }));
    connect(cmdAutoSizer, &QPushButton::clicked, this, guarded(Ui(), [this] { AutoSizerClick(); }));
    ButtonToggled(chkContents, WindowButtons::Contents);
    ButtonToggled(chkIndex, WindowButtons::Index);
    ButtonToggled(chkFind, WindowButtons::Find);
    ButtonToggled(chkHelpTopics, WindowButtons::HelpTopics);
    ButtonToggled(chkPrint, WindowButtons::Print);
    ButtonToggled(chkBack, WindowButtons::Back);
    ButtonToggled(chkOptions, WindowButtons::Options);
    ButtonToggled(chkBrowse, WindowButtons::Browse);
    connect(chkNoDefButtons, &QCheckBox::clicked, this, [this](bool on) {
        if (!cur_) return;
        cur_->NoDefaultButtons = on;
        ApplyNoDefButtons(on);
    });
    connect(cmdChgNoScroll, &QPushButton::clicked, this, guarded(Ui(), [this] { ChgNoScrollClick(); }));
    connect(cmdChgClient, &QPushButton::clicked, this, guarded(Ui(), [this] { ChgClientClick(); }));
    connect(txtMacro, &QLineEdit::textChanged, this, [this] { cmdAdd->setEnabled(!txtMacro->text().isEmpty()); });
    connect(cmdAdd, &QPushButton::clicked, this, guarded(Ui(), [this] { AddMacroClick(); }));
    connect(cmdRemoveMacro, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveMacroClick(); }));
    connect(cmdClear, &QPushButton::clicked, this, guarded(Ui(), [this] { ClearClick(); }));
    connect(cmdBrowseMacro, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseMacroClick(); }));
    connect(tbsAttribs, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
}

bool TfrmWindows::IsMain() const { return cur_ && SameText(cur_->GetName(), "main"); }

void TfrmWindows::SetPositionRange(bool helpUnits) {
    // Help units lie on a 1024-wide virtual screen; pixels may be negative
    // or wider than 1024 on a large screen, and must never be clamped.
    const int low = helpUnits ? 0 : std::numeric_limits<std::int16_t>::min();
    const int high = helpUnits ? 1024 : std::numeric_limits<std::int16_t>::max();
    for (QSpinBox* spin : {udLeft, udTop, udWidth, udHeight}) {
        const QSignalBlocker block(spin);
        spin->setRange(low, high);
    }
}

void TfrmWindows::ShowWindow(int row) {
    const bool valid = row >= 0 && row < copy_.Count();
    cur_ = valid ? &copy_.GetWindow(row + 1) : nullptr;
    tbsAttribs->setEnabled(valid);
    cmdRemove->setEnabled(valid && !IsMain());
    cmdRename->setEnabled(valid && !IsMain());
    if (!valid) {
        showing_ = true;
        txtWindowName->clear();
        txtWinTitle->clear();
        lstMacros->clear();
        showing_ = false;
        UpdateMacroButtons();
        return;
    }
    showing_ = true;
    txtWinTitle->setText(FromCp1252(cur_->GetCaption()));
    txtWindowName->setText(FromCp1252(cur_->GetName()));
    chkAutoSizeHeight->setChecked(cur_->Attributes & WindowAttributes::AutoSizeHeight);
    chkKeepOnTop->setChecked(cur_->Attributes & WindowAttributes::KeepOnTop);
    chkMaximizeWin->setChecked(cur_->Attributes & WindowAttributes::Maximize);
    chkMaximizeWin->setEnabled(!chkAutoSizeHeight->isChecked());
    chkAutoSizeHeight->setEnabled(!chkMaximizeWin->isChecked());
    SetPositionRange(cur_->AdjustRes != 0);
    udLeft->setValue(cur_->X);
    udTop->setValue(cur_->Y);
    udWidth->setValue(cur_->W);
    udHeight->setValue(cur_->H);
    chkAdjustRes->setChecked(cur_->AdjustRes != 0);

    const std::uint8_t b = cur_->Buttons;
    for (auto [box, bit] : {std::pair{chkOptions, WindowButtons::Options}, std::pair{chkBrowse, WindowButtons::Browse},
                            std::pair{chkFind, WindowButtons::Find}})
        box->setChecked(b & bit);
    if (!IsMain()) {
        chkNoDefButtons->hide();
        for (QCheckBox* box : {chkContents, chkIndex, chkHelpTopics, chkPrint, chkBack}) box->setEnabled(true);
        chkContents->setChecked(b & WindowButtons::Contents);
        chkIndex->setChecked(b & WindowButtons::Index);
        chkHelpTopics->setChecked(b & WindowButtons::HelpTopics);
        chkPrint->setChecked(b & WindowButtons::Print);
        chkBack->setChecked(b & WindowButtons::Back);
        HelpTopicsRule();
    } else {
        chkNoDefButtons->show();
        chkNoDefButtons->setChecked(cur_->NoDefaultButtons);
        if (cur_->NoDefaultButtons) {
            for (QCheckBox* box : {chkContents, chkIndex, chkHelpTopics, chkPrint, chkBack}) box->setEnabled(true);
            chkContents->setChecked(b & WindowButtons::Contents);
            chkIndex->setChecked(b & WindowButtons::Index);
            chkHelpTopics->setChecked(b & WindowButtons::HelpTopics);
            chkPrint->setChecked(b & WindowButtons::Print);
            chkBack->setChecked(b & WindowButtons::Back);
            HelpTopicsRule();
        } else {
            // MAIN keeps its five default buttons: the one change showing makes.
            ApplyNoDefButtons(false);
            cur_->Buttons |= kDefaultButtons;
        }
    }

    pbColor->SetColors(cur_->Rgb1, cur_->Rgb2);
    lstMacros->clear();
    for (const std::string& m : cur_->Macros) lstMacros->addItem(FromCp1252(m));
    if (lstMacros->count() > 0) lstMacros->setCurrentRow(0);
    showing_ = false;
    UpdateMacroButtons();
}

void TfrmWindows::UpdateMacroButtons() {
    const bool any = lstMacros->count() > 0;
    cmdRemoveMacro->setEnabled(any);
    cmdClear->setEnabled(any);
}

void TfrmWindows::AttributeToggled(QCheckBox* box, std::uint8_t bit) {
    connect(box, &QCheckBox::toggled, this, [this, box, bit](bool on) {
        // Auto-size height and Maximize exclude each other.
        if (box == chkAutoSizeHeight) chkMaximizeWin->setEnabled(!on);
        if (box == chkMaximizeWin) chkAutoSizeHeight->setEnabled(!on);
        if (!cur_ || showing_) return;
        cur_->Attributes = on ? (cur_->Attributes | bit) : (cur_->Attributes & ~bit);
    });
}

void TfrmWindows::ButtonToggled(QCheckBox* box, std::uint8_t bit) {
    connect(box, &QCheckBox::toggled, this, [this, box, bit](bool on) {
        if (cur_ && (!showing_ || settingDefaults_))
            cur_->Buttons = static_cast<std::uint8_t>(on ? (cur_->Buttons | bit) : (cur_->Buttons & ~bit));
        if (settingDefaults_) return;
        if (box == chkContents || box == chkIndex || box == chkHelpTopics) HelpTopicsRule();
    });
}

void TfrmWindows::HelpTopicsRule() {
    if (settingDefaults_) return;
    if (IsMain() && !chkNoDefButtons->isChecked()) return;
    chkHelpTopics->setEnabled(!chkContents->isChecked() && !chkIndex->isChecked());
    chkContents->setEnabled(!chkHelpTopics->isChecked());
    chkIndex->setEnabled(!chkHelpTopics->isChecked());
}

void TfrmWindows::ApplyNoDefButtons(bool on) {
    settingDefaults_ = true;
    for (QCheckBox* box : {chkContents, chkIndex, chkPrint, chkBack, chkHelpTopics}) {
        box->setChecked(!on);
        box->setEnabled(on);
    }
    settingDefaults_ = false;
}

void TfrmWindows::PositionChanged() {
    if (!cur_ || showing_) return;
    cur_->X = udLeft->value();
    cur_->Y = udTop->value();
    cur_->W = udWidth->value();
    cur_->H = udHeight->value();
}

void TfrmWindows::SetPosition(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    udLeft->setValue(x);
    udTop->setValue(y);
    udWidth->setValue(w);
    udHeight->setValue(h);
    PositionChanged();
}

void TfrmWindows::AdjustResClicked(bool on) {
    if (!cur_) return;
    cur_->AdjustRes = on ? 1 : 0;
    std::int32_t x = udLeft->value(), y = udTop->value(), w = udWidth->value(), h = udHeight->value();
    if (on)
        PixelsToHelpUnits(x, y, w, h);
    else
        HelpUnitsToPixels(x, y, w, h);
    // The range follows the unit, so the new values are never cut by the old.
    SetPositionRange(on);
    SetPosition(x, y, w, h);
}

void TfrmWindows::DefPosClick() {
    if (!cur_) return;
    const ScreenSize screen = Screen().screenSize();
    std::int32_t x = screen.width / 2 - 300, y = screen.height / 2 - 240, w = 600, h = 480;
    if (chkAdjustRes->isChecked()) PixelsToHelpUnits(x, y, w, h);
    SetPosition(x, y, w, h);
}

void TfrmWindows::AutoSizerClick() {
    if (!cur_) return;
    std::int32_t x = udLeft->value(), y = udTop->value(), w = udWidth->value(), h = udHeight->value();
    if (chkAdjustRes->isChecked()) HelpUnitsToPixels(x, y, w, h);
    const auto result = factory_.RunAutoSizer({x, y, w, h}, this);
    if (!result || !cur_) return;
    x = (*result)[0];
    y = (*result)[1];
    w = (*result)[2];
    h = (*result)[3];
    if (chkAdjustRes->isChecked()) PixelsToHelpUnits(x, y, w, h);
    SetPosition(x, y, w, h);
}

std::optional<QColor> TfrmWindows::PickColor() {
    // The custom colours: sixteen greys from white down to black.
    for (int i = 0; i < 16; ++i) {
        const int v = 0xFF - i * 0x11;
        QColorDialog::setCustomColor(i, QColor(v, v, v));
    }
    const std::optional<QColor> chosen = Ui().ChooseColor(lastColor_);
    if (chosen) lastColor_ = *chosen;
    return chosen;
}

void TfrmWindows::ChgNoScrollClick() {
    if (!cur_) return;
    const std::optional<QColor> c = PickColor();
    if (!c || !cur_) return;
    cur_->Rgb1 = ToColorRef(*c);
    pbColor->SetColors(cur_->Rgb1, cur_->Rgb2);
}

void TfrmWindows::ChgClientClick() {
    if (!cur_) return;
    const std::optional<QColor> c = PickColor();
    if (!c || !cur_) return;
    cur_->Rgb2 = ToColorRef(*c);
    pbColor->SetColors(cur_->Rgb1, cur_->Rgb2);
}

void TfrmWindows::AddMacroClick() {
    if (!cur_ || txtMacro->text().isEmpty()) return;
    cur_->Macros.push_back(ToCp1252(txtMacro->text()));
    ListEditor(lstMacros).Add(txtMacro->text());
    UpdateMacroButtons();
    txtMacro->clear();
    txtMacro->setFocus();
}

void TfrmWindows::RemoveMacroClick() {
    const int row = lstMacros->currentRow();
    if (!cur_ || row < 0 || row >= static_cast<int>(cur_->Macros.size())) return;
    cur_->Macros.erase(cur_->Macros.begin() + row);
    ListEditor(lstMacros).Remove();
    UpdateMacroButtons();
}

void TfrmWindows::ClearClick() {
    if (!cur_) return;
    cur_->Macros.clear();
    lstMacros->clear();
    UpdateMacroButtons();
}

void TfrmWindows::BrowseMacroClick() {
    const std::optional<std::string> expression = factory_.RunMacroBuilder(macros_, {}, this);
    if (!expression) return;
    txtMacro->setText(FromCp1252(*expression));
    txtMacro->setFocus();
}

std::string TfrmWindows::CheckName(const QString& answer) {
    std::string name = Trim(ToCp1252(answer));
    if (name.size() > 8) name.resize(8);
    if (name.empty() || (cur_ && name == cur_->GetName())) return {};
    auto refuse = [this](const std::string& text) {
        Ui().Information(FromCp1252(text));
        return std::string();
    };
    if (copy_.NameExists(name)) return refuse("A window named " + name + " already exists.");
    if (name.find(' ') != std::string::npos) return refuse("Spaces are not allowed in window names.");
    if (!IsValidName(name)) return refuse("Invalid window name.");
    return name;
}

void TfrmWindows::NewClick() {
    if (copy_.Count() >= kMaxWindows) return;
    const std::optional<QString> answer =
        Ui().InputText(QStringLiteral("New Window"), QStringLiteral("Enter the new window name:"), QString());
    if (!answer) return;
    const std::string name = CheckName(*answer);
    if (name.empty()) return;
    copy_.Add().SetName(name);
    lstWindows->addItem(FromCp1252(name));
    lstWindows->setCurrentRow(lstWindows->count() - 1);
    cmdNew->setEnabled(copy_.Count() < kMaxWindows);
}

void TfrmWindows::RenameClick() {
    if (!cur_ || IsMain()) return;
    const std::optional<QString> answer = Ui().InputText(
        QStringLiteral("Rename Window"), QStringLiteral("Enter the new window name:"), FromCp1252(cur_->GetName()));
    if (!answer || !cur_) return;
    const std::string name = CheckName(*answer);
    if (name.empty()) return;
    cur_->SetName(name);
    txtWindowName->setText(FromCp1252(name));
    if (QListWidgetItem* item = lstWindows->currentItem()) item->setText(FromCp1252(name));
}

void TfrmWindows::RemoveClick() {
    const int row = lstWindows->currentRow();
    if (!cur_ || IsMain() || row < 0) return;
    const QString text = QStringLiteral("Remove the window %1 ?").arg(FromCp1252(cur_->GetName()));
    if (Ui().Confirm(text) != MsgResult::Yes) return;
    // Forget the definition before it goes, so nothing can write into it.
    cur_ = nullptr;
    copy_.Delete(row + 1);
    {
        const QSignalBlocker block(lstWindows);
        delete lstWindows->takeItem(row);
        lstWindows->setCurrentRow(SelectAfterRemoval(row, lstWindows->count()));
    }
    ShowWindow(lstWindows->currentRow());
    cmdNew->setEnabled(copy_.Count() < kMaxWindows);
}

void TfrmWindows::PageChanged(int index) {
    const bool macros = index == tbsAttribs->count() - 1;
    cmdOk->setDefault(!macros);
    cmdAdd->setDefault(macros);
    if (macros) txtMacro->setFocus();
}

int TfrmWindows::helpContext() const {
    const int page = tbsAttribs->currentIndex();
    return page >= 0 && page < static_cast<int>(std::size(kHelpContexts)) ? kHelpContexts[page] : 0;
}

void TfrmWindows::store() {
    project_.Windows = copy_;
    for (const auto& node : project_.Topics)
        if (!project_.Windows.NameExists(node->GetWindow())) node->SetWindow("main");
}

}  // namespace qm
