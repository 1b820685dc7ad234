// The rich-text control as the spell scan's target: one byte per position,
// replacements as single undo steps, and edits the user makes while the
// dialog waits followed through the document's change reports.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QTextCursor>
#include <QTextDocument>

#include <filesystem>
#include <memory>

#include "editor/richspelltarget.h"
#include "editor/richtext2.h"
#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "support/qtapp.h"
#include "support/scratchdir.h"
#include "support/scriptedspellui.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

using qm::TSpellAction;
using Words = std::vector<std::string>;

class RichSpellTarget : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        edit = std::make_unique<qm::TRichText2>();
        edit->resize(400, 300);
        qm::WriteFileAtomic(dir.file("english.qdf"),
                            qm::BuildDictionaryData({"the", "cat", "sat", "on", "mat", "big", "caf\xE9"}));
        engine.DictionaryFolder = dir.str();
        engine.LoadMainDictionary("english");
        engine.SetUi(&ui);
    }
    void Check() {
        qm::TRichTextSpellTarget target(*edit);
        engine.ResetLists();
        engine.CheckControl(target);
        engine.FinishCheck();
    }

    std::unique_ptr<qm::TRichText2> edit;
    qmtest::ScratchDir dir{"qm_richspell_"};
    qm::TQorSpellEngine engine;
    ScriptedSpellUi ui;
};

TEST_F(RichSpellTarget, GivesOneWindows1252BytePerPosition) {
    struct Row {
        const char* name;
        QString text;
        std::string bytes;
    } rows[] = {
        {"plain", QStringLiteral("The cat"), "The cat"},
        {"paragraphs", QStringLiteral("one\ntwo\n\nthree"), "one\ntwo\n\nthree"},
        {"code page letters", QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80"},
        {"outside the code page",
         QString::fromUtf8("a\xE4\xB8\xAD"
                           "b"),
         "a?b"},
        {"a surrogate pair takes two positions",
         QString::fromUtf8("a\xF0\x9F\x98\x80"
                           "b"),
         "a??b"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        edit->setPlainText(r.text);
        qm::TRichTextSpellTarget target(*edit);
        EXPECT_EQ(target.Length(), edit->GetTextLen());
        EXPECT_EQ(target.Text(), r.bytes);
    }
}

TEST_F(RichSpellTarget, ACharacterOutsideTheCodePageIsNoLetter) {
    edit->setPlainText(
        QString::fromUtf8("tab\xE4\xB8\xAD"
                          "cdx \xCE\xB1\xCE\xB2 caf\xC3\xA9"));
    ui.answerIgnoreWhenUnscripted = true;
    Check();
    EXPECT_EQ(ui.asked, (Words{"tab", "cdx"}));
}

TEST_F(RichSpellTarget, AChangeIsOneUndoStepAndKeepsTheSelection) {
    edit->setPlainText(QStringLiteral("Teh cat sat\non teh mat."));
    edit->ClearUndo();
    edit->SetSelStart(4);
    ui.Expect("teh", TSpellAction::ChangeAll, "the", [&] {
        // The word is selected in the control while the dialog waits, and the
        // selection shows though the dialog has the focus.
        EXPECT_EQ(edit->GetSelStart(), 0);
        EXPECT_EQ(edit->GetSelText(), "Teh");
        EXPECT_FALSE(edit->HideSelection());
    });
    ASSERT_TRUE(edit->HideSelection());
    Check();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("The cat sat\non the mat."));
    EXPECT_EQ(edit->GetSelStart(), 4);
    EXPECT_EQ(edit->GetSelLength(), 0);
    EXPECT_TRUE(edit->HideSelection());
    edit->Undo();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("The cat sat\non teh mat."));
    edit->Undo();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Teh cat sat\non teh mat."));
}

// The user types into the document while the dialog waits; the scan's copy
// and positions follow the document's change reports.
TEST_F(RichSpellTarget, EditsInTheDocumentDuringTheWaitMoveTheScan) {
    struct Row {
        const char* name;
        int position;
        int removed;
        QString inserted;
        QString expected;
        Words asked;
    } rows[] = {
        {"typed before the word", 0, 0, QStringLiteral("Big "), QStringLiteral("Big The cat wrld"), {"teh", "wrld"}},
        {"a paragraph before the word",
         0,
         0,
         QStringLiteral("x\n"),
         QStringLiteral("x\nThe cat wrld"),
         {"teh", "wrld"}},
        {"deleted after the word", 7, 5, QString(), QStringLiteral("The cat"), {"teh"}},
        {"the word retyped", 0, 3, QStringLiteral("Tex"), QStringLiteral("Tex cat wrld"), {"teh", "wrld"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.asked.clear();
        ui.answerIgnoreWhenUnscripted = true;
        edit->setPlainText(QStringLiteral("Teh cat wrld"));
        ui.Expect("teh", TSpellAction::Change, "the", [&] {
            QTextCursor c(edit->document());
            c.setPosition(r.position);
            c.setPosition(r.position + r.removed, QTextCursor::KeepAnchor);
            c.insertText(r.inserted);
        });
        Check();
        EXPECT_EQ(edit->toPlainText(), r.expected);
        EXPECT_EQ(ui.asked, r.asked);
    }
}

TEST_F(RichSpellTarget, TheScreenBoxCoversTheWord) {
    edit->setPlainText(QStringLiteral("The wrld is here"));
    edit->show();
    qm::TRichTextSpellTarget target(*edit);
    const qm::TSpellBox box = target.ScreenBox(4, 4);
    const QPoint origin = edit->viewport()->mapToGlobal(QPoint(0, 0));
    EXPECT_GT(box.Left, origin.x());
    EXPECT_GT(box.Right, box.Left);
    EXPECT_GE(box.Top, origin.y());
    EXPECT_GE(box.Bottom - box.Top, 18);
    const qm::TSpellBox first = target.ScreenBox(0, 3);
    EXPECT_LT(first.Left, box.Left);
    EXPECT_EQ(first.Top, box.Top);
}

}  // namespace
}  // namespace qmtest
