// The combo: its items and selection, keys and the mouse, and its face. The drop-down's
// window is in ComboWnd.cpp, the skin attributes in ComboUIAttributes.cpp.

#include "ui/controls/ComboUI.h"

#include <cstring>

#include "ui/controls/ComboWnd.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

CComboUI::CComboUI() = default;

CComboUI::~CComboUI()
{
    if (m_window != nullptr)
        m_window->Dismiss();
}

const char* CComboUI::GetClass() const
{
    return "ComboUI";
}

void* CComboUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "Combo") == 0)
        return this;
    if (std::strcmp(name, "IListOwner") == 0)
        return static_cast<IListOwnerUI*>(this);
    if (std::strcmp(name, "IContainer") == 0)
        return static_cast<IContainerUI*>(this);
    return CControlUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const
{
    return IsKeyboardEnabled() ? UINT{UIFLAG_TABSTOP} : 0;
}

CUIString CComboUI::GetText() const
{
    const CControlUI* item = GetItemAt(m_list.GetCurSel());
    return item != nullptr ? item->GetText() : CUIString();
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_window != nullptr)
        return true;
    // Focus handlers and the receivers may destroy the combo.
    CControlWatch self(this);
    SetFocus();
    if (!self || !CComboWnd::Open(this))
        return false;
    Invalidate();
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "dropdown");
    return true;
}

void CComboUI::CloseDropDown()
{
    if (m_window != nullptr)
        m_window->Dismiss();
}

HWND CComboUI::GetDropDownWindow() const
{
    return m_window != nullptr ? m_window->GetHWND() : nullptr;
}

void CComboUI::DropDownClosed()
{
    m_window = nullptr;
    for (int i = 0; i < GetCount(); ++i)
        TakeBack(GetItemAt(i));
    Invalidate();
}

void CComboUI::TakeBack(CControlUI* item)
{
    item->SetManager(m_manager, &m_holder, false);
}

bool CComboUI::SetItemIndex(IControlUI* control, int index)
{
    if (!m_list.Move(control, index))
        return false;
    if (m_window != nullptr)
        m_window->MoveItem(AsControl(control), index);
    return true;
}

bool CComboUI::Add(IControlUI* control)
{
    return Insert(AsControl(control), GetCount());
}

bool CComboUI::AddAt(IControlUI* control, int index)
{
    return Insert(AsControl(control), index);
}

bool CComboUI::Insert(CControlUI* child, int index)
{
    IListItemUI* item = AsListItem(child);
    const CListItems::TChange change = m_list.Insert(child, index);
    if (change != CListItems::TChange::Done)
        return change == CListItems::TChange::OwnerGone;
    // The combo never shows its items itself: whether they show in the list is theirs.
    child->SetInternVisible(true);
    if (m_window != nullptr)
        m_window->ShowItem(child, index);
    // An item selected before it joined (its "selected" attribute) becomes the selection.
    if (item != nullptr && item->IsSelected())
        SelectItem(index);
    return true;
}

bool CComboUI::Remove(IControlUI* control)
{
    CControlUI* child = AsControl(control);
    const int index = GetItemIndex(child);
    if (index < 0)
        return false;
    if (m_window != nullptr)
        m_window->HideItem(child);
    if (m_list.RemoveAt(index) == CListItems::TChange::SelectionLost) {
        Invalidate();
        SelectItem(m_holder.FindSelectable(index, false));
    }
    return true;
}

bool CComboUI::RemoveAt(int index)
{
    CControlUI* item = GetItemAt(index);
    return item != nullptr && Remove(item);
}

void CComboUI::RemoveAll()
{
    CloseDropDown();
    Invalidate();
    m_list.RemoveAll();
}

bool CComboUI::SelectItem(int index, bool)
{
    const int previous = m_list.GetCurSel();
    if (index == previous)
        return true;
    Invalidate();
    // Items, the open list's layout and the receivers of "itemselect" may destroy the combo.
    CControlWatch self(this);
    if (m_list.Select(self, index) == nullptr)
        return false;
    if (m_window != nullptr)
        m_window->EnsureVisible(index);
    if (!self)
        return false;
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "itemselect", static_cast<WPARAM>(index),
                              static_cast<LPARAM>(previous));
    return true;
}

bool CComboUI::SelectByKey(char key)
{
    const int current = m_list.GetCurSel();
    int next = -1;
    switch (key) {
    case VK_UP:
        next = m_holder.FindSelectable(current - 1, false);
        break;
    case VK_DOWN:
        next = m_holder.FindSelectable(current + 1, true);
        break;
    case VK_HOME:
        next = m_holder.FindSelectable(0, true);
        break;
    case VK_END:
        next = m_holder.FindSelectable(GetCount() - 1, false);
        break;
    default:
        return false;
    }
    // Past either end the selection stays.
    if (next >= 0)
        SelectItem(next);
    return true;
}

void CComboUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    switch (event.type) {
    case TUIEventType::KillFocus:
        CloseDropDown();
        Invalidate();
        break;
    case TUIEventType::SetFocus:
        Invalidate();
        break;
    case TUIEventType::KeyDown:
        if (m_window != nullptr &&
            (event.key == VK_RETURN || event.key == VK_ESCAPE || event.key == VK_F4)) {
            m_window->CloseLater();
            return;
        }
        if (m_window == nullptr && event.key == VK_F4) {
            Activate();
            return;
        }
        if (SelectByKey(event.key))
            return;
        break;
    case TUIEventType::ScrollWheel:
        SelectByKey(event.wParam == UIWHEEL_AWAY ? VK_UP : VK_DOWN);
        return;
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick:
        // A click on the face closes the list it opened.
        if (m_window != nullptr)
            CloseDropDown();
        else if (IsEnabled())
            Activate();
        return;
    case TUIEventType::ButtonUp:
    case TUIEventType::MouseMove:
        return;
    case TUIEventType::MouseEnter:
    case TUIEventType::MouseLeave:
        if (IsEnabled()) {
            m_buttonState = event.type == TUIEventType::MouseEnter ? UINT{UISTATE_HOT} : 0;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    CloseDropDown();
    m_holder.SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

void CComboUI::SetVisible(bool visible)
{
    if (!visible)
        CloseDropDown();
    CControlUI::SetVisible(visible);
}

void CComboUI::SetInternVisible(bool visible)
{
    if (!visible)
        CloseDropDown();
    CControlUI::SetInternVisible(visible);
}

void CComboUI::SetEnabled(bool enabled)
{
    if (!enabled) {
        CloseDropDown();
        m_buttonState = 0;
    }
    CControlUI::SetEnabled(enabled);
}

IControlUI* CComboUI::FindControl(FindControlProc proc, void* data, UINT flags)
{
    // Searches for what the window shows (the mouse, tab stops, shortcuts) end at the
    // combo; others (names) reach its items, in a container's order.
    if ((flags & (UIFIND_VISIBLE | UIFIND_HITTEST)) != 0)
        return CControlUI::FindControl(proc, data, flags);
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled())
        return nullptr;
    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    if (meFirst) {
        if (IControlUI* found = CControlUI::FindControl(proc, data, flags))
            return found;
    }
    const int count = GetCount();
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (int i = 0; i < count; ++i) {
        if (IControlUI* found =
                GetItemAt(topFirst ? count - 1 - i : i)->FindControl(proc, data, flags))
            return found;
    }
    return meFirst ? nullptr : CControlUI::FindControl(proc, data, flags);
}

void CComboUI::PaintStatusImage(HDC dc)
{
    UINT state = m_buttonState;
    if (!IsEnabled())
        state |= UISTATE_DISABLED;
    if (m_window != nullptr)
        state |= UISTATE_PUSHED;
    if (IsFocused())
        state |= UISTATE_FOCUSED;
    // The first state the combo is in decides.
    auto image = [this](TButtonImage state) { return &m_images[static_cast<int>(state)]; };
    DrawStateImage(dc, state,
                   {{UISTATE_DISABLED, image(TButtonImage::Disabled)},
                    {UISTATE_PUSHED, image(TButtonImage::Pushed)},
                    {UISTATE_HOT, image(TButtonImage::Hot)},
                    {UISTATE_FOCUSED, image(TButtonImage::Focused)}},
                   *image(TButtonImage::Normal));
}

void CComboUI::PaintText(HDC dc)
{
    IListItemUI* item = AsListItem(GetItemAt(m_list.GetCurSel()));
    if (item == nullptr)
        return;
    const RECT rc = {m_rcItem.left + m_textPadding.left, m_rcItem.top + m_textPadding.top,
                     m_rcItem.right - m_textPadding.right, m_rcItem.bottom - m_textPadding.bottom};
    item->DrawItemText(dc, rc);
}

SIZE CComboUI::EstimateSize(SIZE)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr)
        return m_fixedSize;
    const int line = m_manager->GetFontEntry(m_style.font)->metrics.tmHeight;
    const int paddings = m_textPadding.top + m_textPadding.bottom + m_style.textPadding.top +
                         m_style.textPadding.bottom;
    return SIZE{m_fixedSize.cx, line + paddings + 8};
}

}  // namespace Veneer
