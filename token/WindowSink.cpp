#include "token/WindowSink.h"

#include <windows.h>

namespace Token {

// A null window would post to the worker's own queue, where nobody frees the record.
void WindowSink::PostEvent(TokenEvent* event)
{
    if (!m_window || !PostMessageA(m_window, WM_TOKEN_EVENT, 0, reinterpret_cast<LPARAM>(event)))
        delete event;
}

void WindowSink::PostStartFailed(std::int32_t code)
{
    if (m_window)
        PostMessageA(m_window, WM_TOKEN_START_FAILED,
                     static_cast<WPARAM>(static_cast<INT_PTR>(code)), 0);
}

}  // namespace Token
