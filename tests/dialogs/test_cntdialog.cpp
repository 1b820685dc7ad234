// The contents-file dialogs together: when OK is enabled, which characters
// each field refuses (the check of what a line can hold), the help contexts,
// the entry dialogs' presets and results, and a picture of each dialog.
#include <functional>
#include <memory>
#include <vector>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include "cnt_fixture.h"
#include "dialogs/cntprops.h"
#include "dialogs/indexfileprops.h"
#include "dialogs/linkfileprops.h"
#include "dialogs/newcomment.h"
#include "dialogs/newheader.h"
#include "dialogs/newinclude.h"
#include "dialogs/newmacro.h"
#include "dialogs/newtopic.h"
#include "dialogs/tabprops.h"

namespace qmtest {
namespace {

using namespace qm;

bool OkEnabled(QDialog& d) { return d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->isEnabled(); }

class CntDialogTest : public CntTest {
protected:
    // Each dialog, made as its caller makes it (a new topic entry preset
    // as the editor presets it).
    std::unique_ptr<QmDialog> Make(const QString& form) {
        std::unique_ptr<QmDialog> d;
        if (form == "frmNewHeader") d = std::make_unique<TfrmNewHeader>(ui);
        if (form == "frmNewComment") d = std::make_unique<TfrmNewComment>(ui);
        if (form == "frmNewInclude") d = std::make_unique<TfrmNewInclude>(ui);
        if (form == "frmNewMacro") d = std::make_unique<TfrmNewMacro>(factory, macros);
        if (form == "frmNewTopic") {
            auto topic = std::make_unique<TfrmNewTopic>(ui, project);
            topic->PresetNew("Contents");
            d = std::move(topic);
        }
        if (form == "frmCntProps") d = std::make_unique<TfrmCntProps>(factory);
        if (form == "frmIndexFileProps") d = std::make_unique<TfrmIndexFileProps>(ui);
        if (form == "frmLinkFileProps") d = std::make_unique<TfrmLinkFileProps>(ui);
        if (form == "frmTabProps") d = std::make_unique<TfrmTabProps>(ui);
        EXPECT_NE(d, nullptr) << form.toStdString();
        if (d) d->Activate();
        return d;
    }
};

TEST_F(CntDialogTest, OkIsEnabledExactlyWhileTheRequiredFieldsAreFilled) {
    struct Step {
        const char* field;
        QString text;
        bool ok;
    };
    struct Row {
        QString form;
        bool okAtFirst;
        std::vector<Step> steps;
    } rows[] = {
        {"frmNewHeader", false, {{"txtTitle", "x", true}, {"txtTitle", "", false}, {"txtTitle", " ", true}}},
        {"frmNewComment", false, {{"txtComment", "a\nb", true}, {"txtComment", "", false}}},
        {"frmNewInclude", false, {{"txtFile", "more.cnt", true}, {"txtFile", "", false}}},
        {"frmNewMacro", false, {{"txtTitle", "Run", false}, {"txtMacro", "About()", true}, {"txtTitle", "", false}}},
        // The contents topic is preset, so a title is all a new entry lacks.
        {"frmNewTopic",
         false,
         {{"txtTitle", "T", true},
          {"optLinkOut", "", false},
          {"txtHelpFile", "other.hlp", true},
          {"cboTopic", "", false},
          {"cboTopic", "Unlisted", true},
          {"txtHelpFile", "", false},
          {"optLinkIn", "", true},
          {"cboWindow", "", true}}},
        {"frmCntProps", true, {{"txtHelpFile", "", true}, {"txtWindowTitle", "", true}}},
        {"frmIndexFileProps",
         false,
         {{"txtTitle", "  ", false},
          {"txtHelpFileName", "ref.hlp", false},
          {"txtTitle", "Reference", true},
          {"txtHelpFileName", " \t", false},
          {"txtHelpFileName", "r.hlp", true},
          {"txtComment", "", true}}},
        {"frmLinkFileProps", false, {{"txtHelpFileName", "   ", false}, {"txtHelpFileName", "l.hlp", true}}},
        {"frmTabProps",
         false,
         {{"txtTabName", "Search", false}, {"txtDllFileName", " ", false}, {"txtDllFileName", "s.dll", true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.toStdString());
        auto d = Make(row.form);
        EXPECT_EQ(OkEnabled(*d), row.okAtFirst);
        for (const Step& step : row.steps) {
            SCOPED_TRACE(std::string(step.field) + " := \"" + step.text.toStdString() + "\"");
            Set(*d, step.field, step.text);
            EXPECT_EQ(OkEnabled(*d), step.ok);
        }
    }
}

TEST_F(CntDialogTest, EachFieldRefusesWhatItsLineCannotHold) {
    struct Row {
        QString form;
        std::vector<std::pair<const char*, QString>> valid;  // the other fields, filled so that OK is on
        const char* field;
        QString label;
        QString refused;  // in the middle of the field's text
        QString allowed;
    } rows[] = {
        {"frmNewHeader", {}, "txtTitle", "Header title", "=", ";"},
        {"frmNewHeader", {}, "txtTitle", "Header title", QString(QChar(0x4E2D)), QString(QChar(0x20AC))},
        {"frmNewTopic", {{"cboTopic", "Beta"}}, "txtTitle", "Topic title", "=", ";"},
        {"frmNewTopic", {{"txtTitle", "T"}}, "cboTopic", "Topic", "@", "!"},
        {"frmNewTopic", {{"txtTitle", "T"}}, "cboTopic", "Topic", ">", "="},
        {"frmNewTopic", {{"txtTitle", "T"}, {"optLinkOut", ""}}, "txtHelpFile", "Help file", ">", "@"},
        {"frmNewTopic", {{"txtTitle", "T"}}, "cboWindow", "Window", "\n", ">"},
        {"frmNewMacro", {{"txtMacro", "About()"}}, "txtTitle", "Title", "=", ";"},
        {"frmNewMacro", {{"txtTitle", "Run"}}, "txtMacro", "Macro", "\r", "=x;"},
        {"frmNewInclude", {}, "txtFile", "Include file", "\n", "="},
        {"frmNewComment", {}, "txtComment", "Comment text", QString(QChar(0x4E2D)), ";"},
        {"frmCntProps", {}, "txtHelpFile", "Help file", ">", ";"},
        {"frmCntProps", {}, "txtWindowTitle", "Window title", "\n", "="},
        {"frmCntProps", {}, "txtWindowName", "Window name", "\r", ">"},
        {"frmIndexFileProps", {{"txtHelpFileName", "r.hlp"}}, "txtTitle", "Help file title", "=", "@"},
        {"frmIndexFileProps", {{"txtHelpFileName", "r.hlp"}}, "txtTitle", "Help file title", ";", ">"},
        {"frmIndexFileProps", {{"txtTitle", "R"}}, "txtHelpFileName", "Help file name", ";", "="},
        {"frmIndexFileProps", {{"txtTitle", "R"}, {"txtHelpFileName", "r.hlp"}}, "txtComment", "Comment", "\n", ";"},
        {"frmLinkFileProps", {}, "txtHelpFileName", "Help file name", ";", "="},
        {"frmLinkFileProps", {{"txtHelpFileName", "l.hlp"}}, "txtComment", "Comment", "\r", ";="},
        {"frmTabProps", {{"txtDllFileName", "s.dll"}}, "txtTabName", "Tab name", "=", "@"},
        {"frmTabProps", {{"txtDllFileName", "s.dll"}}, "txtTabName", "Tab name", ";", ">"},
        {"frmTabProps", {{"txtTabName", "S"}}, "txtDllFileName", "Dll file name", ";", "="},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.toStdString() + " " + row.field + " refusing \"" + row.refused.toStdString() + "\"");
        auto d = Make(row.form);
        for (const auto& [name, text] : row.valid) Set(*d, name, text);
        Set(*d, row.field, "a" + row.refused + "b");
        const QString expected = row.refused == "\n" || row.refused == "\r"
                                     ? "The " + row.label + " cannot hold a line break."
                                     : "The " + row.label + " cannot hold \"" + row.refused + "\" in a contents file.";
        ui.ExpectMessage(MsgKind::Information, expected);
        EXPECT_TRUE(OkEnabled(*d));
        Ok(*d);
        EXPECT_FALSE(d->Accepted());
        ASSERT_FALSE(ui.MessageTexts().isEmpty());
        EXPECT_EQ(ui.MessageTexts().back(), expected);
        Set(*d, row.field, "a" + row.allowed + "b");
        Ok(*d);
        EXPECT_TRUE(d->Accepted());
        ui.ExpectAllAnswered();
    }
    // "!" is refused only in front of a topic id (it would make a macro entry).
    auto d = Make("frmNewTopic");
    Set(*d, "txtTitle", "T");
    Set(*d, "cboTopic", "!ab");
    ui.ExpectMessage(MsgKind::Information, "The Topic cannot hold \"!\" in a contents file.");
    Ok(*d);
    EXPECT_FALSE(d->Accepted());
}

TEST_F(CntDialogTest, HelpOpensEachDialogsContext) {
    const std::pair<QString, int> rows[] = {
        {"frmNewHeader", 305},     {"frmNewTopic", 300},      {"frmNewComment", 310},
        {"frmNewInclude", 315},    {"frmNewMacro", 320},      {"frmCntProps", 35},
        {"frmIndexFileProps", 45}, {"frmLinkFileProps", 510}, {"frmTabProps", 515},
    };
    for (const auto& [form, context] : rows) {
        SCOPED_TRACE(form.toStdString());
        auto d = Make(form);
        d->findChild<QPushButton*>(QStringLiteral("cmdHelp"))->click();
        ASSERT_FALSE(ui.helpContexts.empty());
        EXPECT_EQ(ui.helpContexts.back(), context);
    }
    auto editor = Editor();
    editor->actHelp->trigger();
    EXPECT_EQ(ui.helpContexts.back(), 235);
}

TEST_F(CntDialogTest, CaptionsAreThoseOfTheDialogs) {
    const std::pair<QString, QString> rows[] = {
        {"frmNewHeader", "Header Properties"},
        {"frmNewTopic", "Topic Properties"},
        {"frmNewComment", "Comment"},
        {"frmNewInclude", "Include Properties"},
        {"frmNewMacro", "Macro Properties"},
        {"frmCntProps", "Contents File Properties"},
        {"frmIndexFileProps", "Index File Properties"},
        {"frmLinkFileProps", "Link File Properties"},
        {"frmTabProps", "Tab Properties"},
    };
    for (const auto& [form, caption] : rows) {
        auto d = Make(form);
        EXPECT_EQ(d->objectName(), form);
        EXPECT_EQ(d->windowTitle(), caption);
    }
}

// --- the entry dialogs, one by one

TEST_F(CntDialogTest, TopicDialogListsTheProjectsTopicsAndWindowsSorted) {
    TfrmNewTopic d(ui, project);
    QStringList topics, windows;
    for (int i = 0; i < d.cboTopic->count(); ++i) topics << d.cboTopic->itemText(i);
    for (int i = 0; i < d.cboWindow->count(); ++i) windows << d.cboWindow->itemText(i);
    EXPECT_EQ(topics, QStringList({"Beta", "Contents", "Gamma", "Intro"}));  // not the popup Note
    EXPECT_EQ(windows, QStringList({"main", "second"}));
    for (QComboBox* c : {d.cboTopic, d.cboWindow}) {
        EXPECT_TRUE(c->isEditable());
        EXPECT_EQ(c->insertPolicy(), QComboBox::NoInsert);
    }
}

TEST_F(CntDialogTest, TopicDialogPresetsAndResults) {
    struct Row {
        const char* name;
        TCntNode entry;
        std::function<void(TfrmNewTopic&)> change;
        bool linkOut;     // shown
        QString window;   // shown
        TCntNode result;  // after OK
    } rows[] = {
        {"no window shows main, and OK stores it",
         {TCntNodeKind::Topic, "Beta", "Beta entry", "", "", ""},
         {},
         false,
         "main",
         {TCntNodeKind::Topic, "Beta", "Beta entry", "main", "", ""}},
        {"a help file chooses the other file",
         {TCntNodeKind::Topic, "far", "Far", "second", "other.hlp", ""},
         {},
         true,
         "second",
         {TCntNodeKind::Topic, "far", "Far", "second", "other.hlp", ""}},
        {"back to this file keeps the typed name shown but stores none",
         {TCntNodeKind::Topic, "far", "Far", "second", "other.hlp", ""},
         [](TfrmNewTopic& d) { d.optLinkIn->setChecked(true); },
         false,
         "second",
         {TCntNodeKind::Topic, "far", "Far", "second", "", ""}},
        {"a topic the project lacks is taken as typed",
         {TCntNodeKind::Topic, "Beta", "B", "main", "", ""},
         [](TfrmNewTopic& d) { d.cboTopic->setEditText("NotInProject"); },
         false,
         "main",
         {TCntNodeKind::Topic, "NotInProject", "B", "main", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewTopic d(ui, project);
        d.LoadEntry(row.entry);
        if (row.change) row.change(d);
        d.Activate();
        EXPECT_EQ(d.optLinkOut->isChecked(), row.linkOut);
        EXPECT_EQ(d.txtHelpFile->isEnabled(), row.linkOut);
        EXPECT_EQ(d.cmdBrowseFile->isEnabled(), row.linkOut);
        EXPECT_EQ(d.txtHelpFile->palette().color(QPalette::Base),
                  row.linkOut ? QColor(Qt::white) : QColor(192, 192, 192));
        EXPECT_EQ(d.txtHelpFile->text(), QString::fromStdString(row.entry.HelpFile));
        EXPECT_EQ(d.cboWindow->currentText(), row.window);
        Ok(d);
        ASSERT_TRUE(d.Accepted());
        TCntNode out;
        out.Kind = TCntNodeKind::Topic;
        out.Macro = "untouched";
        d.SaveEntry(out);
        EXPECT_EQ(out.TopicId, row.result.TopicId);
        EXPECT_EQ(out.Title, row.result.Title);
        EXPECT_EQ(out.Window, row.result.Window);
        EXPECT_EQ(out.HelpFile, row.result.HelpFile);
        EXPECT_EQ(out.Macro, "untouched");
    }
}

TEST_F(CntDialogTest, BrowseButtonsOfTheEntriesKeepTheFileNameOnly) {
    TfrmNewTopic topic(ui, project);
    topic.optLinkOut->setChecked(true);
    ui.ExpectOpenFile(QStringLiteral("/somewhere/else/other.hlp"));
    topic.cmdBrowseFile->click();
    EXPECT_EQ(topic.txtHelpFile->text(), "other.hlp");
    EXPECT_EQ(ui.fileRequests.back().filter, "Help files (*.hlp)");
    EXPECT_EQ(ui.fileRequests.back().defaultSuffix, "hlp");

    TfrmNewInclude include(ui);
    ui.ExpectOpenFile(QStringLiteral("/somewhere/else/more.cnt"));
    include.cmdBrowseFile->click();
    EXPECT_EQ(include.txtFile->text(), "more.cnt");
    EXPECT_EQ(ui.fileRequests.back().filter, "Contents files (*.cnt);;All files (*)");
    EXPECT_EQ(ui.fileRequests.back().defaultSuffix, "cnt");
    ui.ExpectOpenFile(std::nullopt);
    include.cmdBrowseFile->click();
    EXPECT_EQ(include.txtFile->text(), "more.cnt");
}

TEST_F(CntDialogTest, CommentLinesAreJoinedWithNothingBetween) {
    TfrmNewComment d(ui);
    d.txtComment->setPlainText(QString::fromUtf8("a\nb\nc d\u00A0e"));
    Ok(d);
    ASSERT_TRUE(d.Accepted());
    TCntNode e;
    e.Kind = TCntNodeKind::Comment;
    d.SaveEntry(e);
    EXPECT_EQ(e.Title,
              "abc d\xA0"
              "e");  // the non-breaking space stays one
}

TEST_F(CntDialogTest, MacroBuilderFillsTheMacro) {
    TfrmNewMacro d(factory, macros);
    d.txtTitle->setText("Run");
    d.txtMacro->setText("  About()  ");
    ui.ExpectDialog("frmMacroEdit", [](QDialog& dialog) {
        auto* calls = dialog.findChild<QListWidget*>("lstExpression");
        EXPECT_EQ(calls->count(), 1);
        EXPECT_EQ(calls->item(0)->text(), "About()");  // the trimmed macro
        dialog.findChild<QPushButton*>("cmdAdd")->click();
        return Ok(dialog);
    });
    d.cmdBrowseMacro->click();
    EXPECT_EQ(d.txtMacro->text(), "About();About()");
    ui.ExpectDialog("frmMacroEdit", [](QDialog& dialog) {
        dialog.reject();
        return dialog.result();
    });
    d.cmdBrowseMacro->click();
    EXPECT_EQ(d.txtMacro->text(), "About();About()");
}

TEST_F(CntDialogTest, EntryDialogsCopyOnlyTheirOwnFields) {
    struct Row {
        QString form;
        TCntNodeKind kind;
        std::vector<std::pair<const char*, QString>> typed;
        TCntNode expected;  // from an entry whose every field reads "old"
    } rows[] = {
        {"frmNewHeader",
         TCntNodeKind::Book,
         {{"txtTitle", "Book"}},
         {TCntNodeKind::Book, "old", "Book", "old", "old", "old"}},
        {"frmNewMacro",
         TCntNodeKind::Macro,
         {{"txtTitle", "Run"}, {"txtMacro", "About()"}},
         {TCntNodeKind::Macro, "old", "Run", "old", "old", "About()"}},
        {"frmNewInclude",
         TCntNodeKind::Include,
         {{"txtFile", "more.cnt"}},
         {TCntNodeKind::Include, "old", "old", "old", "more.cnt", "old"}},
        {"frmNewComment",
         TCntNodeKind::Comment,
         {{"txtComment", "note"}},
         {TCntNodeKind::Comment, "old", "note", "old", "old", "old"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.toStdString());
        const TCntNode old{row.kind, "old", "old", "old", "old", "old"};
        auto d = MakeCntEntryDialog(row.kind, factory, project, macros, nullptr);
        d->LoadEntry(old);
        for (QLineEdit* e : d->findChildren<QLineEdit*>()) {
            if (e->objectName().startsWith("txt")) {
                EXPECT_EQ(e->text(), "old") << e->objectName().toStdString();
            }
        }
        for (const auto& [name, text] : row.typed) Set(*d, name, text);
        Ok(*d);
        ASSERT_TRUE(d->Accepted());
        TCntNode out = old;
        d->SaveEntry(out);
        EXPECT_EQ(out.TopicId, row.expected.TopicId);
        EXPECT_EQ(out.Title, row.expected.Title);
        EXPECT_EQ(out.Window, row.expected.Window);
        EXPECT_EQ(out.HelpFile, row.expected.HelpFile);
        EXPECT_EQ(out.Macro, row.expected.Macro);
    }
}

// --- pictures

TEST_F(CntDialogTest, ScreenshotOfEachDialog) {
    TCntFile file;
    file.BaseFile = "project.hlp";
    file.Title = "Project Help";
    file.BaseWindow = "main";
    file.ExDatas.IndexFiles = {{"Reference", "ref.hlp", ""}, {"Glossary", "gloss.hlp", "terms"}};
    const struct {
        QString form;
        std::vector<std::pair<const char*, QString>> typed;
    } rows[] = {
        {"frmNewHeader", {{"txtTitle", "Getting Started"}}},
        {"frmNewTopic", {{"txtTitle", "Welcome"}, {"optLinkOut", ""}, {"txtHelpFile", "other.hlp"}}},
        {"frmNewComment", {{"txtComment", "Books below this line are drafts."}}},
        {"frmNewInclude", {{"txtFile", "more.cnt"}}},
        {"frmNewMacro", {{"txtTitle", "Run the tutorial"}, {"txtMacro", "JumpId(`tut.hlp',`start')"}}},
        {"frmCntProps", {}},
        {"frmIndexFileProps", {{"txtTitle", "Reference"}, {"txtHelpFileName", "ref.hlp"}}},
        {"frmLinkFileProps", {{"txtHelpFileName", "linked.hlp"}}},
        {"frmTabProps", {{"txtTabName", "Search"}, {"txtDllFileName", "search.dll"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.form.toStdString());
        auto d = Make(row.form);
        if (auto* props = qobject_cast<TfrmCntProps*>(d.get())) props->Preset(file);
        for (const auto& [name, text] : row.typed) Set(*d, name, text);
        Screenshot(*d, "cnt-" + row.form.mid(3).toLower() + ".png");
    }
}

}  // namespace
}  // namespace qmtest
