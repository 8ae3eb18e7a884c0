// Throughput of tokend with many simulated PCs on the loopback (each PC its own 127.0.x.y
// address, one request in flight at a time), printed beside a bare UDP echo loop driven
// the same way in the same run. The two take turns in rounds of half a second, so a busy
// machine slows both alike.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const int kServerPort = 19112;
const int kEchoPort = 19113;

struct Pc {
    int socket;
    std::chrono::steady_clock::time_point sent;
    long answers = 0;
    int seq = 0;
    bool loggedIn = false;
    std::string code;
};

std::string Request(Pc& pc)
{
    const std::string seq = "Seq:" + std::to_string(pc.seq++) + "\r\n";
    if (!pc.loggedIn)
        return "login\r\nName:PC" + std::to_string(pc.socket) + "\r\n" + seq;
    if (pc.code.empty() || pc.seq % 2 == 0)
        return "gimmeatoken\r\n" + seq;
    return "checktoken\r\nToken:" + pc.code + "\r\n" + seq;
}

void Absorb(Pc& pc, const char* answer)
{
    pc.loggedIn = pc.loggedIn || std::strncmp(answer, "0\r\n", 3) == 0;
    if (std::strncmp(answer, "4\r\n", 3) == 0)
        pc.loggedIn = false;
    const char* token = std::strstr(answer, "Token:");
    if (token && std::strstr(answer, "Token-TTL"))
        pc.code.assign(token + 6, 6);
}

void Ask(Pc& pc)
{
    const std::string r = Request(pc);
    send(pc.socket, r.data(), r.size(), 0);
    pc.sent = std::chrono::steady_clock::now();
}

struct Figures {
    long answers = 0;
    double seconds = 0;
    int served = 0;  // PCs that got at least one answer

    double PerSecond() const { return seconds > 0 ? static_cast<double>(answers) / seconds : 0; }
    void Add(const Figures& round)
    {
        served = seconds > 0 && served < round.served ? served : round.served;
        answers += round.answers;
        seconds += round.seconds;
    }
};

// Answers per second from pcs simulated PCs, each keeping one request in flight and asking
// again when its answer is 200 ms late (a full socket buffer drops datagrams).
Figures Drive(int port, int pcs, double seconds)
{
    std::vector<Pc> all;
    std::vector<pollfd> fds;
    for (int i = 0; i < pcs; ++i) {
        Pc pc;
        pc.socket = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in self = {};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr =
            htonl(0x7F000000u | static_cast<std::uint32_t>(((i / 250) + 1) << 8) |
                  static_cast<std::uint32_t>(i % 250 + 2));
        bind(pc.socket, reinterpret_cast<sockaddr*>(&self), sizeof self);
        sockaddr_in server = {};
        server.sin_family = AF_INET;
        server.sin_port = htons(static_cast<std::uint16_t>(port));
        server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(pc.socket, reinterpret_cast<sockaddr*>(&server), sizeof server);
        all.push_back(pc);
        fds.push_back(pollfd{pc.socket, POLLIN, 0});
    }
    for (Pc& pc : all)
        Ask(pc);
    long answers = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    const auto late = std::chrono::milliseconds(200);
    while (std::chrono::steady_clock::now() < end) {
        const auto now = std::chrono::steady_clock::now();
        for (Pc& pc : all) {
            if (now - pc.sent > late)
                Ask(pc);
        }
        if (poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            char answer[2048];
            const ssize_t got = recv(fds[i].fd, answer, sizeof answer - 1, 0);
            if (got <= 0)
                continue;
            answer[got] = '\0';
            ++answers;
            ++all[i].answers;
            Absorb(all[i], answer);
            Ask(all[i]);
        }
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int served = 0;
    for (Pc& pc : all) {
        served += pc.answers > 0;
        close(pc.socket);
    }
    Figures figures;
    figures.answers = answers;
    figures.seconds = elapsed;
    figures.served = served;
    return figures;
}

void Echo(std::atomic<bool>& stop)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in self = {};
    self.sin_family = AF_INET;
    self.sin_port = htons(kEchoPort);
    self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&self), sizeof self);
    pollfd fd = {s, POLLIN, 0};
    while (!stop) {
        if (poll(&fd, 1, 50) <= 0)
            continue;
        char data[2048];
        sockaddr_in peer = {};
        socklen_t length = sizeof peer;
        const ssize_t got =
            recvfrom(s, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&peer), &length);
        if (got > 0)
            sendto(s, data, static_cast<std::size_t>(got), 0, reinterpret_cast<sockaddr*>(&peer),
                   length);
    }
    close(s);
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const std::string port = std::to_string(kServerPort);
    const char* args[] = {TOKEND_PATH, "--bind",    "127.0.0.1", "--port", port.c_str(),
                          "--quiet",   "--max-pcs", "100000",    nullptr};
    pid_t tokend = 0;
    if (posix_spawn(&tokend, TOKEND_PATH, nullptr, nullptr, const_cast<char**>(args), environ) !=
        0) {
        std::printf("tokend_throughput: cannot start %s\n", TOKEND_PATH);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // tokend binds its socket
    std::atomic<bool> stop{false};
    std::thread echo(Echo, std::ref(stop));

    const double round = 0.5;
    const int rounds = seconds > round ? static_cast<int>(seconds / round + 0.5) : 1;
    std::printf("tokend_throughput: answers per second on 127.0.0.1, %d rounds of %.1f s each\n",
                rounds, round);
    std::printf("  %6s  %14s  %8s  %14s  %7s\n", "PCs", "tokend", "served", "bare echo", "ratio");
    for (int pcs : {1, 10, 100, 1000}) {
        Figures server, bare;
        for (int i = 0; i < rounds; ++i) {
            server.Add(Drive(kServerPort, pcs, round));
            bare.Add(Drive(kEchoPort, pcs, round));
        }
        std::printf("  %6d  %14.0f  %8d  %14.0f  %6.0f%%\n", pcs, server.PerSecond(), server.served,
                    bare.PerSecond(), 100.0 * server.PerSecond() / bare.PerSecond());
        std::fflush(stdout);
    }
    stop = true;
    echo.join();
    kill(tokend, SIGTERM);
    waitpid(tokend, nullptr, 0);
    return 0;
}
