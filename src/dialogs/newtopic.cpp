#include "dialogs/newtopic.h"

#include <algorithm>

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/tagform.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"

namespace qm {

namespace {

QComboBox* MakeSortedNameCombo(const QString& name, StringList names, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(240);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const std::string& n : names) combo->addItem(FromCp1252(n));
    combo->setCurrentIndex(-1);
    return combo;
}

}  // namespace

TfrmNewTopic::TfrmNewTopic(UiServices& ui, const TProject& project, QWidget* parent)
    : TCntEntryDialog(ui, QStringLiteral("frmNewTopic"), QStringLiteral("Topic Properties"), kNewTopicHelpContext,
                      parent) {
    txtTitle = MakeEdit(QStringLiteral("txtTitle"));
    optLinkIn = new QRadioButton(QStringLiteral("&Link to this help file"), this);
    optLinkIn->setObjectName(QStringLiteral("optLinkIn"));
    optLinkOut = new QRadioButton(QStringLiteral("Link to &other help file"), this);
    optLinkOut->setObjectName(QStringLiteral("optLinkOut"));
    txtHelpFile = MakeEdit(QStringLiteral("txtHelpFile"));
    cmdBrowseFile = MakeBrowseButton(QStringLiteral("cmdBrowseFile"));
    StringList topics;
    for (const TTopicNode* node : project.Topics.NodesOfKind(TopicKind::Topic)) topics.push_back(node->GetName());
    cboTopic = MakeSortedNameCombo(QStringLiteral("cboTopic"), topics, this);
    StringList windows;
    for (int i = 1; i <= project.Windows.Count(); ++i) windows.push_back(project.Windows.GetWindow(i).GetName());
    cboWindow = MakeSortedNameCombo(QStringLiteral("cboWindow"), windows, this);

    int row = 0;
    grid_->addWidget(MakeLabel(QStringLiteral("&Topic title"), txtTitle), row, 0);
    grid_->addWidget(txtTitle, row++, 1, 1, 2);
    grid_->addWidget(optLinkIn, row++, 1, 1, 2);
    grid_->addWidget(optLinkOut, row++, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Help file"), txtHelpFile), row, 0);
    grid_->addWidget(txtHelpFile, row, 1);
    grid_->addWidget(cmdBrowseFile, row++, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("To&pic"), cboTopic), row, 0);
    grid_->addWidget(cboTopic, row++, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Window"), cboWindow), row, 0);
    grid_->addWidget(cboWindow, row++, 1, 1, 2);
    for (auto [a, b] : {std::pair<QWidget*, QWidget*>{txtTitle, optLinkIn},
                        {optLinkIn, optLinkOut},
                        {optLinkOut, txtHelpFile},
                        {txtHelpFile, cmdBrowseFile},
                        {cmdBrowseFile, cboTopic},
                        {cboTopic, cboWindow},
                        {cboWindow, cmdOk}})
        setTabOrder(a, b);

    Watch(txtTitle);
    Watch(txtHelpFile);
    Watch(cboTopic);
    Watch(optLinkIn);
    Watch(optLinkOut);
    connect(optLinkIn, &QRadioButton::toggled, this, [this] { ShowLinkChoice(); });
    connect(cmdBrowseFile, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseFileClick(); }));
    optLinkIn->setChecked(true);
    ShowLinkChoice();
    txtTitle->setFocus();
}

void TfrmNewTopic::ShowLinkChoice() {
    const bool other = optLinkOut->isChecked();
    txtHelpFile->setEnabled(other);
    cmdBrowseFile->setEnabled(other);
    QPalette palette = txtHelpFile->palette();
    palette.setColor(QPalette::All, QPalette::Base, other ? QColor(Qt::white) : QColor(192, 192, 192));
    txtHelpFile->setPalette(palette);
}

void TfrmNewTopic::BrowseFileClick() {
    if (const auto file =
            BrowseFile(QStringLiteral("Help File"), QStringLiteral("Help files (*.hlp)|*.hlp"), QStringLiteral("hlp")))
        txtHelpFile->setText(QFileInfo(*file).fileName());
}

void TfrmNewTopic::PresetNew(const std::string& contentsTopic) {
    optLinkIn->setChecked(true);
    PresetNameCombo(cboTopic, FromCp1252(contentsTopic));
    cboWindow->setCurrentIndex(-1);
    cboWindow->setEditText(QString());
}

void TfrmNewTopic::LoadEntry(const TCntNode& entry) {
    txtTitle->setText(FromCp1252(entry.Title));
    PresetNameCombo(cboWindow, entry.Window.empty() ? QStringLiteral("main") : FromCp1252(entry.Window));
    PresetNameCombo(cboTopic, FromCp1252(entry.TopicId));
    if (!entry.HelpFile.empty()) {
        optLinkOut->setChecked(true);
        txtHelpFile->setText(FromCp1252(entry.HelpFile));
    } else {
        optLinkIn->setChecked(true);
    }
}

void TfrmNewTopic::SaveEntry(TCntNode& entry) const {
    entry.TopicId = ToCp1252(cboTopic->currentText());
    entry.Title = ToCp1252(txtTitle->text());
    entry.Window = ToCp1252(cboWindow->currentText());
    entry.HelpFile = helpFile_;
}

bool TfrmNewTopic::okRule() const {
    return !txtTitle->text().isEmpty() && !cboTopic->currentText().isEmpty() &&
           (optLinkIn->isChecked() || !txtHelpFile->text().isEmpty());
}

bool TfrmNewTopic::checkFields() {
    // The help file is checked only where it is stored.
    return CheckField(txtTitle, QStringLiteral("&Topic title"), TCntField::EntryTitle, txtTitle->text()) &&
           (!optLinkOut->isChecked() ||
            CheckField(txtHelpFile, QStringLiteral("&Help file"), TCntField::HelpFileName, txtHelpFile->text())) &&
           CheckField(cboTopic, QStringLiteral("To&pic"), TCntField::TopicId, cboTopic->currentText()) &&
           CheckField(cboWindow, QStringLiteral("&Window"), TCntField::Text, cboWindow->currentText());
}

void TfrmNewTopic::store() { helpFile_ = optLinkOut->isChecked() ? ToCp1252(txtHelpFile->text()) : std::string(); }

}  // namespace qm
