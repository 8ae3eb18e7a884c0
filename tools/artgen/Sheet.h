#pragma once
// A contact sheet of the art, for looking at it as a whole.

#include <cstdint>
#include <vector>

namespace artgen {

struct Image {
    int width;
    int height;
    std::vector<std::uint8_t> rgba;  // straight R, G, B, A rows from the top
};

Image DrawSheet();

}  // namespace artgen
