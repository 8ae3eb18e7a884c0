// Feeds arbitrary bytes to the attribute value readers as one skin attribute value, held
// in a block of exactly its size, so that any read past the terminating NUL is caught.
// The list walker's pairs must be found again inside the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/core/AttributeValue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<char> value(data, data + size);
    value.push_back('\0');
    const char* text = value.data();

    Veneer::ParseInteger(text);
    Veneer::ParseColor(text, true);
    Veneer::ParseColor(text, false);
    Veneer::ParseBoolean(text);
    int numbers[4];
    Veneer::ParseIntegers(text, numbers, 4);

    Veneer::ForEachAttribute(text, [text](const char* name, const char* pairValue) {
        if (std::strstr(text, name) == nullptr || std::strstr(text, pairValue) == nullptr)
            std::abort();
    });
    return 0;
}
