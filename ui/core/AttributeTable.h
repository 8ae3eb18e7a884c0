#pragma once
// The skin attributes a control class reads: one table per class, chained to the table
// of the class it derives from, so that an element's attributes can be checked against
// every class of its chain without making a control (tools/skinlint does). SetAttribute
// stays the one place that reads them; a class that reads a new attribute adds its row
// to its own table.

namespace Veneer {

// What a skin checker can verify of a value beyond its name.
enum class TAttributeKind : unsigned char {
    Plain,   // taken as it stands
    Image,   // an image attribute string: each image it names must load
    Font,    // an index into the window's fonts
    Extent,  // pixel places and lengths the layout adds up: checkers warn beyond the screen's
             // range
};

struct TAttributeInfo {
    const char* name;  // compared byte for byte, with case
    TAttributeKind kind;
};

struct TAttributeTable {
    const TAttributeTable* base;  // the base class's table; null for the root of a chain
    const TAttributeInfo* rows;
    int count;
};

// A class's table over its own rows.
template <int N>
constexpr TAttributeTable MakeAttributeTable(const TAttributeTable* base,
                                             const TAttributeInfo (&rows)[N])
{
    return TAttributeTable{base, rows, N};
}

// The row of name in table or in the tables of its bases; null when no class of the chain
// reads it (or for a null name).
const TAttributeInfo* FindAttribute(const TAttributeTable& table, const char* name);

}  // namespace Veneer
