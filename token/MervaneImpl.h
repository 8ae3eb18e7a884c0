#pragma once
// MervaneImpl: the token client's worker. It finds the server, opens the socket, logs the
// PC in, sends queued requests one at a time with resends, keeps the session alive with
// heartbeats and reports results through its sink. Only Request runs on other threads.

#include <atomic>
#include <cstdint>

#include "token/ByteBuffer.h"
#include "token/FieldTable.h"
#include "token/QueueLock.h"
#include "token/TokenEvent.h"
#include "token/WorkerThread.h"

namespace Token {

class RandomSource;
class ResultSink;
class RouteTables;
class TickClock;
class TokenNetwork;

struct TokenSeamSet {
    TickClock* clock;
    TokenNetwork* network;
    RouteTables* routes;
    const char* settingPath;  // "authipconf.ini" beside the executable
    // Spreads the login back-off and the heartbeat's phase; null keeps every wait whole.
    RandomSource* random = nullptr;
};

class MervaneImpl final {
public:
    static const std::uint16_t kServerPort = 9110;
    // The worker sleeps until its next deadline or a request. What it could not do at its
    // deadline (a record it could not allocate) it tries again this much later.
    static const std::uint32_t kRetryWait = 100;
    // The last sending of a request waits this long for its answer before it fails.
    static const std::uint32_t kLastAnswerWait = 100;
    static const std::uint32_t kKeepAliveAfter = 15000;
    static const std::uint32_t kStartRetry = 5000;
    // After a refused or unanswered login the next one waits, from 1 s doubling to 15 s, each
    // wait spread between its half and the whole; the first heartbeat after a login waits
    // up to kKeepAliveAfter, spread over all of it.
    static const std::uint32_t kFirstLoginWait = 1000;
    static const std::uint32_t kLongestLoginWait = kKeepAliveAfter;
    static const int kMaxDatagramsPerCycle = 64;
    // A request of the window is answered within this time of being taken, at the latest
    // as unanswered, whatever the server says meanwhile.
    static const std::uint32_t kWindowDeadline = 3000;

    explicit MervaneImpl(const TokenSeamSet& seams);
    // Only tests and tools end a client; the program's client lives until the process ends.
    // Stops the worker first.
    ~MervaneImpl();
    MervaneImpl(const MervaneImpl&) = delete;
    MervaneImpl& operator=(const MervaneImpl&) = delete;

    virtual void ScheduleKeepAlive(std::uint32_t now);
    virtual void CheckRequestTimeouts(std::uint32_t now);

    // Start and Stop belong to the owner's thread. Start stores the sink (may be null:
    // nothing is reported) and runs WorkerMain on a new thread; while a worker runs, it does
    // nothing. After Stop, Start begins a new session (discovery, socket, login).
    bool Start(ResultSink* sink);
    // Any thread: queues a request of kind and wakes the worker.
    void Request(std::int32_t kind);
    // Ends the worker after its current cycle (closing the session) and returns once it has
    // ended. Never from the sink, which runs on the worker.
    void Stop();

    // The worker's loop; Step is one turn of it (a start attempt or a protocol cycle).
    void WorkerMain();
    void Step();

    // For tests and tools.
    void SetSink(ResultSink* sink) { m_sink = sink; }
    void SetServerPort(std::uint16_t port) { m_port = port; }
    bool IsStarted() const { return m_started; }
    bool IsLoggedIn() const { return m_loggedIn; }
    const char* ServerAddress() const { return m_serverAddress; }

private:
    std::int32_t StartSession();
    void FailQueued();
    void RunCycle();
    std::uint32_t NextWait(std::uint32_t now) const;
    void TakeQueue(std::uint32_t now);
    void SendHead(std::uint32_t now);
    void ReceiveDatagrams(std::uint32_t now);
    void ProcessResponse(std::size_t size, std::uint32_t now);
    void DecideResult(const RequestRecord& request, std::int32_t result, std::uint32_t now);
    void FailRequests(RequestRecord* upTo, std::uint32_t now);
    void FailOverdueRequests(std::uint32_t now);
    bool IsLastSending(const RequestRecord& request) const;
    std::uint32_t AnswerWait(const RequestRecord& request) const;
    void PushLogin(std::uint32_t now);
    bool LoginMaySend(std::uint32_t now) const;
    void NoteLogin(std::int32_t result, std::uint32_t now);
    std::uint32_t Spread(std::uint32_t least, std::uint32_t most) const;
    void CloseSession();
    void Post(std::int32_t kind, std::int32_t result, std::uint32_t tag, const char* token,
              std::int32_t value);
    RequestRecord* TakeSpareLocked();
    void QueueLocked(std::int32_t kind);
    void SpareLocked(RequestRecord* first, RequestRecord* last);

    char m_hostName[260] = {};
    char m_serverAddress[16] = {};
    ByteBuffer m_receive;
    ByteBuffer m_request;
    FieldTable m_fields;
    std::uint32_t m_seq = 0;  // printed as a signed 32-bit number
    bool m_inFlight = false;
    bool m_loggedIn = false;
    char m_currentToken[kTokenSize] = {};
    std::uint32_t m_lastResponse = 0;
    RequestRecord* m_pendingHead = nullptr;
    RequestRecord* m_pendingTail = nullptr;
    ResultSink* m_sink = nullptr;
    QueueLock m_lock;
    RequestRecord* m_queueHead = nullptr;
    RequestRecord* m_queueTail = nullptr;
    RequestRecord* m_spare = nullptr;
    std::atomic<bool> m_stop{false};
    std::uint32_t m_resendInterval = 300;
    std::uint32_t m_requestTimeout = 3000;

    TokenSeamSet m_seams;
    std::uint16_t m_port = kServerPort;
    bool m_started = false;
    bool m_networkUp = false;
    bool m_failureReported = false;
    bool m_attempted = false;
    std::uint32_t m_lastAttempt = 0;
    std::uint32_t m_loginStep = 0;  // the back-off's step, 0 after an accepted login
    std::uint32_t m_loginWait = 0;  // the step, spread
    std::uint32_t m_keepAliveWait = kKeepAliveAfter;
    std::uint32_t m_loginFailed = 0;
    WorkerThread m_thread;
};

}  // namespace Token
