#include "dialogs/cntprops.h"

#include <tuple>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "dialogs/indexfileprops.h"
#include "dialogs/linkfileprops.h"
#include "dialogs/tabprops.h"
#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

namespace {

QTreeWidget* MakeList(const QString& name, const QStringList& columns, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    if (columns.size() > 1) list->header()->resizeSection(0, 200);
    return list;
}

int SelectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

void SelectRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = row >= 0 ? list->topLevelItem(row) : nullptr;
    list->setCurrentItem(item);
    if (!item) list->clearSelection();
}

void SetRow(QTreeWidgetItem* item, const std::string& first, const std::string& second = {}) {
    item->setText(0, FromCp1252(first));
    if (item->treeWidget() && item->treeWidget()->columnCount() > 1) item->setText(1, FromCp1252(second));
}

}  // namespace

TfrmCntProps::TfrmCntProps(TDialogFactory& factory, QWidget* parent)
    : TCntDialog(factory.Ui(), QStringLiteral("frmCntProps"), QStringLiteral("Contents File Properties"),
                 kCntPropsHelpContext, parent),
      factory_(factory) {
    txtHelpFile = MakeEdit(QStringLiteral("txtHelpFile"));
    txtWindowTitle = MakeEdit(QStringLiteral("txtWindowTitle"));
    txtWindowName = MakeEdit(QStringLiteral("txtWindowName"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Help file"), txtHelpFile), 0, 0);
    grid_->addWidget(txtHelpFile, 0, 1);
    grid_->addWidget(MakeLabel(QStringLiteral("Window &title"), txtWindowTitle), 1, 0);
    grid_->addWidget(txtWindowTitle, 1, 1);
    grid_->addWidget(MakeLabel(QStringLiteral("Window &name"), txtWindowName), 2, 0);
    grid_->addWidget(txtWindowName, 2, 1);

    tbsExtras = new QTabWidget(this);
    tbsExtras->setObjectName(QStringLiteral("tbsExtras"));
    lvwIndexFiles = MakeList(QStringLiteral("lvwIndexFiles"),
                             {QStringLiteral("Help File Name"), QStringLiteral("Title")}, tbsExtras);
    lvwLinkFiles = MakeList(QStringLiteral("lvwLinkFiles"), {QStringLiteral("File names")}, tbsExtras);
    lvwTabs =
        MakeList(QStringLiteral("lvwTabs"), {QStringLiteral("Tab Name"), QStringLiteral("Dll File Name")}, tbsExtras);
    const auto buttons = [this](const QString& what, QPushButton*& add, QPushButton*& edit, QPushButton*& remove) {
        add = MakeButton(QStringLiteral("cmdAdd") + what, QStringLiteral("&Add..."));
        edit = MakeButton(QStringLiteral("cmdEdit") + what, QStringLiteral("&Edit..."));
        remove = MakeButton(QStringLiteral("cmdRemove") + what, QStringLiteral("&Remove"));
    };
    buttons(QStringLiteral("IndexFile"), cmdAddIndexFile, cmdEditIndexFile, cmdRemoveIndexFile);
    buttons(QStringLiteral("LinkFile"), cmdAddLinkFile, cmdEditLinkFile, cmdRemoveLinkFile);
    buttons(QStringLiteral("Tab"), cmdAddTab, cmdEditTab, cmdRemoveTab);
    tbsExtras->addTab(
        MakePage(QStringLiteral("tabIndexFiles"), lvwIndexFiles, cmdAddIndexFile, cmdEditIndexFile, cmdRemoveIndexFile),
        QStringLiteral("Index Files"));
    tbsExtras->addTab(
        MakePage(QStringLiteral("tabLinkFiles"), lvwLinkFiles, cmdAddLinkFile, cmdEditLinkFile, cmdRemoveLinkFile),
        QStringLiteral("Link Files"));
    tbsExtras->addTab(MakePage(QStringLiteral("tabTabs"), lvwTabs, cmdAddTab, cmdEditTab, cmdRemoveTab),
                      QStringLiteral("Tabs"));
    grid_->addWidget(tbsExtras, 3, 0, 1, 2);
    grid_->setRowMinimumHeight(3, 200);
    // The lists take the room the dialog gets, not the space above the buttons.
    grid_->setRowStretch(3, 1);
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->setStretch(0, 1);
        box->setStretch(1, 0);
    }

    const auto on = [this](QPushButton* b, void (TfrmCntProps::*f)()) {
        connect(b, &QPushButton::clicked, this, guarded(Ui(), [this, f] { (this->*f)(); }));
    };
    on(cmdAddIndexFile, &TfrmCntProps::AddIndexFile);
    on(cmdEditIndexFile, &TfrmCntProps::EditIndexFile);
    on(cmdRemoveIndexFile, &TfrmCntProps::RemoveIndexFile);
    on(cmdAddLinkFile, &TfrmCntProps::AddLinkFile);
    on(cmdEditLinkFile, &TfrmCntProps::EditLinkFile);
    on(cmdRemoveLinkFile, &TfrmCntProps::RemoveLinkFile);
    on(cmdAddTab, &TfrmCntProps::AddTab);
    on(cmdEditTab, &TfrmCntProps::EditTab);
    on(cmdRemoveTab, &TfrmCntProps::RemoveTab);
    const auto onDoubleClick = [this](QTreeWidget* list, void (TfrmCntProps::*f)()) {
        connect(list, &QTreeWidget::itemDoubleClicked, this, guarded(Ui(), [this, f] { (this->*f)(); }));
    };
    onDoubleClick(lvwIndexFiles, &TfrmCntProps::EditIndexFile);
    onDoubleClick(lvwLinkFiles, &TfrmCntProps::EditLinkFile);
    onDoubleClick(lvwTabs, &TfrmCntProps::EditTab);

    setTabOrder(txtHelpFile, txtWindowTitle);
    setTabOrder(txtWindowTitle, txtWindowName);
    setTabOrder(txtWindowName, tbsExtras);
    resize(480, 420);
    txtHelpFile->setFocus();
}

QWidget* TfrmCntProps::MakePage(const QString& name, QTreeWidget* list, QPushButton* add, QPushButton* edit,
                                QPushButton* remove) {
    auto* page = new QWidget(tbsExtras);
    page->setObjectName(name);
    auto* row = new QHBoxLayout(page);
    list->setParent(page);
    row->addWidget(list, 1);
    auto* column = new QVBoxLayout;
    for (QPushButton* b : {add, edit, remove}) {
        b->setParent(page);
        column->addWidget(b);
    }
    column->addStretch(1);
    row->addLayout(column);
    return page;
}

void TfrmCntProps::Preset(const TCntFile& file) {
    txtHelpFile->setText(FromCp1252(file.BaseFile));
    txtWindowTitle->setText(FromCp1252(file.Title));
    txtWindowName->setText(FromCp1252(file.BaseWindow));
    exDatas_.Assign(file.ExDatas);
    FillLists();
}

void TfrmCntProps::StoreInto(TCntFile& file) const {
    file.BaseFile = ToCp1252(txtHelpFile->text());
    file.Title = ToCp1252(txtWindowTitle->text());
    file.BaseWindow = ToCp1252(txtWindowName->text());
    file.ExDatas.Assign(exDatas_);
}

void TfrmCntProps::FillLists() {
    lvwIndexFiles->clear();
    for (const TIndexFile& x : exDatas_.IndexFiles) SetRow(new QTreeWidgetItem(lvwIndexFiles), x.HelpFile, x.Title);
    lvwLinkFiles->clear();
    for (const TLinkFile& l : exDatas_.LinkFiles) SetRow(new QTreeWidgetItem(lvwLinkFiles), l.HelpFile);
    lvwTabs->clear();
    for (const TTab& t : exDatas_.Tabs) SetRow(new QTreeWidgetItem(lvwTabs), t.TabName, t.DllName);
    Activate();
}

bool TfrmCntProps::checkFields() {
    return CheckField(txtHelpFile, QStringLiteral("&Help file"), TCntField::HelpFileName, txtHelpFile->text()) &&
           CheckField(txtWindowTitle, QStringLiteral("Window &title"), TCntField::Text, txtWindowTitle->text()) &&
           CheckField(txtWindowName, QStringLiteral("Window &name"), TCntField::Text, txtWindowName->text());
}

void TfrmCntProps::updateEnabling() {
    // Edit and Remove need rows; with no row selected they do nothing.
    for (auto [list, edit, remove] : {std::tuple{lvwIndexFiles, cmdEditIndexFile, cmdRemoveIndexFile},
                                      std::tuple{lvwLinkFiles, cmdEditLinkFile, cmdRemoveLinkFile},
                                      std::tuple{lvwTabs, cmdEditTab, cmdRemoveTab}}) {
        const bool rows = list->topLevelItemCount() > 0;
        edit->setEnabled(rows);
        remove->setEnabled(rows);
    }
}

void TfrmCntProps::RemoveRow(QTreeWidget* list, int row) {
    delete list->takeTopLevelItem(row);
    SelectRow(list, SelectAfterRemoval(row, list->topLevelItemCount()));
    Activate();
}

// --- index files

void TfrmCntProps::AddIndexFile() {
    TfrmIndexFileProps dialog(Ui(), this);
    if (!factory_.Run(dialog)) return;
    const TIndexFile x = dialog.Record();
    exDatas_.IndexFiles.push_back(x);
    auto* item = new QTreeWidgetItem(lvwIndexFiles);
    SetRow(item, x.HelpFile, x.Title);
    SelectRow(lvwIndexFiles, lvwIndexFiles->topLevelItemCount() - 1);
    Activate();
}

void TfrmCntProps::EditIndexFile() {
    const int row = SelectedRow(lvwIndexFiles);
    TIndexFile x;
    if (!exDatas_.GetIndexFile(row, x)) return;
    TfrmIndexFileProps dialog(Ui(), this);
    dialog.SetRecord(x);
    if (!factory_.Run(dialog)) return;
    x = dialog.Record();
    exDatas_.IndexFiles[static_cast<std::size_t>(row)] = x;
    SetRow(lvwIndexFiles->topLevelItem(row), x.HelpFile, x.Title);
}

void TfrmCntProps::RemoveIndexFile() {
    const int row = SelectedRow(lvwIndexFiles);
    if (row < 0 || row >= static_cast<int>(exDatas_.IndexFiles.size())) return;
    exDatas_.IndexFiles.erase(exDatas_.IndexFiles.begin() + row);
    RemoveRow(lvwIndexFiles, row);
}

// --- link files

void TfrmCntProps::AddLinkFile() {
    TfrmLinkFileProps dialog(Ui(), this);
    if (!factory_.Run(dialog)) return;
    const TLinkFile l = dialog.Record();
    exDatas_.LinkFiles.push_back(l);
    SetRow(new QTreeWidgetItem(lvwLinkFiles), l.HelpFile);
    SelectRow(lvwLinkFiles, lvwLinkFiles->topLevelItemCount() - 1);
    Activate();
}

void TfrmCntProps::EditLinkFile() {
    const int row = SelectedRow(lvwLinkFiles);
    TLinkFile l;
    if (!exDatas_.GetLinkFile(row, l)) return;
    TfrmLinkFileProps dialog(Ui(), this);
    dialog.SetRecord(l);
    if (!factory_.Run(dialog)) return;
    l = dialog.Record();
    exDatas_.LinkFiles[static_cast<std::size_t>(row)] = l;
    SetRow(lvwLinkFiles->topLevelItem(row), l.HelpFile);
}

void TfrmCntProps::RemoveLinkFile() {
    const int row = SelectedRow(lvwLinkFiles);
    if (row < 0 || row >= static_cast<int>(exDatas_.LinkFiles.size())) return;
    exDatas_.LinkFiles.erase(exDatas_.LinkFiles.begin() + row);
    RemoveRow(lvwLinkFiles, row);
}

// --- tabs

void TfrmCntProps::AddTab() {
    TfrmTabProps dialog(Ui(), this);
    if (!factory_.Run(dialog)) return;
    const TTab t = dialog.Record();
    exDatas_.Tabs.push_back(t);
    SetRow(new QTreeWidgetItem(lvwTabs), t.TabName, t.DllName);
    SelectRow(lvwTabs, lvwTabs->topLevelItemCount() - 1);
    Activate();
}

void TfrmCntProps::EditTab() {
    const int row = SelectedRow(lvwTabs);
    TTab t;
    if (!exDatas_.GetTab(row, t)) return;
    TfrmTabProps dialog(Ui(), this);
    dialog.SetRecord(t);
    if (!factory_.Run(dialog)) return;
    t = dialog.Record();
    exDatas_.Tabs[static_cast<std::size_t>(row)] = t;
    SetRow(lvwTabs->topLevelItem(row), t.TabName, t.DllName);
}

void TfrmCntProps::RemoveTab() {
    const int row = SelectedRow(lvwTabs);
    if (row < 0 || row >= static_cast<int>(exDatas_.Tabs.size())) return;
    exDatas_.Tabs.erase(exDatas_.Tabs.begin() + row);
    RemoveRow(lvwTabs, row);
}

}  // namespace qm
