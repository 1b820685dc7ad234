// The contents file's properties: its own copy of the side lists (so Cancel
// changes nothing), the lists and their buttons, the record dialogs and
// their browse buttons.
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include "cnt_fixture.h"
#include "dialogs/cntprops.h"
#include "dialogs/indexfileprops.h"
#include "dialogs/linkfileprops.h"
#include "dialogs/tabprops.h"

namespace qmtest {
namespace {

using namespace qm;

QStringList Rows(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c) cells << item->text(c);
        out << cells.join('|');
    }
    return out;
}

int Selected(const QTreeWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->indexOfTopLevelItem(items.front());
}

QStringList Headers(const QTreeWidget* list) {
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c) out << list->headerItem()->text(c);
    return out;
}

class CntPropsTest : public CntTest {
protected:
    // The file of the editor tests: every header field and list filled.
    static constexpr const char* kText =
        ":Title Help\r\n:Base help.hlp>main\r\n:Link one.hlp;first\r\n:Link two.hlp\r\n"
        ":Index Reference=ref.hlp;the reference\r\n:Index Glossary=gloss.hlp\r\n:Tab Search=search.dll\r\n"
        "1 Book\r\n";
};

TEST_F(CntPropsTest, PresetShowsTheFileAndItsListsInColumns) {
    TCntFile file;
    file.ParseText(kText);
    TfrmCntProps d(factory);
    d.Preset(file);
    d.Activate();
    EXPECT_EQ(d.txtHelpFile->text(), "help.hlp");
    EXPECT_EQ(d.txtWindowTitle->text(), "Help");
    EXPECT_EQ(d.txtWindowName->text(), "main");
    EXPECT_EQ(Headers(d.lvwIndexFiles), QStringList({"Help File Name", "Title"}));
    EXPECT_EQ(Headers(d.lvwLinkFiles), QStringList({"File names"}));
    EXPECT_EQ(Headers(d.lvwTabs), QStringList({"Tab Name", "Dll File Name"}));
    EXPECT_EQ(Rows(d.lvwIndexFiles), QStringList({"ref.hlp|Reference", "gloss.hlp|Glossary"}));
    EXPECT_EQ(Rows(d.lvwLinkFiles), QStringList({"one.hlp", "two.hlp"}));
    EXPECT_EQ(Rows(d.lvwTabs), QStringList({"Search|search.dll"}));
    EXPECT_EQ(QStringList({d.tbsExtras->tabText(0), d.tbsExtras->tabText(1), d.tbsExtras->tabText(2)}),
              QStringList({"Index Files", "Link Files", "Tabs"}));
    for (QTreeWidget* list : {d.lvwIndexFiles, d.lvwLinkFiles, d.lvwTabs}) {
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_FALSE(list->rootIsDecorated());
    }
}

TEST_F(CntPropsTest, CancelAfterAddEditAndRemoveLeavesTheFileUntouched) {
    auto editor = EditorWith(kText);
    const std::string before = editor->ContentsFile().ToText();
    const auto edits = [this](QDialog& dialog) {
        auto& d = static_cast<TfrmCntProps&>(dialog);
        d.txtHelpFile->setText("changed.hlp");
        d.txtWindowTitle->setText("Changed");
        ui.ExpectDialog("frmIndexFileProps", [](QDialog& r) {
            r.findChild<QLineEdit*>("txtTitle")->setText("Added");
            r.findChild<QLineEdit*>("txtHelpFileName")->setText("added.hlp");
            return Ok(r);
        });
        d.cmdAddIndexFile->click();
        d.lvwLinkFiles->setCurrentItem(d.lvwLinkFiles->topLevelItem(0));
        ui.ExpectDialog("frmLinkFileProps", [](QDialog& r) {
            EXPECT_EQ(r.findChild<QLineEdit*>("txtHelpFileName")->text(), "one.hlp");
            EXPECT_EQ(r.findChild<QLineEdit*>("txtComment")->text(), "first");
            r.findChild<QLineEdit*>("txtHelpFileName")->setText("edited.hlp");
            return Ok(r);
        });
        d.cmdEditLinkFile->click();
        d.lvwTabs->setCurrentItem(d.lvwTabs->topLevelItem(0));
        d.cmdRemoveTab->click();
        EXPECT_EQ(Rows(d.lvwIndexFiles).size(), 3);
        EXPECT_EQ(Rows(d.lvwLinkFiles).front(), "edited.hlp");
        EXPECT_TRUE(Rows(d.lvwTabs).isEmpty());
    };
    ui.ExpectDialog("frmCntProps", [&](QDialog& d) {
        edits(d);
        d.reject();
        return d.result();
    });
    editor->actFileProps->trigger();
    EXPECT_EQ(editor->ContentsFile().ToText(), before);
    EXPECT_FALSE(editor->ContentsFile().Modified);

    // The same with OK: everything arrives, and the file is modified.
    ui.ExpectDialog("frmCntProps", [&](QDialog& d) {
        edits(d);
        return Ok(d);
    });
    editor->actFileProps->trigger();
    const TCntFile& file = editor->ContentsFile();
    EXPECT_TRUE(file.Modified);
    EXPECT_EQ(file.BaseFile, "changed.hlp");
    EXPECT_EQ(file.Title, "Changed");
    EXPECT_EQ(file.BaseWindow, "main");
    ASSERT_EQ(file.ExDatas.IndexFiles.size(), 3u);
    EXPECT_EQ(file.ExDatas.IndexFiles[2].Title, "Added");
    EXPECT_EQ(file.ExDatas.LinkFiles[0].HelpFile, "edited.hlp");
    EXPECT_EQ(file.ExDatas.LinkFiles[0].Comment, "first");
    EXPECT_TRUE(file.ExDatas.Tabs.empty());
}

