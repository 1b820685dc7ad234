#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formats/cntfile.h"
#include "support/scratchdir.h"
#include "util/cp1252.h"
#include "util/fileio.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<TCntNode> Entry(TCntNodeKind kind, const std::string& title) {
    auto n = std::make_unique<TCntNode>();
    n->Kind = kind;
    n->Title = title;
    return n;
}

std::unique_ptr<TCntNode> Book(const std::string& title) { return Entry(TCntNodeKind::Book, title); }
std::unique_ptr<TCntNode> Topic(const std::string& title) { return Entry(TCntNodeKind::Topic, title); }

// The tree as "level:title" in preorder, joined by "|".
std::string Outline(const TCntTree& tree) {
    std::string out;
    for (int i = 0; i < tree.Count(); ++i) {
        const TCntTreeNode* n = tree.GetNode(i);
        if (!out.empty()) out += "|";
        out += std::to_string(tree.LevelOf(n)) + ":" + n->Item->Title;
    }
    return out;
}

// Checks the link structure: sibling links agree, the parent link sits only on
// first children, only books have children, and Count matches the nodes.
void ExpectSound(const TCntTree& tree) {
    int seen = 0;
    for (const TCntTreeNode* n = tree.First(); n; n = TCntTree::NextInPreorder(n)) {
        ++seen;
        ASSERT_LE(seen, tree.Count()) << "more nodes than counted (a cycle?)";
        if (n->NextSibling) {
            EXPECT_EQ(n->NextSibling->PrevSibling, n);
        }
        if (n->PrevSibling) {
            EXPECT_EQ(n->PrevSibling->NextSibling, n);
            EXPECT_EQ(n->Parent, nullptr);
        }
        if (n->FirstChild) {
            EXPECT_EQ(n->Item->Kind, TCntNodeKind::Book) << n->Item->Title;
            EXPECT_EQ(n->FirstChild->Parent, n);
            EXPECT_EQ(n->FirstChild->PrevSibling, nullptr);
        }
    }
    EXPECT_EQ(seen, tree.Count());
    if (tree.First()) {
        EXPECT_EQ(tree.First()->Parent, nullptr);
        EXPECT_EQ(tree.First()->PrevSibling, nullptr);
    }
}

// A tree from contents text, e.g. "1 A\n2 t\n".
void Load(TCntFile& file, const std::string& text) {
    file.Clear();
    file.ParseText(text);
    ExpectSound(file.Tree);
}

std::string ReadBytes(const std::string& path) { return ReadWholeFile(path); }

struct TempDir : qmtest::ScratchDir {
    TempDir() : ScratchDir("qm_cnt_") {}
    std::string File(const std::string& name) const { return file(name); }
};

// ------------------------------------------------------------------ reading

TEST(CntFile, SampleReadsIntoTheExpectedTree) {
    TCntFile file;
    ASSERT_TRUE(file.LoadFromFile(QM_TEST_DATA_DIR "/cnt/sample.cnt")) << file.LastError();
    ExpectSound(file.Tree);
    EXPECT_EQ(file.FileName, QM_TEST_DATA_DIR "/cnt/sample.cnt");
    EXPECT_EQ(file.Title, "Sample Help");
    EXPECT_EQ(file.BaseFile, "sample.hlp");
    EXPECT_EQ(file.BaseWindow, "main2");
    ASSERT_EQ(file.ExDatas.LinkFiles.size(), 2u);
    EXPECT_EQ(file.ExDatas.LinkFiles[0].HelpFile, "other.hlp");
    EXPECT_EQ(file.ExDatas.LinkFiles[0].Comment, "linked for jumps");
    ASSERT_EQ(file.ExDatas.IndexFiles.size(), 1u);
    EXPECT_EQ(file.ExDatas.IndexFiles[0].Title, "Reference");
    EXPECT_EQ(file.ExDatas.IndexFiles[0].HelpFile, "ref.hlp");
    EXPECT_EQ(file.ExDatas.IndexFiles[0].Comment, "the reference index");
    ASSERT_EQ(file.ExDatas.Tabs.size(), 1u);
    EXPECT_EQ(file.ExDatas.Tabs[0].TabName, "Search");
    EXPECT_EQ(file.ExDatas.Tabs[0].DllName, "search.dll");

    EXPECT_EQ(Outline(file.Tree),
              "1:Getting Started|2:Welcome|2:Setup; Install|2:Run it|2:Details|3:Deep topic|"
              "2:After the sub-book|2:a comment; with semicolons|1:Top topic|1:|1:Reference|2:Index");
    const TCntNode* setup = file.Tree.GetItem(2);
    EXPECT_EQ(setup->Kind, TCntNodeKind::Topic);
    EXPECT_EQ(setup->TopicId, "IDH_SETUP");
    EXPECT_EQ(setup->HelpFile, "setup.hlp");
    EXPECT_EQ(setup->Window, "proc");
    const TCntNode* run = file.Tree.GetItem(3);
    EXPECT_EQ(run->Kind, TCntNodeKind::Macro);
    EXPECT_EQ(run->Macro, "JumpId(`a.hlp',`b');CloseWindow(`main')");
    EXPECT_EQ(file.Tree.GetItem(7)->Kind, TCntNodeKind::Comment);
    const TCntNode* inc = file.Tree.GetItem(9);
    EXPECT_EQ(inc->Kind, TCntNodeKind::Include);
    EXPECT_EQ(inc->HelpFile, "more.cnt");
    EXPECT_EQ(file.Tree.GetItem(8)->Window, "second");
}

