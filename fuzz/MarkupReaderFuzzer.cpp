// Walks arbitrary text through the mark-up reader the way the painter does: token by
// token, runs of text, raw passages, and the arguments of every opening tag. Every step
// must move forward, and nothing read may lie outside the text or its tag.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/core/base/MarkupReader.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Within(const char* begin, const char* end, const char* low, const char* high)
{
    return begin == nullptr || (low <= begin && begin <= end && end <= high);
}

void ReadArguments(const Veneer::TMarkupToken& tag, const char* next)
{
    Check(tag.arguments <= tag.argumentsEnd && tag.argumentsEnd < next);
    const Veneer::TMarkupFont font = Veneer::ReadFontArguments(tag);
    Check(font.byIndex || Within(font.face, font.faceEnd, tag.arguments, tag.argumentsEnd));
    Check(font.byIndex || font.face < font.faceEnd);
    Veneer::TMarkupImage image;
    if (Veneer::ReadImageArguments(tag, image)) {
        Check(Within(image.name, image.nameEnd, tag.arguments, tag.argumentsEnd) &&
              image.name < image.nameEnd);
        Check(Within(image.type, image.typeEnd, tag.arguments, tag.argumentsEnd));
        Check(image.count >= 1 && image.index >= 0 && image.index < image.count);
    }
    const int number = Veneer::ReadNumberArgument(tag);
    Check(number >= -Veneer::kMaxTagNumber && number <= Veneer::kMaxTagNumber);
    Veneer::ReadColorArgument(tag);
    Veneer::HasArguments(tag);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* text = input.c_str();
    const char* end = text + std::char_traits<char>::length(text);
    bool raw = false;
    for (const char* p = text; *p != '\0';) {
        const char* next = nullptr;
        if (raw && (next = Veneer::ReadRawEnd(p)) != nullptr) {
            raw = false;
        } else if (raw || *p == '\n') {
            next = *p == '\n' ? p + 1 : Veneer::FindRunEnd(p, true);
        } else {
            const Veneer::TMarkupToken token = Veneer::ReadMarkupToken(p);
            next = token.next;
            if (token.kind == Veneer::TMarkupKind::OpenTag) {
                ReadArguments(token, next);
                raw = token.letter == 'r';
            } else if (token.kind == Veneer::TMarkupKind::Text) {
                next = Veneer::FindRunEnd(p, false);
            }
        }
        Check(next > p && next <= end);
        p = next;
    }
    return 0;
}
