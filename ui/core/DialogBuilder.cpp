#include "ui/core/DialogBuilder.h"

#include <cstring>

#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/ControlFactory.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/IContainerUI.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

bool Is(const char* name, const char* candidate)
{
    return std::strcmp(name, candidate) == 0;
}

std::uint32_t HexColor(const char* value)
{
    return CValueReader(value).ReadColor(THexSyntax::Digits);
}

struct TWindowAttribute {
    const char* name;
    void (*apply)(CWindowManagerUI& manager, const char* value);
};

const TWindowAttribute kWindowAttributes[] = {
    {"size",
     [](CWindowManagerUI& m, const char* v) {
         const TValueSize size = ParseSize(v);
         m.SetInitialSize(size.cx, size.cy);
     }},
    {"sizebox", [](CWindowManagerUI& m, const char* v) { m.SetSizeBox(ToRect(ParseRect(v))); }},
    {"caption", [](CWindowManagerUI& m, const char* v) { m.SetCaptionArea(ToRect(ParseRect(v))); }},
    {"roundcorner",
     [](CWindowManagerUI& m, const char* v) {
         const TValueSize size = ParseSize(v);
         m.SetRoundCorner(size.cx, size.cy);
     }},
    {"mininfo",
     [](CWindowManagerUI& m, const char* v) {
         const TValueSize size = ParseSize(v);
         m.SetMinInfo(size.cx, size.cy);
     }},
    {"maxinfo",
     [](CWindowManagerUI& m, const char* v) {
         const TValueSize size = ParseSize(v);
         m.SetMaxInfo(size.cx, size.cy);
     }},
    {"showdirty", [](CWindowManagerUI& m, const char* v) { m.SetShowDirty(ParseBoolean(v)); }},
    {"alpha", [](CWindowManagerUI& m, const char* v) { m.SetAlpha(ParseInteger(v)); }},
    {"bktrans", [](CWindowManagerUI& m, const char* v) { m.SetBkTransparent(ParseBoolean(v)); }},
    {"disabledfontcolor",
     [](CWindowManagerUI& m, const char* v) { m.SetDisabledFontColor(HexColor(v)); }},
    {"defaultfontcolor",
     [](CWindowManagerUI& m, const char* v) { m.SetDefaultFontColor(HexColor(v)); }},
    {"linkfontcolor", [](CWindowManagerUI& m, const char* v) { m.SetLinkFontColor(HexColor(v)); }},
    {"linkhoverfontcolor",
     [](CWindowManagerUI& m, const char* v) { m.SetLinkHoverFontColor(HexColor(v)); }},
    {"selectedcolor", [](CWindowManagerUI& m, const char* v) { m.SetSelectedColor(HexColor(v)); }},
};

// The attributes the builder reads on its other elements, null-terminated.
struct TBuilderElement {
    const char* element;
    const char* attributes[7];
};

const TBuilderElement kBuilderElements[] = {
    {"Image", {"name", "restype", "mask"}},
    {"Font", {"name", "size", "bold", "underline", "italic", "default"}},
    {"Default", {"name", "value"}},
    {"Include", {"count", "source"}},
};

}  // namespace

bool CDialogBuilder::IsDeclaration(const char* element)
{
    return Is(element, "Image") || Is(element, "Font") || Is(element, "Default");
}

bool CDialogBuilder::IsBuilderAttribute(const char* element, const char* attribute)
{
    if (Is(element, "Window")) {
        for (const TWindowAttribute& row : kWindowAttributes) {
            if (Is(attribute, row.name))
                return true;
        }
        return false;
    }
    for (const TBuilderElement& row : kBuilderElements) {
        if (!Is(element, row.element))
            continue;
        for (int i = 0; row.attributes[i] != nullptr; ++i) {
            if (Is(attribute, row.attributes[i]))
                return true;
        }
    }
    return false;
}

IControlUI* CDialogBuilder::Create(const char* skin, const char* type,
                                   IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                                   IControlUI* parent)
{
    if (!Load(skin, type))
        return nullptr;
    return Create(callback, manager, parent);
}

bool CDialogBuilder::Load(const char* skin, const char* type)
{
    m_resourceType = nullptr;
    m_document.SetKeepOriginal(m_report != nullptr);
    if (IS_INTRESOURCE(skin)) {
        const unsigned id = LOWORD(reinterpret_cast<ULONG_PTR>(skin));
        if (!m_document.LoadFromResource(id, type))
            return false;
        m_resourceType = type;
        return true;
    }
    return skin[0] == '<' ? m_document.LoadFromString(skin) : m_document.LoadFromFile(skin);
}

IControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                                   IControlUI* parent)
{
    m_callback = callback;
    const CXmlNode root = m_document.GetRoot();
    if (!root.IsValid())
        return nullptr;
    if (m_report != nullptr)
        m_report->OnSkin(m_document, m_includedBy);
    if (manager != nullptr) {
        Declare(manager);
        if (Is(root.GetName(), "Window") && manager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(manager);
    }
    return MakeChildren(root, parent, manager);
}

void CDialogBuilder::Declare(CWindowManagerUI* manager)
{
    const CXmlNode root = m_document.GetRoot();
    for (CXmlNode node = root.GetFirstChild(); node.IsValid(); node = node.GetNextSibling()) {
        const char* element = node.GetName();
        const char* name = node.FindAttributeValue("name");
        if (!IsDeclaration(element) || name == nullptr)
            continue;
        bool registered = true;
        if (Is(element, "Image")) {
            registered = manager->AddImage(name, node.FindAttributeValue("restype"),
                                           HexColor(node.FindAttributeValue("mask"))) != nullptr;
        } else if (Is(element, "Font")) {
            const char* size = node.FindAttributeValue("size");
            const int height = size != nullptr ? ParseInteger(size) : 12;
            const bool bold = ParseBoolean(node.FindAttributeValue("bold"));
            const bool underline = ParseBoolean(node.FindAttributeValue("underline"));
            const bool italic = ParseBoolean(node.FindAttributeValue("italic"));
            registered = manager->AddFont(name, height, bold, underline, italic) != nullptr;
            if (ParseBoolean(node.FindAttributeValue("default")))
                manager->SetDefaultFont(name, height, bold, underline, italic);
        } else {
            const char* list = node.FindAttributeValue("value");
            manager->AddDefaultAttributes(name, list != nullptr ? list : "");
        }
        if (m_report != nullptr)
            m_report->OnDeclaration(node, registered);
    }
}

void CDialogBuilder::ApplyWindowAttributes(CWindowManagerUI* manager)
{
    const CXmlNode root = m_document.GetRoot();
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        for (const TWindowAttribute& row : kWindowAttributes) {
            if (Is(root.GetAttributeName(i), row.name)) {
                row.apply(*manager, root.GetAttributeValue(i));
                break;
            }
        }
    }
}

IControlUI* CDialogBuilder::MakeChildren(const CXmlNode& node, IControlUI* parent,
                                         CWindowManagerUI* manager)
{
    if (m_nesting >= kMaxNesting) {
        for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling())
            Skip(child, TBuildSkip::NestedTooDeep);
        return nullptr;
    }
    ++m_nesting;
    IControlUI* first = MakeLevel(node, parent, manager);
    --m_nesting;
    return first;
}

bool CDialogBuilder::TakeIncluded(const CXmlNode& node)
{
    if (*m_included >= kMaxIncludedElements) {
        Skip(node, TBuildSkip::IncludesTooLarge);
        return false;
    }
    ++*m_included;
    return true;
}

IControlUI* CDialogBuilder::MakeLevel(const CXmlNode& node, IControlUI* parent,
                                      CWindowManagerUI* manager)
{
    const CControlWatch parentAlive(parent);
    TLevel level = {parent, nullptr, parentAlive};
    IControlUI* first = nullptr;
    for (CXmlNode child = node.GetFirstChild(); child.IsValid(); child = child.GetNextSibling()) {
        const char* element = child.GetName();
        if (IsDeclaration(element))
            continue;
        if (Is(element, "Include")) {
            Include(child, parent, manager);
            if (level.ParentEnded())
                return nullptr;
            continue;
        }
        // Without a parent nothing could hold a second control: it is not made at all.
        if (parent == nullptr && first != nullptr) {
            Skip(child, TBuildSkip::NoParent);
            continue;
        }
        bool levelEnds = false;
        IControlUI* control = MakeElement(child, level, manager, &levelEnds);
        if (levelEnds || level.ParentEnded())
            return nullptr;
        if (first == nullptr)
            first = control;
    }
    return first;
}

