// The container's child list, geometry, search, events and attributes. Scrolling is in
// ContainerUIScroll.cpp, painting in ContainerUIPaint.cpp.

#include "ui/controls/ContainerUI.h"

#include <cstring>
#include <initializer_list>

#include "ui/controls/LayoutChildren.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"
#include "ui/core/Win32Util.h"

namespace Veneer {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    m_delayedDestroy = false;
    RemoveAll();
    delete m_verticalScrollBar;
    delete m_horizontalScrollBar;
}

const char* CContainerUI::GetClass() const
{
    return "ContainerUI";
}

void* CContainerUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "IContainer") == 0)
        return static_cast<IContainerUI*>(this);
    if (std::strcmp(name, "Container") == 0)
        return this;
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    return OwnItemAt(index);
}

int CContainerUI::GetItemIndex(IControlUI* control) const
{
    return OwnIndexOf(control);
}

int CContainerUI::OwnIndexOf(IControlUI* control) const
{
    return control != nullptr ? m_items.Find(AsControl(control)) : -1;
}

bool CContainerUI::SetItemIndex(IControlUI* control, int index)
{
    const int from = OwnIndexOf(control);
    if (from < 0 || index < 0 || index >= OwnCount())
        return false;
    // Taken out and put back in a block of the same size: this cannot fail.
    m_items.Remove(from);
    m_items.InsertAt(index, AsControl(control));
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const
{
    return OwnCount();
}

bool CContainerUI::Add(IControlUI* control)
{
    CControlUI* child = AsControl(control);
    return child != nullptr && Insert(child, OwnCount());
}

bool CContainerUI::AddAt(IControlUI* control, int index)
{
    CControlUI* child = AsControl(control);
    if (child == nullptr || index < 0 || index > OwnCount())
        return false;
    return Insert(child, index);
}

bool CContainerUI::Insert(CControlUI* child, int index)
{
    // A control held twice would be deleted twice.
    if (child == this || m_items.Find(child) >= 0)
        return false;
    // In the list before it is attached: a refused insertion leaves the control untouched
    // (not named in the window) for the caller to keep.
    if (!m_items.InsertAt(index, child))
        return false;
    if (m_manager != nullptr) {
        CControlWatch self(this);
        CControlWatch watch(child);
        child->SetManager(m_manager, this, true);  // its initialisation runs handlers
        if (!self || !watch)
            return true;
        m_manager->RegisterNames(child);
    }
    if (!IsVisible())
        child->SetInternVisible(false);
    else
        NeedUpdate();
    return true;
}

bool CContainerUI::Remove(IControlUI* control)
{
    const int index = OwnIndexOf(control);
    if (index < 0)
        return false;
    NeedUpdate();
    // Out of the list first: its destruction runs handlers that may walk the list.
    m_items.Remove(index);
    Dispose(AsControl(control));
    return true;
}

bool CContainerUI::RemoveAt(int index)
{
    CControlUI* child = OwnItemAt(index);
    return child != nullptr && Remove(child);
}

void CContainerUI::RemoveAll()
{
    // From the end: each removal is then free of shifting, even for thousands of children.
    while (!m_items.IsEmpty()) {
        const int last = m_items.GetSize() - 1;
        CControlUI* child = OwnItemAt(last);
        m_items.Remove(last);
        Dispose(child);
    }
    NeedUpdate();
}

void CContainerUI::Dispose(CControlUI* child)
{
    if (!m_autoDestroy)
        return;
    if (m_delayedDestroy && m_manager != nullptr)
        m_manager->AddDelayedCleanup(child);
    else
        delete child;
}

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT inset)
{
    m_rcInset = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_childPadding;
}

void CContainerUI::SetChildPadding(int padding)
{
    m_childPadding = padding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_autoDestroy;
}

void CContainerUI::SetAutoDestroy(bool destroy)
{
    m_autoDestroy = destroy;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_delayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool delayed)
{
    m_delayedDestroy = delayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_mouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool enabled)
{
    m_mouseChildEnabled = enabled;
}

