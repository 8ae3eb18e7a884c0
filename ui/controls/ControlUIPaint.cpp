// The control base's paint order: background colour, background image, status image,
// text, border; all inside a rounded clip when the control has round corners.

#include "ui/controls/ControlUI.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {

void CControlUI::DoPaint(HDC dc, const RECT& paint)
{
    if (!IntersectRect(&m_rcPaint, &paint, &m_rcItem))
        return;
    TClipState clip;
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
        CRenderUtil::BeginRoundClip(dc, m_rcPaint, m_rcItem, m_borderRound.cx, m_borderRound.cy,
                                    clip);
    PaintBkColor(dc);
    PaintBkImage(dc);
    PaintStatusImage(dc);
    PaintText(dc);
    PaintBorder(dc);
}

void CControlUI::PaintBkColor(HDC dc)
{
    if (m_bkColor == 0)
        return;
    if (m_bkColor2 != 0 && m_bkColor3 == 0) {
        CRenderUtil::FillGradient(dc, m_rcItem, m_bkColor, m_bkColor2, 16);
    } else if (m_bkColor2 != 0) {
        RECT top = m_rcItem;
        top.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
        RECT bottom = m_rcItem;
        bottom.top = top.bottom;
        CRenderUtil::FillGradient(dc, top, m_bkColor, m_bkColor2, 8);
        CRenderUtil::FillGradient(dc, bottom, m_bkColor2, m_bkColor3, 8);
    } else if ((m_bkColor >> 24) == 0xFF) {
        CRenderUtil::FillColor(dc, m_rcPaint, m_bkColor);
    } else if ((m_bkColor >> 24) != 0) {
        CRenderUtil::FillColor(dc, m_rcItem, m_bkColor);
    }
}

void CControlUI::PaintBkImage(HDC dc)
{
    DrawImage(dc, m_bkImage);
}

bool CControlUI::DrawImage(HDC dc, CUIString& image, const char* modify)
{
    // Without a device context nothing is drawn, yet nothing failed to load either.
    if (image.IsEmpty() || dc == nullptr)
        return false;
    if (CRenderUtil::DrawImageSpec(dc, m_manager, m_rcItem, m_rcPaint, image, modify))
        return true;
    image.Empty();
    return false;
}

bool CControlUI::DrawStateImage(HDC dc, UINT state, std::initializer_list<TStateImage> order,
                                CUIString& normal, const char* modify)
{
    for (const TStateImage& entry : order) {
        if ((state & entry.bit) == 0)
            continue;
        if (DrawImage(dc, *entry.image, modify))
            return true;
        break;
    }
    return DrawImage(dc, normal, modify);
}

CUIString CControlUI::DestModifier(const RECT& rc) const
{
    CUIString dest;
    dest.Format("dest='%ld,%ld,%ld,%ld'", rc.left - m_rcItem.left, rc.top - m_rcItem.top,
                rc.right - m_rcItem.left, rc.bottom - m_rcItem.top);
    return dest;
}

void CControlUI::PaintStatusImage(HDC)
{
}

void CControlUI::PaintText(HDC)
{
}

void CControlUI::PaintBorder(HDC dc)
{
    if (m_borderSize < 1)
        return;
    const DWORD color = m_focused && m_focusBorderColor != 0 ? m_focusBorderColor : m_borderColor;
    // A rounded border is drawn whatever its colour, so colour 0 gives a black outline.
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
        CRenderUtil::DrawRoundFrame(dc, m_rcItem, m_borderSize, m_borderRound.cx, m_borderRound.cy,
                                    color);
    else if (color != 0)
        CRenderUtil::DrawFrame(dc, m_rcItem, m_borderSize, color);
}

}  // namespace Veneer
