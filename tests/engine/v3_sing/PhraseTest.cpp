#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/EngineManager.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3/HVSynthesizer.h"
#include "engine/v3_1/HVSynthesizer.h"
#include "engine/v3_2/HVSynthesizer.h"
#include "lyrics/ChnSymbolMgr.h"
#include "support/bank/BankTree.h"
#include "support/bank/SingingBank.h"
#include "support/engine/ManagedBankTest.h"
#include "support/engine/OutputMeasures.h"
#include "support/engine/PhraseRun.h"
#include "support/engine/PhraseSuite.h"

namespace {

using enginetest::maxStep;
using enginetest::PhraseSuite;
using enginetest::silent;
using enginetest::sung;
using namespace HalvorenEngineV3;

constexpr float kRate = 44100.0f;
constexpr int kHop = 128;

// "ma" C4, "sa" E4 (joined), "la" G4 (joined), 0.4 s rest, "ma" D4.
const float kPitches[] = {261.63f, 329.63f, 392.00f, 293.66f};

HalvorenEngine::SynthScoreV3 phrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.3f;
    score.notes = {sung("ma", 0.0f, 0.6f), sung("sa", 0.6f, 0.6f), sung("la", 1.2f, 0.6f), sung("ma", 2.2f, 0.6f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[0]}, {0.599f, kPitches[0]}, {0.6f, kPitches[1]},
                                                 {1.199f, kPitches[1]}, {1.2f, kPitches[2]}, {2.0f, kPitches[2]},
                                                 {2.2f, kPitches[3]}};
    return score;
}

// "la" joined into the bare final "a" (the two-model end part), a rest,
// and a breath.
const float kSecondPitches[] = {392.0f, 349.23f};

HalvorenEngine::SynthScoreV3 breathPhrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.3f;
    score.notes = {sung("la", 0.0f, 0.6f), sung("a", 0.6f, 0.6f), sung("br1", 1.6f, 0.2f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kSecondPitches[0]}, {0.599f, kSecondPitches[0]},
                                                 {0.6f, kSecondPitches[1]}};
    return score;
}

// "sa" (its "s" unvoiced), a rest and a breath of 0.2 s, all with Breath +1:
// the noise 20 dB up.
HalvorenEngine::SynthScoreV3 noisyPhrase()
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.3f;
    score.notes = {sung("sa", 0.0f, 0.8f), sung("br1", 1.3f, 0.2f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kPitches[1]}};
    score.curves[HalvorenEngine::kScoreBreath] = {{0.0f, 1.0f}};
    return score;
}

// Where each cell lies in frames, from the layout routine.
struct CellSpan {
    int first = 0;      // the onset's first frame
    int bodyFrom = 0;   // the body's first frame
    int bodyTo = 0;     // one past the body
    int end = 0;        // one past the cell's last frame
};

std::vector<CellSpan> spansOf(const std::string& package, HalvorenEngine::SynthScoreV3 score, int hop = kHop)
{
    SourceStore_pkg store(package);
    CellMakerState state(store, std::make_unique<Halvoren::ChnSymbolMgr>());
    CachedCellRecords records(state);
    WalkTiming timing{kRate, static_cast<float>(hop), std::trunc(kRate * score.leadIn)};
    std::vector<CellRecord> cells;
    for (std::size_t k = 0; k < score.notes.size(); ++k)
        walkNote(state.symbols(), records, score, k, timing, cells);
    std::vector<CellSpan> spans;
    for (const CellRecord& cell : cells) {
        const CellLayout lay = layoutCell(state.symbols(), records, cell);
        CellSpan s;
        s.first = cell.cellStart - cell.cellOffset;
        s.bodyFrom = cell.cellStart + lay.midLen;
        s.bodyTo = s.bodyFrom + lay.bodyLen;
        s.end = cell.cellStart + cell.cellLength;
        spans.push_back(s);
    }
    return spans;
}

// A cell's body of more than 40 frames, sung steadily at the note's pitch.
void checkBody(const std::vector<short>& out, const CellSpan& s, float pitch)
{
    ASSERT_GT(s.bodyTo - s.bodyFrom, 40);
    enginetest::expectSteadyBody(out, s.bodyFrom * kHop, s.bodyTo * kHop, pitch, kRate);
}

// No step across the join of two cells larger than twice the largest step
// inside their bodies.
void checkJoin(const std::vector<short>& out, const CellSpan& a, const CellSpan& b)
{
    const int join = b.first * kHop;
    const int inside = std::max(maxStep(out, a.bodyFrom * kHop, a.bodyTo * kHop),
                                maxStep(out, b.bodyFrom * kHop, b.bodyTo * kHop));
    EXPECT_LE(maxStep(out, join - 2 * kHop, join + 2 * kHop), 2 * inside) << "join at frame " << b.first;
}

