#pragma once
// CMarkupDevice: the device context as the mark-up painter uses it for one call. Fonts,
// the text colour and the background mode are set only when they change, and text
// measurements are remembered for the whole call: the drawing pass of a line and the
// measuring for alignment ask for the same runs as the measuring pass, and under Wine
// every call into GDI costs a few microseconds.

#include <windows.h>

namespace Veneer {

struct TFontEntry;

class CMarkupDevice {
public:
    // Starts with font (the previous font comes back at the end), a transparent background
    // and the text colour; the selection background colour (both ARGB) is used for opaque
    // backgrounds.
    CMarkupDevice(HDC dc, TFontEntry* font, DWORD textColor, DWORD selectionColor);
    ~CMarkupDevice();
    CMarkupDevice(const CMarkupDevice&) = delete;
    CMarkupDevice& operator=(const CMarkupDevice&) = delete;

    HDC Dc() const { return m_dc; }

    // Also takes the font's metrics the first time it is used. The device context gets
    // the font when something is measured or drawn in it.
    void SelectFont(TFontEntry* font);
    void SetTextColor(DWORD argb);
    void SetOpaque(bool opaque);

    // In the selected font: the width of start .. end, and the end of its longest prefix
    // of whole characters that fits into available pixels (end when all of it fits).
    int Width(const char* start, const char* end);
    const char* FitPrefix(const char* start, const char* end, int available);
    // Half the trailing (C) width of a blank, the slant an italic font leaves over.
    int ItalicOverhang();

    void DrawRun(int x, int y, const char* start, const char* end);

private:
    struct TMeasure {
        const char* start = nullptr;
        const char* end = nullptr;
        const TFontEntry* font = nullptr;
        int available = 0;  // -1: a width
        int result = 0;
    };
    static const int kSlots = 64;

    TMeasure& Slot(const char* start, const char* end, int available);
    // Bytes of start .. end that fit, whole characters.
    int FitBytes(const char* start, const char* end, int available);
    void Realize();

    HDC m_dc;
    HGDIOBJ m_previousFont = nullptr;
    TFontEntry* m_font;                // the font asked for
    TFontEntry* m_selected = nullptr;  // the font in the device context
    COLORREF m_textColor;
    COLORREF m_selectionColor;
    bool m_selectionColorSet = false;
    bool m_opaque = false;
    TMeasure m_measures[kSlots];
};

}  // namespace Veneer
