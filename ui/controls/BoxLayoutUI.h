#pragma once
// CBoxLayoutUI: what the vertical and horizontal layouts share, which is their separator.
// With a separator size the layout is also a splitter: a band at its far edge (size > 0)
// or its near edge (size < 0) drags its size along the axis, within its limits. The
// layout follows at once, or, in the delayed mode, a translucent band shows where it goes
// until the button is released.

#include <windows.h>

#include "ui/controls/ChildLayout.h"
#include "ui/controls/ContainerUI.h"

namespace Veneer {

class CBoxLayoutUI : public CContainerUI {
public:
    // Wants SetCursor events while it has an enabled separator.
    UINT GetControlFlags() const override;

    // Immediate: the layout follows the drag; else it changes when the button is released.
    bool IsSepImmediateMode() const { return m_sepImmediate; }
    void SetSepImmediateMode(bool immediate);
    // The separator band of the item rectangle, or of the place being dragged to.
    RECT GetSeparatorRect(bool dragged = false) const;

    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    void DoPostPaint(HDC dc, const RECT& paint) override;

protected:
    explicit CBoxLayoutUI(TLayoutAxis axis) : m_axis(axis) {}

    // The width of the band, sepheight or sepwidth; 0 for none. Nothing is laid out again.
    int m_sepSize = 0;

private:
    TSeparator Separator() const;
    bool DoSeparatorEvent(const TUIEvent& event);
    void Drag(POINT pt);

    TLayoutAxis m_axis;
    bool m_sepImmediate = false;
    bool m_sepCaptured = false;
    POINT m_sepLastMouse = {};
    RECT m_sepNewPos = {};  // where the drag goes
};

}  // namespace Veneer
