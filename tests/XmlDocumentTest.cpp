#include "ui/core/base/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

using Veneer::CXmlDocument;
using Veneer::CXmlNode;

namespace {

// An element as Name(attr="value" ...)[children], top-level siblings of the root after it.
std::string Dump(const CXmlNode& node)
{
    std::string out = node.GetName();
    if (node.HasAttributes()) {
        out += '(';
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            out += i > 0 ? " " : "";
            out += std::string(node.GetAttributeName(i)) + "=\"" + node.GetAttributeValue(i) + '"';
        }
        out += ')';
    }
    if (node.HasChildren()) {
        out += '[';
        for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
            out += (child.GetNextSibling().IsValid() ? Dump(child) + " " : Dump(child));
        out += ']';
    }
    return out;
}

std::string DumpAll(const CXmlDocument& document)
{
    std::string out;
    for (CXmlNode node = document.GetRoot(); node.IsValid(); node = node.GetNextSibling())
        out += (out.empty() ? "" : " ") + Dump(node);
    return out;
}

// A file in the test's temporary folder, removed again when the holder ends.
class TempFile {
public:
    TempFile(const char* name, const std::string& bytes) : m_path(testing::TempDir() + name)
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        EXPECT_NE(nullptr, file) << m_path;
        if (file != nullptr) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    // A name in the folder where no file is.
    explicit TempFile(const char* name) : m_path(testing::TempDir() + name)
    {
        std::remove(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { std::remove(m_path.c_str()); }

    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

struct Case {
    const char* text;
    const char* tree;      // expected tree when the text loads
    const char* error;     // else the expected message
    const char* location;  // and location
};

void Check(const Case& c, bool loaded, const CXmlDocument& document)
{
    if (c.error == nullptr) {
        EXPECT_TRUE(loaded) << c.text << ": " << document.GetErrorMessage();
        EXPECT_EQ(c.tree, DumpAll(document)) << c.text;
        EXPECT_STREQ("", document.GetErrorMessage()) << c.text;
        return;
    }
    EXPECT_FALSE(loaded) << c.text;
    EXPECT_STREQ(c.error, document.GetErrorMessage()) << c.text;
    EXPECT_STREQ(c.location, document.GetErrorLocation()) << c.text;
    EXPECT_FALSE(document.GetRoot().IsValid()) << c.text;
}

TEST(XmlDocumentTest, ParsesSkinsIntoTreesAndRefusesBrokenOnes)
{
    const Case cases[] = {
        {"<Control></Control>", "Control"},
        {"<Control/>", "Control"},
        {"<Control />", "Control"},
        {"<Window><A/><B/></Window>", "Window[A B]"},  // "/>" right after the name closes
        {"<Window><A></A><B x=\"1\"/>\n</Window>", "Window[A B(x=\"1\")]"},
        {"<Window><A><B><C/></B></A><D/></Window>", "Window[A[B[C]] D]"},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window/>", "Window"},
        {"<!-- note --><Window>\n <!-- <A/> -->\n <B/></Window><!-- end -->", "Window[B]"},
        {"<!DOCTYPE skin><Window/>", ""},  // no "->": swallows the rest
        {"<A/><B/>", "A B"},
        {"< A ></ A >", "A"},
        {"<A></A></B><C/>", "A"},  // an end tag at the top level ends the parse
        {"<A>text &amp; more<B/></A>", "A[B]"},
        {"", ""},
        {" \r\n\t", ""},
        {"<A x=\"&quot;&amp;&lt;&gt;&apos;\"/>", "A(x=\"\"&<>'\")"},
        {"<A x=\"&copy; &amp;amp; &#65; a&\"/>", "A(x=\"&copy; &amp; &#65; a&\")"},
        {"<A x=\"&&amp;&\" y=\"2\"/>", "A(x=\"&&&\" y=\"2\")"},
        {"<A image=\"res='118' source='0,0,1,1'\"/>", "A(image=\"res='118' source='0,0,1,1'\")"},
        {"<A x = \"1\"\n\ty=\"a\tb\nc\" z=\"\"/>", "A(x=\"1\" y=\"a\tb\nc\" z=\"\")"},
        {"<A =\"1\" _:9=\"2\"/>", "A(=\"1\" _:9=\"2\")"},
        {"<A text=\"\xD6\xD0\xCE\xC4\x81\x5C\"/>", "A(text=\"\xD6\xD0\xCE\xC4\x81\x5C\")"},
        {"<A>\xD6", "A"},  // a lead byte at the very end
        {"<!-- \xD6", ""},
        {"<Window><Label/>", "Window[Label]"},  // the end may fall inside the root's list
        {"<Window><Label>", "Window[Label]"},
        {"<A><B></C></A>", nullptr, "Unmatched closing tag", "C></A>"},
        {"<A></AB>", nullptr, "Unmatched closing tag", "B>"},
        {"<A></A", nullptr, "Unmatched closing tag", ""},
        {"<A x=1>", nullptr, "Expected attribute value", "1>"},
        {"<A x='1'>", nullptr, "Expected attribute value", "'1'>"},
        {"<A x>", nullptr, "Error while parsing attributes", ">"},
        {"<A-B/>", nullptr, "Error while parsing attributes", "/>"},
        {"<Window><Box><Label/>", nullptr, "Expected start tag", ""},
        {"<Window><Box><Label>", nullptr, "Expected end-tag start", ""},
        {"<A/><B><C/>", nullptr, "Expected start tag", ""},
        {"hello<A/>", nullptr, "Expected start tag", "hello<A/>"},
        {"<A><B/>text</A>", nullptr, "Expected start tag", "text</A>"},
        {"<Window", nullptr, "Error parsing element name", ""},
        {"<", nullptr, "Error parsing element name", ""},
        {"<A\xD6", nullptr, "Expected start-tag closing", ""},
        {"<A x=\"1\"", nullptr, "Expected start-tag closing", ""},
        {"<A x=\"1\"/ >", nullptr, "Expected start-tag closing", "/ >"},
        {"<A x=\"1>", nullptr, "Error while parsing attribute string", ""},
        {"<A x=\"\xD6", nullptr, "Error while parsing attribute string", ""},
    };
    CXmlDocument document;
    for (const Case& c : cases)
        Check(c, document.LoadFromString(c.text), document);
}

// A lead byte takes the next byte with it, as the character stepping of the text code page
// in force does, even when that byte is markup.
TEST(XmlDocumentTest, StepsOverDoubleByteCharactersAsTextStepDoes)
{
    CXmlDocument document;
    for (unsigned codePage : {936u, 65001u}) {
        ASSERT_TRUE(Veneer::SetTextCodePage(codePage));
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char c = static_cast<char>(b);
            const bool lead = Veneer::IsLeadByte(c);
            const std::string value = std::string("<A x=\"") + c + "\"/>";
            EXPECT_EQ(!lead, document.LoadFromString(value.c_str())) << codePage << " " << b;
            const std::string comment = std::string("<!-- ") + c + "-><A/>";
            EXPECT_TRUE(document.LoadFromString(comment.c_str())) << codePage << " " << b;
            EXPECT_EQ(!lead, document.GetRoot().IsValid()) << codePage << " " << b;
        }
    }
    ASSERT_TRUE(Veneer::SetTextCodePage(0));
}

TEST(XmlDocumentTest, RootIsRecordOneAndNodesWalkTheTable)
{
    CXmlDocument document;
    EXPECT_FALSE(document.GetRoot().IsValid());
    ASSERT_TRUE(document.LoadFromString("<?xml?><W a=\"1\"><L/><B/></W>"));
    const CXmlNode root = document.GetRoot();
    EXPECT_STREQ("W", root.GetName());
    EXPECT_TRUE(root.HasChildren());
    EXPECT_STREQ("B", root.GetFirstChild().GetNextSibling().GetName());
    EXPECT_FALSE(root.GetFirstChild().HasChildren());
    EXPECT_FALSE(root.GetFirstChild().HasAttributes());
    EXPECT_FALSE(root.GetNextSibling().IsValid());

    const CXmlNode invalid;
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(nullptr, invalid.GetName());
    EXPECT_EQ(nullptr, invalid.GetAttributeName(0));
    EXPECT_EQ(nullptr, invalid.GetAttributeValue(0));
    EXPECT_EQ(0, invalid.GetAttributeCount());
    EXPECT_FALSE(invalid.GetFirstChild().IsValid());
    EXPECT_STREQ("", root.GetAttributeName(1));
    EXPECT_STREQ("", root.GetAttributeValue(-1));

    EXPECT_FALSE(document.LoadFromString("<W><X"));
    EXPECT_FALSE(document.GetRoot().IsValid());
}

TEST(XmlDocumentTest, FindsAttributesByExactNameAndCopiesAtMostTheMaximum)
{
    CXmlDocument document;
    ASSERT_TRUE(
        document.LoadFromString("<A name=\"first\" Name=\"case\" name=\"second\" text=\"ab\xD6\xD0"
                                "cd\"/>"));
    const CXmlNode node = document.GetRoot();
    struct Case {
        const char* name;
        int maximum;
        bool found;
        const char* copied;
    };
    const Case cases[] = {
        {"name", 499, true, "first"},    {"Name", 499, true, "case"}, {"NAME", 499, false, ""},
        {"text", 3, true, "ab"},  // never half of a double-byte character
        {"text", 4, true, "ab\xD6\xD0"}, {"text", 0, true, ""},
    };
    for (const Case& c : cases) {
        char buffer[500] = {};
        EXPECT_EQ(c.found, node.GetAttributeValue(c.name, buffer, c.maximum)) << c.name;
        EXPECT_STREQ(c.copied, buffer) << c.name << " " << c.maximum;
    }
    char buffer[8] = {};
    EXPECT_FALSE(CXmlNode().GetAttributeValue("name", buffer, 7));
}

TEST(XmlDocumentTest, ShowsTheFirstSixtyFourAttributes)
{
    std::string text = "<A";
    for (int i = 0; i < 65; ++i)
        text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    text += "/>";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromString(text.c_str()));
    const CXmlNode node = document.GetRoot();
    EXPECT_EQ(64, node.GetAttributeCount());
    EXPECT_STREQ("a63", node.GetAttributeName(63));
    EXPECT_STREQ("63", node.GetAttributeValue(63));
    char buffer[8] = {};
    EXPECT_FALSE(node.GetAttributeValue("a64", buffer, 7));
    EXPECT_TRUE(node.HasUnseenAttributes());

    text = "<A";
    for (int i = 0; i < 64; ++i)
        text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    ASSERT_TRUE(document.LoadFromString((text + "><B/></A>").c_str()));
    EXPECT_EQ(64, document.GetRoot().GetAttributeCount());
    EXPECT_FALSE(document.GetRoot().HasUnseenAttributes()) << "exactly 64: none unseen";
    EXPECT_FALSE(document.GetRoot().GetFirstChild().HasUnseenAttributes());
    EXPECT_FALSE(CXmlNode().HasUnseenAttributes());
}

// Places count in the text as it was loaded, although the parse overwrote line breaks
// after element and attribute names with terminators.
TEST(XmlDocumentTest, PlacesElementsAndAttributesInTheOriginalText)
{
    // The same text in GBK and in UTF-8: a Chinese character is one column.
    auto text = [](const char* chinese) {
        return std::string("<Window\n  size=\"1,2\">\r\n <Label\ntext\n=\"&quot;") + chinese +
               "\" a=\"\"/></Window>";
    };
    CXmlDocument document;
    int line = 0, column = 0;
    ASSERT_TRUE(document.LoadFromString(text("\xD6\xD0").c_str()));
    EXPECT_FALSE(document.GetPlace(document.GetRoot().GetName(), &line, &column))
        << "nothing kept unless asked";

    document.SetKeepOriginal(true);
    const std::string utf8 = text("\xE4\xB8\xAD");
    for (bool fromMemory : {false, true}) {
        ASSERT_TRUE(fromMemory ? document.LoadFromMemory(utf8.data(), utf8.size())
                               : document.LoadFromString(text("\xD6\xD0").c_str()));
        const CXmlNode root = document.GetRoot();
        const CXmlNode label = root.GetFirstChild();
        const struct {
            const char* at;
            int line, column;
        } cases[] = {
            {root.GetName(), 1, 2},
            {root.GetAttributeName(0), 2, 3},
            {label.GetName(), 3, 3},
            {label.GetAttributeName(0), 4, 1},
            {label.GetAttributeName(1), 5, 12},
        };
        for (const auto& c : cases) {
            ASSERT_TRUE(document.GetPlace(c.at, &line, &column)) << c.at;
            EXPECT_EQ(c.line, line) << c.at;
            EXPECT_EQ(c.column, column) << c.at;
        }
        EXPECT_FALSE(document.GetPlace("elsewhere", &line, &column));
    }
}

TEST(XmlDocumentTest, PlacesFarIntoALongTextCountFromTheStartWhateverCharacterAMarkSplits)
{
    // Lines of an odd length: the places GetPlace counts on from fall inside the Chinese
    // character of some lines.
    std::string utf8 = "<A>\n";
    const int lines = 3000;
    for (int i = 0; i < lines; ++i)
        utf8 += "<B x=\"\xE4\xB8\xAD\" y=\"\"/>\n";
    utf8 += "</A>";
    CXmlDocument document;
    document.SetKeepOriginal(true);
    ASSERT_TRUE(document.LoadFromMemory(utf8.data(), utf8.size()));
    int i = 0;
    for (CXmlNode b = document.GetRoot().GetFirstChild(); b.IsValid();
         b = b.GetNextSibling(), ++i) {
        int line = 0, column = 0;
        ASSERT_TRUE(document.GetPlace(b.GetAttributeName(1), &line, &column));
        ASSERT_EQ(i + 2, line);
        ASSERT_EQ(10, column) << "line " << line;
    }
    EXPECT_EQ(lines, i);
}

TEST(XmlDocumentTest, RefusesNestingDeeperThanTheLimitWithoutExhaustingTheStack)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<A>";
        for (int i = 0; i < depth; ++i)
            text += "</A>";
        return text;
    };
    CXmlDocument document;
    EXPECT_TRUE(document.LoadFromString(nested(CXmlDocument::kMaxDepth).c_str()));
    EXPECT_FALSE(document.LoadFromString(nested(CXmlDocument::kMaxDepth + 1).c_str()));
    EXPECT_STREQ("Elements nested too deeply", document.GetErrorMessage());
    EXPECT_EQ(1, document.GetErrorLine());
    EXPECT_EQ(3 * CXmlDocument::kMaxDepth + 2, document.GetErrorColumn());
    EXPECT_FALSE(document.LoadFromString(nested(200000).c_str()));
    EXPECT_STREQ("Elements nested too deeply", document.GetErrorMessage());
}