TEST(CntFile, SampleWritesBackByteForByte) {
    TCntFile file;
    ASSERT_TRUE(file.LoadFromFile(QM_TEST_DATA_DIR "/cnt/sample.cnt"));
    const std::string original = ReadBytes(QM_TEST_DATA_DIR "/cnt/sample.cnt");
    EXPECT_EQ(file.ToText(), original);

    TempDir dir;
    const std::string out = dir.File("copy.cnt");
    ASSERT_TRUE(file.SaveToFile(out)) << file.LastError();
    EXPECT_EQ(ReadBytes(out), original);
    EXPECT_EQ(file.FileName, out);
}

TEST(CntFile, EntryLines) {
    struct Case {
        const char* line;
        TCntNodeKind kind;
        const char* title;
        const char* topicId;
        const char* helpFile;
        const char* window;
        const char* macro;
        const char* written = nullptr;  // the saved line when it differs
    };
    using K = TCntNodeKind;
    const std::vector<Case> cases = {
        {"1 Book title", K::Book, "Book title", "", "", "", ""},
        {"1 ", K::Book, "", "", "", "", ""},
        {"1 T=id", K::Topic, "T", "id", "", "", ""},
        {"1 T=id@f.hlp>win", K::Topic, "T", "id", "f.hlp", "win", ""},
        {"1 T=id>win", K::Topic, "T", "id", "", "win", ""},
        {"1 T=id@f.hlp", K::Topic, "T", "id", "f.hlp", "", ""},
        // Only an "@" before the ">" names a file; the window is all after ">".
        {"1 T=id>win@f.hlp", K::Topic, "T", "id", "", "win@f.hlp", ""},
        {"1 T=id@f@g.hlp>w>x", K::Topic, "T", "id", "f@g.hlp", "w>x", ""},
        // ";" inside an entry is text: titles and macro lists keep it.
        {"1 A; B=id", K::Topic, "A; B", "id", "", "", ""},
        {"1 Run=! A();B()", K::Macro, "Run", "", "", "", "A();B()"},
        {"1 Run=!A()", K::Macro, "Run", "", "", "", "A()", "1 Run=! A()"},
        {"1 Run=!  A()", K::Macro, "Run", "", "", "", " A()"},
        {"1 Run=!", K::Macro, "Run", "", "", "", "", "1 Run=! "},
        {"1 Eq=a=b", K::Topic, "Eq", "a=b", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TCntFile file;
        Load(file, c.line);
        ASSERT_EQ(file.Tree.Count(), 1);
        const TCntNode* n = file.Tree.GetItem(0);
        EXPECT_EQ(n->Kind, c.kind);
        EXPECT_EQ(n->Title, c.title);
        EXPECT_EQ(n->TopicId, c.topicId);
        EXPECT_EQ(n->HelpFile, c.helpFile);
        EXPECT_EQ(n->Window, c.window);
        EXPECT_EQ(n->Macro, c.macro);
        EXPECT_EQ(file.ToText(), std::string(c.written ? c.written : c.line) + "\r\n");
    }
}

TEST(CntFile, HeaderLinesAndIgnoredLines) {
    TCntFile file;
    Load(file,
         ":base a.hlp\n:Title My;Help\n:index NoEquals\n:tab NoEquals;c\n:Index T = i.hlp ; idx\n"
         ":Tab  Name=x.dll\n:link l.hlp\n  1 indented\nx text\n\n:unknown 1\n:include\n");
    EXPECT_EQ(file.BaseFile, "a.hlp");
    EXPECT_EQ(file.BaseWindow, "");
    // Only index, link and tab lines carry a ";comment".
    EXPECT_EQ(file.Title, "My;Help");
    ASSERT_EQ(file.ExDatas.IndexFiles.size(), 1u);
    EXPECT_EQ(file.ExDatas.IndexFiles[0].Title, "T ");
    EXPECT_EQ(file.ExDatas.IndexFiles[0].HelpFile, " i.hlp");
    EXPECT_EQ(file.ExDatas.IndexFiles[0].Comment, " idx");
    ASSERT_EQ(file.ExDatas.Tabs.size(), 1u);
    EXPECT_EQ(file.ExDatas.Tabs[0].TabName, " Name");
    EXPECT_EQ(file.ExDatas.Tabs[0].DllName, "x.dll");
    ASSERT_EQ(file.ExDatas.LinkFiles.size(), 1u);
    EXPECT_EQ(file.ExDatas.LinkFiles[0].Comment, "");
    EXPECT_EQ(file.Tree.Count(), 0);
}

TEST(CntFile, PlacementOfEntries) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        // Topic and macro under the first of two level-1 books.
        {"1 A\n2 t=x\n2 m=! M()\n1 B\n", "1:A|2:t|2:m|1:B"},
        // Entries follow their written level: back out of a sub-book.
        {"1 A\n2 B\n3 t1\n2 t2\n", "1:A|2:B|3:t1|2:t2"},
        {"1 A\n1 t=x\n", "1:A|1:t"},
        // Levels never jump: a deeper digit goes just below the deepest book.
        {"1 A\n3 B\n9 t=x\n", "1:A|2:B|3:t"},
        {"5 t\n", "1:t"},
        // Level 0 counts as 1; a level has every digit written.
        {"0 A\n0 t\n", "1:A|1:t"},
        {"1 A\n2 B\n3 C\n4 D\n5 E\n6 F\n7 G\n8 H\n9 I\n10 Deep\n11 t\n",
         "1:A|2:B|3:C|4:D|5:E|6:F|7:G|8:H|9:I|10:Deep|11:t"},
        {"1 A\n10 Deep\n", "1:A|2:Deep"},
        {"1 A\n99999999999999999999 x\n", "1:A|2:x"},
        // After an include, entries go to level 1 until the next book.
        {"1 A\n:include f.cnt\n2 t=x\n3 B\n2 u=x\n", "1:A|1:|1:t|1:B|2:u"},
        // A comment joins the book open at its line.
        {"1 A\n2 t=x\n;c\n1 B\n", "1:A|2:t|2:c|1:B"},
        {";c\n1 A\n", "1:c|1:A"},
    };
    for (const auto& [text, outline] : cases) {
        SCOPED_TRACE(text);
        TCntFile file;
        Load(file, text);
        EXPECT_EQ(Outline(file.Tree), outline);
    }
}

