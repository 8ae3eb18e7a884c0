// The real client (the platform's clock, socket and wake-up) against the reference server's
// logic on 127.0.0.1. Routes are faked, a setting file names 127.0.0.1 and the host name
// checked at start is 127.0.0.1, so nothing leaves the loopback, not even a name lookup.
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
typedef int socklen_t;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#define closesocket close
typedef int SOCKET;
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/TokenFakes.h"
#include "token/MervaneImpl.h"
#include "tools/tokend/TokenServer.h"

using namespace Token;

namespace {

// A datagram socket bound to the given port of 127.0.0.1 (0: a free one), and the port it got.
SOCKET BindLoopback(std::uint16_t port, std::uint16_t& bound)
{
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    bound = ntohs(address.sin_port);
    return s;
}

class LoopbackServer {
public:
    // On the given port of 127.0.0.1, or on a free one.
    explicit LoopbackServer(std::uint16_t port = 0) : m_server(TokenServerOptions())
    {
#if defined(_WIN32)
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        m_socket = BindLoopback(port, m_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackServer()
    {
        m_stop = true;
        m_thread.join();
        closesocket(m_socket);
    }
    std::uint16_t Port() const
    {
        return m_port;
    }
    // Waits up to 5 s until count answers have been sent.
    bool Answered(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_arrived.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return m_answered >= count; });
    }
    // What arrived, once at least count datagrams have or 5 s have passed: the last one
    // may still be on its way when the client has already finished.
    std::vector<std::string> Seen(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait_for(lock, std::chrono::seconds(5), [&] { return m_seen.size() >= count; });
        return m_seen;
    }

private:
    void Serve()
    {
        const auto start = std::chrono::steady_clock::now();
        while (!m_stop) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_socket, &readable);
            timeval wait = {0, 20000};
            if (select(static_cast<int>(m_socket + 1), &readable, nullptr, nullptr, &wait) <= 0)
                continue;
            char data[2048];
            sockaddr_in peer = {};
            socklen_t length = sizeof peer;
            const int got = static_cast<int>(recvfrom(m_socket, data, sizeof data, 0,
                                                      reinterpret_cast<sockaddr*>(&peer), &length));
            if (got <= 0)
                continue;
            std::string answer;
            long seq = 0;
            const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.emplace_back(data, static_cast<std::size_t>(got));
            }
            m_arrived.notify_all();
            if (!m_server.Handle(peer.sin_addr.s_addr, data, static_cast<std::size_t>(got),
                                 static_cast<std::uint64_t>(now.count()), &answer, &seq) ||
                answer.empty())
                continue;
            sendto(m_socket, answer.data(), static_cast<int>(answer.size()), 0,
                   reinterpret_cast<sockaddr*>(&peer), sizeof peer);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_answered;
            }
            m_arrived.notify_all();
        }
    }

    TokenServer m_server;
    SOCKET m_socket;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<std::string> m_seen;
    std::size_t m_answered = 0;
};

// The platform's network under the host name "127.0.0.1": the start's check that the host
// name resolves then needs neither /etc/hosts nor DNS, which a minimal machine lacks.
class LoopbackNamedNetwork : public TokenNetwork {
public:
    LoopbackNamedNetwork() : m_system(NewSystemNetwork()) {}
    bool Startup() override { return m_system->Startup(); }
    bool HostName(char* name, std::size_t size) override
    {
        return std::snprintf(name, size, "127.0.0.1") == 9;
    }
    bool Resolves(const char* hostName) override { return m_system->Resolves(hostName); }
    void Open(const char* address, std::uint16_t port) override { m_system->Open(address, port); }
    bool IsOpen() const override { return m_system->IsOpen(); }
    void Close() override { m_system->Close(); }
    void Send(const char* data, std::size_t size) override { m_system->Send(data, size); }
    long Receive(char* buffer, std::size_t size) override
    {
        return m_system->Receive(buffer, size);
    }
    bool Wait(std::uint32_t ms) override { return m_system->Wait(ms); }
    void Wake() override { m_system->Wake(); }

private:
    std::unique_ptr<TokenNetwork> m_system;
};

