// The tooltip on a plain owner window: the tip window it makes, its one tool and its end.

#include "ui/core/ToolTip.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExA(0, "STATIC", "tip owner", WS_POPUP, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }

    // The owner's one tool, with its text.
    TOOLINFOW Tool(HWND tip, wchar_t* text)
    {
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = owner;
        tool.uId = reinterpret_cast<UINT_PTR>(owner);
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tip, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
        return tool;
    }

    CWindowManagerUI loadsCommonControls;
    HWND owner = nullptr;
};

TEST_F(ToolTipTest, OneTipWindowOwnedByTheWindowCarriesTheLastTextAndArea)
{
    CToolTip tip;
    EXPECT_FALSE(tip.Show(owner, RECT{0, 0, 10, 10}, "", nullptr));
    EXPECT_EQ(tip.GetWindow(), nullptr) << "an empty text makes no window";
    EXPECT_EQ(tip.HoverTime(), CToolTip::kDefaultHoverTime);

    ASSERT_TRUE(tip.Show(owner, RECT{1, 2, 30, 40}, "first", nullptr));
    const HWND window = tip.GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
    ASSERT_TRUE(tip.Show(owner, RECT{50, 5, 90, 25}, "second", nullptr));
    EXPECT_EQ(tip.GetWindow(), window) << "the window is kept";
    EXPECT_EQ(SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[32] = {};
    const TOOLINFOW tool = Tool(window, text);
    EXPECT_STREQ(text, L"second");
    EXPECT_EQ(tool.rect.left, 50);
    EXPECT_EQ(tool.rect.bottom, 25);
    EXPECT_EQ(tip.HoverTime(),
              static_cast<DWORD>(SendMessageA(window, TTM_GETDELAYTIME, TTDT_INITIAL, 0)));
}

TEST_F(ToolTipTest, TheTipWindowEndsWithTheObject)
{
    HWND window = nullptr;
    {
        CToolTip tip;
        ASSERT_TRUE(tip.Show(owner, RECT{0, 0, 10, 10}, "tip", nullptr));
        tip.Hide(owner);
        window = tip.GetWindow();
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace Veneer
