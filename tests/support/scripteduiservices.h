#pragma once
// UI services for tests: every box and dialog is recorded, and answered from a
// queue of scripted replies in the order the test expects them. A box or
// dialog that no reply answers, or one that comes out of order, fails the test
// with a message naming it, and gets a cancelling answer so the code under test
// goes on without blocking.
//
//   qmtest::ScriptedUiServices ui;
//   ui.ExpectMessage(qm::MsgKind::Confirmation, "Save changes", qm::MsgResult::No);
//   ui.ExpectSaveFile("/tmp/x.qpf");
//   ui.ExpectDialog("dlgTopicProperties", [](QDialog& d) { ...; return QDialog::Accepted; });
//   ... run the command ...
//   ui.ExpectAllAnswered();
//   EXPECT_EQ(ui.messages.back().text, "Ready.");
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "platform/uiservices.h"
#include "support/fakeprograms.h"
#include "util/cp1252.h"

namespace qmtest {

inline const char* KindName(qm::MsgKind kind) {
    switch (kind) {
        case qm::MsgKind::Information: return "information";
        case qm::MsgKind::Warning: return "warning";
        case qm::MsgKind::Error: return "error";
        case qm::MsgKind::Confirmation: return "confirmation";
    }
    return "?";
}

class ScriptedUiServices : public qm::UiServices {
public:
    // What was asked of the user, in order.
    enum class Request { Message, Input, OpenFile, SaveFile, Folder, Color, Font, Dialog };
    struct Record {
        Request request;
        qm::MsgKind kind = qm::MsgKind::Information;  // messages only
        qm::MsgButtons buttons = qm::MsgButtons::Ok;  // messages only
        QString text;                                 // message text, prompt, dialog caption or dialog objectName
    };
    std::vector<Record> records;
    // Runs as each request is recorded, e.g. to look at the windows while a
    // box is up.
    std::function<void(const Record&)> onRecord;
    std::vector<qm::HelpRequest> helpRequests;        // every help request, as asked
    std::vector<int> helpContexts;                    // ShowHelp calls
    int helpContentsCalls = 0;                        // ShowHelpContents calls
    QStringList helpIndexKeywords;                    // ShowHelpIndex calls, by keyword
    std::vector<qm::FileDialogRequest> fileRequests;  // open and save dialogs, as asked
    std::vector<qm::FontChoice> fontRequests;         // font dialogs, with the font and colour they offered
    QStringList inputValues;                          // the value each text input was preset with

    FakeCompilerRunner compiler;
    FakeHelpViewer viewer;
    FakeShellLauncher shell;

    // Real programs in place of the fakes (not owned), e.g. QtCompilerRunner
    // with the stand-in compiler.
    void UseCompiler(qm::CompilerRunner* runner) { compilerOverride_ = runner; }
    void UseViewer(qm::HelpViewer* v) { viewerOverride_ = v; }
    void UseShell(qm::ShellLauncher* s) { shellOverride_ = s; }

    // --- the script -------------------------------------------------------
    // The next message box must be of `kind` and contain `textPart` (empty:
    // any text); it is answered with `answer`.
    void ExpectMessage(qm::MsgKind kind, const QString& textPart, qm::MsgResult answer = qm::MsgResult::Ok) {
        Reply r{Request::Message};
        r.kind = kind;
        r.match = textPart;
        r.answer = answer;
        replies_.push_back(std::move(r));
    }
    // Answers for the other requests; nullopt cancels.
    void ExpectInput(std::optional<QString> answer, const QString& promptPart = {}) {
        Reply r{Request::Input};
        r.match = promptPart;
        r.text = std::move(answer);
        replies_.push_back(std::move(r));
    }
    void ExpectOpenFile(std::optional<QString> answer) { PushText(Request::OpenFile, std::move(answer)); }
    void ExpectSaveFile(std::optional<QString> answer) { PushText(Request::SaveFile, std::move(answer)); }
    void ExpectFolder(std::optional<QString> answer) { PushText(Request::Folder, std::move(answer)); }
    void ExpectColor(std::optional<QColor> answer) {
        Reply r{Request::Color};
        r.color = answer;
        replies_.push_back(std::move(r));
    }
    // The font dialog answers `answer` with `color`; an invalid colour
    // answers the colour the dialog was offered.
    void ExpectFont(std::optional<QFont> answer, QColor color = QColor()) {
        Reply r{Request::Font};
        r.font = answer;
        r.color = color;
        replies_.push_back(std::move(r));
    }
    // The next modal dialog must have this objectName; `handler` fills it in
    // and returns QDialog::Accepted or QDialog::Rejected (it may also call
    // accept() or reject() itself and return dialog.result()).
    void ExpectDialog(const QString& objectName, std::function<int(QDialog&)> handler) {
        Reply r{Request::Dialog};
        r.match = objectName;
        r.dialog = std::move(handler);
        replies_.push_back(std::move(r));
    }

