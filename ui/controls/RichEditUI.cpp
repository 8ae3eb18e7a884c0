#include "ui/controls/RichEditUI.h"

#include <cstring>
#include <new>

#include "ui/controls/ScrollBarUI.h"
#include "ui/core/base/AttributeValue.h"
#include "ui/core/base/ControlWatch.h"
#include "ui/core/RenderUtil.h"
#include "ui/core/base/TextStep.h"
#include "ui/core/WideText.h"
#include "ui/core/Win32Util.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

// The properties that are on or off; the other bits tell only that something changed.
const DWORD kSwitchBits = TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_READONLY |
                          TXTBIT_USEPASSWORD | TXTBIT_WORDWRAP | TXTBIT_DISABLEDRAG;

// Every property the control's attributes decide, told all at once when it is made.
const DWORD kSettingBits = kSwitchBits | TXTBIT_BACKSTYLECHANGE | TXTBIT_MAXLENGTHCHANGE |
                           TXTBIT_SCROLLBARCHANGE | TXTBIT_CHARFORMATCHANGE |
                           TXTBIT_PARAFORMATCHANGE | TXTBIT_CLIENTRECTCHANGE;

// Wheel steps scroll this many lines, as the system's edit controls do by default.
const int kWheelLines = 3;

LPARAM PointParam(POINT pt)
{
    return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

bool StartsWithRtf(const char* text)
{
    return std::strncmp(text, "{\\rtf", 5) == 0;
}

}  // namespace

CRichEditUI::CRichEditUI()
{
    m_bkColor = 0xFFFFFFFF;
}

CRichEditUI::~CRichEditUI()
{
    // The text services go first, while their host can still stop its timers and caret.
    if (m_services) {
        if (m_focused)
            Send(WM_KILLFOCUS);
        m_services->OnTxInPlaceDeactivate();
        m_host->DestroyCaret();
    }
    m_services.Reset();
    if (m_host)
        m_host->DropOwner();
    m_host.Reset();
}

const char* CRichEditUI::GetClass() const
{
    return "RichEditUI";
}

void* CRichEditUI::GetInterface(const char* name)
{
    return std::strcmp(name, "RichEdit") == 0 ? this : CContainerUI::GetInterface(name);
}

UINT CRichEditUI::GetControlFlags() const
{
    if (!IsEnabled())
        return 0;
    const UINT flags = UIFLAG_TABSTOP | UIFLAG_SETCURSOR;
    return m_wantTab ? flags | UIFLAG_WANTTAB : flags;
}

bool CRichEditUI::Add(IControlUI*)
{
    return false;
}

bool CRichEditUI::AddAt(IControlUI*, int)
{
    return false;
}

void CRichEditUI::DoInit()
{
    if (m_services)
        return;
    if (!m_ole)
        m_ole.reset(new (std::nothrow) COleInitialization);
    if (!CTxtWinHost::Create(this, MakeSettings(), m_host, m_services))
        return;
    Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
    ApplySettings(kSettingBits);
    if (!m_text.IsEmpty())
        SetText(m_text);
}

LRESULT CRichEditUI::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_services)
        return 0;
    // The host calls nothing outside the framework, so the control outlives the call; the
    // references held here make the text services and their host outlive it too, whatever
    // the text services do with their own references meanwhile.
    const CComRef<ITextServices> services(m_services.Get());
    const CComRef<CTxtWinHost> host(m_host.Get());
    LRESULT result = 0;
    services->TxSendMessage(message, wParam, lParam, &result);
    if (m_scrolled)
        SyncScrollBars();
    return result;
}

bool CRichEditUI::SendInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    Send(message, wParam, lParam);
    return TellChange();
}

bool CRichEditUI::TellChange()
{
    if (!m_changed || m_manager == nullptr)
        return true;
    m_changed = false;
    CControlWatch self(this);
    m_manager->SendNotify(this, "textchanged");
    return static_cast<bool>(self);
}

CUIString CRichEditUI::GetText() const
{
    if (!m_services)
        return m_text;
    CRichEditUI* self = const_cast<CRichEditUI*>(this);
    GETTEXTLENGTHEX length = {GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT units = self->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    CUIString text;
    if (units <= 0)
        return text;
    const size_t bytes = (static_cast<size_t>(units) + 1) * sizeof(wchar_t);
    wchar_t* wide = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (wide == nullptr)
        return text;
    GETTEXTEX get = {static_cast<DWORD>(bytes), GT_USECRLF, 1200, nullptr, nullptr};
    const LRESULT copied =
        self->Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(wide));
    AssignWide(text, wide, static_cast<int>(copied));
    HeapFree(GetProcessHeap(), 0, wide);
    return text;
}

