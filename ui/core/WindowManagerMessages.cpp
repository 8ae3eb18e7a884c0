// The manager's message table: native window messages become events for one control
// (the one under the mouse, the one holding the capture, or the focused one).

#include <windows.h>

#include <windowsx.h>

#include <cstring>
#include <new>

#include "ui/core/ToolTip.h"
#include "ui/core/WideText.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

WORD CurrentKeyState()
{
    WORD state = 0;
    if (GetKeyState(VK_LBUTTON) < 0)
        state |= UIKEY_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        state |= UIKEY_RBUTTON;
    if (GetKeyState(VK_SHIFT) < 0)
        state |= UIKEY_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        state |= UIKEY_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        state |= UIKEY_ALT;
    return state;
}

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool IsInClientArea(HWND window, POINT pt)
{
    RECT client = {};
    return GetClientRect(window, &client) && PtInRect(&client, pt);
}

IControlUI* MatchAny(IControlUI* control, void*)
{
    return control;
}

}  // namespace

IControlUI* CWindowManagerUI::FindControl(POINT pt) const
{
    if (m_root == nullptr)
        return nullptr;
    return m_root->FindControl(MatchAny, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

IControlUI* CWindowManagerUI::FindOwnControl(POINT pt) const
{
    IControlUI* control = FindControl(pt);
    return control != nullptr && control->GetManager() == this ? control : nullptr;
}

void CWindowManagerUI::SendEvent(IControlUI* to, TUIEventType type, IControlUI* sender, POINT mouse,
                                 WPARAM wParam, LPARAM lParam, WORD keyState)
{
    TUIEvent event;
    event.type = type;
    event.sender = sender;
    event.timestamp = GetTickCount();
    event.mouse = mouse;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    to->Event(event);
}

void CWindowManagerUI::SendKeyEvent(IControlUI* to, TUIEventType type, WPARAM wParam)
{
    TUIEvent event;
    event.type = type;
    event.timestamp = GetTickCount();
    event.mouse = m_lastMouse;
    event.key = static_cast<char>(wParam & 0xFF);
    event.keyState = CurrentKeyState();
    to->Event(event);
}

bool CWindowManagerUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_window == nullptr)
        return false;
    if (FilterMessage(message, wParam, lParam, result))
        return true;
    // One table: each message answers here whether it is handled. One not handled goes on
    // to the window's previous procedure, whatever the manager did with it.
    switch (message) {
    case WM_SIZE:
        OnSize();
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_ERASEBKGND:
        // The back buffer covers everything; an erased background would only flicker.
        result = 1;
        return true;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return false;
    case WM_NOTIFY:
        result = 0;
        if (lParam != 0) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            result = SendMessageA(header->hwndFrom, message + kReflectedBase, wParam, lParam);
        }
        return true;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0)
            return false;
        result =
            SendMessageA(reinterpret_cast<HWND>(lParam), message + kReflectedBase, wParam, lParam);
        return true;
    case WM_PRINTCLIENT:
        PrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return false;
    case kDelayedCleanupMessage:
        DeleteDelayedControls();
        return false;
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;
    case WM_MOUSEHOVER:
        return OnMouseHover(lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButton(message, wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        OnKey(message, wParam);
        return false;
    case WM_TIMER:
        OnTimer(wParam);
        return false;
    default:
        return false;
    }
}

bool CWindowManagerUI::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (int i = 0; i < m_messageFilters.GetSize();) {
        IMessageFilterUI* filter = static_cast<IMessageFilterUI*>(m_messageFilters.GetAt(i));
        bool handled = false;
        const LRESULT filtered = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = filtered;
            return true;
        }
        i = IndexAfter(m_messageFilters, i, filter);
    }
    return false;
}

void CWindowManagerUI::OnSize()
{
    if (m_focus != nullptr)
        SendEvent(m_focus, TUIEventType::WindowSize, m_focus, POINT{});
    if (m_root != nullptr)
        m_root->NeedUpdate();
}

void CWindowManagerUI::OnClose()
{
    if (IControlUI* hover = m_hover) {
        m_hover = nullptr;
        SendEvent(hover, TUIEventType::MouseLeave, hover, m_lastMouse);
    }
    // Closing during a press (Alt+F4 with the button held) cancels the press.
    if (IControlUI* capture = TakeCapture())
        SendEvent(capture, TUIEventType::ButtonUp, capture, POINT{-1, -1});
    SetFocus(nullptr);
    if (HWND owner = GetWindow(m_window, GW_OWNER))
        ::SetFocus(owner);
}

