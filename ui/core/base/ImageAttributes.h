#pragma once
// Image attribute strings, the one-value description of an image that skins give:
// either a bare file name, or items key='value' separated by blanks, for example
// "res='118' restype='png' source='0,0,100,22' corner='2,2,20,2'". Reading them needs no
// Windows, so the host build tests and fuzzes it.

#include <cstdint>

#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

// How to draw one image; what an attribute string sets before naming the next image.
struct TImageAttributes {
    CUIString name;
    CUIString resourceType;  // empty: a file below the resource path
    TValueRect dest;         // in the item's coordinates; defaults to the item rectangle
    TValueRect source;       // all zero: the whole image
    TValueRect corner;       // nine-grid border widths, drawn unscaled
    std::uint32_t mask;      // premultiplied ARGB value that becomes transparent; 0 none
    unsigned char fade;
    bool hole;
    bool xTiled;
    bool yTiled;
};

using ImageAttributesSink = void (*)(const TImageAttributes& attributes, void* context);

// Reads `text` and then the modifying string `modify` (null or empty: none) into one set of
// settings and calls draw for each image they describe: once at the end, and once more
// before each further "file", "res" or "restype" that starts another image. A malformed
// item ends the reading of its string; what was set before it still counts.
void ReadImageAttributes(const char* text, const char* modify, const TValueRect& item,
                         ImageAttributesSink draw, void* context);

}  // namespace Veneer
