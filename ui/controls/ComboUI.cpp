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
    return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const
{
    return IsKeyboardEnabled() ? UINT{UIFLAG_TABSTOP} : 0;
}

CUIString CComboUI::GetText() const
{
    const CControlUI* item = GetItemAt(m_curSel);
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
    for (int i = 0; i < OwnCount(); ++i)
        OwnItemAt(i)->SetManager(m_manager, this, false);
    Invalidate();
}

bool CComboUI::SetItemIndex(IControlUI* control, int index)
{
    const int from = MoveListItem(*this, control, index);
    if (from < 0)
        return false;
    m_curSel = IndexAfterMove(m_curSel, from, index);
    if (m_window != nullptr)
        m_window->MoveItem(AsControl(control), index);
    return true;
}

bool CComboUI::Add(IControlUI* control)
{
    return Insert(AsControl(control), OwnCount());
}

bool CComboUI::AddAt(IControlUI* control, int index)
{
    return Insert(AsControl(control), index);
}

bool CComboUI::Insert(CControlUI* child, int index)
{
    IListItemUI* item = AsListItem(child);
    // Attaching the item runs its initialisation, whose handlers may destroy the combo.
    CControlWatch self(this);
    if (!AddListItem(*this, *this, child, index))
        return false;
    if (!self)
        return true;
    // The combo never shows its items itself: whether they show in the list is theirs.
    child->SetInternVisible(true);
    RenumberListItems(*this, index + 1);
    if (m_curSel >= index)
        ++m_curSel;
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
    const int index = OwnIndexOf(child);
    if (index < 0)
        return false;
    if (m_window != nullptr)
        m_window->HideItem(child);
    // The item's destruction runs its handlers, which may destroy the combo.
    CControlWatch self(this);
    RemoveListItem(*this, child);
    if (!self)
        return true;
    RenumberListItems(*this, index);
    if (m_curSel == index) {
        m_curSel = -1;
        Invalidate();
        SelectItem(FindSelectable(index, false));
    } else if (m_curSel > index) {
        --m_curSel;
    }
    return true;
}

bool CComboUI::RemoveAt(int index)
{
    CControlUI* item = OwnItemAt(index);
    return item != nullptr && Remove(item);
}

void CComboUI::RemoveAll()
{
    CloseDropDown();
    m_curSel = -1;
    ReleaseListItems(*this);
    Invalidate();
    CContainerUI::RemoveAll();
}

bool CComboUI::SelectItem(int index, bool)
{
    if (index == m_curSel)
        return true;
    const int previous = m_curSel;
    Invalidate();
    // Items, the open list's layout and the receivers of "itemselect" may destroy the combo.
    CControlWatch self(this);
    if (SwapListSelection(*this, self, m_curSel, index) == nullptr)
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
    int next = -1;
    switch (key) {
    case VK_UP:
        next = FindSelectable(m_curSel - 1, false);
        break;
    case VK_DOWN:
        next = FindSelectable(m_curSel + 1, true);
        break;
    case VK_HOME:
        next = FindSelectable(0, true);
        break;
    case VK_END:
        next = FindSelectable(OwnCount() - 1, false);
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
    CContainerUI::DoEvent(event);
}

void CComboUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    CloseDropDown();
    CContainerUI::SetManager(manager, parent, init);
}

void CComboUI::SetVisible(bool visible)
{
    if (!visible)
        CloseDropDown();
    // The container's would hide the items too; the combo never shows them itself.
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
    CContainerUI::SetEnabled(enabled);
}

void CComboUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
}

IControlUI* CComboUI::FindControl(FindControlProc proc, void* data, UINT flags)
{
    // Searches for what the window shows (the mouse, tab stops, shortcuts) end at the
    // combo; others (names) reach its items.
    if ((flags & (UIFIND_VISIBLE | UIFIND_HITTEST)) != 0)
        return CControlUI::FindControl(proc, data, flags);
    return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::DoPaint(HDC dc, const RECT& paint)
{
    CControlUI::DoPaint(dc, paint);
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
    IListItemUI* item = AsListItem(OwnItemAt(m_curSel));
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
