#pragma once
// Every interaction of a command with the user or the desktop goes through
// UiServices: message boxes, input and standard dialogs, help, launching
// programs and running modal dialogs. The program uses QtUiServices; tests use
// a scripted implementation that answers without any event loop blocking.
#include <functional>
#include <optional>

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include "util/externalprograms.h"

class QDialog;
class QWidget;

namespace qm {

enum class MsgKind { Information, Warning, Error, Confirmation };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgResult { Ok, Yes, No, Cancel };

// An open or save file dialog.
struct FileDialogRequest {
    QString caption;
    QString filter;                // Qt filter text, e.g. "Quillmark projects (*.qpf);;All files (*)"
    QString folder;                // the folder shown first (empty: the current one)
    QString fileName;              // the name preset in the dialog
    QString defaultSuffix;         // added when the user types a name without one ("qpf")
    bool confirmOverwrite = true;  // save dialog only
};

// A font with its colour, as the font dialog edits them.
struct FontChoice {
    QFont font;
    QColor color;
};

class UiServices {
public:
    virtual ~UiServices() = default;

    // The window that owns boxes and dialogs (the main window); may be null.
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    QWidget* ParentWidget() const { return parent_; }

    // Runs before every box and modal dialog, e.g. to take a splash screen
    // away so that nothing shows behind it. Empty: nothing runs.
    void SetBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }

    // The program's own help file ("Quillmark.hlp" in the program's folder).
    void SetHelpFile(const QString& file) { helpFile_ = file; }
    const QString& HelpFile() const { return helpFile_; }

    // A modal message box; returns the button chosen (a closed box answers
    // Cancel for YesNoCancel, No for YesNo and Ok for Ok). The box's caption
    // is the application's name.
    virtual MsgResult Message(MsgKind kind, const QString& text, MsgButtons buttons) = 0;

    // Shorthands with the usual buttons.
    void Information(const QString& text) { Message(MsgKind::Information, text, MsgButtons::Ok); }
    void Warning(const QString& text) { Message(MsgKind::Warning, text, MsgButtons::Ok); }
    void ErrorBox(const QString& text) { Message(MsgKind::Error, text, MsgButtons::Ok); }
    MsgResult Confirm(const QString& text, MsgButtons buttons = MsgButtons::YesNo) {
        return Message(MsgKind::Confirmation, text, buttons);
    }

    // One line of text; nullopt when cancelled.
    virtual std::optional<QString> InputText(const QString& caption, const QString& prompt, const QString& value) = 0;
    // The chosen file (full path); nullopt when cancelled.
    virtual std::optional<QString> OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(const FileDialogRequest& request) = 0;
    // A folder; nullopt when cancelled.
    virtual std::optional<QString> ChooseFolder(const QString& caption, const QString& folder) = 0;
    virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
    // The font dialog: face, size, effects and colour; nullopt when cancelled.
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;

    // Runs `dialog` modally and returns its result (QDialog::Accepted or
    // QDialog::Rejected). The program calls exec(); the scripted services let
    // the test's handler for the dialog's objectName fill it in and accept or
    // reject it, without an event loop. Create the dialog for one use with
    // ParentWidget() as its parent, preset it, run it here, read it back only
    // when the result is Accepted, then free it. The print dialog is run the
    // same way (RunPrintDialog in widgets/printdialog.h, objectName "dlgPrint").
    virtual int RunDialog(QDialog& dialog) = 0;

    // Shows what `request` asks of the help viewer: a file, what to show of
    // it, and the window.
    virtual void Help(const HelpRequest& request) = 0;
    // The program's own help file (HelpFile()) in its main window: at
    // `context`, at its contents, at its index at `keyword` (empty: the index
    // as it opens).
    void ShowHelp(int context) { Help(ProgramHelp(HelpCommand::Context, context)); }
    void ShowHelpContents() { Help(ProgramHelp(HelpCommand::Contents)); }
    void ShowHelpIndex(const QString& keyword);
    // A request on the program's own help file.
    HelpRequest ProgramHelp(HelpCommand command, int context = 0) const;

    // The external programs.
    virtual CompilerRunner& Compiler() = 0;
    virtual HelpViewer& Viewer() = 0;
    virtual ShellLauncher& Shell() = 0;

protected:
    // Every implementation calls this first in each box and modal dialog.
    void BeforeModal() {
        if (beforeModal_) beforeModal_();
    }

private:
    QWidget* parent_ = nullptr;
    QString helpFile_;
    std::function<void()> beforeModal_;
};

}  // namespace qm
