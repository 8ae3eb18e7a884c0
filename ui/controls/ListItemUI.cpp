#include "ui/controls/ListItemUI.h"

#include <cstring>

#include "ui/core/ControlWatch.h"
#include "ui/core/RenderUtil.h"

namespace Veneer {

template <class Base>
void* CListItemBaseUI<Base>::GetInterface(const char* name)
{
    if (std::strcmp(name, "ListItem") == 0)
        return static_cast<IListItemUI*>(this);
    return Base::GetInterface(name);
}

template <class Base>
bool CListItemBaseUI<Base>::Activate()
{
    if (!CControlUI::Activate())
        return false;
    if (m_manager != nullptr)
        m_manager->SendNotify(this, "itemactivate");
    return true;
}

template <class Base>
void CListItemBaseUI<Base>::SetVisible(bool visible)
{
    // Hiding runs focus handlers, which may destroy the item.
    CControlWatch self(this);
    Base::SetVisible(visible);
    if (!self || this->IsVisible() || !m_selected)
        return;
    m_selected = false;
    if (m_owner != nullptr && m_owner->GetCurSel() == m_index)
        m_owner->SelectItem(-1, false);
}

template <class Base>
void CListItemBaseUI<Base>::SetEnabled(bool enabled)
{
    Base::SetEnabled(enabled);
    if (!this->IsEnabled())
        m_buttonState = 0;
}

template <class Base>
void CListItemBaseUI<Base>::SetOwner(CControlUI* owner)
{
    m_owner =
        owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner")) : nullptr;
}

template <class Base>
bool CListItemBaseUI<Base>::Select(bool select)
{
    // A disabled item may still be deselected, so that it never stays selected beside
    // its list's new selection.
    if (select && !this->IsEnabled())
        return false;
    if (m_selected == select)
        return true;
    m_selected = select;
    if (m_owner != nullptr) {
        // The owner's "itemselect" receivers may destroy the item.
        CControlWatch self(this);
        if (select)
            m_owner->SelectItem(m_index, false);
        else if (m_owner->GetCurSel() == m_index)
            m_owner->SelectItem(-1, false);
        if (!self)
            return true;
    }
    Invalidate();
    return true;
}

template <class Base>
void CListItemBaseUI<Base>::DoEvent(TUIEvent& event)
{
    // The owner takes the events of the items it holds.
    if (this->PassOnUnhitMouseEvent(event, m_owner, [this](TUIEvent& e) { Base::DoEvent(e); }))
        return;
    const bool enabled = this->IsEnabled();
    switch (event.type) {
    case TUIEventType::KeyDown:
        if (event.key != VK_RETURN)
            break;
        [[fallthrough]];
    case TUIEventType::DblClick:
        if (!enabled)
            break;
        {
            CControlWatch self(this);
            Activate();
            if (self)
                Invalidate();
        }
        return;
    case TUIEventType::ButtonDown:
    case TUIEventType::RButtonDown:
        if (!enabled)
            break;
        {
            CControlWatch self(this);
            if (m_manager != nullptr)
                m_manager->SendNotify(this, "itemclick");
            if (self)
                Select(true);
            if (self)
                Invalidate();
        }
        return;
    case TUIEventType::ButtonUp:
    case TUIEventType::MouseMove:
        return;
    case TUIEventType::MouseEnter:
        if (enabled) {
            m_buttonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case TUIEventType::MouseLeave:
        if (IsHot()) {
            m_buttonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    // Keys and the wheel reach the list.
    if (m_owner != nullptr)
        m_owner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

template <class Base>
void CListItemBaseUI<Base>::Invalidate()
{
    if (!this->IsVisible())
        return;
    const CContainerUI* parent = dynamic_cast<const CContainerUI*>(m_parent);
    if (parent == nullptr) {
        Base::Invalidate();
        return;
    }
    const RECT inner = parent->InnerRect(true);
    RECT rc;
    if (IntersectRect(&rc, &m_rcItem, &inner))
        this->InvalidateClipped(rc);
}

template <class Base>
DWORD CListItemBaseUI<Base>::StateTextColor(const TListItemStyle& style) const
{
    if (!this->IsEnabled())
        return style.disabledTextColor;
    if (m_selected)
        return style.selectedTextColor;
    return IsHot() ? style.hotTextColor : style.textColor;
}

template <class Base>
void CListItemBaseUI<Base>::DrawItemBk(HDC dc)
{
    if (m_owner == nullptr)
        return;
    TListItemStyle& style = *m_owner->GetListInfo();
    const bool enabled = this->IsEnabled();
    const bool oddRow = style.alternateBk && m_index % 2 != 0;
    DWORD color = oddRow ? 0 : style.bkColor;
    if (IsHot())
        color = style.hotBkColor;
    if (m_selected)
        color = style.selectedBkColor;
    if (!enabled)
        color = style.disabledBkColor;
    if ((color >> 24) != 0)
        CRenderUtil::FillColor(dc, m_rcItem, color);

    if (!enabled && this->DrawImage(dc, style.disabledImage))
        return;
    if (m_selected && this->DrawImage(dc, style.selectedImage))
        return;
    if (IsHot() && this->DrawImage(dc, style.hotImage))
        return;
    if (!m_bkImage.IsEmpty()) {
        if (!oddRow)
            this->DrawImage(dc, m_bkImage);
    } else if (this->DrawImage(dc, style.bkImage)) {
        return;
    }
    if (style.lineColor != 0)
        CRenderUtil::DrawLine(
            dc, RECT{m_rcItem.left, m_rcItem.bottom - 1, m_rcItem.right, m_rcItem.bottom - 1},
            style.lineColor);
}

// "selected" selects the item whatever its value.
const TAttributeInfo kListItemAttributes[1] = {
    {"selected", TAttributeKind::Plain, [](IControlUI& c, const char*) {
         if (IListItemUI* item = AsListItem(&static_cast<CControlUI&>(c)))
             item->Select(true);
     }}};

template class CListItemBaseUI<CControlUI>;
template class CListItemBaseUI<CContainerUI>;

}  // namespace Veneer
