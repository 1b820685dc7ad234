#include "platform/qtsettingsstore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/mru.h"
#include "model/options.h"
#include "model/styles.h"
#include "model/usertools.h"

namespace qm {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString File() const { return dir_.filePath("settings.conf"); }
    QByteArray FileBytes() const {
        QFile f(File());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

TEST_F(QtSettingsStoreTest, TypesSurviveTheFile) {
    const struct {
        const char* name;
        SettingValue value;
    } cases[] = {
        {"Digits", SettingValue::String("5")},  // a string that looks like a number stays a string
        {"Empty", SettingValue::String("")},
        {"Path", SettingValue::String("C:\\Program Files\\hc\\")},
        {"Tricky", SettingValue::String("a=b; [c] \"q\" %41 \r\n\t#x")},
        {"HighBytes", SettingValue::String("caf\xE9 \x80 \x81 \x9F \xFF")},
        {"Leading", SettingValue::String("@ByteArray(x)")},
        {"Number", SettingValue::Integer(5)},
        {"Negative", SettingValue::Integer(-7)},
        {"Min", SettingValue::Integer(INT32_MIN)},
        {"Max", SettingValue::Integer(INT32_MAX)},
        {"NoBytes", SettingValue::Binary("")},
        {"OneByte", SettingValue::Binary(std::string("\x00", 1))},
        {"Bytes", SettingValue::Binary(std::string("\x01\x00\xFF\x7F\"\n", 6))},
        {"Sixteen", SettingValue::Binary(std::string(16, '\xAB'))},
    };
    {
        QtSettingsStore store(File());
        for (const auto& c : cases) store.SetValue("Settings", c.name, c.value);
        store.SetValue("", "AtRoot", SettingValue::Integer(3));
        store.SetValue("Odd Key=[x]\\Sub", "Name/With=Marks", SettingValue::String("v"));
        ASSERT_TRUE(store.Sync());
    }
    QtSettingsStore again(File());
    for (const auto& c : cases) {
        const auto v = again.GetValue("Settings", c.name);
        ASSERT_TRUE(v.has_value()) << c.name;
        EXPECT_EQ(*v, c.value) << c.name;
    }
    EXPECT_EQ(again.ValueSize("Settings", "Bytes"), 6u);
    EXPECT_EQ(again.ReadInteger("", "AtRoot"), 3);
    EXPECT_THROW(again.ReadInteger("Settings", "Digits"), ESettingsRead);
    EXPECT_EQ(again.GetValue("Odd Key=[x]\\Sub", "Name/With=Marks").value_or(SettingValue()),
              SettingValue::String("v"));
}

TEST_F(QtSettingsStoreTest, KeysAndDeletion) {
    {
        QtSettingsStore store(File());
        store.WriteInteger("Styles", "Count", 2);
        store.WriteString("Styles\\1", "Name", "a");
        store.WriteString("Styles\\10", "Name", "b");
        store.WriteString("Tools", "ToolPath1", "p");
        store.WriteString("Tools", "ToolName1", "n");
        store.Sync();
    }
    QtSettingsStore store(File());
    EXPECT_TRUE(store.KeyExists("Styles"));
    EXPECT_TRUE(store.KeyExists("Styles\\1"));
    EXPECT_FALSE(store.KeyExists("Styles\\2"));
    EXPECT_FALSE(store.KeyExists("Nothing"));

    store.DeleteKey("Styles\\1");
    EXPECT_FALSE(store.KeyExists("Styles\\1"));
    EXPECT_TRUE(store.KeyExists("Styles\\10"));
    EXPECT_EQ(store.ReadInteger("Styles", "Count"), 2);

    EXPECT_TRUE(store.DeleteValue("Tools", "ToolPath1"));
    EXPECT_FALSE(store.DeleteValue("Tools", "ToolPath1"));
    EXPECT_TRUE(store.ValueExists("Tools", "ToolName1"));
    store.Sync();

    QtSettingsStore reread(File());
    EXPECT_FALSE(reread.KeyExists("Styles\\1"));
    EXPECT_FALSE(reread.ValueExists("Tools", "ToolPath1"));
    EXPECT_EQ(reread.ReadString("Tools", "ToolName1"), "n");
}

TEST_F(QtSettingsStoreTest, ReadsNeverWrite) {
    {
        QtSettingsStore store(File());
        TOptions o;
        o.LoadFromRegistry(store);  // every read misses
        TStyles s;
        s.LoadFromRegistry(store);
        store.Sync();
    }
    EXPECT_FALSE(QFileInfo::exists(File()));

    {
        QtSettingsStore store(File());
        store.WriteString("Settings", "DefFont", "Arial");
        store.Sync();
    }
    const QByteArray before = FileBytes();
    {
        QtSettingsStore store(File());
        TOptions o;
        o.LoadFromRegistry(store);
        TMru m;
        m.LoadFromRegistry(store);
        EXPECT_FALSE(store.KeyExists("MRU"));
        store.Sync();
    }
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(QtSettingsStoreTest, ProgramSettingsRoundTrip) {
    TOptions options;
    options.SetDefaults();
    options.SetDockingDefaults();
    options.CompilerPath = "C:\\hcw";
    options.HistoryStack = 42;
    options.EditColor = 0x00FF0000;
    options.SetErrorType(4, 1);
    options.SetError(2, false);
    options.ExplorerRect = {1, -2, 3, -4};
    TStyles styles;
    styles.SetDefaults();
    styles.GetStyle(2)->Offset = -15;
    TMru mru;
    mru.Add("b.qpj");
    mru.Add("a.qpj");
    TUserTools tools;
    tools.Add("/usr/bin/notepad", "Notes");
    {
        QtSettingsStore store(File());
        options.SaveToRegistry(store);
        styles.SaveToRegistry(store);
        mru.SaveToRegistry(store);
        tools.SaveToRegistry(store);
        ASSERT_TRUE(store.Sync());
    }
    QtSettingsStore store(File());
    TOptions o;
    o.LoadFromRegistry(store);
    EXPECT_EQ(o, options);
    TStyles s;
    s.LoadFromRegistry(store);
    EXPECT_EQ(s, styles);
    TMru m;
    m.LoadFromRegistry(store);
    EXPECT_EQ(m.GetItem(1), "a.qpj");
    EXPECT_EQ(m.GetItem(2), "b.qpj");
    TUserTools t;
    t.LoadFromRegistry(store);
    EXPECT_EQ(t.GetTool(0), (TTool{"/usr/bin/notepad", "Notes"}));
}

TEST_F(QtSettingsStoreTest, HandEditedFileSkipsBadLines) {
    {
        QFile f(File());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "; comment\n"
            "[Settings]\r\n"
            "Good=12\n"
            "Text=\"hello\"\n"
            "BadNumber=12x\n"
            "BadHex=hex:abc\n"
            "Unclosed=\"oops\n"
            "=7\n"
            "no equals sign\n"
            "Bin=hex:00ff\n");
    }
    QtSettingsStore store(File());
    EXPECT_EQ(store.ReadInteger("Settings", "Good"), 12);
    EXPECT_EQ(store.ReadString("Settings", "Text"), "hello");
    EXPECT_FALSE(store.ValueExists("Settings", "BadNumber"));
    EXPECT_FALSE(store.ValueExists("Settings", "BadHex"));
    EXPECT_FALSE(store.ValueExists("Settings", "Unclosed"));
    EXPECT_EQ(store.GetValue("Settings", "Bin"), SettingValue::Binary(std::string("\x00\xFF", 2)));
}

#ifndef Q_OS_WIN
TEST_F(QtSettingsStoreTest, ProgramStoreLivesUnderOrganisationAndApplication) {
    QSettings::setPath(QtSettingsStore::TypedFormat(), QSettings::UserScope, dir_.path());
    {
        QtSettingsStore store;
        EXPECT_EQ(QFileInfo(store.FileName()).absoluteFilePath(),
                  QFileInfo(dir_.filePath("Velgrave/Quillmark.conf")).absoluteFilePath());
        store.WriteInteger("Settings", "IdIncrement", 5);
        ASSERT_TRUE(store.Sync());
    }
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath("Velgrave/Quillmark.conf")));
    QtSettingsStore again;
    EXPECT_EQ(again.ReadInteger("Settings", "IdIncrement"), 5);
}
#endif

}  // namespace
}  // namespace qm