TEST(CntFile, SkipsAUtf8MarkBeforeTheFirstLine) {
    TCntFile file;
    Load(file,
         "\xEF\xBB\xBF"
         "1 A\n2 t=x\n");
    EXPECT_EQ(Outline(file.Tree), "1:A|2:t");
}

TEST(CntFile, ReadsCrAndLfLineEnds) {
    TCntFile file;
    Load(file, "1 A\r2 t=x\r\n2 u=y\n");
    EXPECT_EQ(Outline(file.Tree), "1:A|2:t|2:u");
}

// ------------------------------------------------------------------ writing

TEST(CntFile, WritesEntries) {
    TCntFile file;
    file.Title = "T";
    TCntTreeNode* book = file.Tree.AddChild(nullptr, Book("Book"));
    for (const char* window : {"main", "MAIN", " Main ", "", "win"}) {
        auto t = Topic("t");
        t->TopicId = "id";
        t->Window = window;
        file.Tree.AddChild(book, std::move(t));
    }
    auto m = Entry(TCntNodeKind::Macro, "m");
    m->Macro = "A();B()";
    file.Tree.AddChild(book, std::move(m));
    auto inc = Entry(TCntNodeKind::Include, "");
    inc->HelpFile = "x.cnt";
    file.Tree.AddChild(nullptr, std::move(inc));
    file.Tree.AddChild(nullptr, Entry(TCntNodeKind::Comment, "note"));
    file.ExDatas.Tabs.push_back({"Tab", "t.dll", ""});
    EXPECT_EQ(file.ToText(),
              ":TITLE T\r\n:TAB Tab=t.dll\r\n1 Book\r\n2 t=id\r\n2 t=id\r\n2 t=id\r\n2 t=id\r\n2 t=id>win\r\n"
              "2 m=! A();B()\r\n:INCLUDE x.cnt\r\n;note\r\n");
}

TEST(CntFile, BaseLineOnlyWithABaseFile) {
    TCntFile file;
    file.BaseWindow = "w";
    EXPECT_EQ(file.ToText(), "");
    file.BaseFile = "b.hlp";
    EXPECT_EQ(file.ToText(), ":BASE b.hlp>w\r\n");
}

TEST(CntFile, DeepTreeRoundTripsWithItsLevels) {
    TCntFile file;
    TCntTreeNode* parent = nullptr;
    for (int i = 1; i <= 12; ++i) parent = file.Tree.AddChild(parent, Book("b" + std::to_string(i)));
    file.Tree.AddChild(parent, Topic("deep"));
    const std::string text = file.ToText();
    EXPECT_NE(text.find("\r\n12 b12\r\n13 deep=\r\n"), std::string::npos);
    TCntFile back;
    back.ParseText(text);
    EXPECT_EQ(Outline(back.Tree), Outline(file.Tree));
    EXPECT_EQ(back.ToText(), text);
}

TEST(CntFile, VeryDeepFileLoadsSavesAndFrees) {
    // Far deeper than the call stack could walk recursively.
    const int depth = 100000;
    std::string text;
    for (int i = 1; i <= depth; ++i) text += std::to_string(i) + " b\n";
    auto file = std::make_unique<TCntFile>();
    file->ParseText(text);
    EXPECT_EQ(file->Tree.Count(), depth);
    const std::string out = file->ToText();
    EXPECT_EQ(out.substr(out.size() - 10), "100000 b\r\n");
    EXPECT_EQ(file->Tree.Delete(1), depth - 1);
    file->ParseText(text);
    file.reset();
}

TEST(CntFile, SaveWithEmptyNameUsesFileName) {
    TempDir dir;
    TCntFile file;
    file.FileName = dir.File("a.cnt");
    file.Tree.AddChild(nullptr, Book("B"));
    ASSERT_TRUE(file.SaveToFile("")) << file.LastError();
    EXPECT_EQ(ReadBytes(dir.File("a.cnt")), "1 B\r\n");
}

TEST(CntFile, SaveFailureReportsAndKeepsTheModel) {
    TempDir dir;
    TCntFile file;
    file.FileName = dir.File("kept.cnt");
    file.Tree.AddChild(nullptr, Book("B"));
    const std::string bad = dir.File("missing-folder/x.cnt");
    EXPECT_FALSE(file.SaveToFile(bad));
    EXPECT_EQ(file.LastError().rfind("Cannot ", 0), 0u) << file.LastError();
    EXPECT_NE(file.LastError().find(bad), std::string::npos) << file.LastError();
    EXPECT_EQ(file.FileName, dir.File("kept.cnt"));
    EXPECT_EQ(file.Tree.Count(), 1);
    EXPECT_FALSE(fs::exists(dir.File("kept.cnt")));
}

TEST(CntFile, SaveReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("r.cnt");
    { std::ofstream(path, std::ios::binary) << "old contents that are longer than the new ones\n"; }
    TCntFile file;
    file.Tree.AddChild(nullptr, Book("N"));
    ASSERT_TRUE(file.SaveToFile(path));
    EXPECT_EQ(ReadBytes(path), "1 N\r\n");
}

TEST(CntFile, UnreadableFileReturnsFalseWithTheError) {
    TCntFile file;
    file.FileName = "old.cnt";
    file.Title = "kept";
    file.Tree.AddChild(nullptr, Book("B"));
    const std::string name = QM_TEST_DATA_DIR "/cnt/does-not-exist.cnt";
    EXPECT_FALSE(file.LoadFromFile(name));
    EXPECT_NE(file.LastError().find(name), std::string::npos) << file.LastError();
    EXPECT_EQ(file.Tree.Count(), 0);
    EXPECT_EQ(file.FileName, "old.cnt");
    EXPECT_EQ(file.Title, "kept");
}

