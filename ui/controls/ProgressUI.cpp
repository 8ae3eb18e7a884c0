#include "ui/controls/ProgressUI.h"

#include <climits>
#include <cstring>

#include "ui/core/AttributeValue.h"

namespace Veneer {

CProgressUI::CProgressUI()
{
    m_textStyle = DT_CENTER | DT_SINGLELINE;
    SetFixedHeight(12);
}

const char* CProgressUI::GetClass() const
{
    return "ProgressUI";
}

void* CProgressUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Progress") == 0 ? this : CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal)
        return;
    m_horizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min)
{
    m_min = min;
    Invalidate();
}

void CProgressUI::SetMaxValue(int max)
{
    m_max = max;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    m_value = value;
    Invalidate();
}

void CProgressUI::SetForeImage(const char* image)
{
    if (m_foreImage == image)
        return;
    m_foreImage = image;
    Invalidate();
}

TValueRange CProgressUI::Range() const
{
    TValueRange range = {m_min, m_max, m_value};
    if (range.max <= range.min) {
        // No maximum lies above INT_MAX.
        if (range.min == INT_MAX)
            range.min = INT_MAX - 1;
        range.max = range.min + 1;
    }
    if (range.value > range.max)
        range.value = range.max;
    if (range.value < range.min)
        range.value = range.min;
    return range;
}

void CProgressUI::NormalizeRange()
{
    const TValueRange range = Range();
    m_min = range.min;
    m_max = range.max;
    m_value = range.value;
}

namespace {

CProgressUI& Progress(IControlUI& control)
{
    return static_cast<CProgressUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"foreimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Progress(c).SetForeImage(v); }},
    {"hor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Progress(c).SetHorizontal(ParseBoolean(v)); }},
    {"min", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Progress(c).SetMinValue(ParseInteger(v)); }},
    {"max", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Progress(c).SetMaxValue(ParseInteger(v)); }},
    {"value", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Progress(c).SetValue(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CProgressUI::kAttributeTable =
    MakeAttributeTable(&CLabelUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CProgressUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CProgressUI::PaintStatusImage(HDC dc)
{
    NormalizeRange();
    if (m_foreImage.IsEmpty())
        return;
    // In 64 bits: the range may span all of int.
    const long long width = m_rcItem.right - m_rcItem.left;
    const long long height = m_rcItem.bottom - m_rcItem.top;
    const long long span = static_cast<long long>(m_max) - m_min;
    RECT fill = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    if (m_horizontal)
        fill.right = static_cast<LONG>(width * (static_cast<long long>(m_value) - m_min) / span);
    else
        fill.top = static_cast<LONG>(height * (static_cast<long long>(m_max) - m_value) / span);
    OffsetRect(&fill, m_rcItem.left, m_rcItem.top);
    DrawImage(dc, m_foreImage, DestModifier(fill));
}

}  // namespace Veneer
