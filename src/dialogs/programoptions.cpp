#include "dialogs/programoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "spell/userdictionary.h"
#include "util/errors.h"
#include "util/externalprograms.h"
#include "util/fileio.h"
#include "util/settingsstore.h"
#include "widgets/colorcombo.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kHelpContexts[] = {250, 255, 260, 265, 270, 275, 280, 470};
constexpr int kMaxIdIncrement = 9999;
constexpr int kToolRowHeight = 40;

const char* const kCheckCaptions[kBuildCheckCount] = {
    "Unresolved &topic link in module [module]",
    "Unresolved &anchor in module [module]",
    "&Duplicate anchor in module [module]",
    "Provided t&opic in popup link in module [module]",
    "Provided &popup in topic link in module [module]",
    "Incomplete ta&g in module [module]",
    "&Unclosed tag in module [module]",
    "Undefined &window type in module [module]",
    "&Image not found in module [module]",
};

}  // namespace

const char* BuildCheckCaption(int n) { return n >= 1 && n <= kBuildCheckCount ? kCheckCaptions[n - 1] : ""; }

namespace {

template <class T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QCheckBox(caption, parent), QString::fromLatin1(name));
}

QRadioButton* Radio(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QRadioButton(caption, parent), QString::fromLatin1(name));
}

QColor FromBgr(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

std::uint8_t StyleBits(const std::array<QCheckBox*, 4>& boxes) {
    std::uint8_t bits = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) bits = static_cast<std::uint8_t>(bits | (1u << i));
    return bits;
}

QFont StyledFont(const QFont& base, const std::array<QCheckBox*, 4>& boxes) {
    QFont f = base;
    f.setBold(boxes[0]->isChecked());
    f.setItalic(boxes[1]->isChecked());
    f.setUnderline(boxes[2]->isChecked());
    f.setStrikeOut(boxes[3]->isChecked());
    return f;
}

}  // namespace

// --- previews --------------------------------------------------------------------------

TPreview::TPreview(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(name));
    setMinimumSize(120, 40);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TPreview::Show(const QString& text, const QFont& font, const QColor& color) {
    text_ = text;
    font_ = font;
    color_ = color;
    update();
}

void TPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(font_);
    p.setPen(color_);
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text_);
}

// --- the word-list editor ------------------------------------------------------------

TfrmDicEdit::TfrmDicEdit(UiServices& ui, const std::string& name, std::string file, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmDicEdit"), parent), file_(std::move(file)) {
    setWindowTitle(QStringLiteral("Personal Dictionary - %1").arg(FromCp1252(name)));
    txtWords = Named(new QPlainTextEdit(this), QStringLiteral("txtWords"));
    txtWords->setMinimumSize(280, 300);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("&Words, one a line:"), this));
    layout->addWidget(txtWords, 1);
    layout->addWidget(MakeStandardButtons(false));
    if (FileExists(file_)) {
        TUserWords words;
        words.LoadFromFile(file_);
        txtWords->setPlainText(FromCp1252(words.Text()));
    }
}

void TfrmDicEdit::store() {
    TUserWords words;
    words.SetText(ToCp1252(txtWords->toPlainText()));
    words.SaveToFile(file_);
}

// --- the options -------------------------------------------------------------------------

TfrmOptions::TfrmOptions(UiServices& ui, TOptionsRun& run, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmOptions"), parent), run_(run) {
    setWindowTitle(QStringLiteral("Options"));
    tbsOptions = Named(new QTabWidget(this), QStringLiteral("tbsOptions"));
    // Every page's tab in sight: the dialog is as wide as its tabs.
    tbsOptions->setUsesScrollButtons(false);
    BuildGeneral();
    BuildTopicState();
    BuildAutoCompletion();
    BuildTools();
    BuildPreprocessor();
    BuildEditor();
    BuildEnvironment();
    BuildSpelling();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions, 1);
    layout->addWidget(MakeStandardButtons());
    Load();
    tbsOptions->setCurrentIndex(0);
}

