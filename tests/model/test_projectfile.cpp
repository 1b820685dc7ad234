#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "model/project.h"
#include "model/projectfile.h"
#include "model_test_util.h"
#include "util/binio.h"
#include "util/errors.h"
#include "util/fileio.h"

using qm::TProject;
using qmtest::FieldAt;
using qmtest::Int32At;

namespace fs = std::filesystem;
namespace pf = qm::projectfile;

namespace {

std::string EofMessage(const std::string& name) { return "Cannot access " + name + " - Unexpected end of file found."; }

// The message of the qm::Error that `f` raises ("" when it raises none).
template <typename F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const qm::Error& e) {
        return e.what();
    }
    return "";
}

// A project in the cleared state (what a failed load must leave).
void ExpectCleared(const TProject& p) {
    EXPECT_EQ(p.Topics.Count(), 0);
    EXPECT_EQ(p.Windows.Count(), 0);
    EXPECT_TRUE(p.BmRoot.empty() && p.IncludeTags.empty() && p.ExcludeTags.empty());
    EXPECT_EQ(p.GetTitle(), "");
    EXPECT_EQ(p.GetHlpFile(), "");
    EXPECT_EQ(p.GetIdPrefix(), "IDH");
    EXPECT_EQ(p.CompressMode, 0);
    EXPECT_FALSE(p.MakeVbInclude);
}

// Offsets of every count and length field of a project file, found by
// walking the layout.
std::vector<std::size_t> CountFieldOffsets(const std::string& f) {
    std::vector<std::size_t> out;
    std::size_t pos = pf::HeaderSize;
    auto list = [&] {
        out.push_back(pos);
        const std::int32_t n = Int32At(f, pos);
        pos += 4;
        for (std::int32_t i = 0; i < n; ++i) {
            out.push_back(pos);
            pos += 4 + static_cast<std::size_t>(Int32At(f, pos));
        }
    };
    list();
    list();
    list();
    out.push_back(pos);
    const std::int32_t windows = Int32At(f, pos);
    pos += 4;
    for (std::int32_t i = 0; i < windows; ++i) {
        pos += pf::WindowRecordSize;
        list();
    }
    out.push_back(pos);
    const std::int32_t nodes = Int32At(f, pos);
    pos += 4;
    for (std::int32_t i = 0; i < nodes; ++i) {
        pos += pf::NodeRecordSize;
        list();
        list();
        list();
        out.push_back(pos);
        pos += 4 + static_cast<std::size_t>(Int32At(f, pos));
    }
    EXPECT_EQ(pos, f.size()) << "walker out of step with the file";
    return out;
}

class ProjectFile : public ::testing::Test {
protected:
    qmtest::ScopedScreen screen{1024, 768};
    qmtest::TempDir dir;
};

}  // namespace

TEST_F(ProjectFile, NewProjectFileIs3690Bytes) {
    TProject p;
    p.NewProject();
    const std::string name = dir.file("a.qpf");
    p.SaveToFile(name);
    EXPECT_EQ(p.FileName, name);
    EXPECT_EQ(p.GetHlpFile(), "a.hlp");
    EXPECT_EQ(p.GetCntFile(), "a.cnt");

    const std::string f = qmtest::ReadBytes(name);
    ASSERT_EQ(f.size(), 3690u);
    EXPECT_EQ(f.substr(0, 22), "Quillmark Project File");
    EXPECT_EQ(Int32At(f, 22), 151);
    EXPECT_EQ(FieldAt(f, pf::OffHlpFile, 259), "a.hlp");
    EXPECT_EQ(FieldAt(f, pf::OffCntFile, 259), "a.cnt");
    EXPECT_EQ(FieldAt(f, pf::OffIdPrefix, 5), "IDH");
    // Three empty lists, then one window.
    EXPECT_EQ(Int32At(f, 2939), 0);
    EXPECT_EQ(Int32At(f, 2943), 0);
    EXPECT_EQ(Int32At(f, 2947), 0);
    EXPECT_EQ(Int32At(f, 2951), 1);
    const std::size_t w = 2955;
    EXPECT_EQ(FieldAt(f, w, 8), "main");
    EXPECT_EQ(Int32At(f, w + 60), 212);
    EXPECT_EQ(Int32At(f, w + 64), 144);
    EXPECT_EQ(Int32At(f, w + 68), 600);
    EXPECT_EQ(Int32At(f, w + 72), 480);
    EXPECT_EQ(static_cast<unsigned char>(f[w + 76]), 51);
    EXPECT_EQ(Int32At(f, w + 78), 0xFFFFFF);
    EXPECT_EQ(Int32At(f, w + 82), 0xFFFFFF);
    EXPECT_EQ(Int32At(f, w + 86), 0);  // no macros
    EXPECT_EQ(Int32At(f, w + 90), 1);  // one node
    const std::size_t n = w + 94;
    EXPECT_EQ(FieldAt(f, n, 255), "Contents");
    EXPECT_EQ(FieldAt(f, n + 255, 255), "Contents Page");
    EXPECT_EQ(Int32At(f, n + 510), 5);
    EXPECT_EQ(f[n + 514], 1);  // IsContents
    EXPECT_EQ(f[n + 515], 0);  // Kind topic
    EXPECT_EQ(f[n + 516], 1);  // State edit
    EXPECT_EQ(FieldAt(f, n + 517, 8), "main");
    EXPECT_EQ(n + 625 + 16, f.size());
    EXPECT_EQ(Int32At(f, n + 637), 0);  // text length
}

