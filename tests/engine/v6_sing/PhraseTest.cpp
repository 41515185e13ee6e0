#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/EngineManager.h"
#include "engine/v6/HVSynthesizer.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBankV6.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/PhraseRun.h"
#include "support/engine/PhraseSuite.h"
#include "support/engine/TestGeneration.h"

namespace {

using HalvorenEngineTest::CountingListener;
using HalvorenEngineTest::eventually;
using HalvorenEngineV6::HVSynthesizer;
using enginetest::PhraseSuite;

constexpr float kRate = 44100.0f;
constexpr int kHop = 128;
constexpr float kLeadIn = 0.3f;

// "ka" A3 + "ma" C#4 joined, a 0.5 s rest, "ka" E4 + "ma" A4 joined.
const float kPitches[] = {220.0f, 277.18f, 329.63f, 440.0f};

// Consonants at half their length; no cross timbre.
HalvorenEngine::SynthNoteV3 sung(const std::string& symbol, float start, float duration)
{
    return enginetest::sung(symbol, start, duration, 0.5f, "");
}

HalvorenEngine::SynthScoreV3 phrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = kLeadIn;
    score.notes = {sung("ka", 0.0f, 0.6f), sung("ma", 0.6f, 0.6f), sung("ka", 1.7f, 0.6f), sung("ma", 2.3f, 0.6f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[0]}, {0.599f, kPitches[0]}, {0.6f, kPitches[1]},
                                                 {1.2f, kPitches[1]},   {1.7f, kPitches[2]},   {2.299f, kPitches[2]},
                                                 {2.3f, kPitches[3]}};
    return score;
}

// "ka" (its "k" unvoiced), a rest and a breath of 0.2 s, all with Breath +1.
HalvorenEngine::SynthScoreV3 noisyPhrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = kLeadIn;
    score.notes = {sung("ka", 0.0f, 0.8f), sung("br1", 1.3f, 1.0f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[2]}};
    score.curves[HalvorenEngine::kScoreBreath] = {{0.0f, 1.0f}};
    return score;
}

// Where each cell lies in frames, from the job's own timing plan.
struct CellSpan {
    int first = 0;     // the consonant's first frame
    int bodyFrom = 0;  // the body's first frame
    int bodyTo = 0;    // one past the body
    int end = 0;       // one past the cell's planned frames
};

int framesOf(float seconds, int hop) { return static_cast<int>(std::lround(seconds * kRate / hop)); }

std::vector<CellSpan> spansOf(HVSynthesizer& synth, int hop = kHop)
{
    auto framesOf = [hop](float seconds) { return ::framesOf(seconds, hop); };
    std::vector<HalvorenEngine::NoteTimes> times;
    synth.body().prepareCells(synth.score(), times);
    std::vector<CellSpan> spans;
    for (const auto& t : times) {
        const int start = framesOf(t.values[0] + kLeadIn);
        CellSpan s;
        s.first = start - framesOf(t.values[3]);
        s.bodyFrom = start + framesOf(t.values[5]);
        s.bodyTo = s.bodyFrom + framesOf(t.values[6]);
        s.end = start + framesOf(t.values[4]);
        spans.push_back(s);
    }
    return spans;
}

// Every sample of x[from .. to) exactly 0.
bool zeros(const std::vector<short>& x, int from, int to) { return enginetest::silent(x, from, to, 0); }

// The phrase bank of the format ("6.<formatMinor>") at hop.
std::string phraseBank(testbank::BankTree& tree, int formatMinor, int hop)
{
    const std::string version = "6." + std::to_string(formatMinor);
    return testbank::packageBasePath(tree.addPackage("h" + std::to_string(hop), version, "B",
                                                     testbank::writeSingingBankV6(testbank::phraseBankV6(formatMinor, hop))));
}

// The phrase bank in formats 6.1 and 6.2 for the shared phrase tests; its
// records hold no phase table.
std::vector<enginetest::PhraseEngine> phraseEngines()
{
    std::vector<enginetest::PhraseEngine> engines;
    for (int minor : {1, 2})
        engines.push_back(
            {"v6_" + std::to_string(minor),
             [minor](testbank::BankTree& tree, int hop, bool) { return phraseBank(tree, minor, hop); },
             [](const std::string& package, const HalvorenEngine::SynthScoreV3& score) {
                 return enginetest::singing<HVSynthesizer>(HalvorenEngineV6::createSynthesizerV6(package), score);
             },
             phrase(), noisyPhrase(),
             [](HalvorenEngine::IHVSynthesizer& front, const std::string&, int hop) {
                 return enginetest::twoCellStretches(spansOf(dynamic_cast<HVSynthesizer&>(front), hop), hop);
             }});
    return engines;
}

