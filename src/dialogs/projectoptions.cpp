#include "dialogs/projectoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "dialogs/dialogfactory.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

constexpr int kHelpContexts[] = {125, 130, 135, 140, 145, 150};

QLineEdit* MakeEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void FillList(QListWidget* list, const StringList& rows) {
    for (const std::string& r : rows) list->addItem(FromCp1252(r));
    if (list->count() > 0) list->setCurrentRow(0);
}

StringList Rows(const QListWidget* list) {
    StringList out;
    for (int i = 0; i < list->count(); ++i) out.push_back(ToCp1252(list->item(i)->text()));
    return out;
}

}  // namespace

TfrmProjectOptions::TfrmProjectOptions(TDialogFactory& factory, TProject& project, const TMacros& macros,
                                       QWidget* parent)
    : QmDialog(factory.Ui(), QStringLiteral("frmProjectOptions"), parent),
      factory_(factory),
      project_(project),
      macros_(macros) {
    setWindowTitle(QStringLiteral("Help Project Settings"));
    BuildPages();
    Load();
}

void TfrmProjectOptions::BuildPages() {
    tbsOptions = Named(new QTabWidget(this), "tbsOptions");
    // Every page's tab in sight: the dialog is as wide as its tabs.
    tbsOptions->setUsesScrollButtons(false);

    // General
    tsGeneral = Named(new QWidget, "tsGeneral");
    txtHelpTitle = MakeEdit(tsGeneral, "txtHelpTitle", 127);
    cboTopics = Named(new QComboBox(tsGeneral), "cboTopics");
    auto* grpCopyright = new QGroupBox(QStringLiteral(" Copyright informations "), tsGeneral);
    txtCopyright = MakeEdit(grpCopyright, "txtCopyright", 255);
    txtCitation = MakeEdit(grpCopyright, "txtCitation", 2000);
    auto* copyLayout = new QVBoxLayout(grpCopyright);
    copyLayout->addWidget(
        Label(QStringLiteral("Display this text in the Version dialog &box:"), txtCopyright, grpCopyright));
    copyLayout->addWidget(txtCopyright);
    copyLayout->addWidget(
        Label(QStringLiteral("If users paste or print Help text, &display:"), txtCitation, grpCopyright));
    copyLayout->addWidget(txtCitation);
    auto* general = new QVBoxLayout(tsGeneral);
    general->addWidget(Label(QStringLiteral("Help file &title"), txtHelpTitle, tsGeneral));
    general->addWidget(txtHelpTitle);
    general->addWidget(Label(QStringLiteral("&Contents topic"), cboTopics, tsGeneral));
    general->addWidget(cboTopics);
    general->addWidget(grpCopyright);
    general->addStretch(1);
    tbsOptions->addTab(tsGeneral, QStringLiteral("General"));

    // Files
    tsFiles = Named(new QWidget, "tsFiles");
    txtHelpFilename = MakeEdit(tsFiles, "txtHelpFilename", 259);
    txtCnt = MakeEdit(tsFiles, "txtCnt", 259);
    lstBmp = MakeList(tsFiles, "lstBmp");
    cmdAddBmpPath = MakeButton(QStringLiteral("cmdAddBmpPath"), QStringLiteral("&Add..."), tsFiles);
    cmdRemoveBmpPath = MakeButton(QStringLiteral("cmdRemoveBmpPath"), QStringLiteral("&Remove"), tsFiles);
    auto* bmpButtons = new QVBoxLayout;
    bmpButtons->addWidget(cmdAddBmpPath);
    bmpButtons->addWidget(cmdRemoveBmpPath);
    bmpButtons->addStretch(1);
    auto* bmpRow = new QHBoxLayout;
    bmpRow->addWidget(lstBmp, 1);
    bmpRow->addLayout(bmpButtons);
    auto* files = new QVBoxLayout(tsFiles);
    files->addWidget(Label(QStringLiteral("Help file &name"), txtHelpFilename, tsFiles));
    files->addWidget(txtHelpFilename);
    files->addWidget(Label(QStringLiteral("&Contents file name"), txtCnt, tsFiles));
    files->addWidget(txtCnt);
    files->addWidget(Label(QStringLiteral("&Images search paths:"), lstBmp, tsFiles));
    files->addLayout(bmpRow, 1);
    tbsOptions->addTab(tsFiles, QStringLiteral("Files"));

    // Compression
    tsCompression = Named(new QWidget, "tsCompression");
    optNoCompress = Named(new QRadioButton(QStringLiteral("&None"), tsCompression), "optNoCompress");
    optMaxCompress = Named(new QRadioButton(QStringLiteral("&Maximum (recommended)"), tsCompression), "optMaxCompress");
    optCustCompress = Named(new QRadioButton(QStringLiteral("&Custom"), tsCompression), "optCustCompress");
    chkHall = Named(new QCheckBox(QStringLiteral("H&all compression"), tsCompression), "chkHall");
    chkZeck = Named(new QCheckBox(QStringLiteral("&Zeck compression"), tsCompression), "chkZeck");
    chkPhrase = Named(new QCheckBox(QStringLiteral("&Phrase compression"), tsCompression), "chkPhrase");
    chkUsePHI = Named(new QCheckBox(QStringLiteral("&Use existing phrase (.PHI) file"), tsCompression), "chkUsePHI");
    auto* compression = new QVBoxLayout(tsCompression);
    for (QWidget* w : std::initializer_list<QWidget*>{optNoCompress, optMaxCompress, optCustCompress})
        compression->addWidget(w);
    auto* custom = new QVBoxLayout;
    custom->setContentsMargins(24, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{chkHall, chkZeck, chkPhrase, chkUsePHI}) custom->addWidget(w);
    compression->addLayout(custom);
    compression->addStretch(1);
    tbsOptions->addTab(tsCompression, QStringLiteral("Compression"));

    // Config
    tsConfig = Named(new QWidget, "tsConfig");
    txtMacro = MakeEdit(tsConfig, "txtMacro", 32767);
    cmdMacroEdit = MakeButton(QStringLiteral("cmdMacroEdit"), QStringLiteral("&..."), tsConfig);
    cmdMacroEdit->setFixedWidth(cmdMacroEdit->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    cmdAddMacro = MakeButton(QStringLiteral("cmdAddMacro"), QStringLiteral("&Add"), tsConfig);
    lstMacros = MakeList(tsConfig, "lstMacros");
    cmdRemoveMacro = MakeButton(QStringLiteral("cmdRemoveMacro"), QStringLiteral("&Remove"), tsConfig);
    cmdClearMacros = MakeButton(QStringLiteral("cmdClearMacros"), QStringLiteral("&Clear"), tsConfig);
    auto* intro =
        new QLabel(QStringLiteral("Enter the macros that should be executed when this help file is opened."), tsConfig);
    intro->setWordWrap(true);
    auto* macroRow = new QHBoxLayout;
    macroRow->addWidget(txtMacro, 1);
    macroRow->addWidget(cmdMacroEdit);
    macroRow->addWidget(cmdAddMacro);
    auto* macroButtons = new QVBoxLayout;
    macroButtons->addWidget(cmdRemoveMacro);
    macroButtons->addWidget(cmdClearMacros);
    macroButtons->addStretch(1);
    auto* macroList = new QHBoxLayout;
    macroList->addWidget(lstMacros, 1);
    macroList->addLayout(macroButtons);
    auto* config = new QVBoxLayout(tsConfig);
    config->addWidget(intro);
    config->addLayout(macroRow);
    config->addLayout(macroList, 1);
    tbsOptions->addTab(tsConfig, QStringLiteral("Config"));

    // Build
    tsBuild = Named(new QWidget, "tsBuild");
    lstBuildInclude = MakeList(tsBuild, "lstBuildInclude");
    cmdIncAdd = MakeButton(QStringLiteral("cmdIncAdd"), QStringLiteral("&Add..."), tsBuild);
    cmdIncRemove = MakeButton(QStringLiteral("cmdIncRemove"), QStringLiteral("&Remove"), tsBuild);
    lstBuildExclude = MakeList(tsBuild, "lstBuildExclude");
    cmdExcAdd = MakeButton(QStringLiteral("cmdExcAdd"), QStringLiteral("A&dd..."), tsBuild);
    cmdExcRemove = MakeButton(QStringLiteral("cmdExcRemove"), QStringLiteral("Re&move"), tsBuild);
    auto* build = new QVBoxLayout(tsBuild);
    auto addTagList = [&](const QString& caption, QListWidget* list, QPushButton* add, QPushButton* remove) {
        build->addWidget(Label(caption, list, tsBuild));
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch(1);
        auto* row = new QHBoxLayout;
        row->addWidget(list, 1);
        row->addLayout(buttons);
        build->addLayout(row, 1);
    };
    addTagList(QStringLiteral("&Include topics with these build tags:"), lstBuildInclude, cmdIncAdd, cmdIncRemove);
    addTagList(QStringLiteral("&Exclude topics with these build tags:"), lstBuildExclude, cmdExcAdd, cmdExcRemove);
    tbsOptions->addTab(tsBuild, QStringLiteral("Build"));

    // Includes
    tsIncludes = Named(new QWidget, "tsIncludes");
    chkMakeCppInclude = Named(new QCheckBox(QStringLiteral("&C / C++ include file"), tsIncludes), "chkMakeCppInclude");
    chkMakeVbInclude =
        Named(new QCheckBox(QString::fromUtf8("Microsoft\u00ae &Visual Basic\u2122 module file"), tsIncludes),
              "chkMakeVbInclude");
    chkMakeDelphiInclude = Named(new QCheckBox(QString::fromUtf8("Borland\u00ae &Delphi\u2122 unit file"), tsIncludes),
                                 "chkMakeDelphiInclude");
    txtIdPrefix = MakeEdit(tsIncludes, "txtIdPrefix", 5);
    lblIdPrefix = Named(Label(QStringLiteral("ID &prefix:"), txtIdPrefix, tsIncludes), "lblIdPrefix");
    auto* includes = new QVBoxLayout(tsIncludes);
    auto* exportIntro =
        new QLabel(QStringLiteral("When compiling, export help context IDs into the following files:"), tsIncludes);
    exportIntro->setWordWrap(true);
    includes->addWidget(exportIntro);
    for (QWidget* w : std::initializer_list<QWidget*>{chkMakeCppInclude, chkMakeVbInclude, chkMakeDelphiInclude})
        includes->addWidget(w);
    auto* prefixRow = new QHBoxLayout;
    prefixRow->addWidget(lblIdPrefix);
    prefixRow->addWidget(txtIdPrefix);
    prefixRow->addStretch(1);
    includes->addLayout(prefixRow);
    includes->addStretch(1);
    tbsOptions->addTab(tsIncludes, QStringLiteral("Includes"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions, 1);
    layout->addWidget(MakeStandardButtons());
    resize(480, 420);

    // The rules follow every change of the boxes, presets included.
    for (QRadioButton* r : {optNoCompress, optMaxCompress, optCustCompress})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) CompressionChosen();
        });
    connect(chkHall, &QCheckBox::toggled, this, [this] { HallClicked(); });
    connect(chkPhrase, &QCheckBox::toggled, this, [this] { PhraseClicked(); });
    for (QCheckBox* c : {chkMakeCppInclude, chkMakeVbInclude, chkMakeDelphiInclude})
        connect(c, &QCheckBox::toggled, this, [this] { PrefixRule(); });
    connect(tbsOptions, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });

    connect(cmdAddBmpPath, &QPushButton::clicked, this, guarded(Ui(), [this] { AddBmpPathClick(); }));
    connect(cmdRemoveBmpPath, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveBmpPathClick(); }));
    connect(cmdAddMacro, &QPushButton::clicked, this, guarded(Ui(), [this] { AddMacroClick(); }));
    connect(cmdRemoveMacro, &QPushButton::clicked, this, guarded(Ui(), [this] { RemoveMacroClick(); }));
    connect(cmdClearMacros, &QPushButton::clicked, this, guarded(Ui(), [this] { ClearMacrosClick(); }));
    connect(cmdMacroEdit, &QPushButton::clicked, this, guarded(Ui(), [this] { MacroEditClick(); }));
    connect(cmdIncAdd, &QPushButton::clicked, this, guarded(Ui(), [this] { IncAddClick(); }));
    connect(cmdExcAdd, &QPushButton::clicked, this, guarded(Ui(), [this] { ExcAddClick(); }));
    connect(cmdIncRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { IncRemoveClick(); }));
    connect(cmdExcRemove, &QPushButton::clicked, this, guarded(Ui(), [this] { ExcRemoveClick(); }));
    Watch(txtMacro);
    Watch(lstBmp);
    Watch(lstMacros);
    Watch(lstBuildInclude);
    Watch(lstBuildExclude);
}

