#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#include "support/engine/TestGeneration.h"

using namespace HalvorenEngineTest;

namespace {
constexpr int kDone = 2147483647;

// Two notes (0.1 s + 0.2 s, 0.4 s + 0.25 s) after a lead-in of 0.5 s: 72 frames
// of 16 samples at 1000 Hz, the first note 600 samples in.
std::unique_ptr<HVSynthesizer> twoNoteJob(TestConfig config = {})
{
    auto synth = std::make_unique<HVSynthesizer>("", config);
    synth->score().leadIn = 0.5f;
    synth->score().notes = {timedNote(0.1f, 0.2f), timedNote(0.4f, 0.25f)};
    return synth;
}
}  // namespace

TEST(SynthJob, PrepareLaysOutSilenceAndComputesTheStartOffset)
{
    auto synth = twoNoteJob();
    synth->prepare();
    // frames = trunc((0.65 * 1000 + 500) / 16) + 1 = 72; offset = trunc(0.6 * 1000).
    int count = 0;
    const short* out = synth->getOutput(&count);
    ASSERT_EQ(count, 73 * 16);
    EXPECT_EQ(std::count(out, out + count, 0), count);
    EXPECT_EQ(synth->samplesReady(), -600);

    // Without notes the output covers the lead-in, which ends at the offset.
    synth = std::make_unique<HVSynthesizer>("");
    synth->score().leadIn = 0.5f;
    synth->prepare();
    synth->getOutput(&count);
    EXPECT_EQ(count, (500 / 16 + 2) * 16);
    EXPECT_EQ(synth->samplesReady(), -500);

    // A job that cannot be laid out writes nothing and is done at once: a
    // hop refused before the plan divides by it, or a note 3e6 s in (3e9
    // samples at 1000 Hz, beyond any output).
    struct Unusable {
        int hop;
        float noteStart;
    };
    for (const Unusable c : {Unusable{0, 0.1f}, Unusable{-16, 0.1f}, Unusable{33, 0.1f}, Unusable{16, 3e6f}}) {
        synth = twoNoteJob({.hop = c.hop});
        synth->score().notes[1].start = c.noteStart;
        CountingListener listener;
        synth->setListener(&listener);
        synth->start();
        synth->getOutput(&count);
        EXPECT_TRUE(synth->isReady() && count == 0) << c.hop << " " << c.noteStart;
        EXPECT_EQ(listener.calls, 1) << c.hop << " " << c.noteStart;
    }
}

TEST(SynthJob, AScoreThatCannotBeLaidOutAfterASungOneLeavesNoOutput)
{
    // Sung once, then given a note 3e6 s in: the earlier samples are gone
    // whether prepare or start lays the new score out, and a start is done
    // at once with nothing to read.
    for (bool prepareFirst : {true, false}) {
        auto synth = twoNoteJob();
        ASSERT_EQ(singToEnd(*synth).size(), 73u * 16u);
        synth->score().notes[1].start = 3e6f;
        if (prepareFirst)
            synth->prepare();
        CountingListener listener;
        synth->setListener(&listener);
        synth->start();
        int count = -1;
        synth->getOutput(&count);
        EXPECT_EQ(count, 0) << prepareFirst;
        EXPECT_EQ(synth->samplesDone(), 0) << prepareFirst;
        EXPECT_EQ(synth->samplesReady(), kDone) << prepareFirst;
        EXPECT_EQ(listener.calls, 1) << prepareFirst;
        EXPECT_TRUE(synth->isReady()) << prepareFirst;
    }
}

TEST(SynthJob, ThePlanCoversTheNoteThatEndsLatest)
{
    // The notes of twoNoteJob out of order, or followed by a note whose end
    // is NaN: still 72 frames, to the end of the note at 0.4 s + 0.25 s.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<HalvorenEngine::SynthNoteV1> cases[] = {
        {timedNote(0.4f, 0.25f), timedNote(0.1f, 0.2f)},
        {timedNote(0.1f, 0.2f), timedNote(0.4f, 0.25f), timedNote(nan, 0.1f)},
        {timedNote(0.1f, 0.2f), timedNote(0.4f, 0.25f), timedNote(0.2f, nan)},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        auto synth = twoNoteJob();
        synth->score().notes = cases[k];
        synth->prepare();
        int count = 0;
        synth->getOutput(&count);
        EXPECT_EQ(count, 73 * 16) << k;
    }
}

