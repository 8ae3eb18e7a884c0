#pragma once
// Text from outside the program (skins are UTF-8) into the code page that the framework's
// 8-bit text is in (TextStep.h: TextCodePage). On Windows the platform converts through
// UTF-16; the host build converts into GBK (code page 936, the code page of the program's
// own texts) with the same substitutions, so both builds see the same bytes:
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

#ifdef _WIN32
// The flags for turning UTF-16 into the text code page: no best-fit mapping (a look-alike
// such as a fullwidth sign must not become markup) where the code page allows the flag.
unsigned long WideToTextFlags();
#endif

}  // namespace Veneer
