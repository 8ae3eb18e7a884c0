#include "ui/core/ToolTip.h"

#include <commctrl.h>

#include "ui/core/WideText.h"

namespace Veneer {
namespace {

// The window's one tool: the whole window, named by its handle. Common Controls 5.82, which
// a program without a manifest dependency on version 6 gets, refuses the size of the newest
// record; the size without its reserved field is taken by every version.
TOOLINFOW ToolRecord(HWND window)
{
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    return tool;
}

}  // namespace

CToolTip::~CToolTip()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool CToolTip::Show(HWND owner, const RECT& area, const char* text, HINSTANCE module)
{
    if (text == nullptr || *text == '\0')
        return false;
    TOOLINFOW tool = ToolRecord(owner);
    tool.rect = area;
    tool.hinst = module;
    // The tooltip window keeps its own copy of the text.
    const CWideText wide(text);
    tool.lpszText = const_cast<wchar_t*>(wide.Get());
    const LPARAM record = reinterpret_cast<LPARAM>(&tool);
    if (m_window == nullptr && !CreateFor(owner, module, record))
        return false;
    SendMessageA(m_window, TTM_SETTOOLINFOW, 0, record);
    SendMessageA(m_window, TTM_TRACKACTIVATE, TRUE, record);
    return true;
}

bool CToolTip::CreateFor(HWND owner, HINSTANCE module, LPARAM record)
{
    m_window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, module, nullptr);
    if (m_window == nullptr)
        return false;
    // A tooltip window without its tool would stay mute for the window's life: the next
    // tip tries again with a new one.
    if (!SendMessageA(m_window, TTM_ADDTOOLW, 0, record)) {
        DestroyWindow(m_window);
        m_window = nullptr;
        return false;
    }
    return true;
}

void CToolTip::Hide(HWND owner)
{
    if (m_window == nullptr)
        return;
    TOOLINFOW tool = ToolRecord(owner);
    SendMessageA(m_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

DWORD CToolTip::HoverTime() const
{
    if (m_window == nullptr)
        return kDefaultHoverTime;
    return static_cast<DWORD>(SendMessageA(m_window, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

}  // namespace Veneer
