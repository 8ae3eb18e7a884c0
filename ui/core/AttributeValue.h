#pragma once
// The value kinds of skin attributes, shared by the controls and the skin builder:
// integers, lists of integers (rectangles, sizes), ARGB colours, booleans, and the
// attribute lists (name="value" name="value") that default styles are written in.
// Every reader stops at the value's terminating NUL; numbers a value leaves out read as 0.

#include <cstdint>

#include "ui/core/UIString.h"

namespace Veneer {

// Decimal like atoi: leading white space and a sign, then digits up to the first other
// byte; 0 without digits. Values beyond 32 bits are clamped.
int ParseInteger(const char* value);

// count decimal numbers, each read like strtol and followed by exactly one separator byte
// (the skins write a comma). Numbers missing at the end of the value are 0.
void ParseIntegers(const char* value, int* numbers, int count);

// An optional '#', then hexadecimal like strtoul with base 16, as 0xAARRGGBB. With
// skipBlanks, bytes 1 to 32 before the '#' are skipped (the background colours do this).
std::uint32_t ParseColor(const char* value, bool skipBlanks);

// True exactly for the text "true".
bool ParseBoolean(const char* value);

// Walks an attribute list: pairs name="value" separated by single blanks. Calls
// visit(name, value) for each pair in order and stops at the first pair that is not
// well formed. Names and values are taken as written: nothing is unescaped or trimmed.
template <class Visit>
void ForEachAttribute(const char* list, Visit visit);

// One step of ForEachAttribute: reads the pair at *cursor into name and value and moves
// *cursor past its closing quote. False when no well-formed pair starts there.
bool ReadAttribute(const char*& cursor, CUIString& name, CUIString& value);

template <class Visit>
void ForEachAttribute(const char* list, Visit visit)
{
    if (list == nullptr)
        return;
    CUIString name;
    CUIString value;
    const char* cursor = list;
    while (ReadAttribute(cursor, name, value)) {
        visit(name.GetData(), value.GetData());
        if (cursor[0] != ' ' || cursor[1] == '\0')
            return;
        ++cursor;
    }
}

}  // namespace Veneer
