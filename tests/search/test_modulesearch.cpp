// Find, Replace All and the link update over module texts: hits by node Id
// in list order, offsets as the editor counts them, the text cache, edits
// that keep formats, and the link rule with its FILE= and anchor cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/topics.h"
#include "search/modulesearch.h"
#include "util/cp1252.h"

namespace {

std::string Body(const std::string& text) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 " + text +
           "\\par\r\n}";
}

std::u16string PlainOf(const std::string& text) { return qm::ReadModuleText(text).plainText(); }

class ModuleSearch : public ::testing::Test {
protected:
    qm::TTopicNode& Add(const char* name, qm::TopicKind kind, const std::string& text) {
        qm::TTopicNode& n = topics.AddNew();
        n.SetName(name);
        n.Kind = kind;
        n.Text = text;
        return n;
    }
    qm::TTopics topics;
    qm::TModuleTextCache cache;
};

TEST_F(ModuleSearch, HitsByIdInListOrderWithTheEditorsOffsets) {
    const qm::TTopicNode& a = Add("A", qm::TopicKind::Topic, Body("{\\b bold} aaaa"));
    const qm::TTopicNode& p = Add("P", qm::TopicKind::Popup, Body("aa\\par x aa"));
    const qm::TTopicNode& b = Add("B", qm::TopicKind::Topic, "plain aa\r\nnext aa");  // no RTF: read as text
    Add("C", qm::TopicKind::Topic, Body("{\\v hidden aa}"));
    const qm::TTopicNode& c = topics.GetNode(3);
    using H = qm::TSearchHit;
    struct Row {
        const char* name;
        qm::TModuleScope scope;
        std::vector<H> expected;
    } rows[] = {
        {"All",
         qm::TModuleScope::All,
         {{a.Id(), 5, 2},
          {a.Id(), 6, 2},
          {a.Id(), 7, 2},
          {p.Id(), 0, 2},
          {p.Id(), 5, 2},
          {b.Id(), 6, 2},
          {b.Id(), 14, 2},
          {c.Id(), 7, 2}}},
        {"Topics",
         qm::TModuleScope::Topics,
         {{a.Id(), 5, 2}, {a.Id(), 6, 2}, {a.Id(), 7, 2}, {b.Id(), 6, 2}, {b.Id(), 14, 2}, {c.Id(), 7, 2}}},
        {"Popups", qm::TModuleScope::Popups, {{p.Id(), 0, 2}, {p.Id(), 5, 2}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(qm::FindInModules(topics, r.scope, u"AA", 0, cache), r.expected);
    }
    EXPECT_TRUE(qm::FindInModules(topics, qm::TModuleScope::All, u"AA", qm::kSearchMatchCase, cache).empty());
    EXPECT_TRUE(qm::FindInModules(topics, qm::TModuleScope::All, u"", 0, cache).empty());
}

TEST_F(ModuleSearch, SearchTextIsTheUsersTextNotWindows1252) {
    // The euro sign is 0x80 in the module's bytes and U+20AC in the search text.
    const qm::TTopicNode& n = Add("E", qm::TopicKind::Topic, Body("cost \\'80 5"));
    EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, u"\u20AC 5", 0, cache),
              (std::vector<qm::TSearchHit>{{n.Id(), 5, 3}}));
    // A character no code page byte holds is still found where the RTF has it.
    Add("U", qm::TopicKind::Topic, Body("a\\u945?b"));
    EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, u"\u03B1b", 0, cache).size(), 1u);
}

TEST_F(ModuleSearch, CacheReadsEachTextOnceWhileItsBytesStay) {
    qm::TTopicNode& a = Add("A", qm::TopicKind::Topic, Body("one word"));
    Add("B", qm::TopicKind::Topic, Body("two words"));
    EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, u"word", 0, cache).size(), 2u);
    EXPECT_EQ(cache.Reads(), 2);
    EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, u"two", 0, cache).size(), 1u);
    EXPECT_EQ(cache.Reads(), 2) << "the second search reads nothing";

    // The same bytes assigned again keep the entry; other bytes are read again.
    a.Text = std::string(a.Text);
    qm::FindInModules(topics, qm::TModuleScope::All, u"word", 0, cache);
    EXPECT_EQ(cache.Reads(), 2);
    a.Text = Body("one ward");  // the same length: only the bytes tell
    const auto hits = qm::FindInModules(topics, qm::TModuleScope::All, u"word", qm::kSearchWholeWord, cache);
    EXPECT_EQ(cache.Reads(), 3);
    EXPECT_TRUE(hits.empty()) << "the new text is searched, not the cached one";

    // Match case needs the text as it is: read again once, then kept.
    EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, u"two", qm::kSearchMatchCase, cache).size(), 1u);
    EXPECT_EQ(cache.Reads(), 5);
    qm::FindInModules(topics, qm::TModuleScope::All, u"TWO", qm::kSearchMatchCase, cache);
    qm::FindInModules(topics, qm::TModuleScope::All, u"two", 0, cache);
    EXPECT_EQ(cache.Reads(), 5);

    // Removed nodes leave the cache.
    topics.DeleteAt(0);
    qm::FindInModules(topics, qm::TModuleScope::All, u"two", 0, cache);
    EXPECT_EQ(cache.Size(), 1u);
}

