#pragma once
// CActiveXSite: where a hosted COM control lives in its skin window. It is the control's
// client site, its in-place site for windowed and windowless activation, its frame, and the
// dispatch of the ambient properties it asks for (user mode, colours, font, locale). It
// keeps the state of the in-place session (active, windowless, active with the keyboard
// focus, holding the mouse) and tells its CActiveXUI. The control holds references on it;
// the CActiveXUI cuts itself loose (DropOwner) before it lets the control go, after which
// the site answers for the window it was made for and asks the skin for nothing.

#include <windows.h>

#include <ole2.h>
#include <ocidl.h>

#include "ui/controls/ComRef.h"

namespace Veneer {

class CActiveXUI;

class CActiveXSite : public IOleClientSite,
                     public IOleInPlaceSiteWindowless,
                     public IOleInPlaceFrame,
                     public IDispatch {
public:
    // With one reference, the caller's.
    static CActiveXSite* Create(CActiveXUI* owner, HWND window);

    void DropOwner();
    bool IsInPlaceActive() const { return m_inPlace; }
    bool IsWindowless() const { return m_windowless; }
    bool IsUIActive() const { return m_uiActive; }
    bool HasCapture() const { return m_captured; }
    // The object the control made active for the keyboard (SetActiveObject), or null.
    IOleInPlaceActiveObject* ActiveObject() const { return m_activeObject.Get(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow, of the in-place site and the frame alike
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override;

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override;
    STDMETHODIMP GetCapture() override;
    STDMETHODIMP SetCapture(BOOL capture) override;
    STDMETHODIMP GetFocus() override;
    STDMETHODIMP SetFocus(BOOL focus) override;
    STDMETHODIMP GetDC(LPCRECT rc, DWORD flags, HDC* dc) override;
    STDMETHODIMP ReleaseDC(HDC dc) override;
    STDMETHODIMP InvalidateRect(LPCRECT rc, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN region, BOOL erase) override;
    STDMETHODIMP ScrollRect(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    STDMETHODIMP AdjustRect(LPRECT rc) override;
    STDMETHODIMP OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;

    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    CActiveXSite(CActiveXUI* owner, HWND window) : m_owner(owner), m_window(window) {}
    virtual ~CActiveXSite();

    HRESULT EnterInPlace(DWORD flags);
    // The ambient property id, as a variant; false for one the site does not offer.
    bool ReadAmbient(DISPID id, VARIANT* value) const;
    bool AmbientFont(VARIANT* value) const;

    LONG m_refs = 1;
    CActiveXUI* m_owner;
    HWND m_window;
    bool m_inPlace = false;
    bool m_windowless = false;
    bool m_uiActive = false;
    bool m_captured = false;
    HDC m_dc = nullptr;  // handed out by GetDC, until ReleaseDC
    CComRef<IOleInPlaceActiveObject> m_activeObject;
};

}  // namespace Veneer
