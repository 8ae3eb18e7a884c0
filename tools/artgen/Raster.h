#pragma once
// A small vector rasteriser for the program's art: shapes are signed distance functions
// (negative inside, in pixels), painted with 8 x 8 samples per pixel into premultiplied
// floating-point RGBA.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace artgen {

// A straight (not premultiplied) colour, each component 0..1.
struct Rgba {
    float r, g, b, a;
};

// The index of the first of a pixel's channels in rows of width pixels.
inline std::size_t PixelIndex(int x, int y, int width, int channels = 1)
{
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
            static_cast<std::size_t>(x)) *
           static_cast<std::size_t>(channels);
}

inline Rgba Hex(std::uint32_t rgb, float alpha = 1.0f)
{
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
            alpha};
}

inline Rgba Mix(Rgba a, Rgba b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

using Shape = std::function<float(float x, float y)>;

// Axis-aligned rectangle from (x0, y0) to (x1, y1) with rounded corners.
inline Shape Box(float x0, float y0, float x1, float y1, float radius = 0.0f)
{
    return [=](float x, float y) {
        const float qx = std::fabs(x - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius);
        const float qy = std::fabs(y - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius);
        const float ox = std::max(qx, 0.0f);
        const float oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

inline Shape Circle(float cx, float cy, float radius)
{
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

// A stroke with round ends from a to b, halfWidth on either side.
inline Shape Segment(float ax, float ay, float bx, float by, float halfWidth)
{
    return [=](float x, float y) {
        const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
        const float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        return std::hypot(px - dx * t, py - dy * t) - halfWidth;
    };
}

// The arc of a circle around (cx, cy), opening upwards, aperture radians on each side of
// the vertical, stroked with round ends.
inline Shape Arc(float cx, float cy, float radius, float aperture, float halfWidth)
{
    const float s = std::sin(aperture), c = std::cos(aperture);
    return [=](float x, float y) {
        const float px = std::fabs(x - cx), py = cy - y;
        const float d = (c * px > s * py) ? std::hypot(px - s * radius, py - c * radius)
                                          : std::fabs(std::hypot(px, py) - radius);
        return d - halfWidth;
    };
}

inline Shape Union(const Shape& a, const Shape& b)
{
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

inline Shape Minus(const Shape& a, const Shape& b)
{
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

// The band of a shape's inside that lies within width of its edge.
inline Shape Outline(const Shape& a, float width)
{
    return [=](float x, float y) {
        const float d = a(x, y);
        return std::max(d, -(d + width));
    };
}

// Joined strokes through the points (x0, y0, x1, y1, ...).
inline Shape Polyline(std::vector<float> points, float halfWidth)
{
    Shape shape = Segment(points[0], points[1], points[2], points[3], halfWidth);
    for (std::size_t i = 2; i + 3 < points.size(); i += 2)
        shape = Union(shape,
                      Segment(points[i], points[i + 1], points[i + 2], points[i + 3], halfWidth));
    return shape;
}

class Canvas {
public:
    Canvas(int width, int height)
        : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width * height))
    {
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(const Shape& shape, Rgba color)
    {
        Paint(shape, [color](float, float) { return color; });
    }

    // A vertical gradient from top colour at y0 to bottom colour at y1.
    void FillVertical(const Shape& shape, Rgba top, Rgba bottom, float y0, float y1)
    {
        Paint(shape, [=](float, float y) {
            return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
        });
    }

    void Paint(const Shape& shape, const std::function<Rgba(float, float)>& color)
    {
        constexpr int kSamples = 8;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                int inside = 0;
                for (int j = 0; j < kSamples; ++j)
                    for (int i = 0; i < kSamples; ++i)
                        inside +=
                            shape(x + (i + 0.5f) / kSamples, y + (j + 0.5f) / kSamples) < 0.0f;
                if (inside == 0)
                    continue;
                const Rgba c = color(x + 0.5f, y + 0.5f);
                const float a = c.a * inside / (kSamples * kSamples);
                Rgba& p = At(x, y);
                p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a),
                     a + p.a * (1 - a)};
            }
        }
    }

    // Premultiplied pixel.
    Rgba& At(int x, int y) { return m_pixels[PixelIndex(x, y, m_width)]; }
    const Rgba& At(int x, int y) const { return m_pixels[PixelIndex(x, y, m_width)]; }

    // Straight 8-bit R, G, B, A rows from the top.
    std::vector<std::uint8_t> ToRgba8() const
    {
        std::vector<std::uint8_t> out;
        out.reserve(m_pixels.size() * 4);
        auto byte = [](float v) {
            return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        };
        for (const Rgba& p : m_pixels) {
            const float a = p.a > 0.0f ? p.a : 1.0f;
            out.push_back(byte(p.r / a));
            out.push_back(byte(p.g / a));
            out.push_back(byte(p.b / a));
            out.push_back(byte(p.a));
        }
        return out;
    }

private:
    int m_width;
    int m_height;
    std::vector<Rgba> m_pixels;
};

}  // namespace artgen