int CContainerUI::FindSelectable(int index, bool forward) const
{
    const int count = OwnCount();
    if (count == 0)
        return -1;
    index = index < 0 ? 0 : (index >= count ? count - 1 : index);
    const int step = forward ? 1 : -1;
    for (int i = index; i >= 0 && i < count; i += step) {
        CControlUI* child = OwnItemAt(i);
        if (child->GetInterface("ListItem") != nullptr && child->IsVisible() && child->IsEnabled())
            return i;
    }
    return forward ? -1 : CContainerUI::FindSelectable(0, true);
}

void CContainerUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    for (int i = 0; i < OwnCount(); ++i)
        OwnItemAt(i)->SetManager(manager, this, init);
    if (m_verticalScrollBar != nullptr)
        m_verticalScrollBar->SetManager(manager, this, init);
    if (m_horizontalScrollBar != nullptr)
        m_horizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < OwnCount(); ++i)
        OwnItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (int i = 0; i < OwnCount(); ++i)
        OwnItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (m_verticalScrollBar != nullptr)
        m_verticalScrollBar->SetMouseEnabled(enabled);
    if (m_horizontalScrollBar != nullptr)
        m_horizontalScrollBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

RECT CContainerUI::InnerRect(bool withBars) const
{
    RECT rc = {NarrowSum(std::int64_t{m_rcItem.left} + m_rcInset.left),
               NarrowSum(std::int64_t{m_rcItem.top} + m_rcInset.top),
               NarrowSum(std::int64_t{m_rcItem.right} - m_rcInset.right),
               NarrowSum(std::int64_t{m_rcItem.bottom} - m_rcInset.bottom)};
    if (!withBars)
        return rc;
    if (IsScrollBarShown(m_verticalScrollBar))
        rc.right = NarrowSum(std::int64_t{rc.right} - m_verticalScrollBar->GetFixedWidth());
    if (IsScrollBarShown(m_horizontalScrollBar))
        rc.bottom = NarrowSum(std::int64_t{rc.bottom} - m_horizontalScrollBar->GetFixedHeight());
    return rc;
}

bool CContainerUI::IsScrollBarShown(const CScrollBarUI* bar) const
{
    return bar != nullptr && bar->IsVisible();
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty())
        return;
    const RECT inner = InnerRect(false);
    CLayoutChildren children(this);
    for (int i = 0; i < children.GetCount(); ++i) {
        if (!PlaceOutOfFlow(children, i))
            children.Place(i, ToLayoutRect(inner));
    }
}

void CContainerUI::SetFloatPos(int index)
{
    CControlUI* child = OwnItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat())
        return;
    const TRelativePosUI relative = child->GetRelativePos();
    TFloatChild floating;
    floating.fixedXY = ToLayoutSize(child->GetFixedXY());
    floating.fixedSize = {child->GetFixedWidth(), child->GetFixedHeight()};
    floating.relative = relative.relative;
    floating.reference = ToLayoutSize(relative.parentSize);
    floating.movePercent = {relative.moveXPercent, relative.moveYPercent};
    floating.zoomPercent = {relative.zoomXPercent, relative.zoomYPercent};
    const RECT rc = ToRect(PlaceFloatingChild(ToLayoutRect(m_rcItem), floating));
    if (relative.relative)
        child->SetRelativeParentSize(SIZE{GetWidth(), GetHeight()});
    child->SetPos(rc);
}

IControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, UINT flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible())
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled())
        return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    const POINT* pt = static_cast<const POINT*>(data);
    if (hitTest && !PtInRect(&m_rcItem, *pt))
        return nullptr;
    for (CScrollBarUI* bar : {m_verticalScrollBar, m_horizontalScrollBar}) {
        if (bar == nullptr)
            continue;
        if (IControlUI* found = bar->FindControl(proc, data, flags))
            return found;
    }
    if (hitTest && !m_mouseChildEnabled)
        return CControlUI::FindControl(proc, data, flags);
    if ((flags & UIFIND_ME_FIRST) != 0) {
        if (IControlUI* found = CControlUI::FindControl(proc, data, flags))
            return found;
    }
    // Children lying in the inset or under a bar are hidden there, unless they float.
    const RECT inner = InnerRect(true);
    // The mouse's hot path: every move tests every child of the containers under it.
    void* const* items = m_items.GetData();
    const int count = OwnCount();
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (int i = 0; i < count; ++i) {
        CControlUI* child = static_cast<CControlUI*>(items[topFirst ? count - 1 - i : i]);
        IControlUI* found = child->FindControl(proc, data, flags);
        if (found == nullptr)
            continue;
        if (!hitTest || child->IsFloat() || PtInRect(&inner, *pt))
            return found;
    }
    if ((flags & UIFIND_ME_FIRST) == 0)
        return CControlUI::FindControl(proc, data, flags);
    return nullptr;
}

void CContainerUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    if (event.type == TUIEventType::SetFocus) {
        m_focused = true;
        return;
    }
    if (event.type == TUIEventType::KillFocus) {
        m_focused = false;
        return;
    }
    // Keys and the wheel scroll the vertical bar, or else the horizontal one.
    const bool vertical = IsScrollBarShown(m_verticalScrollBar) && m_verticalScrollBar->IsEnabled();
    const bool horizontal =
        IsScrollBarShown(m_horizontalScrollBar) && m_horizontalScrollBar->IsEnabled();
    if (vertical || horizontal) {
        using Step = void (CContainerUI::*)();
        Step step = nullptr;
        if (event.type == TUIEventType::KeyDown) {
            switch (event.key) {
            case VK_PRIOR:
                step = vertical ? &CContainerUI::PageUp : &CContainerUI::PageLeft;
                break;
            case VK_NEXT:
                step = vertical ? &CContainerUI::PageDown : &CContainerUI::PageRight;
                break;
            case VK_END:
                step = vertical ? &CContainerUI::EndDown : &CContainerUI::EndRight;
                break;
            case VK_HOME:
                step = vertical ? &CContainerUI::HomeUp : &CContainerUI::HomeLeft;
                break;
            case VK_UP:
                step = vertical ? &CContainerUI::LineUp : &CContainerUI::LineLeft;
                break;
            case VK_DOWN:
                step = vertical ? &CContainerUI::LineDown : &CContainerUI::LineRight;
                break;
            default:
                break;
            }
        } else if (event.type == TUIEventType::ScrollWheel && IsWheelTurn(event.wParam)) {
            if (event.wParam == UIWHEEL_AWAY)
                step = vertical ? &CContainerUI::LineUp : &CContainerUI::LineLeft;
            else
                step = vertical ? &CContainerUI::LineDown : &CContainerUI::LineRight;
        }
        if (step != nullptr) {
            (this->*step)();
            return;
        }
    }
    CControlUI::DoEvent(event);
}

namespace {

CContainerUI& Container(IControlUI& control)
{
    return static_cast<CContainerUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"inset", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Container(c).SetInset(ToRect(ParseRect(v))); }},
    {"mousechild", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Container(c).SetMouseChildEnabled(ParseBoolean(v)); }},
    {"vscrollbar", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         CContainerUI& box = Container(c);
         box.EnableScrollBar(ParseBoolean(v), box.GetHorizontalScrollBar() != nullptr);
     }},
    {"vscrollbarstyle", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         CContainerUI& box = Container(c);
         box.EnableScrollBar(true, box.GetHorizontalScrollBar() != nullptr);
         if (CScrollBarUI* bar = box.GetVerticalScrollBar())
             bar->ApplyAttributeList(v);
     }},
    {"hscrollbar", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         CContainerUI& box = Container(c);
         box.EnableScrollBar(box.GetVerticalScrollBar() != nullptr, ParseBoolean(v));
     }},
    {"hscrollbarstyle", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         CContainerUI& box = Container(c);
         box.EnableScrollBar(box.GetVerticalScrollBar() != nullptr, true);
         if (CScrollBarUI* bar = box.GetHorizontalScrollBar())
             bar->ApplyAttributeList(v);
     }},
    {"childpadding", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Container(c).SetChildPadding(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CContainerUI::kAttributeTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CContainerUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