class PhraseTest : public enginetest::ManagedBankTest<::testing::TestWithParam<int>> {
protected:
    PhraseTest() : ManagedBankTest("v6_sing") {}

    HVSynthesizer* create()
    {
        return enginetest::singing<HVSynthesizer>(
            HalvorenEngineV6::createSynthesizerV6(phraseBank(tree_, GetParam(), kHop)), phrase());
    }

    std::vector<short> sing(HVSynthesizer& synth) { return enginetest::singOnce(synth); }
};

TEST_P(PhraseTest, SingsThePhrase)
{
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    const std::vector<short> out = sing(*synth);
    const std::vector<CellSpan> spans = spansOf(*synth);
    ASSERT_EQ(spans.size(), 4u);
    ASSERT_GT(out.size(), static_cast<std::size_t>(spans.back().end * kHop));

    for (short s : out)
        ASSERT_TRUE(s > -32768 && s < 32767);

    for (int k = 0; k < 4; ++k) {
        ASSERT_GT(spans[k].bodyTo - spans[k].bodyFrom, 20);
        enginetest::expectSteadyBody(out, spans[k].bodyFrom * kHop, spans[k].bodyTo * kHop, kPitches[k], kRate);
    }

    // Where cells meet, no step beyond 1.5 times the largest in the louder
    // neighbour's steady middle.
    for (int k : {0, 2}) {
        SCOPED_TRACE(k);
        auto middleStep = [&](const CellSpan& c) {
            const int quarter = (c.bodyTo - c.bodyFrom) * kHop / 4;
            return enginetest::maxStep(out, c.bodyFrom * kHop + quarter, c.bodyTo * kHop - quarter);
        };
        const int inside = std::max(middleStep(spans[k]), middleStep(spans[k + 1]));
        for (int boundary : {spans[k + 1].first, spans[k].end}) {
            EXPECT_LE(enginetest::maxStep(out, (boundary - 2) * kHop, (boundary + 2) * kHop), 1.5 * inside) << boundary;
        }
    }

    // Exact silence before the first consonant and in the rest from one hop
    // past the first pair's planned end to the second pair's consonant;
    // sound starts within a hop of the planned onsets.
    EXPECT_TRUE(zeros(out, 0, spans[0].first * kHop));
    EXPECT_FALSE(zeros(out, (spans[0].first + 1) * kHop, (spans[0].first + 3) * kHop));
    EXPECT_TRUE(zeros(out, (spans[1].end + 1) * kHop, spans[2].first * kHop));
    EXPECT_FALSE(zeros(out, (spans[2].first + 1) * kHop, (spans[2].first + 3) * kHop));

    // A second run of the same score sings the same samples.
    EXPECT_EQ(sing(*synth), out);
    manager_.releaseSynthesizer(synth);
}

TEST_P(PhraseTest, PlanningDuringARunLeavesTheOutputAlone)
{
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    const std::vector<short> alone = sing(*synth);

    HalvorenEngine::SynthScoreV3 planned = synth->score();
    CountingListener listener;
    synth->setListener(&listener);
    synth->start();
    int plans = 0;
    std::vector<HalvorenEngine::NoteTimes> times;
    do {
        synth->body().prepareCells(planned, times);
        ++plans;
        EXPECT_EQ(times.size(), 4u);
    } while (listener.calls.load() == 0 && plans < 100000);
    EXPECT_TRUE(eventually([&] { return listener.calls.load() == 1; }));
    EXPECT_EQ(HalvorenEngineTest::outputOf(*synth), alone);
    EXPECT_TRUE(HalvorenEngineTest::stoppedAndReady(*synth));
    synth->setListener(nullptr);
    manager_.releaseSynthesizer(synth);
}

INSTANTIATE_TEST_SUITE_P(Formats, PhraseTest, ::testing::Values(1, 2));
INSTANTIATE_TEST_SUITE_P(Banks, PhraseSuite, ::testing::ValuesIn(phraseEngines()), enginetest::phraseEngineName);

}  // namespace
