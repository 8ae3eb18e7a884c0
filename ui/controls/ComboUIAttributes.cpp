// The combo's skin attributes: its face (state images, text padding), its drop-down (size
// and the box's own attributes), and the item style its items draw with.

#include "ui/controls/ComboUI.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

CComboUI& Combo(IControlUI& control)
{
    return static_cast<CComboUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"normalimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Combo(c).SetImage(TButtonImage::Normal, v); }},
    {"hotimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Combo(c).SetImage(TButtonImage::Hot, v); }},
    {"pushedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Combo(c).SetImage(TButtonImage::Pushed, v); }},
    {"focusedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Combo(c).SetImage(TButtonImage::Focused, v); }},
    {"disabledimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Combo(c).SetImage(TButtonImage::Disabled, v); }},
    {"textpadding", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Combo(c).SetTextPadding(ToRect(ParseRect(v))); }},
    {"dropbox", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Combo(c).SetDropBoxAttributes(v); }},
    {"dropboxsize", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Combo(c).SetDropBoxSize(ToSize(ParseSize(v))); }},
};

// A container's attribute that no plain control reads.
bool IsContainerAttribute(const char* name)
{
    return FindAttribute(CContainerUI::kAttributeTable, name) !=
           FindAttribute(CControlUI::kAttributeTable, name);
}

}  // namespace

// Its own rows, the item style's, and the container's (which SetAttribute gives the holder)
// with the control base's.
const TAttributeTable CComboUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes, &kItemStyleAttributes);

const TAttributeTable& CComboUI::GetAttributeTable() const
{
    return kAttributeTable;
}

const char* CComboUI::GetImage(TButtonImage state) const
{
    return m_images[static_cast<int>(state)];
}

void CComboUI::SetImage(TButtonImage state, const char* image)
{
    m_images[static_cast<int>(state)] = image;
    Invalidate();
}

void CComboUI::SetTextPadding(RECT padding)
{
    m_textPadding = padding;
    NeedUpdate();
}

void CComboUI::SetAttribute(const char* name, const char* value)
{
    // The container's own rows stay in the combo's chain, since skins gave them to the combo
    // when it was a container; they apply to the items' holder, which is one.
    if (IsContainerAttribute(name))
        m_holder.SetAttribute(name, value);
    else
        CControlUI::SetAttribute(name, value);
}

}  // namespace Veneer
