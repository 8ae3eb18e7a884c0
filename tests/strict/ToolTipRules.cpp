// Tooltips by the Common Controls version the program's manifest selects. Without a
// dependency on version 6, Windows loads comctl32 5.82, whose TTM_ADDTOOL refuses a
// TOOLINFO larger than it knows (the size up to lParam, TTTOOLINFO_V2_SIZE); the record
// that _WIN32_WINNT >= 0x0501 gives is larger by lpReserved. Wine's comctl32 takes any size.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "StrictRules.h"
#include "Wrap.h"

namespace {

bool g_pretendVersion5 = false;
int g_refusals = 0;

bool IsToolTip(HWND window)
{
    wchar_t name[32] = {};
    return GetClassNameW(window, name, 32) != 0 && _wcsicmp(name, L"tooltips_class32") == 0;
}

// The program's activation context redirects comctl32.dll to version 6.
bool SelectsVersion6()
{
    ACTCTX_SECTION_KEYED_DATA redirection = {};
    redirection.cbSize = sizeof redirection;
    return !g_pretendVersion5 &&
           FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll", &redirection) != FALSE;
}

// An added tool that Windows would refuse; the size field leads both records.
bool RefusesTool(HWND window, UINT message, LPARAM lParam, UINT largest5)
{
    if ((message != TTM_ADDTOOLA && message != TTM_ADDTOOLW) || !IsToolTip(window))
        return false;
    if (g_refusals > 0) {
        --g_refusals;
        return true;
    }
    const UINT size = *reinterpret_cast<const UINT*>(lParam);
    return !SelectsVersion6() && size > largest5;
}

}  // namespace

STRICT_REAL(SendMessageA);
STRICT_REAL(SendMessageW);

static LRESULT WINAPI StrictSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (RefusesTool(window, message, lParam, TTTOOLINFOA_V2_SIZE))
        return FALSE;
    return __real___imp_SendMessageA(window, message, wParam, lParam);
}

static LRESULT WINAPI StrictSendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (RefusesTool(window, message, lParam, TTTOOLINFOW_V2_SIZE))
        return FALSE;
    return __real___imp_SendMessageW(window, message, wParam, lParam);
}

STRICT_WRAP(SendMessageA, StrictSendMessageA);
STRICT_WRAP(SendMessageW, StrictSendMessageW);

void Strict::PretendCommonControls5(bool on)
{
    g_pretendVersion5 = on;
}

void Strict::RefuseTools(int count)
{
    g_refusals = count;
}
