#pragma once
// CTabOrder: the order in which Tab moves the focus through a control tree: the visible,
// enabled tab stops, each container before its children. It holds no state of its own; the
// manager asks it where the focus goes next.

#include "ui/core/IControlUI.h"

namespace Veneer {

class CTabOrder {
public:
    // root may be null: a tree without controls has no tab stops.
    explicit CTabOrder(IControlUI* root) : m_root(root) {}

    // The tab stop after (forward) or before the control, going round at either end; the
    // first one for a null control. Null when the tree has no tab stop.
    IControlUI* Next(IControlUI* from, bool forward) const;
    // The tab stop just before the control, or null when it is the first (or not in the
    // tree): a focus that is to land on the control moves forward from there.
    IControlUI* Before(IControlUI* control) const;

private:
    // last: the last tab stop the walk met, the whole tree's when nothing was found.
    IControlUI* Find(IControlUI* from, bool forward, IControlUI** last) const;

    IControlUI* m_root;
};

}  // namespace Veneer
