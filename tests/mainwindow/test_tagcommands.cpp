// The tag commands in the real main window, their forms answered by the
// script: inserting with and without the forms, Edit Tag (a form confirmed
// unchanged changes nothing), anchors, image folders, the editor's pop-up
// menu, and a build of an inserted link.
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolBar>
#include <fstream>

#include "dialogs/macroedit.h"
#include "dialogs/newbutton.h"
#include "dialogs/newimage.h"
#include "dialogs/newmacrotag.h"
#include "dialogs/newpopuplink.h"
#include "dialogs/newrtfexpr.h"
#include "dialogs/newsound.h"
#include "dialogs/newtopiclink.h"
#include "dialogs/newvideo.h"
#include "tag_fixture.h"

namespace qmtest {
namespace {

using qm::MsgKind;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// --- the presets of an edited tag, without a window ---------------------------

qm::TTagPreset Preset(const std::u16string& text, int p) {
    const qm::TTagText t(text);
    const qm::TTagInfo info = qm::ParseTagAt(t, p);
    return qm::PresetForTag(qm::EditKindOf(info), info);
}

TEST(PresetForTag, TheFormsGetTheTagsParts) {
    {
        SCOPED_TRACE("topic link: the first colon parts topic and anchor");
        const auto p = Preset(u"<ULINK TOPIC=\"Beta:a:b\" WINDOW=w2 FILE=my help.hlp>hot</ULINK>", 1);
        EXPECT_EQ(p.Topic, "Beta");
        EXPECT_EQ(p.Anchor, "a:b");
        EXPECT_EQ(p.Window, "w2");
        EXPECT_EQ(p.File, "my help.hlp");
        EXPECT_EQ(p.Hotspot, "hot");
        EXPECT_TRUE(p.UserDefined);
    }
    {
        SCOPED_TRACE("topic link without window: none, not the first");
        const auto p = Preset(u"<LINK TOPIC=\"MainWindowHelp\">x</LINK>", 1);
        EXPECT_EQ(p.Topic, "MainWindowHelp");
        EXPECT_EQ(p.Anchor, "");
        ASSERT_TRUE(p.Window.has_value());
        EXPECT_EQ(*p.Window, "");
        EXPECT_FALSE(p.UserDefined);
    }
    {
        SCOPED_TRACE("popup link: the whole value");
        const auto p = Preset(u"<LINK POPUP=\"Note:x\" FILE=a.hlp><IMAGE \"b.bmp\"></LINK>", 1);
        EXPECT_EQ(p.Popup, "Note:x");
        EXPECT_EQ(p.File, "a.hlp");
        EXPECT_EQ(p.Hotspot, "<IMAGE \"b.bmp\">");
    }
    {
        SCOPED_TRACE("user-defined macro");
        const auto p = Preset(u"<UMACRO JumpId(\"a\", \"b\")>go</UMACRO>", 1);
        EXPECT_EQ(p.Macro, "JumpId(\"a\", \"b\")");
        EXPECT_EQ(p.Hotspot, "go");
        EXPECT_TRUE(p.UserDefined);
    }
    {
        SCOPED_TRACE("button");
        const auto p = Preset(u"<BTN About()>Press me</BTN>", 1);
        EXPECT_EQ(p.Macro, "About()");
        EXPECT_EQ(p.Caption, "Press me");
    }
    {
        SCOPED_TRACE("image keeps its name as written");
        const qm::TTagText t(u"<imagel \"a.bmp\">");
        const qm::TTagInfo info = qm::ParseTagAt(t, 1);
        const auto p = qm::PresetForTag(qm::TTagEditKind::Image, info, "imagel");
        EXPECT_EQ(p.Image, "a.bmp");
        EXPECT_EQ(p.ImageTagName, "imagel");
    }
    {
        SCOPED_TRACE("raw RTF on one line");
        const auto p = Preset(u"<RTF \"\\par\">", 1);
        EXPECT_EQ(p.Rtf, "\\par");
        EXPECT_TRUE(p.SingleLine);
    }
    {
        SCOPED_TRACE("video flags");
        const auto p = Preset(u"<VIDEO External Play Playbar \"v.avi\">", 1);
        EXPECT_TRUE(p.External);
        EXPECT_TRUE(p.AutoPlay);
        EXPECT_TRUE(p.PlayBar);
        EXPECT_FALSE(p.Repeat);
        EXPECT_FALSE(p.Menu);
        EXPECT_EQ(p.MediaFile, "v.avi");
    }
    {
        SCOPED_TRACE("sound: a file named like a flag sets none");
        const auto p = Preset(u"<SOUND \"PLAY\">", 1);
        EXPECT_FALSE(p.External);
        EXPECT_FALSE(p.AutoPlay);
        EXPECT_EQ(p.MediaFile, "PLAY");
    }
    {
        SCOPED_TRACE("sound with words Play and External");
        const auto p = Preset(u"<SOUND Play External \"s.wav\">", 1);
        EXPECT_TRUE(p.External);
        EXPECT_EQ(p.MediaFile, "s.wav");
    }
}

// --- the window -------------------------------------------------------------------

class TagCommandsTest : public TagTest {
protected:
    std::unique_ptr<qm::TfrmMain> StartPlain(const QString& body, bool dialogs = true) {
        auto w = StartWith("");
        w->Options().TagsDialogs = dialogs;
        SetBody(*w, body);
        return w;
    }
    // The editor's state that a no-op edit must leave alone.
    struct Snapshot {
        std::string rtf;
        QString text;
        bool canUndo;
        bool modified;
    };
    static Snapshot Snap(qm::TfrmMain& w) {
        return {w.Editor()->GetRtfText(), EditorText(w), w.Editor()->CanUndo(), w.Project().Modified};
    }
};

TEST_F(TagCommandsTest, TheTagMenuToolBarAndShortcuts) {
    auto w = StartPlain("");
    auto* tag = Child<QMenu>(*w, "mnuTag");
    ASSERT_NE(tag, nullptr);
    EXPECT_TRUE(w->menuBar()->actions().contains(tag->menuAction()));
    const QList<QAction*> inserts = w->TagCommands().InsertActions();
    ASSERT_EQ(inserts.size(), 7);
    for (QAction* a : inserts) EXPECT_TRUE(tag->actions().contains(a)) << a->objectName().toStdString();
    EXPECT_EQ(Child<QToolBar>(*w, "tbTags")->actions(), inserts);
    EXPECT_EQ(Child<QMenu>(*w, "mnuEditorPopInsert")->actions(), inserts);
    struct Row {
        const char* action;
        const char* keys;
    } rows[] = {
        {"actAddTopicLink", "Ctrl+Shift+L"}, {"actAddPopupLink", "Ctrl+Shift+P"},
        {"actAddNoScroll", "Ctrl+Shift+N"},  {"actAddAnchor", "Ctrl+Shift+A"},
        {"actAddMacro", "Ctrl+Shift+M"},     {"actAddBitmap", "Ctrl+Shift+I"},
        {"actAddButton", "Ctrl+Shift+B"},    {"actEditTag", "F10"},
        {"actListMembers", "Ctrl+Space"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        EXPECT_EQ(Act(*w, row.action)->shortcut(), QKeySequence(QString::fromLatin1(row.keys)));
        EXPECT_FALSE(Act(*w, row.action)->statusTip().isEmpty());
    }
    for (const char* name : {"actAddSound", "actAddVideo", "actAddRtfTag", "actStartTag", "actEndTag", "actEditTag",
                             "actListMembers", "actPopTopics", "actPopPopups"})
        EXPECT_TRUE(tag->actions().contains(Act(*w, name))) << name;
}

TEST_F(TagCommandsTest, TopicLinkOverSelectedTextThenBuild) {
    auto w = StartPlain("Look: see Beta here.");
    SelectText(*w, "see Beta");
    ui.ExpectDialog("frmNewTopicLink", [&](QDialog& d) {
        auto& f = static_cast<qm::TfrmNewTopicLink&>(d);
        EXPECT_EQ(f.txtHotSpot->text(), "see Beta");
        EXPECT_EQ(f.cboTopics->currentText(), "Contents");  // the first topic until chosen
        f.cboTopics->setCurrentIndex(f.cboTopics->findText("Beta"));
        f.cboWindows->setCurrentIndex(f.cboWindows->findText("second"));
        return ClickOk(d);
    });
    Act(*w, "actAddTopicLink")->trigger();
    const QString tag = "<LINK TOPIC=\"Beta\" WINDOW=second>see Beta</LINK>";
    EXPECT_EQ(EditorText(*w), "Look: " + tag + " here.");
    EXPECT_EQ(Caret(*w), 6 + tag.size());
    EXPECT_EQ(w->Editor()->GetSelLength(), 0);
    EXPECT_TRUE(w->Project().Modified);

    // The build turns it into a jump into the window "second".
    w->Options().CompilerPath = root_ + "hc";
    std::string rtf;
    ui.compiler.onRun = [&](const qm::CompilerCall&) { rtf = ReadText(w->BuildCommands().WorkFolder() + "Alpha.rtf"); };
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(ui.compiler.calls.size(), 1u);
    EXPECT_NE(rtf.find("\\uldb see Beta\\ulnone\\v Beta>second\\v0 "), std::string::npos) << rtf;
}

TEST_F(TagCommandsTest, EachCommandOpensItsFormWithItsHelp) {
    struct Row {
        const char* action;
        const char* form;
        int help;
    } rows[] = {
        {"actAddTopicLink", "frmNewTopicLink", 115}, {"actAddPopupLink", "frmNewPopupLink", 155},
        {"actAddButton", "frmNewButton", 165},       {"actAddMacro", "frmNewMacroTag", 160},
        {"actAddSound", "frmNewSound", 180},         {"actAddVideo", "frmNewVideo", 185},
        {"actAddRtfTag", "frmNewRtfExpr", 170},      {"actAddBitmap", "frmNewImage", 175},
    };
    auto w = StartPlain("text");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        ui.helpContexts.clear();
        SelectText(*w, "ex");
        ui.ExpectDialog(row.form, [](QDialog& d) {
            d.findChild<QPushButton*>("cmdHelp")->click();
            return QDialog::Rejected;
        });
        Act(*w, row.action)->trigger();
        EXPECT_EQ(ui.helpContexts, std::vector<int>({row.help}));
        // Cancelled: nothing changes, the selection stays.
        EXPECT_EQ(EditorText(*w), "text");
        EXPECT_EQ(w->Editor()->GetSelText(), "ex");
        EXPECT_FALSE(w->Editor()->CanUndo());
    }
}

TEST_F(TagCommandsTest, TheFormsInsertAroundTheSelection) {
    struct Row {
        const char* name;
        const char* action;
        const char* form;
        QString selected;
        std::function<void(QDialog&)> fill;
        QString tag;
    } rows[] = {
        {"popup link", "actAddPopupLink", "frmNewPopupLink", "pop",
         [](QDialog& d) { EXPECT_EQ(static_cast<qm::TfrmNewPopupLink&>(d).txtHotSpot->text(), "pop"); },
         "<LINK POPUP=\"PopOne\">pop</LINK>"},
        {"macro", "actAddMacro", "frmNewMacroTag", "go",
         [](QDialog& d) {
             auto& f = static_cast<qm::TfrmNewMacroTag&>(d);
             EXPECT_EQ(f.txtHotSpot->text(), "go");
             f.txtMacro->setText("About()");
         },
         "<MACRO About()>go</MACRO>"},
        {"button", "actAddButton", "frmNewButton", "Press",
         [](QDialog& d) {
             auto& f = static_cast<qm::TfrmNewButton&>(d);
             EXPECT_EQ(f.txtCaption->text(), "Press");
             f.txtMacro->setText("About()");
         },
         "<BTN About()>Press</BTN>"},
        {"sound", "actAddSound", "frmNewSound", "s.wav",
         [](QDialog& d) { EXPECT_EQ(static_cast<qm::TfrmNewSound&>(d).txtSoundFile->text(), "s.wav"); },
         "<SOUND \"s.wav\">"},
        {"video", "actAddVideo", "frmNewVideo", "v.avi",
         [](QDialog& d) {
             auto& f = static_cast<qm::TfrmNewVideo&>(d);
             EXPECT_EQ(f.txtVideoFile->text(), "v.avi");
             f.chkAutoPlay->setChecked(true);
         },
         "<VIDEO Play \"v.avi\">"},
        {"raw RTF, no preset", "actAddRtfTag", "frmNewRtfExpr", "sel",
         [](QDialog& d) {
             auto& f = static_cast<qm::TfrmNewRtfExpr&>(d);
             EXPECT_EQ(f.txtRtf->toPlainText(), "");
             f.txtRtf->setPlainText("\\b");
         },
         "<RTF \"\\b\">"},
        {"image, the selection unused", "actAddBitmap", "frmNewImage", "sel",
         [](QDialog& d) {
             auto& f = static_cast<qm::TfrmNewImage&>(d);
             EXPECT_EQ(f.txtImage->text(), "");
             EXPECT_EQ(f.cboAlign->currentText(), "Character");
             f.txtImage->setText("a.bmp");
         },
         "<IMAGEC \"a.bmp\">"},
    };
    auto w = StartPlain("");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, "[" + row.selected + "]");
        SelectText(*w, row.selected);
        ui.ExpectDialog(row.form, [&](QDialog& d) {
            row.fill(d);
            return ClickOk(d);
        });
        Act(*w, row.action)->trigger();
        EXPECT_EQ(EditorText(*w), "[" + row.tag + "]");
        EXPECT_EQ(Caret(*w), 1 + row.tag.size());
        // One step.
        w->Editor()->Undo();
        EXPECT_EQ(EditorText(*w), "[" + row.selected + "]");
        EXPECT_FALSE(w->Editor()->CanUndo());
    }
}

