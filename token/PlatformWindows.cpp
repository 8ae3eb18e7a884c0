// The client's seams on Windows: GetTickCount, Winsock, IP Helper, a critical section and
// CreateThread.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <mswsock.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "token/QueueLock.h"
#include "token/WorkerThread.h"
#include "token/TokenSeams.h"

namespace Token {

namespace {

class TickCountClock : public TickClock {
public:
    std::uint32_t Now() override { return GetTickCount(); }
};

// The connected UDP socket. Its readiness and the wake-up share one wait through events,
// so a queued request ends the worker's wait at once. Both events reset themselves when
// the wait takes them, which spares a call to the server of the system per wait.
class WinsockNetwork : public TokenNetwork {
public:
    WinsockNetwork()
        : m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
          m_readable(CreateEventA(nullptr, FALSE, FALSE, nullptr))
    {
    }

    ~WinsockNetwork() override
    {
        Close();
        CloseHandle(m_wake);
        CloseHandle(m_readable);
    }

    // The socket is driven by Winsock 2 calls (WSAEventSelect, WSAIoctl): 2.2 it must be.
    bool Startup() override
    {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return false;
        if (data.wVersion == MAKEWORD(2, 2))
            return true;
        WSACleanup();
        return false;
    }

    bool HostName(char* name, std::size_t size) override
    {
        return gethostname(name, static_cast<int>(size)) == 0;
    }

    bool Resolves(const char* hostName) override { return gethostbyname(hostName) != nullptr; }