void TfrmOptions::BuildGeneral() {
    tsGeneral = Named(new QWidget, QStringLiteral("tsGeneral"));
    txtCompilerPath = Named(new QLineEdit(tsGeneral), QStringLiteral("txtCompilerPath"));
    txtCompilerPath->setMinimumWidth(320);
    cmdBrowseCompiler = MakeButton(QStringLiteral("cmdBrowseCompiler"), QStringLiteral("..."), tsGeneral);
    cmdBrowseCompiler->setFixedWidth(cmdBrowseCompiler->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    lblCompilerState = Named(new QLabel(tsGeneral), QStringLiteral("lblCompilerState"));
    lblCompilerState->setWordWrap(true);
    auto* lblPath = new QLabel(QStringLiteral("&WinHelp help files compiler location: (hcrtf.exe)"), tsGeneral);
    lblPath->setBuddy(txtCompilerPath);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtCompilerPath, 1);
    pathRow->addWidget(cmdBrowseCompiler);

    auto* grpCompile = new QGroupBox(QStringLiteral(" Compilation "), tsGeneral);
    optacDoNothing = Radio(grpCompile, "optacDoNothing", QStringLiteral("Do &nothing when finished"));
    optacViewCnt = Radio(grpCompile, "optacViewCnt", QStringLiteral("View help file &contents when finished"));
    optacViewCurTopic =
        Radio(grpCompile, "optacViewCurTopic", QStringLiteral("View the &topic that is being edited when finished"));
    auto* compile = new QVBoxLayout(grpCompile);
    for (QWidget* w : std::initializer_list<QWidget*>{optacDoNothing, optacViewCnt, optacViewCurTopic})
        compile->addWidget(w);
    chkSaveCompile = Check(tsGeneral, "chkSaveCompile", QStringLiteral("&Save project before compiling"));
    auto* grpStart = new QGroupBox(QStringLiteral(" Program start "), tsGeneral);
    optstMakeNew = Radio(grpStart, "optstMakeNew", QStringLiteral("&Make new project"));
    optstOpenLast = Radio(grpStart, "optstOpenLast", QStringLiteral("&Open last project"));
    auto* start = new QVBoxLayout(grpStart);
    start->addWidget(optstMakeNew);
    start->addWidget(optstOpenLast);

    auto* layout = new QVBoxLayout(tsGeneral);
    layout->addWidget(lblPath);
    layout->addLayout(pathRow);
    layout->addWidget(lblCompilerState);
    layout->addWidget(grpCompile);
    layout->addWidget(chkSaveCompile);
    layout->addWidget(grpStart);
    layout->addStretch(1);
    tbsOptions->addTab(tsGeneral, QStringLiteral(" General "));

    connect(txtCompilerPath, &QLineEdit::textChanged, this, [this] { lblCompilerState->setText(CompilerState()); });
    connect(cmdBrowseCompiler, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseCompilerClick(); }));
}

