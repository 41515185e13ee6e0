#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/EngineManager.h"
#include "engine/v4/BuildCells.h"
#include "engine/v4/HVSynthesizer.h"
#include "engine/v4/SymbolMgrFor.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/OutputMeasures.h"
#include "support/engine/PhraseRun.h"
#include "support/engine/PhraseSuite.h"

namespace {

using enginetest::maxStep;
using enginetest::PhraseSuite;
using enginetest::rms;
using enginetest::silent;
using enginetest::sung;
using namespace HalvorenEngineV4;

constexpr float kRate = 44100.0f;
constexpr int kHop = 128;
constexpr float kLeadIn = 0.3f;

// "ma" C4 into "la" E4 (through the voiced initial's tail), "la" into the
// vowel-only "a" G4 (merging the two units), "a" with its cross timbre half
// in and released into "-", a 0.4 s rest, "sa" D4 released into "-".
const float kPitches[] = {261.63f, 329.63f, 392.00f, 293.66f};

HalvorenEngine::SynthScoreV3 phrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = kLeadIn;
    score.notes = {sung("ma", 0.0f, 0.6f), sung("la", 0.6f, 0.6f), sung("a", 1.2f, 0.6f), sung("sa", 2.2f, 0.6f)};
    score.notes[2].crossTimbre = "G4";
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[0]}, {0.599f, kPitches[0]}, {0.6f, kPitches[1]},
                                                 {1.199f, kPitches[1]}, {1.2f, kPitches[2]}, {2.0f, kPitches[2]},
                                                 {2.2f, kPitches[3]}};
    score.curves[HalvorenEngine::kScoreCross] = {{0.0f, 0.5f}};
    return score;
}

// "sa" (its "s" unvoiced), a rest and a breath of 0.2 s, all with Breath +1:
// the noise 20 dB up.
HalvorenEngine::SynthScoreV3 noisyPhrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = kLeadIn;
    score.notes = {sung("sa", 0.0f, 0.8f), sung("br1", 1.3f, 0.2f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[1]}};
    score.curves[HalvorenEngine::kScoreBreath] = {{0.0f, 1.0f}};
    return score;
}

// Where each cell lies in samples, from the job's timing plan.
struct CellSpan {
    int first = 0;     // the onset's first sample
    int bodyFrom = 0;  // the body's first sample
    int bodyTo = 0;    // one past the body
    int end = 0;       // one past the cell's last frame
};

int sampleAt(float secondsFromJobStart)
{
    return static_cast<int>(std::lround((secondsFromJobStart + kLeadIn) * kRate));
}

std::vector<CellSpan> spansOf(HVSynthesizer& synth)
{
    auto symbols = symbolMgrFor("CHN");
    std::vector<CellSpan> spans;
    for (const HalvorenEngine::NoteTimes& t : synth.body().prepareCells(*symbols, synth.score())) {
        const auto& v = t.values;
        CellSpan s;
        s.first = sampleAt(v[0] - v[3]);
        s.bodyFrom = sampleAt(v[0] + v[5]);
        s.bodyTo = sampleAt(v[0] + v[5] + v[6]);
        s.end = sampleAt(v[0] + v[4]);
        spans.push_back(s);
    }
    return spans;
}

// The first and one past the last sample beyond +-2 in x[from .. to).
std::pair<int, int> soundedRange(const std::vector<short>& x, int from, int to)
{
    int first = to, last = from;
    for (int n = std::max(0, from); n < std::min<int>(to, static_cast<int>(x.size())); ++n) {
        if (std::abs(x[n]) > 2) {
            first = std::min(first, n);
            last = n + 1;
        }
    }
    return {first, last};
}

// The fourth-generation singing bank with phase tables whose columns
// alternate +-0.02 rad: every frame's phase step moves a little, but the
// steps cancel, so the pitch stays where the curve puts it.
testbank::SingingBank phraseBank()
{
    testbank::SingingBank bank = testbank::cvvcBankV4(kHop);
    for (testbank::SingingVoice& v : bank.voices)
        if (v.ext1)
            v.ext1->values = {0.02f, -0.02f, 0.02f, -0.02f, 0.02f, -0.02f, 0.02f, -0.02f};
    return bank;
}

