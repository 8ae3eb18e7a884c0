#include "ui/core/WindowManagerUI.h"

namespace Veneer {

CWindowManagerUI::CWindowManagerUI()
{
    InitResources();
}

CWindowManagerUI::~CWindowManagerUI()
{
    ReleaseResources();
    if (m_paintDC != nullptr)
        ReleaseDC(m_window, m_paintDC);
}

void CWindowManagerUI::Init(HWND window)
{
    if (m_paintDC != nullptr)
        ReleaseDC(m_window, m_paintDC);
    m_window = window;
    m_paintDC = GetDC(window);
}

}  // namespace Veneer
