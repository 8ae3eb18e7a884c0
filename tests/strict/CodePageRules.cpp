// WideCharToMultiByte, MultiByteToWideChar and GetACP as Windows documents them, wrapped at
// link time (README.md says how and why through the __imp_ pointers).
#include "tests/strict/CodePageRules.h"

#include <windows.h>

namespace {

using WideToMultiByte = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
using MultiByteToWide = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
using AnsiCodePage = UINT(WINAPI*)();

unsigned g_forcedAnsiCodePage = 0;

}  // namespace

// The import pointers the linker gives the originals under these names.
extern "C" {
extern WideToMultiByte __real___imp_WideCharToMultiByte;
extern MultiByteToWide __real___imp_MultiByteToWideChar;
extern AnsiCodePage __real___imp_GetACP;
}

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

// What the program's calls reach instead of the import pointers.
extern "C" {
WideToMultiByte __wrap___imp_WideCharToMultiByte = StrictWideCharToMultiByte;
MultiByteToWide __wrap___imp_MultiByteToWideChar = StrictMultiByteToWideChar;
AnsiCodePage __wrap___imp_GetACP = StrictGetACP;
}

namespace LorvikStrict {

void ForceAnsiCodePage(unsigned codePage)
{
    g_forcedAnsiCodePage = codePage;
}

}  // namespace LorvikStrict