TEST_F(ProjectFile, HeaderFieldsAtTheirOffsets) {
    TProject p;
    p.CompressMode = 2;
    p.CompressFlags = 0x01020304;
    p.SetTitle("TITLE");
    p.SetCopyright("COPY");
    p.SetCitation("CITE");
    p.SetHlpFile("h.hlp");
    p.SetCntFile("c.cnt");
    p.MakeVbInclude = true;  // only the middle switch, to pin the order
    p.SetIdPrefix("ABCDE");
    const std::string f = p.SaveToBytes();
    ASSERT_EQ(f.size(), pf::HeaderSize + 5 * 4);
    EXPECT_EQ(f[26], 2);
    EXPECT_EQ(Int32At(f, 27), 0x01020304);
    EXPECT_EQ(FieldAt(f, 31, 127), "TITLE");
    EXPECT_EQ(FieldAt(f, 158, 255), "COPY");
    EXPECT_EQ(FieldAt(f, 413, 2000), "CITE");
    EXPECT_EQ(FieldAt(f, 2413, 259), "h.hlp");
    EXPECT_EQ(FieldAt(f, 2672, 259), "c.cnt");
    EXPECT_EQ(f[2931], 0);
    EXPECT_EQ(f[2932], 1);
    EXPECT_EQ(f[2933], 0);
    EXPECT_EQ(f.substr(2934, 5), "ABCDE");  // full width, no terminator
    EXPECT_EQ(f[158 - 1], '\0');            // padding of the title
}

