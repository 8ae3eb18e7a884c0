#include "ui/core/TextStep.h"

#include <gtest/gtest.h>

using Veneer::NextChar;
using Veneer::PrevChar;

namespace {

TEST(TextStepTest, StepsWholeCharactersAndNeverPassesTheEnd)
{
    struct Case {
        const char* text;
        int steps[4];  // offsets reached, until the NUL repeats
    };
    const Case cases[] = {
        {"ab", {1, 2, 2, 2}},
        {"\xD6\xD0"
         "a",
         {2, 3, 3, 3}},
        {"\x81\x5C\\", {2, 3, 3, 3}},  // a trail byte that looks like a backslash
        {"a\xD6", {1, 2, 2, 2}},       // lead byte at the very end
        {"\x80z", {1, 2, 2, 2}},       // not a lead byte in code page 936
    };
    for (const Case& c : cases) {
        const char* p = c.text;
        for (int expected : c.steps) {
            p = NextChar(p);
            EXPECT_EQ(expected, p - c.text) << c.text;
        }
    }
}

TEST(TextStepTest, StepsBackOverWholeCharacters)
{
    const char text[] = "a\xD6\xD0"
                        "b";
    EXPECT_EQ(text + 3, PrevChar(text, text + 4));
    EXPECT_EQ(text + 1, PrevChar(text, text + 3));
    EXPECT_EQ(text, PrevChar(text, text + 1));
    EXPECT_EQ(text, PrevChar(text, text));
}

}  // namespace
