#pragma once
// CToolTip: a window's tooltip, one tool that covers the whole window and is moved to the
// control under the mouse at each tip. The tooltip window is made at the first tip and
// destroyed with the object.

#include <windows.h>

namespace Veneer {

class CToolTip {
public:
    // The hover time before a tooltip window exists: the system's default.
    static constexpr DWORD kDefaultHoverTime = 400;

    CToolTip() = default;
    ~CToolTip();
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    // Shows text (in the text code page) over area of owner's client area; an empty text
    // shows nothing. False when no tip could be shown.
    bool Show(HWND owner, const RECT& area, const char* text, HINSTANCE module);
    void Hide(HWND owner);
    // How long the mouse rests before a tip: the tooltip window's initial delay.
    DWORD HoverTime() const;
    HWND GetWindow() const { return m_window; }

private:
    bool CreateFor(HWND owner, HINSTANCE module, LPARAM record);

    HWND m_window = nullptr;
};

}  // namespace Veneer