TEST_F(ProjectFile, WindowAndNodeRecordLayout) {
    TProject p;
    qmtest::BuildRichProject(p);
    const std::string f = p.SaveToBytes();
    // BmRoot ("images", "C:\art\"), IncludeTags ("WIN"), ExcludeTags ("MAC", "").
    std::size_t pos = pf::HeaderSize;
    EXPECT_EQ(Int32At(f, pos), 2);
    EXPECT_EQ(Int32At(f, pos + 4), 6);
    EXPECT_EQ(f.substr(pos + 8, 6), "images");
    pos += 4 + (4 + 6) + (4 + 7);
    EXPECT_EQ(Int32At(f, pos), 1);
    pos += 4 + 4 + 3;
    EXPECT_EQ(Int32At(f, pos), 2);
    EXPECT_EQ(Int32At(f, pos + 4 + 4 + 3), 0);  // the empty string is stored
    pos += 4 + (4 + 3) + 4;
    EXPECT_EQ(Int32At(f, pos), 2);  // windows
    pos += 4;
    // Window 1: "main" with two macros.
    pos += 86 + 4 + (4 + 15) + (4 + 18);
    const std::size_t w = pos;  // window 2
    EXPECT_EQ(FieldAt(f, w, 8), "sec");
    EXPECT_EQ(FieldAt(f, w + 8, 50), "Second");
    EXPECT_EQ(f[w + 58], 4);
    EXPECT_EQ(f[w + 59], 1);
    EXPECT_EQ(Int32At(f, w + 60), 10);
    EXPECT_EQ(Int32At(f, w + 64), 20);
    EXPECT_EQ(Int32At(f, w + 68), 300);
    EXPECT_EQ(Int32At(f, w + 72), 400);
    EXPECT_EQ(static_cast<unsigned char>(f[w + 76]), 255);
    EXPECT_EQ(f[w + 77], 1);
    EXPECT_EQ(Int32At(f, w + 78), 0x0000FF);  // stored as 0x00BBGGRR, not swapped
    EXPECT_EQ(Int32At(f, w + 82), 0xC0C0C0);
    EXPECT_EQ(Int32At(f, w + 86), 1);
    EXPECT_EQ(Int32At(f, w + 90), 6);
    EXPECT_EQ(f.substr(w + 94, 6), "Beep()");
    pos = w + 100;
    EXPECT_EQ(Int32At(f, pos), 3);  // nodes
    pos += 4;
    // Node 1: two keywords, one A-keyword, one macro, 16 bytes of text.
    pos += 625 + (4 + 9 + 8) + (4 + 10) + (4 + 12) + 4 + 16;
    const std::size_t n = pos;  // node 2, the popup
    EXPECT_EQ(FieldAt(f, n, 255), "Pop1");
    EXPECT_EQ(FieldAt(f, n + 255, 255), "A popup");
    EXPECT_EQ(Int32At(f, n + 510), 10);
    EXPECT_EQ(f[n + 514], 0);
    EXPECT_EQ(f[n + 515], 1);
    EXPECT_EQ(f[n + 516], 0);
    EXPECT_EQ(FieldAt(f, n + 517, 8), "sec");
    EXPECT_EQ(FieldAt(f, n + 525, 50), "seq:010");
    EXPECT_EQ(FieldAt(f, n + 575, 50), "WIN");
    EXPECT_EQ(Int32At(f, n + 625), 1);
    EXPECT_EQ(Int32At(f, n + 629), 3);
    EXPECT_EQ(f.substr(n + 633, 3), "pop");
    EXPECT_EQ(Int32At(f, n + 636), 0);
    EXPECT_EQ(Int32At(f, n + 640), 0);
    EXPECT_EQ(Int32At(f, n + 644), 20);
    EXPECT_EQ(f.substr(n + 648, 20), p.Topics.GetNode(1).Text);
}

TEST_F(ProjectFile, HelpFileNamesDerivedOnlyWhenEmpty) {
    struct Case {
        std::string hlp, cnt, file, wantHlp, wantCnt;
    };
    fs::create_directories(dir.path() / "my.dir");
    const Case cases[] = {
        {"", "", "my.dir/file", "file.hlp", "file.cnt"},  // the dotted folder is no extension
        {"", "", "Guide.QPF", "Guide.hlp", "Guide.cnt"},
        {"", "old.cnt", "b.qpf", "b.hlp", "b.cnt"},
        {"x.hlp", "", "c.qpf", "x.hlp", ""},
        {"x.hlp", "y.cnt", "d.qpf", "x.hlp", "y.cnt"},
    };
    for (const Case& c : cases) {
        TProject p;
        p.NewProject();
        p.SetHlpFile(c.hlp);
        p.SetCntFile(c.cnt);
        const std::string name = dir.file(c.file);
        p.SaveToFile(name);
        EXPECT_EQ(p.GetHlpFile(), c.wantHlp) << c.file;
        EXPECT_EQ(p.GetCntFile(), c.wantCnt) << c.file;
        TProject q;
        q.LoadFromFile(name);
        EXPECT_EQ(q.GetHlpFile(), c.wantHlp) << c.file;
        EXPECT_EQ(q.GetCntFile(), c.wantCnt) << c.file;
    }
}

