// The topic-link form: its tag, its presets for a new and an edited link
// (an unchanged edit gives the tag back as it was), the editable name boxes,
// the hotspot choice, the anchor check, browsing, and the run through the
// factory.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "dialogs/newtopiclink.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewTopicLink;
using qm::TTagPreset;

class TopicLinkTest : public TagFormTest {};

TEST_F(TopicLinkTest, ANewLinkOffersTheProjectsTopicsAndWindows) {
    TfrmNewTopicLink d(ui, project);
    d.Preset({});
    d.Activate();
    EXPECT_EQ(d.windowTitle(), "Topic Link Tag Editor");
    ASSERT_EQ(d.cboTopics->count(), 3);  // topics only, in list order
    EXPECT_EQ(d.cboTopics->itemText(1), "Intro");
    EXPECT_EQ(d.cboTopics->currentText(), "Contents");
    EXPECT_EQ(d.cboWindows->count(), 2);
    EXPECT_EQ(d.cboWindows->currentText(), "main");
    EXPECT_TRUE(d.optTxtHotSpot->isChecked());
    EXPECT_EQ(d.cboAlign->currentText(), "Character");
    EXPECT_FALSE(d.cmdOk->isEnabled());  // no hotspot yet
    // The name boxes take any text and never add it to their lists.
    for (QComboBox* box : {d.cboTopics, d.cboWindows}) {
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->insertPolicy(), QComboBox::NoInsert);
    }
}

