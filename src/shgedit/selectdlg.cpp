#include "shgedit/selectdlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"

namespace qm::shgedit {

TfrmSelect::TfrmSelect(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmSelect"), parent) {
    setWindowTitle(QStringLiteral("Select Hotspot"));
    txtHotspot = new QLineEdit(this);
    txtHotspot->setObjectName(QStringLiteral("txtHotspot"));
    lstHotspots = new QListWidget(this);
    lstHotspots->setObjectName(QStringLiteral("lstHotspots"));
    lstHotspots->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    cmdSelect = MakeButton(QStringLiteral("cmdSelect"), QStringLiteral("&Select"));
    cmdCancel = MakeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdHelp = MakeButton(QStringLiteral("cmdHelp"), QStringLiteral("&Help"));
    buttons->addButton(cmdSelect, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    buttons->addButton(cmdHelp, QDialogButtonBox::HelpRole);
    cmdSelect->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QmDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QmDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { Ui().ShowHelp(helpContext()); });

    auto* left = new QVBoxLayout;
    left->addWidget(txtHotspot);
    left->addWidget(lstHotspots);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    resize(320, 260);

    connect(txtHotspot, &QLineEdit::textChanged, this, [this] {
        if (!copying_) txtHotspotChange();
    });
    connect(lstHotspots, &QListWidget::itemClicked, this, &TfrmSelect::lstHotspotsClick);
    // Keys move the selection as a click does.
    connect(lstHotspots, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && !copying_) lstHotspotsClick(item);
    });
    connect(lstHotspots, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

void TfrmSelect::SetItems(const StringList& ids) {
    ids_ = ids;
    {
        QScopedValueRollback<bool> guard(copying_, true);
        lstHotspots->clear();
        for (const std::string& id : ids_) lstHotspots->addItem(FromCp1252(id));
    }
    if (lstHotspots->count() > 0) lstHotspotsClick(lstHotspots->item(0));
    txtHotspot->setFocus();
    txtHotspot->selectAll();
}

void TfrmSelect::showEvent(QShowEvent* event) {
    QmDialog::showEvent(event);
    txtHotspot->setFocus();
    txtHotspot->selectAll();
}

int TfrmSelect::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = lstHotspots->selectedItems();
    return selected.isEmpty() ? -1 : lstHotspots->row(selected.front());
}

void TfrmSelect::txtHotspotChange() {
    const std::string prefix = Trim(ToCp1252(txtHotspot->text()));
    QScopedValueRollback<bool> guard(copying_, true);
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i].size() >= prefix.size() && SameText(std::string_view(ids_[i]).substr(0, prefix.size()), prefix)) {
            lstHotspots->setCurrentRow(static_cast<int>(i));
            return;
        }
    }
    lstHotspots->clearSelection();
    lstHotspots->setCurrentItem(nullptr);
}

void TfrmSelect::lstHotspotsClick(QListWidgetItem* item) {
    if (!item) return;
    QScopedValueRollback<bool> guard(copying_, true);
    lstHotspots->setCurrentItem(item);
    item->setSelected(true);
    txtHotspot->setText(item->text());
}

}  // namespace qm::shgedit
