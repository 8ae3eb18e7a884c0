#include "tools/skinlint/SkinCheck.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/ControlFactory.h"
#include "ui/core/IControlUI.h"
#include "ui/core/base/ImageAttributes.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WindowManagerUI.h"

using namespace Veneer;

namespace SkinLint {
namespace {

bool Is(const char* name, const char* candidate)
{
    return std::strcmp(name, candidate) == 0;
}

bool IsBuilderElement(const char* element)
{
    return CDialogBuilder::IsDeclaration(element) || Is(element, "Include");
}

std::string Quoted(const char* text)
{
    return "\"" + Escaped(text, true) + "\"";
}

// The class whose attributes a default list named `name` sets, as a throwaway control:
// the element of that name (or the callback's), or the scroll bars that containers make.
IControlUI* ClassOfDefaultList(const char* name, IDialogBuilderCallback* callback)
{
    if (Is(name, "VScrollBar") || Is(name, "HScrollBar"))
        name = "ScrollBar";
    IControlUI* control = CControlFactory::Create(name);
    if (control == nullptr && callback != nullptr && name != nullptr)
        control = callback->CreateControl(name);
    return control;
}

}  // namespace

std::string Escaped(const char* text, bool quote)
{
    std::string out;
    for (const char* p = text; *p != '\0';) {
        const char* next = NextChar(p);
        const unsigned char c = static_cast<unsigned char>(*p);
        if (next - p > 1) {
            out.append(p, next);
        } else if (c == '\\' || (quote && c == '"')) {
            out += '\\';
            out += *p;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", c);
            out += hex;
        } else {
            out += *p;
        }
        p = next;
    }
    return out;
}

CSkinCheck::CSkinCheck(CWindowManagerUI& manager, std::FILE* tree, std::FILE* warnings)
    : m_manager(manager), m_tree(tree), m_out(warnings)
{
}

void CSkinCheck::OnSkin(const CXmlDocument& document, const CXmlNode& include)
{
    const CXmlNode root = document.GetRoot();
    std::string source;
    if (include.IsValid()) {
        const char* named = include.FindAttributeValue("source");
        source = named[0] == '<' ? "included text" : named;
    }
    m_sources[&document] = source;
    m_sourceOrder.emplace(source, static_cast<int>(m_sourceOrder.size()));
    if (!m_printed) {
        m_printed = true;
        PrintTree(root, 0);
    }
    if (!Is(root.GetName(), "Window")) {
        Warn(Place(root, root.GetName()),
             Quoted(root.GetName()) + " is not \"Window\": the root's attributes are ignored");
    }
    CheckStructure(root, true);
    for (CXmlNode extra = root.GetNextSibling(); extra.IsValid(); extra = extra.GetNextSibling())
        Warn(Place(extra, extra.GetName()),
             std::string(extra.GetName()) + ": only the first top-level element is used");
}

void CSkinCheck::PrintTree(const CXmlNode& node, int depth)
{
    std::fprintf(m_tree, "%*s%s", depth * 2, "", node.GetName());
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        std::fprintf(m_tree, " %s=%s", node.GetAttributeName(i),
                     Quoted(node.GetAttributeValue(i)).c_str());
    }
    std::fprintf(m_tree, "\n");
    for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
        PrintTree(child, depth + 1);
}

// What the builder reads of the document by itself, apart from controls: the root's
// window settings, the declarations and Include elements, and attributes it never sees.
void CSkinCheck::CheckStructure(const CXmlNode& node, bool root)
{
    const char* element = node.GetName();
    if (node.HasUnseenAttributes()) {
        Warn(Place(node, element), std::string(element) + ": attributes after the " +
                                       std::to_string(CXmlNode::kMaxAttributes) + "th are ignored");
    }
    if (root && Is(element, "Window"))
        CheckBuilderAttributes(node);
    for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling()) {
        const char* name = child.GetName();
        if (CDialogBuilder::IsDeclaration(name) && !root) {
            Warn(Place(child, name), std::string(name) + ": only children of the root declare "
                                                         "resources: ignored");
        } else if (IsBuilderElement(name)) {
            CheckBuilderAttributes(child);
            const char* needed = Is(name, "Include") ? "source" : "name";
            if (child.FindAttributeValue(needed) == nullptr)
                Warn(Place(child, name), std::string(name) + ": no \"" + needed + "\": ignored");
        }
        CheckStructure(child, false);
    }
}

