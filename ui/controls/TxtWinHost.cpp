#include "ui/controls/TxtWinHost.h"

#include <new>

#include "ui/controls/RichEditUI.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// Defined here: MinGW's import libraries do not carry the text services' interface ids.
const IID kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidTextHost = {
    0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kIidTextServices = {
    0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

// riched20 of the system folder, loaded once and kept: the code of every text services
// object lives in it.
PCreateTextServices CreateTextServicesProc()
{
    static const PCreateTextServices create =
        LookUpProc<PCreateTextServices>(LoadSystemLibrary("riched20.dll"), "CreateTextServices");
    return create;
}

}  // namespace

CTxtWinHost::CTxtWinHost(CRichEditUI* owner, const TTextHostSettings& settings)
    : m_owner(owner), m_settings(settings)
{
}

bool CTxtWinHost::Create(CRichEditUI* owner, const TTextHostSettings& settings,
                         CComRef<CTxtWinHost>& host, CComRef<ITextServices>& services)
{
    host.Reset();
    services.Reset();
    const PCreateTextServices create = CreateTextServicesProc();
    if (create == nullptr)
        return false;
    // The new host's one reference is the holder's.
    CComRef<CTxtWinHost> made;
    *made.Out() = new (std::nothrow) CTxtWinHost(owner, settings);
    if (!made)
        return false;
    CComRef<IUnknown> unknown;
    if (FAILED(create(nullptr, made.Get(), unknown.Out())) || !unknown)
        return false;
    CComRef<ITextServices> textServices;
    if (!textServices.QueryFrom(unknown.Get(), kIidTextServices) ||
        FAILED(textServices->OnTxInPlaceActivate(&made->m_settings.client)))
        return false;
    host.Take(made);
    services.Take(textServices);
    return true;
}

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, kIidUnknown) || IsEqualIID(iid, kIidTextHost)) {
        *object = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef()
{
    return static_cast<ULONG>(++m_references);
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    const LONG left = --m_references;
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HWND CTxtWinHost::Window() const
{
    if (m_owner == nullptr || m_owner->GetManager() == nullptr)
        return nullptr;
    return m_owner->GetManager()->GetPaintWindow();
}

HDC CTxtWinHost::TxGetDC()
{
    return GetDC(Window());
}

INT CTxtWinHost::TxReleaseDC(HDC dc)
{
    return ReleaseDC(Window(), dc);
}

// The framework's bars show what the text services' scroll ranges say once their call
// returns: every scroll callback only records that they changed.
WINBOOL CTxtWinHost::TxShowScrollBar(INT, WINBOOL)
{
    if (m_owner != nullptr)
        m_owner->OnServicesScrolled();
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT, INT)
{
    return TxShowScrollBar(0, TRUE);
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT, LONG, INT, WINBOOL)
{
    return TxShowScrollBar(0, TRUE);
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT, INT, WINBOOL)
{
    return TxShowScrollBar(0, TRUE);
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rc, WINBOOL)
{
    if (m_owner == nullptr || m_owner->GetManager() == nullptr)
        return;
    // Only ever the control's own text: the text services know nothing of what lies over it.
    const RECT text = m_owner->GetTextRect();
    RECT dirty = text;
    if (rc != nullptr && !IntersectRect(&dirty, rc, &text))
        return;
    m_owner->GetManager()->Invalidate(dirty);
}

void CTxtWinHost::TxViewChange(WINBOOL)
{
    TxInvalidateRect(nullptr, FALSE);
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    const HWND window = Window();
    m_caretMade = window != nullptr && CreateCaret(window, bitmap, width, height);
    return m_caretMade;
}

void CTxtWinHost::DestroyCaret()
{
    if (m_caretMade)
        ::DestroyCaret();
    m_caretMade = false;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    const HWND window = Window();
    if (window == nullptr)
        return FALSE;
    return show ? ShowCaret(window) : HideCaret(window);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    return SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    if (m_owner == nullptr || m_owner->GetManager() == nullptr)
        return FALSE;
    CWindowManagerUI* manager = m_owner->GetManager();
    // A running timer of the same id is restarted with the new period.
    manager->KillTimer(m_owner, id);
    return manager->SetTimer(m_owner, id, timeout);
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    if (m_owner != nullptr && m_owner->GetManager() != nullptr)
        m_owner->GetManager()->KillTimer(m_owner, id);
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    // The back buffer is painted whole: a scroll is a repaint of the text.
    TxInvalidateRect(nullptr, FALSE);
}

void CTxtWinHost::TxSetCapture(WINBOOL)
{
    // The manager holds the window's capture from the press that started a drag to its
    // release, and hands the moves in between to this control.
}

void CTxtWinHost::TxSetFocus()
{
    // The manager gives the focus on a press already; moving it from here would call out
    // to focus handlers in the middle of the text services' work.
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL)
{
    ::SetCursor(cursor);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt)
{
    const HWND window = Window();
    return window != nullptr && ScreenToClient(window, pt);
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt)
{
    const HWND window = Window();
    return window != nullptr && ClientToScreen(window, pt);
}

HRESULT CTxtWinHost::TxActivate(LONG* oldState)
{
    if (oldState != nullptr)
        *oldState = 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rc)
{
    *rc = m_settings.client;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rc)
{
    // The text padding is already taken off the client rectangle.
    *rc = RECT{};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_settings.charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = &m_settings.paraFormat;
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    return index == COLOR_WINDOW ? m_settings.background : GetSysColor(index);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = m_settings.backStyle;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = m_settings.maxLength;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scrollBars)
{
    *scrollBars = m_settings.scrollBars;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    // The text services are wide whatever TCHAR is in this build: they read a UTF-16 unit.
    *reinterpret_cast<wchar_t*>(ch) = m_settings.passwordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* cp)
{
    *cp = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL)
{
    // No zoom: the text is drawn at the size of its fonts.
    return E_NOTIMPL;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    *bits = m_settings.bits & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void*)
{
    if (code == EN_CHANGE && m_owner != nullptr)
        m_owner->OnServicesChanged();
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    // The input method's results reach the control as characters through the window.
    return nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC)
{
}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = 0;
    return S_OK;
}

}  // namespace Veneer
