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

CTileLayoutUI& Tiles(IControlUI& control)
{
    return static_cast<CTileLayoutUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"itemsize", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Tiles(c).SetItemSize(ToSize(ParseSize(v))); }},
    {"columns", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Tiles(c).SetColumns(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CTileLayoutUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CTileLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