// Texts that change again and again: the cache's memory is reused, and every
// search still sees each node's present text.
TEST_F(ModuleSearch, CacheFollowsTextsThatChangeOften) {
    qm::TTopicNode& a = Add("A", qm::TopicKind::Topic, "");
    const qm::TTopicNode& b = Add("B", qm::TopicKind::Topic, Body("steady word"));
    const std::string filler(100000, 'x');
    for (int i = 0; i < 200; ++i) {
        a.Text = Body(filler + " round" + std::to_string(i) + " word");
        const auto hits = qm::FindInModules(topics, qm::TModuleScope::All, u"word", qm::kSearchWholeWord, cache);
        ASSERT_EQ(hits.size(), 2u) << i;
        EXPECT_EQ(hits[0].Node, a.Id());
        EXPECT_EQ(hits[1], (qm::TSearchHit{b.Id(), 7, 4}));
        const std::u16string round = u"round" + qm::Cp1252ToUtf16(std::to_string(i));
        EXPECT_EQ(qm::FindInModules(topics, qm::TModuleScope::All, round, qm::kSearchMatchCase, cache).size(), 1u);
    }
    // A twice a round (folded, then as it is), B once for each kind of search.
    EXPECT_EQ(cache.Reads(), 200 * 2 + 2);
}

TEST(ModuleReplace, TextWithoutAHitKeepsItsBytes) {
    // Not even normalised: the writer would change this text's header.
    const std::string original = "{\\rtf1 {\\b some} text }";
    struct Row {
        const char* name;
        std::u16string needle;
        int options;
    } rows[] = {
        {"NoHit", u"missing", 0},
        {"EmptyNeedle", u"", 0},
        {"WholeWordOnly", u"tex", qm::kSearchWholeWord},
        {"CaseDiffers", u"TEXT", qm::kSearchMatchCase},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string rtf = original;
        EXPECT_EQ(qm::ReplaceAllInRtf(rtf, r.needle, r.options, u"x"), 0);
        EXPECT_EQ(rtf, original);
    }
}

TEST(ModuleReplace, ReplacementTakesTheFormatOfTheFirstReplacedCharacter) {
    std::string rtf = "{\\rtf1 x{\\b ab}{\\i cd}e}";
    EXPECT_EQ(qm::ReplaceAllInRtf(rtf, u"bc", 0, u"ZZ"), 1);
    const qm::RichDocument doc = qm::ReadRtf(rtf);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto runs = doc.paragraphs[0].runs();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, u"x");
    EXPECT_EQ(runs[1].text, u"aZZ");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[2].text, u"d");
    EXPECT_TRUE(runs[2].format.italic);
    EXPECT_EQ(runs[3].text, u"e");
}

TEST(ModuleReplace, PlainTextModuleIsReadAsTheEditorReadsIt) {
    qm::CharFormat plain;
    plain.font.face = "Courier New";
    std::string text = "first line\r\nsecond line";
    EXPECT_EQ(qm::ReplaceAllInRtf(text, u"line", 0, u"row", plain), 2);
    const qm::RichDocument doc = qm::ReadRtf(text);
    EXPECT_EQ(doc.plainText(), u"first row\rsecond row");
    EXPECT_EQ(doc.paragraphs[1].runs()[0].format.font.face, "Courier New");
}

TEST(ModuleReplace, LargeTextIsReplacedInOnePass) {
    std::string body;
    for (int i = 0; i < 20000; ++i) body += i % 2 ? "{\\b word} " : "word ";
    std::string rtf = Body(body);
    EXPECT_EQ(qm::ReplaceAllInRtf(rtf, u"word", qm::kSearchWholeWord, u"term"), 20000);
    const std::u16string plain = PlainOf(rtf);
    EXPECT_EQ(qm::FindAllHits(plain, u"word", qm::kSearchMatchCase).size(), 0u);
    EXPECT_EQ(qm::FindAllHits(plain, u"term", qm::kSearchMatchCase).size(), 20000u);
}

