#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "richtext/richdoc.h"

namespace {

qm::CharFormat Fmt(int n) {
    qm::CharFormat f;
    f.sizeHalfPoints = 10 + n;
    f.bold = n % 2;
    return f;
}

struct Piece {
    std::u16string text;
    int format;
};

std::vector<Piece> RunsOf(const qm::Paragraph& p) {
    std::vector<Piece> out;
    for (const qm::TextRun& r : p.runs()) out.push_back({std::u16string(r.text), r.format.sizeHalfPoints - 10});
    return out;
}

void ExpectRuns(const qm::Paragraph& p, const std::vector<Piece>& expected) {
    const std::vector<Piece> runs = RunsOf(p);
    ASSERT_EQ(runs.size(), expected.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].text, expected[i].text) << "run " << i;
        EXPECT_EQ(runs[i].format, expected[i].format) << "run " << i;
    }
}

// The pieces appended, by format number, and the runs they make.
TEST(Paragraph, AppendJoinsEqualFormatsAndDropsEmptyText) {
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<Piece> runs;
    } rows[] = {
        {"nothing", {}, {}},
        {"empty text", {{u"", 1}, {u"", 2}}, {}},
        {"one format", {{u"ab", 1}, {u"c", 1}}, {{u"abc", 1}}},
        {"two formats", {{u"ab", 1}, {u"c", 2}, {u"d", 2}}, {{u"ab", 1}, {u"cd", 2}}},
        {"empty between equal", {{u"a", 1}, {u"", 2}, {u"b", 1}}, {{u"ab", 1}}},
        {"back and forth", {{u"a", 1}, {u"b", 2}, {u"c", 1}, {u"d", 2}}, {{u"a", 1}, {u"b", 2}, {u"c", 1}, {u"d", 2}}},
        // More formats than a new run compares with before it adds its own.
        {"twelve formats twice",
         {{u"a", 0},
          {u"b", 1},
          {u"c", 2},
          {u"d", 3},
          {u"e", 4},
          {u"f", 5},
          {u"g", 6},
          {u"h", 7},
          {u"i", 8},
          {u"j", 9},
          {u"k", 10},
          {u"l", 11},
          {u"m", 0},
          {u"n", 0},
          {u"o", 1},
          {u"p", 11}},
         {{u"a", 0},
          {u"b", 1},
          {u"c", 2},
          {u"d", 3},
          {u"e", 4},
          {u"f", 5},
          {u"g", 6},
          {u"h", 7},
          {u"i", 8},
          {u"j", 9},
          {u"k", 10},
          {u"l", 11},
          {u"mn", 0},
          {u"o", 1},
          {u"p", 11}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        qm::Paragraph byValue, shared;
        std::vector<qm::SharedCharFormat> formats;
        for (int i = 0; i < 12; ++i) formats.push_back(std::make_shared<const qm::CharFormat>(Fmt(i)));
        std::u16string all;
        for (const Piece& piece : row.pieces) {
            byValue.append(piece.text, Fmt(piece.format));
            shared.append(piece.text, formats[static_cast<std::size_t>(piece.format)]);
            all += piece.text;
        }
        ExpectRuns(byValue, row.runs);
        ExpectRuns(shared, row.runs);
        EXPECT_EQ(byValue.text(), all);
        EXPECT_EQ(byValue.length(), all.size());
        // However the formats were given, the same runs are the same paragraph.
        EXPECT_TRUE(byValue == shared);
    }
}

TEST(Paragraph, EqualityComparesRunsNotHowTheyWereMade) {
    qm::Paragraph a, b;
    a.append(u"ab", Fmt(1));
    a.append(u"cd", Fmt(2));
    b.append(u"a", Fmt(1));
    b.append(u"b", Fmt(1));
    b.append(u"cd", Fmt(2));
    EXPECT_TRUE(a == b);

    qm::Paragraph otherBoundary;
    otherBoundary.append(u"abc", Fmt(1));
    otherBoundary.append(u"d", Fmt(2));
    EXPECT_FALSE(a == otherBoundary);

    qm::Paragraph otherFormat;
    otherFormat.append(u"ab", Fmt(1));
    otherFormat.append(u"cd", Fmt(3));
    EXPECT_FALSE(a == otherFormat);

    qm::Paragraph otherMark = a;
    otherMark.markFormat.italic = true;
    EXPECT_FALSE(a == otherMark);
    qm::Paragraph otherParagraph = a;
    otherParagraph.format.leftIndent = 100;
    EXPECT_FALSE(a == otherParagraph);
}

TEST(Paragraph, FormatAtRunBoundariesAndTheMark) {
    qm::Paragraph p;
    p.markFormat = Fmt(9);
    EXPECT_EQ(p.formatAt(0), Fmt(9));
    p.append(u"ab", Fmt(1));
    EXPECT_EQ(p.formatAt(0), Fmt(1));
    EXPECT_EQ(p.formatAt(1), Fmt(1));
    EXPECT_EQ(p.formatAt(2), Fmt(9));
    p.append(u"c", Fmt(2));
    p.append(u"de", Fmt(3));
    const struct {
        std::size_t pos;
        int format;
    } rows[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 9}, {50, 9}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pos);
        EXPECT_EQ(p.formatAt(row.pos), Fmt(row.format));
    }
}

TEST(Paragraph, AppendOfAPartOfAnotherKeepsItsFormats) {
    qm::Paragraph src;
    src.append(u"abc", Fmt(1));
    src.append(u"de", Fmt(2));
    src.append(u"fgh", Fmt(1));
    const struct {
        const char* name;
        std::size_t from, to;
        std::vector<Piece> runs;
    } rows[] = {
        {"inside a run", 1, 2, {{u"b", 1}}},
        {"across runs", 2, 6, {{u"c", 1}, {u"de", 2}, {u"f", 1}}},
        {"all", 0, 8, {{u"abc", 1}, {u"de", 2}, {u"fgh", 1}}},
        {"past the end", 6, 100, {{u"gh", 1}}},
        {"nothing", 4, 4, {}},
        {"backwards", 5, 3, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        qm::Paragraph p;
        p.append(src, row.from, row.to);
        ExpectRuns(p, row.runs);
    }
    // Joined to a run of the same format already there.
    qm::Paragraph p;
    p.append(u"x", Fmt(2));
    p.append(src, 3, 5);
    ExpectRuns(p, {{u"xde", 2}});
    // A paragraph may take a part of itself.
    p.append(p, 0, 2);
    ExpectRuns(p, {{u"xdexd", 2}});
}

// The runs keep their characters and formats through copies and moves.
TEST(Paragraph, CopiesAreIndependent) {
    qm::Paragraph a;
    a.append(u"ab", Fmt(1));
    a.append(u"c", Fmt(2));
    qm::Paragraph b = a;
    b.append(u"d", Fmt(3));
    ExpectRuns(a, {{u"ab", 1}, {u"c", 2}});
    ExpectRuns(b, {{u"ab", 1}, {u"c", 2}, {u"d", 3}});
    qm::Paragraph c = std::move(b);
    ExpectRuns(c, {{u"ab", 1}, {u"c", 2}, {u"d", 3}});
    c.shrinkToFit();
    ExpectRuns(c, {{u"ab", 1}, {u"c", 2}, {u"d", 3}});
}

}  // namespace
