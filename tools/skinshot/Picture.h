#pragma once
// CPicture: skinshot's picture of a window, RGB without alpha, written as PNG and compared
// with an expected PNG pixel for pixel.

#include <string>
#include <vector>

namespace SkinShot {

class CPicture {
public:
    CPicture(int width, int height);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The pixels of a top-down 32-bit DIB (blue, green, red, unused per pixel).
    void TakeBgrx(const unsigned char* bits);
    bool WritePng(const char* path) const;
    // True when the PNG at path has this size and these pixels; else false, with what
    // differs (the count of pixels and the first of them) in *difference.
    bool Matches(const char* path, std::string* difference) const;

private:
    int m_width;
    int m_height;
    std::vector<unsigned char> m_rgb;
};

}  // namespace SkinShot
