// The manager's message table on a real window: which control each message reaches, in
// which order, with which fields.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "tests/ControlTreeFixture.h"
#include "ui/core/base/TextStep.h"
#if defined(LORVIK_STRICT)
#include "StrictRules.h"
#endif

namespace VeneerTest {
namespace {

// Two leaves side by side on a root that covers the window.
class WindowManagerMessagesTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = AttachRoot();
        a = new ProbeControl("A", &log);
        b = new ProbeControl("B", &log);
        AddPlaced(root, a, RECT{10, 10, 60, 60});
        AddPlaced(root, b, RECT{100, 10, 150, 60});
        Paint();
        log.clear();
        notes.Clear();
    }

    CContainerUI* root = nullptr;
    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;
};

TEST_F(WindowManagerMessagesTest, MovingBetweenControlsLeavesThenEntersThenMoves)
{
    Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ((EventLog{"A:MouseEnter", "A:MouseMove"}), log);
    log.clear();
    Mouse(WM_MOUSEMOVE, 110, 20);
    EXPECT_EQ((EventLog{"A:MouseLeave", "B:MouseEnter", "B:MouseMove"}), log);
    EXPECT_EQ(b, b->events.back().sender);
    EXPECT_EQ(110, b->events.back().mouse.x);
    EXPECT_EQ(20, b->events.back().mouse.y);
    EXPECT_EQ(110, Manager().GetMousePos().x);

    log.clear();
    Mouse(WM_MOUSEMOVE, 5, 5);  // over the root only
    EXPECT_EQ((EventLog{"B:MouseLeave"}), log);
}

TEST_F(WindowManagerMessagesTest, ThePressedControlKeepsTheMouseUntilRelease)
{
    Mouse(WM_MOUSEMOVE, 20, 20);
    log.clear();
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ((EventLog{"A:SetFocus", "A:ButtonDown"}), log);
    EXPECT_EQ(MK_LBUTTON | MK_SHIFT, a->events.back().keyState);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT), a->events.back().wParam);
    EXPECT_EQ(Window(), GetCapture());

    log.clear();
    Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
    EXPECT_EQ((EventLog{"A:MouseLeave", "B:MouseEnter", "A:MouseMove"}), log);
    EXPECT_EQ(110, a->events.back().mouse.x);

    log.clear();
    Mouse(WM_LBUTTONUP, 110, 20);
    EXPECT_EQ((EventLog{"A:ButtonUp"}), log);
    EXPECT_EQ(nullptr, GetCapture());
    log.clear();
    Mouse(WM_LBUTTONUP, 110, 20);
    EXPECT_TRUE(log.empty()) << "no capture after the release";
}

TEST_F(WindowManagerMessagesTest, APressWhoseCaptureAnotherWindowTakesIsCancelled)
{
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, other);
    log.clear();
    SetCapture(other);  // as Alt+Tab during the press would
    EXPECT_EQ((EventLog{"A:ButtonUp"}), log);
    EXPECT_EQ(-1, a->events.back().mouse.x) << "released over no control";
    EXPECT_EQ(-1, a->events.back().mouse.y);

    log.clear();
    Mouse(WM_MOUSEMOVE, 110, 20);
    EXPECT_EQ((EventLog{"A:MouseLeave", "B:MouseEnter", "B:MouseMove"}), log)
        << "the mouse is free again";
    Mouse(WM_LBUTTONUP, 110, 20);
    EXPECT_EQ("B:MouseMove", log.back()) << "no second release";
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(WindowManagerMessagesTest, DoubleClickCapturesWithoutMovingTheFocus)
{
    Mouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
    EXPECT_EQ((EventLog{"A:DblClick"}), log);
    EXPECT_EQ(0u, a->events.back().wParam);
    EXPECT_EQ(0, a->events.back().lParam);
    EXPECT_EQ(MK_LBUTTON, a->events.back().keyState);
    EXPECT_EQ(nullptr, Manager().GetFocus());
    Mouse(WM_LBUTTONUP, 110, 20);
    EXPECT_EQ("A:ButtonUp", log.back());
}

