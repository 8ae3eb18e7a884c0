#include "app/MenuWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ControlTreeFixture.h"
#include "DeletedObjects.h"
#include "HeapCounter.h"
#include "app/MenuUI.h"
#include "ui/controls/ControlClasses.h"

using namespace Veneer;

namespace {

const char* const kTrayMenu = MAKEINTRESOURCEA(123);     // the program's menu skin
const char* const kNestedMenu = MAKEINTRESOURCEA(9201);  // tests/skins/app/menu_nested.xml

// Records the order of calls it receives.
class RecordingReceiver : public ReceiverImpl<int, ContextMenuParam> {
public:
    RecordingReceiver(const char* name, std::string* log) : m_name(name), m_log(log) {}
    int Receive(ContextMenuParam param) override
    {
        *m_log += m_name + std::to_string(param.code);
        return 1;
    }
    int Respond(ContextMenuParam, ObserverImplBase<int, ContextMenuParam>* observer) override
    {
        *m_log += m_name + (observer != nullptr ? "?" : "!");
        return 1;
    }

private:
    std::string m_name;
    std::string* m_log;
};

TEST(ObserverImplTest, BroadcastsInOrderAndReceiversLeave)
{
    std::string log;
    MenuObserverImpl observer;
    RecordingReceiver a("a", &log);
    RecordingReceiver b("b", &log);
    {
        RecordingReceiver c("c", &log);
        observer.AddReceiver(&a);
        observer.AddReceiver(nullptr);
        observer.AddReceiver(&b);
        observer.AddReceiver(&c);
        EXPECT_EQ(3, observer.GetReceiverCount());
        EXPECT_EQ(0, observer.Broadcast(ContextMenuParam{1, nullptr}));
        EXPECT_EQ(0, observer.BroadcastReverse(ContextMenuParam{2, nullptr}));
        EXPECT_EQ(0, observer.RespondAll(ContextMenuParam{1, nullptr}));
        EXPECT_EQ("a1b1c1c2b2a2a?b?c?", log);
    }
    EXPECT_EQ(2, observer.GetReceiverCount()) << "a receiver that goes leaves the observer";
    a.DetachFromObservers();
    a.DetachFromObservers();
    observer.RemoveReceiver(nullptr);
    ASSERT_EQ(1, observer.GetReceiverCount());
    EXPECT_EQ(&b, observer.GetReceiverAt(0));
}

// A plain window that is no menu: the owner of the menus, and where the focus goes.
class OwnerWindow : public CWindowWnd {
public:
    const char* GetWindowClassName() const override { return "LorvikTestMenuOwner"; }
};

// Counts the presses an entry sees, and whether the quit message was waiting then.
struct PressLog {
    int presses = 0;
    int quitWaiting = 0;
};
PressLog* g_presses = nullptr;

bool RecordPress(void* param)
{
    if (static_cast<TUIEvent*>(param)->type == TUIEventType::ButtonDown) {
        ++g_presses->presses;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            ++g_presses->quitWaiting;
    }
    return true;
}

class MenuWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        ASSERT_TRUE(RegisterControls());
        m_owner =
            m_ownerWindow.Create(nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 100, 100, 300, 200);
        ASSERT_NE(nullptr, m_owner);
        SetForegroundWindow(m_owner);
        Pump();
    }
    void TearDown() override
    {
        MenuObserver.BroadcastReverse(ContextMenuParam{kCloseEveryMenu, nullptr});
        Pump();
        EXPECT_EQ(0, MenuObserver.GetReceiverCount()) << "menus left open";
        DestroyWindow(m_owner);
        EXPECT_EQ(VeneerTest::EventLog{}, VeneerTest::CallsAfterDelete());
        VeneerTest::CallsAfterDelete().clear();
        VeneerTest::ReleaseDeletedObjects();
    }

    CMenuWnd* Open(const char* skin, POINT at = {400, 300})
    {
        auto* menu = new CMenuWnd(m_owner);
        menu->Init(nullptr, skin, "xml", at);
        Pump();
        return Menu(0);
    }

    // Handles what is waiting; true when the quit message was among it.
    bool Pump()
    {
        bool quit = false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return quit;
    }

    // The open menus, in the order they were opened.
    static int OpenMenus() { return MenuObserver.GetReceiverCount(); }
    static CMenuWnd* Menu(int index)
    {
        return index < OpenMenus() ? dynamic_cast<CMenuWnd*>(MenuObserver.GetReceiverAt(index))
                                   : nullptr;
    }
    static CMenuElementUI* Entry(CMenuWnd* menu, const char* name)
    {
        return menu->GetManager().FindControl<CMenuElementUI>(name);
    }
    static RECT WindowRect(CMenuWnd* menu)
    {
        RECT rc = {};
        GetWindowRect(menu->GetHWND(), &rc);
        return rc;
    }
    // A mouse message to a menu window at the middle of one of its entries.
    static LRESULT MouseAt(CMenuWnd* menu, const char* entry, UINT message, WPARAM wParam = 0)
    {
        const RECT rc = Entry(menu, entry)->GetPos();
        return SendMessageA(menu->GetHWND(), message, wParam,
                            MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }
    // Hovers an entry and lets the windows settle.
    void Hover(CMenuWnd* menu, const char* entry)
    {
        MouseAt(menu, entry, WM_MOUSEMOVE);
        Pump();
    }

    VeneerTest::AccessGuard m_guard;
    OwnerWindow m_ownerWindow;
    HWND m_owner = nullptr;
};

