// WideCharToMultiByte, MultiByteToWideChar and GetACP as Windows documents them, wrapped at
// link time (README.md says how and why through the __imp_ pointers).
#include <windows.h>

#include "StrictRules.h"
#include "Wrap.h"

namespace {

unsigned g_forcedAnsiCodePage = 0;

}  // namespace

STRICT_REAL(WideCharToMultiByte);
STRICT_REAL(MultiByteToWideChar);
STRICT_REAL(GetACP);

namespace {

UINT StrictCodePage(UINT codePage)
{
    if ((codePage == CP_ACP || codePage == CP_THREAD_ACP) && g_forcedAnsiCodePage != 0)
        return g_forcedAnsiCodePage;
    return codePage;
}

UINT Resolved(UINT codePage)
{
    codePage = StrictCodePage(codePage);
    return codePage == CP_ACP || codePage == CP_THREAD_ACP ? __real___imp_GetACP() : codePage;
}

// The code pages whose conversions take no flags at all.
bool TakesNoFlags(UINT codePage)
{
    return codePage == 42 || codePage == CP_UTF7 || (codePage >= 50220 && codePage <= 50229) ||
           (codePage >= 57002 && codePage <= 57011);
}

// For UTF-8 and GB18030 the one flag allowed is the one that makes invalid input an error.
bool FlagsAllowed(UINT codePage, DWORD flags, DWORD invalidCharsFlag)
{
    if (TakesNoFlags(codePage))
        return flags == 0;
    if (codePage == CP_UTF8 || codePage == 54936)
        return (flags & ~invalidCharsFlag) == 0;
    return true;
}

int WINAPI StrictWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength,
                                     LPSTR bytes, int byteLength, LPCCH defaultChar,
                                     LPBOOL usedDefaultChar)
{
    const UINT resolved = Resolved(codePage);
    if (!FlagsAllowed(resolved, flags, WC_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // UTF-7 and UTF-8 take no default character and report none.
    if ((resolved == CP_UTF8 || resolved == CP_UTF7) &&
        (defaultChar != nullptr || usedDefaultChar != nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return __real___imp_WideCharToMultiByte(StrictCodePage(codePage), flags, wide, wideLength,
                                            bytes, byteLength, defaultChar, usedDefaultChar);
}

int WINAPI StrictMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int byteLength,
                                     LPWSTR wide, int wideLength)
{
    if (!FlagsAllowed(Resolved(codePage), flags, MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    return __real___imp_MultiByteToWideChar(StrictCodePage(codePage), flags, bytes, byteLength,
                                            wide, wideLength);
}

UINT WINAPI StrictGetACP()
{
    return g_forcedAnsiCodePage != 0 ? g_forcedAnsiCodePage : __real___imp_GetACP();
}

}  // namespace

STRICT_WRAP(WideCharToMultiByte, StrictWideCharToMultiByte);
STRICT_WRAP(MultiByteToWideChar, StrictMultiByteToWideChar);
STRICT_WRAP(GetACP, StrictGetACP);

namespace Strict {

void ForceAnsiCodePage(unsigned codePage)
{
    g_forcedAnsiCodePage = codePage;
}

}  // namespace Strict
