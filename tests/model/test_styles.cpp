#include "model/styles.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

StringList DefaultNames() { return {"Normal", "StdHeader", "Title1", "Title2", "Title3"}; }

TStyle Named(const std::string& name) {
    TStyle s;
    s.Name = name;
    s.Font = {"Arial", 10, 0, 0};
    return s;
}

TStyle ParagraphStyle(const std::string& name = "Indented") {
    TStyle s;
    s.SetAll(name, 1, "Times New Roman", 11, kFontItalic | kFontStrikeOut, 0x00FF8000, 20, -10, 7, 2, 14, 3, true);
    s.SpaceBefore = 4;
    s.SpaceAfter = 6;
    return s;
}

TEST(Styles, Defaults) {
    TStyles styles;
    styles.SetDefaults();
    ASSERT_EQ(styles.Names(), DefaultNames());
    const struct {
        int slot;
        std::int32_t size;
        std::uint8_t style;
    } cases[] = {{1, 8, 0},
                 {2, 14, kFontBold},
                 {3, 8, kFontBold},
                 {4, 8, kFontBold | kFontUnderline},
                 {5, 8, kFontBold | kFontItalic}};
    for (const auto& c : cases) {
        const TStyle* s = styles.GetStyle(c.slot);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Font, (TFontInfo{"MS Sans Serif", c.size, c.style, 0})) << c.slot;
        EXPECT_EQ(s->StyleType, 0);
        EXPECT_EQ(s->StartIndent, 0);
        EXPECT_EQ(s->Alignment, 0);
    }
}

TEST(Styles, DescribeCharacterStyle) {
    TStyle s;
    s.SetAll("X", 0, "Arial", 12, kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut, 0, 20, -10, 5, 1, 3, 0,
             false);
    // Paragraph fields are set, but a character style has no paragraph part.
    EXPECT_EQ(s.Describe(), "Font:  Arial, 12 pt, Bold, Italic, Underline, Strikeout");
}

TEST(Styles, DescribeParagraphStyles) {
    const struct {
        std::uint8_t alignment;
        std::int32_t start, offset, right, before, after, spacing;
        const char* expected;
    } cases[] = {
        {0, 20, -10, 0, 0, 0, 0,
         "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, Left indent: 10, First line indent: 10 (positive)"},
        {0, 20, 10, 0, 0, 0, 0,
         "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, Left indent: 20, First line indent: 10 (negative)"},
        {2, 0, 0, 0, 0, 0, 0, "Font:  F, 9 pt\r\n\r\nParagraph:  Center"},
        {1, 0, 0, 0, 0, 0, 0, "Font:  F, 9 pt\r\n\r\nParagraph:  Right justify"},
        {7, 0, 0, 0, 0, 0, 0, "Font:  F, 9 pt\r\n\r\nParagraph:  Right justify"},
        // The left indent is shown only while it stays above zero.
        {0, 10, -10, 0, 0, 0, 0, "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, First line indent: 10 (positive)"},
        {0, 0, 5, 0, 0, 0, 0, "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, First line indent: 5 (negative)"},
        {0, 0, 0, 15, 4, 6, 1200,
         "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, Right indent: 15, Space before: 4 pixels, "
         "Space after: 6 pixels, Line spacing: 1200 pixels"},
        // The most negative offset has a size too; nothing overflows.
        {0, 5, INT32_MIN, 0, 0, 0, 0,
         "Font:  F, 9 pt\r\n\r\nParagraph:  Left justify, First line indent: 2147483648 (positive)"},
    };
    for (const auto& c : cases) {
        TStyle s;
        s.Name = "P";
        s.Font = {"F", 9, 0, 0};
        s.StyleType = 1;
        s.Alignment = c.alignment;
        s.StartIndent = c.start;
        s.Offset = c.offset;
        s.RightIndent = c.right;
        s.SpaceBefore = c.before;
        s.SpaceAfter = c.after;
        s.LineSpacing = c.spacing;
        EXPECT_EQ(s.Describe(), c.expected);
    }
}

TEST(Styles, SetAllKeepsSpacesBeforeAndAfter) {
    TStyle s;
    s.SpaceBefore = 3;
    s.SpaceAfter = 4;
    s.SetAll("N", 1, "Face", 10, kFontBold, 0xFF, 1, 2, 3, 2, 5, 6, true);
    EXPECT_EQ(s.SpaceBefore, 3);
    EXPECT_EQ(s.SpaceAfter, 4);
    EXPECT_EQ(s.Font, (TFontInfo{"Face", 10, kFontBold, 0xFF}));
    EXPECT_EQ(s.LineSpacing, 5);
    EXPECT_EQ(s.LineSpacingRule, 6);
    EXPECT_TRUE(s.Bullet);
}