TEST_F(TagCommandsTest, ASelectionThroughAFormKeepsWhatTheCodePageLacks) {
    auto w = StartPlain(QStringLiteral("x a\u2192b y"));
    SelectText(*w, QStringLiteral("a\u2192b"));
    ui.ExpectDialog("frmNewTopicLink", [](QDialog& d) {
        EXPECT_EQ(static_cast<qm::TfrmNewTopicLink&>(d).txtHotSpot->text(), "a?b");
        return ClickOk(d);
    });
    Act(*w, "actAddTopicLink")->trigger();
    EXPECT_EQ(EditorText(*w), QStringLiteral("x <LINK TOPIC=\"Contents\" WINDOW=main>a\u2192b</LINK> y"));
}

TEST_F(TagCommandsTest, MacroBuilderFromTheMacroForm) {
    auto w = StartPlain("go");
    SelectText(*w, "go");
    ui.ExpectDialog("frmNewMacroTag", [&](QDialog& d) {
        auto& form = static_cast<qm::TfrmNewMacroTag&>(d);
        ui.ExpectDialog("frmMacroEdit", [&](QDialog& nested) {
            auto& builder = static_cast<qm::TfrmMacroEdit&>(nested);
            EXPECT_EQ(builder.parentWidget(), &form);
            // The catalogue beside the program, and its help file there too.
            EXPECT_EQ(builder.lstMacros->count(), 3);
            builder.lstMacros->setCurrentRow(0);
            builder.cmdMacroHelp->click();
            builder.SetExpression("About()");
            return ClickOk(nested);
        });
        form.cmdBrowseMacro->click();
        EXPECT_EQ(form.txtMacro->text(), "About()");
        return ClickOk(d);
    });
    Act(*w, "actAddMacro")->trigger();
    EXPECT_EQ(EditorText(*w), "<MACRO About()>go</MACRO>");
    ASSERT_EQ(ui.viewer.shown.size(), 1u);
    EXPECT_EQ(ui.viewer.shown[0].helpFile, root_ + "prog/Macros.hlp");
    EXPECT_EQ(ui.viewer.shown[0].context, 1);
}