void CSkinCheck::CheckBuilderAttributes(const CXmlNode& node)
{
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        const char* name = node.GetAttributeName(i);
        if (!CDialogBuilder::IsBuilderAttribute(node.GetName(), name))
            Warn(Place(node, name),
                 std::string(node.GetName()) + ": unknown attribute " + Quoted(name));
    }
}

void CSkinCheck::OnIncludeFailed(const CXmlNode& include, const CXmlDocument& document)
{
    std::string message = "Include: " + Quoted(include.FindAttributeValue("source")) +
                          " cannot be read: " + document.GetErrorMessage();
    if (document.GetErrorLine() > 0) {
        message += " at line " + std::to_string(document.GetErrorLine()) + ", column " +
                   std::to_string(document.GetErrorColumn());
    }
    Warn(Place(include, include.GetName()), message);
}

void CSkinCheck::OnDeclaration(const CXmlNode& node, bool registered)
{
    const char* element = node.GetName();
    const char* name = node.FindAttributeValue("name");
    const TPlace place = Place(node, element);
    if (Is(element, "Default"))
        CheckDefaultList(node);
    else if (registered)
        return;
    else if (Is(element, "Font"))
        Warn(place, "Font: " + Quoted(name) + " cannot be made");
    else if (m_manager.GetImage(name) != nullptr)
        Warn(place, "Image: " + Quoted(name) + " is declared twice: the first stays");
    else
        Warn(place, "Image: " + Quoted(name) + " cannot be loaded");
}

void CSkinCheck::CheckDefaultList(const CXmlNode& node)
{
    const char* name = node.FindAttributeValue("name");
    const char* list = node.FindAttributeValue("value");
    IControlUI* control = ClassOfDefaultList(name, m_callback);
    const std::string what = "Default " + Quoted(name);
    if (control == nullptr) {
        Warn(Place(node, node.GetName()), what + ": no element of that name makes a control");
        return;
    }
    // The list's own places are not told: the whole list is one attribute value.
    const TPlace place = Place(node, list != nullptr ? list : node.GetName());
    ForEachAttribute(list, [&](const char* attribute, const char* value) {
        CheckAttribute(place, what, control->GetAttributeTable(), attribute, value);
    });
    delete control;
}

void CSkinCheck::OnControl(const CXmlNode& node, IControlUI* control)
{
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        const char* name = node.GetAttributeName(i);
        CheckAttribute(Place(node, name), node.GetName(), control->GetAttributeTable(), name,
                       node.GetAttributeValue(i));
    }
}

void CSkinCheck::CheckAttribute(const TPlace& place, const std::string& what,
                                const TAttributeTable& table, const char* name, const char* value)
{
    const TAttributeInfo* row = FindAttribute(table, name);
    if (row == nullptr) {
        Warn(place, what + ": unknown attribute " + Quoted(name));
    } else if (row->kind == TAttributeKind::Image) {
        CheckImages(place, what + ": " + name, value);
    } else if (row->kind == TAttributeKind::Font) {
        m_fonts.push_back({place, what + ": " + name, ParseInteger(value)});
    } else if (row->kind == TAttributeKind::Extent) {
        CheckExtent(place, what + ": " + name, value);
    }
}

// The layout adds such numbers up; far beyond any screen they only push controls out of
// sight (the sums stop at the edge of the int range).
void CSkinCheck::CheckExtent(const TPlace& place, const std::string& what, const char* value)
{
    const int kScreenRange = 32767;
    CValueReader reader(value);
    while (!reader.AtEnd()) {
        const char* before = reader.GetPosition();
        const int number = reader.ReadInteger();
        if (reader.GetPosition() == before) {
            reader.SkipByte();
            continue;
        }
        if (number > kScreenRange || number < -kScreenRange - 1) {
            Warn(place, what + ": " + std::to_string(number) +
                            " is beyond the screen's range (-32768 to 32767)");
            return;
        }
    }
}

