// The program's entry under Wine, with the real token client: the build writes an
// authipconf.ini naming 127.0.0.1 beside the test programs, so its datagrams stay on the
// loopback. Alone in its program: the client's worker runs until the process ends.
#include "app/ProgramEntry.h"

#include <gtest/gtest.h>

#include "app/MainFrame.h"
#if defined(LORVIK_STRICT)
#include "StrictRules.h"
#endif

namespace {

TEST(ProgramEntryTest, OneWindowCentredAndASecondStartOnlyShowsIt)
{
    MainFrame* frame = OpenMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, frame);
#if defined(LORVIK_STRICT)
    // From the start on, DLLs come from the system folder only.
    EXPECT_EQ(static_cast<unsigned long>(LOAD_LIBRARY_SEARCH_SYSTEM32),
              Strict::DefaultDllDirectories());
#endif
    const HWND hwnd = frame->GetHWND();
    RECT rc, work;
    GetWindowRect(hwnd, &rc);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(800, rc.right - rc.left);
    EXPECT_EQ(600, rc.bottom - rc.top);
    EXPECT_NEAR((work.left + work.right) / 2, (rc.left + rc.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (rc.top + rc.bottom) / 2, 1);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(0, GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION);
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof className);
    EXPECT_STREQ("LorvikMainWnd", className);

    // The window hides only once its icon is in the notification area.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(nullptr, OpenMainWindow(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(hwnd, FindWindowA("LorvikMainWnd", nullptr));
    EXPECT_EQ(nullptr, FindWindowExA(nullptr, hwnd, "LorvikMainWnd", nullptr));
    // The window knows it was shown: one tray click hides it again.
    SendMessageA(hwnd, WM_TRAY_ICON, 0, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    CloseMainWindow(hwnd);
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
