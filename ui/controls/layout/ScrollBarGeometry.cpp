#include "ui/controls/layout/ScrollBarGeometry.h"

#include <algorithm>
#include <cstdint>

namespace Veneer {
namespace {

// A horizontal bar is measured as a vertical one with x and y exchanged.
TLayoutRect Transposed(const TLayoutRect& rc)
{
    return TLayoutRect{rc.top, rc.left, rc.bottom, rc.right};
}

TLayoutRect Oriented(const TScrollBarShape& shape, const TLayoutRect& rc)
{
    return shape.horizontal ? Transposed(rc) : rc;
}

int TrackLength(const TScrollBarShape& shape)
{
    const TLayoutRect item = Oriented(shape, shape.item);
    return item.bottom - item.top - (shape.showButton1 ? shape.thickness : 0) -
           (shape.showButton2 ? shape.thickness : 0);
}

}  // namespace

TScrollBarParts MeasureScrollBar(const TScrollBarShape& shape)
{
    const TLayoutRect item = Oriented(shape, shape.item);
    const int l = item.left;
    const int t = item.top;
    const int b = item.bottom;
    const int thick = shape.thickness;
    const int length = b - t;
    const int track = TrackLength(shape);
    TScrollBarParts parts = {{l, t, l, t}, {l, b, l, b}, {0, 0, 0, 0}};
    if (track > thick) {
        if (shape.showButton1)
            parts.button1 = {l, t, l + thick, t + thick};
        if (shape.showButton2)
            parts.button2 = {l, b - thick, l + thick, b};
        TLayoutRect thumb = {l, parts.button1.bottom, l + thick, parts.button2.top};
        if (shape.range >= 1) {
            // 64 bits: a large range times the track overflows 32.
            const std::int64_t range = shape.range;
            const int thumbLength = std::max<int>(
                thick, static_cast<int>(std::int64_t{length} * track / (range + length)));
            thumb.top =
                static_cast<int>(shape.position * std::int64_t{track - thumbLength} / range) +
                parts.button1.bottom;
            thumb.bottom = thumb.top + thumbLength;
            if (thumb.bottom > parts.button2.top) {
                thumb.top = parts.button2.top - thumbLength;
                thumb.bottom = parts.button2.top;
            }
        }
        parts.thumb = thumb;
    } else {
        const int button = std::min(length / 2, thick);
        if (shape.showButton1)
            parts.button1 = {l, t, l + thick, t + button};
        if (shape.showButton2)
            parts.button2 = {l, b - button, l + thick, b};
    }
    if (shape.horizontal) {
        parts.button1 = Transposed(parts.button1);
        parts.button2 = Transposed(parts.button2);
        parts.thumb = Transposed(parts.thumb);
    }
    return parts;
}

bool HasThumb(const TScrollBarParts& parts)
{
    const TLayoutRect& thumb = parts.thumb;
    return thumb.left != 0 || thumb.top != 0 || thumb.right != 0 || thumb.bottom != 0;
}

int ThumbDragOffset(const TScrollBarShape& shape, const TScrollBarParts& parts, int moved)
{
    if (!HasThumb(parts))
        return 0;
    const TLayoutRect thumb = Oriented(shape, parts.thumb);
    const int travel = TrackLength(shape) - (thumb.bottom - thumb.top);
    if (travel <= 0)
        return 0;
    return static_cast<int>(std::int64_t{moved} * shape.range / travel);
}

int SideOfThumb(const TScrollBarShape& shape, const TScrollBarParts& parts, int x, int y)
{
    const int point = shape.horizontal ? x : y;
    if (!HasThumb(parts)) {
        // A track too short for a thumb still pages: about the place the position has
        // along it.
        const int start = shape.horizontal ? parts.button1.right : parts.button1.bottom;
        const int end = shape.horizontal ? parts.button2.left : parts.button2.top;
        const std::int64_t along =
            shape.range > 0 ? std::int64_t{end - start} * shape.position / shape.range : 0;
        return point < start + along ? -1 : 1;
    }
    const TLayoutRect& thumb = parts.thumb;
    const int before = shape.horizontal ? thumb.left : thumb.top;
    const int after = shape.horizontal ? thumb.right : thumb.bottom;
    if (point < before)
        return -1;
    return point >= after ? 1 : 0;
}

}  // namespace Veneer
