#include "ui/controls/ControlUI.h"

#include <cstring>

#include "ui/core/ControlWatch.h"

namespace Veneer {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    OnDestroy.Fire(this);
    if (m_manager != nullptr)
        m_manager->ForgetControl(this);
}

CUIString CControlUI::GetName() const
{
    return m_name;
}

void CControlUI::SetName(const char* name)
{
    if (m_name == name)
        return;
    const CUIString old = m_name;
    m_name = name;
    if (m_manager != nullptr)
        m_manager->RenameControl(this, old);
}

const char* CControlUI::GetClass() const
{
    return "ControlUI";
}

void* CControlUI::GetInterface(const char* name)
{
    return name != nullptr && std::strcmp(name, "Control") == 0 ? this : nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CWindowManagerUI* CControlUI::GetManager() const
{
    return m_manager;
}

void CControlUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    m_manager = manager;
    m_parent = AsControl(parent);
    if (init && m_parent != nullptr)
        Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_parent;
}

CUIString CControlUI::GetText() const
{
    return m_text;
}

void CControlUI::SetText(const char* text)
{
    if (m_text == text)
        return;
    m_text = text;
    Invalidate();
}

RECT CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    RECT invalid = IsRectEmpty(&m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (m_manager == nullptr)
        return;
    if (!m_inSetPos && OnSize.HasDelegates()) {
        // The delegates may destroy this control.
        CControlWatch self(this);
        m_inSetPos = true;
        OnSize.Fire(this);
        if (!self)
            return;
        m_inSetPos = false;
    }
    if (m_float && m_parent != nullptr) {
        // A floating control keeps the side it is anchored to while it is moved.
        const RECT parent = m_parent->GetPos();
        m_fixedXY.cx =
            m_fixedXY.cx >= 0 ? m_rcItem.left - parent.left : m_rcItem.right - parent.right;
        m_fixedXY.cy =
            m_fixedXY.cy >= 0 ? m_rcItem.top - parent.top : m_rcItem.bottom - parent.bottom;
        m_fixedSize.cx = m_rcItem.right - m_rcItem.left;
        m_fixedSize.cy = m_rcItem.bottom - m_rcItem.top;
    }
    m_updateNeeded = false;
    UnionRect(&invalid, &invalid, &m_rcItem);
    InvalidateClipped(invalid);
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rc)
{
    m_rcPadding = rc;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_fixedXY;
}

void CControlUI::SetFixedXY(SIZE xy)
{
    m_fixedXY = xy;
    NeedGeometryUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return m_fixedSize.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0)
        return;
    m_fixedSize.cx = cx;
    NeedGeometryUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return m_fixedSize.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0)
        return;
    m_fixedSize.cy = cy;
    NeedGeometryUpdate();
}

int CControlUI::GetMinWidth() const
{
    return m_minSize.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0 || cx == m_minSize.cx)
        return;
    m_minSize.cx = cx;
    NeedGeometryUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return m_maxSize.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0 || cx == m_maxSize.cx)
        return;
    m_maxSize.cx = cx;
    NeedGeometryUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_minSize.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0 || cy == m_minSize.cy)
        return;
    m_minSize.cy = cy;
    NeedGeometryUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return m_maxSize.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0 || cy == m_maxSize.cy)
        return;
    m_maxSize.cy = cy;
    NeedGeometryUpdate();
}

void CControlUI::SetRelativePos(SIZE move, SIZE zoom)
{
    m_relativePos.relative = true;
    m_relativePos.moveXPercent = move.cx;
    m_relativePos.moveYPercent = move.cy;
    m_relativePos.zoomXPercent = zoom.cx;
    m_relativePos.zoomYPercent = zoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE size)
{
    m_relativePos.parentSize = size;
}

TRelativePosUI CControlUI::GetRelativePos() const
{
    return m_relativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_relativePos.relative;
}

CUIString CControlUI::GetToolTip() const
{
    return m_toolTip;
}

void CControlUI::SetToolTip(const char* text)
{
    m_toolTip = text;
}

char CControlUI::GetShortcut() const
{
    return m_shortcut;
}

