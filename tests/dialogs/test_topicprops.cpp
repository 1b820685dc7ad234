// Topic Properties: loading a node, the OK checks in order with their texts,
// the three list pages, what OK stores and what Cancel and a refusal leave,
// the help of each page, and the decided edge cases: an unknown state byte,
// the browse field's width, context IDs never cut.
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "moduleprops_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmTopicProps;

class TopicPropsTest : public ModulePropsTest {};

TEST_F(TopicPropsTest, LoadTopicFillsEveryControl) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    EXPECT_EQ(d.objectName(), "frmTopicProps");
    EXPECT_EQ(d.windowTitle(), "Topic Properties");
    EXPECT_EQ(d.txtTopicName->text(), "Intro");
    EXPECT_EQ(d.txtTitle->text(), "Introduction");
    EXPECT_EQ(d.txtContext->text(), "10");
    EXPECT_EQ(d.cboWindows->count(), 2);
    EXPECT_EQ(d.cboWindows->currentText(), "second");
    EXPECT_EQ(d.cboState->currentText(), "Editing");
    EXPECT_EQ(Items(d.lstKeywords), (QStringList{"Index", "Start"}));
    EXPECT_EQ(d.lstKeywords->currentRow(), 0);
    EXPECT_EQ(Items(d.lstAKey), QStringList{"intro_a"});
    EXPECT_EQ(Items(d.lstMacros), QStringList{"About()"});
    EXPECT_EQ(d.tbsProperties->count(), 4);
    EXPECT_EQ(d.txtTopicName->maxLength(), 255);
    EXPECT_EQ(d.txtTitle->maxLength(), 255);
    EXPECT_EQ(d.txtBuildTag->maxLength(), 50);
    EXPECT_EQ(d.txtKeyword->maxLength(), 255);
    EXPECT_EQ(d.txtAKey->maxLength(), 255);
    // Add waits for text; Remove and Clear follow their lists.
    EXPECT_FALSE(d.cmdAdd->isEnabled());
    EXPECT_FALSE(d.cmdAddAkey->isEnabled());
    EXPECT_FALSE(d.cmdAddMacro->isEnabled());
    EXPECT_TRUE(d.cmdRemove->isEnabled());
    EXPECT_TRUE(d.cmdClearMacros->isEnabled());
    d.show();
    EXPECT_TRUE(d.lblContents->isHidden());
    EXPECT_TRUE(d.imgKey->isHidden());
    EXPECT_EQ(d.focusWidget(), d.txtTopicName);
}

