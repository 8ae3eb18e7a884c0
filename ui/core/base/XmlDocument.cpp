#include "ui/core/base/XmlDocument.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

namespace Veneer {
namespace {

enum : unsigned char {
    kSpace = 1,
    kNameChar = 2,
    kLeadByte = 4,
    kEndsText = 8,    // NUL, '&' and '<' interrupt text content
    kEndsValue = 16,  // NUL, '&' and '"' interrupt an attribute value
};

// Classes of single bytes, and the scans that use them. Names are ASCII, whatever the C
// library's locale thinks of the upper half. The parser's table adds the lead bytes, read
// once from the platform's test, so its scans step exactly as NextChar does without a
// call per double-byte character.
class ByteClasses {
public:
    constexpr ByteClasses() : m_of()
    {
        for (int c = 0x01; c <= 0x20; ++c)
            m_of[c] = kSpace;
        for (int c = 0; c < 0x80; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (letter || (c >= '0' && c <= '9') || c == '_' || c == ':')
                m_of[c] = kNameChar;
        }
        for (unsigned char c : {'\0', '&', '<'})
            m_of[c] |= kEndsText;
        for (unsigned char c : {'\0', '&', '"'})
            m_of[c] |= kEndsValue;
    }

    static ByteClasses WithLeadBytes()
    {
        ByteClasses classes;
        for (int c = 0x80; c < 0x100; ++c)
            classes.m_of[c] = IsLeadByte(static_cast<char>(c)) ? kLeadByte : 0;
        return classes;
    }

    template <typename Char>
    Char* SkipSpace(Char* p) const
    {
        while (Of(*p) == kSpace)
            ++p;
        return p;
    }

    char* SkipName(char* p) const
    {
        while (Of(*p) == kNameChar)
            ++p;
        return p;
    }

    // NextChar: a lead byte takes the next byte with it unless that is the terminator.
    char* Step(char* p) const
    {
        if (Of(*p) & kLeadByte)
            return p[1] != '\0' ? p + 2 : p + 1;
        return *p != '\0' ? p + 1 : p;
    }

    char* SkipMarkup(char* p) const;
    template <char End>
    char* ParseData(char* p, char** write) const;

private:
    unsigned char Of(char c) const { return m_of[static_cast<unsigned char>(c)]; }

    unsigned char m_of[256];
};

constexpr ByteClasses kAsciiClasses;

// Made again when the text code page has changed since the last parse.
const ByteClasses& ParseClasses()
{
    static ByteClasses classes;
    static unsigned codePage = 0;  // never a text code page: CP_ACP is resolved
    if (codePage != TextCodePage()) {
        classes = ByteClasses::WithLeadBytes();
        codePage = TextCodePage();
    }
    return classes;
}

// Past the terminator of a comment ("->") or processing instruction ("?>"), searched from
// the '!' or '?' itself; at the end of the text when there is none.
char* ByteClasses::SkipMarkup(char* p) const
{
    const char first = *p == '!' ? '-' : '?';
    for (; *p != '\0'; p = Step(p)) {
        if (p[0] == first && p[1] == '>')
            return p + 2;
    }
    return p;
}

// After '&': writes the character of a known entity at w and returns how far to read on;
// anything else leaves the '&' as written and the text after it to be copied as text.
// Each comparison stops at the first difference, so none reads past a NUL.
inline std::size_t DecodeEntity(const char* p, char* w)
{
    struct Entity {
        char character;
        std::size_t length;
        bool matches;
    };
    Entity entity = {'&', 0, false};
    switch (p[0]) {
    case 'a':
        if (p[1] == 'm')
            entity = {'&', 4, p[2] == 'p' && p[3] == ';'};
        else
            entity = {'\'', 5, p[1] == 'p' && p[2] == 'o' && p[3] == 's' && p[4] == ';'};
        break;
    case 'l':
        entity = {'<', 3, p[1] == 't' && p[2] == ';'};
        break;
    case 'g':
        entity = {'>', 3, p[1] == 't' && p[2] == ';'};
        break;
    case 'q':
        entity = {'"', 5, p[1] == 'u' && p[2] == 'o' && p[3] == 't' && p[4] == ';'};
        break;
    default:
        break;
    }
    *w = entity.matches ? entity.character : '&';
    return entity.matches ? entity.length : 0;
}

// Text content (up to '<') or an attribute value (up to '"'), unescaped in place, or up to
// the end of the text. Returns the read position; *write gets the write position, where
// the caller puts the terminator. The gap that shortened entities leave reads as spaces.
template <char End>
char* ByteClasses::ParseData(char* p, char** write) const
{
    const unsigned char stop = (End == '<' ? kEndsText : kEndsValue) | kLeadByte;
    // Nothing moves until the first entity, so the common case only reads.
    for (;;) {
        while ((Of(*p) & stop) == 0)
            ++p;
        if (Of(*p) & kLeadByte) {
            p += p[1] != '\0' ? 2 : 1;
        } else if (*p == '&') {
            break;
        } else {
            *write = p;
            return p;
        }
    }
    char* w = p;
    for (;;) {
        const unsigned char classes = Of(*p);
        if ((classes & stop) == 0) {
            *w++ = *p++;
        } else if (classes & kLeadByte) {
            *w++ = *p++;
            if (*p != '\0')
                *w++ = *p++;
        } else if (*p == '&') {
            ++p;
            p += DecodeEntity(p, w++);
        } else {
            break;
        }
    }
    for (char* gap = w + 1; gap < p; ++gap)
        *gap = ' ';
    *write = w;
    return p;
}

// The length of the longest start of text, at most `room` bytes, that ends on a whole
// character.
std::size_t WholeCharacters(const char* text, std::size_t room)
{
    const char* end = text;
    for (const char* next = NextChar(end);
         next != end && static_cast<std::size_t>(next - text) <= room; next = NextChar(end))
        end = next;
    return static_cast<std::size_t>(end - text);
}

}  // namespace

// One parse of a document's text into its element table.
class CXmlParser {
public:
    explicit CXmlParser(CXmlDocument& document)
        : m_document(document), m_text(document.m_text), m_bytes(ParseClasses())
    {
    }

