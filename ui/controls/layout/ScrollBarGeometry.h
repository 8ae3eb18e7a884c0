#pragma once
// Where the parts of a scroll bar lie: two square arrow buttons at the ends, the track
// between them and a thumb whose length shows how much of the range is in view; and how
// far a thumb drag scrolls. Plain arithmetic, tested on the host; CScrollBarUI
// (ScrollBarUI.h) applies it.

#include "ui/controls/layout/ChildLayout.h"

namespace Veneer {

struct TScrollBarShape {
    TLayoutRect item;
    int thickness;  // the bar's fixed width (vertical) or height (horizontal)
    bool horizontal;
    bool showButton1;  // the up or left arrow
    bool showButton2;  // the down or right arrow
    int range;
    int position;
};

struct TScrollBarParts {
    TLayoutRect button1;  // empty at the bar's start when hidden
    TLayoutRect button2;  // empty at the bar's end when hidden
    TLayoutRect thumb;    // all zero when the track has no room for one
};

TScrollBarParts MeasureScrollBar(const TScrollBarShape& shape);

// False when the thumb rectangle is all zero.
bool HasThumb(const TScrollBarParts& parts);

// The change of position for the thumb dragged by `moved` pixels along the bar: the
// thumb's travel along the track spans the whole range. 0 when the thumb cannot travel.
int ThumbDragOffset(const TScrollBarShape& shape, const TScrollBarParts& parts, int moved);

// Where a point on the track lies against the thumb: -1 before it (up or left), 1 after
// it, 0 level with it. Without a thumb, against the place of the position along the track.
int SideOfThumb(const TScrollBarShape& shape, const TScrollBarParts& parts, int x, int y);

}  // namespace Veneer
