#pragma once
// CVerticalLayoutUI: a container that stacks its children top to bottom, sharing the
// room left by the children with a size of their own among those without one. Its
// separator lies at its bottom edge (a negative size: its top edge).

#include <windows.h>

#include "ui/controls/BoxLayoutUI.h"

namespace Veneer {

class CVerticalLayoutUI : public CBoxLayoutUI {
public:
    CVerticalLayoutUI() : CBoxLayoutUI(TLayoutAxis::Vertical) {}

    const char* GetClass() const override;
    // "VerticalLayout", then the container's kinds.
    void* GetInterface(const char* name) override;

    int GetSepHeight() const { return m_sepSize; }
    void SetSepHeight(int size) { m_sepSize = size; }

    void SetPos(RECT rc) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
};

}  // namespace Veneer
