#include "ui/controls/ListContainerElementUI.h"

#include <cstring>

namespace Veneer {

const char* CListContainerElementUI::GetClass() const
{
    return "ListContainerElementUI";
}

void* CListContainerElementUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "ListContainerElement") == 0)
        return this;
    return CListItemBaseUI<CContainerUI>::GetInterface(name);
}

const TAttributeTable CListContainerElementUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kListItemAttributes);

const TAttributeTable& CListContainerElementUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CListContainerElementUI::DoPaint(HDC dc, const RECT& paint)
{
    if (!IntersectRect(&m_rcPaint, &paint, &m_rcItem))
        return;
    DrawItemBk(dc);
    CContainerUI::DoPaint(dc, paint);
}

}  // namespace Veneer
