#include "dialogs/newinclude.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewInclude::TfrmNewInclude(UiServices& ui, QWidget* parent)
    : TCntEntryDialog(ui, QStringLiteral("frmNewInclude"), QStringLiteral("Include Properties"), kNewIncludeHelpContext,
                      parent) {
    txtFile = MakeEdit(QStringLiteral("txtFile"));
    cmdBrowseFile = MakeBrowseButton(QStringLiteral("cmdBrowseFile"));
    grid_->addWidget(MakeGroup(QStringLiteral("grpFile"), QStringLiteral(" Include file "), txtFile, cmdBrowseFile), 0,
                     0, 1, 2);
    Watch(txtFile);
    connect(cmdBrowseFile, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseFileClick(); }));
    txtFile->setFocus();
}

void TfrmNewInclude::BrowseFileClick() {
    // Included files are found beside the including one, so only the name is kept.
    if (const auto file = BrowseFile(QStringLiteral("Include File"),
                                     QStringLiteral("Contents files (*.cnt)|*.cnt|All files|*"), QStringLiteral("cnt")))
        txtFile->setText(QFileInfo(*file).fileName());
}

void TfrmNewInclude::LoadEntry(const TCntNode& entry) { txtFile->setText(FromCp1252(entry.HelpFile)); }

void TfrmNewInclude::SaveEntry(TCntNode& entry) const { entry.HelpFile = ToCp1252(txtFile->text()); }

bool TfrmNewInclude::okRule() const { return !txtFile->text().isEmpty(); }

bool TfrmNewInclude::checkFields() {
    return CheckField(txtFile, QStringLiteral("Include file"), TCntField::Text, txtFile->text());
}

}  // namespace qm
