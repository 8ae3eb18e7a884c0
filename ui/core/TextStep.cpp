#include "ui/core/TextStep.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace Veneer {

#ifdef _WIN32

bool IsLeadByte(char c)
{
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

const char* PrevChar(const char* start, const char* p)
{
    return CharPrevA(start, p);
}

#else

bool IsLeadByte(char c)
{
    const unsigned char b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

const char* PrevChar(const char* start, const char* p)
{
    if (p <= start)
        return start;
    // Walk forward from the start: in a double-byte code page only a forward scan knows
    // whether the byte before p is a trail byte.
    const char* prev = start;
    for (const char* q = start; q < p;) {
        prev = q;
        const char* next = NextChar(q);
        if (next == q)
            break;
        q = next;
    }
    return prev;
}

#endif

}  // namespace Veneer
