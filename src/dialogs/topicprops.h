#pragma once
// Topic Properties: name, title, context ID, browse string, build tag,
// window and state of one topic, with its keywords, A-keywords and entry
// macros on three list pages. The dialog edits the node it is given, and
// only when OK passes every check (StoreTopic); Cancel leaves the node as it
// was. Made, loaded and run by TDialogFactory::RunTopicProps.
#include <QString>

#include "widgets/qmdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qm {

class ListEditor;
class TDialogFactory;
class TMacros;
class TProject;
struct TTopicNode;

// The help contexts of the four pages, in page order.
inline constexpr int kTopicPropsHelpContexts[] = {90, 95, 100, 105};

class TfrmTopicProps : public QmDialog {
    Q_OBJECT
public:
    // Lists the windows of `project`, which gives the name and ID checks
    // their other modules; `macros` serves the macro builder. Both are read,
    // never changed.
    TfrmTopicProps(TDialogFactory& factory, const TProject& project, const TMacros& macros, QWidget* parent = nullptr);

    // Keeps `node` and fills every control from it. Call once, before the run.
    void LoadTopic(TTopicNode& node);
    // Writes the controls into the kept node; OK calls it once every check passed.
    void StoreTopic();

    QTabWidget* tbsProperties = nullptr;
    QWidget* tsGeneral = nullptr;
    QWidget* tsKeywords = nullptr;
    QWidget* tsAKey = nullptr;
    QWidget* tsMacros = nullptr;

    QLineEdit* txtTopicName = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtContext = nullptr;
    QLineEdit* txtBuildTag = nullptr;
    QLineEdit* txtBrowse = nullptr;
    QComboBox* cboWindows = nullptr;
    QComboBox* cboState = nullptr;
    QLabel* lblContents = nullptr;
    QLabel* imgKey = nullptr;

    QLineEdit* txtKeyword = nullptr;
    QListWidget* lstKeywords = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdClear = nullptr;

    QLineEdit* txtAKey = nullptr;
    QListWidget* lstAKey = nullptr;
    QPushButton* cmdAddAkey = nullptr;
    QPushButton* cmdRemoveAKey = nullptr;
    QPushButton* cmdClearAKey = nullptr;

    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdMacroEdit = nullptr;
    QListWidget* lstMacros = nullptr;
    QPushButton* cmdAddMacro = nullptr;
    QPushButton* cmdRemoveMacro = nullptr;
    QPushButton* cmdClearMacros = nullptr;

protected:
    bool validate() override;
    void store() override { StoreTopic(); }
    void updateEnabling() override;
    int helpContext() const override;
    void showEvent(QShowEvent* event) override;

private:
    // One list page: its edit, list and buttons.
    struct ListPage {
        QLineEdit* edit = nullptr;
        QListWidget* list = nullptr;
        QPushButton* add = nullptr;
        QPushButton* remove = nullptr;
        QPushButton* clear = nullptr;
        ListEditor* editor = nullptr;
        // The refusal of a duplicate; null: any text is added.
        const char* duplicate = nullptr;
    };
    QWidget* MakeGeneralPage();
    QWidget* MakeListPage(const QString& intro, ListPage& page, QPushButton* browse);
    void AddClick(ListPage& page);
    void RemoveClick(ListPage& page);
    void ClearClick(ListPage& page);
    void MacroEditClick();
    void PageChange(int index);

    TDialogFactory& factory_;
    const TProject& project_;
    const TMacros& macros_;
    TTopicNode* node_ = nullptr;
    ListPage keywords_;
    ListPage akeys_;
    ListPage macroList_;
};

}  // namespace qm