void CControlUI::SetShortcut(char ch)
{
    m_shortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_contextMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool used)
{
    m_contextMenuUsed = used;
}

CUIString CControlUI::GetUserData() const
{
    return m_userData;
}

void CControlUI::SetUserData(const char* text)
{
    m_userData = text;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_tag;
}

void CControlUI::SetTag(UINT_PTR tag)
{
    m_tag = tag;
}

bool CControlUI::IsVisible() const
{
    return m_visible && m_internVisible;
}

void CControlUI::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    const bool wasVisible = IsVisible();
    m_visible = visible;
    m_focused = false;
    if (!visible && m_manager != nullptr && m_manager->GetFocus() == this) {
        // The focus handlers may destroy this control.
        CControlWatch self(this);
        m_manager->SetFocus(nullptr);
        if (!self)
            return;
    }
    if (IsVisible() != wasVisible)
        NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible)
{
    m_internVisible = visible;
    if (!visible && m_manager != nullptr && m_manager->GetFocus() == this)
        m_manager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_enabled;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_mouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    m_mouseEnabled = enabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_keyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enabled)
{
    m_keyboardEnabled = enabled;
}

bool CControlUI::IsFocused() const
{
    return m_focused;
}

void CControlUI::SetFocus()
{
    if (m_manager != nullptr)
        m_manager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_float;
}

void CControlUI::SetFloat(bool floating)
{
    if (m_float == floating)
        return;
    m_float = floating;
    NeedParentUpdate();
}

IControlUI* CControlUI::FindControl(FindControlProc proc, void* data, UINT flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible())
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled())
        return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 &&
        (!m_mouseEnabled || !PtInRect(&m_rcItem, *static_cast<const POINT*>(data))))
        return nullptr;
    return proc(this, data);
}

void CControlUI::Init()
{
    DoInit();
    OnInit.Fire(this);
}

void CControlUI::DoInit()
{
}

void CControlUI::Event(TUIEvent& event)
{
    if (OnEvent.Fire(&event))
        DoEvent(event);
}

void CControlUI::DoEvent(TUIEvent& event)
{
    switch (event.type) {
    case TUIEventType::SetCursor:
        ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return;
    case TUIEventType::SetFocus:
        m_focused = true;
        Invalidate();
        return;
    case TUIEventType::KillFocus:
        m_focused = false;
        Invalidate();
        return;
    case TUIEventType::Timer:
        if (m_manager != nullptr)
            m_manager->SendNotify(this, "timer", event.wParam, event.lParam);
        return;
    case TUIEventType::ContextMenu:
        if (IsContextMenuUsed()) {
            if (m_manager != nullptr)
                m_manager->SendNotify(this, "menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    // Unhandled events bubble up the tree.
    if (m_parent != nullptr)
        m_parent->DoEvent(event);
}

bool CControlUI::PassOnUnhitMouseEvent(TUIEvent& event)
{
    return PassOnUnhitMouseEvent(event, m_parent, [this](TUIEvent& e) { CControlUI::DoEvent(e); });
}

SIZE CControlUI::EstimateSize(SIZE)
{
    return m_fixedSize;
}

void CControlUI::DoPostPaint(HDC, const RECT&)
{
}

void CControlUI::Invalidate()
{
    if (IsVisible())
        InvalidateClipped(m_rcItem);
}

void CControlUI::InvalidateClipped(RECT rc)
{
    for (const CControlUI* ancestor = m_parent; ancestor != nullptr;
         ancestor = ancestor->GetParent()) {
        const RECT clip = ancestor->GetPos();
        if (!IntersectRect(&rc, &rc, &clip))
            return;
    }
    if (m_manager != nullptr)
        m_manager->Invalidate(rc);
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_updateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible())
        return;
    m_updateNeeded = true;
    Invalidate();
    if (m_manager != nullptr)
        m_manager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_parent != nullptr) {
        m_parent->NeedUpdate();
        m_parent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_manager != nullptr)
        m_manager->NeedUpdate();
}

void CControlUI::NeedGeometryUpdate()
{
    if (m_float)
        NeedUpdate();
    else
        NeedParentUpdate();
}

}  // namespace Veneer
