#include "app/MenuWnd.h"

#include <algorithm>

#include "app/MenuUI.h"
#include "app/WindowImplBase.h"
#include "ui/controls/ControlUI.h"
#include "ui/core/DialogBuilder.h"

namespace Veneer {

MenuObserverImpl MenuObserver;

namespace {

RECT WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(monitor, &info);
    return info.rcWork;
}

SIZE SizeOf(const RECT& rc)
{
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

CMenuWnd* MenuAt(int index)
{
    return dynamic_cast<CMenuWnd*>(MenuObserver.GetReceiverAt(index));
}

// The list that holds a menu entry: the first ancestor that owns list items.
CControlUI* ListOf(CControlUI* item)
{
    CControlUI* list = item->GetParent();
    while (list != nullptr && list->GetInterface("IListOwner") == nullptr)
        list = list->GetParent();
    return list;
}

// The menu entries among a control's children, by index; the count is read at each step.
template <class Visit>
void ForEachMenuElement(CMenuElementUI* owner, Visit visit)
{
    for (int i = 0; i < owner->GetCount(); ++i) {
        CControlUI* child = owner->GetItemAt(i);
        if (IsMenuElement(child))
            visit(static_cast<CMenuElementUI*>(child));
    }
}

}  // namespace

CMenuWnd::CMenuWnd(HWND parent) : m_parent(parent)
{
}

bool CMenuWnd::IsMenuWindow(HWND hwnd)
{
    for (int i = 0; i < MenuObserver.GetReceiverCount(); ++i) {
        const CMenuWnd* menu = MenuAt(i);
        if (menu != nullptr && hwnd != nullptr && menu->GetHWND() == hwnd)
            return true;
    }
    return false;
}

const char* CMenuWnd::GetWindowClassName() const
{
    return "MenuWnd";
}

void CMenuWnd::Init(CMenuElementUI* owner, const char* skin, const char* skinType, POINT point)
{
    m_basePoint = point;
    m_owner = owner;
    m_layout = nullptr;
    if (skinType != nullptr)
        m_skinType = skinType;
    m_skin = skin;
    MenuObserver.AddReceiver(this);

    const HWND parent = owner != nullptr ? owner->GetManager()->GetPaintWindow() : m_parent;
    CWindowLife::CFrame frame(m_life);
    const HWND hwnd =
        Create(parent, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0);
    if (!frame.Alive())
        return;
    // No window: nothing will ever end the object but this.
    if (hwnd == nullptr) {
        OnFinalMessage(nullptr);
        return;
    }
    HWND top = hwnd;
    while (const HWND above = GetParent(top))
        top = above;
    ShowWindow(hwnd, SW_SHOW);
    // The application's window keeps looking active while its menu has the focus.
    SendMessageA(top, WM_NCACTIVATE, TRUE, 0);
}

LRESULT CMenuWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (m_owner != nullptr)
            OnCreateSubmenu();
        else
            OnCreateTopLevel();
        return 0;
    case WM_CLOSE:
        if (m_owner != nullptr) {
            ReattachOwner();
            m_owner->SetPos(m_owner->GetPos());
            m_owner->SetFocus();
        }
        break;
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 0;
    case WM_KILLFOCUS:
        if (IsMenuWindow(reinterpret_cast<HWND>(wParam)))
            break;
        MenuObserver.BroadcastReverse(ContextMenuParam{kCloseEveryMenu, GetHWND()});
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            Close();
        break;
    case WM_LBUTTONDOWN:
        // Before the entry sees the press: the menu is the application's way out.
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

LRESULT CMenuWnd::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_pm.MessageHandler(message, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CMenuWnd::OnCreateTopLevel()
{
    const HWND hwnd = GetHWND();
    m_pm.Init(hwnd);
    CMenuBuilderCallback callback;
    CDialogBuilder builder;
    IControlUI* root = builder.Create(m_skin, m_skinType.IsEmpty() ? nullptr : m_skinType.GetData(),
                                      &callback, &m_pm);
    // A skin that cannot be built leaves the window empty and of size 0.
    if (!m_pm.AttachRoot(root))
        return;
    const RECT work = WorkAreaOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
    const SIZE size = AsControl(root)->EstimateSize(SizeOf(work));
    m_pm.SetInitialSize(size.cx, size.cy);

    SetForegroundWindow(hwnd);
    MoveWindow(hwnd, m_basePoint.x, m_basePoint.y, size.cx, size.cy, FALSE);
    SetWindowPos(hwnd, HWND_TOPMOST, m_basePoint.x, m_basePoint.y, size.cx, size.cy,
                 SWP_SHOWWINDOW);
}

void CMenuWnd::OnCreateSubmenu()
{
    const HWND hwnd = GetHWND();
    SetFrameStyle(hwnd, GetWindowLongA(hwnd, GWL_STYLE) & ~WS_CAPTION);

    m_pm.Init(hwnd);
    CWindowManagerUI* ownerManager = m_owner->GetManager();
    m_layout = new CMenuUI;
    // Fonts and default lists come from the menu above.
    m_pm.SetResourceParent(ownerManager);
    m_layout->SetManager(&m_pm, nullptr, true);
    if (const char* defaults = ownerManager->FindDefaultAttributes("Menu"))
        m_layout->ApplyAttributeList(defaults);
    m_layout->SetBkColor(0xFFFFFFFF);
    m_layout->SetBorderColor(0xFF85E4FF);
    m_layout->SetBorderSize(0);
    // The entries belong to the entry that opened the submenu.
    m_layout->SetAutoDestroy(false);
    m_layout->EnableScrollBar(true);
    ForEachMenuElement(m_owner, [this](CMenuElementUI* item) {
        item->SetOwner(m_layout);
        m_layout->Add(item);
    });
    m_pm.AttachRoot(m_layout);

    const RECT work = WorkAreaOf(MonitorFromWindow(GetParent(hwnd), MONITOR_DEFAULTTONEAREST));
    SIZE size = {};
    ForEachMenuElement(m_owner, [&](CMenuElementUI* item) {
        const SIZE one = item->EstimateSize(SizeOf(work));
        size.cx = std::max(size.cx, one.cx);
        size.cy += one.cy;
    });
    size.cx += 4;
    size.cy += 4;
    const RECT rc = PlaceSubmenu(size);
    MoveWindow(hwnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
}

RECT CMenuWnd::PlaceSubmenu(SIZE size) const
{
    const HWND parent = m_owner->GetManager()->GetPaintWindow();
    RECT parentRect = {};
    GetWindowRect(parent, &parentRect);
    POINT ownerTop = {0, m_owner->GetPos().top};
    ClientToScreen(parent, &ownerTop);
    const int width = size.cx + 2;
    RECT rc = {parentRect.right, ownerTop.y, parentRect.right + width, ownerTop.y + size.cy};

    // A menu opened before the parent that lies below it or right of it turns the chain of
    // submenus upwards or leftwards.
    bool up = false;
    bool left = false;
    for (int i = 0; i < MenuObserver.GetReceiverCount(); ++i) {
        const CMenuWnd* menu = MenuAt(i);
        if (menu == nullptr)
            continue;
        if (menu->GetHWND() == parent)
            break;
        RECT other = {};
        GetWindowRect(menu->GetHWND(), &other);
        if (!up && other.top >= parentRect.bottom) {
            up = true;
            OffsetRect(&rc, 0, parentRect.top - rc.bottom);
        }
        if (!left && other.left >= parentRect.right) {
            left = true;
            OffsetRect(&rc, parentRect.left - rc.right, 0);
        }
    }

    // On the work area: left of the menu when there is no room on its right, then
    // pulled inside wherever it still sticks out.
    const RECT work = WorkAreaOf(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST));
    if (rc.right > work.right)
        OffsetRect(&rc, parentRect.left - rc.right, 0);
    if (rc.left < work.left)
        OffsetRect(&rc, work.left - rc.left, 0);
    if (rc.bottom > work.bottom)
        OffsetRect(&rc, 0, work.bottom - rc.bottom);
    if (rc.top < work.top) {
        OffsetRect(&rc, 0, work.top - rc.top);
        rc.bottom = std::min(rc.bottom, work.bottom);
    }
    return rc;
}

void CMenuWnd::ReattachOwner()
{
    m_owner->SetManager(m_owner->GetManager(), m_owner->GetParent(), false);
}

void CMenuWnd::OnFinalMessage(HWND)
{
    DetachFromObservers();
    if (m_owner != nullptr) {
        // Destroyed without a close (its menu went first): the entries still hang in this
        // window's tree, which dies now.
        ReattachOwner();
        CControlUI* list = ListOf(m_owner);
        ForEachMenuElement(m_owner, [list](CMenuElementUI* item) {
            item->SetOwner(list);
            item->SetVisible(false);
            item->SetInternVisible(false);
        });
        m_owner->OnSubmenuClosed();
    }
    delete this;
}

int CMenuWnd::Receive(ContextMenuParam param)
{
    if (param.code == kCloseEveryMenu) {
        Close();
    } else if (param.code == kCloseMenusBelow) {
        for (HWND above = GetParent(GetHWND()); above != nullptr; above = GetParent(above)) {
            if (above == param.window) {
                Close();
                break;
            }
        }
    }
    return 1;
}

void CMenuWnd::Notify(TNotifyMsg& msg)
{
    OutputDebugStringA(msg.type.GetData());
}

}  // namespace Veneer
