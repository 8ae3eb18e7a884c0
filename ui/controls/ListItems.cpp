#include "ui/controls/ListItems.h"

#include <algorithm>

#include "ui/controls/ListUI.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

int IndexAfterMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < index && index <= to)
        return index - 1;
    if (to <= index && index < from)
        return index + 1;
    return index;
}

CListItems::TChange CListItems::Insert(CControlUI* child, int index)
{
    if (child == nullptr || index < 0 || index > m_items.GetCount() ||
        m_items.GetItemIndex(child) >= 0)
        return TChange::Refused;
    IListItemUI* item = AsListItem(child);
    if (item != nullptr) {
        item->SetOwner(&m_owner);
        item->SetIndex(index);
    }
    // Attaching the item runs its initialisation, whose handlers may destroy the owner.
    CControlWatch owner(&m_owner);
    if (!m_items.AddAt(child, index)) {
        if (item != nullptr)
            item->SetOwner(nullptr);
        return TChange::Refused;
    }
    if (!owner)
        return TChange::OwnerGone;
    Renumber(index + 1);
    if (m_curSel >= index)
        ++m_curSel;
    if (m_expanded >= index)
        ++m_expanded;
    return TChange::Done;
}

CListItems::TChange CListItems::RemoveAt(int index)
{
    CControlUI* child = m_items.GetItemAt(index);
    if (child == nullptr)
        return TChange::Refused;
    if (IListItemUI* item = AsListItem(child); item != nullptr && !m_items.IsAutoDestroy())
        item->SetOwner(nullptr);
    // The item's destruction runs its handlers, which may destroy the owner.
    CControlWatch owner(&m_owner);
    m_items.Remove(child);
    if (!owner)
        return TChange::OwnerGone;
    Renumber(index);
    if (m_expanded == index)
        m_expanded = -1;
    else if (m_expanded > index)
        --m_expanded;
    if (m_curSel == index) {
        m_curSel = -1;
        return TChange::SelectionLost;
    }
    if (m_curSel > index)
        --m_curSel;
    return TChange::Done;
}

bool CListItems::Move(IControlUI* control, int index)
{
    const int from = m_items.GetItemIndex(control);
    if (from < 0 || !m_items.SetItemIndex(control, index))
        return false;
    Renumber(std::min(from, index));
    m_curSel = IndexAfterMove(m_curSel, from, index);
    m_expanded = IndexAfterMove(m_expanded, from, index);
    return true;
}

void CListItems::RemoveAll()
{
    m_curSel = -1;
    m_expanded = -1;
    Release();
    m_items.RemoveAll();
}

CControlUI* CListItems::Select(const CControlWatch& owner, int index)
{
    if (m_curSel >= 0) {
        const int previous = m_curSel;
        // Cleared first: the item's Select(false) then has no selection to hand back.
        m_curSel = -1;
        if (IListItemUI* old = AsListItem(m_items.GetItemAt(previous)))
            old->Select(false);
        if (!owner)
            return nullptr;
    }
    if (index < 0)
        return nullptr;
    CControlUI* control = m_items.GetItemAt(index);
    IListItemUI* item = AsListItem(control);
    if (item == nullptr || !control->IsVisible() || !control->IsEnabled())
        return nullptr;
    // Stored before the item is told: its own call back here then ends at once.
    m_curSel = index;
    if (!item->Select(true)) {
        if (owner)
            m_curSel = -1;
        return nullptr;
    }
    return owner ? control : nullptr;
}

bool CListItems::Expand(int index, bool expand, bool multiExpandable)
{
    if (m_expanded >= 0 && m_expanded != index && !multiExpandable) {
        if (IListItemUI* old = AsListItem(m_items.GetItemAt(m_expanded)))
            old->Expand(false);
        m_expanded = -1;
    }
    IListItemUI* item = AsListItem(m_items.GetItemAt(index));
    if (item == nullptr || !item->Expand(expand))
        return false;
    m_expanded = expand ? index : -1;
    return true;
}

void CListItems::Renumber(int from)
{
    for (int i = std::max(from, 0); i < m_items.GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(m_items.GetItemAt(i)))
            item->SetIndex(i);
    }
}

void CListItems::Release()
{
    if (m_items.IsAutoDestroy())
        return;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(m_items.GetItemAt(i)))
            item->SetOwner(nullptr);
    }
}

}  // namespace Veneer
