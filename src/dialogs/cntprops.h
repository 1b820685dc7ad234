#pragma once
// The properties of a contents file: its base help file, window title and
// window name, and its three side lists (index files, link files, tabs). The
// dialog edits its own copy of the lists, so Cancel changes nothing.
#include "dialogs/cntdialog.h"

class QTabWidget;
class QTreeWidget;

namespace qm {

inline constexpr int kCntPropsHelpContext = 35;

class TfrmCntProps : public TCntDialog {
    Q_OBJECT
public:
    // `factory` runs the record dialogs.
    explicit TfrmCntProps(TDialogFactory& factory, QWidget* parent = nullptr);

    // The three edits from the file's BaseFile, Title and BaseWindow, and a
    // copy of its side lists, shown in the lists.
    void Preset(const TCntFile& file);
    // Back into `file` (after OK): the three edits as typed and a copy of
    // the lists.
    void StoreInto(TCntFile& file) const;
    // The dialog's own copy of the side lists; row i of each list shows
    // record i of its list.
    const TCntExDatas& ExDatas() const { return exDatas_; }

    // Rows from ExDatas(): index files as help file and title, link files as
    // help file, tabs as name and DLL.
    void FillLists();

    // The Add, Edit and Remove of each page.
    void AddIndexFile();
    void EditIndexFile();
    void RemoveIndexFile();
    void AddLinkFile();
    void EditLinkFile();
    void RemoveLinkFile();
    void AddTab();
    void EditTab();
    void RemoveTab();

    QLineEdit* txtHelpFile = nullptr;
    QLineEdit* txtWindowTitle = nullptr;
    QLineEdit* txtWindowName = nullptr;
    QTabWidget* tbsExtras = nullptr;
    QTreeWidget* lvwIndexFiles = nullptr;
    QTreeWidget* lvwLinkFiles = nullptr;
    QTreeWidget* lvwTabs = nullptr;
    QPushButton* cmdAddIndexFile = nullptr;
    QPushButton* cmdEditIndexFile = nullptr;
    QPushButton* cmdRemoveIndexFile = nullptr;
    QPushButton* cmdAddLinkFile = nullptr;
    QPushButton* cmdEditLinkFile = nullptr;
    QPushButton* cmdRemoveLinkFile = nullptr;
    QPushButton* cmdAddTab = nullptr;
    QPushButton* cmdEditTab = nullptr;
    QPushButton* cmdRemoveTab = nullptr;

protected:
    bool checkFields() override;
    void updateEnabling() override;

private:
    // A page of the side lists: the list and its three buttons.
    QWidget* MakePage(const QString& name, QTreeWidget* list, QPushButton* add, QPushButton* edit, QPushButton* remove);
    // Removes row `row` of `list` and selects the row after it (or the last).
    void RemoveRow(QTreeWidget* list, int row);

    TDialogFactory& factory_;
    TCntExDatas exDatas_;
};

}  // namespace qm
