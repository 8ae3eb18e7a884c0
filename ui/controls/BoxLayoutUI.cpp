#include "ui/controls/BoxLayoutUI.h"

#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {

UINT CBoxLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_sepSize != 0 ? UINT{UIFLAG_SETCURSOR} : 0u;
}

void CBoxLayoutUI::SetSepImmediateMode(bool immediate)
{
    if (m_sepImmediate == immediate)
        return;
    if (m_sepCaptured && !m_sepImmediate && m_manager != nullptr)
        m_manager->RemovePostPaint(this);
    m_sepImmediate = immediate;
}

TSeparator CBoxLayoutUI::Separator() const
{
    const bool vertical = m_axis == TLayoutAxis::Vertical;
    return TSeparator{m_axis, m_sepSize, vertical ? GetMinHeight() : GetMinWidth(),
                      vertical ? GetMaxHeight() : GetMaxWidth()};
}

RECT CBoxLayoutUI::GetSeparatorRect(bool dragged) const
{
    const RECT& from = dragged && m_sepCaptured ? m_sepNewPos : m_rcItem;
    return ToRect(SeparatorRect(Separator(), ToLayoutRect(from)));
}

void CBoxLayoutUI::DoEvent(TUIEvent& event)
{
    if (m_sepSize == 0 || !DoSeparatorEvent(event))
        CContainerUI::DoEvent(event);
}

bool CBoxLayoutUI::DoSeparatorEvent(const TUIEvent& event)
{
    const bool overBand = Contains(ToLayoutRect(GetSeparatorRect()), event.mouse);
    switch (event.type) {
    case TUIEventType::ButtonDown:
        if (!IsEnabled() || !overBand)
            return false;
        m_sepCaptured = true;
        m_sepLastMouse = event.mouse;
        m_sepNewPos = m_rcItem;
        if (!m_sepImmediate && m_manager != nullptr)
            m_manager->AddPostPaint(this);
        return true;
    case TUIEventType::ButtonUp:
        if (!m_sepCaptured)
            return false;
        m_sepCaptured = false;
        m_rcItem = m_sepNewPos;
        if (!m_sepImmediate && m_manager != nullptr)
            m_manager->RemovePostPaint(this);
        NeedParentUpdate();
        return true;
    case TUIEventType::MouseMove:
        if (!m_sepCaptured)
            return false;
        Drag(event.mouse);
        return true;
    case TUIEventType::SetCursor:
        if (!IsEnabled() || !overBand)
            return false;
        ::SetCursor(LoadCursor(nullptr, m_axis == TLayoutAxis::Vertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    default:
        return false;
    }
}

void CBoxLayoutUI::Drag(POINT pt)
{
    const bool vertical = m_axis == TLayoutAxis::Vertical;
    const int last = vertical ? m_sepLastMouse.y : m_sepLastMouse.x;
    m_sepLastMouse = pt;
    TLayoutRect moved = ToLayoutRect(m_sepNewPos);
    if (!DragSeparator(Separator(), last, vertical ? pt.y : pt.x, moved))
        return;
    const RECT oldBand = GetSeparatorRect(true);
    m_sepNewPos = ToRect(moved);
    // The size field only: asking the parent for a layout would end the delayed mode.
    if (vertical)
        m_fixedSize.cy = m_sepNewPos.bottom - m_sepNewPos.top;
    else
        m_fixedSize.cx = m_sepNewPos.right - m_sepNewPos.left;
    if (m_sepImmediate) {
        m_rcItem = m_sepNewPos;
        NeedParentUpdate();
        return;
    }
    if (m_manager == nullptr)
        return;
    // The band's old and new places, and the edge it started from.
    RECT invalid = oldBand;
    const RECT newBand = GetSeparatorRect(true);
    const RECT itemBand = GetSeparatorRect(false);
    UnionRect(&invalid, &invalid, &newBand);
    UnionRect(&invalid, &invalid, &itemBand);
    m_manager->Invalidate(invalid);
}

namespace {

CBoxLayoutUI& Box(IControlUI& control)
{
    return static_cast<CBoxLayoutUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"sepimm", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Box(c).SetSepImmediateMode(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable CBoxLayoutUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CBoxLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CBoxLayoutUI::DoPostPaint(HDC dc, const RECT&)
{
    if (m_sepCaptured && !m_sepImmediate)
        CRenderUtil::FillColor(dc, GetSeparatorRect(true), 0xAA000000);
}

}  // namespace Veneer