void TfrmOptions::BuildTopicState() {
    tsDevState = Named(new QWidget, QStringLiteral("tsDevState"));
    auto* grp = new QGroupBox(QStringLiteral(" Topic development state appearance "), tsDevState);
    auto* grid = new QGridLayout(grp);
    const char* editNames[] = {"chkEditBold", "chkEditItalic", "chkEditUnderline", "chkEditStrikeout"};
    const char* editCaptions[] = {"&Bold", "&Italic", "&Underline", "&Strikeout"};
    const char* doneNames[] = {"chkDoneBold", "chkDoneItalic", "chkDoneUnderline", "chkDoneStrikeout"};
    const char* doneCaptions[] = {"B&old", "I&talic", "U&nderline", "Stri&keout"};
    grid->addWidget(new QLabel(QStringLiteral("Editing"), grp), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Done"), grp), 0, 1);
    for (std::size_t i = 0; i < 4; ++i) {
        chkEdit[i] = Check(grp, editNames[i], QString::fromLatin1(editCaptions[i]));
        chkDone[i] = Check(grp, doneNames[i], QString::fromLatin1(doneCaptions[i]));
        grid->addWidget(chkEdit[i], static_cast<int>(i) + 1, 0);
        grid->addWidget(chkDone[i], static_cast<int>(i) + 1, 1);
        connect(chkEdit[i], &QCheckBox::toggled, this, [this] { UpdatePreviews(); });
        connect(chkDone[i], &QCheckBox::toggled, this, [this] { UpdatePreviews(); });
    }
    cboEditColor = Named(new TColorCombo(grp), QStringLiteral("cboEditColor"));
    cboDoneColor = Named(new TColorCombo(grp), QStringLiteral("cboDoneColor"));
    pbEditing = new TPreview("pbEditing", grp);
    pbDone = new TPreview("pbDone", grp);
    grid->addWidget(cboEditColor, 5, 0);
    grid->addWidget(cboDoneColor, 5, 1);
    grid->addWidget(pbEditing, 6, 0);
    grid->addWidget(pbDone, 6, 1);
    connect(cboEditColor, &QComboBox::currentIndexChanged, this, [this] { UpdatePreviews(); });
    connect(cboDoneColor, &QComboBox::currentIndexChanged, this, [this] { UpdatePreviews(); });
    auto* layout = new QVBoxLayout(tsDevState);
    layout->addWidget(grp);
    layout->addStretch(1);
    tbsOptions->addTab(tsDevState, QStringLiteral("Topic State"));
}

void TfrmOptions::BuildAutoCompletion() {
    tsAutoCompletion = Named(new QWidget, QStringLiteral("tsAutoCompletion"));
    chkAutoAddQuotes =
        Check(tsAutoCompletion, "chkAutoAddQuotes", QStringLiteral("Automatically add closing &quotation marks (\")"));
    chkAutoAddBrackets =
        Check(tsAutoCompletion, "chkAutoAddBrackets", QStringLiteral("Automatically add closing &brackets (>)"));
    chkEnableTagInsight = Check(tsAutoCompletion, "chkEnableTagInsight", QStringLiteral("Enable tag &insight"));
    auto* grp = new QGroupBox(tsAutoCompletion);
    chkPopTopics = Check(grp, "chkPopTopics", QStringLiteral("Display t&opics"));
    chkPopPopups = Check(grp, "chkPopPopups", QStringLiteral("Display &popups"));
    chkPopMacros = Check(grp, "chkPopMacros", QStringLiteral("Display &macros"));
    chkPopWindows = Check(grp, "chkPopWindows", QStringLiteral("Display &windows"));
    chkPopTags = Check(grp, "chkPopTags", QStringLiteral("Display &tags"));
    auto* insight = new QVBoxLayout(grp);
    for (QWidget* w :
         std::initializer_list<QWidget*>{chkPopTopics, chkPopPopups, chkPopMacros, chkPopWindows, chkPopTags})
        insight->addWidget(w);
    auto* layout = new QVBoxLayout(tsAutoCompletion);
    layout->addWidget(chkAutoAddQuotes);
    layout->addWidget(chkAutoAddBrackets);
    layout->addWidget(chkEnableTagInsight);
    layout->addWidget(grp);
    layout->addStretch(1);
    tbsOptions->addTab(tsAutoCompletion, QStringLiteral(" Auto Completion"));
    Watch(chkEnableTagInsight);
}

void TfrmOptions::BuildTools() {
    tsToos = Named(new QWidget, QStringLiteral("tsToos"));
    auto* intro = new QLabel(
        QStringLiteral(
            "Below is the list of all installed tools. Add, edit or remove the desired tool from this list."),
        tsToos);
    intro->setWordWrap(true);
    lstTools = Named(new QTreeWidget(tsToos), QStringLiteral("lstTools"));
    lstTools->setHeaderLabels({QStringLiteral("Name")});
    lstTools->setRootIsDecorated(false);
    lstTools->setIconSize(QSize(32, 32));
    lstTools->setUniformRowHeights(true);
    cmdAddTool = MakeButton(QStringLiteral("cmdAddTool"), QStringLiteral("&Add..."), tsToos);
    cmdRemoveTool = MakeButton(QStringLiteral("cmdRemoveTool"), QStringLiteral("&Remove"), tsToos);
    cmdEditTool = MakeButton(QStringLiteral("cmdEditTool"), QStringLiteral("&Edit..."), tsToos);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAddTool, cmdRemoveTool, cmdEditTool}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(lstTools, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(tsToos);
    layout->addWidget(intro);
    layout->addLayout(row, 1);
    tbsOptions->addTab(tsToos, QStringLiteral("Tools"));
    connect(cmdAddTool, &QPushButton::clicked, this, guarded(Ui(), [this] { AddToolClick(); }));
    connect(cmdEditTool, &QPushButton::clicked, this, guarded(Ui(), [this] { EditToolClick(); }));
    connect(cmdRemoveTool, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveToolClick(); }));
    connect(lstTools, &QTreeWidget::itemDoubleClicked, this, guarded(Ui(), [this] { EditToolClick(); }));
}

