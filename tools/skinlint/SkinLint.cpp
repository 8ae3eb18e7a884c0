// skinlint FILE.xml: loads a skin with the framework's XML parser, as the program would, and
// prints what the skin builder will see: the element tree with its attributes, one element
// per line, indented by depth. On failure it prints the parser's message, the text where
// parsing stopped and its 1-based line and column instead. Exit status 0 or 1.
#include <cstdio>
#include <string>

#include "ui/core/XmlDocument.h"

using Veneer::CXmlDocument;
using Veneer::CXmlNode;

namespace {

void PrintTree(const CXmlNode& node, int depth)
{
    std::printf("%*s%s", depth * 2, "", node.GetName());
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        std::printf(" %s=\"%s\"", node.GetAttributeName(i), node.GetAttributeValue(i));
    std::printf("\n");
    if (node.GetAttributeCount() == CXmlNode::kMaxAttributes)
        std::fprintf(stderr, "warning: %s: attributes after the %dth are ignored\n", node.GetName(),
                     CXmlNode::kMaxAttributes);
    for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
        PrintTree(child, depth + 1);
}

// The location may hold line breaks; it stays on its one line.
std::string Escaped(const char* text)
{
    std::string out;
    for (; *text != '\0'; ++text) {
        switch (*text) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += *text; break;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinlint FILE.xml\n");
        return 1;
    }
    CXmlDocument document;
    if (!document.LoadFromPath(argv[1])) {
        std::fprintf(stderr, "error: %s\n", document.GetErrorMessage());
        std::fprintf(stderr, "at: %s\n", Escaped(document.GetErrorLocation()).c_str());
        if (document.GetErrorLine() > 0)
            std::fprintf(stderr, "line %d, column %d\n", document.GetErrorLine(),
                         document.GetErrorColumn());
        return 1;
    }
    const CXmlNode root = document.GetRoot();
    if (!root.IsValid()) {
        std::fprintf(stderr, "error: no element\n");
        return 1;
    }
    PrintTree(root, 0);
    for (CXmlNode extra = root.GetNextSibling(); extra.IsValid(); extra = extra.GetNextSibling())
        std::fprintf(stderr, "warning: %s: only the first top-level element is used\n",
                     extra.GetName());
    return 0;
}
