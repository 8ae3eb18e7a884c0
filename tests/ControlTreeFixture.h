#pragma once
// Small control trees on real windows, shared by the suites of the manager and the
// controls: a host window whose messages go to its manager, a leaf that records the events
// it sees, a label, controls placed by hand in real containers, and readers of the
// window's update rectangle and back buffer.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ControlUI.h"
#include "ui/core/IContainerUI.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace VeneerTest {

using namespace Veneer;

// What the probes of one tree saw, as "name:Event", in order.
using EventLog = std::vector<std::string>;

const char* EventName(TUIEventType type);

// Calls that reached a deleted probe, as "name:operation". A deleted probe's memory is
// kept until the test ends and holds a stand-in that records every call made through a
// stale pointer, so a use after deletion shows here instead of corrupting the heap.
// Access violations are recorded here too. The fixture expects none.
EventLog& CallsAfterDelete();
// Frees the memory of the probes deleted so far.
void ReleaseGraveyard();

// While it lives, access violations are recorded in CallsAfterDelete, also where a window
// procedure's guard swallows them, and a crash elsewhere ends the program at once.
class AccessGuard {
public:
    AccessGuard();
    ~AccessGuard();
    AccessGuard(const AccessGuard&) = delete;
    AccessGuard& operator=(const AccessGuard&) = delete;

private:
    void* m_handler;
};
// Keeps a deleted control's memory until the test ends.
void KeepUntilTestEnds(void* memory);

// A control whose memory is poisoned rather than freed when it is deleted: a use after
// deletion follows garbage pointers, which the fixture records as an access violation.
template <class Control>
class Poisoned : public Control {
public:
    using Control::Control;
    static void operator delete(void* memory, std::size_t size)
    {
        std::memset(memory, 0xDD, size);
        KeepUntilTestEnds(memory);
    }
};

// A leaf that records each event before the base handles it.
class ProbeControl : public CControlUI {
public:
    ProbeControl(const char* name, EventLog* log, UINT flags = 0) : m_log(log), m_flags(flags)
    {
        SetName(name);
    }
    ~ProbeControl() override;
    static void operator delete(void* memory, std::size_t size);

    UINT GetControlFlags() const override { return m_flags; }
    bool Activate() override
    {
        Record("Activate");
        return CControlUI::Activate();
    }
    void DoEvent(TUIEvent& event) override
    {
        events.push_back(event);
        Record(EventName(event.type));
        CControlUI::DoEvent(event);
    }

    std::vector<TUIEvent> events;

private:
    void Record(const char* what)
    {
        if (m_log != nullptr)
            m_log->push_back(std::string(GetName().GetData()) + ":" + what);
    }

    EventLog* m_log;
    UINT m_flags;
};

// Labels pass their shortcut on to the control the shortcut search reaches next.
class ProbeLabel : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    const char* GetClass() const override { return "LabelUI"; }
};

// Makes child a floating child of container at `at`, counted from the container's
// top-left corner: the suites place their controls by hand, whatever the layout.
void AddPlaced(CContainerUI* container, CControlUI* child, RECT at);

// A copy of a manager's back buffer as 0xAARRGGBB, rows top-down; its size in size. The
// buffer stays selected into the manager's DC, so it is read through that DC.
std::vector<DWORD> BackBufferPixels(const CWindowManagerUI& manager, SIZE* size);

// Every attribute of list is in the control's attribute table (where skinlint looks), those
// named "...image" as image attribute strings.
void ExpectListedAttributes(const IControlUI& control, const char* list);

// A frameless window at a known place whose manager sees every message first.
class HostWindow : public CWindowWnd {
public:
    const char* GetWindowClassName() const override { return "VeneerTestHost"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CWindowManagerUI manager;
    std::vector<UINT> received;           // messages that reached the window
    std::function<void(UINT)> onMessage;  // sees each message before the manager does
};

// Receives every notification of a window as "sender:type".
class NotifyLog : public INotifyUI {
public:
    void Notify(TNotifyMsg& msg) override;
    void Clear()
    {
        entries.clear();
        messages.clear();
    }
    // The entries of some types only, in order.
    std::vector<std::string> Of(std::initializer_list<const char*> types) const;
    std::vector<std::string> entries;
    std::vector<TNotifyMsg> messages;
};

// Runs a function for every notification of a window.
class NotifyHook : public INotifyUI {
public:
    explicit NotifyHook(std::function<void(TNotifyMsg&)> hook) : m_hook(std::move(hook)) {}
    void Notify(TNotifyMsg& msg) override { m_hook(msg); }

private:
    std::function<void(TNotifyMsg&)> m_hook;
};

// Removes the sender of one type of notification from a container, which deletes it (at
// once, unless the container delays its deletions).
class RemoveSender : public INotifyUI {
public:
    RemoveSender(CContainerUI* container, const char* type) : m_container(container), m_type(type)
    {
    }
    void Notify(TNotifyMsg& msg) override
    {
        if (msg.type == m_type.c_str())
            m_container->Remove(msg.sender);
    }

private:
    CContainerUI* m_container;
    std::string m_type;
};

class ControlTreeTest : public ::testing::Test {
protected:
    static constexpr int kLeft = 30;
    static constexpr int kTop = 40;
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    void SetUp() override;
    void TearDown() override;

    CWindowManagerUI& Manager() { return m_host->manager; }
    HWND Window() const { return m_hwnd; }
    // Messages that reached the window's procedure.
    const std::vector<UINT>& Received() const { return m_host->received; }
    void OnWindowMessage(std::function<void(UINT)> hook) { m_host->onMessage = std::move(hook); }
    // Makes root the window's root and paints the window once: the first layout.
    CContainerUI* Attach(CContainerUI* root);
    // An empty root container over the whole client area, attached and painted.
    CContainerUI* AttachRoot() { return Attach(new CContainerUI); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A mouse message at a client point.
    void Mouse(UINT message, int x, int y, WPARAM wParam = 0);
    // The same, for messages that carry a screen point.
    void ScreenMouse(UINT message, int x, int y, WPARAM wParam = 0);
    void Paint() { UpdateWindow(m_hwnd); }
    // Paints the whole window again.
    void Repaint()
    {
        InvalidateRect(m_hwnd, nullptr, FALSE);
        Paint();
    }
    // Empties the window's update region; UpdateRect reads it back.
    void Validate() { ValidateRect(m_hwnd, nullptr); }
    RECT UpdateRect() const;
    // A pixel of the back buffer as 0xRRGGBB.
    DWORD PixelAt(int x, int y) const;
    // The smallest rectangle around the back buffer's pixels in area that differ from
    // background (0xRRGGBB); empty when none does.
    RECT InkBox(RECT area, DWORD background) const;
    // The pixel in area farthest from background: the middle of a stroke, in its own colour.
    DWORD InkColor(RECT area, DWORD background) const;

    EventLog log;
    NotifyLog notes;

private:
    // Visits every back buffer pixel in area as (x, y, 0xRRGGBB).
    void ForEachPixel(RECT area, const std::function<void(int, int, DWORD)>& visit) const;

    std::unique_ptr<HostWindow> m_host;
    HWND m_hwnd = nullptr;
    std::unique_ptr<AccessGuard> m_accessGuard;
};

}  // namespace VeneerTest

// RECT comparison for EXPECT_EQ, with a readable failure message. Global, beside RECT
// itself, so that gtest's own templates find them.
inline bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& rc)
{
    return out << '(' << rc.left << ',' << rc.top << ',' << rc.right << ',' << rc.bottom << ')';
}
