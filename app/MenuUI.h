#pragma once
// The controls of a popup menu: CMenuUI, the list of entries that fills a menu window;
// CMenuElementUI, one entry, a container list item that draws its own text and whose
// nested entries open in a submenu window beside it; CMenuBuilderCallback, which makes
// both for the skin elements "Menu" and "MenuElement".

#include <windows.h>

#include "ui/controls/ListContainerElementUI.h"
#include "ui/controls/ListUI.h"
#include "ui/core/DialogBuilder.h"

namespace Veneer {

class CMenuWnd;

// A menu holds menu entries only.
class CMenuUI : public CListUI {
public:
    // Without a header: the entries start at the top.
    CMenuUI();

    const char* GetClass() const override;
    // "Menu" (any case), then the list's kinds.
    void* GetInterface(const char* name) override;

    // Entries only; their own nested entries are hidden here, they show in submenus.
    bool Add(IControlUI* control) override;
    bool AddAt(IControlUI* control, int index) override;
    int GetItemIndex(IControlUI* control) const override;
    bool SetItemIndex(IControlUI* control, int index) override;
    bool Remove(IControlUI* control) override;

    // The widest visible entry by the sum of their heights; the inset is not added.
    SIZE EstimateSize(SIZE available) override;
};

class CMenuElementUI : public CListContainerElementUI {
public:
    static constexpr int kItemHeight = 25;

    CMenuElementUI();

    const char* GetClass() const override;
    // "MenuElement" (any case), then the container item's kinds.
    void* GetInterface(const char* name) override;

    // The item background, the text, then the children that are no entries.
    void DoPaint(HDC dc, const RECT& paint) override;
    // The text in the owner's item style, in the colour of the item's state.
    void DrawItemText(HDC dc, const RECT& rc) override;
    // The visible children's, else the text's with its padding and 20 pixels; the fixed
    // height replaces the height.
    SIZE EstimateSize(SIZE available) override;

    // Hovering opens the submenu of an entry with nested entries and closes the other
    // submenus of its menu; pressing one without them closes every menu.
    void DoEvent(TUIEvent& event) override;
    bool Activate() override;

    // The submenu window open beside this entry, or null.
    CMenuWnd* GetSubmenu() const { return m_submenu; }
    // Its submenu window is gone.
    void OnSubmenuClosed();

private:
    // Shows the nested entries; false when there are none.
    bool ShowNestedItems();
    void OpenSubmenu();
    // Closes the submenus of this entry's menu window (code 2) or every menu (code 1).
    void CloseMenus(unsigned code);
    // Opens the submenu, or closes every menu for an entry without one.
    void Choose();
    SIZE MeasureText(SIZE available);

    CMenuWnd* m_submenu = nullptr;
};

// Whether the control is a menu entry.
inline bool IsMenuElement(IControlUI* control)
{
    return control != nullptr && control->GetInterface("MenuElement") != nullptr;
}

class CMenuBuilderCallback : public IDialogBuilderCallback {
public:
    // "Menu" and "MenuElement" (any case); null for other names.
    IControlUI* CreateControl(const char* className) override;
};

}  // namespace Veneer
