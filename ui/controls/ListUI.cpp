// The list's child list, selection, keyboard and wheel. The body, scrolling and the
// layout of the header with its columns are in ListUILayout.cpp, skin attributes and the
// item style in ListUIAttributes.cpp.

#include "ui/controls/ListUI.h"

#include <algorithm>
#include <cstring>

#include "ui/core/ControlWatch.h"

namespace Veneer {
namespace {

bool IsHeaderItem(CControlUI* control)
{
    return std::strstr(control->GetClass(), "ListHeaderItemUI") != nullptr;
}

}  // namespace

CListUI::CListUI() : m_body(this), m_list(m_body, *this)
{
    // The parts are members: the container must never delete its own children.
    m_autoDestroy = false;
    CVerticalLayoutUI::Add(&m_builtInHeader);
    CVerticalLayoutUI::Add(&m_body);
}

CListUI::~CListUI()
{
    // The built-in parts die as members; a header the skin gave dies here.
    for (int i = 0; i < OwnCount(); ++i) {
        CControlUI* child = OwnItemAt(i);
        if (child != &m_body && child != &m_builtInHeader)
            delete child;
    }
    m_items.Empty();
}

const char* CListUI::GetClass() const
{
    return "ListUI";
}

void* CListUI::GetInterface(const char* name)
{
    if (std::strcmp(name, "List") == 0)
        return this;
    if (std::strcmp(name, "IList") == 0)
        return static_cast<IListUI*>(this);
    if (std::strcmp(name, "IListOwner") == 0)
        return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

UINT CListUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

CControlUI* CListUI::GetItemAt(int index) const
{
    return m_body.GetItemAt(index);
}

int CListUI::GetItemIndex(IControlUI* control) const
{
    CControlUI* child = AsControl(control);
    if (child != nullptr && IsHeaderItem(child))
        return m_header->GetItemIndex(child);
    return m_body.GetItemIndex(control);
}

bool CListUI::SetItemIndex(IControlUI* control, int index)
{
    CControlUI* child = AsControl(control);
    if (child != nullptr && IsHeaderItem(child))
        return m_header->SetItemIndex(child, index);
    return m_list.Move(control, index);
}

int CListUI::GetCount() const
{
    return m_body.GetCount();
}

bool CListUI::Add(IControlUI* control)
{
    return Insert(AsControl(control), -1);
}

bool CListUI::AddAt(IControlUI* control, int index)
{
    return index >= 0 && Insert(AsControl(control), index);
}

bool CListUI::Insert(CControlUI* child, int index)
{
    if (child == nullptr)
        return false;
    if (child->GetInterface("ListHeader") != nullptr)
        return AddHeader(dynamic_cast<CListHeaderUI*>(child));
    if (IsHeaderItem(child))
        return AddHeaderItem(child, index);
    if (index < 0)
        index = m_body.GetCount();
    IListItemUI* item = AsListItem(child);
    const CListItems::TChange change = m_list.Insert(child, index);
    if (change != CListItems::TChange::Done)
        return change == CListItems::TChange::OwnerGone;
    // An item selected before it joined (by its "selected" attribute) becomes the list's
    // selection, so that the list and its items agree.
    if (item != nullptr && item->IsSelected())
        SelectItem(index, false);
    return true;
}

bool CListUI::AddHeader(CListHeaderUI* header)
{
    // Only an empty header gives way: the columns of one with items stay.
    if (header == nullptr || header == m_header || m_header->GetCount() > 0)
        return false;
    CControlWatch self(this);
    if (!CVerticalLayoutUI::AddAt(header, 0))
        return false;
    if (!self)
        return true;
    CListHeaderUI* old = m_header;
    m_header = header;
    CVerticalLayoutUI::Remove(old);
    const bool hidden = !old->m_visible;
    if (old != &m_builtInHeader) {
        if (m_manager != nullptr)
            m_manager->AddDelayedCleanup(old);
        else
            delete old;
    }
    UpdateColumns();
    // The list's "header" attribute may have come before the header.
    if (hidden)
        header->SetVisible(false);
    return true;
}

bool CListUI::AddHeaderItem(CControlUI* item, int index)
{
    CControlWatch self(this);
    const bool added = index < 0 ? m_header->Add(item) : m_header->AddAt(item, index);
    if (added && self)
        UpdateColumns();
    return added;
}

bool CListUI::Remove(IControlUI* control)
{
    CControlUI* child = AsControl(control);
    if (child == nullptr)
        return false;
    if (IsHeaderItem(child)) {
        CControlWatch self(this);
        const bool removed = m_header->Remove(child);
        if (removed && self)
            UpdateColumns();
        return removed;
    }
    const int index = m_body.GetItemIndex(child);
    if (index < 0)
        return false;
    if (m_list.RemoveAt(index) == CListItems::TChange::SelectionLost)
        SelectItem(FindSelectable(index, false), false);
    return true;
}

bool CListUI::RemoveAt(int index)
{
    CControlUI* item = m_body.GetItemAt(index);
    return item != nullptr && Remove(item);
}

void CListUI::RemoveAll()
{
    m_list.RemoveAll();
}

bool CListUI::SelectItem(int index, bool takeFocus)
{
    const int previous = m_list.GetCurSel();
    if (index == previous)
        return true;
    // Items, focus handlers and the receivers of "itemselect" may destroy the list.
    CControlWatch self(this);
    CControlUI* control = m_list.Select(self, index);
    if (control == nullptr)
        return false;
    EnsureVisible(index);
    if (!self)
        return false;
    if (takeFocus) {
        control->SetFocus();
        if (!self)
            return false;
    }
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "itemselect", static_cast<WPARAM>(index),
                              static_cast<LPARAM>(previous));
    return true;
}

bool CListUI::ExpandItem(int index, bool expand)
{
    return m_list.Expand(index, expand, m_style.multiExpandable);
}

bool CListUI::SelectFrom(int index, bool forward, bool takeFocus)
{
    return SelectItem(FindSelectable(index, forward), takeFocus);
}

void CListUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event, m_parent,
                              [this](TUIEvent& e) { CVerticalLayoutUI::DoEvent(e); }))
        return;
    switch (event.type) {
    case TUIEventType::SetFocus:
        m_focused = true;
        return;
    case TUIEventType::KillFocus:
        m_focused = false;
        return;
    case TUIEventType::KeyDown:
        switch (event.key) {
        case VK_RETURN:
            if (CControlUI* item = m_body.GetItemAt(m_list.GetCurSel()))
                item->Activate();
            return;
        case VK_PRIOR:
            PageUp();
            return;
        case VK_NEXT:
            PageDown();
            return;
        case VK_END:
            SelectFrom(GetCount() - 1, true);
            return;
        case VK_HOME:
            SelectFrom(0, false);
            return;
        case VK_UP:
            SelectFrom(m_list.GetCurSel() - 1, false);
            return;
        case VK_DOWN:
            SelectFrom(m_list.GetCurSel() + 1, true);
            return;
        default:
            break;
        }
        break;
    case TUIEventType::ScrollWheel:
        if (!IsWheelTurn(event.wParam))
            break;
        // The wheel turns over whatever is under the mouse: the focus stays where it is.
        if (m_scrollSelect)
            SelectFrom(m_list.GetCurSel() + (event.wParam == UIWHEEL_AWAY ? -1 : 1),
                       event.wParam == UIWHEEL_TOWARDS, false);
        else if (event.wParam == UIWHEEL_AWAY)
            LineUp();
        else
            LineDown();
        return;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

}  // namespace Veneer
