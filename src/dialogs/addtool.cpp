#include "dialogs/addtool.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

TfrmAddTool::TfrmAddTool(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmAddTool"), parent) {
    setWindowTitle(QStringLiteral("Tool Properties"));
    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    txtPath->setMinimumWidth(320);
    cmdBrowseTool = MakeButton(QStringLiteral("cmdBrowseTool"), QStringLiteral("..."));
    cmdBrowseTool->setFixedWidth(cmdBrowseTool->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    txtDisplayName = new QLineEdit(this);
    txtDisplayName->setObjectName(QStringLiteral("txtDisplayName"));

    auto label = [this](const QString& caption, QWidget* buddy) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
        l->setBuddy(buddy);
        return l;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("&Path"), txtPath), 0, 0);
    grid->addWidget(txtPath, 0, 1);
    grid->addWidget(cmdBrowseTool, 0, 2);
    grid->addWidget(label(QStringLiteral("&Display name"), txtDisplayName), 1, 0);
    grid->addWidget(txtDisplayName, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addStretch(1);
    layout->addWidget(MakeStandardButtons(false));
    setTabOrder(txtPath, cmdBrowseTool);
    setTabOrder(cmdBrowseTool, txtDisplayName);

    connect(cmdBrowseTool, &QPushButton::clicked, this, guarded(Ui(), [this] { BrowseToolClick(); }));
    Watch(txtPath);
    Watch(txtDisplayName);
}

void TfrmAddTool::SetTool(const TTool& tool) {
    txtPath->setText(FromCp1252(tool.Path));
    txtDisplayName->setText(FromCp1252(tool.Name));
    Activate();
}

void TfrmAddTool::BrowseToolClick() {
    FileDialogRequest request;
#ifdef _WIN32
    request.filter = WindowsFilterToQt(QStringLiteral("Executable files (*.exe)|*.exe|All files (*.*)|*.*"));
    request.defaultSuffix = QStringLiteral("exe");
#else
    // Programs here carry no extension of their own.
    request.filter = QStringLiteral("Executable files (*);;All files (*)");
#endif
    const QString proposed = txtPath->text();
    if (!proposed.isEmpty()) {
        request.fileName = proposed;
        request.folder = QFileInfo(proposed).absolutePath();
    }
    if (const auto file = Ui().OpenFileName(request)) txtPath->setText(QFileInfo(*file).absoluteFilePath());
}

bool TfrmAddTool::validate() {
    if (txtPath->text().isEmpty() || txtDisplayName->text().isEmpty()) return false;
    return CheckCp1252(txtPath->text(), QStringLiteral("Path")) &&
           CheckCp1252(txtDisplayName->text(), QStringLiteral("Display name"));
}

void TfrmAddTool::store() { tool_ = {ToCp1252(txtPath->text()), ToCp1252(txtDisplayName->text())}; }

void TfrmAddTool::updateEnabling() {
    // As typed: a name of blanks is a name.
    cmdOk->setEnabled(!txtPath->text().isEmpty() && !txtDisplayName->text().isEmpty());
}

void TfrmAddTool::showEvent(QShowEvent* event) {
    QmDialog::showEvent(event);
    txtPath->setFocus();
}

}  // namespace qm
