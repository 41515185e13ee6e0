#include "platform/MessageQueue.h"

#include <algorithm>
#include <chrono>

void MainThreadQueue::post(IMessageTarget* target, unsigned message, uintptr_t wParam, intptr_t lParam) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back({target, message, wParam, lParam});
    }
    posted_.notify_all();
}

int MainThreadQueue::pumpPending() {
    std::deque<Posted> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.swap(queue_);
        batches_.push_back(&batch);
    }
    // The batch leaves the list however the loop ends (a handler may throw).
    struct Unlist {
        MainThreadQueue& q;
        std::deque<Posted>* b;
        ~Unlist() {
            std::lock_guard<std::mutex> lock(q.mutex_);
            q.batches_.erase(std::find(q.batches_.begin(), q.batches_.end(), b));
        }
    } unlist{*this, &batch};

    int delivered = 0;
    for (;;) {
        Posted p;
        {
            // removeTarget edits this batch under the lock.
            std::lock_guard<std::mutex> lock(mutex_);
            if (batch.empty()) break;
            p = batch.front();
            batch.pop_front();
        }
        if (p.target) p.target->onMessage(p.message, p.wParam, p.lParam);
        ++delivered;
    }
    return delivered;
}

int MainThreadQueue::waitAndPump(unsigned timeoutMs) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        posted_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !queue_.empty(); });
    }
    return pumpPending();
}

void MainThreadQueue::removeTarget(IMessageTarget* target) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto dropFrom = [target](std::deque<Posted>& messages) {
        messages.erase(std::remove_if(messages.begin(), messages.end(),
                                      [target](const Posted& p) { return p.target == target; }),
                       messages.end());
    };
    dropFrom(queue_);
    // Batches being delivered, the outer ones of nested pumps included.
    for (std::deque<Posted>* batch : batches_) dropFrom(*batch);
}

MainThreadQueue& getMainThreadQueue() {
    static MainThreadQueue queue;
    return queue;
}
