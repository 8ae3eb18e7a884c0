#pragma once
// The worker's thread (CreateThread on Windows, pthreads elsewhere): started by its owner,
// and joined by its owner before anything the thread uses goes away.

#include <cstdint>

namespace Token {

class WorkerThread {
public:
    WorkerThread() = default;
    // Joins a thread still running: its argument must outlive it.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs main(arg) on a new thread. False when no thread was made or one is running.
    bool Start(void (*main)(void*), void* arg);
    // Waits until the thread has ended; nothing when none runs. Never from the thread itself.
    void Join();
    bool Running() const { return m_running; }

private:
    std::uintptr_t m_handle = 0;
    bool m_running = false;
};

}  // namespace Token
