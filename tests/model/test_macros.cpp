#include "model/macros.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {
namespace {

// The catalogue the program ships, in data/ of the source tree.
const std::string kShippedCatalogue =
    (std::filesystem::path(QM_TEST_DATA_DIR).parent_path().parent_path() / "data" / "macros.cfg").string();

TEST(MacroLine, WellFormedLines) {
    const struct {
        const char* line;
        std::int32_t context;
        const char* name;
        const char* syntax;
        int count;
        std::vector<std::string> params;
    } cases[] = {
        {"12,Jump(%1, %2)|2,file,topic", 12, "Jump", "Jump(file, topic)", 2, {"file", "topic"}},
        // No parameters: the syntax is the text as written.
        {"3,Back()|0", 3, "Back", "Back()", 0, {}},
        {"4,Odd(%1 %1)|0", 4, "Odd", "Odd(%1 %1)", 0, {}},
        // Every occurrence of a placeholder is replaced.
        {"5,Twice(%1, %1, %2)|2,a,b", 5, "Twice", "Twice(a, a, b)", 2, {"a", "b"}},
        {"6,Six(%1,%2,%3,%4,%5,%6)|6,a,b,c,d,e,f", 6, "Six", "Six(a,b,c,d,e,f)", 6, {"a", "b", "c", "d", "e", "f"}},
        // Fewer names than the count leave the rest empty.
        {"7,Short(%1, %2)|2,only", 7, "Short", "Short(only, )", 2, {"only", ""}},
        {"8,Bare(%1)|1", 8, "Bare", "Bare()", 1, {""}},
        // Names after the count are ignored; names may hold "(" and quotes.
        {"9,IfThen(%1, \"%2\")|2,IsMark(\"m\"),macro,extra",
         9,
         "IfThen",
         "IfThen(IsMark(\"m\"), \"macro\")",
         2,
         {"IsMark(\"m\")", "macro"}},
        {"-1,Neg()|0", -1, "Neg", "Neg()", 0, {}},
        {" 10 ,Spaced()|0", 10, "Spaced", "Spaced()", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        TMacroInfo m;
        ASSERT_TRUE(ParseMacroLine(c.line, m));
        EXPECT_EQ(m.HelpContext, c.context);
        EXPECT_EQ(m.Name, c.name);
        EXPECT_EQ(m.Syntax, c.syntax);
        EXPECT_EQ(m.ParamCount, c.count);
        for (int k = 1; k <= kMaxMacroParams; ++k) {
            const std::string expected = k <= static_cast<int>(c.params.size()) ? c.params[k - 1] : "";
            EXPECT_EQ(m.Param(k), expected) << k;
        }
    }
}

TEST(MacroLine, BlankAndMalformedLinesAreRefused) {
    const char* cases[] = {
        "",
        "   ",
        "\t",
        "12Jump(%1)|1,a",               // no comma
        "12,Jump%1)|1,a",               // no "("
        "12,Jump(%1)1,a",               // no "|"
        "12|,Jump(%1),1,a",             // "|" before ","
        "(12,Jump%1)|1,a",              // "(" before ","
        "12,Jump|1,a(x)",               // "|" before "("
        "12,Jump(%1)|7,a,b,c,d,e,f,g",  // more than six parameters
        "12,Jump(%1)|9",
        "12,Jump(%1)|",         // no count
        "12,Jump(%1)|x,a",      // count not a digit
        "x12,Jump(%1)|1,a",     // help context not a number
        ",Jump(%1)|1,a",        // empty help context
        "99999999999,Big()|0",  // help context beyond 32 bits
    };
    for (const char* line : cases) {
        TMacroInfo m;
        m.Name = "untouched";
        EXPECT_FALSE(ParseMacroLine(line, m)) << line;
        EXPECT_EQ(m.Name, "untouched") << line;
    }
}

TEST(Macros, LoadSkipsBadLinesAndKeepsTheRest) {
    TMacros macros;
    const int malformed = macros.LoadFromText("1,A()|0\r\n\r\n2,B(%1)|9,x\nbroken\r3,C(%1)|1,p\r\n");
    EXPECT_EQ(malformed, 2);
    ASSERT_EQ(macros.Count(), 3 - 1);
    EXPECT_EQ(macros.GetMacro(0)->Name, "A");
    EXPECT_EQ(macros.GetMacro(1)->Name, "C");
    EXPECT_EQ(macros.GetMacro(1)->Syntax, "C(p)");
    EXPECT_EQ(macros.GetMacro(2), nullptr);
    EXPECT_EQ(macros.GetMacro(-1), nullptr);
}

TEST(Macros, ByteOrderMarkDoesNotCostTheFirstMacro) {
    TMacros macros;
    EXPECT_EQ(macros.LoadFromText("\xEF\xBB\xBF"
                                  "1,About()|0\r\n2,Back()|0\r\n"),
              0);
    ASSERT_EQ(macros.Count(), 2);
    EXPECT_EQ(macros.GetMacro(0)->Name, "About");
    EXPECT_EQ(macros.GetMacro(0)->HelpContext, 1);
}

TEST(Macros, MissingFileGivesAnEmptyCatalogue) {
    TMacros macros;
    macros.Add().Name = "old";
    macros.LoadFromFile((std::filesystem::temp_directory_path() / "qm-no-such-dir" / "macros.cfg").string());
    EXPECT_EQ(macros.Count(), 0);
}

TEST(Macros, ShippedCatalogue) {
    ASSERT_TRUE(FileExists(kShippedCatalogue)) << kShippedCatalogue;
    const std::string text = ReadWholeFile(kShippedCatalogue);
    // Every line is well-formed, and each macro appears once.
    TMacros macros;
    EXPECT_EQ(macros.LoadFromText(text), 0);
    EXPECT_EQ(macros.Count(), static_cast<int>(SplitLines(text).size()));
    std::set<std::string> names;
    std::set<std::int32_t> contexts;
    for (int i = 0; i < macros.Count(); ++i) {
        const TMacroInfo& m = *macros.GetMacro(i);
        EXPECT_TRUE(names.insert(m.Name).second) << m.Name;
        EXPECT_TRUE(contexts.insert(m.HelpContext).second) << m.Name;
        EXPECT_EQ(m.Syntax.find('%'), std::string::npos) << m.Name;  // every placeholder has a name
        EXPECT_EQ(m.Syntax.rfind(m.Name + "(", 0), 0u) << m.Name;
        for (int k = 1; k <= m.ParamCount; ++k) EXPECT_FALSE(m.Param(k).empty()) << m.Name << " " << k;
    }

    const char* required[] = {"About",
                              "AddAccelerator",
                              "ALink",
                              "Annotate",
                              "AppendItem",
                              "Back",
                              "BookmarkDefine",
                              "BookmarkMore",
                              "BrowseButtons",
                              "ChangeButtonBinding",
                              "ChangeEnable",
                              "ChangeItemBinding",
                              "CheckItem",
                              "CloseSecondarys",
                              "CloseWindow",
                              "Contents",
                              "ControlPanel",
                              "CopyDialog",
                              "CopyTopic",
                              "CreateButton",
                              "DeleteItem",
                              "DeleteMark",
                              "DestroyButton",
                              "DisableButton",
                              "DisableItem",
                              "EnableButton",
                              "EnableItem",
                              "EndMPrint",
                              "ExecFile",
                              "ExecProgram",
                              "Exit",
                              "FileOpen",
                              "Find",
                              "Finder",
                              "FloatingMenu",
                              "Flush",
                              "FocusWindow",
                              "Generate",
                              "GotoMark",
                              "HelpOn",
                              "HelpOnTop",
                              "History",
                              "IfThen",
                              "IfThenElse",
                              "InitMPrint",
                              "InsertItem",
                              "InsertMenu",
                              "IsBook",
                              "IsMark",
                              "IsNotMark",
                              "JumpContents",
                              "JumpContext",
                              "JumpHelpOn",
                              "JumpId",
                              "JumpKeyword",
                              "KLink",
                              "Menu",
                              "MPrintHash",
                              "MPrintId",
                              "Next",
                              "Not",
                              "PopupContext",
                              "PopupHash",
                              "PopupId",
                              "PositionWindow",
                              "Prev",
                              "Print",
                              "PrinterSetup",
                              "RegisterRoutine",
                              "RemoveAccelerator",
                              "ResetMenu",
                              "SaveMark",
                              "Search",
                              "SetContents",
                              "SetHelpOnFile",
                              "SetPopupColor",
                              "ShellExecute",
                              "ShortCut",
                              "TCard",
                              "Test",
                              "TestALink",
                              "TestKLink",
                              "UncheckItem",
                              "UpdateWindow"};
    for (const char* name : required) EXPECT_TRUE(names.count(name)) << name;

    auto find = [&](const std::string& name) -> const TMacroInfo* {
        for (int i = 0; i < macros.Count(); ++i)
            if (macros.GetMacro(i)->Name == name) return macros.GetMacro(i);
        return nullptr;
    };
    const struct {
        const char* name;
        int count;
        const char* syntax;
    } known[] = {
        {"About", 0, "About()"},
        {"JumpId", 2, "JumpId(\"filename\", \"topic-ID\")"},
        {"PositionWindow", 6, "PositionWindow(x, y, width, height, window-state, \"window-name\")"},
        {"InsertItem", 5, "InsertItem(\"menu-ID\", \"item-ID\", \"item-name\", \"macro\", position)"},
        {"ExecFile", 4, "ExecFile(\"program\"[, \"arguments\"[, display-state[, \"topic-ID\"]]])"},
        {"CreateButton", 3, "CreateButton(\"button-ID\", \"name\", \"macro\")"},
        {"SetPopupColor", 3, "SetPopupColor(red, green, blue)"},
    };
    for (const auto& k : known) {
        const TMacroInfo* m = find(k.name);
        ASSERT_NE(m, nullptr) << k.name;
        EXPECT_EQ(m->ParamCount, k.count) << k.name;
        EXPECT_EQ(m->Syntax, k.syntax) << k.name;
    }
    // A macro argument is named "macro", which gives it the builder's browse button.
    EXPECT_EQ(find("AddAccelerator")->Param(3), "macro");
}

TEST(Macros, LoadFromFileReadsTheShippedFile) {
    TMacros macros;
    macros.LoadFromFile(kShippedCatalogue);
    EXPECT_GE(macros.Count(), 84);
}

}  // namespace
}  // namespace qm
