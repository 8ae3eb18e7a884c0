#include "ui/controls/ListElementUI.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "ui/core/base/ControlWatch.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

const char* CListElementUI::GetClass() const
{
    return "ListElementUI";
}

void* CListElementUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "ListElement") == 0)
        return this;
    return CListItemBaseUI<CControlUI>::GetInterface(name);
}

const TAttributeTable CListElementUI::kAttributeTable =
    MakeAttributeTable(&CControlUI::kAttributeTable, kListItemAttributes);

const TAttributeTable& CListElementUI::GetAttributeTable() const
{
    return kAttributeTable;
}

const char* CListLabelElementUI::GetClass() const
{
    return "ListLabelElementUI";
}

void* CListLabelElementUI::GetInterface(const char* name)
{
    return std::strcmp(name, "ListLabelElement") == 0 ? this : CListElementUI::GetInterface(name);
}

SIZE CListLabelElementUI::EstimateSize(SIZE)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr || m_owner == nullptr)
        return m_fixedSize;
    const TListItemStyle& style = *m_owner->GetListInfo();
    const int line = m_manager->GetFontEntry(style.font)->metrics.tmHeight;
    return SIZE{m_fixedSize.cx, line + style.textPadding.top + style.textPadding.bottom + 8};
}

void CListLabelElementUI::DoPaint(HDC dc, const RECT& paint)
{
    if (!IntersectRect(&m_rcPaint, &paint, &m_rcItem))
        return;
    DrawItemBk(dc);
    DrawItemText(dc, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC dc, const RECT& rc)
{
    if (m_text.IsEmpty())
        return;
    int links = 0;
    DrawStyledText(dc, rc, m_text, nullptr, nullptr, links);
}

void CListLabelElementUI::DrawStyledText(HDC dc, RECT rc, const char* text, RECT* links,
                                         CUIString* linkTexts, int& linkCount)
{
    if (m_owner == nullptr) {
        linkCount = 0;
        return;
    }
    const TListItemStyle& style = *m_owner->GetListInfo();
    rc.left += style.textPadding.left;
    rc.top += style.textPadding.top;
    rc.right -= style.textPadding.right;
    rc.bottom -= style.textPadding.bottom;
    const UINT format = style.textStyle | DT_SINGLELINE;
    const DWORD color = StateTextColor(style);
    if (style.showHtml) {
        CRenderUtil::DrawMarkupText(dc, m_manager, rc, text, color, links, linkTexts, linkCount,
                                    format);
    } else {
        CRenderUtil::DrawPlainText(dc, m_manager, rc, text, color, style.font, format);
        linkCount = 0;
    }
}

CListTextElementUI::~CListTextElementUI()
{
    for (int i = 0; i < m_columnTexts.GetSize(); ++i)
        delete static_cast<CUIString*>(m_columnTexts.GetAt(i));
}

const char* CListTextElementUI::GetClass() const
{
    return "ListTextElementUI";
}

void* CListTextElementUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "ListTextElement") == 0)
        return this;
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const
{
    const UINT flags = CListLabelElementUI::GetControlFlags();
    return IsEnabled() && m_links.count > 0 ? flags | UIFLAG_SETCURSOR : flags;
}

CUIString CListTextElementUI::GetText(int column) const
{
    if (column == 0)
        return m_text;
    const CUIString* text = static_cast<const CUIString*>(m_columnTexts.GetAt(column - 1));
    return text != nullptr ? *text : CUIString();
}

void CListTextElementUI::SetText(int column, const char* text)
{
    if (column == 0)
        return SetText(text);
    if (column < 0 || column >= TListItemStyle::kMaxColumns)
        return;
    while (m_columnTexts.GetSize() < column) {
        if (!m_columnTexts.Add(nullptr))
            return;
    }
    CUIString* slot = static_cast<CUIString*>(m_columnTexts.GetAt(column - 1));
    if (slot == nullptr) {
        slot = new (std::nothrow) CUIString;
        if (slot == nullptr)
            return;
        m_columnTexts.SetAt(column - 1, slot);
    }
    *slot = text;
    Invalidate();
}

CUIString CListTextElementUI::ColumnText(IListCallbackUI* callback, int column)
{
    if (callback == nullptr)
        return GetText(column);
    const char* text = callback->GetItemText(this, m_index, column);
    return text != nullptr ? CUIString(text) : CUIString();
}

void CListTextElementUI::DrawItemText(HDC dc, const RECT& rc)
{
    if (m_owner == nullptr)
        return;
    const TListItemStyle& style = *m_owner->GetListInfo();
    const int columns = std::max(style.columns, 1);
    IListUI* list = dynamic_cast<IListUI*>(m_owner);
    IListCallbackUI* callback = list != nullptr ? list->GetTextCallback() : nullptr;
    int drawn = 0;
    for (int i = 0; i < columns; ++i) {
        RECT cell = rc;
        if (style.columns > 0) {
            cell.left = style.columnRects[i].left;
            cell.right = style.columnRects[i].right;
        }
        const CUIString text = ColumnText(callback, i);
        if (text.IsEmpty())
            continue;
        int links = TDrawnLinks::kMax - drawn;
        DrawStyledText(dc, cell, text, m_links.rects + drawn, m_links.texts + drawn, links);
        drawn += links;
    }
    m_links.count = drawn;
    m_links.ClearUnused();
}

void CListTextElementUI::DoEvent(TUIEvent& event)
{
    const bool live = m_links.count > 0 && IsEnabled() && IsMouseEnabled();
    const int link = live ? m_links.At(event.mouse) : -1;
    switch (event.type) {
    case TUIEventType::SetCursor:
        if (link < 0)
            break;
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        return;
    case TUIEventType::ButtonUp:
        if (link < 0 || IsCancelledPress(event) || m_manager == nullptr)
            break;
        m_manager->SendNotify(this, "link", static_cast<WPARAM>(link));
        return;
    case TUIEventType::MouseMove:
        if (link == m_links.hovered)
            break;
        m_links.hovered = link;
        Invalidate();
        return;
    case TUIEventType::MouseLeave:
        if (m_links.hovered >= 0) {
            m_links.hovered = -1;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::DoEvent(event);
}

}  // namespace Veneer