void TfrmProjectOptions::Load() {
    txtHelpTitle->setText(FromCp1252(project_.GetTitle()));
    txtCopyright->setText(FromCp1252(project_.GetCopyright()));
    txtCitation->setText(FromCp1252(project_.GetCitation()));
    txtHelpFilename->setText(FromCp1252(project_.GetHlpFile()));
    txtCnt->setText(FromCp1252(project_.GetCntFile()));
    txtIdPrefix->setText(FromCp1252(project_.GetIdPrefix()));
    FillList(lstBmp, project_.BmRoot);

    switch (project_.CompressMode) {
        case CompressMode::Maximum: optMaxCompress->setChecked(true); break;
        case CompressMode::Custom: optCustCompress->setChecked(true); break;
        default: optNoCompress->setChecked(true); break;
    }
    if (optCustCompress->isChecked()) {
        chkHall->setChecked(project_.CompressFlags & CompressFlags::Hall);
        chkZeck->setChecked(project_.CompressFlags & CompressFlags::Zeck);
        chkPhrase->setChecked(project_.CompressFlags & CompressFlags::Phrase);
        chkUsePHI->setChecked(project_.CompressFlags & CompressFlags::PhraseIndex);
    }

    // An imported project may have no window: its start-up macros have no
    // place to live, so the page says so instead of failing to open.
    hasWindow_ = !project_.Windows.Empty();
    if (hasWindow_) {
        FillList(lstMacros, project_.Windows.GetWindow(1).Macros);
    } else {
        tsConfig->setEnabled(false);
        tsConfig->setToolTip(QString::fromLatin1(kMsgDefineWindowFirst));
        tbsOptions->setTabToolTip(tbsOptions->indexOf(tsConfig), QString::fromLatin1(kMsgDefineWindowFirst));
    }

    chkMakeCppInclude->setChecked(project_.MakeCppInclude);
    chkMakeVbInclude->setChecked(project_.MakeVbInclude);
    chkMakeDelphiInclude->setChecked(project_.MakePascalInclude);
    PrefixRule();

    FillList(lstBuildInclude, project_.IncludeTags);
    FillList(lstBuildExclude, project_.ExcludeTags);
    project_.CollectBuildTags(knownTags_);

    QStringList names;
    for (const TTopicNode* node : project_.Topics.NodesOfKind(TopicKind::Topic)) names << FromCp1252(node->GetName());
    names.sort(Qt::CaseInsensitive);
    cboTopics->addItems(names);
    cboTopics->setCurrentIndex(-1);
    if (const TTopicNode* contents = project_.Topics.FindContents())
        cboTopics->setCurrentIndex(cboTopics->findText(FromCp1252(contents->GetName()), Qt::MatchFixedString));
    tbsOptions->setCurrentIndex(0);
}

