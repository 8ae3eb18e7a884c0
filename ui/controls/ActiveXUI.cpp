#include "ui/controls/ActiveXUI.h"

#include <windowsx.h>

#include <cstring>
#include <new>

#include "ui/controls/ActiveXSite.h"
#include "ui/core/base/AttributeTable.h"
#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

CActiveXUI& ActiveX(IControlUI& control)
{
    return static_cast<CActiveXUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"clsid", TAttributeKind::Plain, [](IControlUI& c, const char* v) { ActiveX(c).SetClsid(v); }},
    {"modulename", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { ActiveX(c).SetModuleName(v); }},
    {"delaycreate", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { ActiveX(c).SetDelayCreate(ParseBoolean(v)); }},
};

// A CLSID in braces, else a ProgID.
bool ReadClsid(const char* text, CLSID* clsid)
{
    if (text == nullptr || text[0] == '\0')
        return false;
    CWideText wide(text);
    // CLSIDFromString takes a non-const string, which it does not change.
    LPOLESTR name = const_cast<LPOLESTR>(wide.Get());
    return SUCCEEDED(text[0] == '{' ? CLSIDFromString(name, clsid) : CLSIDFromProgID(name, clsid));
}

// Pixels of the screen as HIMETRIC (0.01 mm), as a control's extent is given.
LONG ToHimetric(LONG pixels, int dpi)
{
    return MulDiv(pixels, 2540, dpi > 0 ? dpi : 96);
}

bool IsKeyboardMessage(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST);
}

// Mouse messages with a client point in lParam (the wheel's is a screen point).
bool IsClientMouseMessage(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL &&
           message != WM_MOUSEHWHEEL;
}

}  // namespace

const TAttributeTable CActiveXUI::kAttributeTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kOwnAttributes);

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI()
{
    ReleaseControl();
}

const char* CActiveXUI::GetClass() const
{
    return "ActiveXUI";
}

void* CActiveXUI::GetInterface(const char* name)
{
    if (name != nullptr && std::strcmp(name, "ActiveX") == 0)
        return this;
    return CControlUI::GetInterface(name);
}

UINT CActiveXUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

const TAttributeTable& CActiveXUI::GetAttributeTable() const
{
    return kAttributeTable;
}

bool CActiveXUI::GetControl(REFIID iid, void** out) const
{
    if (out == nullptr)
        return false;
    *out = nullptr;
    if (!m_object)
        return false;
    if (SUCCEEDED(m_object->QueryInterface(iid, out)) && *out != nullptr)
        return true;
    *out = nullptr;
    return false;
}

bool CActiveXUI::IsShown() const
{
    return IsVisible() && m_manager != nullptr && m_manager->GetPaintWindow() != nullptr;
}

void CActiveXUI::DoInit()
{
    CControlUI::DoInit();
    if (!m_delayCreate)
        CreateControl();
}

void CActiveXUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    // The site, the filters and the control's window belong to one window: a control that
    // moves to another is made again there.
    if (manager != m_manager && m_attempted) {
        ReleaseControl();
        m_attempted = false;
        m_announced = false;
    }
    CControlUI::SetManager(manager, parent, init);
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    CControlUI::SetPos(rc);
    if (!self || m_manager == nullptr)
        return;
    if (!m_attempted && IsShown()) {
        if (!CreateControl() || !self)
            return;
    }
    if (!m_site || !m_site->IsInPlaceActive()) {
        ActivateWhenPlaced();
        return;
    }
    SetExtent();
    const RECT clip = ClipRect();
    CComRef<IOleInPlaceObject> object(m_inPlace.Get());
    if (object)
        object->SetObjectRects(&m_rcItem, &clip);
}

void CActiveXUI::SetVisible(bool visible)
{
    CControlWatch self(this);
    CControlUI::SetVisible(visible);
    if (self)
        FollowVisibility();
}

void CActiveXUI::SetInternVisible(bool visible)
{
    CControlWatch self(this);
    CControlUI::SetInternVisible(visible);
    if (self)
        FollowVisibility();
}

void CActiveXUI::FollowVisibility()
{
    HWND window = nullptr;
    if (m_inPlace && SUCCEEDED(m_inPlace->GetWindow(&window)) && window != nullptr)
        ShowWindow(window, IsVisible() ? SW_SHOWNA : SW_HIDE);
    // A control shown for the first time is made and placed at the next layout.
    if (IsVisible() && (!m_attempted || (m_object && !m_site->IsInPlaceActive())))
        NeedUpdate();
}

