// The scroll bar's paint: background, arrows, thumb and the grip across the thumb, each
// from the image of its state, the arrows and the thumb outlined when no image draws.

#include "ui/controls/LayoutChildren.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {
namespace {

const DWORD kOutlineColor = 0xFF85E4FF;

UINT WithDisabled(UINT state, bool enabled)
{
    return enabled ? state & ~UISTATE_DISABLED : state | UISTATE_DISABLED;
}

}  // namespace

void CScrollBarUI::DoPaint(HDC dc, const RECT& paint)
{
    if (!IntersectRect(&m_rcPaint, &paint, &m_rcItem))
        return;
    const bool enabled = IsEnabled();
    // The background follows the thumb's state.
    m_states[Thumb] = WithDisabled(m_states[Thumb], enabled);
    PaintPart(dc, TScrollBarPart::Background, m_states[Thumb], nullptr);
    const struct {
        bool shown;
        int state;
        TScrollBarPart part;
        const TLayoutRect& rc;
    } arrows[] = {{m_showButton1, Button1, TScrollBarPart::Button1, m_parts.button1},
                  {m_showButton2, Button2, TScrollBarPart::Button2, m_parts.button2}};
    for (const auto& arrow : arrows) {
        if (!arrow.shown)
            continue;
        m_states[arrow.state] = WithDisabled(m_states[arrow.state], enabled);
        const RECT rc = ToRect(arrow.rc);
        if (!PaintPart(dc, arrow.part, m_states[arrow.state], &rc))
            CRenderUtil::DrawFrame(dc, rc, 2, kOutlineColor);
    }
    if (!HasThumb(m_parts))
        return;
    const RECT thumb = ToRect(m_parts.thumb);
    if (!PaintPart(dc, TScrollBarPart::Thumb, m_states[Thumb], &thumb))
        CRenderUtil::DrawFrame(dc, thumb, 2, kOutlineColor);
    // The grip: a band as long as the bar is thick, across the middle of the thumb.
    const int thickness = m_horizontal ? m_fixedSize.cy : m_fixedSize.cx;
    RECT rail = thumb;
    if (m_horizontal) {
        rail.left = (thumb.left + thumb.right) / 2 - thickness / 2;
        rail.right = rail.left + thickness;
    } else {
        rail.top = (thumb.top + thumb.bottom) / 2 - thickness / 2;
        rail.bottom = rail.top + thickness;
    }
    PaintPart(dc, TScrollBarPart::Rail, m_states[Thumb], &rail);
}

bool CScrollBarUI::PaintPart(HDC dc, TScrollBarPart part, UINT state, const RECT* dest)
{
    const CUIString modify = dest != nullptr ? DestModifier(*dest) : CUIString();
    // The image of the first state the part is in, as a button's; without one the normal
    // image (not the image of a later state: a pressed thumb without a pushed image does
    // not look hot).
    const auto entry = [&](UINT bit, TScrollBarImage which) {
        return TStateImage{bit, &Image(part, which)};
    };
    return DrawStateImage(
        dc, state,
        {entry(UISTATE_DISABLED, TScrollBarImage::Disabled),
         entry(UISTATE_PUSHED, TScrollBarImage::Pushed), entry(UISTATE_HOT, TScrollBarImage::Hot)},
        Image(part, TScrollBarImage::Normal), modify);
}

}  // namespace Veneer
