#include "dialogs/exportchoice.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"

namespace qm {

TfrmExport::TfrmExport(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmExport"), parent) {
    setWindowTitle(QStringLiteral("Export Context IDs Constants"));
    auto* intro = new QLabel(
        QStringLiteral("Check the file types in which you would like to export the context id constants."), this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);
    auto box = [this](const char* name, const char* caption) {
        // The captions carry the Windows-1252 signs (R) and (TM).
        auto* check = new QCheckBox(FromCp1252(caption), this);
        check->setObjectName(QString::fromLatin1(name));
        Watch(check);
        return check;
    };
    chkCpp = box("chkCpp", "&C / C++ include file");
    chkVb = box("chkVb", "Microsoft\xAE &Visual Basic\x99 module file");
    chkDelphi = box("chkDelphi", "Borland\xAE &Delphi\x99 unit file");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(6);
    for (QCheckBox* c : {chkCpp, chkVb, chkDelphi}) layout->addWidget(c);
    layout->addSpacing(10);
    layout->addStretch(1);
    layout->addWidget(MakeStandardButtons());
    intro->setMinimumWidth(320);
}

void TfrmExport::SetChoice(const TExportChoice& choice) {
    chkCpp->setChecked(choice.Cpp);
    chkVb->setChecked(choice.Vb);
    chkDelphi->setChecked(choice.Pascal);
    Activate();
}

TExportChoice TfrmExport::Choice() const { return {chkCpp->isChecked(), chkVb->isChecked(), chkDelphi->isChecked()}; }

bool TfrmExport::validate() {
    // OK is off while no box is ticked; nothing to write is never confirmed.
    const TExportChoice c = Choice();
    return c.Cpp || c.Vb || c.Pascal;
}

void TfrmExport::updateEnabling() {
    const TExportChoice c = Choice();
    cmdOk->setEnabled(c.Cpp || c.Vb || c.Pascal);
}

}  // namespace qm
