#include "dialogs/importdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace qm {

TImportDlg::TImportDlg(QWidget* parent) : QFileDialog(parent) {
    setObjectName(QStringLiteral("dlgImport"));
    // Our widgets go into the dialog's own layout, which only the widget-based
    // dialog has.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters(ImportFilters());
    setWindowTitle(QStringLiteral("Import File"));

    chkFootnotes_ = new QCheckBox(QStringLiteral("&Use footnotes"), this);
    chkFootnotes_->setObjectName(QStringLiteral("chkFootnotes"));
    chkFootnotes_->setChecked(false);

    auto* buttons = findChild<QDialogButtonBox*>();
    auto* row = new QHBoxLayout;
    row->addWidget(chkFootnotes_);
    row->addStretch(1);
    QPushButton* help = nullptr;
    if (buttons) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Open)) ok->setObjectName(QStringLiteral("cmdOk"));
        if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel))
            cancel->setObjectName(QStringLiteral("cmdCancel"));
        help = buttons->addButton(QDialogButtonBox::Help);
    } else {
        help = new QPushButton(tr("&Help"), this);
        row->addWidget(help);
    }
    help->setObjectName(QStringLiteral("cmdHelp"));
    connect(help, &QPushButton::clicked, this, &TImportDlg::HelpRequested);

    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    else if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->addLayout(row);

    // A user's pick of a type is reported by filterSelected; the type box's
    // own index signal also covers selectNameFilter() called by anyone.
    connect(this, &QFileDialog::filterSelected, this, [this] { TypeChanged(); });
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        if (combo->count() != ImportFilters().size() || combo->itemText(0) != ImportFilters().front()) continue;
        typeCombo_ = combo;
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { TypeChanged(); });
        break;
    }
    TypeChanged();
}

QStringList TImportDlg::ImportFilters() {
    return {QStringLiteral("Rich Text Format (*.rtf)"), QStringLiteral("Text files (*.txt)"),
            QStringLiteral("HelpWorkshop project (*.hpj)")};
}

int TImportDlg::FilterIndex() const {
    const int index = typeCombo_ ? typeCombo_->currentIndex() : nameFilters().indexOf(selectedNameFilter());
    return index < 0 ? 0 : index;
}

void TImportDlg::SetFilterIndex(int index) {
    const QStringList filters = nameFilters();
    if (index < 0 || index >= filters.size()) index = 0;
    selectNameFilter(filters.at(index));
    TypeChanged();
}

void TImportDlg::SetInitialDir(const QString& dir) {
    if (!dir.isEmpty()) setDirectory(dir);
}

void TImportDlg::TypeChanged() {
    const int index = FilterIndex();
    // A new type starts with the box unticked, as the footnote choice
    // belongs to the RTF file the user is about to pick.
    if (index != lastIndex_) chkFootnotes_->setChecked(false);
    lastIndex_ = index;
    chkFootnotes_->setEnabled(index == static_cast<int>(TImportKind::Rtf));
}

void TImportDlg::done(int result) {
    if (result == QDialog::Accepted) {
        const QStringList files = selectedFiles();
        fileName_ = files.isEmpty() ? QString() : files.front();
        accepted_ = !fileName_.isEmpty();
        useFootnotes_ = accepted_ && chkFootnotes_->isEnabled() && chkFootnotes_->isChecked();
        if (!accepted_) return;  // nothing chosen: stay open
    } else {
        accepted_ = false;
        useFootnotes_ = false;
        fileName_.clear();
    }
    QFileDialog::done(result);
}

}  // namespace qm
