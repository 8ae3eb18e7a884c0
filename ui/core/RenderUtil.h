#pragma once
// CRenderUtil: the drawing operations every control paints with: images (decoded once,
// premultiplied, drawn as a nine-grid), fills, lines, frames, plain and marked-up text,
// and clipping.
// The operations keep no state but the blending entry points, looked up once.

#include <windows.h>

#include "ui/core/base/UIString.h"

namespace Veneer {

class CWindowManagerUI;
struct TImageAttributes;

// One decoded image, owned by a manager's image cache; it owns its bitmap.
struct TImageEntry {
    TImageEntry(HBITMAP bitmap, int width, int height, bool alphaChannel)
        : bitmap(bitmap), width(width), height(height), alphaChannel(alphaChannel)
    {
    }
    ~TImageEntry() { DeleteObject(bitmap); }
    TImageEntry(const TImageEntry&) = delete;
    TImageEntry& operator=(const TImageEntry&) = delete;

    HBITMAP bitmap;  // top-down 32-bit DIB section, premultiplied B, G, R, A
    int width;
    int height;
    bool alphaChannel;  // some pixel is not opaque or was masked out
    CUIString resourceType;
    DWORD mask = 0;
};

// A clip set by BeginClip or BeginRoundClip; the previous clip comes back when it ends.
struct TClipState {
    TClipState() = default;
    ~TClipState() { End(); }
    TClipState(const TClipState&) = delete;
    TClipState& operator=(const TClipState&) = delete;

    void End();

    RECT item = {};
    HDC dc = nullptr;
    HRGN region = nullptr;
    HRGN previous = nullptr;
};

// GDI colour of an ARGB value: the alpha byte dropped, red and blue swapped.
inline COLORREF ToGdiColor(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// The links a control's mark-up drew at its last paint, kept for the next: their places
// answer the mouse, and DrawMarkupText draws the one under it hot.
struct TDrawnLinks {
    static constexpr int kMax = 8;

    // The link under a point, or -1.
    int At(POINT pt) const;
    // Places of links no longer drawn must not make a link hot at the next paint.
    void ClearUnused();

    int count = 0;
    RECT rects[kMax] = {};
    CUIString texts[kMax];
    int hovered = -1;  // the link the mouse was last over, or -1
};

class CRenderUtil {
public:
    using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);
    using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    // nameOrId: a file name below the resource path when type is null or empty, else a
    // resource name or MAKEINTRESOURCE id of that type in the resource module.
    static TImageEntry* LoadImageData(const char* nameOrId, const char* type, DWORD mask);

    // Draws an image attribute string, then its modifying string, into item. False without
    // a DC or a manager, and when no image the strings name could be loaded: callers forget
    // such a string rather than load it on every paint. A string of which one image loads
    // is kept (and its others tried again at the next paint).
    static bool DrawImageSpec(HDC dc, CWindowManagerUI* manager, const RECT& item,
                              const RECT& paint, const char* attributes,
                              const char* modify = nullptr);
    // One image of an attribute string, loaded into the manager's cache on first use.
    static bool DrawNamedImage(HDC dc, CWindowManagerUI* manager, const RECT& item,
                               const RECT& paint, const TImageAttributes& attributes);
    static void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint,
                           const RECT& source, const RECT& corner, bool alphaChannel,
                           BYTE fade = 255, bool hole = false, bool xTiled = false,
                           bool yTiled = false);

    static void FillColor(HDC dc, const RECT& rc, DWORD color);
    static void FillGradient(HDC dc, const RECT& rc, DWORD top, DWORD bottom, int steps);
    static void DrawLine(HDC dc, const RECT& rc, DWORD color);
    static void DrawFrame(HDC dc, const RECT& rc, int width, DWORD color);
    static void DrawRoundFrame(HDC dc, const RECT& rc, int width, int ellipseWidth,
                               int ellipseHeight, DWORD color);
    // rc is in and out: with DT_CALCRECT it receives the size of the text.
    static void DrawPlainText(HDC dc, CWindowManagerUI* manager, RECT& rc, const char* text,
                              DWORD color, int font, UINT format);
    // Text with brace mark-up (MarkupReader.h). color is the text colour outside {c} and
    // links (alpha ignored). links and linkTexts hold linkCount entries: on entry the
    // rectangles and texts of the previous call, whose rectangle under the mouse makes its
    // link hot; on return the links drawn, linkCount their number (null arrays: none).
    // With DT_CALCRECT nothing is drawn and rc receives the size the text needs; format
    // also heeds DT_SINGLELINE, DT_CENTER, DT_RIGHT, DT_VCENTER, DT_WORDBREAK and
    // DT_END_ELLIPSIS.
    static void DrawMarkupText(HDC dc, CWindowManagerUI* manager, RECT& rc, const char* text,
                               DWORD color, RECT* links, CUIString* linkTexts, int& linkCount,
                               UINT format);

    static void BeginClip(HDC dc, const RECT& rc, TClipState& clip);
    static void BeginRoundClip(HDC dc, const RECT& rc, const RECT& item, int width, int height,
                               TClipState& clip);

    // AlphaBlend done in software, for systems whose msimg32.dll lacks it.
    static BOOL WINAPI SoftAlphaBlend(HDC dest, int xDest, int yDest, int widthDest, int heightDest,
                                      HDC source, int xSource, int ySource, int widthSource,
                                      int heightSource, BLENDFUNCTION blend);

    // Tests only: true draws with the software fallbacks from now on; false looks the
    // platform's entry points up again at the next draw.
    static void UseSoftwareBlending(bool software);

private:
    static AlphaBlendProc AlphaBlender();
    static GradientFillProc GradientFiller();
};

}  // namespace Veneer
