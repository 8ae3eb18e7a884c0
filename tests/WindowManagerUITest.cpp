// The manager's own records on a real window: notifications and their receivers, the
// root and delayed cleanup, the name index, option groups and the order of destruction.

#include <functional>
#include <memory>

#include "tests/ControlTreeFixture.h"

namespace VeneerTest {
namespace {

class WindowManagerUITest : public ControlTreeTest {
protected:
    void SetUp() override
    {
        ControlTreeTest::SetUp();
        root = new CContainerUI;
        a = new ProbeControl("A", &log);
        b = new ProbeControl("B", &log);
        AddPlaced(root, a, RECT{10, 10, 60, 60});
        AddPlaced(root, b, RECT{100, 10, 150, 60});
        Attach(root);
        log.clear();
        notes.Clear();
    }

    CContainerUI* root = nullptr;
    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;
};

TEST_F(WindowManagerUITest, NotificationsReachTheSendersDelegatesThenEveryReceiver)
{
    struct Delegates {
        static bool First(void* msg)
        {
            static_cast<TNotifyMsg*>(msg)->wParam = 7;
            return false;
        }
        static bool Never(void*)
        {
            ADD_FAILURE() << "a delegate after one that answered false";
            return true;
        }
    };
    a->OnNotify.Add(MakeDelegate(&Delegates::First));
    a->OnNotify.Add(MakeDelegate(&Delegates::Never));
    NotifyLog second;
    Manager().AddNotifier(&second);
    Mouse(WM_MOUSEMOVE, 33, 44);

    Manager().SendNotify(a, "click", 1, 2);
    ASSERT_EQ(1u, notes.messages.size());
    const TNotifyMsg& msg = notes.messages[0];
    EXPECT_STREQ("click", msg.type);
    EXPECT_EQ(a, msg.sender);
    EXPECT_EQ(7u, msg.wParam) << "the delegate ran first";
    EXPECT_EQ(2, msg.lParam);
    EXPECT_EQ(33, msg.mouse.x);
    EXPECT_EQ(44, msg.mouse.y);
    EXPECT_NE(0u, msg.timestamp);
    EXPECT_EQ((std::vector<std::string>{"A:click"}), second.entries);
    EXPECT_TRUE(Manager().RemoveNotifier(&second));
    EXPECT_FALSE(Manager().RemoveNotifier(&second));
}

// A receiver and filter that runs a function at each call (of message kLeaverMessage).
const UINT kLeaverMessage = WM_USER + 9;

class Leaver : public INotifyUI, public IMessageFilterUI {
public:
    void Notify(TNotifyMsg&) override { Called(); }
    LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool&) override
    {
        if (message == kLeaverMessage)
            Called();
        return 0;
    }
    void Called()
    {
        ++calls;
        if (onCall)
            onCall();
    }
    std::function<void()> onCall;
    int calls = 0;
};

TEST_F(WindowManagerUITest, AnEntryThatUnregistersDuringDeliveryLeavesTheNextOneItsCall)
{
    using Change = bool (CWindowManagerUI::*)(IMessageFilterUI*);
    struct Case {
        const char* list;
        std::function<bool(Leaver*)> add;
        std::function<bool(Leaver*)> remove;
        std::function<void()> deliver;
    };
    CWindowManagerUI& manager = Manager();
    const auto filters = [&](Change change) {
        return [&manager, change](Leaver* leaver) { return (manager.*change)(leaver); };
    };
    const Case cases[] = {
        {"notifiers", [&](Leaver* l) { return manager.AddNotifier(l); },
         [&](Leaver* l) { return manager.RemoveNotifier(l); },
         [&] { manager.SendNotify(a, "click"); }},
        {"message filters", filters(&CWindowManagerUI::AddMessageFilter),
         filters(&CWindowManagerUI::RemoveMessageFilter), [&] { Send(kLeaverMessage); }},
        {"pre-message filters", filters(&CWindowManagerUI::AddPreMessageFilter),
         filters(&CWindowManagerUI::RemovePreMessageFilter),
         [&] {
             PostMessageA(Window(), kLeaverMessage, 0, 0);
             PostQuitMessage(0);
             CWindowManagerUI::MessageLoop();
         }},
    };
    for (const Case& c : cases) {
        // The second is registered twice: called once at each place.
        Leaver first, second, third;
        for (Leaver* leaver : {&first, &second, &third, &second})
            ASSERT_TRUE(c.add(leaver)) << c.list;
        first.onCall = [&] { c.remove(&first); };
        third.onCall = [&] { c.remove(&third); };
        c.deliver();
        EXPECT_EQ(1, first.calls) << c.list;
        EXPECT_EQ(2, second.calls) << c.list;
        EXPECT_EQ(1, third.calls) << c.list;
        c.deliver();
        EXPECT_EQ(1, first.calls) << c.list << ": unregistered";
        EXPECT_EQ(4, second.calls) << c.list;
        EXPECT_TRUE(c.remove(&second) && c.remove(&second)) << c.list;
    }
}

bool g_rootDeleted = false;

bool MarkRootDeleted(void*)
{
    g_rootDeleted = true;
    return true;
}

TEST_F(WindowManagerUITest, ARootReplacedIsDeletedAfterTheCurrentMessage)
{
    g_rootDeleted = false;
    root->OnDestroy.Add(MakeDelegate(&MarkRootDeleted));
    Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(a, Manager().FindControl("A"));

    auto* fresh = new ProbeControl("fresh", &log);
    ASSERT_TRUE(Manager().AttachRoot(fresh));
    EXPECT_FALSE(g_rootDeleted) << "the old tree may still be on the call stack";
    EXPECT_EQ(fresh, Manager().GetRoot());
    EXPECT_EQ(fresh, Manager().FindControl("fresh"));
    Send(WM_APP + 1);
    EXPECT_TRUE(g_rootDeleted);
    EXPECT_EQ(nullptr, Manager().FindControl("A")) << "forgotten when it was deleted";

    ASSERT_TRUE(Manager().AttachRoot(fresh));
    Send(WM_APP + 1);
    EXPECT_EQ(fresh, Manager().FindControl("fresh")) << "the same tree again is kept";
    EXPECT_FALSE(Manager().AttachRoot(nullptr));
}

TEST_F(WindowManagerUITest, NamesAreIndexedWhenAttachedAndTheLaterOfTwoWins)
{
    EXPECT_EQ(root, Manager().FindControl("root"));
    EXPECT_EQ(b, Manager().FindControl("B"));
    EXPECT_EQ(nullptr, Manager().FindControl("b"));
    auto* twin = new ProbeControl("B", &log);
    AddPlaced(root, twin, RECT{0, 0, 5, 5});
    EXPECT_EQ(twin, Manager().FindControl("B"));
    Manager().ForgetControl(b);
    EXPECT_EQ(twin, Manager().FindControl("B")) << "the entry is not b's to remove";
}

TEST_F(WindowManagerUITest, RenamingMovesTheIndexEntryWithTheControl)
{
    a->SetName("A2");
    EXPECT_EQ(nullptr, Manager().FindControl("A"));
    EXPECT_EQ(a, Manager().FindControl("A2"));
    root->SetDelayedDestroy(false);
    root->Remove(a);
    EXPECT_EQ(nullptr, Manager().FindControl("A2")) << "no entry outlives its control";

    // Named while it is built, outside the window's tree: nothing that could dangle.
    ProbeControl built("built", &log);
    built.SetManager(&Manager(), nullptr, false);
    built.SetName("renamed");
    EXPECT_EQ(nullptr, Manager().FindControl("renamed"));
}

TEST_F(WindowManagerUITest, OptionGroupsHoldEachControlOnceAndGoWithTheirLastMember)
{
    EXPECT_EQ(nullptr, Manager().GetOptionGroup("g"));
    EXPECT_TRUE(Manager().AddOptionGroup("g", a));
    EXPECT_FALSE(Manager().AddOptionGroup("g", a));
    EXPECT_TRUE(Manager().AddOptionGroup("g", b));
    EXPECT_TRUE(Manager().AddOptionGroup("h", a));
    CPtrArray* group = Manager().GetOptionGroup("g");
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(2, group->GetSize());
    EXPECT_EQ(6, group->GetCapacity());

    Manager().RemoveOptionGroup("g", a);
    EXPECT_EQ(1, Manager().GetOptionGroup("g")->GetSize());
    Manager().RemoveOptionGroup("g", b);
    EXPECT_EQ(nullptr, Manager().GetOptionGroup("g"));
    Manager().RemoveOptionGroup("nosuch", b);
    Manager().RemoveAllOptionGroups();
    EXPECT_EQ(nullptr, Manager().GetOptionGroup("h"));
}

TEST_F(WindowManagerUITest, AManagerWithoutAWindowLeavesOtherWindowsAlone)
{
    CWindowManagerUI windowless;
    auto* tree = new CContainerUI;
    auto* leaf = new ProbeControl("leaf", &log, UIFLAG_TABSTOP);
    AddPlaced(tree, leaf, RECT{0, 0, 10, 10});
    ASSERT_TRUE(windowless.AttachRoot(tree));
    ::SetFocus(Window());
    ASSERT_EQ(Window(), ::GetFocus());
    Paint();
    const size_t seen = Received().size();

    windowless.Invalidate(RECT{0, 0, 50, 50});
    leaf->Invalidate();
    EXPECT_TRUE(windowless.FocusNextTabStop(true));
    windowless.SetFocusNeeded(leaf);
    windowless.SetFocus(leaf);
    windowless.SetFocus(nullptr);
    windowless.AddDelayedCleanup(new ProbeControl("late", &log));

    EXPECT_EQ(RECT{}, UpdateRect());
    EXPECT_EQ(Window(), ::GetFocus()) << "the keyboard focus stays where it was";
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(seen, Received().size()) << "no message reached another window";
}

int g_destroyed = 0;

bool CountDestroyed(void*)
{
    ++g_destroyed;
    return true;
}

TEST_F(WindowManagerUITest, AManagerDeletesItsTreeAndWhatAwaitsCleanup)
{
    g_destroyed = 0;
    auto manager = std::make_unique<CWindowManagerUI>();
    manager->Init(Window());
    auto* tree = new CContainerUI;
    auto* leaf = new ProbeControl("leaf", &log);
    AddPlaced(tree, leaf, RECT{0, 0, 10, 10});
    auto* waiting = new ProbeControl("waiting", &log);
    for (CControlUI* control : {static_cast<CControlUI*>(tree), static_cast<CControlUI*>(leaf),
                                static_cast<CControlUI*>(waiting)})
        control->OnDestroy.Add(MakeDelegate(&CountDestroyed));
    ASSERT_TRUE(manager->AttachRoot(tree));
    manager->AddDelayedCleanup(waiting);
    ASSERT_TRUE(manager->SetTimer(leaf, 1, 100000));
    leaf->SetFocus();
    manager.reset();
    EXPECT_EQ(3, g_destroyed);
}

}  // namespace
}  // namespace VeneerTest
