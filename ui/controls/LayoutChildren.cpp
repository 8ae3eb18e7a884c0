#include "ui/controls/LayoutChildren.h"

#include "ui/controls/ContainerUI.h"

namespace Veneer {

CLayoutChildren::CLayoutChildren(CContainerUI* container)
    : m_container(container), m_watch(container)
{
}

int CLayoutChildren::GetCount() const
{
    return m_watch ? m_container->OwnCount() : 0;
}

bool CLayoutChildren::IsVisible(int index) const
{
    const CControlUI* child = m_watch ? m_container->OwnItemAt(index) : nullptr;
    return child != nullptr && child->IsVisible();
}

bool CLayoutChildren::IsFloat(int index) const
{
    const CControlUI* child = m_watch ? m_container->OwnItemAt(index) : nullptr;
    return child != nullptr && child->IsFloat();
}

TLayoutChild CLayoutChildren::Describe(int index) const
{
    const CControlUI* child = m_watch ? m_container->OwnItemAt(index) : nullptr;
    if (child == nullptr)
        return TLayoutChild{};
    TLayoutChild description;
    description.padding = ToLayoutRect(child->GetPadding());
    description.fixed = {child->GetFixedWidth(), child->GetFixedHeight()};
    description.minSize = {child->GetMinWidth(), child->GetMinHeight()};
    description.maxSize = {child->GetMaxWidth(), child->GetMaxHeight()};
    return description;
}

TLayoutSize CLayoutChildren::Estimate(int index, TLayoutSize available)
{
    CControlUI* child = m_watch ? m_container->OwnItemAt(index) : nullptr;
    return child != nullptr ? ToLayoutSize(child->EstimateSize(ToSize(available))) : TLayoutSize{};
}

void CLayoutChildren::Place(int index, const TLayoutRect& rc)
{
    if (CControlUI* child = m_watch ? m_container->OwnItemAt(index) : nullptr)
        child->SetPos(ToRect(rc));
}

void CLayoutChildren::PlaceFloating(int index)
{
    if (m_watch)
        m_container->SetFloatPos(index);
}

}  // namespace Veneer
