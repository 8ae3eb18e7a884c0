#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <stb_image_write.h>

#include "tests/Canvas.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WindowManagerUI.h"

using Veneer::CRenderUtil;
using Veneer::CUIString;
using Veneer::CWindowManagerUI;
using Veneer::TFontEntry;
using VeneerTest::Canvas;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kLinkColor = 0xFF0000FF;
constexpr DWORD kHotLinkColor = 0xFF00C000;

// "验证码将在" and "秒后过期" in GBK.
const std::string kCodeExpiresIn = "\xD1\xE9\xD6\xA4\xC2\xEB\xBD\xAB\xD4\xDA";
const std::string kSeconds = "\xC3\xEB\xBA\xF3\xB9\xFD\xC6\xDA";

int Red(std::uint32_t c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
int Green(std::uint32_t c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
int Blue(std::uint32_t c)
{
    return static_cast<int>(c & 0xFF);
}

bool IsInk(std::uint32_t c)
{
    return c != kWhite;
}

// The smallest rectangle around the pixels that pass a test; empty when none does.
template <class Test>
RECT InkBox(const Canvas& canvas, Test test)
{
    const RECT bounds = canvas.Bounds();
    RECT box = {bounds.right, bounds.bottom, 0, 0};
    for (int y = 0; y < bounds.bottom; ++y) {
        for (int x = 0; x < bounds.right; ++x) {
            if (test(canvas.At(x, y)))
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box;
}

// The pixel farthest from white: the middle of a stroke, in the text's own colour.
std::uint32_t StrongestInk(const Canvas& canvas)
{
    std::uint32_t strongest = kWhite;
    const RECT bounds = canvas.Bounds();
    for (int y = 0; y < bounds.bottom; ++y) {
        for (int x = 0; x < bounds.right; ++x) {
            const std::uint32_t c = canvas.At(x, y);
            if (Red(c) + Green(c) + Blue(c) < Red(strongest) + Green(strongest) + Blue(strongest))
                strongest = c;
        }
    }
    return strongest;
}

// A hidden window whose manager knows where the mouse was last.
struct HostWindow {
    HostWindow()
        : window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                 nullptr, nullptr))
    {
    }
    ~HostWindow() { DestroyWindow(window); }
    HWND window;
};

class MarkupTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        s_folder =
            std::string(temp) + "lorvik-markup-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(s_folder.c_str(), nullptr);
        // Two 4 x 6 sub-images side by side, red then green; and one 4 x 40.
        WritePng("strip.png", 8, 6, [](int x) { return x < 4 ? 0xFF0000FFu : 0xFF00FF00u; });
        WritePng("tall.png", 4, 40, [](int) { return 0xFF000000u; });
    }

    static void TearDownTestSuite()
    {
        DeleteFileA((s_folder + "strip.png").c_str());
        DeleteFileA((s_folder + "tall.png").c_str());
        RemoveDirectoryA(s_folder.c_str());
    }

    // stb writes R, G, B, A bytes; the colours here are 0xAABBGGRR.
    template <class Color>
    static void WritePng(const char* name, int width, int height, Color color)
    {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
        for (int i = 0; i < width * height; ++i)
            pixels[static_cast<std::size_t>(i)] = color(i % width);
        stbi_write_png((s_folder + name).c_str(), width, height, 4, pixels.data(), width * 4);
    }

    void SetUp() override
    {
        CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        CWindowManagerUI::SetResourcePath(s_folder.c_str());
        m_manager.Init(m_host.window);
        m_manager.AddFont("Tahoma", 20, false, false, false);  // 0
        m_manager.AddFont("Tahoma", 30, false, false, false);  // 1
        const TFontEntry* normal = m_manager.GetDefaultFontEntry();
        m_manager.AddFont(normal->face, normal->size, true, false,
                          false);  // 2: the default in bold
        m_manager.SetLinkFontColor(kLinkColor);
        m_manager.SetLinkHoverFontColor(kHotLinkColor);
        m_canvas.Clear(kWhite);
    }

    void TearDown() override { CWindowManagerUI::SetResourcePath(""); }

    RECT Measure(const std::string& text, UINT format = 0, int width = 9999)
    {
        RECT rc = {0, 0, width, 100};
        int noLinks = 0;
        CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, text.c_str(), kBlack, nullptr,
                                    nullptr, noLinks, format | DT_CALCRECT);
        return rc;
    }

    void Draw(const std::string& text, RECT rc, UINT format = 0)
    {
        int noLinks = 0;
        CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, text.c_str(), kBlack, nullptr,
                                    nullptr, noLinks, format);
    }

    int Width(const char* text, int font = -1)
    {
        const TFontEntry* entry = m_manager.GetFontEntry(font);
        const HGDIOBJ previous = SelectObject(m_canvas.Dc(), entry->font);
        SIZE size = {};
        GetTextExtentPoint32A(m_canvas.Dc(), text, static_cast<int>(std::strlen(text)), &size);
        SelectObject(m_canvas.Dc(), previous);
        return size.cx;
    }

    int LineHeight(int font = -1)
    {
        Measure("x");  // the metrics are taken when a font is first drawn with
        const TEXTMETRICA& metrics = m_manager.GetFontEntry(font)->metrics;
        return metrics.tmHeight + metrics.tmExternalLeading;
    }

    std::vector<std::uint32_t> Pixels(const RECT& area) const
    {
        std::vector<std::uint32_t> pixels;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                pixels.push_back(m_canvas.At(x, y));
        }
        return pixels;
    }

    static std::string s_folder;
    HostWindow m_host;
    CWindowManagerUI m_manager;
    Canvas m_canvas{300, 100};
};