TEST(Styles, ListOperations) {
    TStyles styles;
    for (const char* n : {"1", "2", "3", "4", "5"}) ASSERT_TRUE(styles.Add(Named(n)));

    styles.Move(1, 3);
    EXPECT_EQ(styles.Names(), (StringList{"2", "3", "1", "4", "5"}));
    styles.Move(3, 1);
    EXPECT_EQ(styles.Names(), (StringList{"1", "2", "3", "4", "5"}));
    styles.Move(5, 2);
    EXPECT_EQ(styles.Names(), (StringList{"1", "5", "2", "3", "4"}));
    styles.Move(0, 2);  // out of range: nothing moves
    styles.Move(2, 6);
    EXPECT_EQ(styles.Names(), (StringList{"1", "5", "2", "3", "4"}));

    styles.Delete(2);
    EXPECT_EQ(styles.Names(), (StringList{"1", "2", "3", "4"}));
    styles.Delete(0);
    styles.Delete(5);
    EXPECT_EQ(styles.Count(), 4);

    EXPECT_EQ(styles.GetStyle(0), nullptr);
    EXPECT_EQ(styles.GetStyle(5), nullptr);
    EXPECT_EQ(styles.GetStyle(4)->Name, "4");
}

TEST(Styles, PutStyleHandsBackTheReplacedStyle) {
    TStyles styles;
    styles.Add(Named("old"));
    const auto replaced = styles.PutStyle(1, Named("new"));
    ASSERT_TRUE(replaced.has_value());
    EXPECT_EQ(replaced->Name, "old");
    EXPECT_EQ(styles.GetStyle(1)->Name, "new");
    EXPECT_FALSE(styles.PutStyle(2, Named("x")).has_value());
    EXPECT_EQ(styles.Count(), 1);
}

TEST(Styles, NameLookups) {
    TStyles styles;
    styles.SetDefaults();
    EXPECT_TRUE(styles.NameExists("NORMAL"));
    EXPECT_EQ(styles.IndexOfName("NORMAL"), -1);
    EXPECT_EQ(styles.IndexOfName("Normal"), 1);
    EXPECT_EQ(styles.IndexOfName("Title3"), 5);
    EXPECT_FALSE(styles.NameExists("Normal2"));
}

TEST(Styles, AtMostTwentyFive) {
    TStyles styles;
    for (int i = 1; i <= kMaxStyles; ++i) ASSERT_TRUE(styles.Add(Named(std::to_string(i))));
    EXPECT_FALSE(styles.Add(Named("26")));
    styles.SetDefaults();
    EXPECT_EQ(styles.Count(), kMaxStyles);
    EXPECT_EQ(styles.GetStyle(25)->Name, "25");
}

TEST(Styles, AssignCopiesDeeply) {
    TStyles a;
    a.Add(ParagraphStyle());
    TStyles b;
    b.SetDefaults();
    b.Assign(a);
    EXPECT_EQ(b, a);
    a.GetStyle(1)->Font.Name = "Changed";
    EXPECT_EQ(b.GetStyle(1)->Font.Name, "Times New Roman");
}

TEST(StylesRegistry, NoStylesKeyGivesTheDefaults) {
    MemorySettingsStore store;
    TStyles styles;
    styles.Add(Named("left over"));
    styles.LoadFromRegistry(store);
    EXPECT_EQ(styles.Names(), DefaultNames());
    EXPECT_TRUE(store.Empty());
}

