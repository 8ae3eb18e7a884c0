#pragma once
// Mervane: the token-service client the main window owns. Start it once with the window
// that gets WM_TOKEN_EVENT and WM_TOKEN_START_FAILED; queue requests with Request.

#include <cstdint>

struct HWND__;  // NOLINT(bugprone-reserved-identifier): windows.h's own name
typedef HWND__* HWND;

namespace Token {

class MervaneImpl;
class ResultSink;

class Mervane {
public:
    Mervane();
    // The implementation is left running: its worker thread uses it until the process ends.
    virtual ~Mervane();
    Mervane(const Mervane&) = delete;
    Mervane& operator=(const Mervane&) = delete;

#if defined(_WIN32)
    void Start(HWND window);
#endif
    void Start(ResultSink* sink);
    // Kinds 3 (get token) and 4 (check token) from the window; callable from any thread.
    void Request(std::int32_t kind);

private:
    MervaneImpl* m_impl;
};

}  // namespace Token
