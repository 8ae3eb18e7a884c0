#include "ui/core/TabOrder.h"

namespace Veneer {
namespace {

struct TTabSearch {
    IControlUI* focus;
    IControlUI* last;
    bool forward;
    bool nextIsIt;
};

// Visits the tree in tab order; the match is the tab stop after (or before) the focus.
IControlUI* MatchTabStop(IControlUI* control, void* data)
{
    TTabSearch* search = static_cast<TTabSearch*>(data);
    if (control == search->focus) {
        if (search->forward)
            search->nextIsIt = true;
        return search->forward ? nullptr : search->last;
    }
    if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0)
        return nullptr;
    search->last = control;
    return search->nextIsIt || search->focus == nullptr ? control : nullptr;
}

}  // namespace

IControlUI* CTabOrder::Find(IControlUI* from, bool forward, IControlUI** last) const
{
    TTabSearch search = {from, nullptr, forward, false};
    IControlUI* found = nullptr;
    if (m_root != nullptr) {
        found = m_root->FindControl(MatchTabStop, &search,
                                    UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    }
    if (last != nullptr)
        *last = search.last;
    return found;
}

IControlUI* CTabOrder::Next(IControlUI* from, bool forward) const
{
    IControlUI* last = nullptr;
    IControlUI* found = Find(from, forward, &last);
    if (found != nullptr)
        return found;
    return forward ? Find(nullptr, true, nullptr) : last;
}

IControlUI* CTabOrder::Before(IControlUI* control) const
{
    return Find(control, false, nullptr);
}

}  // namespace Veneer
