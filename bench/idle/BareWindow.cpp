// bare: the floor bench/idle/run measures lorvik.exe against. One top-level window, shown
// without activation beside the main window (never over it), and the plainest message loop.
//
//   bare            800 x 600, does nothing until the process is ended but track the mouse
//                   as a window with hot controls does (hover and leave, 400 ms)
//   bare --tick     keeps the schedule of a shown code the plainest way: a timer ticks once a
//                   second, each tick repaints a line of text and asks a second thread, which
//                   answers at once with a posted message
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const UINT kAnswer = WM_APP + 1;
const UINT_PTR kTickTimer = 1;
const RECT kLine = {10, 10, 210, 30};

HWND g_window = nullptr;
HANDLE g_ask = nullptr;
int g_ticks = 0;
bool g_tracking = false;

void TrackMouse(HWND window)
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 400;
    g_tracking = TrackMouseEvent(&track) != FALSE;
}

DWORD WINAPI Answerer(void*)
{
    while (WaitForSingleObject(g_ask, INFINITE) == WAIT_OBJECT_0)
        PostMessageA(g_window, kAnswer, 0, 0);
    return 0;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (!dc)
        return;
    FillRect(dc, &kLine, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%d", g_ticks);
    RECT line = kLine;
    DrawTextA(dc, text, length, &line, DT_CENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ++g_ticks;
        InvalidateRect(window, &kLine, FALSE);
        SetEvent(g_ask);
        return 0;
    case kAnswer:
        return 0;
    case WM_MOUSEMOVE:
        if (!g_tracking)
            TrackMouse(window);
        return 0;
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
        g_tracking = false;
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool StartTicking(HWND window)
{
    g_ask = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!g_ask)
        return false;
    const HANDLE thread = CreateThread(nullptr, 0, &Answerer, nullptr, 0, nullptr);
    if (!thread)
        return false;
    CloseHandle(thread);  // it runs until the process ends
    return SetTimer(window, kTickTimer, 1000, nullptr) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const bool ticking = std::strstr(commandLine, "--tick") != nullptr;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &BareProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "LorvikIdleBare";
    if (!RegisterClassA(&windowClass))
        return 1;
    // Right of the main window, which is centred on the bench's 1280 x 1024 screen.
    g_window = ticking ? CreateWindowExA(0, windowClass.lpszClassName, "IdleBareTicking", WS_POPUP,
                                         1050, 900, 220, 40, nullptr, nullptr, instance, nullptr)
                       : CreateWindowExA(0, windowClass.lpszClassName, "IdleBare", WS_POPUP, 1050,
                                         0, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!g_window || (ticking && !StartTicking(g_window)))
        return 1;
    ShowWindow(g_window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