void CRichEditUI::SetText(const char* text)
{
    if (!m_services) {
        m_text = text;
        return;
    }
    m_settingText = true;
    if (m_rich && StartsWithRtf(text)) {
        SETTEXTEX set = {ST_DEFAULT, TextCodePage()};
        Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(text));
    } else {
        SetPlainText(text);
    }
    m_settingText = false;
    m_changed = false;
    m_text.Empty();
    Invalidate();
}

void CRichEditUI::SetPlainText(const char* text)
{
    const CWideText wide(text);
    m_services->TxSetText(wide.Get());
    if (m_scrolled)
        SyncScrollBars();
}

void CRichEditUI::GetSel(LONG* start, LONG* end) const
{
    CHARRANGE range = {-1, -1};
    const_cast<CRichEditUI*>(this)->Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    *start = range.cpMin;
    *end = range.cpMax;
}

void CRichEditUI::SetSel(LONG start, LONG end)
{
    CHARRANGE range = {start, end};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// ---- Settings ----

CHARFORMAT2W CRichEditUI::MakeCharFormat() const
{
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD |
                    CFM_ITALIC | CFM_UNDERLINE;
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = DEFAULT_PITCH;
    if (m_manager == nullptr)
        return format;
    TFontEntry* font = m_manager->GetFontEntry(m_font);
    static const int kPixelsPerInch = [] {
        const HDC screen = GetDC(nullptr);
        const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
        return dpi > 0 ? dpi : 96;
    }();
    // Twips: the font's em height in pixels at the screen's resolution.
    format.yHeight = MulDiv(font->size, 1440, kPixelsPerInch);
    CWideText(font->face).CopyTo(format.szFaceName, LF_FACESIZE);
    format.dwEffects = (font->bold ? CFE_BOLD : 0) | (font->italic ? CFE_ITALIC : 0) |
                       (font->underline ? CFE_UNDERLINE : 0);
    DWORD color = IsEnabled() ? m_textColor : m_disabledTextColor;
    if (color == 0)
        color = IsEnabled() ? m_manager->GetDefaultFontColor() : m_manager->GetDisabledFontColor();
    format.crTextColor = ToGdiColor(color);
    return format;
}

TTextHostSettings CRichEditUI::MakeSettings() const
{
    TTextHostSettings settings;
    settings.bits = (m_rich ? TXTBIT_RICHTEXT : 0) | (m_multiLine ? TXTBIT_MULTILINE : 0) |
                    (m_readOnly ? TXTBIT_READONLY : 0) | (m_password ? TXTBIT_USEPASSWORD : 0) |
                    (m_multiLine && !m_autoHScroll ? TXTBIT_WORDWRAP : 0) | TXTBIT_DISABLEDRAG;
    settings.scrollBars = (m_verticalScrollBar != nullptr ? WS_VSCROLL : 0) |
                          (m_horizontalScrollBar != nullptr ? WS_HSCROLL : 0) |
                          (m_autoVScroll ? ES_AUTOVSCROLL : 0) |
                          (m_autoHScroll ? ES_AUTOHSCROLL : 0);
    settings.maxLength = m_maxChar;
    settings.backStyle = m_transparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    settings.background = m_bkColor != 0 ? ToGdiColor(m_bkColor) : GetSysColor(COLOR_WINDOW);
    settings.client = GetTextRect();
    settings.charFormat = MakeCharFormat();
    settings.paraFormat.cbSize = sizeof(settings.paraFormat);
    settings.paraFormat.dwMask = PFM_ALIGNMENT;
    settings.paraFormat.wAlignment = PFA_LEFT;
    return settings;
}

void CRichEditUI::ApplySettings(DWORD changed)
{
    if (!m_host)
        return;
    const TTextHostSettings settings = MakeSettings();
    m_host->Settings() = settings;
    // A change bit is told set: the text services then read the host's value again.
    m_services->OnTxPropertyBitsChange(changed,
                                       (settings.bits & changed) | (changed & ~kSwitchBits));
    // Wine's text services read the limit only when they are made; the message sets it in
    // both.
    if ((changed & TXTBIT_MAXLENGTHCHANGE) != 0)
        Send(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(m_maxChar));
    if (m_scrolled)
        SyncScrollBars();
    Invalidate();
}

void CRichEditUI::SetFont(int index)
{
    m_font = index;
    ApplySettings(TXTBIT_CHARFORMATCHANGE);
}

void CRichEditUI::SetTextColor(DWORD color)
{
    m_textColor = color;
    ApplySettings(TXTBIT_CHARFORMATCHANGE);
}

void CRichEditUI::SetDisabledTextColor(DWORD color)
{
    m_disabledTextColor = color;
    ApplySettings(TXTBIT_CHARFORMATCHANGE);
}

void CRichEditUI::SetTextPadding(RECT padding)
{
    m_textPadding = padding;
    ApplySettings(TXTBIT_CLIENTRECTCHANGE);
}

void CRichEditUI::SetMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    ApplySettings(TXTBIT_MULTILINE | TXTBIT_WORDWRAP);
}

