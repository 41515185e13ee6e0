#include <gtest/gtest.h>

#include <memory>

#include "support/engine/TestGeneration.h"

using namespace HalvorenEngineTest;
using HalvorenEngine::CleanGarbageSynthRunnable;

TEST(EngineManager, CleanerDeletesTheIdleHeadOnlyOnePerPass)
{
    std::atomic<int> destroyed{0};
    std::atomic<bool> hold{true};
    CleanGarbageSynthRunnable manager(3600000);  // never wakes: passes are run by hand
    HVSynthesizer* behind = createSynthesizerTest(manager, {.destroyed = &destroyed}, 1.0f);
    HVSynthesizer* busy =
        createSynthesizerTest(manager, {.holdAtFrame = 2, .hold = &hold, .destroyed = &destroyed}, 1.0f);
    busy->start();
    ASSERT_TRUE(eventually([&] { return busy->samplesDone() == 2 * 16; }));

    manager.releaseSynthesizer(busy);
    manager.releaseSynthesizer(behind);
    manager.releaseSynthesizer(behind);  // already queued: would be deleted twice
    manager.releaseSynthesizer(nullptr);
    EXPECT_EQ(manager.garbageCount(), 2u);
    ASSERT_TRUE(eventually([&] { return behind->isReady(); }));
    EXPECT_FALSE(manager.cleanOnce());  // the head's clean-up still waits for its worker
    EXPECT_EQ(destroyed, 0);

    hold = false;
    ASSERT_TRUE(eventually([&] { return busy->isReady(); }));
    EXPECT_TRUE(manager.cleanOnce());
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(manager.cleanOnce());
    EXPECT_FALSE(manager.cleanOnce());
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(manager.liveCount(), 0u);
}

TEST(EngineManager, ManyJobsStartedStoppedReleasedAndTheRestDeletedAtExit)
{
    std::atomic<int> destroyed{0};
    // The listeners outlive the manager: the kept jobs may still finish, and
    // tell their listener, until the manager's exit has stopped them.
    std::vector<std::unique_ptr<CountingListener>> listeners;
    {
        CleanGarbageSynthRunnable manager(1);
        for (int i = 0; i < 150; ++i) {
            // Every tenth job is long and stays live until the manager goes.
            const bool kept = i % 10 == 0;
            TestConfig config{.workers = 1 + i % 2, .frameDelayUs = kept ? 1000 : 0, .destroyed = &destroyed};
            HVSynthesizer* synth = createSynthesizerTest(manager, config, kept ? 10.0f : 0.01f * (i % 7));
            listeners.push_back(std::make_unique<CountingListener>());
            synth->setListener(listeners.back().get());
            synth->start();
            std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 5)));
            if (kept)
                continue;
            manager.releaseSynthesizer(synth);
            // The editor side destroys its listener once release has returned.
            listeners.back()->forbidden = true;
        }
        ASSERT_TRUE(eventually([&] { return destroyed == 135; }));
        EXPECT_EQ(manager.liveCount(), 15u);
        EXPECT_EQ(manager.garbageCount(), 0u);
        for (const auto& listener : listeners)
            EXPECT_EQ(listener->forbiddenCalls, 0);
    }
    EXPECT_EQ(destroyed, 150);
}
