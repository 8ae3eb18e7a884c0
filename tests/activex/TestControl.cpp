// The test control: a small in-process COM server that a skin can host. It counts its
// references and objects so that tests can see a host let everything go, reads the ambient
// properties its site offers, and fills its rectangle with a known colour, drawn by its
// host (windowless) or by a child window of its own (windowed).

#include "tests/activex/TestControl.h"

#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <cwchar>
#include <new>

namespace LorvikTestControl {
namespace {

HINSTANCE g_module = nullptr;
TStats g_stats = {};
const wchar_t kWindowClass[] = L"LorvikTestControlWindow";

void ResetEvents()
{
    g_stats.userMode = -1;
    g_stats.backColor = -1;
    g_stats.fontHeight = -1;
    g_stats.draws = 0;
    g_stats.keys = 0;
    g_stats.accelerators = 0;
    g_stats.wheels = 0;
    g_stats.cursors = 0;
    g_stats.objectRect = RECT{};
    g_stats.extent = SIZEL{};
}

// One reference of a COM pointer, released at the end of its scope.
template <class T>
class CRef {
public:
    CRef() = default;
    ~CRef() { Reset(); }
    CRef(const CRef&) = delete;
    CRef& operator=(const CRef&) = delete;
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T** Out()
    {
        Reset();
        return &m_p;
    }
    void Reset()
    {
        if (m_p != nullptr)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

// A property of the site's ambient dispatch; VT_EMPTY when the site has none.
VARIANT ReadAmbient(IOleClientSite* site, DISPID id)
{
    VARIANT value;
    VariantInit(&value);
    CRef<IDispatch> ambient;
    if (site == nullptr ||
        FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ambient.Out()))))
        return value;
    DISPPARAMS none = {};
    if (FAILED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               &value, nullptr, nullptr)))
        VariantClear(&value);
    return value;
}

LONG FontPoints(const VARIANT& font)
{
    if (font.vt != VT_DISPATCH || font.pdispVal == nullptr)
        return -1;
    CRef<IFont> face;
    if (FAILED(font.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(face.Out()))))
        return -1;
    CY size = {};
    if (FAILED(face->get_Size(&size)))
        return -1;
    return static_cast<LONG>(size.int64 / 10000);
}

void ReadAmbients(IOleClientSite* site)
{
    VARIANT mode = ReadAmbient(site, DISPID_AMBIENT_USERMODE);
    g_stats.userMode = mode.vt == VT_BOOL ? (mode.boolVal != VARIANT_FALSE ? 1 : 0) : -1;
    VARIANT back = ReadAmbient(site, DISPID_AMBIENT_BACKCOLOR);
    g_stats.backColor = back.vt == VT_I4 ? back.lVal : -1;
    VARIANT font = ReadAmbient(site, DISPID_AMBIENT_FONT);
    g_stats.fontHeight = FontPoints(font);
    VariantClear(&mode);
    VariantClear(&back);
    VariantClear(&font);
}

// An object's references, each also counted in the statistics the tests read; the object
// is deleted with its last one.
class CCountedRefs {
public:
    ULONG Add()
    {
        InterlockedIncrement(&g_stats.references);
        return static_cast<ULONG>(InterlockedIncrement(&m_count));
    }
    template <class Object>
    ULONG Drop(Object* object)
    {
        InterlockedDecrement(&g_stats.references);
        const LONG left = InterlockedDecrement(&m_count);
        if (left == 0)
            delete object;
        return static_cast<ULONG>(left);
    }

private:
    LONG m_count = 0;
};