std::string MarkupTextTest::s_folder;

// The width of marked-up text is the sum of its plain pieces, each in its font.
TEST_F(MarkupTextTest, MeasuresLikeItsPlainPieces)
{
    struct Piece {
        const char* text;
        int font;
    };
    struct Case {
        std::string markup;
        std::vector<Piece> pieces;
    };
    std::string nested;
    for (int i = 0; i < 40; ++i)
        nested += "{f 1}";
    nested += "x";
    for (int i = 0; i < 40; ++i)
        nested += "{/f}";
    const Case cases[] = {
        {"{f 0}ab{/f}ab", {{"ab", 0}, {"ab", -1}}},
        {"<f 0>ab</f>ab", {{"ab", 0}, {"ab", -1}}},
        {"{f 1}{c #FF0000}59{/c}{/f}", {{"59", 1}}},
        {"{r}{b}{/r}", {{"{b}", -1}}},
        {"{r}<b>x</r>y", {{"<b>x", -1}, {"y", -1}}},
        {"<{>", {{"{", -1}}},
        {"<}>", {{"}", -1}}},
        {"{<}", {{"<", -1}}},
        {"{>}", {{">", -1}}},
        {"{bold}", {{"{bold}", -1}}},
        {"a{f 1", {{"a", -1}, {"{f 1", -1}}},
        // Unbalanced closings pop nothing; unknown tags are consumed.
        {"{/c}{/f}{/b}ab{z}{/z}{q 5}cd", {{"ab", -1}, {"cd", -1}}},
        // A {b} inside bold text is matched by its own {/b}: y stays bold.
        {"{b}{b}x{/b}y{/b}z", {{"x", 2}, {"y", 2}, {"z", -1}}},
        // Nesting deeper than is followed still balances.
        {nested + "y", {{"x", 1}, {"y", -1}}},
        {"{f 7}a{/f}", {{"a", -1}}},  // no font 7: the default font
    };
    for (const Case& c : cases) {
        int width = 0;
        for (const Piece& piece : c.pieces)
            width += Width(piece.text, piece.font);
        EXPECT_EQ(width, Measure(c.markup).right) << c.markup;
    }
    EXPECT_EQ(Width("a") + 10 + Width("b"), Measure("a{x 10}b").right);
}

