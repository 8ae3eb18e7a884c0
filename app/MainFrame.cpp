// The window's texts are GBK: this file is compiled with -fexec-charset=GBK.
#include "app/MainFrame.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "Product.h"
#include "app/MenuWnd.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ControlUI.h"
#include "ui/core/WideText.h"

using namespace Token;
using namespace Veneer;

namespace {

const int kMainSkin = 101;
const int kMenuSkin = 123;
const int kIconId = 135;
const UINT kCountdownTimer = 1;
const UINT kCountdownElapse = 1000;
// Near the screen's right or bottom edge the tray menu opens this much further left or up.
const int kMenuShiftX = 250;
const int kMenuShiftY = 25;

const char kTipRequesting[] = "正在获取验证码 ...... ";
const char kTipCountdown[] = "验证码将在{f 1}{c #FF0000}%d{/c}{/f}秒后过期";
const char kTipPrompt[] = "{f 0}请点击下方按钮来获取验证码{/f}";
const char kTipDeviceLimit[] = "{c #FF0000}您连接的设备数已达上限。{/c}";
const char kTipAdmitted[] = "{c #007F00}您的手机已通过认证， 可以正常上网了。{/c}";
const char kTipRestarting[] = "{c #FF0000}通信异常，可能设备正在重启，请稍后重试。{/c}";
const char kTipNetwork[] = "{c #FF0000}通信异常，请检查您的网络。{/c}";

// Results the server gives texts of its own; -3 is the window's for a failed check.
const std::int32_t kResultDeviceLimit = 2;
const std::int32_t kResultAdmitted = 3;
const std::int32_t kResultCheckFailed = -3;

// Posted to itself at windowinit: the icon is added once the first paint is done.
const UINT kAddTrayIconMessage = WM_USER + 2;
// At log-on the notification area may not be there yet, or too busy to answer in time: the
// icon is tried again until it is there. The id lies above the skin timers' 1 to 254.
const UINT_PTR kTrayRetryTimer = 0x1000;
const UINT kTrayRetryElapse = 1000;

// Explorer broadcasts it when it starts again with an empty notification area.
UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// The window's icon record: id 0, the callback message, and the window's title as its tip.
NOTIFYICONDATAW TrayRecord(HWND window, HICON icon)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = 0;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_ICON;
    record.hIcon = icon;
    ReadWindowTitle(window, record.szTip, ARRAYSIZE(record.szTip));
    return record;
}

bool SameName(const CUIString& name, const char* expected)
{
    return name.CompareNoCase(expected) == 0;
}

}  // namespace

const char MainFrame::kClassName[] = "LorvikMainWnd";
const char MainFrame::kTitle[] = "Lorvik(网吧专用)";

MainFrame::~MainFrame()
{
    PostQuitMessage(0);
}

const char* MainFrame::GetWindowClassName() const
{
    return kClassName;
}

const char* MainFrame::GetClassIcon() const
{
    return MAKEINTRESOURCEA(kIconId);
}

void MainFrame::OnFinalMessage(HWND hwnd)
{
    WindowImplBase::OnFinalMessage(hwnd);
    delete this;
}

void MainFrame::OnSkinReady()
{
    m_client.Start(GetHWND());
}

void MainFrame::QueueRequest(std::int32_t kind)
{
    m_client.Request(kind);
}

const char* MainFrame::SkinFolder()
{
    m_skinFolder = CWindowManagerUI::GetInstancePath();
    return m_skinFolder;
}

const char* MainFrame::SkinSource()
{
    std::snprintf(m_skinSource, sizeof m_skinSource, "%d", kMainSkin);
    return m_skinSource;
}

LRESULT MainFrame::OnDefaultKey(WPARAM key)
{
    // Escape does nothing here: the window closes only to the tray.
    return key == VK_ESCAPE ? 1 : 0;
}

LRESULT MainFrame::OnClose(UINT, WPARAM, LPARAM, bool& handled)
{
    ToggleVisible();
    handled = true;
    return 0;
}

LRESULT MainFrame::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    RemoveTrayIcon();
    handled = false;
    return 0;
}

// The default handling turns Close and Alt+F4 into WM_CLOSE, which hides the window.
LRESULT MainFrame::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    const HWND window = GetHWND();
    const bool wasZoomed = IsZoomed(window) != FALSE;
    CWindowWnd::HandleMessage(message, wParam, lParam);
    handled = true;
    // A command that destroyed the window took this object with it.
    if (!IsWindow(window))
        return 0;
    const bool zoomed = IsZoomed(window) != FALSE;
    if (zoomed != wasZoomed) {
        CControlUI* maxButton = AsControl(m_pm.FindControl("maxbtn"));
        CControlUI* restoreButton = AsControl(m_pm.FindControl("restorebtn"));
        if (maxButton)
            maxButton->SetVisible(!zoomed);
        if (restoreButton)
            restoreButton->SetVisible(zoomed);
    }
    return 0;
}

