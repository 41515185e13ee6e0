#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/MessageQueue.h"

namespace {
struct Recorder : IMessageTarget {
    std::vector<unsigned> got;
    std::thread::id deliveredOn;
    MainThreadQueue* queue = nullptr;
    IMessageTarget* removeOnFirst = nullptr;
    void onMessage(unsigned message, uintptr_t, intptr_t) override {
        got.push_back(message);
        deliveredOn = std::this_thread::get_id();
        if (removeOnFirst && queue) {
            queue->removeTarget(removeOnFirst);
            removeOnFirst = nullptr;
        }
    }
};
}  // namespace

TEST(MainThreadQueue, DeliversPostsFromWorkersOnThePumpingThreadInOrder) {
    MainThreadQueue queue;
    Recorder target;
    std::thread worker([&] {
        for (unsigned i = 0; i < 5; ++i) queue.post(&target, 100 + i);
    });
    worker.join();
    EXPECT_EQ(queue.waitAndPump(1000), 5);
    EXPECT_EQ(target.got, (std::vector<unsigned>{100, 101, 102, 103, 104}));
    EXPECT_EQ(target.deliveredOn, std::this_thread::get_id());
    EXPECT_EQ(queue.pumpPending(), 0);
}

TEST(MainThreadQueue, RemovedTargetGetsNothingMore) {
    MainThreadQueue queue;
    Recorder first, second;
    first.queue = &queue;
    first.removeOnFirst = &second;
    queue.post(&first, 1);
    queue.post(&second, 2);
    queue.post(&second, 3);
    queue.pumpPending();
    EXPECT_EQ(first.got.size(), 1u);
    EXPECT_TRUE(second.got.empty());
}

TEST(MainThreadQueue, RemovingAnIdleTargetDoesNotSwallowLaterPostsToTheSameAddress) {
    MainThreadQueue queue;
    Recorder target;
    queue.removeTarget(&target);  // e.g. a window closed while nothing was pending
    queue.post(&target, 7);       // a new window at the same address
    queue.post(&target, 8);
    EXPECT_EQ(queue.pumpPending(), 2);
    EXPECT_EQ(target.got, (std::vector<unsigned>{7, 8}));
}

TEST(MainThreadQueue, ATargetRemovedInsideANestedPumpGetsNothingFromTheOuterBatch) {
    // The first handler removes `gone` (as a window does before deleting
    // it), then pumps again while a message for `other` is pending. The
    // outer batch still holds `gone`'s messages: none may be delivered.
    MainThreadQueue queue;
    Recorder gone, other;
    struct RemoveThenPump : IMessageTarget {
        MainThreadQueue& queue;
        Recorder& gone;
        Recorder& other;
        int nested = -1;
        RemoveThenPump(MainThreadQueue& q, Recorder& g, Recorder& o) : queue(q), gone(g), other(o) {}
        void onMessage(unsigned, uintptr_t, intptr_t) override {
            queue.removeTarget(&gone);
            queue.post(&other, 9);
            nested = queue.pumpPending();
        }
    } first(queue, gone, other);
    queue.post(&first, 1);
    queue.post(&gone, 2);
    queue.post(&other, 3);
    queue.post(&gone, 4);
    EXPECT_EQ(queue.pumpPending(), 2);  // 1 and 3; the nested pump delivered 9
    EXPECT_EQ(first.nested, 1);
    EXPECT_TRUE(gone.got.empty());
    EXPECT_EQ(other.got, (std::vector<unsigned>{9, 3}));
}
