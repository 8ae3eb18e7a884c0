#pragma once
// The program's start and end, apart from WinMain so that the app benchmark times the
// same steps.

#include <windows.h>

class MainFrame;

// One copy per desktop: when a window of the program's title exists, it is shown and raised
// and null is returned. Otherwise the main window is made, centred and shown; null when COM,
// memory or the window fail (the program then ends silently).
MainFrame* OpenMainWindow(HINSTANCE instance);

// After the message loop: the window is destroyed, which takes its tray icon away.
void CloseMainWindow(HWND window);
