#include <gtest/gtest.h>

#include <filesystem>

#include "model/project.h"
#include "model_test_util.h"
#include "util/fileio.h"

using qm::TProject;

namespace fs = std::filesystem;

TEST(Project, NewProjectHasContentsTopicAndMainWindow) {
    qmtest::ScopedScreen screen(1024, 768);
    TProject p;
    p.FileName = "/x/old.qpf";
    p.NewProject();
    EXPECT_EQ(p.FileName, "");
    EXPECT_FALSE(p.Modified);
    EXPECT_EQ(p.GetIdPrefix(), "IDH");
    EXPECT_FALSE(p.GetCopyright().empty());
    ASSERT_EQ(p.Topics.Count(), 1);
    const qm::TTopicNode& c = p.Topics.GetNode(0);
    EXPECT_EQ(c.Kind, qm::TopicKind::Topic);
    EXPECT_TRUE(c.IsContents);
    EXPECT_EQ(c.GetName(), "Contents");
    EXPECT_EQ(c.GetTitle(), "Contents Page");
    EXPECT_EQ(c.ContextId, 5);
    EXPECT_EQ(p.Topics.FindContents(), &c);
    EXPECT_TRUE(p.Topics.NameExists("CONTENTS"));
    ASSERT_EQ(p.Windows.Count(), 1);
    const qm::TWindowDef& w = p.Windows.GetWindow(1);
    EXPECT_EQ(w.GetName(), "main");
    EXPECT_EQ(w.X, 212);
    EXPECT_EQ(w.Y, 144);
    EXPECT_EQ(w.W, 600);
    EXPECT_EQ(w.H, 480);
    EXPECT_EQ(w.Buttons, 51);
    EXPECT_EQ(w.AdjustRes, 0);
    EXPECT_EQ(w.Rgb1, 0xFFFFFFu);
    EXPECT_EQ(p.Topics.NextFreeContextId(5), 10);
}

TEST(Project, ClearKeepsFileNameAndEmptiesEverythingElse) {
    TProject p;
    qmtest::BuildRichProject(p);
    p.FileName = "/x/kept.qpf";
    p.Modified = true;
    p.MakeCppInclude = p.MakePascalInclude = true;
    p.Clear();
    EXPECT_EQ(p.FileName, "/x/kept.qpf");
    EXPECT_FALSE(p.Modified);
    EXPECT_EQ(p.Topics.Count(), 0);
    EXPECT_EQ(p.Windows.Count(), 0);
    EXPECT_EQ(p.CompressMode, 0);
    EXPECT_EQ(p.CompressFlags, 0);
    EXPECT_TRUE(p.BmRoot.empty() && p.IncludeTags.empty() && p.ExcludeTags.empty());
    EXPECT_FALSE(p.MakeCppInclude || p.MakeVbInclude || p.MakePascalInclude);
    for (const std::string& s : {p.GetTitle(), p.GetCopyright(), p.GetCitation(), p.GetHlpFile(), p.GetCntFile()})
        EXPECT_EQ(s, "");
    EXPECT_EQ(p.GetIdPrefix(), "IDH");
    // Cleared fields are zero to their last byte, so they store as zeros.
    EXPECT_EQ(std::string(p.Citation.data(), 2000), std::string(2000, '\0'));
}

TEST(Project, TextFieldsCutToCapacity) {
    TProject p;
    struct Case {
        void (TProject::*set)(std::string_view);
        std::string (TProject::*get)() const;
        std::size_t cap;
    };
    const Case cases[] = {
        {&TProject::SetIdPrefix, &TProject::GetIdPrefix, 5},     {&TProject::SetTitle, &TProject::GetTitle, 127},
        {&TProject::SetCopyright, &TProject::GetCopyright, 255}, {&TProject::SetCitation, &TProject::GetCitation, 2000},
        {&TProject::SetHlpFile, &TProject::GetHlpFile, 259},     {&TProject::SetCntFile, &TProject::GetCntFile, 259},
    };
    for (const Case& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < c.cap + 3; ++i) text += static_cast<char>('a' + i % 26);
        (p.*c.set)(text);
        EXPECT_EQ((p.*c.get)(), text.substr(0, c.cap)) << c.cap;
    }
    EXPECT_EQ(p.HlpFile.data()[259], '\0');
    EXPECT_EQ(p.CntFile.data()[259], '\0');
}

TEST(Project, CollectBuildTagsAppendsEachTagOnce) {
    TProject p;
    for (const char* tag : {"A", "", "B", "A", "b"}) p.Topics.AddNew().SetBuildTag(tag);
    qm::StringList list = {"B", "Z"};
    p.CollectBuildTags(list);
    EXPECT_EQ(list, (qm::StringList{"B", "Z", "A", "b"}));  // exact compare, not cleared first
}

