#include "ui/core/AttributeValue.h"

#include <cstring>

#include "ui/core/TextStep.h"

namespace Veneer {
namespace {

const std::int64_t kIntMax = 2147483647;
const std::int64_t kUintMax = 0xFFFFFFFF;

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
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

// The C library's number scan (white space, sign, digits) with 32-bit results on every
// platform. *end is where the number stopped, or text itself when it had no digits.
struct TNumber {
    bool negative = false;
    bool overflow = false;
    std::int64_t magnitude = 0;
};

TNumber ScanNumber(const char* text, int base, std::int64_t limit, const char** end)
{
    TNumber number;
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    if (*p == '+' || *p == '-')
        number.negative = *p++ == '-';
    if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2], 16) >= 0)
        p += 2;
    const char* digits = p;
    for (int digit; (digit = DigitValue(*p, base)) >= 0; ++p) {
        number.magnitude = number.magnitude * base + digit;
        if (number.magnitude > limit) {
            number.overflow = true;
            number.magnitude = limit;
        }
    }
    *end = p != digits ? p : text;
    return number;
}

int ToSigned(const TNumber& number)
{
    if (!number.negative)
        return static_cast<int>(number.magnitude);
    // The magnitude was clamped at INT_MAX + 1, the one value only a negative sign allows.
    return static_cast<int>(-number.magnitude);
}

int ScanSigned(const char* text, const char** end)
{
    TNumber number = ScanNumber(text, 10, kIntMax + 1, end);
    if (!number.negative && number.magnitude > kIntMax)
        number.magnitude = kIntMax;
    return ToSigned(number);
}

}  // namespace

int ParseInteger(const char* value)
{
    if (value == nullptr)
        return 0;
    const char* end = nullptr;
    return ScanSigned(value, &end);
}

void ParseIntegers(const char* value, int* numbers, int count)
{
    const char* p = value != nullptr ? value : "";
    for (int i = 0; i < count; ++i) {
        numbers[i] = ScanSigned(p, &p);
        if (*p != '\0')
            ++p;
    }
}

std::uint32_t ParseColor(const char* value, bool skipBlanks)
{
    if (value == nullptr)
        return 0;
    const char* p = value;
    if (skipBlanks) {
        while (*p >= 1 && *p <= 32)
            ++p;
    }
    if (*p == '#')
        ++p;
    const char* end = nullptr;
    const TNumber number = ScanNumber(p, 16, kUintMax, &end);
    if (number.overflow)
        return 0xFFFFFFFFu;
    const std::uint32_t magnitude = static_cast<std::uint32_t>(number.magnitude);
    return number.negative ? 0u - magnitude : magnitude;
}

bool ParseBoolean(const char* value)
{
    return value != nullptr && std::strcmp(value, "true") == 0;
}

bool ReadAttribute(const char*& cursor, CUIString& name, CUIString& value)
{
    const char* p = cursor;
    while (*p != '\0' && *p != '=')
        p = NextChar(p);
    if (*p != '=' || !name.Assign(cursor, static_cast<int>(p - cursor)))
        return false;
    if (*++p != '"')
        return false;
    const char* start = ++p;
    while (*p != '\0' && *p != '"')
        p = NextChar(p);
    if (*p != '"' || !value.Assign(start, static_cast<int>(p - start)))
        return false;
    cursor = p + 1;
    return true;
}

}  // namespace Veneer
