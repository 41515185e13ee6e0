#include <gtest/gtest.h>

#include <atomic>

#include "engine/EngineManager.h"
#include "engine/JobPlan.h"
#include "engine/v3/HVSynthesizer.h"
#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/bank/BankTree.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/SinusoidFit.h"
#include "support/engine/TestGeneration.h"

namespace {

using HalvorenEngineTest::CountingListener;
using HalvorenEngineTest::eventually;
using HalvorenEngineV3::HVSynthesizer;

// What the stand-in cell builder does, for all jobs of a test.
std::atomic<int> g_builderRuns{0};
HalvorenEngineTest::StepGate g_gate;  // passed as each frame begins

// Reports a steady partial at 220 Hz and -12 dB for every planned frame,
// as a cell loop would, and returns early on a stop.
void steadyPartialBuilder(HalvorenEngineV3::CellMakerState& state, HalvorenEngine::SynthScoreV3& score,
                          HalvorenEngine::CellListCache& list)
{
    ++g_builderRuns;
    HalvorenEngine::JobPlan plan;
    HalvorenEngine::planJob(HalvorenEngineV3::scoreSpanOf(score), state.store().getHopSize(),
                            state.store().getSampleRate(), plan);
    for (int k = 0; k < plan.frames; ++k) {
        g_gate.pass(k);
        if (state.isStopped())
            return;
        Halvoren::FrameMags mags;
        const std::vector<float> envelope(257, -200.0f);
        mags.putSamples(envelope.data(), 257);
        Halvoren::PeakList peaks;
        peaks.append(220.0f, -12.0f, 0.0f);
        HalvorenEngine::SynthFrameV4 frame;
        frame.mags = &mags;
        frame.peaks = &peaks;
        frame.index = k;
        state.emitFrame(frame, list);
    }
    list.finished = true;
}

class SynthJobV3Test : public enginetest::ManagedBankTest<> {
protected:
    SynthJobV3Test() : ManagedBankTest("v3_job") {}

    // A bank folder holding only an index with this header and language.
    std::string bank(std::int32_t hop, float rate, const std::string& language = "CHN")
    {
        testbank::BankDescription description;
        description.header.hopSize = hop;
        description.header.sampleRate = rate;
        description.strings[2] = language;
        const auto folder = tree_.addBank("b" + std::to_string(banks_++), "3.1", "B");
        testbank::writePackageFiles(folder, testbank::writePackage(description));
        return testbank::packageBasePath(folder);
    }

    // 400 frames at hop 128: one note of 399 * 128 / 44100 s (a hair more).
    static void fourHundredFrames(HVSynthesizer& synth)
    {
        HalvorenEngine::SynthNoteV3 note;
        note.duration = 399.5f * 128.0f / 44100.0f;
        synth.score().notes = {note};
    }

    // Starts the job with the listener and waits for its onJobDone.
    static bool runToEnd(HVSynthesizer& synth, CountingListener& listener)
    {
        synth.setListener(&listener);
        synth.start();
        return eventually([&] { return listener.calls.load() == 1; });
    }

