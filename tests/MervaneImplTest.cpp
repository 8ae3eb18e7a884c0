#include "token/MervaneImpl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "tests/TokenFakes.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/allocator_interface.h>
#define LORVIK_COUNTS_ALLOCATIONS 1
#endif
#endif

using namespace Token;
using tokenfake::Cafe;
using tokenfake::Seen;

namespace {

std::vector<std::uint32_t> Times(const std::vector<Seen>& sent)
{
    std::vector<std::uint32_t> times;
    for (const Seen& s : sent)
        times.push_back(s.at);
    return times;
}

std::vector<std::string> Verbs(const std::vector<Seen>& sent)
{
    std::vector<std::string> verbs;
    for (const Seen& s : sent)
        verbs.push_back(s.verb + " " + std::to_string(s.seq));
    return verbs;
}

TEST(MervaneImplTest, WholeExchangeIsExactOnTheWire)
{
    Cafe cafe;
    cafe.RequestAt(100, kTokenGet);
    cafe.RequestAt(200, kTokenCheck);
    cafe.RunUntil(16000);

    const std::vector<std::string> expected = {
        std::string("login\r\nName:PC01\r\nSeq:0\r\n"),
        std::string("gimmeatoken\r\nSeq:1\r\n"),
        std::string("checktoken\r\nToken:123456\r\nSeq:2\r\n"),
        std::string("heartbeat\r\nSeq:3\r\n"),
    };
    ASSERT_EQ(expected.size(), cafe.network.sent.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], cafe.network.sent[i].bytes) << i;
    EXPECT_EQ(9110, cafe.network.openedPort);
    EXPECT_EQ("192.168.1.1", cafe.network.openedAddress);
    EXPECT_EQ("192.168.1.1", cafe.sink.server);

    ASSERT_EQ(2u, cafe.sink.events.size());
    const auto& got = cafe.sink.events[0];
    EXPECT_EQ(kTokenGet, got.kind);
    EXPECT_EQ(0, got.result);
    EXPECT_EQ(0u, got.tag);
    EXPECT_EQ("123456", got.token);
    EXPECT_EQ(60, got.value);
    const auto& checked = cafe.sink.events[1];
    EXPECT_EQ(kTokenCheck, checked.kind);
    EXPECT_EQ(0, checked.result);
    EXPECT_EQ("123456", checked.token);
    EXPECT_EQ(1, checked.value);
    // The heartbeat follows the last accepted response (the check's, at about 205 ms) by 15 s.
    const std::uint32_t heartbeat = cafe.network.sent[3].at;
    EXPECT_GE(heartbeat, 205u + 15000u);
    EXPECT_LT(heartbeat, 205u + 15000u + 100u);
    EXPECT_TRUE(cafe.client.IsLoggedIn());
}

TEST(MervaneImplTest, QueuedRequestIsSentWithoutWaitingForTheCycle)
{
    Cafe cafe;
    cafe.RequestAt(150, kTokenGet);
    cafe.RunUntil(400);
    const auto gets = cafe.SentVerb("gimmeatoken");
    ASSERT_EQ(1u, gets.size());
    EXPECT_EQ(150u, gets[0].at);
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(155u, cafe.sink.events[0].at);
}

TEST(MervaneImplTest, UnansweredRequestIsSentFourTimesWithOneSeqThenFails)
{
    Cafe cafe;
    cafe.server.silent = {"gimmeatoken"};
    cafe.RequestAt(100, kTokenGet);
    cafe.RunUntil(3000);

    const auto gets = cafe.SentVerb("gimmeatoken");
    ASSERT_EQ(4u, gets.size());
    EXPECT_EQ((std::vector<std::uint32_t>{100, 400, 700, 1000}), Times(gets));
    for (const Seen& s : gets)
        EXPECT_EQ(1, s.seq);
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(kTokenGet, cafe.sink.events[0].kind);
    EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[0].result);
    EXPECT_EQ(1100u, cafe.sink.events[0].at);
}

