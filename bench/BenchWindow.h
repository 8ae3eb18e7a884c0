#pragma once
// What the window benchmarks share: a frameless window whose manager sees every message,
// and the best time of a piece of work over several rounds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace VeneerBench {

class BenchWindow : public Veneer::CWindowWnd {
public:
    explicit BenchWindow(const char* className) : m_className(className) {}

    // A frameless window at the screen's corner, shown without taking the focus; null and
    // a message on stderr when it cannot be made.
    HWND Open(const char* title, int width, int height)
    {
        Veneer::CWindowManagerUI::SetInstance(GetModuleHandleA(nullptr));
        HWND hwnd = Create(nullptr, title, WS_POPUP, WS_EX_NOACTIVATE, 0, 0, width, height);
        if (hwnd == nullptr) {
            std::fprintf(stderr, "%s: no window\n", title);
            return nullptr;
        }
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        return hwnd;
    }
    const char* GetWindowClassName() const override { return m_className; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE)
            manager.Init(GetHWND());
        LRESULT result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result))
            return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    Veneer::CWindowManagerUI manager;

private:
    const char* m_className;
};

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The best of `rounds` runs after one to warm up, in milliseconds; GDI's batch is flushed
// inside each run.
inline double Best(int rounds, const std::function<void()>& work)
{
    work();
    double best = 1e30;
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        GdiFlush();
        QueryPerformanceCounter(&end);
        best = std::min(best, Milliseconds(start, end));
    }
    return best;
}

}  // namespace VeneerBench
