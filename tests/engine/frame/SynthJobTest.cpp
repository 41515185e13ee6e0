#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TestGeneration.h"

using namespace HalvorenEngineTest;

namespace {
constexpr int kDone = 2147483647;

// Two notes (0.1 s + 0.2 s, 0.4 s + 0.25 s) after a lead-in of 0.5 s.
std::unique_ptr<HVSynthesizer> twoNoteJob(TestConfig config = {})
{
    auto synth = std::make_unique<HVSynthesizer>("", config);
    synth->score().leadIn = 0.5f;
    synth->score().notes = {{0.1f, 0.2f}, {0.4f, 0.25f}};
    return synth;
}

int outputLength(HVSynthesizer& synth)
{
    int count = -1;
    synth.getOutput(&count);
    return count;
}
}  // namespace

TEST(SynthJob, PrepareLaysOutSilenceOnceAndComputesTheStartOffset)
{
    auto synth = twoNoteJob();
    EXPECT_EQ(outputLength(*synth), 0);
    synth->prepare();
    // frames = trunc((0.65 * 1000 + 500) / 16) + 1 = 72; offset = trunc(0.6 * 1000).
    int count = 0;
    const short* out = synth->getOutput(&count);
    ASSERT_EQ(count, 73 * 16);
    EXPECT_EQ(std::count(out, out + count, 0), count);
    EXPECT_EQ(synth->samplesDone(), 0);
    EXPECT_EQ(synth->samplesReady(), -600);
    synth->score().notes.push_back({5.0f, 1.0f});
    synth->prepare();  // already prepared: nothing
    EXPECT_EQ(outputLength(*synth), 73 * 16);

    // Without notes the output covers the lead-in, which ends at the offset.
    auto empty = std::make_unique<HVSynthesizer>("");
    empty->score().leadIn = 0.5f;
    empty->prepare();
    EXPECT_EQ(outputLength(*empty), (500 / 16 + 2) * 16);
    EXPECT_EQ(empty->samplesReady(), -500);

    for (int hop : {0, -16, 33}) {  // refused before the plan divides by it
        TestConfig config;
        config.hop = hop;
        auto refused = twoNoteJob(config);
        refused->start();
        EXPECT_TRUE(refused->isReady()) << hop;
        EXPECT_EQ(outputLength(*refused), 0) << hop;
    }
}

TEST(SynthJob, RunToTheEndCountsUpAndTellsTheListenerOnce)
{
    TestConfig config;
    config.frameDelayUs = 200;
    auto synth = twoNoteJob(config);
    CountingListener listener;
    EXPECT_TRUE(synth->isReady());
    synth->setListener(&listener);
    synth->start();
    EXPECT_FALSE(synth->isReady());

    int lastDone = 0, lastReady = -600;
    bool seenPartial = false;
    while (synth->samplesReady() != kDone) {
        const int done = synth->samplesDone();
        const int ready = synth->samplesReady();
        ASSERT_GE(done, lastDone);
        ASSERT_GE(ready, lastReady);
        seenPartial = seenPartial || (done > 0 && ready < kDone);
        lastDone = done;
        lastReady = ready;
    }
    EXPECT_TRUE(seenPartial);
    int count = 0;
    const short* out = synth->getOutput(&count);
    EXPECT_EQ(synth->samplesDone(), count);
    EXPECT_NEAR(out[count / 2], 0.25 * 32767, 2);
    ASSERT_TRUE(eventually([&] { return listener.calls == 1; }));
    EXPECT_FALSE(synth->isReady());  // a finished job stays running until stop

    synth->stop();
    ASSERT_TRUE(eventually([&] { return synth->isReady(); }));
    EXPECT_EQ(synth->score().cleanUps, 1);
    // The clean-up dropped the listener: a second run tells nobody.
    synth->start();
    ASSERT_TRUE(eventually([&] { return synth->samplesReady() == kDone; }));
    EXPECT_EQ(listener.calls, 1);
}

TEST(SynthJob, StopBeforeTheEndWaitsForEveryWorkerAndTellsNobody)
{
    std::atomic<bool> hold{true};
    TestConfig config;
    config.workers = 2;
    config.hold = &hold;
    config.holdAtFrame = 10;
    auto synth = twoNoteJob(config);
    CountingListener listener;
    synth->setListener(&listener);
    synth->start();
    ASSERT_TRUE(eventually([&] { return synth->samplesDone() == 10 * 16; }));

    synth->stop();
    synth->stop();  // clean-up pending: nothing
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(synth->isReady());
    synth->start();  // not idle: nothing
    hold = false;
    ASSERT_TRUE(eventually([&] { return synth->isReady(); }));
    EXPECT_EQ(listener.calls, 0);
    EXPECT_EQ(synth->score().cleanUps, 1);
    EXPECT_NE(synth->samplesReady(), kDone);

    // Stopped after its last frame but before it finished: still silent.
    hold = true;
    config.holdAtFrame = 72;
    auto atEnd = twoNoteJob(config);
    atEnd->setListener(&listener);
    atEnd->start();
    ASSERT_TRUE(eventually([&] { return atEnd->samplesDone() == 72 * 16; }));
    atEnd->stop();
    hold = false;
    ASSERT_TRUE(eventually([&] { return atEnd->isReady(); }));
    EXPECT_EQ(listener.calls, 0);

    // Destroying a running job stops it and waits for its threads.
    hold = true;
    synth->setSynthText("kept");
    EXPECT_EQ(synth->score().text, "kept");
    synth->start();
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        hold = false;
    });
    synth.reset();
    release.join();
}
