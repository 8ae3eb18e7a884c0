#pragma once
// Where containers put their children, as arithmetic over plain rectangles: the box
// layouts (children stacked along one axis, the free space shared among the children
// without a size of their own), floating children, tiles, tab pages and the drag of a box
// layout's separator. Nothing here needs a window: the containers (ContainerUI.h) show
// their children through ILayoutChildren and the host build tests the passes with fakes.

#include <cstdint>

namespace Veneer {

// Skins may give any int (a huge padding or inset, a raised maximum, a far float
// position): the layout takes sums and differences in 64 bits and brings them back into
// the int range with this, so a place is at worst at the edge of the range, never
// wrapped round.
int NarrowSum(std::int64_t value);

struct TLayoutRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct TLayoutSize {
    int cx;
    int cy;
};

// A child's own constraints, as the layouts read them.
struct TLayoutChild {
    TLayoutRect padding;  // outer margins
    TLayoutSize fixed;    // 0 stretches
    TLayoutSize minSize;
    TLayoutSize maxSize;
};

// A container's children as the passes see them. The passes read the count again at every
// step and allocate nothing: placing a child runs its handlers, which may change the list.
class ILayoutChildren {
public:
    virtual int GetCount() const = 0;
    // Hidden children take no part in a layout.
    virtual bool IsVisible(int index) const = 0;
    virtual bool IsFloat(int index) const = 0;
    virtual TLayoutChild Describe(int index) const = 0;
    virtual TLayoutSize Estimate(int index, TLayoutSize available) = 0;
    virtual void Place(int index, const TLayoutRect& rc) = 0;
    // A floating child is placed from its own position fields.
    virtual void PlaceFloating(int index) = 0;

protected:
    ~ILayoutChildren() = default;
};

// True for a child that the flow of a layout passes over: a hidden one, or a floating one,
// which this places from its own fields.
bool PlaceOutOfFlow(ILayoutChildren& children, int index);

// ---- Box layouts ----

enum class TLayoutAxis { Vertical, Horizontal };

// One box layout pass. "Main" is along the axis (heights of a vertical layout), "cross"
// across it.
struct TBoxLayout {
    TLayoutAxis axis;
    TLayoutSize available;  // the inner size; across the axis widened by that scroll range
    int mainStart;          // where the first child starts, the scroll position subtracted
    int crossStart;         // the inner edge across the axis
    int crossExtent;        // what a child without a fixed cross size fills
    int childPadding;       // space between consecutive children
};

// Pass 1: the visible, non-floating children with a size of their own.
struct TFixedMeasure {
    int fixedTotal;  // their sizes, every padding and the spacing between children
    int adjustable;  // children whose estimate along the axis is 0
    int count;       // children taking part
};

TFixedMeasure MeasureFixedChildren(const TBoxLayout& box, ILayoutChildren& children);
// Pass 2: what each adjustable child gets; the last one takes what is left instead.
int ShareOfAdjustable(const TBoxLayout& box, const TFixedMeasure& measure);
// Pass 3: places the children in order; returns the size they need along the axis,
// without the spacing between them.
int PlaceBoxChildren(const TBoxLayout& box, const TFixedMeasure& measure, int share,
                     ILayoutChildren& children);
// The three passes; returns the size needed along the axis, spacing included.
int LayOutBox(const TBoxLayout& box, ILayoutChildren& children);

// ---- Floating children ----

struct TFloatChild {
    TLayoutSize fixedXY;  // a negative coordinate counts from the parent's right or bottom
    TLayoutSize fixedSize;
    bool relative;          // moves and grows with the parent by the percentages below
    TLayoutSize reference;  // the parent's size the percentages refer to; 0: none yet
    TLayoutSize movePercent;
    TLayoutSize zoomPercent;
};

TLayoutRect PlaceFloatingChild(const TLayoutRect& parent, const TFloatChild& child);

// ---- Tiles ----

struct TTileLayout {
    TLayoutRect inner;
    int width;              // the inner width, widened by the horizontal scroll range
    TLayoutSize itemSize;   // cx > 0 chooses the columns; cy > 0 heights children without one
    int columns;            // used when itemSize.cx is 0
    TLayoutSize scrollPos;  // subtracted from every place
};

// The number of columns and their width.
TLayoutSize TileColumns(const TTileLayout& tiles);
// Places the children row by row, each row as high as its tallest child; returns the
// total height of the rows.
int LayOutTiles(const TTileLayout& tiles, ILayoutChildren& children);

// ---- Tab pages ----

// Places the floating children and the selected page, which fills the inner rectangle
// less its padding unless its estimate or its limits say otherwise.
void LayOutTabPage(const TLayoutRect& inner, int selected, ILayoutChildren& children);

// ---- The separator of a box layout ----

struct TSeparator {
    TLayoutAxis axis;
    int size;     // > 0: a band at the bottom (right) edge; < 0: at the top (left) edge
    int minSize;  // limits of the layout's height (width)
    int maxSize;
};

// The band of rc that drags.
TLayoutRect SeparatorRect(const TSeparator& separator, const TLayoutRect& rc);
// Moves the separator's edge of rc for the mouse going from last to point along the axis
// (both are coordinates along it). False when the move is ignored.
bool DragSeparator(const TSeparator& separator, int last, int point, TLayoutRect& rc);

}  // namespace Veneer