void TfrmProjectOptions::CompressionChosen() {
    const bool custom = optCustCompress->isChecked();
    const bool maximum = optMaxCompress->isChecked();
    for (QCheckBox* c : {chkHall, chkZeck, chkPhrase, chkUsePHI}) c->setChecked(false);
    chkHall->setChecked(maximum);
    chkZeck->setChecked(maximum);
    for (QCheckBox* c : {chkHall, chkZeck, chkPhrase}) c->setEnabled(custom);
    chkUsePHI->setEnabled(false);
}

void TfrmProjectOptions::HallClicked() {
    if (!optCustCompress->isChecked()) return;
    chkPhrase->setEnabled(!chkHall->isChecked());
}

void TfrmProjectOptions::PhraseClicked() {
    if (!optCustCompress->isChecked()) return;
    chkHall->setEnabled(!chkPhrase->isChecked());
    chkUsePHI->setEnabled(chkPhrase->isChecked());
    if (!chkUsePHI->isEnabled()) chkUsePHI->setChecked(false);
}

void TfrmProjectOptions::PrefixRule() {
    const bool on =
        chkMakeCppInclude->isChecked() || chkMakeVbInclude->isChecked() || chkMakeDelphiInclude->isChecked();
    lblIdPrefix->setEnabled(on);
    txtIdPrefix->setEnabled(on);
    QPalette palette = txtIdPrefix->palette();
    const QColor base = on ? QColor(Qt::white) : QColor(192, 192, 192);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(g, QPalette::Base, base);
    txtIdPrefix->setPalette(palette);
}

