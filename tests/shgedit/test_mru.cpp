// Pikeral's recent files: four slots, the newest first, names compared as
// absolute paths (letter case counts here), the captions of the menu items,
// and the values "0" to "3" of "Pikeral\Mru".
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "shgedit/mru.h"
#include "shgedit/options.h"
#include "util/fileio.h"

namespace qm::shgedit {
namespace {

std::vector<std::string> Files(const TMru& mru) {
    std::vector<std::string> out;
    for (int i = 0; i < TMru::kCount; ++i) out.push_back(mru.File(i));
    return out;
}

std::string Cwd(const std::string& name) { return FromFsPath(std::filesystem::current_path() / name); }

TEST(PikeralMru, AddRemoveAndCompare) {
    struct Row {
        const char* name;
        std::vector<std::string> adds;
        std::vector<std::string> removes;
        std::vector<std::string> expected;
    } rows[] = {
        {"newest first", {"/p/a.shg", "/p/b.shg"}, {}, {"/p/b.shg", "/p/a.shg", "", ""}},
        {"a fifth file drops the oldest",
         {"/p/1.shg", "/p/2.shg", "/p/3.shg", "/p/4.shg", "/p/5.shg"},
         {},
         {"/p/5.shg", "/p/4.shg", "/p/3.shg", "/p/2.shg"}},
        {"a name already there moves to the top",
         {"/p/1.shg", "/p/2.shg", "/p/3.shg", "/p/2.shg"},
         {},
         {"/p/2.shg", "/p/3.shg", "/p/1.shg", ""}},
#ifndef _WIN32
        {"letter case makes another file", {"/p/a.shg", "/p/A.SHG"}, {}, {"/p/A.SHG", "/p/a.shg", "", ""}},
#endif
        {"the same file by another path", {"/p/x/a.shg", "/p/x/../x/./a.shg"}, {}, {"/p/x/a.shg", "", "", ""}},
        {"a relative name is made absolute", {"rel.shg", Cwd("rel.shg")}, {}, {Cwd("rel.shg"), "", "", ""}},
        {"removing the last of a full list",
         {"/p/1.shg", "/p/2.shg", "/p/3.shg", "/p/4.shg"},
         {"/p/1.shg"},
         {"/p/4.shg", "/p/3.shg", "/p/2.shg", ""}},
        {"removing from the middle",
         {"/p/1.shg", "/p/2.shg", "/p/3.shg"},
         {"/p/2.shg"},
         {"/p/3.shg", "/p/1.shg", "", ""}},
        {"removing a name not there changes nothing", {"/p/1.shg"}, {"/p/9.shg"}, {"/p/1.shg", "", "", ""}},
        {"an empty name is never added", {"", "/p/1.shg", ""}, {""}, {"/p/1.shg", "", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TMru mru(kMruKey);
        for (const std::string& a : row.adds) mru.AddFile(a);
        for (const std::string& r : row.removes) mru.RemoveFile(r);
        EXPECT_EQ(Files(mru), row.expected);
    }
}

TEST(PikeralMru, CaptionsFollowEveryChange) {
    TMru mru(kMruKey);
    std::vector<std::pair<std::string, bool>> items(TMru::kCount);
    mru.AttachMenu([&](int k, const std::string& caption, bool enabled) {
        items[static_cast<std::size_t>(k)] = {caption, enabled};
    });
    EXPECT_EQ(items[0], std::make_pair(std::string("&1 <None>"), false));
    for (const char* f : {"/p/1.shg", "/p/2.shg", "/p/3.shg", "/p/4.shg"}) mru.AddFile(f);
    EXPECT_EQ(items[0], std::make_pair(std::string("&1 /p/4.shg"), true));
    EXPECT_EQ(items[3], std::make_pair(std::string("&4 /p/1.shg"), true));
    mru.RemoveFile("/p/1.shg");
    EXPECT_EQ(items[3], std::make_pair(std::string("&4 <None>"), false));
    EXPECT_EQ(items[2], std::make_pair(std::string("&3 /p/2.shg"), true));
}

TEST(PikeralMru, StoredAsFourStringValues) {
    MemorySettingsStore store;
    TMru mru(kMruKey);
    mru.AddFile("/p/1.shg");
    mru.AddFile("/p/2.shg");
    mru.WriteToRegistry(store);
    const std::map<std::string, SettingValue> expected = {
        {"Pikeral\\Mru\\0", SettingValue::String("/p/2.shg")},
        {"Pikeral\\Mru\\1", SettingValue::String("/p/1.shg")},
        {"Pikeral\\Mru\\2", SettingValue::String("")},
        {"Pikeral\\Mru\\3", SettingValue::String("")},
    };
    EXPECT_EQ(store.Entries(), expected);

    TMru back(kMruKey);
    back.ReadFromRegistry(store);
    EXPECT_EQ(Files(back), Files(mru));

    // A missing key changes nothing; a value of another type reads as empty.
    TMru kept(kMruKey);
    kept.AddFile("/p/kept.shg");
    MemorySettingsStore empty;
    kept.ReadFromRegistry(empty);
    EXPECT_EQ(kept.File(0), "/p/kept.shg");
    store.WriteInteger(kMruKey, "1", 5);
    back.ReadFromRegistry(store);
    EXPECT_EQ(Files(back), (std::vector<std::string>{"/p/2.shg", "", "", ""}));
}

}  // namespace
}  // namespace qm::shgedit
