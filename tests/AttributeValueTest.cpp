#include "ui/core/base/AttributeValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

TEST(AttributeValueTest, IntegersReadLikeAtoi)
{
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"  -7px", -7},
        {"+5", 5},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"\t\n 12", 12},
        {"3,4", 3},
        {"99999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ParseInteger(c.value)) << '"' << c.value << '"';
    EXPECT_EQ(0, ParseInteger(nullptr));
}

TEST(AttributeValueTest, IntegerListsSkipOneSeparatorAndZeroWhatIsMissing)
{
    struct Case {
        const char* value;
        int expected[4];
    };
    const Case cases[] = {
        {"10,0,0,10", {10, 0, 0, 10}},
        {"10, 0, 0, 0", {10, 0, 0, 0}},
        {"-10,5,-60,25", {-10, 5, -60, 25}},
        {"1,2", {1, 2, 0, 0}},
        {"1,2,", {1, 2, 0, 0}},
        {"7", {7, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"1;2;3;4", {1, 2, 3, 4}},  // any one byte separates
        {"1,,3,4", {1, 0, 3, 4}},   // an empty number is 0 and eats one byte
        {"a,5,6,7", {0, 0, 5, 6}},  // a number without digits stops before its blanks
        {"1,2,3,4,5", {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        const TValueRect rc = ParseRect(c.value);
        const int numbers[4] = {rc.left, rc.top, rc.right, rc.bottom};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.expected[i], numbers[i]) << '"' << c.value << "\" #" << i;
    }
    const TValueSize size = ParseSize("800, 600,7");
    EXPECT_EQ(800, size.cx);
    EXPECT_EQ(600, size.cy);
}

TEST(AttributeValueTest, IntegerListsNeverReadPastTheValue)
{
    // Each value sits at the very end of its own heap block, so a read past the NUL is
    // caught by the address sanitizer of the host build.
    for (const char* text : {"1", "1,", "-", "12,-", " "}) {
        std::vector<char> block(text, text + std::strlen(text) + 1);
        EXPECT_EQ(0, ParseRect(block.data()).bottom) << text;
    }
}

TEST(AttributeValueTest, ColoursAreHexadecimalWithAnOptionalHash)
{
    struct Case {
        const char* value;
        bool skipBlanks;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"#FF4775CC", false, 0xFF4775CCu},
        {"FF4775CC", false, 0xFF4775CCu},
        {"#4775cc", false, 0x004775CCu},    // six digits: alpha 0
        {" #FF4775CC", true, 0xFF4775CCu},  // background colours skip blanks
        {"\t\r\n#FF4775CC", true, 0xFF4775CCu},
        {" #FF4775CC", false, 0u},           // border colours do not
        {"#1FF4775CC", false, 0xFFFFFFFFu},  // beyond 32 bits: clamped
        {"#0x10", false, 0x10u},
        {"#-1", false, 0xFFFFFFFFu},
        {"#", false, 0u},
        {"", true, 0u},
        {"#FFG", false, 0xFFu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ParseColor(c.value, c.skipBlanks)) << '"' << c.value << '"';
}

TEST(AttributeValueTest, BooleansAreTrueOnlyForTheExactText)
{
    EXPECT_TRUE(ParseBoolean("true"));
    for (const char* value : {"True", "TRUE", "1", "true ", " true", "", "yes"})
        EXPECT_FALSE(ParseBoolean(value)) << value;
    EXPECT_FALSE(ParseBoolean(nullptr));
}

TEST(AttributeValueTest, HexadecimalIsReadInTheSyntaxAsked)
{
    const THexSyntax digits = THexSyntax::Digits;
    const THexSyntax c = THexSyntax::CLibrary;
    struct Case {
        const char* value;
        THexSyntax syntax;
        std::uint32_t expected;
        const char* rest;  // what is left after the read
    };
    const Case cases[] = {
        {"#FF0000}", digits, 0xFF0000u, "}"},  // a mark-up colour ends at its bracket
        {"FF4775CC", digits, 0xFF4775CCu, ""},
        {"#0x10", digits, 0u, "x10"},  // bare digits: no prefix, no sign
        {"#-1", digits, 0u, "-1"},
        {"# FF", digits, 0u, " FF"},
        {"#1FF4775CC", digits, 0xFFFFFFFFu, ""},  // clamped
        {"#0x10", c, 0x10u, ""},                  // the C library takes a prefix,
        {"#-1", c, 0xFFFFFFFFu, ""},              // a sign,
        {"# FF,", c, 0xFFu, ","},                 // and white space
        {"#-", c, 0u, "-"},                       // no digits: nothing is taken
        {"", c, 0u, ""},
    };
    for (const Case& k : cases) {
        CValueReader reader(k.value);
        EXPECT_EQ(k.expected, reader.ReadColor(k.syntax)) << '"' << k.value << '"';
        EXPECT_STREQ(k.rest, reader.GetPosition()) << '"' << k.value << '"';
    }
}

TEST(AttributeValueTest, ACursorReadsOneValueAfterAnother)
{
    // As the mark-up reads "{f 1}" and "{i 'res=...' 3 1}", and the image strings their items.
    CValueReader reader("12 -3,4 'a\xD6\x27"
                        "b' rest=\"x\"");
    EXPECT_EQ(12, reader.ReadInteger());
    int pair[2];
    reader.ReadIntegers(pair, 2);
    EXPECT_EQ(-3, pair[0]);
    EXPECT_EQ(4, pair[1]);
    CUIString text;
    EXPECT_FALSE(reader.ReadQuoted('"', text)) << "not that quote";
    ASSERT_TRUE(reader.ReadQuoted('\'', text)) << "the list took its last separator";
    EXPECT_STREQ("a\xD6\x27"
                 "b",
                 text)
        << "a lead byte takes the byte after it, even a quote";
    reader.SkipBlanks();
    ASSERT_TRUE(reader.ReadUntil('=', text));
    EXPECT_STREQ("rest", text);
    EXPECT_TRUE(reader.Skip('='));
    ASSERT_TRUE(reader.ReadQuoted('"', text));
    EXPECT_STREQ("x", text);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(0, reader.ReadInteger());
    reader.SkipByte();
    EXPECT_TRUE(reader.AtEnd()) << "never past the end";

    CValueReader open("'never closed");
    EXPECT_FALSE(open.ReadQuoted('\'', text));
    EXPECT_FALSE(open.ReadUntil('=', text));
    EXPECT_STREQ("'never closed", open.GetPosition()) << "a failed read takes nothing";
    EXPECT_TRUE(CValueReader(nullptr).AtEnd());
}

std::vector<std::string> Pairs(const char* list)
{
    std::vector<std::string> pairs;
    ForEachAttribute(list, [&pairs](const char* name, const char* value) {
        pairs.push_back(std::string(name) + "|" + value);
    });
    return pairs;
}

TEST(AttributeValueTest, AttributeListsStopAtTheFirstMalformedPair)
{
    using List = std::vector<std::string>;
    struct Case {
        const char* list;
        List expected;
    };
    const Case cases[] = {
        {"a=\"1\" b=\"2\"", {"a|1", "b|2"}},
        {"pos=\"0,0,10,10\" bkcolor=\"#FF000000\"", {"pos|0,0,10,10", "bkcolor|#FF000000"}},
        {"a=\"\"", {"a|"}},
        {"a=\"1\"  b=\"2\"", {"a|1", " b|2"}},  // a second blank becomes part of the name
        {"a=\"1\" ", {"a|1"}},                  // a blank with nothing after it ends the list
        {"a=\"1\"b=\"2\"", {"a|1"}},            // no blank: the list ends
        {"a = \"1\"", {}},                      // no blanks around '='
        {"a=1", {}},
        {"a=\"1", {}},
        {"noequals", {}},
        {"", {}},
        {"a=\"x y=z\" b=\"2\"", {"a|x y=z", "b|2"}},
        {"\xD6\xD0=\"\xCE\xC4\"", {"\xD6\xD0|\xCE\xC4"}},
        {"\x81=\"v\"", {}},  // the lead byte swallows the '='
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Pairs(c.list)) << c.list;
    EXPECT_TRUE(Pairs(nullptr).empty());
}

}  // namespace
