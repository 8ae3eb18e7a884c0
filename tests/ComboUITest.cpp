// Combos on a real window: the list dropping down below the combo (in a scrolled container
// too) and closing, the selection moved by keys, the wheel and clicks with one
// "itemselect" per change, the child list changing while the list is down, and combos
// destroyed while their list is down.

#include <functional>
#include <string>
#include <vector>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ComboWnd.h"
#include "ui/controls/ListElementUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/VerticalLayoutUI.h"

namespace VeneerTest {
namespace {

constexpr int kRow = 20;                   // item height
constexpr RECT kFace = {10, 10, 110, 32};  // the combo in the window
constexpr POINT kFaceMiddle = {60, 21};

class ComboTest : public ControlTreeTest {
protected:
    // A combo at kFace with count items of kRow pixels named i0, i1 ... and texts
    // "item 0" ...; item disabled (if any) is disabled.
    void Build(int count, int disabled = -1)
    {
        root = new CContainerUI;
        root->SetDelayedDestroy(false);
        combo = MakeCombo(count, disabled);
        AddPlaced(root, combo, kFace);
        Attach(root);
        notes.Clear();
    }

    static CComboUI* MakeCombo(int count, int disabled = -1)
    {
        auto* made = new Poisoned<CComboUI>;
        made->SetName("combo");
        for (int i = 0; i < count; ++i) {
            made->Add(Item(i));
            if (i == disabled)
                made->GetItemAt(i)->SetEnabled(false);
        }
        return made;
    }

    static CListLabelElementUI* Item(int i)
    {
        auto* item = new Poisoned<CListLabelElementUI>;
        item->SetName(("i" + std::to_string(i)).c_str());
        item->SetText(("item " + std::to_string(i)).c_str());
        item->SetFixedHeight(kRow);
        return item;
    }

    void ClickFace()
    {
        Mouse(WM_LBUTTONDOWN, kFaceMiddle.x, kFaceMiddle.y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, kFaceMiddle.x, kFaceMiddle.y);
    }

    HWND Drop() const { return combo->GetDropDownWindow(); }