TEST_F(ProjectFile, RoundTripKeepsEveryField) {
    TProject p;
    qmtest::BuildRichProject(p);
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
    p.Topics.GetNode(2).Text = allBytes + std::string("\r\n\0\0", 4);
    p.Topics.GetNode(0).Bookmarks.Add(3);
    p.Topics.GetNode(0).EditorPos = 77;
    const std::string name = dir.file("rich.qpf");
    p.SaveToFile(name);

    TProject q;
    q.FileName = "unchanged";
    q.Modified = true;
    q.LoadFromFile(name);
    EXPECT_EQ(q.FileName, "unchanged");  // the caller sets it
    EXPECT_EQ(q.SaveToBytes(), qmtest::ReadBytes(name));
    EXPECT_EQ(q.CompressMode, 2);
    EXPECT_EQ(q.CompressFlags, 2 | 8 | 64);
    EXPECT_EQ(q.GetTitle(), "Rich project");
    EXPECT_EQ(q.GetCopyright(), "(c) Somebody");
    EXPECT_EQ(q.GetCitation(), "Cite me");
    EXPECT_EQ(q.GetIdPrefix(), "HID");
    EXPECT_FALSE(q.MakeCppInclude);
    EXPECT_TRUE(q.MakeVbInclude);
    EXPECT_FALSE(q.MakePascalInclude);
    EXPECT_EQ(q.BmRoot, p.BmRoot);
    EXPECT_EQ(q.IncludeTags, p.IncludeTags);
    EXPECT_EQ(q.ExcludeTags, p.ExcludeTags);
    ASSERT_EQ(q.Windows.Count(), 2);
    EXPECT_EQ(q.Windows.GetWindow(1), p.Windows.GetWindow(1));
    EXPECT_EQ(q.Windows.GetWindow(2), p.Windows.GetWindow(2));
    ASSERT_EQ(q.Topics.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const qm::TTopicNode& a = p.Topics.GetNode(i);
        const qm::TTopicNode& b = q.Topics.GetNode(i);
        EXPECT_EQ(b.Kind, a.Kind);
        EXPECT_EQ(b.ContextId, a.ContextId);
        EXPECT_EQ(b.State, a.State);
        EXPECT_EQ(b.IsContents, a.IsContents);
        EXPECT_EQ(b.Keywords, a.Keywords);
        EXPECT_EQ(b.AKeywords, a.AKeywords);
        EXPECT_EQ(b.Macros, a.Macros);
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.Title, a.Title);
        EXPECT_EQ(b.Window, a.Window);
        EXPECT_EQ(b.Browse, a.Browse);
        EXPECT_EQ(b.BuildTag, a.BuildTag);
        EXPECT_EQ(b.Text, a.Text);
        EXPECT_TRUE(b.Bookmarks.Empty());  // neither is stored
        EXPECT_EQ(b.EditorPos, 0);
    }
    EXPECT_EQ(q.Topics.GetNode(1).Text.size(), 20u);
    EXPECT_EQ(q.Topics.GetNode(2).Text.size(), 260u);
}

TEST_F(ProjectFile, FullWidthFieldsLoadBackWhole) {
    TProject p;
    p.NewProject();
    auto fill = [](std::size_t n, char c) { return std::string(n, c); };
    p.SetTitle(fill(127, 't'));
    p.SetCopyright(fill(255, 'c'));
    p.SetCitation(fill(2000, 'i'));
    p.SetHlpFile(fill(259, 'h'));
    p.SetCntFile(fill(259, 'n'));
    p.SetIdPrefix("IDHXX");
    p.Windows.GetWindow(1).SetName("mainwin8");
    p.Windows.GetWindow(1).SetCaption(fill(50, 'w'));
    qm::TTopicNode& n = p.Topics.GetNode(0);
    n.SetName(fill(255, 'N'));
    n.SetTitle(fill(255, 'T'));
    n.SetWindow("mainwin8");
    n.SetBrowse(fill(50, 'B'));
    n.SetBuildTag(fill(50, 'G'));
    const std::string name = dir.file("full.qpf");
    p.SaveToFile(name);
    EXPECT_EQ(qmtest::ReadBytes(name).size(), 3690u);

    TProject q;
    q.LoadFromFile(name);
    EXPECT_EQ(q.GetTitle(), fill(127, 't'));
    EXPECT_EQ(q.GetCopyright(), fill(255, 'c'));
    EXPECT_EQ(q.GetCitation(), fill(2000, 'i'));
    EXPECT_EQ(q.GetHlpFile(), fill(259, 'h'));
    EXPECT_EQ(q.GetCntFile(), fill(259, 'n'));
    EXPECT_EQ(q.HlpFile.data()[259], '\0');
    EXPECT_EQ(q.GetIdPrefix(), "IDHXX");
    EXPECT_EQ(q.Windows.GetWindow(1).GetName(), "mainwin8");
    EXPECT_EQ(q.Windows.GetWindow(1).GetCaption(), fill(50, 'w'));
    const qm::TTopicNode& m = q.Topics.GetNode(0);
    EXPECT_EQ(m.GetName(), fill(255, 'N'));
    EXPECT_EQ(m.GetTitle(), fill(255, 'T'));
    EXPECT_EQ(m.GetWindow(), "mainwin8");
    EXPECT_EQ(m.GetBrowse(), fill(50, 'B'));
    EXPECT_EQ(m.GetBuildTag(), fill(50, 'G'));
}

