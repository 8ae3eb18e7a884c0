#include "token/WindowSink.h"

#include <windows.h>

void WindowSink::PostEvent(TokenEvent* event)
{
    if (!PostMessageA(m_window, WM_TOKEN_EVENT, 0, reinterpret_cast<LPARAM>(event)))
        delete event;
}

void WindowSink::PostStartFailed(std::int32_t code)
{
    PostMessageA(m_window, WM_TOKEN_START_FAILED, static_cast<WPARAM>(static_cast<INT_PTR>(code)), 0);
}
