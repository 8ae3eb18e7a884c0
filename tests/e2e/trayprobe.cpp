// trayprobe: plays the notification area for the end-to-end tests, where no tray shows
// icons to click.
//
//   trayprobe --window            prints the handle of the LorvikMainWnd window, and how many
//                                 such windows exist: "HANDLE COUNT"; status 1 when none
//   trayprobe --post HANDLE MOUSE posts the tray callback (WM_USER + 1) with the mouse
//                                 message MOUSE (513 left press, 515 double click, 516 right)
//   trayprobe --icon HANDLE       status 0 while the window's icon (id 0) is in the tray
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kClassName[] = "LorvikMainWnd";
const UINT kTrayCallback = WM_USER + 1;

HWND ParseHandle(const char* text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(text, nullptr, 0)));
}

int PrintWindow()
{
    HWND first = FindWindowExA(nullptr, nullptr, kClassName, nullptr);
    int count = 0;
    for (HWND w = first; w; w = FindWindowExA(nullptr, w, kClassName, nullptr))
        ++count;
    if (!first)
        return 1;
    std::printf("%lld %d\n", static_cast<long long>(reinterpret_cast<INT_PTR>(first)), count);
    return 0;
}

// Explorer answers a change of an icon it does not hold with failure; an empty change
// alters nothing.
int HasIcon(HWND window)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &record) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int status = 2;
    if (argc == 2 && std::strcmp(argv[1], "--window") == 0)
        status = PrintWindow();
    else if (argc == 4 && std::strcmp(argv[1], "--post") == 0)
        status = PostMessageA(ParseHandle(argv[2]), kTrayCallback, 0, std::atoi(argv[3])) ? 0 : 1;
    else if (argc == 3 && std::strcmp(argv[1], "--icon") == 0)
        status = HasIcon(ParseHandle(argv[2]));
    else
        std::fputs("usage: trayprobe --window | --post HANDLE MOUSE | --icon HANDLE\n", stderr);
    std::fflush(stdout);
    return status;
}