TEST_F(TagCommandsTest, WithoutTheFormsTheTagGoesAroundTheSelection) {
    struct Row {
        const char* name;
        const char* action;
        QString body;
        QString selected;  // empty: the caret after "x "
        QString after;
        int selStart;
        int selLength;
    } rows[] = {
        {"topic link", "actAddTopicLink", "x Overview y", "Overview", "x <LINK TOPIC=\"Overview\">Overview</LINK> y",
         15, 8},
        {"popup link, no selection", "actAddPopupLink", "x y", "", "x <LINK POPUP=\"\"></LINK>y", 15, 0},
        {"non-scrolling region", "actAddNoScroll", "x abc y", "abc", "x <NOSCROLL>abc</NOSCROLL> y", 12, 0},
        {"anchor", "actAddAnchor", "x here y", "here", "x <ANCHOR \"here\"> y", 17, 0},
        {"anchor, no selection", "actAddAnchor", "x y", "", "x <ANCHOR \"\">y", 11, 0},
        {"macro", "actAddMacro", "x go y", "go", "x <MACRO >go</MACRO> y", 9, 0},
        {"image", "actAddBitmap", "x a.bmp y", "a.bmp", "x <IMAGE \"a.bmp\"> y", 10, 5},
        {"button", "actAddButton", "x OK y", "OK", "x <BTN >OK</BTN> y", 7, 0},
        {"sound", "actAddSound", "x y", "", "x <SOUND \"\">y", 10, 0},
        {"video", "actAddVideo", "x y", "", "x <VIDEO \"\">y", 10, 0},
        {"raw RTF", "actAddRtfTag", "x y", "", "x <RTF \"\">y", 8, 0},
        {"start tag", "actStartTag", "x y", "", "x <>y", 3, 0},
        {"start tag around", "actStartTag", "x B y", "B", "x <B> y", 5, 0},
        {"end tag", "actEndTag", "x y", "", "x </>y", 4, 0},
        {"end tag around", "actEndTag", "x B y", "B", "x </B> y", 6, 0},
        {"an arrow survives", "actAddTopicLink", QStringLiteral("x a\u2192b y"), QStringLiteral("a\u2192b"),
         QStringLiteral("x <LINK TOPIC=\"a\u2192b\">a\u2192b</LINK> y"), 15, 3},
    };
    auto w = StartPlain("", false);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, row.body);
        if (row.selected.isEmpty())
            Select(*w, 2);
        else
            SelectText(*w, row.selected);
        Act(*w, row.action)->trigger();
        EXPECT_EQ(EditorText(*w), row.after);
        EXPECT_EQ(Caret(*w), row.selStart);
        EXPECT_EQ(w->Editor()->GetSelLength(), row.selLength);
        w->Editor()->Undo();
        EXPECT_EQ(EditorText(*w), row.body);
        EXPECT_FALSE(w->Editor()->CanUndo());
    }
}

