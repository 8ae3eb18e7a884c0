#include "ui/core/WindowWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "ui/core/TextStep.h"
#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"
#if defined(LORVIK_STRICT)
#include "StrictRules.h"
#endif

using Veneer::CenteredWindowPosition;
using Veneer::CWindowManagerUI;
using Veneer::CWindowWnd;

namespace {

const char kPlainClass[] = "VeneerTestPlain";
const char kEditClass[] = "VeneerTestEdit";
// Answered by a RecordingWindow with its own address.
const UINT kWhoAreYou = WM_APP + 1;

// Records what reaches it, and what it finds when its window is gone.
class RecordingWindow : public CWindowWnd {
public:
    explicit RecordingWindow(const char* className = kPlainClass,
                             const char* superClassName = nullptr, UINT classStyle = 0)
        : m_className(className), m_superClassName(superClassName), m_classStyle(classStyle)
    {
    }

    const char* GetWindowClassName() const override { return m_className; }
    const char* GetSuperClassName() const override { return m_superClassName; }
    UINT GetClassStyle() const override { return m_classStyle; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == kWhoAreYou)
            return reinterpret_cast<LRESULT>(this);
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    void OnFinalMessage(HWND hwnd) override
    {
        ++finalCalls;
        finalHandle = hwnd;
        fieldAtFinal = GetHWND();
        userDataAtFinal = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        propertyAtFinal = GetPropA(hwnd, "WndX");
    }

    bool Received(UINT message) const
    {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    std::vector<UINT> messages;
    int finalCalls = 0;
    HWND finalHandle = nullptr;
    HWND fieldAtFinal = nullptr;
    LONG_PTR userDataAtFinal = 0;
    HANDLE propertyAtFinal = nullptr;

private:
    const char* m_className;
    const char* m_superClassName;
    UINT m_classStyle;
};

// Storage for a window object that ends itself; filled with a pattern once it has, so that
// any later use of the object by the wrapper shows (or crashes on the patterned vtable).
template <class Window>
class Tomb {
public:
    template <class... Args>
    Window* Make(Args... args)
    {
        return new (m_bytes) Window(args...);
    }
    void Bury(Window* window)
    {
        window->~Window();
        std::memset(m_bytes, kPattern, sizeof(m_bytes));
    }
    bool Undisturbed() const
    {
        return std::all_of(std::begin(m_bytes), std::end(m_bytes),
                           [](unsigned char b) { return b == kPattern; });
    }

private:
    static const unsigned char kPattern = 0xCD;
    alignas(Window) unsigned char m_bytes[sizeof(Window)];
};

// Refuses its creation at one message and ends itself in OnFinalMessage.
class RefusingWindow : public CWindowWnd {
public:
    RefusingWindow(UINT refused, LRESULT refusal, Tomb<RefusingWindow>* tomb, HWND* finalHandle)
        : m_refused(refused), m_refusal(refusal), m_tomb(tomb), m_finalHandle(finalHandle)
    {
    }

    const char* GetWindowClassName() const override { return "VeneerTestRefusing"; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == m_refused)
            return m_refusal;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    void OnFinalMessage(HWND hwnd) override
    {
        *m_finalHandle = hwnd;
        m_tomb->Bury(this);
    }

private:
    UINT m_refused;
    LRESULT m_refusal;
    Tomb<RefusingWindow>* m_tomb;
    HWND* m_finalHandle;
};

class WindowWndTest : public ::testing::Test {
protected:
    void SetUp() override { CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr)); }

    static HWND CreatePopup(CWindowWnd& window, HWND owner = nullptr)
    {
        return window.Create(owner, "test", WS_POPUP, 0, 10, 10, 200, 100);
    }

