// Containers on a real window: the child list and what adding and removing do to a child,
// hit testing around the inset, mouse events of a container the mouse does not reach,
// clipped painting, floating children, scroll bars and scrolling.

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "tests/ControlTreeFixture.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/base/Heap.h"

namespace VeneerTest {
namespace {

std::set<std::string> g_destroyed;

bool RecordDestroyed(void* control)
{
    g_destroyed.insert(static_cast<CControlUI*>(control)->GetName().GetData());
    return true;
}

CControlUI* Leaf(const char* name, const char* attributes = "")
{
    auto* leaf = new CControlUI;
    leaf->SetName(name);
    leaf->ApplyAttributeList(attributes);
    leaf->OnDestroy.Add(MakeDelegate(&RecordDestroyed));
    return leaf;
}

// A container that records its events, as the probes do.
class ProbeBox : public CContainerUI {
public:
    ProbeBox(const char* name, EventLog* log) : m_log(log) { SetName(name); }
    void DoEvent(TUIEvent& event) override
    {
        m_log->push_back(std::string(GetName().GetData()) + ":" + EventName(event.type));
        CContainerUI::DoEvent(event);
    }

private:
    EventLog* m_log;
};

// A list item for FindSelectable.
class Item : public CControlUI {
public:
    void* GetInterface(const char* name) override
    {
        return std::string(name) == "ListItem" ? this : CControlUI::GetInterface(name);
    }
};

class ContainerTest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        g_destroyed.clear();
    }

    std::string Names(const CContainerUI* container) const
    {
        std::string names;
        for (int i = 0; i < container->GetCount(); ++i)
            names += std::string(i > 0 ? " " : "") + container->GetItemAt(i)->GetName().GetData();
        return names;
    }

