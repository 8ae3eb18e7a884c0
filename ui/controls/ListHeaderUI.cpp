#include "ui/controls/ListHeaderUI.h"

#include <algorithm>
#include <cstring>

#include "ui/core/AttributeValue.h"

namespace Veneer {

const char* CListHeaderUI::GetClass() const
{
    return "ListHeaderUI";
}

void* CListHeaderUI::GetInterface(const char* name)
{
    return std::strcmp(name, "ListHeader") == 0 ? this : CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::EstimateSize(SIZE available)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr)
        return m_fixedSize;
    int height = m_manager->GetDefaultFontEntry()->metrics.tmHeight + 6;
    for (int i = 0; i < OwnCount(); ++i) {
        CControlUI* item = OwnItemAt(i);
        if (item->IsVisible() && !item->IsFloat())
            height = std::max(height, static_cast<int>(item->EstimateSize(available).cy));
    }
    return SIZE{m_fixedSize.cx, height};
}

void CListHeaderUI::NeedUpdate()
{
    CHorizontalLayoutUI::NeedUpdate();
    if (m_parent != nullptr)
        m_parent->NeedUpdate();
}

const char* CListHeaderItemUI::GetClass() const
{
    return "ListHeaderItemUI";
}

void* CListHeaderItemUI::GetInterface(const char* name)
{
    return std::strcmp(name, "ListHeaderItem") == 0 ? this : CControlUI::GetInterface(name);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() ? UINT{UIFLAG_SETCURSOR} : 0;
}

bool CListHeaderItemUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "headerclick");
    return true;
}

void CListHeaderItemUI::SetDragable(bool dragable)
{
    m_dragable = dragable;
    if (!dragable)
        m_dragging = false;
}

void CListHeaderItemUI::SetSepImage(const char* image)
{
    m_sepImage = image;
    Invalidate();
}

RECT CListHeaderItemUI::GetSeparatorRect() const
{
    RECT rc = m_rcItem;
    if (m_sepWidth >= 0)
        rc.left = std::max(rc.right - m_sepWidth, rc.left);
    else
        rc.right = std::min(rc.left - m_sepWidth, rc.right);
    return rc;
}

bool CListHeaderItemUI::IsOnSeparator(POINT pt) const
{
    const RECT band = GetSeparatorRect();
    return m_dragable && m_sepWidth != 0 && PtInRect(&band, pt);
}

void CListHeaderItemUI::DragTo(int x)
{
    const int dx = x - m_lastX;
    m_lastX = x;
    // A band at the right edge widens the column as it moves right; at the left, as it
    // moves left.
    // Moves between two layouts add up on the fixed width.
    const int from = m_fixedSize.cx > 0 ? m_fixedSize.cx : GetWidth();
    const int width = from + (m_sepWidth > 0 ? dx : -dx);
    const int clamped = std::max(GetMinWidth(), std::min(GetMaxWidth(), std::max(width, 0)));
    if (clamped != from)
        SetFixedWidth(clamped);
}

void CListHeaderItemUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    switch (event.type) {
    case TUIEventType::SetCursor:
        if (!IsOnSeparator(event.mouse))
            break;
        ::SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return;
    case TUIEventType::ButtonDown:
        if (!IsEnabled() || !IsOnSeparator(event.mouse))
            break;
        m_dragging = true;
        m_lastX = event.mouse.x;
        return;
    case TUIEventType::MouseMove:
        if (!m_dragging)
            break;
        DragTo(event.mouse.x);
        return;
    case TUIEventType::ButtonUp:
        if (!m_dragging)
            break;
        m_dragging = false;
        return;
    default:
        break;
    }
    CButtonUI::DoEvent(event);
}

namespace {

CListHeaderItemUI& HeaderItem(IControlUI& control)
{
    return static_cast<CListHeaderItemUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"dragable", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { HeaderItem(c).SetDragable(ParseBoolean(v)); }},
    {"sepwidth", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { HeaderItem(c).SetSepWidth(ParseInteger(v)); }},
    {"sepimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { HeaderItem(c).SetSepImage(v); }},
};

}  // namespace

const TAttributeTable CListHeaderItemUI::kAttributeTable =
    MakeAttributeTable(&CButtonUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CListHeaderItemUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CListHeaderItemUI::PaintStatusImage(HDC dc)
{
    CButtonUI::PaintStatusImage(dc);
    if (m_sepWidth == 0 || m_sepImage.IsEmpty())
        return;
    DrawImage(dc, m_sepImage, DestModifier(GetSeparatorRect()));
}

}  // namespace Veneer
