#include "ui/core/WindowManagerUI.h"
#include "ui/core/XmlDocument.h"

namespace Veneer {

bool CXmlDocument::LoadFromFile(const char* name)
{
    const CUIString path = CWindowManagerUI::GetResourcePath() + name;
    return LoadFromPath(path);
}

}  // namespace Veneer
