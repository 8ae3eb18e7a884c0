// Where a scroll bar's buttons and thumb lie, and how far a thumb drag scrolls.

#include "ui/controls/layout/ScrollBarGeometry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/LayoutRectPrinting.h"

namespace {

using namespace Veneer;

const TLayoutRect kNone = {0, 0, 0, 0};

// A vertical bar 16 wide at the origin, both buttons shown.
TScrollBarShape Bar(int height, int range, int position)
{
    return TScrollBarShape{{0, 0, 16, height}, 16, false, true, true, range, position};
}

TEST(ScrollBarGeometryTest, PartsLieWhereTheRangeAndPositionPutThem)
{
    TScrollBarShape noButton1 = Bar(100, 100, 0);
    noButton1.showButton1 = false;
    TScrollBarShape moved = Bar(100, 100, 0);
    moved.item = {10, 20, 26, 120};
    const TScrollBarShape horizontal = {{0, 0, 100, 16}, 16, true, true, true, 100, 0};
    const struct {
        const char* name;
        TScrollBarShape shape;
        TScrollBarParts expected;
    } cases[] = {
        // Track 68, thumb 68 x 100 / 200 = 34.
        {"range 100 at 0", Bar(100, 100, 0), {{0, 0, 16, 16}, {0, 84, 16, 100}, {0, 16, 16, 50}}},
        {"at the end", Bar(100, 100, 100), {{0, 0, 16, 16}, {0, 84, 16, 100}, {0, 50, 16, 84}}},
        {"in the middle", Bar(100, 100, 50), {{0, 0, 16, 16}, {0, 84, 16, 100}, {0, 33, 16, 67}}},
        {"range 0 fills the track",
         Bar(100, 0, 0),
         {{0, 0, 16, 16}, {0, 84, 16, 100}, {0, 16, 16, 84}}},
        {"a huge range keeps the thumb at least as long as the bar is thick",
         Bar(100, 2000000000, 2000000000),
         {{0, 0, 16, 16}, {0, 84, 16, 100}, {0, 68, 16, 84}}},
        {"3 x 16 high: no thumb", Bar(48, 100, 0), {{0, 0, 16, 16}, {0, 32, 16, 48}, kNone}},
        {"20 high: buttons of half the height",
         Bar(20, 100, 0),
         {{0, 0, 16, 10}, {0, 10, 16, 20}, kNone}},
        {"without the up button", noButton1, {{0, 0, 0, 0}, {0, 84, 16, 100}, {0, 0, 16, 42}}},
        {"away from the origin", moved, {{10, 20, 26, 36}, {10, 104, 26, 120}, {10, 36, 26, 70}}},
        {"horizontal", horizontal, {{0, 0, 16, 16}, {84, 0, 100, 16}, {16, 0, 50, 16}}},
    };
    for (const auto& c : cases) {
        const TScrollBarParts parts = MeasureScrollBar(c.shape);
        EXPECT_EQ(c.expected.button1, parts.button1) << c.name;
        EXPECT_EQ(c.expected.button2, parts.button2) << c.name;
        EXPECT_EQ(c.expected.thumb, parts.thumb) << c.name;
    }
}

TEST(ScrollBarGeometryTest, TheThumbsTravelSpansTheRange)
{
    TScrollBarShape noButton1 = Bar(100, 100, 0);
    noButton1.showButton1 = false;
    const struct {
        const char* name;
        TScrollBarShape shape;
        int moved;
        int offset;
    } cases[] = {
        {"half of the travel of 34", Bar(100, 100, 0), 17, 50},
        {"back by all of it", Bar(100, 100, 100), -34, -100},
        {"range 0: a thumb that fills the track moves nothing", Bar(100, 0, 0), 30, 0},
        {"no thumb", Bar(40, 100, 0), 5, 0},
        // The travel is the track less the thumb (84 - 42), whichever buttons are shown.
        {"without the up button", noButton1, 21, 50},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.offset, ThumbDragOffset(c.shape, MeasureScrollBar(c.shape), c.moved)) << c.name;
}

TEST(ScrollBarGeometryTest, PointsOnTheTrackLieBeforeOrAfterTheThumb)
{
    const TScrollBarShape shape = Bar(100, 100, 0);  // thumb 16 .. 50
    const TScrollBarParts parts = MeasureScrollBar(shape);
    EXPECT_EQ(-1, SideOfThumb(shape, parts, 8, 15));
    EXPECT_EQ(0, SideOfThumb(shape, parts, 8, 16));
    EXPECT_EQ(0, SideOfThumb(shape, parts, 8, 49));
    EXPECT_EQ(1, SideOfThumb(shape, parts, 8, 50));
    // Too short for a thumb: the track 16 .. 24 pages about the position's place.
    for (const auto& c : {std::make_tuple(0, 16, 1), std::make_tuple(50, 19, -1),
                          std::make_tuple(50, 20, 1), std::make_tuple(100, 23, -1)}) {
        const TScrollBarShape tight = Bar(40, 100, std::get<0>(c));
        ASSERT_FALSE(HasThumb(MeasureScrollBar(tight)));
        EXPECT_EQ(std::get<2>(c), SideOfThumb(tight, MeasureScrollBar(tight), 8, std::get<1>(c)))
            << "position " << std::get<0>(c) << " at " << std::get<1>(c);
    }
}

}  // namespace
