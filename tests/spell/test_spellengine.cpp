// The spell scan on a string target with a scripted dialog: which words it
// reports, what each answer does to the text and the lists, the range it
// keeps while the text changes, and the dialog's placement.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "spell/spellengine.h"
#include "spell_support.h"
#include "support/scratchdir.h"
#include "util/errors.h"

namespace qmtest {
namespace {

using qm::TSpellAction;
using Words = std::vector<std::string>;

class SpellScan : public ::testing::Test {
protected:
    void SetUp() override {
        LoadKnownWords(engine, dir.str());
        engine.SetUi(&ui);
    }
    // One check of `target` as the main window runs it.
    void Check(qm::TStringSpellTarget& target) {
        engine.ResetLists();
        engine.CheckControl(target);
        engine.FinishCheck();
    }
    // A personal dictionary "mine" holding `text`, loaded.
    void LoadMine(const std::string& text) {
        engine.UserDictionaryFolder = dir.file("user");
        std::filesystem::create_directories(dir.file("user"));
        WriteRaw(dir.file("user/mine.dic"), text);
        engine.LoadUserDictionary("mine");
    }

    ScratchDir dir;
    qm::TQorSpellEngine engine;
    ScriptedSpellUi ui;
};

TEST(CopyCase, CopiesCapitalsByPosition) {
    struct Row {
        const char* name;
        const char* model;
        const char* replacement;
        const char* expected;
    } rows[] = {
        {"capital first letter", "Teh", "the", "The"},
        {"capitals up to the model's length", "TEH", "there", "THEre"},
        {"lower-case model leaves capitals", "teh", "The", "The"},
        {"shorter replacement", "TSET", "te", "TE"},
        {"non-letters in the model", "1Ab", "xyz", "xYz"},
        {"empty model", "", "the", "the"},
        {"empty replacement", "Teh", "", ""},
        {"letters beyond A-Z are not upper-cased", "C\xC9", "c\xE9", "C\xE9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(qm::CopyCase(r.model, r.replacement), r.expected);
    }
}

TEST(PlaceSpellDialog, MovesOffTheWordOnlyWhenItCoversIt) {
    struct Row {
        const char* name;
        qm::TSpellBox dialog;
        qm::TSpellBox word;
        std::optional<qm::TSpellPoint> expected;
    } rows[] = {
        // Screen 1024 x 768, dialog 300 x 200, word (100, 700) to end x 150.
        {"no room below: above; room right: right",
         {50, 600, 350, 800},
         {100, 700, 150, 718},
         qm::TSpellPoint{160, 490}},
        {"room below and right", {90, 50, 390, 250}, {100, 100, 150, 118}, qm::TSpellPoint{160, 128}},
        {"no room right: left", {700, 50, 1000, 250}, {800, 100, 900, 118}, qm::TSpellPoint{490, 128}},
        {"dialog clear of the word: stays", {400, 0, 700, 200}, {100, 700, 150, 718}, std::nullopt},
        {"dialog just touching the word's edge: stays", {150, 700, 450, 900}, {100, 700, 150, 718}, std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto p = qm::PlaceSpellDialog(1024, 768, r.dialog, r.word);
        ASSERT_EQ(p.has_value(), r.expected.has_value());
        if (p) {
            EXPECT_EQ(p->X, r.expected->X);
            EXPECT_EQ(p->Y, r.expected->Y);
        }
    }
}

TEST(SpellWordChar, LettersApostropheAndTheAccentedRanges) {
    for (int c = 0; c < 256; ++c) {
        const bool expected = c == '\'' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 224 && c <= 246) ||
                              (c >= 249 && c <= 253);
        EXPECT_EQ(qm::IsSpellWordChar(static_cast<char>(c)), expected) << c;
    }
}

// Which words a scan reports, each answered Ignore.
TEST_F(SpellScan, ReportsExactlyTheUnknownWords) {
    struct Row {
        const char* name;
        std::string text;
        int selStart;
        int selLength;
        bool startAtCaret;
        Words expected;
    } rows[] = {
        {"tags are skipped", "wrld<b>tset</b> a x9y", 0, 0, false, {"wrld", "tset"}},
        {"an empty tag hides nothing", "a <> bc", 0, 0, false, {"bc"}},
        {"an empty tag right after a word", "x<>yy zz", 0, 0, false, {"yy", "zz"}},
        {"an empty tag at the start", "<>xx yy", 0, 0, false, {"xx", "yy"}},
        {"a tag at the start", "<b>wrld</b>", 0, 0, false, {"wrld"}},
        {"an unclosed tag runs to the end", "ab <not closed wrld", 0, 0, false, {"ab"}},
        {"one-letter words are never reported", "a b c I x", 0, 0, false, {}},
        {"digits and dashes end words", "abc-def 12-34 x9y ab3", 0, 0, false, {"abc", "def", "ab"}},
        {"apostrophes belong to words", "don't it's", 0, 0, false, {"don't"}},
        {"accented letters belong to words", "caf\xE9 na\xEFve", 0, 0, false, {"na\xEFve"}},
        {"other high characters end words",
         "ab\xD7"
         "cd",
         0,
         0,
         false,
         {"ab", "cd"}},
        {"words are shown in lower case", "The WRLD Tset", 0, 0, false, {"wrld", "tset"}},
        {"known words pass", "The world is a test of the text.", 0, 0, false, {}},
        {"a selection of two or more is all that is read", "tset wrld hlelo", 5, 4, false, {"wrld"}},
        {"a selection ending inside a word", "tset wrld", 0, 3, false, {"tse"}},
        {"a two-character selection", "tset wrld", 5, 2, false, {"wr"}},
        {"a one-character selection reads all from 0", "tset wrld hlelo", 5, 1, false, {"tset", "wrld", "hlelo"}},
        {"the caret reads all from 0", "tset wrld hlelo", 5, 0, false, {"tset", "wrld", "hlelo"}},
        {"start at the caret", "tset wrld hlelo", 5, 0, true, {"wrld", "hlelo"}},
        {"start at the caret inside a word: the whole word", "tset wrld hlelo", 7, 0, true, {"wrld", "hlelo"}},
        {"start at the caret after a word", "tset wrld hlelo", 4, 0, true, {"tset", "wrld", "hlelo"}},
        {"a one-character selection starts at its word", "tset wrld hlelo", 11, 1, true, {"hlelo"}},
        {"start at the caret at 0", "tset wrld hlelo", 0, 0, true, {"tset", "wrld", "hlelo"}},
        {"start at the caret at the end: the word before it", "tset wrld", 9, 0, true, {"wrld"}},
        {"start at the caret after the last blank", "tset wrld ", 10, 0, true, {}},
        {"empty text", "", 0, 0, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.asked.clear();
        ui.answerIgnoreWhenUnscripted = true;
        engine.StartAtCaret = r.startAtCaret;
        qm::TStringSpellTarget target(r.text);
        target.Select(r.selStart, r.selLength);
        Check(target);
        EXPECT_EQ(ui.asked, r.expected);
        EXPECT_EQ(target.Value(), r.text);
        // The selection comes back, and the control gets the focus.
        EXPECT_EQ(target.SelStart(), r.selStart);
        EXPECT_EQ(target.SelLength(), r.selLength);
        EXPECT_EQ(target.FocusCount(), 1);
    }
}

TEST_F(SpellScan, ShowsTheWordSelectedWithItsSuggestions) {
    qm::TStringSpellTarget target("The tset is.");
    target.Top = 40;
    ui.Expect("tset", TSpellAction::Ignore, {}, [&] {
        EXPECT_EQ(target.SelStart(), 4);
        EXPECT_EQ(target.SelLength(), 4);
    });
    Check(target);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].suggestions, (qm::StringList{"test"}));
    EXPECT_FALSE(ui.shown[0].addEnabled);
    EXPECT_TRUE(ui.shown[0].moveDialog);
    EXPECT_EQ(ui.shown[0].box.Left, 32);
    EXPECT_EQ(ui.shown[0].box.Top, 40);
    EXPECT_EQ(ui.shown[0].box.Right, 64);
    EXPECT_EQ(ui.captions, (Words{qm::kSpellCaptionVerifying, qm::kSpellCaptionNotFound, qm::kSpellCaptionVerifying}));
    EXPECT_EQ(ui.finished, 1);

    engine.MoveDialog = false;
    ui.Expect("tset", TSpellAction::Ignore);
    Check(target);
    EXPECT_FALSE(ui.shown.back().moveDialog);
}

TEST_F(SpellScan, ChangeReplacesTheWordWithItsCapitalsAsOneStep) {
    qm::TStringSpellTarget target("Teh tset wrld");
    ui.Expect("teh", TSpellAction::Change, "the");
    ui.Expect("tset", TSpellAction::Change, "test");
    ui.Expect("wrld", TSpellAction::Cancel);
    Check(target);
    EXPECT_EQ(target.Value(), "The test wrld");
    EXPECT_EQ(target.UndoSteps(), 2);
    EXPECT_TRUE(engine.Cancelled());
}

TEST_F(SpellScan, ChangeAllKeepsTheCapitalPositionsWithoutAsking) {
    qm::TStringSpellTarget target("tset Tset TSET tset, wrld");
    ui.Expect("tset", TSpellAction::ChangeAll, "test");
    ui.Expect("wrld", TSpellAction::Ignore);
    Check(target);
    EXPECT_EQ(target.Value(), "test Test TEST test, wrld");
    EXPECT_EQ(ui.asked, (Words{"tset", "wrld"}));
    EXPECT_EQ(target.UndoSteps(), 4);
}

TEST_F(SpellScan, IgnoreAllLastsForOneCheck) {
    qm::TStringSpellTarget target("tset wrld Tset tset");
    ui.Expect("tset", TSpellAction::IgnoreAll);
    ui.Expect("wrld", TSpellAction::Ignore);
    Check(target);
    EXPECT_EQ(ui.asked, (Words{"tset", "wrld"}));

    // Without ResetLists the answer still holds; after it, the word is asked again.
    ui.asked.clear();
    ui.Expect("wrld", TSpellAction::Ignore);
    engine.CheckControl(target);
    EXPECT_EQ(ui.asked, (Words{"wrld"}));
    ui.asked.clear();
    ui.Expect("tset", TSpellAction::Cancel);
    Check(target);
    EXPECT_EQ(ui.asked, (Words{"tset"}));
}

TEST_F(SpellScan, ResetListsForgetsChangeAllAndCancel) {
    qm::TStringSpellTarget first("tset");
    ui.Expect("tset", TSpellAction::ChangeAll, "test");
    Check(first);
    qm::TStringSpellTarget second("tset wrld");
    ui.Expect("tset", TSpellAction::Cancel);
    Check(second);
    EXPECT_EQ(second.Value(), "tset wrld");
    EXPECT_TRUE(engine.Cancelled());
    engine.ResetLists();
    EXPECT_FALSE(engine.Cancelled());
}

TEST_F(SpellScan, AddPutsTheWordInThePersonalListOnce) {
    LoadMine("Velgrave\r\n");
    qm::TStringSpellTarget target("tset wrld tset Tset velgrave");
    ui.Expect("tset", TSpellAction::Add);
    ui.Expect("wrld", TSpellAction::Ignore);
    Check(target);
    EXPECT_EQ(ui.asked, (Words{"tset", "wrld"}));
    EXPECT_TRUE(ui.shown[0].addEnabled);
    ASSERT_NE(engine.UserWords(), nullptr);
    EXPECT_TRUE(engine.UserWords()->Contains("tset"));
    EXPECT_EQ(engine.UserWords()->Count(), 2u);
    EXPECT_TRUE(engine.UserDictionaryModified());
}

TEST_F(SpellScan, WithoutAPersonalDictionaryAddIsDisabledAndTheListUnused) {
    LoadMine("tset\r\n");
    engine.LoadUserDictionary("");
    EXPECT_EQ(engine.UserWords(), nullptr);
    qm::TStringSpellTarget target("tset tset");
    ui.Expect("tset", TSpellAction::Add);  // a dialog that ignores the disabled button
    ui.Expect("tset", TSpellAction::Ignore);
    Check(target);
    EXPECT_FALSE(ui.shown[0].addEnabled);
    EXPECT_FALSE(engine.UserDictionaryModified());
}

// User words match as scanned words do: ignoring ASCII case, whatever the
// file's line ends.
TEST_F(SpellScan, PersonalWordsMatchIgnoringCase) {
    struct Row {
        const char* name;
        const char* file;
    } rows[] = {
        {"CR LF", "Velgrave\r\nQuillmark\r\n"},
        {"LF", "Velgrave\nQuillmark\n"},
        {"CR", "Velgrave\rQuillmark"},
        {"blanks around", "  Velgrave \r\n\r\n\tQuillmark\r\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LoadMine(r.file);
        ui.asked.clear();
        qm::TStringSpellTarget target("velgrave VELGRAVE Quillmark quillmark");
        Check(target);
        EXPECT_TRUE(ui.asked.empty());
    }
}

TEST_F(SpellScan, CancelEndsTheScanAtOnce) {
    qm::TStringSpellTarget target("tset wrld");
    target.Select(2, 0);
    ui.Expect("tset", TSpellAction::Cancel);
    Check(target);
    EXPECT_EQ(ui.asked, (Words{"tset"}));
    EXPECT_TRUE(engine.Cancelled());
    EXPECT_EQ(target.SelStart(), 2);
    EXPECT_EQ(target.SelLength(), 0);
    EXPECT_EQ(ui.finished, 1);
}

// The range end follows a Change: a longer word leaves no word at the end of
// the selection unchecked, a shorter one never lets the scan past it.
TEST_F(SpellScan, TheRangeEndFollowsAChange) {
    struct Row {
        const char* name;
        std::string text;
        int selLength;
        std::string changeTo;
        std::string expectedText;
        int expectedSelLength;
    } rows[] = {
        {"longer replacement", "teh wrld xyzzy", 8, "thee", "thee wrld xyzzy", 9},
        {"shorter replacement", "tehhh wrld xyzzy", 10, "te", "te wrld xyzzy", 7},
        {"empty replacement", "tehhh wrld xyzzy", 10, "", " wrld xyzzy", 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.asked.clear();
        qm::TStringSpellTarget target(r.text);
        target.Select(0, r.selLength);
        ui.Expect("", TSpellAction::Change, r.changeTo);
        ui.Expect("wrld", TSpellAction::Ignore);
        Check(target);
        EXPECT_EQ(ui.asked.size(), 2u);
        EXPECT_EQ(target.Value(), r.expectedText);
        EXPECT_EQ(target.SelStart(), 0);
        EXPECT_EQ(target.SelLength(), r.expectedSelLength);
    }
}

TEST_F(SpellScan, ChangesAtTheEndOfTheTextStayInsideIt) {
    struct Row {
        const char* name;
        std::string text;
        std::string changeTo;
        std::string expected;
    } rows[] = {
        {"shorter at the end", "the tehhh", "te", "the te"},
        {"longer at the end", "the teh", "there", "the there"},
        {"emptied at the end", "the tehhh", "", "the "},
        {"the whole text", "tehhh", "te", "te"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.replies.clear();
        qm::TStringSpellTarget target(r.text);
        ui.answerIgnoreWhenUnscripted = true;
        ui.Expect("", TSpellAction::ChangeAll, r.changeTo);
        Check(target);
        EXPECT_EQ(target.Value(), r.expected);
    }
}

// Edits the user makes while the dialog waits move the scan with them.
TEST_F(SpellScan, EditsDuringTheWaitKeepTheScanInStep) {
    struct Row {
        const char* name;
        int position;
        int removed;
        std::string inserted;
        std::string expectedText;
        Words expectedAsked;
    } rows[] = {
        {"text inserted before the word", 0, 0, "abc wrlx ", "abc wrlx is test wrld", {"tset", "wrld"}},
        {"text removed before the word", 0, 3, "", "test wrld", {"tset", "wrld"}},
        {"the word itself edited: Change counts as Ignore", 3, 4, "tsot", "is tsot wrld", {"tset", "wrld"}},
        {"a letter typed right after the word: Ignore", 7, 0, "s", "is tsets wrld", {"tset", "wrld"}},
        {"the blank before the word deleted: Ignore", 2, 1, "", "istset wrld", {"tset", "wrld"}},
        {"the rest deleted", 7, 5, "", "is test", {"tset"}},
        {"a word added at the end is read", 12, 0, " hlelo", "is test wrld hlelo", {"tset", "wrld", "hlelo"}},
        {"everything deleted", 0, 12, "", "", {"tset"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.asked.clear();
        ui.answerIgnoreWhenUnscripted = true;
        qm::TStringSpellTarget target("is tset wrld");
        ui.Expect("tset", TSpellAction::Change, "test", [&] { target.Edit(r.position, r.removed, r.inserted); });
        Check(target);
        EXPECT_EQ(target.Value(), r.expectedText);
        EXPECT_EQ(ui.asked, r.expectedAsked);
    }
}

TEST_F(SpellScan, AnEditReportedTooWideMovesOnlyWhatChanged) {
    // The control may report a whole paragraph as replaced by itself plus the
    // new letter; the scan narrows the report to the letter.
    struct WideTarget : qm::TStringSpellTarget {
        using TStringSpellTarget::TStringSpellTarget;
        void TypeWide(int position, std::string_view letter) {
            const std::string before = Value();
            std::string after = before;
            after.insert(static_cast<std::size_t>(position), letter);
            Edit(0, static_cast<int>(before.size()), after);
        }
    };
    WideTarget target("is tset wrld");
    ui.Expect("tset", TSpellAction::Change, "test", [&] { target.TypeWide(0, "y"); });
    ui.Expect("wrld", TSpellAction::Ignore);
    Check(target);
    EXPECT_EQ(target.Value(), "yis test wrld");
}

TEST_F(SpellScan, NoMainDictionaryScansNothing) {
    qm::TQorSpellEngine bare;
    bare.SetUi(&ui);
    EXPECT_FALSE(bare.HasMainDictionary());
    qm::TStringSpellTarget target("tset wrld");
    bare.CheckControl(target);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(bare.WordsExamined(), 0u);
}

}  // namespace
}  // namespace qmtest
