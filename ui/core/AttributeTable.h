#pragma once
// The skin attributes a control class reads: one table per class, chained to the table
// of the class it derives from. A row names an attribute, says what a checker can verify
// of its value, and applies it; so the one row is both what a skin may say (tools/skinlint
// holds skins against the chain without making a control) and what SetAttribute does.

namespace Veneer {

class IControlUI;

// What a skin checker can verify of a value beyond its name.
enum class TAttributeKind : unsigned char {
    Plain,   // taken as it stands
    Image,   // an image attribute string: each image it names must load
    Font,    // an index into the window's fonts
    Extent,  // pixel places and lengths the layout adds up: checkers warn beyond the screen's
             // range
};

// Applies a value (never null) to a control. It is called only on a control whose table
// chain holds its row, so it may take the control as the class whose table that is (a
// class that lists another class's rows for skins' sake must divert them in its
// SetAttribute).
using TAttributeSetter = void (*)(IControlUI& control, const char* value);

struct TAttributeInfo {
    const char* name;  // compared byte for byte, with case
    TAttributeKind kind;
    TAttributeSetter apply = nullptr;  // null: the class reads the attribute its own way
};

struct TAttributeTable {
    const TAttributeTable* base;  // the base class's table; null for the root of a chain
    const TAttributeInfo* rows;
    int count;
    // Rows that several unrelated classes read beside their own (the item style of lists
    // and combos), searched after the class's own rows and before its base's; or null.
    const TAttributeTable* shared = nullptr;
};

// A class's table over its own rows, and the shared rows it reads too.
template <int N>
constexpr TAttributeTable MakeAttributeTable(const TAttributeTable* base,
                                             const TAttributeInfo (&rows)[N],
                                             const TAttributeTable* shared = nullptr)
{
    return TAttributeTable{base, rows, N, shared};
}

// The row of name in table or in the tables of its bases, the class's own rows (then its
// shared ones) before its bases' (so a class's row stands in for a base's of the same
// name); null when no class of the chain reads it (or for a null name).
const TAttributeInfo* FindAttribute(const TAttributeTable& table, const char* name);

// Applies value (null reads as empty) to control with the row of name that FindAttribute
// finds from table; false when there is none or it has no setter.
bool ApplyAttribute(const TAttributeTable& table, IControlUI& control, const char* name,
                    const char* value);

}  // namespace Veneer
