// Feeds arbitrary bytes to CXmlDocument as UTF-8 (LoadFromMemory) and as ANSI text
// (LoadFromString) and walks whatever tree comes out. The sanitizers catch any read or
// write outside the document's buffers; the checks catch broken links, attribute lookups
// that disagree with the attribute table, and failures without a message. For pure ASCII
// without NUL the two loads see the same text and must agree.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/core/base/XmlDocument.h"

using Veneer::CXmlDocument;
using Veneer::CXmlNode;

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void Walk(const CXmlNode& node, std::size_t& budget, std::string& dump)
{
    Check(budget-- > 0);  // more elements than bytes: the links form a cycle
    Check(node.GetName() != nullptr);
    dump += node.GetName();
    const int count = node.GetAttributeCount();
    Check(count >= 0 && count <= CXmlNode::kMaxAttributes);
    for (int i = 0; i < count; ++i) {
        const char* name = node.GetAttributeName(i);
        const char* value = node.GetAttributeValue(i);
        Check(name != nullptr && value != nullptr);
        dump += std::string(" ") + name + "=" + value;
        int first = 0;
        while (std::strcmp(node.GetAttributeName(first), name) != 0)
            ++first;
        char buffer[500] = {};
        Check(node.GetAttributeValue(name, buffer, 499));
        Check(std::strncmp(buffer, node.GetAttributeValue(first), std::strlen(buffer)) == 0);
    }
    Check(*node.GetAttributeName(count) == '\0');
    dump += "[";
    for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
        Walk(child, budget, dump);
    dump += "]";
}

std::string Verify(const CXmlDocument& document, bool loaded, std::size_t size)
{
    std::string dump;
    if (!loaded) {
        Check(document.GetErrorMessage()[0] != '\0');
        Check(std::strlen(document.GetErrorLocation()) <= 49);
        Check(document.GetErrorLine() >= 1 && document.GetErrorColumn() >= 1);
        Check(!document.GetRoot().IsValid());
        return "failed: " + std::string(document.GetErrorMessage()) + " at " +
               document.GetErrorLocation();
    }
    Check(document.GetErrorMessage()[0] == '\0');
    std::size_t budget = size + 1;
    for (CXmlNode node = document.GetRoot(); node.IsValid(); node = node.GetNextSibling())
        Walk(node, budget, dump);
    return dump;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CXmlDocument document;
    const std::string fromMemory = Verify(document, document.LoadFromMemory(data, size), size);

    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string fromString = Verify(document, document.LoadFromString(text.c_str()), size);

    bool plainAscii = true;
    for (unsigned char c : text)
        plainAscii = plainAscii && c != 0 && c < 0x80;
    Check(!plainAscii || fromMemory == fromString);
    return 0;
}
