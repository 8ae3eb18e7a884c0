#pragma once
// CBackBuffer: a memory DC with a bitmap at the size of a window's client area selected
// into it for the buffer's life. Selecting a device bitmap checks its format against the
// display's, which under Wine is three trips to the server at each paint; a buffer kept
// between paints pays it once.

#include <windows.h>

#include <memory>

#include "ui/core/Win32Util.h"

namespace Veneer {

class CBackBuffer {
public:
    // Compatible with the DC, at the client area's size; null when GDI could not make it.
    static std::unique_ptr<CBackBuffer> Create(HDC compatible, const RECT& client);
    CBackBuffer(const CBackBuffer&) = delete;
    CBackBuffer& operator=(const CBackBuffer&) = delete;

    HDC GetDC() const { return m_dc.Get(); }
    HBITMAP GetBitmap() const { return m_bitmap.Get(); }
    // The rectangle, at the same place in both (client coordinates).
    void CopyTo(HDC to, const RECT& rc) const;
    void CopyFrom(HDC from, const RECT& rc);

private:
    CBackBuffer(HDC compatible, const RECT& client);

    // Declared first, deleted last: deleting the DC first lets the bitmap go.
    CGdiObject<HBITMAP> m_bitmap;
    CMemoryDC m_dc;
};

}  // namespace Veneer
