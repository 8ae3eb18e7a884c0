#pragma once
// CWindowWnd: ties one native window to one object. It registers the window class on
// demand (a class of its own, or a superclass of an existing class), creates the window with
// the object as creation parameter and hands every message to the object's HandleMessage.
// When the native window is gone the object is detached and told through OnFinalMessage;
// the window never owns the object.

#include <windows.h>

namespace Veneer {

// Top-left corner that centres a window on the reference rectangle, pulled back into the
// work area; a window wider or taller than the work area keeps its left or top edge visible.
POINT CenteredWindowPosition(const RECT& window, const RECT& reference, const RECT& workArea);

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    virtual const char* GetWindowClassName() const = 0;
    // Null: the window gets a class of its own (an ANSI window); else the class to
    // superclass, whose windows are wide, so that a system control holds every character.
    virtual const char* GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    // The icon resource of a class of its own, loaded at the system's large and small icon
    // sizes (Alt+Tab, the taskbar, the caption); null: the system's default.
    virtual const char* GetClassIcon() const;
    // Unhandled messages go to the previous window procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The native window is gone and the object detached; it may delete itself here.
    virtual void OnFinalMessage(HWND hwnd);
    // A window that outlives its object is detached, so its later messages find no object.
    virtual ~CWindowWnd();

    // Null when the class cannot be registered or the window cannot be made. The title is
    // text of the text code page, kept as UTF-16 (WideText.h).
    HWND Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
                int height);
    // An already registered class counts as success.
    bool RegisterWindowClass();
    bool RegisterSuperclass();

    // Over the owner, or over the primary work area for a window without one.
    void CenterWindow();
    // Posts WM_CLOSE (wParam 1); nothing without a live window.
    void Close();

    HWND GetHWND() const { return m_hWnd; }

private:
    struct UserDataLink;
    struct PropertyLink;

    template <class Link>
    static LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    template <class Link>
    static CWindowWnd* Attach(HWND hwnd, LPARAM createStruct);
    template <class Link>
    LRESULT Detach(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_previousProc = nullptr;  // null: the default window procedure
};

}  // namespace Veneer
