// Drawing bitmaps: the blending entry points, the software blend and the nine-grid.
#include "ui/core/RenderUtil.h"

#include <cstddef>
#include <cstdint>

#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

struct TBlending {
    bool resolved;
    CRenderUtil::AlphaBlendProc alphaBlend;
    CRenderUtil::GradientFillProc gradientFill;
};

TBlending g_blending = {};

// Painting runs on the user-interface thread only, so the once-only lookup takes no lock.
const TBlending& Blending()
{
    if (!g_blending.resolved) {
        const HMODULE module = GetModuleHandleA("msimg32.dll");
        g_blending.alphaBlend = LookUpProc<CRenderUtil::AlphaBlendProc>(module, "AlphaBlend");
        if (g_blending.alphaBlend == nullptr)
            g_blending.alphaBlend = &CRenderUtil::SoftAlphaBlend;
        g_blending.gradientFill = LookUpProc<CRenderUtil::GradientFillProc>(module, "GradientFill");
        g_blending.resolved = true;
    }
    return g_blending;
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

// Where tiles laid from `from` on, `step` apart, begin to reach `visible`: the tiles
// before it are out of sight.
int FirstTile(int from, int step, int visible)
{
    if (visible <= from)
        return from;
    const std::int64_t hidden = (std::int64_t{visible} - from) / step;
    return static_cast<int>(from + hidden * step);
}

// Copies or blends parts of one bitmap onto the target.
class CPainter {
public:
    CPainter(HDC target, HDC source, const RECT& paint, CRenderUtil::AlphaBlendProc blend,
             BYTE fade)
        : m_target(target), m_source(source), m_paint(paint), m_blend(blend)
    {
        m_function = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
    }

    // A border piece: drawn only where it meets the paint rectangle.
    void Piece(int x, int y, int width, int height, int sx, int sy, int sw, int sh) const
    {
        if (Meets({x, y, x + width, y + height}, m_paint))
            Blit(x, y, width, height, sx, sy, sw, sh);
    }

    void Blit(int x, int y, int width, int height, int sx, int sy, int sw, int sh) const
    {
        if (width <= 0 || height <= 0 || sw <= 0 || sh <= 0)
            return;
        if (m_blend)
            m_blend(m_target, x, y, width, height, m_source, sx, sy, sw, sh, m_function);
        else if (width == sw && height == sh)
            BitBlt(m_target, x, y, width, height, m_source, sx, sy, SRCCOPY);
        else
            StretchBlt(m_target, x, y, width, height, m_source, sx, sy, sw, sh, SRCCOPY);
    }

    void Middle(const RECT& d, const RECT& s, bool xTiled, bool yTiled) const;

private:
    HDC m_target;
    HDC m_source;
    RECT m_paint;
    CRenderUtil::AlphaBlendProc m_blend;  // null: copy
    BLENDFUNCTION m_function;
};

void CPainter::Middle(const RECT& d, const RECT& s, bool xTiled, bool yTiled) const
{
    const int width = d.right - d.left;
    const int height = d.bottom - d.top;
    const int sw = s.right - s.left;
    const int sh = s.bottom - s.top;
    if (!xTiled && !yTiled) {
        Blit(d.left, d.top, width, height, s.left, s.top, sw, sh);
        return;
    }
    if ((xTiled && sw <= 0) || (yTiled && sh <= 0))
        return;
    // Only the tiles that meet the paint rectangle are drawn.
    const int bottom = d.bottom < m_paint.bottom ? d.bottom : m_paint.bottom;
    const int right = d.right < m_paint.right ? d.right : m_paint.right;
    if (!xTiled) {
        for (int y = FirstTile(d.top, sh, m_paint.top); y < bottom; y += sh) {
            const int rows = y + sh < d.bottom ? sh : d.bottom - y;
            Blit(d.left, y, width, rows, s.left, s.top, sw, rows);
        }
    } else if (!yTiled) {
        for (int x = FirstTile(d.left, sw, m_paint.left); x < right; x += sw) {
            const int columns = x + sw < d.right ? sw : d.right - x;
            Blit(x, d.top, columns, height, s.left, s.top, columns, sh);
        }
    } else {
        for (int y = FirstTile(d.top, sh, m_paint.top); y < bottom; y += sh) {
            const int rows = y + sh < d.bottom ? sh : d.bottom - y;
            for (int x = FirstTile(d.left, sw, m_paint.left); x < right; x += sw) {
                const int columns = x + sw < d.right ? sw : d.right - x;
                Blit(x, y, columns, rows, s.left, s.top, columns, rows);
            }
        }
    }
}

}  // namespace

CRenderUtil::AlphaBlendProc CRenderUtil::AlphaBlender()
{
    return Blending().alphaBlend;
}

CRenderUtil::GradientFillProc CRenderUtil::GradientFiller()
{
    return Blending().gradientFill;
}

void CRenderUtil::UseSoftwareBlending(bool software)
{
    g_blending = {software, software ? &SoftAlphaBlend : nullptr, nullptr};
}

