#pragma once
// A simulated café network for the token client: a fake clock that only moves when the
// worker waits, a fake socket whose datagrams arrive at set times, a scripted server, fake
// route tables and a sink that records what the window would get. Nothing sleeps.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "token/MervaneImpl.h"
#include "token/TokenSeams.h"

namespace Token::tokenfake {

struct Datagram {
    std::uint32_t at;  // ms since the simulation began
    std::string bytes;
};

struct Reported {
    std::uint32_t at;
    std::int32_t kind;
    std::int32_t result;
    std::uint32_t tag;
    std::string token;
    std::int32_t value;
};

// A request as the server reads it: its first line and its Seq.
struct Seen {
    std::uint32_t at;
    std::string verb;
    long seq;  // -1 when the datagram has no Seq line
    std::string bytes;
};

inline Seen Parse(std::uint32_t at, const std::string& bytes)
{
    Seen seen{at, bytes.substr(0, bytes.find("\r\n")), -1, bytes};
    const std::size_t seq = bytes.find("Seq:");
    if (seq != std::string::npos)
        seen.seq = std::strtol(bytes.c_str() + seq + 4, nullptr, 10);
    return seen;
}

class Clock : public TickClock {
public:
    explicit Clock(std::uint32_t base) : base(base), now(base) {}
    std::uint32_t Now() override { return now; }
    std::uint32_t Elapsed() const { return now - base; }

    std::uint32_t base;
    std::uint32_t now;
};

class Network : public TokenNetwork {
public:
    explicit Network(Clock& clock) : m_clock(clock) {}

    bool Startup() override
    {
        NoteAttempt();
        return startupWorks;
    }
    bool HostName(char* name, std::size_t size) override
    {
        NoteAttempt();
        if (!hostNameWorks)
            return false;
        std::snprintf(name, size, "%s", hostName.c_str());
        return true;
    }
    bool Resolves(const char*) override { return resolves; }
    void Open(const char* address, std::uint16_t port) override
    {
        open = true;
        openedAddress = address;
        openedPort = port;
    }
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    void Send(const char* data, std::size_t size) override
    {
        sent.push_back(Parse(m_clock.Elapsed(), std::string(data, size)));
        if (onSend)
            onSend(sent.back());
    }
    long Receive(char* buffer, std::size_t size) override
    {
        if (inbox.empty() || inbox.begin()->first > m_clock.Elapsed())
            return kNothingWaiting;
        const std::string bytes = inbox.begin()->second;
        inbox.erase(inbox.begin());
        const std::size_t n = bytes.size() < size ? bytes.size() : size;
        std::memcpy(buffer, bytes.data(), n);
        return static_cast<long>(n);
    }
    // Moves the clock to the first arrival or action within ms, or by ms, never past the
    // horizon. What another thread does meanwhile (duringWait) ends the wait only through Wake.
    bool Wait(std::uint32_t ms) override
    {
        ++waits;
        if (stall > 0) {  // the PC was suspended or the thread starved
            m_clock.now += stall;
            stall = 0;
            return Arrived();
        }
        const std::uint32_t end = std::min(m_clock.Elapsed() + ms, horizon);
        while (!woken.exchange(false)) {
            std::uint32_t until = end;
            if (open && !inbox.empty() && inbox.begin()->first < until)
                until = inbox.begin()->first > m_clock.Elapsed() ? inbox.begin()->first
                                                                 : m_clock.Elapsed();
            if (nextAction && nextAction() < until && nextAction() >= m_clock.Elapsed())
                until = nextAction();
            if (duringWait.empty() || duringWait.begin()->first >= until) {
                m_clock.now = m_clock.base + until;
                break;
            }
            if (duringWait.begin()->first > m_clock.Elapsed())
                m_clock.now = m_clock.base + duringWait.begin()->first;
            const auto action = duringWait.begin()->second;
            duringWait.erase(duringWait.begin());
            action();
        }
        return Arrived();
    }
    void Wake() override { woken = true; }

    // Delivers bytes to the client at elapsed time at.
    void Deliver(std::uint32_t at, const std::string& bytes) { inbox.emplace(at, bytes); }

    bool startupWorks = true;
    bool hostNameWorks = true;
    bool resolves = true;
    std::string hostName = "PC01";
    bool open = false;
    std::string openedAddress;
    std::uint16_t openedPort = 0;
    std::atomic<bool> woken{false};
    int waits = 0;
    std::vector<std::uint32_t> attempts;  // times the client tried to start
    std::uint32_t stall = 0;
    std::uint32_t horizon = UINT32_MAX;  // where the simulation ends
    std::vector<Seen> sent;
    std::multimap<std::uint32_t, std::string> inbox;
    std::function<void(const Seen&)> onSend;
    std::function<std::uint32_t()> nextAction;
    std::multimap<std::uint32_t, std::function<void()>> duringWait;

private:
    void NoteAttempt()
    {
        if (attempts.empty() || attempts.back() != m_clock.Elapsed())
            attempts.push_back(m_clock.Elapsed());
    }