    bool Run()
    {
        std::uint32_t reserved = 0;
        if (!NewElement(0, nullptr, &reserved))
            return false;
        char* p = m_text;
        return ParseElements(0, 1, p);
    }

private:
    std::uint32_t Offset(const char* p) const { return static_cast<std::uint32_t>(p - m_text); }
    TXmlElement& Element(std::uint32_t index) { return m_document.m_elements[index]; }

    bool Fail(const char* message, const char* at)
    {
        m_document.Fail(message);
        m_document.m_errorOffset = Offset(at);
        const std::size_t kept = WholeCharacters(at, sizeof(m_document.m_errorLocation) - 1);
        std::memcpy(m_document.m_errorLocation, at, kept);
        m_document.m_errorLocation[kept] = '\0';
        return false;
    }

    // A fresh record: the table grows by half its size plus 500 records when full.
    bool NewElement(std::uint32_t parent, const char* name, std::uint32_t* index)
    {
        CXmlDocument& d = m_document;
        if (d.m_elementCount >= d.m_elementCapacity) {
            const std::uint64_t capacity =
                std::uint64_t(d.m_elementCapacity) + d.m_elementCapacity / 2 + 500;
            const std::uint64_t bytes = capacity * sizeof(TXmlElement);
            void* grown = capacity > 0xFFFFFFFFu || bytes > SIZE_MAX
                              ? nullptr
                              : Heap::Reallocate(d.m_elements, static_cast<std::size_t>(bytes));
            if (grown == nullptr)
                return Fail(CXmlDocument::kOutOfMemory, name != nullptr ? name : m_text);
            d.m_elements = static_cast<TXmlElement*>(grown);
            d.m_elementCapacity = static_cast<std::uint32_t>(capacity);
        }
        *index = d.m_elementCount++;
        d.m_elements[*index] = TXmlElement{name != nullptr ? Offset(name) : 0, 0, 0, parent, 0};
        return true;
    }

    // The elements of one list: the top level (parent 0) or the children of `parent`.
    // Ends at "</" (the caller checks the end tag) or, while parent is 0 or 1, at the end
    // of the text.
    bool ParseElements(std::uint32_t parent, int depth, char*& p)
    {
        std::uint32_t previous = 0;
        for (;;) {
            p = m_bytes.SkipSpace(p);
            if (*p == '\0')
                return parent <= 1 || Fail("Expected start tag", p);
            if (*p != '<')
                return Fail("Expected start tag", p);
            if (p[1] == '/')
                return true;
            *p = '\0';
            p = m_bytes.SkipSpace(p + 1);
            if (*p == '!' || *p == '?') {
                p = m_bytes.SkipMarkup(p);
                continue;
            }
            if (depth > CXmlDocument::kMaxDepth)
                return Fail("Elements nested too deeply", p);
            std::uint32_t index = 0;
            if (!NewElement(parent, p, &index))
                return false;
            if (previous != 0)
                Element(previous).nextSibling = index;
            else if (parent != 0)
                Element(parent).firstChild = index;
            previous = index;
            if (!ParseElement(index, parent, depth, p))
                return false;
        }
    }