TEST(CntFile, ClearResetsEverything) {
    TCntFile file;
    Load(file, ":title T\n:base b>w\n:link l\n1 A\n");
    file.FileName = "f.cnt";
    file.Modified = true;
    file.Clear();
    EXPECT_EQ(file.Tree.Count(), 0);
    EXPECT_EQ(file.Tree.First(), nullptr);
    EXPECT_TRUE(file.FileName.empty() && file.Title.empty() && file.BaseFile.empty() && file.BaseWindow.empty());
    EXPECT_TRUE(file.ExDatas.LinkFiles.empty());
    EXPECT_FALSE(file.Modified);
}

TEST(CntExDatas, AssignCopiesAndGetChecksRange) {
    TCntExDatas a;
    a.IndexFiles.push_back({"T", "i.hlp", "c"});
    a.LinkFiles.push_back({"l.hlp", ""});
    a.Tabs.push_back({"Tab", "d.dll", "x"});
    TCntExDatas b;
    b.LinkFiles.push_back({"stale.hlp", ""});
    b.Assign(a);
    a.Clear();
    EXPECT_TRUE(a.IndexFiles.empty() && a.LinkFiles.empty() && a.Tabs.empty());
    TIndexFile idx;
    ASSERT_TRUE(b.GetIndexFile(0, idx));
    EXPECT_EQ(idx.HelpFile, "i.hlp");
    TLinkFile link;
    ASSERT_TRUE(b.GetLinkFile(0, link));
    EXPECT_EQ(link.HelpFile, "l.hlp");
    EXPECT_FALSE(b.GetLinkFile(1, link));
    TTab tab;
    EXPECT_FALSE(b.GetTab(-1, tab));
    ASSERT_TRUE(b.GetTab(0, tab));
    EXPECT_EQ(tab.Comment, "x");
}

// ------------------------------------------------------------ tree operations

// A: book { a1, B: book { b1 }, a2 }, t: topic, C: book { c1 }
const char* kTree = "1 A\n2 a1=x\n2 B\n3 b1=x\n2 a2=x\n1 t=x\n1 C\n2 c1=x\n";

TEST(CntTree, QueriesByPosition) {
    TCntFile file;
    Load(file, kTree);
    const TCntTree& tree = file.Tree;
    EXPECT_EQ(tree.Count(), 8);
    EXPECT_EQ(Outline(tree), "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1");
    for (int i = 0; i < tree.Count(); ++i) EXPECT_EQ(tree.IndexOf(tree.GetNode(i)), i);
    EXPECT_EQ(tree.GetNode(8), nullptr);
    EXPECT_EQ(tree.GetNode(-1), nullptr);
    EXPECT_EQ(tree.GetItem(8), nullptr);
    EXPECT_EQ(tree.GetParent(0), nullptr);
    EXPECT_EQ(tree.GetParent(4), tree.GetNode(0));
    EXPECT_EQ(tree.GetParent(3), tree.GetNode(2));
    EXPECT_EQ(tree.GetParent(99), nullptr);
    EXPECT_EQ(tree.GetLevel(tree.GetItem(3)), 3);
    EXPECT_EQ(tree.GetLevel(tree.GetItem(5)), 1);
    TCntNode stranger;
    EXPECT_EQ(tree.GetLevel(&stranger), 0);
    TCntTreeNode outside;
    EXPECT_EQ(tree.IndexOf(&outside), -1);
}

TEST(CntTree, AddChildOnlyUnderBooks) {
    TCntFile file;
    Load(file, kTree);
    TCntTree& tree = file.Tree;
    EXPECT_NE(tree.AddChild(tree.GetNode(2), Topic("new")), nullptr);
    EXPECT_EQ(Outline(tree), "1:A|2:a1|2:B|3:b1|3:new|2:a2|1:t|1:C|2:c1");
    EXPECT_NE(tree.AddChild(nullptr, Topic("end")), nullptr);
    for (int refused : {1, 6}) {  // a topic and a topic: never parents
        EXPECT_EQ(tree.AddChild(tree.GetNode(refused), Topic("no")), nullptr);
    }
    TCntTreeNode* macro = tree.AddChild(nullptr, Entry(TCntNodeKind::Macro, "m"));
    EXPECT_EQ(tree.AddChild(macro, Topic("no")), nullptr);
    EXPECT_EQ(tree.AddChild(nullptr, nullptr), nullptr);
    EXPECT_EQ(Outline(tree), "1:A|2:a1|2:B|3:b1|3:new|2:a2|1:t|1:C|2:c1|1:end|1:m");
    ExpectSound(tree);
}

TEST(CntTree, InsertBecomesPreviousSibling) {
    const std::vector<std::pair<int, const char*>> cases = {
        {0, "1:n|1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1"}, {1, "1:A|2:n|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1"},
        {3, "1:A|2:a1|2:B|3:n|3:b1|2:a2|1:t|1:C|2:c1"}, {4, "1:A|2:a1|2:B|3:b1|2:n|2:a2|1:t|1:C|2:c1"},
        {7, "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:n|2:c1"}, {8, "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1"},
        {-1, "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1"},
    };
    for (const auto& [index, outline] : cases) {
        SCOPED_TRACE(index);
        TCntFile file;
        Load(file, kTree);
        TCntTreeNode* n = file.Tree.Insert(Topic("n"), index);
        EXPECT_EQ(n != nullptr, index >= 0 && index < 8);
        EXPECT_EQ(Outline(file.Tree), outline);
        ExpectSound(file.Tree);
    }
}