// "한글" as text of code page 65001, which the system's code page (GBK) cannot hold: the
// mark-up and the plain text measure and draw it as the wide functions do.
TEST_F(MarkupTextTest, DrawsAndMeasuresEveryCharacterOfTheTextCodePage)
{
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_UTF8));
    const char korean[] = "\xED\x95\x9C\xEA\xB8\x80";
    const wchar_t wide[] = L"\uD55C\uAE00";
    Canvas expected{300, 100};
    expected.Clear(kWhite);
    const HGDIOBJ previous = SelectObject(expected.Dc(), m_manager.GetDefaultFontEntry()->font);
    SetBkMode(expected.Dc(), TRANSPARENT);
    SetTextColor(expected.Dc(), 0);
    TextOutW(expected.Dc(), 0, 0, wide, 2);
    SIZE size = {};
    GetTextExtentPoint32W(expected.Dc(), wide, 2, &size);
    SelectObject(expected.Dc(), previous);

    EXPECT_EQ(size.cx, Measure(korean).right);
    Draw(korean, {0, 0, 300, 100});
    const std::vector<std::uint32_t> markup = Pixels({0, 0, 300, 100});
    m_canvas.Clear(kWhite);
    RECT rc = {0, 0, 300, 100};
    CRenderUtil::DrawPlainText(m_canvas.Dc(), &m_manager, rc, korean, kBlack, -1, 0);
    const std::vector<std::uint32_t> plain = Pixels({0, 0, 300, 100});
    ASSERT_TRUE(Veneer::SetTextCodePage(CP_ACP));
    std::vector<std::uint32_t> reference;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x)
            reference.push_back(expected.At(x, y));
    }
    EXPECT_TRUE(markup == reference) << "mark-up";
    EXPECT_TRUE(plain == reference) << "plain text";
}

TEST_F(MarkupTextTest, MeasuresLinesAndLineHeights)
{
    const int line = LineHeight();
    const int big = LineHeight(1);
    struct Case {
        const char* markup;
        UINT format;
        int width;   // of the rectangle
        int right;   // measured
        int bottom;  // measured
    };
    const int ab = Width("ab");
    const Case cases[] = {
        {"ab{n}cd", 0, 9999, std::max(ab, Width("cd")), 2 * line},
        {"ab{n}cd", DT_SINGLELINE, 9999, ab + Width("cd"), line},
        {"ab\ncd", 0, 9999, std::max(ab, Width("cd")), 2 * line},
        {"ab\n", 0, 9999, ab, 2 * line},
        {"ab{f 1}c{/f}", 0, 9999, ab + Width("c", 1), big},
        {"ab{y 40}", 0, 9999, ab, 40},
        {"{p 7}a{n}b{/p}", 0, 9999, std::max(Width("a"), Width("b")), 2 * line + 7},
        // Word break keeps "aa " on the first line; without it the line is cut in a word.
        {"aa b", DT_WORDBREAK, Width("aa "), Width("aa "), 2 * line},
        {"aa bb", 0, Width("aa b"), Width("aa b"), 2 * line},
        // A word in a run of its own is not split when the line has text before it.
        {"aa {x 0}bbb", DT_WORDBREAK, Width("aa bb"), std::max(Width("aa "), Width("bbb")),
         2 * line},
        {"", 0, 9999, 0, line},
    };
    for (const Case& c : cases) {
        const RECT rc = Measure(c.markup, c.format, c.width);
        EXPECT_EQ(c.right, rc.right) << c.markup;
        EXPECT_EQ(c.bottom, rc.bottom) << c.markup;
    }

    // A column narrower than a character still takes one character per line.
    EXPECT_EQ(3 * line, Measure("abc", DT_END_ELLIPSIS, 1).bottom);
    EXPECT_EQ(3 * line, Measure("abc", DT_WORDBREAK, 1).bottom);
}

TEST_F(MarkupTextTest, CalculatingOnlyDrawsNothing)
{
    Measure("{s}ab{/s}{c #FF0000}cd{i strip.png 2 1}{a x}e{/a}");
    for (std::uint32_t pixel : Pixels(m_canvas.Bounds()))
        ASSERT_EQ(kWhite, pixel);
}

// Each part is drawn in its font and colour with the bottoms of their lines on one edge:
// the same pixels as the three parts drawn by hand at those places.
TEST_F(MarkupTextTest, ClipsToItsRectangleAndGivesBackTheClipItFound)
{
    const HDC dc = m_canvas.Dc();
    HRGN found = CreateRectRgn(0, 0, 0, 0);
    Draw("{f 1}abcdefghijklmnopqrstuvwxyz{n}abc{n}abc", {20, 10, 80, 40});
    const RECT ink = InkBox(m_canvas, IsInk);
    EXPECT_TRUE(ink.left >= 20 && ink.top >= 10 && ink.right <= 80 && ink.bottom <= 40);
    EXPECT_EQ(0, GetClipRgn(dc, found));  // none before, none after

    HRGN round = CreateRoundRectRgn(0, 0, 100, 60, 30, 30);
    SelectClipRgn(dc, round);
    Draw("ab", {10, 10, 200, 50});
    ASSERT_EQ(1, GetClipRgn(dc, found));
    EXPECT_TRUE(EqualRgn(found, round));
    SelectClipRgn(dc, nullptr);
    DeleteObject(round);
    DeleteObject(found);
}