// Every cut of a document full of markup either loads or fails with a message, and never
// reads or writes outside the text (the sanitizers watch).
TEST(XmlDocumentTest, EveryTruncationFailsCleanly)
{
    const std::string text =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c \xE4\xB8\xAD --><Window size=\"1,2\">"
        "<Box a=\"&amp;&lt;&quot;x&bogus;\" b = \"\xE6\x96\x87\" >text &gt; \xE4\xB8\xAD"
        "<Label text=\"x\"/><Label/></Box >< /Window>";
    CXmlDocument document;
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const std::string cut = text.substr(0, length);
        const bool loaded = document.LoadFromMemory(cut.data(), cut.size());
        EXPECT_EQ(loaded, document.GetErrorMessage()[0] == '\0') << length;
        if (loaded)
            DumpAll(document);
        // The same bytes unconverted: UTF-8 read as GBK, lead bytes before markup and all.
        if (document.LoadFromString(cut.c_str()))
            DumpAll(document);
    }
}

TEST(XmlDocumentTest, ConvertsUtf8ToTheAnsiCodePage)
{
    struct Case {
        const char* utf8;
        const char* ansi;
    };
    const Case cases[] = {
        {"\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"\xE2\x82\xAC \xC2\xB7 \xE2\x80\x94", "\x80 \xA1\xA4 \xA1\xAA"},
        {"\xEF\xBC\x9C\xEF\xBC\x9E", "\xA3\xBC\xA3\xBE"},  // fullwidth < and > stay fullwidth
        {"\xC2\xA0|\xC2\xA5|\xE2\x80\xA2", "?|?|?"},       // no GBK form, no look-alike
        {"a\xF0\x9F\x98\x80"
         "b",
         "a??b"},  // beyond U+FFFF: one '?' per unit
        {"a\x80"
         "b\xFF"
         "c",
         "a?b?c"},
        {"a\xE4\xB8"
         "b",
         "a?b"},  // cut short
        {"a\xF0\x9F\x98"
         "b",
         "a?b"},
        {"a\xC0\xAF"
         "b",
         "a??b"},  // overlong
        {"a\xE0\x80\x80"
         "b",
         "a??b"},
        {"a\xED\xA0\x80"
         "b",
         "a??b"},  // surrogate
        {"a\xF4\x90\x80\x80"
         "b",
         "a???b"},  // beyond U+10FFFF
        {"a\xF8\x88\x80\x80\x80"
         "b",
         "a?????b"},
        {"a\xE4", "a?"},
    };
    CXmlDocument document;
    for (const Case& c : cases) {
        const std::string text = std::string("<A v=\"") + c.utf8 + "\"/>";
        ASSERT_TRUE(document.LoadFromMemory(text.data(), text.size())) << c.utf8;
        EXPECT_STREQ(c.ansi, document.GetRoot().GetAttributeValue(0)) << c.utf8;
    }
}

TEST(XmlDocumentTest, SkipsTheByteOrderMarkAndStopsAtANul)
{
    CXmlDocument document;
    const std::string skin = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Window/>";
    ASSERT_TRUE(document.LoadFromMemory(skin.data(), skin.size()));
    EXPECT_EQ("Window", DumpAll(document));

    EXPECT_TRUE(document.LoadFromMemory("\xEF\xBB\xBF", 3));
    EXPECT_FALSE(document.GetRoot().IsValid());
    EXPECT_TRUE(document.LoadFromMemory("", 0));

    const char nulInTag[] = "<A x=\"1\0\"/>";
    EXPECT_FALSE(document.LoadFromMemory(nulInTag, sizeof(nulInTag) - 1));
    EXPECT_STREQ("Error while parsing attribute string", document.GetErrorMessage());
}

TEST(XmlDocumentTest, PlacesErrorsByLineAndColumn)
{
    struct Case {
        bool utf8;
        const char* text;
        const char* location;
        int line;
        int column;
    };
    const Case cases[] = {
        {false, "<Window>\n  <Label text=\"x\">\n  </Labe>\n</Window>", "Labe>\n</Window>", 3, 5},
        {false, "<A t=\"\xD6\xD0\" x>", ">", 1, 11},
        {true, "<A\r\n t=\"\xE4\xB8\xAD&amp;\" x>", ">", 2, 14},
        {true, "\xEF\xBB\xBF\n<A x>", ">", 2, 5},
    };
    CXmlDocument document;
    for (const Case& c : cases) {
        const bool loaded = c.utf8 ? document.LoadFromMemory(c.text, std::string(c.text).size())
                                   : document.LoadFromString(c.text);
        EXPECT_FALSE(loaded) << c.text;
        EXPECT_STREQ(c.location, document.GetErrorLocation()) << c.text;
        EXPECT_EQ(c.line, document.GetErrorLine()) << c.text;
        EXPECT_EQ(c.column, document.GetErrorColumn()) << c.text;
    }
}

TEST(XmlDocumentTest, KeepsAtMostFortyNineBytesOfLocationInWholeCharacters)
{
    CXmlDocument document;
    const std::string tail(60, 'x');
    EXPECT_FALSE(document.LoadFromString(tail.c_str()));
    EXPECT_EQ(tail.substr(0, 49), document.GetErrorLocation());

    const std::string wide = std::string(48, 'x') + "\xD6\xD0"
                                                    "yy";
    EXPECT_FALSE(document.LoadFromString(wide.c_str()));
    EXPECT_EQ(wide.substr(0, 48), document.GetErrorLocation());
}

TEST(XmlDocumentTest, LoadsFilesUpToFourMebibytes)
{
    auto skinOfSize = [](std::size_t size) {
        std::string text = "<Window text=\"\xE4\xB8\xAD\">";
        text += std::string(size - text.size() - 9, ' ') + "</Window>";
        return text;
    };
    CXmlDocument document;
    const TempFile limit("xml_limit.xml", skinOfSize(CXmlDocument::kMaxFileSize));
    EXPECT_TRUE(document.LoadFromPath(limit.Path()));
    EXPECT_STREQ("\xD6\xD0", document.GetRoot().GetAttributeValue(0));

    struct Case {
        TempFile file;
        const char* message;
    };
    const Case cases[] = {
        {{"xml_over.xml", skinOfSize(CXmlDocument::kMaxFileSize + 1)}, "File too large"},
        {{"xml_empty.xml", ""}, "File is empty"},
        {TempFile("xml_missing.xml"), "Error opening file"},
        {{"xml_broken.xml", "<A>\n</B>"}, "Unmatched closing tag"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(document.LoadFromPath(c.file.Path())) << c.file.Path();
        EXPECT_STREQ(c.message, document.GetErrorMessage()) << c.file.Path();
        EXPECT_FALSE(document.GetRoot().IsValid());
    }
    EXPECT_STREQ("B>", document.GetErrorLocation());
    EXPECT_EQ(2, document.GetErrorLine());
    EXPECT_FALSE(document.LoadFromPath(cases[1].file.Path()));
    EXPECT_STREQ("", document.GetErrorLocation());  // load errors have no location
    EXPECT_EQ(0, document.GetErrorLine());
}

#ifndef _WIN32
// Opening a FIFO for reading waits for a writer: only files are opened at all.
TEST(XmlDocumentTest, RefusesAFifoAtOnce)
{
    const std::string path = testing::TempDir() + "xml_fifo.xml";
    std::remove(path.c_str());
    ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
    CXmlDocument document;
    EXPECT_FALSE(document.LoadFromPath(path.c_str()));
    EXPECT_STREQ("Error opening file", document.GetErrorMessage());
    std::remove(path.c_str());
}
#endif

// The table holds 500 records after its first allocation, then grows by half plus 500.
TEST(XmlDocumentTest, GrowsTheElementTableAndReportsWhenMemoryRunsOut)
{
    auto elements = [](int count) {
        std::string text = "<W>";
        for (int i = 1; i < count; ++i)
            text += "<L/>";
        return text + "</W>";
    };
    struct Case {
        int elements;
        int failingAllocation;  // 1 is the copy of the text, 2 the first table
        bool loads;
    };
    const Case cases[] = {
        {1, 1, false},   {1, 2, false},   {499, 3, true},
        {500, 3, false}, {1249, 4, true}, {1250, 4, false},
    };
    CXmlDocument document;
    for (const Case& c : cases) {
        const std::string text = elements(c.elements);
        Veneer::Heap::FailNthAllocation(c.failingAllocation);
        const bool loaded = document.LoadFromString(text.c_str());
        Veneer::Heap::FailNthAllocation(0);
        EXPECT_EQ(c.loads, loaded) << c.elements;
        EXPECT_STREQ(c.loads ? "" : "Out of memory", document.GetErrorMessage()) << c.elements;
        EXPECT_EQ(c.loads, document.GetRoot().IsValid());
    }
    Veneer::Heap::FailNthAllocation(1);
    EXPECT_FALSE(document.LoadFromMemory("<W/>", 4));  // the conversion's memory
    Veneer::Heap::FailNthAllocation(0);
    EXPECT_STREQ("Out of memory", document.GetErrorMessage());
}

}  // namespace
