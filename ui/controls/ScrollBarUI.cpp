// The scroll bar's range, geometry, events and attributes; painting is in
// ScrollBarUIPaint.cpp.

#include "ui/controls/ScrollBarUI.h"

#include <cstring>
#include <initializer_list>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

CScrollBarUI::CScrollBarUI()
{
    m_fixedSize.cx = 16;
}

const char* CScrollBarUI::GetClass() const
{
    return "ScrollBarUI";
}

void* CScrollBarUI::GetInterface(const char* name)
{
    return std::strcmp(name, "ScrollBar") == 0 ? this : CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal)
        return;
    m_horizontal = horizontal;
    LONG& along = horizontal ? m_fixedSize.cx : m_fixedSize.cy;
    LONG& across = horizontal ? m_fixedSize.cy : m_fixedSize.cx;
    along = 0;
    if (across == 0)
        across = 16;
    if (m_owner != nullptr)
        m_owner->NeedUpdate();
    else
        NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (m_range == range)
        return;
    m_range = range < 0 ? 0 : range;
    if (m_scrollPos > m_range)
        m_scrollPos = m_range;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetScrollPos(int pos)
{
    if (m_scrollPos == pos)
        return;
    m_scrollPos = pos < 0 ? 0 : (pos > m_range ? m_range : pos);
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_showButton1 = show;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_showButton2 = show;
    SetPos(m_rcItem);
}

CUIString& CScrollBarUI::Image(TScrollBarPart part, TScrollBarImage state)
{
    return m_images[static_cast<int>(part)][static_cast<int>(state)];
}

const char* CScrollBarUI::GetImage(TScrollBarPart part, TScrollBarImage state) const
{
    return m_images[static_cast<int>(part)][static_cast<int>(state)];
}

void CScrollBarUI::SetImage(TScrollBarPart part, TScrollBarImage state, const char* image)
{
    Image(part, state) = image;
    Invalidate();
}

RECT CScrollBarUI::GetButton1Rect() const
{
    return ToRect(m_parts.button1);
}

RECT CScrollBarUI::GetButton2Rect() const
{
    return ToRect(m_parts.button2);
}

RECT CScrollBarUI::GetThumbRect() const
{
    return ToRect(m_parts.thumb);
}

void CScrollBarUI::SetVisible(bool visible)
{
    m_visible = visible;
    m_focused = false;
}

void CScrollBarUI::SetEnabled(bool enabled)
{
    if (m_enabled != enabled) {
        m_enabled = enabled;
        Invalidate();
    }
    if (!m_enabled) {
        for (UINT& state : m_states)
            state = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_owner != nullptr)
        m_owner->SetFocus();
    else
        CControlUI::SetFocus();
}

TScrollBarShape CScrollBarUI::Shape() const
{
    return TScrollBarShape{ToLayoutRect(m_rcItem),
                           m_horizontal ? m_fixedSize.cy : m_fixedSize.cx,
                           m_horizontal,
                           m_showButton1,
                           m_showButton2,
                           m_range,
                           m_scrollPos};
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    m_parts = MeasureScrollBar(Shape());
}

void CScrollBarUI::PassOn(TUIEvent& event)
{
    if (m_owner != nullptr)
        m_owner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CScrollBarUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event, m_owner, [this](TUIEvent& e) { CControlUI::DoEvent(e); }))
        return;
    switch (event.type) {
    case TUIEventType::SetFocus:
    case TUIEventType::KillFocus:
    case TUIEventType::ContextMenu:
        return;
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick:
        OnButtonDown(event);
        return;
    case TUIEventType::ButtonUp:
        OnButtonUp();
        return;
    case TUIEventType::MouseMove:
        OnMouseMove(event);
        return;
    case TUIEventType::Timer:
        if (event.wParam != kRepeatTimer)
            break;
        OnRepeat();
        return;
    case TUIEventType::MouseEnter:
        if (IsEnabled())
            SetHot(true, Contains(m_parts.thumb, event.mouse));
        return;
    case TUIEventType::MouseLeave:
        if (IsEnabled())
            SetHot(false, false);
        return;
    default:
        break;
    }
    PassOn(event);
}