TEST_F(ProjectFile, ListStringsAreCutAtANulButTextIsNot) {
    TProject p;
    p.NewProject();
    p.BmRoot = {std::string("ab\0cd", 5)};
    p.Topics.GetNode(0).Keywords = {std::string("k\0x", 3)};
    p.Topics.GetNode(0).Text = std::string("t\0x", 3);
    TProject q;
    q.LoadFromBytes(p.SaveToBytes(), "x.qpf");
    EXPECT_EQ(q.BmRoot, (qm::StringList{"ab"}));
    EXPECT_EQ(q.Topics.GetNode(0).Keywords, (qm::StringList{"k"}));
    EXPECT_EQ(q.Topics.GetNode(0).Text, std::string("t\0x", 3));
}

TEST_F(ProjectFile, LoadReplacesThePreviousContent) {
    TProject small;
    small.NewProject();
    const std::string name = dir.file("small.qpf");
    small.SaveToFile(name);
    TProject p;
    qmtest::BuildRichProject(p);
    p.LoadFromFile(name);
    EXPECT_EQ(p.Topics.Count(), 1);
    EXPECT_EQ(p.Windows.Count(), 1);
    EXPECT_TRUE(p.BmRoot.empty());
    EXPECT_EQ(p.GetTitle(), "");
    EXPECT_FALSE(p.MakeVbInclude);
}

// A load gives every node a place in the id index and drops the ids of the
// nodes it replaced; a failed load leaves none.
TEST_F(ProjectFile, LoadIndexesTheNewNodesByIdAndForgetsTheOld) {
    TProject source;
    qmtest::BuildRichProject(source);
    const std::string bytes = source.SaveToBytes();
    TProject p;
    p.NewProject();
    const qm::TNodeId before = p.Topics.GetNode(0).Id();
    p.LoadFromBytes(bytes, "rich.qpf");
    ASSERT_EQ(p.Topics.Count(), source.Topics.Count());
    EXPECT_EQ(p.Topics.FindById(before), nullptr);
    std::vector<qm::TNodeId> loaded;
    for (int i = 0; i < p.Topics.Count(); ++i) {
        const qm::TTopicNode& node = p.Topics.GetNode(i);
        EXPECT_EQ(p.Topics.IndexOfId(node.Id()), i);
        EXPECT_EQ(p.Topics.FindById(node.Id()), &node);
        loaded.push_back(node.Id());
    }
    EXPECT_THROW(p.LoadFromBytes(std::string_view(bytes).substr(0, bytes.size() - 1), "cut.qpf"), qm::Error);
    for (const qm::TNodeId id : loaded) EXPECT_EQ(p.Topics.IndexOfId(id), -1);
}

TEST_F(ProjectFile, VersionsUpTo151LoadAlikeAndLaterOnesAreRefused) {
    TProject p;
    qmtest::BuildRichProject(p);
    const std::string good = p.SaveToBytes();
    for (std::int32_t v : {1, 0, -3, 150, 151}) {
        std::string f = good;
        qmtest::PutInt32(f, 22, v);
        TProject q;
        EXPECT_NO_THROW(q.LoadFromBytes(f, "v.qpf")) << v;
        EXPECT_EQ(q.SaveToBytes(), good) << v;
    }
    for (std::int32_t v : {152, std::numeric_limits<std::int32_t>::max()}) {
        std::string f = good;
        qmtest::PutInt32(f, 22, v);
        TProject q;
        qmtest::BuildRichProject(q);
        EXPECT_EQ(ErrorOf([&] { q.LoadFromBytes(f, "v.qpf"); }),
                  "This project file was created using a later version of Quillmark.");
        ExpectCleared(q);
    }
}

TEST_F(ProjectFile, WrongMagicIsRefused) {
    TProject p;
    p.NewProject();
    const std::string good = p.SaveToBytes();
    std::string lastLetter = good;
    lastLetter[21] = 'E';  // the compare is case-sensitive
    std::string lowerCase = good;
    lowerCase[0] = 'q';
    const std::string cases[] = {lastLetter, lowerCase, "plain text, long enough to hold the magic"};
    for (const std::string& f : cases) {
        TProject q;
        qmtest::BuildRichProject(q);
        EXPECT_EQ(ErrorOf([&] { q.LoadFromBytes(f, "m.qpf"); }), "This file is not a Quillmark project file.");
        ExpectCleared(q);
    }
}