TEST_F(MarkupTextTest, CountdownSharesOneBottomLineInFontOneAndRed)
{
    const std::string text = kCodeExpiresIn + "{f 1}{c #FF0000}59{/c}{/f}" + kSeconds;
    const int line = LineHeight(1);
    EXPECT_EQ(line, Measure(text).bottom);
    Draw(text, {0, 0, 300, 60});
    const std::vector<std::uint32_t> drawn = Pixels(m_canvas.Bounds());

    m_canvas.Clear(kWhite);
    const HDC dc = m_canvas.Dc();
    SetBkMode(dc, TRANSPARENT);
    int x = 0;
    const int lower = line - LineHeight();
    const struct {
        const std::string& text;
        int font;
        COLORREF color;
        int y;
    } parts[] = {{kCodeExpiresIn, -1, RGB(0, 0, 0), lower},
                 {"59", 1, RGB(255, 0, 0), 0},
                 {kSeconds, -1, RGB(0, 0, 0), lower}};
    for (const auto& part : parts) {
        const HGDIOBJ previous = SelectObject(dc, m_manager.GetFontEntry(part.font)->font);
        SetTextColor(dc, part.color);
        TextOutA(dc, x, part.y, part.text.c_str(), static_cast<int>(part.text.size()));
        SelectObject(dc, previous);
        x += Width(part.text.c_str(), part.font);
    }
    EXPECT_TRUE(drawn == Pixels(m_canvas.Bounds()));
    EXPECT_GT(lower, 0);
}

TEST_F(MarkupTextTest, UnderlineStaysUnderItsText)
{
    Draw("{u}ab{/u}cd", {0, 0, 300, 40});
    const RECT ink = InkBox(m_canvas, IsInk);
    const int underlined = Width("ab");
    int inUnderline = 0;
    for (int x = 0; x < 300; ++x) {
        if (IsInk(m_canvas.At(x, ink.bottom - 1))) {
            EXPECT_LT(x, underlined + 1);
            ++inUnderline;
        }
    }
    EXPECT_GE(inUnderline, underlined - 2);
}

TEST_F(MarkupTextTest, AlignsASingleLineOnItsMeasuredSize)
{
    const std::string text = "a{f 1}Bg{/f}";
    const RECT size = Measure(text);
    const int width = size.right;
    const int height = size.bottom;
    const RECT area = {10, 5, 290, 95};
    struct Case {
        UINT format;
        RECT same;  // the rectangle that, drawn without alignment, gives the same pixels
    };
    const Case cases[] = {
        {DT_VCENTER, {10, 5 + 45 - height / 2, 290, 95}},
        {DT_CENTER, {10 + 140 - width / 2, 5, 290, 95}},
        {DT_RIGHT, {290 - width, 5, 290, 95}},
        {DT_CENTER | DT_VCENTER, {10 + 140 - width / 2, 5 + 45 - height / 2, 290, 95}},
    };
    for (const Case& c : cases) {
        m_canvas.Clear(kWhite);
        Draw(text, area, c.format | DT_SINGLELINE);
        const std::vector<std::uint32_t> aligned = Pixels(m_canvas.Bounds());
        m_canvas.Clear(kWhite);
        Draw(text, c.same, DT_SINGLELINE);
        EXPECT_TRUE(aligned == Pixels(m_canvas.Bounds())) << c.format;
    }
}

// The dots follow the shortened run on its own bottom line, also in a taller line.
TEST_F(MarkupTextTest, EllipsisGivesUpCharactersForDots)
{
    const int width = Width("X", 1) + Width("abcdef") + 1;
    Draw("{f 1}X{/f}abcdefghij", {0, 0, width, 60}, DT_SINGLELINE | DT_END_ELLIPSIS);
    const std::vector<std::uint32_t> cut = Pixels({0, 0, width, 60});
    m_canvas.Clear(kWhite);
    Draw("{f 1}X{/f}abcd...", {0, 0, 300, 60}, DT_SINGLELINE);
    EXPECT_TRUE(cut == Pixels({0, 0, width, 60}));
    EXPECT_EQ(width, Measure("abcdefghijkl", DT_SINGLELINE | DT_END_ELLIPSIS, width).right);
}