TEST(CntTree, DeleteRemovesTheSubtree) {
    const std::vector<std::tuple<int, int, const char*>> cases = {
        {0, 5, "1:t|1:C|2:c1"},
        {2, 2, "1:A|2:a1|2:a2|1:t|1:C|2:c1"},
        {1, 1, "1:A|2:B|3:b1|2:a2|1:t|1:C|2:c1"},
        {7, 1, "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C"},
        {8, 0, "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1"},
    };
    for (const auto& [index, removed, outline] : cases) {
        SCOPED_TRACE(index);
        TCntFile file;
        Load(file, kTree);
        EXPECT_EQ(file.Tree.Delete(index), removed);
        EXPECT_EQ(Outline(file.Tree), outline);
        ExpectSound(file.Tree);
    }
}

TEST(CntTree, EntriesAfterDeletesAndClearsKeepTheirOwnTexts) {
    // More entries than one allocation holds, some deleted and replaced,
    // the whole tree cleared and built again: every entry keeps its own text
    // and place, and no freed entry shows up again.
    TCntTree tree;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::string> expected;
        for (int b = 0; b < 30; ++b) {
            TCntTreeNode* book = tree.AddChild(nullptr, Book("B" + std::to_string(b)));
            expected.push_back("1:B" + std::to_string(b));
            for (int t = 0; t < 40; ++t) {
                tree.AddChild(book, Topic("t" + std::to_string(b) + "." + std::to_string(t)));
                expected.push_back("2:t" + std::to_string(b) + "." + std::to_string(t));
            }
        }
        // Every third book goes with its topics; new entries take their place.
        for (int b = 27; b >= 0; b -= 3) {
            const int at = b * 41;
            ASSERT_EQ(tree.Delete(at), 41);
            expected.erase(expected.begin() + at, expected.begin() + at + 41);
            for (int k = 0; k < 50; ++k) {
                const std::string title = "n" + std::to_string(b) + "." + std::to_string(k);
                ASSERT_NE(tree.Insert(Topic(title), at + k), nullptr);
                expected.insert(expected.begin() + at + k, "1:" + title);
            }
        }
        std::string outline;
        for (const std::string& e : expected) outline += (outline.empty() ? "" : "|") + e;
        EXPECT_EQ(Outline(tree), outline);
        ExpectSound(tree);
        tree.Clear();
        EXPECT_EQ(tree.Count(), 0);
        EXPECT_EQ(tree.First(), nullptr);
    }
}

enum class Op { Up, Down, Left, Right };

TEST(CntTree, MoveOperations) {
    struct Case {
        Op op;
        int index;
        bool moved;
        const char* outline;
    };
    const char* same = "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1";
    const std::vector<Case> cases = {
        {Op::Up, 2, true, "1:A|2:B|3:b1|2:a1|2:a2|1:t|1:C|2:c1"},
        {Op::Up, 6, true, "1:A|2:a1|2:B|3:b1|2:a2|1:C|2:c1|1:t"},
        {Op::Up, 1, false, same},
        {Op::Up, 0, false, same},
        {Op::Down, 0, true, "1:t|1:A|2:a1|2:B|3:b1|2:a2|1:C|2:c1"},
        {Op::Down, 1, true, "1:A|2:B|3:b1|2:a1|2:a2|1:t|1:C|2:c1"},
        {Op::Down, 4, false, same},
        {Op::Down, 6, false, same},
        {Op::Left, 2, true, "1:A|2:a1|2:a2|1:B|2:b1|1:t|1:C|2:c1"},
        {Op::Left, 1, true, "1:A|2:B|3:b1|2:a2|1:a1|1:t|1:C|2:c1"},
        {Op::Left, 3, true, "1:A|2:a1|2:B|2:b1|2:a2|1:t|1:C|2:c1"},
        {Op::Left, 0, false, same},
        // Right goes into the nearest earlier book, past topics.
        {Op::Right, 4, true, "1:A|2:a1|2:B|3:b1|3:a2|1:t|1:C|2:c1"},
        {Op::Right, 6, true, "1:A|2:a1|2:B|3:b1|2:a2|2:C|3:c1|1:t"},
        {Op::Right, 2, false, same},
        {Op::Right, 1, false, same},
        {Op::Right, 0, false, same},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " at " + std::to_string(c.index));
        TCntFile file;
        Load(file, kTree);
        bool moved = false;
        switch (c.op) {
            case Op::Up: moved = file.Tree.MoveUp(c.index); break;
            case Op::Down: moved = file.Tree.MoveDown(c.index); break;
            case Op::Left: moved = file.Tree.MoveLeft(c.index); break;
            case Op::Right: moved = file.Tree.MoveRight(c.index); break;
        }
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(Outline(file.Tree), c.outline);
        ExpectSound(file.Tree);
    }
}

TEST(CntTree, MoveRightSkipsEverySiblingThatIsNotABook) {
    TCntFile file;
    Load(file, "1 A\n1 m=! M()\n:include i.cnt\n;c\n1 t=x\n1 u=y\n");
    // "u" passes the topic, comment, include and macro to land in book A.
    EXPECT_TRUE(file.Tree.MoveRight(5));
    EXPECT_EQ(Outline(file.Tree), "1:A|2:u|1:m|1:|1:c|1:t");
    ExpectSound(file.Tree);
    TCntFile noBook;
    Load(noBook, "1 m=! M()\n:include i.cnt\n;c\n1 t=x\n");
    EXPECT_FALSE(noBook.Tree.MoveRight(3));
    EXPECT_FALSE(noBook.Tree.GetNode(0)->FirstChild);
}