TEST_F(WindowManagerMessagesTest, ContextMenuGoesToTheRightClickedControlAndEndsTheCapture)
{
    a->SetContextMenuUsed(true);
    Mouse(WM_RBUTTONDOWN, 20, 20, MK_RBUTTON);
    EXPECT_EQ((EventLog{"A:SetFocus", "A:RButtonDown"}), log);
    log.clear();
    ScreenMouse(WM_CONTEXTMENU, 25, 30);
    EXPECT_EQ((EventLog{"A:ContextMenu"}), log);
    EXPECT_EQ(reinterpret_cast<LPARAM>(static_cast<IControlUI*>(a)), a->events.back().lParam);
    EXPECT_EQ(25, a->events.back().mouse.x);
    EXPECT_EQ(30, a->events.back().mouse.y);
    EXPECT_EQ((std::vector<std::string>{"A:setfocus", "A:menu"}), notes.entries);
    EXPECT_EQ(nullptr, GetCapture());

    log.clear();
    Mouse(WM_LBUTTONUP, 20, 20);
    ScreenMouse(WM_CONTEXTMENU, 25, 30);
    EXPECT_TRUE(log.empty()) << "the capture control was cleared by the first context menu";
}

TEST_F(WindowManagerMessagesTest, WheelReportsTheDirectionWithoutAPointThenTheHoverFollows)
{
    ScreenMouse(WM_MOUSEWHEEL, 20, 20, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    EXPECT_EQ((EventLog{"A:ScrollWheel", "A:MouseEnter", "A:MouseMove"}), log);
    const TUIEvent& wheel = a->events[0];
    EXPECT_EQ(1u, wheel.wParam) << "towards the user";
    EXPECT_EQ(0, wheel.mouse.x);
    EXPECT_EQ(0, wheel.mouse.y);
    EXPECT_EQ(a, wheel.sender);

    ScreenMouse(WM_MOUSEWHEEL, 20, 20, MAKEWPARAM(0, WHEEL_DELTA));
    EXPECT_EQ(0u, a->events[3].wParam) << "away from the user";
}

TEST_F(WindowManagerMessagesTest, HoverTellsTheHoverControlAndShowsTheFoundControlsToolTip)
{
    a->SetToolTip("tip of A");
    Mouse(WM_MOUSEMOVE, 20, 20);
    log.clear();
    Mouse(WM_MOUSEHOVER, 20, 20);
    EXPECT_EQ((EventLog{"A:MouseHover"}), log);

    HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    while (tip != nullptr && GetWindow(tip, GW_OWNER) != Window())
        tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr);
    ASSERT_NE(nullptr, tip);
    char text[64] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(Window());
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ("tip of A", text);
}

TEST_F(WindowManagerMessagesTest, ALeaveAfterAHoverTellsTheHoverControlItWasLeft)
{
    // The system goes on tracking the leave after a hover: a pointer that leaves the
    // window by its next sample brings only WM_MOUSELEAVE.
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_MOUSEHOVER, 20, 20);
    log.clear();
    Send(WM_MOUSELEAVE);
    EXPECT_EQ((EventLog{"A:MouseLeave"}), log);

    log.clear();
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_MOUSEHOVER, 20, 20);
    EXPECT_EQ((EventLog{"A:MouseEnter", "A:MouseMove", "A:MouseHover"}), log)
        << "coming back asks for the hover again";
}

// The tooltip window of the test's window, or null.
HWND ToolTipOf(HWND window)
{
    HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    while (tip != nullptr && GetWindow(tip, GW_OWNER) != window)
        tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr);
    return tip;
}

// "한글" as text of code page 65001, which the system's code page (GBK) cannot hold.
TEST_F(WindowManagerMessagesTest, ToolTipsKeepEveryCharacterOfTheTextCodePage)
{
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_UTF8));
    a->SetToolTip("\xED\x95\x9C\xEA\xB8\x80");
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_MOUSEHOVER, 20, 20);
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_ACP));

    const HWND tip = ToolTipOf(Window());
    ASSERT_NE(nullptr, tip);
    wchar_t text[16] = {};
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(Window());
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 16, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(L"\uD55C\uAE00", text);
}

