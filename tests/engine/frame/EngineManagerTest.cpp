#include <gtest/gtest.h>

#include <memory>

#include "TestGeneration.h"
#include "engine/EngineManager.h"
#include "engine/SynthesizerFactory.h"

using namespace HalvorenEngineTest;
using HalvorenEngine::CleanGarbageSynthRunnable;

namespace {
// A cleaner that never wakes during a test: passes are run by hand.
constexpr unsigned kManualPeriodMs = 3600000;
}  // namespace

TEST(EngineManager, CleanerDeletesTheIdleHeadOnlyOnePerPass)
{
    std::atomic<int> destroyed{0};
    std::atomic<bool> hold{true};
    CleanGarbageSynthRunnable manager(kManualPeriodMs);
    TestConfig config;
    config.destroyed = &destroyed;
    HVSynthesizer* behind = createSynthesizerTest(manager, config, 1.0f);
    config.hold = &hold;
    config.holdAtFrame = 2;
    HVSynthesizer* busy = createSynthesizerTest(manager, config, 1.0f);
    busy->start();
    ASSERT_TRUE(eventually([&] { return busy->samplesDone() == 2 * 16; }));

    manager.releaseSynthesizer(busy);
    manager.releaseSynthesizer(behind);
    manager.releaseSynthesizer(behind);
    manager.releaseSynthesizer(nullptr);
    EXPECT_EQ(manager.garbageCount(), 2u);
    ASSERT_TRUE(eventually([&] { return behind->isReady(); }));
    EXPECT_FALSE(manager.cleanOnce());  // the head's clean-up still waits for its worker
    EXPECT_EQ(manager.liveCount(), 2u);
    EXPECT_EQ(destroyed, 0);

    hold = false;
    ASSERT_TRUE(eventually([&] { return busy->isReady(); }));
    EXPECT_TRUE(manager.cleanOnce());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(manager.liveCount(), 1u);
    EXPECT_TRUE(manager.cleanOnce());
    EXPECT_FALSE(manager.cleanOnce());
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(manager.liveCount(), 0u);
}

TEST(EngineManager, ManyJobsStartedStoppedAndReleasedInALoop)
{
    std::atomic<int> destroyed{0};
    CleanGarbageSynthRunnable manager(1);
    std::vector<std::unique_ptr<CountingListener>> listeners;
    for (int i = 0; i < 150; ++i) {
        TestConfig config;
        config.destroyed = &destroyed;
        config.workers = 1 + i % 2;
        HVSynthesizer* synth = createSynthesizerTest(manager, config, 0.01f * (i % 7));
        listeners.push_back(std::make_unique<CountingListener>());
        synth->setListener(listeners.back().get());
        synth->start();
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 5)));
        manager.releaseSynthesizer(synth);
        // The editor side destroys its listener once release has returned.
        listeners.back()->forbidden = true;
    }
    ASSERT_TRUE(eventually([&] { return destroyed == 150; }));
    EXPECT_EQ(manager.liveCount(), 0u);
    EXPECT_EQ(manager.garbageCount(), 0u);
    for (const auto& listener : listeners)
        EXPECT_EQ(listener->forbiddenCalls, 0);
}

TEST(EngineManager, DestructionStopsAndDeletesEverySynthesizer)
{
    std::atomic<int> destroyed{0};
    {
        CleanGarbageSynthRunnable manager(kManualPeriodMs);
        TestConfig config;
        config.destroyed = &destroyed;
        config.frameDelayUs = 1000;
        for (int i = 0; i < 4; ++i) {
            HVSynthesizer* synth = createSynthesizerTest(manager, config, 10.0f);
            synth->start();
            if (i == 0)
                manager.releaseSynthesizer(synth);
        }
        createSynthesizerTest(manager, config, 1.0f);  // never started
    }
    EXPECT_EQ(destroyed, 5);
}

TEST(EngineManager, FactoryAndReplaceableAccessor)
{
    CleanGarbageSynthRunnable manager(kManualPeriodMs);
    EXPECT_NE(HalvorenEngine::createSynthesizer<HVSynthesizer>(manager, "bank/"), nullptr);
    EXPECT_EQ(manager.liveCount(), 1u);

    CleanGarbageSynthRunnable& global = HalvorenEngine::getEngineManager();
    HalvorenEngine::setEngineManagerOverride(&manager);
    EXPECT_EQ(&HalvorenEngine::getEngineManager(), &manager);
    HalvorenEngine::setEngineManagerOverride(nullptr);
    EXPECT_EQ(&HalvorenEngine::getEngineManager(), &global);
}
