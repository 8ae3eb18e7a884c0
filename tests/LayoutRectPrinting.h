#pragma once
// Comparing and printing the layout arithmetic's rectangles in expectations.

#include <ostream>

#include "ui/controls/layout/ChildLayout.h"

namespace Veneer {

inline bool operator==(const TLayoutRect& a, const TLayoutRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const TLayoutRect& rc)
{
    return out << '(' << rc.left << ',' << rc.top << ',' << rc.right << ',' << rc.bottom << ')';
}

}  // namespace Veneer
