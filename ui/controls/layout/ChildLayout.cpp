#include "ui/controls/layout/ChildLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Veneer {
namespace {

using Wide = std::int64_t;

int Narrow(Wide value)
{
    return NarrowSum(value);
}

bool IsVertical(TLayoutAxis axis)
{
    return axis == TLayoutAxis::Vertical;
}

int Along(TLayoutAxis axis, const TLayoutSize& size)
{
    return IsVertical(axis) ? size.cy : size.cx;
}

int Across(TLayoutAxis axis, const TLayoutSize& size)
{
    return IsVertical(axis) ? size.cx : size.cy;
}

TLayoutSize SizeOf(TLayoutAxis axis, int along, int across)
{
    return IsVertical(axis) ? TLayoutSize{across, along} : TLayoutSize{along, across};
}

// Padding before and after a child along the axis, and before and after it across.
struct TAxisPadding {
    int before;
    int after;
    int crossBefore;
    int crossAfter;
};

TAxisPadding PaddingOf(TLayoutAxis axis, const TLayoutRect& p)
{
    return IsVertical(axis) ? TAxisPadding{p.top, p.bottom, p.left, p.right}
                            : TAxisPadding{p.left, p.right, p.top, p.bottom};
}

TLayoutRect RectOf(TLayoutAxis axis, Wide mainFrom, Wide mainTo, Wide crossFrom, Wide crossTo)
{
    const int m0 = Narrow(mainFrom), m1 = Narrow(mainTo), c0 = Narrow(crossFrom),
              c1 = Narrow(crossTo);
    return IsVertical(axis) ? TLayoutRect{c0, m0, c1, m1} : TLayoutRect{m0, c0, m1, c1};
}

TLayoutRect NarrowRect(Wide left, Wide top, Wide right, Wide bottom)
{
    return TLayoutRect{Narrow(left), Narrow(top), Narrow(right), Narrow(bottom)};
}

// To the minimum first, then to the maximum, which wins when the two disagree.
int Clamp(int value, int minimum, int maximum)
{
    return std::min(std::max(value, minimum), maximum);
}

}  // namespace

