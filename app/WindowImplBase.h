#pragma once
// WindowImplBase: the base of every skin-driven top-level window. It joins one native
// window (CWindowWnd) to one window manager, builds the window's content from its skin
// when the window is created, and keeps the system's moving and sizing of a window that
// has no frame by answering hit tests from the skin's caption and sizing border. Native
// messages go to a row of overridable handlers first, then to the manager, last to the
// previous window procedure.

#include <windows.h>

#include "ui/core/WindowLife.h"
#include "ui/core/DialogBuilder.h"
#include "ui/core/UIEvent.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

// Gives the window the style, clipping its children and siblings, and has its frame
// recalculated where it stands (a style without a caption leaves only client area).
void SetFrameStyle(HWND hwnd, LONG style);

// Where a client point lies on a window without a frame: the sizing border (when the
// window is not maximized), the caption (a hit on a control that is not a button or an
// option), or the client area.
UINT SkinHitTest(POINT pt, const RECT& client, const RECT& sizeBox, const RECT& caption,
                 bool maximized, const Veneer::IControlUI* hit);

// Where a maximized window goes, relative to its monitor: onto the work area.
void FitMaximizedToWorkArea(const RECT& monitor, const RECT& workArea, MINMAXINFO* info);

class WindowImplBase : public Veneer::CWindowWnd,
                       public Veneer::INotifyUI,
                       public Veneer::IMessageFilterUI,
                       public Veneer::IDialogBuilderCallback {
public:
    WindowImplBase() = default;

    const char* GetSuperClassName() const override;
    // Double clicks are reported.
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Unregisters the window object from its manager.
    void OnFinalMessage(HWND hwnd) override;
    ~WindowImplBase() override = default;

    // Called once, when the skin has been built and attached.
    virtual void OnSkinReady();

    // The handlers: each sets handled to false when the message should go on to the
    // manager; the base ones that do nothing leave it so.
    virtual LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The system draws no active or inactive frame.
    virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The whole window is client area.
    virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Nothing is painted outside the client area.
    virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Maximized onto the work area; the manager then applies the skin's size limits.
    virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Cuts the skin's round corners; the manager sees the size change too.
    virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The system menu's close and Alt+F4 do nothing; other commands are the system's.
    virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Drops the caption style, builds the skin and attaches it.
    virtual LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Messages that no handler above takes; handled is false on entry.
    virtual LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    // The window's style without the caption.
    virtual LONG GetStyle();
    // The folder that skin files are relative to.
    virtual const char* SkinFolder() = 0;
    // The skin's XML resource id, in decimal.
    virtual const char* SkinSource() = 0;
    // Return and Escape pressed in the window: Escape closes it (result 1).
    virtual LRESULT OnDefaultKey(WPARAM key);

    // Sees Return and Escape before they are translated; never consumes them.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The window knows no controls beyond the builder's.
    Veneer::IControlUI* CreateControl(const char* className) override;

    Veneer::CWindowManagerUI& GetManager() { return m_pm; }

protected:
    Veneer::CWindowManagerUI m_pm;

private:
    // The handler row: the handler's result, or handled false when no handler takes it.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void CutRoundCorners();

    Veneer::CWindowLife m_life;
};