TEST(CntTree, DragAndDropMove) {
    const char* same = "1:A|2:a1|2:B|3:b1|2:a2|1:t|1:C|2:c1";
    const std::vector<std::tuple<int, int, bool, const char*>> cases = {
        // Moving up lands before the target, moving down after it.
        {5, 1, true, "1:A|2:t|2:a1|2:B|3:b1|2:a2|1:C|2:c1"},
        {1, 5, true, "1:A|2:B|3:b1|2:a2|1:t|1:a1|1:C|2:c1"},
        {1, 7, true, "1:A|2:B|3:b1|2:a2|1:t|1:C|2:c1|2:a1"},
        {2, 0, true, "1:B|2:b1|1:A|2:a1|2:a2|1:t|1:C|2:c1"},
        {7, 3, true, "1:A|2:a1|2:B|3:c1|3:b1|2:a2|1:t|1:C"},
        {0, 6, true, "1:t|1:C|2:c1|1:A|2:a1|2:B|3:b1|2:a2"},
        // Never into its own subtree, never onto itself, nothing off the end.
        {0, 3, false, same},
        {0, 1, false, same},
        {2, 3, false, same},
        {4, 4, false, same},
        {4, -1, false, same},
        {4, 8, false, same},
    };
    for (const auto& [from, to, moved, outline] : cases) {
        SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
        TCntFile file;
        Load(file, kTree);
        TCntTreeNode* node = file.Tree.GetNode(from);
        EXPECT_EQ(file.Tree.Move(node, to), moved);
        EXPECT_EQ(Outline(file.Tree), outline);
        ExpectSound(file.Tree);
        EXPECT_EQ(file.Tree.Count(), 8);
    }
    TCntFile file;
    Load(file, kTree);
    EXPECT_FALSE(file.Tree.Move(nullptr, 2));
}

TEST(CntTree, EditedTreeRoundTripsThroughTheFile) {
    // Whatever the operations make, the file gives the same tree back.
    TCntFile file;
    Load(file, kTree);
    TCntTree& tree = file.Tree;
    ASSERT_TRUE(tree.MoveRight(5));              // t into A
    ASSERT_TRUE(tree.Move(tree.GetNode(7), 2));  // c1 up, before B
    ASSERT_TRUE(tree.MoveLeft(3));               // B out of A
    ASSERT_NE(tree.Insert(Entry(TCntNodeKind::Comment, "c"), 1), nullptr);
    ExpectSound(tree);
    EXPECT_EQ(Outline(tree), "1:A|2:c|2:a1|2:c1|2:a2|2:t|1:B|2:b1|1:C");
    TCntFile back;
    back.ParseText(file.ToText());
    EXPECT_EQ(Outline(back.Tree), Outline(tree));
}

// ------------------------------------------------------------- unreadable files

TEST(CntFile, FilesThatHoldNoContentsAreRefusedNamingThem) {
    TempDir dir;
    const std::string folder = dir.File("x.cnt");
    fs::create_directories(folder);
    // ":Title T" and "1 Book" in UTF-16 with its byte-order mark, as editors save it.
    const auto utf16 = [](bool littleEndian) {
        std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const char c : std::string(":Title T\r\n1 Book\r\n")) {
            out += littleEndian ? c : '\0';
            out += littleEndian ? '\0' : c;
        }
        return out;
    };
    const std::string utf16le = utf16(true);
    const std::string utf16be = utf16(false);
    struct Row {
        const char* name;
        std::string bytes;  // written to "f.cnt"; empty: the folder x.cnt is opened
        bool loads;
        std::string error;  // part of LastError()
    } rows[] = {
        {"a folder", "", false, folder},
        {"UTF-16 little-endian", utf16le, false, "\"" + dir.File("f.cnt") + "\" holds nothing that can be read"},
        {"UTF-16 big-endian", utf16be, false, "\" holds nothing that can be read as a contents file."},
        {"only unknown lines", "hello\r\nworld\r\n:index no equals sign\r\n", false, "holds nothing"},
        {"an empty file", "", true, ""},
        {"only blank lines", "\r\n   \r\n\t\r\n", true, ""},
        {"only a UTF-8 mark", "\xEF\xBB\xBF", true, ""},
        {"one comment", ";just a note\r\n", true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string name = folder;
        if (!row.bytes.empty() || row.loads) {
            name = dir.File("f.cnt");
            std::ofstream(name, std::ios::binary | std::ios::trunc) << row.bytes;
        }
        TCntFile file;
        file.FileName = "old.cnt";
        file.Tree.AddChild(nullptr, Book("B"));
        EXPECT_EQ(file.LoadFromFile(name), row.loads);
        if (row.loads) {
            EXPECT_EQ(file.FileName, name);
            EXPECT_EQ(file.LastError(), "");
        } else {
            EXPECT_NE(file.LastError().find(row.error), std::string::npos) << file.LastError();
            EXPECT_EQ(file.Tree.Count(), 0);
            EXPECT_EQ(file.FileName, "old.cnt");
        }
    }
}

// ------------------------------------------------------ what a line can hold

// One field of a contents file: how to put a value into a file and read it
// back out of the file read from the written text.
struct FieldRow {
    const char* name;
    TCntField kind;
    std::function<void(TCntFile&, const std::string&)> set;
    std::function<std::string(const TCntFile&)> get;
};

