// Winsock as Windows has it where Wine differs:
// - Winsock 2 calls (WSAEventSelect, WSAIoctl) belong to a program that started Winsock 2:
//   after WSAStartup negotiated 1.x they fail with WSAVERNOTSUPPORTED.
// - A datagram that a connected UDP socket sends to a port nobody listens on comes back as
//   ICMP port-unreachable, which the socket's next recv reports as WSAECONNRESET, unless
//   SIO_UDP_CONNRESET turned that off. Wine reports nothing. Only loopback peers are judged:
//   a port of 127.0.0.0/8 is free when a socket of this layer can bind it.
#include <winsock2.h>
#include <windows.h>
#include <mswsock.h>

#include <map>
#include <mutex>

#include "Wrap.h"

STRICT_REAL(WSAStartup);
STRICT_REAL(WSAEventSelect);
STRICT_REAL(WSAIoctl);
STRICT_REAL(send);
STRICT_REAL(recv);
STRICT_REAL(closesocket);

namespace {

std::mutex g_lock;
WORD g_version = 0;
struct SocketState {
    bool reportsUnreachable = true;
    bool unreachablePending = false;
};
std::map<SOCKET, SocketState> g_sockets;

bool Winsock2()
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (LOBYTE(g_version) >= 2)
        return true;
    WSASetLastError(WSAVERNOTSUPPORTED);
    return false;
}

bool IsUdp(SOCKET s)
{
    int type = 0;
    int size = sizeof type;
    return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) == 0 &&
           type == SOCK_DGRAM;
}

// The socket's peer is a loopback port that no socket holds.
bool PeerUnreachable(SOCKET s)
{
    sockaddr_in peer = {};
    int size = sizeof peer;
    if (getpeername(s, reinterpret_cast<sockaddr*>(&peer), &size) != 0 ||
        peer.sin_family != AF_INET || (ntohl(peer.sin_addr.s_addr) >> 24) != 127)
        return false;
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    if (probe == INVALID_SOCKET)
        return false;
    const bool free = bind(probe, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
    __real___imp_closesocket(probe);
    return free;
}

}  // namespace

static int WINAPI StrictWSAStartup(WORD requested, LPWSADATA data)
{
    const int failed = __real___imp_WSAStartup(requested, data);
    if (!failed) {
        std::lock_guard<std::mutex> hold(g_lock);
        g_version = data->wVersion;
    }
    return failed;
}

static int WINAPI StrictWSAEventSelect(SOCKET s, WSAEVENT event, long events)
{
    if (!Winsock2())
        return SOCKET_ERROR;
    return __real___imp_WSAEventSelect(s, event, events);
}

static int WINAPI StrictWSAIoctl(SOCKET s, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                 DWORD outSize, LPDWORD returned, LPWSAOVERLAPPED overlapped,
                                 LPWSAOVERLAPPED_COMPLETION_ROUTINE completion)
{
    if (!Winsock2())
        return SOCKET_ERROR;
    if (code == SIO_UDP_CONNRESET && in != nullptr && inSize >= sizeof(BOOL)) {
        std::lock_guard<std::mutex> hold(g_lock);
        g_sockets[s].reportsUnreachable = *static_cast<const BOOL*>(in) != FALSE;
    }
    return __real___imp_WSAIoctl(s, code, in, inSize, out, outSize, returned, overlapped,
                                 completion);
}

static int WINAPI StrictSend(SOCKET s, const char* data, int size, int flags)
{
    const int sent = __real___imp_send(s, data, size, flags);
    if (sent >= 0 && IsUdp(s) && PeerUnreachable(s)) {
        std::lock_guard<std::mutex> hold(g_lock);
        SocketState& state = g_sockets[s];
        state.unreachablePending = state.reportsUnreachable;
    }
    return sent;
}

static int WINAPI StrictRecv(SOCKET s, char* buffer, int size, int flags)
{
    {
        std::lock_guard<std::mutex> hold(g_lock);
        SocketState& state = g_sockets[s];
        if (state.unreachablePending) {
            state.unreachablePending = false;
            WSASetLastError(WSAECONNRESET);
            return SOCKET_ERROR;
        }
    }
    return __real___imp_recv(s, buffer, size, flags);
}

static int WINAPI StrictCloseSocket(SOCKET s)
{
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_sockets.erase(s);
    }
    return __real___imp_closesocket(s);
}

STRICT_WRAP(WSAStartup, StrictWSAStartup);
STRICT_WRAP(WSAEventSelect, StrictWSAEventSelect);
STRICT_WRAP(WSAIoctl, StrictWSAIoctl);
STRICT_WRAP(send, StrictSend);
STRICT_WRAP(recv, StrictRecv);
STRICT_WRAP(closesocket, StrictCloseSocket);
