#pragma once
// CListUI: a vertical list of selectable items that share one item style (fonts, colours,
// images and paddings for normal, hot, selected and disabled items), with one selection,
// keyboard navigation, and the notifications "itemselect", "itemclick" and
// "itemactivate". Its own children are a column header above a body (CListBodyUI) that
// holds the items; its child list routes to them: header controls to the header, all else
// to the body. The popup menu is a list whose items are container items.

#include <windows.h>

#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListItems.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

class CListUI;

// The look that every item of a list takes from its owner.
struct TListItemStyle {
    static constexpr int kMaxColumns = 32;

    int columns = 0;                     // header items, at most kMaxColumns
    RECT columnRects[kMaxColumns] = {};  // where the header items lie, in body coordinates
    int font = -1;                       // index into the window's fonts
    UINT textStyle = DT_VCENTER;         // DT_* bits
    RECT textPadding = {};
    DWORD textColor = 0xFF000000;
    DWORD bkColor = 0;
    CUIString bkImage;
    bool alternateBk = false;  // items with an odd index get no background colour
    DWORD selectedTextColor = 0xFF000000;
    DWORD selectedBkColor = 0xFFC1E3FF;
    CUIString selectedImage;
    DWORD hotTextColor = 0xFF000000;
    DWORD hotBkColor = 0xFFE9F5FF;
    CUIString hotImage;
    DWORD disabledTextColor = 0xFFCCCCCC;
    DWORD disabledBkColor = 0xFFFFFFFF;
    CUIString disabledImage;
    DWORD lineColor = 0;           // a line along each item's bottom edge
    bool showHtml = false;         // item texts are brace mark-up
    bool multiExpandable = false;  // several items may be expanded at once
};

// The item style's attributes ("itemfont", "itemtextcolor" ...), shared by the attribute
// tables of the classes that own items (IListOwnerUI): each row changes the owner's style
// and repaints or lays out the owner.
extern const TAttributeTable kItemStyleAttributes;

// Supplies the texts of text items, by item and column.
class IListCallbackUI {
public:
    virtual const char* GetItemText(CControlUI* item, int index, int column) = 0;

protected:
    ~IListCallbackUI() = default;
};

// What an item needs of the list it belongs to.
class IListOwnerUI {
public:
    virtual TListItemStyle* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // Selects the item at index (-1 selects nothing); false, with no selection left, for an
    // index that names no visible, enabled item.
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    virtual void DoEvent(TUIEvent& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    // The body, which holds the items.
    virtual CContainerUI* GetList() = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* callback) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

// One item of a list, whatever control it is.
class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    // owner: a control that answers "IListOwner" (a list), or null for none.
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    // Draws the item's text into rc with the owner's style.
    virtual void DrawItemText(HDC dc, const RECT& rc) = 0;

protected:
    ~IListItemUI() = default;
};

// The item interface of a control, or null when it is no list item.
inline IListItemUI* AsListItem(CControlUI* control)
{
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem"))
                              : nullptr;
}

// Scrolls a container vertically by the least that brings rc, a child's rectangle, inside
// its inner area.
void ScrollIntoView(CContainerUI& container, const RECT& rc);

// The list's body: a vertical layout of the items whose events are the list's, and whose
// horizontal scrolling the header follows.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner) : m_owner(owner) {}

    const char* GetClass() const override;
    CListUI* GetOwner() const { return m_owner; }

    void SetScrollPos(SIZE pos) override;
    void DoEvent(TUIEvent& event) override;

private:
    CListUI* m_owner;
};

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;

    const char* GetClass() const override;
    // "List", "IList" and "IListOwner", then the vertical layout's kinds.
    void* GetInterface(const char* name) override;
    // A tab stop.
    UINT GetControlFlags() const override;

    // The child list: a header ("ListHeader") replaces an empty header; header items
    // ("ListHeaderItemUI") go to the header; everything else is an item of the body.
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(IControlUI* control) const override;
    // Items keep their indexes and the selection follows its item.
    bool SetItemIndex(IControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(IControlUI* control) override;
    bool AddAt(IControlUI* control, int index) override;
    // The header itself is never removed (hide it instead).
    bool Remove(IControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // The body's: its child padding, destruction of removed items, and scrolling.
    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    bool IsAutoDestroy() const override;
    void SetAutoDestroy(bool destroy) override;
    bool IsDelayedDestroy() const override;
    void SetDelayedDestroy(bool delayed) override;
    int FindSelectable(int index, bool forward = true) const override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool vertical = true, bool horizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    // IListUI.
    TListItemStyle* GetListInfo() override { return &m_style; }
    int GetCurSel() const override { return m_list.GetCurSel(); }
    // Sends "itemselect" (wParam the new index, lParam the previous one) when the
    // selection changes. The receivers may destroy the list.
    bool SelectItem(int index, bool takeFocus = false) override;
    CListHeaderUI* GetHeader() const override { return m_header; }
    CContainerUI* GetList() override { return &m_body; }
    IListCallbackUI* GetTextCallback() const override { return m_textCallback; }
    void SetTextCallback(IListCallbackUI* callback) override { m_textCallback = callback; }
    // Collapses the expanded item first unless several may be expanded.
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override { return m_list.GetExpanded(); }

    // Scrolls the body vertically until the item at index lies inside it; only while
    // there is a selection.
    void EnsureVisible(int index);
    // The wheel moves the selection instead of scrolling.
    bool IsScrollSelect() const { return m_scrollSelect; }
    void SetScrollSelect(bool scrollSelect) { m_scrollSelect = scrollSelect; }
    void SetMultiExpanding(bool multiExpandable) { m_style.multiExpandable = multiExpandable; }
    void SetItemShowHtml(bool showHtml = true);

    void SetPos(RECT rc) override;
    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;

private:
    friend class CListBodyUI;

    // index -1 appends.
    bool Insert(CControlUI* child, int index);
    bool AddHeader(CListHeaderUI* header);
    bool AddHeaderItem(CControlUI* item, int index);
    bool SelectFrom(int index, bool forward, bool takeFocus = true);
    // Lays the header out (a hidden one too), in step with the body's horizontal
    // scrolling, and takes the columns from it.
    void LayOutHeader();
    void ShowHeaderItems(bool shown);
    void ShiftHeaderItems(int dx);
    void UpdateColumns();

    bool m_scrollSelect = false;
    IListCallbackUI* m_textCallback = nullptr;
    // The parts are the list's own children, but members, so that a list always has them;
    // the list's own children are therefore never deleted by the container. A header
    // given by the skin replaces the built-in one and is deleted with the list.
    CListBodyUI m_body;
    CListItems m_list;
    CListHeaderUI m_builtInHeader;
    CListHeaderUI* m_header = &m_builtInHeader;
    TListItemStyle m_style;
};

}  // namespace Veneer
