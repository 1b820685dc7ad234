#include "model/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace qm {

// Failures print the options as the values they are saved as.
void PrintTo(const TOptions& o, std::ostream* os) {
    MemorySettingsStore store;
    o.SaveToRegistry(store);
    for (const auto& [name, v] : store.Entries()) {
        *os << "\n  " << name << " = ";
        if (v.Type == SettingType::Integer)
            *os << v.Number;
        else if (v.Type == SettingType::String)
            *os << '"' << v.Data << '"';
        else
            for (unsigned char c : v.Data) *os << std::hex << int(c) << std::dec << ' ';
    }
}

namespace {

// The documented defaults, written out field by field.
TOptions ExpectedDefaults() {
    TOptions o;
    o.CompilerPath = "";
    o.StartMakeNew = true;
    o.AcViewCnt = true;
    o.EnableTagInsight = true;
    o.PopupTags = o.PopupTopics = o.PopupPopups = o.PopupMacros = o.PopupWindows = true;
    o.EditStyle = 1;
    o.EditColor = 0;
    o.DoneStyle = 0;
    o.DoneColor = 0x808080;
    o.DefFont = "MS Sans Serif";
    o.DefFontSize = 8;
    o.TagsDialogs = o.UpdateOnRename = true;
    o.ShowGutter = o.ShowRuler = o.ShowMessages = o.ShowProject = true;
    o.IdIncrement = 5;
    o.DblClickFollowsLink = true;
    o.HistoryStack = 300;
    o.Errors.fill(true);
    o.ErrorTypes.fill(0);
    o.ExplorerPane = "pnlLeftDock";
    o.MessagesPane = "pnlBottomDock";
    o.HotCursor = true;
    o.ScaleMode = 0;
    o.Dictionary = "english";
    o.UserDictionary = "user";
    o.SpellEnsureVisible = true;
    o.SpellStartBeginning = false;
    return o;
}

// Every field away from its default (and in range).
TOptions NonDefaults() {
    TOptions o;
    o.CompilerPath = "C:\\Program Files\\Help Workshop";
    o.StartMakeNew = false;
    o.StartOpenLast = true;
    o.AcDoNothing = true;
    o.AcViewCnt = false;
    o.AcViewCurrent = true;
    o.SaveBeforeCompile = true;
    o.EnableTagInsight = false;
    o.AddClosingQuotes = true;
    o.AddClosingBrackets = true;
    o.PopupTags = false;
    o.PopupTopics = false;
    o.PopupPopups = false;
    o.PopupMacros = false;
    o.PopupWindows = false;
    o.EditStyle = 3;
    o.EditColor = 0x00123456;
    o.DoneStyle = 12;
    o.DoneColor = static_cast<std::int32_t>(0x80FF00FF);  // the high byte survives too
    o.LastProject = "D:\\help\\caf\xE9.qpj";
    o.LastOpenDir = "D:\\help";
    o.LastSaveDir = "E:\\out";
    o.DefFont = "Arial";
    o.DefFontSize = 12;
    o.TagsDialogs = false;
    o.UpdateOnRename = false;
    o.ShowGutter = false;
    o.ShowRuler = false;
    o.ShowMessages = false;
    o.ShowProject = false;
    o.ShowRtf = true;
    o.ShowSpecChars = true;
    o.IdIncrement = 10;
    o.PromptTopicInfos = true;
    o.DblClickFollowsLink = false;
    o.HistoryStack = 999;
    for (int n = 1; n <= kBuildCheckCount; ++n) {
        o.SetError(n, n % 2 == 0);
        o.SetErrorType(n, n % 3 == 0 ? 1 : 0);
    }
    o.ExplorerPane = "pnlRightDock";
    o.ExplorerRect = {-10, 20, 300, 4000};
    o.MessagesPane = "pnlTopDock";
    o.MessagesRect = {1, 2, 3, INT32_MIN};
    o.HotCursor = false;
    o.ScaleMode = 2;
    o.Dictionary = "french";
    o.UserDictionary = "mine";
    o.SpellEnsureVisible = false;
    o.SpellStartBeginning = true;
    return o;
}

TEST(Options, CreatedEmpty) {
    const TOptions o;
    EXPECT_EQ(o.DefFont, "");
    EXPECT_EQ(o.HistoryStack, 0);
    EXPECT_FALSE(o.GetError(1));
    EXPECT_FALSE(o.ShowRuler);
}

TEST(Options, NoKeysGiveTheDefaults) {
    MemorySettingsStore store;
    TOptions o;
    o.LastOpenDir = "kept";  // not one of the defaults
    o.ExplorerRect = {1, 2, 3, 4};
    o.LoadFromRegistry(store);

    TOptions expected = ExpectedDefaults();
    expected.LastOpenDir = "kept";
    expected.ExplorerRect = {1, 2, 3, 4};
    EXPECT_EQ(o, expected);
    EXPECT_TRUE(store.Empty());  // loading wrote nothing
}

TEST(Options, SaveAndLoadKeepEveryField) {
    MemorySettingsStore store;
    const TOptions saved = NonDefaults();
    saved.SaveToRegistry(store);

    TOptions loaded;
    loaded.LoadFromRegistry(store);
    EXPECT_EQ(loaded, saved);

    // And the defaults survive the same way.
    MemorySettingsStore store2;
    ExpectedDefaults().SaveToRegistry(store2);
    TOptions loaded2;
    loaded2.LoadFromRegistry(store2);
    EXPECT_EQ(loaded2, ExpectedDefaults());
}

TEST(Options, StoredNamesTypesAndSizes) {
    MemorySettingsStore store;
    NonDefaults().SaveToRegistry(store);

    enum Kind { Str, Int, Bin1, Bin4, Bin16 };
    const struct {
        const char* key;
        const char* name;
        Kind kind;
    } cases[] = {
        {"Settings", "CompilerPath", Str},
        {"Settings", "StartMakeNew", Bin1},
        {"Settings", "StartOpenLast", Bin1},
        {"Settings", "AcDoNothing", Bin1},
        {"Settings", "AcViewCnt", Bin1},
        {"Settings", "AcViewCurrent", Bin1},
        {"Settings", "SaveBeforeCompile", Bin1},
        {"Settings", "EnableTagInsight", Bin1},
        {"Settings", "AddClosingQuotes", Bin1},
        {"Settings", "AddClosingBrackets", Bin1},
        {"Settings", "PopupTags", Bin1},
        {"Settings", "PopupTopics", Bin1},
        {"Settings", "PopupPopups", Bin1},
        {"Settings", "PopupMacros", Bin1},
        {"Settings", "PopupWindows", Bin1},
        {"Settings", "EditStyle", Bin1},
        {"Settings", "EditColor", Bin4},
        {"Settings", "DoneStyle", Bin1},
        {"Settings", "DoneColor", Bin4},
        {"Settings", "LastProject", Str},
        {"Settings", "LastOpenDir", Str},
        {"Settings", "LastSaveDir", Str},
        {"Settings", "DefFont", Str},
        {"Settings", "DefFontSize", Int},
        {"Settings", "TagsDialogs", Bin1},
        {"Settings", "UpdateOnRename", Bin1},
        {"Settings", "ShowGutter", Bin1},
        {"Settings", "ShowRuler", Bin1},
        {"Settings", "ShowMessages", Bin1},
        {"Settings", "ShowProject", Bin1},
        {"Settings", "ShowRtf", Bin1},
        {"Settings", "ShowSpecChars", Bin1},
        {"Settings", "IdIncrement", Int},
        {"Settings", "PromptTopicInfos", Bin1},
        {"Settings", "DblClickFollowsLink", Bin1},
        {"Settings", "HistoryStack", Int},
        {"Settings", "Error1", Int},
        {"Settings", "Error9", Int},
        {"Settings", "ErrorType1", Bin1},
        {"Settings", "ErrorType9", Bin1},
        {"Settings", "HotCursor", Int},
        {"Settings", "ScaleMode", Bin1},
        {"Settings", "Dictionary", Str},
        {"Settings", "UserDictionary", Str},
        {"Settings", "SpellEnsureVisible", Int},
        {"Settings", "SpellStartBeginning", Int},
        {"Docking", "ExplorerPane", Str},
        {"Docking", "ExplorerRect", Bin16},
        {"Docking", "MessagesPane", Str},
        {"Docking", "MessagesRect", Bin16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "\\" + c.name);
        const auto v = store.GetValue(c.key, c.name);
        ASSERT_TRUE(v.has_value());
        switch (c.kind) {
            case Str: EXPECT_EQ(v->Type, SettingType::String); break;
            case Int: EXPECT_EQ(v->Type, SettingType::Integer); break;
            case Bin1:
                EXPECT_EQ(v->Type, SettingType::Binary);
                EXPECT_EQ(v->Data.size(), 1u);
                break;
            case Bin4:
                EXPECT_EQ(v->Type, SettingType::Binary);
                EXPECT_EQ(v->Data.size(), 4u);
                break;
            case Bin16:
                EXPECT_EQ(v->Type, SettingType::Binary);
                EXPECT_EQ(v->Data.size(), 16u);
                break;
        }
    }
    // 42 settings plus 18 check values, and the 4 docking values: nothing else.
    EXPECT_EQ(store.Entries().size(), 42u + 18u + 4u);
    // Booleans are the numbers 0 and 1; colours and rectangles are little-endian.
    EXPECT_EQ(store.ReadInteger("Settings", "Error2"), 1);
    EXPECT_EQ(store.ReadInteger("Settings", "Error1"), 0);
    EXPECT_EQ(store.GetValue("Settings", "EditColor")->Data, std::string("\x56\x34\x12\x00", 4));
    EXPECT_EQ(store.GetValue("Docking", "ExplorerRect")->Data.substr(0, 4), std::string("\xF6\xFF\xFF\xFF", 4));
}

// One stored value changed before loading, and what the load must give: the
// saved options with `expect` applied. `noted`: the store says it could not
// read the value (a value that is missing is nothing to tell).
struct FailureCase {
    const char* what;
    std::function<void(MemorySettingsStore&)> change;
    std::function<void(TOptions& expected)> expect;
    bool noted;
};

TEST(Options, EachValueThatCannotBeReadTakesItsOwnDefault) {
    const unsigned char eight[8] = {};
    const unsigned char twenty[20] = {};
    const FailureCase cases[] = {
        {"missing number", [](MemorySettingsStore& s) { s.DeleteValue("Settings", "IdIncrement"); },
         [](TOptions& o) { o.IdIncrement = 5; }, false},
        {"missing boolean number", [](MemorySettingsStore& s) { s.DeleteValue("Settings", "Error5"); },
         [](TOptions& o) { o.SetError(5, true); }, false},
        {"number stored as a string", [](MemorySettingsStore& s) { s.WriteString("Settings", "HistoryStack", "999"); },
         [](TOptions& o) { o.HistoryStack = 300; }, true},
        {"binary value longer than its field",
         [&](MemorySettingsStore& s) { s.WriteBinary("Settings", "EditColor", eight, 8); },
         [](TOptions& o) { o.EditColor = 0; }, true},
        {"binary value stored as a number", [](MemorySettingsStore& s) { s.WriteInteger("Settings", "EditStyle", 3); },
         [](TOptions& o) { o.EditStyle = 1; }, true},
        {"string stored as a number", [](MemorySettingsStore& s) { s.WriteInteger("Settings", "DefFont", 1); },
         [](TOptions& o) { o.DefFont = "MS Sans Serif"; }, true},
        {"missing string", [](MemorySettingsStore& s) { s.DeleteValue("Settings", "Dictionary"); },
         [](TOptions& o) { o.Dictionary = "english"; }, false},
        {"missing string whose default is empty",
         [](MemorySettingsStore& s) { s.DeleteValue("Settings", "CompilerPath"); },
         [](TOptions& o) { o.CompilerPath = ""; }, false},
        {"missing binary value", [](MemorySettingsStore& s) { s.DeleteValue("Settings", "ShowRuler"); },
         [](TOptions& o) { o.ShowRuler = true; }, false},
        {"missing Settings key", [](MemorySettingsStore& s) { s.DeleteKey("Settings"); },
         [](TOptions& o) {
             TOptions expected = ExpectedDefaults();
             expected.ExplorerPane = o.ExplorerPane;
             expected.ExplorerRect = o.ExplorerRect;
             expected.MessagesPane = o.MessagesPane;
             expected.MessagesRect = o.MessagesRect;
             o = expected;  // the folders were never read: as created
         },
         false},
        {"malformed docking rectangle",
         [&](MemorySettingsStore& s) { s.WriteBinary("Docking", "MessagesRect", twenty, 20); },
         [](TOptions& o) { o.MessagesRect = {}; }, true},  // no default: as created
        {"docking pane name stored as a number",
         [](MemorySettingsStore& s) { s.WriteInteger("Docking", "ExplorerPane", 3); },
         [](TOptions& o) { o.ExplorerPane = "pnlLeftDock"; }, true},
        {"missing Docking key", [](MemorySettingsStore& s) { s.DeleteKey("Docking"); },
         [](TOptions& o) {
             o.ExplorerPane = "pnlLeftDock";
             o.MessagesPane = "pnlBottomDock";
             o.ExplorerRect = {};  // left as created
             o.MessagesRect = {};
         },
         false},
    };
    const TOptions saved = NonDefaults();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        saved.SaveToRegistry(store);
        c.change(store);
        TOptions loaded;
        loaded.LoadFromRegistry(store);
        TOptions expected = saved;
        c.expect(expected);
        EXPECT_EQ(loaded, expected);
        EXPECT_EQ(store.TakeReadProblems().size(), c.noted ? 1u : 0u);
    }
}

