#include "ui/controls/ComboWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

#include "ui/controls/ComboUI.h"
#include "ui/controls/VerticalLayoutUI.h"

namespace Veneer {

// The drop box: a vertical layout that shows the combo's items without owning them. They
// were initialised in the combo's window; showing them here does not do it again.
class CDropBoxUI : public CVerticalLayoutUI {
public:
    CDropBoxUI()
    {
        SetBkColor(0xFFFFFFFF);
        SetBorderColor(0xFF7A7A7A);
        SetInset(RECT{1, 1, 1, 1});
    }

    const char* GetClass() const override { return "DropBoxUI"; }
    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool) override
    {
        CVerticalLayoutUI::SetManager(manager, parent, false);
    }
    void Show(CControlUI* item, int index)
    {
        if (!m_items.InsertAt(index, item))
            return;
        item->SetManager(m_manager, this, false);
        NeedUpdate();
    }
    // Lets go of an item without deleting it, whatever the box's attributes said.
    void Hide(CControlUI* item)
    {
        m_autoDestroy = false;
        Remove(item);
    }
};

namespace {

const char kClassName[] = "VeneerComboDropDown";

IControlUI* Forget(IControlUI* control, void* manager)
{
    static_cast<CWindowManagerUI*>(manager)->ForgetControl(control);
    return nullptr;
}

}  // namespace

RECT DropDownPlacement(const RECT& combo, SIZE size, const RECT& workArea)
{
    RECT rc = {combo.left, combo.bottom, combo.left + size.cx, combo.bottom + size.cy};
    // Above the combo when the room below is too short and the room above is not.
    if (rc.bottom > workArea.bottom && combo.top - size.cy >= workArea.top)
        OffsetRect(&rc, 0, combo.top - size.cy - rc.top);
    if (rc.right > workArea.right)
        OffsetRect(&rc, workArea.right - rc.right, 0);
    if (rc.left < workArea.left)
        OffsetRect(&rc, workArea.left - rc.left, 0);
    return rc;
}

bool CComboWnd::Open(CComboUI* combo)
{
    CWindowManagerUI* owner = combo->GetManager();
    if (owner == nullptr || owner->GetPaintWindow() == nullptr)
        return false;
    CComboWnd* window = new (std::nothrow) CComboWnd(combo);
    if (window == nullptr)
        return false;
    if (!window->MakeBox(*owner)) {
        delete window;
        return false;
    }
    const RECT at = window->Placement();
    // Held as in a message until the end: the items' size handlers run from here on, and
    // may close the list or destroy the combo.
    CWindowLife::CFrame frame(window->m_life);
    const HWND hwnd = window->Create(owner->GetPaintWindow(), nullptr, WS_POPUP | WS_CLIPCHILDREN,
                                     WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, at.left, at.top,
                                     at.right - at.left, at.bottom - at.top);
    // No window, or one that failed halfway: the object ends as the frame closes.
    if (hwnd == nullptr) {
        window->OnFinalMessage(nullptr);
        return false;
    }
    combo->m_window = window;
    for (int i = 0; i < combo->GetCount(); ++i)
        window->m_box->Show(combo->GetItemAt(i), i);
    owner->AddMessageFilter(window);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    // Laid out at once: the first click must find its item, and the selection is
    // scrolled into view.
    UpdateWindow(hwnd);
    if (window->m_combo != nullptr)
        window->EnsureVisible(window->m_combo->GetCurSel());
    return window->m_combo != nullptr;
}

bool CComboWnd::MakeBox(CWindowManagerUI& owner)
{
    m_box = new (std::nothrow) CDropBoxUI;
    if (m_box == nullptr)
        return false;
    // Fonts by number are a manager's own: the box's manager gets the combo window's.
    m_manager.SetResourceParent(&owner);
    for (int i = 0; i < owner.GetCustomFontCount(); ++i) {
        const TFontEntry* font = owner.GetFontEntry(i);
        m_manager.AddFont(font->face, font->size, font->bold, font->underline, font->italic);
    }
    // With its manager, so that its scroll bar takes the window's default list.
    m_box->SetManager(&m_manager, nullptr, false);
    m_box->EnableScrollBar(true, false);
    m_box->ApplyAttributeList(m_combo->GetDropBoxAttributes());
    m_box->SetAutoDestroy(false);
    return true;
}

CComboWnd::~CComboWnd()
{
    // A window that failed before it was made never took the box as its root.
    if (m_manager.GetRoot() != m_box)
        delete m_box;
}

RECT CComboWnd::Placement() const
{
    const HWND owner = m_combo->GetManager()->GetPaintWindow();
    RECT combo = m_combo->GetPos();
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&combo), 2);
    const SIZE wanted = m_combo->GetDropBoxSize();
    const int width = wanted.cx > 0 ? wanted.cx : combo.right - combo.left;
    int height = ContentHeight(width);
    if (wanted.cy > 0)
        height = std::min<int>(height, wanted.cy);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    return DropDownPlacement(combo, SIZE{width, height}, monitor.rcWork);
}

