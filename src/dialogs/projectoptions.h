#pragma once
// Help Project Settings: the project-wide settings the help build and the
// context-ID export read. Reads the project when made; OK alone writes it.
// Made and run by TDialogFactory::RunProjectOptions.
#include "util/qorstring.h"
#include "widgets/qmdialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
class QWidget;

namespace qm {

class TDialogFactory;
class TMacros;
class TProject;

inline constexpr const char* kMsgInvalidContentsTopic = "Invalid contents topic.";
inline constexpr const char* kMsgDefineWindowFirst = "Define a help window first (Windows Editor).";

class TfrmProjectOptions : public QmDialog {
    Q_OBJECT
public:
    // `project` is read now and written by OK; `macros` serves the macro
    // builder; `factory` makes the nested dialogs.
    TfrmProjectOptions(TDialogFactory& factory, TProject& project, const TMacros& macros, QWidget* parent = nullptr);

    // The page buttons, as the user clicks them.
    void AddBmpPathClick();
    void RemoveBmpPathClick();
    void AddMacroClick();
    void RemoveMacroClick();
    void ClearMacrosClick();
    void MacroEditClick();
    void IncAddClick() { AddTag(lstBuildInclude); }
    void ExcAddClick() { AddTag(lstBuildExclude); }
    void IncRemoveClick() { RemoveTag(lstBuildInclude); }
    void ExcRemoveClick() { RemoveTag(lstBuildExclude); }

    QTabWidget* tbsOptions = nullptr;
    QWidget* tsGeneral = nullptr;
    QWidget* tsFiles = nullptr;
    QWidget* tsCompression = nullptr;
    QWidget* tsConfig = nullptr;
    QWidget* tsBuild = nullptr;
    QWidget* tsIncludes = nullptr;
    QLineEdit* txtHelpTitle = nullptr;
    QComboBox* cboTopics = nullptr;
    QLineEdit* txtCopyright = nullptr;
    QLineEdit* txtCitation = nullptr;
    QLineEdit* txtHelpFilename = nullptr;
    QLineEdit* txtCnt = nullptr;
    QListWidget* lstBmp = nullptr;
    QPushButton* cmdAddBmpPath = nullptr;
    QPushButton* cmdRemoveBmpPath = nullptr;
    QRadioButton* optNoCompress = nullptr;
    QRadioButton* optMaxCompress = nullptr;
    QRadioButton* optCustCompress = nullptr;
    QCheckBox* chkHall = nullptr;
    QCheckBox* chkZeck = nullptr;
    QCheckBox* chkPhrase = nullptr;
    QCheckBox* chkUsePHI = nullptr;
    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdMacroEdit = nullptr;
    QPushButton* cmdAddMacro = nullptr;
    QListWidget* lstMacros = nullptr;
    QPushButton* cmdRemoveMacro = nullptr;
    QPushButton* cmdClearMacros = nullptr;
    QListWidget* lstBuildInclude = nullptr;
    QPushButton* cmdIncAdd = nullptr;
    QPushButton* cmdIncRemove = nullptr;
    QListWidget* lstBuildExclude = nullptr;
    QPushButton* cmdExcAdd = nullptr;
    QPushButton* cmdExcRemove = nullptr;
    QCheckBox* chkMakeCppInclude = nullptr;
    QCheckBox* chkMakeVbInclude = nullptr;
    QCheckBox* chkMakeDelphiInclude = nullptr;
    QLabel* lblIdPrefix = nullptr;
    QLineEdit* txtIdPrefix = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;
    int helpContext() const override;

private:
    void BuildPages();
    void Load();
    void CompressionChosen();
    void HallClicked();
    void PhraseClicked();
    void PrefixRule();
    void PageChanged(int index);
    void AddTag(QListWidget* list);
    void RemoveTag(QListWidget* list);

    TDialogFactory& factory_;
    TProject& project_;
    const TMacros& macros_;
    StringList knownTags_;
    // False for a project without a window: the start-up macros have no place.
    bool hasWindow_ = false;
};

}  // namespace qm
