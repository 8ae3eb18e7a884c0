#include "token/TokenProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "token/ByteBuffer.h"
#include "token/FieldTable.h"

using namespace Token;

namespace {

TEST(TokenProtocolTest, RequestsAreExactBytes)
{
    struct Case {
        std::int32_t kind;
        std::int32_t seq;
        std::string bytes;
    };
    const Case cases[] = {
        {kTokenLogin, 0, "login\r\nName:PC01\r\nSeq:0\r\n"},
        {kTokenLogout, 7, "logout\r\nSeq:7\r\n"},
        {kTokenGet, 1, "gimmeatoken\r\nSeq:1\r\n"},
        {kTokenCheck, 2, "checktoken\r\nToken:123456\r\nSeq:2\r\n"},
        {kTokenStatus, 2147483647, "status\r\nSeq:2147483647\r\n"},
        {kTokenHeartbeat, -2147483647 - 1, "heartbeat\r\nSeq:-2147483648\r\n"},
    };
    ByteBuffer out;
    for (const Case& c : cases) {
        ASSERT_TRUE(FormatRequest(out, c.kind, "PC01", "123456", c.seq));
        EXPECT_EQ(c.bytes, std::string(out.Message(), out.Length())) << c.kind;
    }
    EXPECT_EQ(20u, (FormatRequest(out, kTokenGet, "", "", 1), out.Length()));
    EXPECT_EQ(std::string("logout\r\n"), std::string(kBareLogout, kBareLogoutSize));
}

TEST(TokenProtocolTest, BufferGrowsByDoublingUpToItsMaximumAndShrinksWhenEmptied)
{
    ByteBuffer buffer;
    ASSERT_NE(nullptr, buffer.Reserve(10));
    EXPECT_EQ(1024u, buffer.Capacity());
    ASSERT_NE(nullptr, buffer.Reserve(1014));  // exactly full: no room for one more byte
    EXPECT_EQ(2048u, buffer.Capacity());
    ASSERT_NE(nullptr, buffer.Reserve(5000));
    EXPECT_EQ(8192u, buffer.Capacity());
    EXPECT_EQ(6024u, buffer.Length());
    EXPECT_EQ(nullptr, buffer.Reserve(ByteBuffer::kMaxCapacity - 6024));
    EXPECT_EQ(6024u, buffer.Length());
    buffer.Empty();
    EXPECT_EQ(1024u, buffer.Capacity());
    EXPECT_EQ(0u, buffer.Length());
    EXPECT_NE(nullptr, buffer.Reserve(ByteBuffer::kMaxCapacity / 2));
    EXPECT_EQ(nullptr, buffer.Reserve(ByteBuffer::kMaxCapacity / 2));
}

TEST(TokenProtocolTest, FieldTableGrowsThroughItsPrimesAndRecyclesNodes)
{
    FieldTable table;
    EXPECT_EQ(0u, table.BucketCount());
    std::vector<std::string> keys;
    for (int i = 0; i < 300; ++i)
        keys.push_back("key" + std::to_string(i));
    const std::pair<int, std::uint32_t> growth[] = {{1, 11},     {5, 11},    {6, 23},   {11, 23},
                                                    {12, 97},    {48, 97},   {49, 397}, {198, 397},
                                                    {199, 1597}, {300, 1597}};
    int added = 0;
    for (const auto& step : growth) {
        for (; added < step.first; ++added)
            ASSERT_TRUE(table.Set(keys[added].c_str(), keys[added].c_str()));
        EXPECT_EQ(step.second, table.BucketCount()) << step.first;
    }
    for (const std::string& key : keys)
        EXPECT_STREQ(key.c_str(), table.Find(key.c_str()));
    EXPECT_EQ(nullptr, table.Find("key300"));
    table.Empty();
    EXPECT_EQ(0u, table.Count());
    EXPECT_EQ(nullptr, table.Find("key1"));
    EXPECT_EQ(1597u, table.BucketCount());
    // 31-based hash over signed bytes.
    EXPECT_EQ(113759u, FieldTable::Hash("seq"));
    EXPECT_EQ(static_cast<std::uint32_t>(-128), FieldTable::Hash("\x80"));
}

struct Reading {
    bool accepted;
    std::int32_t result;
    Decision decision;
};

Reading Read(std::int32_t kind, const std::string& datagram, std::int32_t seq = 1)
{
    std::vector<char> bytes(datagram.begin(), datagram.end());
    bytes.push_back('\x7f');  // the terminator's place, deliberately not 0
    FieldTable fields;
    Reading r = {};
    r.accepted = ReadResponse(bytes.data(), datagram.size(), seq, fields, &r.result);
    if (r.accepted)
        r.decision = DecideResult(kind, r.result, fields);
    return r;
}

TEST(TokenProtocolTest, ResponsesDecideTheirResult)
{
    struct Case {
        const char* name;
        std::int32_t kind;
        std::string datagram;
        std::int32_t result;
        const char* token;
        std::int32_t value;
    };
    const std::string big(31, '7');
    const Case cases[] = {
        {"token", kTokenGet, "0\r\nseq:1\r\ntoken:123456\r\ntoken-ttl:60\r\n", 0, "123456", 60},
        {"keys in any case", kTokenGet, "0\r\nSeq:1\r\nToken:123456\r\nTOKEN-TTL:60", 0, "123456",
         60},
        {"LF only, last line without LF", kTokenGet, "0\nseq:1\ntoken:9\ntoken-ttl:5", 0, "9", 5},
        {"ttl 0", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl:0\r\n", -2, "", 0},
        {"ttl -5", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl:-5\r\n", -2, "", 0},
        {"ttl abc", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl:abc\r\n", -2, "", 0},
        {"ttl after a blank", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl: 60\r\n", 0, "1", 60},
        {"ttl too large saturates", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl:99999999999\r\n",
         0, "1", 2147483647},
        {"no ttl", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\n", -2, "", 0},
        {"no token", kTokenGet, "0\r\nseq:1\r\ntoken-ttl:60\r\n", -2, "", 0},
        {"empty token value", kTokenGet, "0\r\nseq:1\r\ntoken:\r\ntoken-ttl:60\r\n", -2, "", 0},
        {"second token wins", kTokenGet, "0\r\nseq:1\r\ntoken:1\r\ntoken:2\r\ntoken-ttl:3\r\n", 0,
         "2", 3},
        {"31 characters", kTokenGet, "0\r\nseq:1\r\ntoken:" + big + "\r\ntoken-ttl:3\r\n", 0,
         big.c_str(), 3},
        {"32 characters", kTokenGet, "0\r\nseq:1\r\ntoken:" + big + "8\r\ntoken-ttl:3\r\n", -2, "",
         0},
        {"limit reached", kTokenGet, "2\r\nseq:1\r\n", 2, "", 0},
        {"admitted", kTokenCheck, "3\r\nseq:1\r\n", 3, "", 0},
        {"result with blanks and sign", kTokenStatus, "  +7 devices\r\nseq:1\r\n", 7, "", 0},
        {"valid", kTokenCheck, "0\r\nseq:1\r\ntoken:42\r\ntoken-valid:true\r\n", 0, "42", 1},
        {"expired", kTokenCheck, "0\r\nseq:1\r\ntoken:42\r\ntoken-valid:false\r\n", 0, "42", 0},
        {"valid after a blank", kTokenCheck, "0\r\nseq:1\r\ntoken:42\r\ntoken-valid: true\r\n", -2,
         "", 0},
        {"TRUE", kTokenCheck, "0\r\nseq:1\r\ntoken:42\r\ntoken-valid:TRUE\r\n", -2, "", 0},
        {"check without token", kTokenCheck, "0\r\nseq:1\r\ntoken-valid:true\r\n", -2, "", 0},
        {"check with a long token", kTokenCheck,
         "0\r\nseq:1\r\ntoken:" + big + "8\r\ntoken-valid:true\r\n", -2, "", 0},
        {"status as it is", kTokenStatus, "0\r\nseq:1\r\n", 0, "", 0},
        {"lines without colon skipped", kTokenGet,
         "0\r\n\r\nnoise\r\nseq:1\r\ntoken:5\r\ntoken-ttl:1\r\n", 0, "5", 1},
        {"value keeps its blank", kTokenGet, "0\r\nseq:1\r\ntoken: 12\r\ntoken-ttl:1\r\n", 0, " 12",
         1},
        {"seq with text after it", kTokenGet, "0\r\nseq:1abc\r\ntoken:5\r\ntoken-ttl:1\r\n", 0, "5",
         1},
    };
    for (const Case& c : cases) {
        const Reading r = Read(c.kind, c.datagram);
        ASSERT_TRUE(r.accepted) << c.name;
        EXPECT_EQ(c.result, r.decision.result) << c.name;
        if (r.decision.result == 0 && (c.kind == kTokenGet || c.kind == kTokenCheck)) {
            EXPECT_STREQ(c.token, r.decision.token) << c.name;
            EXPECT_EQ(c.value, r.decision.value) << c.name;
        }
    }
}

TEST(TokenProtocolTest, DatagramsThatAnswerNothingAreIgnored)
{
    const std::string ignored[] = {
        "",
        std::string("\0"
                    "0\r\nseq:1",
                    8),
        "\r\n0\r\nseq:1\r\n",
        "ok\r\nseq:1\r\n",
        "0\r\n",
        "0\r\nseq:0\r\n",
        "0\r\nseq:2\r\n",
        "0\r\nseq:\r\n",
        "0\r\nseq: x\r\n",
        "0\r\nsequence:1\r\n",
    };
    for (const std::string& datagram : ignored)
        EXPECT_FALSE(Read(kTokenGet, datagram).accepted) << datagram;
}

TEST(TokenProtocolTest, ReadingStaysInsideTheDatagram)
{
    // The bytes after the datagram's length must not be read as another line.
    std::string bytes = "0\r\nseq:1\r\ntoken:1\r\ntoken-ttl:5\r\n";
    const std::size_t size = bytes.size();
    bytes += "token:999999\r\n";
    bytes.push_back('\0');
    FieldTable fields;
    std::int32_t result = 0;
    ASSERT_TRUE(ReadResponse(&bytes[0], size, 1, fields, &result));
    EXPECT_STREQ("1", fields.Find("token"));
}

}  // namespace