TEST_F(ProjectFile, OpenErrorsUseTheFileAccessMessages) {
    fs::create_directory(dir.path() / "folder.qpf");
    struct Case {
        std::string name, message;
    };
    const std::string missing = dir.file("missing.qpf");
    const std::string noFolder = dir.file("nofolder/x.qpf");
    const std::string folder = dir.file("folder.qpf");
    const Case cases[] = {
        {missing, "Cannot open " + missing + " - The file has been deleted or moved."},
        {noFolder, "Cannot access " + noFolder + " - The path was not found."},
        {folder, "Cannot access " + folder + " - Access to the file is denied."},
    };
    for (const Case& c : cases) {
        TProject q;
        qmtest::BuildRichProject(q);
        q.FileName = "keep";
        EXPECT_EQ(ErrorOf([&] { q.LoadFromFile(c.name); }), c.message);
        ExpectCleared(q);
        EXPECT_EQ(q.FileName, "keep");
    }
}

// A valid file cut at every length ends in the end-of-file error with the
// project cleared, also while the magic and the version are incomplete.
TEST_F(ProjectFile, EveryTruncationFailsCleanly) {
    TProject p;
    qmtest::BuildRichProject(p);
    const std::string good = p.SaveToBytes();
    const std::string name = "cut.qpf";
    for (std::size_t len = 0; len < good.size(); ++len) {
        TProject q;
        q.NewProject();
        const std::string msg = ErrorOf([&] { q.LoadFromBytes(std::string_view(good).substr(0, len), name); });
        EXPECT_EQ(msg, EofMessage(name)) << "length " << len;
        ASSERT_EQ(q.Topics.Count(), 0) << "length " << len;
        ASSERT_EQ(q.Windows.Count(), 0) << "length " << len;
        ASSERT_TRUE(q.BmRoot.empty() && q.ExcludeTags.empty()) << "length " << len;
    }
    TProject whole;
    EXPECT_NO_THROW(whole.LoadFromBytes(good, name));
}

// The magic and the version are read before either is checked, so a file too
// short to hold both ends in the end-of-file error, whatever its bytes.
TEST_F(ProjectFile, FileShorterThanMagicAndVersionIsCutShort) {
    const std::string cases[] = {"",
                                 "Quillmark",
                                 "Quillmark Project File",
                                 "Quillmark Project File\x97\0",
                                 "not a project",
                                 std::string(25, 'x')};
    for (const std::string& f : cases) {
        TProject q;
        qmtest::BuildRichProject(q);
        EXPECT_EQ(ErrorOf([&] { q.LoadFromBytes(f, "s.qpf"); }), EofMessage("s.qpf")) << f.size() << " bytes";
        ExpectCleared(q);
    }
    const std::string name = dir.file("empty.qpf");
    qmtest::WriteBytes(name, "");
    TProject q;
    EXPECT_EQ(ErrorOf([&] { q.LoadFromFile(name); }), EofMessage(name));
}

TEST_F(ProjectFile, TruncatedFileOnDiskGivesTheEofMessage) {
    TProject p;
    qmtest::BuildRichProject(p);
    const std::string name = dir.file("short.qpf");
    qmtest::WriteBytes(name, p.SaveToBytes().substr(0, 3000));
    TProject q;
    EXPECT_EQ(ErrorOf([&] { q.LoadFromFile(name); }), EofMessage(name));
    ExpectCleared(q);
}

TEST_F(ProjectFile, CorruptCountsAndLengthsFailCleanly) {
    TProject p;
    qmtest::BuildRichProject(p);
    const std::string good = p.SaveToBytes();
    const std::vector<std::size_t> offsets = CountFieldOffsets(good);
    ASSERT_GE(offsets.size(), 30u);
    for (std::size_t off : offsets) {
        for (std::int32_t bad :
             {-1, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()}) {
            std::string f = good;
            qmtest::PutInt32(f, off, bad);
            TProject q;
            q.NewProject();
            EXPECT_EQ(ErrorOf([&] { q.LoadFromBytes(f, "bad.qpf"); }), EofMessage("bad.qpf"))
                << "offset " << off << " value " << bad;
            ASSERT_EQ(q.Topics.Count(), 0);
            ASSERT_EQ(q.Windows.Count(), 0);
        }
    }
}

