#pragma once
// What the window manager hands to controls and to the window: TUIEvent records for one
// control (input, focus, timers), TNotifyMsg records for the window's receivers, and the
// two receiver interfaces.

#include <windows.h>

#include "ui/core/base/UIString.h"

namespace Veneer {

class IControlUI;

// The values are fixed: controls test the ranges between the Begin and End markers.
enum class TUIEventType : int {
    None = 0,
    KeyBegin = 2,
    KeyDown = 3,
    KeyUp = 4,
    Char = 5,
    SysKey = 6,
    KeyEnd = 7,
    MouseBegin = 8,
    MouseMove = 9,
    MouseLeave = 10,
    MouseEnter = 11,
    MouseHover = 12,
    ButtonDown = 13,
    ButtonUp = 14,  // at (-1, -1): the press was cancelled, another window took the mouse
    RButtonDown = 15,
    DblClick = 16,
    ContextMenu = 17,
    ScrollWheel = 18,
    MouseEnd = 19,
    KillFocus = 20,
    SetFocus = 21,
    WindowSize = 22,
    SetCursor = 23,
    Timer = 24,
};

inline bool IsKeyEvent(TUIEventType type)
{
    return type > TUIEventType::KeyBegin && type < TUIEventType::KeyEnd;
}

inline bool IsMouseEvent(TUIEventType type)
{
    return type > TUIEventType::MouseBegin && type < TUIEventType::MouseEnd;
}

// Bits of TUIEvent::keyState; the button and Shift/Ctrl bits are those of MK_*.
enum : WORD {
    UIKEY_LBUTTON = 0x01,
    UIKEY_RBUTTON = 0x02,
    UIKEY_SHIFT = 0x04,
    UIKEY_CONTROL = 0x08,
    UIKEY_ALT = 0x20,
};

// TUIEvent::wParam of a ScrollWheel event: the way the wheel turned. Handlers leave any
// other value alone.
enum : WPARAM {
    UIWHEEL_AWAY = 0,     // a positive delta: up, or left
    UIWHEEL_TOWARDS = 1,  // a negative delta: down, or right
};

// The ScrollWheel wParam for a WM_MOUSEWHEEL's delta (GET_WHEEL_DELTA_WPARAM).
inline WPARAM WheelTurnOf(short delta)
{
    return delta < 0 ? UIWHEEL_TOWARDS : UIWHEEL_AWAY;
}

inline bool IsWheelTurn(WPARAM wParam)
{
    return wParam == UIWHEEL_AWAY || wParam == UIWHEEL_TOWARDS;
}

// Every field a producer does not set is zero.
struct TUIEvent {
    TUIEventType type = TUIEventType::None;
    IControlUI* sender = nullptr;
    DWORD timestamp = 0;  // GetTickCount when the event was made
    POINT mouse = {};     // client coordinates
    char key = 0;         // keyboard events: low byte of the message's wParam
    WORD keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A release that ends a press another window's capture cancelled: the press is finished
// without acting on it.
inline bool IsCancelledPress(const TUIEvent& event)
{
    return event.type == TUIEventType::ButtonUp && event.mouse.x == -1 && event.mouse.y == -1;
}

struct TNotifyMsg {
    CUIString type;  // "click", "windowinit", "timer" ...
    IControlUI* sender = nullptr;
    DWORD timestamp = 0;  // GetTickCount at delivery
    POINT mouse = {};     // the manager's last mouse point at delivery
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receives every notification of a window, whatever its sender.
class INotifyUI {
public:
    virtual void Notify(TNotifyMsg& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Looks at native messages first; setting handled consumes the message, and the result
// returned is then the message's result.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

}  // namespace Veneer