TEST_F(CntPropsTest, RemoveSelectsTheNextRowElseTheLast) {
    TCntFile file;
    file.ExDatas.LinkFiles = {{"a.hlp", ""}, {"b.hlp", ""}, {"c.hlp", ""}};
    TfrmCntProps d(factory);
    d.Preset(file);
    struct Step {
        int select;
        QStringList rows;
        int selected;
        bool buttons;
    } steps[] = {
        {1, {"a.hlp", "c.hlp"}, 1, true},
        {1, {"a.hlp"}, 0, true},
        {0, {}, -1, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.rows.join(",").toStdString());
        d.lvwLinkFiles->setCurrentItem(d.lvwLinkFiles->topLevelItem(step.select));
        d.cmdRemoveLinkFile->click();
        EXPECT_EQ(Rows(d.lvwLinkFiles), step.rows);
        EXPECT_EQ(Selected(d.lvwLinkFiles), step.selected);
        EXPECT_EQ(static_cast<int>(d.ExDatas().LinkFiles.size()), step.rows.size());
        EXPECT_EQ(d.cmdEditLinkFile->isEnabled(), step.buttons);
        EXPECT_EQ(d.cmdRemoveLinkFile->isEnabled(), step.buttons);
    }
}

TEST_F(CntPropsTest, WithRowsButNoSelectionEditAndRemoveDoNothing) {
    TCntFile file;
    file.ParseText(kText);
    TfrmCntProps d(factory);
    d.Preset(file);
    d.Activate();
    for (QTreeWidget* list : {d.lvwIndexFiles, d.lvwLinkFiles, d.lvwTabs}) list->clearSelection();
    for (QPushButton* b : {d.cmdEditIndexFile, d.cmdRemoveIndexFile, d.cmdEditLinkFile, d.cmdRemoveLinkFile,
                           d.cmdEditTab, d.cmdRemoveTab}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_TRUE(b->isEnabled());
        b->click();  // no dialog is scripted: one would fail the test
    }
    EXPECT_EQ(d.ExDatas().IndexFiles.size(), 2u);
    EXPECT_EQ(d.ExDatas().LinkFiles.size(), 2u);
    EXPECT_EQ(d.ExDatas().Tabs.size(), 1u);
}

TEST_F(CntPropsTest, ADoubleClickEditsTheRow) {
    TCntFile file;
    file.ParseText(kText);
    TfrmCntProps d(factory);
    d.Preset(file);
    d.lvwTabs->setCurrentItem(d.lvwTabs->topLevelItem(0));
    ui.ExpectDialog("frmTabProps", [](QDialog& r) {
        EXPECT_EQ(r.findChild<QLineEdit*>("txtTabName")->text(), "Search");
        r.findChild<QLineEdit*>("txtDllFileName")->setText("find.dll");
        return Ok(r);
    });
    emit d.lvwTabs->itemDoubleClicked(d.lvwTabs->topLevelItem(0), 0);
    EXPECT_EQ(Rows(d.lvwTabs), QStringList({"Search|find.dll"}));
    EXPECT_EQ(d.ExDatas().Tabs[0].DllName, "find.dll");
}

TEST_F(CntPropsTest, BrowseStoresTheFullPathAndTypedNamesStayAsTyped) {
    struct Row {
        QString form;
        const char* edit;
        QString title;
        QString filter;
    } rows[] = {
        {"frmIndexFileProps", "txtHelpFileName", "Index File", "Help files (*.hlp)"},
        {"frmLinkFileProps", "txtHelpFileName", "Link File", "Help files (*.hlp)"},
        {"frmTabProps", "txtDllFileName", "Dll File", "Dynamic linked libraries (*.dll)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.toStdString());
        std::unique_ptr<TCntDialog> d;
        if (row.form == "frmIndexFileProps") d = std::make_unique<TfrmIndexFileProps>(ui);
        if (row.form == "frmLinkFileProps") d = std::make_unique<TfrmLinkFileProps>(ui);
        if (row.form == "frmTabProps") d = std::make_unique<TfrmTabProps>(ui);
        auto* edit = d->findChild<QLineEdit*>(row.edit);
        edit->setText(" typed.name ");
        ui.ExpectOpenFile(QStringLiteral("/help/files/chosen.x"));
        d->findChild<QPushButton*>("cmdBrowse")->click();
        EXPECT_EQ(edit->text(), "/help/files/chosen.x");
        const FileDialogRequest& request = ui.fileRequests.back();
        EXPECT_EQ(request.caption, row.title);
        EXPECT_EQ(request.filter, row.filter);
        EXPECT_EQ(request.fileName, " typed.name ");
        edit->setText(" typed.name ");
        for (QLineEdit* e : d->findChildren<QLineEdit*>())
            if (e->text().isEmpty()) e->setText(" x ");
        Ok(*d);
        ASSERT_TRUE(d->Accepted());
    }
    TfrmTabProps tab(ui);
    tab.txtTabName->setText(" Search ");
    tab.txtDllFileName->setText(" s.dll ");
    Ok(tab);
    EXPECT_EQ(tab.Record().TabName, " Search ");
    EXPECT_EQ(tab.Record().DllName, " s.dll ");
}

}  // namespace
}  // namespace qmtest
