#pragma once
// The lock between the window's thread and the worker (a critical section on Windows, a
// mutex elsewhere).

#include <cstddef>

namespace Token {

class QueueLock {
public:
    QueueLock();
    ~QueueLock();
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;

    void Enter();
    void Leave();

private:
    alignas(16) unsigned char m_storage[64];
};

class QueueGuard {
public:
    explicit QueueGuard(QueueLock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~QueueGuard() { m_lock.Leave(); }
    QueueGuard(const QueueGuard&) = delete;
    QueueGuard& operator=(const QueueGuard&) = delete;

private:
    QueueLock& m_lock;
};

}  // namespace Token
