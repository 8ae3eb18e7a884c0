#include "ui/core/base/ImageAttributes.h"

#include <cstdint>

namespace Veneer {
namespace {

int Saturate(std::int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(value);
}

// Keys are ASCII and end at '=', a blank or any other byte not above 0x20.
bool IsKeyByte(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x80 && c != '=';
}

class CImageAttributeReader {
public:
    CImageAttributeReader(const TValueRect& item, ImageAttributesSink draw, void* context)
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

    TValueRect m_item;
    ImageAttributesSink m_draw;
    void* m_context;
    int m_images = 0;
};

void CImageAttributeReader::Read(const char* text, TImageAttributes& attributes)
{
    m_images = 0;
    CValueReader reader(text);
    CUIString key;
    CUIString value;
    while (!reader.AtEnd()) {
        reader.SkipBlanks();
        reader.ReadWhile(IsKeyByte, key);
        reader.SkipBlanks();
        if (!reader.Skip('='))
            return;
        reader.SkipBlanks();
        if (!reader.ReadQuoted('\'', value))
            return;
        if (!value.IsEmpty())
            Apply(key, value, attributes);
        if (!reader.Skip(' '))
            return;
    }
}

void CImageAttributeReader::Apply(const CUIString& key, const CUIString& value,
                                  TImageAttributes& attributes)
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
        const TValueRect d = ParseRect(value);
        attributes.dest.left = Saturate(std::int64_t{m_item.left} + d.left);
        attributes.dest.top = Saturate(std::int64_t{m_item.top} + d.top);
        const int right = Saturate(std::int64_t{m_item.left} + d.right);
        const int bottom = Saturate(std::int64_t{m_item.top} + d.bottom);
        attributes.dest.right = right < m_item.right ? right : m_item.right;
        attributes.dest.bottom = bottom < m_item.bottom ? bottom : m_item.bottom;
    } else if (key == "source") {
        attributes.source = ParseRect(value);
    } else if (key == "corner") {
        attributes.corner = ParseRect(value);
    } else if (key == "mask") {
        attributes.mask = CValueReader(value).ReadColor(THexSyntax::Digits);
    } else if (key == "fade") {
        attributes.fade = static_cast<unsigned char>(ParseInteger(value) & 0xFF);
    } else if (key == "hole") {
        attributes.hole = ParseBoolean(value);
    } else if (key == "xtiled") {
        attributes.xTiled = ParseBoolean(value);
    } else if (key == "ytiled") {
        attributes.yTiled = ParseBoolean(value);
    }
}

}  // namespace

void ReadImageAttributes(const char* text, const char* modify, const TValueRect& item,
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