    // A click on an item of the open list, in the list window's client coordinates (the
    // box's inset is 1).
    void ClickItem(int index)
    {
        const LPARAM at = MAKELPARAM(20, 1 + index * kRow + kRow / 2);
        // Read once: the press may destroy the combo.
        const HWND drop = Drop();
        SendMessageA(drop, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(drop, WM_LBUTTONUP, 0, at);
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // "itemselect new old" for each "itemselect" so far.
    std::vector<std::string> Selections() const
    {
        std::vector<std::string> kept;
        for (const TNotifyMsg& msg : notes.messages) {
            if (msg.type == "itemselect")
                kept.push_back(std::to_string(msg.wParam) + " " + std::to_string(msg.lParam));
        }
        return kept;
    }

    // Where the list must drop down: right below the combo, on the screen.
    RECT ScreenBelow(const CControlUI* control) const
    {
        const RECT rc = control->GetPos();
        POINT at = {rc.left, rc.bottom};
        ClientToScreen(Window(), &at);
        return RECT{at.x, at.y, at.x + rc.right - rc.left, 0};
    }

    CContainerUI* root = nullptr;
    CComboUI* combo = nullptr;
};

TEST_F(ComboTest, AClickDropsTheListDownBelowTheComboWithItsItems)
{
    Build(3);
    ClickFace();

    ASSERT_TRUE(combo->IsDroppedDown());
    EXPECT_EQ(std::vector<std::string>{"combo:dropdown"}, notes.Of({"dropdown"}));
    ASSERT_TRUE(IsWindowVisible(Drop()));
    EXPECT_EQ(combo, Manager().GetFocus()) << "the combo keeps the keys";
    RECT window = {};
    GetWindowRect(Drop(), &window);
    const RECT below = ScreenBelow(combo);
    EXPECT_EQ((RECT{below.left, below.top, below.right, below.top + 2 + 3 * kRow}), window)
        << "as wide as the combo, as high as its items and the box's frame";
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(&Manager(), combo->GetItemAt(i)->GetManager()) << "shown in the list's window";
        EXPECT_EQ((RECT{1, 1 + i * kRow, 99, 1 + (i + 1) * kRow}), combo->GetItemAt(i)->GetPos());
    }
    EXPECT_EQ(combo->GetItemAt(1), Manager().FindControl("i1"))
        << "still named in the combo's window";
}

TEST_F(ComboTest, TheListClosesOnFocusLossKeysAndClicksKeepingTheSelection)
{
    Build(3);
    const struct {
        const char* how;
        std::function<void()> close;
    } cases[] = {
        {"the combo's window loses the focus", [this] { Send(WM_KILLFOCUS); }},
        {"another control takes the focus", [this] { Manager().SetFocus(root); }},
        {"Return", [this] { SendMessageA(Drop(), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Escape", [this] { SendMessageA(Drop(), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"F4", [this] { SendMessageA(Drop(), WM_KEYDOWN, VK_F4, 0); }},
        {"a click on the face", [this] { ClickFace(); }},
        {"the combo is hidden", [this] { combo->SetVisible(false); }},
        {"the combo is disabled", [this] { combo->SetEnabled(false); }},
    };
    for (const auto& c : cases) {
        combo->SetVisible(true);
        combo->SetEnabled(true);
        combo->SelectItem(1);
        ASSERT_TRUE(combo->Activate()) << c.how;
        const HWND drop = Drop();
        c.close();
        Pump();
        EXPECT_FALSE(combo->IsDroppedDown()) << c.how;
        EXPECT_FALSE(IsWindow(drop)) << c.how;
        EXPECT_EQ(&Manager(), combo->GetItemAt(0)->GetManager()) << c.how << ": items given back";
        EXPECT_EQ(1, combo->GetCurSel()) << c.how;
    }
    EXPECT_EQ(std::vector<std::string>{"1 -1"}, Selections());
}

TEST_F(ComboTest, KeysAndTheWheelMoveTheSelectionWithOneItemselectPerChange)
{
    enum Input {
        Up = VK_UP,
        Down = VK_DOWN,
        Home = VK_HOME,
        End = VK_END,
        WheelUp = 0x100,
        WheelDown
    };
    // Item 2 is disabled: moves pass over it, and past either end the selection stays.
    const struct {
        Input input;
        int selected;
    } steps[] = {{Down, 0}, {Up, 0},   {Down, 1},      {Down, 3},      {Down, 3},   {Up, 1},
                 {End, 3},  {Home, 0}, {WheelDown, 1}, {WheelDown, 3}, {WheelUp, 1}};
    Build(4, 2);
    // Keys and the wheel reach the combo from its own window, with the list down or not,
    // and from the list's window, which has the focus after a click in it.
    const struct {
        const char* round;
        bool open;
        bool toList;
    } rounds[] = {
        {"closed", false, false}, {"open", true, false}, {"open, to the list", true, true}};
    for (const auto& r : rounds) {
        combo->SelectItem(-1);
        combo->SetFocus();
        if (r.open) {
            ASSERT_TRUE(combo->Activate());
        }
        notes.Clear();
        const HWND target = r.toList ? Drop() : Window();
        std::vector<std::string> expected;
        int previous = -1;
        for (const auto& step : steps) {
            if (step.input == WheelUp || step.input == WheelDown) {
                POINT at = kFaceMiddle;
                ClientToScreen(Window(), &at);
                const short delta = step.input == WheelUp ? WHEEL_DELTA : -WHEEL_DELTA;
                SendMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(at.x, at.y));
            } else {
                SendMessageA(target, WM_KEYDOWN, step.input, 0);
            }
            EXPECT_EQ(step.selected, combo->GetCurSel()) << r.round << ", step " << &step - steps;
            if (step.selected != previous)
                expected.push_back(std::to_string(step.selected) + " " + std::to_string(previous));
            previous = step.selected;
        }
        EXPECT_EQ(expected, Selections()) << r.round;
        EXPECT_EQ(r.open, combo->IsDroppedDown()) << r.round << ": the list stays as it was";
        EXPECT_STREQ("item 1", combo->GetText());
        combo->CloseDropDown();
    }
}

TEST_F(ComboTest, AClickOnAnItemChoosesItAndClosesTheList)
{
    Build(3);
    ClickFace();
    ClickItem(2);
    Pump();
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(std::vector<std::string>{"2 -1"}, Selections());
    EXPECT_STREQ("item 2", combo->GetText());

    // The chosen item again: no change, no "itemselect", and the list closes all the same.
    ClickFace();
    ClickItem(2);
    Pump();
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(std::vector<std::string>{"2 -1"}, Selections());
}

TEST_F(ComboTest, AComboInAScrolledContainerDropsDownBelowWhereItIsShown)
{
    auto* scroller = new CVerticalLayoutUI;
    scroller->EnableScrollBar(true, false);
    auto* above = new CControlUI;
    above->SetFixedHeight(150);
    scroller->Add(above);
    combo = MakeCombo(2);
    combo->SetFixedHeight(22);
    scroller->Add(combo);
    auto* after = new CControlUI;
    after->SetFixedHeight(150);
    scroller->Add(after);
    Attach(scroller);
    scroller->SetScrollPos(SIZE{0, 120});
    ASSERT_EQ(30, combo->GetPos().top) << "scrolled to 150 - 120";

    ASSERT_TRUE(combo->Activate());
    RECT window = {};
    GetWindowRect(Drop(), &window);
    const RECT below = ScreenBelow(combo);
    EXPECT_EQ(below.left, window.left);
    EXPECT_EQ(below.top, window.top);
    combo->CloseDropDown();
}

TEST_F(ComboTest, TheComboAttributesSizeAndDressTheList)
{
    Build(3);
    combo->SetAttribute("dropboxsize", "150,45");
    combo->SetAttribute("dropbox", "inset=\"2,2,2,2\" bkcolor=\"#FF102030\"");
    ASSERT_TRUE(combo->Activate());
    RECT window = {};
    GetWindowRect(Drop(), &window);
    EXPECT_EQ(150, window.right - window.left);
    EXPECT_EQ(45, window.bottom - window.top) << "at most as high as the size says";
    const auto* box = static_cast<CContainerUI*>(combo->GetItemAt(0)->GetParent());
    EXPECT_EQ((RECT{2, 2, 2, 2}), box->GetInset());
    EXPECT_EQ(0xFF102030, box->GetBkColor());
    ASSERT_NE(nullptr, box->GetVerticalScrollBar());
    EXPECT_TRUE(box->GetVerticalScrollBar()->IsVisible()) << "items that do not fit scroll";

    // Where skinlint looks: the combo's own attributes and the item style's.
    ExpectListedAttributes(*combo, "normalimage=\"\" hotimage=\"\" pushedimage=\"\" "
                                   "focusedimage=\"\" disabledimage=\"\" textpadding=\"\" "
                                   "dropbox=\"\" dropboxsize=\"\" itemfont=\"\" "
                                   "itemselectedimage=\"\" itemhotbkcolor=\"\"");
}

TEST_F(ComboTest, TheContainersAttributesGivenTheComboDressTheItemsHolder)
{
    Build(2);
    combo->SetAttribute("inset", "1,2,3,4");
    combo->SetAttribute("childpadding", "5");
    combo->SetAttribute("bkcolor", "#FF010203");
    const auto* holder = static_cast<CContainerUI*>(combo->GetItemAt(0)->GetParent());
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ((RECT{1, 2, 3, 4}), holder->GetInset());
    EXPECT_EQ(5, holder->GetChildPadding());
    EXPECT_EQ(0xFF010203, combo->GetBkColor()) << "a plain control's attribute stays the combo's";
    EXPECT_NE(0xFF010203, holder->GetBkColor());
    ExpectListedAttributes(*combo, "inset=\"\" childpadding=\"\" vscrollbar=\"\" bkcolor=\"\"");
}

TEST(ComboPlacementTest, BelowTheComboElseAboveItAndInsideTheWorkArea)
{
    const RECT work = {0, 0, 800, 600};
    const struct {
        const char* where;
        RECT combo;
        SIZE size;
        RECT expected;
    } cases[] = {
        {"room below", {100, 100, 200, 122}, {100, 150}, {100, 122, 200, 272}},
        {"no room below", {100, 500, 200, 522}, {100, 150}, {100, 350, 200, 500}},
        {"room on neither side stays below",
         {100, 100, 200, 122},
         {100, 550},
         {100, 122, 200, 672}},
        {"past the right edge", {750, 100, 850, 122}, {100, 50}, {700, 122, 800, 172}},
        {"past the left edge", {-30, 100, 70, 122}, {100, 50}, {0, 122, 100, 172}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, DropDownPlacement(c.combo, c.size, work)) << c.where;
}

TEST_F(ComboTest, TheOpenListFollowsTheChildList)
{
    Build(3);
    combo->SelectItem(2);
    ASSERT_TRUE(combo->Activate());
    CWindowManagerUI* dropManager = combo->GetItemAt(0)->GetManager();

    CControlUI* added = Item(7);
    ASSERT_TRUE(combo->AddAt(added, 0));
    EXPECT_EQ(dropManager, added->GetManager()) << "shown in the open list";
    EXPECT_EQ(3, combo->GetCurSel()) << "the selection follows its item";

    ASSERT_TRUE(combo->RemoveAt(1));
    Pump();
    EXPECT_EQ(nullptr, Manager().FindControl("i0")) << "the removed item's name went with it";
    EXPECT_EQ(2, combo->GetCurSel());

    ASSERT_TRUE(combo->SetItemIndex(added, 2));
    EXPECT_EQ(1, combo->GetCurSel());
    InvalidateRect(Drop(), nullptr, FALSE);
    UpdateWindow(Drop());
    EXPECT_EQ((RECT{1, 1 + 2 * kRow, 99, 1 + 3 * kRow}), added->GetPos())
        << "moved in the list too";

    combo->RemoveAll();
    EXPECT_FALSE(combo->IsDroppedDown()) << "nothing left to show";
    EXPECT_EQ(-1, combo->GetCurSel());
}

TEST_F(ComboTest, AComboDestroyedWhileItsListIsDownLeavesNoWindowReachingIt)
{
    // From a receiver of its own "itemselect", inside the list window's click; and from
    // outside, while the list is simply down.
    Build(3);
    RemoveSender remover(root, "itemselect");
    Manager().AddNotifier(&remover);
    ClickFace();
    const HWND drop = Drop();
    ClickItem(1);
    EXPECT_EQ(0, root->GetCount()) << "the combo was destroyed";
    EXPECT_FALSE(IsWindowVisible(drop)) << "hidden at once";
    Pump();
    EXPECT_FALSE(IsWindow(drop)) << "destroyed once its message ended";
    Manager().RemoveNotifier(&remover);

    combo = MakeCombo(2);
    AddPlaced(root, combo, kFace);
    ASSERT_TRUE(combo->Activate());
    const HWND second = Drop();
    root->Remove(combo);
    EXPECT_FALSE(IsWindow(second)) << "destroyed with the combo";
    Pump();
}

}  // namespace
}  // namespace VeneerTest
