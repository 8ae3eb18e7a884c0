#include "app/WindowImplBase.h"

#include <gtest/gtest.h>

#include <vector>

#include "ControlTreeFixture.h"
#include "DeletedObjects.h"
#include "ui/controls/ControlClasses.h"
#include "ui/core/Win32Util.h"

using namespace Veneer;

namespace {

const char kSampleSkin[] = "9200";  // tests/skins/app/sample_window.xml
const char kMissingSkin[] = "9299";

// A skin window as an application writes one, recording what reaches its handlers.
class SampleWindow : public WindowImplBase {
public:
    explicit SampleWindow(const char* skin) : m_skin(skin) {}

    const char* GetWindowClassName() const override { return "LorvikTestSkinWindow"; }
    const char* SkinFolder() override { return ""; }
    const char* SkinSource() override { return m_skin; }
    void Notify(TNotifyMsg&) override {}
    void OnSkinReady() override { ++skinReady; }

    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override
    {
        closes.push_back(wParam);
        if (quitOnClose)
            PostQuitMessage(0);
        return WindowImplBase::OnClose(message, wParam, lParam, handled);
    }
    LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override
    {
        keys.push_back(wParam);
        return WindowImplBase::OnKeyDown(message, wParam, lParam, handled);
    }

    int skinReady = 0;
    bool quitOnClose = false;
    std::vector<WPARAM> closes;
    std::vector<WPARAM> keys;

private:
    const char* m_skin;
};

// Destroys its own window from OnClose, leaves the message to the stages after it, and
// deletes itself with the window, as a main window may.
class SelfEndingWindow : public SampleWindow {
public:
    SelfEndingWindow() : SampleWindow(kSampleSkin) {}
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool& handled) override
    {
        DestroyWindow(GetHWND());
        handled = false;
        return 0;
    }
    void OnFinalMessage(HWND hwnd) override
    {
        SampleWindow::OnFinalMessage(hwnd);
        delete this;
    }
};

class WindowImplBaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        ASSERT_TRUE(RegisterControls());
    }
    void TearDown() override
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        EXPECT_EQ(VeneerTest::EventLog{}, VeneerTest::CallsAfterDelete());
        VeneerTest::CallsAfterDelete().clear();
        VeneerTest::ReleaseDeletedObjects();
    }

    // The main window's style: a caption and a system menu, which the base drops.
    HWND Open(WindowImplBase& window)
    {
        m_hwnd = window.Create(nullptr, "sample", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 50, 40,
                               600, 800);
        return m_hwnd;
    }
    // Shown and painted: the controls are laid out, so hit tests find them.
    void Show(int command = SW_SHOWNOACTIVATE)
    {
        ShowWindow(m_hwnd, command);
        UpdateWindow(m_hwnd);
    }

    UINT HitTest(int x, int y) const
    {
        POINT screen = {x, y};
        ClientToScreen(m_hwnd, &screen);
        return static_cast<UINT>(
            SendMessageA(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }

    RECT Client() const
    {
        RECT rc = {};
        GetClientRect(m_hwnd, &rc);
        return rc;
    }

    VeneerTest::AccessGuard m_guard;
    HWND m_hwnd = nullptr;
};

// Whether two regions cover the same pixels. EqualRgn compares how they are stored: Wine
// makes a round rectangle with neighbouring bands that a window's region has merged.
bool SameArea(HRGN a, HRGN b)
{
    CGdiObject<HRGN> difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.Get(), a, b, RGN_XOR) == NULLREGION;
}

struct HitCase {
    const char* what;
    POINT at;
    UINT expected;
};

TEST_F(WindowImplBaseTest, HitTestsFindTheSizingBorderAndTheCaption)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    Show();
    ASSERT_EQ(800, Client().right);
    ASSERT_EQ(600, Client().bottom);
    const HitCase cases[] = {
        {"top left corner", {3, 3}, HTTOPLEFT},
        {"top edge", {400, 3}, HTTOP},
        {"top right corner", {797, 3}, HTTOPRIGHT},
        {"left edge", {3, 300}, HTLEFT},
        {"right edge", {797, 300}, HTRIGHT},
        {"bottom left corner", {3, 597}, HTBOTTOMLEFT},
        {"bottom edge", {400, 597}, HTBOTTOM},
        {"bottom right corner", {797, 597}, HTBOTTOMRIGHT},
        {"last pixel of the left border", {5, 300}, HTLEFT},
        {"the box's own width is inside", {6, 300}, HTCLIENT},
        {"inside at the right border", {794, 300}, HTCLIENT},
        {"first pixel of the right border", {795, 300}, HTRIGHT},
        {"inside at the bottom border", {400, 594}, HTCLIENT},
        {"first pixel of the bottom border", {400, 595}, HTBOTTOM},
        {"inside the corner, over the label", {6, 6}, HTCAPTION},
        {"caption over a label", {100, 100}, HTCAPTION},
        {"caption over a button", {400, 100}, HTCLIENT},
        {"caption over an option", {600, 100}, HTCLIENT},
        {"caption over a plain control", {750, 100}, HTCAPTION},
        {"last caption row", {100, 249}, HTCAPTION},
        {"first row below the caption", {100, 250}, HTCLIENT},
        {"below the caption", {100, 260}, HTCLIENT},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(c.expected, HitTest(c.at.x, c.at.y)) << c.what;
}

