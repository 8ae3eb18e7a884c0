#include "app/ProgramEntry.h"

#include <objbase.h>

#include <new>

#include "app/MainFrame.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

using namespace Veneer;

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU; the
// skin window drops the caption when it is made.
const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_STATICEDGE;
// The skin's "size" gives the window its 800 x 600 as soon as it is built.
const int kCreateWidth = 600;
const int kCreateHeight = 800;
const unsigned kTextCodePage = 936;

// Every DLL loaded from now on comes from the system folder, none from the program's folder,
// which a diskless image or a portable copy may leave writable to guests. Windows 7 without
// KB2533623 lacks the call; the framework and the token client load their DLLs from the
// system folder by themselves.
void RestrictDllSearch()
{
    using SetDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const SetDirectoriesProc setDirectories = LookUpProc<SetDirectoriesProc>(
        GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (setDirectories != nullptr)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

MainFrame* OpenMainWindow(HINSTANCE instance)
{
    RestrictDllSearch();
    // The program's own texts are GBK, whatever the system's ANSI code page is.
    if (!SetTextCodePage(kTextCodePage))
        return nullptr;
    if (const HWND running = FindWindowW(nullptr, CWideText(MainFrame::kTitle).Get())) {
        ShowWindow(running, SW_SHOWNORMAL);
        SetForegroundWindow(running);
        return nullptr;
    }
    CWindowManagerUI::SetInstance(instance);
    RegisterControls();
    if (FAILED(CoInitialize(nullptr)))
        return nullptr;
    MainFrame* frame = new (std::nothrow) MainFrame;
    if (!frame)
        return nullptr;
    // A window that failed half-way was already handed to OnFinalMessage, which deleted it.
    if (!frame->Create(nullptr, MainFrame::kTitle, kStyle, kExStyle, 0, 0, kCreateWidth,
                       kCreateHeight))
        return nullptr;
    frame->CenterWindow();
    ShowWindow(frame->GetHWND(), SW_SHOW);
    return frame;
}

void CloseMainWindow(HWND window)
{
    if (IsWindow(window))
        DestroyWindow(window);
}
