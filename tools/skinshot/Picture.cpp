#include "tools/skinshot/Picture.h"

#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>
// The decoder is the framework's own (ui/core/StbImage.cpp).
#include <stb_image.h>

namespace SkinShot {
namespace {

std::vector<unsigned char> ReadFile(const char* path)
{
    std::vector<unsigned char> bytes;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return bytes;
    unsigned char block[65536];
    std::size_t read;
    while ((read = std::fread(block, 1, sizeof(block), file)) > 0)
        bytes.insert(bytes.end(), block, block + read);
    std::fclose(file);
    return bytes;
}

std::string Hex(const unsigned char* rgb)
{
    char text[8];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return text;
}

}  // namespace

CPicture::CPicture(int width, int height)
    : m_width(width), m_height(height), m_rgb(static_cast<std::size_t>(width) * height * 3)
{
}

void CPicture::TakeBgrx(const unsigned char* bits)
{
    for (std::size_t i = 0; i < m_rgb.size() / 3; ++i) {
        m_rgb[3 * i] = bits[4 * i + 2];
        m_rgb[3 * i + 1] = bits[4 * i + 1];
        m_rgb[3 * i + 2] = bits[4 * i];
    }
}

bool CPicture::WritePng(const char* path) const
{
    return stbi_write_png(path, m_width, m_height, 3, m_rgb.data(), m_width * 3) != 0;
}

bool CPicture::Matches(const char* path, std::string* difference) const
{
    difference->clear();
    const std::vector<unsigned char> file = ReadFile(path);
    int width = 0, height = 0, channels = 0;
    unsigned char* expected =
        file.empty() ? nullptr
                     : stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width,
                                             &height, &channels, 3);
    if (expected == nullptr) {
        *difference = "it cannot be read";
        return false;
    }
    long differing = 0;
    std::size_t first = 0;
    if (width == m_width && height == m_height) {
        for (std::size_t i = m_rgb.size() / 3; i-- > 0;) {
            if (m_rgb[3 * i] != expected[3 * i] || m_rgb[3 * i + 1] != expected[3 * i + 1] ||
                m_rgb[3 * i + 2] != expected[3 * i + 2]) {
                ++differing;
                first = i;
            }
        }
        if (differing > 0) {
            const int x = static_cast<int>(first % m_width), y = static_cast<int>(first / m_width);
            *difference = std::to_string(differing) + " pixels, the first at (" +
                          std::to_string(x) + ", " + std::to_string(y) +
                          "): " + Hex(&m_rgb[3 * first]) + " where " + Hex(&expected[3 * first]) +
                          " was expected";
        }
    } else {
        *difference = "it is " + std::to_string(width) + " x " + std::to_string(height) +
                      ", the picture " + std::to_string(m_width) + " x " + std::to_string(m_height);
    }
    stbi_image_free(expected);
    return difference->empty();
}

}  // namespace SkinShot
