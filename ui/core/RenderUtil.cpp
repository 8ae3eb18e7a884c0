// Fills, lines, frames, plain text and clipping.
#include "ui/core/RenderUtil.h"

#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// An opaque fill without a brush: the background of an empty text output.
void FillSolid(HDC dc, const RECT& rc, COLORREF color)
{
    const COLORREF previous = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

BYTE Channel(DWORD argb, int shift)
{
    return static_cast<BYTE>((argb >> shift) & 0xFF);
}

void FillVertexColor(TRIVERTEX& vertex, DWORD argb)
{
    vertex.Red = static_cast<COLOR16>(Channel(argb, 16) << 8);
    vertex.Green = static_cast<COLOR16>(Channel(argb, 8) << 8);
    vertex.Blue = static_cast<COLOR16>(Channel(argb, 0) << 8);
    vertex.Alpha = 0xFF00;
}

void GradientBySystem(CRenderUtil::GradientFillProc gradientFill, HDC dc, const RECT& rc, DWORD top,
                      DWORD bottom)
{
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rc.left;
    vertices[0].y = rc.top;
    FillVertexColor(vertices[0], top);
    vertices[1].x = rc.right;
    vertices[1].y = rc.bottom;
    FillVertexColor(vertices[1], bottom);
    GRADIENT_RECT rect = {0, 1};
    gradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

// 2^k bands from the bottom up, the lowest in the bottom colour.
void GradientByBands(HDC dc, const RECT& rc, DWORD top, DWORD bottom, int steps)
{
    const int k = steps >= 64   ? 6
                  : steps >= 32 ? 5
                  : steps >= 16 ? 4
                  : steps >= 8  ? 3
                  : steps >= 4  ? 2
                                : 1;
    const int bands = 1 << k;
    const long long height = rc.bottom - rc.top;
    for (int i = 0; i < bands; ++i) {
        const RECT band = {rc.left, rc.bottom - static_cast<int>(((i + 1) * height) >> k), rc.right,
                           rc.bottom - static_cast<int>((i * height) >> k)};
        if (band.top >= band.bottom)
            continue;
        auto mix = [&](int shift) {
            return (Channel(bottom, shift) * (bands - i) + Channel(top, shift) * i) >> k;
        };
        FillSolid(dc, band, RGB(mix(16), mix(8), mix(0)));
    }
}

}  // namespace

void TClipState::End()
{
    if (dc != nullptr)
        SelectClipRgn(dc, previous);
    if (region != nullptr)
        DeleteObject(region);
    if (previous != nullptr)
        DeleteObject(previous);
    dc = nullptr;
    region = nullptr;
    previous = nullptr;
}

void CRenderUtil::FillColor(HDC dc, const RECT& rc, DWORD color)
{
    if (color >> 24 == 0xFF) {
        FillSolid(dc, rc, ToGdiColor(color));
        return;
    }
    // The colour goes in as it is, so the platform blends it as a premultiplied pixel.
    void* bits = nullptr;
    CGdiObject<HBITMAP> pixel(CreateTopDownDib(1, 1, &bits));
    if (!pixel)
        return;
    *static_cast<DWORD*>(bits) = color;
    DrawBitmap(dc, pixel.Get(), rc, rc, {0, 0, 1, 1}, {0, 0, 0, 0}, true);
}

void CRenderUtil::FillGradient(HDC dc, const RECT& rc, DWORD top, DWORD bottom, int steps)
{
    const AlphaBlendProc alphaBlend = AlphaBlender();
    const GradientFillProc gradientFill = GradientFiller();
    const int alpha = (Channel(top, 24) + Channel(bottom, 24)) / 2;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (alpha == 0 || width <= 0 || height <= 0)
        return;
    auto paint = [&](HDC target, const RECT& area) {
        if (gradientFill != nullptr)
            GradientBySystem(gradientFill, target, area, top, bottom);
        else
            GradientByBands(target, area, top, bottom, steps);
    };
    if (alpha == 255) {
        paint(dc, rc);
        return;
    }
    CMemoryDC offscreen(dc);
    CGdiObject<HBITMAP> buffer(CreateCompatibleBitmap(dc, width, height));
    if (!offscreen || !buffer)
        return;
    CSelectObject select(offscreen.Get(), buffer.Get());
    paint(offscreen.Get(), {0, 0, width, height});
    // The gradient itself is opaque, so only the constant alpha applies.
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    alphaBlend(dc, rc.left, rc.top, width, height, offscreen.Get(), 0, 0, width, height, blend);
}

void CRenderUtil::DrawLine(HDC dc, const RECT& rc, DWORD color)
{
    CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ToGdiColor(color)));
    CSelectObject select(dc, pen.Get());
    MoveToEx(dc, rc.left, rc.top, nullptr);
    LineTo(dc, rc.right, rc.bottom);
}

void CRenderUtil::DrawFrame(HDC dc, const RECT& rc, int width, DWORD color)
{
    CGdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, width, ToGdiColor(color)));
    CSelectObject select(dc, pen.Get());
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}

void CRenderUtil::DrawRoundFrame(HDC dc, const RECT& rc, int width, int ellipseWidth,
                                 int ellipseHeight, DWORD color)
{
    CGdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, width, ToGdiColor(color)));
    CSelectObject select(dc, pen.Get());
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, ellipseWidth, ellipseHeight);
}

void CRenderUtil::DrawPlainText(HDC dc, CWindowManagerUI* manager, RECT& rc, const char* text,
                                DWORD color, int font, UINT format)
{
    if (text == nullptr || manager == nullptr)
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToGdiColor(color));
    CSelectObject select(dc, manager->GetFontEntry(font)->font);
    const CWideText wide(text);
    DrawTextW(dc, wide.Get(), wide.Length(), &rc, format | DT_NOPREFIX);
}

void CRenderUtil::BeginClip(HDC dc, const RECT& rc, TClipState& clip)
{
    clip.End();
    RECT box = {};
    GetClipBox(dc, &box);
    clip.previous = CreateRectRgnIndirect(&box);
    clip.region = CreateRectRgnIndirect(&rc);
    ExtSelectClipRgn(dc, clip.region, RGN_AND);
    clip.item = rc;
    clip.dc = dc;
}

void CRenderUtil::BeginRoundClip(HDC dc, const RECT& rc, const RECT& item, int width, int height,
                                 TClipState& clip)
{
    clip.End();
    RECT box = {};
    GetClipBox(dc, &box);
    clip.previous = CreateRectRgnIndirect(&box);
    clip.region = CreateRectRgnIndirect(&rc);
    CGdiObject<HRGN> round(
        CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1, width, height));
    CombineRgn(clip.region, clip.region, round.Get(), RGN_AND);
    ExtSelectClipRgn(dc, clip.region, RGN_AND);
    clip.item = rc;
    clip.dc = dc;
}

}  // namespace Veneer