void CRichEditUI::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    ApplySettings(TXTBIT_READONLY);
}

void CRichEditUI::SetPasswordMode(bool password)
{
    m_password = password;
    ApplySettings(TXTBIT_USEPASSWORD);
}

void CRichEditUI::SetAutoVScroll(bool autoScroll)
{
    m_autoVScroll = autoScroll;
    ApplySettings(TXTBIT_SCROLLBARCHANGE);
}

void CRichEditUI::SetAutoHScroll(bool autoScroll)
{
    m_autoHScroll = autoScroll;
    ApplySettings(TXTBIT_SCROLLBARCHANGE | TXTBIT_WORDWRAP);
}

void CRichEditUI::SetMaxChar(UINT maxChar)
{
    m_maxChar = maxChar;
    ApplySettings(TXTBIT_MAXLENGTHCHANGE);
}

void CRichEditUI::SetRich(bool rich)
{
    m_rich = rich;
    ApplySettings(TXTBIT_RICHTEXT);
}

void CRichEditUI::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    ApplySettings(TXTBIT_BACKSTYLECHANGE);
}

void CRichEditUI::EnableScrollBar(bool vertical, bool horizontal)
{
    CContainerUI::EnableScrollBar(vertical, horizontal);
    // A bar is shown only while the text overflows the view.
    for (CScrollBarUI* bar : {m_verticalScrollBar, m_horizontalScrollBar}) {
        if (bar != nullptr && bar->GetScrollRange() == 100 && bar->GetScrollPos() == 0)
            bar->SetScrollRange(0);
    }
    m_scrolled = true;
    ApplySettings(TXTBIT_SCROLLBARCHANGE);
}

void CRichEditUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    ApplySettings(TXTBIT_CHARFORMATCHANGE);
}

// ---- Geometry and scrolling ----

RECT CRichEditUI::GetTextRect() const
{
    RECT rc = InnerRect(true);
    rc.left += m_textPadding.left;
    rc.top += m_textPadding.top;
    rc.right -= m_textPadding.right;
    rc.bottom -= m_textPadding.bottom;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

void CRichEditUI::SetPos(RECT rc)
{
    CControlWatch self(this);
    CControlUI::SetPos(rc);
    if (!self)
        return;
    PlaceBars();
    ApplySettings(TXTBIT_CLIENTRECTCHANGE);
}

void CRichEditUI::PlaceBars()
{
    const RECT inner = InnerRect(true);
    CScrollBarUI* vertical = m_verticalScrollBar;
    CScrollBarUI* horizontal = m_horizontalScrollBar;
    if (IsScrollBarShown(vertical))
        vertical->SetPos(
            RECT{inner.right, inner.top, inner.right + vertical->GetFixedWidth(), inner.bottom});
    if (IsScrollBarShown(horizontal))
        horizontal->SetPos(RECT{inner.left, inner.bottom, inner.right,
                                inner.bottom + horizontal->GetFixedHeight()});
}

void CRichEditUI::SyncScrollBars()
{
    m_scrolled = false;
    if (!m_services)
        return;
    struct TAxis {
        CScrollBarUI* bar;
        HRESULT (STDMETHODCALLTYPE ITextServices::*read)(LONG*, LONG*, LONG*, LONG*, WINBOOL*);
    };
    bool shownChanged = false;
    for (const TAxis& axis : {TAxis{m_verticalScrollBar, &ITextServices::TxGetVScroll},
                              TAxis{m_horizontalScrollBar, &ITextServices::TxGetHScroll}}) {
        if (axis.bar == nullptr)
            continue;
        LONG low = 0;
        LONG high = 0;
        LONG pos = 0;
        LONG page = 0;
        WINBOOL enabled = FALSE;
        if (FAILED((m_services.Get()->*axis.read)(&low, &high, &pos, &page, &enabled)))
            continue;
        // The bar's range is the farthest the view can move: the text's height (or width)
        // less one page.
        const LONG range = high - low - page;
        const bool show = range > 0;
        // Each setter repaints the bar: typing that scrolls nothing costs no paint.
        if (axis.bar->GetScrollRange() != (show ? range : 0))
            axis.bar->SetScrollRange(show ? range : 0);
        if (axis.bar->GetScrollPos() != pos - low)
            axis.bar->SetScrollPos(pos - low);
        if (show != axis.bar->IsVisible()) {
            axis.bar->SetVisible(show);
            shownChanged = true;
        }
    }
    // The text gets narrower or wider with the bar at the next layout.
    if (shownChanged)
        NeedUpdate();
}

void CRichEditUI::SetScrollPos(SIZE pos)
{
    POINT target = {pos.cx, pos.cy};
    Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&target));
    SyncScrollBars();
    Invalidate();
}

