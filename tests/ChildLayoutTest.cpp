// Where the layouts put children of fixed sizes: exact rectangles for box layouts along
// both axes, floating children, tiles, tab pages and the separator drag.

#include "ui/controls/layout/ChildLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/LayoutRectPrinting.h"

namespace {

using namespace Veneer;

const TLayoutRect kNotPlaced = {-1, -1, -1, -1};
const TLayoutRect kFloated = {-2, -2, -2, -2};

// A child whose estimate is its fixed size, as a plain control's is.
struct Fake {
    TLayoutSize size;
    TLayoutRect padding = {};
    TLayoutSize minSize = {0, 0};
    TLayoutSize maxSize = {9999, 9999};
    bool floating = false;
    bool visible = true;
};

class FakeChildren : public ILayoutChildren {
public:
    explicit FakeChildren(std::vector<Fake> fakes)
        : m_fakes(std::move(fakes)), placed(m_fakes.size(), kNotPlaced)
    {
    }

    int GetCount() const override { return static_cast<int>(m_fakes.size()); }
    bool IsVisible(int index) const override { return m_fakes[index].visible; }
    bool IsFloat(int index) const override { return m_fakes[index].floating; }
    TLayoutChild Describe(int index) const override
    {
        const Fake& fake = m_fakes[index];
        return TLayoutChild{fake.padding, fake.size, fake.minSize, fake.maxSize};
    }
    TLayoutSize Estimate(int index, TLayoutSize available) override
    {
        estimatedWith.push_back(available);
        return m_fakes[index].size;
    }
    void Place(int index, const TLayoutRect& rc) override { placed[index] = rc; }
    void PlaceFloating(int index) override { placed[index] = kFloated; }

