#include "ui/controls/OptionUI.h"

#include <cstring>

#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"
#include "ui/core/PtrArray.h"

namespace Veneer {

COptionUI::~COptionUI()
{
    LeaveGroup();
}

const char* COptionUI::GetClass() const
{
    return "OptionUI";
}

void* COptionUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Option") == 0 ? this : CButtonUI::GetInterface(name);
}

void COptionUI::JoinGroup()
{
    if (m_manager == nullptr || m_group.IsEmpty())
        return;
    m_manager->AddOptionGroup(m_group, this);
    // Options marked selected before they joined (the skin builder lends the manager only
    // while it sets attributes): the last to join wins.
    if (m_selected)
        DeselectOthers();
}

void COptionUI::DeselectOthers()
{
    const CPtrArray* members = m_manager->GetOptionGroup(m_group);
    for (int i = 0; members != nullptr && i < members->GetSize(); ++i) {
        auto* other = dynamic_cast<COptionUI*>(static_cast<IControlUI*>(members->GetAt(i)));
        if (other != nullptr && other != this)
            other->Selected(false);
    }
}

void COptionUI::LeaveGroup()
{
    if (m_manager != nullptr && !m_group.IsEmpty())
        m_manager->RemoveOptionGroup(m_group, this);
}

void COptionUI::SetManager(CWindowManagerUI* manager, IControlUI* parent, bool init)
{
    // The group of a window the option leaves would keep a pointer to it.
    if (manager != m_manager)
        LeaveGroup();
    CButtonUI::SetManager(manager, parent, init);
    if (init)
        JoinGroup();
}

void COptionUI::SetGroup(const char* name)
{
    const char* group = name != nullptr ? name : "";
    if (m_group == group)
        return;
    LeaveGroup();
    m_group = group;
    JoinGroup();
}

void COptionUI::Selected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    SetStateBit(UISTATE_SELECTED, selected);
    Invalidate();
    if (m_manager == nullptr)
        return;
    if (!m_group.IsEmpty()) {
        if (!selected)
            return;
        DeselectOthers();
    }
    m_manager->SendNotify(this, "selectchanged");
}

bool COptionUI::Activate()
{
    CControlWatch self(this);
    if (!CButtonUI::Activate())
        return false;
    if (self)
        Selected(m_group.IsEmpty() ? !m_selected : true);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CButtonUI::SetEnabled(enabled);
    SetStateBit(UISTATE_SELECTED, m_selected);
}

void COptionUI::SetSelectedImage(const char* image)
{
    m_selectedImage = image;
    Invalidate();
}

void COptionUI::SetForeImage(const char* image)
{
    m_foreImage = image;
    Invalidate();
}

namespace {

COptionUI& Option(IControlUI& control)
{
    return static_cast<COptionUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"group", TAttributeKind::Plain, [](IControlUI& c, const char* v) { Option(c).SetGroup(v); }},
    {"selected", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Option(c).Selected(ParseBoolean(v)); }},
    {"selectedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Option(c).SetSelectedImage(v); }},
    {"foreimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Option(c).SetForeImage(v); }},
    {"selectedtextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Option(c).SetSelectedTextColor(ParseColor(v, false)); }},
};

}  // namespace

const TAttributeTable COptionUI::kAttributeTable =
    MakeAttributeTable(&CButtonUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& COptionUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void COptionUI::PaintStatusImage(HDC dc)
{
    // An option shows no pushed image.
    m_buttonState &= ~UISTATE_PUSHED;
    if (!m_selected || !DrawImage(dc, m_selectedImage))
        CButtonUI::PaintStatusImage(dc);
    DrawImage(dc, m_foreImage);
}

void COptionUI::PaintText(HDC dc)
{
    if (!m_selected)
        return CButtonUI::PaintText(dc);
    FillDefaultColors();
    if (m_text.IsEmpty())
        return;
    const DWORD selected = m_selectedTextColor != 0 ? m_selectedTextColor : m_textColor;
    DrawText(dc, IsEnabled() ? selected : m_disabledTextColor, m_textStyle);
}

}  // namespace Veneer
