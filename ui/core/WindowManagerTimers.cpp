// Control timers: the manager's timer table, made at the first timer a control sets, rides
// on native timers of the manager's window.

#include <new>

#include "ui/core/TimerTable.h"
#include "ui/core/WindowManagerUI.h"

namespace Veneer {

bool CWindowManagerUI::SetTimer(IControlUI* control, UINT localId, UINT elapse)
{
    if (m_timers == nullptr)
        m_timers.reset(new (std::nothrow) CTimerTable);
    return m_timers != nullptr && m_timers->Set(m_window, control, localId, elapse);
}

bool CWindowManagerUI::KillTimer(IControlUI* control, UINT localId)
{
    return m_timers != nullptr && m_timers->Kill(m_window, control, localId);
}

void CWindowManagerUI::KillTimer(IControlUI* control)
{
    if (m_timers != nullptr)
        m_timers->Kill(m_window, control);
}

void CWindowManagerUI::RemoveAllTimers()
{
    if (m_timers != nullptr)
        m_timers->RemoveAll();
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    const TTimerInfo* timer =
        m_timers != nullptr ? m_timers->Find(m_window, LOWORD(wParam)) : nullptr;
    if (timer != nullptr)
        SendEvent(timer->sender, TUIEventType::Timer, timer->sender, POINT{}, timer->localId);
}

}  // namespace Veneer
