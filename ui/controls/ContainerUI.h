#pragma once
// CContainerUI: a control that owns an ordered list of children (the last one on top),
// keeps an inner margin and the spacing between children, may carry a vertical and a
// horizontal scroll bar, and extends searching, painting, visibility and events to its
// children. The plain container gives every child its whole inner rectangle; the box,
// tile and tab layouts derive from it.

#include <windows.h>

#include "ui/controls/ControlUI.h"
#include "ui/core/IContainerUI.h"
#include "ui/core/PtrArray.h"

namespace Veneer {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    // Children are deleted at once, whatever the delayed destroy setting.
    ~CContainerUI() override;

    const char* GetClass() const override;
    // "IContainer" gives the child list, "Container" the object.
    void* GetInterface(const char* name) override;

    // The child list. Only controls derived from CControlUI can be children. A derived
    // class may show another list here (a list shows the items of its body); the
    // container's own work on its children goes by OwnCount and OwnItemAt below.
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(IControlUI* control) const override;
    // Moves a child to index, counted in the list without it. False, with the list as it
    // was, when the control is no child or the index is outside 0 .. count-1.
    bool SetItemIndex(IControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(IControlUI* control) override;
    // False for an index outside 0 .. count.
    bool AddAt(IControlUI* control, int index) override;
    bool Remove(IControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT inset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    // Removed children are deleted; with delayed destroy, after the current message.
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool destroy);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    // Off: hit tests stop at the container (and its scroll bars).
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enabled = true);
    // The first visible, enabled list item from index on (forward) or down from it; -1
    // when there is none.
    virtual int FindSelectable(int index, bool forward = true) const;

    // Scroll positions and ranges (cx horizontal, cy vertical); 0 without a visible bar.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    // Moves the children by the change the bars allow, without laying them out again.
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    // Makes or deletes the two bars.
    virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

    // Places a visible floating child from its fixed position and size.
    virtual void SetFloatPos(int index);
    // Shows, hides and sizes the bars for children needing cyRequired in rc (the inner
    // rectangle less a visible vertical bar), laying the container out again when that
    // changes the room the children have.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetMouseEnabled(bool enabled = true) override;
    void SetPos(RECT rc) override;
    IControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
    void DoEvent(TUIEvent& event) override;
    const TAttributeTable& GetAttributeTable() const override;
    // The attributes this class reads itself, chained to its base class's table.
    static const TAttributeTable kAttributeTable;
    void DoPaint(HDC dc, const RECT& paint) override;

    // The item rectangle less the inset, and less the visible bars when withBars.
    RECT InnerRect(bool withBars) const;

protected:
    friend class CLayoutChildren;

    // The container's own children, whatever its child list shows.
    int OwnCount() const { return m_items.GetSize(); }
    CControlUI* OwnItemAt(int index) const
    {
        return static_cast<CControlUI*>(m_items.GetAt(index));
    }
    int OwnIndexOf(IControlUI* control) const;
    bool IsScrollBarShown(const CScrollBarUI* bar) const;
    // A removed child: deleted now, handed to the manager, or left to the caller.
    void Dispose(CControlUI* child);

    CPtrArray m_items;  // CControlUI, owned subject to auto destroy
    RECT m_rcInset = {};
    int m_childPadding = 0;
    bool m_autoDestroy = true;
    bool m_delayedDestroy = true;
    bool m_mouseChildEnabled = true;
    bool m_scrollProcessing = false;  // set while ProcessScrollBar lays out again
    CScrollBarUI* m_verticalScrollBar = nullptr;
    CScrollBarUI* m_horizontalScrollBar = nullptr;

private:
    bool Insert(CControlUI* child, int index);
    // One scroll step: a change of the position on one axis.
    void ScrollBy(int dx, int dy);
    int LineStep() const;
    // The inner height (vertical) or width less the other bar.
    int PageStep(bool vertical) const;
    void PaintChildren(HDC dc, const RECT& paint);
};

}  // namespace Veneer