    void Open(const char* address, std::uint16_t port) override
    {
        Close();
        m_socket = socket(AF_INET, SOCK_DGRAM, 0);
        if (m_socket == INVALID_SOCKET)
            return;
        u_long nonBlocking = 1;
        if (ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0 ||
            WSAEventSelect(m_socket, m_readable, FD_READ) != 0) {
            Close();
            return;
        }
        IgnorePortUnreachable();
        sockaddr_in server = {};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        server.sin_addr.s_addr = inet_addr(address);
        // An address that does not parse would aim at the broadcast address, and a socket
        // that is not connected would have nowhere to send: none is better.
        if (server.sin_addr.s_addr == INADDR_NONE ||
            connect(m_socket, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0)
            Close();
    }

    bool IsOpen() const override { return m_socket != INVALID_SOCKET; }

    void Close() override
    {
        if (m_socket == INVALID_SOCKET)
            return;
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
        ResetEvent(m_readable);
    }

    void Send(const char* data, std::size_t size) override
    {
        if (m_socket != INVALID_SOCKET)
            send(m_socket, data, static_cast<int>(size), 0);
    }

    long Receive(char* buffer, std::size_t size) override
    {
        if (m_socket == INVALID_SOCKET)
            return kNothingWaiting;
        const int got = recv(m_socket, buffer, static_cast<int>(size), 0);
        if (got >= 0)
            return got;
        return WSAGetLastError() == WSAEWOULDBLOCK ? kNothingWaiting : kReceiveError;
    }

    bool Wait(std::uint32_t ms) override
    {
        if (m_socket == INVALID_SOCKET) {
            WaitForSingleObject(m_wake, ms);
            return false;
        }
        // Readiness first: when both are signalled, the wait takes (and resets) the datagram's
        // event, and the wake-up ends the next wait at once.
        const HANDLE handles[] = {m_readable, m_wake};
        // The socket is read after a timeout too, not only when FD_READ fired: once a
        // datagram sent while the server was away came back as an error, Wine signals no
        // FD_READ until recv is called again, and the client would never hear the server
        // again. Every request in flight has a deadline, so such a read comes soon. Only a
        // bare wake-up (a request queued) needs no read.
        return WaitForMultipleObjects(2, handles, FALSE, ms) != WAIT_OBJECT_0 + 1;
    }

    void Wake() override { SetEvent(m_wake); }

private:
    // A datagram sent while the server is away comes back as ICMP port-unreachable, which
    // Windows would report as WSAECONNRESET at the next recv of a UDP socket; the answer
    // the client waits for may still come. Should the switch be refused, the socket still
    // works: each such error costs one Receive, which the client consumes.
    void IgnorePortUnreachable()
    {
        BOOL report = FALSE;
        DWORD returned = 0;
        WSAIoctl(m_socket, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned,
                 nullptr, nullptr);
    }

    SOCKET m_socket = INVALID_SOCKET;
    HANDLE m_wake;
    HANDLE m_readable;
};

// IP Helper is no KnownDLL: it is loaded from the system folder at run time, never from
// beside the program. The loader takes the folder by flag where it knows the flag, by full
// path where it does not (Windows 7 without KB2533623).
HMODULE LoadIpHelper()
{
    const char kName[] = "iphlpapi.dll";
    if (const HMODULE module = LoadLibraryExA(kName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    char path[MAX_PATH] = {};
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (folder == 0 || folder + sizeof kName + 1 > MAX_PATH)
        return nullptr;
    std::snprintf(path + folder, MAX_PATH - folder, "\\%s", kName);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <class Proc>
Proc IpHelperProc(const char* name)
{
    static const HMODULE module = LoadIpHelper();
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class IpHelperRoutes : public RouteTables {
public:
    bool ReadRoutes(RowArray<RawRoute>& routes) override
    {
        using TableProc = DWORD(WINAPI*)(MIB_IPFORWARDTABLE*, ULONG*, BOOL);
        static const TableProc readTable = IpHelperProc<TableProc>("GetIpForwardTable");
        if (readTable == nullptr)
            return false;
        ULONG size = 0;
        if (readTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER)
            return false;
        RowArray<unsigned char> block;
        if (!block.Resize(size))
            return false;
        auto* table = reinterpret_cast<MIB_IPFORWARDTABLE*>(block.Data());
        if (readTable(table, &size, FALSE) != NO_ERROR)
            return false;
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            const MIB_IPFORWARDROW& row = table->table[i];
            if (!routes.Append(RawRoute{row.dwForwardDest, row.dwForwardMask, row.dwForwardNextHop,
                                        row.dwForwardMetric1}))
                return false;
        }
        return true;
    }

    bool ReadAdapters(RowArray<AdapterGateway>& adapters) override
    {
        using AdaptersProc = DWORD(WINAPI*)(IP_ADAPTER_INFO*, ULONG*);
        static const AdaptersProc readAdapters = IpHelperProc<AdaptersProc>("GetAdaptersInfo");
        if (readAdapters == nullptr)
            return false;
        RowArray<unsigned char> block;
        if (!block.Resize(648))
            return false;
        ULONG size = static_cast<ULONG>(block.Count());
        DWORD status = readAdapters(reinterpret_cast<IP_ADAPTER_INFO*>(block.Data()), &size);
        if (status == ERROR_BUFFER_OVERFLOW) {
            if (!block.Resize(size))
                return false;
            status = readAdapters(reinterpret_cast<IP_ADAPTER_INFO*>(block.Data()), &size);
        }
        if (status != NO_ERROR)
            return false;
        for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(block.Data()); a; a = a->Next) {
            AdapterGateway gateway = {};
            std::snprintf(gateway.address, sizeof gateway.address, "%s",
                          a->GatewayList.IpAddress.String);
            if (!adapters.Append(gateway))
                return false;
        }
        return true;
    }
};

}  // namespace

TickClock& SystemClock()
{
    static TickCountClock clock;
    return clock;
}

TokenNetwork* NewSystemNetwork()
{
    return new WinsockNetwork();
}

RouteTables& SystemRoutes()
{
    static IpHelperRoutes routes;
    return routes;
}

// The performance counter at the first use differs between PCs started together.
RandomSource& SystemRandom()
{
    static SeededRandom random([] {
        LARGE_INTEGER counter = {};
        QueryPerformanceCounter(&counter);  // never fails on Windows XP and later
        return static_cast<std::uint32_t>(counter.QuadPart ^ (counter.QuadPart >> 32)) ^
               GetCurrentProcessId() * 2654435761u;
    }());
    return random;
}

bool SettingFilePath(char* path, std::size_t size)
{
    char module[1000] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module)
        return false;
    char* slash = std::strrchr(module, '\\');
    if (slash)
        slash[1] = '\0';
    else
        module[0] = '\0';
    const int written = std::snprintf(path, size, "%sauthipconf.ini", module);
    return written > 0 && static_cast<std::size_t>(written) < size;
}

static_assert(sizeof(CRITICAL_SECTION) <= 64, "QueueLock storage");

QueueLock::QueueLock()
{
    InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}

QueueLock::~QueueLock()
{
    DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}

void QueueLock::Enter()
{
    EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}

void QueueLock::Leave()
{
    LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}

namespace {

struct ThreadStart {
    void (*main)(void*);
    void* arg;
};

DWORD WINAPI ThreadMain(LPVOID param)
{
    const ThreadStart start = *static_cast<ThreadStart*>(param);
    delete static_cast<ThreadStart*>(param);
    start.main(start.arg);
    return 0;
}

}  // namespace

bool WorkerThread::Start(void (*main)(void*), void* arg)
{
    if (m_running)
        return false;
    ThreadStart* start = new (std::nothrow) ThreadStart{main, arg};
    if (!start)
        return false;
    HANDLE thread = CreateThread(nullptr, 0, &ThreadMain, start, 0, nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    m_handle = reinterpret_cast<std::uintptr_t>(thread);
    m_running = true;
    return true;
}

void WorkerThread::Join()
{
    if (!m_running)
        return;
    HANDLE thread = reinterpret_cast<HANDLE>(m_handle);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    m_running = false;
}

WorkerThread::~WorkerThread()
{
    Join();
}

}  // namespace Token