// The box around the dark pixels of a back buffer's area: text in the default colour.
RECT DarkInk(const CWindowManagerUI& manager, RECT area)
{
    SIZE size = {};
    const std::vector<DWORD> bits = VeneerTest::BackBufferPixels(manager, &size);
    RECT box = {};
    for (int y = std::max(0L, area.top); y < std::min(area.bottom, size.cy); ++y) {
        for (int x = std::max(0L, area.left); x < std::min(area.right, size.cx); ++x) {
            const DWORD pixel = bits[static_cast<size_t>(y) * size.cx + x];
            const RECT dot = {x, y, x + 1, y + 1};
            if ((pixel & 0xFF) < 0x60 && ((pixel >> 8) & 0xFF) < 0x60 &&
                ((pixel >> 16) & 0xFF) < 0x60)
                UnionRect(&box, &box, &dot);
        }
    }
    return box;
}

TEST_F(MenuWndTest, TheTrayMenuOpensAtItsPointWithTheSizeOfItsEntry)
{
    CMenuWnd* menu = Open(kTrayMenu, {500, 400});
    ASSERT_NE(nullptr, menu);
    CMenuElementUI* exit = Entry(menu, "menu_exit");
    ASSERT_NE(nullptr, exit);
    const RECT rc = WindowRect(menu);
    EXPECT_EQ(500, rc.left);
    EXPECT_EQ(400, rc.top);
    EXPECT_EQ(CMenuElementUI::kItemHeight, rc.bottom - rc.top) << "the inset is not added";
    EXPECT_EQ(exit->EstimateSize(SIZE{1280, 1024}).cx, rc.right - rc.left);
    EXPECT_GT(rc.right - rc.left, 30 + 20) << "text, its padding and 20 pixels";
    const LONG_PTR exStyle = GetWindowLongPtrA(menu->GetHWND(), GWL_EXSTYLE);
    EXPECT_EQ(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_EQ(m_owner, GetParent(menu->GetHWND()));
    EXPECT_EQ(menu->GetHWND(), GetFocus());

    UpdateWindow(menu->GetHWND());
    const RECT entry = exit->GetPos();
    const RECT ink = DarkInk(menu->GetManager(), entry);
    EXPECT_FALSE(IsRectEmpty(&ink)) << "the entry's text is drawn";
    EXPECT_GE(ink.left, entry.left + 30) << "after the menu's item text padding";
}

TEST_F(MenuWndTest, ALeftPressPostsTheQuitMessageBeforeTheEntrySeesItAndClosesEveryMenu)
{
    CMenuWnd* menu = Open(kTrayMenu);
    ASSERT_NE(nullptr, menu);
    PressLog presses;
    g_presses = &presses;
    Entry(menu, "menu_exit")->OnEvent.Add(MakeDelegate(RecordPress));
    UpdateWindow(menu->GetHWND());
    MouseAt(menu, "menu_exit", WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(1, presses.presses);
    EXPECT_EQ(1, presses.quitWaiting);
    EXPECT_TRUE(Pump()) << "the quit message";
    EXPECT_EQ(0, OpenMenus());
    EXPECT_TRUE(IsWindow(m_owner));
    g_presses = nullptr;
}

TEST_F(MenuWndTest, RightClicksDoNothing)
{
    CMenuWnd* menu = Open(kNestedMenu);
    ASSERT_NE(nullptr, menu);
    VeneerTest::NotifyLog notes;
    menu->GetManager().AddNotifier(&notes);
    for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_CONTEXTMENU}) {
        EXPECT_EQ(0, MouseAt(menu, "quit", message, MK_RBUTTON)) << message;
        EXPECT_FALSE(Pump()) << message;
    }
    EXPECT_EQ(std::vector<std::string>{}, notes.entries);
    EXPECT_EQ(1, OpenMenus());
    EXPECT_FALSE(Entry(menu, "quit")->IsSelected());
    menu->GetManager().RemoveNotifier(&notes);
}

