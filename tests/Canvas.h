#pragma once
// Drawing tests read their results back from a 32-bit DIB section.

#include <windows.h>

#include <cstdint>

namespace VeneerTest {

// A 32-bit top-down DIB section selected into a memory DC, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height)
        : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                    reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }

    HDC Dc() const { return m_dc; }
    RECT Bounds() const { return {0, 0, m_width, m_height}; }
    void Clear(std::uint32_t value)
    {
        GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = value;
    }
    // Red, green and blue only: the drawing operations leave the alpha byte as they like.
    std::uint32_t At(int x, int y) const
    {
        GdiFlush();
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }
    std::uint32_t Raw(int x, int y) const
    {
        GdiFlush();
        return m_bits[y * m_width + x];
    }
    void Set(int x, int y, std::uint32_t value)
    {
        GdiFlush();
        m_bits[y * m_width + x] = value;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    std::uint32_t* m_bits = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace VeneerTest