TEST(SynthJob, RunToTheEndCountsUpAndTellsTheListenerOnce)
{
    // The job waits after two frames until the test has seen it part done,
    // however late a loaded machine runs the test thread.
    std::atomic<bool> hold{true};
    auto synth = twoNoteJob({.holdAtFrame = 2, .hold = &hold, .frameDelayUs = 200});
    CountingListener listener;
    synth->setListener(&listener);
    synth->start();
    bool seenPartial = false;
    for (int lastDone = 0, lastReady = -600; lastReady != kDone;) {
        const int done = synth->samplesDone(), ready = synth->samplesReady();
        ASSERT_TRUE(done >= lastDone && ready >= lastReady) << done << " " << ready;
        seenPartial = seenPartial || (done > 0 && ready < kDone);
        if (seenPartial) hold = false;
        lastDone = done;
        lastReady = ready;
    }
    EXPECT_TRUE(seenPartial);
    int count = 0;
    const short* out = synth->getOutput(&count);
    EXPECT_EQ(synth->samplesDone(), count);
    EXPECT_NEAR(out[count / 2], 0.25 * 32767, 2);
    ASSERT_TRUE(eventually([&] { return listener.calls == 1; }));
    EXPECT_EQ(synth->samplesReady(), kDone);  // and stays there
    EXPECT_FALSE(synth->isReady());  // a finished job stays running until stop

    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(*synth));
    EXPECT_EQ(synth->score().cleanUps, 1);
    // The clean-up dropped the listener: a second run tells nobody.
    synth->start();
    ASSERT_TRUE(eventually([&] { return synth->samplesReady() == kDone; }));
    EXPECT_EQ(listener.calls, 1);
}

TEST(SynthJob, ASynthesisThatIsNotFiniteIsTheFaultOfTheBanksContentFile)
{
    struct Case {
        float level;
        std::string fault;
    };
    const std::string notFinite = "/banks/a/HVC: its values make the synthesis give samples that are not finite";
    for (const Case& c : {Case{0.25f, ""}, Case{std::numeric_limits<float>::quiet_NaN(), notFinite},
                          Case{std::numeric_limits<float>::infinity(), notFinite}}) {
        auto synth = std::make_unique<HVSynthesizer>("/banks/a/", TestConfig{.level = c.level});
        synth->score().notes = {timedNote(0.0f, 0.1f)};
        EXPECT_EQ(synth->bankFault(), "") << c.level;  // nothing sung yet
        bool finished = false;
        singToEnd(*synth, &finished);
        ASSERT_TRUE(finished) << c.level;
        EXPECT_EQ(synth->bankFault(), c.fault) << c.level;
        // A new run is judged by what it sings: laid out, it has sung nothing.
        synth->prepare();
        EXPECT_EQ(synth->bankFault(), "") << c.level;
    }
}

TEST(SynthJob, StopBeforeTheEndWaitsForEveryWorkerAndTellsNobody)
{
    std::atomic<bool> hold{true};
    CountingListener listener;
    // Held in the middle, and after the last frame but before finishing.
    for (int holdAt : {10, 72}) {
        hold = true;
        auto synth = twoNoteJob({.workers = 2, .holdAtFrame = holdAt, .hold = &hold});
        synth->setListener(&listener);
        synth->start();
        ASSERT_TRUE(eventually([&] { return synth->samplesDone() == holdAt * 16; }));
        synth->stop();
        synth->stop();  // clean-up pending: nothing
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(synth->isReady()) << holdAt;
        synth->start();  // not idle: nothing
        hold = false;
        ASSERT_TRUE(eventually([&] { return synth->isReady(); }));
        EXPECT_EQ(synth->score().cleanUps, 1);
    }
    EXPECT_EQ(listener.calls, 0);

    // Destroying a running job stops it and waits for its threads.
    hold = true;
    auto running = twoNoteJob({.workers = 2, .holdAtFrame = 10, .hold = &hold});
    running->start();
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        hold = false;
    });
    running.reset();
    release.join();
}
