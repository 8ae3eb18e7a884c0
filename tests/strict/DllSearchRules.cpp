// The DLL search order of Windows: a DLL named without a folder that is no KnownDLL is
// looked for in the program's folder first, unless the load asks for the system folder
// (LOAD_LIBRARY_SEARCH_SYSTEM32) or the process set the default directories to it
// (SetDefaultDllDirectories). On a diskless image or a portable copy that folder may be
// writable by guests. Wine prefers its builtin DLLs, so nothing shows; here every such load
// fails the running test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "StrictRules.h"
#include "Wrap.h"

namespace {

DWORD g_defaultDirectories = 0;
bool g_withoutSearchFlags = false;
const DWORD kSearchFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                           LOAD_LIBRARY_SEARCH_USER_DIRS | LOAD_LIBRARY_SEARCH_SYSTEM32 |
                           LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// LORVIK_KNOWN_DLLS: the KnownDLLs list of the build (tests/strict/CMakeLists.txt).
bool IsKnownDll(const std::string& name)
{
    std::string base = Lower(name);
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".dll") == 0)
        base.resize(base.size() - 4);
    const std::string known = std::string(";") + LORVIK_KNOWN_DLLS + ";";
    return known.find(";" + base + ";") != std::string::npos;
}

bool SearchesProgramFolder(const std::string& name, DWORD flags)
{
    if (name.find_first_of("\\/") != std::string::npos)
        return false;
    if ((flags & LOAD_LIBRARY_SEARCH_SYSTEM32) != 0)
        return false;
    const bool defaults = (flags & kSearchFlags) == 0;
    if (defaults && g_defaultDirectories == LOAD_LIBRARY_SEARCH_SYSTEM32)
        return false;
    return !IsKnownDll(name);
}

std::string Narrow(const wchar_t* name)
{
    std::string narrow;
    for (; name != nullptr && *name != 0; ++name)
        narrow += *name < 0x80 ? static_cast<char>(*name) : '?';
    return narrow;
}

// False when the load is refused as Windows would refuse it.
bool Check(const std::string& name, DWORD flags)
{
    if (g_withoutSearchFlags && (flags & kSearchFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (SearchesProgramFolder(name, flags))
        ADD_FAILURE() << "strict: \"" << name
                      << "\" is no KnownDLL and would be loaded from the program's folder first";
    return true;
}

}  // namespace

STRICT_REAL(LoadLibraryA);
STRICT_REAL(LoadLibraryW);
STRICT_REAL(LoadLibraryExA);
STRICT_REAL(LoadLibraryExW);
STRICT_REAL(GetProcAddress);

static HMODULE WINAPI StrictLoadLibraryA(LPCSTR name)
{
    Check(name ? name : "", 0);
    return __real___imp_LoadLibraryA(name);
}

static HMODULE WINAPI StrictLoadLibraryW(LPCWSTR name)
{
    Check(Narrow(name), 0);
    return __real___imp_LoadLibraryW(name);
}

static HMODULE WINAPI StrictLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags)
{
    if (!Check(name ? name : "", flags))
        return nullptr;
    return __real___imp_LoadLibraryExA(name, file, flags);
}

static HMODULE WINAPI StrictLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags)
{
    if (!Check(Narrow(name), flags))
        return nullptr;
    return __real___imp_LoadLibraryExW(name, file, flags);
}

// Looked up at run time (Windows 7 without KB2533623 lacks it), so it is caught here.
using SetDirectoriesProc = BOOL(WINAPI*)(DWORD);
SetDirectoriesProc g_setDefaultDllDirectories = nullptr;

static BOOL WINAPI StrictSetDefaultDllDirectories(DWORD flags)
{
    const BOOL done = g_setDefaultDllDirectories(flags);
    if (done)
        g_defaultDirectories = flags;
    return done;
}

static FARPROC WINAPI StrictGetProcAddress(HMODULE module, LPCSTR name)
{
    const FARPROC proc = __real___imp_GetProcAddress(module, name);
    if (proc == nullptr || IS_INTRESOURCE(name) ||
        std::strcmp(name, "SetDefaultDllDirectories") != 0)
        return proc;
    if (g_withoutSearchFlags) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    g_setDefaultDllDirectories =
        reinterpret_cast<SetDirectoriesProc>(reinterpret_cast<void*>(proc));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&StrictSetDefaultDllDirectories));
}

STRICT_WRAP(LoadLibraryA, StrictLoadLibraryA);
STRICT_WRAP(LoadLibraryW, StrictLoadLibraryW);
STRICT_WRAP(LoadLibraryExA, StrictLoadLibraryExA);
STRICT_WRAP(LoadLibraryExW, StrictLoadLibraryExW);
STRICT_WRAP(GetProcAddress, StrictGetProcAddress);

void Strict::PretendWindows7WithoutKB2533623(bool on)
{
    g_withoutSearchFlags = on;
}

unsigned long Strict::DefaultDllDirectories()
{
    return g_defaultDirectories;
}
