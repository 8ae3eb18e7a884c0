#pragma once
// CMenuWnd: one popup menu window, top-most and without a frame. A top-level menu builds
// its skin (a Menu element of MenuElement entries) and opens at a screen point; a submenu
// shows the nested entries of the entry that opened it, beside its menu. Every open menu
// window is a receiver of the process-wide MenuObserver, so that one broadcast closes all
// menus, or the menus below a window. A menu closes when the focus leaves for a window
// that is no menu, on Escape and when an entry without nested entries is pressed; a left
// press anywhere in a menu window ends the application's message loop. The window object
// deletes itself when its native window is destroyed.

#include <windows.h>

#include "app/ObserverImpl.h"
#include "ui/core/WindowLife.h"
#include "ui/core/UIEvent.h"
#include "ui/core/base/UIString.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace Veneer {

class CMenuElementUI;
class CMenuUI;

enum : unsigned {
    kCloseEveryMenu = 1,   // every menu closes
    kCloseMenusBelow = 2,  // the menus whose window has the given window above it
};

struct ContextMenuParam {
    unsigned code;  // kCloseEveryMenu or kCloseMenusBelow
    HWND window;
};

using MenuObserverImpl = ObserverImpl<int, ContextMenuParam>;
// The open menu windows of the process, in the order they were opened.
extern MenuObserverImpl MenuObserver;

class CMenuWnd : public CWindowWnd, public ReceiverImpl<int, ContextMenuParam>, public INotifyUI {
public:
    // parent: the owner of a top-level menu window.
    explicit CMenuWnd(HWND parent = nullptr);

    // Opens the window: a top-level menu (owner null) at point (screen) with the skin, a
    // text or a resource id (MAKEINTRESOURCEA) of type skinType; a submenu of owner, whose
    // nested entries it shows. The object ends itself when the window cannot be made.
    void Init(CMenuElementUI* owner, const char* skin, const char* skinType, POINT point);

    const char* GetWindowClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the observer, gives a submenu's entries back to their menu, deletes itself.
    void OnFinalMessage(HWND hwnd) override;

    // Closes on kCloseEveryMenu, and on kCloseMenusBelow when the window lies above it.
    int Receive(ContextMenuParam param) override;
    // Traces the notification's type to the debugger.
    void Notify(TNotifyMsg& msg) override;

    CWindowManagerUI& GetManager() { return m_pm; }
    // Whether the window is that of an open menu.
    static bool IsMenuWindow(HWND hwnd);

private:
    ~CMenuWnd() override = default;

    void OnCreateTopLevel();
    void OnCreateSubmenu();
    // Where a submenu of the given size goes, on the screen.
    RECT PlaceSubmenu(SIZE size) const;
    // The owner entry and its children back in their own menu's tree.
    void ReattachOwner();
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_parent;
    POINT m_basePoint = {};
    const char* m_skin = "";
    CUIString m_skinType;
    CWindowManagerUI m_pm;
    CMenuElementUI* m_owner = nullptr;
    CMenuUI* m_layout = nullptr;
    CWindowLife m_life;
};

}  // namespace Veneer
