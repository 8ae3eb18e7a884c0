// The paint path: lay out what asked for it, place a pending focus, then paint the tree
// into the back buffer and copy the part the system asked for onto the screen.

#include "ui/core/BackBuffer.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

constexpr int kPrintLayoutPasses = 4;

// A control that asks for layout and has not been placed in this pass yet.
IControlUI* MatchUpdateNeeded(IControlUI* control, void* placed)
{
    return control->IsUpdateNeeded() && static_cast<CPtrArray*>(placed)->Find(control) < 0
               ? control
               : nullptr;
}

// The outline of repainted areas: one pen for the whole process.
HPEN DirtyPen()
{
    static const HPEN pen = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    return pen;
}

}  // namespace

void CWindowManagerUI::DeleteBuffers()
{
    m_offscreen.reset();
    m_background.reset();
}

HBITMAP CWindowManagerUI::GetOffscreenBitmap() const
{
    return m_offscreen != nullptr ? m_offscreen->GetBitmap() : nullptr;
}

HDC CWindowManagerUI::GetOffscreenDC() const
{
    return m_offscreen != nullptr ? m_offscreen->GetDC() : nullptr;
}

void CWindowManagerUI::Invalidate(const RECT& rc)
{
    // Controls not placed yet (a skin being built) ask with empty rectangles: under Wine
    // each platform call is a trip to the server, for nothing.
    if (!m_layingOutRoot && !IsRectEmpty(&rc))
        InvalidateWindow(&rc);
}

void CWindowManagerUI::InvalidateWindow(const RECT* rc)
{
    // A null window would be every window of the desktop.
    if (m_window != nullptr)
        InvalidateRect(m_window, rc, FALSE);
}

void CWindowManagerUI::OnPaint()
{
    // A paint with nothing to update (one sent, or an internal one) must not lay out. Under
    // Wine GetUpdateRect is three trips to the server and a device context, so it is asked
    // only when layout or focus would run before BeginPaint, or for the dirty outline; else
    // BeginPaint's rectangle tells the same.
    RECT update = {};
    const bool placing = m_root != nullptr && (m_updateNeeded || m_focusNeeded);
    if ((placing || m_showDirty) && !GetUpdateRect(m_window, &update, FALSE))
        return;
    // Layout and focus run handlers, which may replace the root or drop it.
    if (m_root != nullptr && m_updateNeeded)
        LayOut();
    if (m_root != nullptr && m_focusNeeded)
        PlaceNeededFocus();
    PAINTSTRUCT ps = {};
    HDC screen = BeginPaint(m_window, &ps);
    if (m_root == nullptr || IsRectEmpty(&ps.rcPaint)) {
        EndPaint(m_window, &ps);
        return;
    }
    if (m_offscreen == nullptr) {
        RECT client = {};
        GetClientRect(m_window, &client);
        m_offscreen = CBackBuffer::Create(m_paintDC, client);
    }
    if (m_offscreen != nullptr) {
        PaintThroughBuffer(screen, ps.rcPaint);
    } else {
        // No memory for a back buffer: paint straight onto the screen.
        const int saved = SaveDC(screen);
        m_root->DoPaint(screen, ps.rcPaint);
        RestoreDC(screen, saved);
    }
    if (m_showDirty) {
        const int saved = SaveDC(screen);
        SelectObject(screen, DirtyPen());
        SelectObject(screen, GetStockObject(HOLLOW_BRUSH));
        Rectangle(screen, update.left, update.top, update.right, update.bottom);
        RestoreDC(screen, saved);
    }
    EndPaint(m_window, &ps);
    // A control asked for layout while painting: paint again once it is done.
    if (m_updateNeeded)
        InvalidateWindow(nullptr);
}

void CWindowManagerUI::LayOut()
{
    m_updateNeeded = false;
    RECT client = {};
    GetClientRect(m_window, &client);
    if (IsRectEmpty(&client))
        return;
    if (m_root->IsUpdateNeeded()) {
        // Every control placed inside the root would invalidate a part of the root's own
        // area: one call for the whole window instead of one per control.
        m_layingOutRoot = true;
        m_root->SetPos(client);
        m_layingOutRoot = false;
        InvalidateWindow(nullptr);
        // The buffers are made again at the new size.
        DeleteBuffers();
    } else {
        PlaceControlsThatAsk();
    }
    if (m_firstLayout && m_root != nullptr) {
        m_firstLayout = false;
        SendNotify(m_root, "windowinit");
    }
}

void CWindowManagerUI::PlaceControlsThatAsk()
{
    // Each control is placed once per pass, so the pass ends whatever a control does with
    // its flag: one without a manager, or whose SetPos skips the base, keeps it set.
    CPtrArray placed;
    while (m_root != nullptr) {
        IControlUI* control =
            m_root->FindControl(MatchUpdateNeeded, &placed, UIFIND_VISIBLE | UIFIND_ME_FIRST);
        if (control == nullptr || !placed.Add(control))
            return;
        control->SetPos(control->GetPos());
    }
}

void CWindowManagerUI::PaintThroughBuffer(HDC screen, const RECT& paint)
{
    const HDC buffer = m_offscreen->GetDC();
    const int saved = SaveDC(buffer);
    if (m_bkTransparent) {
        if (m_background == nullptr) {
            RECT client = {};
            GetClientRect(m_window, &client);
            m_background = CBackBuffer::Create(m_paintDC, client);
            if (m_background != nullptr)
                m_background->CopyFrom(screen, paint);
        }
        if (m_background != nullptr)
            m_background->CopyTo(buffer, paint);
    }
    m_root->DoPaint(buffer, paint);
    for (int i = 0; i < m_postPaintControls.GetSize(); ++i)
        static_cast<IControlUI*>(m_postPaintControls.GetAt(i))->DoPostPaint(buffer, paint);
    RestoreDC(buffer, saved);
    m_offscreen->CopyTo(screen, paint);
}

void CWindowManagerUI::PrintClient(HDC dc, LPARAM flags)
{
    if (dc == nullptr)
        return;
    // A window printed before it was ever painted (a hidden one, for a picture of it) is
    // laid out first, as a paint would; a pass whose controls ask for another gets it.
    for (int pass = 0; pass < kPrintLayoutPasses && m_root != nullptr && m_updateNeeded; ++pass)
        LayOut();
    RECT client = {};
    GetClientRect(m_window, &client);
    const int saved = SaveDC(dc);
    if (m_root != nullptr)
        m_root->DoPaint(dc, client);
    if ((flags & PRF_CHILDREN) != 0) {
        for (HWND child = GetWindow(m_window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rc = {};
            GetWindowRect(child, &rc);
            MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&rc), 2);
            SetWindowOrgEx(dc, -rc.left, -rc.top, nullptr);
            SendMessageA(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace Veneer
