#include "ui/controls/LabelUI.h"

#include <cstring>

#include "ui/core/AttributeValue.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// The alignment words of "align", each found anywhere in the value and applied in this
// order: "right top" thus ends up left-aligned at the top.
struct TAlignWord {
    const char* word;
    UINT clear;
    UINT set;
};

const TAlignWord kAlignWords[] = {
    {"left", DT_CENTER | DT_RIGHT | DT_BOTTOM, 0}, {"center", DT_RIGHT | DT_BOTTOM, DT_CENTER},
    {"right", DT_CENTER | DT_BOTTOM, DT_RIGHT},    {"top", DT_RIGHT | DT_VCENTER | DT_BOTTOM, 0},
    {"bottom", DT_RIGHT | DT_VCENTER, DT_BOTTOM},
};

UINT ApplyAlign(UINT style, const char* value)
{
    for (const TAlignWord& align : kAlignWords) {
        if (std::strstr(value, align.word) != nullptr)
            style = (style & ~align.clear) | align.set;
    }
    return style;
}

}  // namespace

CLabelUI::CLabelUI() = default;

const char* CLabelUI::GetClass() const
{
    return "LabelUI";
}

void* CLabelUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Label") == 0 ? this : CControlUI::GetInterface(name);
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_textPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool showHtml)
{
    if (m_showHtml == showHtml)
        return;
    m_showHtml = showHtml;
    Invalidate();
}

void CLabelUI::DoEvent(TUIEvent& event)
{
    switch (event.type) {
    case TUIEventType::SetFocus:
        m_focused = true;
        return;
    case TUIEventType::KillFocus:
        m_focused = false;
        return;
    case TUIEventType::MouseEnter:
    case TUIEventType::MouseLeave:
        return;
    default:
        CControlUI::DoEvent(event);
    }
}

namespace {

CLabelUI& Label(IControlUI& control)
{
    return static_cast<CLabelUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"align", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         Label(c).SetTextStyle(ApplyAlign(Label(c).GetTextStyle(), v));
     }},
    {"endellipsis", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         const UINT style = Label(c).GetTextStyle();
         Label(c).SetTextStyle(ParseBoolean(v) ? style | DT_END_ELLIPSIS
                                               : style & ~DT_END_ELLIPSIS);
     }},
    {"font", TAttributeKind::Font,
     [](IControlUI& c, const char* v) { Label(c).SetFont(ParseInteger(v)); }},
    {"textcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Label(c).SetTextColor(ParseColor(v, false)); }},
    {"disabledtextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Label(c).SetDisabledTextColor(ParseColor(v, false)); }},
    {"textpadding", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Label(c).SetTextPadding(ToRect(ParseRect(v))); }},
    {"showhtml", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Label(c).SetShowHtml(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable CLabelUI::kAttributeTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CLabelUI::GetAttributeTable() const
{
    return kAttributeTable;
}

SIZE CLabelUI::EstimateSize(SIZE)
{
    return EstimateLine(4);
}

SIZE CLabelUI::EstimateLine(int margin)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr)
        return m_fixedSize;
    return SIZE{m_fixedSize.cx, m_manager->GetFontEntry(m_font)->metrics.tmHeight + margin};
}

void CLabelUI::FillDefaultColors()
{
    if (m_manager == nullptr)
        return;
    if (m_textColor == 0)
        m_textColor = m_manager->GetDefaultFontColor();
    if (m_disabledTextColor == 0)
        m_disabledTextColor = m_manager->GetDisabledFontColor();
}

RECT CLabelUI::TextRect() const
{
    return RECT{m_rcItem.left + m_textPadding.left, m_rcItem.top + m_textPadding.top,
                m_rcItem.right - m_textPadding.right, m_rcItem.bottom - m_textPadding.bottom};
}

void CLabelUI::DrawText(HDC dc, DWORD color, UINT style)
{
    RECT rc = TextRect();
    if (m_showHtml) {
        int links = 0;
        CRenderUtil::DrawMarkupText(dc, m_manager, rc, m_text, color, nullptr, nullptr, links,
                                    style);
    } else {
        CRenderUtil::DrawPlainText(dc, m_manager, rc, m_text, color, m_font, style);
    }
}

void CLabelUI::PaintText(HDC dc)
{
    FillDefaultColors();
    if (m_text.IsEmpty())
        return;
    DrawText(dc, EnabledColor(), m_textStyle | DT_SINGLELINE);
}

}  // namespace Veneer
