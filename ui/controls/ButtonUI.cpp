#include "ui/controls/ButtonUI.h"

#include <cstring>

#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

CButtonUI::CButtonUI()
{
    m_textStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

const char* CButtonUI::GetClass() const
{
    return "ButtonUI";
}

void* CButtonUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Button") == 0 ? this : CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const
{
    UINT flags = 0;
    if (IsKeyboardEnabled())
        flags |= UIFLAG_TABSTOP;
    if (IsEnabled())
        flags |= UIFLAG_SETCURSOR;
    return flags;
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

const char* CButtonUI::GetImage(TButtonImage state) const
{
    return m_images[static_cast<int>(state)];
}

void CButtonUI::SetImage(TButtonImage state, const char* image)
{
    Image(state) = image;
    Invalidate();
}

void CButtonUI::SetStateBit(UINT bit, bool on)
{
    m_buttonState = on ? m_buttonState | bit : m_buttonState & ~bit;
}

void CButtonUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    const bool inside = PtInRect(&m_rcItem, event.mouse) != FALSE;
    const bool captured = (m_buttonState & UISTATE_CAPTURED) != 0;
    switch (event.type) {
    case TUIEventType::SetFocus:
    case TUIEventType::KillFocus:
        Invalidate();
        break;
    case TUIEventType::KeyDown:
        if (IsKeyboardEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick:
        if (inside && IsEnabled()) {
            m_buttonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case TUIEventType::MouseMove:
        if (captured) {
            SetStateBit(UISTATE_PUSHED, inside);
            Invalidate();
        }
        return;
    case TUIEventType::ButtonUp:
        if (!captured)
            return;
        if (inside && !IsCancelledPress(event)) {
            // The click's receivers may destroy the button.
            CControlWatch self(this);
            Activate();
            if (!self)
                return;
        }
        m_buttonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        return;
    case TUIEventType::ContextMenu:
        if (IsContextMenuUsed() && m_manager != nullptr)
            m_manager->SendNotify(this, "menu", event.wParam, event.lParam);
        return;
    case TUIEventType::MouseEnter:
    case TUIEventType::MouseLeave:
        if (IsEnabled()) {
            SetStateBit(UISTATE_HOT, event.type == TUIEventType::MouseEnter);
            Invalidate();
        }
        return;
    case TUIEventType::SetCursor:
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

namespace {

CButtonUI& Button(IControlUI& control)
{
    return static_cast<CButtonUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"normalimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Button(c).SetImage(TButtonImage::Normal, v); }},
    {"hotimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Button(c).SetImage(TButtonImage::Hot, v); }},
    {"pushedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Button(c).SetImage(TButtonImage::Pushed, v); }},
    {"focusedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Button(c).SetImage(TButtonImage::Focused, v); }},
    {"disabledimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Button(c).SetImage(TButtonImage::Disabled, v); }},
    {"hottextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Button(c).SetHotTextColor(ParseColor(v, false)); }},
    {"pushedtextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Button(c).SetPushedTextColor(ParseColor(v, false)); }},
    {"focusedtextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Button(c).SetFocusedTextColor(ParseColor(v, false)); }},
};

}  // namespace

const TAttributeTable CButtonUI::kAttributeTable =
    MakeAttributeTable(&CLabelUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CButtonUI::GetAttributeTable() const
{
    return kAttributeTable;
}

SIZE CButtonUI::EstimateSize(SIZE)
{
    return EstimateLine(8);
}

void CButtonUI::RefreshState()
{
    SetStateBit(UISTATE_FOCUSED, IsFocused());
    SetStateBit(UISTATE_DISABLED, !IsEnabled());
}

void CButtonUI::PaintStatusImage(HDC dc)
{
    RefreshState();
    // The first state the button is in decides.
    DrawStateImage(dc, m_buttonState,
                   {{UISTATE_DISABLED, &Image(TButtonImage::Disabled)},
                    {UISTATE_PUSHED, &Image(TButtonImage::Pushed)},
                    {UISTATE_HOT, &Image(TButtonImage::Hot)},
                    {UISTATE_FOCUSED, &Image(TButtonImage::Focused)}},
                   Image(TButtonImage::Normal));
}

DWORD CButtonUI::StateTextColor() const
{
    if ((m_buttonState & UISTATE_PUSHED) != 0 && m_pushedTextColor != 0)
        return m_pushedTextColor;
    if ((m_buttonState & UISTATE_HOT) != 0 && m_hotTextColor != 0)
        return m_hotTextColor;
    if ((m_buttonState & UISTATE_FOCUSED) != 0 && m_focusedTextColor != 0)
        return m_focusedTextColor;
    return EnabledColor();
}

void CButtonUI::PaintText(HDC dc)
{
    RefreshState();
    FillDefaultColors();
    if (m_text.IsEmpty())
        return;
    DrawText(dc, StateTextColor(), m_textStyle);
}

}  // namespace Veneer