TEST_F(TopicPropsTest, TheContentsTopicShowsItsMarkAndEmptyListsDisableTheirButtons) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(project.Topics.GetNode(0));
    d.show();
    EXPECT_FALSE(d.lblContents->isHidden());
    EXPECT_FALSE(d.imgKey->isHidden());
    EXPECT_TRUE(d.lblContents->font().bold());
    for (QPushButton* b :
         {d.cmdRemove, d.cmdClear, d.cmdRemoveAKey, d.cmdClearAKey, d.cmdRemoveMacro, d.cmdClearMacros})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(TopicPropsTest, NameChecks) {
    struct Row {
        const char* name;
        QString typed;
        const char* refusal;  // nullptr: stored
        std::string stored;
    } rows[] = {
        {"blanks only", "  ", "No topic name has been entered.", ""},
        {"a popup's name in other letter case", "NOTE", "\"NOTE\" : this topic name already exists.", ""},
        {"another topic's name", "beta", "\"beta\" : this topic name already exists.", ""},
        {"a blank inside: the blank message first", "my topic", "Spaces are not allowed in topic names.", ""},
        {"a bad last character", "intro$", "Invalid topic name.", ""},
        {"digits only", "12345", nullptr, "12345"},
        {"a change of letter case only", "INTRO", nullptr, "INTRO"},
        {"trimmed of blanks and tabs", " \tFresh_1 ", nullptr, "Fresh_1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Rebuild();
        qm::TTopicNode& intro = Node("Intro");
        const std::string before = Dump(intro);
        ExpectRefusal(r.refusal);
        const bool ok = OkTopic(intro, [&](TfrmTopicProps& d) { d.txtTopicName->setText(r.typed); });
        EXPECT_EQ(ok, r.refusal == nullptr);
        if (r.refusal)
            EXPECT_EQ(Dump(intro), before);
        else
            EXPECT_EQ(intro.GetName(), r.stored);
        ui.ExpectAllAnswered(r.name);
    }
}

TEST_F(TopicPropsTest, BrowseSequenceChecks) {
    struct Row {
        const char* browse;
        const char* refusal;
    } rows[] = {
        {"seq:10", nullptr},
        {"seq:1-0", nullptr},
        {"", nullptr},
        {"seq:", "Invalid browse sequence string."},
        {":10", "Invalid browse sequence string."},
        {"seq10", "Invalid browse sequence string."},
        {"seq:1a", "Invalid browse sequence string."},
        {"seq :10", "Spaces are not allowed in browse sequence strings."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.browse);
        qm::TTopicNode& intro = Node("Intro");
        intro.SetBrowse("old:1");
        ExpectRefusal(r.refusal);
        const bool ok = OkTopic(intro, [&](TfrmTopicProps& d) { d.txtBrowse->setText(QString::fromLatin1(r.browse)); });
        EXPECT_EQ(ok, r.refusal == nullptr);
        EXPECT_EQ(intro.GetBrowse(), r.refusal ? "old:1" : r.browse);
        ui.ExpectAllAnswered(r.browse);
    }
}

TEST_F(TopicPropsTest, TitleContextAndBuildTagChecks) {
    struct Row {
        const char* name;
        std::function<void(TfrmTopicProps&)> fill;
        const char* refusal;
    } rows[] = {
        {"an empty title with one keyword",
         [](TfrmTopicProps& d) {
             d.txtTitle->setText(" ");
             d.lstKeywords->clear();
             d.lstKeywords->addItem("k");
         },
         "Keywords have been defined and no topic title has been entered."},
        {"an empty title with only A-keywords",
         [](TfrmTopicProps& d) {
             d.txtTitle->clear();
             d.lstKeywords->clear();
         },
         nullptr},
        {"no context ID", [](TfrmTopicProps& d) { d.txtContext->clear(); }, "No context id has been entered."},
        {"the node's own ID", [](TfrmTopicProps& d) { d.txtContext->setText("010"); }, nullptr},
        {"a popup's ID", [](TfrmTopicProps& d) { d.txtContext->setText("5"); }, "5 : this context id already exists."},
        {"another topic's ID", [](TfrmTopicProps& d) { d.txtContext->setText("30"); },
         "30 : this context id already exists."},
        {"more than 32 bits", [](TfrmTopicProps& d) { d.txtContext->setText("99999999999"); },
         "99999999999 is not a valid integer value."},
        {"a blank in the build tag", [](TfrmTopicProps& d) { d.txtBuildTag->setText("a b"); },
         "Spaces are not allowed in build tags."},
        {"the name before the title",
         [](TfrmTopicProps& d) {
             d.txtTopicName->clear();
             d.txtTitle->clear();
         },
         "No topic name has been entered."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qm::TTopicNode& intro = Node("Intro");
        const std::string before = Dump(intro);
        ExpectRefusal(r.refusal);
        EXPECT_EQ(OkTopic(intro, r.fill), r.refusal == nullptr);
        if (r.refusal) {
            EXPECT_EQ(Dump(intro), before);
        }
        ui.ExpectAllAnswered(r.name);
        Rebuild();
    }
}

TEST_F(TopicPropsTest, OkStoresEveryFieldTrimmed) {
    qm::TTopicNode& intro = Node("Intro");
    ASSERT_TRUE(OkTopic(intro, [](TfrmTopicProps& d) {
        d.txtTopicName->setText(" Start ");
        d.txtTitle->setText("  The start\t");
        d.txtContext->setText("40");
        d.txtBuildTag->setText(" DRAFT ");
        d.txtBrowse->setText("  seq:20 ");
        d.cboWindows->setCurrentIndex(0);
        d.cboState->setCurrentIndex(0);
        d.lstKeywords->clear();
        d.txtKeyword->setText("alpha");
        d.cmdAdd->click();
        d.txtAKey->setText("beta");
        d.cmdAddAkey->click();
        d.txtMacro->setText("Next()");
        d.cmdAddMacro->click();
    }));
    EXPECT_EQ(intro.GetName(), "Start");
    EXPECT_EQ(intro.GetTitle(), "The start");
    EXPECT_EQ(intro.ContextId, 40);
    EXPECT_EQ(intro.GetBuildTag(), "DRAFT");
    EXPECT_EQ(intro.GetBrowse(), "seq:20");
    EXPECT_EQ(intro.GetWindow(), "main");
    EXPECT_EQ(intro.State, qm::TopicState::Done);
    EXPECT_EQ(intro.Keywords, (qm::StringList{"alpha"}));
    EXPECT_EQ(intro.AKeywords, (qm::StringList{"intro_a", "beta"}));
    EXPECT_EQ(intro.Macros, (qm::StringList{"About()", "Next()"}));
    // Each field was cleared across its width before the text went in.
    EXPECT_EQ(std::string(intro.Title.data(), intro.Title.width), "The start" + std::string(255 - 9, '\0'));
}

TEST_F(TopicPropsTest, AWindowTheProjectLacksShowsNoneAndOkStoresNone) {
    qm::TTopicNode& intro = Node("Intro");
    intro.SetWindow("proc9");
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(intro);
    EXPECT_EQ(d.cboWindows->currentIndex(), -1);
    d.show();
    d.cmdOk->click();
    ASSERT_TRUE(d.Accepted());
    EXPECT_EQ(intro.GetWindow(), "");
    // The window is found ignoring case, and OK stores the project's spelling.
    intro.SetWindow("SECOND");
    EXPECT_TRUE(OkTopic(intro, [](TfrmTopicProps& d) { EXPECT_EQ(d.cboWindows->currentText(), "second"); }));
    EXPECT_EQ(intro.GetWindow(), "second");
}

TEST_F(TopicPropsTest, KeywordPages) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    d.show();
    d.tbsProperties->setCurrentIndex(1);
    // A trimmed keyword equal to a listed one ignoring case is refused.
    d.txtKeyword->setText("  index ");
    EXPECT_TRUE(d.cmdAdd->isEnabled());
    ui.ExpectMessage(qm::MsgKind::Information, "This keyword is already in the list.");
    d.cmdAdd->click();
    EXPECT_EQ(Items(d.lstKeywords), (QStringList{"Index", "Start"}));
    EXPECT_EQ(d.txtKeyword->text(), "  index ");
    // Into an empty list it goes as typed, blanks and all.
    d.cmdClear->click();
    EXPECT_FALSE(d.cmdClear->isEnabled());
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    d.cmdAdd->click();
    EXPECT_EQ(Items(d.lstKeywords), QStringList{"  index "});
    EXPECT_EQ(d.lstKeywords->currentRow(), 0);
    EXPECT_TRUE(d.txtKeyword->text().isEmpty());
    EXPECT_FALSE(d.cmdAdd->isEnabled());
    EXPECT_TRUE(d.cmdRemove->isEnabled());
    EXPECT_EQ(d.focusWidget(), d.txtKeyword);

    d.tbsProperties->setCurrentIndex(2);
    d.txtAKey->setText("INTRO_A");
    ui.ExpectMessage(qm::MsgKind::Information, "This A-Keyword is already in the list.");
    d.cmdAddAkey->click();
    // Macros take any text, a repeated one too.
    d.tbsProperties->setCurrentIndex(3);
    d.txtMacro->setText("About()");
    d.cmdAddMacro->click();
    EXPECT_EQ(Items(d.lstMacros), (QStringList{"About()", "About()"}));
}

TEST_F(TopicPropsTest, RemoveSelectsTheSameRowOrTheLast) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    d.lstKeywords->clear();
    for (const char* k : {"a", "b", "c"}) d.lstKeywords->addItem(k);
    d.lstKeywords->setCurrentRow(1);
    d.cmdRemove->click();
    EXPECT_EQ(Items(d.lstKeywords), (QStringList{"a", "c"}));
    EXPECT_EQ(d.lstKeywords->currentItem()->text(), "c");
    d.cmdRemove->click();
    EXPECT_EQ(d.lstKeywords->currentItem()->text(), "a");
    d.cmdRemove->click();
    EXPECT_EQ(d.lstKeywords->count(), 0);
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdClear->isEnabled());
}

