// tokend: a reference token server for testing the client, with fault injection. It binds
// only where it is told (default 127.0.0.1:9110), logs one line per datagram and prints
// its statistics when it ends (Ctrl-C, SIGTERM or --duration).
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
typedef int socklen_t;
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>

#include "tools/tokend/TokenServer.h"

namespace {

const char kUsage[] =
    "usage: tokend [options]\n"
    "A token server for testing: answers login, logout, gimmeatoken, checktoken, status\n"
    "and heartbeat over UDP, one log line per datagram, statistics on exit.\n"
    "\n"
    "  --bind ADDR          address to listen on (default 127.0.0.1)\n"
    "  --port N             UDP port (default 9110)\n"
    "  --lifetime S         seconds a code lives (default 60)\n"
    "  --session-timeout S  seconds without requests before a PC is logged out (default 120)\n"
    "  --device-limit N     answer 2 to gimmeatoken once N devices are admitted (default: none)\n"
    "  --admit-after S      a code checked S seconds after issue counts as admitted (result 3)\n"
    "  --max-pcs N          PCs remembered at once (default 4096)\n"
    "  --code CODE          issue this code every time (for one PC: a known picture)\n"
    "  --revoke-after S     answer a code no longer valid S seconds after it was issued\n"
    "faults (P in percent):\n"
    "  --drop P             drop received datagrams and answers, each with chance P\n"
    "  --dup P              send an answer twice\n"
    "  --delay MS           send every answer MS milliseconds late\n"
    "  --reorder P          hold an answer back 150 ms, behind later ones\n"
    "  --stale P            send an answer with the previous Seq first\n"
    "  --garbage P          send a datagram of random bytes first\n"
    "  --silent VERBS       never answer these verbs (comma list, or \"all\")\n"
    "  --seed N             seed of the fault and code generator (default 1)\n"
    "  --duration S         end after S seconds\n"
    "  --quiet              no line per datagram\n";

volatile bool g_stop = false;

#if defined(_WIN32)
typedef SOCKET Socket;
BOOL WINAPI OnConsoleCtrl(DWORD)
{
    g_stop = true;
    return TRUE;
}
void CloseSocket(Socket s)
{
    closesocket(s);
}
void SetNonBlocking(Socket s)
{
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
}
#else
typedef int Socket;
const Socket INVALID_SOCKET = -1;
void OnSignal(int)
{
    g_stop = true;
}
void CloseSocket(Socket s)
{
    close(s);
}
void SetNonBlocking(Socket s)
{
    fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK);
}
#endif

struct Settings {
    std::string bind = "127.0.0.1";
    int port = 9110;
    TokenServerOptions server;
    int drop = 0, dup = 0, reorder = 0, stale = 0, garbage = 0;
    int delay = 0;
    std::set<std::string> silent;
    unsigned seed = 1;
    double duration = 0;
    bool quiet = false;
};

struct Counters {
    unsigned long long received = 0, sent = 0, droppedIn = 0, droppedOut = 0, duplicated = 0,
                       reordered = 0, staleSent = 0, garbageSent = 0, silenced = 0;
};

bool ParseNumber(const char* text, long low, long high, long* value)
{
    char* end = nullptr;
    *value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && *value >= low && *value <= high;
}

bool ParseArgs(int argc, char** argv, Settings* s)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (arg == "--quiet") {
            s->quiet = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "tokend: %s needs a value\n", arg.c_str());
            return false;
        }
        const char* v = argv[++i];
        long n = 0;
        const auto number = [&](long low, long high) {
            if (ParseNumber(v, low, high, &n))
                return true;
            std::fprintf(stderr, "tokend: bad value for %s: %s\n", arg.c_str(), v);
            return false;
        };
        if (arg == "--bind") {
            s->bind = v;
        } else if (arg == "--port") {
            if (!number(1, 65535))
                return false;
            s->port = static_cast<int>(n);
        } else if (arg == "--lifetime" || arg == "--session-timeout" || arg == "--device-limit" ||
                   arg == "--admit-after" || arg == "--max-pcs" || arg == "--revoke-after") {
            if (!number(0, 100000000))
                return false;
            if (arg == "--lifetime")
                s->server.tokenLifetime = static_cast<std::uint32_t>(n);
            else if (arg == "--session-timeout")
                s->server.sessionTimeout = static_cast<std::uint32_t>(n);
            else if (arg == "--device-limit")
                s->server.deviceLimit = static_cast<std::uint32_t>(n);
            else if (arg == "--admit-after")
                s->server.admitAfter = static_cast<std::int32_t>(n);
            else if (arg == "--revoke-after")
                s->server.revokeAfter = static_cast<std::int32_t>(n);
            else
                s->server.maxPcs = static_cast<std::size_t>(n);
        } else if (arg == "--code") {
            if (std::strlen(v) == 0 || std::strlen(v) > 31 || std::strpbrk(v, "\r\n") != nullptr) {
                std::fprintf(stderr, "tokend: a code is 1 to 31 characters on one line: %s\n", v);
                return false;
            }
            s->server.fixedCode = v;
        } else if (arg == "--drop" || arg == "--dup" || arg == "--reorder" || arg == "--stale" ||
                   arg == "--garbage") {
            if (!number(0, 100))
                return false;
            int& p = arg == "--drop"      ? s->drop
                     : arg == "--dup"     ? s->dup
                     : arg == "--reorder" ? s->reorder
                     : arg == "--stale"   ? s->stale
                                          : s->garbage;
            p = static_cast<int>(n);
        } else if (arg == "--delay") {
            if (!number(0, 60000))
                return false;
            s->delay = static_cast<int>(n);
        } else if (arg == "--seed") {
            if (!number(0, 2147483647))
                return false;
            s->seed = static_cast<unsigned>(n);
        } else if (arg == "--duration") {
            if (!number(1, 86400))
                return false;
            s->duration = static_cast<double>(n);
        } else if (arg == "--silent") {
            std::string list = v;
            for (std::size_t start = 0; start <= list.size();) {
                const std::size_t comma = list.find(',', start);
                const std::size_t end = comma == std::string::npos ? list.size() : comma;
                if (end > start)
                    s->silent.insert(list.substr(start, end - start));
                start = end + 1;
            }
        } else {
            std::fprintf(stderr, "tokend: unknown option %s (see --help)\n", arg.c_str());
            return false;
        }
    }
    return true;
}

