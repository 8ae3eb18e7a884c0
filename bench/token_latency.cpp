// Latency of the token client's request path on the real Winsock socket: from Request to
// the datagram's send, and from Request to the TokenEvent's post, over 1000 get-token
// requests answered by tokend on 127.0.0.1 (the port is the first argument, default 9111).
// Routes are faked and the setting file names 127.0.0.1: nothing leaves the loopback.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "token/MervaneImpl.h"
#include "token/TokenSeams.h"

using namespace Token;

namespace {

double NowMicros()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

class TimedNetwork : public TokenNetwork {
public:
    explicit TimedNetwork(TokenNetwork* real) : m_real(real) {}
    bool Startup() override { return m_real->Startup(); }
    bool HostName(char* name, std::size_t size) override { return m_real->HostName(name, size); }
    bool Resolves(const char* host) override { return m_real->Resolves(host); }
    void Open(const char* address, std::uint16_t port) override { m_real->Open(address, port); }
    bool IsOpen() const override { return m_real->IsOpen(); }
    void Close() override { m_real->Close(); }
    void Send(const char* data, std::size_t size) override
    {
        lastSend = NowMicros();
        m_real->Send(data, size);
    }
    long Receive(char* buffer, std::size_t size) override { return m_real->Receive(buffer, size); }
    bool Wait(std::uint32_t ms) override { return m_real->Wait(ms); }
    void Wake() override { m_real->Wake(); }

    volatile double lastSend = 0;

private:
    std::unique_ptr<TokenNetwork> m_real;
};

class TimedSink : public ResultSink {
public:
    TimedSink() : posted(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    void PostEvent(TokenEvent* event) override
    {
        lastPost = NowMicros();
        lastResult = event->result;
        delete event;
        SetEvent(posted);
    }
    void PostStartFailed(std::int32_t code) override
    {
        lastResult = code;
        SetEvent(posted);
    }
    HANDLE posted;
    volatile double lastPost = 0;
    volatile std::int32_t lastResult = 0;
};

class LoopbackRoutes : public RouteTables {
public:
    bool ReadRoutes(RowArray<RawRoute>& routes) override
    {
        return routes.Append(RawRoute{0, 0, 0x0200007F, 1});  // 0.0.0.0/0 via 127.0.0.2
    }
    bool ReadAdapters(RowArray<AdapterGateway>& adapters) override
    {
        return adapters.Append(AdapterGateway{"127.0.0.2"});
    }
};

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv)
{
    const int port = argc > 1 ? std::atoi(argv[1]) : 9111;
    const int requests = argc > 2 ? std::atoi(argv[2]) : 1000;
    char settingPath[MAX_PATH + 32];
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::snprintf(settingPath, sizeof settingPath, "%slorvik-bench-authipconf.ini", folder);
    FILE* file = std::fopen(settingPath, "wb");
    if (!file)
        return 1;
    std::fputs("serverip=127.0.0.1\r\n", file);
    std::fclose(file);

    TimedNetwork* network = new TimedNetwork(NewSystemNetwork());
    LoopbackRoutes routes;
    TimedSink sink;
    MervaneImpl* client =
        new MervaneImpl(TokenSeamSet{&SystemClock(), network, &routes, settingPath});
    client->SetServerPort(static_cast<std::uint16_t>(port));
    client->Start(&sink);

    std::vector<double> toSend, toPost;
    int failures = 0;
    for (int i = -20; i < requests; ++i) {  // the first 20 warm the session up
        const double queued = NowMicros();
        client->Request(kTokenGet);
        if (WaitForSingleObject(sink.posted, 5000) != WAIT_OBJECT_0 || sink.lastResult != 0) {
            ++failures;
            continue;
        }
        if (i >= 0) {
            toSend.push_back(network->lastSend - queued);
            toPost.push_back(sink.lastPost - queued);
        }
    }
    std::remove(settingPath);
    if (toSend.empty()) {
        std::printf("token_latency: no answers from 127.0.0.1:%d (is tokend running?)\n", port);
        ExitProcess(1);
    }
    std::printf("token_latency: %zu get-token requests against 127.0.0.1:%d, %d failed\n",
                toSend.size(), port, failures);
    std::printf("  queued -> datagram sent:     p50 %7.3f ms   p99 %7.3f ms\n",
                Percentile(toSend, 0.5) / 1000, Percentile(toSend, 0.99) / 1000);
    std::printf("  queued -> TokenEvent posted: p50 %7.3f ms   p99 %7.3f ms\n",
                Percentile(toPost, 0.5) / 1000, Percentile(toPost, 0.99) / 1000);
    std::fflush(stdout);
    ExitProcess(0);  // the worker thread runs on; the client is never stopped
}
