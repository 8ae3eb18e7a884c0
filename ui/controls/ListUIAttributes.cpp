// The list's skin attributes: the header's, the selection's, and those of the item style
// that every item of the list draws with (read by every owner of items, the combo too).

#include <cstring>

#include "ui/controls/ListUI.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {
namespace {

// What setting one attribute of an item style asks of the style's owner.
enum class TItemStyleChange { Repaint, Relayout };

// Changes the item style of owner, a control that owns items (the rows of the item style
// are only in the tables of such classes), with change(style), and repaints or lays out
// the owner as change answers.
template <class Change>
void ChangeItemStyle(IControlUI& owner, Change change)
{
    CControlUI& control = static_cast<CControlUI&>(owner);
    auto* list = static_cast<IListOwnerUI*>(control.GetInterface("IListOwner"));
    if (change(*list->GetListInfo()) == TItemStyleChange::Relayout)
        control.NeedUpdate();
    else
        control.Invalidate();
}

template <DWORD TListItemStyle::*field>
void SetItemColor(IControlUI& owner, const char* value)
{
    ChangeItemStyle(owner, [value](TListItemStyle& style) {
        style.*field = ParseColor(value, false);
        return TItemStyleChange::Repaint;
    });
}

template <CUIString TListItemStyle::*field>
void SetItemImage(IControlUI& owner, const char* value)
{
    ChangeItemStyle(owner, [value](TListItemStyle& style) {
        style.*field = value;
        return TItemStyleChange::Repaint;
    });
}

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

void SetItemAlign(IControlUI& owner, const char* value)
{
    ChangeItemStyle(owner, [value](TListItemStyle& style) {
        for (const auto& align : kItemAlignWords) {
            if (std::strstr(value, align.word) != nullptr)
                style.textStyle = (style.textStyle & ~align.clear) | align.set;
        }
        return TItemStyleChange::Repaint;
    });
}

void SetItemStyleShowHtml(IControlUI& owner, const char* value)
{
    ChangeItemStyle(owner, [value](TListItemStyle& style) {
        const bool showHtml = ParseBoolean(value);
        const bool changed = style.showHtml != showHtml;
        style.showHtml = showHtml;
        return changed ? TItemStyleChange::Relayout : TItemStyleChange::Repaint;
    });
}

using Style = TListItemStyle;

const TAttributeInfo kItemStyleRows[] = {
    {"itemfont", TAttributeKind::Font,
     [](IControlUI& c, const char* v) {
         ChangeItemStyle(c, [v](TListItemStyle& style) {
             style.font = ParseInteger(v);
             return TItemStyleChange::Relayout;
         });
     }},
    {"itemalign", TAttributeKind::Plain, SetItemAlign},
    {"itemendellipsis", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         ChangeItemStyle(c, [v](TListItemStyle& style) {
             if (ParseBoolean(v))
                 style.textStyle |= DT_END_ELLIPSIS;
             else
                 style.textStyle &= ~DT_END_ELLIPSIS;
             return TItemStyleChange::Repaint;
         });
     }},
    {"itemtextpadding", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         ChangeItemStyle(c, [v](TListItemStyle& style) {
             style.textPadding = ToRect(ParseRect(v));
             return TItemStyleChange::Relayout;
         });
     }},
    {"itemtextcolor", TAttributeKind::Plain, SetItemColor<&Style::textColor>},
    {"itembkcolor", TAttributeKind::Plain, SetItemColor<&Style::bkColor>},
    {"itemselectedtextcolor", TAttributeKind::Plain, SetItemColor<&Style::selectedTextColor>},
    {"itemselectedbkcolor", TAttributeKind::Plain, SetItemColor<&Style::selectedBkColor>},
    {"itemhottextcolor", TAttributeKind::Plain, SetItemColor<&Style::hotTextColor>},
    {"itemhotbkcolor", TAttributeKind::Plain, SetItemColor<&Style::hotBkColor>},
    {"itemdisabledtextcolor", TAttributeKind::Plain, SetItemColor<&Style::disabledTextColor>},
    {"itemdisabledbkcolor", TAttributeKind::Plain, SetItemColor<&Style::disabledBkColor>},
    {"itemlinecolor", TAttributeKind::Plain, SetItemColor<&Style::lineColor>},
    {"itembkimage", TAttributeKind::Image, SetItemImage<&Style::bkImage>},
    {"itemselectedimage", TAttributeKind::Image, SetItemImage<&Style::selectedImage>},
    {"itemhotimage", TAttributeKind::Image, SetItemImage<&Style::hotImage>},
    {"itemdisabledimage", TAttributeKind::Image, SetItemImage<&Style::disabledImage>},
    {"itemaltbk", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         ChangeItemStyle(c, [v](TListItemStyle& style) {
             style.alternateBk = ParseBoolean(v);
             return TItemStyleChange::Repaint;
         });
     }},
    {"itemshowhtml", TAttributeKind::Plain, SetItemStyleShowHtml},
};

CListUI& List(IControlUI& control)
{
    return static_cast<CListUI&>(control);
}

// Every attribute the list reads itself, beside the item style's.
const TAttributeInfo kOwnAttributes[] = {
    {"header", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         List(c).GetHeader()->SetVisible(std::strcmp(v, "hidden") != 0);
     }},
    {"headerbkimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { List(c).GetHeader()->SetBkImage(v); }},
    {"scrollselect", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { List(c).SetScrollSelect(ParseBoolean(v)); }},
    {"multiexpanding", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { List(c).SetMultiExpanding(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable kItemStyleAttributes = MakeAttributeTable(nullptr, kItemStyleRows);

const TAttributeTable CListUI::kAttributeTable =
    MakeAttributeTable(&CVerticalLayoutUI::kAttributeTable, kOwnAttributes, &kItemStyleAttributes);

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

}  // namespace Veneer
