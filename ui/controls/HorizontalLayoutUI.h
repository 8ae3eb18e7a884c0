#pragma once
// CHorizontalLayoutUI: a container that stacks its children left to right, sharing the
// room left by the children with a size of their own among those without one. Its
// separator lies at its right edge (a negative size: its left edge).

#include <windows.h>

#include "ui/controls/BoxLayoutUI.h"

namespace Veneer {

class CHorizontalLayoutUI : public CBoxLayoutUI {
public:
    CHorizontalLayoutUI() : CBoxLayoutUI(TLayoutAxis::Horizontal) {}

    const char* GetClass() const override;
    // "HorizontalLayout", then the container's kinds.
    void* GetInterface(const char* name) override;

    int GetSepWidth() const { return m_sepSize; }
    void SetSepWidth(int size) { m_sepSize = size; }

    void SetPos(RECT rc) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
};

}  // namespace Veneer
