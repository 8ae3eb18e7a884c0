#include "ui/core/base/MarkupReader.h"

#include <gtest/gtest.h>

#include <string>

using Veneer::FindRunEnd;
using Veneer::ReadMarkupToken;
using Veneer::ReadRawEnd;
using Veneer::TMarkupKind;
using Veneer::TMarkupToken;

namespace {

std::string Arguments(const TMarkupToken& token)
{
    return token.arguments != nullptr ? std::string(token.arguments, token.argumentsEnd)
                                      : std::string("-");
}

TMarkupToken OpenTag(const char* text)
{
    const TMarkupToken token = ReadMarkupToken(text);
    EXPECT_EQ(TMarkupKind::OpenTag, token.kind) << text;
    return token;
}

std::string Range(const char* begin, const char* end)
{
    return begin != nullptr ? std::string(begin, end) : std::string("-");
}

}  // namespace

TEST(MarkupReaderTest, TellsWhatStandsAtAPosition)
{
    struct Case {
        const char* text;
        TMarkupKind kind;
        char letter;
        const char* arguments;  // "-": none
        int length;             // bytes the token takes
    };
    const Case cases[] = {
        {"{f 1}x", TMarkupKind::OpenTag, 'f', "1", 5},
        {"<f 1>x", TMarkupKind::OpenTag, 'f', "1", 5},
        {"{f 1>x", TMarkupKind::OpenTag, 'f', "1", 5},  // brackets are interchangeable
        {"{b}", TMarkupKind::OpenTag, 'b', "", 3},
        {"{a http://x y}z", TMarkupKind::OpenTag, 'a', "http://x y", 14},
        {"{c  #FF0000}", TMarkupKind::OpenTag, 'c', " #FF0000", 12},
        {"{/c}", TMarkupKind::CloseTag, 'c', "-", 4},
        {"</color>", TMarkupKind::CloseTag, 'c', "-", 8},
        {"{z 9}", TMarkupKind::OpenTag, 'z', "9", 5},  // unknown tags still read as tags
        {"<{>", TMarkupKind::Escape, '{', "-", 3},
        {"<}>", TMarkupKind::Escape, '}', "-", 3},
        {"{<}", TMarkupKind::Escape, '<', "-", 3},
        {"{>}", TMarkupKind::Escape, '>', "-", 3},
        {" x", TMarkupKind::Blank, ' ', "-", 1},
        {"\nx", TMarkupKind::LineFeed, '\0', "-", 1},
        {"", TMarkupKind::End, '\0', "-", 0},
        // Not tags: drawn as text, one character at a time.
        {"{bold}", TMarkupKind::Text, '{', "-", 1},
        {"{B}", TMarkupKind::Text, '{', "-", 1},
        {"{f 1", TMarkupKind::Text, '{', "-", 1},  // never closed
        {"{/c", TMarkupKind::Text, '{', "-", 1},
        {"{/}", TMarkupKind::Text, '{', "-", 1},
        {"{", TMarkupKind::Text, '{', "-", 1},
        {"<", TMarkupKind::Text, '<', "-", 1},
        {"x{b}", TMarkupKind::Text, 'x', "-", 1},
        // A closing bracket that is the second byte of a GBK character does not close.
        {"{a \x81}}", TMarkupKind::OpenTag, 'a', "\x81}", 6},
        {"{a \x81}", TMarkupKind::Text, '{', "-", 1},
        {"{a \x81", TMarkupKind::Text, '{', "-", 1},  // lead byte at the end
    };
    for (const Case& c : cases) {
        const TMarkupToken token = ReadMarkupToken(c.text);
        EXPECT_EQ(c.kind, token.kind) << c.text;
        EXPECT_EQ(c.letter, token.letter) << c.text;
        EXPECT_EQ(c.arguments, Arguments(token)) << c.text;
        EXPECT_EQ(c.length, token.next - c.text) << c.text;
    }
}

