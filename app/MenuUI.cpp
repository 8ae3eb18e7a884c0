#include "app/MenuUI.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/MenuWnd.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// The visible children of a child list, the widest by the sum of their heights.
SIZE StackedSize(const IContainerUI& children, SIZE available)
{
    SIZE size = {};
    for (int i = 0; i < children.GetCount(); ++i) {
        CControlUI* child = AsControl(children.GetItemAt(i));
        if (child == nullptr || !child->IsVisible())
            continue;
        const SIZE one = child->EstimateSize(available);
        size.cx = std::max(size.cx, one.cx);
        size.cy += one.cy;
    }
    return size;
}

}  // namespace

CMenuUI::CMenuUI()
{
    // An empty header would still take a line above the entries.
    GetHeader()->SetVisible(false);
}

const char* CMenuUI::GetClass() const
{
    return "MenuUI";
}

void* CMenuUI::GetInterface(const char* name)
{
    if (name != nullptr && _stricmp(name, "Menu") == 0)
        return this;
    return CListUI::GetInterface(name);
}

bool CMenuUI::Add(IControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CMenuUI::AddAt(IControlUI* control, int index)
{
    if (!IsMenuElement(control))
        return false;
    IContainerUI* nested = AsContainer(control);
    for (int i = 0; nested != nullptr && i < nested->GetCount(); ++i) {
        if (IsMenuElement(nested->GetItemAt(i)))
            AsControl(nested->GetItemAt(i))->SetInternVisible(false);
    }
    return CListUI::AddAt(control, index);
}

int CMenuUI::GetItemIndex(IControlUI* control) const
{
    return IsMenuElement(control) ? CListUI::GetItemIndex(control) : -1;
}

bool CMenuUI::SetItemIndex(IControlUI* control, int index)
{
    return IsMenuElement(control) && CListUI::SetItemIndex(control, index);
}

bool CMenuUI::Remove(IControlUI* control)
{
    return IsMenuElement(control) && CListUI::Remove(control);
}

SIZE CMenuUI::EstimateSize(SIZE available)
{
    return StackedSize(*this, available);
}

CMenuElementUI::CMenuElementUI()
{
    m_fixedSize.cy = kItemHeight;
}

const char* CMenuElementUI::GetClass() const
{
    return "MenuElementUI";
}

void* CMenuElementUI::GetInterface(const char* name)
{
    if (name != nullptr && _stricmp(name, "MenuElement") == 0)
        return this;
    return CListContainerElementUI::GetInterface(name);
}

void CMenuElementUI::DoPaint(HDC dc, const RECT& paint)
{
    if (!IntersectRect(&m_rcPaint, &paint, &m_rcItem))
        return;
    DrawItemBk(dc);
    DrawItemText(dc, m_rcItem);
    CClipToRect clip(dc, m_rcPaint);
    for (int i = 0; i < OwnCount(); ++i) {
        CControlUI* child = OwnItemAt(i);
        if (child->IsVisible() && !IsMenuElement(child))
            child->DoPaint(dc, m_rcPaint);
    }
}

void CMenuElementUI::DrawItemText(HDC dc, const RECT& rc)
{
    if (m_text.IsEmpty() || m_owner == nullptr)
        return;
    const TListItemStyle& style = *m_owner->GetListInfo();
    RECT text = {rc.left + style.textPadding.left, rc.top + style.textPadding.top,
                 rc.right - style.textPadding.right, rc.bottom - style.textPadding.bottom};
    const UINT format = style.textStyle | DT_SINGLELINE;
    const DWORD color = StateTextColor(style);
    if (style.showHtml) {
        int links = 0;
        CRenderUtil::DrawMarkupText(dc, m_manager, text, m_text, color, nullptr, nullptr, links,
                                    format);
    } else {
        CRenderUtil::DrawPlainText(dc, m_manager, text, m_text, color, style.font, format);
    }
}

SIZE CMenuElementUI::EstimateSize(SIZE available)
{
    SIZE size = StackedSize(*this, available);
    if (size.cy == 0)
        size = MeasureText(available);
    if (m_fixedSize.cy != 0)
        size.cy = m_fixedSize.cy;
    return size;
}

SIZE CMenuElementUI::MeasureText(SIZE available)
{
    if (m_owner == nullptr || m_manager == nullptr)
        return SIZE{};
    const TListItemStyle& style = *m_owner->GetListInfo();
    const RECT& padding = style.textPadding;
    RECT rc = {0, 0, std::max(m_fixedSize.cx, available.cx) - padding.left - padding.right, 9999};
    const UINT format = style.textStyle | DT_SINGLELINE | DT_CALCRECT;
    const HDC dc = m_manager->GetPaintDC();
    if (style.showHtml) {
        int links = 0;
        CRenderUtil::DrawMarkupText(dc, m_manager, rc, m_text, 0, nullptr, nullptr, links, format);
    } else {
        CRenderUtil::DrawPlainText(dc, m_manager, rc, m_text, 0, style.font, format);
    }
    return SIZE{rc.right - rc.left + padding.left + padding.right + 20,
                rc.bottom - rc.top + padding.top + padding.bottom};
}

void CMenuElementUI::DoEvent(TUIEvent& event)
{
    if (event.type != TUIEventType::MouseEnter && event.type != TUIEventType::ButtonDown) {
        CListContainerElementUI::DoEvent(event);
        return;
    }
    if (event.type == TUIEventType::ButtonDown && !IsEnabled())
        return;
    // The list item's own handling sends "itemclick", whose receivers may destroy us.
    CControlWatch self(this);
    CListContainerElementUI::DoEvent(event);
    if (!self || m_submenu != nullptr)
        return;
    if (event.type == TUIEventType::ButtonDown) {
        Choose();
        return;
    }
    // A disabled entry opens nothing, but a submenu of a sibling still closes.
    const bool nested = IsEnabled() && ShowNestedItems();
    if (!nested)
        CloseMenus(kCloseMenusBelow);
    if (!self || m_owner == nullptr)
        return;
    m_owner->SelectItem(m_index, true);
    if (self && nested)
        OpenSubmenu();
}

bool CMenuElementUI::Activate()
{
    CControlWatch self(this);
    if (!CListContainerElementUI::Activate() || !self || !IsSelected())
        return false;
    if (m_submenu == nullptr)
        Choose();
    return true;
}

void CMenuElementUI::Choose()
{
    if (ShowNestedItems())
        OpenSubmenu();
    else
        CloseMenus(kCloseEveryMenu);
}

bool CMenuElementUI::ShowNestedItems()
{
    bool any = false;
    for (int i = 0; i < OwnCount(); ++i) {
        CControlUI* child = OwnItemAt(i);
        if (!IsMenuElement(child))
            continue;
        child->SetVisible(true);
        child->SetInternVisible(true);
        any = true;
    }
    return any;
}

void CMenuElementUI::CloseMenus(unsigned code)
{
    if (m_manager != nullptr)
        MenuObserver.BroadcastReverse(ContextMenuParam{code, m_manager->GetPaintWindow()});
}

void CMenuElementUI::OpenSubmenu()
{
    if (m_submenu != nullptr || m_manager == nullptr)
        return;
    const HWND window = m_manager->GetPaintWindow();
    CMenuWnd* submenu = new (std::nothrow) CMenuWnd(window);
    if (submenu == nullptr)
        return;
    m_submenu = submenu;
    MenuObserver.BroadcastReverse(ContextMenuParam{kCloseMenusBelow, window});
    submenu->Init(this, "", nullptr, POINT{0, 0});
}

void CMenuElementUI::OnSubmenuClosed()
{
    m_submenu = nullptr;
    m_buttonState &= ~UISTATE_PUSHED;
    Invalidate();
}

IControlUI* CMenuBuilderCallback::CreateControl(const char* className)
{
    if (_stricmp(className, "Menu") == 0)
        return new (std::nothrow) CMenuUI;
    if (_stricmp(className, "MenuElement") == 0)
        return new (std::nothrow) CMenuElementUI;
    return nullptr;
}

}  // namespace Veneer
