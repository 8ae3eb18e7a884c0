#include "ui/core/base/MarkupReader.h"

#include <cstring>

#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/TextStep.h"

namespace Veneer {
namespace {

bool IsOpening(char c)
{
    return c == '{' || c == '<';
}

bool IsClosing(char c)
{
    return c == '}' || c == '>';
}

bool IsLowerLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p, const char* end)
{
    while (p < end && IsBlank(*p))
        ++p;
    return p;
}

// The end of a word: the next blank or end.
const char* SkipWord(const char* p, const char* end)
{
    while (p < end && !IsBlank(*p))
        p = NextChar(p);
    return p < end ? p : end;
}

// The closing bracket of a tag whose arguments start at p; null when the text ends first.
const char* FindClosing(const char* p)
{
    while (*p != '\0' && !IsClosing(*p))
        p = NextChar(p);
    return *p != '\0' ? p : nullptr;
}

// ---- The seam to the attribute value grammar: tags read their numbers and colours
// through these two, and nothing else here knows how numbers are written. ----

// A decimal number after optional blanks at p, before end; p moves past it. False, and p
// unchanged, when no digits stand there.
bool TakeNumber(const char*& p, const char* end, int& value)
{
    const char* q = SkipBlanks(p, end);
    const char* digits = q < end && (*q == '+' || *q == '-') ? q + 1 : q;
    if (digits >= end || !IsDigit(*digits))
        return false;
    const int read = ParseInteger(q);
    value = read > kMaxTagNumber ? kMaxTagNumber : read < -kMaxTagNumber ? -kMaxTagNumber : read;
    while (digits < end && IsDigit(*digits))
        ++digits;
    p = digits;
    return true;
}

// The arguments stop at a bracket, which ends the colour as any other byte that is no
// hexadecimal digit would.
std::uint32_t ReadColor(const char* p)
{
    return ParseColor(p, true);
}

// ---- End of the seam. ----

// ASCII case-insensitive search of word in begin .. end, starting at character boundaries.
bool ContainsNoCase(const char* begin, const char* end, const char* word)
{
    const std::size_t length = std::strlen(word);
    for (const char* p = begin; p < end && static_cast<std::size_t>(end - p) >= length;
         p = NextChar(p)) {
        std::size_t i = 0;
        while (i < length && (p[i] | 0x20) == word[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

bool Contains(const char* begin, const char* end, const char* word)
{
    const std::size_t length = std::strlen(word);
    for (const char* p = begin; p < end && static_cast<std::size_t>(end - p) >= length;
         p = NextChar(p)) {
        if (std::memcmp(p, word, length) == 0)
            return true;
    }
    return false;
}

bool Equals(const char* begin, const char* end, const char* word)
{
    const std::size_t length = std::strlen(word);
    return static_cast<std::size_t>(end - begin) == length && std::memcmp(begin, word, length) == 0;
}

// Items key='value' of an image attribute string; only the name and the resource type
// count. p moves past the last item.
void ReadImageItems(const char*& p, const char* end, TMarkupImage& image)
{
    for (;;) {
        const char* key = SkipBlanks(p, end);
        const char* q = key;
        while (q < end && IsLowerLetter(*q))
            ++q;
        if (q == key || end - q < 2 || q[0] != '=' || q[1] != '\'')
            return;
        const char* value = q + 2;
        const char* close = value;
        while (close < end && *close != '\'')
            close = NextChar(close);
        if (close >= end)
            return;
        if (Equals(key, q, "file") || Equals(key, q, "res")) {
            image.name = value;
            image.nameEnd = close;
        } else if (Equals(key, q, "restype")) {
            image.type = value;
            image.typeEnd = close;
        }
        p = close + 1;
    }
}

}  // namespace

TMarkupToken ReadMarkupToken(const char* p)
{
    TMarkupToken token;
    token.next = p;
    if (*p == '\0')
        return token;
    if (*p == '\n') {
        token.kind = TMarkupKind::LineFeed;
        token.next = p + 1;
        return token;
    }
    if (IsOpening(*p) && IsLowerLetter(p[1]) && (p[2] == ' ' || IsClosing(p[2]))) {
        const char* arguments = p[2] == ' ' ? p + 3 : p + 2;
        if (const char* close = FindClosing(arguments)) {
            token.kind = TMarkupKind::OpenTag;
            token.letter = p[1];
            token.arguments = arguments;
            token.argumentsEnd = close;
            token.next = close + 1;
            return token;
        }
    }
    if (IsOpening(*p) && p[1] == '/' && IsLowerLetter(p[2])) {
        if (const char* close = FindClosing(p + 3)) {
            token.kind = TMarkupKind::CloseTag;
            token.letter = p[2];
            token.next = close + 1;
            return token;
        }
    }
    const bool escape = (p[0] == '<' && (p[1] == '{' || p[1] == '}') && p[2] == '>') ||
                        (p[0] == '{' && (p[1] == '<' || p[1] == '>') && p[2] == '}');
    if (escape) {
        token.kind = TMarkupKind::Escape;
        token.letter = p[1];
        token.next = p + 3;
        return token;
    }
    token.kind = *p == ' ' ? TMarkupKind::Blank : TMarkupKind::Text;
    token.letter = *p;
    token.next = NextChar(p);
    return token;
}

const char* ReadRawEnd(const char* p)
{
    if (IsOpening(p[0]) && p[1] == '/' && p[2] == 'r' && IsClosing(p[3]))
        return p + 4;
    return nullptr;
}

const char* FindRunEnd(const char* p, bool raw)
{
    if (*p == '\0')
        return p;
    const char* q = NextChar(p);
    while (*q != '\0' && *q != '\n') {
        if (raw ? ReadRawEnd(q) != nullptr : IsOpening(*q))
            break;
        q = NextChar(q);
    }
    return q;
}

bool HasArguments(const TMarkupToken& tag)
{
    return SkipBlanks(tag.arguments, tag.argumentsEnd) < tag.argumentsEnd;
}

int ReadNumberArgument(const TMarkupToken& tag)
{
    const char* p = tag.arguments;
    int value = 0;
    TakeNumber(p, tag.argumentsEnd, value);
    return value;
}

std::uint32_t ReadColorArgument(const TMarkupToken& tag)
{
    return ReadColor(tag.arguments);
}

TMarkupFont ReadFontArguments(const TMarkupToken& tag)
{
    TMarkupFont font;
    const char* end = tag.argumentsEnd;
    const char* word = SkipBlanks(tag.arguments, end);
    const char* wordEnd = SkipWord(word, end);
    if (word == wordEnd) {
        // "{f}": no font named, so the default font.
        font.byIndex = true;
        font.index = -1;
        return font;
    }
    const char* p = word;
    if (TakeNumber(p, wordEnd, font.index) && p == wordEnd) {
        font.byIndex = true;
        return font;
    }
    font.face = word;
    font.faceEnd = wordEnd;
    p = wordEnd;
    TakeNumber(p, end, font.size);
    font.bold = ContainsNoCase(p, end, "bold");
    font.underline = ContainsNoCase(p, end, "underline");
    font.italic = ContainsNoCase(p, end, "italic");
    return font;
}

bool ReadImageArguments(const TMarkupToken& tag, TMarkupImage& image)
{
    image = TMarkupImage();
    const char* end = tag.argumentsEnd;
    const char* p = SkipBlanks(tag.arguments, end);
    if (Contains(p, end, "file='") || Contains(p, end, "res='")) {
        ReadImageItems(p, end, image);
    } else {
        image.name = p;
        image.nameEnd = SkipWord(p, end);
        p = image.nameEnd;
    }
    if (image.name == nullptr || image.name == image.nameEnd)
        return false;
    if (image.type == nullptr)
        image.type = image.typeEnd = image.nameEnd;
    TakeNumber(p, end, image.count);
    if (image.count < 1)
        image.count = 1;
    if (!TakeNumber(p, end, image.index) || image.index < 0 || image.index >= image.count)
        image.index = 0;
    return true;
}

}  // namespace Veneer
