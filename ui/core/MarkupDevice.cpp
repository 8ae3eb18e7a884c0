#include "ui/core/MarkupDevice.h"

#include <algorithm>
#include <cstdint>

#include "ui/core/RenderUtil.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WideText.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

CMarkupDevice::CMarkupDevice(HDC dc, TFontEntry* font, DWORD textColor, DWORD selectionColor)
    : m_dc(dc), m_font(font), m_textColor(ToGdiColor(textColor)),
      m_selectionColor(ToGdiColor(selectionColor))
{
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_textColor);
    SelectFont(font);
}

CMarkupDevice::~CMarkupDevice()
{
    if (m_previousFont != nullptr && m_previousFont != HGDI_ERROR)
        SelectObject(m_dc, m_previousFont);
}

void CMarkupDevice::SelectFont(TFontEntry* font)
{
    m_font = font;
    if (font->metrics.tmHeight == 0) {
        Realize();
        GetTextMetricsA(m_dc, &font->metrics);
    }
}

// The font is selected only when the device context needs it: measurements remembered
// from an earlier pass need none.
void CMarkupDevice::Realize()
{
    if (m_selected == m_font)
        return;
    const HGDIOBJ previous = SelectObject(m_dc, m_font->font);
    if (m_selected == nullptr)
        m_previousFont = previous;
    m_selected = m_font;
}

void CMarkupDevice::SetTextColor(DWORD argb)
{
    const COLORREF color = ToGdiColor(argb);
    if (color != m_textColor)
        ::SetTextColor(m_dc, color);
    m_textColor = color;
}

void CMarkupDevice::SetOpaque(bool opaque)
{
    if (opaque && !m_selectionColorSet) {
        SetBkColor(m_dc, m_selectionColor);
        m_selectionColorSet = true;
    }
    if (opaque != m_opaque)
        SetBkMode(m_dc, opaque ? OPAQUE : TRANSPARENT);
    m_opaque = opaque;
}

CMarkupDevice::TMeasure& CMarkupDevice::Slot(const char* start, const char* end, int available)
{
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(start) * 31u +
                               reinterpret_cast<std::uintptr_t>(end) +
                               static_cast<std::uintptr_t>(available) * 7u;
    return m_measures[(key ^ (key >> 7)) % kSlots];
}

int CMarkupDevice::Width(const char* start, const char* end)
{
    TMeasure& slot = Slot(start, end, -1);
    if (slot.start == start && slot.end == end && slot.font == m_font && slot.available == -1)
        return slot.result;
    Realize();
    const CWideText wide(start, static_cast<int>(end - start));
    SIZE size = {};
    if (!GetTextExtentPoint32W(m_dc, wide.Get(), wide.Length(), &size))
        size.cx = 0;
    slot = {start, end, m_font, -1, size.cx};
    return size.cx;
}

int CMarkupDevice::FitBytes(const char* start, const char* end, int available)
{
    TMeasure& slot = Slot(start, end, available);
    if (slot.start == start && slot.end == end && slot.font == m_font &&
        slot.available == available)
        return slot.result;
    Realize();
    const CWideText wide(start, static_cast<int>(end - start));
    int fitUnits = 0;
    SIZE size = {};
    if (!GetTextExtentExPointW(m_dc, wide.Get(), wide.Length(), available, &fitUnits, nullptr,
                               &size))
        fitUnits = 0;
    const int fit = static_cast<int>(SkipUtf16Units(start, end, fitUnits) - start);
    slot = {start, end, m_font, available, fit};
    return fit;
}

// The longest prefix of start .. end whose width is at most available; end when the whole
// run fits. The run is measured exactly only when its estimate from the widest character
// reaches the edge, and then in one call over a slice that is likely long enough (it
// doubles when it is not), so that long texts are not measured to their end on every line.
const char* CMarkupDevice::FitPrefix(const char* start, const char* end, int available)
{
    const TEXTMETRICA& metrics = m_font->metrics;
    const long long widest = std::max(1, static_cast<int>(metrics.tmMaxCharWidth));
    long long estimate = 0;
    const char* q = start;
    while (q < end && estimate < available) {
        q = NextChar(q);
        estimate += widest;
    }
    if (q == end && estimate < available)
        return end;
    long long sliceChars =
        2LL * available / std::max(1, static_cast<int>(metrics.tmAveCharWidth)) + 2;
    for (;;) {
        const char* sliceEnd = start;
        for (long long i = 0; i < sliceChars && sliceEnd < end; ++i)
            sliceEnd = NextChar(sliceEnd);
        const char* fit = start + FitBytes(start, sliceEnd, available);
        if (fit < sliceEnd || sliceEnd == end)
            return fit;
        sliceChars *= 2;
    }
}

int CMarkupDevice::ItalicOverhang()
{
    Realize();
    ABC blank = {};
    return GetCharABCWidthsW(m_dc, L' ', L' ', &blank) ? blank.abcC / 2 : 0;
}

void CMarkupDevice::DrawRun(int x, int y, const char* start, const char* end)
{
    Realize();
    const CWideText wide(start, static_cast<int>(end - start));
    TextOutW(m_dc, x, y, wide.Get(), wide.Length());
}

}  // namespace Veneer
