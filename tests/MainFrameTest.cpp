// The main window on the program's own skin, under Wine: token events sent as the client
// posts them, clicks and timer ticks as the manager delivers them, the tray callback, keys
// and the system menu. The token client is not started; the window's requests are recorded.
// This file is compiled with -fexec-charset=GBK, so its texts are the window's.
#include "app/MainFrame.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ProgramEntry.h"
#include "DeletedObjects.h"
#include "HeapCounter.h"
#include "ui/controls/ControlClasses.h"
#include "ui/controls/ControlUI.h"
#if defined(LORVIK_STRICT)
#include "StrictRules.h"
#endif

using namespace Token;
using namespace Veneer;

namespace {

const char kPrompt[] = "{f 0}请点击下方按钮来获取验证码{/f}";
const char kRequesting[] = "正在获取验证码 ...... ";
const char kDeviceLimit[] = "{c #FF0000}您连接的设备数已达上限。{/c}";
const char kAdmitted[] = "{c #007F00}您的手机已通过认证， 可以正常上网了。{/c}";
const char kRestarting[] = "{c #FF0000}通信异常，可能设备正在重启，请稍后重试。{/c}";
const char kNetwork[] = "{c #FF0000}通信异常，请检查您的网络。{/c}";
const char kBlankDigits[] = "            ";
const char kDigits[] = " 1 2 3 4 5 6";

std::string Countdown(int seconds)
{
    return "验证码将在{f 1}{c #FF0000}" + std::to_string(seconds) + "{/c}{/f}秒后过期";
}

class RecordingFrame : public MainFrame {
public:
    std::vector<int> requests;

protected:
    void OnSkinReady() override {}
    void QueueRequest(std::int32_t kind) override { requests.push_back(kind); }
};

void Pump(DWORD milliseconds = 0)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds)
            Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

bool QuitPosted()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

bool HasTrayIcon(HWND window)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// The width of an icon's colour image.
int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        RegisterControls();
    }

    void SetUp() override
    {
        frame = new RecordingFrame;
        hwnd = frame->Create(nullptr, "MainFrameTest", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0,
                             600, 800);
        ASSERT_NE(nullptr, hwnd);
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }

    void TearDown() override
    {
        if (IsWindow(hwnd)) {
            ShowWindow(hwnd, SW_HIDE);
            DestroyWindow(hwnd);
        }
        Pump();
        QuitPosted();
    }

    CControlUI* Control(const char* name)
    {
        return AsControl(frame->GetManager().FindControl(name));
    }
    std::string Text(const char* name) { return Control(name)->GetText().GetData(); }
    std::string Digits()
    {
        std::string digits;
        for (int i = 1; i <= 6; ++i)
            digits += Text(("lbl_token" + std::to_string(i)).c_str());
        return digits;
    }
    bool ButtonEnabled() { return Control("btn_newtoken")->IsEnabled(); }

    void Click(const char* name)
    {
        TNotifyMsg msg;
        msg.type = "click";
        msg.sender = Control(name);
        frame->Notify(msg);
    }
    void Tick()
    {
        TNotifyMsg msg;
        msg.type = "timer";
        msg.sender = Control("lbl_tokentip");
        frame->Notify(msg);
    }
    void Answer(int kind, int result, const char* token = "", int value = 0)
    {
        TokenEvent* event = new TokenEvent{kind, result, 0, {}, value};
        std::memcpy(event->token, token, strnlen(token, sizeof event->token));
        SendMessageA(hwnd, WM_TOKEN_EVENT, 0, reinterpret_cast<LPARAM>(event));
    }
    void Tray(LPARAM mouse) { SendMessageA(hwnd, WM_TRAY_ICON, 0, mouse); }

    RecordingFrame* frame = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(MainFrameTest, OpensWithTheSkinsIdleTextsAndThenItsIcon)
{
    EXPECT_FALSE(HasTrayIcon(hwnd)) << "the first paint waits for no other process";
    Pump();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(800, rc.right - rc.left);
    EXPECT_EQ(600, rc.bottom - rc.top);
    EXPECT_EQ(kBlankDigits, Digits());
    EXPECT_EQ(kPrompt, Text("lbl_tokentip"));
    EXPECT_TRUE(ButtonEnabled());
    EXPECT_TRUE(HasTrayIcon(hwnd));
}