TEST(MervaneImplTest, SilentServerFailsWaitingRequestsAfterOneSendingAndOthersAtOnce)
{
    Cafe cafe;
    cafe.server.silent = {"*"};
    cafe.RequestAt(100, kTokenGet);     // waits behind the first login
    cafe.RequestAt(1500, kTokenCheck);  // goes out while the next login waits
    cafe.RunUntil(3000);

    EXPECT_EQ((std::vector<std::string>{"login 0", "login 0", "login 0", "login 0", "gimmeatoken 1",
                                        "checktoken 2", "checktoken 2", "checktoken 2",
                                        "checktoken 2", "login 3", "login 3"}),
              Verbs(cafe.network.sent));
    EXPECT_EQ(
        (std::vector<std::uint32_t>{0, 300, 600, 900, 1000, 1500, 1800, 2100, 2400, 2500, 2800}),
        Times(cafe.network.sent));
    ASSERT_EQ(2u, cafe.sink.events.size());
    EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[0].result);
    EXPECT_EQ(1100u, cafe.sink.events[0].at);
    EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[1].result);
    EXPECT_EQ(2500u, cafe.sink.events[1].at);
}

// First sendings of the session's logins.
std::vector<std::uint32_t> LoginTimes(const Cafe& cafe)
{
    std::vector<std::uint32_t> times;
    long seq = -1;
    for (const Seen& s : cafe.SentVerb("login")) {
        if (s.seq != seq)
            times.push_back(s.at);
        seq = s.seq;
    }
    return times;
}

TEST(MervaneImplTest, LoginAfterARefusedOrUnansweredOneWaitsLongerEachTimeUpToFifteenSeconds)
{
    struct Case {
        const char* name;
        std::function<void(Cafe&)> setUp;
        std::vector<std::uint32_t> logins;
    };
    const Case cases[] = {
        {"refused (PC limit full)",
         [](Cafe& c) {
             c.server.refuse = {{"login", 1}};
         },
         {0, 1005, 3010, 7015, 15020, 30025}},
        {"refused with 4",
         [](Cafe& c) {
             c.server.refuse = {{"login", 4}};
         },
         {0, 1005, 3010, 7015, 15020, 30025}},
        // Four sendings each, given up 1 s after the first; the wait counts from there.
        {"unanswered",
         [](Cafe& c) { c.server.silent = {"login"}; },
         {0, 2000, 5000, 10000, 19000, 35000}},
        // Accepted at the third try, the wait starts over: the server's later 4 is followed
        // at once, and a refusal then by a wait of 1 s.
        {"accepted, then asked to log in again",
         [](Cafe& c) {
             auto logins = std::make_shared<int>(0);
             c.network.onSend = [&c, logins](const Seen& request) {
                 int result = 0;
                 if (request.verb == "login")
                     result = ++*logins == 3 || *logins == 5 ? 0 : 1;
                 else if (request.verb == "heartbeat" && *logins == 3)
                     result = 4;
                 c.network.Deliver(request.at + 5, std::to_string(result) + "\r\nSeq:" +
                                                       std::to_string(request.seq) + "\r\n");
             };
         },
         {0, 1005, 3010, 18020, 19025}},
    };
    for (const Case& c : cases) {
        Cafe cafe;
        c.setUp(cafe);
        cafe.RunUntil(40000);
        EXPECT_EQ(c.logins, LoginTimes(cafe)) << c.name;
    }
}