IControlUI* CDialogBuilder::MakeElement(const CXmlNode& node, TLevel& level,
                                        CWindowManagerUI* manager, bool* levelEnds)
{
    if (m_depth > 0 && !TakeIncluded(node))
        return nullptr;
    IControlUI* control = MakeControl(node.GetName());
    if (control == nullptr) {
        Skip(node, TBuildSkip::UnknownElement);
        return nullptr;
    }
    if (node.HasChildren())
        MakeChildren(node, control, manager);
    // A parent already in a window would attach the control before it is dressed, and
    // enter its names while it has none: it is added once dressed instead.
    IControlUI* parent = level.parent;
    const bool live = parent != nullptr && parent->GetManager() != nullptr;
    if (parent != nullptr) {
        if (level.container == nullptr)
            level.container = AsContainer(parent);
        if (level.container == nullptr) {
            delete control;
            Skip(node, TBuildSkip::ParentNotContainer);
            *levelEnds = true;
            return nullptr;
        }
        if (!live && !level.container->Add(control)) {
            delete control;
            Skip(node, TBuildSkip::AddRefused);
            return nullptr;
        }
    }
    if (!Dress(node, control, manager))
        return nullptr;
    if (live && !JoinLiveParent(node, level, control, levelEnds))
        return nullptr;
    if (m_report != nullptr)
        m_report->OnControl(node, control);
    return control;
}

// False when the control did not join: refused (and deleted), or ended by a handler that
// its joining set off.
bool CDialogBuilder::JoinLiveParent(const CXmlNode& node, TLevel& level, IControlUI* control,
                                    bool* levelEnds)
{
    if (level.ParentEnded()) {
        delete control;
        *levelEnds = true;
        return false;
    }
    CControlWatch joined(control);
    if (!level.container->Add(control)) {
        delete control;
        Skip(node, TBuildSkip::AddRefused);
        return false;
    }
    return static_cast<bool>(joined);
}

IControlUI* CDialogBuilder::MakeControl(const char* element)
{
    IControlUI* control = CControlFactory::Create(element);
    if (control == nullptr && m_callback != nullptr)
        control = m_callback->CreateControl(element);
    return control;
}

// Defaults first, then the element's own attributes in document order, which therefore
// win. The manager is lent for the while: the control gets it for good with its window.
// False when a handler that an attribute set off destroyed the control.
bool CDialogBuilder::Dress(const CXmlNode& node, IControlUI* control, CWindowManagerUI* manager)
{
    CControlWatch watch(control);
    if (manager != nullptr) {
        control->SetManager(manager, nullptr, false);
        control->ApplyAttributeList(manager->FindDefaultAttributes(node.GetName()));
    }
    for (int i = 0; watch && i < node.GetAttributeCount(); ++i)
        control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    if (manager != nullptr && watch)
        control->SetManager(nullptr, nullptr, false);
    return static_cast<bool>(watch);
}

void CDialogBuilder::Include(const CXmlNode& node, IControlUI* parent, CWindowManagerUI* manager)
{
    const char* source = node.FindAttributeValue("source");
    if (source == nullptr)
        return;
    if (m_depth >= kMaxIncludeDepth) {
        Skip(node, TBuildSkip::IncludeTooDeep);
        return;
    }
    const char* count = node.FindAttributeValue("count");
    const int times = count != nullptr ? ParseInteger(count) : 1;
    const char* skin = m_resourceType != nullptr
                           ? MAKEINTRESOURCEA(static_cast<WORD>(ParseInteger(source)))
                           : source;
    const CControlWatch parentAlive(parent);
    for (int i = 0; i < times && (parent == nullptr || parentAlive) && TakeIncluded(node); ++i) {
        CDialogBuilder nested;
        nested.m_report = m_report;
        nested.m_includedBy = node;
        nested.m_depth = m_depth + 1;
        // The included document's top-level controls take the Include element's level.
        nested.m_nesting = m_nesting - 1;
        nested.m_included = m_included;
        // A source that failed once fails every time: the count is not worth waiting for.
        if (!nested.Load(skin, m_resourceType)) {
            if (m_report != nullptr)
                m_report->OnIncludeFailed(node, nested.m_document);
            return;
        }
        IControlUI* made = nested.Create(m_callback, manager, parent);
        // Its declarations count; its controls have nowhere to go.
        if (parent == nullptr && made != nullptr) {
            delete made;
            Skip(node, TBuildSkip::NoParent);
        }
    }
}

void CDialogBuilder::Skip(const CXmlNode& node, TBuildSkip why)
{
    if (m_report != nullptr)
        m_report->OnSkip(node, why);
}

}  // namespace Veneer
