#pragma once
// Results to a window: WM_TOKEN_EVENT with a TokenEvent the window frees, and
// WM_TOKEN_START_FAILED with the code in wParam.

#include "token/TokenSeams.h"

struct HWND__;
typedef HWND__* HWND;

namespace Token {

class WindowSink : public ResultSink {
public:
    explicit WindowSink(HWND window) : m_window(window) {}

    void PostEvent(TokenEvent* event) override;
    void PostStartFailed(std::int32_t code) override;

protected:
    HWND Window() const { return m_window; }

private:
    HWND m_window;
};

}  // namespace Token
