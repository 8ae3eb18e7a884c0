// Keyboard focus on a real window: moving it, tab order with wrapping, placing it after
// layout, and Alt+key shortcuts through labels.

#include "tests/ControlTreeFixture.h"

namespace VeneerTest {
namespace {

// Tab stops T1 T2 T3 in a row, a control that is no tab stop between them, and a hidden
// tab stop at the end.
class WindowManagerFocusTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        t1 = Add("T1", UIFLAG_TABSTOP, 0);
        plain = Add("N", 0, 40);
        t2 = Add("T2", UIFLAG_TABSTOP, 80);
        t3 = Add("T3", UIFLAG_TABSTOP, 120);
        hidden = Add("H", UIFLAG_TABSTOP, 160);
        hidden->SetVisible(false);
        Attach(root);
        log.clear();
        notes.Clear();
    }

    ProbeControl* Add(const char* name, UINT flags, int left)
    {
        auto* control = new ProbeControl(name, &log, flags);
        AddPlaced(root, control, RECT{left, 10, left + 30, 40});
        return control;
    }

    bool Tab(bool shift)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        LRESULT result = 0;
        const bool consumed = Manager().PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return consumed;
    }

    std::string FocusName()
    {
        IControlUI* focus = Manager().GetFocus();
        return focus != nullptr ? focus->GetName().GetData() : "none";
    }

    CContainerUI* root = nullptr;
    ProbeControl* t1 = nullptr;
    ProbeControl* plain = nullptr;
    ProbeControl* t2 = nullptr;
    ProbeControl* t3 = nullptr;
    ProbeControl* hidden = nullptr;
};

TEST_F(WindowManagerFocusTest, TheFirstPaintFocusesTheFirstTabStop)
{
    EXPECT_EQ(t1, Manager().GetFocus());
    EXPECT_TRUE(t1->IsFocused());
}

TEST_F(WindowManagerFocusTest, MovingTheFocusKillsItFirstAndTellsTheWindowBothWays)
{
    t2->SetFocus();
    EXPECT_EQ((EventLog{"T1:KillFocus", "T2:SetFocus"}), log);
    EXPECT_EQ(t2, t1->events.back().sender) << "KillFocus names the control taking the focus";
    EXPECT_EQ((std::vector<std::string>{"T1:killfocus", "T2:setfocus"}), notes.entries);
    EXPECT_FALSE(t1->IsFocused());
    EXPECT_TRUE(t2->IsFocused());

    log.clear();
    t2->SetFocus();
    EXPECT_TRUE(log.empty()) << "the focus again: nothing happens";
}

TEST_F(WindowManagerFocusTest, DisabledHiddenAndForeignControlsCannotTakeTheFocus)
{
    CWindowManagerUI other;
    ProbeControl foreign("F", &log);
    foreign.SetManager(&other, nullptr, false);
    t3->SetEnabled(false);
    for (IControlUI* control : {static_cast<IControlUI*>(t3), static_cast<IControlUI*>(hidden),
                                static_cast<IControlUI*>(&foreign)}) {
        t1->SetFocus();
        log.clear();
        Manager().SetFocus(control);
        EXPECT_EQ((EventLog{"T1:KillFocus"}), log) << control->GetName().GetData();
        EXPECT_EQ(nullptr, Manager().GetFocus());
    }
}

TEST_F(WindowManagerFocusTest, HidingTheFocusedControlDropsTheFocus)
{
    t1->SetVisible(false);
    EXPECT_EQ(nullptr, Manager().GetFocus());
    EXPECT_EQ((EventLog{"T1:KillFocus"}), log);
}

TEST_F(WindowManagerFocusTest, TabAndShiftTabWalkTheTabStopsAndWrap)
{
    const struct {
        bool shift;
        const char* focus;
    } steps[] = {
        {false, "T2"}, {false, "T3"}, {false, "T1"},  // the hidden tab stop is skipped
        {true, "T3"},  {true, "T2"},  {true, "T1"},  {true, "T3"},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(Tab(step.shift));
        EXPECT_EQ(step.focus, FocusName()) << (step.shift ? "Shift+Tab" : "Tab");
    }
}

