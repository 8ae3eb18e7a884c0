// tokenprobe: tells a café technician whether this PC reaches its token server. It runs the
// real client (discovery, authipconf.ini beside the .exe, session) and prints what the main
// window would get, readable or as one JSON object per line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "token/Mervane.h"
#include "token/WindowSink.h"

using namespace Token;

namespace {

const UINT kTextCodePage = 936;

const char kUsage[] =
    "usage: tokenprobe [--get] [--check N] [--watch S] [--give-up S] [--json]\n"
    "Checks that this PC reaches its token server (the default gateway, or the address in\n"
    "authipconf.ini beside this program).\n"
    "  --get       ask for a code\n"
    "  --check N   check the code N times, one per second\n"
    "  --watch S   stay logged in S seconds (heartbeats included)\n"
    "  --give-up S fail when the client leaves a request unanswered S seconds (default 60)\n"
    "  --json      one JSON object per line instead of text\n"
    "Without --get, --check or --watch: --get --check 3. Exit status 0 when all succeeded.\n";

// The main window's status texts (GBK).
const char kRequesting[] = "\xD5\xFD\xD4\xDA\xBB\xF1\xC8\xA1\xD1\xE9\xD6\xA4\xC2\xEB ...... ";
const char kExpiresIn[] =
    "\xD1\xE9\xD6\xA4\xC2\xEB\xBD\xAB\xD4\xDA%d\xC3\xEB\xBA\xF3\xB9\xFD\xC6\xDA";
const char kClickPrompt[] =
    "\xC7\xEB\xB5\xE3\xBB\xF7\xCF\xC2\xB7\xBD\xB0\xB4\xC5\xA5\xC0\xB4\xBB\xF1\xC8\xA1"
    "\xD1\xE9\xD6\xA4\xC2\xEB";
const char kLimitReached[] =
    "\xC4\xFA\xC1\xAC\xBD\xD3\xB5\xC4\xC9\xE8\xB1\xB8\xCA\xFD\xD2\xD1\xB4\xEF\xC9\xCF"
    "\xCF\xDE\xA1\xA3";
const char kAdmitted[] =
    "\xC4\xFA\xB5\xC4\xCA\xD6\xBB\xFA\xD2\xD1\xCD\xA8\xB9\xFD\xC8\xCF\xD6\xA4\xA3\xAC "
    "\xBF\xC9\xD2\xD4\xD5\xFD\xB3\xA3\xC9\xCF\xCD\xF8\xC1\xCB\xA1\xA3";
const char kNetworkFailed[] =
    "\xCD\xA8\xD0\xC5\xD2\xEC\xB3\xA3\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xC4\xFA\xB5\xC4"
    "\xCD\xF8\xC2\xE7\xA1\xA3";

const UINT WM_PROBE_SERVER = WM_APP + 1;
// wParam: the answer to one of the session's own logins.
const UINT WM_PROBE_LOGIN = WM_APP + 2;
const UINT_PTR kTickTimer = 1;

struct ServerNote {
    char address[16];
    bool fromSetting;
};

class ProbeSink : public WindowSink {
public:
    using WindowSink::WindowSink;
    void ServerFound(const char* address, bool fromSetting) override
    {
        ServerNote* note = new ServerNote{};
        std::snprintf(note->address, sizeof note->address, "%s", address);
        note->fromSetting = fromSetting;
        if (!PostMessageA(Window(), WM_PROBE_SERVER, 0, reinterpret_cast<LPARAM>(note)))
            delete note;
    }
    void LoginAnswered(std::int32_t result) override
    {
        PostMessageA(Window(), WM_PROBE_LOGIN, static_cast<WPARAM>(static_cast<INT_PTR>(result)),
                     0);
    }
};

struct Options {
    bool get = false;
    int checks = 0;
    int watchSeconds = 0;
    int giveUpSeconds = 60;  // the client answers every request within seconds
    bool json = false;
};

bool ParseArgs(int argc, char** argv, Options* o)
{
    bool any = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--json") {
            o->json = true;
        } else if (arg == "--get") {
            o->get = any = true;
        } else if ((arg == "--check" || arg == "--watch" || arg == "--give-up") && i + 1 < argc) {
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || n < 0 || n > 86400 || (arg == "--give-up" && n == 0)) {
                std::fprintf(stderr, "tokenprobe: bad number for %s\n", arg.c_str());
                return false;
            }
            if (arg == "--give-up") {
                o->giveUpSeconds = static_cast<int>(n);
                continue;
            }
            (arg == "--check" ? o->checks : o->watchSeconds) = static_cast<int>(n);
            any = true;
        } else {
            std::fprintf(stderr, "tokenprobe: unknown option %s\n%s", arg.c_str(), kUsage);
            return false;
        }
    }
    if (!any) {
        o->get = true;
        o->checks = 3;
    }
    return true;
}

