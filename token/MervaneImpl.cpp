#include "token/MervaneImpl.h"

#include <cstring>
#include <initializer_list>
#include <new>

#include "token/GatewayDiscovery.h"
#include "token/TokenProtocol.h"
#include "token/TokenSeams.h"

namespace Token {

namespace {

// The largest UDP payload, plus the terminator the reader writes after it.
const std::size_t kLargestDatagram = 65535;
const std::size_t kReceiveCapacity = kLargestDatagram + 2;

bool Reports(const RequestRecord& request)
{
    return request.tag != kSessionTag && request.kind != kTokenLogout &&
           request.kind != kTokenHeartbeat;
}

// A request the window made and waits for.
bool IsWindowRequest(const RequestRecord& request)
{
    const std::int32_t kind = request.kind;
    return (kind == kTokenGet || kind == kTokenCheck || kind == kTokenStatus) &&
           request.tag != kSessionTag;
}

void WorkerThunk(void* impl)
{
    static_cast<MervaneImpl*>(impl)->WorkerMain();
}

}  // namespace

MervaneImpl::MervaneImpl(const TokenSeamSet& seams) : m_receive(kReceiveCapacity), m_seams(seams)
{
}

MervaneImpl::~MervaneImpl()
{
    Stop();
    CloseSession();
    for (RequestRecord* list : {m_pendingHead, m_queueHead, m_spare}) {
        while (list) {
            RequestRecord* next = list->next;
            delete list;
            list = next;
        }
    }
}

bool MervaneImpl::Start(ResultSink* sink)
{
    if (m_thread.Running())
        return true;
    m_stop = false;
    m_sink = sink;
    return m_thread.Start(&WorkerThunk, this);
}

void MervaneImpl::Stop()
{
    m_stop = true;
    m_seams.network->Wake();
    m_thread.Join();
}

RequestRecord* MervaneImpl::TakeSpareLocked()
{
    RequestRecord* record = m_spare;
    if (record)
        m_spare = record->next;
    else
        record = new (std::nothrow) RequestRecord();
    return record;
}

void MervaneImpl::SpareLocked(RequestRecord* first, RequestRecord* last)
{
    last->next = m_spare;
    m_spare = first;
}

void MervaneImpl::QueueLocked(std::int32_t kind)
{
    RequestRecord* record = TakeSpareLocked();
    if (!record)
        return;
    record->kind = kind;
    record->tag = 0;
    record->next = nullptr;
    if (m_queueTail)
        m_queueTail->next = record;
    else
        m_queueHead = record;
    m_queueTail = record;
}

void MervaneImpl::Request(std::int32_t kind)
{
    {
        QueueGuard guard(m_lock);
        QueueLocked(kind);
    }
    m_seams.network->Wake();
}

void MervaneImpl::WorkerMain()
{
    if (m_seams.network->IsOpen())
        CloseSession();
    while (!m_stop)
        Step();
    CloseSession();
    // The next run finds the server and opens the socket again.
    m_started = false;
    m_attempted = false;
    m_failureReported = false;
}

void MervaneImpl::Step()
{
    if (m_started) {
        RunCycle();
        return;
    }
    const std::uint32_t now = m_seams.clock->Now();
    if (m_attempted && now - m_lastAttempt < kStartRetry) {
        m_seams.network->Wait(kStartRetry - (now - m_lastAttempt));
        FailQueued();
        return;
    }
    m_attempted = true;
    m_lastAttempt = now;
    const std::int32_t code = StartSession();
    if (code == 0) {
        m_started = true;
        return;
    }
    if (!m_failureReported && m_sink)
        m_sink->PostStartFailed(code);
    m_failureReported = true;
    FailQueued();
}

std::int32_t MervaneImpl::StartSession()
{
    TokenNetwork& network = *m_seams.network;
    if (!m_networkUp) {
        if (!network.Startup())
            return kStartNoWinsock;
        m_networkUp = true;
    }
    if (!network.HostName(m_hostName, sizeof m_hostName))
        return kStartNoHostName;
    m_hostName[sizeof m_hostName - 1] = '\0';
    if (!network.Resolves(m_hostName))
        return kStartHostUnresolved;
    bool fromSetting = false;
    const std::int32_t code =
        DiscoverServer(*m_seams.routes, m_seams.settingPath, m_serverAddress, &fromSetting);
    if (code != 0)
        return code;
    network.Open(m_serverAddress, m_port);
    if (m_sink)
        m_sink->ServerFound(m_serverAddress, fromSetting);
    return 0;
}

// While the client cannot start, window requests get their "no answer" at once.
void MervaneImpl::FailQueued()
{
    RequestRecord* first;
    {
        QueueGuard guard(m_lock);
        first = m_queueHead;
        m_queueHead = m_queueTail = nullptr;
    }
    if (!first)
        return;
    RequestRecord* last = first;
    for (RequestRecord* r = first; r; r = r->next) {
        if (IsWindowRequest(*r))
            Post(r->kind, kTokenNoAnswer, r->tag, nullptr, 0);
        last = r;
    }
    QueueGuard guard(m_lock);
    SpareLocked(first, last);
}

// The clock is read once on each side of the wait, the only place where time passes in a
// cycle: every step before it acts on one instant, every step after it on another.
void MervaneImpl::RunCycle()
{
    const std::uint32_t now = m_seams.clock->Now();
    ScheduleKeepAlive(now);
    TakeQueue(now);
    if (m_pendingHead && !m_inFlight && (m_pendingHead->kind != kTokenLogin || LoginMaySend(now)))
        SendHead(now);
    const bool datagrams = !m_stop && m_seams.network->Wait(NextWait(now));
    const std::uint32_t woken = m_seams.clock->Now();
    if (datagrams)
        ReceiveDatagrams(woken);
    CheckRequestTimeouts(woken);
    FailOverdueRequests(woken);
}

// Until the first of the session's deadlines: the head's resend, give-up or age limit while
// it is in flight, else the end of the login wait, else the heartbeat.
std::uint32_t MervaneImpl::NextWait(std::uint32_t now) const
{
    std::uint32_t wait = kKeepAliveAfter;
    const auto until = [now, &wait](std::uint32_t from, std::uint32_t interval) {
        const std::uint32_t passed = now - from;
        const std::uint32_t left = passed < interval ? interval - passed : kRetryWait;
        if (left < wait)
            wait = left;
    };
    for (const RequestRecord* r = m_pendingHead; r; r = r->next) {
        if (IsWindowRequest(*r))
            until(r->queuedAt, kWindowDeadline);
    }
    const RequestRecord* head = m_pendingHead;
    if (m_inFlight && head) {
        until(head->startStamp, m_requestTimeout);
        until(head->lastSend, AnswerWait(*head));
    } else if (m_loginWait != 0 && (head ? head->kind == kTokenLogin : !m_loggedIn))
        until(m_loginFailed, m_loginWait);
    else if (m_loggedIn && !head)
        until(m_lastResponse, m_keepAliveWait);
    else if (wait > kRetryWait)  // the cycle could not do what was due (no record to be had)
        wait = kRetryWait;
    return wait;
}

void MervaneImpl::ScheduleKeepAlive(std::uint32_t now)
{
    if (!m_loggedIn && !m_pendingHead && LoginMaySend(now))
        PushLogin(now);
    if (m_loggedIn && !m_pendingHead && !m_inFlight && now - m_lastResponse >= m_keepAliveWait) {
        // Taken over by this very cycle, so the worker need not be woken.
        QueueGuard guard(m_lock);
        QueueLocked(kTokenHeartbeat);
    }
}

void MervaneImpl::TakeQueue(std::uint32_t now)
{
    QueueGuard guard(m_lock);
    if (!m_queueHead)
        return;
    for (RequestRecord* r = m_queueHead; r; r = r->next)
        r->queuedAt = r->startStamp = now;
    if (m_pendingTail)
        m_pendingTail->next = m_queueHead;
    else
        m_pendingHead = m_queueHead;
    m_pendingTail = m_queueTail;
    m_queueHead = m_queueTail = nullptr;
}

void MervaneImpl::SendHead(std::uint32_t now)
{
    // A login held back by the login wait counts its resends from its first sending.
    if (!m_inFlight && m_pendingHead->kind == kTokenLogin)
        m_pendingHead->startStamp = now;
    // A resend carries the Seq of the first sending.
    const std::uint32_t seq = m_inFlight ? m_seq - 1 : m_seq++;
    if (FormatRequest(m_request, m_pendingHead->kind, m_hostName, m_currentToken,
                      static_cast<std::int32_t>(seq)))
        m_seams.network->Send(m_request.Message(), m_request.Length());
    m_request.Empty();
    m_inFlight = true;
    m_pendingHead->lastSend = now;
}

void MervaneImpl::ReceiveDatagrams(std::uint32_t now)
{
    for (int i = 0; i < kMaxDatagramsPerCycle; ++i) {
        m_receive.Empty();
        char* data = m_receive.Reserve(kLargestDatagram + 1);
        if (!data)
            return;
        const long size = m_seams.network->Receive(data, kLargestDatagram);
        if (size == TokenNetwork::kNothingWaiting)
            return;
        // Only a request that was sent and not yet answered can take an answer.
        if (size >= 0 && m_inFlight && m_pendingHead)
            ProcessResponse(static_cast<std::size_t>(size), now);
    }
}

void MervaneImpl::ProcessResponse(std::size_t size, std::uint32_t now)
{
    std::int32_t result = 0;
    if (!ReadResponse(m_receive.Message(), size, static_cast<std::int32_t>(m_seq - 1), m_fields,
                      &result))
        return;
    m_keepAliveWait = kKeepAliveAfter;  // an accepted login spreads it
    RequestRecord* head = m_pendingHead;
    // A login refused with 4 is a failed login: pushing another one before it would only
    // grow the list while the server keeps refusing.
    if (result == 4 && head->kind != kTokenLogin) {
        head->startStamp = now;
        PushLogin(now);
    } else {
        DecideResult(*head, result, now);
        m_pendingHead = head->next;
        if (!m_pendingHead)
            m_pendingTail = nullptr;
        QueueGuard guard(m_lock);
        SpareLocked(head, head);
    }
    m_lastResponse = now;
    m_inFlight = false;
}

void MervaneImpl::DecideResult(const RequestRecord& request, std::int32_t result, std::uint32_t now)
{
    const Decision decision = Token::DecideResult(request.kind, result, m_fields);
    if (request.kind == kTokenLogin) {
        m_loggedIn = decision.result == 0;
        NoteLogin(decision.result, now);
    } else if (request.kind == kTokenLogout && decision.result == 0)
        m_loggedIn = false;
    else if (request.kind == kTokenGet && decision.result == 0)
        std::memcpy(m_currentToken, decision.token, kTokenSize);
    if (Reports(request))
        Post(request.kind, decision.result, request.tag, decision.token, decision.value);
}

void MervaneImpl::Post(std::int32_t kind, std::int32_t result, std::uint32_t tag, const char* token,
                       std::int32_t value)
{
    if (!m_sink)
        return;
    TokenEvent* event = new (std::nothrow) TokenEvent();
    if (!event)
        return;
    event->kind = kind;
    event->result = result;
    event->tag = tag;
    if (token)
        std::memcpy(event->token, token, kTokenSize);
    event->value = value;
    m_sink->PostEvent(event);
}

void MervaneImpl::CheckRequestTimeouts(std::uint32_t now)
{
    if (!m_inFlight || !m_pendingHead)
        return;
    RequestRecord* young = m_pendingHead;
    while (young && now - young->startStamp >= m_requestTimeout)
        young = young->next;
    if (young != m_pendingHead) {
        FailRequests(young, now);
        return;
    }
    RequestRecord* head = m_pendingHead;
    if (now - head->lastSend < AnswerWait(*head))
        return;
    if (IsLastSending(*head))
        FailRequests(head->next, now);
    else
        SendHead(now);
}

// The fourth sending of a request, or the one that goes out when it has waited as long.
bool MervaneImpl::IsLastSending(const RequestRecord& request) const
{
    return request.lastSend - request.startStamp >= 3 * m_resendInterval;
}

std::uint32_t MervaneImpl::AnswerWait(const RequestRecord& request) const
{
    return IsLastSending(request) ? kLastAnswerWait : m_resendInterval;
}

void MervaneImpl::FailRequests(RequestRecord* upTo, std::uint32_t now)
{
    RequestRecord* first = m_pendingHead;
    if (first == upTo)
        return;
    RequestRecord* last = first;
    for (RequestRecord* r = first; r != upTo; r = r->next) {
        if (Reports(*r))
            Post(r->kind, kTokenNoAnswer, r->tag, nullptr, 0);
        if (r->kind == kTokenLogin)
            NoteLogin(kTokenNoAnswer, now);
        last = r;
    }
    {
        QueueGuard guard(m_lock);
        SpareLocked(first, last);
    }
    m_pendingHead = upTo;
    if (!upTo)
        m_pendingTail = nullptr;
    m_inFlight = false;
}

// A server that answers 4 to every request while refusing every login (a full PC table)
// would otherwise restart the window's request for as long as it goes on.
void MervaneImpl::FailOverdueRequests(std::uint32_t now)
{
    RequestRecord* previous = nullptr;
    for (RequestRecord* r = m_pendingHead; r;) {
        RequestRecord* next = r->next;
        if (!IsWindowRequest(*r) || now - r->queuedAt < kWindowDeadline) {
            previous = r;
            r = next;
            continue;
        }
        if (previous)
            previous->next = next;
        else {
            m_pendingHead = next;
            m_inFlight = false;  // only the head is ever in flight
        }
        if (m_pendingTail == r)
            m_pendingTail = previous;
        Post(r->kind, kTokenNoAnswer, r->tag, nullptr, 0);
        {
            QueueGuard guard(m_lock);
            SpareLocked(r, r);
        }
        r = next;
    }
}

void MervaneImpl::PushLogin(std::uint32_t now)
{
    RequestRecord* record;
    {
        QueueGuard guard(m_lock);
        record = TakeSpareLocked();
    }
    if (!record)
        return;
    record->kind = kTokenLogin;
    record->tag = kSessionTag;
    record->startStamp = now;
    record->next = m_pendingHead;
    m_pendingHead = record;
    if (!m_pendingTail)
        m_pendingTail = record;
}

// A server that refuses logins answers at once; without a wait the session would log in
// again in every cycle and flood the network.
bool MervaneImpl::LoginMaySend(std::uint32_t now) const
{
    return m_loginWait == 0 || now - m_loginFailed >= m_loginWait;
}

void MervaneImpl::NoteLogin(std::int32_t result, std::uint32_t now)
{
    if (m_sink)
        m_sink->LoginAnswered(result);
    if (result == 0) {
        m_loginStep = m_loginWait = 0;
        m_keepAliveWait = Spread(1, kKeepAliveAfter);
        return;
    }
    m_loginStep = m_loginStep == 0 ? kFirstLoginWait : m_loginStep * 2;
    if (m_loginStep > kLongestLoginWait)
        m_loginStep = kLongestLoginWait;
    m_loginWait = Spread(m_loginStep / 2, m_loginStep);
    m_loginFailed = now;
}

// Without a random source every wait is its longest, the same on every PC.
std::uint32_t MervaneImpl::Spread(std::uint32_t least, std::uint32_t most) const
{
    const std::uint32_t span = most - least;
    return least + (m_seams.random ? m_seams.random->Below(span + 1) : span);
}

void MervaneImpl::CloseSession()
{
    TokenNetwork& network = *m_seams.network;
    if (network.IsOpen()) {
        if (m_loggedIn)
            network.Send(kBareLogout, kBareLogoutSize);
        network.Close();
    }
    m_receive.Empty();
    m_request.Empty();
    m_fields.Empty();
    m_seq = 0;
    m_inFlight = false;
    m_loggedIn = false;
    m_loginStep = m_loginWait = 0;
    m_keepAliveWait = kKeepAliveAfter;
    std::memset(m_currentToken, 0, sizeof m_currentToken);
}

}  // namespace Token
