#include "ui/core/base/TextStep.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace Veneer {
namespace {

enum class TStepping { SingleByte, DoubleByte, Utf8, Gb18030 };

struct TCodePageRules {
    unsigned codePage = 0;
    TStepping stepping = TStepping::SingleByte;
    bool lead[256] = {};  // double-byte code pages: the lead bytes
};

const unsigned kUtf8 = 65001;
const unsigned kGb18030 = 54936;
const unsigned kGbk = 936;

bool InRange(unsigned char b, unsigned char low, unsigned char high)
{
    return b >= low && b <= high;
}

void MarkLeadBytes(TCodePageRules& rules, unsigned char low, unsigned char high)
{
    for (unsigned b = low; b <= high; ++b)
        rules.lead[b] = true;
}

bool MakeRules(unsigned codePage, TCodePageRules& rules)
{
#ifdef _WIN32
    if (codePage == CP_ACP)
        codePage = GetACP();
#else
    if (codePage == 0)
        codePage = kGbk;
#endif
    rules = TCodePageRules();
    rules.codePage = codePage;
    if (codePage == kUtf8) {
        rules.stepping = TStepping::Utf8;
        MarkLeadBytes(rules, 0xC2, 0xF4);
        return true;
    }
    if (codePage == kGb18030) {
        rules.stepping = TStepping::Gb18030;
        MarkLeadBytes(rules, 0x81, 0xFE);
        return true;
    }
#ifdef _WIN32
    CPINFO info = {};
    if (!GetCPInfo(codePage, &info))
        return false;
    if (info.MaxCharSize == 1)
        return true;
    // The stateful code pages (UTF-7, ISO-2022) write characters as runs of ASCII bytes,
    // which a scan for markup cannot step over.
    if (info.MaxCharSize > 2)
        return false;
    rules.stepping = TStepping::DoubleByte;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
        MarkLeadBytes(rules, info.LeadByte[i], info.LeadByte[i + 1]);
    return true;
#else
    if (codePage != kGbk)
        return false;
    rules.stepping = TStepping::DoubleByte;
    MarkLeadBytes(rules, 0x81, 0xFE);
    return true;
#endif
}

TCodePageRules& Rules()
{
    static TCodePageRules rules = [] {
        TCodePageRules made;
        MakeRules(0, made);
        return made;
    }();
    return rules;
}

bool IsUtf8Trail(char c)
{
    return InRange(static_cast<unsigned char>(c), 0x80, 0xBF);
}

const char* NextUtf8(const char* p)
{
    const unsigned char lead = static_cast<unsigned char>(*p);
    int trail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    if (!Rules().lead[lead])
        trail = 0;
    const char* q = p + 1;
    for (; trail > 0 && IsUtf8Trail(*q); --trail)
        ++q;
    return q;
}

bool IsGbDigit(char c)
{
    return InRange(static_cast<unsigned char>(c), 0x30, 0x39);
}

// Two bytes, or four when the second is a digit: lead, digit, lead, digit.
const char* NextGb18030(const char* p)
{
    if (IsGbDigit(p[1]))
        return IsLeadByte(p[2]) && IsGbDigit(p[3]) ? p + 4 : p + 1;
    return p[1] != '\0' ? p + 2 : p + 1;
}

// UTF-16 units of the character p .. next: two for the characters beyond U+FFFF, which
// take four bytes in both UTF-8 and GB18030 (from 90 30 81 30 on).
int Utf16Units(const char* p, const char* next)
{
    if (next - p < 4)
        return 1;
    return Rules().stepping == TStepping::Utf8 || static_cast<unsigned char>(*p) >= 0x90 ? 2 : 1;
}

}  // namespace

unsigned TextCodePage()
{
    return Rules().codePage;
}

bool SetTextCodePage(unsigned codePage)
{
    TCodePageRules made;
    if (!MakeRules(codePage, made))
        return false;
    Rules() = made;
    return true;
}

bool IsLeadByte(char c)
{
    return Rules().lead[static_cast<unsigned char>(c)];
}

const char* NextMultiByteChar(const char* p)
{
    switch (Rules().stepping) {
    case TStepping::SingleByte:
        return p + 1;
    case TStepping::DoubleByte:
        return IsLeadByte(*p) && p[1] != '\0' ? p + 2 : p + 1;
    case TStepping::Utf8:
        return NextUtf8(p);
    case TStepping::Gb18030:
        return IsLeadByte(*p) ? NextGb18030(p) : p + 1;
    }
    return p + 1;
}

const char* PrevChar(const char* start, const char* p)
{
    if (p <= start)
        return start;
    // Walk forward from the start: in a multi-byte code page only a forward scan knows
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

const char* SkipUtf16Units(const char* p, const char* end, int units)
{
    while (p < end) {
        const char* next = NextChar(p);
        if (next == p || next > end)
            break;
        const int taken = Utf16Units(p, next);
        if (taken > units)
            break;
        units -= taken;
        p = next;
    }
    return p;
}

}  // namespace Veneer
