// The list's skin attributes: the header's, the selection's, and those of the item style
// that every item of the list draws with.

#include <cstring>

#include "ui/controls/ListUI.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

const struct {
    const char* name;
    DWORD TListItemStyle::*field;
} kItemColors[] = {
    {"itemtextcolor", &TListItemStyle::textColor},
    {"itembkcolor", &TListItemStyle::bkColor},
    {"itemselectedtextcolor", &TListItemStyle::selectedTextColor},
    {"itemselectedbkcolor", &TListItemStyle::selectedBkColor},
    {"itemhottextcolor", &TListItemStyle::hotTextColor},
    {"itemhotbkcolor", &TListItemStyle::hotBkColor},
    {"itemdisabledtextcolor", &TListItemStyle::disabledTextColor},
    {"itemdisabledbkcolor", &TListItemStyle::disabledBkColor},
    {"itemlinecolor", &TListItemStyle::lineColor},
};

const struct {
    const char* name;
    CUIString TListItemStyle::*field;
} kItemImages[] = {
    {"itembkimage", &TListItemStyle::bkImage},
    {"itemselectedimage", &TListItemStyle::selectedImage},
    {"itemhotimage", &TListItemStyle::hotImage},
    {"itemdisabledimage", &TListItemStyle::disabledImage},
};

// The words of "itemalign", each found anywhere in the value and applied in this order.
const struct {
    const char* word;
    UINT clear;
    UINT set;
} kItemAlignWords[] = {
    {"left", DT_CENTER | DT_RIGHT, 0},
    {"center", DT_RIGHT, DT_CENTER},
    {"right", DT_CENTER, DT_RIGHT},
};

// Every attribute the list reads itself, with the item style's.
const TAttributeInfo kOwnAttributes[] = {
    {"header", TAttributeKind::Plain},
    {"headerbkimage", TAttributeKind::Image},
    {"scrollselect", TAttributeKind::Plain},
    {"multiexpanding", TAttributeKind::Plain},
    {"itemfont", TAttributeKind::Font},
    {"itemalign", TAttributeKind::Plain},
    {"itemendellipsis", TAttributeKind::Plain},
    {"itemtextpadding", TAttributeKind::Plain},
    {"itemtextcolor", TAttributeKind::Plain},
    {"itembkcolor", TAttributeKind::Plain},
    {"itemselectedtextcolor", TAttributeKind::Plain},
    {"itemselectedbkcolor", TAttributeKind::Plain},
    {"itemhottextcolor", TAttributeKind::Plain},
    {"itemhotbkcolor", TAttributeKind::Plain},
    {"itemdisabledtextcolor", TAttributeKind::Plain},
    {"itemdisabledbkcolor", TAttributeKind::Plain},
    {"itemlinecolor", TAttributeKind::Plain},
    {"itembkimage", TAttributeKind::Image},
    {"itemselectedimage", TAttributeKind::Image},
    {"itemhotimage", TAttributeKind::Image},
    {"itemdisabledimage", TAttributeKind::Image},
    {"itemaltbk", TAttributeKind::Plain},
    {"itemshowhtml", TAttributeKind::Plain},
};

}  // namespace

const TAttributeTable CListUI::kAttributeTable =
    MakeAttributeTable(&CVerticalLayoutUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CListUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CListUI::SetItemShowHtml(bool showHtml)
{
    if (m_style.showHtml == showHtml)
        return;
    m_style.showHtml = showHtml;
    NeedUpdate();
}

void CListUI::SetAttribute(const char* name, const char* value)
{
    if (name == nullptr || value == nullptr)
        return CVerticalLayoutUI::SetAttribute(name, value);
    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    if (is("header"))
        m_header->SetVisible(std::strcmp(value, "hidden") != 0);
    else if (is("headerbkimage"))
        m_header->SetBkImage(value);
    else if (is("scrollselect"))
        SetScrollSelect(ParseBoolean(value));
    else if (is("multiexpanding"))
        SetMultiExpanding(ParseBoolean(value));
    else if (!SetItemAttribute(name, value))
        CVerticalLayoutUI::SetAttribute(name, value);
}

bool CListUI::SetItemAttribute(const char* name, const char* value)
{
    for (const auto& color : kItemColors) {
        if (std::strcmp(name, color.name) == 0) {
            m_style.*color.field = ParseColor(value, false);
            Invalidate();
            return true;
        }
    }
    for (const auto& image : kItemImages) {
        if (std::strcmp(name, image.name) == 0) {
            m_style.*image.field = value;
            Invalidate();
            return true;
        }
    }
    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    if (is("itemfont")) {
        m_style.font = ParseInteger(value);
    } else if (is("itemalign")) {
        for (const auto& align : kItemAlignWords) {
            if (std::strstr(value, align.word) != nullptr)
                m_style.textStyle = (m_style.textStyle & ~align.clear) | align.set;
        }
    } else if (is("itemendellipsis")) {
        if (ParseBoolean(value))
            m_style.textStyle |= DT_END_ELLIPSIS;
        else
            m_style.textStyle &= ~DT_END_ELLIPSIS;
    } else if (is("itemtextpadding")) {
        m_style.textPadding = ToRect(ParseRect(value));
        NeedUpdate();
    } else if (is("itemaltbk")) {
        m_style.alternateBk = ParseBoolean(value);
        Invalidate();
    } else if (is("itemshowhtml")) {
        SetItemShowHtml(ParseBoolean(value));
    } else {
        return false;
    }
    return true;
}

}  // namespace Veneer