bool CActiveXUI::CreateControl()
{
    if (m_attempted)
        return static_cast<bool>(m_object);
    // A tree built before its window exists tries again once it is placed in it.
    if (m_manager == nullptr || m_manager->GetPaintWindow() == nullptr)
        return false;
    m_attempted = true;
    // In-place activation, drag and drop and the clipboard need OLE on this thread.
    m_ole.reset(new (std::nothrow) COleInitialization);
    CComRef<IOleObject> object;
    m_site = CActiveXSite::Create(this, m_manager->GetPaintWindow());
    if (m_site == nullptr || !MakeObject(object)) {
        ReleaseControl();
        return false;
    }
    m_object.Take(object);
    // A local server keeps running while the control is here.
    m_lockedRunning = SUCCEEDED(OleLockRunning(m_object.Get(), TRUE, FALSE));
    m_view.QueryFrom(m_object.Get(), IID_IViewObject);
    m_filtering = m_manager->AddMessageFilter(this);
    m_manager->AddPreMessageFilter(&m_accelerators);
    return true;
}

bool CActiveXUI::MakeObject(CComRef<IOleObject>& object)
{
    CLSID clsid = {};
    if (!ReadClsid(m_clsid, &clsid))
        return false;
    if (!m_moduleName.IsEmpty()) {
        if (!m_module.Load(m_moduleName) ||
            !m_module.CreateInstance(clsid, IID_IOleObject, object.OutVoid()))
            return false;
    } else if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                       IID_IOleObject, object.OutVoid())) ||
               !object) {
        return false;
    }
    // The order the control asks for: its site first, or its state first.
    DWORD status = 0;
    if (FAILED(object->GetMiscStatus(DVASPECT_CONTENT, &status)))
        status = 0;
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst && FAILED(object->SetClientSite(m_site)))
        return false;
    CComRef<IPersistStreamInit> persist;
    if (persist.QueryFrom(object.Get(), IID_IPersistStreamInit) && FAILED(persist->InitNew()))
        return false;
    return siteFirst || SUCCEEDED(object->SetClientSite(m_site));
}

void CActiveXUI::ActivateWhenPlaced()
{
    if (!m_object || !IsShown() || IsRectEmpty(&m_rcItem))
        return;
    CControlWatch self(this);
    SetExtent();
    CComRef<IOleObject> object(m_object.Get());
    const HRESULT hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site, 0,
                                      m_manager->GetPaintWindow(), &m_rcItem);
    if (!self || FAILED(hr) || !m_site->IsInPlaceActive())
        return;
    m_inPlace.QueryFrom(m_object.Get(), IID_IOleInPlaceObject);
    if (m_site->IsWindowless())
        m_windowless.QueryFrom(m_object.Get(), IID_IOleInPlaceObjectWindowless);
    FollowVisibility();
    Invalidate();
    if (m_announced)
        return;
    m_announced = true;
    m_manager->SendNotify(this, "showactivex");
}

void CActiveXUI::SetExtent()
{
    HDC dc = m_manager->GetPaintDC();
    SIZEL extent = {ToHimetric(m_rcItem.right - m_rcItem.left, GetDeviceCaps(dc, LOGPIXELSX)),
                    ToHimetric(m_rcItem.bottom - m_rcItem.top, GetDeviceCaps(dc, LOGPIXELSY))};
    CComRef<IOleObject> object(m_object.Get());
    object->SetExtent(DVASPECT_CONTENT, &extent);
}

RECT CActiveXUI::ClipRect() const
{
    RECT clip = m_rcItem;
    for (const CControlUI* ancestor = m_parent; ancestor != nullptr;
         ancestor = ancestor->GetParent()) {
        const RECT box = ancestor->GetPos();
        if (!IntersectRect(&clip, &clip, &box))
            return RECT{};
    }
    return clip;
}

void CActiveXUI::DoEvent(TUIEvent& event)
{
    CControlWatch self(this);
    CControlUI::DoEvent(event);
    if (!self)
        return;
    if (event.type == TUIEventType::SetFocus)
        TakeFocus();
    else if (event.type == TUIEventType::KillFocus)
        DropFocus();
}

void CActiveXUI::TakeFocus()
{
    if (!m_site || !m_site->IsInPlaceActive())
        return;
    HWND window = nullptr;
    if (m_site->IsUIActive()) {
        // The manager took the keyboard for its window; a windowed control gets it back.
        if (m_inPlace && SUCCEEDED(m_inPlace->GetWindow(&window)) && window != nullptr)
            ::SetFocus(window);
        return;
    }
    CComRef<IOleObject> object(m_object.Get());
    object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, m_site, 0, m_manager->GetPaintWindow(), &m_rcItem);
}

