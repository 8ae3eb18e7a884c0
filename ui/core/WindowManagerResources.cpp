#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

HINSTANCE g_instance = nullptr;

CUIString& ResourcePath()
{
    static CUIString path;
    return path;
}

}  // namespace

void CWindowManagerUI::SetInstance(HINSTANCE instance)
{
    g_instance = instance;
}

HINSTANCE CWindowManagerUI::GetInstance()
{
    return g_instance;
}

CUIString CWindowManagerUI::GetInstancePath()
{
    if (g_instance == nullptr)
        return CUIString();
    char module[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(g_instance, module, MAX_PATH);
    CUIString path(module, static_cast<int>(length));
    const int slash = path.ReverseFind('\\');
    return path.Left(slash + 1);
}

void CWindowManagerUI::SetResourcePath(const char* path)
{
    CUIString& stored = ResourcePath();
    stored = path;
    const int length = stored.GetLength();
    if (length > 0) {
        const char last = stored.GetAt(length - 1);
        // A trailing backslash may be the trail byte of a double-byte character.
        if (stored.ReverseFind('\\') != length - 1 && last != '/')
            stored += '\\';
    }
}

const CUIString& CWindowManagerUI::GetResourcePath()
{
    return ResourcePath();
}

HINSTANCE CWindowManagerUI::GetResourceModule()
{
    return g_instance;
}

}  // namespace Veneer
