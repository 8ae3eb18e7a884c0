// The real client (the platform's clock, socket and wake-up) against the reference server's
// logic on 127.0.0.1. Routes are faked and a setting file names 127.0.0.1, so nothing
// leaves the loopback.
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
#include <mutex>
#include <thread>
#include <vector>

#include "tests/TokenFakes.h"
#include "token/MervaneImpl.h"
#include "tools/tokend/TokenServer.h"

namespace {

class LoopbackServer {
public:
    LoopbackServer() : m_server(TokenServerOptions())
    {
#if defined(_WIN32)
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackServer()
    {
        m_stop = true;
        m_thread.join();
        closesocket(m_socket);
    }
    std::uint16_t Port() const { return m_port; }
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
            const int got = static_cast<int>(
                recvfrom(m_socket, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&peer), &length));
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
            if (m_server.Handle(peer.sin_addr.s_addr, data, static_cast<std::size_t>(got),
                                static_cast<std::uint64_t>(now.count()), &answer, &seq) &&
                !answer.empty())
                sendto(m_socket, answer.data(), static_cast<int>(answer.size()), 0,
                       reinterpret_cast<sockaddr*>(&peer), sizeof peer);
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
};

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
    // Waits up to 5 s for the n-th event; a copy of it, or kind 0 when none came.
    TokenEvent Event(std::size_t n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_events.size() > n; });
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

TEST(TokenLoopbackTest, RealClientGetsAndChecksACode)
{
    LoopbackServer server;
    const std::string settingPath = "authipconf-loopback.ini";
    std::FILE* file = std::fopen(settingPath.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fputs("serverip=127.0.0.1\r\n", file);
    std::fclose(file);

    tokenfake::Routes routes;
    routes.routes = {{0, 0, tokenfake::Address(127, 0, 0, 2), 1}};
    routes.gateways = {"127.0.0.2"};
    std::unique_ptr<TokenNetwork> network(NewSystemNetwork());
    MervaneImpl client(TokenSeamSet{&SystemClock(), network.get(), &routes, settingPath.c_str()});
    client.SetServerPort(server.Port());
    WaitingSink sink;
    client.SetSink(&sink);
    std::thread worker([&] { client.WorkerMain(); });

    client.Request(kTokenGet);
    const TokenEvent got = sink.Event(0);
    EXPECT_EQ(kTokenGet, got.kind);
    EXPECT_EQ(0, got.result);
    EXPECT_EQ(6u, std::strlen(got.token));
    EXPECT_EQ(60, got.value);
    client.Request(kTokenCheck);
    const TokenEvent checked = sink.Event(1);
    EXPECT_EQ(kTokenCheck, checked.kind);
    EXPECT_EQ(0, checked.result);
    EXPECT_STREQ(got.token, checked.token);
    EXPECT_EQ(1, checked.value);

    client.Stop();
    worker.join();
    std::remove(settingPath.c_str());
    EXPECT_EQ("127.0.0.1 (setting)", sink.Server());
    const std::vector<std::string> seen = server.Seen(4);
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ(0u, seen[0].find("login\r\nName:"));
    EXPECT_EQ("gimmeatoken\r\nSeq:1\r\n", seen[1]);
    EXPECT_EQ("logout\r\n", seen[3]);
}

}  // namespace