TEST(StylesRegistry, RoundTripAndLayout) {
    TStyles saved;
    saved.Add(ParagraphStyle());
    TStyle hanging = ParagraphStyle();
    hanging.Name = "Hanging";
    hanging.Offset = 25;
    saved.Add(hanging);

    MemorySettingsStore store;
    saved.SaveToRegistry(store);
    EXPECT_EQ(store.ReadInteger("Styles", "Count"), 2);
    EXPECT_EQ(store.ReadString("Styles\\1", "Name"), "Indented");
    EXPECT_EQ(store.ReadString("Styles\\1", "FontFace"), "Times New Roman");
    EXPECT_EQ(store.ReadInteger("Styles\\1", "FontHeight"), 11);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "FontColor"), 0x00FF8000);
    EXPECT_EQ(store.GetValue("Styles\\1", "FontStyle"), SettingValue::Binary("\x0A"));
    EXPECT_EQ(store.GetValue("Styles\\1", "ParaAlignment"), SettingValue::Binary("\x02"));
    EXPECT_EQ(store.GetValue("Styles\\1", "Type"), SettingValue::Binary("\x01"));
    EXPECT_EQ(store.ReadInteger("Styles\\1", "ParaBefore"), 4);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "ParaAfter"), 6);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "ParaLineSpacing"), 14);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "ParaLineSpacingRule"), 3);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "RightIndent"), 7);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "StartIndent"), 20);
    // A negative offset is stored as its size with Positive 0.
    EXPECT_EQ(store.ReadInteger("Styles\\1", "Offset"), 10);
    EXPECT_EQ(store.ReadInteger("Styles\\1", "Positive"), 0);
    EXPECT_EQ(store.ReadInteger("Styles\\2", "Offset"), 25);
    EXPECT_EQ(store.ReadInteger("Styles\\2", "Positive"), 1);
    EXPECT_FALSE(store.ValueExists("Styles\\1", "Bullet"));

    TStyles loaded;
    loaded.LoadFromRegistry(store);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.GetStyle(1)->Offset, -10);
    EXPECT_EQ(loaded.GetStyle(2)->Offset, 25);
    // Everything but the bullet flag comes back.
    EXPECT_FALSE(loaded.GetStyle(1)->Bullet);
    TStyles expected = saved;
    expected.GetStyle(1)->Bullet = false;
    expected.GetStyle(2)->Bullet = false;
    EXPECT_EQ(loaded, expected);
}

TEST(StylesRegistry, SavingRemovesStylesBeyondTheCount) {
    TStyles many;
    for (int i = 1; i <= 4; ++i) many.Add(Named("s" + std::to_string(i)));
    MemorySettingsStore store;
    many.SaveToRegistry(store);
    TStyles few;
    few.Add(Named("only"));
    few.SaveToRegistry(store);
    EXPECT_EQ(store.ReadInteger("Styles", "Count"), 1);
    EXPECT_TRUE(store.KeyExists("Styles\\1"));
    EXPECT_FALSE(store.KeyExists("Styles\\2"));
    EXPECT_FALSE(store.KeyExists("Styles\\4"));
}