    // Runs what the window has posted to itself, as the message loop would.
    void DispatchPosted()
    {
        MSG msg;
        while (PeekMessageA(&msg, Window(), 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    std::string HitName(int x, int y) const
    {
        IControlUI* hit = const_cast<ContainerTest*>(this)->Manager().FindControl(POINT{x, y});
        return hit != nullptr ? hit->GetName().GetData() : "none";
    }
};

TEST_F(ContainerTest, TheChildListRefusesWhatItCannotDoAndNeverLosesAChild)
{
    CContainerUI* root = AttachRoot();
    CControlUI* a = Leaf("a");
    CControlUI* b = Leaf("b");
    ASSERT_TRUE(root->Add(a));
    ASSERT_TRUE(root->Add(Leaf("c")));
    ASSERT_TRUE(root->AddAt(b, 1));
    EXPECT_EQ("a b c", Names(root));

    CControlUI stray;
    stray.SetName("stray");
    EXPECT_FALSE(root->Add(nullptr));
    EXPECT_FALSE(root->AddAt(&stray, 4));
    EXPECT_FALSE(root->AddAt(&stray, -1));
    EXPECT_EQ(nullptr, stray.GetManager()) << "a refused control stays the caller's";
    EXPECT_EQ(nullptr, Manager().FindControl("stray"));
    EXPECT_FALSE(root->Add(a)) << "a child held twice would be deleted twice";
    EXPECT_FALSE(root->AddAt(b, 0));
    EXPECT_FALSE(root->Add(root));

    EXPECT_FALSE(root->SetItemIndex(a, 3)) << "past the last place";
    EXPECT_FALSE(root->SetItemIndex(a, -1));
    EXPECT_FALSE(root->SetItemIndex(&stray, 0));
    EXPECT_EQ("a b c", Names(root));
    EXPECT_TRUE(root->SetItemIndex(a, 2));
    EXPECT_EQ("b c a", Names(root));
    EXPECT_TRUE(root->SetItemIndex(a, 0));
    EXPECT_EQ("a b c", Names(root));

    EXPECT_EQ(nullptr, root->GetItemAt(3));
    EXPECT_EQ(nullptr, root->GetItemAt(-1));
    EXPECT_EQ(-1, root->GetItemIndex(&stray));
    EXPECT_FALSE(root->Remove(&stray));
    EXPECT_FALSE(root->RemoveAt(3));
    EXPECT_EQ("a b c", Names(root));

    // A list that cannot grow refuses the control before attaching it.
    while (root->GetCount() < CPtrArray::kFirstCapacity)
        root->Add(Leaf("filler"));
    CControlUI* refused = Leaf("refused");
    Heap::FailNthAllocation(1);
    EXPECT_FALSE(root->Add(refused));
    Heap::FailNthAllocation(0);
    EXPECT_EQ(nullptr, refused->GetManager());
    EXPECT_EQ(nullptr, Manager().FindControl("refused"));
    delete refused;
}

TEST_F(ContainerTest, AChildJoinsTheWindowOfItsContainer)
{
    CContainerUI* root = AttachRoot();
    auto* box = new CContainerUI;
    ASSERT_TRUE(root->Add(box));
    static int initialised;
    initialised = 0;
    CControlUI* leaf = Leaf("leaf");
    leaf->OnInit.Add(MakeDelegate([](void*) { return ++initialised > 0; }));
    ASSERT_TRUE(box->Add(leaf));
    EXPECT_EQ(&Manager(), leaf->GetManager());
    EXPECT_EQ(box, leaf->GetParent());
    EXPECT_EQ(1, initialised);
    EXPECT_EQ(leaf, Manager().FindControl("leaf")) << "named in the window";

    box->SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible()) << "hidden with its container";
    CControlUI* late = Leaf("late");
    ASSERT_TRUE(box->Add(late));
    EXPECT_FALSE(late->IsVisible()) << "added to a hidden container";
    box->SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible());
    EXPECT_TRUE(late->IsVisible());
}

TEST_F(ContainerTest, RemovedChildrenDieAtOnceAfterTheMessageOrNever)
{
    const struct {
        bool autoDestroy;
        bool delayed;
        bool atOnce;
        bool afterMessage;
    } cases[] = {
        {true, false, true, true},
        {true, true, false, true},
        {false, true, false, false},
    };
    for (const auto& c : cases) {
        CContainerUI* root = AttachRoot();
        root->SetAutoDestroy(c.autoDestroy);
        root->SetDelayedDestroy(c.delayed);
        CControlUI* leaf = Leaf("leaf");
        ASSERT_TRUE(root->Add(leaf));
        g_destroyed.clear();
        ASSERT_TRUE(root->Remove(leaf));
        EXPECT_EQ(0, root->GetCount());
        EXPECT_EQ(c.atOnce, g_destroyed.count("leaf") == 1) << c.autoDestroy << c.delayed;
        DispatchPosted();
        EXPECT_EQ(c.afterMessage, g_destroyed.count("leaf") == 1) << c.autoDestroy << c.delayed;
        if (!c.autoDestroy)
            delete leaf;
    }

    // The destructor does not wait, whatever the setting.
    auto* box = new CContainerUI;
    box->SetManager(&Manager(), nullptr, false);
    box->Add(Leaf("x"));
    box->Add(Leaf("y"));
    g_destroyed.clear();
    delete box;
    EXPECT_EQ((std::set<std::string>{"x", "y"}), g_destroyed);
}

// A vertical layout with an inset of 10 and a bar on the right: a child as wide as 300
// reaches into the right inset, a floating child lies in it, and the bar covers the right
// edge of the inner area.
class ContainerHitTest : public ContainerTest {
protected:
    void SetUp() override
    {
        ContainerTest::SetUp();
        root = new ProbeBox("root", &log);
        layout = new CVerticalLayoutUI;
        layout->SetName("layout");
        layout->ApplyAttributeList("inset=\"10,10,10,10\"");
        root->Add(layout);
        layout->Add(Leaf("wide", "width=\"300\" height=\"30\""));
        AddPlaced(layout, Leaf("floating"), RECT{185, 50, 199, 60});
        Attach(root);
        notes.Clear();
    }

