#include "model/mru.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qm {
namespace {

struct FakeMenu {
    std::array<std::string, 10> captions;
    std::array<bool, 10> enabled{};
    int updates = 0;
    TMru::MenuSetter Setter() {
        return [this](int k, const std::string& caption, bool on) {
            captions.at(static_cast<std::size_t>(k)) = caption;
            enabled.at(static_cast<std::size_t>(k)) = on;
            ++updates;
        };
    }
};

std::vector<std::string> Slots(const TMru& m) {
    std::vector<std::string> out;
    for (int i = 1; i <= 10; ++i) out.push_back(m.GetItem(i));
    return out;
}

TEST(Mru, AddPutsTheNewestFirst) {
    TMru m;
    for (const char* f : {"a", "b", "c", "d"}) m.Add(f);
    EXPECT_EQ(Slots(m), (std::vector<std::string>{"d", "c", "b", "a", "", "", "", "", "", ""}));

    m.Add("a");  // from slot 4 to slot 1; slots 1 to 3 move down
    EXPECT_EQ(Slots(m), (std::vector<std::string>{"a", "d", "c", "b", "", "", "", "", "", ""}));
    m.Add("a");
    EXPECT_EQ(m.Count(), 4);
    m.Add("A");  // names compare exactly
    EXPECT_EQ(m.Count(), 5);
    EXPECT_EQ(m.GetItem(1), "A");
    EXPECT_EQ(m.GetItem(2), "a");
}

TEST(Mru, EleventhFilePushesTheTenthOut) {
    TMru m;
    for (int i = 1; i <= 11; ++i) m.Add("f" + std::to_string(i));
    EXPECT_EQ(m.Count(), 10);
    EXPECT_EQ(m.GetItem(1), "f11");
    EXPECT_EQ(m.GetItem(10), "f2");
    // Re-adding the last one moves it up without losing anything.
    m.Add("f2");
    EXPECT_EQ(m.GetItem(1), "f2");
    EXPECT_EQ(m.GetItem(10), "f3");
    EXPECT_EQ(m.Count(), 10);
}

TEST(Mru, RemoveClosesTheGap) {
    TMru m;
    for (const char* f : {"a", "b", "c"}) m.Add(f);
    m.Remove("b");
    EXPECT_EQ(Slots(m), (std::vector<std::string>{"c", "a", "", "", "", "", "", "", "", ""}));
    m.Remove("zzz");
    m.Remove("");
    EXPECT_EQ(m.Count(), 2);
    EXPECT_EQ(m.GetItem(0), "");
    EXPECT_EQ(m.GetItem(11), "");
}

TEST(Mru, MenuCaptions) {
    TMru m;
    FakeMenu popup, reopen;
    m.AttachMenu(popup.Setter());
    m.AttachMenu(reopen.Setter());
    EXPECT_EQ(popup.captions[0], "&0 <No Project>");
    EXPECT_EQ(reopen.captions[9], "&9 <No Project>");
    EXPECT_FALSE(reopen.enabled[0]);
    for (const char* f : {"C:\\p\\one.qpj", "two.qpj", "three.qpj"}) m.Add(f);

    for (FakeMenu* menu : {&popup, &reopen}) {
        EXPECT_EQ(menu->captions[0], "&0 three.qpj");
        EXPECT_EQ(menu->captions[1], "&1 two.qpj");
        EXPECT_EQ(menu->captions[2], "&2 C:\\p\\one.qpj");
        for (int k = 0; k < 3; ++k) EXPECT_TRUE(menu->enabled[static_cast<std::size_t>(k)]) << k;
        for (int k = 3; k < 10; ++k) {
            EXPECT_EQ(menu->captions[static_cast<std::size_t>(k)], "<No Project>") << k;
            EXPECT_FALSE(menu->enabled[static_cast<std::size_t>(k)]) << k;
        }
    }

    // An empty name only refreshes the menus.
    const int before = popup.updates;
    m.Add("");
    EXPECT_GT(popup.updates, before);
    EXPECT_EQ(m.Count(), 3);

    // A menu attached to a filled list shows the list at once.
    FakeMenu late;
    m.AttachMenu(late.Setter());
    EXPECT_EQ(late.captions, popup.captions);

    m.Clear();
    EXPECT_EQ(m.Count(), 0);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(popup.captions[static_cast<std::size_t>(k)], "&" + std::to_string(k) + " <No Project>");
        EXPECT_FALSE(popup.enabled[static_cast<std::size_t>(k)]);
    }
}

TEST(Mru, RegistryRoundTrip) {
    TMru m;
    for (const char* f : {"c", "b", "a"}) m.Add(f);
    MemorySettingsStore store;
    m.SaveToRegistry(store);
    EXPECT_EQ(store.ReadString("MRU", "MRU1"), "a");
    EXPECT_EQ(store.ReadString("MRU", "MRU3"), "c");
    // Free slots are written too, as empty strings.
    ASSERT_TRUE(store.GetValue("MRU", "MRU10").has_value());
    EXPECT_EQ(store.GetValue("MRU", "MRU10")->Type, SettingType::String);
    EXPECT_EQ(store.Entries().size(), 10u);

    TMru loaded;
    loaded.LoadFromRegistry(store);
    EXPECT_EQ(Slots(loaded), Slots(m));
}

TEST(Mru, LoadingOrderGapsAndBadValues) {
    MemorySettingsStore store;
    store.WriteString("MRU", "MRU1", "a");
    store.WriteString("MRU", "MRU2", "b");
    store.WriteString("MRU", "MRU4", "d");  // a gap at 3 closes up
    store.WriteInteger("MRU", "MRU5", 7);   // not a string: skipped
    store.WriteString("MRU", "MRU6", "a");  // a duplicate: the one in MRU1 wins
    TMru m;
    m.LoadFromRegistry(store);
    EXPECT_EQ(Slots(m), (std::vector<std::string>{"a", "b", "d", "", "", "", "", "", "", ""}));

    TMru none;
    MemorySettingsStore empty;
    none.LoadFromRegistry(empty);
    EXPECT_EQ(none.Count(), 0);
}

}  // namespace
}  // namespace qm