TEST_F(MarkupTextTest, ColourTagsTakeSixOrEightDigits)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"{c #FF0000}", 0xFF0000},
        {"{c FF0000}", 0xFF0000},
        {"<c #0000FF>", 0x0000FF},
        // Eight digits with the top bit set keep their colour; the alpha byte is ignored.
        {"{c #FFFF0000}", 0xFF0000},
        {"{c #8000C000}", 0x00C000},
    };
    for (const auto& [tag, color] : cases) {
        m_canvas.Clear(kWhite);
        Draw(std::string("{f 1}{b}") + tag + "HH", {0, 0, 300, 60});
        EXPECT_EQ(color, StrongestInk(m_canvas)) << tag;
    }
}

TEST_F(MarkupTextTest, LinksRecordRectanglesAndShowTheHotOne)
{
    RECT links[4] = {};
    CUIString texts[4];
    int count = 4;
    const std::string text = "{f 1}x{a one}ab{/a}y{a two}cd{/a}";
    auto draw = [&] {
        m_canvas.Clear(kWhite);
        count = 4;
        RECT rc = {0, 0, 300, 60};
        CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, text.c_str(), kBlack, links,
                                    texts, count, 0);
    };
    draw();
    ASSERT_EQ(2, count);
    EXPECT_STREQ("one", texts[0].GetData());
    EXPECT_STREQ("two", texts[1].GetData());
    const int x = Width("x", 1);
    const int line = LineHeight(1);
    const RECT expected[2] = {{x, 0, x + Width("ab", 1), line},
                              {x + Width("ab", 1) + Width("y", 1), 0,
                               x + Width("ab", 1) + Width("y", 1) + Width("cd", 1), line}};
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(EqualRect(&expected[i], &links[i]))
            << i << ": " << links[i].left << "," << links[i].right;
    auto inkIn = [&](const RECT& area) {
        std::uint32_t strongest = kWhite;
        for (std::uint32_t c : Pixels(area))
            strongest =
                Red(c) + Green(c) + Blue(c) < Red(strongest) + Green(strongest) + Blue(strongest)
                    ? c
                    : strongest;
        return strongest;
    };
    EXPECT_EQ(0x0000FFu, inkIn(links[0]));
    EXPECT_EQ(0x0000FFu, inkIn(links[1]));

    LRESULT result = 0;
    m_manager.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(links[1].left + 2, 5), result);
    draw();
    EXPECT_EQ(0x0000FFu, inkIn(links[0]));
    EXPECT_EQ(0x00C000u, inkIn(links[1]));
}

TEST_F(MarkupTextTest, LinksGoOnOverLinesAndStopAtTheCapacity)
{
    RECT links[3] = {};
    CUIString texts[3];
    int count = 3;
    RECT rc = {0, 0, Width("aa b"), 100};
    CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, "{a L}aa bb{/a}", kBlack, links,
                                texts, count, DT_WORDBREAK);
    ASSERT_EQ(2, count);
    const int line = LineHeight();
    const RECT first = {0, 0, Width("aa "), line};
    const RECT second = {0, line, Width("bb"), 2 * line};
    EXPECT_TRUE(EqualRect(&first, &links[0]));
    EXPECT_TRUE(EqualRect(&second, &links[1]));
    EXPECT_STREQ("L", texts[1].GetData());

    // One slot: the second part is not written past it.
    links[1] = {};
    texts[1] = "untouched";
    count = 1;
    rc = {0, 0, Width("aa b"), 100};
    CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, "{a L}aa bb{/a}{a M}c{/a}", kBlack,
                                links, texts, count, DT_WORDBREAK);
    EXPECT_EQ(1, count);
    EXPECT_STREQ("untouched", texts[1].GetData());
    EXPECT_EQ(0, links[1].right);

    // Nothing drawn, nothing recorded.
    count = 3;
    rc = {0, 0, 0, 0};
    CRenderUtil::DrawMarkupText(m_canvas.Dc(), &m_manager, rc, "{a L}aa{/a}", kBlack, links, texts,
                                count, 0);
    EXPECT_EQ(0, count);
}

