#include "ui/controls/TextUI.h"

#include <algorithm>
#include <cstring>

#include "ui/core/RenderUtil.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

CTextUI::CTextUI()
{
    m_textStyle = DT_WORDBREAK;
    m_textPadding = RECT{2, 0, 2, 0};
}

const char* CTextUI::GetClass() const
{
    return "TextUI";
}

void* CTextUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Text") == 0 ? this : CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_links.count > 0 ? UINT{UIFLAG_SETCURSOR} : 0;
}

RECT CTextUI::GetLinkRect(int index) const
{
    return index >= 0 && index < m_links.count ? m_links.rects[index] : RECT{};
}

const char* CTextUI::GetLinkText(int index) const
{
    return index >= 0 && index < m_links.count ? m_links.texts[index].GetData() : "";
}

void CTextUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    const int link = m_links.At(event.mouse);
    const bool enabled = IsEnabled();
    switch (event.type) {
    case TUIEventType::SetCursor:
        if (link < 0)
            break;
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        return;
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick:
        if (!enabled || link < 0)
            break;
        Invalidate();
        return;
    case TUIEventType::ButtonUp:
        if (!enabled || link < 0 || IsCancelledPress(event))
            break;
        if (m_manager != nullptr)
            m_manager->SendNotify(this, "link", static_cast<WPARAM>(link));
        return;
    case TUIEventType::ContextMenu:
        return;
    case TUIEventType::MouseMove:
        if (!enabled || m_links.count == 0)
            break;
        if (link != m_links.hovered) {
            m_links.hovered = link;
            Invalidate();
        }
        return;
    case TUIEventType::MouseLeave:
        if (!enabled || m_links.count == 0 || m_links.hovered < 0)
            break;
        m_links.hovered = -1;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE available)
{
    if (m_manager == nullptr || m_manager->GetPaintDC() == nullptr)
        return m_fixedSize;
    RECT rc = {m_textPadding.left, 0, std::max(available.cx, m_fixedSize.cx) - m_textPadding.right,
               9999};
    const UINT style = m_textStyle | DT_CALCRECT;
    if (m_text.IsEmpty()) {
        rc = RECT{};
    } else if (m_showHtml) {
        int links = 0;
        CRenderUtil::DrawMarkupText(m_manager->GetPaintDC(), m_manager, rc, m_text, m_textColor,
                                    nullptr, nullptr, links, style);
    } else {
        CRenderUtil::DrawPlainText(m_manager->GetPaintDC(), m_manager, rc, m_text, m_textColor,
                                   m_font, style);
    }
    SIZE size = {rc.right - rc.left + m_textPadding.left + m_textPadding.right,
                 rc.bottom - rc.top + m_textPadding.top + m_textPadding.bottom};
    if (m_fixedSize.cy != 0)
        size.cy = m_fixedSize.cy;
    return size;
}

void CTextUI::PaintText(HDC dc)
{
    // Plain text has no links: those of earlier mark-up must not answer the mouse.
    m_links.count = m_showHtml && !m_text.IsEmpty() ? TDrawnLinks::kMax : 0;
    if (!m_text.IsEmpty()) {
        FillDefaultColors();
        RECT rc = TextRect();
        if (m_showHtml)
            CRenderUtil::DrawMarkupText(dc, m_manager, rc, m_text, EnabledColor(), m_links.rects,
                                        m_links.texts, m_links.count, m_textStyle);
        else
            CRenderUtil::DrawPlainText(dc, m_manager, rc, m_text, EnabledColor(), m_font,
                                       m_textStyle);
    }
    m_links.ClearUnused();
}

}  // namespace Veneer
