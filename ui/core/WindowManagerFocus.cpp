// Keyboard focus: moving it between controls, tab order, and Alt+key shortcuts.

#include <cctype>
#include <cstring>

#include "ui/core/base/ControlWatch.h"
#include "ui/core/TabOrder.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

struct TShortcutSearch {
    int key;  // upper case, as toupper gives it
    bool pickNext;
};

// A label's shortcut selects the next control that can take it; labels never match.
IControlUI* MatchShortcut(IControlUI* control, void* data)
{
    TShortcutSearch* search = static_cast<TShortcutSearch*>(data);
    if (!control->IsVisible())
        return nullptr;
    const char shortcut = control->GetShortcut();
    if (shortcut != '\0' && std::toupper(static_cast<unsigned char>(shortcut)) == search->key)
        search->pickNext = true;
    if (std::strstr(control->GetClass(), "LabelUI") != nullptr)
        return nullptr;
    return search->pickNext ? control : nullptr;
}

}  // namespace

void CWindowManagerUI::SetFocus(IControlUI* control)
{
    CControlWatch next(control);
    if (::GetFocus() != m_window && control != m_focus)
        TakeNativeFocus();
    if (next != m_focus && !DropFocus(next.Get()))
        return;
    control = next.Get();
    if (control == nullptr || control == m_focus || control->GetManager() != this ||
        !control->IsVisible() || !control->IsEnabled())
        return;
    m_focus = control;
    SendEvent(control, TUIEventType::SetFocus, control, POINT{});
    // Not when a handler moved the focus on (or destroyed it): "killfocus" went out already.
    if (m_focus == control)
        SendNotify(control, "setfocus");
}

bool CWindowManagerUI::DropFocus(IControlUI* next)
{
    if (m_focus == nullptr)
        return true;
    CControlWatch old(m_focus);
    // Cleared first: a handler that hides the old control or moves the focus finds no
    // focus to take away a second time.
    m_focus = nullptr;
    SendEvent(old.Get(), TUIEventType::KillFocus, next, POINT{});
    if (old && m_focus != old)
        SendNotify(old.Get(), "killfocus");
    return m_focus == nullptr;
}

void CWindowManagerUI::SetFocusNeeded(IControlUI* control)
{
    CControlWatch target(control);
    TakeNativeFocus();
    if (control == nullptr || !DropFocus(control) || !target)
        return;
    // The next paint moves the focus forward from the tab stop before the control.
    m_focus = CTabOrder(m_root).Before(control);
    m_focusNeeded = true;
    if (m_root != nullptr)
        m_root->NeedUpdate();
}

bool CWindowManagerUI::FocusNextTabStop(bool forward)
{
    if (m_updateNeeded && forward) {
        // Tab order follows the layout: move once the tree has been laid out.
        m_focusNeeded = true;
        InvalidateWindow(nullptr);
        return true;
    }
    IControlUI* found = CTabOrder(m_root).Next(m_focus, forward);
    if (found != nullptr)
        SetFocus(found);
    m_focusNeeded = false;
    return true;
}

void CWindowManagerUI::PlaceNeededFocus()
{
    if (m_updateNeeded) {
        InvalidateWindow(nullptr);
        return;
    }
    IControlUI* next = CTabOrder(m_root).Next(m_focus, true);
    if (next != nullptr)
        SetFocus(next);
    m_focusNeeded = false;
}

bool CWindowManagerUI::ActivateShortcut(char key)
{
    if (m_root == nullptr)
        return false;
    TShortcutSearch search = {std::toupper(static_cast<unsigned char>(key)), false};
    IControlUI* control = m_root->FindControl(MatchShortcut, &search,
                                              UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST);
    if (control == nullptr)
        return false;
    CControlWatch found(control);
    control->SetFocus();
    if (found)
        control->Activate();
    return true;
}

}  // namespace Veneer
