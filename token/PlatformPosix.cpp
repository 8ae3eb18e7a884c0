// The client's seams on POSIX systems, so the whole client also runs natively: a monotonic
// clock, a UDP socket with a wake-up pipe, the kernel's route table, a mutex and pthreads.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <new>

#include "token/QueueLock.h"
#include "token/WorkerThread.h"
#include "token/TokenSeams.h"

namespace Token {

namespace {

class MonotonicClock : public TickClock {
public:
    std::uint32_t Now() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

void SetNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

class PosixNetwork : public TokenNetwork {
public:
    PosixNetwork()
    {
        if (pipe(m_wake) == 0) {
            SetNonBlocking(m_wake[0]);
            SetNonBlocking(m_wake[1]);
        }
    }

    ~PosixNetwork() override
    {
        Close();
        close(m_wake[0]);
        close(m_wake[1]);
    }

    bool Startup() override { return m_wake[0] >= 0; }

    bool HostName(char* name, std::size_t size) override { return gethostname(name, size) == 0; }

    bool Resolves(const char* hostName) override
    {
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (getaddrinfo(hostName, nullptr, &hints, &found) != 0)
            return false;
        freeaddrinfo(found);
        return true;
    }

    void Open(const char* address, std::uint16_t port) override
    {
        Close();
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        if (m_socket < 0)
            return;
        SetNonBlocking(m_socket);
        sockaddr_in server = {};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        // A socket that is not connected would have nowhere to send: none is better.
        if (inet_pton(AF_INET, address, &server.sin_addr) != 1 ||
            connect(m_socket, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0)
            Close();
    }

    bool IsOpen() const override { return m_socket >= 0; }

    void Close() override
    {
        if (m_socket >= 0)
            close(m_socket);
        m_socket = -1;
    }

    void Send(const char* data, std::size_t size) override
    {
        if (m_socket >= 0)
            send(m_socket, data, size, MSG_NOSIGNAL);
    }

    long Receive(char* buffer, std::size_t size) override
    {
        if (m_socket < 0)
            return kNothingWaiting;
        const ssize_t got = recv(m_socket, buffer, size, 0);
        if (got >= 0)
            return static_cast<long>(got);
        return errno == EAGAIN || errno == EWOULDBLOCK ? kNothingWaiting : kReceiveError;
    }

    bool Wait(std::uint32_t ms) override
    {
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {m_socket, POLLIN, 0}};
        if (poll(fds, m_socket >= 0 ? 2 : 1, static_cast<int>(ms)) <= 0)
            return false;
        char drain[64];
        while (read(m_wake[0], drain, sizeof drain) > 0) {
        }
        return (fds[1].revents & (POLLIN | POLLERR)) != 0;
    }

    void Wake() override
    {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = write(m_wake[1], &byte, 1);
    }

private:
    int m_socket = -1;
    int m_wake[2] = {-1, -1};
};

// /proc/net/route; an interface's first gateway route stands for its adapter's gateway.
class KernelRoutes : public RouteTables {
public:
    bool ReadRoutes(RowArray<RawRoute>& routes) override
    {
        return ForEachRow(
            [&](const char*, const RawRoute& row, unsigned) { return routes.Append(row); });
    }

    bool ReadAdapters(RowArray<AdapterGateway>& adapters) override
    {
        RowArray<InterfaceName> names;
        return ForEachRow([&](const char* name, const RawRoute& row, unsigned flags) {
            const bool gatewayRoute = (flags & 0x2) != 0;
            for (std::size_t i = 0; i < names.Count(); ++i) {
                if (std::strcmp(names[i].text, name) == 0) {
                    if (adapters[i].address[0] == '\0' && gatewayRoute)
                        inet_ntop(AF_INET, &row.nextHop, adapters[i].address,
                                  sizeof adapters[i].address);
                    return true;
                }
            }
            InterfaceName known = {};
            std::snprintf(known.text, sizeof known.text, "%s", name);
            AdapterGateway gateway = {};
            if (gatewayRoute)
                inet_ntop(AF_INET, &row.nextHop, gateway.address, sizeof gateway.address);
            return names.Append(known) && adapters.Append(gateway);
        });
    }

private:
    struct InterfaceName {
        char text[64];
    };

