#include "ui/core/base/UIString.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/core/base/Heap.h"

using Veneer::CUIString;

namespace {

// GBK: "中文", and a character whose trail byte is a backslash.
const char kChinese[] = "\xD6\xD0\xCE\xC4";
const char kTrailBackslash[] = "\x81\x5C";

TEST(UIStringTest, HoldsUpTo63CharactersInsideAndLongerOnTheHeap)
{
    struct Case {
        int length;
        bool inlineExpected;
    };
    const Case cases[] = {{0, true}, {1, true}, {62, true}, {63, true}, {64, false}, {500, false}};
    for (const Case& c : cases) {
        const std::string text(static_cast<std::size_t>(c.length), 'x');
        CUIString s(text.c_str());
        EXPECT_EQ(c.length, s.GetLength()) << c.length;
        EXPECT_EQ(c.inlineExpected, s.IsInline()) << c.length;
        EXPECT_EQ(text, s.GetData()) << c.length;
        EXPECT_EQ('\0', s.GetData()[c.length]) << c.length;
    }
}

TEST(UIStringTest, DefaultAndMovedFromStringsAreEmptyNeverNull)
{
    CUIString empty;
    ASSERT_NE(nullptr, empty.GetData());
    EXPECT_STREQ("", empty);

    CUIString longText(std::string(100, 'a').c_str());
    CUIString taken(std::move(longText));
    EXPECT_EQ(100, taken.GetLength());
    ASSERT_NE(nullptr, longText.GetData());
    EXPECT_STREQ("", longText);

    CUIString fromNull(nullptr);
    EXPECT_STREQ("", fromNull);
}

TEST(UIStringTest, AppendCrossesTheInlineBoundary)
{
    CUIString s(std::string(60, 'a').c_str());
    s += "bcd";
    EXPECT_TRUE(s.IsInline());
    EXPECT_EQ(63, s.GetLength());
    s += 'e';
    EXPECT_FALSE(s.IsInline());
    EXPECT_EQ(std::string(60, 'a') + "bcde", s.GetData());

    s = "short";  // back inside the object
    EXPECT_TRUE(s.IsInline());
    EXPECT_STREQ("short", s);
}

TEST(UIStringTest, AppendsItsOwnTextWhileGrowing)
{
    CUIString s(std::string(40, 'q').c_str());
    s.Append(s.GetData());
    EXPECT_EQ(std::string(80, 'q'), s.GetData());
    s.Append(s.GetData() + 70);
    EXPECT_EQ(std::string(90, 'q'), s.GetData());
}

TEST(UIStringTest, RefusedMemoryLeavesTheStringUnchanged)
{
    CUIString s("keep");
    Veneer::Heap::FailNthAllocation(1);
    EXPECT_FALSE(s.Append(std::string(100, 'z').c_str()));
    EXPECT_STREQ("keep", s);
    EXPECT_TRUE(s.Append(std::string(100, 'z').c_str()));
    EXPECT_EQ(104, s.GetLength());

    Veneer::Heap::FailNthAllocation(1);
    EXPECT_FALSE(s.Format("%0200d", 1));
    EXPECT_EQ(104, s.GetLength());
    Veneer::Heap::FailNthAllocation(0);
}

TEST(UIStringTest, SearchesStopOnlyAtWholeCharacters)
{
    const CUIString s = CUIString(kTrailBackslash) + "\\" + kTrailBackslash + "x";
    EXPECT_EQ(2, s.Find('\\'));
    EXPECT_EQ(2, s.ReverseFind('\\'));
    EXPECT_EQ(-1, s.Find('\\', 3));
    EXPECT_EQ(5, s.Find("x"));
    EXPECT_EQ(-1, CUIString(kChinese).Find("\xD0\xCE"));  // spans two characters
    EXPECT_EQ(2, CUIString(kChinese).Find("\xCE\xC4"));
}

TEST(UIStringTest, CaseRulesTouchOnlySingleByteLetters)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"Button", "BUTTON", 0},
        {"abc", "abd", -1},
        {"abc", "ab", 1},
        {"\x81"
         "A",
         "\x81"
         "a",
         -1},  // trail bytes are not letters
        {kChinese, kChinese, 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const int r = CUIString(c.a).CompareNoCase(c.b);
        EXPECT_EQ(c.sign, (r > 0) - (r < 0)) << c.a << " vs " << c.b;
    }

    CUIString s("\x81"
                "Ab");
    s.MakeLower();
    EXPECT_STREQ("\x81"
                 "Ab",
                 s);  // 'A' here is a trail byte
    s.MakeUpper();
    EXPECT_STREQ("\x81"
                 "AB",
                 s);
}

TEST(UIStringTest, SubstringsClampToTheText)
{
    const CUIString s("abcdef");
    struct Case {
        int start;
        int count;
        const char* expected;
    };
    const Case cases[] = {{0, 3, "abc"}, {2, -1, "cdef"}, {4, 10, "ef"}, {-3, 2, "ab"}, {9, 1, ""}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, s.Mid(c.start, c.count)) << c.start << "," << c.count;
    EXPECT_STREQ("ab", s.Left(2));
    EXPECT_STREQ("abcdef", s.Left(99));
    EXPECT_STREQ("ef", s.Right(2));
    EXPECT_STREQ("", s.Right(-1));
}

TEST(UIStringTest, ReplaceAndFormat)
{
    CUIString s("a-b-c");
    EXPECT_EQ(2, s.Replace("-", "--"));
    EXPECT_STREQ("a--b--c", s);
    EXPECT_EQ(0, s.Replace("x", "y"));

    CUIString f;
    ASSERT_TRUE(f.Format("Seq:%d\r\n", 42));
    EXPECT_STREQ("Seq:42\r\n", f);
    ASSERT_TRUE(f.Format("%s%s", std::string(50, 'a').c_str(), std::string(50, 'b').c_str()));
    EXPECT_EQ(100, f.GetLength());
    EXPECT_FALSE(f.IsInline());
}

TEST(UIStringTest, ComparesWithTextOnEitherSide)
{
    const CUIString s("Label");
    EXPECT_TRUE(s == "Label");
    EXPECT_TRUE("Label" == s);
    EXPECT_TRUE(s != "label");
    EXPECT_TRUE(s == CUIString("Label"));
    EXPECT_TRUE(CUIString("A") < CUIString("B"));
    EXPECT_EQ('\0', s.GetAt(5));
    EXPECT_EQ('\0', s.GetAt(-1));
}

}  // namespace
