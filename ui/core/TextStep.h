#pragma once
// Stepping through 8-bit text a whole character at a time. Text is in the ANSI code page,
// where a double-byte character's second byte may look like '\\', '<' or a letter; every
// scan that looks for markup steps with these functions so it never stops inside one.
//
// On Windows the lead-byte test is the platform's (the one CharNextA uses) and stepping
// back is CharPrevA; single-byte characters are stepped inline, without a call per byte.
// The host build steps GBK (code page 936, the code page of the program's own texts), so
// the portable modules behave the same way in both builds.

namespace Veneer {

bool IsLeadByte(char c);

// Next character; at the terminating NUL the same pointer. A lead byte followed by NUL
// counts as one byte, so stepping never passes the terminator.
inline const char* NextChar(const char* p)
{
    if (static_cast<unsigned char>(*p) < 0x80)
        return *p != '\0' ? p + 1 : p;
    return IsLeadByte(*p) && p[1] != '\0' ? p + 2 : p + 1;
}

inline char* NextChar(char* p)
{
    return const_cast<char*>(NextChar(static_cast<const char*>(p)));
}

// The character before p, never before start.
const char* PrevChar(const char* start, const char* p);

}  // namespace Veneer
