// The pictures: title-bar buttons, the request button, combo frame, scroll-bar parts, menu
// background, check and option boxes, progress and slider parts, and the icon.
#include "tools/artgen/Art.h"

#include <cmath>

namespace artgen {
namespace {

// The skin's header blue and its neighbours.
const Rgba kBlue = Hex(0x4775CC);
const Rgba kBlueLight = Hex(0x5C8ADD);
const Rgba kBlueDeep = Hex(0x3A62B2);
const Rgba kWhite = Hex(0xFFFFFF);
const Rgba kRed = Hex(0xE81123);
const Rgba kRedDeep = Hex(0xB80F1E);
const Rgba kFrame = Hex(0xC4CBD7);
const Rgba kGlyph = Hex(0x6B7385);
const Rgba kTrack = Hex(0xF0F2F5);

enum State { kNormal, kHot, kPushed };

// Title-bar buttons lie on the blue header: hot lightens it, pushed darkens it.
void TitleButtonBackground(Canvas& c, State state)
{
    const Shape all = Box(0, 0, c.Width(), c.Height());
    if (state == kHot)
        c.Fill(all, Hex(0xFFFFFF, 0.20f));
    else if (state == kPushed)
        c.Fill(all, Hex(0x000000, 0.16f));
}

void Minimize(Canvas& c, State state)
{
    TitleButtonBackground(c, state);
    c.Fill(Box(8, 9, 18, 10), kWhite);
}

void Maximize(Canvas& c, State state)
{
    TitleButtonBackground(c, state);
    c.Fill(Outline(Box(8, 4, 17, 13), 1), kWhite);
}

void Restore(Canvas& c, State state)
{
    TitleButtonBackground(c, state);
    c.Fill(Minus(Outline(Box(10, 3, 18, 11), 1), Box(7, 6, 15, 14)), kWhite);
    c.Fill(Outline(Box(7, 6, 15, 14), 1), kWhite);
}

void Close(Canvas& c, State state)
{
    const Shape all = Box(0, 0, c.Width(), c.Height());
    if (state == kHot)
        c.Fill(all, kRed);
    else if (state == kPushed)
        c.Fill(all, kRedDeep);
    const float x = 21.5f, y = 9.0f, r = 4.0f;
    c.Fill(Union(Segment(x - r, y - r, x + r, y + r, 0.62f),
                 Segment(x - r, y + r, x + r, y - r, 0.62f)),
           kWhite);
}

void RequestButton(Canvas& c, State state)
{
    const Rgba base = state == kHot ? kBlueLight : state == kPushed ? kBlueDeep : kBlue;
    const Rgba top = state == kPushed ? base : Mix(base, kWhite, 0.10f);
    const float w = c.Width(), h = c.Height();
    c.FillVertical(Box(0, 0, w, h, 4), top, base, 0, h);
    // A faint lower edge gives the button some depth except while it is pressed.
    if (state != kPushed)
        c.Fill(Minus(Box(0, 0, w, h, 4), Box(0, -1, w, h - 1, 4)), Hex(0x000000, 0.12f));
}

// Three 22-pixel rows: normal, hot, pushed. The arrow stays inside the unscaled right border.
void Combo(Canvas& c)
{
    const Rgba frames[] = {kFrame, kBlue, kBlueDeep};
    const Rgba fills[] = {kWhite, kWhite, Hex(0xEEF3FC)};
    const Rgba arrows[] = {kGlyph, kBlue, kBlueDeep};
    for (int s = 0; s < 3; ++s) {
        const float y = 22.0f * s;
        c.Fill(Box(0, y, 100, y + 22, 2), fills[s]);
        c.Fill(Outline(Box(0, y, 100, y + 22, 2), 1), frames[s]);
        c.Fill(Polyline({86, y + 9, 90, y + 13, 94, y + 9}, 0.7f), arrows[s]);
    }
}

// Columns: normal, hot, pushed. Rows: up button, track, down button, thumb.
void VerticalScrollBar(Canvas& c)
{
    const Rgba buttons[] = {kTrack, Hex(0xE1E5EB), Hex(0xD6E0F3)};
    const Rgba glyphs[] = {Hex(0x8A93A3), Hex(0x5E6778), kBlueDeep};
    const Rgba thumbs[] = {Hex(0xC2C8D2), Hex(0xA6AEBB), Hex(0x8B94A4)};
    for (int s = 0; s < 3; ++s) {
        const float x = 16.0f * s;
        c.Fill(Box(x, 0, x + 16, 16), buttons[s]);
        c.Fill(Polyline({x + 4.5f, 9.75f, x + 8, 6.25f, x + 11.5f, 9.75f}, 0.7f), glyphs[s]);
        c.Fill(Box(x, 16, x + 16, 32), kTrack);
        c.Fill(Box(x, 32, x + 16, 48), buttons[s]);
        c.Fill(Polyline({x + 4.5f, 38.25f, x + 8, 41.75f, x + 11.5f, 38.25f}, 0.7f), glyphs[s]);
        c.Fill(Box(x + 4, 48, x + 12, 64, 2), thumbs[s]);
    }
}

// Corners 30, 8, 8, 8: the left 30 pixels hold a light gutter beside the item texts.
void MenuBackground(Canvas& c)
{
    c.Fill(Box(0, 0, 40, 20), kWhite);
    c.Fill(Box(1, 1, 28, 19), Hex(0xF3F6FB));
    c.Fill(Outline(Box(0, 0, 40, 20), 1), Hex(0xC9D1DE));
}

// Two 16-pixel sub-images: the sub-menu arrow, normal and hot.
void SubmenuArrows(Canvas& c)
{
    const Rgba glyphs[] = {kGlyph, kBlue};
    for (int s = 0; s < 2; ++s) {
        const float x = 16.0f * s;
        c.Fill(Polyline({x + 6.5f, 4.5f, x + 10, 8, x + 6.5f, 11.5f}, 0.7f), glyphs[s]);
    }
}

void CheckBox(Canvas& c, State state)
{
    const Shape box = Box(1, 1, 14, 14, 2.5f);
    if (state == kPushed) {
        c.Fill(box, kBlue);
        c.Fill(Polyline({4.2f, 7.6f, 6.4f, 9.8f, 10.8f, 5.2f}, 0.8f), kWhite);
        return;
    }
    c.Fill(box, state == kHot ? Hex(0xF3F7FD) : kWhite);
    c.Fill(Outline(box, 1), state == kHot ? kBlue : Hex(0x9AA3B2));
}

void OptionBox(Canvas& c, State state)
{
    const Shape circle = Circle(7.5f, 7.5f, 6.5f);
    if (state == kPushed) {
        c.Fill(circle, kBlue);
        c.Fill(Circle(7.5f, 7.5f, 2.6f), kWhite);
        return;
    }
    c.Fill(circle, state == kHot ? Hex(0xF3F7FD) : kWhite);
    c.Fill(Outline(circle, 1), state == kHot ? kBlue : Hex(0x9AA3B2));
}

void ProgressTrack(Canvas& c)
{
    c.Fill(Box(0, 0, c.Width(), c.Height(), c.Height() / 2.0f), Hex(0xE3E8F0));
}

void ProgressFill(Canvas& c)
{
    const float h = c.Height();
    c.FillVertical(Box(0, 0, c.Width(), h, h / 2), kBlueLight, kBlue, 0, h);
}

void SliderThumb(Canvas& c)
{
    c.Fill(Circle(8, 8, 7.5f), kBlue);
    c.Fill(Circle(8, 8, 5.5f), kWhite);
}

}  // namespace

const std::vector<Picture>& Pictures()
{
    static const std::vector<Picture> pictures = {
        {103, "min_normal", 26, 18, [](Canvas& c) { Minimize(c, kNormal); }},
        {104, "min_hot", 26, 18, [](Canvas& c) { Minimize(c, kHot); }},
        {105, "min_pushed", 26, 18, [](Canvas& c) { Minimize(c, kPushed); }},
        {106, "max_normal", 25, 18, [](Canvas& c) { Maximize(c, kNormal); }},
        {107, "max_hot", 25, 18, [](Canvas& c) { Maximize(c, kHot); }},
        {108, "max_pushed", 25, 18, [](Canvas& c) { Maximize(c, kPushed); }},
        {109, "restore_normal", 25, 18, [](Canvas& c) { Restore(c, kNormal); }},
        {110, "restore_hot", 25, 18, [](Canvas& c) { Restore(c, kHot); }},
        {111, "restore_pushed", 25, 18, [](Canvas& c) { Restore(c, kPushed); }},
        {112, "close_normal", 43, 18, [](Canvas& c) { Close(c, kNormal); }},
        {113, "close_hot", 43, 18, [](Canvas& c) { Close(c, kHot); }},
        {114, "close_pushed", 43, 18, [](Canvas& c) { Close(c, kPushed); }},
        {115, "newtoken_normal", 75, 24, [](Canvas& c) { RequestButton(c, kNormal); }},
        {116, "newtoken_hot", 75, 24, [](Canvas& c) { RequestButton(c, kHot); }},
        {117, "newtoken_pushed", 75, 24, [](Canvas& c) { RequestButton(c, kPushed); }},
        {118, "combo", 100, 66, Combo},
        {119, "vscrollbar", 48, 64, VerticalScrollBar},
        {121, "menu", 40, 20, MenuBackground},
        {122, "submenu_arrows", 32, 16, SubmenuArrows},
        {124, "check_normal", 15, 15, [](Canvas& c) { CheckBox(c, kNormal); }},
        {125, "check_hot", 15, 15, [](Canvas& c) { CheckBox(c, kHot); }},
        {126, "check_selected", 15, 15, [](Canvas& c) { CheckBox(c, kPushed); }},
        {127, "option_normal", 15, 15, [](Canvas& c) { OptionBox(c, kNormal); }},
        {128, "option_hot", 15, 15, [](Canvas& c) { OptionBox(c, kHot); }},
        {129, "option_selected", 15, 15, [](Canvas& c) { OptionBox(c, kPushed); }},
        {130, "progress_track", 100, 10, ProgressTrack},
        {131, "progress_fill", 100, 10, ProgressFill},
        {132, "slider_thumb", 16, 16, SliderThumb},
    };
    return pictures;
}

// A six-spoke star, as password fields show hidden characters.
Shape Asterisk(float cx, float cy, float radius, float halfWidth)
{
    Shape star = Segment(cx, cy - radius, cx, cy + radius, halfWidth);
    for (float angle : {0.5236f, -0.5236f}) {
        const float dx = std::cos(angle) * radius, dy = std::sin(angle) * radius;
        star = Union(star, Segment(cx - dx, cy - dy, cx + dx, cy + dy, halfWidth));
    }
    return star;
}

// A blue tile with the wifi sign above a password field: "the wifi code".
void DrawIcon(Canvas& c)
{
    const float s = static_cast<float>(c.Width());
    c.FillVertical(Box(0.04f * s, 0.04f * s, 0.96f * s, 0.96f * s, 0.2f * s), kBlueLight, kBlueDeep,
                   0, s);
    // Small sizes keep two arcs and bolder strokes, so the sign stays readable.
    const bool small = s <= 32;
    const float cx = 0.5f * s, cy = 0.55f * s, stroke = (small ? 0.05f : 0.036f) * s;
    c.Fill(Circle(cx, cy, (small ? 0.07f : 0.055f) * s), kWhite);
    const std::vector<float> radii =
        small ? std::vector<float>{0.19f, 0.34f} : std::vector<float>{0.14f, 0.245f, 0.35f};
    for (float r : radii)
        c.Fill(Arc(cx, cy, r * s, 0.78f, stroke), kWhite);
    c.Fill(Box(0.14f * s, 0.66f * s, 0.86f * s, 0.87f * s, 0.06f * s), kWhite);
    // Hidden characters: stars where there is room for them, dots where there is not.
    for (float x : {0.3f, 0.5f, 0.7f}) {
        const Shape mark = small ? Circle(x * s, 0.765f * s, 0.065f * s)
                                 : Asterisk(x * s, 0.765f * s, 0.065f * s, 0.022f * s);
        c.Fill(mark, kBlueDeep);
    }
}

const std::vector<int>& IconSizes()
{
    // 16 and 20: the small icon at 100 % and 125 %; 24, 32, 48 and up: larger icons and scales.
    static const std::vector<int> sizes = {96, 72, 64, 48, 40, 32, 24, 20, 16};
    return sizes;
}

}  // namespace artgen
