#pragma once
// Messages posted to the main thread. Worker threads post; the main loop (or a
// test) pumps, which delivers each message to its target on the pumping
// thread, in posting order.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

class IMessageTarget {
public:
    virtual ~IMessageTarget() = default;
    virtual void onMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
};

class MainThreadQueue {
public:
    // Thread-safe.
    void post(IMessageTarget* target, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Delivers every message posted so far; returns how many were delivered.
    int pumpPending();
    // Waits up to timeoutMs for a message, then pumps; returns how many were delivered.
    int waitAndPump(unsigned timeoutMs);
    // Drops the pending messages of a target that is going away, including
    // those of batches being delivered by this pump or the pumps around it.
    void removeTarget(IMessageTarget* target);

private:
    struct Posted {
        IMessageTarget* target;
        unsigned message;
        uintptr_t wParam;
        intptr_t lParam;
    };
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Posted> queue_;
    // The batches of the pumps in progress, innermost last (a handler may
    // pump again); a removed target's messages leave every one of them.
    std::vector<std::deque<Posted>*> batches_;
};

// The process's main-thread queue.
MainThreadQueue& getMainThreadQueue();