TEST(MarkupReaderTest, RunsStopAtBracketsLineFeedsAndTheEndOfRawText)
{
    struct Case {
        const char* text;
        bool raw;
        int length;
    };
    const Case cases[] = {
        {"abc{b}", false, 3},
        {"abc<b>", false, 3},
        {"a b\nc", false, 3},
        {"{x{", false, 2},  // the first character belongs to the run whatever it is
        {"<x<", false, 2},
        {"\xD1\xE9{b}", false, 2},
        {"\xD1{{b}", false, 2},  // a trail byte that looks like a bracket
        {"abc\xD1", false, 4},   // lead byte at the end
        {"{b}x{/r}", true, 4},
        {"a<b>c</r>", true, 5},
        {"a{/r>b", true, 1},
        {"a</r}b", true, 1},
        {"a{/rx}", true, 6},
        {"a\nb", true, 1},
        {"", false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.length, FindRunEnd(c.text, c.raw) - c.text) << c.text;

    EXPECT_EQ(4, ReadRawEnd("{/r}x") - static_cast<const char*>("{/r}x"));
    EXPECT_EQ(nullptr, ReadRawEnd("{/r"));
    EXPECT_EQ(nullptr, ReadRawEnd("{/s}"));
}

TEST(MarkupReaderTest, ReadsNumbersAndColours)
{
    struct Case {
        const char* tag;
        int number;
        std::uint32_t color;  // {c} only
    };
    const Case cases[] = {
        {"{x 12}", 12, 0},
        {"{x -7}", -7, 0},
        {"{x}", 0, 0},
        {"{x abc}", 0, 0},
        {"{x 99999999999999}", Veneer::kMaxTagNumber, 0},
        {"{x -99999999999999}", -Veneer::kMaxTagNumber, 0},
        {"{c #FF0000}", 0, 0xFF0000},
        {"{c FF0000}", 0, 0xFF0000},
        {"{c #ff0000 }", 0, 0xFF0000},
        // Eight digits keep their top bit instead of turning into the largest signed number.
        {"{c #FFFF0000}", 0, 0xFFFF0000},
        {"{c #80112233}", 0, 0x80112233},
    };
    for (const Case& c : cases) {
        const TMarkupToken tag = OpenTag(c.tag);
        EXPECT_EQ(c.number, Veneer::ReadNumberArgument(tag)) << c.tag;
        if (c.tag[1] == 'c') {
            EXPECT_EQ(c.color, Veneer::ReadColorArgument(tag)) << c.tag;
        }
    }
}

TEST(MarkupReaderTest, ReadsFontsByIndexAndByFace)
{
    struct Case {
        const char* tag;
        bool byIndex;
        int index;
        const char* face;
        int size;
        bool bold, underline, italic;
    };
    const Case cases[] = {
        {"{f 1}", true, 1, "-", 10, false, false, false},
        {"{f -1}", true, -1, "-", 10, false, false, false},
        {"{f}", true, -1, "-", 10, false, false, false},
        {"{f Tahoma}", false, 0, "Tahoma", 10, false, false, false},
        {"{f Tahoma 24}", false, 0, "Tahoma", 24, false, false, false},
        {"{f Tahoma 24 Bold italic}", false, 0, "Tahoma", 24, true, false, true},
        {"{f Tahoma underline}", false, 0, "Tahoma", 10, false, true, false},
        {"{f 1x 12 bolditalicUNDERLINE}", false, 0, "1x", 12, true, true, true},
        {"{f \xCE\xA2\xC8\xED 14}", false, 0, "\xCE\xA2\xC8\xED", 14, false, false, false},
    };
    for (const Case& c : cases) {
        const Veneer::TMarkupFont font = Veneer::ReadFontArguments(OpenTag(c.tag));
        EXPECT_EQ(c.byIndex, font.byIndex) << c.tag;
        if (c.byIndex) {
            EXPECT_EQ(c.index, font.index) << c.tag;
        }
        EXPECT_EQ(c.face, Range(font.face, font.faceEnd)) << c.tag;
        EXPECT_EQ(c.size, font.size) << c.tag;
        EXPECT_EQ(c.bold, font.bold) << c.tag;
        EXPECT_EQ(c.underline, font.underline) << c.tag;
        EXPECT_EQ(c.italic, font.italic) << c.tag;
    }
}

TEST(MarkupReaderTest, ReadsImagesByNameAndAsItems)
{
    struct Case {
        const char* tag;
        bool named;
        const char* name;
        const char* type;
        int count;
        int index;
    };
    const Case cases[] = {
        {"{i a.png}", true, "a.png", "", 1, 0},
        {"{i a.png 3 2}", true, "a.png", "", 3, 2},
        {"{i a.png 3 3}", true, "a.png", "", 3, 0},  // index out of range
        {"{i a.png 3 -1}", true, "a.png", "", 3, 0},
        {"{i a.png 0}", true, "a.png", "", 1, 0},  // at least one sub-image
        {"{i file='a b.png' 2 1}", true, "a b.png", "", 2, 1},
        {"{i res='118' restype='png' 4 3}", true, "118", "png", 4, 3},
        {"{i restype='png' res='118'}", true, "118", "png", 1, 0},
        {"{i res='118' source='0,0,1,1' restype='png'}", true, "118", "png", 1, 0},
        {"{i res='118}", false, "-", "-", 1, 0},  // the quote is never closed inside the tag
        {"{i  }", false, "-", "-", 1, 0},
    };
    for (const Case& c : cases) {
        Veneer::TMarkupImage image;
        EXPECT_EQ(c.named, Veneer::ReadImageArguments(OpenTag(c.tag), image)) << c.tag;
        if (!c.named)
            continue;
        EXPECT_EQ(c.name, Range(image.name, image.nameEnd)) << c.tag;
        EXPECT_EQ(c.type, Range(image.type, image.typeEnd)) << c.tag;
        EXPECT_EQ(c.count, image.count) << c.tag;
        EXPECT_EQ(c.index, image.index) << c.tag;
    }
    // Item form is recognised inside the tag only, not from what follows it.
    Veneer::TMarkupImage image;
    ASSERT_TRUE(Veneer::ReadImageArguments(OpenTag("{i a.png}{i file='b.png'}"), image));
    EXPECT_EQ("a.png", Range(image.name, image.nameEnd));

    EXPECT_FALSE(Veneer::HasArguments(OpenTag("{i}")));
    EXPECT_FALSE(Veneer::HasArguments(OpenTag("{i   }")));
    EXPECT_TRUE(Veneer::HasArguments(OpenTag("{i x}")));
}