// Alt+Tab and the taskbar show the class's icons, each the group's image of its size.
TEST_F(MainFrameTest, TheWindowClassHasTheProgramsIconAtTheSystemsSizes)
{
    const auto large = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, GCLP_HICON));
    const auto small = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, GCLP_HICONSM));
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), IconWidth(large));
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), IconWidth(small));
}

// One step of a conversation with the client: a click on "btn_newtoken", an answer to a
// get-token (3) or check-token (4) request, or a tick of the countdown.
struct Step {
    char what;  // 'c' click, 'g' get answer, 'k' check answer, 't' tick
    int result;
    const char* token;
    int value;
};

struct Conversation {
    const char* name;
    std::vector<Step> steps;
    std::string digits;
    std::string tip;
    bool buttonEnabled;
    std::vector<int> requests;
};

const Step kClick = {'c', 0, "", 0};
const Step kCode = {'g', 0, "123456", 60};
const Step kTick = {'t', 0, "", 0};
const Step kValid = {'k', 0, "123456", 1};

TEST_F(MainFrameTest, ConversationsWithTheClient)
{
    const Conversation conversations[] = {
        {"a click asks for a code", {kClick}, kBlankDigits, kRequesting, false, {3}},
        {"a code shows its digits and is checked at once",
         {kClick, kCode},
         kDigits,
         Countdown(60),
         false,
         {3, 4}},
        {"a tick counts down; no second check while one is out",
         {kClick, kCode, kTick},
         kDigits,
         Countdown(59),
         false,
         {3, 4}},
        {"the tick after an answer checks again",
         {kClick, kCode, kValid, kTick, kTick},
         kDigits,
         Countdown(58),
         false,
         {3, 4, 4}},
        {"at zero the prompt returns",
         {kClick, {'g', 0, "123456", 2}, kTick, kTick},
         kBlankDigits,
         kPrompt,
         true,
         {3, 4}},
        {"a code no longer valid brings the prompt back",
         {kClick, kCode, {'k', 0, "123456", 0}},
         kBlankDigits,
         kPrompt,
         true,
         {3, 4}},
        {"a failed check clears the code",
         {kClick, kCode, {'k', -1, "", 0}},
         kBlankDigits,
         kRestarting,
         true,
         {3, 4}},
        {"a malformed check answer clears the code",
         {kClick, kCode, {'k', -2, "", 0}},
         kBlankDigits,
         kRestarting,
         true,
         {3, 4}},
        {"the device limit", {kClick, {'g', 2, "", 0}}, kBlankDigits, kDeviceLimit, true, {3}},
        {"the phone admitted", {kClick, {'g', 3, "", 0}}, kBlankDigits, kAdmitted, true, {3}},
        {"no answer", {kClick, {'g', -1, "", 0}}, kBlankDigits, kNetwork, true, {3}},
        {"a malformed answer", {kClick, {'g', -2, "", 0}}, kBlankDigits, kNetwork, true, {3}},
        {"another result of the server",
         {kClick, {'g', 7, "", 0}},
         kBlankDigits,
         kNetwork,
         true,
         {3}},
        // The answer is about another code: it changes nothing shown, but the next tick
        // checks the shown code again.
        {"an answer about another code",
         {kClick, kCode, {'k', 0, "654321", 0}, kTick},
         kDigits,
         Countdown(59),
         false,
         {3, 4, 4}},
        // The server's verdicts on a check keep their own texts.
        {"a check answered with the device limit",
         {kClick, kCode, {'k', 2, "", 0}},
         kBlankDigits,
         kDeviceLimit,
         true,
         {3, 4}},
        {"a check answered with the phone admitted",
         {kClick, kCode, {'k', 3, "", 0}},
         kBlankDigits,
         kAdmitted,
         true,
         {3, 4}},
        {"answers of other kinds change nothing",
         {kClick, {'s', 0, "", 0}},
         kBlankDigits,
         kRequesting,
         false,
         {3}},
        {"a code shorter than six",
         {kClick, {'g', 0, "12", 60}},
         " 1 2        ",
         Countdown(60),
         false,
         {3, 4}},
    };
    for (const Conversation& c : conversations) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const Step& step : c.steps) {
            if (step.what == 'c')
                Click("btn_newtoken");
            else if (step.what == 't')
                Tick();
            else
                Answer(step.what == 'g'   ? kTokenGet
                       : step.what == 'k' ? kTokenCheck
                                          : kTokenStatus,
                       step.result, step.token, step.value);
        }
        EXPECT_EQ(c.digits, Digits());
        EXPECT_EQ(c.tip, Text("lbl_tokentip"));
        EXPECT_EQ(c.buttonEnabled, ButtonEnabled());
        EXPECT_EQ(c.requests, frame->requests);
    }
}