int NarrowSum(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool PlaceOutOfFlow(ILayoutChildren& children, int index)
{
    if (!children.IsVisible(index))
        return true;
    if (!children.IsFloat(index))
        return false;
    children.PlaceFloating(index);
    return true;
}

TFixedMeasure MeasureFixedChildren(const TBoxLayout& box, ILayoutChildren& children)
{
    const TLayoutAxis axis = box.axis;
    TFixedMeasure measure = {0, 0, 0};
    Wide total = 0;
    for (int i = 0; i < children.GetCount(); ++i) {
        if (!children.IsVisible(i) || children.IsFloat(i))
            continue;
        const TLayoutChild child = children.Describe(i);
        const int size = Along(axis, children.Estimate(i, box.available));
        if (size == 0)
            ++measure.adjustable;
        else
            total += Clamp(size, Along(axis, child.minSize), Along(axis, child.maxSize));
        const TAxisPadding padding = PaddingOf(axis, child.padding);
        total += Wide{padding.before} + padding.after;
        ++measure.count;
    }
    if (measure.count > 0)
        total += Wide{measure.count - 1} * box.childPadding;
    measure.fixedTotal = Narrow(total);
    return measure;
}

int ShareOfAdjustable(const TBoxLayout& box, const TFixedMeasure& measure)
{
    if (measure.adjustable == 0)
        return 0;
    const Wide free = Wide{Along(box.axis, box.available)} - measure.fixedTotal;
    return Narrow(std::max(Wide{0}, free / measure.adjustable));
}

int PlaceBoxChildren(const TBoxLayout& box, const TFixedMeasure& measure, int share,
                     ILayoutChildren& children)
{
    const TLayoutAxis axis = box.axis;
    Wide position = box.mainStart;
    Wide remaining = Along(axis, box.available);
    Wide fixedRemaining = measure.fixedTotal;
    int adjustableSeen = 0;
    Wide needed = 0;
    for (int i = 0; i < children.GetCount(); ++i) {
        if (PlaceOutOfFlow(children, i))
            continue;
        const TLayoutChild child = children.Describe(i);
        const TAxisPadding padding = PaddingOf(axis, child.padding);
        remaining -= padding.before;
        const TLayoutSize available = SizeOf(axis, Narrow(remaining), Across(axis, box.available));
        int size = Along(axis, children.Estimate(i, available));
        const int minSize = Along(axis, child.minSize);
        const int maxSize = Along(axis, child.maxSize);
        if (size == 0) {
            // The last adjustable child takes the rest, from which the spacing after each
            // child has been taken twice: once from remaining and once in fixedRemaining.
            ++adjustableSeen;
            if (adjustableSeen == measure.adjustable)
                size = Narrow(std::max(Wide{0}, remaining - padding.after - fixedRemaining));
            else
                size = share;
            size = Clamp(size, minSize, maxSize);
        } else {
            size = Clamp(size, minSize, maxSize);
            fixedRemaining -= size;
        }
        int cross = Across(axis, child.fixed);
        if (cross == 0)
            cross = Narrow(std::max(
                Wide{0}, Wide{box.crossExtent} - padding.crossBefore - padding.crossAfter));
        cross = Clamp(cross, Across(axis, child.minSize), Across(axis, child.maxSize));
        // The rectangle reaches the padding after the child along the axis.
        const Wide mainFrom = position + padding.before;
        const Wide crossFrom = Wide{box.crossStart} + padding.crossBefore;
        children.Place(i, RectOf(axis, mainFrom, mainFrom + size + padding.after, crossFrom,
                                 crossFrom + cross));
        position += Wide{size} + box.childPadding + padding.before + padding.after;
        needed += Wide{size} + padding.before + padding.after;
        remaining -= Wide{size} + box.childPadding + padding.after;
    }
    return Narrow(needed);
}

int LayOutBox(const TBoxLayout& box, ILayoutChildren& children)
{
    const TFixedMeasure measure = MeasureFixedChildren(box, children);
    const int share = ShareOfAdjustable(box, measure);
    Wide needed = PlaceBoxChildren(box, measure, share, children);
    if (measure.count > 0)
        needed += Wide{measure.count - 1} * box.childPadding;
    return Narrow(needed);
}

TLayoutRect PlaceFloatingChild(const TLayoutRect& parent, const TFloatChild& child)
{
    const Wide x = child.fixedXY.cx;
    const Wide y = child.fixedXY.cy;
    const Wide width = child.fixedSize.cx;
    const Wide height = child.fixedSize.cy;
    Wide left = x >= 0 ? parent.left + x : parent.right + x - width;
    Wide top = y >= 0 ? parent.top + y : parent.bottom + y - height;
    Wide right = left + width;
    Wide bottom = top + height;
    if (child.relative && child.reference.cx != 0) {
        const Wide dx = Wide{parent.right} - parent.left - child.reference.cx;
        const Wide dy = Wide{parent.bottom} - parent.top - child.reference.cy;
        left += dx * child.movePercent.cx / 100;
        top += dy * child.movePercent.cy / 100;
        right = left + width + dx * child.zoomPercent.cx / 100;
        bottom = top + height + dy * child.zoomPercent.cy / 100;
    }
    return NarrowRect(left, top, right, bottom);
}

TLayoutSize TileColumns(const TTileLayout& tiles)
{
    int columns = tiles.itemSize.cx > 0 ? tiles.width / tiles.itemSize.cx : tiles.columns;
    columns = std::max(columns, 1);
    return TLayoutSize{columns, tiles.width / columns};
}

namespace {

// The height a tile child asks for: its estimate, else the item height; 0 fills the row.
int TileHeight(const TTileLayout& tiles, int columnWidth, const TLayoutChild& child,
               ILayoutChildren& children, int index)
{
    const TLayoutSize available = {columnWidth, Narrow(Wide{tiles.inner.bottom} - tiles.inner.top)};
    int height = children.Estimate(index, available).cy;
    if (height == 0)
        height = tiles.itemSize.cy;
    return height > 0 ? Clamp(height, child.minSize.cy, child.maxSize.cy) : 0;
}

}  // namespace

int LayOutTiles(const TTileLayout& tiles, ILayoutChildren& children)
{
    const TLayoutSize grid = TileColumns(tiles);
    const int columns = grid.cx;
    const int columnWidth = grid.cy;
    const Wide left = Wide{tiles.inner.left} - tiles.scrollPos.cx;
    Wide top = Wide{tiles.inner.top} - tiles.scrollPos.cy;
    Wide total = 0;
    int first = 0;
    while (first < children.GetCount()) {
        // Measure: the row is the next `columns` children that take part.
        int end = first;
        int inRow = 0;
        Wide rowHeight = 0;
        for (; end < children.GetCount() && inRow < columns; ++end) {
            if (!children.IsVisible(end) || children.IsFloat(end))
                continue;
            const TLayoutChild child = children.Describe(end);
            const int height = TileHeight(tiles, columnWidth, child, children, end);
            rowHeight =
                std::max(rowHeight, Wide{height} + child.padding.top + child.padding.bottom);
            ++inRow;
        }
        // Place: each child in its cell, less its padding.
        int column = 0;
        for (int i = first; i < end && i < children.GetCount(); ++i) {
            if (PlaceOutOfFlow(children, i))
                continue;
            const TLayoutChild child = children.Describe(i);
            const TLayoutRect& p = child.padding;
            int width = child.fixed.cx;
            if (width == 0)
                width = Narrow(std::max(Wide{0}, Wide{columnWidth} - p.left - p.right));
            width = Clamp(width, child.minSize.cx, child.maxSize.cx);
            int height = TileHeight(tiles, columnWidth, child, children, i);
            if (height == 0)
                height = Clamp(Narrow(std::max(Wide{0}, rowHeight - p.top - p.bottom)),
                               child.minSize.cy, child.maxSize.cy);
            const Wide cellLeft = left + Wide{column} * columnWidth + p.left;
            const Wide cellTop = top + p.top;
            children.Place(i, NarrowRect(cellLeft, cellTop, cellLeft + width, cellTop + height));
            ++column;
        }
        top += rowHeight;
        total += rowHeight;
        first = end;
    }
    return Narrow(total);
}

void LayOutTabPage(const TLayoutRect& inner, int selected, ILayoutChildren& children)
{
    for (int i = 0; i < children.GetCount(); ++i) {
        if (PlaceOutOfFlow(children, i))
            continue;
        if (i != selected)
            continue;
        const TLayoutChild page = children.Describe(i);
        const TLayoutRect rc = NarrowRect(
            Wide{inner.left} + page.padding.left, Wide{inner.top} + page.padding.top,
            Wide{inner.right} - page.padding.right, Wide{inner.bottom} - page.padding.bottom);
        const TLayoutSize full = {Narrow(Wide{rc.right} - rc.left),
                                  Narrow(Wide{rc.bottom} - rc.top)};
        const TLayoutSize estimate = children.Estimate(i, full);
        const int width = std::max(0, estimate.cx != 0 ? estimate.cx : full.cx);
        const int height = std::max(0, estimate.cy != 0 ? estimate.cy : full.cy);
        children.Place(i,
                       NarrowRect(rc.left, rc.top,
                                  Wide{rc.left} + Clamp(width, page.minSize.cx, page.maxSize.cx),
                                  Wide{rc.top} + Clamp(height, page.minSize.cy, page.maxSize.cy)));
    }
}

TLayoutRect SeparatorRect(const TSeparator& separator, const TLayoutRect& rc)
{
    TLayoutRect band = rc;
    const Wide size = separator.size;
    if (IsVertical(separator.axis)) {
        if (size >= 0)
            band.top = Narrow(std::max(rc.bottom - size, Wide{rc.top}));
        else
            band.bottom = Narrow(std::min(rc.top - size, Wide{rc.bottom}));
    } else {
        if (size >= 0)
            band.left = Narrow(std::max(rc.right - size, Wide{rc.left}));
        else
            band.right = Narrow(std::min(rc.left - size, Wide{rc.right}));
    }
    return band;
}

bool DragSeparator(const TSeparator& separator, int last, int point, TLayoutRect& rc)
{
    const bool vertical = IsVertical(separator.axis);
    const Wide low = vertical ? rc.top : rc.left;
    const Wide high = vertical ? rc.bottom : rc.right;
    const Wide delta = Wide{point} - last;
    // The edge follows only a mouse on its far side that moves away from the layout.
    const bool moveHigh = separator.size >= 0;
    if (moveHigh) {
        if ((delta > 0 && point < high + separator.size) || (delta < 0 && point > high))
            return false;
    } else if ((delta > 0 && point < low) || (delta < 0 && point > low + separator.size)) {
        return false;
    }
    Wide newLow = moveHigh ? low : low + delta;
    Wide newHigh = moveHigh ? high + delta : high;
    // Held within the limits: a layout already at a limit does not move past it.
    const Wide length = newHigh - newLow;
    const Wide oldLength = high - low;
    Wide limit = length;
    if (length <= separator.minSize) {
        if (oldLength <= separator.minSize)
            return false;
        limit = separator.minSize;
    } else if (length >= separator.maxSize) {
        if (oldLength >= separator.maxSize)
            return false;
        limit = separator.maxSize;
    }
    if (moveHigh)
        newHigh = newLow + limit;
    else
        newLow = newHigh - limit;
    (vertical ? rc.top : rc.left) = Narrow(newLow);
    (vertical ? rc.bottom : rc.right) = Narrow(newHigh);
    return true;
}

}  // namespace Veneer