    // Replies not used yet.
    std::size_t Pending() const { return replies_.size(); }
    // Fails the test when scripted replies were never asked for.
    void ExpectAllAnswered(const char* where = "") {
        if (!replies_.empty())
            ADD_FAILURE() << where << (where[0] ? ": " : "") << replies_.size()
                          << " scripted repl(ies) never used; the next expected a "
                          << RequestName(replies_.front().request) << " \"" << replies_.front().match.toStdString()
                          << "\"";
    }
    // The texts of all message boxes shown, in order.
    QStringList MessageTexts() const {
        QStringList out;
        for (const Record& r : records)
            if (r.request == Request::Message) out << r.text;
        return out;
    }
    // True when a message of `kind` containing `textPart` was shown.
    bool Shown(qm::MsgKind kind, const QString& textPart) const {
        for (const Record& r : records)
            if (r.request == Request::Message && r.kind == kind && r.text.contains(textPart)) return true;
        return false;
    }

    // --- UiServices ---------------------------------------------------------
    // Every request: the hook of the code under test first, as the real
    // services run it, then the record.
    void Note(Record r) {
        BeforeModal();
        records.push_back(std::move(r));
        if (onRecord) onRecord(records.back());
    }
    qm::MsgResult Message(qm::MsgKind kind, const QString& text, qm::MsgButtons buttons) override {
        Note({Request::Message, kind, buttons, text});
        const qm::MsgResult fallback = buttons == qm::MsgButtons::Ok      ? qm::MsgResult::Ok
                                       : buttons == qm::MsgButtons::YesNo ? qm::MsgResult::No
                                                                          : qm::MsgResult::Cancel;
        Reply* r = Next(Request::Message, text);
        if (!r) return fallback;
        if (r->kind != kind) {
            ADD_FAILURE() << "Message box \"" << text.toStdString() << "\" is a(n) " << KindName(kind)
                          << " box; the script expected a(n) " << KindName(r->kind) << " box";
        }
        const qm::MsgResult answer = r->answer;
        replies_.pop_front();
        if (!Allowed(answer, buttons)) {
            ADD_FAILURE() << "Scripted answer is not one of the buttons of \"" << text.toStdString() << "\"";
            return fallback;
        }
        return answer;
    }
    std::optional<QString> InputText(const QString& caption, const QString& prompt, const QString& value) override {
        Note({Request::Input, {}, {}, caption + QStringLiteral(": ") + prompt});
        inputValues << value;
        return TakeText(Request::Input, prompt);
    }
    std::optional<QString> OpenFileName(const qm::FileDialogRequest& request) override {
        Note({Request::OpenFile, {}, {}, request.caption});
        fileRequests.push_back(request);
        return TakeText(Request::OpenFile, request.caption);
    }
    std::optional<QString> SaveFileName(const qm::FileDialogRequest& request) override {
        Note({Request::SaveFile, {}, {}, request.caption});
        fileRequests.push_back(request);
        return TakeText(Request::SaveFile, request.caption);
    }
    std::optional<QString> ChooseFolder(const QString& caption, const QString&) override {
        Note({Request::Folder, {}, {}, caption});
        return TakeText(Request::Folder, caption);
    }
    std::optional<QColor> ChooseColor(const QColor&) override {
        Note({Request::Color, {}, {}, QStringLiteral("color")});
        Reply* r = Next(Request::Color, QStringLiteral("color dialog"));
        if (!r) return std::nullopt;
        auto c = r->color;
        replies_.pop_front();
        return c;
    }
    std::optional<qm::FontChoice> ChooseFont(const qm::FontChoice& initial) override {
        Note({Request::Font, {}, {}, QStringLiteral("font")});
        fontRequests.push_back(initial);
        Reply* r = Next(Request::Font, QStringLiteral("font dialog"));
        if (!r) return std::nullopt;
        const std::optional<QFont> f = r->font;
        const QColor c = r->color && r->color->isValid() ? *r->color : initial.color;
        replies_.pop_front();
        if (!f) return std::nullopt;
        return qm::FontChoice{*f, c};
    }
    int RunDialog(QDialog& dialog) override {
        Note({Request::Dialog, {}, {}, dialog.objectName()});
        Reply* r = Next(Request::Dialog, dialog.objectName());
        if (!r) {
            dialog.reject();
            return QDialog::Rejected;
        }
        if (r->match != dialog.objectName()) {
            ADD_FAILURE() << "Dialog \"" << dialog.objectName().toStdString() << "\" appeared; the script expected \""
                          << r->match.toStdString() << "\"";
            replies_.pop_front();
            dialog.reject();
            return QDialog::Rejected;
        }
        auto handler = std::move(r->dialog);
        replies_.pop_front();
        const int result = handler ? handler(dialog) : QDialog::Rejected;
        dialog.setResult(result);
        return result;
    }
    void Help(const qm::HelpRequest& request) override {
        helpRequests.push_back(request);
        // The shorthands on the program's own help file, counted as before.
        if (request.helpFile != ProgramHelp(request.command).helpFile || !request.window.empty()) return;
        switch (request.command) {
            case qm::HelpCommand::Context: helpContexts.push_back(request.context); break;
            case qm::HelpCommand::Contents: ++helpContentsCalls; break;
            case qm::HelpCommand::Index:
                helpIndexKeywords << QString::fromStdU16String(qm::Cp1252ToUtf16(request.keyword));
                break;
        }
    }
    qm::CompilerRunner& Compiler() override { return compilerOverride_ ? *compilerOverride_ : compiler; }
    qm::HelpViewer& Viewer() override { return viewerOverride_ ? *viewerOverride_ : viewer; }
    qm::ShellLauncher& Shell() override { return shellOverride_ ? *shellOverride_ : shell; }

private:
    struct Reply {
        explicit Reply(Request r) : request(r) {}
        Request request;
        qm::MsgKind kind = qm::MsgKind::Information;
        QString match;
        qm::MsgResult answer = qm::MsgResult::Ok;
        std::optional<QString> text;
        std::optional<QColor> color;
        std::optional<QFont> font;
        std::function<int(QDialog&)> dialog;
    };