#if defined(LORVIK_STRICT)
// comctl32 5.82 (a host program without the manifest) takes the framework's tool, and a
// tool that is refused is tried again with the next tip instead of leaving a mute window.
TEST_F(WindowManagerMessagesTest, ToolTipsTakeCommonControls5AndARefusedToolIsTriedAgain)
{
    Strict::PretendCommonControls5(true);
    Strict::RefuseTools(1);
    a->SetToolTip("tip of A");
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_MOUSEHOVER, 20, 20);
    EXPECT_EQ(nullptr, ToolTipOf(Window()));
    Mouse(WM_MOUSEHOVER, 20, 20);
    const HWND tip = ToolTipOf(Window());
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    Strict::PretendCommonControls5(false);
}
#endif

TEST_F(WindowManagerMessagesTest, KeysGoToTheFocusAndKeyUpToTheControlThatSawKeyDown)
{
    a->SetFocus();
    log.clear();
    Send(WM_KEYDOWN, 'K');
    b->SetFocus();
    log.clear();
    Send(WM_KEYUP, 'K');
    Send(WM_CHAR, 'k');
    Send(WM_KEYUP, 'K');
    EXPECT_EQ((EventLog{"A:KeyUp", "B:Char"}), log);
    EXPECT_EQ('K', a->events.back().key);
    EXPECT_EQ(nullptr, a->events.back().sender);
    EXPECT_EQ('k', b->events.back().key);
}

TEST_F(WindowManagerMessagesTest, ResizingTellsTheFocusAndRelaysTheRoot)
{
    b->SetFocus();
    Paint();
    log.clear();
    SetWindowPos(Window(), nullptr, 0, 0, kWidth + 20, kHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ((EventLog{"B:WindowSize"}), log);
    EXPECT_TRUE(root->IsUpdateNeeded());
    Paint();
    EXPECT_EQ(kWidth + 20, root->GetWidth());
}

TEST_F(WindowManagerMessagesTest, CloseEndsHoverAndFocusAndCancelsThePress)
{
    Mouse(WM_LBUTTONDOWN, 20, 20);
    Mouse(WM_MOUSEMOVE, 30, 20);
    log.clear();
    LRESULT result = 0;
    EXPECT_FALSE(Manager().MessageHandler(WM_CLOSE, 0, 0, result));
    EXPECT_EQ((EventLog{"A:MouseLeave", "A:ButtonUp", "A:KillFocus"}), log);
    const auto up = std::find_if(a->events.begin(), a->events.end(), [](const TUIEvent& event) {
        return event.type == TUIEventType::ButtonUp;
    });
    ASSERT_NE(a->events.end(), up);
    EXPECT_TRUE(IsCancelledPress(*up)) << "the pressed button is not clicked";
    EXPECT_EQ(nullptr, Manager().GetFocus());
}

LRESULT CALLBACK Reflector(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0x2000 && message < 0x3000)
        return message;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(WindowManagerMessagesTest, EachMessageAnswersHandledAsTheTableSays)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Reflector;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VeneerTestReflector";
    RegisterClassA(&wc);
    HWND child = CreateWindowA("VeneerTestReflector", "", WS_CHILD, 0, 0, 10, 10, Window(), nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(nullptr, child);
    NMHDR header = {child, 1, 0};
    const LPARAM fromChild = reinterpret_cast<LPARAM>(child);
    MINMAXINFO limits = {};
    POINT screen = {20, 20};
    ClientToScreen(Window(), &screen);
    const LPARAM overA = MAKELPARAM(20, 20);

    // The result is written only where the table gives one; -1 stands for "untouched".
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool handled;
        LRESULT result;
    };
    const Case cases[] = {
        // Messages from child windows come back to them reflected.
        {WM_COMMAND, 0, fromChild, true, 0x2111},
        {WM_COMMAND, 0, 0, false, -1},
        {WM_CTLCOLORSTATIC, 0, fromChild, true, 0x2000 + WM_CTLCOLORSTATIC},
        {WM_CTLCOLOREDIT, 0, fromChild, true, 0x2000 + WM_CTLCOLOREDIT},
        {WM_CTLCOLOREDIT, 0, 0, false, -1},
        {WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), true, 0x2000 + WM_NOTIFY},
        {WM_NOTIFY, 0, 0, true, 0},
        // The window's own.
        {WM_ERASEBKGND, 0, 0, true, 1},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight), true, -1},
        {WM_PAINT, 0, 0, true, -1},
        {WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits), false, -1},
        {WM_APP + 1, 0, 0, false, -1},
        {WM_USER + 5, 0, 0, false, -1},
        // Input: the controls see it, and the window's procedure still does.
        {WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), false, -1},
        {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), false, -1},  // A wants none
        {WM_MOUSEMOVE, 0, overA, false, -1},
        {WM_MOUSEHOVER, 0, overA, true, -1},
        {WM_MOUSEHOVER, 0, MAKELPARAM(-5, -5), false, -1},  // over no control
        {WM_MOUSELEAVE, 0, 0, false, -1},
        {WM_LBUTTONDOWN, MK_LBUTTON, overA, false, -1},
        {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), true, -1},  // while captured
        {WM_CAPTURECHANGED, 0, 0, false, -1},
        {WM_LBUTTONUP, 0, overA, false, -1},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, overA, false, -1},
        {WM_RBUTTONDOWN, MK_RBUTTON, overA, false, -1},
        {WM_CONTEXTMENU, 0, MAKELPARAM(screen.x, screen.y), false, -1},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y), false, -1},
        {WM_KEYDOWN, 'K', 0, false, -1},
        {WM_CHAR, 'k', 0, false, -1},
        {WM_KEYUP, 'K', 0, false, -1},
        {WM_TIMER, 17, 0, false, -1},
        {WM_CLOSE, 0, 0, false, -1},
    };
    for (const Case& c : cases) {
        LRESULT result = -1;
        EXPECT_EQ(c.handled, Manager().MessageHandler(c.message, c.wParam, c.lParam, result))
            << std::hex << c.message;
        EXPECT_EQ(c.result, result) << std::hex << c.message;
    }
    ReleaseCapture();
    DestroyWindow(child);
}

