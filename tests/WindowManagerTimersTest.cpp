// Control timers on a real window. Native ids are observed by sending WM_TIMER with them:
// the control whose timer has that id receives the Timer event.

#include "tests/ControlTreeFixture.h"

namespace VeneerTest {
namespace {

const UINT kLong = 100000;  // never elapses during a test

class WindowManagerTimersTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        CContainerUI* root = new CContainerUI;
        a = new ProbeControl("A", &log);
        b = new ProbeControl("B", &log);
        AddPlaced(root, a, RECT{0, 0, 10, 10});
        AddPlaced(root, b, RECT{10, 0, 20, 10});
        Attach(root);
        log.clear();
        notes.Clear();
    }

    // The control and local id a native timer id reaches, as "A:5", or "" for none.
    std::string Reach(UINT nativeId)
    {
        a->events.clear();
        b->events.clear();
        Send(WM_TIMER, nativeId);
        for (ProbeControl* control : {a, b}) {
            if (!control->events.empty())
                return std::string(control->GetName().GetData()) + ":" +
                       std::to_string(control->events.back().wParam);
        }
        return "";
    }

    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;
};

TEST_F(WindowManagerTimersTest, NativeIdsStartAt17AndTellControlsApartByTheirLocalIds)
{
    ASSERT_TRUE(Manager().SetTimer(a, 5, kLong));
    ASSERT_TRUE(Manager().SetTimer(b, 5, kLong));
    EXPECT_EQ("A:5", Reach(17));
    EXPECT_EQ("B:5", Reach(18));
    EXPECT_EQ("", Reach(19));
    EXPECT_EQ("B:5", Reach(0x10000 + 18)) << "only the low 16 bits of wParam count";

    ASSERT_EQ(1u, b->events.size());
    EXPECT_EQ(b, b->events[0].sender);
    EXPECT_EQ((std::vector<std::string>{"A:timer", "B:timer", "B:timer"}), notes.entries);
    EXPECT_EQ(5u, notes.messages.back().wParam);
}

TEST_F(WindowManagerTimersTest, ARunningTimerCannotBeSetAgainButAKilledOneRestartsOnItsId)
{
    ASSERT_TRUE(Manager().SetTimer(a, 1, kLong));
    ASSERT_TRUE(Manager().SetTimer(b, 2, kLong));
    EXPECT_FALSE(Manager().SetTimer(a, 1, kLong));

    EXPECT_TRUE(Manager().KillTimer(a, 1));
    EXPECT_FALSE(Manager().KillTimer(a, 1)) << "already killed";
    EXPECT_FALSE(Manager().KillTimer(a, 9)) << "never set";
    EXPECT_EQ("", Reach(17));

    EXPECT_TRUE(Manager().SetTimer(a, 1, kLong));
    EXPECT_EQ("A:1", Reach(17));
    ASSERT_TRUE(Manager().SetTimer(a, 3, kLong));
    EXPECT_EQ("A:3", Reach(19)) << "the restart took no new id";
}

TEST_F(WindowManagerTimersTest, TheCounterWrapsAfter255TimersAndSkipsIdsStillHeld)
{
    for (UINT id = 0; id < 254; ++id)
        ASSERT_TRUE(Manager().SetTimer(a, id, kLong)) << id;
    ASSERT_TRUE(Manager().SetTimer(b, 1, kLong));
    EXPECT_EQ("A:237", Reach(254));
    EXPECT_EQ("A:238", Reach(0));
    EXPECT_EQ("B:1", Reach(16));
    Manager().KillTimer(b, 1);
    EXPECT_FALSE(Manager().SetTimer(b, 2, kLong)) << "every id is held, the killed one too";

    Manager().KillTimer(a);
    ASSERT_TRUE(Manager().SetTimer(b, 2, kLong));
    EXPECT_EQ("B:2", Reach(17)) << "16 is still held by the killed timer";
    ASSERT_TRUE(Manager().SetTimer(b, 1, kLong));
    EXPECT_EQ("B:1", Reach(16)) << "which restarts on it";
}

TEST_F(WindowManagerTimersTest, ForgettingAControlDropsItsTimers)
{
    ASSERT_TRUE(Manager().SetTimer(a, 1, kLong));
    ASSERT_TRUE(Manager().SetTimer(a, 2, kLong));
    Manager().KillTimer(a, 2);
    Manager().KillTimer(a);
    EXPECT_EQ("", Reach(17));
    EXPECT_TRUE(Manager().SetTimer(a, 2, kLong)) << "a fresh record";
    EXPECT_EQ("A:2", Reach(19));

    ASSERT_TRUE(Manager().SetTimer(b, 4, kLong));
    Manager().ForgetControl(b);
    EXPECT_EQ("", Reach(20));
    Manager().RemoveAllTimers();
    EXPECT_EQ("", Reach(19));
}

TEST_F(WindowManagerTimersTest, ATimerElapsesAsATimerNotification)
{
    ASSERT_TRUE(Manager().SetTimer(a, 3, 10));
    const DWORD start = GetTickCount();
    MSG msg;
    while (notes.entries.empty() && GetTickCount() - start < 2000) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            Sleep(1);
    }
    ASSERT_EQ((std::vector<std::string>{"A:timer"}), notes.entries);
    EXPECT_EQ(3u, notes.messages[0].wParam);
}

TEST(WindowManagerTimersWithoutWindowTest, NoWindowNoTimer)
{
    CWindowManagerUI manager;
    ProbeControl control("C", nullptr);
    EXPECT_FALSE(manager.SetTimer(&control, 1, 10));
}

}  // namespace
}  // namespace VeneerTest
