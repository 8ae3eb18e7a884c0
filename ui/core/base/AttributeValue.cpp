#include "ui/core/base/AttributeValue.h"

#include <cstring>

namespace Veneer {
namespace {

const std::int64_t kIntMax = 2147483647;
const std::int64_t kUintMax = 0xFFFFFFFF;

// The C library's white space.
bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsBlank(char c)
{
    return c >= 1 && c <= 32;
}

int DigitValue(char c, int base)
{
    int digit = 99;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

struct TNumber {
    bool negative = false;
    bool overflow = false;
    std::int64_t magnitude = 0;
};

// Digits from p on, the magnitude clamped at limit; *end is where they stopped.
TNumber ScanDigits(const char* p, int base, std::int64_t limit, const char** end)
{
    TNumber number;
    for (int digit; (digit = DigitValue(*p, base)) >= 0; ++p) {
        number.magnitude = number.magnitude * base + digit;
        if (number.magnitude > limit) {
            number.overflow = true;
            number.magnitude = limit;
        }
    }
    *end = p;
    return number;
}

// The C library's number scan: white space, a sign, "0x" for base 16, digits. *end is
// where the number stopped, or text itself when it had no digits.
TNumber ScanNumber(const char* text, int base, std::int64_t limit, const char** end)
{
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2], 16) >= 0)
        p += 2;
    const char* digits = p;
    TNumber number = ScanDigits(p, base, limit, &p);
    number.negative = negative;
    *end = p != digits ? p : text;
    return number;
}

}  // namespace

void CValueReader::SkipByte()
{
    if (*m_p != '\0')
        ++m_p;
}

bool CValueReader::Skip(char c)
{
    if (*m_p != c || c == '\0')
        return false;
    ++m_p;
    return true;
}

void CValueReader::SkipBlanks()
{
    while (IsBlank(*m_p))
        ++m_p;
}

int CValueReader::ReadInteger()
{
    // The magnitude may reach INT_MAX + 1, the one value only a minus allows.
    TNumber number = ScanNumber(m_p, 10, kIntMax + 1, &m_p);
    if (!number.negative && number.magnitude > kIntMax)
        number.magnitude = kIntMax;
    return static_cast<int>(number.negative ? -number.magnitude : number.magnitude);
}

void CValueReader::ReadIntegers(int* numbers, int count)
{
    for (int i = 0; i < count; ++i) {
        numbers[i] = ReadInteger();
        SkipByte();
    }
}

TValueRect CValueReader::ReadRect()
{
    int n[4];
    ReadIntegers(n, 4);
    return {n[0], n[1], n[2], n[3]};
}

TValueSize CValueReader::ReadSize()
{
    int n[2];
    ReadIntegers(n, 2);
    return {n[0], n[1]};
}

std::uint32_t CValueReader::ReadHex(THexSyntax syntax)
{
    const TNumber number = syntax == THexSyntax::Digits ? ScanDigits(m_p, 16, kUintMax, &m_p)
                                                        : ScanNumber(m_p, 16, kUintMax, &m_p);
    if (number.overflow)
        return 0xFFFFFFFFu;
    const std::uint32_t magnitude = static_cast<std::uint32_t>(number.magnitude);
    return number.negative ? 0u - magnitude : magnitude;
}

std::uint32_t CValueReader::ReadColor(THexSyntax syntax)
{
    Skip('#');
    return ReadHex(syntax);
}

bool CValueReader::ReadQuoted(char quote, CUIString& value)
{
    if (*m_p != quote || quote == '\0')
        return false;
    const char* start = m_p + 1;
    const char* p = start;
    while (*p != '\0' && *p != quote)
        p = NextChar(p);
    if (*p != quote || !value.Assign(start, static_cast<int>(p - start)))
        return false;
    m_p = p + 1;
    return true;
}

bool CValueReader::ReadUntil(char stop, CUIString& text)
{
    const char* p = m_p;
    while (*p != '\0' && *p != stop)
        p = NextChar(p);
    if (*p != stop || stop == '\0' || !text.Assign(m_p, static_cast<int>(p - m_p)))
        return false;
    m_p = p;
    return true;
}

int ParseInteger(const char* value)
{
    return CValueReader(value).ReadInteger();
}

TValueRect ParseRect(const char* value)
{
    return CValueReader(value).ReadRect();
}

TValueSize ParseSize(const char* value)
{
    return CValueReader(value).ReadSize();
}

std::uint32_t ParseColor(const char* value, bool skipBlanks)
{
    CValueReader reader(value);
    if (skipBlanks)
        reader.SkipBlanks();
    return reader.ReadColor(THexSyntax::CLibrary);
}

bool ParseBoolean(const char* value)
{
    return value != nullptr && std::strcmp(value, "true") == 0;
}

}  // namespace Veneer
