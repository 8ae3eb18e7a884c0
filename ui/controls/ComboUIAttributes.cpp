// The combo's skin attributes: its face (state images, text padding), its drop-down (size
// and the box's own attributes), and the item style its items draw with.

#include <cstring>

#include "ui/controls/ComboUI.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// The state images first, in the order of TButtonImage: SetAttribute reads the image from
// the row's index.
const TAttributeInfo kOwnAttributes[] = {
    {"normalimage", TAttributeKind::Image},   {"hotimage", TAttributeKind::Image},
    {"pushedimage", TAttributeKind::Image},   {"focusedimage", TAttributeKind::Image},
    {"disabledimage", TAttributeKind::Image}, {"textpadding", TAttributeKind::Plain},
    {"dropbox", TAttributeKind::Plain},       {"dropboxsize", TAttributeKind::Plain},
};

// The combo reads the item style's attributes beside its own.
const TAttributeTable kComboItemStyleTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kItemStyleAttributes);

// A container's attribute that no plain control reads.
bool IsContainerAttribute(const char* name)
{
    return FindAttribute(CContainerUI::kAttributeTable, name) !=
           FindAttribute(CControlUI::kAttributeTable, name);
}

}  // namespace

const TAttributeTable CComboUI::kAttributeTable =
    MakeAttributeTable(&kComboItemStyleTable, kOwnAttributes);

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
    if (name == nullptr || value == nullptr)
        return CControlUI::SetAttribute(name, value);
    for (int i = 0; i < static_cast<int>(TButtonImage::Count); ++i) {
        if (std::strcmp(name, kOwnAttributes[i].name) == 0)
            return SetImage(static_cast<TButtonImage>(i), value);
    }
    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    if (is("textpadding")) {
        SetTextPadding(ToRect(ParseRect(value)));
    } else if (is("dropbox")) {
        SetDropBoxAttributes(value);
    } else if (is("dropboxsize")) {
        SetDropBoxSize(ToSize(ParseSize(value)));
    } else if (IsContainerAttribute(name)) {
        // Skins gave them to the combo when it was a container; the items' holder keeps them.
        m_holder.SetAttribute(name, value);
    } else if (!ApplyItemStyleChange(*this, SetItemStyleAttribute(m_style, name, value))) {
        CControlUI::SetAttribute(name, value);
    }
}

}  // namespace Veneer
