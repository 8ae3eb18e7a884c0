#include "ui/controls/EditUI.h"

#include <cstring>
#include <new>

#include "ui/core/AttributeValue.h"
#include "ui/core/ControlWatch.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/TextStep.h"

namespace Veneer {
namespace {

// One mask character per character of text, however many bytes each takes.
CUIString Masked(const char* text, char mask)
{
    CUIString masked;
    for (const char* p = text; *p != '\0'; p = NextChar(p))
        masked.Append(mask);
    return masked;
}

}  // namespace

CEditUI::CEditUI()
{
    m_textPadding = RECT{4, 3, 4, 3};
    m_bkColor = 0xFFFFFFFF;
}

CEditUI::~CEditUI()
{
    // Closing is left to the window: the edit may be destroyed by a receiver of one of the
    // native window's own messages, which must not end under the window's feet.
    if (m_editWnd != nullptr)
        m_editWnd->DropOwner();
}

const char* CEditUI::GetClass() const
{
    return "EditUI";
}

void* CEditUI::GetInterface(const char* name)
{
    return std::strcmp(name, "Edit") == 0 ? this : CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

HWND CEditUI::GetNativeWindow() const
{
    return m_editWnd != nullptr ? m_editWnd->GetHWND() : nullptr;
}

void CEditUI::SetText(const char* text)
{
    m_text = text;
    if (m_editWnd != nullptr) {
        // The native window tells its change: the receivers may destroy this edit.
        CControlWatch self(this);
        m_editWnd->WriteText(m_text);
        if (!self)
            return;
    }
    Invalidate();
}

void CEditUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    CLabelUI::SetPos(rc);
    if (!self || m_editWnd == nullptr)
        return;
    const RECT edit = m_editWnd->CalcEditRect();
    SetWindowPos(m_editWnd->GetHWND(), nullptr, edit.left, edit.top, edit.right - edit.left,
                 edit.bottom - edit.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::SetVisible(bool visible)
{
    CControlWatch self(this);
    CLabelUI::SetVisible(visible);
    if (self)
        EndEditingWhenHidden();
}

void CEditUI::SetInternVisible(bool visible)
{
    // The flag is kept like every control's: an edit on a hidden page must neither stay
    // open nor open again.
    CControlWatch self(this);
    CLabelUI::SetInternVisible(visible);
    if (self)
        EndEditingWhenHidden();
}

void CEditUI::EndEditingWhenHidden()
{
    if (!IsVisible() && m_editWnd != nullptr && m_manager != nullptr)
        m_manager->SetFocus(nullptr);
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
    // Nothing is typed into a disabled edit.
    if (m_editWnd != nullptr)
        EnableWindow(m_editWnd->GetHWND(), IsEnabled());
}

void CEditUI::SetMaxChar(UINT maxChar)
{
    m_maxChar = maxChar;
    if (m_editWnd != nullptr)
        SendMessageA(m_editWnd->GetHWND(), EM_LIMITTEXT, m_maxChar, 0);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    if (m_editWnd != nullptr)
        SendMessageA(m_editWnd->GetHWND(), EM_SETREADONLY, m_readOnly, 0);
    Invalidate();
}

void CEditUI::SetPasswordMode(bool password)
{
    if (m_password == password)
        return;
    m_password = password;
    Invalidate();
}

void CEditUI::SetPasswordChar(char c)
{
    m_passwordChar = c;
    Invalidate();
}

const char* CEditUI::GetImage(TEditImage state) const
{
    return m_images[static_cast<int>(state)];
}

void CEditUI::SetImage(TEditImage state, const char* image)
{
    Image(state) = image;
    Invalidate();
}

void CEditUI::SetStateBit(UINT bit, bool on)
{
    m_buttonState = on ? m_buttonState | bit : m_buttonState & ~bit;
}

bool CEditUI::OpenEditWindow()
{
    if (m_manager == nullptr || m_manager->GetPaintWindow() == nullptr)
        return false;
    CEditWnd* window = new (std::nothrow) CEditWnd;
    if (window == nullptr)
        return false;
    m_editWnd = window;
    return window->Init(this);
}

void CEditUI::SelectAll()
{
    if (m_editWnd == nullptr)
        return;
    SendMessageA(m_editWnd->GetHWND(), EM_SETSEL, 0, m_text.IsEmpty() ? 1 : m_text.GetLength());
}

void CEditUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    switch (event.type) {
    case TUIEventType::SetCursor:
        if (IsEnabled()) {
            ::SetCursor(LoadCursor(nullptr, IDC_IBEAM));
            return;
        }
        break;
    case TUIEventType::WindowSize:
        if (m_editWnd != nullptr && m_manager != nullptr) {
            // The native window is made again at the new place once the window is laid out.
            CControlWatch self(this);
            m_manager->SetFocusNeeded(this);
            if (!self)
                return;
        }
        break;
    case TUIEventType::ScrollWheel:
        if (m_editWnd != nullptr)
            return;
        break;
    case TUIEventType::SetFocus:
        if (IsEnabled()) {
            if (m_editWnd != nullptr)
                return;
            CControlWatch self(this);
            OpenEditWindow();
            if (!self)
                return;
            Invalidate();
        }
        break;
    case TUIEventType::KillFocus:
        if (IsEnabled())
            Invalidate();
        break;
    case TUIEventType::ButtonDown:
    case TUIEventType::DblClick:
    case TUIEventType::RButtonDown:
        OnPress(event);
        return;
    case TUIEventType::MouseMove:
    case TUIEventType::ButtonUp:
    case TUIEventType::ContextMenu:
        return;
    case TUIEventType::MouseEnter:
    case TUIEventType::MouseLeave:
        if (IsEnabled()) {
            SetStateBit(UISTATE_HOT, event.type == TUIEventType::MouseEnter);
            Invalidate();
        }
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::OnPress(const TUIEvent& event)
{
    // A disabled edit opens no native window.
    if (!IsEnabled())
        return;
    // The native window under the mouse gets the rest of the press.
    if (m_manager != nullptr)
        m_manager->EndPress();
    if (m_editWnd != nullptr) {
        SelectAll();
        return;
    }
    if (!IsFocused())
        return;
    CControlWatch self(this);
    if (OpenEditWindow() && self && PtInRect(&m_rcItem, event.mouse))
        SelectAll();
}

namespace {

CEditUI& Edit(IControlUI& control)
{
    return static_cast<CEditUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"normalimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Edit(c).SetImage(TEditImage::Normal, v); }},
    {"hotimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Edit(c).SetImage(TEditImage::Hot, v); }},
    {"focusedimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Edit(c).SetImage(TEditImage::Focused, v); }},
    {"disabledimage", TAttributeKind::Image,
     [](IControlUI& c, const char* v) { Edit(c).SetImage(TEditImage::Disabled, v); }},
    {"readonly", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Edit(c).SetReadOnly(ParseBoolean(v)); }},
    {"password", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Edit(c).SetPasswordMode(ParseBoolean(v)); }},
    {"maxchar", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Edit(c).SetMaxChar(static_cast<UINT>(ParseInteger(v))); }},
    {"nativebkcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Edit(c).SetNativeEditBkColor(ParseColor(v, false)); }},
};

}  // namespace

const TAttributeTable CEditUI::kAttributeTable =
    MakeAttributeTable(&CLabelUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CEditUI::GetAttributeTable() const
{
    return kAttributeTable;
}

SIZE CEditUI::EstimateSize(SIZE)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr)
        return m_fixedSize;
    return SIZE{m_fixedSize.cx, m_manager->GetDefaultFontEntry()->metrics.tmHeight + 6};
}

void CEditUI::PaintStatusImage(HDC dc)
{
    SetStateBit(UISTATE_FOCUSED, IsFocused());
    SetStateBit(UISTATE_DISABLED, !IsEnabled());
    // The first state the edit is in decides.
    DrawStateImage(dc, m_buttonState,
                   {{UISTATE_DISABLED, &Image(TEditImage::Disabled)},
                    {UISTATE_FOCUSED, &Image(TEditImage::Focused)},
                    {UISTATE_HOT, &Image(TEditImage::Hot)}},
                   Image(TEditImage::Normal));
}

void CEditUI::PaintText(HDC dc)
{
    FillDefaultColors();
    if (m_text.IsEmpty())
        return;
    const CUIString shown = m_password ? Masked(m_text, m_passwordChar) : m_text;
    RECT rc = TextRect();
    CRenderUtil::DrawPlainText(dc, m_manager, rc, shown, EnabledColor(), m_font,
                               m_textStyle | DT_SINGLELINE);
}

}  // namespace Veneer