void CScrollBarUI::SetHot(bool buttons, bool thumb)
{
    for (int part : {Button1, Button2, Thumb}) {
        const bool hot = part == Thumb ? thumb : buttons;
        m_states[part] = hot ? (m_states[part] | UISTATE_HOT) : (m_states[part] & ~UISTATE_HOT);
    }
    Invalidate();
}

void CScrollBarUI::OnButtonDown(const TUIEvent& event)
{
    if (!IsEnabled())
        return;
    m_repeatCount = 0;
    m_dragOffset = 0;
    if (m_manager != nullptr)
        m_manager->SetTimer(this, kRepeatTimer, kRepeatMilliseconds);
    const POINT pt = event.mouse;
    if (Contains(m_parts.button1, pt)) {
        m_states[Button1] |= UISTATE_PUSHED;
        Invalidate();
        Step(-1, false);
    } else if (Contains(m_parts.button2, pt)) {
        m_states[Button2] |= UISTATE_PUSHED;
        Invalidate();
        Step(1, false);
    } else if (Contains(m_parts.thumb, pt)) {
        // Nothing moves yet: the drag is applied at each tick of the repeat timer.
        m_states[Thumb] |= UISTATE_PUSHED | UISTATE_CAPTURED;
        m_lastMouse = pt;
        m_lastScrollPos = m_scrollPos;
        Invalidate();
    } else {
        m_trackHeld = true;
        if (const int side = SideOfThumb(Shape(), m_parts, pt.x, pt.y))
            Step(side, true);
    }
}

void CScrollBarUI::OnButtonUp()
{
    m_repeatCount = 0;
    m_dragOffset = 0;
    m_trackHeld = false;
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kRepeatTimer);
    if ((m_states[Thumb] & UISTATE_CAPTURED) != 0)
        m_states[Thumb] &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
    else if ((m_states[Button1] & UISTATE_PUSHED) != 0)
        m_states[Button1] &= ~UISTATE_PUSHED;
    else if ((m_states[Button2] & UISTATE_PUSHED) != 0)
        m_states[Button2] &= ~UISTATE_PUSHED;
    else
        return;
    Invalidate();
}

void CScrollBarUI::OnMouseMove(const TUIEvent& event)
{
    const POINT pt = event.mouse;
    UINT& thumb = m_states[Thumb];
    if ((thumb & UISTATE_CAPTURED) != 0) {
        const int moved = m_horizontal ? pt.x - m_lastMouse.x : pt.y - m_lastMouse.y;
        m_dragOffset = ThumbDragOffset(Shape(), m_parts, moved);
        return;
    }
    const bool over = Contains(m_parts.thumb, pt);
    if ((thumb & UISTATE_HOT) != 0 && !over)
        thumb &= ~UISTATE_HOT;
    else if (IsEnabled() && over && (thumb & UISTATE_HOT) == 0)
        thumb |= UISTATE_HOT;
    else
        return;
    Invalidate();
}

void CScrollBarUI::OnRepeat()
{
    ++m_repeatCount;
    if ((m_states[Thumb] & UISTATE_CAPTURED) != 0) {
        FollowThumb();
        return;
    }
    if (m_repeatCount < kFirstRepeat)
        return;
    if ((m_states[Button1] & UISTATE_PUSHED) != 0) {
        Step(-1, false);
    } else if ((m_states[Button2] & UISTATE_PUSHED) != 0) {
        Step(1, false);
    } else if (m_trackHeld && m_manager != nullptr) {
        // Held on the track: pages towards the mouse until the thumb reaches it.
        POINT pt = {};
        GetCursorPos(&pt);
        ScreenToClient(m_manager->GetPaintWindow(), &pt);
        if (const int side = SideOfThumb(Shape(), m_parts, pt.x, pt.y))
            Step(side, true);
    }
}

void CScrollBarUI::Step(int direction, bool page)
{
    if (m_owner != nullptr) {
        using Scroll = void (CContainerUI::*)();
        static const Scroll steps[2][2][2] = {
            // [horizontal][page][forward]
            {{&CContainerUI::LineUp, &CContainerUI::LineDown},
             {&CContainerUI::PageUp, &CContainerUI::PageDown}},
            {{&CContainerUI::LineLeft, &CContainerUI::LineRight},
             {&CContainerUI::PageLeft, &CContainerUI::PageRight}},
        };
        // The owner moves its children, whose handlers may destroy this bar: last call.
        (m_owner->*steps[m_horizontal][page][direction > 0])();
        return;
    }
    const int amount = page ? (m_horizontal ? GetWidth() : GetHeight()) : m_lineSize;
    SetScrollPos(m_scrollPos + direction * amount);
    NotifyScroll();
}

