// Handlers that pull the rug: from every event and every notification the manager sends,
// a handler deletes, hides or refocuses the control concerned (or its neighbour), with
// removed controls deleted at once. Afterwards no call may reach a deleted control, the
// focus must be on one control that knows it, and no control may be told twice in a row
// that it lost the focus or the mouse.

#include <cstdio>
#include <string>

#include "tests/ControlTreeFixture.h"
#include "ui/core/base/ControlWatch.h"

namespace VeneerTest {
namespace {

enum class Drive {
    Attach,        // the first layout sends "windowinit"
    FocusB,        // A has the focus; a click on B takes it
    Tab,           // Tab moves the focus from A to B
    FocusNeededB,  // the focus is asked for B at the next paint
    ClickA,        // C has the focus; a click on A takes it
    ShortcutA,     // C has the focus; Alt+Q reaches A
    EnterA,        // the mouse goes from B to A and moves on it
    LeaveA,        // the mouse goes from A to B and moves on it
    HoverA,        // the mouse rests on A, then goes to B
    PressA,        // press on A, drag to B, release there
    DoubleClickA,
    RightClickA,  // right press on A, then the context menu
    WheelA,
    KeysA,  // key down, character, key up, system key, with A focused
    TimerA,
    Size,   // the window is resized while A has the focus
    Close,  // the window is closed while A is hovered, pressed and focused
    HideA,  // A is hidden while it has the focus
    MoveA,  // A is placed anew
};

enum class Action { Delete, Hide, FocusOther, FocusSelf, DetachRoot, DeleteAndFocusOther };

// Where the action runs: the control's own event handling, its event or notification
// delegates, the first of the window's receivers, or the window's procedure.
enum class Place { Handler, Delegate, Receiver, Window };

struct Row {
    Drive drive;
    const char* trigger;  // the control whose event or notification runs the action
    TUIEventType event;   // None for a notification or a window message
    const char* note;     // the notification type ("OnSize": the size delegates), or null
    const char* victim;
    Action action;
    Place place;
    const char* focusAfter;  // the focus expected at the end, or null for any
};

const char* const kProbes[] = {"A", "B", "C"};
const char* const kControls[] = {"root", "A", "B", "C"};

class ActingProbe;

class WindowManagerReentrancyTest : public ControlTreeTest, public INotifyUI {
public:
    // Called wherever an action may run; runs the row's action the first time it matches.
    void MaybeAct(IControlUI* at, TUIEventType event, const char* note, Place place);
    void Notify(TNotifyMsg& msg) override;

protected:
    void SetUp() override;
    void Run(const Row& row);

private:
    void Build();
    void DriveTree(Drive drive);
    void Act();
    void Check(const std::string& what);
    void Dismantle();
    CControlUI* Named(const char* name) { return AsControl(Manager().FindControl(name)); }
    std::string LastFocusNote(const std::string& name) const;

    const Row* m_row = nullptr;
    bool m_acted = false;
};

// A probe that lets the row act from its event handling and from its delegates.
class ActingProbe : public ProbeControl {
public:
    ActingProbe(const char* name, EventLog* log, WindowManagerReentrancyTest* test)
        : ProbeControl(name, log, UIFLAG_TABSTOP), m_test(test)
    {
        OnEvent.Add(MakeDelegate(this, &ActingProbe::OwnEvent));
        OnNotify.Add(MakeDelegate(this, &ActingProbe::OwnNotification));
        OnSize.Add(MakeDelegate(this, &ActingProbe::OwnSize));
    }

    // Acts once the event is handled, as a control that reports it would.
    void DoEvent(TUIEvent& event) override
    {
        CControlWatch self(this);
        ProbeControl::DoEvent(event);
        if (self)
            m_test->MaybeAct(this, event.type, nullptr, Place::Handler);
    }

private:
    bool OwnEvent(void* event)
    {
        m_test->MaybeAct(this, static_cast<TUIEvent*>(event)->type, nullptr, Place::Delegate);
        return true;
    }
    bool OwnSize(void*)
    {
        m_test->MaybeAct(this, TUIEventType::None, "OnSize", Place::Delegate);
        return true;
    }
    bool OwnNotification(void* msg)
    {
        m_test->MaybeAct(this, TUIEventType::None, static_cast<TNotifyMsg*>(msg)->type,
                         Place::Delegate);
        return true;
    }