// Printable summary of a datagram: its lines joined by blanks, control bytes as '?'.
std::string Summary(const char* data, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size && text.size() < 120; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c == '\r')
            continue;
        text += c == '\n' ? ' ' : (c < 32 || c > 126) ? '?' : static_cast<char>(c);
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The request's verb: its first line, up to the first blank.
std::string Verb(const char* data, std::size_t size)
{
    std::size_t end = 0;
    while (end < size && data[end] != '\r' && data[end] != '\n' && data[end] != ' ')
        ++end;
    return std::string(data, end);
}

// At most this many datagrams are read per wait, so due answers still go out in a flood.
const int kReadsPerWait = 64;

class Tokend {
public:
    Tokend(const Settings& settings, Socket socket)
        : m_s(settings), m_socket(socket), m_server(settings.server, settings.seed),
          m_random(settings.seed ^ 0x5eedu), m_start(std::chrono::steady_clock::now())
    {
    }

    int Run()
    {
        while (!g_stop) {
            if (m_s.duration > 0 && Now() >= m_s.duration * 1000)
                break;
            SendDue();
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_socket, &readable);
            timeval wait = {0, 10000};
            if (!m_outbox.empty()) {
                const long long ms =
                    static_cast<long long>(m_outbox.begin()->first) - static_cast<long long>(Now());
                wait.tv_usec = ms <= 0 ? 0 : static_cast<long>(ms < 10 ? ms * 1000 : 10000);
            }
            if (select(static_cast<int>(m_socket + 1), &readable, nullptr, nullptr, &wait) <= 0)
                continue;
            for (int i = 0; i < kReadsPerWait && Receive(); ++i) {
            }
        }
        PrintStats();
        return 0;
    }

