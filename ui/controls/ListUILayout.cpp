// The list's body, scrolling (which the body does), scrolling the selected item into
// view, and the layout of the header, which gives the item style its columns.

#include <algorithm>

#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

const char* CListBodyUI::GetClass() const
{
    return "ListBodyUI";
}

void CListBodyUI::SetScrollPos(SIZE pos)
{
    const int old = GetScrollPos().cx;
    // Moving the items runs their handlers, which may destroy the list and this body.
    CControlWatch list(m_owner);
    CVerticalLayoutUI::SetScrollPos(pos);
    if (list && GetScrollPos().cx != old)
        m_owner->LayOutHeader();
}

void CListBodyUI::DoEvent(TUIEvent& event)
{
    if (m_owner != nullptr)
        m_owner->DoEvent(event);
    else
        CVerticalLayoutUI::DoEvent(event);
}

int CListUI::GetChildPadding() const
{
    return m_body.GetChildPadding();
}

void CListUI::SetChildPadding(int padding)
{
    m_body.SetChildPadding(padding);
}

bool CListUI::IsAutoDestroy() const
{
    return m_body.IsAutoDestroy();
}

void CListUI::SetAutoDestroy(bool destroy)
{
    m_body.SetAutoDestroy(destroy);
}

bool CListUI::IsDelayedDestroy() const
{
    return m_body.IsDelayedDestroy();
}

void CListUI::SetDelayedDestroy(bool delayed)
{
    m_body.SetDelayedDestroy(delayed);
}

int CListUI::FindSelectable(int index, bool forward) const
{
    return m_body.FindSelectable(index, forward);
}

SIZE CListUI::GetScrollPos() const
{
    return m_body.GetScrollPos();
}

SIZE CListUI::GetScrollRange() const
{
    return m_body.GetScrollRange();
}

void CListUI::SetScrollPos(SIZE pos)
{
    m_body.SetScrollPos(pos);
}

void CListUI::LineUp()
{
    m_body.LineUp();
}

void CListUI::LineDown()
{
    m_body.LineDown();
}

void CListUI::PageUp()
{
    m_body.PageUp();
}

void CListUI::PageDown()
{
    m_body.PageDown();
}

void CListUI::HomeUp()
{
    m_body.HomeUp();
}

void CListUI::EndDown()
{
    m_body.EndDown();
}

void CListUI::LineLeft()
{
    m_body.LineLeft();
}

void CListUI::LineRight()
{
    m_body.LineRight();
}

void CListUI::PageLeft()
{
    m_body.PageLeft();
}

void CListUI::PageRight()
{
    m_body.PageRight();
}

void CListUI::HomeLeft()
{
    m_body.HomeLeft();
}

void CListUI::EndRight()
{
    m_body.EndRight();
}

void CListUI::EnableScrollBar(bool vertical, bool horizontal)
{
    m_body.EnableScrollBar(vertical, horizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_body.GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_body.GetHorizontalScrollBar();
}

void CListUI::EnsureVisible(int index)
{
    if (m_list.GetCurSel() < 0)
        return;
    if (const CControlUI* item = m_body.GetItemAt(index))
        ScrollIntoView(m_body, item->GetPos());
}

void ScrollIntoView(CContainerUI& container, const RECT& rc)
{
    // The vertical bar narrows the area, which does not matter here; the horizontal one
    // shortens it.
    const RECT area = container.InnerRect(true);
    int dy = 0;
    if (rc.top < area.top)
        dy = rc.top - area.top;
    else if (rc.bottom > area.bottom)
        dy = rc.bottom - area.bottom;
    if (dy == 0)
        return;
    const SIZE pos = container.GetScrollPos();
    container.SetScrollPos(SIZE{pos.cx, pos.cy + dy});
}

void CListUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    CVerticalLayoutUI::SetPos(rc);
    if (self)
        LayOutHeader();
}

void CListUI::LayOutHeader()
{
    // The header's items give the columns, so a hidden header is laid out all the same,
    // its items shown for the while. They are laid out unscrolled, then moved in step with
    // the body's horizontal scrolling.
    CControlWatch self(this);
    const bool hidden = !m_header->IsVisible();
    RECT rc = m_header->GetPos();
    if (hidden) {
        const RECT inner = InnerRect(false);
        const SIZE size =
            m_header->EstimateSize(SIZE{inner.right - inner.left, inner.bottom - inner.top});
        rc = RECT{inner.left, inner.top, inner.right, inner.top + size.cy};
        ShowHeaderItems(true);
    }
    if (self)
        m_header->SetPos(rc);
    if (self)
        ShiftHeaderItems(m_body.GetScrollPos().cx);
    if (self)
        UpdateColumns();
    if (self && hidden)
        ShowHeaderItems(false);
}

void CListUI::ShowHeaderItems(bool shown)
{
    CControlWatch self(this);
    for (int i = 0; self && i < m_header->GetCount(); ++i)
        m_header->GetItemAt(i)->SetInternVisible(shown);
}

void CListUI::ShiftHeaderItems(int dx)
{
    if (dx == 0)
        return;
    CControlWatch self(this);
    for (int i = 0; self && i < m_header->GetCount(); ++i) {
        CControlUI* item = m_header->GetItemAt(i);
        if (!item->IsVisible() || item->IsFloat())
            continue;
        RECT rc = item->GetPos();
        OffsetRect(&rc, -dx, 0);
        item->SetPos(rc);
    }
}

void CListUI::UpdateColumns()
{
    m_style.columns = std::min(m_header->GetCount(), static_cast<int>(TListItemStyle::kMaxColumns));
    for (int i = 0; i < m_style.columns; ++i) {
        const CControlUI* item = m_header->GetItemAt(i);
        // A hidden column takes no room, rather than the place it had.
        m_style.columnRects[i] = item->IsVisible() && !item->IsFloat() ? item->GetPos() : RECT{};
    }
}

}  // namespace Veneer
