#pragma once
// The program's pictures, each drawn by code at its resource size.

#include <vector>

#include "tools/artgen/Raster.h"

namespace artgen {

struct Picture {
    int id;            // PNG resource id
    const char* name;  // file name without ".png"
    int width;
    int height;
    void (*draw)(Canvas& canvas);
};

const std::vector<Picture>& Pictures();

// The application icon at any square size.
void DrawIcon(Canvas& canvas);
const std::vector<int>& IconSizes();

}  // namespace artgen