// The probe's texts are GBK, the window's own. A console shows them through its wide
// output, whatever its code page; a pipe or a file gets the bytes as they are.
void PrintText(const std::string& gbk)
{
    std::fflush(stdout);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode)) {
        const int length = static_cast<int>(gbk.size());
        std::wstring wide(gbk.size(), L'\0');
        const int units = MultiByteToWideChar(kTextCodePage, 0, gbk.data(), length, &wide[0],
                                              static_cast<int>(wide.size()));
        DWORD written = 0;
        if (units > 0 &&
            WriteConsoleW(out, wide.data(), static_cast<DWORD>(units), &written, nullptr))
            return;
    }
    std::fwrite(gbk.data(), 1, gbk.size(), stdout);
    std::fflush(stdout);
}

std::string JsonText(const char* text)
{
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += static_cast<char>(*p);
        } else if (*p < 0x20 || *p >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", *p);
            out += escaped;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out + "\"";
}

const char* StartFailureText(int code)
{
    switch (code) {
    case -99:
        return "Winsock did not start";
    case -100:
        return "no host name";
    case -101:
        return "the host name does not resolve";
    case -102:
        return "no token server found (no route through an adapter's gateway)";
    default:
        return "unknown";
    }
}

std::string FormatTime(DWORD milliseconds)
{
    char time[32];
    std::snprintf(time, sizeof time, "%7.3f s  ", milliseconds / 1000.0);
    return time;
}

// The window's text for a get-token result.
std::string GetText(int result, int value)
{
    if (result == 0) {
        char text[128];
        std::snprintf(text, sizeof text, kExpiresIn, value);
        return text;
    }
    return result == 2 ? kLimitReached : result == 3 ? kAdmitted : kNetworkFailed;
}

class Probe {
public:
    Probe(const Options& options, HWND window)
        : m_o(options), m_window(window), m_start(GetTickCount()), m_waitingSince(m_start)
    {
    }

    void Start() { m_client.Start(new ProbeSink(m_window)); }

    // Handles one message; false when the probe is done.
    bool OnMessage(const MSG& msg)
    {
        if (msg.message == WM_PROBE_SERVER) {
            ServerNote* note = reinterpret_cast<ServerNote*>(msg.lParam);
            OnServer(*note);
            delete note;
        } else if (msg.message == WM_PROBE_LOGIN) {
            OnLogin(static_cast<int>(static_cast<INT_PTR>(msg.wParam)));
        } else if (msg.message == WM_TOKEN_START_FAILED) {
            OnStartFailed(static_cast<int>(static_cast<INT_PTR>(msg.wParam)));
            return false;
        } else if (msg.message == WM_TOKEN_EVENT) {
            TokenEvent* event = reinterpret_cast<TokenEvent*>(msg.lParam);
            OnEvent(*event);
            delete event;
        } else if (msg.message == WM_TIMER) {
            OnTick();
        }
        return !m_done;
    }

    bool Succeeded() const { return m_ok; }

private:
    DWORD Elapsed() const { return GetTickCount() - m_start; }

    void Line(const std::string& json, const std::string& text)
    {
        if (m_o.json)
            std::printf("{\"t_ms\":%lu,%s}\n", static_cast<unsigned long>(Elapsed()), json.c_str());
        else
            PrintText(FormatTime(Elapsed()) + text + "\n");
        std::fflush(stdout);
    }

    void OnServer(const ServerNote& note)
    {
        m_waitingFor = nullptr;
        const char* source = note.fromSetting ? "config" : "gateway";
        Line(std::string("\"event\":\"server\",\"address\":") + JsonText(note.address) +
                 ",\"source\":\"" + source + "\"",
             std::string("token server ") + note.address +
                 (note.fromSetting ? " (from authipconf.ini)" : " (the default gateway)"));
        if (m_o.get) {
            Queue(kTokenGet);
            if (!m_o.json)
                Line("", kRequesting);
        } else {
            NextTask();
        }
    }

    // The session logs in by itself: a refused login is why every request fails, and a
    // watch against a server that refuses it has not stayed logged in.
    void OnLogin(int result)
    {
        char json[64];
        std::snprintf(json, sizeof json, "\"event\":\"login\",\"result\":%d", result);
        m_ok = m_ok && result == 0;
        Line(json, result == 0                ? std::string("logged in")
                   : result == kTokenNoAnswer ? std::string("no answer to the login")
                                              : "login refused, result " + std::to_string(result));
    }

    void OnStartFailed(int code)
    {
        m_ok = false;
        m_done = true;
        char json[64];
        std::snprintf(json, sizeof json, "\"event\":\"start_failed\",\"code\":%d", code);
        Line(json, "start failed: " + std::to_string(code) + " (" + StartFailureText(code) +
                       ") - " + kNetworkFailed);
    }