TEST(Project, IsBmRootFolderIgnoresCaseAndSlashDirection) {
    TProject p;
    p.BmRoot = {"C:\\Help\\Images", "/srv/art/"};
    EXPECT_TRUE(p.IsBmRootFolder("c:\\help\\images"));
    EXPECT_TRUE(p.IsBmRootFolder("C:/HELP/Images"));
    EXPECT_TRUE(p.IsBmRootFolder("\\srv\\art\\"));
    EXPECT_FALSE(p.IsBmRootFolder("C:\\Help\\Images\\"));  // no trailing-separator normalising
    EXPECT_FALSE(p.IsBmRootFolder("/srv/art"));
    EXPECT_FALSE(p.IsBmRootFolder(""));
}

class SearchPath : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "proj");
        fs::create_directories(dir.path() / "art1");
        fs::create_directories(dir.path() / "art2");
        p.FileName = dir.file("proj/help.qpf");
        p.BmRoot = {dir.file("art1"), dir.file("art2") + "/"};
    }
    void Touch(const std::string& rel) { qmtest::WriteBytes(dir.file(rel), "x"); }
    qmtest::TempDir dir;
    TProject p;
};

TEST_F(SearchPath, FindsImageInTheSecondFolder) {
    Touch("art2/pic.bmp");
    EXPECT_TRUE(p.FileExistsInSearchPath("pic.bmp"));
    EXPECT_EQ(fs::path(p.FindInSearchPath("pic.bmp")), dir.path() / "art2/pic.bmp");
    EXPECT_FALSE(p.FileExistsInSearchPath("none.bmp"));
}

TEST_F(SearchPath, ProjectFolderComesFirst) {
    Touch("art1/pic.bmp");
    Touch("proj/pic.bmp");
    EXPECT_EQ(fs::path(p.FindInSearchPath("pic.bmp")), dir.path() / "proj/pic.bmp");
}

TEST_F(SearchPath, FileNameCaseDiffers) {
    Touch("art1/Photo.BMP");
    EXPECT_TRUE(p.FileExistsInSearchPath("photo.bmp"));
#ifdef _WIN32
    // The system finds the file under any case; the name comes back as asked.
    EXPECT_TRUE(fs::equivalent(fs::path(p.FindInSearchPath("photo.bmp")), dir.path() / "art1/Photo.BMP"));
#else
    EXPECT_EQ(fs::path(p.FindInSearchPath("photo.bmp")), dir.path() / "art1/Photo.BMP");
#endif
}

TEST_F(SearchPath, BackslashFoldersAndSubfolders) {
    fs::create_directories(dir.path() / "art2/sub");
    Touch("art2/sub/deep.bmp");
    std::string back = dir.file("art2");
    for (char& c : back)
        if (c == '/') c = '\\';
    p.BmRoot = {back};
    EXPECT_TRUE(p.FileExistsInSearchPath("sub\\deep.bmp"));
    EXPECT_TRUE(p.FileExistsInSearchPath("SUB/Deep.bmp"));
}

TEST_F(SearchPath, FoldersAreNotFilesAndEmptyEntriesAreSkipped) {
    p.BmRoot = {"", dir.file("")};
    EXPECT_FALSE(p.FileExistsInSearchPath("art1"));  // a folder, not a file
    EXPECT_FALSE(p.FileExistsInSearchPath(""));
}

TEST_F(SearchPath, NewProjectSearchesTheCurrentFolder) {
    Touch("proj/here.bmp");
    p.FileName.clear();
    p.BmRoot.clear();
    const fs::path old = fs::current_path();
    fs::current_path(dir.path() / "proj");
    const bool found = p.FileExistsInSearchPath("HERE.bmp");
    const bool missing = p.FileExistsInSearchPath("there.bmp");
    fs::current_path(old);
    EXPECT_TRUE(found);
    EXPECT_FALSE(missing);
}

// The help compiler takes a relative BMROOT from the help project's folder;
// the image check must find the same files whatever folder the program was
// started from.
TEST_F(SearchPath, RelativeImageFoldersCountFromTheProjectFolder) {
    fs::create_directories(dir.path() / "proj/Bitmaps");
    fs::create_directories(dir.path() / "elsewhere/Bitmaps");
    Touch("proj/Bitmaps/pic.bmp");
    Touch("elsewhere/Bitmaps/decoy.bmp");
    p.BmRoot = {"Bitmaps", "..\\art1"};
    Touch("art1/up.bmp");
    const fs::path old = fs::current_path();
    fs::current_path(dir.path() / "elsewhere");
    const std::string pic = p.FindInSearchPath("pic.bmp");
    const std::string up = p.FindInSearchPath("up.bmp");
    const bool decoy = p.FileExistsInSearchPath("decoy.bmp");
    fs::current_path(old);
    EXPECT_EQ(fs::path(pic), dir.path() / "proj/Bitmaps/pic.bmp");
    EXPECT_EQ(fs::weakly_canonical(qm::ToFsPath(up)), dir.path() / "art1/up.bmp");
    EXPECT_FALSE(decoy) << "found through the current folder";
}
