#include "ui/core/RenderUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tests/Canvas.h"
#include "ui/core/base/Heap.h"
#include "ui/core/WindowManagerUI.h"

using Veneer::CRenderUtil;
using Veneer::CWindowManagerUI;
using Veneer::TClipState;
using Veneer::TImageEntry;
using VeneerTest::Canvas;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::uint32_t Rgb(std::uint32_t argb)
{
    return argb & 0xFFFFFF;
}

int Channel(std::uint32_t value, int shift)
{
    return static_cast<int>((value >> shift) & 0xFF);
}

// Each of red, green and blue within one step of the expected value.
::testing::AssertionResult Near(std::uint32_t expected, std::uint32_t actual)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(expected, shift) - Channel(actual, shift)) > 1)
            return ::testing::AssertionFailure()
                   << std::hex << "expected " << expected << ", got " << actual;
    }
    return ::testing::AssertionSuccess();
}

std::uint32_t ImagePixel(const TImageEntry* image, int x, int y)
{
    DIBSECTION section = {};
    GetObjectA(image->bitmap, sizeof(section), &section);
    return static_cast<const std::uint32_t*>(section.dsBm.bmBits)[y * image->width + x];
}

// 4 x 4 opaque pixels, each of its own colour.
std::uint32_t GridColor(int x, int y)
{
    return 0xFF000000u | static_cast<std::uint32_t>(x * 60 + 10) << 16 |
           static_cast<std::uint32_t>(y * 60 + 10) << 8 | 0x80u;
}

// A 6 x 6 frame: a 2-pixel border in red around a green middle.
std::uint32_t FrameColor(int x, int y)
{
    return (x < 2 || y < 2 || x > 3 || y > 3) ? kRed : kGreen;
}