void CActiveXUI::DropFocus()
{
    if (!m_site || !m_site->IsUIActive() || !m_inPlace)
        return;
    CComRef<IOleInPlaceObject> object(m_inPlace.Get());
    object->UIDeactivate();
}

void CActiveXUI::OnUIActivate()
{
    // The control took the keyboard by itself (a click into its window): the skin's focus
    // follows, and with it the handlers of the control that loses it.
    if (m_manager != nullptr && m_manager->GetFocus() != this)
        m_manager->SetFocus(this);
}

void CActiveXUI::OnFocusRequest(bool focus)
{
    if (m_manager == nullptr)
        return;
    if (focus && m_manager->GetFocus() != this)
        m_manager->SetFocus(this);
    else if (!focus && m_manager->GetFocus() == this)
        m_manager->SetFocus(nullptr);
}

void CActiveXUI::PaintStatusImage(HDC dc)
{
    if (!m_view || !m_site->IsWindowless())
        return;
    const RECTL bounds = {m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, m_rcPaint.left, m_rcPaint.top, m_rcPaint.right, m_rcPaint.bottom);
    CComRef<IViewObject> view(m_view.Get());
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    RestoreDC(dc, saved);
}

HRESULT CActiveXUI::ForwardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CComRef<IOleInPlaceObjectWindowless> object(m_windowless.Get());
    return object->OnWindowMessage(message, wParam, lParam, result);
}

LRESULT CActiveXUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (!m_windowless || !m_site->IsInPlaceActive() || !IsVisible())
        return 0;
    LRESULT result = 0;
    if (IsClientMouseMessage(message)) {
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT clip = ClipRect();
        // Seen by the control and then by the skin, which moves its focus and hover: the
        // control may be gone afterwards, and nothing of it is read.
        if (m_site->HasCapture() || PtInRect(&clip, pt))
            ForwardMessage(message, wParam, lParam, &result);
        return 0;
    }
    if (IsKeyboardMessage(message) && m_manager->GetFocus() == this &&
        ForwardMessage(message, wParam, lParam, &result) == S_OK) {
        handled = true;
        return result;
    }
    // The wheel and the cursor belong to the control under the pointer: one that takes
    // them keeps them from the skin (a scrolling container, the cursor of its own).
    const bool wheel = message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
    const bool cursor = message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT;
    if ((wheel || cursor) && IsUnderPointer(wheel, lParam) &&
        ForwardMessage(message, wParam, lParam, &result) == S_OK) {
        handled = true;
        return cursor ? TRUE : result;
    }
    return 0;
}

// Whether the pointer lies in the visible part of the control: at the wheel message's
// screen point, or (for the cursor, whose message carries none) where the pointer is.
bool CActiveXUI::IsUnderPointer(bool fromMessage, LPARAM lParam) const
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!fromMessage && !GetCursorPos(&pt))
        return false;
    if (!ScreenToClient(m_manager->GetPaintWindow(), &pt))
        return false;
    const RECT clip = ClipRect();
    return PtInRect(&clip, pt) != FALSE;
}

LRESULT CActiveXUI::CAcceleratorFilter::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam,
                                                       bool& handled)
{
    if (message < WM_KEYFIRST || message > WM_KEYLAST || m_owner->m_site == nullptr ||
        m_owner->m_manager->GetFocus() != m_owner)
        return 0;
    CComRef<IOleInPlaceActiveObject> active(m_owner->m_site->ActiveObject());
    if (!active)
        return 0;
    MSG msg = {::GetFocus(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime())};
    const DWORD pos = GetMessagePos();
    msg.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    handled = active->TranslateAccelerator(&msg) == S_OK;
    return 0;
}

void CActiveXUI::ReleaseControl()
{
    if (m_manager != nullptr) {
        if (m_filtering)
            m_manager->RemoveMessageFilter(this);
        m_manager->RemovePreMessageFilter(&m_accelerators);
    }
    m_filtering = false;
    // Cut loose first: what the control tells its site while it goes reaches no control of
    // the skin (the focus, the layout), which may be in the middle of destroying this one.
    if (m_site != nullptr)
        m_site->DropOwner();
    m_windowless.Reset();
    CComRef<IOleInPlaceObject> inPlace;
    inPlace.Take(m_inPlace);
    if (inPlace)
        inPlace->InPlaceDeactivate();
    inPlace.Reset();
    m_view.Reset();
    CComRef<IOleObject> object;
    object.Take(m_object);
    if (object) {
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        if (m_lockedRunning)
            OleLockRunning(object.Get(), FALSE, TRUE);
    }
    m_lockedRunning = false;
    object.Reset();
    if (m_site != nullptr)
        m_site->Release();
    m_site = nullptr;
    m_module.Release();
    m_ole.reset();
}

}  // namespace Veneer
