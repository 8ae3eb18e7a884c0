// The contact sheet: every picture enlarged on the background it is made for, then
// previews of the pictures as the program stretches them (nearest neighbour, like
// StretchBlt in colour-on-colour mode), and the icon at all its sizes.
#include "tools/artgen/Sheet.h"

#include "tools/artgen/Art.h"

namespace artgen {
namespace {

struct Area {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

Image Draw(const Picture& picture)
{
    Canvas canvas(picture.width, picture.height);
    picture.draw(canvas);
    return {picture.width, picture.height, canvas.ToRgba8()};
}

Image DrawIconImage(int size)
{
    Canvas canvas(size, size);
    DrawIcon(canvas);
    return {size, size, canvas.ToRgba8()};
}

const Picture& PictureOf(int id)
{
    for (const Picture& picture : Pictures()) {
        if (picture.id == id)
            return picture;
    }
    return Pictures().front();
}

class Board {
public:
    Board(int width, int height)
        : m_image{width, height,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(width * height * 4), 0xFF)}
    {
        Fill({0, 0, width, height}, 0xE9ECF1);
    }

    void Fill(const Area& a, std::uint32_t rgb)
    {
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x)
                Blend(x, y, static_cast<std::uint8_t>(rgb >> 16),
                      static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb), 255);
    }

    // Part `from` of the image stretched onto `to`, nearest neighbour, blended by alpha.
    void Put(const Image& image, const Area& from, const Area& to)
    {
        if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0)
            return;
        for (int y = to.top; y < to.bottom; ++y) {
            const int sy = from.top + (y - to.top) * from.Height() / to.Height();
            for (int x = to.left; x < to.right; ++x) {
                const int sx = from.left + (x - to.left) * from.Width() / to.Width();
                const std::uint8_t* p = &image.rgba[PixelIndex(sx, sy, image.width, 4)];
                Blend(x, y, p[0], p[1], p[2], p[3]);
            }
        }
    }

    void PutScaled(const Image& image, int x, int y, int scale)
    {
        Put(image, {0, 0, image.width, image.height},
            {x, y, x + image.width * scale, y + image.height * scale});
    }

    // A nine-grid of `from` with borders l, t, r, b, onto `to`, at a scale.
    void PutNineGrid(const Image& image, const Area& from, int l, int t, int r, int b,
                     const Area& to, int scale)
    {
        const int xs[] = {from.left, from.left + l, from.right - r, from.right};
        const int ys[] = {from.top, from.top + t, from.bottom - b, from.bottom};
        const int xd[] = {to.left, to.left + l * scale, to.right - r * scale, to.right};
        const int yd[] = {to.top, to.top + t * scale, to.bottom - b * scale, to.bottom};
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i)
                Put(image, {xs[i], ys[j], xs[i + 1], ys[j + 1]},
                    {xd[i], yd[j], xd[i + 1], yd[j + 1]});
    }

    Image Take() { return std::move(m_image); }

private:
    void Blend(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
    {
        if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height)
            return;
        std::uint8_t* p = &m_image.rgba[PixelIndex(x, y, m_image.width, 4)];
        p[0] = static_cast<std::uint8_t>((r * a + p[0] * (255 - a)) / 255);
        p[1] = static_cast<std::uint8_t>((g * a + p[1] * (255 - a)) / 255);
        p[2] = static_cast<std::uint8_t>((b * a + p[2] * (255 - a)) / 255);
    }

    Image m_image;
};

constexpr std::uint32_t kHeader = 0x4775CC;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kScale = 4;

// Every picture at four times its size, title-bar buttons on the header blue.
int PlacePictures(Board& board, int width)
{
    int x = 16, y = 16, rowHeight = 0;
    for (const Picture& picture : Pictures()) {
        const int w = picture.width * kScale + 16, h = picture.height * kScale + 16;
        if (x + w > width - 16) {
            x = 16;
            y += rowHeight + 16;
            rowHeight = 0;
        }
        board.Fill({x, y, x + w, y + h}, picture.id <= 114 ? kHeader : kWhite);
        board.PutScaled(Draw(picture), x + 8, y + 8, kScale);
        x += w + 16;
        rowHeight = rowHeight > h ? rowHeight : h;
    }
    return y + rowHeight + 32;
}