// The bank of every unit kind in version "4.0" for the shared phrase tests.
enginetest::PhraseEngine phraseEngine()
{
    return {"v4_0",
            [](testbank::BankTree& tree, int hop, bool phases) {
                const testbank::SingingBank bank = testbank::cvvcBankV4(hop);
                return testbank::packageBasePath(
                    tree.addPackage((phases ? "p" : "h") + std::to_string(hop), "4.0", "B",
                                    testbank::writeSingingBank(phases ? testbank::withNineColumnPhases(bank) : bank)));
            },
            [](const std::string& package, const HalvorenEngine::SynthScoreV3& score) {
                return enginetest::singing<HVSynthesizer>(createSynthesizerV4(package), score);
            },
            phrase(), noisyPhrase(),
            [](HalvorenEngine::IHVSynthesizer& front, const std::string&, int) {
                return enginetest::twoCellStretches(spansOf(dynamic_cast<HVSynthesizer&>(front)), 1);
            }};
}

class PhraseTest : public enginetest::ManagedBankTest<> {
protected:
    PhraseTest() : ManagedBankTest("v4_sing")
    {
        package_ =
            testbank::packageBasePath(tree_.addPackage("b", "4.0", "B", testbank::writeSingingBank(phraseBank())));
    }

    HVSynthesizer* create() { return enginetest::singing<HVSynthesizer>(createSynthesizerV4(package_), phrase()); }

    std::vector<short> sing(HVSynthesizer& synth) { return enginetest::singOnce(synth); }

    std::string package_;
};

TEST_F(PhraseTest, SingsThePhraseWhereThePlanPutsIt)
{
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    const std::vector<short> out = sing(*synth);
    const std::vector<CellSpan> spans = spansOf(*synth);
    ASSERT_EQ(spans.size(), 4u);
    ASSERT_GT(out.size(), static_cast<std::size_t>(spans.back().end));

    for (int k = 0; k < 4; ++k) {
        ASSERT_GT(spans[k].bodyTo - spans[k].bodyFrom, 40 * kHop);
        enginetest::expectSteadyBody(out, spans[k].bodyFrom, spans[k].bodyTo, kPitches[k], kRate);
    }

    // No click where one cell hands over to the next: within two hops of a
    // join no sample steps further than three quarters of the louder
    // neighbouring body's RMS (a broken waveform jumps by about its
    // amplitude, 1.4 RMS), nor further than a quarter beyond the largest
    // step inside those bodies (their noise makes steps of their own).
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const int join = spans[k + 1].first;
        const double level = std::max(rms(out, spans[k].bodyFrom, spans[k].bodyTo),
                                      rms(out, spans[k + 1].bodyFrom, spans[k + 1].bodyTo));
        const int inside = std::max(maxStep(out, spans[k].bodyFrom, spans[k].bodyTo),
                                    maxStep(out, spans[k + 1].bodyFrom, spans[k + 1].bodyTo));
        const int step = maxStep(out, join - 2 * kHop, join + 2 * kHop);
        EXPECT_LT(step, 0.75 * level);
        EXPECT_LE(step, 1.25 * inside);
    }

    // Sound starts and ends within a hop of where the plan puts each run of
    // joined cells; silence before, in the rest and after. A run that starts
    // on a voiced consonant fades in from a first frame at -120 dB, so its
    // sound begins with the second frame, whose window opens from 0: up to
    // an eighth of a hop more.
    const std::pair<int, int> runs[] = {{spans[0].first, spans[2].end}, {spans[3].first, spans[3].end}};
    const std::pair<int, int> sounded[] = {soundedRange(out, 0, (spans[2].end + spans[3].first) / 2),
                                           soundedRange(out, (spans[2].end + spans[3].first) / 2,
                                                        static_cast<int>(out.size()))};
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(r);
        EXPECT_GE(sounded[r].first, runs[r].first);
        EXPECT_LE(sounded[r].first, runs[r].first + kHop + kHop / 8);
        EXPECT_LE(std::abs(sounded[r].second - runs[r].second), kHop);
    }
    EXPECT_TRUE(silent(out, 0, spans[0].first));
    EXPECT_TRUE(silent(out, spans[2].end + kHop, spans[3].first));
    EXPECT_TRUE(silent(out, spans[3].end + kHop, static_cast<int>(out.size())));

    // The same score sings the same samples.
    EXPECT_EQ(sing(*synth), out);
    manager_.releaseSynthesizer(synth);
}