std::vector<FieldRow> AllFields() {
    const auto entry = [](TCntNodeKind kind, std::string TCntNode::*field) {
        return std::pair{[kind, field](TCntFile& f, const std::string& v) {
                             auto e = std::make_unique<TCntNode>();
                             e->Kind = kind;
                             e->Title = "t";
                             e->TopicId = "id";
                             e->Macro = "m()";
                             e->HelpFile = kind == TCntNodeKind::Include ? "i.cnt" : "";
                             (*e).*field = v;
                             f.Tree.AddChild(nullptr, std::move(e));
                         },
                         [field](const TCntFile& f) {
                             const TCntNode* e = f.Tree.GetItem(0);
                             return e ? (*e).*field : std::string("<no entry>");
                         }};
    };
    std::vector<FieldRow> rows;
    const auto add = [&](const char* name, TCntField kind, auto pair) {
        rows.push_back({name, kind, pair.first, pair.second});
    };
    add("book title", TCntField::EntryTitle, entry(TCntNodeKind::Book, &TCntNode::Title));
    add("topic title", TCntField::EntryTitle, entry(TCntNodeKind::Topic, &TCntNode::Title));
    add("topic id", TCntField::TopicId, entry(TCntNodeKind::Topic, &TCntNode::TopicId));
    add("topic help file", TCntField::HelpFileName, entry(TCntNodeKind::Topic, &TCntNode::HelpFile));
    add("topic window", TCntField::Text, entry(TCntNodeKind::Topic, &TCntNode::Window));
    add("macro title", TCntField::EntryTitle, entry(TCntNodeKind::Macro, &TCntNode::Title));
    add("macro", TCntField::Text, entry(TCntNodeKind::Macro, &TCntNode::Macro));
    add("include file", TCntField::Text, entry(TCntNodeKind::Include, &TCntNode::HelpFile));
    add("comment", TCntField::Text, entry(TCntNodeKind::Comment, &TCntNode::Title));
    const auto header = [](std::string TCntFile::*field) {
        return std::pair{[field](TCntFile& f, const std::string& v) {
                             f.BaseFile = "b.hlp";
                             f.*field = v;
                         },
                         [field](const TCntFile& f) { return f.*field; }};
    };
    add("file title", TCntField::Text, header(&TCntFile::Title));
    add("base help file", TCntField::HelpFileName, header(&TCntFile::BaseFile));
    add("base window", TCntField::Text, header(&TCntFile::BaseWindow));
    const auto index = [](std::string TIndexFile::*field) {
        return std::pair{[field](TCntFile& f, const std::string& v) {
                             TIndexFile x{"T", "x.hlp", "c"};
                             x.*field = v;
                             f.ExDatas.IndexFiles.push_back(x);
                         },
                         [field](const TCntFile& f) {
                             return f.ExDatas.IndexFiles.empty() ? std::string("<none>")
                                                                 : f.ExDatas.IndexFiles[0].*field;
                         }};
    };
    add("index title", TCntField::HeaderName, index(&TIndexFile::Title));
    add("index help file", TCntField::HeaderFile, index(&TIndexFile::HelpFile));
    add("index comment", TCntField::Text, index(&TIndexFile::Comment));
    const auto link = [](std::string TLinkFile::*field) {
        return std::pair{[field](TCntFile& f, const std::string& v) {
                             TLinkFile l{"l.hlp", "c"};
                             l.*field = v;
                             f.ExDatas.LinkFiles.push_back(l);
                         },
                         [field](const TCntFile& f) {
                             return f.ExDatas.LinkFiles.empty() ? std::string("<none>") : f.ExDatas.LinkFiles[0].*field;
                         }};
    };
    add("link help file", TCntField::HeaderFile, link(&TLinkFile::HelpFile));
    add("link comment", TCntField::Text, link(&TLinkFile::Comment));
    const auto tab = [](std::string TTab::*field) {
        return std::pair{[field](TCntFile& f, const std::string& v) {
                             TTab t{"N", "d.dll", "c"};
                             t.*field = v;
                             f.ExDatas.Tabs.push_back(t);
                         },
                         [field](const TCntFile& f) {
                             return f.ExDatas.Tabs.empty() ? std::string("<none>") : f.ExDatas.Tabs[0].*field;
                         }};
    };
    add("tab name", TCntField::HeaderName, tab(&TTab::TabName));
    add("tab DLL", TCntField::HeaderFile, tab(&TTab::DllName));
    add("tab comment", TCntField::Text, tab(&TTab::Comment));
    return rows;
}

TEST(CntLineGuard, RefusesExactlyWhatWouldReadBackDifferently) {
    // Every field, with each character that means something on a line, in
    // the middle and in front of the value: the guard refuses the value
    // exactly when the written file gives another value back.
    for (const FieldRow& field : AllFields()) {
        for (const char c : std::string("=;@>!\r\nx:")) {
            for (const std::string& value : {std::string("a") + c + "b", std::string(1, c) + "b"}) {
                SCOPED_TRACE(std::string(field.name) + " holding \"" + value + "\"");
                TCntFile file;
                field.set(file, value);
                TCntFile back;
                back.ParseText(file.ToText());
                const bool survives = field.get(back) == value;
                EXPECT_EQ(CntRefusedChar(field.kind, value).has_value(), !survives);
                EXPECT_EQ(CntFileFault(file).empty(), survives) << CntFileFault(file);
            }
        }
    }
}

TEST(CntLineGuard, RefusedCharactersByKind) {
    struct Row {
        const char* name;
        TCntField kind;
        std::u32string text;
        std::optional<char32_t> refused;
    } rows[] = {
        {"semicolon in a title", TCntField::EntryTitle, U"A; B", std::nullopt},
        {"equals in a title", TCntField::EntryTitle, U"A=B", U'='},
        {"equals in a macro", TCntField::Text, U"If(x=1)", std::nullopt},
        {"semicolon in a macro", TCntField::Text, U"A();B()", std::nullopt},
        {"bang inside a topic id", TCntField::TopicId, U"a!b", std::nullopt},
        {"bang before a topic id", TCntField::TopicId, U"!ab", U'!'},
        {"first of two refused", TCntField::TopicId, U"a>b@c", U'>'},
        {"euro sign", TCntField::Text, U"5 \u20AC", std::nullopt},
        {"CJK character", TCntField::Text, U"a\u4E2Db", U'\u4E2D'},
        {"emoji", TCntField::HeaderName, U"\U0001F600", U'\U0001F600'},
        {"question mark", TCntField::EntryTitle, U"why?", std::nullopt},
        {"byte 0x81 as its control", TCntField::Text, U"\u0081", std::nullopt},
        {"carriage return", TCntField::HeaderFile, U"a\rb", U'\r'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CntRefusedChar(row.kind, row.text), row.refused);
    }
}