void CRichEditUI::Scroll(UINT message, WORD code, int times)
{
    for (int i = 0; i < times; ++i)
        Send(message, MAKEWPARAM(code, 0), 0);
    SyncScrollBars();
    Invalidate();
}

void CRichEditUI::LineUp()
{
    Scroll(WM_VSCROLL, SB_LINEUP);
}

void CRichEditUI::LineDown()
{
    Scroll(WM_VSCROLL, SB_LINEDOWN);
}

void CRichEditUI::PageUp()
{
    Scroll(WM_VSCROLL, SB_PAGEUP);
}

void CRichEditUI::PageDown()
{
    Scroll(WM_VSCROLL, SB_PAGEDOWN);
}

void CRichEditUI::HomeUp()
{
    Scroll(WM_VSCROLL, SB_TOP);
}

void CRichEditUI::EndDown()
{
    Scroll(WM_VSCROLL, SB_BOTTOM);
}

void CRichEditUI::LineLeft()
{
    Scroll(WM_HSCROLL, SB_LINELEFT);
}

void CRichEditUI::LineRight()
{
    Scroll(WM_HSCROLL, SB_LINERIGHT);
}

void CRichEditUI::PageLeft()
{
    Scroll(WM_HSCROLL, SB_PAGELEFT);
}

void CRichEditUI::PageRight()
{
    Scroll(WM_HSCROLL, SB_PAGERIGHT);
}

void CRichEditUI::HomeLeft()
{
    Scroll(WM_HSCROLL, SB_LEFT);
}

void CRichEditUI::EndRight()
{
    Scroll(WM_HSCROLL, SB_RIGHT);
}

// ---- Input ----

