#include "tools/tokend/TokenServer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Request {
    std::string verb;
    long seq = -1;
    bool hasSeq = false;
    std::string name;
    std::string token;
};

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Lines split at LF (a CR before it dropped); fields "key:value" with keys in any case.
bool Parse(const char* data, std::size_t size, Request* request)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0')
            return false;
        if (data[i] != '\n') {
            line += data[i];
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    if (lines.empty() || lines[0].empty())
        return false;
    request->verb = lines[0];
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t colon = lines[i].find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = Lower(lines[i].substr(0, colon));
        const std::string value = lines[i].substr(colon + 1);
        if (key == "seq") {
            char* end = nullptr;
            request->seq = std::strtol(value.c_str(), &end, 10);
            request->hasSeq = end != value.c_str() && *end == '\0';
        } else if (key == "name") {
            request->name = value.substr(0, TokenServer::kMaxName);
        } else if (key == "token") {
            request->token = value.substr(0, 32);
        }
    }
    return true;
}

}  // namespace

TokenServer::TokenServer(const TokenServerOptions& options, std::uint32_t seed)
    : m_options(options), m_random(seed)
{
}

std::string TokenServer::Answer(std::int32_t result, long seq, const std::string& fields)
{
    ++m_stats.answers;
    return std::to_string(result) + "\r\nSeq:" + std::to_string(seq) + "\r\n" + fields;
}

TokenServer::Pc* TokenServer::FindPc(std::uint32_t peer, std::uint64_t now)
{
    const auto found = m_pcs.find(peer);
    if (found == m_pcs.end())
        return nullptr;
    Pc& pc = found->second;
    if (pc.loggedIn && now - pc.lastSeen > m_options.sessionTimeout * 1000ull)
        pc.loggedIn = false;
    return &pc;
}

TokenServer::Pc* TokenServer::MakePc(std::uint32_t peer, std::uint64_t now)
{
    if (Pc* pc = FindPc(peer, now))
        return pc;
    if (m_pcs.size() >= m_options.maxPcs) {
        // Make room by forgetting PCs whose sessions have lapsed.
        for (auto it = m_pcs.begin(); it != m_pcs.end();) {
            if (now - it->second.lastSeen > m_options.sessionTimeout * 1000ull) {
                Forget(it->second);
                it = m_pcs.erase(it);
            } else {
                ++it;
            }
        }
        if (m_pcs.size() >= m_options.maxPcs)
            return nullptr;
    }
    return &m_pcs[peer];
}

void TokenServer::Forget(Pc& pc)
{
    if (!pc.code.empty())
        m_codes.erase(pc.code);
    pc.code.clear();
}

std::string TokenServer::NewCode()
{
    if (!m_options.fixedCode.empty())
        return m_options.fixedCode;
    std::uniform_int_distribution<int> digits(0, 999999);
    for (;;) {
        char code[8];
        std::snprintf(code, sizeof code, "%06d", digits(m_random));
        if (m_codes.find(code) == m_codes.end())
            return code;
    }
}

void TokenServer::DropExpired(std::uint64_t now)
{
    if (now - m_lastSweep < 1000)
        return;
    m_lastSweep = now;
    for (auto it = m_codes.begin(); it != m_codes.end();) {
        if (it->second.expires <= now) {
            const auto owner = m_pcs.find(it->second.owner);
            if (owner != m_pcs.end() && owner->second.code == it->first)
                owner->second.code.clear();
            it = m_codes.erase(it);
        } else {
            ++it;
        }
    }
}

bool TokenServer::Admit(const std::string& code)
{
    const auto found = m_codes.find(code);
    if (found == m_codes.end() || found->second.admitted)
        return false;
    found->second.admitted = true;
    ++m_admitted;
    return true;
}

bool TokenServer::Handle(std::uint32_t peer, const char* data, std::size_t size, std::uint64_t now,
                         std::string* answer, long* seq)
{
    ++m_stats.requests;
    answer->clear();
    Request request;
    DropExpired(now);
    const bool parsed = Parse(data, size, &request);
    *seq = request.seq;
    if (parsed && request.verb == "logout" && !request.hasSeq) {
        if (Pc* pc = FindPc(peer, now))
            pc->loggedIn = false;
        return true;  // the bare logout: no answer
    }
    if (!parsed || !request.hasSeq) {
        ++m_stats.ignored;
        return false;
    }
    if (request.verb == "login") {
        Pc* pc = request.name.empty() ? nullptr : MakePc(peer, now);
        if (!pc) {
            *answer = Answer(1, request.seq);
            return true;
        }
        pc->name = request.name;
        pc->loggedIn = true;
        pc->lastSeen = now;
        ++m_stats.logins;
        *answer = Answer(0, request.seq);
        return true;
    }
    static const char* const kKnown[] = {"logout", "gimmeatoken", "checktoken", "status",
                                         "heartbeat"};
    bool known = false;
    for (const char* verb : kKnown)
        known = known || request.verb == verb;
    if (!known) {
        ++m_stats.ignored;
        return false;
    }
    Pc* pc = FindPc(peer, now);
    if (!pc || !pc->loggedIn) {
        ++m_stats.refusedNotLoggedIn;
        *answer = Answer(4, request.seq);
        return true;
    }
    pc->lastSeen = now;
    if (request.verb == "logout") {
        pc->loggedIn = false;
        *answer = Answer(0, request.seq);
    } else if (request.verb == "gimmeatoken") {
        if (m_options.deviceLimit > 0 && m_admitted >= m_options.deviceLimit) {
            *answer = Answer(2, request.seq);
            return true;
        }
        Forget(*pc);  // a PC's new code revokes its previous one
        pc->code = NewCode();
        m_codes[pc->code] = Code{peer, now, now + m_options.tokenLifetime * 1000ull};
        ++m_stats.codes;
        *answer = Answer(0, request.seq,
                         "Token:" + pc->code +
                             "\r\nToken-TTL:" + std::to_string(m_options.tokenLifetime) + "\r\n");
    } else if (request.verb == "checktoken") {
        auto found = m_codes.find(request.token);
        const bool revoked =
            found != m_codes.end() && m_options.revokeAfter >= 0 &&
            now - found->second.issued >= static_cast<std::uint64_t>(m_options.revokeAfter) * 1000;
        const bool live = found != m_codes.end() && found->second.expires > now && !revoked;
        if (live && m_options.admitAfter >= 0 &&
            now - found->second.issued >= static_cast<std::uint64_t>(m_options.admitAfter) * 1000)
            Admit(request.token);
        if (live && found->second.admitted) {
            *answer = Answer(3, request.seq);
            return true;
        }
        *answer = Answer(
            0, request.seq,
            "Token:" + request.token + "\r\nToken-Valid:" + (live ? "true" : "false") + "\r\n");
    } else {
        *answer = Answer(0, request.seq);  // status and heartbeat
    }
    return true;
}
