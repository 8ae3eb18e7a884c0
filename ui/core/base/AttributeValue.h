#pragma once
// The one reader of skin attribute values: integers, integer lists (rectangles, sizes),
// hexadecimal colours, booleans and quoted values. CValueReader walks one value with a
// cursor, for the syntaxes that hold several values in one string (image attribute
// strings, the brace mark-up, attribute lists); the Parse functions read a whole value.
// Every read stops at the value's terminating NUL and never passes it.
//
// Where the syntaxes differ, each names its form:
//   control attributes    integers and lists like atoi/strtol; colours ParseColor, with
//                         hexadecimal like strtoul (THexSyntax::CLibrary)
//   image strings         lists like strtol; "mask" ReadColor(THexSyntax::Digits)
//   skin builder          lists like strtol; "mask" and the window's colours
//                         ReadColor(THexSyntax::Digits)
//   attribute lists       ForEachAttribute: name="value" pairs separated by single blanks

#include <cstdint>

#include "ui/core/base/TextStep.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

// What integer lists read into; Win32Util.h turns them into RECT and SIZE.
struct TValueRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct TValueSize {
    int cx;
    int cy;
};

// How a hexadecimal number may be written: bare digits ("FF4775CC"), or as the C library's
// strtoul reads it: leading white space, a sign (a minus negates modulo 2^32) and "0x".
enum class THexSyntax { Digits, CLibrary };

class CValueReader {
public:
    // A null text reads as the empty value.
    explicit CValueReader(const char* text) : m_p(text != nullptr ? text : "") {}

    const char* GetPosition() const { return m_p; }
    bool AtEnd() const { return *m_p == '\0'; }
    char Peek() const { return *m_p; }

    // Steps over one byte (a separator), unless at the end.
    void SkipByte();
    // Steps over c when it comes next.
    bool Skip(char c);
    // Steps over bytes 1 to 32.
    void SkipBlanks();

    // Decimal like strtol: white space, a sign, digits, clamped to 32 bits. Without
    // digits: 0, and the position stays where it was (before any white space).
    int ReadInteger();
    // count integers, each followed by one separator byte ("10,0,0,10"; "1, 2" and "1;2"
    // read alike). Integers missing at the end are 0.
    void ReadIntegers(int* numbers, int count);
    TValueRect ReadRect();
    TValueSize ReadSize();
    // Hexadecimal, clamped to 32 bits; without digits 0 and the position stays.
    std::uint32_t ReadHex(THexSyntax syntax);
    // An optional '#', then ReadHex: 0xAARRGGBB.
    std::uint32_t ReadColor(THexSyntax syntax);

    // quote, whole characters up to the next quote, quote. False, with the position
    // unchanged, when quote does not come next or the value ends first.
    bool ReadQuoted(char quote, CUIString& value);
    // Whole characters up to stop, which is not stepped over. False, with the position
    // unchanged, when the value ends first.
    bool ReadUntil(char stop, CUIString& text);
    // Bytes while accept(byte) holds; for tests of ASCII bytes.
    template <class Accept>
    void ReadWhile(Accept accept, CUIString& text);

private:
    const char* m_p;
};

// Whole values. Null reads as the empty value.
int ParseInteger(const char* value);
TValueRect ParseRect(const char* value);
TValueSize ParseSize(const char* value);
// The control attributes' colour: with skipBlanks, bytes 1 to 32 before the '#' are
// skipped (the background colours do this); then ReadColor(THexSyntax::CLibrary).
std::uint32_t ParseColor(const char* value, bool skipBlanks);
// True exactly for the text "true".
bool ParseBoolean(const char* value);

// Walks an attribute list: pairs name="value" separated by single blanks. Calls
// visit(name, value) for each pair in order and stops at the first pair that is not
// well formed. Names and values are taken as written: nothing is unescaped or trimmed.
template <class Visit>
void ForEachAttribute(const char* list, Visit visit)
{
    CValueReader reader(list);
    CUIString name;
    CUIString value;
    while (reader.ReadUntil('=', name) && reader.Skip('=') && reader.ReadQuoted('"', value)) {
        visit(name.GetData(), value.GetData());
        if (!reader.Skip(' ') || reader.AtEnd())
            return;
    }
}

template <class Accept>
void CValueReader::ReadWhile(Accept accept, CUIString& text)
{
    const char* start = m_p;
    while (*m_p != '\0' && accept(*m_p))
        ++m_p;
    text.Assign(start, static_cast<int>(m_p - start));
}

}  // namespace Veneer