void CWindowManagerUI::OnGetMinMaxInfo(MINMAXINFO* info) const
{
    // A limit of 0 leaves the system's own.
    if (m_minInfo.cx > 0)
        info->ptMinTrackSize.x = m_minInfo.cx;
    if (m_minInfo.cy > 0)
        info->ptMinTrackSize.y = m_minInfo.cy;
    if (m_maxInfo.cx > 0)
        info->ptMaxTrackSize.x = m_maxInfo.cx;
    if (m_maxInfo.cy > 0)
        info->ptMaxTrackSize.y = m_maxInfo.cy;
}

bool CWindowManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return false;
    if (m_mouseCaptured)
        return true;
    POINT pt = {};
    GetCursorPos(&pt);
    ScreenToClient(m_window, &pt);
    IControlUI* control = FindOwnControl(pt);
    if (control == nullptr || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0)
        return false;
    SendEvent(control, TUIEventType::SetCursor, nullptr, pt, wParam, lParam, CurrentKeyState());
    return true;
}

void CWindowManagerUI::TrackMouse()
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_window;
    track.dwHoverTime = m_toolTip != nullptr ? m_toolTip->HoverTime() : CToolTip::kDefaultHoverTime;
    TrackMouseEvent(&track);
    m_mouseTracking = true;
    m_hoverEnded = false;
}

void CWindowManagerUI::OnMouseMove(LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    // A hover ends the system's hover tracking only; its leave tracking goes on. The hover
    // is asked for again by the next move inside the window, never by the move that reports
    // the leave (asking then would report another leave at once).
    if (!m_mouseTracking || (m_hoverEnded && IsInClientArea(m_window, pt)))
        TrackMouse();
    m_lastMouse = pt;
    CControlWatch newHover(FindControl(pt));
    if (newHover && newHover.Get()->GetManager() != this)
        return;
    if (newHover != m_hover && m_hover != nullptr) {
        IControlUI* oldHover = m_hover;
        m_hover = nullptr;
        HideToolTip();
        SendEvent(oldHover, TUIEventType::MouseLeave, oldHover, pt);
    }
    // Unless the old hover's handler destroyed it, or a nested move entered it already.
    if (newHover && newHover != m_hover) {
        m_hover = newHover.Get();
        SendEvent(m_hover, TUIEventType::MouseEnter, m_hover, pt);
    }
    // While a button is held the pressed control follows the mouse wherever it goes. The
    // fields are read again: a handler above may have destroyed or replaced them.
    if (m_capture != nullptr)
        SendEvent(m_capture, TUIEventType::MouseMove, m_capture, pt);
    else if (m_hover != nullptr && newHover == m_hover)
        SendEvent(m_hover, TUIEventType::MouseMove, m_hover, pt);
}

bool CWindowManagerUI::OnMouseHover(LPARAM lParam)
{
    m_hoverEnded = true;
    const POINT pt = PointOf(lParam);
    CControlWatch control(FindControl(pt));
    if (!control)
        return false;
    if (m_hover != nullptr)
        SendEvent(m_hover, TUIEventType::MouseHover, m_hover, pt);
    if (control)
        ShowToolTip(control.Get());
    return true;
}