// Images written as PNG files into a folder of their own, made the resource path.
class RenderUtilTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        s_folder =
            std::string(temp) + "lorvik-render-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(s_folder.c_str(), nullptr);
        WritePng("grid4.png", 4, 4, GridColor);
        WritePng("frame6.png", 6, 6, FrameColor);
        WritePng("red.png", 2, 2, [](int, int) { return kRed; });
        WritePng("green.png", 2, 2, [](int, int) { return kGreen; });
        WritePng("mask.png", 2, 1, [](int x, int) { return x == 0 ? kRed : kGreen; });
        WriteFile("broken.png", "\x89PNG not really");
    }

    static void TearDownTestSuite()
    {
        for (const std::string& name : s_files)
            DeleteFileA((s_folder + name).c_str());
        RemoveDirectoryA(s_folder.c_str());
    }

    void SetUp() override
    {
        CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        CWindowManagerUI::SetResourcePath(s_folder.c_str());
    }

    void TearDown() override { CWindowManagerUI::SetResourcePath(""); }

    template <class Color>
    static void WritePng(const char* name, int width, int height, Color color)
    {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width * height * 4));
        for (int i = 0; i < width * height; ++i) {
            const std::uint32_t c = color(i % width, i / width);
            for (int channel = 0; channel < 4; ++channel)
                rgba[static_cast<std::size_t>(i * 4 + channel)] =
                    static_cast<std::uint8_t>(c >> (channel == 3 ? 24 : 16 - 8 * channel));
        }
        stbi_write_png((s_folder + name).c_str(), width, height, 4, rgba.data(), width * 4);
        s_files.push_back(name);
    }

    static void WriteFile(const char* name, const std::string& bytes)
    {
        HANDLE file = CreateFileA((s_folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        s_files.push_back(name);
    }

    bool Draw(Canvas& canvas, const RECT& item, const char* attributes,
              const char* modify = nullptr)
    {
        const RECT paint = canvas.Bounds();
        return CRenderUtil::DrawImageSpec(canvas.Dc(), &m_manager, item, paint, attributes, modify);
    }

    static std::string s_folder;
    static std::vector<std::string> s_files;
    CWindowManagerUI m_manager;
};

std::string RenderUtilTest::s_folder;
std::vector<std::string> RenderUtilTest::s_files;

TEST_F(RenderUtilTest, ComboBandIsANineGridWithUnscaledBorders)
{
    Canvas canvas(260, 70);
    canvas.Clear(0);
    const RECT rc = {10, 10, 250, 60};
    ASSERT_TRUE(Draw(canvas, rc, "res='118' restype='png' source='0,22,100,44' corner='2,2,22,2'"));
    const TImageEntry* image = m_manager.GetImage("118");
    ASSERT_NE(nullptr, image);
    ASSERT_EQ(100, image->width);
    ASSERT_EQ(66, image->height);

    // Over black, a blended premultiplied pixel shows exactly its own colour.
    struct Corner {
        int x, y, width, height, sourceX, sourceY;
    };
    const Corner corners[] = {
        {rc.left, rc.top, 2, 2, 0, 22},
        {rc.right - 22, rc.top, 22, 2, 78, 22},
        {rc.left, rc.bottom - 2, 2, 2, 0, 42},
        {rc.right - 22, rc.bottom - 2, 22, 2, 78, 42},
    };
    for (const Corner& c : corners) {
        for (int dy = 0; dy < c.height; ++dy)
            for (int dx = 0; dx < c.width; ++dx)
                ASSERT_EQ(Rgb(ImagePixel(image, c.sourceX + dx, c.sourceY + dy)),
                          canvas.At(c.x + dx, c.y + dy))
                    << "at " << c.x + dx << "," << c.y + dy;
    }
    EXPECT_EQ(Rgb(ImagePixel(image, 40, 33)), canvas.At(120, 35));  // the stretched middle
    for (POINT outside : {POINT{9, 35}, POINT{250, 35}, POINT{120, 9}, POINT{120, 60}})
        EXPECT_EQ(0u, canvas.At(outside.x, outside.y)) << outside.x << "," << outside.y;
}

TEST_F(RenderUtilTest, SourceIsCutToTheImageAndZeroMeansAll)
{
    struct Case {
        const char* attributes;
        RECT rc;
        int sourceX, sourceY;
    };
    const Case cases[] = {
        {"file='grid4.png'", {0, 0, 4, 4}, 0, 0},
        {"file='grid4.png' source='0,0,50,50'", {0, 0, 4, 4}, 0, 0},
        {"file='grid4.png' source='2,1,50,50'", {0, 0, 2, 3}, 2, 1},
    };
    for (const Case& c : cases) {
        Canvas canvas(8, 8);
        canvas.Clear(0);
        Draw(canvas, c.rc, c.attributes);
        for (int y = c.rc.top; y < c.rc.bottom; ++y)
            for (int x = c.rc.left; x < c.rc.right; ++x)
                ASSERT_EQ(Rgb(GridColor(c.sourceX + x, c.sourceY + y)), canvas.At(x, y))
                    << c.attributes << " at " << x << "," << y;
        EXPECT_EQ(0u, canvas.At(c.rc.right, 0)) << c.attributes;
    }
}

TEST_F(RenderUtilTest, DestIsCutAtTheItemsRightAndBottomOnly)
{
    struct Case {
        const char* attributes;
        RECT painted;
    };
    const Case cases[] = {
        {"file='red.png' dest='5,5,100,100'", {15, 15, 30, 30}},
        {"file='red.png' dest='-5,-5,10,10'", {5, 5, 20, 20}},
    };
    const RECT item = {10, 10, 30, 30};
    for (const Case& c : cases) {
        Canvas canvas(40, 40);
        canvas.Clear(0);
        Draw(canvas, item, c.attributes);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= c.painted.left && x < c.painted.right &&
                                    y >= c.painted.top && y < c.painted.bottom;
                ASSERT_EQ(inside ? Rgb(kRed) : 0u, canvas.At(x, y))
                    << c.attributes << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(RenderUtilTest, TiledMiddlesRepeatTheSourceFromItsCornerInThePaintRectangleOnly)
{
    struct Case {
        const char* attributes;
        RECT rc;
        int periodX, periodY;  // 0: the axis is drawn 1:1
        RECT spot;             // a repaint of a part, away from the first tile
    };
    const Case cases[] = {
        {"file='grid4.png' xtiled='true'", {0, 0, 10, 4}, 4, 0, {5, 1, 7, 3}},
        {"file='grid4.png' ytiled='true'", {0, 0, 4, 10}, 0, 4, {1, 5, 3, 7}},
        {"file='grid4.png' xtiled='true' ytiled='true'", {0, 0, 10, 10}, 4, 4, {5, 5, 7, 7}},
    };
    for (const Case& c : cases) {
        for (const RECT& paint : {RECT{0, 0, 12, 12}, c.spot}) {
            Canvas canvas(12, 12);
            canvas.Clear(0);
            CRenderUtil::DrawImageSpec(canvas.Dc(), &m_manager, c.rc, paint, c.attributes);
            for (int y = paint.top; y < std::min(c.rc.bottom, paint.bottom); ++y) {
                for (int x = paint.left; x < std::min(c.rc.right, paint.right); ++x) {
                    const int sx = c.periodX ? x % c.periodX : x;
                    const int sy = c.periodY ? y % c.periodY : y;
                    ASSERT_EQ(Rgb(GridColor(sx, sy)), canvas.At(x, y))
                        << c.attributes << " at " << x << "," << y;
                }
            }
            EXPECT_EQ(0u, canvas.At(c.rc.right, 0)) << c.attributes;
        }
        Canvas canvas(12, 12);
        canvas.Clear(0);
        CRenderUtil::DrawImageSpec(canvas.Dc(), &m_manager, c.rc, c.spot, c.attributes);
        EXPECT_EQ(0u, canvas.At(0, 0)) << c.attributes << ": a tile out of the paint rectangle";
    }
}

TEST_F(RenderUtilTest, HoleLeavesTheMiddleOfTheNineGridAlone)
{
    for (bool hole : {false, true}) {
        Canvas canvas(12, 12);
        canvas.Clear(Rgb(kBlue));
        Draw(canvas, {0, 0, 12, 12},
             hole ? "file='frame6.png' corner='2,2,2,2' hole='true'"
                  : "file='frame6.png' corner='2,2,2,2'");
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool border = x < 2 || y < 2 || x >= 10 || y >= 10;
                const std::uint32_t expected = border ? kRed : hole ? kBlue : kGreen;
                ASSERT_EQ(Rgb(expected), canvas.At(x, y))
                    << "hole " << hole << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(RenderUtilTest, TwoFileItemsDrawTwoImages)
{
    Canvas canvas(8, 4);
    canvas.Clear(0);
    Draw(canvas, {0, 0, 8, 4}, "file='red.png' dest='0,0,2,2' file='green.png' dest='4,0,6,2'");
    EXPECT_EQ(Rgb(kRed), canvas.At(1, 1));
    EXPECT_EQ(0u, canvas.At(3, 1));
    EXPECT_EQ(Rgb(kGreen), canvas.At(4, 0));
    EXPECT_EQ(0u, canvas.At(6, 0));
}

TEST_F(RenderUtilTest, ImagesThatCannotBeLoadedDrawNothingAndReportIt)
{
    Canvas canvas(4, 4);
    canvas.Clear(Rgb(kBlue));
    for (const char* attributes : {"file='missing.png'", "file='broken.png'",
                                   "res='abc' restype='png'", "res='9999' restype='png'", ""}) {
        EXPECT_FALSE(Draw(canvas, {0, 0, 4, 4}, attributes)) << attributes;
        EXPECT_EQ(Rgb(kBlue), canvas.At(1, 1)) << attributes;
    }
    EXPECT_TRUE(Draw(canvas, {0, 0, 4, 4}, "file='red.png' dest='0,0,2,2' file='missing.png'"))
        << "one image loads: the string is worth keeping";
    EXPECT_EQ(Rgb(kRed), canvas.At(1, 1)) << "the image that loads is still drawn";
    EXPECT_TRUE(Draw(canvas, {0, 0, 4, 4}, "file='red.png' dest='8,8,9,9'"))
        << "found, out of sight";
    const RECT rc = {0, 0, 4, 4};
    EXPECT_FALSE(CRenderUtil::DrawImageSpec(nullptr, &m_manager, rc, rc, "file='red.png'"));
    EXPECT_FALSE(CRenderUtil::DrawImageSpec(canvas.Dc(), nullptr, rc, rc, "file='red.png'"));
}

TEST_F(RenderUtilTest, MaskMakesOnlyThatExactPremultipliedValueTransparent)
{
    struct Case {
        DWORD mask;
        bool alphaChannel;
        std::uint32_t first;
    };
    const Case cases[] = {
        {kRed, true, 0},
        {Rgb(kRed), false, kRed},  // without the FF alpha byte it never meets an opaque pixel
        {0, false, kRed},
    };
    for (const Case& c : cases) {
        TImageEntry* image = CRenderUtil::LoadImageData("mask.png", nullptr, c.mask);
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(c.alphaChannel, image->alphaChannel) << std::hex << c.mask;
        EXPECT_EQ(c.first, ImagePixel(image, 0, 0)) << std::hex << c.mask;
        EXPECT_EQ(kGreen, ImagePixel(image, 1, 0)) << std::hex << c.mask;
        Veneer::Heap::Delete(image);
    }

    Canvas canvas(2, 1);
    canvas.Clear(Rgb(kBlue));
    Draw(canvas, {0, 0, 2, 1}, "file='mask.png' mask='#FFFF0000'");
    EXPECT_EQ(Rgb(kBlue), canvas.At(0, 0));
    EXPECT_EQ(Rgb(kGreen), canvas.At(1, 0));
}

TEST_F(RenderUtilTest, PartlyTransparentPixelsArePremultipliedOnLoad)
{
    WritePng("half.png", 1, 1, [](int, int) { return 0x80FF8040u; });
    TImageEntry* image = CRenderUtil::LoadImageData("half.png", nullptr, 0);
    ASSERT_NE(nullptr, image);
    EXPECT_TRUE(image->alphaChannel);
    EXPECT_EQ(
        0x80000000u | (0xFFu * 0x80 / 255) << 16 | (0x80u * 0x80 / 255) << 8 | (0x40u * 0x80 / 255),
        ImagePixel(image, 0, 0));
    Veneer::Heap::Delete(image);
}

TEST_F(RenderUtilTest, GradientBandsFollowTheirArithmetic)
{
    CRenderUtil::UseSoftwareBlending(true);
    const DWORD top = 0xFF102030, bottom = 0xFFF0E0D0;
    const int height = 100;
    for (int steps : {16, 5, 64}) {
        const int k = steps >= 64 ? 6 : steps >= 16 ? 4 : 2;
        const int bands = 1 << k;
        Canvas canvas(3, height);
        canvas.Clear(0);
        CRenderUtil::FillGradient(canvas.Dc(), {0, 0, 3, height}, top, bottom, steps);
        for (int i = 0; i < bands; ++i) {
            auto mix = [&](int shift) {
                return static_cast<std::uint32_t>(
                    (Channel(bottom, shift) * (bands - i) + Channel(top, shift) * i) >> k);
            };
            const std::uint32_t expected = mix(16) << 16 | mix(8) << 8 | mix(0);
            for (int y = height - ((i + 1) * height >> k); y < height - (i * height >> k); ++y)
                ASSERT_EQ(expected, canvas.At(1, y))
                    << "steps " << steps << " band " << i << " row " << y;
        }
    }
    CRenderUtil::UseSoftwareBlending(false);
}

TEST_F(RenderUtilTest, GradientFillRunsFromTopColourToBottomColour)
{
    Canvas canvas(2, 256);
    canvas.Clear(Rgb(kBlue));
    CRenderUtil::FillGradient(canvas.Dc(), {0, 0, 2, 256}, 0xFF000000, 0xFFFFFFFF, 16);
    EXPECT_TRUE(Near(0x000000, canvas.At(0, 0)));
    EXPECT_TRUE(Near(0xFFFFFF, canvas.At(0, 255)));
    for (int y = 1; y < 256; ++y)
        ASSERT_GE(Channel(canvas.At(1, y), 8), Channel(canvas.At(1, y - 1), 8)) << y;

    canvas.Clear(Rgb(kBlue));
    CRenderUtil::FillGradient(canvas.Dc(), {0, 0, 2, 256}, 0x00FF0000, 0x0100FF00, 16);
    EXPECT_EQ(Rgb(kBlue), canvas.At(0, 0));
    EXPECT_EQ(Rgb(kBlue), canvas.At(1, 255));
}

TEST_F(RenderUtilTest, DrawPlainTextUsesTheFontAndShowsAmpersands)
{
    m_manager.AddFont("Tahoma", 12, false, false, false);
    m_manager.AddFont("Tahoma", 30, false, false, false);
    Canvas canvas(200, 60);
    auto measure = [&](const char* text, int font) {
        RECT rc = {0, 0, 200, 60};
        CRenderUtil::DrawPlainText(canvas.Dc(), &m_manager, rc, text, 0xFF000000, font,
                                   DT_SINGLELINE | DT_CALCRECT);
        return rc;
    };
    EXPECT_GT(measure("Ag", 1).bottom, measure("Ag", 0).bottom);
    EXPECT_EQ(measure("Ag", -1).bottom, measure("Ag", 2).bottom);  // both the default font
    EXPECT_GT(measure("a&&b", 0).right, measure("a&b", 0).right);

    canvas.Clear(0xFFFFFF);
    RECT rc = {20, 10, 120, 50};
    CRenderUtil::DrawPlainText(canvas.Dc(), &m_manager, rc, "WWW", kRed, 1, DT_SINGLELINE);
    int inked = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (canvas.At(x, y) != 0xFFFFFF) {
                ASSERT_TRUE(x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
                    << x << "," << y;
                EXPECT_GT(Channel(canvas.At(x, y), 16), Channel(canvas.At(x, y), 8));  // reddish
                ++inked;
            }
        }
    }
    EXPECT_GT(inked, 20);
}

TEST_F(RenderUtilTest, LinesAndFramesDrawOutlinesOnly)
{
    struct Case {
        const char* name;
        void (*draw)(HDC dc);
        std::vector<POINT> inked;
        std::vector<POINT> clear;
    };
    const Case cases[] = {
        {"line",
         [](HDC dc) {
             CRenderUtil::DrawLine(dc, {2, 3, 12, 3}, kRed);
         },
         {{2, 3}, {11, 3}},
         {{12, 3}, {6, 4}}},
        {"frame",
         [](HDC dc) {
             CRenderUtil::DrawFrame(dc, {5, 5, 15, 15}, 2, kRed);
         },
         {{5, 5}, {6, 6}, {14, 14}, {13, 10}},
         {{7, 7}, {10, 10}, {15, 15}, {4, 4}}},
        {"round frame",
         [](HDC dc) {
             CRenderUtil::DrawRoundFrame(dc, {5, 5, 15, 15}, 1, 8, 8, kRed);
         },
         {{10, 5}, {5, 10}, {14, 10}},
         {{5, 5}, {10, 10}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(20, 20);
        canvas.Clear(0xFFFFFF);
        c.draw(canvas.Dc());
        for (POINT p : c.inked)
            EXPECT_EQ(Rgb(kRed), canvas.At(p.x, p.y)) << c.name << " at " << p.x << "," << p.y;
        for (POINT p : c.clear)
            EXPECT_EQ(0xFFFFFFu, canvas.At(p.x, p.y)) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(RenderUtilTest, ClipsLimitDrawingUntilTheyEnd)
{
    Canvas canvas(40, 40);
    canvas.Clear(0);
    {
        TClipState clip;
        CRenderUtil::BeginClip(canvas.Dc(), {10, 10, 20, 20}, clip);
        CRenderUtil::FillColor(canvas.Dc(), canvas.Bounds(), kRed);
        EXPECT_EQ(Rgb(kRed), canvas.At(10, 10));
        EXPECT_EQ(Rgb(kRed), canvas.At(19, 19));
        EXPECT_EQ(0u, canvas.At(9, 10));
        EXPECT_EQ(0u, canvas.At(20, 19));
    }
    {
        TClipState clip;
        const RECT item = {0, 0, 40, 40};
        CRenderUtil::BeginRoundClip(canvas.Dc(), item, item, 20, 20, clip);
        CRenderUtil::FillColor(canvas.Dc(), canvas.Bounds(), kGreen);
        EXPECT_EQ(0u, canvas.At(0, 0));
        EXPECT_EQ(0u, canvas.At(39, 39));
        EXPECT_EQ(Rgb(kGreen), canvas.At(39, 20));
        EXPECT_EQ(Rgb(kGreen), canvas.At(20, 20));
    }
    CRenderUtil::FillColor(canvas.Dc(), canvas.Bounds(), kBlue);
    EXPECT_EQ(Rgb(kBlue), canvas.At(0, 0));
}

// The drawing that blends, once through the platform's AlphaBlend and once through the
// software fallback: both must give the same pixels.
class RenderUtilBlendTest : public RenderUtilTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        RenderUtilTest::SetUp();
        CRenderUtil::UseSoftwareBlending(GetParam());
    }
    void TearDown() override
    {
        CRenderUtil::UseSoftwareBlending(false);
        RenderUtilTest::TearDown();
    }
};

TEST_P(RenderUtilBlendTest, FadeScalesAnOpaqueImage)
{
    Canvas canvas(2, 2);
    canvas.Clear(0xFFFFFF);
    Draw(canvas, {0, 0, 2, 2}, "file='red.png' fade='128'");
    // red * 128/255 + white * (1 - 128/255)
    EXPECT_TRUE(Near(0xFF7F7F, canvas.At(0, 0)));
}

TEST_P(RenderUtilBlendTest, FillColorIsOpaqueOnlyWithAlphaFF)
{
    Canvas canvas(4, 4);
    canvas.Clear(0xFFFFFF);
    CRenderUtil::FillColor(canvas.Dc(), {0, 0, 2, 4}, 0xFF336699);
    // The colour counts as premultiplied: each channel plus white * (255 - 0x80) / 255.
    CRenderUtil::FillColor(canvas.Dc(), {2, 0, 4, 4}, 0x80402010);
    EXPECT_EQ(0x336699u, canvas.At(1, 3));
    EXPECT_TRUE(Near(0xBF9F8F, canvas.At(2, 0)));
    EXPECT_TRUE(Near(0xBF9F8F, canvas.At(3, 3)));
}

TEST_P(RenderUtilBlendTest, TranslucentGradientBlendsWithItsMeanAlpha)
{
    Canvas canvas(2, 16);
    canvas.Clear(0xFFFFFF);
    CRenderUtil::FillGradient(canvas.Dc(), {0, 0, 2, 16}, 0x80FF0000, 0x80FF0000, 16);
    EXPECT_TRUE(Near(0xFF7F7F, canvas.At(0, 0)));
    EXPECT_TRUE(Near(0xFF7F7F, canvas.At(1, 15)));
}

INSTANTIATE_TEST_SUITE_P(Blending, RenderUtilBlendTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Software" : "Platform";
                         });

TEST(SoftAlphaBlendTest, MatchesThePremultipliedFormulaAndThePlatform)
{
    const std::uint32_t source[] = {0xFF204080, 0x80402010, 0x00000000, 0xC0603000};
    const std::uint32_t dest[] = {0xFFFFFFFF, 0x00808080, 0x00102030, 0x00FFFFFF};
    const BYTE constant = 200;
    Canvas from(4, 1), soft(4, 1), platform(4, 1);
    for (int x = 0; x < 4; ++x) {
        from.Set(x, 0, source[x]);
        soft.Set(x, 0, dest[x]);
        platform.Set(x, 0, dest[x]);
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, constant, AC_SRC_ALPHA};
    ASSERT_TRUE(CRenderUtil::SoftAlphaBlend(soft.Dc(), 0, 0, 4, 1, from.Dc(), 0, 0, 4, 1, blend));
    GdiAlphaBlend(platform.Dc(), 0, 0, 4, 1, from.Dc(), 0, 0, 4, 1, blend);
    for (int x = 0; x < 4; ++x) {
        const double w = Channel(source[x], 24) * constant / 65025.0;
        std::uint32_t expected = 0;
        for (int shift : {0, 8, 16}) {
            const double value =
                Channel(source[x], shift) * constant / 255.0 + Channel(dest[x], shift) * (1 - w);
            expected |= static_cast<std::uint32_t>(value + 0.5) << shift;
        }
        EXPECT_EQ(expected, soft.Raw(x, 0)) << x;  // alpha byte 0
        EXPECT_TRUE(Near(platform.At(x, 0), soft.At(x, 0))) << x;
    }
    EXPECT_FALSE(CRenderUtil::SoftAlphaBlend(soft.Dc(), 0, 0, 0, 1, from.Dc(), 0, 0, 4, 1, blend));
}

}  // namespace
