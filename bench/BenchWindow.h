#pragma once
// What the window benchmarks share: a frameless window whose manager sees every message.

#include <windows.h>

#include <cstdio>

#include "ui/core/WindowManagerUI.h"
#include "ui/core/WindowWnd.h"

namespace LorvikBench {

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

}  // namespace LorvikBench
