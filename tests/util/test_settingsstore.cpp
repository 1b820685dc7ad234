#include "util/settingsstore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

namespace qm {
namespace {

TEST(SettingsStore, MissingValuesFollowRegistryRules) {
    MemorySettingsStore s;
    s.WriteString("Settings", "Present", "x");  // the key exists, the values below do not

    EXPECT_EQ(s.ReadString("Settings", "Missing"), "");
    EXPECT_THROW(s.ReadInteger("Settings", "Missing"), ESettingsRead);
    EXPECT_THROW(s.ReadBool("Settings", "Missing"), ESettingsRead);

    unsigned char buf[4] = {9, 9, 9, 9};
    EXPECT_FALSE(s.ReadBinary("Settings", "Missing", buf, sizeof buf).has_value());
    EXPECT_EQ(buf[0], 9);
    EXPECT_EQ(buf[3], 9);
    EXPECT_FALSE(s.ValueSize("Settings", "Missing").has_value());
}

TEST(SettingsStore, MessagesQuoteTheValueNameShort) {
    MemorySettingsStore s;
    const std::string name(300, 'v');
    s.WriteString("K", name, "text");
    const std::string shown = std::string(200, 'v') + "...";
    struct Row {
        const char* what;
        std::function<void()> read;
        std::string message;
    };
    const Row rows[] = {
        {"missing", [&] { s.ReadInteger("K", name + "x"); }, "Failed to get data for '" + shown + "'"},
        {"wrong_type", [&] { s.ReadInteger("K", name); }, "Invalid data type for '" + shown + "'"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        try {
            r.read();
            ADD_FAILURE() << "read";
        } catch (const ESettingsRead& e) {
            EXPECT_EQ(std::string(e.what()), r.message);
        }
    }
}

TEST(SettingsStore, ValuesOfAnotherTypeFail) {
    MemorySettingsStore s;
    s.WriteString("K", "Str", "12");
    s.WriteInteger("K", "Num", 12);
    const unsigned char one = 1;
    s.WriteBinary("K", "Bin", &one, 1);

    // A string holding digits is still not a number, and the other way round.
    EXPECT_THROW(s.ReadInteger("K", "Str"), ESettingsRead);
    EXPECT_THROW(s.ReadString("K", "Num"), ESettingsRead);
    EXPECT_THROW(s.ReadString("K", "Bin"), ESettingsRead);
    EXPECT_THROW(s.ReadInteger("K", "Bin"), ESettingsRead);
    unsigned char b = 0;
    EXPECT_THROW(s.ReadBinary("K", "Num", &b, 1), ESettingsRead);
    EXPECT_THROW(s.ReadBinary("K", "Str", &b, 1), ESettingsRead);
}

TEST(SettingsStore, BinaryValuesKeepTheirSize) {
    MemorySettingsStore s;
    const unsigned char bytes[3] = {0x01, 0x00, 0xFF};
    s.WriteBinary("K", "Three", bytes, 3);
    s.WriteBinary("K", "Empty", nullptr, 0);

    EXPECT_EQ(s.ValueSize("K", "Three"), 3u);
    EXPECT_EQ(s.ValueSize("K", "Empty"), 0u);

    // Longer than the field: a failure, the field untouched.
    unsigned char two[2] = {7, 7};
    EXPECT_THROW(s.ReadBinary("K", "Three", two, 2), ESettingsRead);
    EXPECT_EQ(two[0], 7);

    // Shorter than the field: the first bytes only.
    unsigned char four[4] = {7, 7, 7, 7};
    EXPECT_EQ(s.ReadBinary("K", "Three", four, 4), 3u);
    EXPECT_EQ(four[0], 0x01);
    EXPECT_EQ(four[1], 0x00);
    EXPECT_EQ(four[2], 0xFF);
    EXPECT_EQ(four[3], 7);
}

TEST(SettingsStore, NumbersAndBooleans) {
    MemorySettingsStore s;
    s.WriteInteger("K", "Min", INT32_MIN);
    s.WriteBool("K", "On", true);
    s.WriteBool("K", "Off", false);
    s.WriteInteger("K", "Seven", 7);
    EXPECT_EQ(s.ReadInteger("K", "Min"), INT32_MIN);
    EXPECT_EQ(s.ReadInteger("K", "On"), 1);  // written as 0 or 1
    EXPECT_EQ(s.ReadInteger("K", "Off"), 0);
    EXPECT_TRUE(s.ReadBool("K", "Seven"));  // any non-zero number is true
    EXPECT_FALSE(s.ReadBool("K", "Off"));
}

TEST(SettingsStore, NamesAndKeysIgnoreCaseAndSeparatorStyle) {
    MemorySettingsStore s;
    s.WriteString("Styles\\1", "Name", "Normal");
    EXPECT_EQ(s.ReadString("styles/1", "NAME"), "Normal");
    EXPECT_EQ(s.ReadString("\\STYLES\\\\1\\", "name"), "Normal");
    s.WriteString("STYLES\\1", "NAME", "Other");  // the same value, not a second one
    EXPECT_EQ(s.Entries().size(), 1u);
}

TEST(SettingsStore, KeyExistsWhileItOrASubkeyHoldsValues) {
    MemorySettingsStore s;
    EXPECT_FALSE(s.KeyExists("Styles"));
    s.WriteInteger("Styles\\3", "FontHeight", 8);
    EXPECT_TRUE(s.KeyExists("Styles"));
    EXPECT_TRUE(s.KeyExists("Styles\\3"));
    EXPECT_FALSE(s.KeyExists("Styles\\30"));
    EXPECT_FALSE(s.KeyExists("Style"));  // a prefix of the name is not the key
    s.WriteInteger("Styles1", "X", 1);   // sorts between "Styles" and "Styles\3"
    EXPECT_FALSE(s.KeyExists("Styles\\1"));
    EXPECT_TRUE(s.KeyExists("Styles"));
}

TEST(SettingsStore, DeleteKeyRemovesTheSubtreeOnly) {
    MemorySettingsStore s;
    s.WriteInteger("Styles\\1", "A", 1);
    s.WriteInteger("Styles\\1\\Deep", "B", 2);
    s.WriteInteger("Styles\\10", "C", 3);
    s.WriteInteger("Styles\\1x", "D", 4);
    s.WriteInteger("Styles", "Count", 2);

    s.DeleteKey("styles\\1");
    EXPECT_FALSE(s.KeyExists("Styles\\1"));
    EXPECT_FALSE(s.KeyExists("Styles\\1\\Deep"));
    EXPECT_EQ(s.ReadInteger("Styles\\10", "C"), 3);
    EXPECT_EQ(s.ReadInteger("Styles\\1x", "D"), 4);
    EXPECT_EQ(s.ReadInteger("Styles", "Count"), 2);
}

TEST(SettingsStore, DeleteValue) {
    MemorySettingsStore s;
    s.WriteString("Tools", "ToolPath1", "a");
    s.WriteString("Tools", "ToolName1", "b");
    EXPECT_TRUE(s.DeleteValue("Tools", "toolpath1"));
    EXPECT_FALSE(s.DeleteValue("Tools", "ToolPath1"));
    EXPECT_FALSE(s.DeleteValue("Nowhere", "ToolPath1"));
    EXPECT_FALSE(s.ValueExists("Tools", "ToolPath1"));
    EXPECT_TRUE(s.ValueExists("Tools", "ToolName1"));
    EXPECT_TRUE(s.DeleteValue("Tools", "ToolName1"));
    EXPECT_FALSE(s.KeyExists("Tools"));  // a key without values is gone, as in the file backend
}

TEST(SettingsStore, ReadsNeverWrite) {
    MemorySettingsStore s;
    s.WriteString("Settings", "DefFont", "Arial");
    const auto before = s.Entries();

    unsigned char b = 0;
    (void)s.ReadString("Settings", "Nothing");
    (void)s.ReadString("NoKey\\Below", "Nothing");
    EXPECT_THROW(s.ReadInteger("Other", "Count"), ESettingsRead);
    (void)s.ReadBinary("Other", "Bin", &b, 1);
    (void)s.KeyExists("Other\\Sub");
    (void)s.ValueSize("Other", "X");

    EXPECT_EQ(s.Entries(), before);
    EXPECT_FALSE(s.KeyExists("Other"));
    EXPECT_FALSE(s.KeyExists("NoKey"));
}

TEST(SettingsStore, NormalizeKey) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Settings", "Settings"},
        {"\\Settings\\", "Settings"},
        {"Styles/3", "Styles\\3"},
        {"a//b\\\\c", "a\\b\\c"},
        {"", ""},
        {"\\", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeSettingsKey(c.in), c.out) << c.in;
    EXPECT_EQ(SettingsSubKey("Styles", "12"), "Styles\\12");
}

}  // namespace
}  // namespace qm
