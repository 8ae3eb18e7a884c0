#include "ui/controls/ActiveXSite.h"

#include <olectl.h>

#include <new>

#include "ui/controls/ActiveXUI.h"
#include "ui/core/ControlWatch.h"
#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// ARGB, 0 for none, as an OLE_COLOR (0x00BBGGRR); fallback when the skin gave none.
LONG OleColor(DWORD argb, DWORD fallback)
{
    if (argb == 0)
        return static_cast<LONG>(fallback);
    return static_cast<LONG>(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
}

void SetBool(VARIANT* value, bool on)
{
    value->vt = VT_BOOL;
    value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetLong(VARIANT* value, LONG number)
{
    value->vt = VT_I4;
    value->lVal = number;
}

}  // namespace

CActiveXSite* CActiveXSite::Create(CActiveXUI* owner, HWND window)
{
    return new (std::nothrow) CActiveXSite(owner, window);
}

CActiveXSite::~CActiveXSite()
{
    if (m_dc != nullptr)
        ::ReleaseDC(m_window, m_dc);
}

void CActiveXSite::DropOwner()
{
    m_owner = nullptr;
    m_activeObject.Reset();
    if (m_captured && ::GetCapture() == m_window)
        ReleaseCapture();
    m_captured = false;
}

STDMETHODIMP CActiveXSite::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx ||
             iid == IID_IOleInPlaceSiteWindowless)
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXSite::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CActiveXSite::Release()
{
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CActiveXSite::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker != nullptr)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::GetContainer(IOleContainer** container)
{
    if (container == nullptr)
        return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXSite::ShowObject()
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::OnShowWindow(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::GetWindow(HWND* window)
{
    if (window == nullptr)
        return E_POINTER;
    *window = m_window;
    return m_window != nullptr && IsWindow(m_window) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::CanInPlaceActivate()
{
    return m_owner != nullptr && m_owner->IsShown() ? S_OK : S_FALSE;
}

HRESULT CActiveXSite::EnterInPlace(DWORD flags)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    m_inPlace = true;
    m_windowless = (flags & ACTIVATE_WINDOWLESS) != 0;
    return S_OK;
}

STDMETHODIMP CActiveXSite::OnInPlaceActivate()
{
    return EnterInPlace(0);
}

STDMETHODIMP CActiveXSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    if (noRedraw != nullptr)
        *noRedraw = FALSE;
    return EnterInPlace(flags);
}

STDMETHODIMP CActiveXSite::OnUIActivate()
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    m_uiActive = true;
    // The focus handlers this runs may destroy the owner; nothing of it is read after.
    m_owner->OnUIActivate();
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetWindowContext(IOleInPlaceFrame** frame,
                                            IOleInPlaceUIWindow** document, LPRECT pos, LPRECT clip,
                                            LPOLEINPLACEFRAMEINFO info)
{
    if (frame == nullptr || document == nullptr || pos == nullptr || clip == nullptr ||
        info == nullptr)
        return E_POINTER;
    *frame = nullptr;
    *document = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    *pos = m_owner->GetPos();
    *clip = m_owner->ClipRect();
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    // The frame is the document window too: the skin window has no other.
    info->fMDIApp = FALSE;
    info->hwndFrame = m_window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CActiveXSite::Scroll(SIZE)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::OnUIDeactivate(BOOL)
{
    m_uiActive = false;
    return S_OK;
}

STDMETHODIMP CActiveXSite::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXSite::OnInPlaceDeactivateEx(BOOL)
{
    m_inPlace = false;
    m_windowless = false;
    m_uiActive = false;
    m_activeObject.Reset();
    return S_OK;
}

STDMETHODIMP CActiveXSite::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::OnPosRectChange(LPCRECT)
{
    // The skin's layout places the control; it keeps the rectangle the layout gave it.
    if (m_owner == nullptr || !m_owner->m_inPlace)
        return S_OK;
    const RECT pos = m_owner->GetPos();
    const RECT clip = m_owner->ClipRect();
    CComRef<IOleInPlaceObject> object(m_owner->m_inPlace.Get());
    object->SetObjectRects(&pos, &clip);
    return S_OK;
}

STDMETHODIMP CActiveXSite::RequestUIActivate()
{
    return m_owner != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetCapture()
{
    return m_captured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::SetCapture(BOOL capture)
{
    if (m_owner == nullptr || !m_windowless)
        return E_UNEXPECTED;
    if (capture) {
        ::SetCapture(m_window);
        m_captured = ::GetCapture() == m_window;
        return m_captured ? S_OK : E_FAIL;
    }
    if (m_captured && ::GetCapture() == m_window)
        ReleaseCapture();
    m_captured = false;
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetFocus()
{
    return m_owner != nullptr && m_owner->IsFocused() ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::SetFocus(BOOL focus)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    // The focus handlers this runs may destroy the owner; nothing of it is read after.
    m_owner->OnFocusRequest(focus != FALSE);
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetDC(LPCRECT, DWORD, HDC* dc)
{
    if (dc == nullptr)
        return E_POINTER;
    *dc = nullptr;
    if (m_owner == nullptr || !m_windowless || m_dc != nullptr)
        return E_FAIL;
    m_dc = ::GetDC(m_window);
    if (m_dc == nullptr)
        return E_FAIL;
    // The control draws inside its own visible part only.
    const RECT clip = m_owner->ClipRect();
    IntersectClipRect(m_dc, clip.left, clip.top, clip.right, clip.bottom);
    *dc = m_dc;
    return S_OK;
}

STDMETHODIMP CActiveXSite::ReleaseDC(HDC dc)
{
    if (dc == nullptr || dc != m_dc)
        return E_INVALIDARG;
    ::ReleaseDC(m_window, m_dc);
    m_dc = nullptr;
    return S_OK;
}

STDMETHODIMP CActiveXSite::InvalidateRect(LPCRECT rc, BOOL)
{
    if (m_owner == nullptr)
        return S_OK;
    RECT part = m_owner->ClipRect();
    if (rc != nullptr && !IntersectRect(&part, &part, rc))
        return S_OK;
    if (CWindowManagerUI* manager = m_owner->GetManager())
        manager->Invalidate(part);
    return S_OK;
}

STDMETHODIMP CActiveXSite::InvalidateRgn(HRGN region, BOOL erase)
{
    if (region == nullptr)
        return InvalidateRect(nullptr, erase);
    RECT box = {};
    if (GetRgnBox(region, &box) == ERROR)
        return E_INVALIDARG;
    return InvalidateRect(&box, erase);
}

STDMETHODIMP CActiveXSite::ScrollRect(INT, INT, LPCRECT, LPCRECT)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::AdjustRect(LPRECT rc)
{
    if (rc == nullptr)
        return E_INVALIDARG;
    if (m_owner == nullptr)
        return S_FALSE;
    const RECT clip = m_owner->ClipRect();
    return IntersectRect(rc, rc, &clip) ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = DefWindowProcA(m_window, message, wParam, lParam);
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXSite::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXSite::SetBorderSpace(LPCBORDERWIDTHS widths)
{
    // Only "no tools" fits a skin window.
    if (widths == nullptr)
        return S_OK;
    const bool none =
        widths->left == 0 && widths->top == 0 && widths->right == 0 && widths->bottom == 0;
    return none ? S_OK : INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (m_owner == nullptr && object != nullptr)
        return E_UNEXPECTED;
    CComRef<IOleInPlaceActiveObject> active(object);
    m_activeObject.Take(active);
    return S_OK;
}

STDMETHODIMP CActiveXSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::RemoveMenus(HMENU)
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CActiveXSite::TranslateAccelerator(LPMSG, WORD)
{
    // The skin window has no accelerator table of its own.
    return S_FALSE;
}

STDMETHODIMP CActiveXSite::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CActiveXSite::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS*,
                                  VARIANT* result, EXCEPINFO*, UINT*)
{
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if ((flags & DISPATCH_PROPERTYGET) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr)
        return E_POINTER;
    VariantInit(result);
    return ReadAmbient(id, result) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

bool CActiveXSite::ReadAmbient(DISPID id, VARIANT* value) const
{
    if (m_owner == nullptr)
        return false;
    const CWindowManagerUI* manager = m_owner->GetManager();
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        SetBool(value, true);
        return true;
    case DISPID_AMBIENT_UIDEAD:
        SetBool(value, !m_owner->IsEnabled());
        return true;
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        SetBool(value, false);
        return true;
    case DISPID_AMBIENT_BACKCOLOR:
        SetLong(value, OleColor(m_owner->GetBkColor(), GetSysColor(COLOR_WINDOW)));
        return true;
    case DISPID_AMBIENT_FORECOLOR:
        SetLong(value, OleColor(manager != nullptr ? manager->GetDefaultFontColor() : 0,
                                GetSysColor(COLOR_WINDOWTEXT)));
        return true;
    case DISPID_AMBIENT_LOCALEID:
        SetLong(value, static_cast<LONG>(GetUserDefaultLCID()));
        return true;
    case DISPID_AMBIENT_FONT:
        return AmbientFont(value);
    default:
        return false;
    }
}

bool CActiveXSite::AmbientFont(VARIANT* value) const
{
    CWindowManagerUI* manager = m_owner->GetManager();
    TFontEntry* entry = manager != nullptr ? manager->GetDefaultFontEntry() : nullptr;
    if (entry == nullptr || entry->font == nullptr)
        return false;
    LOGFONTW font = {};
    if (GetObjectW(entry->font, sizeof(font), &font) == 0)
        return false;
    // Points at the screen's resolution: the font's height is in pixels.
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    const LONG pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    FONTDESC desc = {sizeof(desc)};
    desc.lpstrName = font.lfFaceName;
    desc.cySize.int64 = static_cast<LONGLONG>(MulDiv(pixels, 72 * 10000, dpi > 0 ? dpi : 96));
    desc.sWeight = static_cast<SHORT>(font.lfWeight);
    desc.sCharset = font.lfCharSet;
    desc.fItalic = font.lfItalic != 0;
    desc.fUnderline = font.lfUnderline != 0;
    desc.fStrikethrough = font.lfStrikeOut != 0;
    IFontDisp* dispatch = nullptr;
    if (FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&dispatch))) ||
        dispatch == nullptr)
        return false;
    value->vt = VT_DISPATCH;
    value->pdispVal = dispatch;
    return true;
}

}  // namespace Veneer
