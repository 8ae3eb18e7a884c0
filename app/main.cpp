// lorvik.exe: one main window per desktop, until the tray menu's item, an installer or the
// end of the session ends it.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/ProgramEntry.h"
#include "ui/core/WindowManagerUI.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    MainFrame* frame = OpenMainWindow(instance);
    if (!frame)
        return 0;
    const HWND window = frame->GetHWND();
    Veneer::CWindowManagerUI::MessageLoop();
    CloseMainWindow(window);
    return 0;
}
