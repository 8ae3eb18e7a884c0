#pragma once
// CTileLayoutUI: a container that places its children in a grid, row by row. The columns
// are as many as items of the item width fit across, or the given number; each row is as
// high as its tallest child.

#include <windows.h>

#include "ui/controls/ContainerUI.h"

namespace Veneer {

class CTileLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;
    // "TileLayout", then the container's kinds.
    void* GetInterface(const char* name) override;

    SIZE GetItemSize() const { return m_itemSize; }
    // cx > 0 chooses the columns by width; cy > 0 is the height of children without one.
    void SetItemSize(SIZE size);
    int GetColumns() const { return m_columns; }
    // Used while the item width is 0; values below 1 are ignored.
    void SetColumns(int columns);

    void SetPos(RECT rc) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;

private:
    SIZE m_itemSize = {};
    int m_columns = 1;
};

}  // namespace Veneer
