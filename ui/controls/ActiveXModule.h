#pragma once
// CActiveXModule: the DLL a skin names for its COM control ("modulename"), loaded by its
// full path and asked for the control's class directly, without the registry. Only the
// program's folder (a bare or relative name is taken against it) or an absolute path the
// skin gives: never the DLL search path, and never a relative name that climbs out of the
// folder with "..". The module stays loaded while its server says objects of it may live.

#include <windows.h>

#include <unknwn.h>

namespace Veneer {

class CActiveXModule {
public:
    CActiveXModule() = default;
    ~CActiveXModule() { Release(); }
    CActiveXModule(const CActiveXModule&) = delete;
    CActiveXModule& operator=(const CActiveXModule&) = delete;

    // name in the text code page; false when it is refused or does not load.
    bool Load(const char* name);
    bool IsLoaded() const { return m_module != nullptr; }
    // A new object of the class through the module's DllGetClassObject; false (and *out
    // null) when the module has no such class or entry.
    bool CreateInstance(REFCLSID clsid, REFIID iid, void** out) const;
    // Lets the module go once its server can unload (DllCanUnloadNow); one that still has
    // live objects keeps its reference, since freeing it would pull code from under them.
    void Release();

    // The full path of name (UTF-16) into path; false for a name that is empty, climbs out
    // of the program's folder, is relative to a drive or root, or does not fit.
    static bool ResolvePath(const wchar_t* name, wchar_t* path, DWORD capacity);

private:
    HMODULE m_module = nullptr;
};

}  // namespace Veneer
