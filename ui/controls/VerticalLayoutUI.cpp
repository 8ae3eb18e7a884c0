#include "ui/controls/VerticalLayoutUI.h"

#include <cstring>

#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"

namespace Veneer {

const char* CVerticalLayoutUI::GetClass() const
{
    return "VerticalLayoutUI";
}

void* CVerticalLayoutUI::GetInterface(const char* name)
{
    return std::strcmp(name, "VerticalLayout") == 0 ? this : CBoxLayoutUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT inner = InnerRect(true);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(inner, 0, 0);
        return;
    }
    // Children may be wider than the view by the horizontal range, and start above it by
    // the vertical position: of the layout's own bars, whatever a derived class scrolls.
    const SIZE range = CContainerUI::GetScrollRange();
    const SIZE scrolled = CContainerUI::GetScrollPos();
    TBoxLayout box;
    box.axis = TLayoutAxis::Vertical;
    box.available = {NarrowSum(std::int64_t{inner.right} - inner.left + range.cx),
                     NarrowSum(std::int64_t{inner.bottom} - inner.top)};
    box.mainStart = NarrowSum(std::int64_t{inner.top} - scrolled.cy);
    box.crossStart = NarrowSum(std::int64_t{inner.left} - scrolled.cx);
    box.crossExtent = box.available.cx;
    box.childPadding = m_childPadding;
    CLayoutChildren children(this);
    const int needed = LayOutBox(box, children);
    if (children.IsAlive())
        ProcessScrollBar(inner, 0, needed);
}

namespace {

CVerticalLayoutUI& Vertical(IControlUI& control)
{
    return static_cast<CVerticalLayoutUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"sepheight", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Vertical(c).SetSepHeight(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CVerticalLayoutUI::kAttributeTable =
    MakeAttributeTable(&CBoxLayoutUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CVerticalLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