TEST_F(TopicPropsTest, CancelAfterEditsAndARefusedOkLeaveTheNodeAsItWas) {
    qm::TTopicNode& intro = Node("Intro");
    const std::string before = Dump(intro);
    ui.ExpectDialog("frmTopicProps", [this](QDialog& dialog) {
        auto& d = static_cast<TfrmTopicProps&>(dialog);
        d.txtKeyword->setText("new");
        d.cmdAdd->click();
        d.cmdRemove->click();
        d.cmdRemove->click();
        d.txtMacro->setText("X()");
        d.cmdAddMacro->click();
        d.txtTopicName->setText("my topic");
        ui.ExpectMessage(qm::MsgKind::Information, "Spaces are not allowed in topic names.");
        d.cmdOk->click();
        EXPECT_EQ(d.txtTopicName->text(), "my topic");
        d.cmdCancel->click();
        return d.result();
    });
    EXPECT_FALSE(factory.RunTopicProps(intro, project, macros));
    EXPECT_EQ(Dump(intro), before);
}

TEST_F(TopicPropsTest, HelpFollowsThePage) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    d.show();
    for (int page = 0; page < 4; ++page) {
        d.tbsProperties->setCurrentIndex(page);
        d.cmdHelp->click();
    }
    EXPECT_EQ(ui.helpContexts, (std::vector<int>{90, 95, 100, 105}));
}