TEST_F(MainFrameTest, EveryTokenEventIsFreedWhateverItSays)
{
    const auto answerEveryWay = [&] {
        for (int kind : {1, 2, 5, 6, 99})  // login, logout, status, heartbeat, unknown
            Answer(kind, 0);
        Answer(kTokenCheck, 0, "123456", 1);  // no code is shown
        Answer(kTokenGet, 0, "123456", 60);
        Answer(kTokenCheck, 0, "654321", 1);
        Answer(kTokenCheck, 0, "123456", 0);
        Answer(kTokenGet, 2);
        Answer(kTokenGet, 0, "123456", 60);
        Answer(kTokenCheck, -1);
    };
    answerEveryWay();  // the texts and the timer's record are made once
    VeneerTest::ReleaseDeletedObjects();
    const long before = VeneerTest::LiveHeapBlocks();
    answerEveryWay();
    VeneerTest::ReleaseDeletedObjects();
    EXPECT_EQ(before, VeneerTest::LiveHeapBlocks());
}

TEST_F(MainFrameTest, TheCountdownTicksOnItsOwnOnceASecond)
{
    Click("btn_newtoken");
    Answer(kTokenGet, 0, "123456", 60);
    Pump(1300);
    EXPECT_EQ(Countdown(59), Text("lbl_tokentip"));
}

TEST_F(MainFrameTest, AFailedStartChangesNothing)
{
    SendMessageA(hwnd, WM_TOKEN_START_FAILED, static_cast<WPARAM>(-102), 0);
    EXPECT_EQ(kPrompt, Text("lbl_tokentip"));
    EXPECT_TRUE(ButtonEnabled());
}

