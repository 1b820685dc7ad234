#pragma once
// The one base of the program's modal dialogs that have an OK button.
//
// A dialog is made for one use: the caller creates it, presets it, runs it
// through UiServices::RunDialog (never exec(), so tests answer the real
// dialog), reads it back only when Accepted() is true, and frees it.
//
// OK runs validate(): the checks in their order; the first that fails calls
// Refuse(text), which shows one information box, and the dialog stays open
// with nothing stored. When every check passes, store() copies the controls
// into the dialog's result, Accepted() becomes true and the dialog closes.
// Cancel, Escape and the frame's close box leave Accepted() false.
//
// updateEnabling() applies the enabling rules; it runs when the dialog is
// activated (shown, or Activate() before a scripted run) and on every change
// of a control that Watch() was given. Rules that must also follow presets
// listen to textChanged or toggled, which presets emit too.
#include <QDialog>
#include <QString>

class QAbstractButton;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qm {

class UiServices;

class QmDialog : public QDialog {
    Q_OBJECT
public:
    // `formName` is the form's name without its "T" ("frmMacroEdit"); it
    // becomes the objectName by which tests answer the dialog.
    QmDialog(UiServices& ui, const QString& formName, QWidget* parent = nullptr);

    // True once OK passed every check and stored; false after Cancel or close.
    bool Accepted() const { return accepted_; }

    // Runs the enabling rules, as showing the dialog does.
    void Activate();

    // The help context of cmdHelp: helpContext() of the open page.
    int HelpContext() const { return helpContext(); }

    UiServices& Ui() const { return ui_; }

public slots:
    // OK: the checks, then store(); see above.
    void accept() override;
    // Cancel, Escape and the close box.
    void reject() override;

protected:
    // The checks at OK, in order; return false after Refuse() at the first
    // that fails.
    virtual bool validate() { return true; }
    // Copies the controls into the dialog's result; runs only after validate().
    virtual void store() {}
    // Enables the controls by the dialog's rules.
    virtual void updateEnabling() {}
    // The help context of cmdHelp (for a dialog with pages, of the open one);
    // 0: the dialog has no help.
    virtual int helpContext() const { return 0; }

    // Shows `text` in an information box (a refused input).
    void Refuse(const QString& text);
    // True when every character of `text` has a Windows-1252 byte, so it
    // reaches the model unchanged; otherwise Refuse()s with a text that names
    // `field` (a caption without "&") and the character, and returns false.
    // Model text must never silently turn into "?".
    bool CheckCp1252(const QString& text, const QString& field);

    // The standard buttons at the bottom right: cmdOk "OK" (the default),
    // cmdCancel "Cancel" and, when `help` is set, cmdHelp "&Help". Other
    // buttons that the dialog adds must not be default (see MakeButton).
    QDialogButtonBox* MakeStandardButtons(bool help = true);
    // A push button named `name` that never takes Enter from OK.
    QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // Re-runs updateEnabling() whenever the control changes.
    void Watch(QLineEdit* edit);
    void Watch(QAbstractButton* button);
    void Watch(QComboBox* combo);
    void Watch(QListWidget* list);
    void Watch(QTabWidget* pages);

    void showEvent(QShowEvent* event) override;

public:
    // The standard buttons, once MakeStandardButtons made them.
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

private:
    UiServices& ui_;
    bool accepted_ = false;
};

}  // namespace qm