// After a power cut every PC of a café starts at the same instant. Their logins after a
// refusal, and their first heartbeats, must not come back in step: each wait is spread
// between its half and the whole, the first heartbeat over its whole interval.
TEST(MervaneImplTest, ACafeStartingAtOnceSpreadsItsLoginsAndHeartbeats)
{
    const int kPcs = 300;
    std::vector<std::uint32_t> secondLogins, fifthLogins, firstHeartbeats;
    for (int pc = 0; pc < kPcs; ++pc) {
        SeededRandom random(static_cast<std::uint32_t>(pc) * 7919u + 1u);
        Cafe refused(1000, &random);
        refused.server.refuse = {{"login", 1}};
        refused.RunUntil(25000);
        const std::vector<std::uint32_t> logins = LoginTimes(refused);
        ASSERT_GE(logins.size(), 5u);
        secondLogins.push_back(logins[1]);
        fifthLogins.push_back(logins[4] - logins[3]);
        Cafe accepted(1000, &random);
        accepted.RunUntil(15006);
        const auto heartbeats = accepted.SentVerb("heartbeat");
        ASSERT_EQ(1u, heartbeats.size());
        firstHeartbeats.push_back(heartbeats[0].at);
    }
    struct Spread {
        const char* name;
        const std::vector<std::uint32_t>& times;
        std::uint32_t least, most, bucket;
    };
    // Refused at 5: the second login 0.5 to 1 s later; the fifth waits 4 to 8 s after the
    // fourth's refusal; the first heartbeat 0 to 15 s after the login's answer at 5.
    const Spread spreads[] = {
        {"second login", secondLogins, 505, 1005, 50},
        {"wait before the fifth login", fifthLogins, 4005, 8005, 400},
        {"first heartbeat", firstHeartbeats, 6, 15005, 1500},
    };
    for (const Spread& s : spreads) {
        // Ten buckets over the range: every one is used, none holds a fifth of the PCs.
        std::vector<int> buckets(10, 0);
        for (std::uint32_t t : s.times) {
            ASSERT_GE(t, s.least) << s.name;
            ASSERT_LE(t, s.most) << s.name;
            ++buckets[std::min<std::uint32_t>((t - s.least) / s.bucket, 9)];
        }
        for (int n : buckets) {
            EXPECT_GT(n, 0) << s.name;
            EXPECT_LT(n, kPcs / 5) << s.name;
        }
    }
}

TEST(MervaneImplTest, TheSinkHearsTheAnswerToEveryLoginButTheWindowSeesNone)
{
    struct Case {
        const char* name;
        std::function<void(Cafe&)> setUp;
        std::vector<std::int32_t> answers;
    };
    const Case cases[] = {
        {"accepted", [](Cafe&) {}, {0}},
        {"refused (PC limit full)",
         [](Cafe& c) {
             c.server.refuse = {{"login", 1}};
         },
         {1, 1, 1}},
        {"unanswered",
         [](Cafe& c) { c.server.silent = {"login"}; },
         {kTokenNoAnswer, kTokenNoAnswer}},
    };
    for (const Case& c : cases) {
        Cafe cafe;
        c.setUp(cafe);
        cafe.RunUntil(4000);
        EXPECT_EQ(c.answers, cafe.sink.logins) << c.name;
        EXPECT_TRUE(cafe.sink.events.empty()) << c.name;
    }
}

TEST(MervaneImplTest, ResultFourLogsInAgainAndRepeatsTheRequest)
{
    Cafe cafe;
    int refusals = 1;  // the server restarted and forgot this PC once
    cafe.network.onSend = [&](const Seen& request) {
        int result = 0;
        if (request.verb == "gimmeatoken" && refusals > 0) {
            --refusals;
            result = 4;
        }
        std::string answer =
            std::to_string(result) + "\r\nSeq:" + std::to_string(request.seq) + "\r\n";
        if (result == 0 && request.verb == "gimmeatoken")
            answer += "token:654321\r\ntoken-ttl:30\r\n";
        cafe.network.Deliver(request.at + 5, answer);
    };
    cafe.RequestAt(100, kTokenGet);
    cafe.RunUntil(1000);

    EXPECT_EQ((std::vector<std::string>{"login 0", "gimmeatoken 1", "login 2", "gimmeatoken 3"}),
              Verbs(cafe.network.sent));
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(0, cafe.sink.events[0].result);
    EXPECT_EQ("654321", cafe.sink.events[0].token);
    EXPECT_EQ(30, cafe.sink.events[0].value);
}

// A full PC table: every login refused, every request answered 4. The request goes out
// again after each login, but the window hears "no answer" 3 s after asking; the logins go
// on waiting longer each time: 1, 2, 4 and 8 s after the refusals at 5, 1010, 3015 and 7020.
TEST(MervaneImplTest, ServerRefusingEverythingWithFourStillAnswersTheWindowInTime)
{
    Cafe cafe;
    cafe.server.refuse = {{"login", 4}, {"gimmeatoken", 4}};
    cafe.RequestAt(100, kTokenGet);
    cafe.RunUntil(20000);

    EXPECT_EQ((std::vector<std::string>{"login 0", "gimmeatoken 1", "login 2", "gimmeatoken 3",
                                        "login 4", "gimmeatoken 5", "login 6", "login 7"}),
              Verbs(cafe.network.sent));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 100, 1005, 1010, 3010, 3015, 7015, 15020}),
              Times(cafe.network.sent));
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(kTokenGet, cafe.sink.events[0].kind);
    EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[0].result);
    EXPECT_EQ(3100u, cafe.sink.events[0].at);
    EXPECT_FALSE(cafe.client.IsLoggedIn());
}

