// Feeds arbitrary bytes to the attribute value readers as one skin attribute value, held
// in a block of exactly its size, so that any read past the terminating NUL is caught.
// The list walker's pairs must be found again inside the input, and a cursor driven by
// the input's own bytes must stay inside it and reach its end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/core/base/AttributeValue.h"

namespace {

// One read chosen by the byte under the cursor; a read that takes nothing is followed by
// a step over one byte, so the walk always ends.
void Walk(const char* text, std::size_t size)
{
    Veneer::CValueReader reader(text);
    Veneer::CUIString taken;
    while (!reader.AtEnd()) {
        const char* before = reader.GetPosition();
        switch (static_cast<unsigned char>(*before) % 8) {
        case 0:
            reader.ReadInteger();
            break;
        case 1:
            reader.ReadRect();
            break;
        case 2:
            reader.ReadHex(Veneer::THexSyntax::CLibrary);
            break;
        case 3:
            reader.ReadColor(Veneer::THexSyntax::Digits);
            break;
        case 4:
            reader.ReadQuoted('\'', taken);
            break;
        case 5:
            reader.ReadUntil('=', taken);
            break;
        case 6:
            reader.SkipBlanks();
            break;
        default:
            reader.ReadWhile([](char c) { return c > ' '; }, taken);
            break;
        }
        if (reader.GetPosition() == before)
            reader.SkipByte();
        if (reader.GetPosition() < before || reader.GetPosition() > text + size)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<char> value(data, data + size);
    value.push_back('\0');
    const char* text = value.data();

    Veneer::ParseInteger(text);
    Veneer::ParseColor(text, true);
    Veneer::ParseColor(text, false);
    Veneer::ParseBoolean(text);
    Veneer::ParseRect(text);
    Veneer::ParseSize(text);
    Walk(text, std::strlen(text));

    Veneer::ForEachAttribute(text, [text](const char* name, const char* pairValue) {
        if (std::strstr(text, name) == nullptr || std::strstr(text, pairValue) == nullptr)
            std::abort();
    });
    return 0;
}
