#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

TEST(PlatformThread, DestroyedByItsOwnRoutineRunsOnToItsEnd) {
    // The routine deletes the object that started it (a worker owned by the
    // object it tears down): the program goes on and the routine finishes.
    auto* thread = new PlatformThread;
    std::promise<PlatformThread*> handOver;
    std::promise<void> finished;
    std::shared_future<PlatformThread*> self = handOver.get_future().share();
    ASSERT_TRUE(thread->start([self, &finished] {
        delete self.get();
        finished.set_value();
    }));
    handOver.set_value(thread);
    // A generous margin: only a hang fails here.
    EXPECT_EQ(finished.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
}

TEST(PlatformThread, DestroyedElsewhereWaitsForTheRoutine) {
    std::atomic<bool> done{false};
    {
        PlatformThread thread;
        ASSERT_TRUE(thread.start([&done] {
            sleepMs(20);
            done = true;
        }));
        EXPECT_FALSE(thread.start([] {}));  // one routine at a time
    }
    EXPECT_TRUE(done);
}