    // Where CenterWindow puts a popup (CreatePopup's size) owned by a window at the given place.
    static RECT CentredOverOwnerAt(int x, int y, int width, int height)
    {
        RECT placed = {};
        RecordingWindow owner;
        if (owner.Create(nullptr, "owner", WS_POPUP, 0, x, y, width, height) == nullptr)
            return placed;
        RecordingWindow owned;
        if (const HWND hwnd = CreatePopup(owned, owner.GetHWND())) {
            owned.CenterWindow();
            GetWindowRect(hwnd, &placed);
            DestroyWindow(hwnd);
        }
        DestroyWindow(owner.GetHWND());
        return placed;
    }
};

TEST(CenteredWindowPositionTest, CentresOnTheReferenceAndStaysInTheWorkArea)
{
    struct Case {
        const char* what;
        RECT window;
        RECT reference;
        RECT workArea;
        POINT expected;
    };
    const RECT fullHd = {0, 0, 1920, 1040};
    const Case cases[] = {
        {"on the work area", {0, 0, 200, 100}, fullHd, fullHd, {860, 470}},
        {"odd sizes round down", {0, 0, 201, 101}, fullHd, fullHd, {860, 470}},
        {"wider than the work area", {0, 0, 2000, 100}, fullHd, fullHd, {0, 470}},
        {"wider, owner on the right", {0, 0, 2000, 100}, {1500, 0, 1900, 300}, fullHd, {0, 100}},
        {"taller, work area below a top bar",
         {0, 0, 200, 1200},
         {0, 40, 1920, 1040},
         {0, 40, 1920, 1040},
         {860, 40}},
        {"owner at the bottom right",
         {0, 0, 200, 100},
         {1800, 900, 2000, 1100},
         fullHd,
         {1720, 940}},
        {"owner left of the work area", {0, 0, 200, 100}, {-400, 100, 0, 300}, fullHd, {0, 150}},
        {"negative halves truncate towards zero",
         {0, 0, 101, 51},
         {-1001, -101, 0, 0},
         {-1920, -1080, 1920, 1040},
         {-550, -75}},
    };
    for (const Case& c : cases) {
        const POINT at = CenteredWindowPosition(c.window, c.reference, c.workArea);
        EXPECT_EQ(c.expected.x, at.x) << c.what;
        EXPECT_EQ(c.expected.y, at.y) << c.what;
    }
}

TEST_F(WindowWndTest, TwoObjectsOfOneClassReachTheirOwnObjects)
{
    RecordingWindow first(kPlainClass, nullptr, CS_DBLCLKS);
    RecordingWindow second(kPlainClass, nullptr, CS_DBLCLKS);
    const HWND firstHwnd = CreatePopup(first);
    const HWND secondHwnd = CreatePopup(second);
    ASSERT_NE(nullptr, firstHwnd);
    ASSERT_NE(nullptr, secondHwnd);
    EXPECT_TRUE(second.RegisterWindowClass()) << "an existing class counts as registered";

    EXPECT_EQ(firstHwnd, first.GetHWND());
    EXPECT_EQ(secondHwnd, second.GetHWND());
    EXPECT_EQ(reinterpret_cast<LRESULT>(&first), SendMessageA(firstHwnd, kWhoAreYou, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(&second), SendMessageA(secondHwnd, kWhoAreYou, 0, 0));
    EXPECT_EQ(WM_NCCREATE, first.messages.front());

    WNDCLASSEXA wc = {sizeof(wc)};
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kPlainClass, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS), wc.style);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_ARROW)), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hbrBackground);
    EXPECT_EQ(0, wc.cbWndExtra);

    DestroyWindow(firstHwnd);
    DestroyWindow(secondHwnd);
}

std::vector<UINT>* g_sent = nullptr;

LRESULT CALLBACK RecordSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        g_sent->push_back(reinterpret_cast<const CWPSTRUCT*>(lParam)->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WindowWndTest, MessagesBeforeNcCreateDoNotReachTheObject)
{
    std::vector<UINT> sent;
    g_sent = &sent;
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    RecordingWindow window;
    // A sizable overlapped window is asked for its limits before WM_NCCREATE.
    const HWND hwnd = window.Create(nullptr, "early", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100);
    UnhookWindowsHookEx(hook);
    g_sent = nullptr;

    ASSERT_NE(nullptr, hwnd);
    const auto nccreate = std::find(sent.begin(), sent.end(), UINT(WM_NCCREATE));
    ASSERT_NE(nccreate, std::find(sent.begin(), nccreate, UINT(WM_GETMINMAXINFO)))
        << "no message came before WM_NCCREATE";
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(WM_NCCREATE, window.messages.front());
    DestroyWindow(hwnd);
}