TEST(MervaneImplTest, LoginHeldByTheWaitGetsItsFourSendingsOnceItGoesOut)
{
    Cafe cafe;
    int logins = 0;
    cafe.network.onSend = [&](const Seen& request) {
        if (request.verb == "login" && ++logins > 1)
            return;  // the second login is never answered
        const int result = request.verb == "login" ? 1 : 4;
        cafe.network.Deliver(request.at + 5, std::to_string(result) +
                                                 "\r\nSeq:" + std::to_string(request.seq) + "\r\n");
    };
    cafe.RequestAt(100, kTokenGet);  // answered 4: a login is due, but must wait
    cafe.RunUntil(2100);
    EXPECT_EQ((std::vector<std::string>{"login 0", "gimmeatoken 1", "login 2", "login 2", "login 2",
                                        "login 2", "gimmeatoken 3"}),
              Verbs(cafe.network.sent));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 100, 1005, 1305, 1605, 1905, 2005}),
              Times(cafe.network.sent));
}

TEST(MervaneImplTest, QueuedRequestsKeepTheirOrderOneAtATime)
{
    Cafe cafe;
    cafe.server.delay = 50;
    cafe.RequestAt(100, kTokenGet);
    cafe.RequestAt(110, kTokenStatus);
    cafe.RequestAt(120, kTokenCheck);
    cafe.RunUntil(1000);

    EXPECT_EQ((std::vector<std::string>{"login 0", "gimmeatoken 1", "status 2", "checktoken 3"}),
              Verbs(cafe.network.sent));
    EXPECT_EQ((std::vector<std::uint32_t>{0, 100, 150, 200}), Times(cafe.network.sent));
    ASSERT_EQ(3u, cafe.sink.events.size());
    EXPECT_EQ(kTokenGet, cafe.sink.events[0].kind);
    EXPECT_EQ(kTokenStatus, cafe.sink.events[1].kind);
    EXPECT_EQ(kTokenCheck, cafe.sink.events[2].kind);
}

TEST(MervaneImplTest, AcceptedAnswerRestartsTheHeartbeatWait)
{
    Cafe cafe;
    cafe.RequestAt(10000, kTokenGet);
    cafe.RunUntil(41000);
    // Login answered at 5, the get at 10005: the first heartbeat waits 15 s from there.
    EXPECT_EQ((std::vector<std::uint32_t>{25005, 40010}), Times(cafe.SentVerb("heartbeat")));
}

// The worker sleeps until its next deadline: an idle session wakes for its heartbeats and
// their answers, a window ticking once a second for each check and its answer, a client
// that cannot start for its retries.
TEST(MervaneImplTest, WorkerWakesOnlyForItsDeadlinesAndRequests)
{
    struct Case {
        const char* name;
        bool breakStart;
        bool ticking;
        int mostWaits;  // over the minute from 1 s to 61 s
    };
    const Case cases[] = {
        {"idle", false, false, 10},
        {"checked every second", false, true, 125},
        {"start failing", true, false, 13},
    };
    for (const Case& c : cases) {
        Cafe cafe;
        cafe.network.startupWorks = !c.breakStart;
        for (std::uint32_t at = 1000; c.ticking && at < 61000; at += 1000)
            cafe.RequestAt(at, kTokenCheck);
        cafe.RunUntil(1000);
        const int before = cafe.network.waits;
        cafe.RunUntil(61000);
        EXPECT_LE(cafe.network.waits - before, c.mostWaits) << c.name;
        EXPECT_EQ(c.ticking ? 60u : 0u, cafe.SentVerb("checktoken").size()) << c.name;
    }
}

