#include <gtest/gtest.h>

#include <string>

#include "preprocess/edittags.h"
#include "util/cp1252.h"

namespace {

// --- Link following ------------------------------------------------------------

struct LinkCase {
    const char* name;
    std::u16string text;
    int caret;
    const char* target;  // nullptr: no link found
};

class FindLinkAtTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(FindLinkAtTest, FindsTheTargetOrNone) {
    const LinkCase& c = GetParam();
    std::string name = "untouched";
    const bool found = qm::FindLinkAt(c.text, c.caret, name);
    if (c.target) {
        EXPECT_TRUE(found);
        EXPECT_EQ(name, c.target);
    } else {
        EXPECT_FALSE(found);
        EXPECT_EQ(name, "untouched");
    }
}

const std::u16string kIntro = u"<LINK TOPIC=\"Intro:sec\">see</LINK>";  // 34 characters, end tag at 27
const std::u16string kAround = u"see <LINK TOPIC=\"B\">b</LINK> after";

INSTANTIATE_TEST_SUITE_P(
    Links, FindLinkAtTest,
    ::testing::Values(
        LinkCase{"OnTheStartTagsBracket", kIntro, 0, "Intro"}, LinkCase{"InTheQuotedValue", kIntro, 13, "Intro"},
        LinkCase{"OnTheLastHotspotCharacter", kIntro, 26, "Intro"},
        LinkCase{"OnTheEndTagsBracket", kIntro, 27, nullptr},
        LinkCase{"OnTheEndTagsLastCharacter", kIntro, 33, nullptr}, LinkCase{"AtTheEndOfTheText", kIntro, 34, nullptr},
        LinkCase{"PastTheEnd", kIntro, 1000, nullptr}, LinkCase{"BeforeTheStart", kIntro, -1, nullptr},
        LinkCase{"EmptyText", u"", 0, nullptr}, LinkCase{"TextBeforeTheLink", kAround, 2, nullptr},
        LinkCase{"JustBeforeTheStartTag", kAround, 4, "B"}, LinkCase{"TextAfterTheLink", kAround, 30, nullptr},
        LinkCase{"UlinkPopup", u"<ULINK POPUP=\"Def1\">word</ULINK>", 21, "Def1"},
        LinkCase{"LowerCaseTags", u"<link topic=\"alpha\">x</link>", 18, "alpha"},
        LinkCase{"ImageHotspot", u"<LINK TOPIC=\"A\"><IMAGE \"x.bmp\"></LINK>", 2, nullptr},
        LinkCase{"BitmapAfterALinkStart", u"<LINK TOPIC=\"A\"><BITMAP x.bmp></LINK>", 2, "A"},
        LinkCase{"DoubleBlank", u"<LINK  TOPIC=\"A\">x</LINK>", 3, nullptr},
        LinkCase{"UlinkClosedAsLink", u"<ULINK TOPIC=\"A\">x</LINK>", 3, nullptr},
        LinkCase{"ValueRunningPastTheEndTag", u"<LINK TOPIC=\"A>x</LINK>\"", 3, nullptr},
        LinkCase{"NoQuoteBeforeTheValue", u"<LINK TOPIC=A>xxxxx</LINK>", 3, nullptr},
        LinkCase{"AnchorAfterTheFirstColonOnly", u"<LINK TOPIC=\"T:a:b\">x</LINK>", 3, "T"},
        LinkCase{"NonAsciiName", u"<LINK TOPIC=\"Caf\u00e9\">x</LINK>", 3, "Caf\xe9"},
        // Bounded reads: the tests of 6, 7 and 8 characters near the end.
        LinkCase{"FiveCharactersLeftForLink", u"<LINK", 0, nullptr},
        LinkCase{"SixCharactersLeftForUlink", u"<ULINK", 0, nullptr},
        LinkCase{"SevenCharactersLeftForBitmap", u"<BITMAP", 0, nullptr},
        LinkCase{"StartTagAtTheEnd", u"<LINK ", 1, nullptr},
        LinkCase{"EndTagCutShort", u"<LINK TOPIC=\"A\">x</LINK", 3, nullptr},
        LinkCase{"UlinkEndTagCutShort", u"<ULINK POPUP=\"A\">x</ULINK", 3, nullptr},
        LinkCase{"ValueOpenAtTheEnd", u"<LINK TOPIC=\"", 3, nullptr}),
    [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

}  // namespace
