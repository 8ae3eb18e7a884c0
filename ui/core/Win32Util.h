#pragma once
// Small helpers of the Windows-only files: owners for GDI handles, so that every object,
// DC, selection and clip is given back on every path out of a function; top-down DIB
// sections; DLLs of the system folder and entry points looked up at run time; attribute
// values as RECT and SIZE.

#include <windows.h>

#include <cstdio>

#include "ui/core/AttributeValue.h"

namespace Veneer {

// Integer lists of attribute values as the platform's rectangles and sizes.
inline RECT ToRect(const TValueRect& rc)
{
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

inline SIZE ToSize(const TValueSize& size)
{
    return SIZE{size.cx, size.cy};
}

// Owns one handle and gives it back with Release, a function object, on every path.
template <class Handle, class Release>
class COwnedHandle {
public:
    explicit COwnedHandle(Handle handle = nullptr) : m_handle(handle) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle != nullptr)
            Release()(m_handle);
        m_handle = handle;
    }
    Handle Detach()
    {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    Handle m_handle;
};

struct CDeleteGdiObject {
    void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};

struct CDestroyIcon {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// Owns one GDI object (bitmap, font, pen, brush, region) and deletes it.
template <class Handle>
using CGdiObject = COwnedHandle<Handle, CDeleteGdiObject>;

// Owns one icon and destroys it.
using CIcon = COwnedHandle<HICON, CDestroyIcon>;

// A memory DC compatible with another one, deleted at the end of its scope.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible) : m_dc(CreateCompatibleDC(compatible)) {}
    ~CMemoryDC()
    {
        if (m_dc != nullptr)
            DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// Selects an object into a DC and selects the previous one back at the end of its scope.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Narrows a DC's clip to a rectangle (logical coordinates) and gives back the clip region
// exactly as it was at the end of its scope.
class CClipToRect {
public:
    CClipToRect(HDC dc, const RECT& rc) : m_dc(dc), m_previous(CreateRectRgn(0, 0, 0, 0))
    {
        // 1: a clip region was copied; 0: the DC had none, which is given back as none.
        if (m_previous != nullptr && GetClipRgn(dc, m_previous) != 1) {
            DeleteObject(m_previous);
            m_previous = nullptr;
        }
        IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    }
    ~CClipToRect()
    {
        SelectClipRgn(m_dc, m_previous);
        if (m_previous != nullptr)
            DeleteObject(m_previous);
    }
    CClipToRect(const CClipToRect&) = delete;
    CClipToRect& operator=(const CClipToRect&) = delete;

private:
    HDC m_dc;
    HRGN m_previous;
};

// A top-down 32-bit DIB section: pixels B, G, R, A from the top row down.
inline HBITMAP CreateTopDownDib(int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// An icon resource at one of the system's icon sizes (SM_CXICON, SM_CXSMICON ...): the
// group's image of that size rather than a larger one scaled down. Not shared: a shared load
// answers with the first size that was loaded of the name.
inline HICON LoadIconAtSize(HINSTANCE module, const char* name, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), 0));
}

// An exported function of a loaded module, typed; null when the module or name is missing.
template <class Proc>
Proc LookUpProc(HMODULE module, const char* name)
{
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A DLL of the system folder, never one planted beside the program: by the loader's flag
// where it knows it, by full path where it does not (Windows 7 without KB2533623 refuses the
// flag as an invalid parameter).
inline HMODULE LoadSystemLibrary(const char* name)
{
    if (const HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    char path[MAX_PATH] = {};
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (folder == 0 || folder >= MAX_PATH)
        return nullptr;
    const int length = std::snprintf(path + folder, MAX_PATH - folder, "\\%s", name);
    if (length <= 0 || static_cast<UINT>(length) >= MAX_PATH - folder)
        return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace Veneer
