// artgen: draws the program's PNG images and icon from code, so that the art in app/res is
// reproducible and reviewable.
//
//   artgen write RES_DIR   writes RES_DIR/images/*.png and RES_DIR/lorvik.ico
//   artgen check RES_DIR   exit status 1 when a committed file differs from what it draws
//   artgen sheet FILE.png  a contact sheet: every picture enlarged, and previews in use
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tools/artgen/Art.h"
#include "tools/artgen/Sheet.h"

using artgen::Canvas;
using artgen::Picture;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes EncodePng(int width, int height, const Bytes& rgba)
{
    Bytes png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<Bytes*>(context);
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            out->insert(out->end(), bytes, bytes + size);
        },
        &png, width, height, 4, rgba.data(), width * 4);
    return png;
}

void Put16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One icon image: a 32-bit bitmap (rows from the bottom, B, G, R, A) and its 1-bit mask.
Bytes EncodeIconImage(int size, const Bytes& rgba)
{
    const int maskStride = ((size + 31) / 32) * 4;
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour and mask, stacked
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* p = &rgba[artgen::PixelIndex(x, y, size, 4)];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x) {
            if (rgba[artgen::PixelIndex(x, y, size, 4) + 3] == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes EncodeIcon()
{
    const std::vector<int>& sizes = artgen::IconSizes();
    std::vector<Bytes> images;
    for (int size : sizes) {
        Canvas canvas(size, size);
        artgen::DrawIcon(canvas);
        images.push_back(EncodeIconImage(size, canvas.ToRgba8()));
    }
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(sizes.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

struct Output {
    std::string path;  // relative to the resource folder
    Bytes bytes;
};

std::vector<Output> DrawAll()
{
    std::vector<Output> outputs;
    for (const Picture& picture : artgen::Pictures()) {
        Canvas canvas(picture.width, picture.height);
        picture.draw(canvas);
        outputs.push_back({std::string("images/") + picture.name + ".png",
                           EncodePng(picture.width, picture.height, canvas.ToRgba8())});
    }
    outputs.push_back({"lorvik.ico", EncodeIcon()});
    return outputs;
}

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool ReadFile(const std::string& path, Bytes& bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::uint8_t buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return true;
}

int Write(const std::string& folder)
{
    for (const Output& output : DrawAll()) {
        if (!WriteFile(folder + "/" + output.path, output.bytes)) {
            std::fprintf(stderr, "artgen: cannot write %s/%s\n", folder.c_str(),
                         output.path.c_str());
            return 1;
        }
    }
    return 0;
}

int Check(const std::string& folder)
{
    int stale = 0;
    for (const Output& output : DrawAll()) {
        Bytes committed;
        if (!ReadFile(folder + "/" + output.path, committed) || committed != output.bytes) {
            std::fprintf(stderr, "artgen: %s is not what artgen draws; run artgen write\n",
                         output.path.c_str());
            ++stale;
        }
    }
    return stale == 0 ? 0 : 1;
}

int Sheet(const std::string& file)
{
    const artgen::Image sheet = artgen::DrawSheet();
    return WriteFile(file, EncodePng(sheet.width, sheet.height, sheet.rgba)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "check") == 0)
        return Check(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "sheet") == 0)
        return Sheet(argv[2]);
    std::fprintf(stderr, "usage: artgen write RES_DIR | check RES_DIR | sheet FILE.png\n");
    return 2;
}
