// The back buffer on memory DCs: no window is needed.

#include "ui/core/BackBuffer.h"

#include <gtest/gtest.h>

namespace Veneer {
namespace {

const RECT kClient = {0, 0, 8, 6};

void Fill(HDC dc, const RECT& rc, COLORREF color)
{
    CGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &rc, brush.Get());
}

TEST(BackBufferTest, IsMadeAtTheClientSizeWithItsBitmapSelectedAndDeletesBoth)
{
    CMemoryDC screen(nullptr);
    std::unique_ptr<CBackBuffer> buffer = CBackBuffer::Create(screen.Get(), kClient);
    ASSERT_NE(buffer, nullptr);
    BITMAP bitmap = {};
    ASSERT_EQ(GetObjectA(buffer->GetBitmap(), sizeof bitmap, &bitmap), int{sizeof bitmap});
    EXPECT_EQ(bitmap.bmWidth, 8);
    EXPECT_EQ(bitmap.bmHeight, 6);
    EXPECT_EQ(GetCurrentObject(buffer->GetDC(), OBJ_BITMAP), buffer->GetBitmap());
    const HBITMAP handle = buffer->GetBitmap();
    const HDC dc = buffer->GetDC();
    buffer.reset();
    EXPECT_EQ(GetObjectType(handle), 0u) << "the bitmap is deleted";
    EXPECT_EQ(GetObjectType(dc), 0u) << "the DC is deleted";
}

TEST(BackBufferTest, ASizeGdiCannotMakeGivesNoBuffer)
{
    CMemoryDC screen(nullptr);
    EXPECT_EQ(CBackBuffer::Create(screen.Get(), RECT{0, 0, 1 << 20, 1 << 20}), nullptr);
}

TEST(BackBufferTest, CopiesMoveOneRectangleAtTheSamePlace)
{
    // A display-compatible DC and bitmap stand for the screen.
    const HDC display = GetDC(nullptr);
    ASSERT_NE(display, nullptr);
    CMemoryDC screen(display);
    CGdiObject<HBITMAP> screenBits(CreateCompatibleBitmap(display, 8, 6));
    ReleaseDC(nullptr, display);
    CSelectObject selected(screen.Get(), screenBits.Get());
    std::unique_ptr<CBackBuffer> buffer = CBackBuffer::Create(screen.Get(), kClient);
    ASSERT_NE(buffer, nullptr);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
    Fill(screen.Get(), kClient, red);
    Fill(buffer->GetDC(), kClient, blue);
    const RECT part = {2, 1, 5, 4};
    buffer->CopyFrom(screen.Get(), part);
    EXPECT_EQ(GetPixel(buffer->GetDC(), 2, 1), red);
    EXPECT_EQ(GetPixel(buffer->GetDC(), 4, 3), red);
    EXPECT_EQ(GetPixel(buffer->GetDC(), 5, 3), blue) << "right of the rectangle";
    EXPECT_EQ(GetPixel(buffer->GetDC(), 1, 1), blue) << "left of it";
    Fill(buffer->GetDC(), kClient, green);
    buffer->CopyTo(screen.Get(), part);
    EXPECT_EQ(GetPixel(screen.Get(), 3, 2), green);
    EXPECT_EQ(GetPixel(screen.Get(), 3, 4), red) << "below the rectangle";
}

}  // namespace
}  // namespace Veneer
