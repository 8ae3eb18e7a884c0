// CEditWnd: the native edit window over an edit control while it is edited.

#include "ui/controls/EditUI.h"
#include "ui/core/base/Heap.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

const UINT kReflectedCommand = CWindowManagerUI::kReflectedBase + WM_COMMAND;
const UINT kReflectedColorEdit = CWindowManagerUI::kReflectedBase + WM_CTLCOLOREDIT;
const UINT kReflectedColorStatic = CWindowManagerUI::kReflectedBase + WM_CTLCOLORSTATIC;
// "nativebkcolor" that leaves the background to the system.
const DWORD kSystemBackground = 0xFFFFFFFF;

// The window's whole text; false when memory ran out. The edit is a wide window: its text
// comes back in the text code page whatever the system's ANSI code page is.
bool ReadWindowText(HWND window, CUIString& text)
{
    const int length = GetWindowTextLengthW(window);
    wchar_t* buffer = static_cast<wchar_t*>(
        Heap::Allocate((static_cast<std::size_t>(length) + 1) * sizeof(wchar_t)));
    if (buffer == nullptr)
        return false;
    const int read = GetWindowTextW(window, buffer, length + 1);
    const bool assigned = AssignWide(text, buffer, read);
    Heap::Release(buffer);
    return assigned;
}

bool WriteWindowText(HWND window, const char* text)
{
    return SetWindowTextW(window, CWideText(text).Get()) != FALSE;
}

}  // namespace

bool CEditWnd::Init(CEditUI* owner)
{
    m_owner = owner;
    const RECT rc = CalcEditRect();
    // Everything the window is dressed with is read now: making it runs the parent
    // window's procedure, after which the owner may be gone.
    DWORD style = WS_CHILD | ES_AUTOHSCROLL;
    if (owner->m_password)
        style |= ES_PASSWORD;
    const HFONT font = owner->m_manager->GetFontEntry(owner->m_font)->font;
    const CUIString text = owner->m_text;
    const UINT maxChar = owner->m_maxChar;
    const bool password = owner->m_password;
    const char mask = owner->m_passwordChar;
    const bool enabled = owner->IsEnabled();
    const bool readOnly = owner->m_readOnly;
    CWindowLife::CFrame frame(m_life);
    const HWND window = Create(owner->m_manager->GetPaintWindow(), "", style, 0, rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top);
    if (window == nullptr) {
        // A window destroyed while being made took its object with it; else nothing will
        // ever end the object but this.
        if (frame.Alive())
            OnFinalMessage(nullptr);
        return false;
    }
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(window, EM_LIMITTEXT, maxChar, 0);
    if (password)
        SendMessageW(window, EM_SETPASSWORDCHAR, CWideText(&mask, 1).Get()[0], 0);
    WriteWindowText(window, text);
    SendMessageA(window, EM_SETMODIFY, FALSE, 0);
    SendMessageA(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    EnableWindow(window, enabled);
    SendMessageA(window, EM_SETREADONLY, readOnly, 0);
    m_initialised = true;
    // Taking the focus calls out: the window, and this object, may be gone after it.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    ::SetFocus(window);
    return true;
}

RECT CEditWnd::CalcEditRect() const
{
    const RECT item = m_owner->GetPos();
    const RECT pad = m_owner->GetTextPadding();
    RECT rc = {item.left + pad.left, item.top + pad.top, item.right - pad.right,
               item.bottom - pad.bottom};
    const LONG height = m_owner->m_manager->GetFontEntry(m_owner->m_font)->metrics.tmHeight;
    if (height < rc.bottom - rc.top) {
        rc.top += ((rc.bottom - height) - rc.top) / 2;
        rc.bottom = rc.top + height;
    }
    return rc;
}

void CEditWnd::DropOwner()
{
    m_owner = nullptr;
    Close();
}

void CEditWnd::WriteText(const char* text)
{
    CUIString shown;
    if (ReadWindowText(GetHWND(), shown) && shown == text)
        return;
    WriteWindowText(GetHWND(), text);
}

LRESULT CEditWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = DefWindowProcA(GetHWND(), message, wParam, lParam);
        PostMessageA(GetHWND(), WM_CLOSE, 0, 0);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN)
            break;
        // Return is the owner's, never the native edit's.
        if (m_owner != nullptr && m_owner->m_manager != nullptr)
            m_owner->m_manager->SendNotify(m_owner, "return");
        return 0;
    default:
        if (message == kReflectedCommand) {
            OnCommand(HIWORD(wParam));
            return 0;
        }
        if (message == kReflectedColorEdit || message == kReflectedColorStatic)
            return OnControlColor(reinterpret_cast<HDC>(wParam));
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CEditWnd::OnCommand(WORD code)
{
    if (code == EN_CHANGE && m_initialised)
        CopyTextBack();
    else if (code == EN_UPDATE)
        InvalidateRect(GetHWND(), nullptr, FALSE);
}

void CEditWnd::CopyTextBack()
{
    if (m_owner == nullptr || !ReadWindowText(GetHWND(), m_owner->m_text))
        return;
    if (m_owner->m_manager != nullptr)
        m_owner->m_manager->SendNotify(m_owner, "textchanged");
}

LRESULT CEditWnd::OnControlColor(HDC dc)
{
    if (m_owner == nullptr || m_owner->m_nativeBkColor == kSystemBackground)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToGdiColor(m_owner->GetTextColor()));
    if (!m_bkBrush)
        m_bkBrush.Reset(CreateSolidBrush(ToGdiColor(m_owner->m_nativeBkColor)));
    return reinterpret_cast<LRESULT>(m_bkBrush.Get());
}

void CEditWnd::OnFinalMessage(HWND)
{
    if (m_owner != nullptr)
        m_owner->m_editWnd = nullptr;
    delete this;
}

}  // namespace Veneer
