// draw: times the drawing helpers against an 800 x 600 back buffer and prints each as a
// time per call and as a ratio to the floor, one BitBlt of the whole buffer.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/Timing.h"

#include "ui/core/RenderUtil.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

using Veneer::CGdiObject;
using Veneer::CMemoryDC;
using Veneer::CRenderUtil;
using Veneer::CSelectObject;
using Veneer::CWindowManagerUI;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kRounds = 7;

// "请点击下方按钮来获取验证码" and the face "微软雅黑", in GBK.
const char kPrompt[] = "\xC7\xEB\xB5\xE3\xBB\xF7\xCF\xC2\xB7\xBD\xB0\xB4\xC5\xA5\xC0\xB4\xBB\xF1"
                       "\xC8\xA1\xD1\xE9\xD6\xA4\xC2\xEB";
const char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";

// An opaque 800 x 600 32-bit DIB section of varied pixels.
HBITMAP MakePicture()
{
    void* bits = nullptr;
    HBITMAP bitmap = Veneer::CreateTopDownDib(kWidth, kHeight, &bits);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; bitmap != nullptr && i < kWidth * kHeight; ++i)
        pixels[i] = 0xFF000000u | static_cast<DWORD>(static_cast<unsigned>(i) * 2654435761u >> 8);
    return bitmap;
}

// A picture selected into a memory DC.
struct Surface {
    Surface() : bitmap(MakePicture()), dc(nullptr), select(dc.Get(), bitmap.Get()) {}

    CGdiObject<HBITMAP> bitmap;
    CMemoryDC dc;
    CSelectObject select;
};

}  // namespace

int main()
{
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    CWindowManagerUI manager;
    manager.AddFont(kFace, 12, false, false, false);
    Surface buffer;
    Surface picture;
    // Drawn through its own memory DC, so it must not be selected anywhere else.
    CGdiObject<HBITMAP> image(MakePicture());
    const RECT whole = {0, 0, kWidth, kHeight};
    const RECT combo = {100, 100, 500, 200};
    RECT text = {0, 250, kWidth, 350};
    // A repaint of 8 x 8 pixels of the whole buffer, drawn from one pixel of the picture.
    const RECT spot = {396, 296, 404, 304};
    const RECT pixel = {0, 0, 1, 1};

    const std::vector<LorvikBench::TBenchCase> cases = {
        {"floor: BitBlt of the whole buffer",
         [&] { BitBlt(buffer.dc.Get(), 0, 0, kWidth, kHeight, picture.dc.Get(), 0, 0, SRCCOPY); }},
        {"opaque 800 x 600 image, no corners",
         [&] {
             CRenderUtil::DrawBitmap(buffer.dc.Get(), image.Get(), whole, whole, whole, {}, false);
         }},
        {"image 118 as a nine-grid, 400 x 100",
         [&] {
             CRenderUtil::DrawImageSpec(
                 buffer.dc.Get(), &manager, combo, whole,
                 "res='118' restype='png' source='0,22,100,44' corner='2,2,22,2'");
         }},
        {"1 x 1 stretched over all, 8 x 8 repainted",
         [&] {
             CRenderUtil::DrawBitmap(buffer.dc.Get(), image.Get(), whole, spot, pixel, {}, true);
         }},
        {"1 x 1 tiled over all, 8 x 8 repainted",
         [&] {
             CRenderUtil::DrawBitmap(buffer.dc.Get(), image.Get(), whole, spot, pixel, {}, true,
                                     255, false, true, true);
         }},
        {"translucent FillColor, whole buffer",
         [&] { CRenderUtil::FillColor(buffer.dc.Get(), whole, 0x80336699); }},
        {"DrawPlainText, the click prompt",
         [&] {
             CRenderUtil::DrawPlainText(buffer.dc.Get(), &manager, text, kPrompt, 0xFF2755AA, 0,
                                        DT_SINGLELINE | DT_CENTER | DT_VCENTER);
         }},
    };

    const std::vector<double> best = LorvikBench::BestOfRounds(cases, kRounds);

    std::printf("draw: %d x %d back buffer, microseconds per call, best of %d rounds\n", kWidth,
                kHeight, kRounds);
    for (std::size_t i = 0; i < cases.size(); ++i)
        std::printf("  %-40s %10.1f us %8.2f x floor\n", cases[i].name, best[i], best[i] / best[0]);
    return 0;
}
