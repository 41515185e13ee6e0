#pragma once
// Notes for a phrase, and one run of it through an engine front on its
// worker, expecting the job to finish; the output measures come along.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "support/engine/OutputMeasures.h"
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
