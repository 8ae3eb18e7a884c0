#pragma once
// CListItems: the items of a list owner (the list, the combo) with its selection and its
// expanded item, kept in step while items come, go and move. The items are the children of
// a plain container the owner keeps for them (the list's body, the combo's item holder),
// whose child list it never overrides; each list item gets the owner and its index.
//
// Adding, removing and selecting run the items' handlers, which may destroy the owner and
// this object with it: the operations say so in their result and touch nothing afterwards.

#include "ui/controls/ContainerUI.h"

namespace Veneer {

class CControlWatch;

// Where an index lands when the item at from moves to to.
int IndexAfterMove(int index, int from, int to);

class CListItems {
public:
    CListItems(CContainerUI& items, CControlUI& owner) : m_items(items), m_owner(owner) {}
    CListItems(const CListItems&) = delete;
    CListItems& operator=(const CListItems&) = delete;

    // What adding or removing an item did.
    enum class TChange {
        Refused,        // nothing changed
        OwnerGone,      // the items' handlers destroyed the owner
        Done,           // the items, their indexes, the selection and expanded item agree
        SelectionLost,  // Done, and the selected item went: the selection is -1
    };

    CContainerUI& Items() const { return m_items; }
    int GetCurSel() const { return m_curSel; }
    int GetExpanded() const { return m_expanded; }

    // Adds child at index (0 .. count); refused before the child is touched for another
    // index, null, or a child already there. A list item gets the owner and its index
    // first, and loses the owner again when the container refuses it.
    TChange Insert(CControlUI* child, int index);
    // Takes the item at index out; one the container keeps (no auto destroy) loses its
    // owner first.
    TChange RemoveAt(int index);
    // Moves control to index; false when it is no item or the index none.
    bool Move(IControlUI* control, int index);
    // Every item goes; the ones the container keeps lose their owner first.
    void RemoveAll();
    // The common core of selecting: the selected item is told it lost the selection, then
    // the item at index that it has it. The selection changes before each item is told, so
    // that an item's own call back to the owner ends at once, and is -1 again when the new
    // item refuses. The item now selected; null when no visible, enabled item is at index,
    // when it refuses, or when owner (the caller's watch on the owner) is gone after an
    // item's call.
    CControlUI* Select(const CControlWatch& owner, int index);
    // Expands or collapses the item at index, collapsing the expanded one first unless
    // several may be expanded; false when the item does not.
    bool Expand(int index, bool expand, bool multiExpandable);

private:
    // Tells the items from index from on their indexes.
    void Renumber(int from);
    // Items the container keeps must not point at the owner once they are out.
    void Release();

    CContainerUI& m_items;
    CControlUI& m_owner;
    int m_curSel = -1;
    int m_expanded = -1;
};

}  // namespace Veneer
