// Images: decoding into premultiplied bitmaps, and drawing image attribute strings.
#include "ui/core/RenderUtil.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include <stb_image.h>

#include "ui/core/base/Heap.h"
#include "ui/core/base/ImageAttributes.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// Encoded image bytes in a heap block.
class CImageBytes {
public:
    CImageBytes() = default;
    ~CImageBytes() { Heap::Release(m_data); }
    CImageBytes(const CImageBytes&) = delete;
    CImageBytes& operator=(const CImageBytes&) = delete;

    // stb_image takes an int length, so larger images are refused.
    bool Allocate(std::uint64_t size)
    {
        if (size == 0 || size > INT_MAX)
            return false;
        m_data = static_cast<unsigned char*>(Heap::Allocate(static_cast<std::size_t>(size)));
        m_size = static_cast<int>(size);
        return m_data != nullptr;
    }
    unsigned char* Data() const { return m_data; }
    int Size() const { return m_size; }

private:
    unsigned char* m_data = nullptr;
    int m_size = 0;
};

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool ReadResource(const char* nameOrId, const char* type, CImageBytes& bytes)
{
    const HMODULE module = CWindowManagerUI::GetResourceModule();
    HRSRC found = FindResourceA(module, nameOrId, type);
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const bool copied = data != nullptr && bytes.Allocate(SizeofResource(module, found));
    if (copied)
        std::memcpy(bytes.Data(), data, static_cast<std::size_t>(bytes.Size()));
    if (loaded != nullptr)
        FreeResource(loaded);
    return copied;
}

bool ReadImageFile(const char* name, CImageBytes& bytes)
{
    const CUIString path = CWindowManagerUI::GetResourcePath() + name;
    CFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &size) ||
        !bytes.Allocate(static_cast<std::uint64_t>(size.QuadPart)))
        return false;
    DWORD read = 0;
    return ReadFile(file.Get(), bytes.Data(), static_cast<DWORD>(bytes.Size()), &read, nullptr) &&
           read == static_cast<DWORD>(bytes.Size());
}

// RGBA rows from the decoder into a premultiplied B, G, R, A bitmap.
TImageEntry* MakeImage(const unsigned char* rgba, int width, int height, DWORD mask)
{
    void* bits = nullptr;
    CGdiObject<HBITMAP> bitmap(CreateTopDownDib(width, height, &bits));
    if (!bitmap)
        return nullptr;
    bool alphaChannel = false;
    auto* out = static_cast<std::uint32_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < count; ++i, rgba += 4) {
        std::uint32_t r = rgba[0], g = rgba[1], b = rgba[2];
        const std::uint32_t a = rgba[3];
        if (a < 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alphaChannel = true;
        }
        std::uint32_t pixel = a << 24 | r << 16 | g << 8 | b;
        if (pixel == mask) {
            pixel = 0;
            alphaChannel = true;
        }
        out[i] = pixel;
    }
    TImageEntry* image = Heap::New<TImageEntry>(bitmap.Get(), width, height, alphaChannel);
    if (image != nullptr)
        bitmap.Detach();
    return image;
}

struct TDrawTarget {
    HDC dc;
    CWindowManagerUI* manager;
    const RECT& item;
    const RECT& paint;
    bool anyLoaded;
};

}  // namespace

TImageEntry* CRenderUtil::LoadImageData(const char* nameOrId, const char* type, DWORD mask)
{
    CImageBytes bytes;
    const bool read = (type != nullptr && *type != '\0')
                          ? ReadResource(nameOrId, type, bytes)
                          : !IS_INTRESOURCE(nameOrId) && ReadImageFile(nameOrId, bytes);
    if (!read)
        return nullptr;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(bytes.Data(), bytes.Size(), &width, &height, &channels, 4);
    if (rgba == nullptr)
        return nullptr;
    TImageEntry* image = MakeImage(rgba, width, height, mask);
    stbi_image_free(rgba);
    return image;
}

bool CRenderUtil::DrawImageSpec(HDC dc, CWindowManagerUI* manager, const RECT& item,
                                const RECT& paint, const char* attributes, const char* modify)
{
    if (dc == nullptr || manager == nullptr)
        return false;
    TDrawTarget target = {dc, manager, item, paint, false};
    const TValueRect itemRect = {item.left, item.top, item.right, item.bottom};
    ReadImageAttributes(
        attributes, modify, itemRect,
        [](const TImageAttributes& image, void* context) {
            auto* t = static_cast<TDrawTarget*>(context);
            if (DrawNamedImage(t->dc, t->manager, t->item, t->paint, image))
                t->anyLoaded = true;
        },
        &target);
    return target.anyLoaded;
}

bool CRenderUtil::DrawNamedImage(HDC dc, CWindowManagerUI* manager, const RECT& item,
                                 const RECT& paint, const TImageAttributes& attributes)
{
    const char* type =
        attributes.resourceType.IsEmpty() ? nullptr : attributes.resourceType.GetData();
    const TImageEntry* image = manager->FindOrLoadImage(attributes.name, type, attributes.mask);
    if (image == nullptr)
        return false;
    RECT source = ToRect(attributes.source);
    if (source.left == 0 && source.top == 0 && source.right == 0 && source.bottom == 0)
        source = {0, 0, image->width, image->height};
    if (source.right > image->width)
        source.right = image->width;
    if (source.bottom > image->height)
        source.bottom = image->height;
    const RECT dest = ToRect(attributes.dest);
    RECT common;
    if (IntersectRect(&common, &dest, &item) && IntersectRect(&common, &dest, &paint))
        DrawBitmap(dc, image->bitmap, dest, paint, source, ToRect(attributes.corner),
                   image->alphaChannel, attributes.fade, attributes.hole, attributes.xTiled,
                   attributes.yTiled);
    return true;
}

}  // namespace Veneer