private:
    struct Out {
        sockaddr_in peer;
        std::string bytes;
        const char* note;
    };

    std::uint64_t Now() const
    {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - m_start)
                                              .count());
    }

    bool Chance(int percent) { return percent > 0 && static_cast<int>(m_random() % 100) < percent; }

    void Log(const char* direction, const sockaddr_in& peer, const char* data, std::size_t size,
             const char* note)
    {
        if (m_s.quiet)
            return;
        const std::string what = Summary(data, size);
        char address[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, const_cast<in_addr*>(&peer.sin_addr), address, sizeof address);
        const std::uint64_t now = Now();
        std::printf("tokend: %llu.%03llu %s %s:%u %s%s%s\n",
                    static_cast<unsigned long long>(now / 1000),
                    static_cast<unsigned long long>(now % 1000), direction, address,
                    ntohs(peer.sin_port), what.c_str(), note[0] ? " " : "", note);
        std::fflush(stdout);
    }

    // One waiting datagram; false when none was waiting.
    bool Receive()
    {
        char data[65536];
        sockaddr_in peer = {};
        socklen_t length = sizeof peer;
        const int got = static_cast<int>(
            recvfrom(m_socket, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&peer), &length));
        if (got < 0)
            return false;
        if (peer.sin_family != AF_INET)
            return true;
        ++m_counters.received;
        const std::size_t size = static_cast<std::size_t>(got);
        if (Chance(m_s.drop)) {
            ++m_counters.droppedIn;
            Log("in ", peer, data, size, "[dropped]");
            return true;
        }
        std::string answer;
        long seq = -1;
        const bool handled =
            m_server.Handle(peer.sin_addr.s_addr, data, size, Now(), &answer, &seq);
        const bool silent = !m_s.silent.empty() && (m_s.silent.count("all") != 0 ||
                                                    m_s.silent.count(Verb(data, size)) != 0);
        Log("in ", peer, data, size,
            !handled                    ? "[ignored]"
            : silent && !answer.empty() ? "[silent]"
                                        : "");
        if (answer.empty())
            return true;
        if (silent) {
            ++m_counters.silenced;
            return true;
        }
        Schedule(peer, answer, seq);
        return true;
    }

    void Schedule(const sockaddr_in& peer, const std::string& answer, long seq)
    {
        if (m_outbox.size() >= 100000)
            return;  // bounded: a flood is answered only as fast as it drains
        const std::uint64_t at = Now() + static_cast<std::uint64_t>(m_s.delay);
        if (Chance(m_s.garbage)) {
            std::string junk(1 + m_random() % 64, '\0');
            for (char& c : junk)
                c = static_cast<char>(m_random());
            ++m_counters.garbageSent;
            Emit(at, Out{peer, junk, "[garbage]"});
        }
        if (Chance(m_s.stale)) {
            ++m_counters.staleSent;
            Emit(at, Out{peer, "0\r\nSeq:" + std::to_string(seq - 1) + "\r\n", "[stale]"});
        }
        const bool reorder = Chance(m_s.reorder);
        m_counters.reordered += reorder;
        Emit(at + (reorder ? 150 : 0), Out{peer, answer, reorder ? "[reordered]" : ""});
        if (Chance(m_s.dup)) {
            ++m_counters.duplicated;
            Emit(at, Out{peer, answer, "[duplicate]"});
        }
    }

    // Due now with nothing queued before it: sent at once, without a trip through the outbox.
    void Emit(std::uint64_t at, const Out& out)
    {
        if (at <= Now() && m_outbox.empty())
            Send(out);
        else
            m_outbox.emplace(at, out);
    }

    void SendDue()
    {
        const std::uint64_t now = Now();
        while (!m_outbox.empty() && m_outbox.begin()->first <= now) {
            const Out out = m_outbox.begin()->second;
            m_outbox.erase(m_outbox.begin());
            Send(out);
        }
    }

    void Send(const Out& out)
    {
        if (Chance(m_s.drop)) {
            ++m_counters.droppedOut;
            Log("out", out.peer, out.bytes.data(), out.bytes.size(), "[dropped]");
            return;
        }
        sendto(m_socket, out.bytes.data(), static_cast<int>(out.bytes.size()), 0,
               reinterpret_cast<const sockaddr*>(&out.peer), sizeof out.peer);
        ++m_counters.sent;
        Log("out", out.peer, out.bytes.data(), out.bytes.size(), out.note);
    }

    void PrintStats() const
    {
        const TokenServerStats& s = m_server.Stats();
        std::printf(
            "tokend: statistics: received %llu, sent %llu, dropped in %llu, dropped out %llu, "
            "duplicated %llu, reordered %llu, stale %llu, garbage %llu, silenced %llu, "
            "ignored %llu, logins %llu, codes %llu, refused (not logged in) %llu, PCs %zu, "
            "live codes %zu\n",
            m_counters.received, m_counters.sent, m_counters.droppedIn, m_counters.droppedOut,
            m_counters.duplicated, m_counters.reordered, m_counters.staleSent,
            m_counters.garbageSent, m_counters.silenced, static_cast<unsigned long long>(s.ignored),
            static_cast<unsigned long long>(s.logins), static_cast<unsigned long long>(s.codes),
            static_cast<unsigned long long>(s.refusedNotLoggedIn), m_server.PcCount(),
            m_server.CodeCount());
        std::fflush(stdout);
    }

    const Settings& m_s;
    Socket m_socket;
    TokenServer m_server;
    std::mt19937 m_random;
    std::chrono::steady_clock::time_point m_start;
    std::multimap<std::uint64_t, Out> m_outbox;
    Counters m_counters;
};

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseArgs(argc, argv, &settings))
        return 2;
#if defined(_WIN32)
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = &OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(settings.port));
    if (inet_pton(AF_INET, settings.bind.c_str(), &address.sin_addr) != 1) {
        std::fprintf(stderr, "tokend: not an IPv4 address: %s\n", settings.bind.c_str());
        return 2;
    }
    const Socket s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET ||
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "tokend: cannot bind %s:%d\n", settings.bind.c_str(), settings.port);
        return 1;
    }
    SetNonBlocking(s);
    std::printf("tokend: listening on %s:%d\n", settings.bind.c_str(), settings.port);
    std::fflush(stdout);
    const int status = Tokend(settings, s).Run();
    CloseSocket(s);
    return status;
}