const char* StartFailureText(std::int32_t code)
{
    switch (code) {
    case kStartNoWinsock:
        return "the socket layer did not start";
    case kStartNoHostName:
        return "the machine has no host name";
    case kStartHostUnresolved:
        return "the host name does not resolve";
    case kStartNoServer:
        return "no server address";
    default:
        return "unknown";
    }
}

class WaitingSink : public ResultSink {
public:
    void PostEvent(TokenEvent* event) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(*event);
        delete event;
        m_changed.notify_all();
    }
    void PostStartFailed(std::int32_t code) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failures.push_back(code);
        m_changed.notify_all();
    }
    void ServerFound(const char* address, bool fromSetting) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_server = address;
        m_fromSetting = fromSetting;
    }
    // Waits up to 5 s for the n-th event; a copy of it, or kind 0 when none came. A failed
    // start fails the test with its reason: the events then only say "no answer".
    TokenEvent Event(std::size_t n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_events.size() > n; });
        for (const std::int32_t code : m_failures)
            ADD_FAILURE() << "the client could not start: " << StartFailureText(code) << " ("
                          << code << ")";
        m_failures.clear();
        return m_events.size() > n ? m_events[n] : TokenEvent{};
    }
    std::string Server()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_server + (m_fromSetting ? " (setting)" : " (gateway)");
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<TokenEvent> m_events;
    std::vector<std::int32_t> m_failures;
    std::string m_server;
    bool m_fromSetting = false;
};

// The client on the platform's clock and socket, aimed at the server through a setting
// file naming 127.0.0.1 (the faked gateway is never used).
class LoopbackClient {
public:
    explicit LoopbackClient(LoopbackServer& server) : LoopbackClient(server.Port()) {}
    explicit LoopbackClient(std::uint16_t port)
        : m_settingPath("authipconf-loopback-" + std::to_string(port) + ".ini"),
          m_network(new LoopbackNamedNetwork()),
          m_client(new MervaneImpl(
              TokenSeamSet{&SystemClock(), m_network.get(), &m_routes, m_settingPath.c_str()}))
    {
        std::FILE* file = std::fopen(m_settingPath.c_str(), "wb");
        if (file) {
            std::fputs("serverip=127.0.0.1\r\n", file);
            std::fclose(file);
        }
        m_routes.routes = {{0, 0, tokenfake::Address(127, 0, 0, 2), 1}};
        m_routes.gateways = {"127.0.0.2"};
        m_client->SetServerPort(port);
    }
    ~LoopbackClient()
    {
        m_client.reset();
        std::remove(m_settingPath.c_str());
    }
    MervaneImpl& operator*() { return *m_client; }
    MervaneImpl* operator->() { return m_client.get(); }
    TokenNetwork& Network() { return *m_network; }
    // Deletes the client; the network outlives it.
    void Delete() { m_client.reset(); }

private:
    std::string m_settingPath;
    tokenfake::Routes m_routes;
    std::unique_ptr<TokenNetwork> m_network;
    std::unique_ptr<MervaneImpl> m_client;
};

// A port of 127.0.0.1 that nothing listens on: datagrams sent there come back as errors.
// Winsock is started for the probe and stopped again, so a caller's own start stays the one
// that counts.
std::uint16_t UnusedPort()
{
#if defined(_WIN32)
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    std::uint16_t port = 0;
    closesocket(BindLoopback(0, port));
#if defined(_WIN32)
    WSACleanup();
#endif
    return port;
}

std::string Verb(const std::string& datagram)
{
    return datagram.substr(0, datagram.find("\r\n"));
}

TEST(TokenLoopbackTest, RealClientGetsAndChecksACode)
{
    LoopbackServer server;
    LoopbackClient client(server);
    WaitingSink sink;
    ASSERT_TRUE(client->Start(&sink));

    client->Request(kTokenGet);
    const TokenEvent got = sink.Event(0);
    EXPECT_EQ(kTokenGet, got.kind);
    EXPECT_EQ(0, got.result);
    EXPECT_EQ(6u, std::strlen(got.token));
    EXPECT_EQ(60, got.value);
    client->Request(kTokenCheck);
    const TokenEvent checked = sink.Event(1);
    EXPECT_EQ(kTokenCheck, checked.kind);
    EXPECT_EQ(0, checked.result);
    EXPECT_STREQ(got.token, checked.token);
    EXPECT_EQ(1, checked.value);

    client->Stop();
    EXPECT_EQ("127.0.0.1 (setting)", sink.Server());
    const std::vector<std::string> seen = server.Seen(4);
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ(0u, seen[0].find("login\r\nName:"));
    EXPECT_EQ("gimmeatoken\r\nSeq:1\r\n", seen[1]);
    EXPECT_EQ("logout\r\n", seen[3]);
}

