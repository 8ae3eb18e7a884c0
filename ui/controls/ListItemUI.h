#pragma once
// CListItemBaseUI: what every list item is, over the control it is made from (a plain
// control for text items, a container for container items): its index and owner list,
// selection, hot state, activation, the events that select and activate it, and its
// background drawn from the owner's item style.

#include <windows.h>

#include "ui/controls/ContainerUI.h"
#include "ui/controls/ControlUI.h"
#include "ui/controls/ListUI.h"

namespace Veneer {

// GetControlFlags of list and menu items.
enum : UINT { UIFLAG_LISTITEM = 0x04 };

template <class Base>
class CListItemBaseUI : public Base, public IListItemUI {
public:
    // "ListItem" gives the item interface, then the base's kinds.
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override { return UIFLAG_LISTITEM; }
    // Sends "itemactivate"; false, sending nothing, while hidden or disabled. The
    // receivers may destroy the item.
    bool Activate() override;
    // A selected item that is hidden leaves its list with no selection.
    void SetVisible(bool visible = true) override;
    // Disabling clears the hot state.
    void SetEnabled(bool enabled = true) override;

    int GetIndex() const override { return m_index; }
    void SetIndex(int index) override { m_index = index; }
    IListOwnerUI* GetOwner() override { return m_owner; }
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return m_selected; }
    // Selecting tells the owner, which then makes this item its selection. False when
    // selecting a disabled item.
    bool Select(bool select = true) override;
    // Items expand only where a derived class says so.
    bool IsExpanded() const override { return false; }
    bool Expand(bool) override { return false; }
    void DrawItemText(HDC, const RECT&) override {}
    // UISTATE_HOT while the mouse is over the item.
    UINT GetButtonState() const { return m_buttonState; }

    void DoEvent(TUIEvent& event) override;

protected:
    // The background from the owner's style: the state's colour, the state's image, the
    // item's own or the style's background image, and the line along the bottom edge.
    void DrawItemBk(HDC dc);
    // Repaints the part of the item its parent shows (inside its inset and scroll bars).
    void Invalidate();
    bool IsHot() const { return (m_buttonState & UISTATE_HOT) != 0; }
    // The text colour of the item's state in the owner's style.
    DWORD StateTextColor(const TListItemStyle& style) const;

    using Base::m_bkImage;
    using Base::m_manager;
    using Base::m_parent;
    using Base::m_rcItem;

    int m_index = -1;
    bool m_selected = false;
    UINT m_buttonState = 0;
    IListOwnerUI* m_owner = nullptr;
};

// The attribute every list item reads itself ("selected": any value selects the item), for
// the tables of the classes.
extern const TAttributeInfo kListItemAttributes[1];

extern template class CListItemBaseUI<CControlUI>;
extern template class CListItemBaseUI<CContainerUI>;

}  // namespace Veneer
