#pragma once
// CComboUI: a box that shows the text of its selected item and, when clicked, drops the
// list of its items down below itself in a window of their own (CComboWnd, ComboWnd.h).
// The items are list items (ListLabelElement, ListTextElement, ListContainerElement) that
// the combo owns like a list does, drawn in the combo's item style; the combo sends
// "dropdown" when the list drops down and "itemselect" (wParam the new index, lParam the
// previous one) whenever the selection changes. Up, Down, Home and End move the selection,
// with the list down or not, and so does the wheel; F4 drops the list down; Return, Escape
// and F4 close it, and so does a click on an item (which selects it) or the focus leaving
// the list.

#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/ListItems.h"
#include "ui/controls/ListUI.h"
#include "ui/core/UIString.h"

namespace Veneer {

class CComboWnd;

// The combo is no container of its own: its child list is its item list's, whose items
// are never laid out, searched by the mouse or painted in the combo's window.
class CComboUI : public CControlUI, public IContainerUI, public IListOwnerUI {
public:
    CComboUI();
    // Closes the drop-down first: its window never reaches the combo afterwards.
    ~CComboUI() override;

    const char* GetClass() const override;
    // "Combo", "IListOwner" (its IListOwnerUI part) and "IContainer" (its child list),
    // then the control's kinds.
    void* GetInterface(const char* name) override;
    // A tab stop while keyboard-enabled.
    UINT GetControlFlags() const override;
    // The selected item's text; empty without a selection.
    CUIString GetText() const override;
    // Drops the list down and sends "dropdown"; false, doing nothing, while hidden or
    // disabled, or when the window cannot be made. The combo takes the focus. The
    // receivers may destroy the combo.
    bool Activate() override;
    bool IsDroppedDown() const { return m_window != nullptr; }
    // Closes the drop-down, keeping the selection; safe from the list's own notifications.
    void CloseDropDown();
    // The drop-down's window while the list is down, else null.
    HWND GetDropDownWindow() const;

    // The child list holds the items: each gets the combo as its owner and its index, and
    // the selection follows its item. While the list is down, its window shows the change.
    CControlUI* GetItemAt(int index) const override { return m_holder.GetItemAt(index); }
    int GetItemIndex(IControlUI* control) const override { return m_holder.GetItemIndex(control); }
    int GetCount() const override { return m_holder.GetCount(); }
    bool SetItemIndex(IControlUI* control, int index) override;
    bool Add(IControlUI* control) override;
    bool AddAt(IControlUI* control, int index) override;
    bool Remove(IControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // IListOwnerUI.
    TListItemStyle* GetListInfo() override { return &m_style; }
    int GetCurSel() const override { return m_list.GetCurSel(); }
    // Sends "itemselect" when the selection changes and shows the new item in the open
    // list. The focus stays with the combo whatever takeFocus says: its items are never
    // shown in its own window. The receivers may destroy the combo.
    bool SelectItem(int index, bool takeFocus = false) override;
    void DoEvent(TUIEvent& event) override;

    // The face's text lies inside the item rectangle less this padding (and the item
    // style's text padding).
    RECT GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(RECT padding);
    // The drop-down's width (0: the combo's) and its most height; it is as high as its
    // items need up to that.
    SIZE GetDropBoxSize() const { return m_dropBoxSize; }
    void SetDropBoxSize(SIZE size) { m_dropBoxSize = size; }
    // Attributes of the drop-down's vertical layout (its background, border, inset,
    // scroll bar), name="value" pairs as in default lists.
    const char* GetDropBoxAttributes() const { return m_dropBoxAttributes; }
    void SetDropBoxAttributes(const char* list) { m_dropBoxAttributes = list; }
    // The face's image for a state; the pushed one is shown while the list is down.
    const char* GetImage(TButtonImage state) const;
    void SetImage(TButtonImage state, const char* image);

    // Hiding, disabling and moving the combo to another window close the list first.
    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    // Searches for what the window shows end at the combo; others reach its items too.
    IControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
    void PaintStatusImage(HDC dc) override;
    // The selected item's text, drawn by the item in the combo's item style.
    void PaintText(HDC dc) override;
    // Without a fixed height: one line of the item font, the text paddings and 8 pixels.
    SIZE EstimateSize(SIZE available) override;

    // The container's attributes go to the items' holder, the rest as the rows say.
    void SetAttribute(const char* name, const char* value) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;

private:
    friend class CComboWnd;

    // Holds the items for the item list; a change to them is the combo's.
    class CItemHolder final : public CContainerUI {
    public:
        explicit CItemHolder(CComboUI& combo) : m_combo(combo) {}
        void NeedUpdate() override { m_combo.NeedUpdate(); }
        // The items' repaints are clipped to the combo, as a child's are to its parent.
        RECT GetPos() const override { return m_combo.GetPos(); }

    private:
        CComboUI& m_combo;
    };

    bool Insert(CControlUI* child, int index);
    // An item the drop-down lent out is the combo's again.
    void TakeBack(CControlUI* item);
    // Up, Down, Home and End; false for other keys.
    bool SelectByKey(char key);
    // The drop-down's window is gone: the items are the combo's own again.
    void DropDownClosed();

    CComboWnd* m_window = nullptr;
    TListItemStyle m_style;
    RECT m_textPadding = {};
    SIZE m_dropBoxSize = {0, 150};
    CUIString m_dropBoxAttributes;
    UINT m_buttonState = 0;  // UISTATE_HOT while the mouse is over the face
    CUIString m_images[static_cast<int>(TButtonImage::Count)];
    // Last, so that the items go first when the combo does, while the rest of it is whole.
    CItemHolder m_holder{*this};
    CListItems m_list{m_holder, *this};
};

}  // namespace Veneer
