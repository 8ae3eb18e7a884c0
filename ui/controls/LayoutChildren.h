#pragma once
// The children of a container as the layout arithmetic (ChildLayout.h) sees them, and the
// conversions between its plain rectangles and Win32's.

#include <windows.h>

#include "ui/controls/layout/ChildLayout.h"
#include "ui/core/base/ControlWatch.h"

namespace Veneer {

class CContainerUI;

inline TLayoutRect ToLayoutRect(const RECT& rc)
{
    return TLayoutRect{rc.left, rc.top, rc.right, rc.bottom};
}

inline RECT ToRect(const TLayoutRect& rc)
{
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

inline TLayoutSize ToLayoutSize(const SIZE& size)
{
    return TLayoutSize{size.cx, size.cy};
}

inline SIZE ToSize(const TLayoutSize& size)
{
    return SIZE{size.cx, size.cy};
}

inline bool Contains(const TLayoutRect& rc, const POINT& pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

// Placing a child runs its handlers, which may destroy the container: from then on the
// list reads as empty and the passes end.
class CLayoutChildren : public ILayoutChildren {
public:
    explicit CLayoutChildren(CContainerUI* container);

    // False once the container was destroyed during the passes.
    bool IsAlive() const { return static_cast<bool>(m_watch); }

    int GetCount() const override;
    bool IsVisible(int index) const override;
    bool IsFloat(int index) const override;
    TLayoutChild Describe(int index) const override;
    TLayoutSize Estimate(int index, TLayoutSize available) override;
    void Place(int index, const TLayoutRect& rc) override;
    void PlaceFloating(int index) override;

private:
    CContainerUI* m_container;
    CControlWatch m_watch;
};

}  // namespace Veneer
