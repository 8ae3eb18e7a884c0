#include "app/WindowImplBase.h"

#include <windowsx.h>

#include <cstring>

#include "ui/core/base/AttributeValue.h"
#include "ui/core/IControlUI.h"
#include "ui/core/Win32Util.h"

using namespace Veneer;

namespace {

// The sizing border, or 0 for a point inside it. Every comparison is strict, so the box's
// own width is already inside.
UINT SizingBorderHit(POINT pt, const RECT& client, const RECT& box)
{
    const bool left = pt.x < client.left + box.left;
    const bool right = pt.x > client.right - box.right;
    if (pt.y < client.top + box.top)
        return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (pt.y > client.bottom - box.bottom)
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    return left ? HTLEFT : right ? HTRIGHT : 0;
}

bool InCaption(POINT pt, const RECT& client, const RECT& caption)
{
    return pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
           pt.y >= caption.top && pt.y < caption.bottom;
}

// Buttons and options take their clicks; everything else in the caption drags the window.
bool DragsWindow(const IControlUI* hit)
{
    return hit != nullptr && _stricmp(hit->GetClass(), "ButtonUI") != 0 &&
           _stricmp(hit->GetClass(), "OptionUI") != 0;
}

// The message goes on to the manager.
LRESULT NotHandled(bool& handled)
{
    handled = false;
    return 0;
}

}  // namespace

void SetFrameStyle(HWND hwnd, LONG style)
{
    SetWindowLongA(hwnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

UINT SkinHitTest(POINT pt, const RECT& client, const RECT& sizeBox, const RECT& caption,
                 bool maximized, const IControlUI* hit)
{
    if (!maximized) {
        if (const UINT border = SizingBorderHit(pt, client, sizeBox))
            return border;
    }
    if (InCaption(pt, client, caption) && DragsWindow(hit))
        return HTCAPTION;
    return HTCLIENT;
}

void FitMaximizedToWorkArea(const RECT& monitor, const RECT& workArea, MINMAXINFO* info)
{
    // Relative to the monitor: a task bar at the left or top edge stays uncovered.
    info->ptMaxPosition = {workArea.left - monitor.left, workArea.top - monitor.top};
    info->ptMaxSize = {workArea.right - workArea.left, workArea.bottom - workArea.top};
}

const char* WindowImplBase::GetSuperClassName() const
{
    return nullptr;
}

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler may destroy the window, and the object with it.
    CWindowLife::CFrame frame(m_life);
    bool handled = true;
    LRESULT result = Dispatch(message, wParam, lParam, handled);
    if (handled || !frame.Alive())
        return result;
    result = HandleOtherMessage(message, wParam, lParam, handled);
    if (handled || !frame.Alive())
        return result;
    if (m_pm.MessageHandler(message, wParam, lParam, result) || !frame.Alive())
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
    Handler handler = nullptr;
    // One row per message.
    // clang-format off
    switch (message) {
    case WM_CREATE: handler = &WindowImplBase::OnCreate; break;
    case WM_DESTROY: handler = &WindowImplBase::OnDestroy; break;
    case WM_SIZE: handler = &WindowImplBase::OnSize; break;
    case WM_SETFOCUS: handler = &WindowImplBase::OnSetFocus; break;
    case WM_KILLFOCUS: handler = &WindowImplBase::OnKillFocus; break;
    case WM_CLOSE: handler = &WindowImplBase::OnClose; break;
    case WM_GETMINMAXINFO: handler = &WindowImplBase::OnGetMinMaxInfo; break;
    case WM_NCCALCSIZE: handler = &WindowImplBase::OnNcCalcSize; break;
    case WM_NCHITTEST: handler = &WindowImplBase::OnNcHitTest; break;
    case WM_NCPAINT: handler = &WindowImplBase::OnNcPaint; break;
    case WM_NCACTIVATE: handler = &WindowImplBase::OnNcActivate; break;
    case WM_KEYDOWN: handler = &WindowImplBase::OnKeyDown; break;
    case WM_SYSCOMMAND: handler = &WindowImplBase::OnSysCommand; break;
    case WM_MOUSEMOVE: handler = &WindowImplBase::OnMouseMove; break;
    case WM_LBUTTONDOWN: handler = &WindowImplBase::OnLButtonDown; break;
    case WM_LBUTTONUP: handler = &WindowImplBase::OnLButtonUp; break;
    case WM_MOUSEWHEEL: handler = &WindowImplBase::OnMouseWheel; break;
    default:
        handled = false;
        return 0;
    }
    // clang-format on
    return (this->*handler)(message, wParam, lParam, handled);
}

void WindowImplBase::OnFinalMessage(HWND)
{
    m_pm.RemovePreMessageFilter(this);
    m_pm.RemoveNotifier(this);
    // A skin that could not be built left no root.
    if (IControlUI* root = m_pm.GetRoot())
        m_pm.ForgetControl(root);
}

void WindowImplBase::OnSkinReady()
{
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (IsIconic(GetHWND()))
        return NotHandled(handled);
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(GetHWND(), &pt);
    RECT client = {};
    GetClientRect(GetHWND(), &client);
    return SkinHitTest(pt, client, m_pm.GetSizeBox(), m_pm.GetCaptionArea(),
                       IsZoomed(GetHWND()) != FALSE, m_pm.FindControl(pt));
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
    FitMaximizedToWorkArea(monitor.rcMonitor, monitor.rcWork,
                           reinterpret_cast<MINMAXINFO*>(lParam));
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled)
{
    CutRoundCorners();
    return NotHandled(handled);
}

void WindowImplBase::CutRoundCorners()
{
    const SIZE corner = m_pm.GetRoundCorner();
    if (IsIconic(GetHWND()) || (corner.cx == 0 && corner.cy == 0))
        return;
    RECT window = {};
    GetWindowRect(GetHWND(), &window);
    CGdiObject<HRGN> region(CreateRoundRectRgn(0, 0, window.right - window.left + 1,
                                               window.bottom - window.top + 1, corner.cx,
                                               corner.cy));
    // The system owns a region it accepted.
    if (region && SetWindowRgn(GetHWND(), region.Get(), TRUE) != 0)
        region.Detach();
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&)
{
    // The low four bits of a command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE)
        return 0;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    const HWND hwnd = GetHWND();
    SetFrameStyle(hwnd, GetStyle());

    m_pm.Init(hwnd);
    m_pm.AddPreMessageFilter(this);
    CWindowManagerUI::SetResourcePath(SkinFolder());

    const WORD skin = static_cast<WORD>(ParseInteger(SkinSource()));
    CDialogBuilder builder;
    IControlUI* root = builder.Create(MAKEINTRESOURCEA(skin), "xml", this, &m_pm);
    // Null leaves an empty window.
    m_pm.AttachRoot(root);
    m_pm.AddNotifier(this);
    // The skin may give the round corners after its size.
    CutRoundCorners();
    OnSkinReady();
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleOtherMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LONG WindowImplBase::GetStyle()
{
    return GetWindowLongA(GetHWND(), GWL_STYLE) & ~WS_CAPTION;
}

LRESULT WindowImplBase::OnDefaultKey(WPARAM key)
{
    if (key != VK_ESCAPE)
        return 0;
    Close();
    return 1;
}

LRESULT WindowImplBase::MessageHandler(UINT message, WPARAM wParam, LPARAM, bool&)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return OnDefaultKey(wParam);
    return 0;
}

IControlUI* WindowImplBase::CreateControl(const char*)
{
    return nullptr;
}