// A settings file written by hand with the compiler's folder alone.
TEST(Options, ASettingsGroupWithOneValueKeepsItAndDefaultsTheRest) {
    MemorySettingsStore store;
    store.WriteString("Settings", "CompilerPath", "/home/me/helpcompiler");
    TOptions o;
    o.LoadFromRegistry(store);
    TOptions expected = ExpectedDefaults();
    expected.CompilerPath = "/home/me/helpcompiler";
    EXPECT_EQ(o, expected);
    EXPECT_TRUE(store.TakeReadProblems().empty());
}

TEST(Options, ShortBinaryValueFillsTheFirstBytes) {
    MemorySettingsStore store;
    NonDefaults().SaveToRegistry(store);
    const unsigned char one = 0x77;
    store.WriteBinary("Settings", "EditColor", &one, 1);
    TOptions o;
    o.EditColor = 0x11223344;
    o.LoadFromRegistry(store);
    EXPECT_EQ(o.EditColor, 0x11223377);
}

TEST(Options, LoadedNumbersAreBroughtIntoRange) {
    const struct {
        const char* name;
        std::int32_t stored;
        std::int32_t TOptions::*field;
        std::int32_t expected;
    } cases[] = {
        {"HistoryStack", 0, &TOptions::HistoryStack, 5},       {"HistoryStack", -40, &TOptions::HistoryStack, 5},
        {"HistoryStack", 1001, &TOptions::HistoryStack, 1000}, {"HistoryStack", 5, &TOptions::HistoryStack, 5},
        {"HistoryStack", 1000, &TOptions::HistoryStack, 1000}, {"IdIncrement", 0, &TOptions::IdIncrement, 1},
        {"IdIncrement", INT32_MIN, &TOptions::IdIncrement, 1}, {"IdIncrement", 250, &TOptions::IdIncrement, 250},
        {"DefFontSize", 0, &TOptions::DefFontSize, 1},         {"DefFontSize", -8, &TOptions::DefFontSize, 1},
        {"DefFontSize", 100000, &TOptions::DefFontSize, 1638}, {"DefFontSize", 72, &TOptions::DefFontSize, 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.stored));
        MemorySettingsStore store;
        ExpectedDefaults().SaveToRegistry(store);
        store.WriteInteger("Settings", c.name, c.stored);
        TOptions o;
        o.LoadFromRegistry(store);
        EXPECT_EQ(o.*c.field, c.expected);
    }

    MemorySettingsStore store;
    ExpectedDefaults().SaveToRegistry(store);
    const unsigned char nine = 9;
    store.WriteBinary("Settings", "ScaleMode", &nine, 1);
    TOptions o;
    o.LoadFromRegistry(store);
    EXPECT_EQ(o.ScaleMode, 2);
}