void TfrmOptions::BuildPreprocessor() {
    tsPreprocessor = Named(new QWidget, QStringLiteral("tsPreprocessor"));
    auto* grid = new QGridLayout(tsPreprocessor);
    grid->addWidget(new QLabel(QStringLiteral("Messages"), tsPreprocessor), 0, 0);
    grid->addWidget(new QLabel(QString::fromLatin1(kWarningColumnCaption), tsPreprocessor), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Error"), tsPreprocessor), 0, 2, Qt::AlignHCenter);
    for (int n = 1; n <= kBuildCheckCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        chkError[i] = Named(new QCheckBox(QString::fromLatin1(kCheckCaptions[i]), tsPreprocessor),
                            QStringLiteral("chkError%1").arg(n));
        optErrW[i] = Named(new QRadioButton(tsPreprocessor), QStringLiteral("optErr%1W").arg(n));
        optErrE[i] = Named(new QRadioButton(tsPreprocessor), QStringLiteral("optErr%1E").arg(n));
        auto* pair = new QButtonGroup(tsPreprocessor);
        pair->addButton(optErrW[i]);
        pair->addButton(optErrE[i]);
        optErrE[i]->setChecked(true);
        grid->addWidget(chkError[i], n, 0);
        grid->addWidget(optErrW[i], n, 1, Qt::AlignHCenter);
        grid->addWidget(optErrE[i], n, 2, Qt::AlignHCenter);
    }
    grid->setRowStretch(kBuildCheckCount + 1, 1);
    tbsOptions->addTab(tsPreprocessor, QString::fromLatin1(kPreprocessorPageCaption));
}

void TfrmOptions::BuildEditor() {
    tsEditor = Named(new QWidget, QStringLiteral("tsEditor"));
    auto* grp = new QGroupBox(QStringLiteral(" Default font "), tsEditor);
    cboFontFace = Named(new QComboBox(grp), QStringLiteral("cboFontFace"));
    cboFontFace->setEditable(true);
    cboFontSize = Named(new QComboBox(grp), QStringLiteral("cboFontSize"));
    cboFontSize->setEditable(true);
    DigitsOnly(cboFontSize->lineEdit());
    pbEditFont = new TPreview("pbEditFont", grp);
    pbEditFont->setMinimumHeight(60);
    auto* grid = new QGridLayout(grp);
    auto* lblFace = new QLabel(QStringLiteral("Font &name"), grp);
    lblFace->setBuddy(cboFontFace);
    auto* lblSize = new QLabel(QStringLiteral("Font &size"), grp);
    lblSize->setBuddy(cboFontSize);
    grid->addWidget(lblFace, 0, 0);
    grid->addWidget(lblSize, 0, 1);
    grid->addWidget(cboFontFace, 1, 0);
    grid->addWidget(cboFontSize, 1, 1);
    grid->addWidget(pbEditFont, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(tsEditor);
    layout->addWidget(grp);
    layout->addStretch(1);
    tbsOptions->addTab(tsEditor, QStringLiteral("Editor"));
    connect(cboFontFace, &QComboBox::currentTextChanged, this, [this] { UpdatePreviews(); });
    connect(cboFontSize, &QComboBox::currentTextChanged, this, [this] { UpdatePreviews(); });
}

void TfrmOptions::BuildEnvironment() {
    tsEnv = Named(new QWidget, QStringLiteral("tsEnv"));
    udIdIncrement = Named(new QSpinBox(tsEnv), QStringLiteral("udIdIncrement"));
    udIdIncrement->setRange(kMinIdIncrement, kMaxIdIncrement);
    udHistStack = Named(new QSpinBox(tsEnv), QStringLiteral("udHistStack"));
    udHistStack->setRange(kMinHistoryStack, kMaxHistoryStack);
    chkPromptTopic = Check(tsEnv, "chkPromptTopic", QStringLiteral("&Display topic properties when adding new topic"));
    cmdClearMRU = MakeButton(QStringLiteral("cmdClearMRU"), QStringLiteral("&Clear MRU"), tsEnv);
    chkTagsDlg = Check(tsEnv, "chkTagsDlg", QStringLiteral("&Show tags dialogs when inserting a tag"));
    chkDblClickFollowLink =
        Check(tsEnv, "chkDblClickFollowLink", QStringLiteral("Dou&ble clicking on a link follows that link"));
    chkUpdateRename = Check(tsEnv, "chkUpdateRename", QStringLiteral("&Update all links when renaming a topic"));
    chkHotCursor = Check(tsEnv, "chkHotCursor", QStringLiteral("&Enable hot cursor"));
    auto* grid = new QGridLayout(tsEnv);
    auto* lblInc = new QLabel(QStringLiteral("Topic IDs &increment:"), tsEnv);
    lblInc->setBuddy(udIdIncrement);
    auto* lblHist = new QLabel(QStringLiteral("Histor&y stack size:"), tsEnv);
    lblHist->setBuddy(udHistStack);
    auto* lblMru = new QLabel(QStringLiteral("Press this button to clear the most recently used files buffer."), tsEnv);
    lblMru->setWordWrap(true);
    int row = 0;
    grid->addWidget(lblInc, row, 0);
    grid->addWidget(udIdIncrement, row++, 1);
    grid->addWidget(chkPromptTopic, row++, 0, 1, 3);
    grid->addWidget(lblMru, row, 0, 1, 2);
    grid->addWidget(cmdClearMRU, row++, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{chkTagsDlg, chkDblClickFollowLink, chkUpdateRename})
        grid->addWidget(w, row++, 0, 1, 3);
    grid->addWidget(lblHist, row, 0);
    grid->addWidget(udHistStack, row++, 1);
    grid->addWidget(chkHotCursor, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(0, 1);
    tbsOptions->addTab(tsEnv, QStringLiteral("Environment"));
    connect(cmdClearMRU, &QPushButton::clicked, this, guarded(Ui(), [this] { ClearMruClick(); }));
}

void TfrmOptions::BuildSpelling() {
    tsSpelling = Named(new QWidget, QStringLiteral("tsSpelling"));
    cboDictionaries = Named(new QComboBox(tsSpelling), QStringLiteral("cboDictionaries"));
    cboPersonalDics = Named(new QComboBox(tsSpelling), QStringLiteral("cboPersonalDics"));
    cboPersonalDics->setEditable(true);
    cboPersonalDics->setInsertPolicy(QComboBox::NoInsert);
    cmdDicNew = MakeButton(QStringLiteral("cmdDicNew"), QStringLiteral("&New..."), tsSpelling);
    cmdDicModify = MakeButton(QStringLiteral("cmdDicModify"), QStringLiteral("&Modify..."), tsSpelling);
    cmdDicRemove = MakeButton(QStringLiteral("cmdDicRemove"), QStringLiteral("&Remove"), tsSpelling);
    auto* grp = new QGroupBox(QStringLiteral("Spell checking behaviors"), tsSpelling);
    chkSpellStartBeginning =
        Check(grp, "chkSpellStartBeginning", QStringLiteral("&Always start from beginning of document"));
    chkSpellEnsureVisible = Check(grp, "chkSpellEnsureVisible",
                                  QStringLiteral("&Ensure spell check dialog does not hide the highlighted mistake"));
    auto* behaviours = new QVBoxLayout(grp);
    behaviours->addWidget(chkSpellStartBeginning);
    behaviours->addWidget(chkSpellEnsureVisible);
    auto* lblDic = new QLabel(QStringLiteral("&Dictionary"), tsSpelling);
    lblDic->setBuddy(cboDictionaries);
    auto* lblPersonal = new QLabel(QStringLiteral("&Personnal dictionary"), tsSpelling);
    lblPersonal->setBuddy(cboPersonalDics);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdDicNew, cmdDicModify, cmdDicRemove}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(tsSpelling);
    layout->addWidget(lblDic);
    layout->addWidget(cboDictionaries);
    layout->addWidget(lblPersonal);
    layout->addWidget(cboPersonalDics);
    layout->addLayout(buttons);
    layout->addWidget(grp);
    layout->addStretch(1);
    tbsOptions->addTab(tsSpelling, QStringLiteral("Spelling"));
    connect(cmdDicNew, &QPushButton::clicked, this, guarded(Ui(), [this] { DicNewClick(); }));
    connect(cmdDicModify, &QPushButton::clicked, this, guarded(Ui(), [this] { DicModifyClick(); }));
    connect(cmdDicRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { DicRemoveClick(); }));
    Watch(cboPersonalDics);
}

void TfrmOptions::Load() {
    const TOptions& o = *run_.Options;
    txtCompilerPath->setText(FromCp1252(o.CompilerPath));
    lblCompilerState->setText(CompilerState());
    optacDoNothing->setChecked(o.AcDoNothing);
    optacViewCnt->setChecked(o.AcViewCnt);
    optacViewCurTopic->setChecked(o.AcViewCurrent);
    chkSaveCompile->setChecked(o.SaveBeforeCompile);
    optstMakeNew->setChecked(o.StartMakeNew);
    optstOpenLast->setChecked(o.StartOpenLast);
    for (std::size_t i = 0; i < 4; ++i) {
        chkEdit[i]->setChecked(o.EditStyle & (1u << i));
        chkDone[i]->setChecked(o.DoneStyle & (1u << i));
    }
    cboEditColor->SetSelectedColor(static_cast<std::uint32_t>(o.EditColor));
    cboDoneColor->SetSelectedColor(static_cast<std::uint32_t>(o.DoneColor));
    chkAutoAddQuotes->setChecked(o.AddClosingQuotes);
    chkAutoAddBrackets->setChecked(o.AddClosingBrackets);
    chkEnableTagInsight->setChecked(o.EnableTagInsight);
    chkPopTopics->setChecked(o.PopupTopics);
    chkPopPopups->setChecked(o.PopupPopups);
    chkPopMacros->setChecked(o.PopupMacros);
    chkPopWindows->setChecked(o.PopupWindows);
    chkPopTags->setChecked(o.PopupTags);
    for (int n = 1; n <= kBuildCheckCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        chkError[i]->setChecked(o.GetError(n));
        (o.GetErrorType(n) == 1 ? optErrW[i] : optErrE[i])->setChecked(true);
    }
    cboFontFace->addItems(run_.FontNames);
    cboFontSize->addItems(run_.FontSizes);
    cboFontFace->setCurrentText(FromCp1252(o.DefFont));
    cboFontSize->setCurrentText(QString::number(o.DefFontSize));
    udIdIncrement->setValue(o.IdIncrement);
    chkPromptTopic->setChecked(o.PromptTopicInfos);
    chkTagsDlg->setChecked(o.TagsDialogs);
    chkDblClickFollowLink->setChecked(o.DblClickFollowsLink);
    chkUpdateRename->setChecked(o.UpdateOnRename);
    udHistStack->setValue(o.HistoryStack);
    chkHotCursor->setChecked(o.HotCursor);
    chkSpellStartBeginning->setChecked(o.SpellStartBeginning);
    chkSpellEnsureVisible->setChecked(o.SpellEnsureVisible);

    for (const std::string& d : run_.MainDictionaries) cboDictionaries->addItem(FromCp1252(d));
    cboDictionaries->model()->sort(0);
    cboDictionaries->setCurrentIndex(cboDictionaries->findText(FromCp1252(o.Dictionary), Qt::MatchExactly));
    for (const std::string& d : run_.PersonalDictionaries) cboPersonalDics->addItem(FromCp1252(d));
    cboPersonalDics->model()->sort(0);
    cboPersonalDics->setCurrentIndex(-1);
    cboPersonalDics->setEditText(FromCp1252(o.UserDictionary));

    FillTools();
    UpdatePreviews();
    run_.Accepted = run_.MruCleared = run_.UserDictionaryEdited = false;
}

void TfrmOptions::FillTools() {
    const int keep = lstTools->indexOfTopLevelItem(lstTools->currentItem());
    lstTools->clear();
    for (int i = 0; i < run_.Tools->Count(); ++i) {
        const TTool tool = run_.Tools->GetTool(i);
        auto* item = new QTreeWidgetItem(lstTools, {FromCp1252(tool.Name)});
        if (run_.ToolIcon) item->setIcon(0, run_.ToolIcon(tool));
        item->setSizeHint(0, QSize(0, kToolRowHeight));
    }
    if (lstTools->topLevelItemCount() > 0)
        lstTools->setCurrentItem(lstTools->topLevelItem(std::clamp(keep, 0, lstTools->topLevelItemCount() - 1)));
    Activate();
}

void TfrmOptions::updateEnabling() {
    for (QCheckBox* c : {chkPopTopics, chkPopPopups, chkPopMacros, chkPopWindows, chkPopTags})
        c->setEnabled(chkEnableTagInsight->isChecked());
    const bool anyTool = run_.Tools->Count() > 0;
    const bool canEdit = static_cast<bool>(run_.EditTool);
    cmdAddTool->setEnabled(canEdit && run_.Tools->CanAdd());
    cmdEditTool->setEnabled(canEdit && anyTool);
    cmdRemoveTool->setEnabled(anyTool);
    const bool named = !cboPersonalDics->currentText().trimmed().isEmpty();
    cmdDicModify->setEnabled(named);
    cmdDicRemove->setEnabled(named);
}

int TfrmOptions::helpContext() const {
    const int page = tbsOptions->currentIndex();
    return page >= 0 && page < static_cast<int>(std::size(kHelpContexts)) ? kHelpContexts[page] : 0;
}

QString TfrmOptions::CompilerState() const {
    const std::string file = CompilerFile(ToCp1252(txtCompilerPath->text()));
    switch (Ui().Compiler().Availability(file)) {
        case CompilerAvailability::Missing: return QStringLiteral("hcrtf.exe was not found in this folder.");
        case CompilerAvailability::Native: return QStringLiteral("hcrtf.exe found; it runs directly.");
        case CompilerAvailability::ThroughWine: return QStringLiteral("hcrtf.exe found; it runs through wine.");
        case CompilerAvailability::NoWine:
            return QStringLiteral("hcrtf.exe found, but wine is not installed, so it cannot run.");
    }
    return {};
}

void TfrmOptions::BrowseCompilerClick() {
    const std::optional<QString> folder =
        Ui().ChooseFolder(QStringLiteral("WinHelp compiler location:"), txtCompilerPath->text());
    if (folder) txtCompilerPath->setText(*folder);
}

void TfrmOptions::UpdatePreviews() {
    if (!pbEditing || !pbEditFont || !cboEditColor) return;
    const QFont base = font();
    pbEditing->Show(QStringLiteral("Sample"), StyledFont(base, chkEdit), FromBgr(cboEditColor->GetSelectedColor()));
    pbDone->Show(QStringLiteral("Sample"), StyledFont(base, chkDone), FromBgr(cboDoneColor->GetSelectedColor()));
    QFont face(cboFontFace->currentText());
    // A size that is no size keeps the preview at the dialog's own.
    face.setPointSize(FontSize().value_or(base.pointSize() > 0 ? base.pointSize() : 10));
    pbEditFont->Show(cboFontFace->currentText(), face, Qt::black);
}

std::optional<int> TfrmOptions::FontSize() const {
    bool ok = false;
    const int size = cboFontSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < kMinFontSize || size > kMaxFontSize) return std::nullopt;
    return size;
}