TEST(MervaneImplTest, TimingHoldsAcrossTheTickCountWrap)
{
    Cafe cafe(0xFFFFFFFFu - 250);  // wraps 250 ms after the start
    cafe.server.silent = {"gimmeatoken"};
    cafe.RequestAt(100, kTokenGet);
    cafe.RunUntil(16500);
    EXPECT_EQ((std::vector<std::uint32_t>{100, 400, 700, 1000}),
              Times(cafe.SentVerb("gimmeatoken")));
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(1100u, cafe.sink.events[0].at);
    EXPECT_EQ(1u, cafe.SentVerb("heartbeat").size());
}

TEST(MervaneImplTest, StaleAndMalformedDatagramsAreDroppedAndTheRequestGoesOn)
{
    const char* const ignored[] = {
        "",                    // nothing
        "ok\r\nSeq:1\r\n",     // the result is not a number
        "0\r\ntoken:1\r\n",    // no Seq
        "0\r\nSeq:0\r\n",      // answers the login, one Seq back
        "0\r\nSeq:x1\r\n",     // Seq is not a number
        "\r\n0\r\nSeq:1\r\n",  // the first line is blank
        "0\r\nSeq:2\r\n",      // a Seq never sent
    };
    for (const char* bad : ignored) {
        Cafe cafe;
        cafe.server.silent = {"gimmeatoken"};
        cafe.RequestAt(100, kTokenGet);
        cafe.At(150,
                [&cafe, bad] { cafe.network.Deliver(150, std::string(bad, std::strlen(bad))); });
        cafe.At(450, [&cafe] {
            cafe.network.Deliver(450, "0\r\nseq:1\r\ntoken:111111\r\ntoken-ttl:9");
        });
        cafe.RunUntil(1000);
        EXPECT_EQ(2u, cafe.SentVerb("gimmeatoken").size()) << bad;
        ASSERT_EQ(1u, cafe.sink.events.size()) << bad;
        EXPECT_EQ(0, cafe.sink.events[0].result) << bad;
        EXPECT_EQ(450u, cafe.sink.events[0].at) << bad;
        EXPECT_EQ(9, cafe.sink.events[0].value) << bad;
    }
}

TEST(MervaneImplTest, WaitingDatagramsAreAllReadWholeInOneCycle)
{
    struct Case {
        const char* name;
        std::vector<std::string> burst;
    };
    const std::string right = "0\r\nSeq:1\r\ntoken:222222\r\ntoken-ttl:60\r\n";
    const Case cases[] = {
        {"stale ahead of the answer", {"0\r\nSeq:0\r\n", right}},
        {"garbage ahead of the answer", {"\x01\xff garbage", right}},
        {"duplicate answer", {right, right}},
        {"answer of 3000 bytes",
         {"0\r\nSeq:1\r\npad:" + std::string(3000, 'x') + "\r\ntoken:222222\r\ntoken-ttl:60"}},
    };
    for (const Case& c : cases) {
        Cafe cafe;
        cafe.server.silent = {"gimmeatoken", "status"};
        cafe.RequestAt(100, kTokenGet);
        cafe.RequestAt(500, kTokenStatus);
        // Between the fourth sending (1000) and the check that gives the request up: only
        // what this one cycle reads can still answer it.
        for (const std::string& d : c.burst)
            cafe.network.Deliver(1050, d);
        cafe.RunUntil(1100);
        ASSERT_EQ(1u, cafe.sink.events.size()) << c.name;
        EXPECT_EQ(0, cafe.sink.events[0].result) << c.name;
        EXPECT_EQ(1050u, cafe.sink.events[0].at) << c.name;
        EXPECT_EQ("222222", cafe.sink.events[0].token) << c.name;
        // The duplicate must not be taken for the answer of the status request behind it.
        EXPECT_EQ(1u, cafe.SentVerb("status").size()) << c.name;
        EXPECT_TRUE(cafe.network.inbox.empty()) << c.name;
    }
}

TEST(MervaneImplTest, AnswerWhileNothingIsPendingIsDropped)
{
    Cafe cafe;
    cafe.At(500, [&cafe] { cafe.network.Deliver(500, "0\r\nSeq:0\r\n"); });
    cafe.RequestAt(600, kTokenGet);
    cafe.RunUntil(700);
    EXPECT_TRUE(cafe.network.inbox.empty());
    ASSERT_EQ(1u, cafe.sink.events.size());
    EXPECT_EQ(0, cafe.sink.events[0].result);
    EXPECT_EQ("gimmeatoken 1", Verbs(cafe.SentVerb("gimmeatoken"))[0]);
}

