#include "ui/core/WindowWnd.h"

#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

const char kObjectProperty[] = "WndX";

// Halves truncate towards zero, also for the negative coordinates of displays left of or
// above the primary one.
int CentredStart(LONG referenceStart, LONG referenceEnd, LONG size)
{
    return (referenceStart + referenceEnd) / 2 - size / 2;
}

int ClampedStart(int start, LONG size, LONG areaStart, LONG areaEnd)
{
    if (start + size > areaEnd)
        start = areaEnd - size;
    return start < areaStart ? areaStart : start;
}

// A message on to the previous procedure (null: the default one) in the window's own form:
// superclasses are wide windows, so that a system control keeps every character of its
// text; classes of their own are ANSI windows.
LRESULT CallPrevious(WNDPROC previous, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsWindowUnicode(hwnd)) {
        return previous != nullptr ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                                   : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return previous != nullptr ? CallWindowProcA(previous, hwnd, message, wParam, lParam)
                               : DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

// Classes of their own keep the object in the window's user data.
struct CWindowWnd::UserDataLink {
    static CWindowWnd* Find(HWND hwnd)
    {
        return reinterpret_cast<CWindowWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    static void Set(HWND hwnd, CWindowWnd* window)
    {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    static void Clear(HWND hwnd) { Set(hwnd, nullptr); }
};

// Superclasses keep it in a property: the window's other storage may belong to the system
// class.
struct CWindowWnd::PropertyLink {
    static CWindowWnd* Find(HWND hwnd)
    {
        return static_cast<CWindowWnd*>(GetPropA(hwnd, kObjectProperty));
    }
    static void Set(HWND hwnd, CWindowWnd* window) { SetPropA(hwnd, kObjectProperty, window); }
    static void Clear(HWND hwnd) { RemovePropA(hwnd, kObjectProperty); }
};

POINT CenteredWindowPosition(const RECT& window, const RECT& reference, const RECT& workArea)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const int left = CentredStart(reference.left, reference.right, width);
    const int top = CentredStart(reference.top, reference.bottom, height);
    return {ClampedStart(left, width, workArea.left, workArea.right),
            ClampedStart(top, height, workArea.top, workArea.bottom)};
}

const char* CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

const char* CWindowWnd::GetClassIcon() const
{
    return nullptr;
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallPrevious(m_previousProc, m_hWnd, message, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND)
{
}

CWindowWnd::~CWindowWnd()
{
    if (m_hWnd == nullptr || !IsWindow(m_hWnd))
        return;
    if (UserDataLink::Find(m_hWnd) == this)
        UserDataLink::Clear(m_hWnd);
    if (PropertyLink::Find(m_hWnd) == this)
        PropertyLink::Clear(m_hWnd);
}

HWND CWindowWnd::Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height)
{
    const bool registered =
        GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered)
        return nullptr;
    // The procedures keep the field: an object that ends itself while its window is being
    // made must not be written to after this call.
    const HINSTANCE instance = CWindowManagerUI::GetInstance();
    if (GetSuperClassName() != nullptr)
        return CreateWindowExW(exStyle, CWideText(GetWindowClassName()).Get(),
                               CWideText(title).Get(), style, x, y, width, height, parent, nullptr,
                               instance, this);
    // The title comes after the window, in UTF-16.
    const HWND window = CreateWindowExA(exStyle, GetWindowClassName(), nullptr, style, x, y, width,
                                        height, parent, nullptr, instance, this);
    if (window != nullptr && title != nullptr && *title != '\0' && !SetWindowTitle(window, title)) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = GetClassStyle();
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = CWindowManagerUI::GetInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_ARROW));
    wc.lpszClassName = GetWindowClassName();
    const char* icon = GetClassIcon();
    CIcon large(icon ? LoadIconAtSize(wc.hInstance, icon, SM_CXICON, SM_CYICON) : nullptr);
    CIcon small(icon ? LoadIconAtSize(wc.hInstance, icon, SM_CXSMICON, SM_CYSMICON) : nullptr);
    wc.hIcon = large.Get();
    wc.hIconSm = small.Get();
    if (RegisterClassExA(&wc) == 0)
        return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    // The class keeps its icons until the process ends.
    large.Detach();
    small.Detach();
    return true;
}

bool CWindowWnd::RegisterSuperclass()
{
    const HINSTANCE instance = CWindowManagerUI::GetInstance();
    const CWideText superclass(GetSuperClassName());
    const CWideText name(GetWindowClassName());
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, superclass.Get(), &wc) &&
        !GetClassInfoExW(instance, superclass.Get(), &wc))
        return false;
    m_previousProc = wc.lpfnWndProc;
    wc.lpfnWndProc = SuperclassProc;
    wc.hInstance = instance;
    wc.lpszClassName = name.Get();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void CWindowWnd::CenterWindow()
{
    if (m_hWnd == nullptr)
        return;
    RECT window = {};
    GetWindowRect(m_hWnd, &window);
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    // The work area of the screen the owner (or the window) is on, not the primary one.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                         &monitor))
        return;
    RECT reference = monitor.rcWork;
    if (owner)
        GetWindowRect(owner, &reference);
    const POINT at = CenteredWindowPosition(window, reference, monitor.rcWork);
    SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::Close()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        PostMessageA(m_hWnd, WM_CLOSE, 1, 0);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Route<UserDataLink>(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::SuperclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Route<PropertyLink>(hwnd, message, wParam, lParam);
}

template <class Link>
LRESULT CWindowWnd::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* window = message == WM_NCCREATE ? Attach<Link>(hwnd, lParam) : Link::Find(hwnd);
    // Messages before WM_NCCREATE (the first WM_GETMINMAXINFO), and windows made without
    // an object, have nobody to go to.
    if (window == nullptr)
        return CallPrevious(nullptr, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        return window->Detach<Link>(hwnd, message, wParam, lParam);
    return window->HandleMessage(message, wParam, lParam);
}

template <class Link>
CWindowWnd* CWindowWnd::Attach(HWND hwnd, LPARAM createStruct)
{
    auto* window = static_cast<CWindowWnd*>(
        reinterpret_cast<const CREATESTRUCTA*>(createStruct)->lpCreateParams);
    if (window != nullptr) {
        window->m_hWnd = hwnd;
        Link::Set(hwnd, window);
    }
    return window;
}

template <class Link>
LRESULT CWindowWnd::Detach(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallPrevious(m_previousProc, hwnd, message, wParam, lParam);
    Link::Clear(hwnd);
    m_hWnd = nullptr;
    // Last use of the object: it may be gone once this returns.
    OnFinalMessage(hwnd);
    return result;
}

}  // namespace Veneer