TEST_F(WindowManagerFocusTest, TabWithoutTabStopsChangesNothingButIsConsumed)
{
    for (ProbeControl* control : {t1, t2, t3})
        control->SetEnabled(false);
    plain->SetFocus();
    EXPECT_TRUE(Tab(false));
    EXPECT_TRUE(Tab(true));
    EXPECT_EQ(plain, Manager().GetFocus());
}

TEST_F(WindowManagerFocusTest, TabBeforeLayoutMovesTheFocusAfterTheNextPaint)
{
    root->NeedUpdate();
    EXPECT_TRUE(Tab(false));
    EXPECT_EQ(t1, Manager().GetFocus()) << "not before the layout";
    RECT pending = UpdateRect();
    EXPECT_FALSE(IsRectEmpty(&pending));
    Paint();
    EXPECT_EQ(t2, Manager().GetFocus());
}

TEST_F(WindowManagerFocusTest, FocusNeededLandsOnTheControlAtTheNextPaint)
{
    Manager().SetFocusNeeded(t3);
    EXPECT_EQ(t2, Manager().GetFocus()) << "quietly parked on the tab stop before it";
    EXPECT_EQ((EventLog{"T1:KillFocus"}), log);
    Paint();
    EXPECT_EQ(t3, Manager().GetFocus());
    EXPECT_EQ("T3:SetFocus", log.back());
    EXPECT_EQ("T3:setfocus", notes.entries.back());
}

TEST_F(WindowManagerFocusTest, SystemKeysGoToTheFocusWithoutBeingConsumed)
{
    LRESULT result = 0;
    EXPECT_FALSE(Manager().PreMessageHandler(WM_SYSKEYDOWN, 'F', 0, result));
    EXPECT_EQ((EventLog{"T1:SysKey"}), log);
    EXPECT_EQ('F', t1->events.back().key);
}

// Shortcut search order: the root first, then its children from the last to the first.
class ShortcutTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = AttachRoot();
        before = new ProbeControl("before", &log);
        label = new ProbeLabel("label", &log);
        label->SetShortcut('n');
        after = new ProbeControl("after", &log);
        button = new ProbeControl("button", &log);
        button->SetShortcut('X');
        for (CControlUI* control :
             {static_cast<CControlUI*>(before), static_cast<CControlUI*>(label),
              static_cast<CControlUI*>(after), static_cast<CControlUI*>(button)})
            AddPlaced(root, control, RECT{0, 0, 10, 10});
        Paint();
        log.clear();
    }

    bool SysChar(char key)
    {
        LRESULT result = 0;
        return Manager().PreMessageHandler(WM_SYSCHAR, static_cast<BYTE>(key), 0, result);
    }

    CContainerUI* root = nullptr;
    ProbeControl* before = nullptr;
    ProbeLabel* label = nullptr;
    ProbeControl* after = nullptr;
    ProbeControl* button = nullptr;
};

TEST_F(ShortcutTest, ALabelsShortcutActivatesTheNextControlTheSearchReaches)
{
    EXPECT_TRUE(SysChar('N'));
    EXPECT_EQ((EventLog{"before:SetFocus", "before:Activate"}), log);
}

TEST_F(ShortcutTest, AControlsOwnShortcutActivatesItWhateverTheCase)
{
    EXPECT_TRUE(SysChar('x'));
    EXPECT_EQ((EventLog{"button:SetFocus", "button:Activate"}), log);
}

TEST_F(ShortcutTest, NoMatchIsNotConsumed)
{
    EXPECT_FALSE(SysChar('q'));
    EXPECT_FALSE(SysChar('\0')) << "controls without a shortcut never match";
    before->SetEnabled(false);
    EXPECT_FALSE(SysChar('n')) << "disabled controls are not searched";
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace VeneerTest