TEST(MervaneImplTest, RequestsOlderThanTheTimeoutFailTogether)
{
    Cafe cafe;
    cafe.server.silent = {"gimmeatoken"};
    cafe.RequestAt(100, kTokenGet);
    cafe.RequestAt(100, kTokenCheck);
    cafe.At(150, [&cafe] { cafe.network.stall = 3500; });
    cafe.RunUntil(4000);
    ASSERT_EQ(2u, cafe.sink.events.size());
    for (const auto& e : cafe.sink.events) {
        EXPECT_EQ(kTokenNoAnswer, e.result);
        EXPECT_EQ(3650u, e.at);
    }
    EXPECT_EQ(kTokenGet, cafe.sink.events[0].kind);
    EXPECT_EQ(kTokenCheck, cafe.sink.events[1].kind);
    EXPECT_EQ(1u, cafe.SentVerb("gimmeatoken").size());
    EXPECT_EQ(0u, cafe.SentVerb("checktoken").size());
}

TEST(MervaneImplTest, StartFailureIsReportedOnceThenRetriedEveryFiveSeconds)
{
    struct Case {
        const char* name;
        std::function<void(Cafe&, bool)> breakIt;
        std::int32_t code;
    };
    const Case cases[] = {
        {"no Winsock", [](Cafe& c, bool broken) { c.network.startupWorks = !broken; },
         kStartNoWinsock},
        {"no host name", [](Cafe& c, bool broken) { c.network.hostNameWorks = !broken; },
         kStartNoHostName},
        {"host name unresolved", [](Cafe& c, bool broken) { c.network.resolves = !broken; },
         kStartHostUnresolved},
        {"no route", [](Cafe& c, bool broken) { c.routes.routesWork = !broken; }, kStartNoServer},
        {"no adapters", [](Cafe& c, bool broken) { c.routes.adaptersWork = !broken; },
         kStartNoServer},
    };
    for (const Case& c : cases) {
        Cafe cafe;
        c.breakIt(cafe, true);
        cafe.RequestAt(0, kTokenGet);
        cafe.RequestAt(2000, kTokenCheck);
        cafe.RequestAt(2000, kTokenHeartbeat);
        cafe.At(9000, [&cafe, &c] { c.breakIt(cafe, false); });
        cafe.RequestAt(14000, kTokenGet);
        cafe.RunUntil(15000);

        EXPECT_EQ(std::vector<std::int32_t>{c.code}, cafe.sink.startFailures) << c.name;
        EXPECT_EQ((std::vector<std::uint32_t>{0, 5000, 10000}), cafe.network.attempts) << c.name;
        ASSERT_EQ(3u, cafe.sink.events.size()) << c.name;
        EXPECT_EQ(kTokenGet, cafe.sink.events[0].kind);
        EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[0].result) << c.name;
        EXPECT_EQ(0u, cafe.sink.events[0].at) << c.name;
        EXPECT_EQ(kTokenCheck, cafe.sink.events[1].kind) << c.name;
        EXPECT_EQ(kTokenNoAnswer, cafe.sink.events[1].result) << c.name;
        EXPECT_EQ(2000u, cafe.sink.events[1].at) << c.name;
        // Tried again at 5 s (still broken) and 10 s (mended).
        EXPECT_EQ(0, cafe.sink.events[2].result) << c.name;
        EXPECT_EQ(14005u, cafe.sink.events[2].at) << c.name;
        EXPECT_EQ(10000u, cafe.SentVerb("login").at(0).at) << c.name;
        EXPECT_TRUE(cafe.client.IsStarted()) << c.name;
        EXPECT_EQ(0u, cafe.SentVerb("heartbeat").size()) << c.name;
    }
}