class CControl : public IOleObject,
                 public IOleInPlaceObjectWindowless,
                 public IOleInPlaceActiveObject,
                 public IViewObject2 {
public:
    explicit CControl(bool windowed) : m_windowed(windowed)
    {
        InterlockedIncrement(&g_stats.liveObjects);
        AddRef();
    }
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IOleInPlaceObjectWindowless && !m_windowed)
            *out = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (iid == IID_IOleInPlaceActiveObject)
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (iid == IID_IViewObject || iid == IID_IViewObject2)
            *out = static_cast<IViewObject2*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.Add(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Drop(this); }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        if (site != nullptr)
            site->AddRef();
        if (m_site != nullptr)
            m_site->Release();
        m_site = site;
        if (site != nullptr)
            ReadAmbients(site);
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override
    {
        if (site == nullptr)
            return E_POINTER;
        *site = m_site;
        if (m_site != nullptr)
            m_site->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override
    {
        switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return ActivateInPlace(false);
        case OLEIVERB_UIACTIVATE:
            return ActivateInPlace(true);
        case OLEIVERB_HIDE:
            if (m_window != nullptr)
                ShowWindow(m_window, SW_HIDE);
            return S_OK;
        default:
            return OLEOBJ_S_INVALIDVERB;
        }
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override
    {
        if (clsid == nullptr)
            return E_POINTER;
        *clsid = m_windowed ? kWindowedClsid : kWindowlessClsid;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override
    {
        if (aspect != DVASPECT_CONTENT || size == nullptr)
            return E_INVALIDARG;
        m_extent = *size;
        g_stats.extent = *size;
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override
    {
        if (aspect != DVASPECT_CONTENT || size == nullptr)
            return E_INVALIDARG;
        *size = m_extent;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        if (status == nullptr)
            return E_POINTER;
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                  OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, for both of the in-place interfaces.
    STDMETHODIMP GetWindow(HWND* window) override
    {
        if (window == nullptr)
            return E_POINTER;
        *window = m_window;
        return m_window != nullptr ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override
    {
        if (m_inPlaceSite.Get() == nullptr)
            return S_OK;
        UIDeactivate();
        if (m_window != nullptr) {
            DestroyWindow(m_window);
            m_window = nullptr;
            InterlockedDecrement(&g_stats.windows);
        }
        InterlockedDecrement(&g_stats.inPlaceActive);
        if (!m_windowed)
            InterlockedDecrement(&g_stats.windowless);
        CAlive self(this);
        m_inPlaceSite->OnInPlaceDeactivate();
        m_inPlaceSite.Reset();
        m_siteWindowless.Reset();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override
    {
        if (!m_uiActive)
            return S_OK;
        m_uiActive = false;
        InterlockedDecrement(&g_stats.uiActive);
        CAlive self(this);
        if (m_frame.Get() != nullptr)
            m_frame->SetActiveObject(nullptr, nullptr);
        if (m_inPlaceSite.Get() != nullptr)
            m_inPlaceSite->OnUIDeactivate(FALSE);
        return S_OK;
    }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override
    {
        if (pos == nullptr)
            return E_INVALIDARG;
        m_rect = *pos;
        g_stats.objectRect = *pos;
        if (m_window != nullptr)
            MoveWindow(m_window, pos->left, pos->top, pos->right - pos->left,
                       pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IOleInPlaceObjectWindowless
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override
    {
        if (result != nullptr)
            *result = 0;
        switch (message) {
        case WM_KEYDOWN:
            InterlockedIncrement(&g_stats.keys);
            return S_OK;
        case WM_LBUTTONDOWN:
            return ActivateInPlace(true);
        case WM_MOUSEWHEEL:
            InterlockedIncrement(&g_stats.wheels);
            return S_OK;
        case WM_SETCURSOR:
            InterlockedIncrement(&g_stats.cursors);
            return S_OK;
        default:
            return S_FALSE;
        }
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override
    {
        if (msg == nullptr || msg->message != WM_KEYDOWN)
            return S_FALSE;
        InterlockedIncrement(&g_stats.accelerators);
        return msg->wParam == kAcceleratorKey ? S_OK : S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                      LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        if (aspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if (dc == nullptr || bounds == nullptr)
            return E_INVALIDARG;
        InterlockedIncrement(&g_stats.draws);
        const RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        Fill(dc, rc, m_windowed ? kWindowedColor : kWindowlessColor);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override
    {
        return GetExtent(aspect, size);
    }

    static void Fill(HDC dc, const RECT& rc, COLORREF color)
    {
        if (HBRUSH brush = CreateSolidBrush(color)) {
            FillRect(dc, &rc, brush);
            DeleteObject(brush);
        }
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CControl* self = reinterpret_cast<CControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(window, &ps)) {
                RECT client = {};
                GetClientRect(window, &client);
                Fill(dc, client, kWindowedColor);
                EndPaint(window, &ps);
            }
            return 0;
        }
        case WM_KEYDOWN:
            InterlockedIncrement(&g_stats.keys);
            return 0;
        case WM_LBUTTONDOWN:
            if (self != nullptr)
                self->ActivateInPlace(true);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

private:
    // A reference on the control across a call to its site, which may let the control go.
    class CAlive {
    public:
        explicit CAlive(CControl* control) : m_control(control) { m_control->AddRef(); }
        ~CAlive() { m_control->Release(); }
        CAlive(const CAlive&) = delete;
        CAlive& operator=(const CAlive&) = delete;

    private:
        CControl* m_control;
    };

    friend class CCountedRefs;  // deletes it with its last reference
    virtual ~CControl()
    {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
            InterlockedDecrement(&g_stats.windows);
        }
        if (m_site != nullptr)
            m_site->Release();
        InterlockedDecrement(&g_stats.liveObjects);
    }

    HRESULT ActivateInPlace(bool takeFocus)
    {
        CAlive self(this);
        if (m_inPlaceSite.Get() == nullptr) {
            const HRESULT hr = EnterInPlace();
            if (FAILED(hr))
                return hr;
        }
        if (takeFocus && !m_uiActive)
            return EnterUI();
        return S_OK;
    }

    HRESULT EnterInPlace()
    {
        if (m_site == nullptr)
            return E_UNEXPECTED;
        CRef<IOleInPlaceSite> site;
        if (FAILED(m_site->QueryInterface(IID_IOleInPlaceSite,
                                          reinterpret_cast<void**>(site.Out()))) ||
            site->CanInPlaceActivate() != S_OK)
            return E_FAIL;
        if (!m_windowed) {
            if (FAILED(m_site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                              reinterpret_cast<void**>(m_siteWindowless.Out()))) ||
                m_siteWindowless->CanWindowlessActivate() != S_OK)
                return E_FAIL;
            BOOL noRedraw = FALSE;
            if (FAILED(m_siteWindowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS)))
                return E_FAIL;
        } else if (FAILED(site->OnInPlaceActivate())) {
            return E_FAIL;
        }
        HWND parent = nullptr;
        RECT pos = {};
        RECT clip = {};
        OLEINPLACEFRAMEINFO info = {sizeof(info)};
        CRef<IOleInPlaceUIWindow> document;
        if (FAILED(site->GetWindow(&parent)) ||
            FAILED(site->GetWindowContext(m_frame.Out(), document.Out(), &pos, &clip, &info))) {
            site->OnInPlaceDeactivate();
            return E_FAIL;
        }
        m_rect = pos;
        g_stats.objectRect = pos;
        if (m_windowed && !CreateChild(parent)) {
            site->OnInPlaceDeactivate();
            return E_FAIL;
        }
        InterlockedIncrement(&g_stats.inPlaceActive);
        if (!m_windowed)
            InterlockedIncrement(&g_stats.windowless);
        m_inPlaceSite.Take(site);
        return S_OK;
    }

    bool CreateChild(HWND parent)
    {
        m_window = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                   m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                                   m_rect.bottom - m_rect.top, parent, nullptr, g_module, nullptr);
        if (m_window == nullptr)
            return false;
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        InterlockedIncrement(&g_stats.windows);
        g_stats.window = m_window;
        return true;
    }

    HRESULT EnterUI()
    {
        m_uiActive = true;
        InterlockedIncrement(&g_stats.uiActive);
        m_inPlaceSite->OnUIActivate();
        // The site may have deactivated the control meanwhile.
        if (!m_uiActive || m_inPlaceSite.Get() == nullptr)
            return S_OK;
        if (m_frame.Get() != nullptr)
            m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"test");
        if (m_siteWindowless.Get() != nullptr)
            m_siteWindowless->SetFocus(TRUE);
        else if (m_window != nullptr)
            ::SetFocus(m_window);
        return S_OK;
    }

    // CRef with a way to adopt a reference that another holder gives up.
    template <class T>
    class CHeld : public CRef<T> {
    public:
        void Take(CRef<T>& from)
        {
            T* p = from.Get();
            p->AddRef();
            from.Reset();
            *this->Out() = p;
        }
    };

    CCountedRefs m_refs;
    bool m_windowed;
    bool m_uiActive = false;
    IOleClientSite* m_site = nullptr;
    CHeld<IOleInPlaceSite> m_inPlaceSite;
    CRef<IOleInPlaceSiteWindowless> m_siteWindowless;
    CRef<IOleInPlaceFrame> m_frame;
    HWND m_window = nullptr;
    RECT m_rect = {};
    SIZEL m_extent = {2540, 2540};
};

class CFactory : public IClassFactory {
public:
    explicit CFactory(bool windowed) : m_windowed(windowed) { AddRef(); }
    CFactory(const CFactory&) = delete;
    CFactory& operator=(const CFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.Add(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Drop(this); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        CControl* control = new (std::nothrow) CControl(m_windowed);
        if (control == nullptr)
            return E_OUTOFMEMORY;
        const HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_stats.serverLocks);
        else
            InterlockedDecrement(&g_stats.serverLocks);
        return S_OK;
    }

private:
    friend class CCountedRefs;  // deletes it with its last reference
    virtual ~CFactory() = default;
    CCountedRefs m_refs;
    bool m_windowed;
};

bool RegisterWindowClass()
{
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = CControl::WindowProc;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0;
}

// Registration into HKEY_CLASSES_ROOT, as regsvr32 run with administrator's rights does:
// Wine's COM reads no per-user classes (HKCU\Software\Classes).

bool SetKey(const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    const bool set = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                    bytes) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return set;
}

void DeleteTree(const wchar_t* key)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
}

struct TClass {
    const char* clsid;
    const char* progId;
};
const TClass kServerClasses[] = {{kWindowlessClsidText, kWindowlessProgId},
                                 {kWindowedClsidText, kWindowedProgId}};

bool RegisterClassKeys(const TClass& entry, const wchar_t* modulePath)
{
    wchar_t clsid[64];
    wchar_t progId[64];
    wchar_t key[160];
    std::swprintf(clsid, 64, L"%hs", entry.clsid);
    std::swprintf(progId, 64, L"%hs", entry.progId);
    std::swprintf(key, 160, L"CLSID\\%ls\\InprocServer32", clsid);
    bool ok = SetKey(key, nullptr, modulePath) && SetKey(key, L"ThreadingModel", L"Apartment");
    std::swprintf(key, 160, L"CLSID\\%ls\\ProgID", clsid);
    ok = ok && SetKey(key, nullptr, progId);
    std::swprintf(key, 160, L"%ls\\CLSID", progId);
    return ok && SetKey(key, nullptr, clsid);
}

void UnregisterClassKeys(const TClass& entry)
{
    wchar_t key[160];
    std::swprintf(key, 160, L"CLSID\\%hs", entry.clsid);
    DeleteTree(key);
    std::swprintf(key, 160, L"%hs", entry.progId);
    DeleteTree(key);
}

}  // namespace
}  // namespace LorvikTestControl

using namespace LorvikTestControl;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
        ResetEvents();
        return RegisterWindowClass();
    }
    if (reason == DLL_PROCESS_DETACH)
        UnregisterClassW(kWindowClass, module);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (clsid != kWindowlessClsid && clsid != kWindowedClsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    CFactory* factory = new (std::nothrow) CFactory(clsid == kWindowedClsid);
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow()
{
    return g_stats.liveObjects == 0 && g_stats.references == 0 && g_stats.serverLocks == 0
               ? S_OK
               : S_FALSE;
}

STDAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return SELFREG_E_CLASS;
    for (const TClass& entry : kServerClasses) {
        if (!RegisterClassKeys(entry, path))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    for (const TClass& entry : kServerClasses)
        UnregisterClassKeys(entry);
    return S_OK;
}

extern "C" const TStats* WINAPI LorvikTestControlStats()
{
    return &g_stats;
}

extern "C" void WINAPI LorvikTestControlReset()
{
    ResetEvents();
}
