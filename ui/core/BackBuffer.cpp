#include "ui/core/BackBuffer.h"

#include <new>

namespace Veneer {
namespace {

void CopyRect(HDC to, HDC from, const RECT& rc)
{
    BitBlt(to, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, from, rc.left, rc.top,
           SRCCOPY);
}

}  // namespace

CBackBuffer::CBackBuffer(HDC compatible, const RECT& client)
    : m_bitmap(CreateCompatibleBitmap(compatible, client.right - client.left,
                                      client.bottom - client.top)),
      m_dc(compatible)
{
}

std::unique_ptr<CBackBuffer> CBackBuffer::Create(HDC compatible, const RECT& client)
{
    std::unique_ptr<CBackBuffer> buffer(new (std::nothrow) CBackBuffer(compatible, client));
    if (buffer == nullptr || !buffer->m_dc || !buffer->m_bitmap ||
        SelectObject(buffer->GetDC(), buffer->GetBitmap()) == nullptr)
        return nullptr;
    return buffer;
}

void CBackBuffer::CopyTo(HDC to, const RECT& rc) const
{
    CopyRect(to, GetDC(), rc);
}

void CBackBuffer::CopyFrom(HDC from, const RECT& rc)
{
    CopyRect(GetDC(), from, rc);
}

}  // namespace Veneer