// A bank version: its factory and its cell building.
struct Version {
    const char* name;
    HalvorenEngine::IHVSynthesizer* (*create)(const std::string& packagePath);
    CellBuilder builder;
};

const Version kVersions[] = {
    {"3.1", &createSynthesizerV3, &buildCells},
    {"3.4", &HalvorenEngineV3_1::createSynthesizerV3_1, &HalvorenEngineV3_1::buildCells},
    {"3.5", &HalvorenEngineV3_2::createSynthesizerV3_2, &HalvorenEngineV3_1::buildCells},
};

// "v3_1" for "3.1".
std::string versionName(const Version& v)
{
    std::string name = std::string("v") + v.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

// The three-syllable bank in each version for the shared phrase tests.
std::vector<enginetest::PhraseEngine> phraseEngines()
{
    std::vector<enginetest::PhraseEngine> engines;
    for (const Version& v : kVersions)
        engines.push_back(
            {versionName(v),
             [v](testbank::BankTree& tree, int hop, bool phases) {
                 const testbank::SingingBank bank = testbank::threeSyllableBank(hop);
                 return testbank::packageBasePath(
                     tree.addPackage((phases ? "p" : "h") + std::to_string(hop), v.name, "B",
                                     testbank::writeSingingBank(phases ? testbank::withNineColumnPhases(bank) : bank)));
             },
             [v](const std::string& package, const HalvorenEngine::SynthScoreV3& score) {
                 return enginetest::singing<HVSynthesizer>(v.create(package), score);
             },
             phrase(), noisyPhrase(),
             [](HalvorenEngine::IHVSynthesizer&, const std::string& package, int hop) {
                 return enginetest::twoCellStretches(spansOf(package, noisyPhrase(), hop), hop);
             }});
    return engines;
}

class PhraseTest : public enginetest::ManagedBankTest<::testing::TestWithParam<Version>> {
protected:
    PhraseTest() : ManagedBankTest("v3_sing")
    {
        package_ = testbank::packageBasePath(tree_.addPackage("b", GetParam().name, "B", testbank::writeSingingBank(testbank::threeSyllableBank(kHop))));
    }

    HVSynthesizer* create() { return enginetest::singing<HVSynthesizer>(GetParam().create(package_), phrase()); }

    std::vector<short> sing(HVSynthesizer& synth) { return enginetest::singOnce(synth); }

    std::string package_;
};

TEST_P(PhraseTest, SingsThePhrase)
{
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    const std::vector<short> out = sing(*synth);
    const std::vector<CellSpan> spans = spansOf(package_, phrase());
    ASSERT_EQ(spans.size(), 4u);
    ASSERT_GT(out.size(), static_cast<std::size_t>(spans.back().end * kHop));

    for (short s : out)
        ASSERT_LT(std::abs(static_cast<int>(s)), 32767);

    for (int k = 0; k < 4; ++k)
        checkBody(out, spans[k], kPitches[k]);
    // Joins: cells 0-1 and 1-2.
    for (int k = 0; k < 2; ++k)
        checkJoin(out, spans[k], spans[k + 1]);

    // Silence before the first onset, in the rest and after the last cell;
    // sound begins and ends within a hop of where the layout puts it.
    EXPECT_TRUE(silent(out, 0, spans[0].first * kHop));
    EXPECT_FALSE(silent(out, spans[0].first * kHop, (spans[0].first + 2) * kHop));
    EXPECT_TRUE(silent(out, (spans[2].end + 1) * kHop, spans[3].first * kHop));
    EXPECT_FALSE(silent(out, (spans[2].end - 1) * kHop, (spans[2].end + 1) * kHop));
    EXPECT_FALSE(silent(out, spans[3].first * kHop, (spans[3].first + 2) * kHop));
    EXPECT_TRUE(silent(out, (spans[3].end + 1) * kHop, static_cast<int>(out.size())));

    // The same score sings the same samples.
    EXPECT_EQ(sing(*synth), out);
    manager_.releaseSynthesizer(synth);
}

TEST_P(PhraseTest, SingsIntoABareFinalAndBreathes)
{
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    synth->score() = breathPhrase();
    const std::vector<short> out = sing(*synth);
    const std::vector<CellSpan> spans = spansOf(package_, breathPhrase());
    ASSERT_EQ(spans.size(), 3u);
    for (int k = 0; k < 2; ++k)
        checkBody(out, spans[k], kSecondPitches[k]);
    checkJoin(out, spans[0], spans[1]);
    // The breath (68 frames, under twice its 40 recorded ones) fills its note.
    EXPECT_TRUE(silent(out, (spans[1].end + 1) * kHop, spans[2].first * kHop));
    EXPECT_FALSE(silent(out, spans[2].first * kHop, (spans[2].first + 2) * kHop));
    EXPECT_FALSE(silent(out, (spans[2].end - 2) * kHop, spans[2].end * kHop));
    EXPECT_TRUE(silent(out, (spans[2].end + 1) * kHop, static_cast<int>(out.size())));
    manager_.releaseSynthesizer(synth);
}

// The bank's "a" is recorded at 220 Hz; sung three octaves above, at
// 1760 Hz, every harmonic takes the recorded envelope at its frequency (the
// recording's harmonics 8, 16 and 24 for the first three), less the
// brightness tilt of its rank among the 12 below half the rate: 0, 20 / 12
// and 40 / 12 dB. The envelope (SingingBank.h's tone): -42.0 dB at 1760 Hz
// (-24 - 6 log2 8, the 1200 Hz formant adding 0.01), -48.0 at 3520 Hz,
// -51.5 at 5280 Hz.
TEST_P(PhraseTest, SingsFarAboveItsRecordingWithTheRecordedEnvelope)
{
    constexpr float kHz = 1760.0f;
    HVSynthesizer* synth = create();
    ASSERT_NE(synth, nullptr);
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.3f;
    score.notes = {sung("a", 0.0f, 1.0f)};
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, kHz}};
    synth->score() = score;
    const std::vector<short> out = sing(*synth);
    manager_.releaseSynthesizer(synth);
    const std::vector<CellSpan> spans = spansOf(package_, score);
    ASSERT_EQ(spans.size(), 1u);
    const int quarter = (spans[0].bodyTo - spans[0].bodyFrom) * kHop / 4;
    const int from = spans[0].bodyFrom * kHop + quarter, to = spans[0].bodyTo * kHop - quarter;
    ASSERT_GT(to - from, 8192);
    EXPECT_NEAR(enginetest::autocorrelationF0(out, from, to, kHz * 0.8, kHz * 1.25, kRate), kHz, kHz * 0.005);
    const auto levelDb = [&](int k) { return 20.0 * std::log10(enginetest::hannLevel(out, from, to, k * kHz, kRate)); };
    const double first = levelDb(1);
    // Within the drawing's ripple over frequency: a partial's level comes
    // out 0.2 dB low at 1760 Hz and 0.15 dB high at 3520 Hz.
    EXPECT_NEAR(levelDb(2) - first, -6.01 - 20.0 / 12.0, 0.5);
    EXPECT_NEAR(levelDb(3) - first, -9.52 - 40.0 / 12.0, 0.5);
}

