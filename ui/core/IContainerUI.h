#pragma once
// IContainerUI: a control's list of children, as the skin builder and application code
// reach it without knowing the container's class. Containers (ui/controls) implement it
// beside IControlUI; AsContainer finds it.

#include "ui/core/IControlUI.h"

namespace Veneer {

class IContainerUI {
public:
    // Null outside 0 .. count-1.
    virtual IControlUI* GetItemAt(int index) const = 0;
    // -1 when the control is no child.
    virtual int GetItemIndex(IControlUI* control) const = 0;
    // Moves a child; false when the control is no child.
    virtual bool SetItemIndex(IControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    // The container takes the control, attaches it to its own manager and registers its
    // names; false (the control stays the caller's) for null or when memory runs out.
    virtual bool Add(IControlUI* control) = 0;
    virtual bool AddAt(IControlUI* control, int index) = 0;
    // Removed children are deleted, at once or after the current message, unless the
    // container's auto destroy is off. False when the control is no child.
    virtual bool Remove(IControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

// The child list of a control, or null when the control is no container (checked: the
// answer is the object's own IContainerUI part or nothing).
inline IContainerUI* AsContainer(IControlUI* control)
{
    return dynamic_cast<IContainerUI*>(control);
}

}  // namespace Veneer