void CRichEditUI::DoEvent(TUIEvent& event)
{
    if (PassOnUnhitMouseEvent(event))
        return;
    if (!m_services || !IsEnabled()) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case TUIEventType::SetCursor:
        ::SetCursor(LoadCursor(nullptr, IDC_IBEAM));
        return;
    case TUIEventType::SetFocus:
        m_focused = true;
        Send(WM_SETFOCUS);
        Invalidate();
        return;
    case TUIEventType::KillFocus:
        m_focused = false;
        m_leadByte = 0;
        Send(WM_KILLFOCUS);
        m_host->DestroyCaret();
        Invalidate();
        return;
    case TUIEventType::KeyDown:
        OnKeyDown(event);
        return;
    case TUIEventType::KeyUp:
        Send(WM_KEYUP, static_cast<BYTE>(event.key), 0);
        return;
    case TUIEventType::Char:
        OnChar(event);
        return;
    case TUIEventType::ButtonDown:
    case TUIEventType::ButtonUp:
    case TUIEventType::DblClick:
    case TUIEventType::MouseMove:
        OnMouse(event);
        return;
    case TUIEventType::ScrollWheel:
        if (IsWheelTurn(event.wParam)) {
            Scroll(WM_VSCROLL, event.wParam == UIWHEEL_AWAY ? SB_LINEUP : SB_LINEDOWN, kWheelLines);
            return;
        }
        break;
    case TUIEventType::Timer:
        SendInput(WM_TIMER, event.wParam, 0);
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

bool CRichEditUI::OnKeyDown(const TUIEvent& event)
{
    const BYTE key = static_cast<BYTE>(event.key);
    if (key == VK_RETURN) {
        const bool control = (event.keyState & UIKEY_CONTROL) != 0;
        const bool tells = control && m_wantCtrlReturn ? true : !(m_wantReturn && m_multiLine);
        if (tells) {
            m_dropReturnChar = true;
            CControlWatch self(this);
            if (m_manager != nullptr)
                m_manager->SendNotify(this, "return");
            return static_cast<bool>(self);
        }
    }
    m_dropReturnChar = false;
    return SendInput(WM_KEYDOWN, key, 0);
}

bool CRichEditUI::OnChar(const TUIEvent& event)
{
    const char byte = event.key;
    if (byte == '\r' || byte == '\n') {
        // The character of a Return that was told as "return" inserts nothing.
        const bool drop = m_dropReturnChar;
        m_dropReturnChar = false;
        if (drop)
            return true;
    }
    // The window is an ANSI one: a double-byte character comes as its two bytes.
    char bytes[2] = {byte, 0};
    int length = 1;
    if (m_leadByte != 0) {
        bytes[0] = m_leadByte;
        bytes[1] = byte;
        length = 2;
        m_leadByte = 0;
    } else if (IsLeadByte(byte)) {
        m_leadByte = byte;
        return true;
    }
    wchar_t units[2] = {};
    const int count = MultiByteToWideChar(TextCodePage(), 0, bytes, length, units, 2);
    for (int i = 0; i < count; ++i) {
        Send(WM_CHAR, units[i], 0);
    }
    return TellChange();
}

bool CRichEditUI::OnMouse(const TUIEvent& event)
{
    if (event.type == TUIEventType::ButtonUp && IsCancelledPress(event)) {
        // Another window took the mouse: the text services end their drag where it was.
        m_pressed = false;
        return SendInput(WM_LBUTTONUP, 0, PointParam(m_lastMouse));
    }
    m_lastMouse = event.mouse;
    const LPARAM at = PointParam(event.mouse);
    switch (event.type) {
    case TUIEventType::ButtonDown:
        m_pressed = true;
        return SendInput(WM_LBUTTONDOWN, event.wParam | MK_LBUTTON, at);
    case TUIEventType::DblClick:
        m_pressed = true;
        return SendInput(WM_LBUTTONDBLCLK, event.wParam | MK_LBUTTON, at);
    case TUIEventType::ButtonUp:
        m_pressed = false;
        return SendInput(WM_LBUTTONUP, event.wParam & ~static_cast<WPARAM>(MK_LBUTTON), at);
    default:
        // The manager hands on the moves of a press that began here: the button is held.
        return SendInput(WM_MOUSEMOVE, m_pressed ? MK_LBUTTON : 0, at);
    }
}

// ---- Painting ----

void CRichEditUI::PaintText(HDC dc)
{
    if (!m_services)
        return;
    const RECT text = GetTextRect();
    RECT update;
    if (!IntersectRect(&update, &text, &m_rcPaint))
        return;
    CClipToRect clip(dc, update);
    const RECTL bounds = {text.left, text.top, text.right, text.bottom};
    m_services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr,
                       &update, nullptr, 0, TXTVIEW_ACTIVE);
}

// ---- Attributes ----

namespace {

CRichEditUI& Rich(IControlUI& control)
{
    return static_cast<CRichEditUI&>(control);
}

const TAttributeInfo kOwnAttributes[] = {
    {"font", TAttributeKind::Font,
     [](IControlUI& c, const char* v) { Rich(c).SetFont(ParseInteger(v)); }},
    {"textcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetTextColor(ParseColor(v, false)); }},
    {"disabledtextcolor", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetDisabledTextColor(ParseColor(v, false)); }},
    {"textpadding", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetTextPadding(ToRect(ParseRect(v))); }},
    {"multiline", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetMultiLine(ParseBoolean(v)); }},
    {"readonly", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetReadOnly(ParseBoolean(v)); }},
    {"password", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetPasswordMode(ParseBoolean(v)); }},
    {"wantreturn", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetWantReturn(ParseBoolean(v)); }},
    {"wanttab", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetWantTab(ParseBoolean(v)); }},
    {"wantctrlreturn", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetWantCtrlReturn(ParseBoolean(v)); }},
    {"autovscroll", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetAutoVScroll(ParseBoolean(v)); }},
    {"autohscroll", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetAutoHScroll(ParseBoolean(v)); }},
    {"maxchar", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetMaxChar(static_cast<UINT>(ParseInteger(v))); }},
    {"rich", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetRich(ParseBoolean(v)); }},
    {"transparent", TAttributeKind::Plain,
     [](IControlUI& c, const char* v) { Rich(c).SetTransparent(ParseBoolean(v)); }},
};

}  // namespace

const TAttributeTable CRichEditUI::kAttributeTable =
    MakeAttributeTable(&CContainerUI::kAttributeTable, kOwnAttributes);

const TAttributeTable& CRichEditUI::GetAttributeTable() const
{
    return kAttributeTable;
}

}  // namespace Veneer