    // Visits every row while visit returns true; false when the file cannot be read or a
    // visit failed.
    template <typename Visit>
    bool ForEachRow(Visit visit)
    {
        std::FILE* file = std::fopen("/proc/net/route", "r");
        if (!file)
            return false;
        char line[512];
        bool header = true;
        bool visited = true;
        while (visited && std::fgets(line, sizeof line, file)) {
            if (header) {
                header = false;
                continue;
            }
            char name[64];
            unsigned destination, gateway, flags, refs, use, metric, mask;
            if (std::sscanf(line, "%63s %x %x %x %u %u %u %x", name, &destination, &gateway, &flags,
                            &refs, &use, &metric, &mask) == 8)
                visited = visit(name, RawRoute{destination, mask, gateway, metric}, flags);
        }
        std::fclose(file);
        return visited;
    }
};

}  // namespace

TickClock& SystemClock()
{
    static MonotonicClock clock;
    return clock;
}

TokenNetwork* NewSystemNetwork()
{
    return new PosixNetwork();
}

RouteTables& SystemRoutes()
{
    static KernelRoutes routes;
    return routes;
}

RandomSource& SystemRandom()
{
    static SeededRandom random([] {
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        return static_cast<std::uint32_t>(ticks ^ (ticks >> 32)) ^
               static_cast<std::uint32_t>(getpid()) * 2654435761u;
    }());
    return random;
}

bool SettingFilePath(char* path, std::size_t size)
{
    char module[1000] = {};
    const ssize_t length = readlink("/proc/self/exe", module, sizeof module - 1);
    if (length <= 0)
        return false;
    char* slash = std::strrchr(module, '/');
    if (slash)
        slash[1] = '\0';
    const int written = std::snprintf(path, size, "%sauthipconf.ini", module);
    return written > 0 && static_cast<std::size_t>(written) < size;
}

static_assert(sizeof(pthread_mutex_t) <= 64, "QueueLock storage");
static_assert(sizeof(pthread_t) <= sizeof(std::uintptr_t), "WorkerThread handle");

QueueLock::QueueLock()
{
    pthread_mutex_init(reinterpret_cast<pthread_mutex_t*>(m_storage), nullptr);
}

QueueLock::~QueueLock()
{
    pthread_mutex_destroy(reinterpret_cast<pthread_mutex_t*>(m_storage));
}

void QueueLock::Enter()
{
    pthread_mutex_lock(reinterpret_cast<pthread_mutex_t*>(m_storage));
}

void QueueLock::Leave()
{
    pthread_mutex_unlock(reinterpret_cast<pthread_mutex_t*>(m_storage));
}

namespace {

struct ThreadStart {
    void (*main)(void*);
    void* arg;
};

void* ThreadMain(void* param)
{
    const ThreadStart start = *static_cast<ThreadStart*>(param);
    delete static_cast<ThreadStart*>(param);
    start.main(start.arg);
    return nullptr;
}

}  // namespace

bool WorkerThread::Start(void (*main)(void*), void* arg)
{
    if (m_running)
        return false;
    ThreadStart* start = new (std::nothrow) ThreadStart{main, arg};
    if (!start)
        return false;
    pthread_t thread;
    if (pthread_create(&thread, nullptr, &ThreadMain, start) != 0) {
        delete start;
        return false;
    }
    m_handle = static_cast<std::uintptr_t>(thread);
    m_running = true;
    return true;
}

void WorkerThread::Join()
{
    if (!m_running)
        return;
    pthread_join(static_cast<pthread_t>(m_handle), nullptr);
    m_running = false;
}

WorkerThread::~WorkerThread()
{
    Join();
}

}  // namespace Token
