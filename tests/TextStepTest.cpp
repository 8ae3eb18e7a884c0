#include "ui/core/base/TextStep.h"

#include <gtest/gtest.h>

using Veneer::NextChar;
using Veneer::PrevChar;
using Veneer::SetTextCodePage;
using Veneer::SkipUtf16Units;
using Veneer::TextCodePage;

namespace {

class TextStepTest : public ::testing::Test {
protected:
    void TearDown() override { ASSERT_TRUE(SetTextCodePage(936)); }
};

TEST_F(TextStepTest, StepsWholeCharactersOfTheTextCodePageAndNeverPassesTheEnd)
{
    struct Case {
        unsigned codePage;
        const char* text;
        int steps[4];  // offsets reached, until the NUL repeats
    };
    const Case cases[] = {
        {936, "ab", {1, 2, 2, 2}},
        {936,
         "\xD6\xD0"
         "a",
         {2, 3, 3, 3}},
        {936, "\x81\x5C\\", {2, 3, 3, 3}},  // a trail byte that looks like a backslash
        {936, "a\xD6", {1, 2, 2, 2}},       // lead byte at the very end
        {936, "\x80z", {1, 2, 2, 2}},       // not a lead byte in code page 936
        {65001, "\xE4\xB8\xAD\xC3\xA9", {3, 5, 5, 5}},
        {65001, "\xF0\x9F\x98\x80z", {4, 5, 5, 5}},  // beyond U+FFFF
        {65001, "\xE4\xB8", {2, 2, 2, 2}},           // cut short by the end
        {65001, "\xE4z", {1, 2, 2, 2}},              // cut short by a character
        {65001, "\xFF\x80z", {1, 2, 3, 3}},          // bytes that start nothing
        {54936, "\x81\x30\x81\x30\xD6\xD0", {4, 6, 6, 6}},
        {54936, "\x81\x30z", {1, 2, 3, 3}},  // a four-byte form cut short
        {54936, "\x81\x5C", {2, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetTextCodePage(c.codePage));
        EXPECT_EQ(c.codePage, TextCodePage());
        const char* p = c.text;
        for (int expected : c.steps) {
            p = NextChar(p);
            EXPECT_EQ(expected, p - c.text) << c.codePage << " " << c.text;
        }
    }
}

TEST_F(TextStepTest, StepsBackOverWholeCharacters)
{
    const char text[] = "a\xD6\xD0"
                        "b";
    EXPECT_EQ(text + 3, PrevChar(text, text + 4));
    EXPECT_EQ(text + 1, PrevChar(text, text + 3));
    EXPECT_EQ(text, PrevChar(text, text + 1));
    EXPECT_EQ(text, PrevChar(text, text));
    ASSERT_TRUE(SetTextCodePage(65001));
    const char utf8[] = "a\xE4\xB8\xAD";
    EXPECT_EQ(utf8 + 1, PrevChar(utf8, utf8 + 4));
}

// What a wide measurement's count of UTF-16 units fits in the 8-bit text: two units for a
// character beyond U+FFFF, never half of one.
TEST_F(TextStepTest, CountsUtf16UnitsInWholeCharacters)
{
    struct Case {
        unsigned codePage;
        const char* text;
        int units;
        int bytes;
    };
    const Case cases[] = {
        {936, "\xD6\xD0z", 1, 2},
        {936, "\xD6\xD0z", 5, 3},
        {65001, "a\xF0\x9F\x98\x80z", 2, 1},
        {65001, "a\xF0\x9F\x98\x80z", 3, 5},
        {65001, "\xE4\xB8\xAD", 1, 3},
        {54936, "\x90\x30\x81\x30z", 1, 0},
        {54936, "\x81\x30\x81\x30z", 1, 4},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetTextCodePage(c.codePage));
        const char* end = c.text + std::char_traits<char>::length(c.text);
        EXPECT_EQ(c.bytes, SkipUtf16Units(c.text, end, c.units) - c.text)
            << c.codePage << " " << c.units;
    }
}

TEST_F(TextStepTest, AnUnknownOrStatefulCodePageLeavesTheChoiceAsItWas)
{
    ASSERT_TRUE(SetTextCodePage(65001));
    for (unsigned codePage : {12345u, 65000u, 50220u}) {
        EXPECT_FALSE(SetTextCodePage(codePage)) << codePage;
        EXPECT_EQ(65001u, TextCodePage());
    }
}

}  // namespace
