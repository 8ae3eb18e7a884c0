#include "ui/core/WindowManagerUI.h"

#include <commctrl.h>

#include <new>

#include "ui/core/BackBuffer.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/base/EventSource.h"
#include "ui/core/TimerTable.h"
#include "ui/core/ToolTip.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// Common Controls is no KnownDLL: it is loaded at run time from the system folder (or the
// side-by-side store that the program's manifest names), never from beside the program.
bool LoadCommonControls()
{
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const InitProc init =
        LookUpProc<InitProc>(LoadSystemLibrary("comctl32.dll"), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    return init != nullptr && init(&classes) != FALSE;
}

IControlUI* RegisterName(IControlUI* control, void* data)
{
    const CUIString name = control->GetName();
    if (!name.IsEmpty())
        static_cast<CStringMap*>(data)->Set(name, control);
    return nullptr;
}

bool RemoveFrom(CPtrArray& array, void* item)
{
    const int index = array.Find(item);
    return index >= 0 && array.Remove(index);
}

}  // namespace

// Every manager that has a window, in Init order: the message loop offers them messages.
CPtrArray& CWindowManagerUI::Managers()
{
    static CPtrArray managers;
    return managers;
}

CWindowManagerUI::CWindowManagerUI()
{
    // Without them a window only lacks its tooltips and native edits' themes.
    static const bool s_commonControls = LoadCommonControls();
    (void)s_commonControls;
    InitResources();
}

// Controls go first: their destructors still reach the manager's timers and name index.
CWindowManagerUI::~CWindowManagerUI()
{
    ReleaseControls();
    ReleaseResources();
    ReleaseMessaging();
}

void CWindowManagerUI::ReleaseControls()
{
    DeleteDelayedControls();
    m_nameIndex.RemoveAll();
    delete m_root;
    m_root = nullptr;
}

void CWindowManagerUI::ReleaseMessaging()
{
    RemoveAllOptionGroups();
    RemoveAllTimers();
    m_toolTip.reset();
    DeleteBuffers();
    if (m_paintDC != nullptr)
        ReleaseDC(m_window, m_paintDC);
    RemoveFrom(Managers(), this);
}

int CWindowManagerUI::IndexAfter(const CPtrArray& list, int index, const void* called)
{
    // The nearest place at or before the old one: an entry registered twice is called once
    // at each place.
    for (int i = index < list.GetSize() ? index : list.GetSize() - 1; i >= 0; --i) {
        if (list.GetAt(i) == called)
            return i + 1;
    }
    return index;
}

void CWindowManagerUI::TakeNativeFocus()
{
    // SetFocus(null) would take the keyboard focus from whatever window holds it.
    if (m_window != nullptr)
        ::SetFocus(m_window);
}

void CWindowManagerUI::Init(HWND window)
{
    if (m_paintDC != nullptr)
        ReleaseDC(m_window, m_paintDC);
    m_window = window;
    m_paintDC = GetDC(window);
    if (Managers().Find(this) < 0)
        Managers().Add(this);
}

bool CWindowManagerUI::AttachRoot(IControlUI* root)
{
    SetFocus(nullptr);
    m_keyControl = m_hover = m_capture = nullptr;
    // The same tree attached again must not end up in the cleanup list.
    if (m_root != nullptr && m_root != root) {
        m_postPaintControls.Empty();
        AddDelayedCleanup(m_root);
    }
    m_root = root;
    m_updateNeeded = m_firstLayout = m_focusNeeded = true;
    if (root == nullptr)
        return false;
    root->SetManager(this, root->GetParent(), true);
    RegisterNames(root);
    return true;
}

void CWindowManagerUI::RegisterNames(IControlUI* subtree)
{
    if (subtree != nullptr)
        subtree->FindControl(RegisterName, &m_nameIndex, UIFIND_ALL);
}

void CWindowManagerUI::RenameControl(IControlUI* control, const char* oldName)
{
    if (m_nameIndex.Find(oldName) == control)
        m_nameIndex.Remove(oldName);
    const CUIString name = control->GetName();
    if (name.IsEmpty() || m_root == nullptr)
        return;
    // A control still being built, or handed to delayed cleanup, has no parent chain up to
    // the root: the index would outlive it.
    IControlUI* top = control;
    while (top->GetParent() != nullptr)
        top = top->GetParent();
    if (top == m_root)
        m_nameIndex.Set(name, control);
}

