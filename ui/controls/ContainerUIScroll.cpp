// Scrolling a container: its two bars, the scroll steps, and the bars' share of layout.
// Children scroll by being moved, not by being laid out again.

#include <cstdlib>
#include <new>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

SIZE CContainerUI::GetScrollPos() const
{
    SIZE pos = {};
    if (IsScrollBarShown(m_horizontalScrollBar))
        pos.cx = m_horizontalScrollBar->GetScrollPos();
    if (IsScrollBarShown(m_verticalScrollBar))
        pos.cy = m_verticalScrollBar->GetScrollPos();
    return pos;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE range = {};
    if (IsScrollBarShown(m_horizontalScrollBar))
        range.cx = m_horizontalScrollBar->GetScrollRange();
    if (IsScrollBarShown(m_verticalScrollBar))
        range.cy = m_verticalScrollBar->GetScrollRange();
    return range;
}

void CContainerUI::SetScrollPos(SIZE pos)
{
    int dx = 0;
    int dy = 0;
    if (IsScrollBarShown(m_verticalScrollBar)) {
        const int old = m_verticalScrollBar->GetScrollPos();
        m_verticalScrollBar->SetScrollPos(pos.cy);
        dy = m_verticalScrollBar->GetScrollPos() - old;
    }
    if (IsScrollBarShown(m_horizontalScrollBar)) {
        const int old = m_horizontalScrollBar->GetScrollPos();
        m_horizontalScrollBar->SetScrollPos(pos.cx);
        dx = m_horizontalScrollBar->GetScrollPos() - old;
    }
    if (dx == 0 && dy == 0)
        return;
    // Moving a child runs its size handlers, which may change the list or destroy us.
    CControlWatch self(this);
    for (int i = 0; self && i < OwnCount(); ++i) {
        CControlUI* child = OwnItemAt(i);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        RECT rc = child->GetPos();
        OffsetRect(&rc, -dx, -dy);
        child->SetPos(rc);
    }
    if (self)
        Invalidate();
}

void CContainerUI::ScrollBy(int dx, int dy)
{
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{pos.cx + dx, pos.cy + dy});
}

int CContainerUI::LineStep() const
{
    if (m_manager == nullptr)
        return 8;
    return m_manager->GetDefaultFontEntry()->metrics.tmHeight + 8;
}

void CContainerUI::LineUp()
{
    ScrollBy(0, -LineStep());
}

void CContainerUI::LineDown()
{
    ScrollBy(0, LineStep());
}

int CContainerUI::PageStep(bool vertical) const
{
    const RECT inner = InnerRect(false);
    if (vertical) {
        const int page = inner.bottom - inner.top;
        return IsScrollBarShown(m_horizontalScrollBar)
                   ? page - m_horizontalScrollBar->GetFixedHeight()
                   : page;
    }
    const int page = inner.right - inner.left;
    return IsScrollBarShown(m_verticalScrollBar) ? page - m_verticalScrollBar->GetFixedWidth()
                                                 : page;
}

void CContainerUI::PageUp()
{
    ScrollBy(0, -PageStep(true));
}

void CContainerUI::PageDown()
{
    ScrollBy(0, PageStep(true));
}

void CContainerUI::HomeUp()
{
    SetScrollPos(SIZE{GetScrollPos().cx, 0});
}

void CContainerUI::EndDown()
{
    SetScrollPos(SIZE{GetScrollPos().cx, GetScrollRange().cy});
}

void CContainerUI::LineLeft()
{
    ScrollBy(-8, 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(8, 0);
}

void CContainerUI::PageLeft()
{
    ScrollBy(-PageStep(false), 0);
}

void CContainerUI::PageRight()
{
    ScrollBy(PageStep(false), 0);
}

void CContainerUI::HomeLeft()
{
    SetScrollPos(SIZE{0, GetScrollPos().cy});
}

void CContainerUI::EndRight()
{
    SetScrollPos(SIZE{GetScrollRange().cx, GetScrollPos().cy});
}

namespace {

// Deletes a bar asked off, or makes one asked on, dressed with the window's default list.
void EnableBar(CContainerUI* owner, CScrollBarUI*& bar, bool enable, bool horizontal)
{
    if (!enable) {
        delete bar;
        bar = nullptr;
        return;
    }
    if (bar != nullptr)
        return;
    bar = new (std::nothrow) CScrollBarUI;
    if (bar == nullptr)
        return;
    if (horizontal)
        bar->SetHorizontal(true);
    bar->SetOwner(owner);
    CWindowManagerUI* manager = owner->GetManager();
    bar->SetManager(manager, nullptr, false);
    if (manager != nullptr)
        bar->ApplyAttributeList(
            manager->FindDefaultAttributes(horizontal ? "HScrollBar" : "VScrollBar"));
}

}  // namespace

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal)
{
    EnableBar(this, m_verticalScrollBar, vertical, false);
    EnableBar(this, m_horizontalScrollBar, horizontal, true);
    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_verticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_horizontalScrollBar;
}

void CContainerUI::ProcessScrollBar(RECT rc, int, int cyRequired)
{
    CScrollBarUI* horizontal = m_horizontalScrollBar;
    if (IsScrollBarShown(horizontal))
        horizontal->SetPos(
            RECT{rc.left, rc.bottom, rc.right, rc.bottom + horizontal->GetFixedHeight()});
    CScrollBarUI* vertical = m_verticalScrollBar;
    if (vertical == nullptr)
        return;
    const int height = rc.bottom - rc.top;
    if (cyRequired > height && !vertical->IsVisible()) {
        // Shown: the children are laid out again, narrowed by the bar.
        vertical->SetVisible(true);
        vertical->SetScrollRange(cyRequired - height);
        vertical->SetScrollPos(0);
        m_scrollProcessing = true;
        SetPos(m_rcItem);
        m_scrollProcessing = false;
        return;
    }
    if (!vertical->IsVisible())
        return;
    const int overflow = cyRequired - height;
    if (overflow <= 0 && !m_scrollProcessing) {
        vertical->SetVisible(false);
        vertical->SetScrollPos(0);
        vertical->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }
    vertical->SetPos(RECT{rc.right, rc.top, rc.right + vertical->GetFixedWidth(), rc.bottom});
    if (vertical->GetScrollRange() == overflow)
        return;
    const int last = vertical->GetScrollPos();
    vertical->SetScrollRange(std::abs(overflow));
    if (vertical->GetScrollRange() == 0) {
        vertical->SetVisible(false);
        vertical->SetScrollPos(0);
    }
    // The position was clamped to the smaller range: the children must follow.
    if (vertical->GetScrollPos() < last)
        SetPos(m_rcItem);
}

}  // namespace Veneer