    int banks_ = 0;
};

TEST_F(SynthJobV3Test, FactoryPutsTheFrontOnTheLiveList)
{
    const std::size_t before = manager_.liveCount();
    HalvorenEngine::IHVSynthesizer* synth = HalvorenEngineV3::createSynthesizerV3(bank(128, 44100.0f));
    ASSERT_NE(synth, nullptr);
    EXPECT_NE(dynamic_cast<HVSynthesizer*>(synth), nullptr);
    EXPECT_EQ(manager_.liveCount(), before + 1);
    EXPECT_TRUE(synth->isReady());
    manager_.releaseSynthesizer(synth);
}

TEST_F(SynthJobV3Test, LanguagePicksTheSymbolManagerAndTheTextIsKept)
{
    HVSynthesizer chinese(bank(128, 44100.0f, "CHN"), &steadyPartialBuilder);
    HVSynthesizer other(bank(128, 44100.0f, "JPN"), &steadyPartialBuilder);
    EXPECT_NE(dynamic_cast<Halvoren::ChnSymbolMgr*>(&chinese.body().cellMakerState().symbols()), nullptr);
    EXPECT_NE(dynamic_cast<Halvoren::NullSymbolMgr*>(&other.body().cellMakerState().symbols()), nullptr);
    chinese.setSynthText("some text");
    EXPECT_EQ(chinese.body().synthText(), "some text");
}

TEST_F(SynthJobV3Test, SteadyPartialRendersAndFinishesOnce)
{
    HVSynthesizer synth(bank(128, 44100.0f), &steadyPartialBuilder);
    fourHundredFrames(synth);
    CountingListener listener;
    ASSERT_TRUE(runToEnd(synth, listener));
    EXPECT_EQ(synth.samplesReady(), 2147483647);
    const std::vector<short> out = HalvorenEngineTest::outputOf(synth);
    // (400 + 1) * 128 samples.
    ASSERT_EQ(out.size(), 401u * 128u);
    const enginetest::SinusoidMeasure m = enginetest::measureSinusoid(out, 40 * 128, 360 * 128, 220.0, 44100.0);
    EXPECT_NEAR(m.frequency, 220.0, 0.44);
    EXPECT_NEAR(m.meanLevelDb, -12.0, 0.5);
    EXPECT_LE(m.levelSpreadDb, 0.5);
    EXPECT_LE(m.remainderDb, -45.0);
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(synth));
    EXPECT_EQ(listener.calls.load(), 1);
}

TEST_F(SynthJobV3Test, StopMidwayGivesNoDoneAndARestartTheSameSamples)
{
    HVSynthesizer reference(bank(128, 44100.0f), &steadyPartialBuilder);
    fourHundredFrames(reference);
    CountingListener referenceListener;
    ASSERT_TRUE(runToEnd(reference, referenceListener));
    const std::vector<short> expected = HalvorenEngineTest::outputOf(reference);
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(reference));

    HVSynthesizer synth(bank(128, 44100.0f), &steadyPartialBuilder);
    fourHundredFrames(synth);
    CountingListener stopped;
    synth.setListener(&stopped);
    // Stopped while the builder is at frame 50 of 400.
    g_gate.close(50);
    ASSERT_TRUE(HalvorenEngineTest::stoppedInStep(synth, g_gate));
    g_gate.close(-1);
    EXPECT_EQ(stopped.calls.load(), 0);

    CountingListener restarted;
    ASSERT_TRUE(runToEnd(synth, restarted));
    EXPECT_EQ(HalvorenEngineTest::outputOf(synth), expected);
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(synth));
    EXPECT_EQ(stopped.calls.load(), 0);
    EXPECT_EQ(restarted.calls.load(), 1);
}

TEST_F(SynthJobV3Test, RefusedBankMakesNoFrameAndStillFinishes)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::int32_t hop;
        float rate;
    } cases[] = {{0, 44100.0f}, {257, 44100.0f}, {128, nan}, {128, 0.0f}};
    for (const Case& c : cases) {
        const int runsBefore = g_builderRuns.load();
        HVSynthesizer synth(bank(c.hop, c.rate), &steadyPartialBuilder);
        // One second: trunc(44100 / 128) + 1 = 345 frames at the fallback hop.
        HalvorenEngine::SynthNoteV3 note;
        note.duration = 1.0f;
        synth.score().notes = {note};
        CountingListener listener;
        const std::string where = std::to_string(c.hop) + " @ " + std::to_string(c.rate);
        ASSERT_TRUE(runToEnd(synth, listener)) << where;
        const std::vector<short> out = HalvorenEngineTest::outputOf(synth);
        EXPECT_EQ(out.size(), 346u * 128u) << where;
        EXPECT_EQ(std::count(out.begin(), out.end(), 0), static_cast<long>(out.size())) << where;
        EXPECT_EQ(synth.samplesDone(), static_cast<int>(out.size())) << where;
        EXPECT_EQ(g_builderRuns.load(), runsBefore) << where;
        ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(synth));
        EXPECT_EQ(listener.calls.load(), 1) << where;
    }
}

}  // namespace