IControlUI* CWindowManagerUI::FindControl(const char* name) const
{
    return static_cast<IControlUI*>(m_nameIndex.Find(name));
}

bool CWindowManagerUI::AddNotifier(INotifyUI* notifier)
{
    return m_notifiers.Add(notifier);
}

bool CWindowManagerUI::RemoveNotifier(INotifyUI* notifier)
{
    return RemoveFrom(m_notifiers, notifier);
}

bool CWindowManagerUI::AddPreMessageFilter(IMessageFilterUI* filter)
{
    return m_preMessageFilters.Add(filter);
}

bool CWindowManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter)
{
    return RemoveFrom(m_preMessageFilters, filter);
}

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* filter)
{
    return m_messageFilters.Add(filter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* filter)
{
    return RemoveFrom(m_messageFilters, filter);
}

bool CWindowManagerUI::AddPostPaint(IControlUI* control)
{
    return m_postPaintControls.Add(control);
}

bool CWindowManagerUI::RemovePostPaint(IControlUI* control)
{
    return RemoveFrom(m_postPaintControls, control);
}

void CWindowManagerUI::AddDelayedCleanup(IControlUI* control)
{
    control->SetManager(this, nullptr, false);
    // Memory exhausted: the control is left alive rather than deleted under its callers.
    // Without a window it waits for the manager's destruction.
    m_delayedCleanup.Add(control);
    if (m_window != nullptr)
        PostMessageA(m_window, kDelayedCleanupMessage, 0, 0);
}

void CWindowManagerUI::DeleteDelayedControls()
{
    // One at a time: a control's destructor may hand further controls over.
    while (!m_delayedCleanup.IsEmpty()) {
        IControlUI* control = static_cast<IControlUI*>(m_delayedCleanup.GetAt(0));
        m_delayedCleanup.Remove(0);
        delete control;
    }
}

void CWindowManagerUI::ForgetControl(IControlUI* control)
{
    if (m_keyControl == control)
        m_keyControl = nullptr;
    if (m_hover == control)
        m_hover = nullptr;
    if (m_capture == control)
        m_capture = nullptr;
    if (m_focus == control)
        m_focus = nullptr;
    KillTimer(control);
    RemoveFrom(m_postPaintControls, control);
    const CUIString name = control->GetName();
    if (!name.IsEmpty() && m_nameIndex.Find(name) == control)
        m_nameIndex.Remove(name);
}

void CWindowManagerUI::SendNotify(IControlUI* sender, const char* type, WPARAM wParam,
                                  LPARAM lParam)
{
    TNotifyMsg msg;
    msg.type = type;
    msg.sender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

void CWindowManagerUI::SendNotify(TNotifyMsg& msg)
{
    msg.mouse = m_lastMouse;
    msg.timestamp = GetTickCount();
    IControlUI* const original = msg.sender;
    CControlWatch sender(original);
    if (sender && original->GetNotifySource().HasDelegates())
        original->GetNotifySource().Fire(&msg);
    // A message whose sender was destroyed means nothing to the receivers still to come.
    for (int i = 0; i < m_notifiers.GetSize() && sender == original;) {
        INotifyUI* receiver = static_cast<INotifyUI*>(m_notifiers.GetAt(i));
        receiver->Notify(msg);
        i = IndexAfter(m_notifiers, i, receiver);
    }
}

bool CWindowManagerUI::AddOptionGroup(const char* group, IControlUI* control)
{
    if (CPtrArray* members = GetOptionGroup(group))
        return members->Find(control) < 0 && members->Add(control);
    CPtrArray* members = new (std::nothrow) CPtrArray(6);
    if (members != nullptr && members->Add(control) && m_optionGroups.Insert(group, members))
        return true;
    delete members;
    return false;
}

CPtrArray* CWindowManagerUI::GetOptionGroup(const char* group) const
{
    return static_cast<CPtrArray*>(m_optionGroups.Find(group));
}

void CWindowManagerUI::RemoveOptionGroup(const char* group, IControlUI* control)
{
    CPtrArray* members = GetOptionGroup(group);
    if (members == nullptr)
        return;
    RemoveFrom(*members, control);
    if (members->IsEmpty()) {
        delete members;
        m_optionGroups.Remove(group);
    }
}

void CWindowManagerUI::RemoveAllOptionGroups()
{
    m_optionGroups.ForEach(
        [](const char*, void* members) { delete static_cast<CPtrArray*>(members); });
    m_optionGroups.RemoveAll();
}

}  // namespace Veneer
