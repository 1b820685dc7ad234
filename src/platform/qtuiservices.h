#pragma once
// The program's UI services: Qt's message boxes and standard dialogs, and the
// Qt implementations of the external programs.
#include <functional>
#include <memory>

#include "platform/uiservices.h"

namespace qm {

// What Help says when the program's help file is not there.
QString MissingHelpFileText(const QString& helpFile);

class QtUiServices : public UiServices {
public:
    // Uses QtCompilerRunner, QtHelpViewer (answering through these services)
    // and QtShellLauncher. The help file defaults to "Quillmark.hlp" in the
    // program's folder.
    QtUiServices();
    ~QtUiServices() override;

    MsgResult Message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    std::optional<QString> InputText(const QString& caption, const QString& prompt, const QString& value) override;
    std::optional<QString> OpenFileName(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileName(const FileDialogRequest& request) override;
    std::optional<QString> ChooseFolder(const QString& caption, const QString& folder) override;
    std::optional<QColor> ChooseColor(const QColor& initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
    // The program's own font dialog (it has a colour, which the toolkit's
    // lacks); without one, the toolkit's dialog runs and the colour stays.
    using FontDialogRunner = std::function<std::optional<FontChoice>(UiServices&, const FontChoice&)>;
    void SetFontDialog(FontDialogRunner runner) { fontDialog_ = std::move(runner); }
    int RunDialog(QDialog& dialog) override;
    // A request on a file with a folder that is not there says so instead;
    // a bare file name is left to the viewer, which looks in its own folders.
    void Help(const HelpRequest& request) override;
    CompilerRunner& Compiler() override { return *compiler_; }
    HelpViewer& Viewer() override { return *viewer_; }
    ShellLauncher& Shell() override { return *shell_; }

private:
    // Says that `file` is not installed, when it is not; true then.
    bool HelpFileMissing(const QString& file);

    std::unique_ptr<CompilerRunner> compiler_;
    std::unique_ptr<HelpViewer> viewer_;
    std::unique_ptr<ShellLauncher> shell_;
    FontDialogRunner fontDialog_;
};

}  // namespace qm
