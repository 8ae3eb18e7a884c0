#pragma once
// CTimerTable: the control timers of one window manager, each riding on a native timer of
// the manager's window. It chooses the native ids and keeps the records; the native timers
// themselves are started and stopped through INativeTimers, so that the bookkeeping can be
// held to its rules without a window.

#include <windows.h>

#include "ui/core/base/PtrArray.h"

namespace Veneer {

class IControlUI;

// One control timer.
struct TTimerInfo {
    IControlUI* sender;
    UINT localId;  // chosen by the control
    HWND window;
    UINT nativeId;  // the id of the native window timer
    bool killed;    // stopped, but kept so that a restart reuses the native id
};

// The window timers the records ride on.
class INativeTimers {
public:
    virtual bool Start(HWND window, UINT nativeId, UINT elapse) = 0;
    // Nothing for a window that is gone.
    virtual void Stop(HWND window, UINT nativeId) = 0;

protected:
    ~INativeTimers() = default;
};

// The system's: SetTimer and KillTimer.
INativeTimers& SystemTimers();

class CTimerTable {
public:
    explicit CTimerTable(INativeTimers& native = SystemTimers()) : m_native(native) {}
    ~CTimerTable() { RemoveAll(); }
    CTimerTable(const CTimerTable&) = delete;
    CTimerTable& operator=(const CTimerTable&) = delete;

    // Restarting a killed timer reuses its native id; one already running, or a null
    // window (whose native timer would be a thread timer that no record matches), gives
    // false.
    bool Set(HWND window, IControlUI* control, UINT localId, UINT elapse);
    // False when no such timer runs.
    bool Kill(HWND window, IControlUI* control, UINT localId);
    // Every timer of the control on that window, records and all.
    void Kill(HWND window, IControlUI* control);
    void RemoveAll();
    // The running timer that a native timer of the window stands for, or null.
    const TTimerInfo* Find(HWND window, UINT nativeId) const;

private:
    TTimerInfo* At(int index) const;
    TTimerInfo* FindRecord(HWND window, IControlUI* control, UINT localId) const;
    // The next native id that no record of the window holds; false when all 255 are held.
    bool TakeId(HWND window, UINT* nativeId);
    bool IsIdHeld(HWND window, UINT nativeId) const;

    INativeTimers& m_native;
    CPtrArray m_timers;  // owned TTimerInfo
    UINT m_counter = 4096;
};

}  // namespace Veneer