TEST_F(MenuWndTest, NestedEntriesShowOnlyInTheSubmenu)
{
    CMenuWnd* menu = Open(kNestedMenu);
    ASSERT_NE(nullptr, menu);
    CMenuElementUI* open = Entry(menu, "open");
    CMenuElementUI* file = Entry(menu, "open_file");
    ASSERT_NE(nullptr, file);
    EXPECT_FALSE(file->IsVisible());
    EXPECT_EQ(3 * CMenuElementUI::kItemHeight, WindowRect(menu).bottom - WindowRect(menu).top);

    Hover(menu, "open");
    ASSERT_EQ(2, OpenMenus());
    CMenuWnd* submenu = Menu(1);
    EXPECT_EQ(submenu, open->GetSubmenu());
    auto* list = dynamic_cast<CMenuUI*>(submenu->GetManager().GetRoot());
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2, list->GetCount());
    EXPECT_EQ(file, list->GetItemAt(0));
    EXPECT_EQ(&submenu->GetManager(), file->GetManager());
    EXPECT_TRUE(file->IsVisible());

    // Beside the menu, level with the entry; two entries high, the widest wide.
    const RECT rc = WindowRect(submenu);
    POINT entryTop = {0, open->GetPos().top};
    ClientToScreen(menu->GetHWND(), &entryTop);
    EXPECT_EQ(WindowRect(menu).right, rc.left);
    EXPECT_EQ(entryTop.y, rc.top);
    EXPECT_EQ(2 * CMenuElementUI::kItemHeight + 4, rc.bottom - rc.top);
    const int widest = Entry(submenu, "open_address")->EstimateSize(SIZE{1280, 1024}).cx;
    EXPECT_EQ(widest + 4 + 2, rc.right - rc.left);

    // Both windows painted: the nested entries stay where the submenu put them, one
    // below the other.
    for (CMenuWnd* window : {submenu, menu}) {
        InvalidateRect(window->GetHWND(), nullptr, FALSE);
        UpdateWindow(window->GetHWND());
    }
    Pump();
    const RECT first = file->GetPos();
    const RECT second = Entry(submenu, "open_address")->GetPos();
    EXPECT_EQ(2, first.top);
    EXPECT_EQ(first.bottom, second.top);
    EXPECT_EQ(file, submenu->GetManager().FindControl(
                        POINT{(first.left + first.right) / 2, (first.top + first.bottom) / 2}));
}

TEST_F(MenuWndTest, HoveringASiblingClosesTheSubmenu)
{
    CMenuWnd* menu = Open(kNestedMenu);
    ASSERT_NE(nullptr, menu);
    Hover(menu, "open");
    ASSERT_EQ(2, OpenMenus());
    Hover(menu, "help");
    EXPECT_EQ(1, OpenMenus());
    CMenuElementUI* open = Entry(menu, "open");
    CMenuElementUI* file = Entry(menu, "open_file");
    EXPECT_EQ(nullptr, open->GetSubmenu());
    EXPECT_FALSE(file->IsVisible()) << "hidden in the menu again";
    EXPECT_EQ(&menu->GetManager(), file->GetManager());
    EXPECT_EQ(open, file->GetParent());
    EXPECT_TRUE(Entry(menu, "help")->IsSelected());

    Hover(menu, "open");
    EXPECT_EQ(2, OpenMenus()) << "and opens again";

    Hover(menu, "help");
    open->SetEnabled(false);
    Hover(menu, "open");
    EXPECT_EQ(1, OpenMenus()) << "a disabled entry opens nothing";
}

TEST_F(MenuWndTest, FocusLostToAWindowThatIsNoMenuClosesEveryMenu)
{
    CMenuWnd* menu = Open(kNestedMenu);
    ASSERT_NE(nullptr, menu);
    Hover(menu, "open");
    ASSERT_EQ(2, OpenMenus());
    CMenuWnd* submenu = Menu(1);
    struct Step {
        const char* what;
        HWND focus;
        int open;
    };
    const Step steps[] = {
        {"into the submenu", submenu->GetHWND(), 2},
        {"back to the menu", menu->GetHWND(), 2},
        {"to the owner window", m_owner, 0},
    };
    for (const Step& step : steps) {
        SetFocus(step.focus);
        Pump();
        EXPECT_EQ(step.open, OpenMenus()) << step.what;
    }
    EXPECT_TRUE(IsWindow(m_owner));
}