    WindowManagerReentrancyTest* m_test;
};

// A receiver after the acting one, which reads the sender of whatever reaches it.
class SenderReader : public INotifyUI {
public:
    void Notify(TNotifyMsg& msg) override
    {
        if (msg.sender != nullptr)
            msg.sender->GetName();
    }
};

void WindowManagerReentrancyTest::SetUp()
{
    ControlTreeTest::SetUp();
    // The log comes first, so that it sees nested notifications in the order they happen.
    Manager().AddNotifier(this);
    static SenderReader reader;
    Manager().AddNotifier(&reader);
    OnWindowMessage([this](UINT message) {
        if (message == WM_CAPTURECHANGED)
            MaybeAct(nullptr, TUIEventType::None, nullptr, Place::Window);
    });
}

void WindowManagerReentrancyTest::Notify(TNotifyMsg& msg)
{
    MaybeAct(msg.sender, TUIEventType::None, msg.type, Place::Receiver);
}

void WindowManagerReentrancyTest::MaybeAct(IControlUI* at, TUIEventType event, const char* note,
                                           Place place)
{
    if (m_row == nullptr || m_acted || place != m_row->place)
        return;
    if (place != Place::Window) {
        if (at == nullptr || at->GetName() != m_row->trigger || event != m_row->event)
            return;
        if ((note == nullptr) != (m_row->note == nullptr) ||
            (note != nullptr && std::string(note) != m_row->note))
            return;
    }
    m_acted = true;
    Act();
}

void WindowManagerReentrancyTest::Act()
{
    CControlUI* victim = Named(m_row->victim);
    ASSERT_NE(nullptr, victim);
    switch (m_row->action) {
    case Action::Delete:
        AsContainer(victim->GetParent())->Remove(victim);
        break;
    case Action::Hide:
        victim->SetVisible(false);
        break;
    case Action::FocusOther:
        Manager().SetFocus(Named("C"));
        break;
    case Action::FocusSelf:
        Manager().SetFocus(victim);
        break;
    case Action::DetachRoot:
        Manager().AttachRoot(nullptr);
        break;
    case Action::DeleteAndFocusOther:
        AsContainer(victim->GetParent())->Remove(victim);
        Manager().SetFocus(Named("C"));
        break;
    }
}

void WindowManagerReentrancyTest::Build()
{
    auto* root = new CContainerUI;
    // Removed controls die at once, inside the handler that removes them.
    root->SetDelayedDestroy(false);
    int left = 10;
    for (const char* name : kProbes) {
        auto* probe = new ActingProbe(name, &log, this);
        AddPlaced(root, probe, RECT{left, 10, left + 50, 60});
        left += 90;
    }
    Attach(root);
    if (CControlUI* a = Named("A")) {
        a->SetContextMenuUsed(true);
        a->SetShortcut('Q');
    }
}

void WindowManagerReentrancyTest::DriveTree(Drive drive)
{
    auto focus = [this](const char* name) {
        if (CControlUI* control = Named(name))
            control->SetFocus();
    };
    LRESULT result = 0;
    switch (drive) {
    case Drive::Attach:
        break;
    case Drive::FocusB:
        Mouse(WM_LBUTTONDOWN, 110, 20);
        Mouse(WM_LBUTTONUP, 110, 20);
        break;
    case Drive::Tab:
        Manager().PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result);
        break;
    case Drive::FocusNeededB:
        Manager().SetFocusNeeded(Named("B"));
        Paint();
        break;
    case Drive::ClickA:
        focus("C");
        Mouse(WM_LBUTTONDOWN, 20, 20);
        Mouse(WM_LBUTTONUP, 20, 20);
        break;
    case Drive::ShortcutA:
        focus("C");
        Manager().PreMessageHandler(WM_SYSCHAR, 'q', 0, result);
        break;
    case Drive::EnterA:
        Mouse(WM_MOUSEMOVE, 110, 20);
        Mouse(WM_MOUSEMOVE, 20, 20);
        Mouse(WM_MOUSEMOVE, 25, 25);
        break;
    case Drive::LeaveA:
        Mouse(WM_MOUSEMOVE, 20, 20);
        Mouse(WM_MOUSEMOVE, 110, 20);
        Mouse(WM_MOUSEMOVE, 115, 25);
        break;
    case Drive::HoverA:
        Mouse(WM_MOUSEMOVE, 20, 20);
        Mouse(WM_MOUSEHOVER, 20, 20);
        Mouse(WM_MOUSEMOVE, 110, 20);
        break;
    case Drive::PressA:
        Mouse(WM_MOUSEMOVE, 20, 20);
        Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, 110, 20, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 110, 20);
        break;
    case Drive::DoubleClickA:
        Mouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 20, 20);
        break;
    case Drive::RightClickA:
        Mouse(WM_RBUTTONDOWN, 20, 20, MK_RBUTTON);
        ScreenMouse(WM_CONTEXTMENU, 20, 20);
        break;
    case Drive::WheelA:
        ScreenMouse(WM_MOUSEWHEEL, 20, 20, MAKEWPARAM(0, WHEEL_DELTA));
        break;
    case Drive::KeysA:
        Send(WM_KEYDOWN, 'K');
        Send(WM_CHAR, 'k');
        Send(WM_KEYUP, 'K');
        Manager().PreMessageHandler(WM_SYSKEYDOWN, 'F', 0, result);
        break;
    case Drive::TimerA:
        if (CControlUI* a = Named("A")) {
            ASSERT_TRUE(Manager().SetTimer(a, 1, 100000));
        }
        // The native id is the manager's to choose: every one is tried.
        for (UINT id = 0; id < 255; ++id)
            Send(WM_TIMER, id);
        break;
    case Drive::Size:
        Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
        Paint();
        break;
    case Drive::HideA:
        if (CControlUI* a = Named("A"))
            a->SetVisible(false);
        break;
    case Drive::MoveA:
        if (CControlUI* a = Named("A"))
            a->SetPos(RECT{12, 12, 58, 58});
        break;
    case Drive::Close:
        Mouse(WM_MOUSEMOVE, 20, 20);
        Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        Manager().MessageHandler(WM_CLOSE, 0, 0, result);
        Mouse(WM_MOUSEMOVE, 110, 20);
        break;
    }
}

