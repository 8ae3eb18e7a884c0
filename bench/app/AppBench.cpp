// app: the program's own start and window under Wine, in one run: from the entry to the end
// of the first paint, a full paint of the 800 x 600 window, the repaint after one countdown
// tick, and one BitBlt of the window's back buffer to compare them with. bench/app/run runs
// it beside an authipconf.ini naming the loopback, and prints lorvik.exe's size.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/MainFrame.h"
#include "app/ProgramEntry.h"
#include "bench/Timing.h"
#include "token/GatewayDiscovery.h"
#include "token/TokenSeams.h"
#include "ui/controls/ControlUI.h"
#include "ui/core/Win32Util.h"

using namespace Token;
using namespace Veneer;
using LorvikBench::Best;
using LorvikBench::Milliseconds;

namespace {

const int kRounds = 30;

// The program's token client starts with the window: it must find the loopback named beside
// this program, never the machine's gateway. The setting is read where and as the client
// reads it.
bool LoopbackNamedBeside()
{
    char path[1100];  // as large as the client's
    if (!SettingFilePath(path, sizeof path))
        return false;
    char setting[16];
    ReadServerSetting(path, setting);
    return std::strncmp(setting, "127.", 4) == 0;
}

void SendCode(HWND hwnd)
{
    TokenEvent* event = new TokenEvent{kTokenGet, 0, 0, "123456", 100000};
    SendMessageA(hwnd, WM_TOKEN_EVENT, 0, reinterpret_cast<LPARAM>(event));
    UpdateWindow(hwnd);
}

// Two measures of each paint: the whole paint message (invalidate, WM_PAINT with the
// platform's own work) and the drawing alone (the tree into a back buffer like the
// manager's, then the copy onto the window), which is what the message does for the
// controls. The manager's own buffer stays its own: a bitmap is in one DC at a time.
struct TPaintFigures {
    double blit, fullPaint, fullDraw, tickPaint, tickDraw, pixelPaint, labelDraw;
};

TPaintFigures MeasurePaints(MainFrame& frame, HDC screen, const RECT& client)
{
    const HWND hwnd = frame.GetHWND();
    CWindowManagerUI& manager = frame.GetManager();
    // Declared in this order, they give back the selection, then the bitmap, then the DC.
    CMemoryDC memory(screen);
    CGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    CSelectObject select(memory.Get(), bitmap.Get());
    const HDC buffer = memory.Get();
    const auto draw = [&](const RECT& rc) {
        manager.GetRoot()->DoPaint(buffer, rc);
        BitBlt(screen, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, buffer, rc.left,
               rc.top, SRCCOPY);
    };

    TPaintFigures f;
    f.blit = Best(
        kRounds, [&] { BitBlt(screen, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY); });
    f.fullPaint = Best(kRounds, [&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    f.fullDraw = Best(kRounds, [&] { draw(client); });

    SendCode(hwnd);
    TNotifyMsg tick;
    tick.type = "timer";
    tick.sender = manager.FindControl("lbl_tokentip");
    const RECT tip = tick.sender->GetPos();
    f.tickPaint = Best(kRounds, [&] {
        frame.Notify(tick);
        UpdateWindow(hwnd);
    });
    f.tickDraw = Best(kRounds, [&] {
        frame.Notify(tick);
        ValidateRect(hwnd, nullptr);
        draw(tip);
    });
    // Where the tick's time goes: what any paint message costs whatever it draws (one pixel in
    // the middle of the window, inside its rounded region), and the countdown label's drawing.
    const RECT pixel = {client.right / 2, client.bottom / 2, client.right / 2 + 1,
                        client.bottom / 2 + 1};
    f.pixelPaint = Best(kRounds, [&] {
        InvalidateRect(hwnd, &pixel, FALSE);
        UpdateWindow(hwnd);
    });
    f.labelDraw = Best(kRounds, [&] { tick.sender->DoPaint(buffer, tip); });
    return f;
}

}  // namespace

int main()
{
    if (!LoopbackNamedBeside()) {
        std::fprintf(stderr,
                     "app: no authipconf.ini naming 127.x beside the program; run bench/app/run\n");
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

    RECT client;
    GetClientRect(hwnd, &client);
    HDC screen = GetDC(hwnd);
    const TPaintFigures f = MeasurePaints(*frame, screen, client);
    ReleaseDC(hwnd, screen);

    std::printf("app: Lorvik's own window, %ld x %ld, best of %d rounds after one to warm up\n",
                client.right, client.bottom, kRounds);
    std::printf("  entry to the end of the first paint   %8.2f ms   (target: under 50 ms)\n",
                firstPaint);
    std::printf("  one BitBlt of the window's buffer     %8.3f ms\n", f.blit);
    std::printf("                                        paint message          drawing alone\n");
    std::printf(
        "  full paint                            %8.3f ms %6.1f x    %8.3f ms %6.1f x one BitBlt"
        " (target: at most 10 x)\n",
        f.fullPaint, f.fullPaint / f.blit, f.fullDraw, f.fullDraw / f.blit);
    std::printf("  repaint after one countdown tick      %8.3f ms %6.1f %%    %8.3f ms %6.1f %% of "
                "a full paint"
                " (target: under 5 %%)\n",
                f.tickPaint, 100.0 * f.tickPaint / f.fullPaint, f.tickDraw,
                100.0 * f.tickDraw / f.fullDraw);
    std::printf("    of which the countdown's label      %8.3f ms %6.1f %% of a full drawing\n",
                f.labelDraw, 100.0 * f.labelDraw / f.fullDraw);
    std::printf("  a paint message of one pixel          %8.3f ms   (what any paint message costs, "
                "whatever it draws)\n",
                f.pixelPaint);
    std::fflush(stdout);
    CloseMainWindow(hwnd);
    return 0;
}
