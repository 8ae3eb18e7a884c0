// Reads arbitrary image attribute strings and modifying strings against arbitrary item
// rectangles. No image may reach past the item's right and bottom edges.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/core/base/ImageAttributes.h"

namespace {

int Take(const std::uint8_t*& data, std::size_t& size)
{
    std::int32_t value = 0;
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Veneer::TValueRect item = {Take(data, size), Take(data, size), Take(data, size),
                                     Take(data, size)};
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string text = input.substr(0, split);
    const std::string modify = split == std::string::npos ? std::string() : input.substr(split + 1);
    Veneer::ReadImageAttributes(
        text.c_str(), modify.c_str(), item,
        [](const Veneer::TImageAttributes& attributes, void* context) {
            const auto* rect = static_cast<const Veneer::TValueRect*>(context);
            if (attributes.dest.right > rect->right || attributes.dest.bottom > rect->bottom)
                std::abort();
        },
        const_cast<Veneer::TValueRect*>(&item));
    return 0;
}
