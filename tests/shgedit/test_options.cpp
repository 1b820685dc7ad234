// Pikeral's settings: the exact names and types they are stored under, the
// defaults on a first run and for each unreadable value, the 44-byte window
// placement, and one settings file shared with Quillmark.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <map>
#include <stdexcept>

#include "platform/qtsettingsstore.h"
#include "shgedit/options.h"
#include "support/qtapp.h"

namespace qm::shgedit {
namespace {

TOptions Defaults() {
    TOptions o;
    o.SetDefaults();
    return o;
}

TOptions Sample() {
    TOptions o;
    o.LastOpenDir = "/home/ann/pictures/";
    o.LastSaveDir = "/home/ann/help/\xE9t\xE9/";
    o.ViewToolbar = false;
    o.ViewStatusBar = true;
    o.DefAttribute = 0;
    o.DefType = 2;
    o.DefID = "Spot";
    o.AssocSHG = false;
    o.Position = TWindowPlacement::FromWindow(10, 20, 640, 480, true);
    return o;
}

TEST(PikeralOptions, DefaultsOfTheSettings) {
    const TOptions d = Defaults();
    EXPECT_EQ(d.LastOpenDir, "");
    EXPECT_EQ(d.LastSaveDir, "");
    EXPECT_TRUE(d.ViewStatusBar);
    EXPECT_TRUE(d.ViewToolbar);
    EXPECT_EQ(d.DefAttribute, 1);
    EXPECT_EQ(d.DefType, 0);
    EXPECT_EQ(d.DefID, "Hotspot");
    EXPECT_TRUE(d.AssocSHG);
    EXPECT_TRUE(d.Position.IsZero());
}

TEST(PikeralOptions, RoundTripUnderTheExactNames) {
    MemorySettingsStore store;
    Sample().WriteToRegistry(store);
    const std::map<std::string, SettingValue> expected = {
        {"Pikeral\\Settings\\AssocSHG", SettingValue::Integer(0)},
        {"Pikeral\\Settings\\DefAttribute", SettingValue::Integer(0)},
        {"Pikeral\\Settings\\DefID", SettingValue::String("Spot")},
        {"Pikeral\\Settings\\DefType", SettingValue::Integer(2)},
        {"Pikeral\\Settings\\LastOpenDir", SettingValue::String("/home/ann/pictures/")},
        {"Pikeral\\Settings\\LastSaveDir", SettingValue::String("/home/ann/help/\xE9t\xE9/")},
        {"Pikeral\\Settings\\Position", SettingValue::Binary(Sample().Position.Pack())},
        // One spelling, read and written.
        {"Pikeral\\Settings\\ViewStatusBar", SettingValue::Integer(1)},
        {"Pikeral\\Settings\\ViewToolbar", SettingValue::Integer(0)},
    };
    EXPECT_EQ(store.Entries(), expected);
    TOptions back;
    back.ReadFromRegistry(store);
    EXPECT_EQ(back, Sample());
}

TEST(PikeralOptions, EachValueThatCannotBeReadTakesItsDefault) {
    struct Row {
        const char* name;
        std::function<void(MemorySettingsStore&)> fill;
        std::function<void(TOptions&)> expect;  // applied to the defaults
    } rows[] = {
        {"first run: nothing stored", [](MemorySettingsStore&) {}, [](TOptions&) {}},
        {"only LastOpenDir", [](MemorySettingsStore& s) { s.WriteString(kSettingsKey, "LastOpenDir", "/somewhere/"); },
         [](TOptions& o) { o.LastOpenDir = "/somewhere/"; }},
        {"a number stored as text",
         [](MemorySettingsStore& s) {
             Sample().WriteToRegistry(s);
             s.WriteString(kSettingsKey, "DefType", "2");
         },
         [](TOptions& o) {
             o = Sample();
             o.DefType = 0;
         }},
        {"a missing flag",
         [](MemorySettingsStore& s) {
             Sample().WriteToRegistry(s);
             s.DeleteValue(kSettingsKey, "ViewToolbar");
         },
         [](TOptions& o) {
             o = Sample();
             o.ViewToolbar = true;
         }},
        // A Position that cannot be read leaves the placement as it was: all zero here.
        {"a Position of 45 bytes",
         [](MemorySettingsStore& s) {
             Sample().WriteToRegistry(s);
             const std::string long45 = Sample().Position.Pack() + "x";
             s.WriteBinary(kSettingsKey, "Position", long45.data(), long45.size());
         },
         [](TOptions& o) {
             o = Sample();
             o.Position = TWindowPlacement{};
         }},
        {"a Position stored as text",
         [](MemorySettingsStore& s) {
             Sample().WriteToRegistry(s);
             s.WriteString(kSettingsKey, "Position", "10,20");
         },
         [](TOptions& o) {
             o = Sample();
             o.Position = TWindowPlacement{};
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemorySettingsStore store;
        row.fill(store);
        TOptions read;
        read.ReadFromRegistry(store);
        TOptions expected = Defaults();
        row.expect(expected);
        EXPECT_EQ(read, expected);
    }
}

TEST(PikeralOptions, OutOfRangeListChoicesFallBack) {
    MemorySettingsStore store;
    Sample().WriteToRegistry(store);
    store.WriteInteger(kSettingsKey, "DefType", 7);
    store.WriteInteger(kSettingsKey, "DefAttribute", -1);
    TOptions read;
    read.ReadFromRegistry(store);
    EXPECT_EQ(read.DefType, 0);
    EXPECT_EQ(read.DefAttribute, 1);
    EXPECT_EQ(read.DefID, "Spot");
}

// A store whose every read fails, as a broken backend would.
class BrokenStore : public MemorySettingsStore {
public:
    std::optional<SettingValue> GetValue(std::string_view, std::string_view) const override {
        throw std::runtime_error("the store cannot be read");
    }
};

TEST(PikeralOptions, AnUnreadableStoreGivesTheDefaultsNotEmptyFields) {
    BrokenStore store;
    TOptions read;
    read.ReadFromRegistry(store);
    EXPECT_EQ(read, Defaults());
}

TEST(WindowPlacement, PacksTheFortyFourByteRecord) {
    const TWindowPlacement p = TWindowPlacement::FromWindow(-8, 30, 700, 500, false);
    const std::string bytes = p.Pack();
    ASSERT_EQ(bytes.size(), 44u);
    const std::string expected(
        "\x2C\0\0\0"        // length 44
        "\0\0\0\0"          // flags
        "\x01\0\0\0"        // shown normally
        "\0\0\0\0\0\0\0\0"  // minimised position
        "\0\0\0\0\0\0\0\0"  // maximised position
        "\xF8\xFF\xFF\xFF"  // left -8
        "\x1E\0\0\0"        // top 30
        "\xB4\x02\0\0"      // right 692
        "\x12\x02\0\0",     // bottom 530
        44);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(TWindowPlacement::Unpack(bytes), p);
    EXPECT_TRUE(p.IsUsable());
    EXPECT_FALSE(p.Maximized());
    EXPECT_TRUE(TWindowPlacement::FromWindow(0, 0, 10, 10, true).Maximized());
    // Any other size is no placement.
    EXPECT_TRUE(TWindowPlacement::Unpack(bytes.substr(0, 43)).IsZero());
    EXPECT_FALSE(TWindowPlacement{}.IsUsable());
}

TEST(PikeralOptions, TwoStoresOnOneFileKeepBothProgramsKeys) {
    qmtest::EnsureQtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Quillmark.conf"));
    {
        // Both programs run at once, each with its own store on the shared file.
        QtSettingsStore quillmark(file);
        QtSettingsStore pikeral(file);
        quillmark.WriteString("Settings", "CompilerPath", "C:\\HCW");
        quillmark.WriteString("MRU", "MRU1", "/p/a.qpf");
        EXPECT_TRUE(quillmark.Sync());
        Sample().WriteToRegistry(pikeral);
        EXPECT_TRUE(pikeral.Sync());
        // Quillmark closes last and writes again.
        quillmark.WriteString("Settings", "LastProject", "/p/a.qpf");
        EXPECT_TRUE(quillmark.Sync());
    }
    QtSettingsStore reader(file);
    EXPECT_EQ(reader.ReadString("Settings", "CompilerPath"), "C:\\HCW");
    EXPECT_EQ(reader.ReadString("Settings", "LastProject"), "/p/a.qpf");
    EXPECT_EQ(reader.ReadString("MRU", "MRU1"), "/p/a.qpf");
    TOptions read;
    read.ReadFromRegistry(reader);
    EXPECT_EQ(read, Sample());
    // Pikeral's settings are not Quillmark's "Settings".
    EXPECT_FALSE(reader.ValueExists("Settings", "DefID"));
}

}  // namespace
}  // namespace qm::shgedit