    // From the element's name to past its end: attributes, content, children, end tag.
    bool ParseElement(std::uint32_t index, std::uint32_t parent, int depth, char*& p)
    {
        char* const name = p;
        char* const nameEnd = m_bytes.SkipName(p);
        p = nameEnd;
        if (*p == '\0')
            return Fail("Error parsing element name", p);
        if (!ParseAttributes(p))
            return false;
        p = m_bytes.SkipSpace(p);
        if (p[0] == '/' && p[1] == '>') {
            Element(index).data = Offset(p);
            *p = '\0';
            p += 2;
        } else if (*p == '>') {
            Element(index).data = Offset(++p);
            char* write = nullptr;
            p = m_bytes.ParseData<'<'>(p, &write);
            if (*p == '\0') {
                if (parent > 1)
                    return Fail("Expected end-tag start", p);
            } else if (!ParseChildrenAndEndTag(index, depth, name, nameEnd, write, p)) {
                return false;
            }
        } else {
            return Fail("Expected start-tag closing", p);
        }
        *nameEnd = '\0';
        return true;
    }

    // At the '<' that ends an element's content.
    bool ParseChildrenAndEndTag(std::uint32_t index, int depth, const char* name,
                                const char* nameEnd, char* write, char*& p)
    {
        if (p[1] != '/' && !ParseElements(index, depth + 1, p))
            return false;
        if (p[0] != '<' || p[1] != '/')
            return true;  // the end of the text closes the root's list
        *write = '\0';
        *p = '\0';
        p = m_bytes.SkipSpace(p + 2);
        for (const char* n = name; n != nameEnd; ++n, ++p) {
            if (*p != *n)  // a NUL in the text differs from every name character
                return Fail("Unmatched closing tag", p - (n - name));
        }
        p = m_bytes.SkipSpace(p);
        if (*p != '>')
            return Fail("Unmatched closing tag", p);
        ++p;
        return true;
    }

    // Just after the element name. Leaves p at the '>', the "/>" or the end of the text.
    bool ParseAttributes(char*& p)
    {
        if (p[0] == '>' || (p[0] == '/' && p[1] == '>'))
            return true;
        *p = '\0';  // ends the element name
        p = m_bytes.SkipSpace(p + 1);
        for (;;) {
            if (*p == '\0' || *p == '>' || *p == '/')
                return true;
            char* const nameEnd = m_bytes.SkipName(p);
            p = m_bytes.SkipSpace(nameEnd);
            if (*p != '=')
                return Fail("Error while parsing attributes", p);
            *p = ' ';
            *nameEnd = '\0';  // after the '=' went: they may be the same byte
            p = m_bytes.SkipSpace(p + 1);
            if (*p != '"')
                return Fail("Expected attribute value", p);
            char* write = nullptr;
            p = m_bytes.ParseData<'"'>(p + 1, &write);
            if (*p == '\0')
                return Fail("Error while parsing attribute string", p);
            *write = '\0';
            if (write != p)
                *p = ' ';
            p = m_bytes.SkipSpace(p + 1);
        }
    }

