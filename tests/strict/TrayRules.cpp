// The notification area at log-on: on a slow or antivirus-laden PC Explorer's tray is not
// there yet, or too busy to answer Shell_NotifyIcon in time, and an add that timed out may
// have put the icon there all the same. Wine's tray answers at once.
#include <windows.h>
#include <shellapi.h>

#include "StrictRules.h"
#include "Wrap.h"

namespace {

bool g_refusing = false;
DWORD g_readyAt = 0;
bool g_addTimesOut = false;

bool Refuses()
{
    if (g_refusing && static_cast<LONG>(GetTickCount() - g_readyAt) >= 0)
        g_refusing = false;
    return g_refusing;
}

template <class Real, class Data>
BOOL NotifyIcon(Real real, DWORD message, Data* data)
{
    if (message != NIM_ADD && message != NIM_MODIFY)
        return real(message, data);
    if (Refuses()) {
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    if (message == NIM_ADD && g_addTimesOut) {
        g_addTimesOut = false;
        real(message, data);
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    return real(message, data);
}

}  // namespace

STRICT_REAL(Shell_NotifyIconA);
STRICT_REAL(Shell_NotifyIconW);

static BOOL WINAPI StrictNotifyIconA(DWORD message, PNOTIFYICONDATAA data)
{
    return NotifyIcon(__real___imp_Shell_NotifyIconA, message, data);
}

static BOOL WINAPI StrictNotifyIconW(DWORD message, PNOTIFYICONDATAW data)
{
    return NotifyIcon(__real___imp_Shell_NotifyIconW, message, data);
}

STRICT_WRAP(Shell_NotifyIconA, StrictNotifyIconA);
STRICT_WRAP(Shell_NotifyIconW, StrictNotifyIconW);

void Strict::RefuseTrayIconsFor(unsigned milliseconds)
{
    g_refusing = true;
    g_readyAt = GetTickCount() + milliseconds;
    g_addTimesOut = true;
}