TEST(CntLineGuard, ModelBytesAreJudgedAsTheirCharacters) {
    // Every byte, first in a field and after another character, in every
    // kind of field: the model text is refused exactly when the same text
    // as characters is.
    const TCntField kinds[] = {TCntField::EntryTitle,   TCntField::TopicId,    TCntField::HelpFileName,
                               TCntField::HeaderName,   TCntField::HeaderFile, TCntField::Text};
    for (const TCntField kind : kinds) {
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const char32_t point = Cp1252ToCodePoint(static_cast<unsigned char>(b));
            for (const bool first : {true, false}) {
                SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " byte " + std::to_string(b) +
                             (first ? " first" : " later"));
                const std::string bytes = first ? std::string(1, byte) + "a" : std::string("a") + byte;
                const std::u32string points = first ? std::u32string(1, point) + U"a" : U"a" + std::u32string(1, point);
                EXPECT_EQ(CntRefusedChar(kind, bytes), CntRefusedChar(kind, points));
            }
        }
    }
}

TEST(CntLineGuard, LongFieldsAreJudgedAtEveryPosition) {
    // Longer texts are read several bytes at a time: every byte at every
    // place of a text of 23, on either side of the word edges, is judged as
    // its character, and of two refused ones the earlier is named.
    const TCntField kinds[] = {TCntField::EntryTitle,   TCntField::TopicId,    TCntField::HelpFileName,
                               TCntField::HeaderName,   TCntField::HeaderFile, TCntField::Text};
    const std::string plain = "Topic number 42 of help";
    for (const TCntField kind : kinds) {
        for (int b = 0; b < 256; ++b) {
            for (std::size_t at = 1; at < plain.size(); ++at) {
                SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " byte " + std::to_string(b) + " at " +
                             std::to_string(at));
                std::string bytes = plain;
                bytes[at] = static_cast<char>(b);
                std::u32string points;
                for (const char c : bytes) points += Cp1252ToCodePoint(static_cast<unsigned char>(c));
                const auto expected = CntRefusedChar(kind, points);
                EXPECT_EQ(CntRefusedChar(kind, bytes), expected);
                if (expected && at + 1 < bytes.size()) {
                    bytes.back() = '\r';
                    EXPECT_EQ(CntRefusedChar(kind, bytes), expected) << "the earlier one is named";
                }
            }
        }
    }
}

TEST(CntLineGuard, RefusalTexts) {
    EXPECT_EQ(CntRefusalText("Topic title", '='), "The Topic title cannot hold \"=\" in a contents file.");
    EXPECT_EQ(CntRefusalText("Macro", '\n'), "The Macro cannot hold a line break.");
    EXPECT_EQ(CntRefusalText("Macro", '\r'), "The Macro cannot hold a line break.");
}

TEST(CntLineGuard, SaveRefusesNamingTheEntryAndWritesNothing) {
    struct Row {
        const char* name;
        std::function<void(TCntFile&)> spoil;
        std::string error;
    } rows[] = {
        {"a book title", [](TCntFile& f) { f.Tree.GetItem(1)->Title = "x=y"; },
         "The title of entry 2 (\"x=y\") cannot hold \"=\" in a contents file."},
        {"a topic id", [](TCntFile& f) { f.Tree.GetItem(2)->TopicId = "a@b"; },
         "The topic id of entry 3 (\"Topic\") cannot hold \"@\" in a contents file."},
        {"an include", [](TCntFile& f) { f.Tree.GetItem(3)->HelpFile = "a\nb.cnt"; },
         "The included file of entry 4 (\"a\nb.cnt\") cannot hold a line break."},
        {"an index title", [](TCntFile& f) { f.ExDatas.IndexFiles[0].Title = "a;b"; },
         "The title of the index file \"a;b\" cannot hold \";\" in a contents file."},
        {"a tab's DLL", [](TCntFile& f) { f.ExDatas.Tabs[0].DllName = "a;b"; },
         "The DLL name of the tab \"S\" cannot hold \";\" in a contents file."},
        {"the base help file", [](TCntFile& f) { f.BaseFile = "a>b"; },
         "The base help file cannot hold \">\" in a contents file."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.File("kept.cnt");
        { std::ofstream(path, std::ios::binary) << "1 Old\r\n"; }
        TCntFile file;
        Load(file, ":index R=r.hlp\n:tab S=s.dll\n1 Book\n2 Inner\n2 Topic=id\n:include more.cnt\n");
        file.FileName = path;
        row.spoil(file);
        EXPECT_FALSE(file.SaveToFile(dir.File("new.cnt")));
        EXPECT_EQ(file.LastError(), "Cannot save " + dir.File("new.cnt") + ". " + row.error);
        EXPECT_EQ(file.FileName, path);
        EXPECT_FALSE(fs::exists(dir.File("new.cnt")));
        EXPECT_FALSE(file.SaveToFile(""));
        EXPECT_EQ(ReadBytes(path), "1 Old\r\n");
    }
}

TEST(CntLineGuard, EverythingTheReaderProducesPasses) {
    TCntFile file;
    ASSERT_TRUE(file.LoadFromFile(QM_TEST_DATA_DIR "/cnt/sample.cnt"));
    EXPECT_EQ(CntFileFault(file), "");
    // Lines that put the separators where the reader cuts them.
    Load(file,
         ":title a=b;c>d@e\n:base f;g>w>x\n:index t=f=g;c;d\n:link l=m;n;o\n:tab n=d=e;c;d\n"
         "1 B;ook@x>y\n2 T@=i=d!@f@g>w>x=y\n2 M=!x=y;z\n2 T=!\n;;c=d\n:include a;b=c>d\n2 =\n3 =@>\n");
    ASSERT_GT(file.Tree.Count(), 5);
    EXPECT_EQ(CntFileFault(file), "");
}

}  // namespace
}  // namespace qm
