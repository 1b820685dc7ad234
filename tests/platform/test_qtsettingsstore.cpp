#include "platform/qtsettingsstore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "model/mru.h"
#include "model/options.h"
#include "model/styles.h"
#include "model/usertools.h"
#include "platform/qtcp1252.h"

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

TEST_F(QtSettingsStoreTest, AHandEditedFileIsReadAsThePersonMeantIt) {
    {
        QFile f(File());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\xEF\xBB\xBF; comment, after the mark a Windows editor puts first\n"
            "[Settings]\r\n"
            "Good=12\n"
            "Text=\"hello\"\n"
            "Path=/home/me/help compiler\n"
            "  Spaced =  \"quoted\"  \n"
            "BadNumber=12x\n"
            "BadHex=hex:abc\n"
            "Unclosed=\"oops\n"
            "Empty=\n"
            "=7\n"
            "no equals sign\n"
            "Bin=hex:00ff\n"
            "[ Docking ]\n"
            "Pane=pnlLeftDock\n");
    }
    QtSettingsStore store(File());
    const struct {
        const char* key;
        const char* name;
        std::optional<SettingValue> value;
    } rows[] = {
        {"Settings", "Good", SettingValue::Integer(12)},
        {"Settings", "Text", SettingValue::String("hello")},
        // Written without the quotes: the text as written.
        {"Settings", "Path", SettingValue::String("/home/me/help compiler")},
        {"Settings", "Spaced", SettingValue::String("quoted")},
        {"Settings", "BadNumber", SettingValue::String("12x")},
        {"Settings", "BadHex", SettingValue::String("hex:abc")},
        {"Settings", "Unclosed", SettingValue::String("\"oops")},
        {"Settings", "Empty", SettingValue::String("")},
        {"Settings", "Bin", SettingValue::Binary(std::string("\x00\xFF", 2))},
        {"Docking", "Pane", SettingValue::String("pnlLeftDock")},
        {"Settings", "no equals sign", std::nullopt},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(store.GetValue(r.key, r.name), r.value);
    }
    // A number written without quotes is text where text is asked for.
    EXPECT_EQ(store.ReadString("Settings", "Good"), "12");
    EXPECT_EQ(store.TakeReadProblems().size(), 2u);  // "=7" and "no equals sign"
}

TEST_F(QtSettingsStoreTest, WhatCannotBeReadIsToldByLineAndFile) {
    {
        QFile f(File());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "[Settings]\n"
            "CompilerPath=/home/me/hc\n"
            "HistoryStack=lots\n"
            "IdIncrement=\"7\"\n"
            "CompilerPath /elsewhere\n"
            "\n"
            "DefFontSize=10\n");
    }
    QtSettingsStore store(File());
    TOptions o;
    o.LoadFromRegistry(store);
    EXPECT_EQ(o.CompilerPath, "/home/me/hc");
    EXPECT_EQ(o.HistoryStack, 300);
    EXPECT_EQ(o.IdIncrement, 5);
    EXPECT_EQ(o.DefFontSize, 10);
    const std::string file = ToCp1252(File());
    // In the file's order.
    const std::vector<std::string> expected = {
        "Line 3 of \"" + file + "\" was not understood: \"HistoryStack=lots\". Its default is used.",
        "Line 4 of \"" + file + "\" was not understood: \"IdIncrement=\"7\"\". Its default is used.",
        "Line 5 of \"" + file + "\" was not understood: \"CompilerPath /elsewhere\". It is skipped.",
    };
    EXPECT_EQ(store.TakeReadProblems(), expected);
    // Handed out once; a skipped line is told once, a value each time it is read.
    EXPECT_TRUE(store.TakeReadProblems().empty());
    o.LoadFromRegistry(store);
    EXPECT_EQ(store.TakeReadProblems().size(), 2u);

    // A value the program wrote since is no longer that line of the file.
    store.WriteInteger("Settings", "HistoryStack", 40);
    store.WriteString("Settings", "IdIncrement", "x");
    o.LoadFromRegistry(store);
    EXPECT_EQ(o.HistoryStack, 40);
    EXPECT_EQ(
        store.TakeReadProblems(),
        std::vector<std::string>{"The setting \"Settings\\IdIncrement\" could not be read; its default is used."});
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