// An insertion ends in the editor; a cancelled form leaves the focus where
// it was (here the topic list, as after a click into it).
TEST_F(TagCommandsTest, TheFocusAfterAnInsertion) {
    auto w = StartPlain("x sel y");
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QWidget* topics = Child<QWidget>(*w, "lstTopics");
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "confirmed" : "cancelled");
        SelectText(*w, "sel");
        topics->setFocus();
        ASSERT_TRUE(topics->hasFocus());
        ui.ExpectDialog("frmNewButton", [&](QDialog& d) {
            static_cast<qm::TfrmNewButton&>(d).txtMacro->setText("About()");
            return ok ? ClickOk(d) : int(QDialog::Rejected);
        });
        Act(*w, "actAddButton")->trigger();
        EXPECT_EQ(w->Editor()->hasFocus(), ok);
        EXPECT_EQ(topics->hasFocus(), !ok);
    }
    EXPECT_EQ(EditorText(*w), "x <BTN About()>sel</BTN> y");
}

TEST_F(TagCommandsTest, NonScrollingRegionNeverAsksForAForm) {
    auto w = StartPlain("x abc y", true);
    SelectText(*w, "abc");
    Act(*w, "actAddNoScroll")->trigger();  // an unscripted form would fail the test
    EXPECT_EQ(EditorText(*w), "x <NOSCROLL>abc</NOSCROLL> y");
}