TEST_F(MenuWndTest, EscapeClosesItsMenuAndReturnChoosesTheEntry)
{
    CMenuWnd* menu = Open(kNestedMenu);
    ASSERT_NE(nullptr, menu);
    Hover(menu, "open");
    ASSERT_EQ(2, OpenMenus());
    SendMessageA(Menu(1)->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(1, OpenMenus()) << "Escape in the submenu";

    Hover(menu, "help");
    SendMessageA(menu->GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(0, OpenMenus()) << "Return on an entry without nested ones";

    menu = Open(kNestedMenu);
    SendMessageA(menu->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(0, OpenMenus()) << "Escape in the menu";
}

TEST_F(MenuWndTest, ASkinThatCannotBeBuiltLeavesAnEmptyWindowOfSizeZero)
{
    CMenuWnd* menu = Open("<Window><Menu></Window>");
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(nullptr, menu->GetManager().GetRoot());
    const RECT rc = WindowRect(menu);
    EXPECT_EQ(0, rc.right - rc.left);
    EXPECT_EQ(0, rc.bottom - rc.top);
    UpdateWindow(menu->GetHWND());
    Pump();
}

TEST_F(MenuWndTest, EveryMenuObjectIsFreedWithItsWindow)
{
    struct Way {
        const char* what;
        void (*end)(CMenuWnd* menu);
    };
    const Way ways[] = {
        {"every menu closed",
         [](CMenuWnd*) {
             MenuObserver.BroadcastReverse(ContextMenuParam{kCloseEveryMenu, nullptr});
         }},
        {"the menu's window destroyed under its submenu",
         [](CMenuWnd* menu) { DestroyWindow(menu->GetHWND()); }},
    };
    for (const Way& way : ways) {
        // Once before counting: what is made once and kept (window classes, caches).
        for (int round = 0; round < 2; ++round) {
            VeneerTest::ReleaseDeletedObjects();
            const long before = VeneerTest::LiveHeapBlocks();
            CMenuWnd* menu = Open(kNestedMenu);
            ASSERT_NE(nullptr, menu);
            Hover(menu, "open");
            ASSERT_EQ(2, OpenMenus()) << way.what;
            UpdateWindow(Menu(1)->GetHWND());
            way.end(menu);
            Pump();
            EXPECT_EQ(0, OpenMenus()) << way.what << ": a receiver left in the observer";
            VeneerTest::ReleaseDeletedObjects();
            if (round == 1) {
                EXPECT_EQ(before, VeneerTest::LiveHeapBlocks()) << way.what;
            }
        }
    }
}

TEST_F(MenuWndTest, AMenuWhoseWindowCannotBeMadeEndsItself)
{
    OwnerWindow gone;
    const HWND parent = gone.Create(nullptr, "gone", WS_POPUP, 0, 0, 0, 10, 10);
    DestroyWindow(parent);
    // Once before counting: the observer's list is made at the first menu and kept.
    for (int round = 0; round < 2; ++round) {
        VeneerTest::ReleaseDeletedObjects();
        const long before = VeneerTest::LiveHeapBlocks();
        auto* menu = new CMenuWnd(parent);
        menu->Init(nullptr, kNestedMenu, "xml", POINT{400, 300});
        EXPECT_EQ(0, OpenMenus());
        VeneerTest::ReleaseDeletedObjects();
        if (round == 1) {
            EXPECT_EQ(before, VeneerTest::LiveHeapBlocks());
        }
    }
}

TEST_F(MenuWndTest, SubmenusStayOnTheWorkArea)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char* what;
        POINT at;
    };
    const Case cases[] = {
        {"room on the right", {400, 300}},
        {"at the right edge", {work.right - 120, 300}},
        {"at the bottom edge", {400, work.bottom - 3 * CMenuElementUI::kItemHeight}},
    };
    for (const Case& c : cases) {
        CMenuWnd* menu = Open(kNestedMenu, c.at);
        ASSERT_NE(nullptr, menu);
        Hover(menu, "open");
        ASSERT_EQ(2, OpenMenus()) << c.what;
        const RECT parent = WindowRect(menu);
        const RECT rc = WindowRect(Menu(1));
        if (parent.right + (rc.right - rc.left) <= work.right)
            EXPECT_EQ(parent.right, rc.left) << c.what;
        else
            EXPECT_EQ(parent.left, rc.right) << c.what << ": left of the menu";
        EXPECT_GE(rc.top, work.top) << c.what;
        EXPECT_LE(rc.bottom, work.bottom) << c.what;
        MenuObserver.BroadcastReverse(ContextMenuParam{kCloseEveryMenu, nullptr});
        Pump();
    }
}

}  // namespace
