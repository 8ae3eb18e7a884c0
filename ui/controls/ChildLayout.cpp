#include "ui/controls/ChildLayout.h"

#include <algorithm>

namespace Veneer {
namespace {

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

TLayoutRect RectOf(TLayoutAxis axis, int mainFrom, int mainTo, int crossFrom, int crossTo)
{
    return IsVertical(axis) ? TLayoutRect{crossFrom, mainFrom, crossTo, mainTo}
                            : TLayoutRect{mainFrom, crossFrom, mainTo, crossTo};
}

// To the minimum first, then to the maximum, which wins when the two disagree.
int Clamp(int value, int minimum, int maximum)
{
    return std::min(std::max(value, minimum), maximum);
}

}  // namespace

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
    for (int i = 0; i < children.GetCount(); ++i) {
        if (!children.IsVisible(i) || children.IsFloat(i))
            continue;
        const TLayoutChild child = children.Describe(i);
        const int size = Along(axis, children.Estimate(i, box.available));
        if (size == 0)
            ++measure.adjustable;
        else
            measure.fixedTotal +=
                Clamp(size, Along(axis, child.minSize), Along(axis, child.maxSize));
        const TAxisPadding padding = PaddingOf(axis, child.padding);
        measure.fixedTotal += padding.before + padding.after;
        ++measure.count;
    }
    if (measure.count > 0)
        measure.fixedTotal += (measure.count - 1) * box.childPadding;
    return measure;
}

int ShareOfAdjustable(const TBoxLayout& box, const TFixedMeasure& measure)
{
    if (measure.adjustable == 0)
        return 0;
    return std::max(0, (Along(box.axis, box.available) - measure.fixedTotal) / measure.adjustable);
}

int PlaceBoxChildren(const TBoxLayout& box, const TFixedMeasure& measure, int share,
                     ILayoutChildren& children)
{
    const TLayoutAxis axis = box.axis;
    int position = box.mainStart;
    int remaining = Along(axis, box.available);
    int fixedRemaining = measure.fixedTotal;
    int adjustableSeen = 0;
    int needed = 0;
    for (int i = 0; i < children.GetCount(); ++i) {
        if (PlaceOutOfFlow(children, i))
            continue;
        const TLayoutChild child = children.Describe(i);
        const TAxisPadding padding = PaddingOf(axis, child.padding);
        remaining -= padding.before;
        const TLayoutSize available = SizeOf(axis, remaining, Across(axis, box.available));
        int size = Along(axis, children.Estimate(i, available));
        const int minSize = Along(axis, child.minSize);
        const int maxSize = Along(axis, child.maxSize);
        if (size == 0) {
            // The last adjustable child takes the rest, from which the spacing after each
            // child has been taken twice: once from remaining and once in fixedRemaining.
            ++adjustableSeen;
            if (adjustableSeen == measure.adjustable)
                size = std::max(0, remaining - padding.after - fixedRemaining);
            else
                size = share;
            size = Clamp(size, minSize, maxSize);
        } else {
            size = Clamp(size, minSize, maxSize);
            fixedRemaining -= size;
        }
        int cross = Across(axis, child.fixed);
        if (cross == 0)
            cross = std::max(0, box.crossExtent - padding.crossBefore - padding.crossAfter);
        cross = Clamp(cross, Across(axis, child.minSize), Across(axis, child.maxSize));
        // The rectangle reaches the padding after the child along the axis.
        const int mainFrom = position + padding.before;
        const int crossFrom = box.crossStart + padding.crossBefore;
        children.Place(i, RectOf(axis, mainFrom, mainFrom + size + padding.after, crossFrom,
                                 crossFrom + cross));
        position += size + box.childPadding + padding.before + padding.after;
        needed += size + padding.before + padding.after;
        remaining -= size + box.childPadding + padding.after;
    }
    return needed;
}

int LayOutBox(const TBoxLayout& box, ILayoutChildren& children)
{
    const TFixedMeasure measure = MeasureFixedChildren(box, children);
    const int share = ShareOfAdjustable(box, measure);
    int needed = PlaceBoxChildren(box, measure, share, children);
    if (measure.count > 0)
        needed += (measure.count - 1) * box.childPadding;
    return needed;
}

