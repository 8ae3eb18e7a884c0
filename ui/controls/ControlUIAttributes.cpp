// The control base's skin attributes and the background and border setters they feed.

#include "ui/controls/ControlUI.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {

namespace {

CControlUI& Control(IControlUI& control)
{
    return static_cast<CControlUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"pos", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) {
         // A negative left or top anchors the control to its parent's right or bottom edge.
         const RECT rc = ToRect(ParseRect(v));
         Control(c).SetFixedXY(
             SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
         Control(c).SetFixedWidth(rc.right - rc.left);
         Control(c).SetFixedHeight(rc.bottom - rc.top);
     }},
    {"relativepos", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) {
         const RECT rc = ToRect(ParseRect(v));
         Control(c).SetRelativePos(SIZE{rc.left, rc.top}, SIZE{rc.right, rc.bottom});
     }},
    {"padding", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetPadding(ToRect(ParseRect(v))); }},
    {"bkcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBkColor(ParseColor(v, true)); }},
    {"bkcolor1", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBkColor(ParseColor(v, true)); }},
    {"bkcolor2", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBkColor2(ParseColor(v, true)); }},
    {"bkcolor3", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBkColor3(ParseColor(v, true)); }},
    {"bordercolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBorderColor(ParseColor(v, false)); }},
    {"focusbordercolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetFocusBorderColor(ParseColor(v, false)); }},
    {"colorhsl", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetColorHSL(ParseBoolean(v)); }},
    {"bordersize", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBorderSize(ParseInteger(v)); }},
    {"borderround", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetBorderRound(ToSize(ParseSize(v))); }},
    {"bkimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Control(c).SetBkImage(v); }},
    {"width", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetFixedWidth(ParseInteger(v)); }},
    {"height", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetFixedHeight(ParseInteger(v)); }},
    {"minwidth", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetMinWidth(ParseInteger(v)); }},
    {"minheight", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetMinHeight(ParseInteger(v)); }},
    {"maxwidth", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetMaxWidth(ParseInteger(v)); }},
    {"maxheight", TAttributeKind::Extent,
     [](IControlUI& c, const char* v) { Control(c).SetMaxHeight(ParseInteger(v)); }},
    {"name", TAttributeKind::Plain, [](IControlUI& c, const char* v) { Control(c).SetName(v); }},
    {"text", TAttributeKind::Plain, [](IControlUI& c, const char* v) { Control(c).SetText(v); }},
    {"tooltip", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetToolTip(v); }},
    {"userdata", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetUserData(v); }},
    {"enabled", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetEnabled(ParseBoolean(v)); }},
    {"mouse", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetMouseEnabled(ParseBoolean(v)); }},
    {"keyboard", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetKeyboardEnabled(ParseBoolean(v)); }},
    {"visible", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetVisible(ParseBoolean(v)); }},
    {"float", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetFloat(ParseBoolean(v)); }},
    {"shortcut", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetShortcut(v[0]); }},
    {"menu", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Control(c).SetContextMenuUsed(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable CControlUI::kAttributeTable = MakeAttributeTable(nullptr, kOwnAttributes);

const TAttributeTable& CControlUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CControlUI::SetAttribute(const char* name, const char* value)
{
    // The lookup starts at the object's own class, whose rows stand in for its bases'.
    ApplyAttribute(GetAttributeTable(), *this, name, value);
}

void CControlUI::SetBkColor(DWORD color)
{
    if (m_bkColor == color)
        return;
    m_bkColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD color)
{
    if (m_bkColor2 == color)
        return;
    m_bkColor2 = color;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD color)
{
    if (m_bkColor3 == color)
        return;
    m_bkColor3 = color;
    Invalidate();
}

void CControlUI::SetBkImage(const char* image)
{
    if (m_bkImage == image)
        return;
    m_bkImage = image;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color)
{
    if (m_focusBorderColor == color)
        return;
    m_focusBorderColor = color;
    Invalidate();
}

void CControlUI::SetColorHSL(bool hsl)
{
    if (m_colorHSL == hsl)
        return;
    m_colorHSL = hsl;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    if (m_borderSize == size)
        return;
    m_borderSize = size;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round)
{
    m_borderRound = round;
    Invalidate();
}

}  // namespace Veneer