BOOL WINAPI CRenderUtil::SoftAlphaBlend(HDC dest, int xDest, int yDest, int widthDest,
                                        int heightDest, HDC source, int xSource, int ySource,
                                        int widthSource, int heightSource, BLENDFUNCTION blend)
{
    if (widthDest <= 0 || heightDest <= 0)
        return FALSE;
    void* sourceBits = nullptr;
    void* destBits = nullptr;
    CGdiObject<HBITMAP> sourceDib(CreateTopDownDib(widthDest, heightDest, &sourceBits));
    CGdiObject<HBITMAP> destDib(CreateTopDownDib(widthDest, heightDest, &destBits));
    CMemoryDC sourceDC(dest);
    CMemoryDC destDC(dest);
    if (!sourceDib || !destDib || !sourceDC || !destDC)
        return FALSE;
    CSelectObject selectSource(sourceDC.Get(), sourceDib.Get());
    CSelectObject selectDest(destDC.Get(), destDib.Get());
    SetStretchBltMode(sourceDC.Get(), COLORONCOLOR);
    StretchBlt(sourceDC.Get(), 0, 0, widthDest, heightDest, source, xSource, ySource, widthSource,
               heightSource, SRCCOPY);
    BitBlt(destDC.Get(), 0, 0, widthDest, heightDest, dest, xDest, yDest, SRCCOPY);
    GdiFlush();

    // Source pixels are premultiplied: they count with the constant alpha only, while the
    // destination keeps what the source's own alpha lets through.
    const unsigned constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const auto* from = static_cast<const BYTE*>(sourceBits);
    auto* to = static_cast<BYTE*>(destBits);
    const std::size_t count =
        static_cast<std::size_t>(widthDest) * static_cast<std::size_t>(heightDest);
    for (std::size_t i = 0; i < count; ++i, from += 4, to += 4) {
        const unsigned alpha = perPixel ? from[3] : 255u;
        const unsigned keep = 65025u - alpha * constant;
        for (int c = 0; c < 3; ++c) {
            const unsigned value = (from[c] * constant * 255u + to[c] * keep + 32512u) / 65025u;
            to[c] = static_cast<BYTE>(value > 255u ? 255u : value);
        }
        to[3] = 0;
    }
    BitBlt(dest, xDest, yDest, widthDest, heightDest, destDC.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

void CRenderUtil::DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint,
                             const RECT& source, const RECT& corner, bool alphaChannel, BYTE fade,
                             bool hole, bool xTiled, bool yTiled)
{
    CMemoryDC memory(dc);
    if (!memory)
        return;
    CSelectObject select(memory.Get(), bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    const bool blend = alphaChannel || fade < 255;
    const CPainter painter(dc, memory.Get(), paint, blend ? AlphaBlender() : nullptr, fade);

    const RECT& rc = dest;
    const RECT& bp = source;
    const int rcWidth = rc.right - rc.left;
    const int rcHeight = rc.bottom - rc.top;
    const int bpWidth = bp.right - bp.left;
    const int bpHeight = bp.bottom - bp.top;
    const int cl = corner.left;
    const int ct = corner.top;
    const int cr = corner.right;
    const int cb = corner.bottom;

    if (!blend && rcWidth == bpWidth && rcHeight == bpHeight && cl == 0 && ct == 0 && cr == 0 &&
        cb == 0) {
        RECT part;
        if (IntersectRect(&part, &rc, &paint))
            BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top,
                   memory.Get(), bp.left + part.left - rc.left, bp.top + part.top - rc.top,
                   SRCCOPY);
        return;
    }

    if (!hole) {
        const RECT middle = {rc.left + cl, rc.top + ct, rc.right - cr, rc.bottom - cb};
        const RECT middleSource = {bp.left + cl, bp.top + ct, bp.right - cr, bp.bottom - cb};
        if (Meets(middle, paint))
            painter.Middle(middle, middleSource, xTiled, yTiled);
    }

    const int innerWidth = rcWidth - cl - cr;
    const int innerHeight = rcHeight - ct - cb;
    const int innerSourceWidth = bpWidth - cl - cr;
    const int innerSourceHeight = bpHeight - ct - cb;
    if (cl > 0 && ct > 0)
        painter.Piece(rc.left, rc.top, cl, ct, bp.left, bp.top, cl, ct);
    if (ct > 0)
        painter.Piece(rc.left + cl, rc.top, innerWidth, ct, bp.left + cl, bp.top, innerSourceWidth,
                      ct);
    if (cr > 0 && ct > 0)
        painter.Piece(rc.right - cr, rc.top, cr, ct, bp.right - cr, bp.top, cr, ct);
    if (cl > 0)
        painter.Piece(rc.left, rc.top + ct, cl, innerHeight, bp.left, bp.top + ct, cl,
                      innerSourceHeight);
    if (cr > 0)
        painter.Piece(rc.right - cr, rc.top + ct, cr, innerHeight, bp.right - cr, bp.top + ct, cr,
                      innerSourceHeight);
    if (cl > 0 && cb > 0)
        painter.Piece(rc.left, rc.bottom - cb, cl, cb, bp.left, bp.bottom - cb, cl, cb);
    if (cb > 0)
        painter.Piece(rc.left + cl, rc.bottom - cb, innerWidth, cb, bp.left + cl, bp.bottom - cb,
                      innerSourceWidth, cb);
    if (cr > 0 && cb > 0)
        painter.Piece(rc.right - cr, rc.bottom - cb, cr, cb, bp.right - cr, bp.bottom - cb, cr, cb);
}

}  // namespace Veneer