std::string WindowManagerReentrancyTest::LastFocusNote(const std::string& name) const
{
    std::string last;
    for (const std::string& entry : notes.entries) {
        if (entry == name + ":setfocus" || entry == name + ":killfocus")
            last = entry.substr(name.size() + 1);
    }
    return last;
}

void WindowManagerReentrancyTest::Check(const std::string& what)
{
    EXPECT_TRUE(m_acted) << what << ": the handler never ran";
    EXPECT_EQ(EventLog{}, CallsAfterDelete()) << what << ": calls that reached deleted controls";
    IControlUI* focus = Manager().GetFocus();
    bool focusKnown = focus == nullptr;
    for (const char* name : kControls) {
        CControlUI* probe = Named(name);
        if (probe == nullptr)
            continue;
        focusKnown = focusKnown || probe == focus;
        EXPECT_EQ(probe == focus, probe->IsFocused()) << what << ": " << name << " drawn focused";
        EXPECT_EQ(probe == focus, LastFocusNote(name) == "setfocus")
            << what << ": the receivers were told otherwise about " << name;
    }
    EXPECT_TRUE(focusKnown) << what << ": the focus is on no live control";
    for (const std::string& entry : notes.entries)
        EXPECT_NE('-', entry[0]) << what << ": a notification without a sender: " << entry;
    EXPECT_EQ(nullptr, GetCapture()) << what << ": every press has ended, the mouse is free";
    // Painting still ends, whatever the handlers did to the tree.
    Paint();
    Paint();
    EXPECT_EQ(RECT{}, UpdateRect()) << what << ": the window was left unpainted";
    if (m_row->focusAfter != nullptr) {
        const std::string focused = focus != nullptr ? focus->GetName().GetData() : "none";
        EXPECT_EQ(m_row->focusAfter, focused) << what;
    }
    // Each "lost" must follow a "gained": never twice in a row, never first.
    for (const char* name : kControls) {
        const std::string prefix = std::string(name) + ":";
        bool focused = false;
        bool hovered = false;
        for (const std::string& entry : log) {
            if (entry == prefix + "SetFocus" || entry == prefix + "KillFocus") {
                EXPECT_NE(focused, entry == prefix + "SetFocus")
                    << what << ": " << entry << " twice";
                focused = !focused;
            } else if (entry == prefix + "MouseEnter" || entry == prefix + "MouseLeave") {
                EXPECT_NE(hovered, entry == prefix + "MouseEnter")
                    << what << ": " << entry << " twice";
                hovered = !hovered;
            }
        }
    }
}