TEST_F(MarkupTextTest, InlineImagesTakeOneSubImageOnTheLine)
{
    EXPECT_EQ(Width("a") + 4 + Width("b"), Measure("a{i strip.png 2 1}b").right);
    EXPECT_EQ(Width("a") + 4 + Width("b"), Measure("a{i file='strip.png' 2 1}b").right);
    EXPECT_EQ(40, Measure("a{i tall.png}").bottom);
    EXPECT_EQ(Width("ab"), Measure("a{i missing.png}b").right);
    EXPECT_EQ(4, Measure("{i tall.png}").right);

    Draw("a{i strip.png 2 1}b", {0, 0, 300, 40});
    EXPECT_LT(InkBox(m_canvas, [](std::uint32_t c) { return c == 0x00FF00; }).left, 300);
    EXPECT_EQ(300, InkBox(m_canvas, [](std::uint32_t c) { return c == 0xFF0000; }).left);

    // An image that does not fit goes to the next line, unless the line is empty.
    const int line = LineHeight();
    EXPECT_EQ(2 * line, Measure("a{i strip.png 2}", 0, Width("a") + 2).bottom);
    EXPECT_EQ(6 > line ? 6 : line, Measure("{i strip.png}", 0, 2).bottom);
}

// Random mark-up of every kind must neither crash nor hang: tags with both brackets,
// huge numbers, deep nesting, raw passages and a lead byte at the very end.
TEST_F(MarkupTextTest, SurvivesRandomMarkup)
{
    const char* const pieces[] = {"{f 1}",
                                  "{f 0}",
                                  "<f 2>",
                                  "{/f}",
                                  "</f>",
                                  "{c #FF0000}",
                                  "{c FFFFFFFFFF}",
                                  "{/c}",
                                  "{b}",
                                  "{/b}",
                                  "{i}",
                                  "{/i}",
                                  "{u}",
                                  "{/u}",
                                  "{a x}",
                                  "{a y z}",
                                  "{/a}",
                                  "{n}",
                                  "{p 3}",
                                  "{/p}",
                                  "{r}",
                                  "{/r}",
                                  "</r>",
                                  "{s}",
                                  "{/s}",
                                  "{x 5}",
                                  "{x -99999999999}",
                                  "{y 99999999999}",
                                  "{y -5}",
                                  "{x 2147483647}",
                                  "{p 2147483647}",
                                  "{i strip.png 2 1}",
                                  "{i strip.png 99999999999 -3}",
                                  "{i file='tall.png'}",
                                  "{f Tahoma 99999999999 bold}",
                                  "{f Tahoma -5}",
                                  "{f Tahoma 12 italic underline}",
                                  "{z}",
                                  "{/z}",
                                  "<{>",
                                  "<}>",
                                  "{<}",
                                  "{>}",
                                  "{",
                                  "<",
                                  "}",
                                  ">",
                                  " ",
                                  "\n",
                                  "ab",
                                  "word ",
                                  "\xD1\xE9\xD6\xA4",
                                  "\x81",
                                  "\xD1{",
                                  "{f",
                                  "{c #",
                                  "{/"};
    const int kinds = static_cast<int>(sizeof pieces / sizeof pieces[0]);
    const UINT formats[] = {0,
                            DT_SINGLELINE,
                            DT_WORDBREAK,
                            DT_END_ELLIPSIS | DT_SINGLELINE,
                            DT_WORDBREAK | DT_END_ELLIPSIS,
                            DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                            DT_SINGLELINE | DT_RIGHT,
                            DT_CALCRECT,
                            DT_CALCRECT | DT_WORDBREAK};
    Canvas small(48, 24);
    RECT links[3] = {};
    CUIString texts[3];
    std::uint32_t seed = 12345;
    auto next = [&seed](int bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(bound));
    };
    std::string text;
    for (int round = 0; round < 100000; ++round) {
        text.clear();
        const int length = 1 + next(16);
        for (int i = 0; i < length; ++i)
            text += pieces[next(kinds)];
        for (int depth = round % 50 == 0 ? 60 : 0; depth > 0; --depth)
            text += "{f 1}<c #00FF00>";
        if (round % 7 == 0)
            text += '\xD1';  // a lead byte without its second byte
        RECT rc = {next(8), next(8), 8 + next(48), 8 + next(24)};
        int count = next(4);
        CRenderUtil::DrawMarkupText(
            small.Dc(), &m_manager, rc, text.c_str(), kBlack, links, texts, count,
            formats[next(static_cast<int>(sizeof formats / sizeof formats[0]))]);
        ASSERT_GE(count, 0);
        ASSERT_LE(count, 3);
    }
}

}  // namespace