TLayoutRect PlaceFloatingChild(const TLayoutRect& parent, const TFloatChild& child)
{
    const int x = child.fixedXY.cx;
    const int y = child.fixedXY.cy;
    const int width = child.fixedSize.cx;
    const int height = child.fixedSize.cy;
    TLayoutRect rc;
    rc.left = x >= 0 ? parent.left + x : parent.right + x - width;
    rc.top = y >= 0 ? parent.top + y : parent.bottom + y - height;
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
    if (child.relative && child.reference.cx != 0) {
        const int dx = parent.right - parent.left - child.reference.cx;
        const int dy = parent.bottom - parent.top - child.reference.cy;
        rc.left += dx * child.movePercent.cx / 100;
        rc.top += dy * child.movePercent.cy / 100;
        rc.right = rc.left + width + dx * child.zoomPercent.cx / 100;
        rc.bottom = rc.top + height + dy * child.zoomPercent.cy / 100;
    }
    return rc;
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
    const TLayoutSize available = {columnWidth, tiles.inner.bottom - tiles.inner.top};
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
    const int left = tiles.inner.left - tiles.scrollPos.cx;
    int top = tiles.inner.top - tiles.scrollPos.cy;
    int total = 0;
    int first = 0;
    while (first < children.GetCount()) {
        // Measure: the row is the next `columns` children that take part.
        int end = first;
        int inRow = 0;
        int rowHeight = 0;
        for (; end < children.GetCount() && inRow < columns; ++end) {
            if (!children.IsVisible(end) || children.IsFloat(end))
                continue;
            const TLayoutChild child = children.Describe(end);
            const int height = TileHeight(tiles, columnWidth, child, children, end);
            rowHeight = std::max(rowHeight, height + child.padding.top + child.padding.bottom);
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
                width = std::max(0, columnWidth - p.left - p.right);
            width = Clamp(width, child.minSize.cx, child.maxSize.cx);
            int height = TileHeight(tiles, columnWidth, child, children, i);
            if (height == 0)
                height = Clamp(std::max(0, rowHeight - p.top - p.bottom), child.minSize.cy,
                               child.maxSize.cy);
            const int cellLeft = left + column * columnWidth;
            children.Place(i, TLayoutRect{cellLeft + p.left, top + p.top, cellLeft + p.left + width,
                                          top + p.top + height});
            ++column;
        }
        top += rowHeight;
        total += rowHeight;
        first = end;
    }
    return total;
}

void LayOutTabPage(const TLayoutRect& inner, int selected, ILayoutChildren& children)
{
    for (int i = 0; i < children.GetCount(); ++i) {
        if (PlaceOutOfFlow(children, i))
            continue;
        if (i != selected)
            continue;
        const TLayoutChild page = children.Describe(i);
        const TLayoutRect rc = {inner.left + page.padding.left, inner.top + page.padding.top,
                                inner.right - page.padding.right,
                                inner.bottom - page.padding.bottom};
        const TLayoutSize full = {rc.right - rc.left, rc.bottom - rc.top};
        const TLayoutSize estimate = children.Estimate(i, full);
        const int width = std::max(0, estimate.cx != 0 ? estimate.cx : full.cx);
        const int height = std::max(0, estimate.cy != 0 ? estimate.cy : full.cy);
        children.Place(i, TLayoutRect{rc.left, rc.top,
                                      rc.left + Clamp(width, page.minSize.cx, page.maxSize.cx),
                                      rc.top + Clamp(height, page.minSize.cy, page.maxSize.cy)});
    }
}

TLayoutRect SeparatorRect(const TSeparator& separator, const TLayoutRect& rc)
{
    TLayoutRect band = rc;
    const int size = separator.size;
    if (IsVertical(separator.axis)) {
        if (size >= 0)
            band.top = std::max(rc.bottom - size, rc.top);
        else
            band.bottom = std::min(rc.top - size, rc.bottom);
    } else {
        if (size >= 0)
            band.left = std::max(rc.right - size, rc.left);
        else
            band.right = std::min(rc.left - size, rc.right);
    }
    return band;
}

bool DragSeparator(const TSeparator& separator, int last, int point, TLayoutRect& rc)
{
    const bool vertical = IsVertical(separator.axis);
    const int low = vertical ? rc.top : rc.left;
    const int high = vertical ? rc.bottom : rc.right;
    const int delta = point - last;
    // The edge follows only a mouse on its far side that moves away from the layout.
    const bool moveHigh = separator.size >= 0;
    if (moveHigh) {
        if ((delta > 0 && point < high + separator.size) || (delta < 0 && point > high))
            return false;
    } else if ((delta > 0 && point < low) || (delta < 0 && point > low + separator.size)) {
        return false;
    }
    int newLow = moveHigh ? low : low + delta;
    int newHigh = moveHigh ? high + delta : high;
    // Held within the limits: a layout already at a limit does not move past it.
    const int length = newHigh - newLow;
    const int oldLength = high - low;
    int limit = length;
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
    (vertical ? rc.top : rc.left) = newLow;
    (vertical ? rc.bottom : rc.right) = newHigh;
    return true;
}

}  // namespace Veneer