void CSkinCheck::CheckImages(const TPlace& place, const std::string& what, const char* value)
{
    // Each restype draws the image named so far: after the first pair, the image of a
    // second pair is drawn at its restype and again at the end.
    const char* first = std::strstr(value, "restype=");
    if (first != nullptr && std::strstr(first + 1, "restype=") != nullptr)
        Warn(place, what + ": the image of a second res/restype pair is drawn twice");
    struct TContext {
        CSkinCheck* check;
        const TPlace& place;
        const std::string& what;
    } context = {this, place, what};
    ReadImageAttributes(
        value, nullptr, TValueRect{},
        [](const TImageAttributes& image, void* c) {
            const auto* context = static_cast<TContext*>(c);
            if (image.name.IsEmpty())
                return;
            const char* type =
                image.resourceType.IsEmpty() ? nullptr : image.resourceType.GetData();
            if (context->check->m_manager.FindOrLoadImage(image.name, type, image.mask) != nullptr)
                return;
            std::string name = Quoted(image.name);
            if (type != nullptr)
                name += " of type " + Quoted(type);
            context->check->Warn(context->place,
                                 context->what + ": image " + name + " cannot be loaded");
        },
        &context);
}

void CSkinCheck::OnSkip(const CXmlNode& node, TBuildSkip why)
{
    const std::string element = node.GetName();
    std::string message;
    switch (why) {
    case TBuildSkip::UnknownElement:
        message = "unknown element: skipped with its children";
        break;
    case TBuildSkip::ParentNotContainer:
        message = "its parent holds no children: dropped with the elements after it";
        break;
    case TBuildSkip::AddRefused:
        message = "its parent refused it: dropped";
        break;
    case TBuildSkip::NoParent:
        message = "a skin built without a parent keeps only its first control: dropped";
        break;
    case TBuildSkip::IncludeTooDeep:
        message = "nested more than " + std::to_string(CDialogBuilder::kMaxIncludeDepth) +
                  " deep: skipped";
        break;
    case TBuildSkip::NestedTooDeep:
        message = "nested more than " + std::to_string(CDialogBuilder::kMaxNesting) +
                  " elements deep, Include elements counted through: skipped with its children";
        break;
    case TBuildSkip::IncludesTooLarge:
        message = "the Include elements made " +
                  std::to_string(CDialogBuilder::kMaxIncludedElements) +
                  " documents and controls already: skipped";
        break;
    }
    Warn(Place(node, node.GetName()), element + ": " + message);
}

void CSkinCheck::Finish()
{
    const int count = m_manager.GetCustomFontCount();
    for (const TFontUse& use : m_fonts) {
        if (use.index < count)
            continue;
        Warn(use.place, use.what + ": font " + std::to_string(use.index) + " is not declared (" +
                            (count == 0 ? std::string("the skin declares no fonts")
                                        : "fonts 0 to " + std::to_string(count - 1)) +
                            ")");
    }
    m_fonts.clear();
    std::stable_sort(m_held.begin(), m_held.end(), [](const TWarning& a, const TWarning& b) {
        return std::tie(a.place.source, a.place.line, a.place.column) <
               std::tie(b.place.source, b.place.line, b.place.column);
    });
    // A skin included twice warns twice alike: once is enough.
    const auto same = [](const TWarning& a, const TWarning& b) {
        return a.place.text == b.place.text && a.message == b.message;
    };
    m_held.erase(std::unique(m_held.begin(), m_held.end(), same), m_held.end());
    m_warnings += static_cast<int>(m_held.size());
    for (const TWarning& warning : m_held)
        std::fprintf(m_out, "warning: %s: %s\n", warning.place.text.c_str(),
                     warning.message.c_str());
    m_held.clear();
}

CSkinCheck::TPlace CSkinCheck::Place(const CXmlNode& node, const char* at) const
{
    const CXmlDocument* document = node.GetDocument();
    TPlace place;
    document->GetPlace(at, &place.line, &place.column);
    const auto source = m_sources.find(document);
    if (source != m_sources.end()) {
        place.source = m_sourceOrder.at(source->second);
        if (!source->second.empty())
            place.text = source->second + ": ";
    }
    place.text += "line " + std::to_string(place.line) + ", column " + std::to_string(place.column);
    return place;
}

void CSkinCheck::Warn(const TPlace& place, const std::string& message)
{
    m_held.push_back({place, message});
}

}  // namespace SkinLint