void CScrollBarUI::FollowThumb()
{
    const int pos = m_lastScrollPos + m_dragOffset;
    if (m_owner != nullptr) {
        const SIZE current = m_owner->GetScrollPos();
        CControlWatch self(this);
        m_owner->SetScrollPos(m_horizontal ? SIZE{pos, current.cy} : SIZE{current.cx, pos});
        if (self)
            Invalidate();
        return;
    }
    SetScrollPos(pos);
    Invalidate();
    NotifyScroll();
}

bool CScrollBarUI::NotifyScroll()
{
    if (m_owner != nullptr || m_manager == nullptr)
        return true;
    CControlWatch self(this);
    m_manager->SendNotify(this, "scroll");
    return static_cast<bool>(self);
}

namespace {

CScrollBarUI& Bar(IControlUI& control)
{
    return static_cast<CScrollBarUI&>(control);
}

using Part = TScrollBarPart;
using State = TScrollBarImage;

template <Part part, State state>
void SetPartImage(IControlUI& control, const char* image)
{
    Bar(control).SetImage(part, state, image);
}

const TAttributeInfo kOwnAttributes[] = {
    {"bknormalimage", TAttributeKind::Image, SetPartImage<Part::Background, State::Normal>},
    {"bkhotimage", TAttributeKind::Image, SetPartImage<Part::Background, State::Hot>},
    {"bkpushedimage", TAttributeKind::Image, SetPartImage<Part::Background, State::Pushed>},
    {"bkdisabledimage", TAttributeKind::Image, SetPartImage<Part::Background, State::Disabled>},
    {"button1normalimage", TAttributeKind::Image, SetPartImage<Part::Button1, State::Normal>},
    {"button1hotimage", TAttributeKind::Image, SetPartImage<Part::Button1, State::Hot>},
    {"button1pushedimage", TAttributeKind::Image, SetPartImage<Part::Button1, State::Pushed>},
    {"button1disabledimage", TAttributeKind::Image, SetPartImage<Part::Button1, State::Disabled>},
    {"button2normalimage", TAttributeKind::Image, SetPartImage<Part::Button2, State::Normal>},
    {"button2hotimage", TAttributeKind::Image, SetPartImage<Part::Button2, State::Hot>},
    {"button2pushedimage", TAttributeKind::Image, SetPartImage<Part::Button2, State::Pushed>},
    {"button2disabledimage", TAttributeKind::Image, SetPartImage<Part::Button2, State::Disabled>},
    {"thumbnormalimage", TAttributeKind::Image, SetPartImage<Part::Thumb, State::Normal>},
    {"thumbhotimage", TAttributeKind::Image, SetPartImage<Part::Thumb, State::Hot>},
    {"thumbpushedimage", TAttributeKind::Image, SetPartImage<Part::Thumb, State::Pushed>},
    {"thumbdisabledimage", TAttributeKind::Image, SetPartImage<Part::Thumb, State::Disabled>},
    {"railnormalimage", TAttributeKind::Image, SetPartImage<Part::Rail, State::Normal>},
    {"railhotimage", TAttributeKind::Image, SetPartImage<Part::Rail, State::Hot>},
    {"railpushedimage", TAttributeKind::Image, SetPartImage<Part::Rail, State::Pushed>},
    {"raildisabledimage", TAttributeKind::Image, SetPartImage<Part::Rail, State::Disabled>},
    {"linesize", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Bar(c).SetLineSize(ParseInteger(v)); }},
    {"range", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Bar(c).SetScrollRange(ParseInteger(v)); }},
    {"value", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Bar(c).SetScrollPos(ParseInteger(v)); }},
    {"showbutton1", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Bar(c).SetShowButton1(ParseBoolean(v)); }},
    {"showbutton2", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Bar(c).SetShowButton2(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable CScrollBarUI::kAttributeTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CScrollBarUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
