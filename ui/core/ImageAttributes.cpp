#include "ui/core/ImageAttributes.h"

#include <cstdint>
#include <cstring>

#include "ui/core/TextStep.h"

namespace Veneer {
namespace {

bool IsBlank(char c)
{
    return c > '\0' && c <= ' ';
}

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

int Saturate(std::int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(value);
}

// A decimal number with optional blanks and sign in front; without digits 0 and p stays.
int ReadInt(const char*& p)
{
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r'))
        ++q;
    const bool negative = *q == '-';
    if (*q == '-' || *q == '+')
        ++q;
    if (*q < '0' || *q > '9')
        return 0;
    std::int64_t value = 0;
    for (; *q >= '0' && *q <= '9'; ++q) {
        if (value <= INT32_MAX)
            value = value * 10 + (*q - '0');
    }
    p = q;
    return Saturate(negative ? -value : value);
}

// Four numbers, each followed by one separator character; missing ones read as 0.
TImageRect ReadRect(const char* p)
{
    int values[4];
    for (int& value : values) {
        value = ReadInt(p);
        if (*p != '\0')
            ++p;
    }
    return {values[0], values[1], values[2], values[3]};
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::uint32_t ReadColor(const char* p)
{
    if (*p == '#')
        ++p;
    std::uint64_t value = 0;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p)
        value = value > UINT32_MAX ? value : value * 16 + static_cast<unsigned>(digit);
    return value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
}

class CImageAttributeReader {
public:
    CImageAttributeReader(const TImageRect& item, ImageAttributesSink draw, void* context)
        : m_item(item), m_draw(draw), m_context(context)
    {
    }

    void Read(const char* text, TImageAttributes& attributes);

private:
    void Apply(const CUIString& key, const CUIString& value, TImageAttributes& attributes);
    void DrawIfNamed(const TImageAttributes& attributes)
    {
        if (m_images > 0)
            m_draw(attributes, m_context);
    }

    TImageRect m_item;
    ImageAttributesSink m_draw;
    void* m_context;
    int m_images = 0;
};

void CImageAttributeReader::Read(const char* text, TImageAttributes& attributes)
{
    m_images = 0;
    const char* p = text;
    while (*p != '\0') {
        p = SkipBlanks(p);
        const char* key = p;
        while (static_cast<signed char>(*p) > ' ' && *p != '=')
            ++p;
        const CUIString name(key, static_cast<int>(p - key));
        p = SkipBlanks(p);
        if (*p != '=')
            return;
        p = SkipBlanks(p + 1);
        if (*p != '\'')
            return;
        const char* value = ++p;
        while (*p != '\0' && *p != '\'')
            p = NextChar(p);
        if (*p == '\0')
            return;
        const CUIString content(value, static_cast<int>(p - value));
        if (!content.IsEmpty())
            Apply(name, content, attributes);
        ++p;
        if (*p != ' ')
            return;
        ++p;
    }
}

void CImageAttributeReader::Apply(const CUIString& key, const CUIString& value, TImageAttributes& attributes)
{
    if (key == "file" || key == "res") {
        DrawIfNamed(attributes);
        attributes.name = value;
        if (key == "file")
            ++m_images;
    } else if (key == "restype") {
        DrawIfNamed(attributes);
        attributes.resourceType = value;
        ++m_images;
    } else if (key == "dest") {
        const TImageRect d = ReadRect(value);
        attributes.dest.left = Saturate(std::int64_t{m_item.left} + d.left);
        attributes.dest.top = Saturate(std::int64_t{m_item.top} + d.top);
        const int right = Saturate(std::int64_t{m_item.left} + d.right);
        const int bottom = Saturate(std::int64_t{m_item.top} + d.bottom);
        attributes.dest.right = right < m_item.right ? right : m_item.right;
        attributes.dest.bottom = bottom < m_item.bottom ? bottom : m_item.bottom;
    } else if (key == "source") {
        attributes.source = ReadRect(value);
    } else if (key == "corner") {
        attributes.corner = ReadRect(value);
    } else if (key == "mask") {
        attributes.mask = ReadColor(value);
    } else if (key == "fade") {
        const char* p = value;
        attributes.fade = static_cast<unsigned char>(ReadInt(p) & 0xFF);
    } else if (key == "hole") {
        attributes.hole = value == "true";
    } else if (key == "xtiled") {
        attributes.xTiled = value == "true";
    } else if (key == "ytiled") {
        attributes.yTiled = value == "true";
    }
}

}  // namespace

void ReadImageAttributes(const char* text, const char* modify, const TImageRect& item,
                   ImageAttributesSink draw, void* context)
{
    if (text == nullptr)
        text = "";
    TImageAttributes attributes{};
    attributes.name = text;
    attributes.dest = item;
    attributes.fade = 255;
    CImageAttributeReader reader(item, draw, context);
    reader.Read(text, attributes);
    if (modify != nullptr && *modify != '\0')
        reader.Read(modify, attributes);
    draw(attributes, context);
}

}  // namespace Veneer
