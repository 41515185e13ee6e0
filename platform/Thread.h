#pragma once
// A thread started with a routine and joined without time-out, as the
// runtime's thread start and a wait on its handle do.
#include <functional>
#include <thread>

class PlatformThread {
public:
    PlatformThread() = default;
    // Joins the thread; destroyed by its own routine, where nothing could
    // wait for it, it lets the thread run on to its end detached.
    ~PlatformThread();
    PlatformThread(const PlatformThread&) = delete;
    PlatformThread& operator=(const PlatformThread&) = delete;

    // Starts the routine; false when a thread is already attached.
    bool start(std::function<void()> routine);
    // Waits for the thread; returns at once when none runs. Never called from
    // the thread itself.
    void join();
    bool isStarted() const { return thread_.joinable(); }

private:
    std::thread thread_;
};

// Sleeps the calling thread.
void sleepMs(unsigned milliseconds);
