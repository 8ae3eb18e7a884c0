// Control timers: each rides on a native timer of the manager's window. Native ids come
// from a counter taken modulo 255, so they start at 17 and wrap after 255 timers, skipping
// ids that records still hold; a killed timer keeps its record, and its id, so that
// restarting it reuses the id.

#include <new>

#include "ui/core/WindowManagerUI.h"

namespace Veneer {
namespace {

TTimerInfo* TimerAt(const CPtrArray& timers, int index)
{
    return static_cast<TTimerInfo*>(timers.GetAt(index));
}

}  // namespace

bool CWindowManagerUI::SetTimer(IControlUI* control, UINT localId, UINT elapse)
{
    // Without a window the native timer would be a thread timer that no record matches.
    if (m_window == nullptr)
        return false;
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = TimerAt(m_timers, i);
        if (timer->sender != control || timer->window != m_window || timer->localId != localId)
            continue;
        if (!timer->killed || ::SetTimer(m_window, timer->nativeId, elapse, nullptr) == 0)
            return false;
        timer->killed = false;
        return true;
    }
    UINT nativeId = 0;
    if (!TakeTimerId(&nativeId) || ::SetTimer(m_window, nativeId, elapse, nullptr) == 0)
        return false;
    TTimerInfo* timer = new (std::nothrow) TTimerInfo{control, localId, m_window, nativeId, false};
    if (timer != nullptr && m_timers.Add(timer))
        return true;
    // Unrecorded, the native timer would tick for nobody.
    ::KillTimer(m_window, nativeId);
    delete timer;
    return false;
}

bool CWindowManagerUI::TakeTimerId(UINT* nativeId)
{
    // One id for two records would make one native timer serve both.
    for (int tries = 0; tries < 255; ++tries) {
        m_timerCounter = (m_timerCounter + 1) % 255;
        if (!IsTimerIdHeld(m_timerCounter)) {
            *nativeId = m_timerCounter;
            return true;
        }
    }
    return false;
}

bool CWindowManagerUI::IsTimerIdHeld(UINT nativeId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const TTimerInfo* timer = TimerAt(m_timers, i);
        if (timer->window == m_window && timer->nativeId == nativeId)
            return true;
    }
    return false;
}

bool CWindowManagerUI::KillTimer(IControlUI* control, UINT localId)
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = TimerAt(m_timers, i);
        if (timer->sender == control && timer->window == m_window && timer->localId == localId &&
            !timer->killed) {
            if (IsWindow(m_window))
                ::KillTimer(m_window, timer->nativeId);
            timer->killed = true;
            return true;
        }
    }
    return false;
}

void CWindowManagerUI::KillTimer(IControlUI* control)
{
    for (int i = m_timers.GetSize() - 1; i >= 0; --i) {
        TTimerInfo* timer = TimerAt(m_timers, i);
        if (timer->sender != control || timer->window != m_window)
            continue;
        if (!timer->killed)
            ::KillTimer(m_window, timer->nativeId);
        delete timer;
        m_timers.Remove(i);
    }
}

void CWindowManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = TimerAt(m_timers, i);
        if (!timer->killed && IsWindow(timer->window))
            ::KillTimer(timer->window, timer->nativeId);
        delete timer;
    }
    m_timers.Empty();
}

void CWindowManagerUI::OnTimer(WPARAM wParam)
{
    const UINT nativeId = LOWORD(wParam);
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = TimerAt(m_timers, i);
        if (timer->window == m_window && timer->nativeId == nativeId && !timer->killed) {
            SendEvent(timer->sender, TUIEventType::Timer, timer->sender, POINT{}, timer->localId);
            return;
        }
    }
}

}  // namespace Veneer
