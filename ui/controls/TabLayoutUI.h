#pragma once
// CTabLayoutUI: a container that shows one child, the selected page, at a time. Pages
// added after the first visible one start hidden; selecting a page shows it, hides the
// others, moves the keyboard focus into it and sends "tabselect".

#include <windows.h>

#include "ui/controls/ContainerUI.h"

namespace Veneer {

class CTabLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;
    // "TabLayout", then the container's kinds.
    void* GetInterface(const char* name) override;

    // The first visible page added becomes the selection; every other page is hidden.
    bool Add(IControlUI* control) override;
    bool AddAt(IControlUI* control, int index) override;
    // Removing the selected page selects the first remaining one, without notifying.
    bool Remove(IControlUI* control) override;
    void RemoveAll() override;

    // The selected page's index, or -1.
    int GetCurSel() const { return m_curSel; }
    // False outside 0 .. count-1; selecting the selected page again changes nothing.
    // "tabselect" carries the new index in wParam and the old one in lParam.
    virtual bool SelectItem(int index);

    void SetPos(RECT rc) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;

private:
    // Called after a child was inserted at index.
    void Adopt(CControlUI* child, int index);

    int m_curSel = -1;
};

}  // namespace Veneer
