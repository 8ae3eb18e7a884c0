// The list's skin attributes: the header's, the selection's, and those of the item style
// that every item of the list draws with (read by every owner of items, the combo too).

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

// Every attribute the list reads itself, beside the item style's.
const TAttributeInfo kOwnAttributes[] = {
    {"header", TAttributeKind::Plain},
    {"headerbkimage", TAttributeKind::Image},
    {"scrollselect", TAttributeKind::Plain},
    {"multiexpanding", TAttributeKind::Plain},
};

// The list reads the item style's attributes beside its own.
const TAttributeTable kListItemStyleTable =
    MakeAttributeTable(&CVerticalLayoutUI::kAttributeTable, kItemStyleAttributes);

}  // namespace

const TAttributeInfo kItemStyleAttributes[kItemStyleAttributeCount] = {
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

const TAttributeTable CListUI::kAttributeTable =
    MakeAttributeTable(&kListItemStyleTable, kOwnAttributes);

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
    else if (!ApplyItemStyleChange(*this, SetItemStyleAttribute(m_style, name, value)))
        CVerticalLayoutUI::SetAttribute(name, value);
}

bool ApplyItemStyleChange(CControlUI& owner, TItemStyleChange change)
{
    if (change == TItemStyleChange::Relayout)
        owner.NeedUpdate();
    else if (change == TItemStyleChange::Repaint)
        owner.Invalidate();
    return change != TItemStyleChange::None;
}

TItemStyleChange SetItemStyleAttribute(TListItemStyle& style, const char* name, const char* value)
{
    for (const auto& color : kItemColors) {
        if (std::strcmp(name, color.name) == 0) {
            style.*color.field = ParseColor(value, false);
            return TItemStyleChange::Repaint;
        }
    }
    for (const auto& image : kItemImages) {
        if (std::strcmp(name, image.name) == 0) {
            style.*image.field = value;
            return TItemStyleChange::Repaint;
        }
    }
    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    if (is("itemfont")) {
        style.font = ParseInteger(value);
        return TItemStyleChange::Relayout;
    }
    if (is("itemalign")) {
        for (const auto& align : kItemAlignWords) {
            if (std::strstr(value, align.word) != nullptr)
                style.textStyle = (style.textStyle & ~align.clear) | align.set;
        }
        return TItemStyleChange::Repaint;
    }
    if (is("itemendellipsis")) {
        if (ParseBoolean(value))
            style.textStyle |= DT_END_ELLIPSIS;
        else
            style.textStyle &= ~DT_END_ELLIPSIS;
        return TItemStyleChange::Repaint;
    }
    if (is("itemtextpadding")) {
        style.textPadding = ToRect(ParseRect(value));
        return TItemStyleChange::Relayout;
    }
    if (is("itemaltbk")) {
        style.alternateBk = ParseBoolean(value);
        return TItemStyleChange::Repaint;
    }
    if (is("itemshowhtml")) {
        const bool showHtml = ParseBoolean(value);
        const bool changed = style.showHtml != showHtml;
        style.showHtml = showHtml;
        return changed ? TItemStyleChange::Relayout : TItemStyleChange::Repaint;
    }
    return TItemStyleChange::None;
}

}  // namespace Veneer
