#include "ui/controls/TileLayoutUI.h"

#include <cstring>

#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {

const char* CTileLayoutUI::GetClass() const
{
    return "TileLayoutUI";
}

void* CTileLayoutUI::GetInterface(const char* name)
{
    return std::strcmp(name, "TileLayout") == 0 ? this : CContainerUI::GetInterface(name);
}

void CTileLayoutUI::SetItemSize(SIZE size)
{
    if (m_itemSize.cx == size.cx && m_itemSize.cy == size.cy)
        return;
    m_itemSize = size;
    NeedUpdate();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns <= 0)
        return;
    m_columns = columns;
    NeedUpdate();
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT inner = InnerRect(true);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(inner, 0, 0);
        return;
    }
    TTileLayout tiles;
    tiles.inner = ToLayoutRect(inner);
    tiles.width = NarrowSum(std::int64_t{inner.right} - inner.left + GetScrollRange().cx);
    tiles.itemSize = ToLayoutSize(m_itemSize);
    tiles.columns = m_columns;
    tiles.scrollPos = ToLayoutSize(GetScrollPos());
    CLayoutChildren children(this);
    const int height = LayOutTiles(tiles, children);
    if (children.IsAlive())
        ProcessScrollBar(inner, 0, height);
}

namespace {

const TAttributeInfo kOwnAttributes[] = {
    {"itemsize", TAttributeKind::Extent},
    {"columns", TAttributeKind::Plain},
};

}  // namespace

const TAttributeTable CTileLayoutUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CTileLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CTileLayoutUI::SetAttribute(const char* name, const char* value)
{
    if (name == nullptr || value == nullptr)
        return CContainerUI::SetAttribute(name, value);
    if (std::strcmp(name, "itemsize") == 0) {
        SetItemSize(ToSize(ParseSize(value)));
    } else if (std::strcmp(name, "columns") == 0) {
        SetColumns(ParseInteger(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Veneer
