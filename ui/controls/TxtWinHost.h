#pragma once
// CTxtWinHost: the text host of a rich edit. The system's windowless text services
// (riched20) draw, measure and edit the text; everything they ask of a window (a DC, the
// caret, timers, the client rectangle, repainting, the scroll bars) the host answers from
// the rich edit's manager window and the control's own rectangle. The host never calls out
// of the framework: what the text services tell (a change, a scroll) is only recorded on
// the control, which tells it once their call has returned.

#include <windows.h>

#include <richedit.h>
#include <textserv.h>

#include "ui/controls/ComRef.h"

namespace Veneer {

class CRichEditUI;

// What the text services read of their host; the rich edit fills it in.
struct TTextHostSettings {
    DWORD bits = 0;        // TXTBIT_* properties
    DWORD scrollBars = 0;  // WS_VSCROLL, WS_HSCROLL, ES_AUTOVSCROLL, ES_AUTOHSCROLL
    DWORD maxLength = 0;
    wchar_t passwordChar = L'*';
    TXTBACKSTYLE backStyle = TXTBACK_TRANSPARENT;
    COLORREF background = 0;  // filled behind the text when the back style is opaque
    RECT client = {};         // window client coordinates
    CHARFORMAT2W charFormat = {};
    PARAFORMAT2 paraFormat = {};
};

class CTxtWinHost final : public ITextHost {
public:
    // A host for owner with the text services over it, in place active in the settings'
    // client rectangle: one reference to each goes to the caller. False, with nothing
    // made, when riched20 or its text services are not to be had.
    static bool Create(CRichEditUI* owner, const TTextHostSettings& settings,
                       CComRef<CTxtWinHost>& host, CComRef<ITextServices>& services);

    // The owner is being destroyed: the host answers the text services without it.
    void DropOwner() { m_owner = nullptr; }
    TTextHostSettings& Settings() { return m_settings; }
    // The control lost the focus or goes: the caret the text services made goes with it.
    void DestroyCaret();

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost.
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bars, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rc, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                          LPRECT updateRect, UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rc) override;
    HRESULT TxGetViewInset(LPRECT rc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* scrollBars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* cp) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    CTxtWinHost(CRichEditUI* owner, const TTextHostSettings& settings);
    ~CTxtWinHost() = default;
    // The owner's manager window, or null without owner or window.
    HWND Window() const;

    LONG m_references = 1;
    CRichEditUI* m_owner;
    TTextHostSettings m_settings;
    bool m_caretMade = false;  // the thread's caret is the text services'
};

}  // namespace Veneer