TEST(TokenLoopbackTest, StopEndsTheWorkerAndStartBeginsANewSession)
{
    LoopbackServer server;
    LoopbackClient client(server);
    WaitingSink sink;
    ASSERT_TRUE(client->Start(&sink));
    EXPECT_TRUE(client->Start(&sink));  // a second worker would log in twice
    for (std::size_t run = 0; run < 2; ++run) {
        if (run > 0) {
            ASSERT_TRUE(client->Start(&sink));
        }
        client->Request(kTokenGet);
        const TokenEvent got = sink.Event(run);
        EXPECT_EQ(kTokenGet, got.kind) << run;
        EXPECT_EQ(0, got.result) << run;
        client->Stop();
        // Returned only once the worker has closed the session.
        EXPECT_FALSE(client.Network().IsOpen()) << run;
    }
    client.Delete();  // the worker must be gone: nothing may touch the freed client

    const std::vector<std::string> seen = server.Seen(6);
    std::vector<std::string> verbs;
    for (const std::string& datagram : seen)
        verbs.push_back(Verb(datagram));
    EXPECT_EQ((std::vector<std::string>{"login", "gimmeatoken", "logout", "login", "gimmeatoken",
                                        "logout"}),
              verbs);
}

// A wake and an answer at the same moment: the wait must report the answer, or the
// timeouts run as if it had not come.
TEST(TokenLoopbackTest, WakeArrivingWithAnAnswerDoesNotHideIt)
{
    LoopbackServer server;
    std::unique_ptr<TokenNetwork> network(NewSystemNetwork());
    ASSERT_TRUE(network->Startup());
    network->Open("127.0.0.1", server.Port());
    const std::string login = "login\r\nName:PC01\r\nSeq:0\r\n";
    network->Send(login.data(), login.size());
    ASSERT_TRUE(server.Answered(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the answer is at the socket
    network->Wake();
    EXPECT_TRUE(network->Wait(100));
    char answer[64];
    EXPECT_EQ(10, network->Receive(answer, sizeof answer));  // "0\r\nSeq:0\r\n"
}

#if defined(LORVIK_STRICT)
// As on Windows: the socket's Winsock 2 calls need a Winsock 2 start, and a datagram sent
// while the server is away would come back as an error at the next read.
TEST(TokenLoopbackTest, TheSocketIsWinsock2AndHearsNoPortUnreachable)
{
    const std::uint16_t port = UnusedPort();  // before the start under test: its start counts
    std::unique_ptr<TokenNetwork> network(NewSystemNetwork());
    ASSERT_TRUE(network->Startup());
    network->Open("127.0.0.1", port);
    ASSERT_TRUE(network->IsOpen());
    const std::string login = "login\r\nName:PC01\r\nSeq:0\r\n";
    network->Send(login.data(), login.size());
    char answer[64];
    EXPECT_EQ(TokenNetwork::kNothingWaiting, network->Receive(answer, sizeof answer));
}
#endif

TEST(TokenLoopbackTest, RealClientHearsTheServerAgainAfterItWasAway)
{
    const std::uint16_t port = UnusedPort();
    LoopbackClient client(port);
    WaitingSink sink;
    ASSERT_TRUE(client->Start(&sink));
    client->Request(kTokenGet);
    EXPECT_EQ(-1, sink.Event(0).result);

    LoopbackServer server(port);
    ASSERT_EQ(port, server.Port());
    client->Request(kTokenGet);
    const TokenEvent got = sink.Event(1);
    EXPECT_EQ(kTokenGet, got.kind);
    EXPECT_EQ(0, got.result);
}

}  // namespace
