// The timer table's bookkeeping on fake native timers: which ids it takes, which native
// timers it starts and stops, and what a native timer stands for. No window is made; the
// table only compares windows and senders, so both are stand-in addresses.

#include "ui/core/TimerTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Veneer {
namespace {

// Records each native call as "start W ID ELAPSE" or "stop W ID".
class CFakeTimers : public INativeTimers {
public:
    bool Start(HWND window, UINT nativeId, UINT elapse) override
    {
        calls.push_back("start " + Name(window) + " " + std::to_string(nativeId) + " " +
                        std::to_string(elapse));
        return startWorks;
    }
    void Stop(HWND window, UINT nativeId) override
    {
        calls.push_back("stop " + Name(window) + " " + std::to_string(nativeId));
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<std::string> calls;
    bool startWorks = true;

private:
    static std::string Name(HWND window)
    {
        return std::to_string(reinterpret_cast<UINT_PTR>(window));
    }
};

using Calls = std::vector<std::string>;

HWND const kW1 = reinterpret_cast<HWND>(UINT_PTR{1});
HWND const kW2 = reinterpret_cast<HWND>(UINT_PTR{2});
char g_senders[2];
IControlUI* const kA = reinterpret_cast<IControlUI*>(&g_senders[0]);
IControlUI* const kB = reinterpret_cast<IControlUI*>(&g_senders[1]);

class TimerTableTest : public ::testing::Test {
protected:
    // "A:5" for the running timer a native id of the window stands for, "" for none.
    std::string Reach(HWND window, UINT nativeId) const
    {
        const TTimerInfo* timer = table.Find(window, nativeId);
        if (timer == nullptr)
            return "";
        return std::string(timer->sender == kA ? "A" : "B") + ":" + std::to_string(timer->localId);
    }

    CFakeTimers native;
    CTimerTable table{native};
};

TEST_F(TimerTableTest, IdsCountFromSeventeenAndAKilledTimerRestartsOnItsOwn)
{
    EXPECT_TRUE(table.Set(kW1, kA, 5, 100));
    EXPECT_TRUE(table.Set(kW1, kB, 5, 200));
    EXPECT_FALSE(table.Set(kW1, kA, 5, 300)) << "already running";
    EXPECT_TRUE(table.Kill(kW1, kA, 5));
    EXPECT_FALSE(table.Kill(kW1, kA, 5)) << "already killed";
    EXPECT_FALSE(table.Kill(kW1, kA, 9)) << "never set";
    EXPECT_EQ(Reach(kW1, 17), "") << "a killed timer reaches nobody";
    EXPECT_TRUE(table.Set(kW1, kA, 5, 400));
    EXPECT_EQ(native.Take(),
              (Calls{"start 1 17 100", "start 1 18 200", "stop 1 17", "start 1 17 400"}));
    EXPECT_EQ(Reach(kW1, 17), "A:5");
    EXPECT_EQ(Reach(kW1, 18), "B:5");
    EXPECT_EQ(Reach(kW2, 17), "") << "another window's native timer";
}

TEST_F(TimerTableTest, NoWindowOrAFailedStartLeavesNoRecord)
{
    EXPECT_FALSE(table.Set(nullptr, kA, 1, 100));
    EXPECT_TRUE(native.Take().empty()) << "a null window's timer would be a thread timer";
    native.startWorks = false;
    EXPECT_FALSE(table.Set(kW1, kA, 1, 100));
    EXPECT_EQ(Reach(kW1, 17), "");
    native.startWorks = true;
    ASSERT_TRUE(table.Set(kW1, kA, 1, 100));
    EXPECT_TRUE(table.Kill(kW1, kA, 1));
    native.startWorks = false;
    EXPECT_FALSE(table.Set(kW1, kA, 1, 100)) << "a restart that fails";
    EXPECT_EQ(Reach(kW1, 18), "") << "stays killed";
    EXPECT_EQ(native.Take(),
              (Calls{"start 1 17 100", "start 1 18 100", "stop 1 18", "start 1 18 100"}));
}

TEST_F(TimerTableTest, IdsWrapAndSkipHeldOnesUntilAllAreHeld)
{
    // Ids 17..254, then 0..16: 255 ids for one window.
    for (UINT i = 0; i < 255; ++i)
        ASSERT_TRUE(table.Set(kW1, kA, i, 100)) << i;
    EXPECT_EQ(Reach(kW1, 254), "A:237");
    EXPECT_EQ(Reach(kW1, 0), "A:238");
    native.Take();
    EXPECT_FALSE(table.Set(kW1, kA, 255, 100)) << "every id is held";
    EXPECT_TRUE(native.Take().empty());
    EXPECT_TRUE(table.Kill(kW1, kA, 3));
    EXPECT_FALSE(table.Set(kW1, kA, 255, 100)) << "a killed timer keeps its id";
    EXPECT_TRUE(table.Set(kW2, kA, 255, 100)) << "ids are held per window";
    table.Kill(kW1, kA);
    native.Take();
    EXPECT_TRUE(table.Set(kW1, kB, 1, 100));
    EXPECT_EQ(native.Take(), (Calls{"start 1 18 100"})) << "the counter goes on";
}

TEST_F(TimerTableTest, KillingAControlStopsWhatRunsOnItsWindowAndRemoveAllStopsTheRest)
{
    ASSERT_TRUE(table.Set(kW1, kA, 1, 100));  // 17
    ASSERT_TRUE(table.Set(kW1, kA, 2, 100));  // 18, killed below
    ASSERT_TRUE(table.Set(kW2, kA, 1, 100));  // 19
    ASSERT_TRUE(table.Set(kW1, kB, 1, 100));  // 20
    ASSERT_TRUE(table.Kill(kW1, kA, 2));
    native.Take();
    table.Kill(kW1, kA);
    EXPECT_EQ(native.Take(), (Calls{"stop 1 17"}));
    EXPECT_FALSE(table.Kill(kW1, kA, 2)) << "its records are gone";
    EXPECT_EQ(Reach(kW2, 19), "A:1");
    table.RemoveAll();
    EXPECT_EQ(native.Take(), (Calls{"stop 2 19", "stop 1 20"}));
    EXPECT_EQ(Reach(kW1, 20), "");
    {
        CTimerTable scoped(native);
        ASSERT_TRUE(scoped.Set(kW1, kA, 1, 100));
    }
    EXPECT_EQ(native.Take(), (Calls{"start 1 17 100", "stop 1 17"})) << "destruction stops it";
}

}  // namespace
}  // namespace Veneer
