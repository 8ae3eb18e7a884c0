// markup: DrawMarkupText beside DrawPlainText. The countdown of the main window in both,
// and a 2 000-character text with word break in a 300-pixel column, drawn and measured;
// then one paragraph without line feeds or tags of 10 000 and 100 000 characters measured, as a
// text control measures at every layout, with its growth (linear is 10 x).
#include <windows.h>

#include <cstdio>
#include <string>
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

constexpr int kRounds = 7;
constexpr int kColumn = 300;
constexpr int kLongCharacters = 2000;
constexpr int kParagraphSmall = 10000;
constexpr int kParagraphLarge = 100000;

// The face "微软雅黑", and the countdown "验证码将在%d秒后过期" with 59 filled in, in GBK.
const char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
const std::string kBefore = "\xD1\xE9\xD6\xA4\xC2\xEB\xBD\xAB\xD4\xDA";
const std::string kAfter = "\xC3\xEB\xBA\xF3\xB9\xFD\xC6\xDA";

// A white 32-bit DIB section selected into a memory DC.
struct Surface {
    Surface(int width, int height)
        : bitmap(Veneer::CreateTopDownDib(width, height, &bits)), dc(nullptr),
          select(dc.Get(), bitmap.Get())
    {
        PatBlt(dc.Get(), 0, 0, width, height, WHITENESS);
    }

    void* bits = nullptr;
    CGdiObject<HBITMAP> bitmap;
    CMemoryDC dc;
    CSelectObject select;
};

// Words of Latin letters and GBK characters with a tag now and then, until the text has
// count characters apart from its tags. plain gets the same characters without tags.
void MakeLongText(int count, std::string& markup, std::string& plain)
{
    const char* const words[] = {"window",    "of",     "the",
                                 "token",     "server", "\xD1\xE9\xD6\xA4\xC2\xEB",
                                 "cafe",      "answer", "\xC7\xEB\xB5\xE3\xBB\xF7",
                                 "heartbeat", "a",      "gateway",
                                 "is",        "checked"};
    int characters = 0;
    for (unsigned i = 0; characters < count; ++i) {
        std::string word = words[(i * 7u + i / 3u) % (sizeof words / sizeof words[0])];
        word += ' ';
        const int length =
            static_cast<int>(word.size()) - (static_cast<unsigned char>(word[0]) >= 0x80
                                                 ? static_cast<int>(word.size() - 1) / 2
                                                 : 0);
        characters += length;
        plain += word;
        if (i % 17 == 5)
            markup += "{b}" + word + "{/b}";
        else if (i % 23 == 11)
            markup += "{c #FF0000}" + word + "{/c}";
        else
            markup += word;
    }
}

}  // namespace

int main()
{
    CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
    CWindowManagerUI manager;
    manager.SetDefaultFont(kFace, 12, false, false, false);
    manager.AddFont(kFace, 12, false, false, false);  // 0
    manager.AddFont(kFace, 24, false, false, false);  // 1
    Surface label(500, 100);
    Surface column(kColumn, 1400);

    const std::string countdown = kBefore + "{f 1}{c #FF0000}59{/c}{/f}" + kAfter;
    const std::string countdownPlain = kBefore + "59" + kAfter;
    std::string longMarkup;
    std::string longPlain;
    MakeLongText(kLongCharacters, longMarkup, longPlain);
    std::string smallParagraph;
    std::string largeParagraph;
    std::string unusedMarkup;
    MakeLongText(kParagraphSmall, unusedMarkup, smallParagraph);
    MakeLongText(kParagraphLarge, unusedMarkup, largeParagraph);
    const UINT labelFormat = DT_SINGLELINE | DT_VCENTER;
    int noLinks = 0;

    const std::vector<LorvikBench::TBenchCase> cases = {
        {"DrawPlainText, countdown",
         [&] {
             RECT rc = {0, 0, 500, 100};
             CRenderUtil::DrawPlainText(label.dc.Get(), &manager, rc, countdownPlain.c_str(),
                                        0xFF2755AA, 0, labelFormat);
         }},
        {"DrawMarkupText, countdown",
         [&] {
             RECT rc = {0, 0, 500, 100};
             CRenderUtil::DrawMarkupText(label.dc.Get(), &manager, rc, countdown.c_str(),
                                         0xFF2755AA, nullptr, nullptr, noLinks, labelFormat);
         }},
        {"DrawPlainText, 2 000 characters",
         [&] {
             RECT rc = {0, 0, kColumn, 1400};
             CRenderUtil::DrawPlainText(column.dc.Get(), &manager, rc, longPlain.c_str(),
                                        0xFF000000, 0, DT_WORDBREAK);
         }},
        {"DrawMarkupText, 2 000 characters",
         [&] {
             RECT rc = {0, 0, kColumn, 1400};
             CRenderUtil::DrawMarkupText(column.dc.Get(), &manager, rc, longMarkup.c_str(),
                                         0xFF000000, nullptr, nullptr, noLinks, DT_WORDBREAK);
         }},
        {"DrawMarkupText, 2 000 characters, size",
         [&] {
             RECT rc = {0, 0, kColumn, 1400};
             CRenderUtil::DrawMarkupText(column.dc.Get(), &manager, rc, longMarkup.c_str(),
                                         0xFF000000, nullptr, nullptr, noLinks,
                                         DT_WORDBREAK | DT_CALCRECT);
         }},
        {"paragraph of 10 000 characters, size",
         [&] {
             RECT rc = {0, 0, kColumn, 1400};
             CRenderUtil::DrawMarkupText(column.dc.Get(), &manager, rc, smallParagraph.c_str(),
                                         0xFF000000, nullptr, nullptr, noLinks,
                                         DT_WORDBREAK | DT_CALCRECT);
         }},
        {"paragraph of 100 000 characters, size",
         [&] {
             RECT rc = {0, 0, kColumn, 1400};
             CRenderUtil::DrawMarkupText(column.dc.Get(), &manager, rc, largeParagraph.c_str(),
                                         0xFF000000, nullptr, nullptr, noLinks,
                                         DT_WORDBREAK | DT_CALCRECT);
         }},
    };
    const std::vector<double> best = LorvikBench::BestOfRounds(cases, kRounds);

    RECT size = {0, 0, kColumn, 1400};
    CRenderUtil::DrawMarkupText(column.dc.Get(), &manager, size, longMarkup.c_str(), 0xFF000000,
                                nullptr, nullptr, noLinks, DT_WORDBREAK | DT_CALCRECT);
    std::printf("markup: microseconds per call, best of %d rounds\n", kRounds);
    for (std::size_t i = 0; i < cases.size(); ++i)
        std::printf("  %-40s %10.1f us\n", cases[i].name, best[i]);
    std::printf("  countdown, mark-up / plain: %.2f x (target: at most 3 x)\n", best[1] / best[0]);
    std::printf("  2 000 characters in %d px (%d x %d px drawn): %.2f ms (target: under 2 ms), "
                "%.2f x plain\n",
                kColumn, static_cast<int>(size.right), static_cast<int>(size.bottom),
                best[3] / 1000, best[3] / best[2]);
    std::printf("  paragraph, 10 x the characters: %.1f x the time (target: at most 12 x)\n",
                best[6] / best[5]);
    return 0;
}