    void OnEvent(const TokenEvent& e)
    {
        m_waitingFor = nullptr;
        const bool meaningful = e.result == 0 && (e.kind == kTokenGet || e.kind == kTokenCheck);
        char json[160];
        int n = std::snprintf(json, sizeof json,
                              "\"event\":\"token\",\"kind\":%d,\"result\":%d,\"tag\":%u", e.kind,
                              e.result, e.tag);
        std::string line(json, static_cast<std::size_t>(n));
        char token[kTokenSize + 1] = {};
        std::memcpy(token, e.token, kTokenSize);
        if (meaningful)
            line += ",\"token\":" + JsonText(token) + ",\"value\":" + std::to_string(e.value);
        std::string text;
        if (e.kind == kTokenGet) {
            text = meaningful ? std::string("got code ") + token + ", valid " +
                                    std::to_string(e.value) + " s"
                              : "no code, result " + std::to_string(e.result);
            text += " - " + GetText(e.result, e.value);
            m_ok = m_ok && meaningful;
            m_haveCode = meaningful;
        } else {
            const bool valid = meaningful && e.value == 1;
            text = meaningful ? std::string("code ") + token +
                                    (valid ? " is valid" : " is no longer valid - ") +
                                    (valid ? "" : kClickPrompt)
                              : "check failed, result " + std::to_string(e.result) + " - " +
                                    GetText(e.result, 0);
            m_ok = m_ok && valid;
            ++m_checksDone;
        }
        Line(line, text);
        NextTask();
    }

    // Only what is still waiting counts: a long --watch between requests is no failure.
    void OnTick()
    {
        if (m_waitingFor) {
            const DWORD waited = GetTickCount() - m_waitingSince;
            if (waited >= static_cast<DWORD>(m_o.giveUpSeconds) * 1000)
                GiveUp(waited);
            return;
        }
        if (m_checking && GetTickCount() - m_lastCheck >= 1000) {
            m_lastCheck = GetTickCount();
            Queue(kTokenCheck);
        } else if (m_watchUntil && GetTickCount() - m_watchUntil < 0x80000000u) {
            m_done = true;
        }
    }

    void NextTask()
    {
        if (m_o.checks > 0 && m_checksDone < m_o.checks && (m_haveCode || !m_o.get)) {
            if (!m_checking) {
                m_checking = true;
                m_lastCheck = GetTickCount();
                Queue(kTokenCheck);
            }
            return;
        }
        m_checking = false;
        if (m_o.watchSeconds > 0 && !m_watchUntil) {
            m_watchUntil = GetTickCount() + static_cast<DWORD>(m_o.watchSeconds) * 1000;
            if (!m_o.json)
                Line("", "staying logged in for " + std::to_string(m_o.watchSeconds) + " s");
            return;
        }
        if (!m_watchUntil)
            m_done = true;
    }

    void GiveUp(DWORD waited)
    {
        m_ok = false;
        m_done = true;
        const std::string what = std::strcmp(m_waitingFor, "start") == 0
                                     ? std::string("the client has not started")
                                     : std::string("no answer to the ") + m_waitingFor + " request";
        Line(std::string("\"event\":\"gave_up\",\"request\":\"") + m_waitingFor +
                 "\",\"waited_ms\":" + std::to_string(waited),
             "gave up: " + what + " after " + std::to_string(waited / 1000) + " s");
    }

    void Queue(std::int32_t kind)
    {
        m_waitingFor = kind == kTokenGet ? "get token" : "check token";
        m_waitingSince = GetTickCount();
        m_client.Request(kind);
    }

    const Options& m_o;
    HWND m_window;
    DWORD m_start;
    // What the client has not answered yet (its start, then each request), and since when.
    const char* m_waitingFor = "start";
    DWORD m_waitingSince;
    Mervane m_client;
    bool m_ok = true;
    bool m_done = false;
    bool m_haveCode = false;
    bool m_checking = false;
    int m_checksDone = 0;
    DWORD m_lastCheck = 0;
    DWORD m_watchUntil = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseArgs(argc, argv, &options))
        return 2;
    HWND window = CreateWindowExA(0, "STATIC", "tokenprobe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        std::fprintf(stderr, "tokenprobe: no message window\n");
        return 1;
    }
    Probe probe(options, window);
    SetTimer(window, kTickTimer, 50, nullptr);
    probe.Start();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == window && !probe.OnMessage(msg))
            break;
    }
    const bool ok = probe.Succeeded();
    if (!options.json)
        std::printf("tokenprobe: %s\n", ok ? "OK" : "FAILED");
    std::fflush(stdout);
    // The client's worker never ends by itself; leave without waiting for it.
    ExitProcess(ok ? 0 : 1);
}