TEST_F(PhraseTest, CurveValuesBeyondTheirRangeSingAsTheirLimits)
{
    // Amplitude 64 would overflow its gain 2^(2v) and Breath 1e6 the noise's
    // 20 dB a unit: frames of NaN.
    auto render = [&](float amplitude, float breath) {
        HVSynthesizer* synth = create();
        EXPECT_NE(synth, nullptr);
        synth->score().curves[HalvorenEngine::kScoreAmplitude] = {{0.0f, amplitude}};
        synth->score().curves[HalvorenEngine::kScoreBreath] = {{0.0f, breath}};
        const std::vector<short> out = sing(*synth);
        manager_.releaseSynthesizer(synth);
        return out;
    };
    const std::vector<short> limits = render(1.0f, 1.0f);
    EXPECT_FALSE(silent(limits, 0, static_cast<int>(limits.size())));
    EXPECT_EQ(render(64.0f, 1e6f), limits);
}

TEST_F(PhraseTest, CapturedFramesAreFinite)
{
    SourceStore_pkg store(package_);
    CellMakerState state(store, symbolMgrFor("CHN"));
    state.setStop(false);
    HalvorenEngine::CellListCache list;
    HalvorenEngine::SynthScoreV3 score = phrase();
    runCellLoop(state, score, list);
    ASSERT_FALSE(list.frames().empty());
    for (const auto& f : list.frames()) {
        for (std::size_t i = 0; i < f->peaks.size(); ++i)
            ASSERT_TRUE(std::isfinite(f->peaks.freqs[i]) && std::isfinite(f->peaks.mags[i])) << f->index;
        for (unsigned i = 0; i < f->mags.numSamples(); ++i)
            ASSERT_TRUE(std::isfinite(f->mags.ptrBegin()[i])) << f->index;
        ASSERT_TRUE(std::isfinite(f->levelDb)) << f->index;
    }
}

TEST_F(PhraseTest, BankWithoutATableStillFinishes)
{
    const std::string path = testbank::packageBasePath([&] {
        testbank::SingingBank bank = testbank::cvvcBankV4(kHop);
        bank.language = "no table";
        return tree_.addPackage("plain", "4.0", "B", testbank::writeSingingBank(bank));
    }());
    auto* synth = dynamic_cast<HVSynthesizer*>(createSynthesizerV4(path));
    ASSERT_NE(synth, nullptr);
    synth->score() = phrase();
    sing(*synth);  // expects one done call
    manager_.releaseSynthesizer(synth);
}

TEST_F(PhraseTest, RefusedHopMakesNoFrameAndStillFinishes)
{
    // 300 samples a frame cannot be overlap-added in 512: the store refuses
    // the bank, and the job plans at its fallback hop.
    const std::string path = testbank::packageBasePath(
        tree_.addPackage("wide", "4.0", "B", testbank::writeSingingBank(testbank::cvvcBankV4(300))));
    auto* synth = dynamic_cast<HVSynthesizer*>(createSynthesizerV4(path));
    ASSERT_NE(synth, nullptr);
    synth->score() = phrase();
    EXPECT_EQ(synth->body().hop(), 128);
    const std::vector<short> out = sing(*synth);
    EXPECT_FALSE(out.empty());
    EXPECT_TRUE(silent(out, 0, static_cast<int>(out.size()), 0));
    auto symbols = symbolMgrFor("CHN");
    EXPECT_TRUE(synth->body().prepareCells(*symbols, synth->score()).empty());
    manager_.releaseSynthesizer(synth);
}

INSTANTIATE_TEST_SUITE_P(Banks, PhraseSuite, ::testing::Values(phraseEngine()), enginetest::phraseEngineName);

}  // namespace