TEST_F(WindowWndTest, OnFinalMessageGetsTheHandleOfTheDetachedWindow)
{
    RecordingWindow window;
    const HWND hwnd = CreatePopup(window);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrA(hwnd, GWLP_USERDATA));

    DestroyWindow(hwnd);
    EXPECT_EQ(1, window.finalCalls);
    EXPECT_EQ(hwnd, window.finalHandle);
    EXPECT_EQ(nullptr, window.fieldAtFinal);
    EXPECT_EQ(0, window.userDataAtFinal);
    EXPECT_TRUE(window.Received(WM_DESTROY));
    EXPECT_FALSE(window.Received(WM_NCDESTROY)) << "goes straight to the previous procedure";
    EXPECT_EQ(nullptr, window.GetHWND());
}

TEST_F(WindowWndTest, SuperclassOfEditReachesItsObjectAndTheEditProcedure)
{
    RecordingWindow edit(kEditClass, "Edit");
    const HWND hwnd = edit.Create(nullptr, "abc", WS_POPUP, 0, 10, 10, 200, 30);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(&edit, GetPropA(hwnd, "WndX"));
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, GWLP_USERDATA)) << "the user data is not ours";

    // Selections exist only in the edit procedure; the default procedure answers 0.
    SendMessageA(hwnd, EM_SETSEL, 1, 2);
    EXPECT_EQ(MAKELONG(1, 2), SendMessageA(hwnd, EM_GETSEL, 0, 0));
    EXPECT_TRUE(edit.Received(EM_SETSEL));
    char text[8] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    EXPECT_STREQ("abc", text);

    WNDCLASSEXA system = {sizeof(system)};
    WNDCLASSEXA ours = {sizeof(ours)};
    ASSERT_TRUE(GetClassInfoExA(nullptr, "Edit", &system));
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kEditClass, &ours));
    EXPECT_EQ(system.style, ours.style);
    EXPECT_EQ(system.cbWndExtra, ours.cbWndExtra);
    EXPECT_EQ(system.hCursor, ours.hCursor);
    EXPECT_NE(system.lpfnWndProc, ours.lpfnWndProc);

    DestroyWindow(hwnd);
    EXPECT_EQ(1, edit.finalCalls);
    EXPECT_EQ(hwnd, edit.finalHandle);
    EXPECT_EQ(nullptr, edit.fieldAtFinal);
    EXPECT_EQ(nullptr, edit.propertyAtFinal);
}

// "한글" (not in GBK, the system's code page under the tests) as text of code page 65001: a
// title that went through the ANSI code page would lose it.
TEST_F(WindowWndTest, TitlesKeepEveryCharacterOfTheTextCodePage)
{
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_UTF8));
    struct Case {
        const char* className;
        const char* superClassName;
    };
    for (const Case& c : {Case{kPlainClass, nullptr}, Case{kEditClass, "Edit"}}) {
        RecordingWindow window(c.className, c.superClassName);
        const HWND hwnd =
            window.Create(nullptr, "\xED\x95\x9C\xEA\xB8\x80", WS_POPUP, 0, 0, 0, 100, 30);
        ASSERT_NE(nullptr, hwnd) << c.className;
        wchar_t title[8] = {};
        Veneer::ReadWindowTitle(hwnd, title, 8);
        if (c.superClassName != nullptr)
            GetWindowTextW(hwnd, title, 8);  // the edit's own text
        EXPECT_STREQ(L"\uD55C\uAE00", title) << c.className;
        DestroyWindow(hwnd);
    }
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_ACP));
}