void WindowManagerReentrancyTest::Dismantle()
{
    m_row = nullptr;
    ReleaseCapture();
    Manager().AttachRoot(nullptr);
    Send(WM_APP + 1);
    EXPECT_EQ(EventLog{}, CallsAfterDelete()) << "calls that reached deleted controls";
    CallsAfterDelete().clear();
    log.clear();
    notes.Clear();
}

void WindowManagerReentrancyTest::Run(const Row& row)
{
    static const char* const actions[] = {"deletes",
                                          "hides",
                                          "focuses C instead of",
                                          "focuses",
                                          "detaches the root from",
                                          "focuses C and deletes"};
    static const char* const places[] = {"handler", "delegate", "receiver", "window"};
    char what[160];
    std::snprintf(what, sizeof(what), "drive %d: the %s of %s:%s %s %s",
                  static_cast<int>(row.drive), places[static_cast<int>(row.place)], row.trigger,
                  row.note != nullptr ? row.note : EventName(row.event),
                  actions[static_cast<int>(row.action)], row.victim);
    m_row = &row;
    // Building the tree focuses A: only the drive may set the action off, unless the
    // row is about the first layout itself.
    const bool onBuild = row.drive == Drive::Attach;
    m_acted = !onBuild;
    Build();
    if (!onBuild)
        m_acted = false;
    DriveTree(row.drive);
    Check(what);
    Dismantle();
}

