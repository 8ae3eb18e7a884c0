#include "ui/controls/TabLayoutUI.h"

#include <cstring>

#include "ui/controls/LayoutChildren.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"

namespace Veneer {

const char* CTabLayoutUI::GetClass() const
{
    return "TabLayoutUI";
}

void* CTabLayoutUI::GetInterface(const char* name)
{
    return std::strcmp(name, "TabLayout") == 0 ? this : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(IControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(IControlUI* control, int index)
{
    // Attaching the page runs its initialisation, which may remove it again.
    CControlWatch self(this);
    CControlWatch page(control);
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (self && page)
        Adopt(AsControl(control), GetItemIndex(control));
    return true;
}

void CTabLayoutUI::Adopt(CControlUI* child, int index)
{
    if (index < 0)
        return;
    if (m_curSel < 0 && child->IsVisible()) {
        m_curSel = index;
        return;
    }
    if (index <= m_curSel)
        ++m_curSel;
    // Only the selected page is shown, wherever a new one goes.
    child->SetVisible(false);
}

bool CTabLayoutUI::Remove(IControlUI* control)
{
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control))
        return false;
    if (index < m_curSel) {
        --m_curSel;
    } else if (index == m_curSel) {
        // The page shown in its place is the one selected.
        m_curSel = GetCount() > 0 ? 0 : -1;
        if (m_curSel == 0)
            GetItemAt(0)->SetVisible(true);
        NeedParentUpdate();
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_curSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_curSel)
        return true;
    const int old = m_curSel;
    m_curSel = index;
    // Showing, hiding and focusing run handlers that may change the pages or destroy us.
    CControlWatch self(this);
    for (int i = 0; self && i < GetCount(); ++i) {
        CControlUI* page = GetItemAt(i);
        if (i != index) {
            page->SetVisible(false);
            continue;
        }
        page->SetVisible(true);
        page->SetFocus();
    }
    if (!self)
        return true;
    NeedParentUpdate();
    if (m_manager == nullptr)
        return true;
    // The layout is pending now: the focus moves into the page once it has been placed.
    m_manager->FocusNextTabStop(true);
    if (self && m_manager != nullptr)
        m_manager->SendNotify(this, "tabselect", index, old);
    return true;
}

void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    CLayoutChildren children(this);
    LayOutTabPage(ToLayoutRect(InnerRect(false)), m_curSel, children);
}

namespace {

CTabLayoutUI& Tabs(IControlUI& control)
{
    return static_cast<CTabLayoutUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"selectedid", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Tabs(c).SelectItem(ParseInteger(v)); }},
};

}  // namespace

const TAttributeTable CTabLayoutUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CTabLayoutUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
