#pragma once
// IControlUI: what ui/core needs of a control. The manager and the skin builder live in
// ui/core and the controls in ui/controls, which builds on it; the controls implement this
// interface (CControlUI does, for all of them), so the manager routes, paints and searches
// a tree, and the builder makes and dresses one, without knowing any control class.

#include <windows.h>

#include "ui/core/base/AttributeTable.h"
#include "ui/core/UIEvent.h"
#include "ui/core/base/UIString.h"

namespace Veneer {

class CEventSource;
class CWindowManagerUI;
class IControlUI;

// A search callback: the match (usually control itself) or null to go on searching.
using FindControlProc = IControlUI* (*)(IControlUI* control, void* data);

// Flags of FindControl.
enum : UINT {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,    // data points to a POINT in client coordinates
    UIFIND_TOP_FIRST = 0x00000008,  // children from the top of the z-order (last) down
    UIFIND_ME_FIRST = 0x80000000,   // a container before its children
};

// Bits of GetControlFlags.
enum : UINT {
    UIFLAG_TABSTOP = 0x01,
    UIFLAG_SETCURSOR = 0x02,
    UIFLAG_WANTTAB = 0x04,  // a rich edit that takes Tab itself instead of moving the focus
};

class IControlUI {
public:
    // Clears the watches on the control (ControlWatch.h).
    virtual ~IControlUI();

    virtual CUIString GetName() const = 0;
    // Class name without the leading C, such as "ButtonUI".
    virtual const char* GetClass() const = 0;
    // The object as the kind named ("Control", "Button" ...), or null.
    virtual void* GetInterface(const char* name) = 0;
    virtual UINT GetControlFlags() const = 0;

    virtual CWindowManagerUI* GetManager() const = 0;
    // init: call the control's initialisation once the parent is known.
    virtual void SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init) = 0;
    virtual IControlUI* GetParent() const = 0;

    virtual RECT GetPos() const = 0;
    virtual void SetPos(RECT rc) = 0;
    virtual bool IsUpdateNeeded() const = 0;
    // Asks for this control to be laid out again at the next paint.
    virtual void NeedUpdate() = 0;

    virtual CUIString GetToolTip() const = 0;
    virtual char GetShortcut() const = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetFocus() = 0;
    virtual bool Activate() = 0;

    virtual IControlUI* FindControl(FindControlProc proc, void* data, UINT flags) = 0;
    virtual void Event(TUIEvent& event) = 0;
    virtual void DoPaint(HDC dc, const RECT& paint) = 0;
    virtual void DoPostPaint(HDC dc, const RECT& paint) = 0;

    // Delegates that see this control's notifications before the window's receivers.
    virtual CEventSource& GetNotifySource() = 0;

    // One skin attribute; unknown names are ignored.
    virtual void SetAttribute(const char* name, const char* value) = 0;
    // The attributes SetAttribute reads and applies: the class's own table, chained to its
    // bases'.
    virtual const TAttributeTable& GetAttributeTable() const = 0;
    // name="value" pairs separated by single blanks, applied in order with SetAttribute,
    // up to the first pair that is not well formed.
    void ApplyAttributeList(const char* list);
};

}  // namespace Veneer
