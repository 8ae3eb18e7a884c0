#pragma once
// CComboWnd: the drop-down of a CComboUI, a popup window owned by the combo's window and
// placed below the combo (above it when the screen has no room below). Its own manager
// shows the combo's items in a vertical layout, the drop box; the items stay the combo's
// throughout and are lent to the box while the window is open.
//
// The window shows without taking the focus: the combo keeps it, so keys reach the combo
// in its own window, and the window watches the combo's window (a message filter) for the
// wheel, which it hands to the combo, and for the focus leaving, a move or a size, which
// close it. A click in the window goes to the box's controls (the window then has the
// focus and hands keys and the wheel to the combo itself); a click that begins and ends on
// one item selects it, through the item, and closes the window.
//
// The window and the combo let go of each other in two ways. The window closes by itself
// (WM_CLOSE): it gives the items back and tells the combo. The combo closes it (hidden,
// destroyed, asked to): Dismiss gives the items back at once and destroys the window, or,
// when the window is inside one of its own messages, hides it and destroys it afterwards;
// it never reaches the combo again.

#include <windows.h>

#include "ui/core/WindowLife.h"
#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace Veneer {

class CComboUI;
class CControlUI;
class CDropBoxUI;

// Where a drop-down of size goes, in screen coordinates, for a combo at combo: below it,
// above it when the work area has no room below but room above, and moved left or right
// into the work area.
RECT DropDownPlacement(const RECT& combo, SIZE size, const RECT& workArea);

class CComboWnd : public CWindowWnd, public IMessageFilterUI {
public:
    // Makes and shows the drop-down of a combo laid out in a window. True when the list is
    // down; false when the window cannot be made, or when the items' handlers closed it or
    // destroyed the combo meanwhile.
    static bool Open(CComboUI* combo);
    // The combo lets go: see above. The object may be gone when this returns.
    void Dismiss();
    // Asks the window to close after the current message, keeping the selection.
    void CloseLater() { Close(); }

    // The combo's child list changed while the window is open.
    void ShowItem(CControlUI* item, int index);
    void HideItem(CControlUI* item);
    void MoveItem(CControlUI* item, int index);
    // Scrolls the box until the item at index lies inside it.
    void EnsureVisible(int index);

    const char* GetWindowClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;
    // Messages of the combo's window.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    explicit CComboWnd(CComboUI* combo) : m_combo(combo) {}
    ~CComboWnd() override;

    // The box, empty, dressed by the combo's "dropbox" list; its manager gets the owner's
    // fonts. False when memory runs out.
    bool MakeBox(CWindowManagerUI& owner);
    // Where the window goes, in screen coordinates: below the combo, or above it.
    RECT Placement() const;
    // The height the box needs for the combo's visible items.
    int ContentHeight(int width) const;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The window or a native window inside it.
    bool IsOwnWindow(HWND hwnd) const;
    // Forwards a key or the wheel to the combo as its own event.
    void ForwardToCombo(TUIEventType type, WPARAM wParam);
    LRESULT OnButtonUp(WPARAM wParam, LPARAM lParam);
    // The index of the item under a client point, or -1.
    int ItemAt(POINT pt) const;
    void OnClose();
    // The items become the combo's own again, and the combo hears that the list closed.
    // Calls nothing out.
    void GiveItemsBack();
    // The window is destroyed now; the owner gets the focus back when the window had it.
    void Destroy();

    CComboUI* m_combo;
    CWindowManagerUI m_manager;
    CDropBoxUI* m_box = nullptr;  // the manager's root
    int m_pressedItem = -1;       // the item a press in the window began on
    // A frame is open on it through every stretch of work the object must outlive (a
    // message, a call from the combo's window): the manager is on the stack then.
    CWindowLife m_life;
};

}  // namespace Veneer
