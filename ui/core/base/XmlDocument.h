#pragma once
// CXmlDocument reads the XML skins: a small, non-validating parser that works in place on
// its own copy of the text (writing terminators and unescaped characters into it) and keeps
// the tree as a flat table of TXmlElement records linked by index. CXmlNode is a light
// handle into that table; nodes stay usable while their document lives and is not reloaded.
//
// All text it hands out is in the ANSI code page: UTF-8 input is converted on loading
// (CodePage.h). Only double quotes delimit attribute values, so image attribute strings
// with single quotes can be written inside them. The five entities amp, lt, gt, quot and
// apos are decoded; any other '&' stays as written. "/>" closes an element also right
// after its name ("<Label/>").

#include <cstddef>
#include <cstdint>

namespace Veneer {

// One element. Offsets point into the document's text; index 0 means "none" in every link
// because record 0 is reserved at the start of every parse. The root is record 1.
struct TXmlElement {
    std::uint32_t name;         // offset of the NUL-terminated element name
    std::uint32_t firstChild;   // index of the first child, 0 = none
    std::uint32_t nextSibling;  // index of the next sibling, 0 = none
    std::uint32_t parent;       // index of the parent, 0 = top level
    std::uint32_t data;         // offset of the element's unescaped text content
};

class CXmlDocument;

class CXmlNode {
public:
    // Attributes after the 64th of an element are never seen.
    static constexpr int kMaxAttributes = 64;

    CXmlNode();

    bool IsValid() const;
    // Null for an invalid node.
    const CXmlDocument* GetDocument() const { return m_document; }
    // Null for an invalid node.
    const char* GetName() const;
    CXmlNode GetFirstChild() const;
    CXmlNode GetNextSibling() const;
    bool HasChildren() const;

    // The attributes are scanned on the first query that needs them.
    bool HasAttributes() const;
    int GetAttributeCount() const;
    // "" for an index outside 0 .. count-1; null for an invalid node.
    const char* GetAttributeName(int index) const;
    const char* GetAttributeValue(int index) const;
    // True when the element has more attributes than the kMaxAttributes that are seen.
    bool HasUnseenAttributes() const;
    // Copies at most `maximum` bytes of the value of the first attribute named exactly
    // `name` into the caller's zeroed buffer, never half a double-byte character; false
    // when there is no such attribute.
    bool GetAttributeValue(const char* name, char* buffer, int maximum) const;
    // The whole value of the first attribute of that name, or null when there is none.
    const char* FindAttributeValue(const char* name) const;

private:
    friend class CXmlDocument;
    struct Attribute {
        std::uint32_t name;
        std::uint32_t value;
    };

    CXmlNode(const CXmlDocument* document, std::uint32_t element);
    void ScanAttributes() const;
    void AttributeSpan(const char** begin, const char** end) const;

    std::uint32_t m_element;
    const CXmlDocument* m_document;
    mutable int m_attributeCount;  // 0 also means "not scanned yet"
    mutable Attribute m_attributes[kMaxAttributes];
};

class CXmlDocument {
public:
    static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;
    // Elements nested deeper are refused: the parser recurses once per level.
    static constexpr int kMaxDepth = 256;

    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Each load releases the earlier content first and leaves the document empty when it
    // fails.
    // The text is taken to be in the ANSI code page already; it is copied, not converted.
    bool LoadFromString(const char* text);
    // UTF-8, with or without the byte-order mark, converted to the ANSI code page; an XML
    // declaration's encoding is not looked at.
    bool LoadFromMemory(const void* bytes, std::size_t length);
    // The whole file at `path` (at most kMaxFileSize bytes) through LoadFromMemory.
    bool LoadFromPath(const char* path);
#ifdef _WIN32
    // The file `name` below CWindowManagerUI's resource path (an absolute name is not
    // recognised: the path is always put in front).
    bool LoadFromFile(const char* name);
    // The resource of that id and type in CWindowManagerUI's resource module, through
    // LoadFromMemory.
    bool LoadFromResource(unsigned id, const char* type);
#endif
    void Release();

    // From the next load on, keep a copy of the text as it was before parsing, so that
    // GetPlace can tell where an element or attribute stands (skin checkers use it; the
    // copy costs the text's size again).
    void SetKeepOriginal(bool keep)
    {
        m_keepOriginal = keep;
    }
    // The 1-based line and column of `at`, a place in the text such as GetName or
    // GetAttributeName give (a double-byte character is one column). False when the
    // original was not kept or `at` is not in the text.
    bool GetPlace(const char* at, int* line, int* column) const;

    // Record 1, or an invalid node when nothing was parsed.
    CXmlNode GetRoot() const;

    // The last failure: its message and up to 49 bytes of the text where parsing stopped
    // (empty for load errors), and that place as 1-based line and column (a double-byte
    // character is one column). Line and column are 0 for load errors.
    const char* GetErrorMessage() const
    {
        return m_errorMessage;
    }
    const char* GetErrorLocation() const
    {
        return m_errorLocation;
    }
    int GetErrorLine() const
    {
        return m_errorLine;
    }
    int GetErrorColumn() const
    {
        return m_errorColumn;
    }

private:
    friend class CXmlNode;
    friend class CXmlParser;

    static const char kOutOfMemory[];

    // Parses m_text; on failure the message and location are set.
    bool Parse();
    // Line and column of the failure, counted in `pristine`, the text before parsing.
    void Locate(const char* pristine);
    void ClearError();
    bool Fail(const char* message);

    // Keeps the original of the text just loaded, when asked to; false when memory ran out.
    bool KeepOriginal();
    // A line and column every kPlaceMarkSpacing bytes of the original, from which
    // GetPlace counts on: a checker that asks for every attribute's place reads the text
    // about once, not once per attribute. Without them (memory ran out) it counts from the
    // start.
    void MarkPlaces();

    struct TPlaceMark {
        std::size_t offset;
        int line;
        int column;
    };
    static constexpr std::size_t kPlaceMarkSpacing = 4096;

    char* m_text;
    std::size_t m_textLength;
    char* m_original;  // the text before parsing, when m_keepOriginal
    TPlaceMark* m_placeMarks;
    std::size_t m_placeMarkCount;
    bool m_keepOriginal;
    TXmlElement* m_elements;
    std::uint32_t m_elementCount;
    std::uint32_t m_elementCapacity;
    char m_errorMessage[100];
    char m_errorLocation[50];
    std::uint32_t m_errorOffset;
    int m_errorLine;
    int m_errorColumn;
};

}  // namespace Veneer