TEST_F(TopicLinkTest, GetTagBuildsTheLinkFromTheControls) {
    struct Row {
        const char* name;
        QString topic, anchor, window, file, hotspot, bmp;
        int align = 0;
        bool image = false;
        bool user = false;
        std::string tag;
    } rows[] = {
        {"text hotspot, no window", "Intro", "", "", "", "see intro", "", 0, false, false,
         "<LINK TOPIC=\"Intro\">see intro</LINK>"},
        {"the first window as preset", "Intro", "", "main", "", "hot", "", 0, false, false,
         "<LINK TOPIC=\"Intro\" WINDOW=main>hot</LINK>"},
        {"anchor, window and file", "t", "a", "main", "x.hlp", "hot", "", 0, false, false,
         "<LINK TOPIC=\"t:a\" WINDOW=main FILE=x.hlp>hot</LINK>"},
        {"a window of blanks is left out", "Intro", "", "  ", "", "hot", "", 0, false, false,
         "<LINK TOPIC=\"Intro\">hot</LINK>"},
        {"the window is written untrimmed", "Intro", "", " second", "", "hot", "", 0, false, false,
         "<LINK TOPIC=\"Intro\" WINDOW= second>hot</LINK>"},
        {"a file with a blank", "Intro", "", "", "my help.hlp", "hot", "", 0, false, false,
         "<LINK TOPIC=\"Intro\" FILE=my help.hlp>hot</LINK>"},
        {"user defined", "Intro", "", "", "", "hot", "", 0, false, true, "<ULINK TOPIC=\"Intro\">hot</ULINK>"},
        {"image hotspot, Character", "Intro", "", "", "", "", "C:\\pics\\a.bmp", 0, true, false,
         "<LINK TOPIC=\"Intro\"><IMAGEC \"a.bmp\"></LINK>"},
        {"image hotspot, Left", "Intro", "", "", "", "", "/work/pics/a.bmp", 1, true, false,
         "<LINK TOPIC=\"Intro\"><IMAGEL \"a.bmp\"></LINK>"},
        {"image hotspot, Right", "Intro", "", "", "", "", "a.bmp", 2, true, false,
         "<LINK TOPIC=\"Intro\"><IMAGER \"a.bmp\"></LINK>"},
        {"an image hotspot is never user defined", "Intro", "", "", "", "text", "a.bmp", 0, true, true,
         "<LINK TOPIC=\"Intro\"><IMAGEC \"a.bmp\"></LINK>"},
        {"no topic", "", "", "", "", "hot", "", 0, false, false, "<LINK TOPIC=\"\">hot</LINK>"},
        {"Windows-1252 text", QString::fromUtf8("caf\u00e9"), "", "", "", QString::fromUtf8("\u20ac 5"), "", 0, false,
         false, "<LINK TOPIC=\"caf\xe9\">\x80 5</LINK>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewTopicLink d(ui, project);
        d.cboTopics->setEditText(row.topic);
        d.txtAnchor->setText(row.anchor);
        d.cboWindows->setEditText(row.window);
        d.txtFile->setText(row.file);
        d.txtHotSpot->setText(row.hotspot);
        d.txtBmp->setText(row.bmp);
        d.cboAlign->setCurrentIndex(row.align);
        d.chkUserDefined->setChecked(row.user);
        (row.image ? d.optImgHotSpot : d.optTxtHotSpot)->setChecked(true);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

// An edited link opens on its own parts; OK without a change gives the tag
// back byte for byte.
TEST_F(TopicLinkTest, AnUnchangedEditGivesTheSameTag) {
    struct Row {
        const char* name;
        TTagPreset preset;
        std::string tag;
    } rows[] = {
        {"window",
         {.Hotspot = "see Beta", .Topic = "Beta", .Window = "second"},
         "<LINK TOPIC=\"Beta\" WINDOW=second>see Beta</LINK>"},
        {"no window adds none",
         {.Hotspot = "see Beta", .Topic = "Beta", .Window = ""},
         "<LINK TOPIC=\"Beta\">see Beta</LINK>"},
        {"a topic with WINDOW in its name",
         {.Hotspot = "x", .Topic = "MainWindowHelp", .Window = ""},
         "<LINK TOPIC=\"MainWindowHelp\">x</LINK>"},
        {"a file with a blank, topic of another file",
         {.Hotspot = "h", .File = "other help.hlp", .Topic = "far_away", .Window = ""},
         "<LINK TOPIC=\"far_away\" FILE=other help.hlp>h</LINK>"},
        {"anchor with a second colon",
         {.Hotspot = "h", .Topic = "Intro", .Anchor = "part:two", .Window = ""},
         "<LINK TOPIC=\"Intro:part:two\">h</LINK>"},
        {"a window the project lacks",
         {.Hotspot = "h", .Topic = "Intro", .Window = "third"},
         "<LINK TOPIC=\"Intro\" WINDOW=third>h</LINK>"},
        {"user defined",
         {.Hotspot = "h", .UserDefined = true, .Topic = "Intro", .Window = ""},
         "<ULINK TOPIC=\"Intro\">h</ULINK>"},
        {"plain IMAGE hotspot",
         {.Hotspot = "<IMAGE \"a.bmp\">", .Topic = "Intro", .Window = ""},
         "<LINK TOPIC=\"Intro\"><IMAGE \"a.bmp\"></LINK>"},
        {"IMAGEL hotspot",
         {.Hotspot = "<IMAGEL \"a.bmp\">", .Topic = "Intro", .Window = ""},
         "<LINK TOPIC=\"Intro\"><IMAGEL \"a.bmp\"></LINK>"},
        {"IMAGER hotspot",
         {.Hotspot = "<IMAGER \"a.bmp\">", .Topic = "Intro", .Window = "main"},
         "<LINK TOPIC=\"Intro\" WINDOW=main><IMAGER \"a.bmp\"></LINK>"},
        {"lower-case image hotspot",
         {.Hotspot = "<imagec \"a.bmp\">", .Topic = "Intro", .Window = ""},
         "<LINK TOPIC=\"Intro\"><imagec \"a.bmp\"></LINK>"},
        {"an image with text after it stays text",
         {.Hotspot = "<IMAGE \"a.bmp\"> more", .UserDefined = true, .Topic = "Intro", .Window = ""},
         "<ULINK TOPIC=\"Intro\"><IMAGE \"a.bmp\"> more</ULINK>"},
        {"a hotspot over two paragraphs",
         {.Hotspot = "one\rtwo", .Topic = "Intro", .Window = ""},
         "<LINK TOPIC=\"Intro\">one\rtwo</LINK>"},
        {"arrow in the hotspot",
         {.Hotspot = "a\x86z", .Topic = "Intro", .Window = ""},
         "<LINK TOPIC=\"Intro\">a\x86z</LINK>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewTopicLink d(ui, project);
        d.Preset(row.preset);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(TopicLinkTest, AnImageHotspotPresetsItsFileAndPlacement) {
    struct Row {
        const char* name;
        std::string hotspot;
        QString align;
    } rows[] = {
        {"plain IMAGE stays in line", "<IMAGE \"a.bmp\">", "Character"},
        {"IMAGEC", "<IMAGEC \"a.bmp\">", "Character"},
        {"IMAGEL", "<IMAGEL \"a.bmp\">", "Left"},
        {"IMAGER", "<IMAGER \"a.bmp\">", "Right"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewTopicLink d(ui, project);
        d.Preset({.Hotspot = row.hotspot, .UserDefined = true, .Topic = "Intro"});
        d.Activate();
        EXPECT_TRUE(d.optImgHotSpot->isChecked());
        EXPECT_EQ(d.txtBmp->text(), "a.bmp");
        EXPECT_TRUE(d.txtHotSpot->text().isEmpty());
        EXPECT_EQ(d.cboAlign->currentText(), row.align);
        EXPECT_FALSE(d.chkUserDefined->isChecked());
        EXPECT_TRUE(d.cmdOk->isEnabled());
    }
}

TEST_F(TopicLinkTest, TheHotspotChoiceEnablesOneSide) {
    TfrmNewTopicLink d(ui, project);
    d.Activate();
    QWidget* imageSide[] = {d.txtBmp, d.cmdBrowseBmp, d.lblAlign, d.cboAlign};
    EXPECT_TRUE(d.txtHotSpot->isEnabled());
    EXPECT_TRUE(d.chkUserDefined->isEnabled());
    for (QWidget* w : imageSide) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    d.txtHotSpot->setText("text");
    EXPECT_TRUE(d.cmdOk->isEnabled());
    d.optImgHotSpot->setChecked(true);
    EXPECT_FALSE(d.txtHotSpot->isEnabled());
    EXPECT_FALSE(d.chkUserDefined->isEnabled());
    for (QWidget* w : imageSide) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(d.cmdOk->isEnabled());  // the image side is empty
    d.txtBmp->setText("a.bmp");
    EXPECT_TRUE(d.cmdOk->isEnabled());
}

TEST_F(TopicLinkTest, TheFactoryRunsTheFormAndGivesTheTag) {
    ui.ExpectDialog("frmNewTopicLink", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewTopicLink&>(dialog);
        EXPECT_EQ(d.txtHotSpot->text(), "see Beta");
        d.cboTopics->setCurrentIndex(d.cboTopics->findText("Beta"));
        d.cboWindows->setCurrentIndex(d.cboWindows->findText("second"));
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::TopicLink, {.Hotspot = "see Beta"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<LINK TOPIC=\"Beta\" WINDOW=second>see Beta</LINK>");
    EXPECT_EQ(result->ImageFile, "");
}

TEST_F(TopicLinkTest, OkStaysOffWithoutAHotspotAndCancelGivesNothing) {
    ui.ExpectDialog("frmNewTopicLink", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewTopicLink&>(dialog);
        EXPECT_FALSE(d.cmdOk->isEnabled());
        ClickOk(d);  // a disabled OK does nothing
        EXPECT_FALSE(d.Accepted());
        d.reject();
        return d.result();
    });
    EXPECT_EQ(RunTag(qm::TTagKind::TopicLink), std::nullopt);
}

TEST_F(TopicLinkTest, AnAnchorWithQuotesOrAngleBracketsIsRefused) {
    for (const char* bad : {"a\"b", "<a", "a>"}) {
        SCOPED_TRACE(bad);
        ui.ExpectDialog("frmNewTopicLink", [&](QDialog& dialog) {
            auto& d = static_cast<TfrmNewTopicLink&>(dialog);
            d.txtHotSpot->setText("hot");
            d.txtAnchor->setText(QString::fromUtf8(bad));
            ui.ExpectMessage(qm::MsgKind::Information, "An anchor name cannot contain quotes or angle brackets.");
            ClickOk(d);
            EXPECT_FALSE(d.Accepted());
            EXPECT_TRUE(d.isEnabled());
            d.txtAnchor->setText("good");
            return ClickOk(d);
        });
        const auto result = RunTag(qm::TTagKind::TopicLink, {.Topic = "Intro", .Window = ""});
        ASSERT_TRUE(result);
        EXPECT_EQ(result->Tag, "<LINK TOPIC=\"Intro:good\">hot</LINK>");
    }
}

TEST_F(TopicLinkTest, BrowsingPutsTheChosenFilesIntoTheForm) {
    ui.ExpectDialog("frmNewTopicLink", [&](QDialog& dialog) {
        auto& d = static_cast<TfrmNewTopicLink&>(dialog);
        d.optImgHotSpot->setChecked(true);
        ui.ExpectOpenFile(QStringLiteral("/work/pics/logo.bmp"));
        d.cmdBrowseBmp->click();
        ui.ExpectOpenFile(QStringLiteral("/work/other.hlp"));
        d.cmdBrowseFile->click();
        ui.ExpectOpenFile(std::nullopt);  // cancelled: the field stays
        d.cmdBrowseFile->click();
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::TopicLink, {.Topic = "Intro", .Window = ""});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<LINK TOPIC=\"Intro\" FILE=/work/other.hlp><IMAGEC \"logo.bmp\"></LINK>");
    EXPECT_EQ(result->ImageFile, "/work/pics/logo.bmp");
    EXPECT_EQ(result->ImageFolder(), "/work/pics");
    QStringList captions;
    for (const auto& r : ui.records)
        if (r.request == ScriptedUiServices::Request::OpenFile) captions << r.text;
    EXPECT_EQ(captions, QStringList({"Insert Bitmap", "External File", "External File"}));
}

TEST_F(TopicLinkTest, AWindowCanBeClearedAndATopicTyped) {
    ui.ExpectDialog("frmNewTopicLink", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewTopicLink&>(dialog);
        EXPECT_EQ(d.cboWindows->currentText(), "main");
        d.cboWindows->lineEdit()->clear();
        d.cboTopics->lineEdit()->setText("not_in_project");
        QTest::keyClick(d.cboTopics->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(d.cboTopics->count(), 3);  // Enter adds nothing to the list
        EXPECT_EQ(d.cboTopics->currentText(), "not_in_project");
        EXPECT_FALSE(d.Accepted());
        d.txtHotSpot->setText("h");
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::TopicLink);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<LINK TOPIC=\"not_in_project\">h</LINK>");
}

TEST_F(TopicLinkTest, TabRunsDownTheFormThenToTheButtons) {
    TfrmNewTopicLink d(ui, project);
    QStringList order;
    QWidget* w = d.cboTopics;
    do {
        if (!w->objectName().isEmpty() && (w->focusPolicy() & Qt::TabFocus)) order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != d.cboTopics && order.size() < 40);
    EXPECT_EQ(order, QStringList({"cboTopics", "optTxtHotSpot", "txtHotSpot", "optImgHotSpot", "txtBmp", "cmdBrowseBmp",
                                  "chkUserDefined", "cboAlign", "txtAnchor", "cboWindows", "txtFile", "cmdBrowseFile",
                                  "cmdOk", "cmdCancel", "cmdHelp"}));
}

TEST_F(TopicLinkTest, ScreenshotOfAnEditedLink) {
    TfrmNewTopicLink d(ui, project);
    d.Preset({.Hotspot = "see Beta", .Topic = "Beta", .Anchor = "details", .Window = "second"});
    Screenshot(d, "topiclink.png");
}

}  // namespace
}  // namespace qmtest
