#include "ui/controls/ActiveXModule.h"

#include <cwchar>

#include "ui/controls/ComRef.h"
#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

using GetClassObjectProc = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadNowProc = HRESULT(WINAPI*)();

bool IsSeparator(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

bool IsAbsolute(const wchar_t* name)
{
    const bool drive =
        ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z')) &&
        name[1] == L':' && IsSeparator(name[2]);
    return drive || (IsSeparator(name[0]) && IsSeparator(name[1]));
}

// A name relative to a drive's current folder ("C:x.dll") or to the current drive's root
// ("\x.dll") depends on the process's state, not on the program's folder.
bool IsAnchoredElsewhere(const wchar_t* name)
{
    return IsSeparator(name[0]) || (name[0] != L'\0' && name[1] == L':');
}

bool ClimbsOut(const wchar_t* name)
{
    for (const wchar_t* part = name; *part != L'\0';) {
        const wchar_t* end = part;
        while (*end != L'\0' && !IsSeparator(*end))
            ++end;
        if (end - part == 2 && part[0] == L'.' && part[1] == L'.')
            return true;
        part = *end == L'\0' ? end : end + 1;
    }
    return false;
}

// The program's folder with its trailing separator, into path; its length, or 0.
DWORD ProgramFolder(wchar_t* path, DWORD capacity)
{
    const DWORD length = GetModuleFileNameW(nullptr, path, capacity);
    if (length == 0 || length >= capacity)
        return 0;
    DWORD folder = length;
    while (folder > 0 && !IsSeparator(path[folder - 1]))
        --folder;
    path[folder] = L'\0';
    return folder;
}

}  // namespace

bool CActiveXModule::ResolvePath(const wchar_t* name, wchar_t* path, DWORD capacity)
{
    if (name == nullptr || name[0] == L'\0' || capacity == 0)
        return false;
    const size_t length = std::wcslen(name);
    if (IsAbsolute(name)) {
        if (length >= capacity)
            return false;
        std::wmemcpy(path, name, length + 1);
        return true;
    }
    if (IsAnchoredElsewhere(name) || ClimbsOut(name))
        return false;
    const DWORD folder = ProgramFolder(path, capacity);
    if (folder == 0 || folder + length >= capacity)
        return false;
    std::wmemcpy(path + folder, name, length + 1);
    return true;
}

bool CActiveXModule::Load(const char* name)
{
    Release();
    if (m_module != nullptr)
        return false;
    const CWideText wide(name);
    wchar_t path[MAX_PATH] = {};
    if (!ResolvePath(wide.Get(), path, MAX_PATH))
        return false;
    // A full path: the DLL's own dependencies are looked for beside it first.
    m_module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return m_module != nullptr;
}

bool CActiveXModule::CreateInstance(REFCLSID clsid, REFIID iid, void** out) const
{
    *out = nullptr;
    const auto getClassObject = LookUpProc<GetClassObjectProc>(m_module, "DllGetClassObject");
    if (getClassObject == nullptr)
        return false;
    CComRef<IClassFactory> factory;
    if (FAILED(getClassObject(clsid, IID_IClassFactory, factory.OutVoid())) || !factory)
        return false;
    if (SUCCEEDED(factory->CreateInstance(nullptr, iid, out)) && *out != nullptr)
        return true;
    *out = nullptr;
    return false;
}

void CActiveXModule::Release()
{
    if (m_module == nullptr)
        return;
    const auto canUnloadNow = LookUpProc<CanUnloadNowProc>(m_module, "DllCanUnloadNow");
    if (canUnloadNow != nullptr && canUnloadNow() != S_OK)
        return;
    FreeLibrary(m_module);
    m_module = nullptr;
}

}  // namespace Veneer