    CXmlDocument& m_document;
    char* const m_text;
    const ByteClasses& m_bytes;
};

// CXmlNode

CXmlNode::CXmlNode() : CXmlNode(nullptr, 0)
{
}

CXmlNode::CXmlNode(const CXmlDocument* document, std::uint32_t element)
    : m_element(element), m_document(document), m_attributeCount(0), m_attributes()
{
}

bool CXmlNode::IsValid() const
{
    return m_element != 0 && m_document != nullptr;
}

const char* CXmlNode::GetName() const
{
    if (!IsValid())
        return nullptr;
    return m_document->m_text + m_document->m_elements[m_element].name;
}

CXmlNode CXmlNode::GetFirstChild() const
{
    if (!IsValid())
        return CXmlNode();
    return CXmlNode(m_document, m_document->m_elements[m_element].firstChild);
}

CXmlNode CXmlNode::GetNextSibling() const
{
    if (!IsValid())
        return CXmlNode();
    return CXmlNode(m_document, m_document->m_elements[m_element].nextSibling);
}

bool CXmlNode::HasChildren() const
{
    return IsValid() && m_document->m_elements[m_element].firstChild != 0;
}

bool CXmlNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

int CXmlNode::GetAttributeCount() const
{
    ScanAttributes();
    return m_attributeCount;
}

const char* CXmlNode::GetAttributeName(int index) const
{
    if (!IsValid())
        return nullptr;
    ScanAttributes();
    if (index < 0 || index >= m_attributeCount)
        return "";
    return m_document->m_text + m_attributes[index].name;
}

const char* CXmlNode::GetAttributeValue(int index) const
{
    if (!IsValid())
        return nullptr;
    ScanAttributes();
    if (index < 0 || index >= m_attributeCount)
        return "";
    return m_document->m_text + m_attributes[index].value;
}

bool CXmlNode::GetAttributeValue(const char* name, char* buffer, int maximum) const
{
    const char* value = FindAttributeValue(name);
    if (value == nullptr)
        return false;
    const std::size_t room = static_cast<std::size_t>(maximum > 0 ? maximum : 0);
    std::memcpy(buffer, value, WholeCharacters(value, room));
    return true;
}

const char* CXmlNode::FindAttributeValue(const char* name) const
{
    if (!IsValid())
        return nullptr;
    ScanAttributes();
    for (int i = 0; i < m_attributeCount; ++i) {
        if (std::strcmp(m_document->m_text + m_attributes[i].name, name) == 0)
            return m_document->m_text + m_attributes[i].value;
    }
    return nullptr;
}

namespace {

// The parse left each attribute as name, NUL, spaces, '"', value, NUL between the NUL after
// the element name and the element's data. One step of the scan: the attribute at p, if
// any, and p moved past it; the scan stays inside [p, end).
bool NextAttribute(const char*& p, const char* end, const char** name, const char** value)
{
    auto pastNul = [end](const char* q) {
        while (q < end && *q != '\0')
            ++q;
        return q < end ? q + 1 : end;
    };
    if (p >= end)
        return false;
    p = kAsciiClasses.SkipSpace(p);
    *name = p;
    p = kAsciiClasses.SkipSpace(pastNul(p));
    if (p >= end || *p != '"')
        return false;
    *value = p + 1;
    p = pastNul(p + 1);
    return true;
}

}  // namespace

// Where the attributes of the element start, and where they end.
void CXmlNode::AttributeSpan(const char** begin, const char** end) const
{
    const char* const text = m_document->m_text;
    const TXmlElement& element = m_document->m_elements[m_element];
    *end = text + element.data;
    const char* p = text + element.name;
    while (p < *end && *p != '\0')
        ++p;
    *begin = p < *end ? p + 1 : *end;
}

void CXmlNode::ScanAttributes() const
{
    if (m_attributeCount != 0 || !IsValid())
        return;
    const char* const text = m_document->m_text;
    const char* p;
    const char* end;
    AttributeSpan(&p, &end);
    const char* name;
    const char* value;
    while (m_attributeCount < kMaxAttributes && NextAttribute(p, end, &name, &value)) {
        m_attributes[m_attributeCount++] = {static_cast<std::uint32_t>(name - text),
                                            static_cast<std::uint32_t>(value - text)};
    }
}

bool CXmlNode::HasUnseenAttributes() const
{
    if (!IsValid())
        return false;
    const char* p;
    const char* end;
    AttributeSpan(&p, &end);
    const char* name;
    const char* value;
    int count = 0;
    while (NextAttribute(p, end, &name, &value)) {
        if (++count > kMaxAttributes)
            return true;
    }
    return false;
}

// CXmlDocument

CXmlDocument::CXmlDocument()
    : m_text(nullptr), m_textLength(0), m_original(nullptr), m_placeMarks(nullptr),
      m_placeMarkCount(0), m_keepOriginal(false), m_elements(nullptr), m_elementCount(0),
      m_elementCapacity(0)
{
    ClearError();
}

CXmlDocument::~CXmlDocument()
{
    Release();
}

void CXmlDocument::Release()
{
    Heap::Release(m_text);
    Heap::Release(m_original);
    Heap::Release(m_placeMarks);
    Heap::Release(m_elements);
    m_text = nullptr;
    m_textLength = 0;
    m_original = nullptr;
    m_placeMarks = nullptr;
    m_placeMarkCount = 0;
    m_elements = nullptr;
    m_elementCount = 0;
    m_elementCapacity = 0;
}

CXmlNode CXmlDocument::GetRoot() const
{
    return m_elementCount > 1 ? CXmlNode(this, 1) : CXmlNode();
}

void CXmlDocument::ClearError()
{
    m_errorMessage[0] = '\0';
    m_errorLocation[0] = '\0';
    m_errorOffset = 0;
    m_errorLine = 0;
    m_errorColumn = 0;
}

bool CXmlDocument::Fail(const char* message)
{
    const std::size_t length = std::strlen(message);
    const std::size_t kept = length < sizeof(m_errorMessage) ? length : sizeof(m_errorMessage) - 1;
    std::memcpy(m_errorMessage, message, kept);
    m_errorMessage[kept] = '\0';
    m_errorLocation[0] = '\0';
    return false;
}

bool CXmlDocument::Parse()
{
    ClearError();
    return CXmlParser(*this).Run();
}

}  // namespace Veneer
