#pragma once
// The spelling dialog: modeless, on top of the main window, with no OK. The
// scan puts a word to it (Ask) and waits in a nested event loop that the
// dialog's buttons and its close end, so the program stays responsive while
// the user decides. TSpellDialogUi makes the dialog on the first question of
// a check and frees it when the check is finished.
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string_view>

#include "spell/spelltarget.h"

class QEventLoop;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qm {

class UiServices;

inline constexpr const char* kMsgSpellCheckCompleted = "Spell check completed.";
inline constexpr int kHelpContextSpelling = 465;

class TQorSpellCheckDlg : public QDialog {
    Q_OBJECT
public:
    TQorSpellCheckDlg(UiServices& ui, QWidget* owner);
    ~TQorSpellCheckDlg() override;

    // Shows the word with its suggestions (the dialog first, when hidden),
    // moves it off the word when asked to, and waits for an answer. A wait
    // that ends without one (the program quits, the time limit) is Cancel.
    TSpellAnswer Ask(const TSpellQuestion& question);
    bool Waiting() const { return waiting_; }
    // Ends a wait with Cancel, as the Cancel button does.
    void CancelWait();

    // The action code of the last answer (0 while none).
    int SpellAction() const { return static_cast<int>(action_); }
    // The control pressed last since the dialog was shown; null when none.
    QWidget* LastPressed() const { return lastPressed_; }
    // For tests: a wait longer than `ms` milliseconds answers Cancel (0: none).
    void SetWaitLimit(int ms) { waitLimit_ = ms; }

    QLineEdit* txtMisspelled = nullptr;
    QLineEdit* txtSuggestions = nullptr;
    QListWidget* lstSuggestions = nullptr;
    QPushButton* cmdIgnore = nullptr;
    QPushButton* cmdIgnoreAll = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdChangeAll = nullptr;
    QPushButton* cmdChange = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

signals:
    // The dialog shows a word and starts to wait for the answer.
    void waitStarted();

public slots:
    // Cancel, Escape and the frame's close box: the answer Cancel.
    void reject() override;

private:
    void answer(TSpellAction action, QWidget* pressed, bool focusIgnore);
    void place(const TSpellBox& word);

    UiServices& ui_;
    TSpellAction action_ = TSpellAction::None;
    QPointer<QWidget> lastPressed_;
    QEventLoop* loop_ = nullptr;
    bool waiting_ = false;
    int waitLimit_ = 0;
};

// The dialog behind the engine's user interface, made with `owner` as parent
// on the first question of a check and freed by Finish.
class TSpellDialogUi : public QObject, public TSpellUi {
    Q_OBJECT
public:
    TSpellDialogUi(UiServices& ui, QWidget* owner);
    ~TSpellDialogUi() override;

    void SetCaption(std::string_view caption) override;
    TSpellAnswer Ask(const TSpellQuestion& question) override;
    // Closes and frees the dialog, puts the mouse below the screen's centre
    // and says "Spell check completed.".
    void Finish() override;
    // Closes and frees the dialog without a word (a check that failed).
    void Discard();

    TQorSpellCheckDlg* Dialog() const { return dialog_; }
    bool Waiting() const { return dialog_ && dialog_->Waiting(); }
    void CancelWait();
    // For tests: passed to each dialog made (see TQorSpellCheckDlg::SetWaitLimit).
    int WaitLimit = 0;

signals:
    // The dialog starts to wait for an answer, and stops.
    void waitStarted(qm::TQorSpellCheckDlg* dialog);
    void waitEnded();

private:
    UiServices& ui_;
    QPointer<QWidget> owner_;
    QPointer<TQorSpellCheckDlg> dialog_;
    QString caption_;
};

}  // namespace qm