    ProbeBox* root = nullptr;
    CVerticalLayoutUI* layout = nullptr;
};

TEST_F(ContainerHitTest, ChildrenAreHitOnlyInTheInnerAreaUnlessTheyFloat)
{
    EXPECT_EQ((RECT{10, 10, 310, 40}), Manager().FindControl("wide")->GetPos());
    EXPECT_EQ("wide", HitName(100, 20));
    EXPECT_EQ("layout", HitName(195, 20)) << "the part of the child in the inset";
    EXPECT_EQ("layout", HitName(5, 5));
    EXPECT_EQ("floating", HitName(195, 55));

    layout->SetMouseChildEnabled(false);
    EXPECT_EQ("layout", HitName(100, 20));
    EXPECT_EQ("layout", HitName(195, 55));

    layout->SetMouseChildEnabled(true);
    layout->SetMouseEnabled(false);
    EXPECT_EQ("wide", HitName(100, 20));
    EXPECT_EQ("root", HitName(5, 5)) << "a container the mouse does not reach";
}

TEST_F(ContainerHitTest, MouseEventsOfAContainerTheMouseDoesNotReachGoToItsParent)
{
    layout->SetContextMenuUsed(true);
    TUIEvent menu;
    menu.type = TUIEventType::ContextMenu;
    layout->Event(menu);
    EXPECT_EQ((std::vector<std::string>{"layout:menu"}), notes.entries);
    EXPECT_EQ(EventLog{}, log);

    notes.Clear();
    layout->ApplyAttributeList("mouse=\"false\"");
    layout->Event(menu);
    EXPECT_EQ(std::vector<std::string>{}, notes.entries);
    EXPECT_EQ((EventLog{"root:ContextMenu"}), log);

    log.clear();
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ((EventLog{"root:SetFocus", "root:ButtonDown", "root:ButtonUp"}), log);
}

TEST_F(ContainerTest, ChildrenPaintInsideTheInnerAreaAndFloatingOnesOverTheInset)
{
    auto* root = new CVerticalLayoutUI;
    root->ApplyAttributeList("bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\"");
    root->Add(Leaf("wide", "width=\"300\" height=\"30\" bkcolor=\"#FFFF0000\""));
    AddPlaced(root, Leaf("floating", "bkcolor=\"#FF00FF00\""), RECT{185, 50, 199, 60});
    Attach(root);
    EXPECT_EQ(0xFF0000u, PixelAt(100, 20));
    EXPECT_EQ(0xFFFFFFu, PixelAt(195, 20)) << "clipped at the inset";
    EXPECT_EQ(0x00FF00u, PixelAt(195, 55));
}

TEST_F(ContainerTest, AFloatingChildKeepsItsDistanceFromTheRightEdge)
{
    CContainerUI* root = AttachRoot();
    CControlUI* child = Leaf("child", "float=\"true\" pos=\"-70,5,-10,25\"");
    root->Add(child);
    Paint();
    EXPECT_EQ((RECT{130, 5, 190, 25}), child->GetPos());
    SetWindowPos(Window(), nullptr, 0, 0, 300, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Paint();
    EXPECT_EQ((RECT{230, 5, 290, 25}), child->GetPos());
}

TEST_F(ContainerTest, FindSelectableSkipsWhatIsNoVisibleEnabledListItem)
{
    CContainerUI* root = AttachRoot();
    EXPECT_EQ(-1, root->FindSelectable(0, true)) << "no children";
    root->Add(Leaf("plain"));
    auto* hidden = new Item;
    hidden->SetVisible(false);
    root->Add(hidden);
    root->Add(new Item);
    auto* disabled = new Item;
    disabled->SetEnabled(false);
    root->Add(disabled);
    root->Add(Leaf("plain"));
    const struct {
        int index;
        bool forward;
        int expected;
    } cases[] = {{0, true, 2},  {-5, true, 2},  {3, true, -1},
                 {4, false, 2}, {99, false, 2}, {1, false, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, root->FindSelectable(c.index, c.forward)) << c.index << c.forward;
}

TEST_F(ContainerTest, ScrollBarsAreMadeWithTheWindowsDefaultLook)
{
    Manager().AddDefaultAttributes("VScrollBar", "width=\"12\" linesize=\"5\"");
    CContainerUI* root = AttachRoot();
    root->SetAttribute("vscrollbar", "true");
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(root, bar->GetOwner());
    EXPECT_FALSE(bar->IsHorizontal());
    EXPECT_EQ(12, bar->GetFixedWidth());
    EXPECT_EQ(5, bar->GetLineSize());

    root->SetAttribute("vscrollbarstyle", "showbutton1=\"false\"");
    EXPECT_EQ(bar, root->GetVerticalScrollBar()) << "the same bar, dressed";
    EXPECT_FALSE(bar->GetShowButton1());

    root->SetAttribute("hscrollbar", "true");
    ASSERT_NE(nullptr, root->GetHorizontalScrollBar());
    EXPECT_TRUE(root->GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(16, root->GetHorizontalScrollBar()->GetFixedHeight());
    EXPECT_EQ(bar, root->GetVerticalScrollBar());

    root->SetAttribute("vscrollbar", "false");
    EXPECT_EQ(nullptr, root->GetVerticalScrollBar());
    EXPECT_NE(nullptr, root->GetHorizontalScrollBar());
}

// Ten children 30 high in a vertical layout 100 high with a vertical bar: 300 needed.
class ScrollingTest : public ContainerTest {
protected:
    void SetUp() override
    {
        ContainerTest::SetUp();
        layout = new CVerticalLayoutUI;
        layout->SetAttribute("vscrollbar", "true");
        for (int i = 0; i < 10; ++i)
            layout->Add(Leaf(("c" + std::to_string(i)).c_str(), "height=\"30\""));
        Attach(layout);
        bar = layout->GetVerticalScrollBar();
        line = Manager().GetDefaultFontEntry()->metrics.tmHeight + 8;
    }

    RECT Child(int index) const { return layout->GetItemAt(index)->GetPos(); }

    void Key(WPARAM key) { Send(WM_KEYDOWN, key); }

    CVerticalLayoutUI* layout = nullptr;
    CScrollBarUI* bar = nullptr;
    int line = 0;
};

TEST_F(ScrollingTest, ChildrenNeedingMoreRoomShowTheBarAndAreNarrowedByIt)
{
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(200, bar->GetScrollRange());
    EXPECT_EQ((RECT{kWidth - 16, 0, kWidth, kHeight}), bar->GetPos());
    EXPECT_EQ((RECT{0, 0, kWidth - 16, 30}), Child(0));
    EXPECT_EQ(200, layout->GetScrollRange().cy);
    EXPECT_EQ(0, layout->GetScrollRange().cx) << "no horizontal bar";

    // Fewer children: the bar goes and the children take the whole width again.
    while (layout->GetCount() > 3)
        layout->RemoveAt(layout->GetCount() - 1);
    Paint();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ((RECT{0, 0, kWidth, 30}), Child(0));
}

TEST_F(ScrollingTest, EachStepMovesEveryChildByExactlyTheScrollDelta)
{
    layout->SetFocus();
    const struct {
        const char* name;
        std::function<void()> step;
        int expected;  // scroll position afterwards
    } cases[] = {
        {"LineDown", [&] { layout->LineDown(); }, line},
        {"key Down", [&] { Key(VK_DOWN); }, 2 * line},
        {"wheel towards the user",
         [&] { ScreenMouse(WM_MOUSEWHEEL, 50, 50, MAKEWPARAM(0, -WHEEL_DELTA)); }, 3 * line},
        {"PageDown", [&] { layout->PageDown(); }, std::min(3 * line + kHeight, 200)},
        {"EndDown", [&] { layout->EndDown(); }, 200},
        {"key Down at the end", [&] { Key(VK_DOWN); }, 200},
        {"key Page Up", [&] { Key(VK_PRIOR); }, 100},
        {"wheel away from the user",
         [&] { ScreenMouse(WM_MOUSEWHEEL, 50, 50, MAKEWPARAM(0, WHEEL_DELTA)); }, 100 - line},
        {"key Home", [&] { Key(VK_HOME); }, 0},
        {"LineUp at the top", [&] { layout->LineUp(); }, 0},
    };
    for (const auto& c : cases) {
        c.step();
        EXPECT_EQ(c.expected, bar->GetScrollPos()) << c.name;
        EXPECT_EQ(c.expected, layout->GetScrollPos().cy) << c.name;
        for (int i = 0; i < layout->GetCount(); ++i)
            EXPECT_EQ((RECT{0, 30 * i - c.expected, kWidth - 16, 30 * i + 30 - c.expected}),
                      Child(i))
                << c.name << ", child " << i;
    }
}

TEST_F(ScrollingTest, TheOwnersBarScrollsTheChildrenAndSendsNothing)
{
    notes.Clear();
    Mouse(WM_LBUTTONDOWN, kWidth - 8, kHeight - 4);  // the down arrow
    Mouse(WM_LBUTTONUP, kWidth - 8, kHeight - 4);
    EXPECT_EQ(line, bar->GetScrollPos());
    EXPECT_EQ(-line, Child(0).top);
    for (const TNotifyMsg& msg : notes.messages)
        EXPECT_STRNE("scroll", msg.type);
}

// The size handler of the child named g_trigger removes the sibling before it and the
// second one after it while the layout or a scroll step moves the children; the removed
// children die at once.
CContainerUI* g_layout = nullptr;
std::string g_trigger;

bool RemoveNeighbours(void* control)
{
    auto* child = static_cast<CControlUI*>(control);
    if (g_trigger != child->GetName().GetData())
        return true;
    g_trigger.clear();
    const int index = g_layout->GetItemIndex(child);
    g_layout->RemoveAt(index + 2);
    g_layout->RemoveAt(index - 1);
    return true;
}

TEST_F(ContainerTest, SizeHandlersMayRemoveChildrenWhileTheyAreMoved)
{
    auto* layout = new CVerticalLayoutUI;
    layout->SetDelayedDestroy(false);
    layout->SetAttribute("vscrollbar", "true");
    for (int i = 0; i < 6; ++i) {
        auto* probe = new ProbeControl(("p" + std::to_string(i)).c_str(), &log);
        probe->SetFixedHeight(30);
        probe->OnSize.Add(MakeDelegate(&RemoveNeighbours));
        layout->Add(probe);
    }
    g_layout = layout;
    Attach(layout);

    g_trigger = "p1";
    layout->NeedUpdate();
    Paint();
    EXPECT_EQ("", g_trigger);
    EXPECT_EQ("p1 p2 p4 p5", Names(layout));

    g_trigger = "p2";
    layout->LineDown();
    EXPECT_EQ("", g_trigger);
    EXPECT_EQ("p2 p4", Names(layout));
    EXPECT_EQ(EventLog{}, CallsAfterDelete());
}

}  // namespace
}  // namespace VeneerTest