void TfrmProjectOptions::PageChanged(int index) {
    const bool config = tbsOptions->widget(index) == tsConfig;
    cmdOk->setDefault(!config);
    cmdAddMacro->setDefault(config);
    if (config)
        txtMacro->setFocus();
    else if (tbsOptions->widget(index) == tsGeneral)
        txtHelpTitle->setFocus();
    else if (tbsOptions->widget(index) == tsFiles)
        txtHelpFilename->setFocus();
}

int TfrmProjectOptions::helpContext() const {
    const int page = tbsOptions->currentIndex();
    return page >= 0 && page < static_cast<int>(std::size(kHelpContexts)) ? kHelpContexts[page] : 0;
}

void TfrmProjectOptions::updateEnabling() {
    cmdRemoveBmpPath->setEnabled(lstBmp->count() > 0);
    cmdAddMacro->setEnabled(!txtMacro->text().isEmpty());
    cmdRemoveMacro->setEnabled(lstMacros->count() > 0);
    cmdClearMacros->setEnabled(lstMacros->count() > 0);
    cmdIncRemove->setEnabled(lstBuildInclude->count() > 0);
    cmdExcRemove->setEnabled(lstBuildExclude->count() > 0);
}

void TfrmProjectOptions::AddBmpPathClick() {
    const std::optional<QString> folder = Ui().ChooseFolder(QStringLiteral("Add bitmap search path:"), QString());
    if (!folder) return;
    lstBmp->addItem(*folder);
    lstBmp->setCurrentRow(lstBmp->count() - 1);
}

