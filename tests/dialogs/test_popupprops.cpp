// Popup Properties: loading, the seven checks in order with their texts,
// what OK stores, Cancel after a refusal, help, and the decided edge cases.
#include <QTabWidget>
#include <QTest>

#include "moduleprops_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmPopupProps;

class PopupPropsTest : public ModulePropsTest {};

TEST_F(PopupPropsTest, LoadPopupFillsTheControls) {
    qm::TTopicNode& note = Node("Note");
    note.State = qm::TopicState::Done;
    TfrmPopupProps d(ui, project);
    d.LoadPopup(note);
    EXPECT_EQ(d.objectName(), "frmPopupProps");
    EXPECT_EQ(d.windowTitle(), "Popup Properties");
    EXPECT_EQ(d.tabGeneral->count(), 1);
    EXPECT_EQ(d.tabGeneral->tabText(0), "General");
    EXPECT_EQ(d.txtPopupName->text(), "Note");
    EXPECT_EQ(d.txtPopupName->maxLength(), 255);
    EXPECT_EQ(d.txtContext->text(), "5");
    EXPECT_EQ(d.cboState->currentText(), "Done");
    d.show();
    EXPECT_EQ(d.focusWidget(), d.txtPopupName);
    d.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, std::vector<int>{120});
}

TEST_F(PopupPropsTest, Checks) {
    struct Row {
        const char* name;
        QString popupName;
        QString context;
        const char* refusal;  // nullptr: stored
    } rows[] = {
        {"blanks only: empty after trimming", "   ", "5", "No popup name has been entered."},
        {"a topic's name in other letter case", "intro", "5", "\"intro\" : this topic name already exists."},
        {"an inner blank before the name test", "my pop$", "5", "Spaces are not allowed in popup names."},
        {"a bad character", "pop$", "5", "Invalid popup name."},
        {"no context ID", "Note", " ", "No context id has been entered."},
        {"a topic's ID", "Note", "10", "10 : this context id already exists."},
        {"beyond 32 bits", "Note", "4294967296", "4294967296 is not a valid integer value."},
        {"the name before the ID", "", "", "No popup name has been entered."},
        {"a change of letter case only", "NOTE", "5", nullptr},
        {"its own ID written with zeros", "Note", "0005", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Rebuild();
        qm::TTopicNode& note = Node("Note");
        const std::string before = Dump(note);
        ExpectRefusal(r.refusal);
        const bool ok = OkPopup(note, [&](TfrmPopupProps& d) {
            d.txtPopupName->setText(r.popupName);
            d.txtContext->setText(r.context);
        });
        EXPECT_EQ(ok, r.refusal == nullptr);
        if (r.refusal) {
            EXPECT_EQ(Dump(note), before);
        } else {
            EXPECT_EQ(qm::FromCp1252(note.GetName()), r.popupName);
            EXPECT_EQ(note.ContextId, 5);
        }
        ui.ExpectAllAnswered(r.name);
    }
}

TEST_F(PopupPropsTest, OkStoresNameIdAndStateTrimmed) {
    qm::TTopicNode& note = Node("Note");
    ASSERT_TRUE(OkPopup(note, [](TfrmPopupProps& d) {
        d.txtPopupName->setText("  Glossary ");
        d.txtContext->setText(" 77 ");
        d.cboState->setCurrentIndex(0);
    }));
    EXPECT_EQ(note.GetName(), "Glossary");
    EXPECT_EQ(std::string(note.Name.data(), note.Name.width), "Glossary" + std::string(255 - 8, '\0'));
    EXPECT_EQ(note.ContextId, 77);
    EXPECT_EQ(note.State, qm::TopicState::Done);
}

TEST_F(PopupPropsTest, CancelAfterARefusedOkLeavesThePopupAsItWas) {
    qm::TTopicNode& note = Node("Note");
    const std::string before = Dump(note);
    ui.ExpectDialog("frmPopupProps", [this](QDialog& dialog) {
        auto& d = static_cast<TfrmPopupProps&>(dialog);
        d.txtPopupName->setText(" Beta ");
        d.cboState->setCurrentIndex(0);
        ui.ExpectMessage(qm::MsgKind::Information, "\"Beta\" : this topic name already exists.");
        d.cmdOk->click();
        EXPECT_EQ(d.txtPopupName->text(), "Beta");  // the trimming stays visible
        d.cmdCancel->click();
        return d.result();
    });
    EXPECT_FALSE(factory.RunPopupProps(note, project));
    EXPECT_EQ(Dump(note), before);
}

TEST_F(PopupPropsTest, AnUnknownStateByteShowsNoStateAndIsKept) {
    qm::TTopicNode& note = Node("Note");
    note.State = static_cast<qm::TopicState>(200);
    EXPECT_TRUE(OkPopup(note, [](TfrmPopupProps& d) { EXPECT_EQ(d.cboState->currentIndex(), -1); }));
    EXPECT_EQ(static_cast<int>(note.State), 200);
    EXPECT_TRUE(OkPopup(note, [](TfrmPopupProps& d) { d.cboState->setCurrentIndex(1); }));
    EXPECT_EQ(note.State, qm::TopicState::Edit);
}

TEST_F(PopupPropsTest, ContextIdsAreNeverCut) {
    qm::TTopicNode& note = Node("Note");
    note.ContextId = 20000001;
    EXPECT_TRUE(OkPopup(note, [](TfrmPopupProps& d) {
        EXPECT_EQ(d.txtContext->text(), "20000001");
        d.txtContext->setFocus();
        d.txtContext->end(false);
        QTest::keyClicks(d.txtContext, "5x");
        EXPECT_EQ(d.txtContext->text(), "200000015");
    }));
    EXPECT_EQ(note.ContextId, 200000015);
}

TEST_F(PopupPropsTest, ANameTheCodePageCannotHoldIsRefused) {
    qm::TTopicNode& note = Node("Note");
    const std::string before = Dump(note);
    ui.ExpectMessage(qm::MsgKind::Information, "in \"Popup name\" cannot be stored");
    EXPECT_FALSE(OkPopup(note, [](TfrmPopupProps& d) { d.txtPopupName->setText(QString::fromUtf8("Not\u0113")); }));
    EXPECT_EQ(Dump(note), before);
}

TEST_F(PopupPropsTest, Screenshot) {
    TfrmPopupProps d(ui, project);
    d.LoadPopup(Node("Note"));
    Screenshot(d, QStringLiteral("popupprops.png"));
}

}  // namespace
}  // namespace qmtest
