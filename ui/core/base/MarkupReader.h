#pragma once
// Reading brace mark-up ("{f 1}{c #FF0000}59{/c}{/f}"): what stands at a position of the
// text, and what a tag's arguments say. Nothing here measures or draws; the painter
// (RenderUtilMarkup.cpp) asks these functions and decides. Portable, fuzzed on the host.
//
// A tag is a bracket ('{' or '<'), one lower-case letter and then a blank or a closing
// bracket ('}' or '>'); a closing tag is a bracket, '/' and the letter. Either way the tag
// runs to the next closing bracket. "<{>", "<}>", "{<}" and "{>}" stand for the bracket
// they enclose. Every scan steps whole characters and stops at the text's NUL.

#include <cstdint>

namespace Veneer {

enum class TMarkupKind {
    End,       // the text's NUL
    LineFeed,  // '\n'
    OpenTag,
    CloseTag,
    Escape,  // a bracket written as text
    Blank,   // a single ' '
    Text,    // a run of text starts here (FindRunEnd tells where it stops)
};

struct TMarkupToken {
    TMarkupKind kind = TMarkupKind::End;
    // Tags: the letter. Escapes and blanks: the character to draw.
    char letter = '\0';
    // Opening tags: the arguments, from after the letter and its blank to the bracket.
    const char* arguments = nullptr;
    const char* argumentsEnd = nullptr;
    // The first byte after the token; for Text, the first byte after its first character.
    const char* next = nullptr;
};

// What stands at p outside raw text.
TMarkupToken ReadMarkupToken(const char* p);

// Raw text ends at "{/r}", "</r>", "{/r>" or "</r}": the byte after it when one starts
// at p, else null.
const char* ReadRawEnd(const char* p);

// Where a run of text that starts at p stops: the next bracket (outside raw text), the
// closing tag of raw text (inside), a line feed or the end. The run's first character
// always belongs to it, whatever it is.
const char* FindRunEnd(const char* p, bool raw);

// A line may break after the character at p unless it is an ASCII letter; both bytes of a
// double-byte character allow a break.
inline bool IsBreakAfter(char c)
{
    return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
}

// True when an opening tag's arguments hold more than blanks ("{i}" is italic, "{i x}" an
// image).
bool HasArguments(const TMarkupToken& tag);

// A decimal number ({x n}, {y n}, {p n}); 0 without one. Clamped to +-kMaxTagNumber, so
// that positions built from a few of them stay far from overflow.
const int kMaxTagNumber = 1 << 20;
int ReadNumberArgument(const TMarkupToken& tag);

// {c colour}: '#' optional, then hexadecimal, as 0xAARRGGBB; eight digits keep their top
// byte (the painter uses red, green and blue only).
std::uint32_t ReadColorArgument(const TMarkupToken& tag);

// {f n} or {f face size style}.
struct TMarkupFont {
    bool byIndex = false;
    int index = 0;
    const char* face = nullptr;  // not terminated: face .. faceEnd
    const char* faceEnd = nullptr;
    int size = 10;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};
TMarkupFont ReadFontArguments(const TMarkupToken& tag);

// {i name count index}, or {i file='name' restype='type' count index} where the name may
// also be given as res='name'.
struct TMarkupImage {
    const char* name = nullptr;  // not terminated: name .. nameEnd
    const char* nameEnd = nullptr;
    const char* type = nullptr;  // type .. typeEnd, empty for a file
    const char* typeEnd = nullptr;
    int count = 1;  // sub-images side by side; at least 1
    int index = 0;  // 0 when out of range
};
// False when the arguments name no image.
bool ReadImageArguments(const TMarkupToken& tag, TMarkupImage& image);

}  // namespace Veneer