TEST_F(TagCommandsTest, AnchorNamesAsked) {
    struct Row {
        const char* name;
        std::optional<QString> answer;
        bool refused;
        QString after;
    } rows[] = {
        {"a name", QString("  here "), false, "x <ANCHOR \"  here \"> y"},
        {"cancelled", std::nullopt, false, "x sel y"},
        {"blanks only", QString("   "), false, "x sel y"},
        {"a quote", QString("a\"b"), true, "x sel y"},
        {"an opening bracket", QString("<a"), true, "x sel y"},
        {"a closing bracket", QString("a>"), true, "x sel y"},
    };
    auto w = StartPlain("");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, "x sel y");
        SelectText(*w, "sel");
        ui.ExpectInput(row.answer, "New anchor name:");
        if (row.refused) ui.ExpectMessage(MsgKind::Information, qm::kMsgBadAnchorName);
        Act(*w, "actAddAnchor")->trigger();
        EXPECT_EQ(EditorText(*w), row.after);
        EXPECT_EQ(ui.records.back().text, row.refused ? QString::fromUtf8(qm::kMsgBadAnchorName)
                                                      : QStringLiteral("Insert Anchor: New anchor name:"));
    }
}

TEST_F(TagCommandsTest, EditingAnAnchor) {
    auto w = StartPlain("x <ANCHOR \"old\"> y");
    const Snapshot before = Snap(*w);
    for (const char* refused : {"a\"b", "x>"}) {
        SCOPED_TRACE(refused);
        Select(*w, 4);
        ui.ExpectInput(QString::fromLatin1(refused));
        ui.ExpectMessage(MsgKind::Information, qm::kMsgBadAnchorName);
        Act(*w, "actEditTag")->trigger();
        EXPECT_EQ(EditorText(*w), before.text);
    }
    Select(*w, 4);
    ui.ExpectInput(QString(" "));
    Act(*w, "actEditTag")->trigger();
    EXPECT_EQ(EditorText(*w), before.text);
    EXPECT_FALSE(w->Editor()->CanUndo());
    Select(*w, 4);
    ui.ExpectInput(QString("new"));
    Act(*w, "actEditTag")->trigger();
    EXPECT_EQ(EditorText(*w), "x <ANCHOR \"new\"> y");
    w->Editor()->Undo();
    EXPECT_EQ(EditorText(*w), before.text);
}

