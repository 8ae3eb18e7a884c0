// A café PC with a second screen, which Wine on one Xvfb screen never has: with
// AddSecondMonitor, a monitor of the primary's size lies right of it, and the monitor
// functions place windows and points there by their centre or position, as Windows does.
// Only what the program asks is answered; the real screen stays one.
#include <windows.h>

#include "StrictRules.h"
#include "Wrap.h"

STRICT_REAL(MonitorFromWindow);
STRICT_REAL(MonitorFromPoint);
STRICT_REAL(GetMonitorInfoA);

namespace {

bool g_second = false;
const HMONITOR kSecond = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x5EC0));

RECT SecondScreen()
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    return RECT{width, 0, 2 * width, GetSystemMetrics(SM_CYSCREEN)};
}

bool OnSecond(POINT pt)
{
    const RECT screen = SecondScreen();
    return g_second && PtInRect(&screen, pt);
}

}  // namespace

static HMONITOR WINAPI StrictMonitorFromWindow(HWND window, DWORD flags)
{
    RECT rc = {};
    if (GetWindowRect(window, &rc) &&
        OnSecond(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}))
        return kSecond;
    return __real___imp_MonitorFromWindow(window, flags);
}

static HMONITOR WINAPI StrictMonitorFromPoint(POINT pt, DWORD flags)
{
    return OnSecond(pt) ? kSecond : __real___imp_MonitorFromPoint(pt, flags);
}

// The second screen's taskbar takes its bottom 40 pixels.
static BOOL WINAPI StrictGetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info)
{
    if (monitor != kSecond || !g_second)
        return __real___imp_GetMonitorInfoA(monitor, info);
    if (info == nullptr || info->cbSize < sizeof(MONITORINFO))
        return FALSE;
    info->rcMonitor = SecondScreen();
    info->rcWork = info->rcMonitor;
    info->rcWork.bottom -= 40;
    info->dwFlags = 0;
    return TRUE;
}

STRICT_WRAP(MonitorFromWindow, StrictMonitorFromWindow);
STRICT_WRAP(MonitorFromPoint, StrictMonitorFromPoint);
STRICT_WRAP(GetMonitorInfoA, StrictGetMonitorInfoA);

void Strict::AddSecondMonitor(bool on)
{
    g_second = on;
}

RECT Strict::SecondMonitorWorkArea()
{
    RECT work = SecondScreen();
    work.bottom -= 40;
    return work;
}
