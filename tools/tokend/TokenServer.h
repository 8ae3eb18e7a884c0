#pragma once
// TokenServer: the token server's side of the protocol, without sockets or clocks of its
// own, so tests and the tokend program share it. One call per received datagram.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>

struct TokenServerOptions {
    std::uint32_t tokenLifetime = 60;    // seconds a code stays valid
    std::uint32_t sessionTimeout = 120;  // seconds without a request before a PC is logged out
    std::uint32_t deviceLimit = 0;       // admitted devices before "limit reached"; 0: none
    std::int32_t admitAfter = -1;        // a code checked this many seconds after issue is admitted
    std::size_t maxPcs = 4096;           // PCs remembered at once
    std::string fixedCode;               // every code issued is this text (one PC only)
    std::int32_t revokeAfter = -1;       // a code is revoked this many seconds after issue
};

struct TokenServerStats {
    std::uint64_t requests = 0;
    std::uint64_t ignored = 0;
    std::uint64_t answers = 0;
    std::uint64_t logins = 0;
    std::uint64_t codes = 0;
    std::uint64_t refusedNotLoggedIn = 0;
};

class TokenServer {
public:
    static const std::size_t kMaxName = 63;

    explicit TokenServer(const TokenServerOptions& options, std::uint32_t seed = 1);

    // Handles one datagram from the PC at peer (its IPv4 address), at now (ms). Returns
    // false when it is ignored; otherwise *answer is the reply (empty: none is due) and
    // *seq the request's Seq.
    bool Handle(std::uint32_t peer, const char* data, std::size_t size, std::uint64_t now,
                std::string* answer, long* seq);

    // Marks a live code as admitted (the phone that used it is on the network).
    bool Admit(const std::string& code);

    std::size_t PcCount() const { return m_pcs.size(); }
    std::size_t CodeCount() const { return m_codes.size(); }
    const TokenServerStats& Stats() const { return m_stats; }

private:
    struct Pc {
        std::string name;
        bool loggedIn = false;
        std::uint64_t lastSeen = 0;
        std::string code;  // its live code, if any
    };
    struct Code {
        std::uint32_t owner;
        std::uint64_t issued;
        std::uint64_t expires;
        bool admitted = false;
    };

    Pc* FindPc(std::uint32_t peer, std::uint64_t now);
    Pc* MakePc(std::uint32_t peer, std::uint64_t now);
    void Forget(Pc& pc);
    std::string NewCode();
    void DropExpired(std::uint64_t now);
    std::string Answer(std::int32_t result, long seq, const std::string& fields = std::string());

    TokenServerOptions m_options;
    std::mt19937 m_random;
    std::unordered_map<std::uint32_t, Pc> m_pcs;
    std::unordered_map<std::string, Code> m_codes;
    std::uint32_t m_admitted = 0;
    TokenServerStats m_stats;
    std::uint64_t m_lastSweep = 0;
};