// F10 on each kind of tag, from each place in it, with the form (or the
// anchor question) confirmed unchanged: the text, its formatting, the undo
// history and the modified flag stay as they were.
TEST_F(TagCommandsTest, EditTagConfirmedUnchangedChangesNothing) {
    struct Row {
        const char* name;
        QString body;
        QStringList places;  // the caret goes one past the start of each
        const char* form;    // nullptr: the anchor question
    } rows[] = {
        {"topic link with anchor, window and a file with a blank",
         "a <LINK TOPIC=\"Beta:anc\" WINDOW=second FILE=my help.hlp>see Beta</LINK> b",
         {"<LINK", "ee Beta", "/LINK"},
         "frmNewTopicLink"},
        {"topic link without window", "<LINK TOPIC=\"Beta\">x</LINK>", {"<LINK", "/LINK"}, "frmNewTopicLink"},
        {"a topic named like a window", "<LINK TOPIC=\"MainWindowHelp\">x</LINK>", {"<LINK"}, "frmNewTopicLink"},
        {"a file that is no project topic",
         "<LINK TOPIC=\"ctx_1\" FILE=other.hlp>x</LINK>",
         {"<LINK"},
         "frmNewTopicLink"},
        {"user-defined topic link", "<ULINK TOPIC=\"Beta\">x</ULINK>", {"<ULINK", "/ULINK"}, "frmNewTopicLink"},
        {"popup link with file", "<LINK POPUP=\"PopOne\" FILE=other.hlp>p</LINK>", {"<LINK"}, "frmNewPopupLink"},
        {"user-defined popup link", "<ULINK POPUP=\"PopOne\">p</ULINK>", {"<ULINK"}, "frmNewPopupLink"},
        {"image hotspot", "<LINK TOPIC=\"Beta\"><IMAGE \"a.bmp\"></LINK>", {"<LINK", "/LINK"}, "frmNewTopicLink"},
        {"left image hotspot of a popup",
         "<LINK POPUP=\"PopOne\"><IMAGEL \"a.bmp\"></LINK>",
         {"<LINK"},
         "frmNewPopupLink"},
        {"right image hotspot of a macro", "<MACRO About()><imager \"b.shg\"></MACRO>", {"<MACRO"}, "frmNewMacroTag"},
        {"hotspot a\u2192b",
         QStringLiteral("<LINK TOPIC=\"Beta\">a\u2192b</LINK>"),
         {"<LINK", "\u2192b"},
         "frmNewTopicLink"},
        {"macro", "<MACRO JumpId(\"a.hlp\", \"b\")>go</MACRO>", {"<MACRO", "o</"}, "frmNewMacroTag"},
        {"user-defined macro", "<UMACRO About()>go</UMACRO>", {"<UMACRO"}, "frmNewMacroTag"},
        {"button", "<BTN About()>Press</BTN>", {"<BTN", "ress"}, "frmNewButton"},
        {"sound", "<SOUND External \"s.wav\">", {"<SOUND"}, "frmNewSound"},
        {"video", "<VIDEO External Play Playbar \"v.avi\">", {"<VIDEO"}, "frmNewVideo"},
        {"raw RTF", "<RTF \"\\par\">", {"<RTF"}, "frmNewRtfExpr"},
        {"plain image", "<IMAGE \"a.bmp\">", {"<IMAGE"}, "frmNewImage"},
        {"image in lower case", "<imagec \"a.bmp\">", {"<imagec"}, "frmNewImage"},
        {"left image", "<IMAGEL \"a.bmp\">", {"<IMAGEL"}, "frmNewImage"},
        {"anchor", "<ANCHOR \"here\">", {"<ANCHOR"}, nullptr},
    };
    auto w = StartPlain("");
    for (const Row& row : rows) {
        for (const QString& place : row.places) {
            SCOPED_TRACE(std::string(row.name) + " at " + place.toStdString());
            SetBody(*w, "[" + row.body + "]");
            w->Project().BmRoot.clear();
            const Snapshot before = Snap(*w);
            Select(*w, static_cast<int>(EditorText(*w).indexOf(place)) + 1);
            if (row.form)
                ui.ExpectDialog(row.form, ClickOk);
            else
                ui.ExpectInput(QString("here"));
            Act(*w, "actEditTag")->trigger();
            ui.ExpectAllAnswered(row.name);
            const Snapshot after = Snap(*w);
            EXPECT_EQ(after.text, before.text);
            EXPECT_EQ(after.rtf, before.rtf);
            EXPECT_FALSE(after.canUndo);
            EXPECT_FALSE(after.modified);
            EXPECT_TRUE(w->Project().BmRoot.empty());
        }
    }
}