// --- tools ---------------------------------------------------------------------------------

void TfrmOptions::AddToolClick() {
    if (!run_.EditTool || !run_.Tools->CanAdd()) return;
    const std::optional<TTool> tool = run_.EditTool(TTool{}, this);
    if (!tool || !run_.Tools->Add(tool->Path, tool->Name)) return;
    FillTools();
    lstTools->setCurrentItem(lstTools->topLevelItem(lstTools->topLevelItemCount() - 1));
}

void TfrmOptions::EditToolClick() {
    const int row = lstTools->indexOfTopLevelItem(lstTools->currentItem());
    if (!run_.EditTool || row < 0 || row >= run_.Tools->Count()) return;
    const std::optional<TTool> tool = run_.EditTool(run_.Tools->GetTool(row), this);
    if (!tool) return;
    run_.Tools->SetTool(row, tool->Path, tool->Name);
    FillTools();
}

void TfrmOptions::RemoveToolClick() {
    const int row = lstTools->indexOfTopLevelItem(lstTools->currentItem());
    if (row < 0 || row >= run_.Tools->Count()) return;
    if (Ui().Confirm(QStringLiteral("Remove the selected tool?")) != MsgResult::Yes) return;
    run_.Tools->Delete(row);
    FillTools();
    const int next = SelectAfterRemoval(row, lstTools->topLevelItemCount());
    if (next >= 0) lstTools->setCurrentItem(lstTools->topLevelItem(next));
}

