#include "ui/controls/SliderUI.h"

#include <cstring>

#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// part × numerator / denominator in 64 bits: the range may span all of int.
int Scale(long long part, long long numerator, long long denominator)
{
    return static_cast<int>(part * numerator / denominator);
}

}  // namespace

const char* CSliderUI::GetClass() const
{
    return "SliderUI";
}

void* CSliderUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Slider") == 0 ? this : CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UINT{UIFLAG_SETCURSOR} : 0;
}

void CSliderUI::SetEnabled(bool enabled)
{
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

const char* CSliderUI::GetThumbImage(TThumbImage state) const
{
    return m_thumbImages[static_cast<int>(state)];
}

void CSliderUI::SetThumbImage(TThumbImage state, const char* image)
{
    ThumbImage(state) = image;
    Invalidate();
}

RECT CSliderUI::GetThumbRect() const
{
    const TValueRange range = Range();
    const long long span = static_cast<long long>(range.max) - range.min;
    const long long offset = static_cast<long long>(range.value) - range.min;
    const RECT& item = m_rcItem;
    RECT thumb = {};
    if (m_horizontal) {
        thumb.left = item.left + Scale(item.right - item.left - m_thumbSize.cx, offset, span);
        thumb.top = (item.top + item.bottom - m_thumbSize.cy) / 2;
    } else {
        thumb.left = (item.left + item.right - m_thumbSize.cx) / 2;
        thumb.top = item.bottom - Scale(item.bottom - item.top - m_thumbSize.cy, offset, span) -
                    m_thumbSize.cy;
    }
    thumb.right = thumb.left + m_thumbSize.cx;
    thumb.bottom = thumb.top + m_thumbSize.cy;
    return thumb;
}

int CSliderUI::ValueAt(POINT pt) const
{
    const TValueRange range = Range();
    const long long span = static_cast<long long>(range.max) - range.min;
    const RECT& item = m_rcItem;
    // Between the two ends the track is wider than the thumb, so the divisors are positive.
    if (m_horizontal) {
        const int half = m_thumbSize.cx / 2;
        if (pt.x >= item.right - half)
            return range.max;
        if (pt.x <= item.left + half)
            return range.min;
        return range.min +
               Scale(pt.x - item.left - half, span, item.right - item.left - m_thumbSize.cx);
    }
    const int half = m_thumbSize.cy / 2;
    const int end = item.bottom - half;
    if (pt.y >= end)
        return range.min;
    if (pt.y <= item.top + half)
        return range.max;
    return range.min + Scale(end - pt.y, span, item.bottom - item.top - m_thumbSize.cy);
}

void CSliderUI::MoveValue(long long value)
{
    const TValueRange range = Range();
    if (value > range.max)
        value = range.max;
    if (value < range.min)
        value = range.min;
    m_min = range.min;
    m_max = range.max;
    m_value = static_cast<int>(value);
}

void CSliderUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    switch (event.type) {
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick: {
        const RECT thumb = GetThumbRect();
        if (IsEnabled() && PtInRect(&thumb, event.mouse))
            m_buttonState |= UISTATE_CAPTURED;
        return;
    }
    case TUIEventType::ButtonUp:
        OnRelease(event);
        return;
    case TUIEventType::ContextMenu:
        return;
    case TUIEventType::ScrollWheel:
        if (!IsWheelTurn(LOWORD(event.wParam)))
            break;
        OnWheel(LOWORD(event.wParam) == UIWHEEL_TOWARDS);
        return;
    case TUIEventType::MouseMove:
        if ((m_buttonState & UISTATE_CAPTURED) != 0) {
            MoveValue(ValueAt(event.mouse));
            Invalidate();
        }
        return;
    case TUIEventType::SetCursor: {
        const RECT thumb = GetThumbRect();
        if (IsEnabled() && PtInRect(&thumb, event.mouse)) {
            ::SetCursor(LoadCursor(nullptr, IDC_HAND));
            return;
        }
        break;
    }
    case TUIEventType::MouseEnter:
    case TUIEventType::MouseLeave:
        if (IsEnabled()) {
            m_buttonState = event.type == TUIEventType::MouseEnter ? m_buttonState | UISTATE_HOT
                                                                   : m_buttonState & ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CSliderUI::OnRelease(const TUIEvent& event)
{
    m_buttonState &= ~UISTATE_CAPTURED;
    // A disabled slider is not moved by the mouse.
    if (!IsEnabled())
        return;
    // A press another window cancelled has no position: the value stays where a drag left
    // it, and is told like any other release.
    if (!IsCancelledPress(event))
        MoveValue(ValueAt(event.mouse));
    NotifyValueChanged();
}

void CSliderUI::OnWheel(bool towardsUser)
{
    if (!IsEnabled())
        return;
    MoveValue(static_cast<long long>(Range().value) + (towardsUser ? -1LL : 1LL) * m_step);
    NotifyValueChanged();
}

void CSliderUI::NotifyValueChanged()
{
    if (m_manager != nullptr) {
        CControlWatch self(this);
        m_manager->SendNotify(this, "valuechanged");
        if (!self)
            return;
    }
    Invalidate();
}

namespace {

CSliderUI& Slider(IControlUI& control)
{
    return static_cast<CSliderUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"thumbimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Slider(c).SetThumbImage(TThumbImage::Normal, v); }},
    {"thumbhotimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Slider(c).SetThumbImage(TThumbImage::Hot, v); }},
    {"thumbpushedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Slider(c).SetThumbImage(TThumbImage::Pushed, v); }},
    {"thumbsize", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Slider(c).SetThumbSize(ToSize(ParseSize(v))); }},
    {"step", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Slider(c).SetChangeStep(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CSliderUI::kAttributeTable =
    MakeAttributeTable(&CProgressUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CSliderUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CSliderUI::PaintStatusImage(HDC dc)
{
    CProgressUI::PaintStatusImage(dc);
    const CUIString dest = DestModifier(GetThumbRect());
    DrawStateImage(dc, m_buttonState,
                   {{UISTATE_CAPTURED, &ThumbImage(TThumbImage::Pushed)},
                    {UISTATE_HOT, &ThumbImage(TThumbImage::Hot)}},
                   ThumbImage(TThumbImage::Normal), dest);
}

}  // namespace Veneer