TEST(MervaneImplTest, ClosingALoggedInSessionSendsTheBareLogout)
{
    Cafe cafe;
    cafe.RunUntil(100);
    ASSERT_TRUE(cafe.client.IsLoggedIn());
    cafe.client.Stop();
    cafe.client.WorkerMain();
    EXPECT_EQ(std::string("logout\r\n"), cafe.network.sent.back().bytes);
    EXPECT_FALSE(cafe.network.open);
    EXPECT_FALSE(cafe.client.IsLoggedIn());
}

TEST(MervaneImplTest, RequestsFromAnotherThreadAllArrive)
{
    Cafe cafe;
    cafe.RunUntil(50);
    std::atomic<bool> done{false};
    std::thread window([&] {
        for (int i = 0; i < 200; ++i)
            cafe.client.Request(kTokenStatus);
        done = true;
    });
    while (!done)
        cafe.client.Step();
    window.join();
    cafe.RunUntil(cafe.clock.Elapsed() + 5000);
    EXPECT_EQ(200u, cafe.sink.events.size());
}

#if defined(LORVIK_COUNTS_ALLOCATIONS)
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void CountAllocation(const volatile void*, std::size_t)
{
    if (g_counting)
        ++g_allocations;
}

void IgnoreRelease(const volatile void*)
{
}

// A server inside the socket that answers every request at once, from fixed buffers, so
// that whatever allocates while counting is the client.
class AnsweringNetwork : public tokenfake::Network {
public:
    explicit AnsweringNetwork(tokenfake::Clock& clock) : Network(clock), m_clock(clock) {}

    void Send(const char* data, std::size_t size) override
    {
        char verb[16] = {};
        std::sscanf(data, "%15[a-z]", verb);
        const char* seq = std::strstr(data, "Seq:");
        const int n = seq ? std::atoi(seq + 4) : -1;
        if (std::strcmp(verb, "gimmeatoken") == 0)
            m_length = std::snprintf(m_reply, sizeof m_reply,
                                     "0\r\nSeq:%d\r\nToken:123456\r\nToken-TTL:60\r\n", n);
        else if (std::strcmp(verb, "checktoken") == 0)
            m_length = std::snprintf(m_reply, sizeof m_reply,
                                     "0\r\nSeq:%d\r\nToken:123456\r\nToken-Valid:true\r\n", n);
        else
            m_length = std::snprintf(m_reply, sizeof m_reply, "0\r\nSeq:%d\r\n", n);
        (void)size;
    }
    long Receive(char* buffer, std::size_t) override
    {
        if (m_length == 0)
            return kNothingWaiting;
        std::memcpy(buffer, m_reply, static_cast<std::size_t>(m_length));
        const long got = m_length;
        m_length = 0;
        return got;
    }
    bool Wait(std::uint32_t ms) override
    {
        if (m_length == 0)
            m_clock.now += ms;
        return m_length != 0;
    }

private:
    tokenfake::Clock& m_clock;
    char m_reply[128] = {};
    int m_length = 0;
};

class CountingSink : public ResultSink {
public:
    void PostEvent(TokenEvent* event) override
    {
        ++events;
        delete event;
    }
    void PostStartFailed(std::int32_t) override {}
    long events = 0;
};

TEST(MervaneImplTest, SteadySessionAllocatesOnlyItsTokenEvents)
{
    tokenfake::Clock clock(5);
    AnsweringNetwork network(clock);
    tokenfake::Routes routes;
    CountingSink sink;
    MervaneImpl client(TokenSeamSet{&clock, &network, &routes, "/nonexistent/authipconf.ini"});
    client.SetSink(&sink);
    const std::int32_t kinds[] = {kTokenGet, kTokenCheck, kTokenStatus};
    const auto exchange = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const long before = sink.events;
            client.Request(kinds[i % 3]);
            while (sink.events == before)
                client.Step();
        }
    };
    for (int i = 0; i < 200; ++i)
        client.Step();  // started, logged in, a heartbeat or two
    exchange(30);

    __sanitizer_install_malloc_and_free_hooks(&CountAllocation, &IgnoreRelease);
    g_counting = true;
    exchange(1000);
    for (int i = 0; i < 400; ++i)
        client.Step();  // 40 s more: heartbeats too
    g_counting = false;
    EXPECT_EQ(1030, sink.events);
    EXPECT_EQ(1000, g_allocations.load());
}
#endif

}  // namespace