void TfrmOptions::ClearMruClick() {
    if (Ui().Confirm(QStringLiteral("Are you sure you want to clear the most recently used files buffer?")) !=
        MsgResult::Yes)
        return;
    run_.MruCleared = true;
    cmdClearMRU->setEnabled(false);
}

// --- personal dictionaries -------------------------------------------------------------------

std::string TfrmOptions::CheckedDictionaryName(const QString& text) {
    const std::string name = Trim(ToCp1252(text));
    if (!IsDictionaryName(name)) {
        Ui().Information(QString::fromLatin1(kMsgInvalidDictionaryName));
        return {};
    }
    return name;
}

std::string TfrmOptions::DictionaryFile(const std::string& name) const {
    return IncludeBackslash(run_.PersonalFolder) + name + ".dic";
}

void TfrmOptions::EditDictionary(const std::string& name) {
    TfrmDicEdit editor(Ui(), name, DictionaryFile(name), this);
    editor.Activate();
    Ui().RunDialog(editor);
}

void TfrmOptions::DicNewClick() {
    const std::optional<QString> answer = Ui().InputText(QStringLiteral("New User Dictionary"),
                                                         QStringLiteral("Enter the new user dictionary name:"), {});
    if (!answer) return;
    const std::string name = CheckedDictionaryName(*answer);
    if (name.empty()) return;
    const std::string file = DictionaryFile(name);
    if (FileExists(file)) {
        Ui().Information(
            FromCp1252("A user dictionary named " + name + " already exists. Please, choose another name."));
        return;
    }
    TUserWords().SaveToFile(file);
    if (cboPersonalDics->findText(FromCp1252(name), Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        cboPersonalDics->addItem(FromCp1252(name));
        cboPersonalDics->model()->sort(0);
    }
    EditDictionary(name);
}

void TfrmOptions::DicModifyClick() {
    const std::string name = CheckedDictionaryName(cboPersonalDics->currentText());
    if (name.empty()) return;
    run_.UserDictionaryEdited = true;
    EditDictionary(name);
}

void TfrmOptions::DicRemoveClick() {
    const std::string name = CheckedDictionaryName(cboPersonalDics->currentText());
    if (name.empty()) return;
    if (Ui().Confirm(QStringLiteral(
            "Are you sure that you want to permanently delete the selected user dictionary?")) != MsgResult::Yes)
        return;
    std::error_code error;
    std::filesystem::remove(ToFsPath(DictionaryFile(name)), error);
    if (error) throw Error("Cannot delete " + DictionaryFile(name) + " - " + error.message());
    const int row = cboPersonalDics->findText(FromCp1252(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row >= 0) cboPersonalDics->removeItem(row);
    cboPersonalDics->setEditText(QString());
    cboPersonalDics->setCurrentIndex(cboPersonalDics->count() > 0 ? 0 : -1);
}

// --- OK and Cancel ---------------------------------------------------------------------------

bool TfrmOptions::validate() {
    // Checked before anything is copied, so a bad size leaves every option as it was.
    if (!FontSize()) {
        tbsOptions->setCurrentWidget(tsEditor);
        cboFontSize->setFocus();
        Refuse(QString::fromLatin1(kMsgInvalidFontSize));
        return false;
    }
    return CheckCp1252(txtCompilerPath->text(), QStringLiteral("Compiler location")) &&
           CheckCp1252(cboFontFace->currentText(), QStringLiteral("Font name"));
}

void TfrmOptions::store() {
    TOptions o = *run_.Options;
    o.CompilerPath = ToCp1252(txtCompilerPath->text());
    o.AcDoNothing = optacDoNothing->isChecked();
    o.AcViewCnt = optacViewCnt->isChecked();
    o.AcViewCurrent = optacViewCurTopic->isChecked();
    o.StartMakeNew = optstMakeNew->isChecked();
    o.StartOpenLast = optstOpenLast->isChecked();
    o.SaveBeforeCompile = chkSaveCompile->isChecked();
    o.EnableTagInsight = chkEnableTagInsight->isChecked();
    o.EditStyle = StyleBits(chkEdit);
    o.EditColor = static_cast<std::int32_t>(cboEditColor->GetSelectedColor());
    o.DoneStyle = StyleBits(chkDone);
    o.DoneColor = static_cast<std::int32_t>(cboDoneColor->GetSelectedColor());
    o.AddClosingQuotes = chkAutoAddQuotes->isChecked();
    o.AddClosingBrackets = chkAutoAddBrackets->isChecked();
    o.PopupTags = chkPopTags->isChecked();
    o.PopupTopics = chkPopTopics->isChecked();
    o.PopupPopups = chkPopPopups->isChecked();
    o.PopupMacros = chkPopMacros->isChecked();
    o.PopupWindows = chkPopWindows->isChecked();
    o.PromptTopicInfos = chkPromptTopic->isChecked();
    o.IdIncrement = udIdIncrement->value();
    for (int n = 1; n <= kBuildCheckCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        o.SetError(n, chkError[i]->isChecked());
        o.SetErrorType(n, optErrW[i]->isChecked() ? 1 : 0);
    }
    o.DefFont = ToCp1252(cboFontFace->currentText());
    o.DefFontSize = *FontSize();
    o.DblClickFollowsLink = chkDblClickFollowLink->isChecked();
    o.TagsDialogs = chkTagsDlg->isChecked();
    o.UpdateOnRename = chkUpdateRename->isChecked();
    o.HistoryStack = udHistStack->value();
    o.HotCursor = chkHotCursor->isChecked();
    o.SpellStartBeginning = chkSpellStartBeginning->isChecked();
    o.SpellEnsureVisible = chkSpellEnsureVisible->isChecked();
    *run_.Options = o;
    if (run_.Settings) {
        run_.Options->SaveToRegistry(*run_.Settings);
        run_.Tools->SaveToRegistry(*run_.Settings);
    }
}

void TfrmOptions::TakeResults() {
    run_.Accepted = Accepted();
    run_.MainDictionary = Trim(ToCp1252(cboDictionaries->currentText()));
    run_.PersonalDictionary = Trim(ToCp1252(cboPersonalDics->currentText()));
}

}  // namespace qm