void CWindowManagerUI::OnMouseLeave()
{
    HideToolTip();
    if (m_mouseTracking) {
        // The point (-1, -1) is over no control: the hover control is told it was left.
        SendMessageA(m_window, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    }
    m_mouseTracking = false;
}

void CWindowManagerUI::ShowToolTip(IControlUI* control)
{
    const CUIString text = control->GetToolTip();
    if (text.IsEmpty())
        return;
    if (m_toolTip == nullptr)
        m_toolTip.reset(new (std::nothrow) CToolTip);
    if (m_toolTip != nullptr)
        m_toolTip->Show(m_window, control->GetPos(), text.GetData(), GetResourceModule());
}

void CWindowManagerUI::HideToolTip()
{
    if (m_toolTip != nullptr)
        m_toolTip->Hide(m_window);
}

void CWindowManagerUI::OnButton(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    // The MK_ bits of a button message are the key-state bits.
    const WORD keys = LOWORD(wParam);
    m_lastMouse = pt;
    if (message == WM_LBUTTONUP) {
        if (IControlUI* capture = TakeCapture())
            SendEvent(capture, TUIEventType::ButtonUp, capture, pt, wParam, lParam, keys);
        return;
    }
    TakeNativeFocus();
    IControlUI* control = FindOwnControl(pt);
    if (control == nullptr)
        return;
    m_capture = control;
    if (message != WM_LBUTTONDBLCLK) {
        control->SetFocus();
        // The field is read again: destruction clears it, and so may a focus handler.
        if (m_capture != control)
            return;
    }
    SetCapture(m_window);
    m_mouseCaptured = true;
    if (message == WM_LBUTTONDBLCLK)
        SendEvent(control, TUIEventType::DblClick, control, pt, 0, 0, keys);
    else if (message == WM_LBUTTONDOWN)
        SendEvent(control, TUIEventType::ButtonDown, control, pt, wParam, lParam, keys);
    else
        SendEvent(control, TUIEventType::RButtonDown, control, pt, wParam, lParam, keys);
}

void CWindowManagerUI::OnContextMenu(LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ScreenToClient(m_window, &pt);
    m_lastMouse = pt;
    if (IControlUI* capture = TakeCapture()) {
        SendEvent(capture, TUIEventType::ContextMenu, capture, pt, 0,
                  reinterpret_cast<LPARAM>(capture));
    }
}

void CWindowManagerUI::OnCaptureChanged(HWND taker)
{
    // The native capture went to another window during a press (Alt+Tab): the press is
    // cancelled, and the pressed control is told so by a release over no control.
    if (taker == m_window || !m_mouseCaptured)
        return;
    m_mouseCaptured = false;
    if (IControlUI* capture = TakeCapture())
        SendEvent(capture, TUIEventType::ButtonUp, capture, POINT{-1, -1});
}

IControlUI* CWindowManagerUI::TakeCapture()
{
    CControlWatch capture(m_capture);
    m_capture = nullptr;
    if (m_mouseCaptured) {
        // Cleared before the release, which tells the window's procedure at once.
        m_mouseCaptured = false;
        ::ReleaseCapture();
    }
    return capture.Get();
}

void CWindowManagerUI::EndPress()
{
    TakeCapture();
}

void CWindowManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ScreenToClient(m_window, &pt);
    m_lastMouse = pt;
    IControlUI* control = FindOwnControl(pt);
    if (control == nullptr)
        return;
    SendEvent(control, TUIEventType::ScrollWheel, control, POINT{},
              WheelTurnOf(GET_WHEEL_DELTA_WPARAM(wParam)), lParam, CurrentKeyState());
    // Content may have scrolled under the mouse: the hover follows it.
    SendMessageA(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(m_lastMouse.x, m_lastMouse.y));
}

void CWindowManagerUI::OnKey(UINT message, WPARAM wParam)
{
    if (message == WM_KEYUP) {
        if (IControlUI* keyControl = m_keyControl) {
            m_keyControl = nullptr;
            SendKeyEvent(keyControl, TUIEventType::KeyUp, wParam);
        }
        return;
    }
    if (m_focus == nullptr)
        return;
    // Recorded first: the key-up goes to the control that saw the key go down.
    if (message == WM_KEYDOWN)
        m_keyControl = m_focus;
    SendKeyEvent(m_focus, message == WM_KEYDOWN ? TUIEventType::KeyDown : TUIEventType::Char,
                 wParam);
}

bool CWindowManagerUI::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result)
{
    for (int i = 0; i < m_preMessageFilters.GetSize();) {
        IMessageFilterUI* filter = static_cast<IMessageFilterUI*>(m_preMessageFilters.GetAt(i));
        bool handled = false;
        filter->MessageHandler(message, wParam, lParam, handled);
        if (handled)
            return true;
        i = IndexAfter(m_preMessageFilters, i, filter);
    }
    switch (message) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB || FocusWantsTab())
            return false;
        FocusNextTabStop(GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_focus != nullptr)
            SendKeyEvent(m_focus, TUIEventType::SysKey, wParam);
        return false;
    case WM_SYSCHAR:
        return ActivateShortcut(static_cast<char>(wParam & 0xFF));
    default:
        return false;
    }
}

bool CWindowManagerUI::FocusWantsTab() const
{
    return m_focus != nullptr && m_focus->IsVisible() && m_focus->IsEnabled() &&
           std::strstr(m_focus->GetClass(), "RichEditUI") != nullptr &&
           (m_focus->GetControlFlags() & UIFLAG_WANTTAB) != 0;
}

void CWindowManagerUI::MessageLoop()
{
    MSG msg;
    // -1 reports a failed call with msg left unfilled: nothing to dispatch, the loop ends.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool CWindowManagerUI::PreTranslate(const MSG& msg)
{
    const HWND parent = GetParent(msg.hwnd);
    const bool child = (GetWindowLongPtrA(msg.hwnd, GWL_STYLE) & WS_CHILD) != 0;
    const CPtrArray& managers = Managers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        CWindowManagerUI* manager = static_cast<CWindowManagerUI*>(managers.GetAt(i));
        if (manager->m_window != msg.hwnd && !(child && manager->m_window == parent))
            continue;
        LRESULT result = 0;
        if (manager->PreMessageHandler(msg.message, msg.wParam, msg.lParam, result))
            return true;
    }
    return false;
}

}  // namespace Veneer
