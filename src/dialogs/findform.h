#pragma once
// The modeless find form and the base it shares with the replace form. The
// forms only collect a search text, option bits and a scope, keep the texts'
// histories and raise their events; the main window searches. The window
// makes each form once, hidden; Cancel and the close box hide it again, and
// its texts, histories, options and scope stay for the next time.
#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QGridLayout;

namespace qm {

class UiServices;

// The option bits of the forms; exactly one of Up, Down and All is set.
inline constexpr int kOptMatchCase = 1;
inline constexpr int kOptWholeWords = 2;
inline constexpr int kOptUp = 4;
inline constexpr int kOptDown = 8;
inline constexpr int kOptAll = 16;  // from the caret down, then once from the top

// The scopes of the forms; any value other than 1, 2 and 3 is the project.
inline constexpr int kScopeProject = 0;  // topics and popups
inline constexpr int kScopeCurrentText = 1;
inline constexpr int kScopeTopics = 2;
inline constexpr int kScopePopups = 3;

inline constexpr int kHelpFind = 80;
inline constexpr int kHelpReplace = 85;

class TSearchForm : public QDialog {
    Q_OBJECT
public:
    int Options() const { return options_; }
    void SetOptions(int options) { options_ = options; }
    int Scope() const { return scope_; }
    void SetScope(int scope) { scope_ = scope; }

    QString GetFindText() const;
    // Puts a text that is not empty and not yet in the history at its top,
    // then shows it in cboFind.
    void SetFindText(const QString& text);
    // Exact, case-sensitive comparison with each history entry.
    bool IsInFindHistory(const QString& text) const;

    QLabel* lblFind = nullptr;
    QComboBox* cboFind = nullptr;
    QLabel* lblDirection = nullptr;
    QComboBox* cboDirection = nullptr;
    QCheckBox* chkMatchCase = nullptr;
    QCheckBox* chkWholeWords = nullptr;
    QGroupBox* grpScope = nullptr;
    QRadioButton* optCurText = nullptr;
    QRadioButton* optTopics = nullptr;
    QRadioButton* optPopups = nullptr;
    QRadioButton* optProject = nullptr;
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

signals:
    // Find Next: the main window runs the search with the form's state.
    void OnFind();

protected:
    TSearchForm(UiServices& ui, const QString& name, const QString& caption, int helpContext, QWidget* owner);

    // The "on activation" steps: the controls show the options and scope.
    void showEvent(QShowEvent* event) override;
    // The controls show the options and the scope, as at activation.
    void ShowState();
    // The enabling of the command buttons; the replace form adds its own.
    virtual void UpdateButtons();
    // Puts a text that is not empty and not yet in `box`'s list at its top.
    static void AddToHistory(QComboBox* box, const QString& text);
    static bool InHistory(const QComboBox* box, const QString& text);

    // Where the replace form adds its row and buttons.
    QGridLayout* fields_ = nullptr;
    QVBoxLayout* buttons_ = nullptr;

private:
    void DirectionChanged(int index);
    void ScopeChosen(int scope);
    void FindClicked();

    UiServices& ui_;
    int options_ = kOptAll;
    int scope_ = kScopeCurrentText;
    bool placed_ = false;
};

class TfrmFind : public TSearchForm {
    Q_OBJECT
public:
    TfrmFind(UiServices& ui, QWidget* owner);
    bool IsInHistory(const QString& text) const { return IsInFindHistory(text); }
};

}  // namespace qm
