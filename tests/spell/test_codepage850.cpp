// The code page 850 tables for dictionary letters.
#include <gtest/gtest.h>

#include "spell/codepage850.h"

namespace {

TEST(CodePage850, WordLettersRoundTrip) {
    // Every letter the spell scan takes as part of a word has a place in code
    // page 850 and comes back unchanged.
    for (int b = 0; b < 256; ++b) {
        const bool wordChar = b == '\'' || (b >= 'a' && b <= 'z') || (b >= 224 && b <= 246) || (b >= 249 && b <= 253);
        if (!wordChar) continue;
        const char ansi = static_cast<char>(b);
        EXPECT_NE(qm::AnsiToOemChar(ansi), '?') << b;
        EXPECT_EQ(qm::OemToAnsiChar(qm::AnsiToOemChar(ansi)), ansi) << b;
    }
}

TEST(CodePage850, KnownBytes) {
    struct Case {
        unsigned char oem, ansi;
    } cases[] = {
        {0x41, 0x41},
        {0x27, 0x27},
        {0x80, 0xC7} /* C-cedilla */,
        {0x81, 0xFC} /* u-umlaut */,
        {0x82, 0xE9} /* e-acute */,
        {0x85, 0xE0} /* a-grave */,
        {0x94, 0xF6} /* o-umlaut */,
        {0x9F, 0x83} /* f-hook */,
        {0xA4, 0xF1} /* n-tilde */,
        {0xC6, 0xE3} /* a-tilde */,
        {0xD0, 0xF0} /* eth */,
        {0xE1, 0xDF} /* sharp s */,
        {0xEC, 0xFD} /* y-acute */,
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<unsigned char>(qm::OemToAnsiChar(static_cast<char>(c.oem))), c.ansi) << int(c.oem);
        EXPECT_EQ(static_cast<unsigned char>(qm::AnsiToOemChar(static_cast<char>(c.ansi))), c.oem) << int(c.ansi);
    }
    // Box drawing in code page 850, the euro sign in Windows-1252: no counterpart.
    EXPECT_EQ(qm::OemToAnsiChar('\xC4'), '?');
    EXPECT_EQ(qm::AnsiToOemChar('\x80'), '?');
}

TEST(CodePage850, TablesAreInverseWhereBothHoldTheCharacter) {
    for (int b = 128; b < 256; ++b) {
        const char oem = static_cast<char>(b);
        const char ansi = qm::OemToAnsiChar(oem);
        if (ansi != '?') {
            EXPECT_EQ(qm::AnsiToOemChar(ansi), oem) << b;
        }
    }
}

}  // namespace