TEST_F(TopicPropsTest, AListPageTakesEnterForItsAddButton) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    d.show();
    EXPECT_TRUE(d.cmdOk->isDefault());
    d.tbsProperties->setCurrentIndex(2);
    EXPECT_TRUE(d.cmdAddAkey->isDefault());
    EXPECT_FALSE(d.cmdOk->isDefault());
    EXPECT_EQ(d.focusWidget(), d.txtAKey);
    QTest::keyClicks(d.txtAKey, "more");
    QTest::keyClick(d.txtAKey, Qt::Key_Return);
    EXPECT_EQ(Items(d.lstAKey), (QStringList{"intro_a", "more"}));
    EXPECT_FALSE(d.Accepted());
    d.tbsProperties->setCurrentIndex(0);
    EXPECT_TRUE(d.cmdOk->isDefault());
    EXPECT_FALSE(d.cmdAddAkey->isDefault());
    EXPECT_EQ(d.focusWidget(), d.txtTopicName);
}

TEST_F(TopicPropsTest, TheMacroBuilderFillsTheEditButAddsNothing) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(Node("Intro"));
    d.show();
    d.tbsProperties->setCurrentIndex(3);
    ui.ExpectDialog("frmMacroEdit", [](QDialog& builder) {
        EXPECT_EQ(builder.findChild<QListWidget*>("lstExpression")->count(), 0);  // no preset
        builder.findChild<QPushButton*>("cmdAdd")->click();
        return ClickOk(builder);
    });
    d.cmdMacroEdit->click();
    EXPECT_EQ(d.txtMacro->text(), "About()");
    EXPECT_EQ(Items(d.lstMacros), QStringList{"About()"});
    EXPECT_TRUE(d.cmdAddMacro->isEnabled());
    // A cancelled builder leaves the edit alone.
    ui.ExpectDialog("frmMacroEdit", [](QDialog& builder) {
        builder.reject();
        return builder.result();
    });
    d.cmdMacroEdit->click();
    EXPECT_EQ(d.txtMacro->text(), "About()");
}

// --- the decided edge cases -------------------------------------------------------------------