// A file is parsed as it is read, a window at a time: texts longer than a
// window, records across its edges, cuts and corrupt counts anywhere give
// what the same bytes give in memory, message and cleared project alike.
// Names are looked up in the loaded nodes, not in those the load replaced:
// the first of two nodes that a file names alike (but for case) is found,
// and a rename after the load is followed.
TEST_F(ProjectFile, LoadedNamesAreFoundAndFollowRenames) {
    TProject source;
    qmtest::BuildRichProject(source);
    source.Topics.AddNew().SetName("Twice");
    source.Topics.AddNew().SetName("TWICE");
    const std::string name = dir.file("names.qpf");
    source.SaveToFile(name);
    TProject p;
    p.NewProject();
    p.Topics.GetNode(0).SetName("OnlyBefore");
    ASSERT_NE(p.Topics.FindByName("onlybefore"), nullptr);  // the index made before the load
    p.LoadFromFile(name);
    EXPECT_EQ(p.Topics.FindByName("onlybefore"), nullptr);
    const int first = p.Topics.Count() - 2;
    EXPECT_EQ(p.Topics.FindByName("twice"), &p.Topics.GetNode(first));
    EXPECT_EQ(p.Topics.FindByName("pop1"), &p.Topics.GetNode(1));
    p.Topics.GetNode(first).SetName("Once");
    EXPECT_EQ(p.Topics.FindByName("twice"), &p.Topics.GetNode(first + 1));
    EXPECT_EQ(p.Topics.FindByName("ONCE"), &p.Topics.GetNode(first));
}

TEST_F(ProjectFile, LoadFromFileGivesWhatTheBytesGive) {
    TProject p;
    qmtest::BuildRichProject(p);
    std::string big(700 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + i / 1021);
    p.Topics.GetNode(1).Text = big;
    for (int i = 0; i < 400; ++i) {
        qm::TTopicNode& n = p.Topics.AddNew();
        n.SetName("T" + std::to_string(i));
        n.Keywords = {"k" + std::to_string(i)};
        n.Text = std::string(static_cast<std::size_t>(i * 37 % 3000), 'x');
    }
    const std::string good = p.SaveToBytes();
    const std::string name = dir.file("window.qpf");
    qmtest::WriteBytes(name, good);
    TProject whole;
    whole.LoadFromFile(name);
    EXPECT_EQ(whole.SaveToBytes(), good);

    const auto both = [&](const std::string& bytes, const std::string& what) {
        SCOPED_TRACE(what);
        qmtest::WriteBytes(name, bytes);
        TProject fromBytes, fromFile;
        fromBytes.NewProject();
        fromFile.NewProject();
        const std::string expected = ErrorOf([&] { fromBytes.LoadFromBytes(bytes, name); });
        EXPECT_EQ(ErrorOf([&] { fromFile.LoadFromFile(name); }), expected);
        EXPECT_EQ(fromFile.Topics.Count(), fromBytes.Topics.Count());
        EXPECT_EQ(fromFile.SaveToBytes(), fromBytes.SaveToBytes());
    };
    const std::size_t window = qm::BinaryReader::kDefaultWindow;
    for (const std::size_t cut : {std::size_t{10}, std::size_t{4000}, window - 1, window, window + 1, 2 * window + 77,
                                  good.size() - big.size() / 2, good.size() - 1})
        both(good.substr(0, cut), "cut at " + std::to_string(cut));
    const std::vector<std::size_t> offsets = CountFieldOffsets(good);
    for (std::size_t k = 0; k < offsets.size(); k += 31) {
        std::string f = good;
        qmtest::PutInt32(f, offsets[k], std::numeric_limits<std::int32_t>::max());
        both(f, "count at " + std::to_string(offsets[k]));
    }
}

