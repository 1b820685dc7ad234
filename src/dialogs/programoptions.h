#pragma once
// Options: the program settings, the user tools and the personal spelling
// dictionaries. OK checks the font size first and then copies every control
// into the options and saves them with the tools, all or nothing; Cancel
// leaves the options as they were (tools and dictionary files, changed
// directly, stay changed). Made and run by TDialogFactory::RunOptions.
#include <QFont>
#include <QIcon>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "model/options.h"
#include "model/usertools.h"
#include "util/qorstring.h"
#include "widgets/qmdialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace qm {

class SettingsStore;
class TColorCombo;

inline constexpr const char* kMsgInvalidFontSize = "Invalid font size.";

// The page of the build's checks and its column that makes a check a warning.
inline constexpr const char* kPreprocessorPageCaption = "Preprocessor";
inline constexpr const char* kWarningColumnCaption = "Warning";
// The caption of check n (1..9) on that page, with its "&"; "" for others.
const char* BuildCheckCaption(int n);
inline constexpr const char* kMsgInvalidDictionaryName = "Invalid dictionary name.";

// What the options dialog works on and what it reports back.
struct TOptionsRun {
    TOptions* Options = nullptr;        // written by OK
    TUserTools* Tools = nullptr;        // changed directly by the Tools page
    SettingsStore* Settings = nullptr;  // OK saves the options and the tools here
    QStringList FontNames;              // the main window's font boxes
    QStringList FontSizes;
    StringList MainDictionaries;      // names without ".qdf"
    StringList PersonalDictionaries;  // names without ".dic"
    std::string PersonalFolder;       // where the ".dic" files live
    // The icon of a tool's program; empty: none.
    std::function<QIcon(const TTool&)> ToolIcon;
    // The tool properties dialog, preset with a tool (empty for a new one);
    // the tool when confirmed. Empty: Add and Edit are unavailable.
    std::function<std::optional<TTool>(const TTool&, QWidget* owner)> EditTool;

    // Results, whatever button closed the dialog.
    bool Accepted = false;
    bool MruCleared = false;
    bool UserDictionaryEdited = false;
    std::string MainDictionary;      // the selected entry, trimmed
    std::string PersonalDictionary;  // the box's text, trimmed, case kept
};

// A text drawn centred in a font and colour: the previews.
class TPreview : public QWidget {
    Q_OBJECT
public:
    TPreview(const char* name, QWidget* parent);
    void Show(const QString& text, const QFont& font, const QColor& color);
    const QString& Text() const { return text_; }
    const QFont& TextFont() const { return font_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QFont font_;
    QColor color_;
};

// The words of one personal dictionary, one a line; OK saves the file
// atomically.
class TfrmDicEdit : public QmDialog {
    Q_OBJECT
public:
    // Loads `file` when it exists.
    TfrmDicEdit(UiServices& ui, const std::string& name, std::string file, QWidget* parent = nullptr);
    QPlainTextEdit* txtWords = nullptr;

protected:
    void store() override;

private:
    std::string file_;
};

class TfrmOptions : public QmDialog {
    Q_OBJECT
public:
    TfrmOptions(UiServices& ui, TOptionsRun& run, QWidget* parent = nullptr);

    // The buttons, as the user clicks them.
    void BrowseCompilerClick();
    void AddToolClick();
    void EditToolClick();
    void RemoveToolClick();
    void ClearMruClick();
    void DicNewClick();
    void DicModifyClick();
    void DicRemoveClick();
    // Copies the dictionary choices and the outcome into the run; the
    // factory calls it after the dialog closed, by whatever means.
    void TakeResults();
    // What a build finds in the folder of txtCompilerPath.
    QString CompilerState() const;

    QTabWidget* tbsOptions = nullptr;
    QWidget* tsGeneral = nullptr;
    QWidget* tsDevState = nullptr;
    QWidget* tsAutoCompletion = nullptr;
    QWidget* tsToos = nullptr;
    QWidget* tsPreprocessor = nullptr;
    QWidget* tsEditor = nullptr;
    QWidget* tsEnv = nullptr;
    QWidget* tsSpelling = nullptr;
    QLineEdit* txtCompilerPath = nullptr;
    QPushButton* cmdBrowseCompiler = nullptr;
    QLabel* lblCompilerState = nullptr;
    QRadioButton* optacDoNothing = nullptr;
    QRadioButton* optacViewCnt = nullptr;
    QRadioButton* optacViewCurTopic = nullptr;
    QCheckBox* chkSaveCompile = nullptr;
    QRadioButton* optstMakeNew = nullptr;
    QRadioButton* optstOpenLast = nullptr;
    std::array<QCheckBox*, 4> chkEdit{};  // bold, italic, underline, strikeout
    std::array<QCheckBox*, 4> chkDone{};
    TColorCombo* cboEditColor = nullptr;
    TColorCombo* cboDoneColor = nullptr;
    TPreview* pbEditing = nullptr;
    TPreview* pbDone = nullptr;
    QCheckBox* chkAutoAddQuotes = nullptr;
    QCheckBox* chkAutoAddBrackets = nullptr;
    QCheckBox* chkEnableTagInsight = nullptr;
    QCheckBox* chkPopTopics = nullptr;
    QCheckBox* chkPopPopups = nullptr;
    QCheckBox* chkPopMacros = nullptr;
    QCheckBox* chkPopWindows = nullptr;
    QCheckBox* chkPopTags = nullptr;
    QTreeWidget* lstTools = nullptr;
    QPushButton* cmdAddTool = nullptr;
    QPushButton* cmdRemoveTool = nullptr;
    QPushButton* cmdEditTool = nullptr;
    std::array<QCheckBox*, kBuildCheckCount> chkError{};
    std::array<QRadioButton*, kBuildCheckCount> optErrW{};
    std::array<QRadioButton*, kBuildCheckCount> optErrE{};
    QComboBox* cboFontFace = nullptr;
    QComboBox* cboFontSize = nullptr;
    TPreview* pbEditFont = nullptr;
    QSpinBox* udIdIncrement = nullptr;
    QCheckBox* chkPromptTopic = nullptr;
    QPushButton* cmdClearMRU = nullptr;
    QCheckBox* chkTagsDlg = nullptr;
    QCheckBox* chkDblClickFollowLink = nullptr;
    QCheckBox* chkUpdateRename = nullptr;
    QSpinBox* udHistStack = nullptr;
    QCheckBox* chkHotCursor = nullptr;
    QComboBox* cboDictionaries = nullptr;
    QComboBox* cboPersonalDics = nullptr;
    QPushButton* cmdDicNew = nullptr;
    QPushButton* cmdDicModify = nullptr;
    QPushButton* cmdDicRemove = nullptr;
    QCheckBox* chkSpellStartBeginning = nullptr;
    QCheckBox* chkSpellEnsureVisible = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;
    int helpContext() const override;

private:
    void BuildGeneral();
    void BuildTopicState();
    void BuildAutoCompletion();
    void BuildTools();
    void BuildPreprocessor();
    void BuildEditor();
    void BuildEnvironment();
    void BuildSpelling();
    void Load();
    void FillTools();
    void UpdatePreviews();
    // The font size typed, when it is a whole number the editor takes.
    std::optional<int> FontSize() const;
    // The trimmed name of the personal dictionary box; empty after showing
    // the refusal when it is no name.
    std::string CheckedDictionaryName(const QString& text);
    std::string DictionaryFile(const std::string& name) const;
    void EditDictionary(const std::string& name);

    TOptionsRun& run_;
};

}  // namespace qm