TEST(ApplyEdits, ParagraphBreaksRemovedAndInserted) {
    qm::RichDocument doc = qm::ReadRtf("{\\rtf1 \\qc one\\par \\pard\\ql{\\b two}\\par three}");
    ASSERT_EQ(doc.plainText(), u"one\rtwo\rthree");
    // "e\rt" spans a paragraph break; the joined paragraph keeps the first one's format.
    std::vector<qm::TTextEdit> edits = {{2, 3, u"-"}};
    qm::RichDocument joined = doc;
    qm::ApplyEdits(joined, edits);
    EXPECT_EQ(joined.plainText(), u"on-wo\rthree");
    EXPECT_EQ(joined.paragraphs[0].format.alignment, qm::ParaAlignment::Center);
    EXPECT_TRUE(joined.paragraphs[0].runs().back().format.bold);

    // A break in the inserted text starts a paragraph in the same paragraph format.
    qm::RichDocument split = doc;
    qm::ApplyEdits(split, {{1, 1, u"\r\n"}, {8, 0, u"x\ny"}});
    EXPECT_EQ(split.plainText(), u"o\re\rtwo\rx\rythree");
    ASSERT_EQ(split.paragraphs.size(), 5u);
    EXPECT_EQ(split.paragraphs[1].format.alignment, qm::ParaAlignment::Center);

    // Edits that run past the end remove the rest.
    qm::RichDocument tail = doc;
    qm::ApplyEdits(tail, {{9, 100, u"!"}});
    EXPECT_EQ(tail.plainText(), u"one\rtwo\rt!");
}

TEST(LinkRule, Table) {
    struct Row {
        const char* name;
        std::string text;
        std::string expected;
        int count;
    } rows[] = {
        {"TopicLink", "<LINK TOPIC=\"Old\">go</LINK>", "<LINK TOPIC=\"New\">go</LINK>", 1},
        {"PopupOtherCase", "<LINK POPUP=\"OLD\">go</LINK>", "<LINK POPUP=\"New\">go</LINK>", 1},
        {"UserLink", "<ULINK TOPIC=\"old\">go</ULINK>", "<ULINK TOPIC=\"New\">go</ULINK>", 1},
        {"AnchorFollows", "<LINK TOPIC=\"Old:a\">go</LINK>", "<LINK TOPIC=\"New:a\">go</LINK>", 1},
        {"OtherHelpFile", "<LINK TOPIC=\"Old\" FILE=other.hlp>go</LINK>",
         "<LINK TOPIC=\"Old\" FILE=other.hlp>go</LINK>", 0},
        {"OtherHelpFileLowerCase", "<LINK TOPIC=\"Old\" file=x.hlp>go</LINK>",
         "<LINK TOPIC=\"Old\" file=x.hlp>go</LINK>", 0},
        {"OtherHelpFileBeforeAnchor", "<LINK FILE=x.hlp TOPIC=\"Old:a\">go</LINK>",
         "<LINK FILE=x.hlp TOPIC=\"Old:a\">go</LINK>", 0},
        {"QuotedValueOutsideATag", "say =\"Old\" here", "say =\"New\" here", 1},
        {"AfterAFileTag", "<LINK TOPIC=\"x\" FILE=o.hlp>t</LINK> =\"Old\"",
         "<LINK TOPIC=\"x\" FILE=o.hlp>t</LINK> =\"New\"", 1},
        {"OneOfTwo", "<LINK TOPIC=\"Old\">a</LINK><LINK TOPIC=\"Old\" FILE=b.hlp>b</LINK>",
         "<LINK TOPIC=\"New\">a</LINK><LINK TOPIC=\"Old\" FILE=b.hlp>b</LINK>", 1},
        {"LongerName", "<LINK TOPIC=\"Older\">go</LINK>", "<LINK TOPIC=\"Older\">go</LINK>", 0},
        {"NotAfterEquals", "\"Old\" and Old", "\"Old\" and Old", 0},
    };
    const qm::TLinkRule rule(u"=\"Old\"", u"=\"New\"");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string rtf = Body(r.text);
        const std::string before = rtf;
        EXPECT_EQ(rule.ApplyToRtf(rtf), r.count);
        EXPECT_EQ(qm::Utf16ToCp1252(PlainOf(rtf)), r.expected);
        if (r.count == 0) {
            EXPECT_EQ(rtf, before) << "untouched bytes";
        }
    }
}

TEST(LinkRule, FileTestIsLinearOnLongTexts) {
    // Many links in one text and an unclosed "<" in front of them all.
    std::u16string text = u"< ";
    for (int i = 0; i < 20000; ++i) text += u"=\"old\" ";
    const qm::TLinkRule rule(u"=\"Old\"", u"=\"New\"");
    EXPECT_EQ(rule.Edits(qm::FoldSearchText(text)).size(), 20000u);
    text += u"file=";
    EXPECT_TRUE(rule.Edits(qm::FoldSearchText(text)).empty()) << "one unclosed tag holding FILE=";
}

}  // namespace
