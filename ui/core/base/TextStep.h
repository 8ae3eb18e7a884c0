#pragma once
// Stepping through 8-bit text a whole character at a time. The framework's 8-bit text is in
// one code page for the whole process: the system's ANSI code page unless the program
// chooses another at its start (SetTextCodePage), so that a program whose texts are in one
// code page looks the same on every system. A double-byte character's second byte may look
// like '\\', '<' or a letter; every scan that looks for markup steps with these functions so
// it never stops inside one.
//
// The code page's characters are stepped by its rules: the lead bytes of a double-byte
// code page as the platform lists them, UTF-8 (65001) by its sequences and GB18030 (54936)
// by its two- and four-byte forms; single-byte characters are stepped inline. The host
// build knows 936 (GBK, also its default), 54936 and 65001, so the portable modules behave
// the same way in both builds.

namespace Veneer {

// The code page that text is read, drawn and converted in: a number, never CP_ACP.
unsigned TextCodePage();

// Chooses the code page of the framework's 8-bit text; 0 (CP_ACP) is the system's ANSI
// code page, the default. Call it at the start, before any text is read or window made.
// False, and the code page stays as it was, when the platform has no such code page or it
// is a stateful one (UTF-7, ISO-2022), whose characters cannot be stepped byte by byte.
bool SetTextCodePage(unsigned codePage);

// True when c starts a character of more than one byte.
bool IsLeadByte(char c);

// The character after the one at p, whose first byte is not ASCII.
const char* NextMultiByteChar(const char* p);

// Next character; at the terminating NUL the same pointer. A character cut short by the
// NUL ends before it, so stepping never passes the terminator.
inline const char* NextChar(const char* p)
{
    if (static_cast<unsigned char>(*p) < 0x80)
        return *p != '\0' ? p + 1 : p;
    return NextMultiByteChar(p);
}

inline char* NextChar(char* p)
{
    return const_cast<char*>(NextChar(static_cast<const char*>(p)));
}

// The character before p, never before start.
const char* PrevChar(const char* start, const char* p);

// The end of the longest run of whole characters from p, before end, that takes at most
// units UTF-16 units: what a wide measurement's count of units means in the 8-bit text.
const char* SkipUtf16Units(const char* p, const char* end, int units);

}  // namespace Veneer