TEST_F(TopicPropsTest, AnUnknownStateByteShowsNoStateAndIsKept) {
    struct Row {
        const char* name;
        int choose;  // -1: leave the box alone
        int stored;
    } rows[] = {{"left alone", -1, 7}, {"done chosen", 0, 0}, {"editing chosen", 1, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qm::TTopicNode& intro = Node("Intro");
        intro.State = static_cast<qm::TopicState>(7);
        EXPECT_TRUE(OkTopic(intro, [&](TfrmTopicProps& d) {
            EXPECT_EQ(d.cboState->currentIndex(), -1);
            if (r.choose >= 0) d.cboState->setCurrentIndex(r.choose);
        }));
        EXPECT_EQ(static_cast<int>(intro.State), r.stored);
    }
}

TEST_F(TopicPropsTest, TheBrowseEditHoldsWhatTheFieldHolds) {
    qm::TTopicNode& intro = Node("Intro");
    const QString typed = "seq:" + QString(60, '1');
    EXPECT_TRUE(OkTopic(intro, [&](TfrmTopicProps& d) {
        d.txtBrowse->clear();
        d.txtBrowse->setFocus();
        QTest::keyClicks(d.txtBrowse, typed);
        EXPECT_EQ(d.txtBrowse->text(), typed.left(50));
    }));
    EXPECT_EQ(intro.GetBrowse(), typed.left(50).toStdString());
}

TEST_F(TopicPropsTest, ContextIdsAreNeverCut) {
    qm::TTopicNode& intro = Node("Intro");
    intro.ContextId = 123456789;
    EXPECT_TRUE(OkTopic(intro, [](TfrmTopicProps& d) { EXPECT_EQ(d.txtContext->text(), "123456789"); }));
    EXPECT_EQ(intro.ContextId, 123456789);
    // Typed or pasted, non-digits are dropped and the digits all stay.
    EXPECT_TRUE(OkTopic(intro, [](TfrmTopicProps& d) {
        d.txtContext->clear();
        d.txtContext->setFocus();
        QTest::keyClicks(d.txtContext, "12x34567");
        d.txtContext->insert(" 8a9");
        EXPECT_EQ(d.txtContext->text(), "123456789");
        d.txtContext->selectAll();
        d.txtContext->insert("-4242424");
        EXPECT_EQ(d.txtContext->text(), "4242424");
    }));
    EXPECT_EQ(intro.ContextId, 4242424);
}

TEST_F(TopicPropsTest, TextTheCodePageCannotHoldIsRefusedNamingItsField) {
    struct Row {
        const char* name;
        std::function<void(TfrmTopicProps&)> fill;
        const char* field;
    } rows[] = {
        {"title", [](TfrmTopicProps& d) { d.txtTitle->setText(QString::fromUtf8("Arrows \u2192")); }, "Topic title"},
        {"build tag", [](TfrmTopicProps& d) { d.txtBuildTag->setText(QString::fromUtf8("\u0394")); }, "Build tag"},
        {"keyword", [](TfrmTopicProps& d) { d.lstKeywords->addItem(QString::fromUtf8("\u03b1\u03b2")); }, "Keywords"},
        {"macro", [](TfrmTopicProps& d) { d.lstMacros->addItem(QString::fromUtf8("Say(\u263a)")); }, "Macros"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qm::TTopicNode& intro = Node("Intro");
        const std::string before = Dump(intro);
        ui.ExpectMessage(qm::MsgKind::Information, QStringLiteral("in \"%1\" cannot be stored").arg(r.field));
        EXPECT_FALSE(OkTopic(intro, r.fill));
        EXPECT_EQ(Dump(intro), before);
        ui.ExpectAllAnswered(r.name);
    }
    // The code page's own characters go through as their bytes.
    EXPECT_TRUE(
        OkTopic(Node("Intro"), [](TfrmTopicProps& d) { d.txtTitle->setText(QString::fromUtf8("\u20ac caf\u00e9")); }));
    EXPECT_EQ(Node("Intro").GetTitle(), "\x80 caf\xe9");
}

TEST_F(TopicPropsTest, ScreenshotOfTheGeneralPage) {
    TfrmTopicProps d(factory, project, macros);
    d.LoadTopic(project.Topics.GetNode(0));
    Screenshot(d, QStringLiteral("topicprops-dialog.png"));
    d.tbsProperties->setCurrentIndex(1);
    Screenshot(d, QStringLiteral("topicprops-keywords.png"));
    d.tbsProperties->setCurrentIndex(3);
    Screenshot(d, QStringLiteral("topicprops-macros.png"));
}

}  // namespace
}  // namespace qmtest
