#include "model/usertools.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace qm {
namespace {

TEST(UserTools, AddEditDeleteAndCaptions) {
    TUserTools tools;
    int changes = 0;
    tools.SetOnChange([&] { ++changes; });
    ASSERT_TRUE(tools.Add("C:\\bin\\first.exe", "First"));
    ASSERT_TRUE(tools.Add("C:\\bin\\second.exe", "Second"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(tools.MenuCaption(0), "&0 First");
    EXPECT_EQ(tools.MenuCaption(1), "&1 Second");
    EXPECT_EQ(tools.MenuHint(1), "|Second");

    tools.SetTool(1, "D:\\other.exe", "Other");
    EXPECT_EQ(tools.GetTool(1), (TTool{"D:\\other.exe", "Other"}));
    EXPECT_EQ(changes, 3);
    tools.SetTool(2, "x", "y");  // out of range: nothing happens
    EXPECT_EQ(changes, 3);

    // After a delete the captions follow the tools they run.
    tools.Add("C:\\third.exe", "Third");
    tools.Delete(0);
    ASSERT_EQ(tools.Count(), 2);
    EXPECT_EQ(tools.MenuCaption(0), "&0 Other");
    EXPECT_EQ(tools.GetTool(0).Path, "D:\\other.exe");
    EXPECT_EQ(tools.MenuCaption(1), "&1 Third");
    EXPECT_EQ(tools.GetTool(1).Path, "C:\\third.exe");

    tools.Delete(5);
    tools.Delete(-1);
    EXPECT_EQ(tools.Count(), 2);
    EXPECT_EQ(tools.GetTool(7), TTool{});
}

TEST(UserTools, AtMostTen) {
    TUserTools tools;
    for (int i = 0; i < kMaxUserTools; ++i) ASSERT_TRUE(tools.Add("p" + std::to_string(i), "n"));
    EXPECT_FALSE(tools.CanAdd());
    EXPECT_FALSE(tools.Add("eleventh", "n"));
    EXPECT_EQ(tools.Count(), 10);
    tools.Delete(3);
    EXPECT_TRUE(tools.CanAdd());
}

TEST(UserTools, RegistryRoundTripLeavesNoStaleValues) {
    TUserTools tools;
    tools.Add("C:\\a.exe", "A");
    tools.Add("C:\\b.exe", "B");
    tools.Add("C:\\c.exe", "C");
    MemorySettingsStore store;
    tools.SaveToRegistry(store);
    EXPECT_EQ(store.ReadInteger("Tools", "Count"), 3);
    EXPECT_EQ(store.ReadString("Tools", "ToolPath1"), "C:\\a.exe");
    EXPECT_EQ(store.ReadString("Tools", "ToolName3"), "C");

    tools.Delete(1);
    tools.SaveToRegistry(store);
    EXPECT_EQ(store.ReadInteger("Tools", "Count"), 2);
    EXPECT_EQ(store.ReadString("Tools", "ToolName2"), "C");
    EXPECT_FALSE(store.ValueExists("Tools", "ToolPath3"));
    EXPECT_FALSE(store.ValueExists("Tools", "ToolName3"));
    EXPECT_EQ(store.Entries().size(), 5u);

    TUserTools loaded;
    loaded.LoadFromRegistry(store);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.GetTool(0), (TTool{"C:\\a.exe", "A"}));
    EXPECT_EQ(loaded.GetTool(1), (TTool{"C:\\c.exe", "C"}));
}

TEST(UserTools, LoadingBadValues) {
    const struct {
        const char* what;
        void (*fill)(MemorySettingsStore&);
        int expected;
    } cases[] = {
        {"no key", [](MemorySettingsStore&) {}, 0},
        {"no count reads the tools stored one after another",
         [](MemorySettingsStore& s) {
             s.WriteString("Tools", "ToolPath1", "a");
             s.WriteString("Tools", "ToolName2", "b");
             s.WriteString("Tools", "ToolPath4", "after a gap");
         },
         2},
        {"count as text reads the tools stored",
         [](MemorySettingsStore& s) {
             s.WriteString("Tools", "Count", "1");
             s.WriteString("Tools", "ToolPath1", "a");
         },
         1},
        {"count above ten",
         [](MemorySettingsStore& s) {
             s.WriteInteger("Tools", "Count", 12);
             for (int n = 1; n <= 12; ++n) {
                 s.WriteString("Tools", "ToolPath" + std::to_string(n), "p");
                 s.WriteString("Tools", "ToolName" + std::to_string(n), "n");
             }
         },
         10},
        {"negative count", [](MemorySettingsStore& s) { s.WriteInteger("Tools", "Count", -3); }, 0},
        {"missing pair reads as empty strings", [](MemorySettingsStore& s) { s.WriteInteger("Tools", "Count", 2); }, 2},
        {"a path that is not a string is empty and the tools after it stay",
         [](MemorySettingsStore& s) {
             s.WriteInteger("Tools", "Count", 3);
             s.WriteString("Tools", "ToolPath1", "a");
             s.WriteInteger("Tools", "ToolPath2", 5);
             s.WriteString("Tools", "ToolName2", "two");
             s.WriteString("Tools", "ToolPath3", "c");
         },
         3},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        c.fill(store);
        TUserTools tools;
        tools.LoadFromRegistry(store);
        EXPECT_EQ(tools.Count(), c.expected) << c.what;
    }

    // What was read of a tool whose path could not be read stays.
    MemorySettingsStore store;
    cases[std::size(cases) - 1].fill(store);
    TUserTools tools;
    tools.LoadFromRegistry(store);
    ASSERT_EQ(tools.Count(), 3);
    EXPECT_EQ(tools.GetTool(1), (TTool{"", "two"}));
    EXPECT_EQ(tools.GetTool(2), (TTool{"c", ""}));
}

}  // namespace
}  // namespace qm
