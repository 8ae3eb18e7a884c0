// app: the program's own start and window under Wine, in one run: from the entry to the end
// of the first paint, a full paint of the 800 x 600 window, the repaint after one countdown
// tick, and one BitBlt of the window's back buffer to compare them with. bench/app/run runs
// it beside an authipconf.ini naming the loopback, and prints lorvik.exe's size.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/MainFrame.h"
#include "app/ProgramEntry.h"
#include "bench/BenchWindow.h"
#include "ui/controls/ControlUI.h"

using namespace Veneer;
using VeneerBench::Best;
using VeneerBench::Milliseconds;

namespace {

const int kRounds = 30;

// The program's token client starts with the window: it must find the loopback named beside
// this program, never the machine's gateway.
bool LoopbackNamedBeside()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (length == 0 || length >= sizeof path || !slash)
        return false;
    std::strcpy(slash + 1, "authipconf.ini");
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    return read && std::strlen(line) > 9 && std::strncmp(line + 9, "127.", 4) == 0;
}

void SendCode(HWND hwnd)
{
    TokenEvent* event = new TokenEvent{kTokenGet, 0, 0, "123456", 100000};
    SendMessageA(hwnd, WM_TOKEN_EVENT, 0, reinterpret_cast<LPARAM>(event));
    UpdateWindow(hwnd);
}

}  // namespace

int main()
{
    if (!LoopbackNamedBeside()) {
        std::fprintf(stderr, "app: no authipconf.ini naming 127.x beside the program; run bench/app/run\n");
        return 2;
    }
    LARGE_INTEGER entry, painted;
    QueryPerformanceCounter(&entry);
    MainFrame* frame = OpenMainWindow(GetModuleHandleA(nullptr));
    if (!frame) {
        std::fprintf(stderr, "app: no window (is another Lorvik running on this display?)\n");
        return 1;
    }
    const HWND hwnd = frame->GetHWND();
    UpdateWindow(hwnd);
    GdiFlush();
    QueryPerformanceCounter(&painted);
    const double firstPaint = Milliseconds(entry, painted);

    const double fullPaint = Best(kRounds, [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });

    SendCode(hwnd);
    TNotifyMsg tick;
    tick.type = "timer";
    tick.sender = frame->GetManager().FindControl("lbl_tokentip");
    const double tickRepaint = Best(kRounds, [&] {
        frame->Notify(tick);
        UpdateWindow(hwnd);
    });

    RECT client;
    GetClientRect(hwnd, &client);
    HDC screen = GetDC(hwnd);
    HDC buffer = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(buffer, frame->GetManager().GetOffscreenBitmap());
    const double blit = Best(kRounds, [&] {
        BitBlt(screen, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    });
    SelectObject(buffer, previous);
    DeleteDC(buffer);
    ReleaseDC(hwnd, screen);

    std::printf("app: Lorvik's own window, %ld x %ld, best of %d rounds after one to warm up\n", client.right,
                client.bottom, kRounds);
    std::printf("  entry to the end of the first paint  %8.2f ms   (target: under 50 ms)\n", firstPaint);
    std::printf("  full paint                           %8.3f ms   %5.1f x one BitBlt (target: at most 10 x)\n",
                fullPaint, fullPaint / blit);
    std::printf("  repaint after one countdown tick     %8.3f ms   %5.1f %% of a full paint (target: under 5 %%)\n",
                tickRepaint, 100.0 * tickRepaint / fullPaint);
    std::printf("  one BitBlt of the window's buffer    %8.3f ms\n", blit);
    std::fflush(stdout);
    CloseMainWindow(hwnd);
    return 0;
}
