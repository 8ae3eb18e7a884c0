#pragma once
// The seams between the token client's logic and the platform: a millisecond tick clock, a
// connected non-blocking UDP socket with a bounded readiness wait, the route and adapter
// tables, the sink that carries results to the window, and the random numbers that spread
// the session's waits. Tests put fakes here.

#include <cstddef>
#include <cstdint>

#include "token/RowArray.h"
#include "token/TokenEvent.h"

namespace Token {

class TickClock {
public:
    virtual ~TickClock() = default;
    // Milliseconds, wrapping at 32 bits; only differences taken as unsigned mean anything.
    virtual std::uint32_t Now() = 0;
};

class TokenNetwork {
public:
    static constexpr long kNothingWaiting = -1;
    static constexpr long kReceiveError = -2;

    virtual ~TokenNetwork() = default;

    virtual bool Startup() = 0;
    virtual bool HostName(char* name, std::size_t size) = 0;
    virtual bool Resolves(const char* hostName) = 0;

    // A UDP socket aimed at address:port; an address that does not parse leaves it unaimed.
    virtual void Open(const char* address, std::uint16_t port) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual void Send(const char* data, std::size_t size) = 0;
    // One whole datagram: its size, kNothingWaiting, or kReceiveError (one error consumed).
    virtual long Receive(char* buffer, std::size_t size) = 0;
    // Waits at most ms for a datagram or a Wake. True when a datagram may be waiting.
    virtual bool Wait(std::uint32_t ms) = 0;
    // Ends the current or next Wait at once; callable from any thread.
    virtual void Wake() = 0;
};

// One row of the platform's IPv4 routing table; addresses in network byte order.
struct RawRoute {
    std::uint32_t destination;
    std::uint32_t mask;
    std::uint32_t nextHop;
    std::uint32_t metric;
};

// The first gateway of one network adapter, dotted text, empty when it has none.
struct AdapterGateway {
    char address[16];
};

class RouteTables {
public:
    virtual ~RouteTables() = default;
    // Both append; false when the table cannot be read or memory runs out.
    virtual bool ReadRoutes(RowArray<RawRoute>& routes) = 0;
    virtual bool ReadAdapters(RowArray<AdapterGateway>& adapters) = 0;
};

class ResultSink {
public:
    virtual ~ResultSink() = default;
    // Takes ownership of event (frees it when it cannot be delivered).
    virtual void PostEvent(TokenEvent* event) = 0;
    virtual void PostStartFailed(std::int32_t code) = 0;
    // The server address the session will use, once per successful start.
    virtual void ServerFound(const char* address, bool fromSetting) {}
    // The answer to each of the session's logins: 0 logged in, kTokenNoAnswer, or the
    // server's refusal. The window shows nothing of it; a probe tells the technician.
    virtual void LoginAnswered(std::int32_t result) {}
};

// Spreads the waits of the PCs of one café, which would otherwise all log in again and keep
// alive in step after a power cut. Not for secrets.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number below bound (bound > 0).
    virtual std::uint32_t Below(std::uint32_t bound) = 0;
};

// A xorshift generator; the platform seeds it with what differs from PC to PC.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : m_state(seed != 0 ? seed : 0x9E3779B9u) {}
    std::uint32_t Below(std::uint32_t bound) override
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state % bound;
    }

private:
    std::uint32_t m_state;
};

// The platform's own seams (Windows: GetTickCount, Winsock, IP Helper; host: POSIX).
TickClock& SystemClock();
TokenNetwork* NewSystemNetwork();
RouteTables& SystemRoutes();
// Used by the worker only.
RandomSource& SystemRandom();
// The path of "authipconf.ini" beside the executable; false when the path is unknown.
bool SettingFilePath(char* path, std::size_t size);

}  // namespace Token
