// Reads arbitrary bytes as the answer to a request of every kind, then replays them as a
// stream of datagrams into a whole session. Input: one byte of kind, one byte of Seq, the
// datagram. Whatever the bytes, a decided result must be one the window can show safely.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/TokenFakes.h"
#include "token/FieldTable.h"
#include "token/TokenProtocol.h"

using namespace Token;

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void ReadAsEveryKind(const std::uint8_t* data, std::size_t size, std::int32_t seq)
{
    FieldTable fields;
    for (std::int32_t kind = kTokenLogin; kind <= kTokenHeartbeat; ++kind) {
        std::vector<char> bytes(data, data + size);
        bytes.push_back('\0');
        std::int32_t result = 0;
        if (!ReadResponse(bytes.data(), size, seq, fields, &result))
            continue;
        const Decision d = DecideResult(kind, result, fields);
        if (d.result != 0 || (kind != kTokenGet && kind != kTokenCheck))
            continue;
        Check(std::memchr(d.token, '\0', sizeof d.token) != nullptr);
        Check(kind == kTokenGet ? d.value > 0 : d.value == 0 || d.value == 1);
    }
}

// The bytes cut at 0xFE into datagrams, each answering whatever the session sent last.
void ReplayIntoSession(const std::uint8_t* data, std::size_t size)
{
    tokenfake::Cafe cafe;
    cafe.serverUp = false;
    std::uint32_t at = 10;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != 0xFE)
            continue;
        std::string datagram(reinterpret_cast<const char*>(data) + start, i - start);
        start = i + 1;
        cafe.At(at, [&cafe, datagram, at] {
            // Put the Seq of the last sending in when the datagram asks for it with "#".
            std::string bytes = datagram;
            const std::size_t mark = bytes.find('#');
            if (mark != std::string::npos && !cafe.network.sent.empty())
                bytes.replace(mark, 1, std::to_string(cafe.network.sent.back().seq));
            cafe.network.Deliver(at, bytes);
        });
        cafe.RequestAt(at, static_cast<std::int32_t>(at / 10 % 3) + kTokenGet);
        at += 40;
    }
    cafe.RunUntil(at + 2000);
    for (const tokenfake::Reported& e : cafe.sink.events) {
        Check(e.kind >= kTokenGet && e.kind <= kTokenStatus);
        Check(e.token.size() < kTokenSize);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2 || size > 4096)
        return 0;
    ReadAsEveryKind(data + 2, size - 2, static_cast<std::int8_t>(data[1]));
    if (data[0] & 1)
        ReplayIntoSession(data + 2, size - 2);
    return 0;
}