TEST_F(MainFrameTest, CloseButtonSystemCloseAndTrayClicksToggleTheWindow)
{
    Pump();  // the icon comes after the first paint
    ASSERT_TRUE(HasTrayIcon(hwnd));
    Click("closebtn");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    Tray(WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4 and the system menu's Close
    EXPECT_FALSE(IsWindowVisible(hwnd));
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    // A double click is a press and a double-click message: two toggles.
    Tray(WM_LBUTTONDOWN);
    Tray(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    Tray(WM_MOUSEMOVE);
    Tray(WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindow(hwnd));
}

// Hidden without an icon to bring it back, the window would be lost until the next log-on.
TEST_F(MainFrameTest, WithoutATrayIconCloseButtonAndSystemCloseMinimise)
{
    ASSERT_FALSE(HasTrayIcon(hwnd));
    Click("closebtn");
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4 and the system menu's Close
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    Pump();
    ASSERT_TRUE(HasTrayIcon(hwnd));
    Click("closebtn");
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

#if defined(LORVIK_STRICT)
// At a slow log-on the notification area refuses the icon for its first seconds, and the
// add that gets through times out although the icon is there.
TEST_F(MainFrameTest, TheTrayIconIsTriedAgainUntilTheNotificationAreaHasIt)
{
    Strict::RefuseTrayIconsFor(1500);
    Pump();
    Click("closebtn");
    EXPECT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_RESTORE);
    Pump(3500);
    ASSERT_TRUE(HasTrayIcon(hwnd));
    Click("closebtn");
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

// Explorer restarted with a notification area that is not ready: the hidden window, which
// nothing could bring back, comes to the taskbar.
TEST_F(MainFrameTest, AHiddenWindowWhoseIconWentIsShownMinimised)
{
    Pump();  // the icon comes after the first paint
    Click("closebtn");
    ASSERT_FALSE(IsWindowVisible(hwnd));
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = hwnd;
    Shell_NotifyIconA(NIM_DELETE, &record);
    Strict::RefuseTrayIconsFor(1000);
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsIconic(hwnd));
}
#endif

TEST_F(MainFrameTest, TheTrayMenuOpensAtTheCursorOrFartherInNearTheScreensEdge)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        POINT cursor;
        POINT menu;
    } cases[] = {
        {{100, 100}, {100, 100}},
        {{width - 250, height - 25}, {width - 250, height - 25}},  // it just fits
        {{width - 249, 100}, {width - 499, 100}},
        {{100, height - 24}, {100, height - 49}},
        {{width - 10, height - 10}, {width - 260, height - 35}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "cursor at " << c.cursor.x << "," << c.cursor.y);
        SetCursorPos(c.cursor.x, c.cursor.y);
        POINT cursor = {};
        GetCursorPos(&cursor);
        ASSERT_EQ(c.cursor.x, cursor.x);
        ASSERT_EQ(c.cursor.y, cursor.y);
        Tray(WM_RBUTTONDOWN);
        const HWND menu = FindWindowA("MenuWnd", nullptr);
        ASSERT_NE(nullptr, menu);
        RECT rc = {};
        GetWindowRect(menu, &rc);
        EXPECT_EQ(c.menu.x, rc.left);
        EXPECT_EQ(c.menu.y, rc.top);
        SendMessageA(menu, WM_CLOSE, 0, 0);
        Pump();
        EXPECT_FALSE(IsWindow(menu));
    }
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(MainFrameTest, EscapeDoesNothingAndTheMinimizeButtonMinimizes)
{
    bool handled = false;
    EXPECT_EQ(1, frame->MessageHandler(WM_KEYDOWN, VK_ESCAPE, 0, handled));
    EXPECT_EQ(0, frame->MessageHandler(WM_KEYDOWN, VK_RETURN, 0, handled));
    Pump();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    Click("minbtn");
    EXPECT_TRUE(IsIconic(hwnd));
}

TEST_F(MainFrameTest, TheTrayIconComesBackWhenExplorerRestarts)
{
    Pump();  // the icon comes after the first paint
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = hwnd;
    Shell_NotifyIconA(NIM_DELETE, &record);  // what a new Explorer's empty tray amounts to
    ASSERT_FALSE(HasTrayIcon(hwnd));
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(HasTrayIcon(hwnd));
}

TEST_F(MainFrameTest, TheEndOfTheSessionTakesTheIconAndEndsTheProgram)
{
    Pump();  // the icon comes after the first paint
    SendMessageA(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP);  // the end was cancelled
    EXPECT_TRUE(HasTrayIcon(hwnd));
    EXPECT_FALSE(QuitPosted());
    SendMessageA(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_FALSE(HasTrayIcon(hwnd));
    EXPECT_TRUE(QuitPosted());
}

TEST_F(MainFrameTest, ClosingTheWindowAtTheEndTakesTheIcon)
{
    Pump();  // the icon comes after the first paint
    ASSERT_TRUE(HasTrayIcon(hwnd));
    CloseMainWindow(hwnd);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(HasTrayIcon(hwnd));
    EXPECT_TRUE(QuitPosted());  // the window object's end
}

}  // namespace
