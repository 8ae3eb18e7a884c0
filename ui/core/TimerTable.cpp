// Native ids come from a counter taken modulo 255, so they start at 17 and wrap after 255
// timers, skipping ids that records still hold; a killed timer keeps its record, and its
// id, so that restarting it reuses the id.

#include "ui/core/TimerTable.h"

#include <new>

namespace Veneer {
namespace {

class CSystemTimers : public INativeTimers {
public:
    bool Start(HWND window, UINT nativeId, UINT elapse) override
    {
        return ::SetTimer(window, nativeId, elapse, nullptr) != 0;
    }
    void Stop(HWND window, UINT nativeId) override
    {
        if (IsWindow(window))
            ::KillTimer(window, nativeId);
    }
};

}  // namespace

INativeTimers& SystemTimers()
{
    static CSystemTimers timers;
    return timers;
}

TTimerInfo* CTimerTable::At(int index) const
{
    return static_cast<TTimerInfo*>(m_timers.GetAt(index));
}

TTimerInfo* CTimerTable::FindRecord(HWND window, IControlUI* control, UINT localId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = At(i);
        if (timer->sender == control && timer->window == window && timer->localId == localId)
            return timer;
    }
    return nullptr;
}

bool CTimerTable::Set(HWND window, IControlUI* control, UINT localId, UINT elapse)
{
    if (window == nullptr)
        return false;
    if (TTimerInfo* timer = FindRecord(window, control, localId)) {
        if (!timer->killed || !m_native.Start(window, timer->nativeId, elapse))
            return false;
        timer->killed = false;
        return true;
    }
    UINT nativeId = 0;
    if (!TakeId(window, &nativeId) || !m_native.Start(window, nativeId, elapse))
        return false;
    TTimerInfo* timer = new (std::nothrow) TTimerInfo{control, localId, window, nativeId, false};
    if (timer != nullptr && m_timers.Add(timer))
        return true;
    // Unrecorded, the native timer would tick for nobody.
    m_native.Stop(window, nativeId);
    delete timer;
    return false;
}

bool CTimerTable::TakeId(HWND window, UINT* nativeId)
{
    // One id for two records would make one native timer serve both.
    for (int tries = 0; tries < 255; ++tries) {
        m_counter = (m_counter + 1) % 255;
        if (!IsIdHeld(window, m_counter)) {
            *nativeId = m_counter;
            return true;
        }
    }
    return false;
}

bool CTimerTable::IsIdHeld(HWND window, UINT nativeId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const TTimerInfo* timer = At(i);
        if (timer->window == window && timer->nativeId == nativeId)
            return true;
    }
    return false;
}

bool CTimerTable::Kill(HWND window, IControlUI* control, UINT localId)
{
    TTimerInfo* timer = FindRecord(window, control, localId);
    if (timer == nullptr || timer->killed)
        return false;
    m_native.Stop(window, timer->nativeId);
    timer->killed = true;
    return true;
}

void CTimerTable::Kill(HWND window, IControlUI* control)
{
    for (int i = m_timers.GetSize() - 1; i >= 0; --i) {
        TTimerInfo* timer = At(i);
        if (timer->sender != control || timer->window != window)
            continue;
        if (!timer->killed)
            m_native.Stop(window, timer->nativeId);
        delete timer;
        m_timers.Remove(i);
    }
}

void CTimerTable::RemoveAll()
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TTimerInfo* timer = At(i);
        if (!timer->killed)
            m_native.Stop(timer->window, timer->nativeId);
        delete timer;
    }
    m_timers.Empty();
}

const TTimerInfo* CTimerTable::Find(HWND window, UINT nativeId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const TTimerInfo* timer = At(i);
        if (timer->window == window && timer->nativeId == nativeId && !timer->killed)
            return timer;
    }
    return nullptr;
}

}  // namespace Veneer
