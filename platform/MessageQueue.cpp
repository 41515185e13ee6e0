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
        if (pumpDepth_++ == 0) removed_.clear();
    }
    int delivered = 0;
    while (!batch.empty()) {
        Posted p = batch.front();
        batch.pop_front();
        if (p.target) p.target->onMessage(p.message, p.wParam, p.lParam);
        ++delivered;
        // A target may have been removed by an earlier message of this batch.
        std::lock_guard<std::mutex> lock(mutex_);
        if (!removed_.empty()) {
            for (IMessageTarget* gone : removed_)
                batch.erase(std::remove_if(batch.begin(), batch.end(), [&](const Posted& q) { return q.target == gone; }),
                            batch.end());
            removed_.clear();
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    --pumpDepth_;
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
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Posted& p) { return p.target == target; }),
                 queue_.end());
    // Only a batch being delivered can still hold the target's messages.
    if (pumpDepth_ > 0) removed_.push_back(target);
}

size_t MainThreadQueue::pendingCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

MainThreadQueue& getMainThreadQueue() {
    static MainThreadQueue queue;
    return queue;
}
