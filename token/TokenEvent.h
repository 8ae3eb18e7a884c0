#pragma once
// What the token client reports to its window, and the records it keeps per request.
// Kept free of <windows.h>: the message numbers are WM_USER + 100 and + 101.

#include <cstdint>

namespace Token {

enum TokenRequestKind : std::int32_t {
    kTokenLogin = 1,
    kTokenLogout = 2,
    kTokenGet = 3,
    kTokenCheck = 4,
    kTokenStatus = 5,
    kTokenHeartbeat = 6,
};

// Results the client makes itself; every other value is the server's.
const std::int32_t kTokenNoAnswer = -1;
const std::int32_t kTokenMalformed = -2;
// Start failures, the wParam of WM_TOKEN_START_FAILED.
const std::int32_t kStartNoWinsock = -99;
const std::int32_t kStartNoHostName = -100;
const std::int32_t kStartHostUnresolved = -101;
const std::int32_t kStartNoServer = -102;

const unsigned WM_TOKEN_EVENT = 0x0400 + 100;
const unsigned WM_TOKEN_START_FAILED = 0x0400 + 101;

const std::size_t kTokenSize = 32;

// Posted with WM_TOKEN_EVENT as lParam; the window owns it and frees it with delete.
struct TokenEvent {
    std::int32_t kind;
    std::int32_t result;
    std::uint32_t tag;
    char token[kTokenSize];  // kinds 3 and 4 with result 0: the token, zero-padded
    std::int32_t value;      // kind 3: seconds to live; kind 4: 1 valid, 0 not
};

// The tag of the session's own logins, which are never reported.
const std::uint32_t kSessionTag = 0xFFFFDEAD;

struct RequestRecord {
    std::int32_t kind;
    std::uint32_t queuedAt;  // when the worker took it; its deadline counts from here
    std::uint32_t startStamp;
    std::uint32_t lastSend;
    std::uint32_t tag;
    RequestRecord* next;
};

}  // namespace Token
