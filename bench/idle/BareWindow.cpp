// bare: the floor bench/idle/run measures lorvik.exe against. One top-level window of the
// same size as the main window, shown without activation, and the plainest message loop;
// it does nothing until the process is ended.
#include <windows.h>

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &BareProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "LorvikIdleBare";
    if (!RegisterClassA(&windowClass))
        return 1;
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "IdleBare", WS_POPUP, 900, 0,
                                        800, 600, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
