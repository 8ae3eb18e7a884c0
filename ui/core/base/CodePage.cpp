#include "ui/core/base/CodePage.h"

#include <climits>
#include <cstdint>

#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace Veneer {
namespace {

char* EmptyText(std::size_t* ansiLength)
{
    char* text = static_cast<char*>(Heap::Allocate(1));
    if (text != nullptr)
        text[0] = '\0';
    *ansiLength = 0;
    return text;
}

}  // namespace

#ifdef _WIN32

namespace {

struct HeapBlock {
    void* block;
    ~HeapBlock() { Heap::Release(block); }
};

}  // namespace

// The code pages that hold every character have no best fit to turn off, and Windows
// refuses the flag for them (ERROR_INVALID_FLAGS), as it does for the stateful ones.
unsigned long WideToTextFlags()
{
    const unsigned codePage = TextCodePage();
    const bool flagsRefused = codePage == CP_UTF7 || codePage == CP_UTF8 || codePage == 54936 ||
                              codePage == 42 || (codePage >= 50220 && codePage <= 50229) ||
                              (codePage >= 57002 && codePage <= 57011);
    return flagsRefused ? 0 : WC_NO_BEST_FIT_CHARS;
}

char* Utf8ToAnsi(const char* utf8, std::size_t length, std::size_t* ansiLength)
{
    if (length == 0)
        return EmptyText(ansiLength);
    if (length > INT_MAX)
        return nullptr;
    const int inLength = static_cast<int>(length);
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, inLength, nullptr, 0);
    if (wideLength <= 0)
        return nullptr;
    HeapBlock wide{Heap::Allocate(static_cast<std::size_t>(wideLength) * sizeof(wchar_t))};
    if (wide.block == nullptr)
        return nullptr;
    wchar_t* wideText = static_cast<wchar_t*>(wide.block);
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, inLength, wideText, wideLength) != wideLength)
        return nullptr;
    const UINT codePage = TextCodePage();
    const DWORD flags = WideToTextFlags();
    const int outLength =
        WideCharToMultiByte(codePage, flags, wideText, wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        return nullptr;
    char* text = static_cast<char*>(Heap::Allocate(static_cast<std::size_t>(outLength) + 1));
    if (text == nullptr)
        return nullptr;
    if (WideCharToMultiByte(codePage, flags, wideText, wideLength, text, outLength, nullptr,
                            nullptr) != outLength) {
        Heap::Release(text);
        return nullptr;
    }
    text[outLength] = '\0';
    *ansiLength = static_cast<std::size_t>(outLength);
    return text;
}

#else

namespace {

const std::uint32_t kReplacement = 0xFFFD;

bool IsTrail(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// One code point from UTF-8, substituting as the Windows converter does: a second byte
// outside its lead byte's range is consumed together with the lead.
std::uint32_t DecodeOne(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int more = 0;
    std::uint32_t code = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // overlong
        high = lead == 0xED ? 0x9F : 0xBF;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;   // overlong
        high = lead == 0xF4 ? 0x8F : 0xBF;  // beyond U+10FFFF
    } else {
        return kReplacement;
    }
    if (p == end || !IsTrail(*p))
        return kReplacement;
    if (*p < low || *p > high) {
        ++p;
        return kReplacement;
    }
    for (; more > 0 && p != end && IsTrail(*p); --more)
        code = (code << 6) | (*p++ & 0x3F);
    return more == 0 ? code : kReplacement;
}

// What iconv_open answers when it has no such conversion.
const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

struct Iconv {
    iconv_t handle;
    ~Iconv()
    {
        if (handle != kNoConversion)
            iconv_close(handle);
    }
};

// Appends the code page's bytes for one code point, or the substitute.
void EncodeOne(iconv_t gbk, std::uint32_t code, char*& out)
{
    if (code > 0xFFFF) {
        *out++ = '?';
        *out++ = '?';
        return;
    }
    unsigned char in[4] = {static_cast<unsigned char>(code), static_cast<unsigned char>(code >> 8),
                           0, 0};
    char* inPointer = reinterpret_cast<char*>(in);
    std::size_t inLeft = sizeof(in), outLeft = 2;
    if (iconv(gbk, &inPointer, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        *out++ = '?';
}

}  // namespace

char* Utf8ToAnsi(const char* utf8, std::size_t length, std::size_t* ansiLength)
{
    if (length == 0)
        return EmptyText(ansiLength);
    // A code point takes at least one byte of UTF-8 and gives at most two bytes of GBK.
    if (length > (SIZE_MAX - 1) / 2)
        return nullptr;
    Iconv gbk{iconv_open("CP936", "UCS-4LE")};
    char* text = static_cast<char*>(Heap::Allocate(length * 2 + 1));
    if (gbk.handle == kNoConversion || text == nullptr) {
        Heap::Release(text);
        return nullptr;
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned char* end = p + length;
    char* out = text;
    while (p != end) {
        if (*p < 0x80) {
            *out++ = static_cast<char>(*p++);
            continue;
        }
        EncodeOne(gbk.handle, DecodeOne(p, end), out);
    }
    *out = '\0';
    *ansiLength = static_cast<std::size_t>(out - text);
    char* fitted = static_cast<char*>(Heap::Reallocate(text, *ansiLength + 1));
    return fitted != nullptr ? fitted : text;
}

#endif

}  // namespace Veneer