TEST(Options, BuildChecksAndKinds) {
    MemorySettingsStore store;
    ExpectedDefaults().SaveToRegistry(store);
    const unsigned char warning = 1;
    store.WriteBinary("Settings", "ErrorType4", &warning, 1);
    store.WriteBool("Settings", "Error7", false);
    TOptions o;
    o.LoadFromRegistry(store);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(o.GetErrorType(n), n == 4 ? 1 : 0) << n;
        EXPECT_EQ(o.GetError(n), n != 7) << n;
    }
    // Indexes outside 1..9 read as off and are ignored when set.
    o.SetError(0, true);
    o.SetError(10, true);
    o.SetErrorType(10, 1);
    EXPECT_FALSE(o.GetError(0));
    EXPECT_FALSE(o.GetError(10));
    EXPECT_EQ(o.GetErrorType(10), 0);
    EXPECT_EQ(o.GetErrorType(-1), 0);
}

TEST(Options, SetDefaultsLeavesFoldersAndDocking) {
    TOptions o = NonDefaults();
    o.SetDefaults();
    TOptions expected = ExpectedDefaults();
    expected.LastOpenDir = "D:\\help";
    expected.LastSaveDir = "E:\\out";
    expected.ExplorerPane = "pnlRightDock";
    expected.ExplorerRect = {-10, 20, 300, 4000};
    expected.MessagesPane = "pnlTopDock";
    expected.MessagesRect = {1, 2, 3, INT32_MIN};
    EXPECT_EQ(o, expected);

    o.SetDockingDefaults();
    EXPECT_EQ(o.ExplorerPane, "pnlLeftDock");
    EXPECT_EQ(o.MessagesPane, "pnlBottomDock");
    EXPECT_EQ(o.ExplorerRect, (TScreenRect{-10, 20, 300, 4000}));
}

// A store whose backend fails on every access.
class BrokenStore : public MemorySettingsStore {
public:
    bool KeyExists(std::string_view) const override { return true; }
    std::optional<SettingValue> GetValue(std::string_view, std::string_view) const override {
        throw Error("backend unavailable");
    }
    void SetValue(std::string_view, std::string_view, const SettingValue&) override {
        throw Error("backend unavailable");
    }
};

TEST(Options, BackendFailuresAreNotReported) {
    BrokenStore store;
    TOptions o;
    EXPECT_NO_THROW(o.LoadFromRegistry(store));
    EXPECT_EQ(o, ExpectedDefaults());
    EXPECT_NO_THROW(NonDefaults().SaveToRegistry(store));
}

}  // namespace
}  // namespace qm