    static const char* RequestName(Request r) {
        switch (r) {
            case Request::Message: return "message box";
            case Request::Input: return "text input";
            case Request::OpenFile: return "open-file dialog";
            case Request::SaveFile: return "save-file dialog";
            case Request::Folder: return "folder dialog";
            case Request::Color: return "colour dialog";
            case Request::Font: return "font dialog";
            case Request::Dialog: return "dialog";
        }
        return "?";
    }
    static bool Allowed(qm::MsgResult a, qm::MsgButtons b) {
        switch (b) {
            case qm::MsgButtons::Ok: return a == qm::MsgResult::Ok;
            case qm::MsgButtons::YesNo: return a == qm::MsgResult::Yes || a == qm::MsgResult::No;
            case qm::MsgButtons::YesNoCancel: return a != qm::MsgResult::Ok;
        }
        return false;
    }
    // The front reply when it answers `request` with `text`; else nullptr
    // after failing the test (the reply stays for a later request only when
    // the kinds differ).
    Reply* Next(Request request, const QString& text) {
        if (replies_.empty()) {
            ADD_FAILURE() << "Unscripted " << RequestName(request) << ": \"" << text.toStdString() << "\"";
            return nullptr;
        }
        Reply& r = replies_.front();
        if (r.request != request) {
            ADD_FAILURE() << "A " << RequestName(request) << " (\"" << text.toStdString()
                          << "\") appeared; the script expected a " << RequestName(r.request) << " \""
                          << r.match.toStdString() << "\"";
            return nullptr;
        }
        if (request != Request::Dialog && !r.match.isEmpty() && !text.contains(r.match)) {
            ADD_FAILURE() << "The " << RequestName(request) << " \"" << text.toStdString()
                          << "\" does not contain the scripted \"" << r.match.toStdString() << "\"";
            replies_.pop_front();
            return nullptr;
        }
        return &r;
    }
    void PushText(Request request, std::optional<QString> answer) {
        Reply r{request};
        r.text = std::move(answer);
        replies_.push_back(std::move(r));
    }
    std::optional<QString> TakeText(Request request, const QString& text) {
        Reply* r = Next(request, text);
        if (!r) return std::nullopt;
        // Copied out as value and flag: g++ 12 misreads a moved optional<QString>.
        const bool has = r->text.has_value();
        const QString value = r->text.value_or(QString());
        replies_.pop_front();
        if (!has) return std::nullopt;
        return value;
    }

    std::deque<Reply> replies_;
    qm::CompilerRunner* compilerOverride_ = nullptr;
    qm::HelpViewer* viewerOverride_ = nullptr;
    qm::ShellLauncher* shellOverride_ = nullptr;
};

}  // namespace qmtest
