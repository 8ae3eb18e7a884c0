#include "ui/core/base/UIString.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

namespace Veneer {
namespace {

// Never negative: a text too long for an int is cut, which no caller comes near.
int LengthOf(const char* text, int length)
{
    if (text == nullptr)
        return 0;
    if (length >= 0)
        return length;
    const std::size_t n = std::strlen(text);
    return n < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(n) : INT_MAX - 1;
}

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

CUIString::CUIString() : m_data(m_inline), m_length(0), m_capacity(kInlineLength)
{
    m_inline[0] = '\0';
}

CUIString::CUIString(const char* text, int length) : CUIString()
{
    Assign(text, length);
}

CUIString::CUIString(const CUIString& other) : CUIString()
{
    Assign(other.m_data, other.m_length);
}

CUIString::CUIString(CUIString&& other) noexcept : CUIString()
{
    *this = std::move(other);
}

CUIString::~CUIString()
{
    ReleaseBlock();
}

CUIString& CUIString::operator=(const CUIString& other)
{
    if (this != &other)
        Assign(other.m_data, other.m_length);
    return *this;
}

CUIString& CUIString::operator=(CUIString&& other) noexcept
{
    if (this == &other)
        return *this;
    if (other.IsInline()) {
        Assign(other.m_data, other.m_length);
    } else {
        ReleaseBlock();
        m_data = other.m_data;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.m_data = other.m_inline;
        other.m_capacity = kInlineLength;
    }
    other.m_length = 0;
    other.m_data[0] = '\0';
    return *this;
}

CUIString& CUIString::operator=(const char* text)
{
    Assign(text);
    return *this;
}

void CUIString::ReleaseBlock()
{
    if (!IsInline())
        Heap::Release(m_data);
    m_data = m_inline;
    m_capacity = kInlineLength;
}

bool CUIString::Reserve(int length)
{
    if (length <= m_capacity)
        return true;
    char* block = static_cast<char*>(
        Heap::Reallocate(IsInline() ? nullptr : m_data, static_cast<std::size_t>(length) + 1));
    if (block == nullptr)
        return false;
    if (IsInline())
        std::memcpy(block, m_inline, static_cast<std::size_t>(m_length) + 1);
    m_data = block;
    m_capacity = length;
    return true;
}

char CUIString::GetAt(int index) const
{
    return (index >= 0 && index < m_length) ? m_data[index] : '\0';
}

void CUIString::SetAt(int index, char c)
{
    if (index >= 0 && index < m_length && c != '\0')
        m_data[index] = c;
}

void CUIString::Empty()
{
    ReleaseBlock();
    m_length = 0;
    m_inline[0] = '\0';
}

bool CUIString::Assign(const char* text, int length)
{
    length = LengthOf(text, length);
    if (length == 0) {
        Empty();
        return true;
    }
    if (length <= kInlineLength && text != m_data) {
        // Short texts move back inside the object, so a string that once held a long text
        // does not keep its block for ever.
        char copy[kInlineLength + 1];
        std::memcpy(copy, text, static_cast<std::size_t>(length));
        ReleaseBlock();
        std::memcpy(m_inline, copy, static_cast<std::size_t>(length));
        m_length = length;
        m_inline[length] = '\0';
        return true;
    }
    if (length <= m_length) {  // a prefix of our own text, or fits where we are
        std::memmove(m_data, text, static_cast<std::size_t>(length));
        m_length = length;
        m_data[length] = '\0';
        return true;
    }
    CUIString fresh;
    if (!fresh.Reserve(length))
        return false;
    std::memcpy(fresh.m_data, text, static_cast<std::size_t>(length));
    fresh.m_length = length;
    fresh.m_data[length] = '\0';
    *this = std::move(fresh);
    return true;
}

int CUIString::GrownCapacity(int needed) const
{
    // Half as much again: a text built by many appends is copied a few times, not once
    // per append.
    if (needed <= m_capacity)
        return needed;
    const std::int64_t grown = std::int64_t{m_capacity} + m_capacity / 2;
    const std::int64_t most = 0x7FFFFFFF - 1;
    return static_cast<int>(std::max<std::int64_t>(needed, std::min(grown, most)));
}

bool CUIString::Append(const char* text, int length)
{
    length = LengthOf(text, length);
    if (length == 0)
        return true;
    if (length > 0x7FFFFFFF - 1 - m_length)
        return false;
    // The text may lie inside our own block, which Reserve can move.
    const bool own = text >= m_data && text <= m_data + m_length;
    const std::size_t offset = own ? static_cast<std::size_t>(text - m_data) : 0;
    if (!Reserve(GrownCapacity(m_length + length)))
        return false;
    if (own)
        text = m_data + offset;
    std::memmove(m_data + m_length, text, static_cast<std::size_t>(length));
    m_length += length;
    m_data[m_length] = '\0';
    return true;
}

CUIString& CUIString::operator+=(const char* text)
{
    Append(text);
    return *this;
}

CUIString& CUIString::operator+=(const CUIString& text)
{
    Append(text.m_data, text.m_length);
    return *this;
}

CUIString& CUIString::operator+=(char c)
{
    Append(c);
    return *this;
}

int CUIString::Compare(const char* text) const
{
    return std::strcmp(m_data, text != nullptr ? text : "");
}

int CUIString::CompareNoCase(const char* text) const
{
    const char* a = m_data;
    const char* b = text != nullptr ? text : "";
    for (;;) {
        const char* nextA = NextChar(a);
        const char* nextB = NextChar(b);
        const bool singleA = nextA - a <= 1;
        const bool singleB = nextB - b <= 1;
        if (singleA && singleB) {
            const unsigned char ca = static_cast<unsigned char>(FoldCase(*a));
            const unsigned char cb = static_cast<unsigned char>(FoldCase(*b));
            if (ca != cb || ca == 0)
                return ca < cb ? -1 : (ca > cb ? 1 : 0);
        } else {
            const std::size_t n =
                static_cast<std::size_t>((nextA - a) > (nextB - b) ? nextA - a : nextB - b);
            const int diff = std::strncmp(a, b, n);
            if (diff != 0)
                return diff < 0 ? -1 : 1;
        }
        a = nextA;
        b = nextB;
    }
}

void CUIString::MakeUpper()
{
    for (char* p = m_data; *p != '\0'; p = NextChar(p)) {
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    }
}

void CUIString::MakeLower()
{
    for (char* p = m_data; *p != '\0'; p = NextChar(p))
        *p = FoldCase(*p);
}

CUIString CUIString::Left(int count) const
{
    return Mid(0, count);
}

CUIString CUIString::Mid(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (start > m_length)
        start = m_length;
    if (count < 0 || count > m_length - start)
        count = m_length - start;
    return CUIString(m_data + start, count);
}

CUIString CUIString::Right(int count) const
{
    if (count < 0)
        count = 0;
    if (count > m_length)
        count = m_length;
    return CUIString(m_data + m_length - count, count);
}

int CUIString::Find(char c, int start) const
{
    const char needle[2] = {c, '\0'};
    return c == '\0' ? -1 : Find(needle, start);
}

int CUIString::Find(const char* text, int start) const
{
    if (text == nullptr || *text == '\0' || start < 0 || start > m_length)
        return -1;
    const std::size_t n = std::strlen(text);
    // Step from the beginning: only a scan from a character boundary knows which bytes
    // are trail bytes.
    for (const char* p = m_data; *p != '\0'; p = NextChar(p)) {
        if (p - m_data >= start && std::strncmp(p, text, n) == 0)
            return static_cast<int>(p - m_data);
    }
    return -1;
}

int CUIString::ReverseFind(char c) const
{
    int found = -1;
    for (const char* p = m_data; *p != '\0'; p = NextChar(p)) {
        if (*p == c && NextChar(p) - p == 1)
            found = static_cast<int>(p - m_data);
    }
    return found;
}

int CUIString::Replace(const char* from, const char* to)
{
    if (from == nullptr || *from == '\0')
        return 0;
    const int fromLength = static_cast<int>(std::strlen(from));
    const int toLength = LengthOf(to, -1);
    CUIString result;
    int count = 0;
    int done = 0;
    // One scan over the character boundaries; a match is looked for only at those past the
    // last match.
    for (const char* p = m_data; *p != '\0'; p = NextChar(p)) {
        const int at = static_cast<int>(p - m_data);
        if (at < done || std::strncmp(p, from, static_cast<std::size_t>(fromLength)) != 0)
            continue;
        if (!result.Append(m_data + done, at - done) || !result.Append(to, toLength))
            return -1;
        done = at + fromLength;
        ++count;
    }
    if (count == 0)
        return 0;
    if (!result.Append(m_data + done, m_length - done))
        return -1;
    *this = std::move(result);
    return count;
}

bool CUIString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    CUIString result;
    bool ok = length >= 0 && result.Reserve(length);
    if (ok) {
        std::vsnprintf(result.m_data, static_cast<std::size_t>(length) + 1, format, args);
        result.m_length = length;
        *this = std::move(result);
    }
    va_end(args);
    return ok;
}

CUIString operator+(const CUIString& left, const char* right)
{
    CUIString result(left);
    result += right;
    return result;
}

CUIString operator+(const char* left, const CUIString& right)
{
    CUIString result(left);
    result += right;
    return result;
}

CUIString operator+(const CUIString& left, const CUIString& right)
{
    CUIString result(left);
    result += right;
    return result;
}

bool operator==(const CUIString& left, const CUIString& right)
{
    return left.GetLength() == right.GetLength() && left.Compare(right) == 0;
}

bool operator==(const CUIString& left, const char* right)
{
    return left.Compare(right) == 0;
}

bool operator==(const char* left, const CUIString& right)
{
    return right.Compare(left) == 0;
}

bool operator!=(const CUIString& left, const CUIString& right)
{
    return !(left == right);
}

bool operator!=(const CUIString& left, const char* right)
{
    return !(left == right);
}

bool operator!=(const char* left, const CUIString& right)
{
    return !(right == left);
}

bool operator<(const CUIString& left, const CUIString& right)
{
    return left.Compare(right) < 0;
}

}  // namespace Veneer