TEST_F(TagCommandsTest, EditTagChangesOnlyWhatTheFormChanged) {
    auto w = StartWith("x <LINK TOPIC=\"Beta\">see {\\b Beta}</LINK> y");
    const std::string before = w->Editor()->GetRtfText();
    Select(*w, static_cast<int>(EditorText(*w).indexOf("Beta</")));
    ui.ExpectDialog("frmNewTopicLink", [](QDialog& d) {
        auto& f = static_cast<qm::TfrmNewTopicLink&>(d);
        EXPECT_EQ(f.cboTopics->currentText(), "Beta");
        EXPECT_EQ(f.txtHotSpot->text(), "see Beta");
        EXPECT_EQ(f.cboWindows->currentText(), "");
        f.cboTopics->setCurrentIndex(f.cboTopics->findText("intro"));
        return ClickOk(d);
    });
    Act(*w, "actEditTag")->trigger();
    EXPECT_EQ(EditorText(*w), "x <LINK TOPIC=\"intro\">see Beta</LINK> y");
    // The hotspot's bold word stays bold; the caret goes after the tag.
    EXPECT_NE(w->Editor()->GetRtfText().find("\\b Beta\\b0"), std::string::npos) << w->Editor()->GetRtfText();
    EXPECT_EQ(Caret(*w), static_cast<int>(EditorText(*w).indexOf(" y")));
    EXPECT_TRUE(w->Project().Modified);
    w->Editor()->Undo();
    EXPECT_EQ(w->Editor()->GetRtfText(), before);
    EXPECT_FALSE(w->Editor()->CanUndo());
}

TEST_F(TagCommandsTest, EditTagReplacesTheWholeLinkOrOnlyTheStartTag) {
    auto w = StartPlain("<BTN About()>Press</BTN> <IMAGE \"a.bmp\">");
    Select(*w, 20);  // in the end tag
    ui.ExpectDialog("frmNewButton", [](QDialog& d) {
        auto& f = static_cast<qm::TfrmNewButton&>(d);
        EXPECT_EQ(f.txtMacro->text(), "About()");
        EXPECT_EQ(f.txtCaption->text(), "Press");
        f.txtCaption->setText("Go");
        return ClickOk(d);
    });
    Act(*w, "actEditTag")->trigger();
    EXPECT_EQ(EditorText(*w), "<BTN About()>Go</BTN> <IMAGE \"a.bmp\">");
    Select(*w, static_cast<int>(EditorText(*w).indexOf("<IMAGE")));
    ui.ExpectDialog("frmNewImage", [](QDialog& d) {
        auto& f = static_cast<qm::TfrmNewImage&>(d);
        EXPECT_EQ(f.txtImage->text(), "a.bmp");
        EXPECT_EQ(f.cboAlign->currentText(), "Character");  // plain IMAGE sits in line
        f.cboAlign->setCurrentIndex(1);
        return ClickOk(d);
    });
    Act(*w, "actEditTag")->trigger();
    EXPECT_EQ(EditorText(*w), "<BTN About()>Go</BTN> <IMAGEL \"a.bmp\">");
}

TEST_F(TagCommandsTest, EditTagOutsideAnEditableTagDoesNothing) {
    const QString body =
        "prose <LINK  TOPIC=\"a\">two blanks</LINK> <NOSCROLL>n</NOSCROLL> <LINK TOPIC=\"a\">open <IMAGE \"a.bmp\"";
    auto w = StartPlain(body);
    for (const char* place : {"rose", "two", "<NOSCROLL", "open", "<IMAGE"}) {
        SCOPED_TRACE(place);
        Select(*w, static_cast<int>(body.indexOf(place)) + 1);
        Act(*w, "actEditTag")->trigger();  // any form would be unscripted
        EXPECT_EQ(EditorText(*w), body);
    }
    // Just after a single tag's ">".
    SetBody(*w, "<IMAGE \"a.bmp\">x");
    Select(*w, 15);
    Act(*w, "actEditTag")->trigger();
    EXPECT_FALSE(w->Editor()->CanUndo());
}

