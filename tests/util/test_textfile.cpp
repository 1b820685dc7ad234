// Line splitting over CR, LF and CR LF; CR LF joining; the pointer stack.
#include "util/pointerstack.h"
#include "util/textfile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qm;

namespace {

TEST(SplitLines, Table) {
    struct Case {
        const char* what;
        std::string text;
        StringList expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"no break", "one", {"one"}},
        {"crlf", "a\r\nb\r\nc", {"a", "b", "c"}},
        {"lf", "a\nb\nc", {"a", "b", "c"}},
        {"cr", "a\rb\rc", {"a", "b", "c"}},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"final crlf adds no line", "a\r\nb\r\n", {"a", "b"}},
        {"final cr adds no line", "a\r", {"a"}},
        {"final lf adds no line", "a\n", {"a"}},
        {"blank lines kept", "a\r\n\r\nb", {"a", "", "b"}},
        {"trailing blank line", "a\n\n", {"a", ""}},
        {"only a break", "\r\n", {""}},
        {"lf cr is two breaks", "a\n\rb", {"a", "", "b"}},
        {"cr cr lf", "a\r\r\nb", {"a", "", "b"}},
        {"leading break", "\nx", {"", "x"}},
        {"other bytes untouched", std::string("t\xE9\t\0x", 5), {std::string("t\xE9\t\0x", 5)}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.expected) << c.what;
}

TEST(JoinLinesCrLf, EveryLineEndsWithCrLf) {
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(JoinLinesCrLf({"a"}), "a\r\n");
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({""}), "\r\n");
    EXPECT_EQ(kCrLf, "\r\n");
}

TEST(TextLines, JoinThenSplitGivesTheLinesBack) {
    const StringList lines = {"[OPTIONS]", "", "TITLE=Caf\xE9", "  indented", ""};
    EXPECT_EQ(SplitLines(JoinLinesCrLf(lines)), lines);
}

// -------------------------------------------------------------- pointer stack

TEST(PointerStack, LastInFirstOut) {
    int a = 1, b = 2, c = 3;
    TPointerStack<int> s;
    EXPECT_TRUE(s.Empty());
    s.Push(&a);
    s.Push(&b);
    s.Push(&c);
    EXPECT_EQ(s.Size(), 3u);
    EXPECT_EQ(s.Top(), &c);
    EXPECT_EQ(s.Pop(), &c);
    EXPECT_EQ(s.Pop(), &b);
    s.Push(&c);
    EXPECT_EQ(s.Pop(), &c);
    EXPECT_EQ(s.Pop(), &a);
    EXPECT_TRUE(s.Empty());
}

TEST(PointerStack, PopOnEmptyGivesNullAndStaysEmpty) {
    TPointerStack<int> s;
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_EQ(s.Top(), nullptr);
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_TRUE(s.Empty());
    int a = 0;
    s.Push(&a);
    EXPECT_EQ(s.Pop(), &a);
    EXPECT_EQ(s.Pop(), nullptr);
}

TEST(PointerStack, NullCanBePushedAndCountsAsAnEntry) {
    TPointerStack<int> s;
    s.Push(nullptr);
    EXPECT_FALSE(s.Empty());
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_TRUE(s.Empty());
}

TEST(PointerStack, ClearAndDestructionLeaveThePointeesAlone) {
    auto owned = std::make_unique<std::string>("still here");
    {
        TPointerStack<std::string> s;
        s.Push(owned.get());
        s.Push(owned.get());
        s.Clear();
        EXPECT_TRUE(s.Empty());
        EXPECT_EQ(s.Pop(), nullptr);
        s.Push(owned.get());
    }  // destroyed while holding a pointer
    EXPECT_EQ(*owned, "still here");
}

}  // namespace