TEST_F(WindowManagerReentrancyTest, HandlersMayDeleteHideOrRefocusFromEveryEventAndNotification)
{
    using T = TUIEventType;
    struct Trigger {
        Drive drive;
        const char* control;
        TUIEventType event;
        const char* note;
    };
    const Trigger triggers[] = {
        {Drive::FocusB, "A", T::KillFocus, nullptr},
        {Drive::FocusB, "B", T::SetFocus, nullptr},
        {Drive::Tab, "A", T::KillFocus, nullptr},
        {Drive::FocusNeededB, "A", T::KillFocus, nullptr},
        {Drive::ClickA, "A", T::SetFocus, nullptr},
        {Drive::ShortcutA, "A", T::SetFocus, nullptr},
        {Drive::EnterA, "A", T::MouseEnter, nullptr},
        {Drive::EnterA, "A", T::MouseMove, nullptr},
        {Drive::LeaveA, "A", T::MouseLeave, nullptr},
        {Drive::HoverA, "A", T::MouseHover, nullptr},
        {Drive::PressA, "A", T::ButtonDown, nullptr},
        {Drive::PressA, "A", T::MouseMove, nullptr},
        {Drive::PressA, "A", T::ButtonUp, nullptr},
        {Drive::DoubleClickA, "A", T::DblClick, nullptr},
        {Drive::RightClickA, "A", T::RButtonDown, nullptr},
        {Drive::RightClickA, "A", T::ContextMenu, nullptr},
        {Drive::WheelA, "A", T::ScrollWheel, nullptr},
        {Drive::KeysA, "A", T::KeyDown, nullptr},
        {Drive::KeysA, "A", T::Char, nullptr},
        {Drive::KeysA, "A", T::KeyUp, nullptr},
        {Drive::KeysA, "A", T::SysKey, nullptr},
        {Drive::TimerA, "A", T::Timer, nullptr},
        {Drive::Size, "A", T::WindowSize, nullptr},
        {Drive::Close, "A", T::MouseLeave, nullptr},
        {Drive::Close, "A", T::ButtonUp, nullptr},
        {Drive::Close, "A", T::KillFocus, nullptr},
        {Drive::HideA, "A", T::KillFocus, nullptr},
        {Drive::FocusB, "A", T::None, "killfocus"},
        {Drive::FocusB, "B", T::None, "setfocus"},
        {Drive::ClickA, "A", T::None, "setfocus"},
        {Drive::TimerA, "A", T::None, "timer"},
        {Drive::RightClickA, "A", T::None, "menu"},
        {Drive::HideA, "A", T::None, "killfocus"},
    };
    std::vector<Row> rows;
    for (const Trigger& t : triggers) {
        const Place place = t.note != nullptr ? Place::Receiver : Place::Handler;
        for (Action action : {Action::Delete, Action::Hide, Action::FocusOther, Action::FocusSelf})
            rows.push_back(
                {t.drive, t.control, t.event, t.note, t.control, action, place, nullptr});
    }
    for (Action action : {Action::Hide, Action::FocusOther, Action::DetachRoot})
        rows.push_back({Drive::Attach, "root", T::None, "windowinit", "root", action,
                        Place::Receiver, nullptr});
    const Row others[] = {
        // The control about to gain the focus or the mouse goes first.
        {Drive::FocusB, "A", T::KillFocus, nullptr, "B", Action::Delete, Place::Handler, "none"},
        {Drive::FocusB, "A", T::None, "killfocus", "B", Action::Delete, Place::Receiver, "none"},
        {Drive::Tab, "A", T::KillFocus, nullptr, "B", Action::Delete, Place::Handler, "none"},
        {Drive::FocusNeededB, "A", T::KillFocus, nullptr, "B", Action::Delete, Place::Handler,
         "none"},
        {Drive::LeaveA, "A", T::MouseLeave, nullptr, "B", Action::Delete, Place::Handler, nullptr},
        {Drive::FocusB, "A", T::KillFocus, nullptr, "A", Action::DeleteAndFocusOther,
         Place::Handler, "C"},
        // A handler's own choice of focus stands.
        {Drive::FocusB, "A", T::KillFocus, nullptr, "A", Action::FocusOther, Place::Handler, "C"},
        {Drive::FocusB, "A", T::KillFocus, nullptr, "A", Action::FocusSelf, Place::Handler, "A"},
        // Delegates may delete the control whose source is firing.
        {Drive::PressA, "A", T::ButtonDown, nullptr, "A", Action::Delete, Place::Delegate, nullptr},
        {Drive::ClickA, "A", T::None, "setfocus", "A", Action::Delete, Place::Delegate, nullptr},
        {Drive::FocusB, "A", T::KillFocus, nullptr, "A", Action::Hide, Place::Delegate, nullptr},
        {Drive::MoveA, "A", T::None, "OnSize", "A", Action::Delete, Place::Delegate, nullptr},
        // The window's procedure runs when the press lets the native capture go.
        {Drive::PressA, "window", T::None, nullptr, "A", Action::Delete, Place::Window, nullptr},
    };
    rows.insert(rows.end(), std::begin(others), std::end(others));
    for (const Row& row : rows)
        Run(row);
}

}  // namespace
}  // namespace VeneerTest
