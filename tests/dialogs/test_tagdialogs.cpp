// What the insert-tag forms share with their callers: the file name without
// its folder, the image folder a result reports, the image tag names by
// placement, the image hotspot read from a link's inner text, anchor names.
#include <gtest/gtest.h>

#include "dialogs/tagdialogs.h"

namespace qm {
namespace {

TEST(TagDialogs, FileNameOnlyCutsAtBackslashOrSlash) {
    struct Row {
        const char* name;
        std::string path;
        std::string file;
    } rows[] = {
        {"bare name", "a.bmp", "a.bmp"},
        {"Windows folder", "C:\\pics\\a.bmp", "a.bmp"},
        {"slash folder", "/work/pics/a.bmp", "a.bmp"},
        {"mixed, the last separator wins", "pics\\sub/a.bmp", "a.bmp"},
        {"a drive colon is no separator", "C:a.bmp", "C:a.bmp"},
        {"blanks stay", "pics\\my image.bmp ", "my image.bmp "},
        {"a folder only", "pics\\", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileNameOnly(row.path), row.file);
    }
}

TEST(TagDialogs, TheImageFolderOfABareNameIsNone) {
    struct Row {
        const char* name;
        std::string file;
        std::string folder;
    } rows[] = {
        {"bare name", "a.bmp", ""},
        {"bare name with blanks", "  a.bmp ", ""},
        {"no image", "", ""},
        {"Windows folder", "C:\\pics\\a.bmp", "C:\\pics"},
        {"slash folder", "/work/pics/a.bmp", "/work/pics"},
        {"relative folder", "pics/a.bmp", "pics"},
        {"doubled separator", "/work/pics//a.bmp", "/work/pics"},
        {"the root keeps its separator", "/a.bmp", "/"},
        {"a drive's root keeps its separator", "C:\\a.bmp", "C:\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ((TTagResult{"<IMAGEC \"a.bmp\">", row.file}).ImageFolder(), row.folder);
    }
}

TEST(TagDialogs, ImageNamesFollowThePlacementAndKeepAnUnchangedOne) {
    struct Row {
        const char* name;
        std::string original;
        TImageAlign align;
        std::string written;
    } rows[] = {
        {"new, Character", "", TImageAlign::Character, "IMAGEC"},
        {"new, Left", "", TImageAlign::Left, "IMAGEL"},
        {"new, Right", "", TImageAlign::Right, "IMAGER"},
        {"plain IMAGE left on Character", "IMAGE", TImageAlign::Character, "IMAGE"},
        {"plain IMAGE moved left", "IMAGE", TImageAlign::Left, "IMAGEL"},
        {"IMAGEL unchanged", "IMAGEL", TImageAlign::Left, "IMAGEL"},
        {"IMAGEL moved to Character", "IMAGEL", TImageAlign::Character, "IMAGEC"},
        {"IMAGER unchanged", "IMAGER", TImageAlign::Right, "IMAGER"},
        {"lower case unchanged keeps its case", "imagec", TImageAlign::Character, "imagec"},
        {"lower case moved", "image", TImageAlign::Right, "IMAGER"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ImageTagNameFor(row.align, row.original), row.written);
    }
    EXPECT_EQ(ImageAlignOf(""), TImageAlign::Character);
    EXPECT_EQ(ImageAlignOf("IMAGE"), TImageAlign::Character);
    EXPECT_EQ(ImageAlignOf("imagel"), TImageAlign::Left);
    EXPECT_EQ(ImageAlignOf("IMAGER"), TImageAlign::Right);
}

TEST(TagDialogs, AnImageHotspotIsExactlyOneImageTag) {
    struct Row {
        const char* name;
        std::string inner;
        bool image;
        std::string tagName;
        std::string file;
    } rows[] = {
        {"plain", "<IMAGE \"a.bmp\">", true, "IMAGE", "a.bmp"},
        {"character", "<IMAGEC \"a.bmp\">", true, "IMAGEC", "a.bmp"},
        {"left", "<IMAGEL \"pics\\a.bmp\">", true, "IMAGEL", "pics\\a.bmp"},
        {"right, lower case", "<imager \"a b.bmp\">", true, "imager", "a b.bmp"},
        {"empty file", "<IMAGE \"\">", true, "IMAGE", ""},
        {"text after the tag", "<IMAGE \"a.bmp\"> and more", false, "", ""},
        {"text before the tag", "see <IMAGE \"a.bmp\">", false, "", ""},
        {"two images", "<IMAGE \"a.bmp\"><IMAGE \"b.bmp\">", false, "", ""},
        {"two blanks", "<IMAGE  \"a.bmp\">", false, "", ""},
        {"something after the value", "<IMAGE \"a.bmp\" x>", false, "", ""},
        {"no closing quote", "<IMAGE \"a.bmp>", false, "", ""},
        {"another name", "<IMAGES \"a.bmp\">", false, "", ""},
        {"no closing bracket", "<IMAGE \"a.bmp\"", false, "", ""},
        {"plain text", "see Beta", false, "", ""},
        {"empty", "", false, "", ""},
        {"a lone bracket", "<", false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto image = ParseImageHotspot(row.inner);
        ASSERT_EQ(image.has_value(), row.image);
        if (!image) continue;
        EXPECT_EQ(image->TagName, row.tagName);
        EXPECT_EQ(image->File, row.file);
    }
}

TEST(TagDialogs, AnchorNamesRefuseQuotesAndAngleBrackets) {
    for (const char* good : {"part", "part two", "a:b", "", "&lt;"}) EXPECT_TRUE(IsValidAnchorName(good)) << good;
    for (const char* bad : {"a\"b", "<a", "a>", "\""}) EXPECT_FALSE(IsValidAnchorName(bad)) << bad;
    EXPECT_STREQ(kMsgBadAnchorName, "An anchor name cannot contain quotes or angle brackets.");
}

}  // namespace
}  // namespace qm
