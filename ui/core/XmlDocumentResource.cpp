#include "ui/core/WindowManagerUI.h"
#include "ui/core/base/XmlDocument.h"

namespace Veneer {

bool CXmlDocument::LoadFromFile(const char* name)
{
    const CUIString path = CWindowManagerUI::GetResourcePath() + name;
    return LoadFromPath(path);
}

bool CXmlDocument::LoadFromResource(unsigned id, const char* type)
{
    Release();
    ClearError();
    const HMODULE module = CWindowManagerUI::GetResourceModule();
    // A null type would name no type at all; the platform's answer to it is not settled.
    const HRSRC found =
        type != nullptr ? FindResourceA(module, MAKEINTRESOURCEA(id), type) : nullptr;
    if (found == nullptr)
        return Fail("Resource not found");
    const DWORD size = SizeofResource(module, found);
    const void* bytes = LockResource(LoadResource(module, found));
    if (bytes == nullptr)
        return Fail("Could not read resource");
    if (size == 0)
        return Fail("Resource is empty");
    return LoadFromMemory(bytes, size);
}

}  // namespace Veneer