void TfrmProjectOptions::RemoveBmpPathClick() { ListEditor(lstBmp).Remove(); }

void TfrmProjectOptions::AddMacroClick() {
    if (txtMacro->text().isEmpty()) return;
    ListEditor(lstMacros).Add(txtMacro->text());
    txtMacro->clear();
    txtMacro->setFocus();
}

void TfrmProjectOptions::RemoveMacroClick() { ListEditor(lstMacros).Remove(); }

void TfrmProjectOptions::ClearMacrosClick() { lstMacros->clear(); }

void TfrmProjectOptions::MacroEditClick() {
    const std::optional<std::string> expression = factory_.RunMacroBuilder(macros_, {}, this);
    if (!expression) return;
    txtMacro->setText(FromCp1252(*expression));
    txtMacro->setFocus();
}

void TfrmProjectOptions::AddTag(QListWidget* list) {
    const std::optional<std::string> tag = factory_.RunBuildTags(knownTags_, this);
    if (!tag) return;
    ListEditor(list).Add(FromCp1252(*tag));
}

void TfrmProjectOptions::RemoveTag(QListWidget* list) { ListEditor(list).Remove(); }

bool TfrmProjectOptions::validate() {
    const std::pair<QLineEdit*, const char*> texts[] = {
        {txtHelpTitle, "Help file title"},   {txtCopyright, "Copyright"},    {txtCitation, "Citation"},
        {txtHelpFilename, "Help file name"}, {txtCnt, "Contents file name"}, {txtIdPrefix, "ID prefix"}};
    for (const auto& [edit, field] : texts)
        if (!CheckCp1252(edit->text(), QString::fromLatin1(field))) return false;
    const std::string name = Trim(ToCp1252(cboTopics->currentText()));
    const TTopicNode* chosen = project_.Topics.FindByName(name);
    if (name.empty() || !chosen || !chosen->IsTopic()) {
        Ui().Warning(QString::fromLatin1(kMsgInvalidContentsTopic));
        return false;
    }
    return true;
}

void TfrmProjectOptions::store() {
    project_.SetTitle(ToCp1252(txtHelpTitle->text()));
    TTopicNode* chosen = project_.Topics.FindByName(Trim(ToCp1252(cboTopics->currentText())));
    if (TTopicNode* old = project_.Topics.FindContents()) old->IsContents = false;
    if (chosen) chosen->IsContents = true;
    project_.SetCopyright(ToCp1252(txtCopyright->text()));
    project_.SetCitation(ToCp1252(txtCitation->text()));
    project_.SetHlpFile(Trim(ToCp1252(txtHelpFilename->text())));
    project_.SetCntFile(Trim(ToCp1252(txtCnt->text())));
    project_.BmRoot = Rows(lstBmp);
    if (hasWindow_ && !project_.Windows.Empty()) project_.Windows.GetWindow(1).Macros = Rows(lstMacros);
    project_.CompressFlags = 0;
    if (optMaxCompress->isChecked()) {
        project_.CompressMode = CompressMode::Maximum;
    } else if (optCustCompress->isChecked()) {
        project_.CompressMode = CompressMode::Custom;
        if (chkHall->isChecked()) project_.CompressFlags |= CompressFlags::Hall;
        if (chkZeck->isChecked()) project_.CompressFlags |= CompressFlags::Zeck;
        if (chkPhrase->isChecked()) project_.CompressFlags |= CompressFlags::Phrase;
        if (chkUsePHI->isChecked() && chkUsePHI->isEnabled()) project_.CompressFlags |= CompressFlags::PhraseIndex;
    } else {
        project_.CompressMode = CompressMode::None;
    }
    project_.MakeCppInclude = chkMakeCppInclude->isChecked();
    project_.MakeVbInclude = chkMakeVbInclude->isChecked();
    project_.MakePascalInclude = chkMakeDelphiInclude->isChecked();
    project_.SetIdPrefix(ToCp1252(txtIdPrefix->text()));
    project_.IncludeTags = Rows(lstBuildInclude);
    project_.ExcludeTags = Rows(lstBuildExclude);
}

}  // namespace qm
