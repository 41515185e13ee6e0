#pragma once
// Notes for a phrase, and one run of it through an engine front on its
// worker, expecting the job to finish; the output measures come along.
#include <gtest/gtest.h>

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "support/engine/OutputMeasures.h"
#include "support/engine/SinusoidFit.h"
#include "support/engine/TestGeneration.h"

namespace enginetest {

// A note at timbre C4 with consonant factor e0 and the cross timbre given.
inline HalvorenEngine::SynthNoteV3 sung(const std::string& symbol, float start, float duration, float e0 = 1.0f,
                                        const char* crossTimbre = "C4")
{
    HalvorenEngine::SynthNoteV3 n;
    n.symbol = symbol;
    n.timbre = "C4";
    n.crossTimbre = crossTimbre;
    n.start = start;
    n.duration = duration;
    n.elemTime0 = e0;
    return n;
}

// One run of the front's score to its end; the output as it stands then.
inline std::vector<short> singOnce(HalvorenEngine::IHVSynthesizer& synth)
{
    bool finished = false;
    std::vector<short> out = HalvorenEngineTest::singToEnd(synth, &finished);
    EXPECT_TRUE(finished);
    return out;
}

// The middle half of a cell's body, samples [from, to): its f0 within 0.5 %
// of the note's pitch, its partial there steady within 0.5 dB and above -40 dB.
inline void expectSteadyBody(const std::vector<short>& out, int from, int to, float pitch, float rate)
{
    SCOPED_TRACE(pitch);
    const int quarter = (to - from) / 4;
    from += quarter;
    to -= quarter;
    EXPECT_NEAR(autocorrelationF0(out, from, to, pitch * 0.8, pitch * 1.25, rate), pitch, pitch * 0.005);
    const SinusoidMeasure m = measureSinusoid(out, from, to, pitch, rate);
    EXPECT_LE(m.levelSpreadDb, 0.5);
    EXPECT_GT(m.meanLevelDb, -40.0);
}

// Samples at which a and b differ, a length difference counted in full.
inline std::size_t differingSamples(const std::vector<short>& a, const std::vector<short>& b)
{
    std::size_t n = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        n += a[i] != b[i] ? 1 : 0;
    return n;
}

// Renders that must give the same samples as a first run of a front made by
// make() (a front with its score set; release(front) disposes of it): a run
// of that front after a run stopped early; a second front's run; and a third
// front made and run with this thread, and so the workers it starts, kept on
// one CPU.
template <class Make, class Release>
void expectSameSamplesEveryRun(Make make, Release release)
{
    HalvorenEngine::IHVSynthesizer* first = make();
    ASSERT_NE(first, nullptr);
    const std::vector<short> reference = singOnce(*first);
    ASSERT_FALSE(reference.empty());
    first->start();
    HalvorenEngineTest::eventually([&] { return first->samplesDone() > 0; });
    ASSERT_TRUE(HalvorenEngineTest::stoppedAndReady(*first));
    EXPECT_EQ(differingSamples(singOnce(*first), reference), 0u) << "after a stopped run";
    release(first);

    HalvorenEngine::IHVSynthesizer* second = make();
    EXPECT_EQ(differingSamples(singOnce(*second), reference), 0u) << "a second front";
    release(second);

    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &all))
        ++cpu;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    HalvorenEngine::IHVSynthesizer* pinned = make();
    const std::vector<short> out = singOnce(*pinned);
    sched_setaffinity(0, sizeof all, &all);
    EXPECT_EQ(differingSamples(out, reference), 0u) << "on CPU " << cpu;
    release(pinned);
}

// Starts the front and stops it at once: a run that finished before the stop
// reports done once; one that was stopped never does, not even later.
inline void expectStopGivesNoDone(HalvorenEngine::IHVSynthesizer& synth)
{
    HalvorenEngineTest::CountingListener listener;
    synth.setListener(&listener);
    synth.start();
    synth.stop();
    ASSERT_TRUE(HalvorenEngineTest::eventually([&] { return synth.isReady(); }));
    const int calls = listener.calls.load();
    EXPECT_LE(calls, 1);
    if (calls == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(listener.calls.load(), 0);
    }
    synth.setListener(nullptr);
}

}  // namespace enginetest