TEST_F(WindowWndTest, SuperclassOfAMissingClassMakesNoWindow)
{
    RecordingWindow window("VeneerTestOrphan", "VeneerNoSuchClass");
    EXPECT_FALSE(window.RegisterSuperclass());
    EXPECT_EQ(nullptr, CreatePopup(window));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(nullptr, window.GetHWND());
}

TEST_F(WindowWndTest, WindowOfTheClassMadeWithoutAnObjectGetsTheDefaultProcedure)
{
    RecordingWindow registrar;
    ASSERT_TRUE(registrar.RegisterWindowClass());
    const HWND hwnd = CreateWindowExA(0, kPlainClass, "bare", WS_POPUP, 0, 0, 50, 50, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(0, SendMessageA(hwnd, kWhoAreYou, 0, 0));
    char text[8] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    EXPECT_STREQ("bare", text);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_TRUE(registrar.messages.empty());
}

TEST_F(WindowWndTest, ObjectEndingItselfWhileCreationFailsIsNotTouchedAfterwards)
{
    struct Case {
        const char* what;
        UINT refused;
        LRESULT refusal;
    };
    const Case cases[] = {
        {"WM_NCCREATE answers FALSE", WM_NCCREATE, FALSE},
        {"WM_CREATE answers -1", WM_CREATE, -1},
    };
    for (const Case& c : cases) {
        Tomb<RefusingWindow> tomb;
        HWND finalHandle = nullptr;
        RefusingWindow* window = tomb.Make(c.refused, c.refusal, &tomb, &finalHandle);
        EXPECT_EQ(nullptr, CreatePopup(*window)) << c.what;
        EXPECT_NE(nullptr, finalHandle) << c.what;
        EXPECT_TRUE(tomb.Undisturbed()) << c.what;
    }
}

TEST_F(WindowWndTest, WindowOutlivingItsObjectNoLongerReachesIt)
{
    const char* superClasses[] = {nullptr, "Edit"};
    for (const char* superClass : superClasses) {
        Tomb<RecordingWindow> tomb;
        RecordingWindow* window = tomb.Make(superClass ? kEditClass : kPlainClass, superClass, 0u);
        const HWND hwnd = CreatePopup(*window);
        ASSERT_NE(nullptr, hwnd);
        tomb.Bury(window);
        EXPECT_EQ(0, SendMessageA(hwnd, kWhoAreYou, 0, 0));
        EXPECT_TRUE(DestroyWindow(hwnd));
        EXPECT_TRUE(tomb.Undisturbed()) << (superClass ? superClass : "own class");
    }
}

TEST_F(WindowWndTest, ClosePostsWmCloseThatEndsTheWindow)
{
    RecordingWindow window;
    MSG msg;
    window.Close();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE))
        << "no window, nothing posted";

    const HWND hwnd = CreatePopup(window);
    ASSERT_NE(nullptr, hwnd);
    window.Close();
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);

    DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(1, window.finalCalls);
    EXPECT_EQ(hwnd, window.finalHandle);
    window.Close();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

TEST_F(WindowWndTest, CenterWindowCentresOverTheOwner)
{
    const RECT placed = CentredOverOwnerAt(100, 100, 400, 300);
    EXPECT_EQ(200, placed.left);
    EXPECT_EQ(200, placed.top);
    EXPECT_EQ(200, placed.right - placed.left);
    EXPECT_EQ(100, placed.bottom - placed.top);
}

#if defined(LORVIK_STRICT)
// On a second screen the owned window stays on the owner's screen, inside its work area.
TEST_F(WindowWndTest, CenterWindowKeepsToTheOwnersMonitor)
{
    Strict::AddSecondMonitor(true);
    const RECT work = Strict::SecondMonitorWorkArea();
    const RECT placed = CentredOverOwnerAt(work.left + 10, work.bottom - 100, 400, 120);
    Strict::AddSecondMonitor(false);
    EXPECT_EQ(work.left + 110, placed.left);
    EXPECT_EQ(work.bottom, placed.bottom) << "clamped to the second screen's work area";
}
#endif

}  // namespace
