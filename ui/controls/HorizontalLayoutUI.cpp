#include "ui/controls/HorizontalLayoutUI.h"

#include <cstring>

#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"

namespace Veneer {

const char* CHorizontalLayoutUI::GetClass() const
{
    return "HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::GetInterface(const char* name)
{
    return std::strcmp(name, "HorizontalLayout") == 0 ? this : CBoxLayoutUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(InnerRect(false), 0, 0);
        return;
    }
    // Children start left of the view by the horizontal position (of the layout's own
    // bar); a horizontal layout computes no scroll range of its own.
    const RECT inner = InnerRect(true);
    TBoxLayout box;
    box.axis = TLayoutAxis::Horizontal;
    box.available = {
        NarrowSum(std::int64_t{inner.right} - inner.left),
        NarrowSum(std::int64_t{inner.bottom} - inner.top + CContainerUI::GetScrollRange().cy)};
    box.mainStart = NarrowSum(std::int64_t{inner.left} - CContainerUI::GetScrollPos().cx);
    box.crossStart = inner.top;
    box.crossExtent = NarrowSum(std::int64_t{inner.bottom} - inner.top);
    box.childPadding = m_childPadding;
    CLayoutChildren children(this);
    LayOutBox(box, children);
    if (children.IsAlive())
        ProcessScrollBar(inner, 0, 0);
}

namespace {

CHorizontalLayoutUI& Horizontal(IControlUI& control)
{
    return static_cast<CHorizontalLayoutUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"sepwidth", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Horizontal(c).SetSepWidth(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CHorizontalLayoutUI::kAttributeTable =
    MakeAttributeTable(&CBoxLayoutUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CHorizontalLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