LRESULT MainFrame::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    switch (message) {
    case WM_TOKEN_EVENT: {
        const std::unique_ptr<TokenEvent> event(reinterpret_cast<TokenEvent*>(lParam));
        if (event)
            OnTokenEvent(*event);
        return 0;
    }
    case WM_TOKEN_START_FAILED:
        return 0;
    case WM_TRAY_ICON:
        OnTrayIcon(lParam);
        return 0;
    case kAddTrayIconMessage:
        AddTrayIcon();
        return 0;
    case WM_TIMER:
        if (wParam != kTrayRetryTimer)
            return 0;
        AddTrayIcon();
        handled = true;
        return 0;
    case WM_SHOWWINDOW:
        // Shown or hidden from outside too (a second start shows a hidden window).
        if (lParam == 0)
            m_hidden = wParam == FALSE;
        return 0;
    case WM_ENDSESSION:
        // The session ends, or an installer asks this copy to end: leave no icon behind.
        if (wParam) {
            RemoveTrayIcon();
            PostQuitMessage(0);
            handled = true;
        }
        return 0;
    default:
        if (message == TaskbarCreatedMessage() && message != 0) {
            m_trayShown = false;
            AddTrayIcon();
        }
        return 0;
    }
}

void MainFrame::Notify(TNotifyMsg& msg)
{
    const CUIString sender = msg.sender ? msg.sender->GetName() : CUIString();
    if (msg.type.CompareNoCase("windowinit") == 0) {
        // windowinit comes inside the first paint, and the notification area belongs to
        // another process, which adding an icon waits for (15 to 30 ms under Wine): the
        // guest sees the window first.
        PostMessageA(GetHWND(), kAddTrayIconMessage, 0, 0);
    } else if (msg.type.CompareNoCase("timer") == 0) {
        if (SameName(sender, "lbl_tokentip"))
            OnCountdownTick();
    } else if (msg.type.CompareNoCase("click") != 0) {
        return;
    } else if (SameName(sender, "closebtn")) {
        ToggleVisible();
    } else if (SameName(sender, "minbtn")) {
        SendMessageA(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (SameName(sender, "btn_newtoken")) {
        QueueRequest(kTokenGet);
        EnableNewTokenButton(false);
        SetControlText("lbl_tokentip", kTipRequesting);
    } else if (SameName(sender, "btn_vendor")) {
        ShellExecuteA(GetHWND(), "open", LORVIK_VENDOR_URL, "", "", SW_SHOW);
    }
}

// ---- The notification area ----

void MainFrame::AddTrayIcon()
{
    if (!m_trayIcon.Get())
        m_trayIcon.Reset(LoadIconAtSize(CWindowManagerUI::GetInstance(), MAKEINTRESOURCEA(kIconId),
                                        SM_CXSMICON, SM_CYSMICON));
    NOTIFYICONDATAW record = TrayRecord(GetHWND(), m_trayIcon.Get());
    // An add that timed out may still have put the icon there: then it can be changed.
    m_trayShown = Shell_NotifyIconW(NIM_ADD, &record) || Shell_NotifyIconW(NIM_MODIFY, &record);
    if (m_trayShown) {
        KillTimer(GetHWND(), kTrayRetryTimer);
        return;
    }
    SetTimer(GetHWND(), kTrayRetryTimer, kTrayRetryElapse, nullptr);
    // A hidden window whose icon went with Explorer could not be found again.
    if (m_hidden)
        ShowWindow(GetHWND(), SW_SHOWMINNOACTIVE);
}

void MainFrame::RemoveTrayIcon()
{
    KillTimer(GetHWND(), kTrayRetryTimer);
    NOTIFYICONDATAW record = TrayRecord(GetHWND(), m_trayIcon.Get());
    Shell_NotifyIconW(NIM_DELETE, &record);
    m_trayShown = false;
}

void MainFrame::ToggleVisible()
{
    if (m_hidden) {
        ShowWindow(GetHWND(), SW_SHOWNORMAL);
        SetForegroundWindow(GetHWND());
        m_hidden = false;
    } else if (!m_trayShown) {
        // Hidden without an icon, the window could not be found again: it goes to the taskbar.
        SendMessageA(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        ShowWindow(GetHWND(), SW_HIDE);
        m_hidden = true;
    }
}

void MainFrame::OnTrayIcon(LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ToggleVisible();
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    default:
        break;
    }
}

// The menu window deletes itself when it closes; its one item ends the program.
void MainFrame::ShowTrayMenu()
{
    POINT at = {};
    GetCursorPos(&at);
    // The edges of the screen the cursor is on: the taskbar may be on any of them.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    if (at.x + kMenuShiftX > monitor.rcMonitor.right)
        at.x -= kMenuShiftX;
    if (at.y + kMenuShiftY > monitor.rcMonitor.bottom)
        at.y -= kMenuShiftY;
    (new CMenuWnd(GetHWND()))->Init(nullptr, MAKEINTRESOURCEA(kMenuSkin), "xml", at);
}

// ---- The code and its countdown ----

void MainFrame::SetControlText(const char* name, const char* text)
{
    if (CControlUI* control = AsControl(m_pm.FindControl(name)))
        control->SetText(text);
}

void MainFrame::EnableNewTokenButton(bool enabled)
{
    if (CControlUI* button = AsControl(m_pm.FindControl("btn_newtoken")))
        button->SetEnabled(enabled);
}

// The tip for a result code: 0 with the countdown (or the prompt without one), the server's
// 2 and 3, the window's -3 for a failed check, and the network text for anything else.
const char* MainFrame::TipText(std::int32_t code, int countdown)
{
    switch (code) {
    case 0:
        if (countdown <= 0)
            return kTipPrompt;
        std::snprintf(m_tipText, sizeof m_tipText, kTipCountdown, countdown);
        return m_tipText;
    case kResultDeviceLimit:
        return kTipDeviceLimit;
    case kResultAdmitted:
        return kTipAdmitted;
    case kResultCheckFailed:
        return kTipRestarting;
    default:
        return kTipNetwork;
    }
}

void MainFrame::SetTip(std::int32_t code, int countdown)
{
    SetControlText("lbl_tokentip", TipText(code, countdown));
    if (code != 0)
        EnableNewTokenButton(true);
}

void MainFrame::ShowTokenDigits(const char* token)
{
    const char* shown = token ? token : "      ";
    const std::size_t length = strnlen(shown, kTokenSize);
    for (std::size_t i = 0; i < 6; ++i) {
        const char text[3] = {' ', i < length ? shown[i] : ' ', '\0'};
        char name[16];
        std::snprintf(name, sizeof name, "lbl_token%u", static_cast<unsigned>(i + 1));
        SetControlText(name, text);
    }
}

void MainFrame::EndToken(std::int32_t code)
{
    if (IControlUI* tip = m_pm.FindControl("lbl_tokentip"))
        m_pm.KillTimer(tip);
    ShowTokenDigits(nullptr);
    SetTip(code, -1);
    EnableNewTokenButton(true);
    m_countdown = -1;
    std::memset(m_token, 0, sizeof m_token);
    m_checking = false;
}

void MainFrame::QueueCheck()
{
    if (m_checking)
        return;
    QueueRequest(kTokenCheck);
    m_checking = true;
}

void MainFrame::OnTokenEvent(const TokenEvent& event)
{
    if (event.kind == kTokenGet)
        OnTokenReceived(event);
    else if (event.kind == kTokenCheck)
        OnTokenChecked(event);
}

void MainFrame::OnTokenReceived(const TokenEvent& event)
{
    if (event.result == 0) {
        std::memset(m_token, 0, sizeof m_token);
        std::memcpy(m_token, event.token, strnlen(event.token, kTokenSize));
        m_countdown = event.value;
        if (IControlUI* tip = m_pm.FindControl("lbl_tokentip"))
            m_pm.SetTimer(tip, kCountdownTimer, kCountdownElapse);
        QueueCheck();
    }
    ShowTokenDigits(event.result == 0 ? m_token : nullptr);
    SetTip(event.result, m_countdown);
}

void MainFrame::OnTokenChecked(const TokenEvent& event)
{
    if (event.result != 0) {
        // The server's own verdicts keep their texts; anything else is a failed check.
        const bool verdict = event.result == kResultDeviceLimit || event.result == kResultAdmitted;
        EndToken(verdict ? event.result : kResultCheckFailed);
        return;
    }
    // An answer about another code changes nothing shown; the shown one is checked again.
    if (m_countdown > 0 && strncmp(event.token, m_token, kTokenSize) == 0 && event.value == 0)
        EndToken(0);
    m_checking = false;
}

void MainFrame::OnCountdownTick()
{
    if (--m_countdown <= 0) {
        EndToken(0);
        return;
    }
    SetTip(0, m_countdown);
    QueueCheck();
}