TEST(StylesRegistry, FailuresWhileLoading) {
    auto saveThree = [](MemorySettingsStore& store) {
        TStyles s;
        for (const char* n : {"A", "B", "C"}) s.Add(ParagraphStyle(n));
        s.SaveToRegistry(store);
    };
    const StringList abc = {"A", "B", "C"};
    const struct {
        const char* what;
        void (*change)(MemorySettingsStore&);
        StringList expected;
    } cases[] = {
        {"no count reads every style stored", [](MemorySettingsStore& s) { s.DeleteValue("Styles", "Count"); }, abc},
        {"count is a string", [](MemorySettingsStore& s) { s.WriteString("Styles", "Count", "3"); }, abc},
        {"count zero", [](MemorySettingsStore& s) { s.WriteInteger("Styles", "Count", 0); }, DefaultNames()},
        {"negative count", [](MemorySettingsStore& s) { s.WriteInteger("Styles", "Count", -4); }, DefaultNames()},
        {"style 2 lacks a number", [](MemorySettingsStore& s) { s.DeleteValue("Styles\\2", "ParaAfter"); }, abc},
        {"style 1 is missing", [](MemorySettingsStore& s) { s.DeleteKey("Styles\\1"); }, {"B", "C"}},
        {"count above the styles stored", [](MemorySettingsStore& s) { s.WriteInteger("Styles", "Count", 5); }, abc},
        {"count below the styles stored",
         [](MemorySettingsStore& s) { s.WriteInteger("Styles", "Count", 2); },
         {"A", "B"}},
        {"style 3 has a wrong-sized type", [](MemorySettingsStore& s) { s.WriteBinary("Styles\\3", "Type", "ab", 2); },
         abc},
        {"missing string and binary values",
         [](MemorySettingsStore& s) {
             s.DeleteValue("Styles\\2", "Name");
             s.DeleteValue("Styles\\2", "FontStyle");
         },
         {"A", "", "C"}},
        {"every style gone",
         [](MemorySettingsStore& s) {
             for (int n = 1; n <= 3; ++n) s.DeleteKey("Styles\\" + std::to_string(n));
         },
         DefaultNames()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        saveThree(store);
        c.change(store);
        TStyles styles;
        styles.LoadFromRegistry(store);
        EXPECT_EQ(styles.Names(), c.expected);
    }
}

TEST(StylesRegistry, AValueThatCannotBeReadTakesWhatANewStyleHasAndKeepsTheRest) {
    const struct {
        const char* what;
        void (*change)(MemorySettingsStore&);
        void (*expect)(TStyle&);
    } cases[] = {
        {"missing space after", [](MemorySettingsStore& s) { s.DeleteValue("Styles\\1", "ParaAfter"); },
         [](TStyle& st) { st.SpaceAfter = 0; }},
        {"font size as text", [](MemorySettingsStore& s) { s.WriteString("Styles\\1", "FontHeight", "11"); },
         [](TStyle& st) { st.Font.Size = 8; }},
        {"missing font face", [](MemorySettingsStore& s) { s.DeleteValue("Styles\\1", "FontFace"); },
         [](TStyle& st) { st.Font.Name = "MS Sans Serif"; }},
        {"missing sign: the offset stays as stored",
         [](MemorySettingsStore& s) { s.DeleteValue("Styles\\1", "Positive"); }, [](TStyle& st) { st.Offset = 10; }},
        {"wrong-sized alignment", [](MemorySettingsStore& s) { s.WriteBinary("Styles\\1", "ParaAlignment", "ab", 2); },
         [](TStyle& st) { st.Alignment = 0; }},
        {"type stored as a number", [](MemorySettingsStore& s) { s.WriteInteger("Styles\\1", "Type", 1); },
         [](TStyle& st) { st.StyleType = 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        TStyles saved;
        saved.Add(ParagraphStyle("A"));
        saved.SaveToRegistry(store);
        c.change(store);
        TStyles loaded;
        loaded.LoadFromRegistry(store);
        ASSERT_EQ(loaded.Count(), 1);
        TStyle expected = ParagraphStyle("A");
        expected.Bullet = false;  // never stored
        c.expect(expected);
        EXPECT_EQ(*loaded.GetStyle(1), expected);
    }
}

TEST(StylesRegistry, CountsAreKeptWithinTwentyFive) {
    // 30 stored styles and a count of 30: only 25 are read.
    MemorySettingsStore store;
    TStyles full;
    for (int i = 1; i <= 25; ++i) full.Add(Named("s" + std::to_string(i)));
    full.SaveToRegistry(store);
    store.WriteInteger("Styles", "Count", 30);
    TStyles loaded;
    loaded.LoadFromRegistry(store);
    EXPECT_EQ(loaded.Count(), 25);
    EXPECT_EQ(loaded.GetStyle(25)->Name, "s25");

    // 24 good styles and a 25th that lacks its size: all 25 stay, the last
    // with the size of a new style.
    store.DeleteValue("Styles\\25", "FontHeight");
    store.WriteInteger("Styles", "Count", 25);
    loaded.LoadFromRegistry(store);
    EXPECT_EQ(loaded.Count(), 25);
    EXPECT_EQ(loaded.GetStyle(24)->Name, "s24");
    EXPECT_EQ(loaded.GetStyle(25)->Name, "s25");
    EXPECT_EQ(loaded.GetStyle(25)->Font.Size, 8);
}

TEST(StylesRegistry, LoadedFontSizesAndOffsetsStaySane) {
    MemorySettingsStore store;
    TStyles one;
    one.Add(Named("s"));
    one.SaveToRegistry(store);

    const struct { std::int32_t height, expectedSize; } sizes[] = {{0, 1}, {-12, 1}, {9, 9}, {5000, 1638}};
    for (const auto& c : sizes) {
        store.WriteInteger("Styles\\1", "FontHeight", c.height);
        TStyles loaded;
        loaded.LoadFromRegistry(store);
        EXPECT_EQ(loaded.GetStyle(1)->Font.Size, c.expectedSize) << c.height;
    }

    // A hand-edited offset that cannot be negated is kept at the limit.
    store.WriteInteger("Styles\\1", "Offset", INT32_MIN);
    store.WriteBool("Styles\\1", "Positive", false);
    TStyles loaded;
    loaded.LoadFromRegistry(store);
    EXPECT_EQ(loaded.GetStyle(1)->Offset, INT32_MAX);
}

}  // namespace
}  // namespace qm
