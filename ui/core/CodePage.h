#pragma once
// Text from outside the program (skins are UTF-8) into the ANSI code page that the
// framework works in. On Windows the platform converts through UTF-16 into the process's
// code page; the host build converts into GBK (code page 936, the code page of the
// program's own texts) with the same substitutions, so both builds see the same bytes:
// - an invalid UTF-8 sequence becomes one '?' per piece the platform rejects (a byte that
//   cannot start a sequence, a sequence cut short, or a lead byte together with a second
//   byte outside its range);
// - a character the code page cannot hold becomes '?', and one beyond U+FFFF becomes "??"
//   (one per UTF-16 unit). Never a look-alike: no character may turn into markup.
// NUL bytes pass through unchanged.

#include <cstddef>

namespace Veneer {

// A NUL-terminated heap block (free it with Heap::Release) and, in *ansiLength, its length
// without the terminator; null when memory ran out.
char* Utf8ToAnsi(const char* utf8, std::size_t length, std::size_t* ansiLength);

}  // namespace Veneer
