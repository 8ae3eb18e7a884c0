#include "token/TokenProtocol.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "token/ByteBuffer.h"
#include "token/FieldTable.h"

namespace Token {

const char kBareLogout[] = "logout\r\n";

namespace {

// The next line from *cursor, cut in place (LF and a CR before it become 0), or null.
char* NextLine(char*& cursor, std::size_t& left)
{
    if (left == 0 || *cursor == '\0')
        return nullptr;
    char* line = cursor;
    char* lf = static_cast<char*>(std::memchr(line, '\n', left));
    if (!lf) {
        cursor += left;
        left = 0;
        return line;
    }
    *lf = '\0';
    if (lf > line && lf[-1] == '\r')
        lf[-1] = '\0';
    const std::size_t taken = static_cast<std::size_t>(lf - line) + 1;
    cursor += taken;
    left -= taken;
    return line;
}

// strtol in base 10, with "no digit read" reported; out-of-range values saturate to 32 bits.
bool ReadNumber(const char* text, std::int32_t* number)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text)
        return false;
    if (value > INT32_MAX)
        *number = INT32_MAX;
    else if (value < INT32_MIN)
        *number = INT32_MIN;
    else
        *number = static_cast<std::int32_t>(value);
    return true;
}

void LowerAscii(char* text)
{
    for (; *text; ++text) {
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text - 'A' + 'a');
    }
}

// Copies a token of fewer than kTokenSize characters; longer ones are refused.
bool CopyToken(char (&to)[kTokenSize], const char* token)
{
    const std::size_t length = std::strlen(token);
    if (length >= kTokenSize)
        return false;
    std::memset(to, 0, kTokenSize);
    std::memcpy(to, token, length);
    return true;
}

}  // namespace

bool FormatRequest(ByteBuffer& out, std::int32_t kind, const char* hostName, const char* token,
                   std::int32_t seq)
{
    out.Empty();
    bool ok = false;
    switch (kind) {
    case kTokenLogin:
        ok = out.Print("login\r\nName:%s\r\n", hostName);
        break;
    case kTokenLogout:
        ok = out.Print("logout\r\n");
        break;
    case kTokenGet:
        ok = out.Print("gimmeatoken\r\n");
        break;
    case kTokenCheck:
        ok = out.Print("checktoken\r\nToken:%s\r\n", token);
        break;
    case kTokenStatus:
        ok = out.Print("status\r\n");
        break;
    case kTokenHeartbeat:
        ok = out.Print("heartbeat\r\n");
        break;
    default:
        break;
    }
    return ok && out.Print("Seq:%d\r\n", static_cast<int>(seq));
}

bool ReadResponse(char* data, std::size_t size, std::int32_t expectedSeq, FieldTable& fields,
                  std::int32_t* result)
{
    data[size] = '\0';
    char* cursor = data;
    std::size_t left = size;
    const char* first = NextLine(cursor, left);
    if (!first || !ReadNumber(first, result))
        return false;
    fields.Empty();
    while (char* line = NextLine(cursor, left)) {
        char* colon = std::strchr(line, ':');
        if (!colon || colon[1] == '\0')
            continue;
        *colon = '\0';
        LowerAscii(line);
        if (!fields.Set(line, colon + 1))
            return false;
    }
    const char* seqText = fields.Find("seq");
    std::int32_t seq = 0;
    return seqText && ReadNumber(seqText, &seq) && seq == expectedSeq;
}

Decision DecideResult(std::int32_t kind, std::int32_t result, const FieldTable& fields)
{
    Decision decision = {};
    decision.result = result;
    if (result != 0)
        return decision;
    const char* token = fields.Find("token");
    if (kind == kTokenGet) {
        const char* ttl = fields.Find("token-ttl");
        // atoi's reading, but saturating instead of undefined on overflow.
        if (!ttl || !ReadNumber(ttl, &decision.value))
            decision.value = 0;
        if (!token || decision.value <= 0 || !CopyToken(decision.token, token))
            decision.result = kTokenMalformed;
    } else if (kind == kTokenCheck) {
        const char* valid = fields.Find("token-valid");
        const bool isTrue = valid && std::strcmp(valid, "true") == 0;
        const bool isFalse = valid && std::strcmp(valid, "false") == 0;
        decision.value = isTrue ? 1 : 0;
        if (!token || !(isTrue || isFalse) || !CopyToken(decision.token, token))
            decision.result = kTokenMalformed;
    }
    return decision;
}

}  // namespace Token