    bool Arrived() const
    {
        return open && !inbox.empty() && inbox.begin()->first <= m_clock.Elapsed();
    }

    Clock& m_clock;
};

inline std::uint32_t Address(unsigned a, unsigned b, unsigned c, unsigned d)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

class Routes : public RouteTables {
public:
    bool ReadRoutes(RowArray<RawRoute>& out) override
    {
        for (const RawRoute& route : routes) {
            if (!out.Append(route))
                return false;
        }
        return routesWork;
    }
    bool ReadAdapters(RowArray<AdapterGateway>& out) override
    {
        for (const std::string& gateway : gateways) {
            AdapterGateway a = {};
            std::snprintf(a.address, sizeof a.address, "%s", gateway.c_str());
            if (!out.Append(a))
                return false;
        }
        return adaptersWork;
    }

    bool routesWork = true;
    bool adaptersWork = true;
    std::vector<RawRoute> routes{{0, 0, Address(192, 168, 1, 1), 10}};
    std::vector<std::string> gateways{"192.168.1.1"};
};

class Sink : public ResultSink {
public:
    explicit Sink(Clock& clock) : m_clock(clock) {}
    void PostEvent(TokenEvent* e) override
    {
        events.push_back(Reported{m_clock.Elapsed(), e->kind, e->result, e->tag,
                                  std::string(e->token, strnlen(e->token, sizeof e->token)),
                                  e->value});
        delete e;
    }
    void PostStartFailed(std::int32_t code) override { startFailures.push_back(code); }
    void ServerFound(const char* address, bool fromSetting) override
    {
        server = address;
        serverFromSetting = fromSetting;
    }
    void LoginAnswered(std::int32_t result) override { logins.push_back(result); }

    std::vector<Reported> events;
    std::vector<std::int32_t> logins;  // the answers to the session's logins
    std::vector<std::int32_t> startFailures;
    std::string server;
    bool serverFromSetting = false;

private:
    Clock& m_clock;
};

// A well-behaved token server: every request answered after `delay` ms, except the verbs
// in `silent`; verbs in `refuse` get `refusal` as their result.
struct Server {
    std::uint32_t delay = 5;
    std::vector<std::string> silent;
    std::map<std::string, int> refuse;
    std::string token = "123456";
    int ttl = 60;

    std::string Answer(const Seen& request) const
    {
        for (const std::string& verb : silent) {
            if (verb == request.verb || verb == "*")
                return {};
        }
        const auto refusal = refuse.find(request.verb);
        const int result = refusal != refuse.end() ? refusal->second : 0;
        std::string answer =
            std::to_string(result) + "\r\nSeq:" + std::to_string(request.seq) + "\r\n";
        if (result == 0 && request.verb == "gimmeatoken")
            answer += "Token:" + token + "\r\nToken-TTL:" + std::to_string(ttl) + "\r\n";
        if (result == 0 && request.verb == "checktoken")
            answer += "Token:" + token + "\r\nToken-Valid:true\r\n";
        return answer;
    }
};

// The client on the fakes, with a server and timed calls of the window.
class Cafe {
public:
    // Without a random source every PC waits the same, the longest of each spread wait.
    explicit Cafe(std::uint32_t clockBase = 1000, RandomSource* random = nullptr)
        : clock(clockBase), network(clock), sink(clock),
          client(TokenSeamSet{&clock, &network, &routes, "/nonexistent/authipconf.ini", random})
    {
        client.SetSink(&sink);
        network.onSend = [this](const Seen& request) {
            if (!serverUp)
                return;
            const std::string answer = server.Answer(request);
            if (!answer.empty())
                network.Deliver(request.at + server.delay, answer);
        };
        network.nextAction = [this]() {
            return actions.empty() ? UINT32_MAX : actions.begin()->first;
        };
    }

    // At elapsed time at, while the worker waits, the window queues a request of kind.
    void RequestAt(std::uint32_t at, std::int32_t kind)
    {
        network.duringWait.emplace(at, [this, kind] { client.Request(kind); });
    }
    void At(std::uint32_t at, std::function<void()> action)
    {
        actions.emplace(at, std::move(action));
    }

    void RunUntil(std::uint32_t elapsed)
    {
        network.horizon = elapsed;
        while (clock.Elapsed() < elapsed) {
            while (!actions.empty() && actions.begin()->first <= clock.Elapsed()) {
                auto action = actions.begin()->second;
                actions.erase(actions.begin());
                action();
            }
            client.Step();
        }
    }

    std::vector<Seen> SentVerb(const std::string& verb) const
    {
        std::vector<Seen> found;
        for (const Seen& s : network.sent) {
            if (s.verb == verb)
                found.push_back(s);
        }
        return found;
    }

    Clock clock;
    Network network;
    Routes routes;
    Sink sink;
    Server server;
    bool serverUp = true;
    MervaneImpl client;
    std::multimap<std::uint32_t, std::function<void()>> actions;
};

}  // namespace Token::tokenfake
