// The control base's skin attributes and the background and border setters they feed.

#include <cstring>

#include "ui/controls/ControlUI.h"
#include "ui/core/AttributeValue.h"
#include "ui/core/Win32Util.h"

namespace Veneer {

namespace {

const TAttributeInfo kOwnAttributes[] = {
    {"pos", TAttributeKind::Extent},
    {"relativepos", TAttributeKind::Plain},
    {"padding", TAttributeKind::Extent},
    {"bkcolor", TAttributeKind::Plain},
    {"bkcolor1", TAttributeKind::Plain},
    {"bkcolor2", TAttributeKind::Plain},
    {"bkcolor3", TAttributeKind::Plain},
    {"bordercolor", TAttributeKind::Plain},
    {"focusbordercolor", TAttributeKind::Plain},
    {"colorhsl", TAttributeKind::Plain},
    {"bordersize", TAttributeKind::Plain},
    {"borderround", TAttributeKind::Plain},
    {"bkimage", TAttributeKind::Image},
    {"width", TAttributeKind::Extent},
    {"height", TAttributeKind::Extent},
    {"minwidth", TAttributeKind::Extent},
    {"minheight", TAttributeKind::Extent},
    {"maxwidth", TAttributeKind::Extent},
    {"maxheight", TAttributeKind::Extent},
    {"name", TAttributeKind::Plain},
    {"text", TAttributeKind::Plain},
    {"tooltip", TAttributeKind::Plain},
    {"userdata", TAttributeKind::Plain},
    {"enabled", TAttributeKind::Plain},
    {"mouse", TAttributeKind::Plain},
    {"keyboard", TAttributeKind::Plain},
    {"visible", TAttributeKind::Plain},
    {"float", TAttributeKind::Plain},
    {"shortcut", TAttributeKind::Plain},
    {"menu", TAttributeKind::Plain},
};

}  // namespace

const TAttributeTable CControlUI::kAttributeTable = MakeAttributeTable(nullptr, kOwnAttributes);

const TAttributeTable& CControlUI::GetAttributeTable() const
{
    return kAttributeTable;
}

void CControlUI::SetAttribute(const char* name, const char* value)
{
    // Null reads as empty: no name matches, and the value is the empty value.
    if (name == nullptr || value == nullptr)
        return SetAttribute(name != nullptr ? name : "", value != nullptr ? value : "");
    auto is = [name](const char* candidate) { return std::strcmp(name, candidate) == 0; };
    if (is("pos")) {
        // A negative left or top anchors the control to its parent's right or bottom edge.
        const RECT rc = ToRect(ParseRect(value));
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (is("relativepos")) {
        const RECT rc = ToRect(ParseRect(value));
        SetRelativePos(SIZE{rc.left, rc.top}, SIZE{rc.right, rc.bottom});
    } else if (is("padding")) {
        SetPadding(ToRect(ParseRect(value)));
    } else if (is("bkcolor") || is("bkcolor1")) {
        SetBkColor(ParseColor(value, true));
    } else if (is("bkcolor2")) {
        SetBkColor2(ParseColor(value, true));
    } else if (is("bkcolor3")) {
        SetBkColor3(ParseColor(value, true));
    } else if (is("bordercolor")) {
        SetBorderColor(ParseColor(value, false));
    } else if (is("focusbordercolor")) {
        SetFocusBorderColor(ParseColor(value, false));
    } else if (is("colorhsl")) {
        SetColorHSL(ParseBoolean(value));
    } else if (is("bordersize")) {
        SetBorderSize(ParseInteger(value));
    } else if (is("borderround")) {
        SetBorderRound(ToSize(ParseSize(value)));
    } else if (is("bkimage")) {
        SetBkImage(value);
    } else if (is("width")) {
        SetFixedWidth(ParseInteger(value));
    } else if (is("height")) {
        SetFixedHeight(ParseInteger(value));
    } else if (is("minwidth")) {
        SetMinWidth(ParseInteger(value));
    } else if (is("minheight")) {
        SetMinHeight(ParseInteger(value));
    } else if (is("maxwidth")) {
        SetMaxWidth(ParseInteger(value));
    } else if (is("maxheight")) {
        SetMaxHeight(ParseInteger(value));
    } else if (is("name")) {
        SetName(value);
    } else if (is("text")) {
        SetText(value);
    } else if (is("tooltip")) {
        SetToolTip(value);
    } else if (is("userdata")) {
        SetUserData(value);
    } else if (is("enabled")) {
        SetEnabled(ParseBoolean(value));
    } else if (is("mouse")) {
        SetMouseEnabled(ParseBoolean(value));
    } else if (is("keyboard")) {
        SetKeyboardEnabled(ParseBoolean(value));
    } else if (is("visible")) {
        SetVisible(ParseBoolean(value));
    } else if (is("float")) {
        SetFloat(ParseBoolean(value));
    } else if (is("shortcut")) {
        SetShortcut(value[0]);
    } else if (is("menu")) {
        SetContextMenuUsed(ParseBoolean(value));
    }
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
