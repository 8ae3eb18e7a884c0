#pragma once
// CListContainerElementUI: a list item that is itself a container, so an item can hold any
// controls. It paints the item background of its list's style under its own background and
// children, and draws no text of its own (a menu entry draws its own).

#include <windows.h>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ListItemUI.h"

namespace Veneer {

class CListContainerElementUI : public CListItemBaseUI<CContainerUI> {
public:
    const char* GetClass() const override;
    // "ListItem" (the item interface), "ListContainerElement", then the container's kinds.
    void* GetInterface(const char* name) override;

    void DoPaint(HDC dc, const RECT& paint) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
};

}  // namespace Veneer