// The pictures as the main window and the menu use them, at twice the size.
int PlacePreviews(Board& board, int top)
{
    const int s = 2;
    for (int state = 0; state < 3; ++state) {
        const int y = top + state * 30 * s;
        board.Fill({16, y, 16 + 300 * s, y + 25 * s}, kHeader);
        board.PutScaled(Draw(PictureOf(103 + state)), 16 + 231 * s, y, s);
        board.PutScaled(Draw(PictureOf(112 + state)), 16 + 257 * s, y, s);
        board.PutScaled(Draw(PictureOf(106 + state)), 16 + 150 * s, y, s);
        board.PutScaled(Draw(PictureOf(109 + state)), 16 + 180 * s, y, s);
    }
    const int left = 16 + 300 * s + 32;
    board.Fill({left, top, left + 240 * s, top + 180 * s}, kWhite);
    for (int state = 0; state < 3; ++state) {
        const Image button = Draw(PictureOf(115 + state));
        const int x = left + 20 * s;
        const int y = top + (10 + state * 56) * s;
        board.Put(button, {0, 0, button.width, button.height}, {x, y, x + 200 * s, y + 50 * s});
    }
    const int lower = top + 3 * 30 * s + 16;
    board.Fill({16, lower, 16 + 300 * s, lower + 130 * s}, kWhite);
    const Image combo = Draw(PictureOf(118));
    for (int state = 0; state < 3; ++state) {
        const int y = lower + (10 + state * 30) * s;
        const int right = state == 0 ? 20 : 22;
        board.PutNineGrid(combo, {0, 22 * state, 100, 22 * state + 22}, 2, 2, right, 2,
                          {16 + 10 * s, y, 16 + 190 * s, y + 22 * s}, s);
    }
    const Image menu = Draw(PictureOf(121));
    board.PutNineGrid(menu, {0, 0, 40, 20}, 30, 8, 8, 8,
                      {16 + 10 * s, lower + 100 * s, 16 + 270 * s, lower + 125 * s}, s);
    const Image bar = Draw(PictureOf(119));
    for (int state = 0; state < 3; ++state) {
        const int x = 16 + (210 + state * 28) * s;
        const int y = lower + 5 * s;
        const int c = 16 * state;
        board.Put(bar, {0, 16, 16, 32}, {x, y, x + 16 * s, y + 90 * s});
        board.Put(bar, {c, 0, c + 16, 16}, {x, y, x + 16 * s, y + 16 * s});
        board.Put(bar, {c, 32, c + 16, 48}, {x, y + 74 * s, x + 16 * s, y + 90 * s});
        board.PutNineGrid(bar, {c, 48, c + 16, 64}, 0, 2, 0, 2,
                          {x, y + 24 * s, x + 16 * s, y + 54 * s}, s);
    }
    return lower + 130 * s + 32;
}

void PlaceIcons(Board& board, int top)
{
    int x = 16;
    for (std::uint32_t background : {kWhite, 0x202020u}) {
        board.Fill({x, top, x + 456, top + 112}, background);
        int ix = x + 8;
        for (int size : IconSizes()) {
            board.PutScaled(DrawIconImage(size), ix, top + 8, 1);
            ix += size + 8;
        }
        x += 472;
    }
    board.Fill({x, top, x + 208, top + 208}, kWhite);
    board.PutScaled(DrawIconImage(96), x + 8, top + 8, 2);
}

}  // namespace

Image DrawSheet()
{
    const int width = 1400;
    Board board(width, 1500);
    const int previews = PlacePictures(board, width);
    const int icons = PlacePreviews(board, previews);
    PlaceIcons(board, icons);
    return board.Take();
}

}  // namespace artgen