TEST_P(PhraseTest, CapturedFramesAreFiniteAndWhereTheLayoutPutsThem)
{
    SourceStore_pkg store(package_);
    CellMakerState state(store, std::make_unique<Halvoren::ChnSymbolMgr>());
    state.setStop(false);
    HalvorenEngine::CellListCache list;
    HalvorenEngine::SynthScoreV3 score = phrase();
    GetParam().builder(state, score, list);
    const std::vector<CellSpan> spans = spansOf(package_, phrase());
    ASSERT_FALSE(list.frames().empty());
    std::vector<int> want;
    for (const CellSpan& s : spans)
        for (int k = s.first; k < s.end; ++k)
            want.push_back(k);
    std::vector<int> got;
    for (const auto& f : list.frames()) {
        got.push_back(f->index);
        for (std::size_t i = 0; i < f->peaks.size(); ++i)
            ASSERT_TRUE(std::isfinite(f->peaks.freqs[i]) && std::isfinite(f->peaks.mags[i]));
        for (unsigned i = 0; i < f->mags.numSamples(); ++i)
            ASSERT_TRUE(std::isfinite(f->mags.ptrBegin()[i]));
    }
    // Cells joined into the next one end where its onset begins.
    std::sort(want.begin(), want.end());
    want.erase(std::unique(want.begin(), want.end()), want.end());
    EXPECT_EQ(got, want);
}

INSTANTIATE_TEST_SUITE_P(Banks, PhraseTest, ::testing::ValuesIn(kVersions),
                         [](const ::testing::TestParamInfo<Version>& info) { return versionName(info.param); });
INSTANTIATE_TEST_SUITE_P(Banks, PhraseSuite, ::testing::ValuesIn(phraseEngines()), enginetest::phraseEngineName);

}  // namespace