class Consumer : public IMessageFilterUI {
public:
    LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        ++seen;
        handled = message == WM_USER + 7;
        return 42;
    }
    int seen = 0;
};

TEST_F(WindowManagerMessagesTest, AFilterThatConsumesAMessageGivesItsResult)
{
    Consumer filter;
    ASSERT_TRUE(Manager().AddMessageFilter(&filter));
    EXPECT_EQ(42, Send(WM_USER + 7));
    Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ((EventLog{"A:MouseEnter", "A:MouseMove"}), log) << "not consumed: handled as usual";
    EXPECT_TRUE(Manager().RemoveMessageFilter(&filter));
    EXPECT_FALSE(Manager().RemoveMessageFilter(&filter));
    EXPECT_EQ(0, Send(WM_USER + 7));
    EXPECT_EQ(2, filter.seen);
}

TEST_F(WindowManagerMessagesTest, MinimumAndMaximumTrackSizesComeFromTheWindowSettings)
{
    Manager().SetMinInfo(120, 0);
    Manager().SetMaxInfo(0, 300);
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 2};
    info.ptMaxTrackSize = {3, 4};
    LRESULT result = 0;
    EXPECT_FALSE(
        Manager().MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result));
    EXPECT_EQ(120, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(300, info.ptMaxTrackSize.y);
}

TEST_F(WindowManagerMessagesTest, ControlsOfAnotherManagerGetNoEvents)
{
    CWindowManagerUI other;
    b->SetManager(&other, root, false);
    Mouse(WM_MOUSEMOVE, 20, 20);
    log.clear();
    Mouse(WM_MOUSEMOVE, 110, 20);
    Mouse(WM_LBUTTONDOWN, 110, 20);
    Mouse(WM_RBUTTONDOWN, 110, 20);
    ScreenMouse(WM_MOUSEWHEEL, 110, 20);
    EXPECT_TRUE(log.empty()) << log.front();
    b->SetManager(&Manager(), root, false);
}

TEST_F(WindowManagerMessagesTest, PreTranslationConsumesWhatAFilterTakesAndTheLoopEndsAtQuit)
{
    Consumer filter;
    Manager().AddPreMessageFilter(&filter);
    PostMessageA(Window(), WM_USER + 7, 0, 0);
    PostMessageA(Window(), WM_USER + 8, 0, 0);
    PostQuitMessage(0);
    CWindowManagerUI::MessageLoop();
    EXPECT_EQ(0, std::count(Received().begin(), Received().end(), WM_USER + 7));
    EXPECT_EQ(1, std::count(Received().begin(), Received().end(), WM_USER + 8));
    EXPECT_TRUE(Manager().RemovePreMessageFilter(&filter));
}

}  // namespace
}  // namespace VeneerTest