TEST_F(TagCommandsTest, TheEditorMenuFollowsTheTagAtTheCaret) {
    struct Row {
        const char* name;
        QString body;
        bool editTag;
        bool viewImage;
        bool editImage;
    } rows[] = {
        {"topic link", "<LINK TOPIC=\"a\">x</LINK>", true, false, false},
        {"two blanks before TOPIC", "<LINK  TOPIC=\"a\">x</LINK>", false, false, false},
        {"bitmap", "<IMAGE \"a.bmp\">", true, true, true},
        {"hypergraphic", "<IMAGER \"A.SHG\">", true, true, true},
        {"metafile", "<IMAGEC \"a.wmf\">", true, true, false},
        {"no scroll", "<NOSCROLL>x</NOSCROLL>", false, false, false},
        {"prose", "prose", false, false, false},
    };
    auto w = StartPlain("");
    qm::TTagCommands& tags = w->TagCommands();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, row.body);
        Select(*w, 2);
        emit tags.EditorPopMenu->aboutToShow();
        EXPECT_EQ(tags.mnuEditorPopEditTag->isEnabled(), row.editTag);
        EXPECT_EQ(tags.mnuEditorPopViewImage->isEnabled(), row.viewImage);
        EXPECT_EQ(tags.mnuEditorPopEditImage->isEnabled(), row.editImage);
    }
    // The menu's Edit Tag is the command.
    SetBody(*w, "<ANCHOR \"a\">");
    Select(*w, 2);
    emit tags.EditorPopMenu->aboutToShow();
    ui.ExpectInput(QString("b"));
    tags.mnuEditorPopEditTag->trigger();
    EXPECT_EQ(EditorText(*w), "<ANCHOR \"b\">");
    EXPECT_EQ(w->Editor()->contextMenuPolicy(), Qt::CustomContextMenu);
}

// Image folders: one routine adds a chosen image's folder, once, compared
// and stored without a trailing separator, never an empty one and never the
// project's own.
TEST_F(TagCommandsTest, TheImageFolderOfAChosenImage) {
    struct Row {
        const char* name;
        std::string file;
        qm::StringList bmRoot;  // afterwards
    };
    auto w = StartPlain("");
    const std::string pics = root_ + "pics";
    const Row rows[] = {
        {"a bare file name adds nothing", "a.bmp", {}},
        {"a new folder", pics + "/a.bmp", {pics}},
        {"the same folder again", pics + "/b.bmp", {pics}},
        {"in other case", qm::AsciiUpperStr(pics) + "/c.bmp", {pics}},
        {"with doubled separators", pics + "//d.bmp", {pics}},
        {"a Windows folder", "C:\\Art\\a.bmp", {pics, "C:\\Art"}},
        {"the same, other separators", "c:/art/b.bmp", {pics, "C:\\Art"}},
        {"the project's own folder", root_ + "e.bmp", {pics, "C:\\Art"}},
        {"blanks only around a name", "  f.bmp  ", {pics, "C:\\Art"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, "");
        ui.ExpectDialog("frmNewImage", [&](QDialog& d) {
            static_cast<qm::TfrmNewImage&>(d).txtImage->setText(qm::FromCp1252(row.file));
            return ClickOk(d);
        });
        Act(*w, "actAddBitmap")->trigger();
        EXPECT_EQ(w->Project().BmRoot, row.bmRoot);
    }
    // A folder the project lists with a trailing separator counts as the same.
    w->Project().BmRoot = {"D:\\Pictures\\"};
    ui.ExpectDialog("frmNewImage", [&](QDialog& d) {
        static_cast<qm::TfrmNewImage&>(d).txtImage->setText("d:\\pictures\\x.bmp");
        return ClickOk(d);
    });
    Act(*w, "actAddBitmap")->trigger();
    EXPECT_EQ(w->Project().BmRoot, qm::StringList({"D:\\Pictures\\"}));
    // An image hotspot of a link adds its folder too.
    ui.ExpectDialog("frmNewTopicLink", [&](QDialog& d) {
        auto& f = static_cast<qm::TfrmNewTopicLink&>(d);
        f.optImgHotSpot->setChecked(true);
        f.txtBmp->setText(qm::FromCp1252(root_ + "art/h.bmp"));
        return ClickOk(d);
    });
    Act(*w, "actAddTopicLink")->trigger();
    EXPECT_EQ(w->Project().BmRoot, qm::StringList({"D:\\Pictures\\", root_ + "art"}));
    EXPECT_TRUE(EditorText(*w).contains("<IMAGEC \"h.bmp\">"));
}

}  // namespace
}  // namespace qmtest