TEST_F(ProjectFile, OutOfRangeBytesLoadSoundly) {
    TProject p;
    p.NewProject();
    qm::TTopicNode& popup = p.Topics.AddNew();
    popup.Kind = qm::TopicKind::Popup;
    popup.SetName("contents");  // a duplicate name survives the load
    std::string f = p.SaveToBytes();
    f[pf::OffMakeCpp] = 2;
    f[pf::OffMakeVb] = static_cast<char>(255);
    const std::size_t w = pf::HeaderSize + 12 + 4;
    f[w + 77] = 7;  // NoDefaultButtons
    const std::size_t n1 = w + 90 + 4;
    const std::size_t n2 = n1 + 625 + 16;
    f[n1 + 514] = static_cast<char>(200);  // IsContents
    f[n1 + 515] = 2;                       // Kind
    f[n1 + 516] = 9;                       // State, kept as stored
    f[n2 + 515] = static_cast<char>(255);

    TProject q;
    q.LoadFromBytes(f, "odd.qpf");
    EXPECT_TRUE(q.MakeCppInclude);
    EXPECT_TRUE(q.MakeVbInclude);
    EXPECT_FALSE(q.MakePascalInclude);
    EXPECT_TRUE(q.Windows.GetWindow(1).NoDefaultButtons);
    ASSERT_EQ(q.Topics.Count(), 2);
    EXPECT_TRUE(q.Topics.GetNode(0).IsContents);
    EXPECT_EQ(q.Topics.GetNode(0).Kind, qm::TopicKind::Topic);
    EXPECT_EQ(static_cast<int>(q.Topics.GetNode(0).State), 9);
    EXPECT_EQ(q.Topics.GetNode(1).Kind, qm::TopicKind::Topic);
    EXPECT_EQ(q.Topics.GetNode(1).GetName(), "contents");
    // Saved again, the flags are written as 0 or 1.
    const std::string again = q.SaveToBytes();
    EXPECT_EQ(again[pf::OffMakeCpp], 1);
    EXPECT_EQ(again[n1 + 514], 1);
    EXPECT_EQ(again[n1 + 515], 0);
}

TEST_F(ProjectFile, BytesAfterTheLastNodeAreIgnored) {
    TProject p;
    p.NewProject();
    TProject q;
    q.LoadFromBytes(p.SaveToBytes() + "trailing", "t.qpf");
    EXPECT_EQ(q.Topics.Count(), 1);
}

TEST_F(ProjectFile, FailedSaveIntoMissingFolderOrOntoFolder) {
    fs::create_directory(dir.path() / "taken.qpf");
    const std::string noFolder = dir.file("nofolder/a.qpf");
    const std::string ontoFolder = dir.file("taken.qpf");
    struct Case {
        std::string name, message;
    };
    const Case cases[] = {
        {noFolder, "Cannot write to " + noFolder + " - The path was not found."},
        {ontoFolder, "Cannot write to " + ontoFolder + " - It is a folder, not a file."},
    };
    for (const Case& c : cases) {
        TProject p;
        p.NewProject();
        p.FileName = "previous.qpf";
        EXPECT_EQ(ErrorOf([&] { p.SaveToFile(c.name); }), c.message);
        EXPECT_EQ(p.FileName, "previous.qpf");
        EXPECT_EQ(p.GetHlpFile(), "");  // nothing derived from the failed name
        EXPECT_EQ(p.GetCntFile(), "");
    }
    EXPECT_TRUE(fs::is_directory(ontoFolder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A write that fails half-way (here: the file-size limit) leaves the old file
// byte for byte, FileName unchanged and no temporary file behind.
TEST_F(ProjectFile, FailedWriteLeavesTheOldFile) {
    const std::string name = dir.file("keep.qpf");
    TProject p;
    p.NewProject();
    p.SaveToFile(name);
    const std::string before = qmtest::ReadBytes(name);

    TProject big;
    qmtest::BuildRichProject(big);
    big.Topics.GetNode(0).Text.assign(100000, 'x');
    big.FileName = "other.qpf";

#ifdef _WIN32
    // Windows has no per-process file-size limit: the save's test hook fails
    // the write as a full disk would.
    qm::SetSaveFaultHookForTesting(
        [](qm::SaveStep step) { return step == qm::SaveStep::Write ? qm::winerr::DiskFull : 0; });
    const std::string msg = ErrorOf([&] { big.SaveToFile(name); });
    qm::SetSaveFaultHookForTesting({});
#else
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit small = oldLimit;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string msg = ErrorOf([&] { big.SaveToFile(name); });
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
#endif

    EXPECT_EQ(msg.rfind("Cannot write to " + name + " - ", 0), 0u) << msg;
    EXPECT_EQ(big.FileName, "other.qpf");
    EXPECT_EQ(qmtest::ReadBytes(name), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(ProjectFile, SaveReplacesAnExistingFile) {
    const std::string name = dir.file("again.qpf");
    TProject p;
    qmtest::BuildRichProject(p);
    p.SaveToFile(name);
    p.Topics.DeleteAt(2);
    p.SaveToFile(name);
    TProject q;
    q.LoadFromFile(name);
    EXPECT_EQ(q.Topics.Count(), 2);
    EXPECT_EQ(qmtest::ReadBytes(name), p.SaveToBytes());
}
