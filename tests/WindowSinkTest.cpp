#include "token/WindowSink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace Token;

namespace {

TokenEvent* CodeEvent()
{
    TokenEvent* event = new TokenEvent{kTokenGet, 0, 0, {}, 60};
    std::memcpy(event->token, "123456", 6);
    return event;
}

TEST(WindowSinkTest, ResultsReachTheWindowAndNeverTheWorkersOwnQueue)
{
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    WindowSink(window).PostEvent(CodeEvent());
    WindowSink(window).PostStartFailed(kStartNoServer);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_TOKEN_EVENT, WM_TOKEN_EVENT, PM_REMOVE));
    std::unique_ptr<TokenEvent> event(reinterpret_cast<TokenEvent*>(msg.lParam));
    EXPECT_EQ(kTokenGet, event->kind);
    EXPECT_STREQ("123456", event->token);
    ASSERT_TRUE(
        PeekMessageA(&msg, window, WM_TOKEN_START_FAILED, WM_TOKEN_START_FAILED, PM_REMOVE));
    EXPECT_EQ(kStartNoServer, static_cast<int>(static_cast<INT_PTR>(msg.wParam)));
    DestroyWindow(window);

    // Without a window a message would land in this thread's queue, where nobody frees it.
    WindowSink(nullptr).PostEvent(CodeEvent());
    WindowSink(nullptr).PostStartFailed(kStartNoServer);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TOKEN_EVENT, WM_TOKEN_START_FAILED, PM_REMOVE));
}

}  // namespace
