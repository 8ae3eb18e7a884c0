#include "tools/tokend/TokenServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::uint32_t kPc = 0x0200000A;  // 10.0.0.2

struct Exchange {
    TokenServer server;
    std::uint64_t now = 0;

    explicit Exchange(const TokenServerOptions& options = TokenServerOptions()) : server(options) {}

    // The answer to text from peer, "ignored", or "" when no answer is due.
    std::string Send(const std::string& text, std::uint32_t peer = kPc)
    {
        std::string answer;
        long seq = 0;
        return server.Handle(peer, text.data(), text.size(), now, &answer, &seq) ? answer
                                                                                 : "ignored";
    }
    std::string GetCode(long seq)
    {
        const std::string answer = Send("gimmeatoken\r\nSeq:" + std::to_string(seq) + "\r\n");
        const std::size_t at = answer.find("Token:");
        return at == std::string::npos ? std::string() : answer.substr(at + 6, 6);
    }
    std::string Check(const std::string& code)
    {
        return Send("checktoken\r\nToken:" + code + "\r\nSeq:9\r\n");
    }
};

TEST(TokenServerTest, AnswersTheWholeExchange)
{
    Exchange e;
    EXPECT_EQ("4\r\nSeq:0\r\n", e.Send("gimmeatoken\r\nSeq:0\r\n"));
    EXPECT_EQ("0\r\nSeq:1\r\n", e.Send("login\r\nName:PC01\r\nSeq:1\r\n"));
    const std::string answer = e.Send("gimmeatoken\r\nSeq:2\r\n");
    ASSERT_EQ(0u, answer.find("0\r\nSeq:2\r\nToken:"));
    EXPECT_NE(std::string::npos, answer.find("\r\nToken-TTL:60\r\n"));
    const std::string code = e.GetCode(3);
    ASSERT_EQ(6u, code.size());
    EXPECT_EQ(std::string::npos, code.find_first_not_of("0123456789"));
    EXPECT_EQ("0\r\nSeq:9\r\nToken:" + code + "\r\nToken-Valid:true\r\n", e.Check(code));
    EXPECT_EQ("0\r\nSeq:4\r\n", e.Send("heartbeat\r\nSeq:4\r\n"));
    EXPECT_EQ("0\r\nSeq:5\r\n", e.Send("status\r\nSeq:5\r\n"));
    EXPECT_EQ("", e.Send("logout\r\n"));  // bare: no answer, but logged out
    EXPECT_EQ("4\r\nSeq:6\r\n", e.Send("heartbeat\r\nSeq:6\r\n"));
}

TEST(TokenServerTest, CodesEndWhenTheyExpireOrAreReplaced)
{
    TokenServerOptions options;
    options.tokenLifetime = 5;
    Exchange e(options);
    e.Send("login\r\nName:PC01\r\nSeq:0\r\n");
    const std::string first = e.GetCode(1);
    const std::string second = e.GetCode(2);
    EXPECT_NE(std::string::npos, e.Check(first).find("Token-Valid:false"));
    EXPECT_NE(std::string::npos, e.Check(second).find("Token-Valid:true"));
    e.now = 4999;
    EXPECT_NE(std::string::npos, e.Check(second).find("Token-Valid:true"));
    e.now = 5000;
    EXPECT_NE(std::string::npos, e.Check(second).find("Token-Valid:false"));
    e.now = 6000;  // expired codes are swept out, so memory stays bounded
    e.Send("heartbeat\r\nSeq:3\r\n");
    EXPECT_EQ(0u, e.server.CodeCount());
}

TEST(TokenServerTest, SessionLapsesWithoutRequests)
{
    TokenServerOptions options;
    options.sessionTimeout = 15;
    Exchange e(options);
    e.Send("login\r\nName:PC01\r\nSeq:0\r\n");
    e.now = 15000;
    EXPECT_EQ("0\r\nSeq:1\r\n", e.Send("heartbeat\r\nSeq:1\r\n"));
    e.now = 30001;
    EXPECT_EQ("4\r\nSeq:2\r\n", e.Send("heartbeat\r\nSeq:2\r\n"));
}

TEST(TokenServerTest, AdmittedCodesAndTheDeviceLimit)
{
    TokenServerOptions options;
    options.deviceLimit = 1;
    options.admitAfter = 2;
    Exchange e(options);
    e.Send("login\r\nName:PC01\r\nSeq:0\r\n");
    const std::string code = e.GetCode(1);
    EXPECT_NE(std::string::npos, e.Check(code).find("Token-Valid:true"));
    e.now = 2000;
    EXPECT_EQ("3\r\nSeq:9\r\n", e.Check(code));
    EXPECT_EQ("2\r\nSeq:3\r\n", e.Send("gimmeatoken\r\nSeq:3\r\n"));
}

TEST(TokenServerTest, AFixedCodeIsRevokedAfterItsTimeAndIssuedAfresh)
{
    TokenServerOptions options;
    options.fixedCode = "123456";
    options.revokeAfter = 3;
    Exchange e(options);
    e.Send("login\r\nName:PC01\r\nSeq:0\r\n");
    EXPECT_EQ("123456", e.GetCode(1));
    e.now = 2999;
    EXPECT_NE(std::string::npos, e.Check("123456").find("Token-Valid:true"));
    e.now = 3000;
    EXPECT_NE(std::string::npos, e.Check("123456").find("Token-Valid:false"));
    EXPECT_EQ("123456", e.GetCode(2));  // the same code again, with a fresh time
    EXPECT_NE(std::string::npos, e.Check("123456").find("Token-Valid:true"));
}

TEST(TokenServerTest, MalformedRequestsAreIgnored)
{
    Exchange e;
    e.Send("login\r\nName:PC01\r\nSeq:0\r\n");
    const std::string ignored[] = {
        "",
        "gimmeatoken\r\n",
        "gimmeatoken\r\nSeq:x\r\n",
        "\r\nSeq:1\r\n",
        "fly\r\nSeq:1\r\n",
        std::string("gimmeatoken\0\r\nSeq:1\r\n", 20),
        "\xff\xfe\r\nSeq:1",
    };
    for (const std::string& text : ignored)
        EXPECT_EQ("ignored", e.Send(text)) << text;
    EXPECT_EQ("1\r\nSeq:1\r\n", e.Send("login\r\nSeq:1\r\n"));  // a login needs a name
    EXPECT_EQ(static_cast<std::uint64_t>(std::size(ignored)), e.server.Stats().ignored);
}

TEST(TokenServerTest, RemembersABoundedNumberOfPcs)
{
    TokenServerOptions options;
    options.maxPcs = 3;
    options.sessionTimeout = 10;
    Exchange e(options);
    for (std::uint32_t pc = 1; pc <= 3; ++pc)
        EXPECT_EQ("0\r\nSeq:0\r\n",
                  e.Send("login\r\nName:" + std::string(500, 'N') + "\r\nSeq:0\r\n", pc));
    EXPECT_EQ("1\r\nSeq:0\r\n", e.Send("login\r\nName:PC04\r\nSeq:0\r\n", 4));
    EXPECT_EQ(3u, e.server.PcCount());
    e.now = 10001;  // the first three lapsed: room again
    EXPECT_EQ("0\r\nSeq:0\r\n", e.Send("login\r\nName:PC04\r\nSeq:0\r\n", 4));
    EXPECT_EQ(1u, e.server.PcCount());
}

}  // namespace