int CComboWnd::ContentHeight(int width) const
{
    const RECT inset = m_box->GetInset();
    int height = inset.top + inset.bottom;
    // An item without a height of its own gets a line of the item font, as text items do.
    const int line =
        m_combo->GetManager()->GetFontEntry(m_combo->GetListInfo()->font)->metrics.tmHeight + 8;
    int shown = 0;
    for (int i = 0; i < m_combo->GetCount(); ++i) {
        CControlUI* item = m_combo->GetItemAt(i);
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const int cy = item->EstimateSize(SIZE{width, 0}).cy;
        height += (cy > 0 ? cy : line) + (shown++ > 0 ? m_box->GetChildPadding() : 0);
    }
    return height;
}

const char* CComboWnd::GetWindowClassName() const
{
    return kClassName;
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CWindowLife::CFrame frame(m_life);
    return Dispatch(message, wParam, lParam);
}

bool CComboWnd::IsOwnWindow(HWND hwnd) const
{
    return hwnd != nullptr && (hwnd == GetHWND() || IsChild(GetHWND(), hwnd));
}

LRESULT CComboWnd::MessageHandler(UINT message, WPARAM wParam, LPARAM, bool& handled)
{
    switch (message) {
    case WM_MOUSEWHEEL: {
        // Wherever the mouse is: the list is down.
        handled = true;
        const CWindowLife::CFrame frame(m_life);
        ForwardToCombo(TUIEventType::ScrollWheel, WheelTurnOf(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    }
    case WM_KILLFOCUS:
        if (!IsOwnWindow(reinterpret_cast<HWND>(wParam)))
            Close();
        return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        Close();
        return 0;
    default:
        return 0;
    }
}

void CComboWnd::OnFinalMessage(HWND)
{
    m_life.EndWhenIdle(this);
}

LRESULT CComboWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        m_manager.Init(GetHWND());
        m_manager.AttachRoot(m_box);
        break;
    case WM_KEYDOWN:
        ForwardToCombo(TUIEventType::KeyDown, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        ForwardToCombo(TUIEventType::ScrollWheel, WheelTurnOf(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    case WM_KILLFOCUS:
        // Back to the combo's window the list stays: a click there decides.
        if (!IsOwnWindow(reinterpret_cast<HWND>(wParam)) &&
            reinterpret_cast<HWND>(wParam) != GetWindow(GetHWND(), GW_OWNER))
            Close();
        break;
    case WM_LBUTTONDOWN:
        m_pressedItem = ItemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_LBUTTONUP:
        return OnButtonUp(wParam, lParam);
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        GiveItemsBack();
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_manager.MessageHandler(message, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CComboWnd::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    m_manager.MessageHandler(WM_LBUTTONUP, wParam, lParam, result);
    // A click that began and ended on one item chose it: its press selected it.
    const int pressed = m_pressedItem;
    m_pressedItem = -1;
    if (m_combo != nullptr && pressed >= 0 &&
        ItemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == pressed)
        Close();
    return 0;
}

void CComboWnd::ForwardToCombo(TUIEventType type, WPARAM wParam)
{
    if (m_combo == nullptr)
        return;
    TUIEvent event;
    event.type = type;
    event.sender = m_combo;
    event.timestamp = GetTickCount();
    if (type == TUIEventType::KeyDown)
        event.key = static_cast<char>(wParam & 0xFF);
    event.wParam = wParam;
    m_combo->Event(event);
}

int CComboWnd::ItemAt(POINT pt) const
{
    CControlUI* control = AsControl(m_manager.FindControl(pt));
    while (control != nullptr && control->GetParent() != m_box)
        control = control->GetParent();
    return control != nullptr ? m_box->GetItemIndex(control) : -1;
}

void CComboWnd::OnClose()
{
    // The item under the mouse hears that the mouse left it, while it is still the box's.
    LRESULT ignored = 0;
    m_manager.MessageHandler(WM_MOUSELEAVE, 0, 0, ignored);
    Destroy();
}

void CComboWnd::Dismiss()
{
    GiveItemsBack();
    if (!m_life.Busy()) {
        Destroy();
        return;
    }
    ShowWindow(GetHWND(), SW_HIDE);
    Close();
}

void CComboWnd::Destroy()
{
    const HWND hwnd = GetHWND();
    if (GetFocus() == hwnd) {
        if (const HWND owner = GetWindow(hwnd, GW_OWNER))
            SetFocus(owner);
    }
    DestroyWindow(hwnd);
}

void CComboWnd::GiveItemsBack()
{
    CComboUI* combo = m_combo;
    if (combo == nullptr)
        return;
    m_combo = nullptr;
    if (CWindowManagerUI* owner = combo->GetManager())
        owner->RemoveMessageFilter(this);
    // No field of the box's manager may name an item, or a control inside one, once the
    // items are the combo's again.
    m_box->FindControl(Forget, &m_manager, UIFIND_ALL);
    while (m_box->GetCount() > 0)
        m_box->Hide(m_box->GetItemAt(m_box->GetCount() - 1));
    combo->DropDownClosed();
}

void CComboWnd::ShowItem(CControlUI* item, int index)
{
    m_box->Show(item, index);
}

void CComboWnd::HideItem(CControlUI* item)
{
    item->FindControl(Forget, &m_manager, UIFIND_ALL);
    m_box->Hide(item);
    m_combo->TakeBack(item);
}

void CComboWnd::MoveItem(CControlUI* item, int index)
{
    m_box->SetItemIndex(item, index);
}

void CComboWnd::EnsureVisible(int index)
{
    if (const CControlUI* item = m_box->GetItemAt(index))
        ScrollIntoView(*m_box, item->GetPos());
}

}  // namespace Veneer
