#pragma once
// A restartable thread over a runnable it does not own. The started flag is
// set by start and cleared when the runnable returns; a finished thread can be
// started again. Destruction waits for the thread.
#include <atomic>

#include "engine/Runnable.h"
#include "platform/Thread.h"

namespace HalvorenEngine {

class CThread : public Runnable {
public:
    explicit CThread(Runnable* runnable) : runnable_(runnable) {}
    ~CThread() override { join(); }
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Does nothing while started; otherwise reaps the previous run and starts
    // a new one. True when a thread was started.
    bool start();
    // Waits for the thread without time-out; returns at once when none is
    // attached. Never called from the thread itself.
    void join() { thread_.join(); }
    bool isStarted() const { return started_.load(std::memory_order_acquire); }

    // The thread's routine: runs the runnable, then clears the started flag.
    void run() override;

private:
    Runnable* runnable_;
    std::atomic<bool> started_{false};
    PlatformThread thread_;
};

}  // namespace HalvorenEngine