TEST_F(WindowImplBaseTest, AMaximizedWindowHasNoSizingBorder)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    Show(SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(m_hwnd));
    const RECT client = Client();
    const HitCase cases[] = {
        {"top left corner, over the label", {3, 3}, HTCAPTION},
        {"top edge, over the button", {400, 3}, HTCLIENT},
        {"left edge below the caption", {3, 300}, HTCLIENT},
        {"right edge", {client.right - 3, 300}, HTCLIENT},
        {"bottom right corner", {client.right - 3, client.bottom - 3}, HTCLIENT},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(c.expected, HitTest(c.at.x, c.at.y)) << c.what;
}

TEST(FitMaximizedToWorkAreaTest, PlacesTheWindowOnTheWorkAreaOfItsMonitor)
{
    struct Case {
        const char* what;
        RECT monitor;
        RECT work;
        POINT position;
        POINT size;
    };
    const Case cases[] = {
        {"task bar at the bottom", {0, 0, 1280, 1024}, {0, 0, 1280, 984}, {0, 0}, {1280, 984}},
        {"task bar at the left", {0, 0, 1280, 1024}, {60, 0, 1280, 1024}, {60, 0}, {1220, 1024}},
        {"task bar at the top of a second monitor",
         {1280, 0, 2560, 1024},
         {1280, 40, 2560, 1024},
         {0, 40},
         {1280, 984}},
    };
    for (const Case& c : cases) {
        MINMAXINFO info = {};
        FitMaximizedToWorkArea(c.monitor, c.work, &info);
        EXPECT_EQ(c.position.x, info.ptMaxPosition.x) << c.what;
        EXPECT_EQ(c.position.y, info.ptMaxPosition.y) << c.what;
        EXPECT_EQ(c.size.x, info.ptMaxSize.x) << c.what;
        EXPECT_EQ(c.size.y, info.ptMaxSize.y) << c.what;
    }
}

TEST_F(WindowImplBaseTest, TheWholeWindowIsClientAreaWithRoundCorners)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    EXPECT_EQ(1, window.skinReady);
    const LONG style = GetWindowLongA(m_hwnd, GWL_STYLE);
    EXPECT_EQ(0, style & WS_CAPTION);
    EXPECT_EQ(WS_CLIPSIBLINGS | WS_CLIPCHILDREN, style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT frame = {};
    GetWindowRect(m_hwnd, &frame);
    EXPECT_EQ(50, frame.left) << "the window stays where it was made";
    EXPECT_EQ(40, frame.top);
    EXPECT_EQ(800, frame.right - frame.left);
    EXPECT_EQ(600, frame.bottom - frame.top);
    EXPECT_EQ(800, Client().right);
    EXPECT_EQ(600, Client().bottom);

    // The skin gives its round corners after its size: they are cut all the same.
    CGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetWindowRgn(m_hwnd, region.Get()));
    CGdiObject<HRGN> expected(CreateRoundRectRgn(0, 0, 801, 601, 5, 5));
    EXPECT_TRUE(SameArea(region.Get(), expected.Get()));

    SetWindowPos(m_hwnd, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(ERROR, GetWindowRgn(m_hwnd, region.Get()));
    expected.Reset(CreateRoundRectRgn(0, 0, 901, 701, 5, 5));
    EXPECT_TRUE(SameArea(region.Get(), expected.Get())) << "cut again at the new size";
}

TEST_F(WindowImplBaseTest, SizeLimitsComeFromTheSkinAndTheWorkArea)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    MINMAXINFO info = {};
    SendMessageA(m_hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(800, info.ptMinTrackSize.x);
    EXPECT_EQ(600, info.ptMinTrackSize.y);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right - work.left, info.ptMaxSize.x);
    EXPECT_EQ(work.bottom - work.top, info.ptMaxSize.y);
}

TEST_F(WindowImplBaseTest, EscapePostsCloseAndTheKeyIsStillDelivered)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    window.quitOnClose = true;
    PostMessageA(m_hwnd, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(m_hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    // The loop ends with the close; a timer ends it when no close comes.
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
    CWindowManagerUI::MessageLoop();
    KillTimer(nullptr, timer);
    EXPECT_EQ(std::vector<WPARAM>{1}, window.closes) << "one WM_CLOSE with wParam 1";
    EXPECT_EQ((std::vector<WPARAM>{VK_RETURN, VK_ESCAPE}), window.keys);
}

TEST_F(WindowImplBaseTest, TheSystemMenusCloseIsSwallowed)
{
    SampleWindow window(kSampleSkin);
    ASSERT_NE(nullptr, Open(window));
    EXPECT_EQ(0, SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(0, SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_CLOSE | 2, 0));
    EXPECT_TRUE(window.closes.empty());
    EXPECT_TRUE(IsWindow(m_hwnd));

    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(m_hwnd)) << "other commands are the system's";
}

TEST_F(WindowImplBaseTest, ASkinThatCannotBeBuiltLeavesAnEmptyWindow)
{
    SampleWindow window(kMissingSkin);
    ASSERT_NE(nullptr, Open(window));
    EXPECT_EQ(nullptr, window.GetManager().GetRoot());
    EXPECT_EQ(1, window.skinReady);
    UpdateWindow(m_hwnd);
    EXPECT_TRUE(DestroyWindow(m_hwnd)) << "and goes without a root";
}

TEST_F(WindowImplBaseTest, AHandlerMayDestroyTheWindowAndItsObject)
{
    auto* window = new SelfEndingWindow;
    ASSERT_NE(nullptr, Open(*window));
    SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(m_hwnd));
}

}  // namespace