    std::vector<TLayoutSize> estimatedWith;

private:
    std::vector<Fake> m_fakes;

public:
    std::vector<TLayoutRect> placed;
};

Fake Sized(int cx, int cy)
{
    return Fake{{cx, cy}};
}

Fake Padded(Fake fake, TLayoutRect padding)
{
    fake.padding = padding;
    return fake;
}

Fake Limited(Fake fake, TLayoutSize minSize, TLayoutSize maxSize)
{
    fake.minSize = minSize;
    fake.maxSize = maxSize;
    return fake;
}

Fake Floating(Fake fake)
{
    fake.floating = true;
    return fake;
}

Fake Hidden(Fake fake)
{
    fake.visible = false;
    return fake;
}

TBoxLayout Vertical(int width, int height, int childPadding = 0)
{
    return TBoxLayout{TLayoutAxis::Vertical, {width, height}, 0, 0, width, childPadding};
}

TBoxLayout Horizontal(int width, int height, int childPadding = 0)
{
    return TBoxLayout{TLayoutAxis::Horizontal, {width, height}, 0, 0, height, childPadding};
}

TEST(ChildLayoutTest, BoxLayoutsPlaceChildrenExactly)
{
    struct Case {
        const char* name;
        TBoxLayout box;
        std::vector<Fake> children;
        std::vector<TLayoutRect> expected;
        int needed;
    };
    const Case cases[] = {
        {"30 fixed and one adjustable in 100",
         Vertical(50, 100),
         {Sized(0, 30), Sized(0, 0)},
         {{0, 0, 50, 30}, {0, 30, 50, 100}},
         100},
        // The spacing after the fixed child is taken twice from the last adjustable one.
        {"the same with childpadding 10",
         Vertical(50, 100, 10),
         {Sized(0, 30), Sized(0, 0)},
         {{0, 0, 50, 30}, {0, 40, 50, 90}},
         90},
        {"three adjustable share 100",
         Vertical(50, 100),
         {Sized(0, 0), Sized(0, 0), Sized(0, 0)},
         {{0, 0, 50, 33}, {0, 33, 50, 66}, {0, 66, 50, 100}},
         100},
        {"padding bottom 5 lengthens the rectangle",
         Vertical(50, 100),
         {Padded(Sized(0, 20), {0, 0, 0, 5}), Sized(0, 10)},
         {{0, 0, 50, 25}, {0, 25, 50, 35}},
         35},
        {"padding across a vertical layout narrows, along it moves",
         Vertical(50, 100),
         {Padded(Sized(0, 20), {5, 3, 7, 2}), Padded(Sized(20, 10), {4, 0, 0, 0})},
         {{5, 3, 43, 25}, {4, 25, 24, 35}},
         35},
        {"fixed width 50 and one adjustable across 200",
         Horizontal(200, 40, 10),
         {Sized(50, 0), Sized(0, 0)},
         {{0, 0, 50, 40}, {60, 0, 190, 40}},
         190},
        {"padding right lengthens, padding top and bottom narrow",
         Horizontal(200, 40),
         {Padded(Sized(50, 0), {2, 4, 5, 6}), Sized(10, 12)},
         {{2, 4, 57, 34}, {57, 0, 67, 12}},
         67},
        {"maximum on an adjustable child, the last takes the rest",
         Vertical(50, 100),
         {Limited(Sized(0, 0), {0, 0}, {9999, 20}), Sized(0, 0)},
         {{0, 0, 50, 20}, {0, 20, 50, 100}},
         100},
        {"minimum height and width limits",
         Vertical(50, 100),
         {Limited(Sized(0, 10), {0, 30}, {9999, 9999}), Limited(Sized(80, 10), {0, 0}, {40, 9999})},
         {{0, 0, 50, 30}, {0, 30, 40, 40}},
         40},
        {"children needing more than there is overflow",
         Vertical(50, 100),
         {Sized(0, 60), Sized(0, 60), Sized(0, 0)},
         {{0, 0, 50, 60}, {0, 60, 50, 120}, {0, 120, 50, 120}},
         120},
        {"hidden children take no part, floating ones place themselves",
         Vertical(50, 100),
         {Hidden(Sized(0, 30)), Floating(Sized(10, 10)), Sized(0, 0)},
         {kNotPlaced, kFloated, {0, 0, 50, 100}},
         100},
        {"only floating children need nothing",
         Vertical(50, 100, 10),
         {Floating(Sized(10, 10))},
         {kFloated},
         0},
    };
    for (const Case& c : cases) {
        FakeChildren children(c.children);
        EXPECT_EQ(c.needed, LayOutBox(c.box, children)) << c.name;
        EXPECT_EQ(c.expected, children.placed) << c.name;
    }
}

TEST(ChildLayoutTest, ScrolledChildrenStartBeforeTheViewAndEstimateWithTheRoomLeft)
{
    TBoxLayout box = Vertical(50, 100, 4);
    box.mainStart = 10 - 35;  // inner top 10, scrolled down 35
    box.crossStart = 20;
    FakeChildren children({Padded(Sized(0, 30), {0, 2, 0, 0}), Sized(0, 30)});
    EXPECT_EQ(66, LayOutBox(box, children));
    EXPECT_EQ((std::vector<TLayoutRect>{{20, -23, 70, 7}, {20, 11, 70, 41}}), children.placed);
    // Pass 1 asks with the whole room, pass 3 with what the earlier children left.
    ASSERT_EQ(4u, children.estimatedWith.size());
    EXPECT_EQ(100, children.estimatedWith[0].cy);
    EXPECT_EQ(98, children.estimatedWith[2].cy);
    EXPECT_EQ(100 - 2 - 30 - 4, children.estimatedWith[3].cy);
}

TEST(ChildLayoutTest, FloatingChildrenAnchorToAnEdgeAndFollowTheParent)
{
    // "pos" -70,5,-10,25: fixed X -10, Y 5, 60 wide, 20 high.
    TFloatChild child = {{-10, 5}, {60, 20}, false, {0, 0}, {0, 0}, {0, 0}};
    const struct {
        const char* name;
        bool relative;
        TLayoutSize reference;
        TLayoutRect parent;
        TLayoutRect expected;
    } cases[] = {
        {"from the right edge of 0..200", false, {0, 0}, {0, 0, 200, 100}, {130, 5, 190, 25}},
        {"after growing to 300", false, {0, 0}, {0, 0, 300, 100}, {230, 5, 290, 25}},
        {"relative without a reference yet", true, {0, 0}, {0, 0, 300, 100}, {230, 5, 290, 25}},
        // Grown by 100 x 40: moved by half of it and widened by a quarter.
        {"relative to 200 x 60", true, {200, 60}, {0, 0, 300, 100}, {280, 25, 365, 55}},
    };
    for (const auto& c : cases) {
        child.relative = c.relative;
        child.reference = c.reference;
        child.movePercent = {50, 50};
        child.zoomPercent = {25, 25};
        EXPECT_EQ(c.expected, PlaceFloatingChild(c.parent, child)) << c.name;
    }
    const TFloatChild topLeft = {{10, -30}, {20, 20}, false, {0, 0}, {0, 0}, {0, 0}};
    EXPECT_EQ((TLayoutRect{60, 50, 80, 70}), PlaceFloatingChild({50, 0, 150, 100}, topLeft))
        << "a negative Y counts from the bottom";
}

TEST(ChildLayoutTest, TilesFillRowsAsHighAsTheirTallestChild)
{
    const TLayoutRect inner = {10, 20, 110, 220};
    const struct {
        const char* name;
        TLayoutSize itemSize;
        int columns;
        std::vector<Fake> children;
        std::vector<TLayoutRect> expected;
        int height;
    } cases[] = {
        {"two columns",
         {0, 0},
         2,
         {Sized(0, 20), Sized(0, 30), Sized(0, 20)},
         {{10, 20, 60, 40}, {60, 20, 110, 50}, {10, 50, 60, 70}},
         50},
        {"columns from the item width, heights from the item height",
         {30, 25},
         1,
         {Sized(0, 0), Sized(10, 0), Sized(0, 0), Sized(0, 0)},
         {{10, 20, 43, 45}, {43, 20, 53, 45}, {76, 20, 109, 45}, {10, 45, 43, 70}},
         50},
        {"an item wider than the layout still gives one column",
         {500, 0},
         1,
         {Sized(0, 10), Sized(0, 10)},
         {{10, 20, 110, 30}, {10, 30, 110, 40}},
         20},
        {"hidden and floating children leave no gap",
         {0, 0},
         2,
         {Sized(0, 10), Hidden(Sized(0, 90)), Floating(Sized(5, 5)),
          Padded(Sized(0, 10), {1, 2, 3, 4})},
         {{10, 20, 60, 30}, kNotPlaced, kFloated, {61, 22, 107, 32}},
         16},
    };
    for (const auto& c : cases) {
        FakeChildren children(c.children);
        const TTileLayout tiles = {inner, inner.right - inner.left, c.itemSize, c.columns, {0, 0}};
        EXPECT_EQ(c.height, LayOutTiles(tiles, children)) << c.name;
        EXPECT_EQ(c.expected, children.placed) << c.name;
    }
}

TEST(ChildLayoutTest, ATabLayoutPlacesOnlyItsPageAndFloatingChildren)
{
    FakeChildren children({Sized(0, 0), Padded(Sized(30, 0), {2, 3, 4, 5}), Floating(Sized(1, 1)),
                           Limited(Sized(0, 0), {0, 0}, {40, 50})});
    LayOutTabPage({0, 0, 100, 80}, 1, children);
    EXPECT_EQ((std::vector<TLayoutRect>{kNotPlaced, {2, 3, 32, 75}, kFloated, kNotPlaced}),
              children.placed);
    LayOutTabPage({0, 0, 100, 80}, 3, children);
    EXPECT_EQ((TLayoutRect{0, 0, 40, 50}), children.placed[3]) << "held to its maximum";
}

TEST(ChildLayoutTest, TheSeparatorBandLiesAtTheEdgeItsSignNames)
{
    const TLayoutRect rc = {0, 0, 100, 50};
    const struct {
        TLayoutAxis axis;
        int size;
        TLayoutRect expected;
    } cases[] = {
        {TLayoutAxis::Vertical, 4, {0, 46, 100, 50}},
        {TLayoutAxis::Vertical, -4, {0, 0, 100, 4}},
        {TLayoutAxis::Vertical, 80, {0, 0, 100, 50}},
        {TLayoutAxis::Horizontal, 6, {94, 0, 100, 50}},
        {TLayoutAxis::Horizontal, -6, {0, 0, 6, 50}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, SeparatorRect(TSeparator{c.axis, c.size, 0, 9999}, rc)) << c.size;
}

TEST(ChildLayoutTest, DraggingTheSeparatorMovesOneEdgeWithinTheLimits)
{
    const TLayoutRect start = {0, 10, 100, 60};
    const struct {
        const char* name;
        TSeparator separator;
        TLayoutRect from;
        int last;
        int point;
        bool moved;
        TLayoutRect expected;
    } cases[] = {
        {"bottom edge down",
         {TLayoutAxis::Vertical, 4, 0, 9999},
         start,
         58,
         70,
         true,
         {0, 10, 100, 72}},
        {"bottom edge up",
         {TLayoutAxis::Vertical, 4, 0, 9999},
         start,
         58,
         40,
         true,
         {0, 10, 100, 42}},
        {"down while the mouse is above the edge",
         {TLayoutAxis::Vertical, 4, 0, 9999},
         start,
         50,
         55,
         false,
         start},
        {"up while the mouse is below the edge",
         {TLayoutAxis::Vertical, 4, 0, 9999},
         start,
         70,
         65,
         false,
         start},
        {"held at the maximum",
         {TLayoutAxis::Vertical, 4, 0, 55},
         start,
         58,
         70,
         true,
         {0, 10, 100, 65}},
        {"already at the maximum", {TLayoutAxis::Vertical, 4, 0, 50}, start, 58, 70, false, start},
        {"held at the minimum",
         {TLayoutAxis::Vertical, 4, 45, 9999},
         start,
         58,
         40,
         true,
         {0, 10, 100, 55}},
        {"top edge up", {TLayoutAxis::Vertical, -4, 0, 9999}, start, 12, 0, true, {0, -2, 100, 60}},
        {"right edge of a horizontal layout",
         {TLayoutAxis::Horizontal, 4, 0, 9999},
         start,
         98,
         120,
         true,
         {0, 10, 122, 60}},
        {"left edge held at the minimum",
         {TLayoutAxis::Horizontal, -4, 90, 9999},
         start,
         2,
         20,
         true,
         {10, 10, 100, 60}},
    };
    for (const auto& c : cases) {
        TLayoutRect rc = c.from;
        EXPECT_EQ(c.moved, DragSeparator(c.separator, c.last, c.point, rc)) << c.name;
        EXPECT_EQ(c.expected, rc) << c.name;
    }
}

// Values a skin may give (a huge padding, a raised maximum, a far float position): each
// place ends at the edge of the int range instead of wrapping round (the host build's
// UBSan stops at any overflow on the way).
TEST(ChildLayoutTest, ExtremeValuesStopAtTheEdgeOfTheRangeInsteadOfWrapping)
{
    const int big = INT_MAX;
    Fake padded = Sized(10, 10);
    padded.padding = {big, big, big, big};
    Fake huge = Sized(big, big);
    huge.maxSize = {big, big};
    Fake stretched = Sized(0, 0);
    stretched.maxSize = {big, big};
    const struct {
        const char* name;
        TBoxLayout box;
        std::vector<Fake> children;
    } cases[] = {
        {"padding", Vertical(100, 100), {padded, padded, padded}},
        {"sizes with a raised maximum", Horizontal(100, 100), {huge, huge, stretched}},
        {"child padding", Vertical(100, 100, big), {Sized(10, 10), Sized(10, 10), Sized(10, 10)}},
        {"negative child padding", Vertical(100, 100, INT_MIN), {Sized(10, 10), Sized(10, 10)}},
        {"scrolled far",
         TBoxLayout{TLayoutAxis::Vertical, {big, big}, INT_MIN, INT_MIN, big, 0},
         {padded, huge, stretched}},
    };
    for (const auto& c : cases) {
        FakeChildren children(c.children);
        const int needed = LayOutBox(c.box, children);
        EXPECT_TRUE(needed >= 0 || c.box.childPadding < 0) << c.name;
        for (std::size_t i = 0; i < children.placed.size(); ++i) {
            const TLayoutRect& rc = children.placed[i];
            EXPECT_LE(rc.left, rc.right) << c.name << " " << i;
            EXPECT_LE(rc.top, rc.bottom) << c.name << " " << i;
            if (i > 0 && c.box.childPadding >= 0) {
                const TLayoutRect& before = children.placed[i - 1];
                EXPECT_GE(c.box.axis == TLayoutAxis::Vertical ? rc.top : rc.left,
                          c.box.axis == TLayoutAxis::Vertical ? before.top : before.left)
                    << c.name << " " << i << ": no wrap to the far side";
            }
        }
    }

    const TFloatChild far = {{INT_MIN, big}, {big, big}, true, {1, 1}, {big, big}, {big, big}};
    const TLayoutRect floated = PlaceFloatingChild({0, 0, big, big}, far);
    EXPECT_LE(floated.left, floated.right);
    EXPECT_LE(floated.top, floated.bottom);

    FakeChildren tiles({padded, huge, padded});
    const TTileLayout grid = {{INT_MIN, INT_MIN, big, big}, big, {0, big}, 2, {big, big}};
    EXPECT_GE(LayOutTiles(grid, tiles), 0);
    FakeChildren page({padded});
    LayOutTabPage({INT_MIN, INT_MIN, big, big}, 0, page);
    EXPECT_LE(page.placed[0].top, page.placed[0].bottom);

    EXPECT_EQ(0, SeparatorRect({TLayoutAxis::Vertical, INT_MIN, 0, big}, {0, 0, 10, 10}).top);
    TLayoutRect dragged = {0, 0, 100, big};
    DragSeparator({TLayoutAxis::Vertical, 4, 0, big}, INT_MIN, big, dragged);
    EXPECT_LE(dragged.top, dragged.bottom);
}

}  // namespace
