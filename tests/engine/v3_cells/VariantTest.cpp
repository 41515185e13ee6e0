#include <gtest/gtest.h>

#include "support/engine/CellFixtures.h"
#include "dsp/SampleOutWriter.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3_1/BuildCells.h"
#include "engine/v3_2/FrameSynth.h"

namespace {

using namespace HalvorenEngineV3;
using celltest::StubSymbols;

// Every frame of the test models has its harmonics at one level, so a blend
// of two models shows as a level between theirs: model at -20 dB, recording
// or continuant at -60 dB, next syllable at -40 dB.
constexpr float kModelDb = -20.0f;
constexpr float kRecordingDb = -60.0f;
constexpr float kNextDb = -40.0f;

class VariantTest : public ::testing::Test {
protected:
    VariantTest()
    {
        store_.voices["ma"] = celltest::maVoice(kModelDb);
        store_.voices["la"] = celltest::maVoice(kNextDb);
        store_.continuants["a_z"] = {0, 16, celltest::numberedFrames(16, kRecordingDb)};
        state_.prepare(celltest::flatScore());
    }

    // The levels of the first harmonic over n frames of a maker.
    static std::vector<float> levels(CellMakerCore& maker, int n)
    {
        std::vector<float> out;
        Halvoren::PeakList peaks;
        Halvoren::FrameMags residual;
        for (int i = 0; i < n; ++i) {
            float gain = 0.0f;
            maker.make(i, peaks, residual, gain);
            out.push_back(peaks.empty() ? -999.0f : peaks.mags[0]);
        }
        return out;
    }

    EndModels models(int kind)
    {
        CachedCellRecords records(state_);
        EndModels m;
        m.first = state_.lookupVoiceSrc("ma", "C4");
        m.second = state_.lookupVoiceSrc("la", "C4");
        m.next = m.second;
        m.c = records.continuant("a", "z", "C4");
        m.kind = kind;
        return m;
    }

    celltest::FakeStore store_;
    CellMakerState state_{store_, std::make_unique<StubSymbols>()};
};

TEST_F(VariantTest, KindOneFadesOverSixtyPercentFromModelToRecording)
{
    // "3.4": n = trunc(0.6 x 10) = 6, the model's weight (6 - i) / 6.
    auto later = HalvorenEngineV3_1::makeEndMaker(state_, models(1), 10, 0, 0);
    ASSERT_NE(later, nullptr);
    const std::vector<float> got = levels(*later, 10);
    const float modelWeight[10] = {1.0f, 5.0f / 6, 4.0f / 6, 3.0f / 6, 2.0f / 6, 1.0f / 6, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(got[i], kRecordingDb + 40.0f * modelWeight[i], 1e-3f) << "frame " << i;
    // "3.1": over trunc(0.4 x 10) = 4 frames the other way, the recording's
    // weight (4 - i) / 4.
    auto first = HalvorenEngineV3::makeEndMaker(state_, models(1), 10, 0, 0);
    ASSERT_NE(first, nullptr);
    const std::vector<float> old = levels(*first, 10);
    const float recordingWeight[10] = {1.0f, 0.75f, 0.5f, 0.25f, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(old[i], kModelDb - 40.0f * recordingWeight[i], 1e-3f) << "frame " << i;
}

TEST_F(VariantTest, KindTwoMergesHoldsAndHandsOverToTheNextSyllable)
{
    // N = 20: merge trunc(20 x 0.45) = 8, hold trunc(20 x 0.1) = 2, tail 10.
    auto maker = HalvorenEngineV3_1::makeEndMaker(state_, models(2), 20, 0, 0);
    ASSERT_NE(maker, nullptr);
    const std::vector<float> got = levels(*maker, 20);
    for (int i = 0; i < 20; ++i) {
        float want;
        if (i < 8)  // model (8 - i) / 8, continuant the rest
            want = kRecordingDb + 40.0f * static_cast<float>(8 - i) / 8.0f;
        else if (i < 10)  // the continuant alone
            want = kRecordingDb;
        else  // continuant (20 - i) / 10, next syllable the rest
            want = kNextDb - 20.0f * static_cast<float>(20 - i) / 10.0f;
        EXPECT_NEAR(got[i], want, 1e-3f) << "frame " << i;
    }
}

class VariantLoopTest : public ::testing::Test {
protected:
    VariantLoopTest()
    {
        symbols_.finals = {"a"};
        symbols_.valid = {"na"};
        symbols_.breaths = {"br"};
        for (const char* unit : {"la", "a", "ta", "na"})
            store_.voices[unit] = celltest::maVoice(kModelDb);
        renew();
    }

    // A fresh state (and record cache) over the store.
    void renew()
    {
        state_ = std::make_unique<CellMakerState>(store_, std::make_unique<StubSymbols>(symbols_));
        state_->setStop(false);
    }

    void sing(CellBuilder builder, HalvorenEngine::SynthScoreV3& score, HalvorenEngine::CellListCache& list)
    {
        builder(*state_, score, list);
    }

    celltest::FakeStore store_;
    StubSymbols symbols_;
    std::unique_ptr<CellMakerState> state_;
};

// "ma" sung over the unit "na": the onset comes from the recording of "ma"
// (-60 dB, residual -100 dB), the model from "na" (-20 dB).
TEST_F(VariantLoopTest, OnsetFromAnotherRecordingStartsOnIt)
{
    celltest::VoiceEntry recording = celltest::maVoice(kRecordingDb);
    for (auto& f : recording.frames)
        f.magsA.assign(257, -100.0f);
    struct Case {
        bool emptyBand;
        std::vector<float> levels;     // first harmonic, -999 for none
        std::vector<float> residuals;  // first bin
    } cases[] = {
        // The model weighs 0, .25, .5, .75: levels -60 + 40 w; residual
        // -100 + 80 w (the model's residual at its anchor frame 20 is -20).
        {false, {-60.0f, -50.0f, -40.0f, -30.0f}, {-100.0f, -80.0f, -60.0f, -40.0f}},
        // Source frame 5 (frame 2 of the part) has no band frame: no peaks,
        // the recording's residual.
        {true, {-60.0f, -50.0f, -999.0f, -30.0f}, {-100.0f, -80.0f, -100.0f, -40.0f}},
    };
    for (const Case& c : cases) {
        celltest::VoiceEntry r = recording;
        if (c.emptyBand)
            r.frames[5].bands.clear();
        store_.voices["ma"] = r;
        renew();
        HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
        // Onset 10 source frames x 0.4 = 4 frames: source positions 0, 2.5, 5, 7.5.
        score.notes = {celltest::note("ma", 20, 100, 0.4f)};
        score.notes[0].symbolTag = "na";
        HalvorenEngine::CellListCache list;
        HalvorenEngineV3_1::buildCells(*state_, score, list);
        ASSERT_GE(list.frames().size(), 4u);
        for (int i = 0; i < 4; ++i) {
            const HalvorenEngine::SynthFrame& f = *list.frames()[i];
            EXPECT_EQ(f.index, 16 + i);
            EXPECT_NEAR(f.peaks.empty() ? -999.0f : f.peaks.mags[0], c.levels[i], 1e-3f)
                << "frame " << i << (c.emptyBand ? " with an empty band" : "");
            EXPECT_NEAR(f.mags.ptrBegin()[0], c.residuals[i], 1e-3f)
                << "frame " << i << (c.emptyBand ? " with an empty band" : "");
        }
    }
}

TEST_F(VariantLoopTest, KindsZeroAndThreeSingAsTheThirdGeneration)
{
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    HalvorenEngine::SynthNoteV3 joined = celltest::note("la", 20, 40);
    joined.breakAfter = 0;
    // "la" into the bare final "a": kind 3; "ta" alone: kind 0.
    score.notes = {joined, celltest::note("a", 60, 40), celltest::note("ta", 120, 40)};
    HalvorenEngine::CellListCache first, later;
    sing(&HalvorenEngineV3::buildCells, score, first);
    sing(&HalvorenEngineV3_1::buildCells, score, later);
    ASSERT_EQ(first.frames().size(), later.frames().size());
    ASSERT_FALSE(first.frames().empty());
    for (std::size_t i = 0; i < first.frames().size(); ++i) {
        const HalvorenEngine::SynthFrame& a = *first.frames()[i];
        const HalvorenEngine::SynthFrame& b = *later.frames()[i];
        ASSERT_EQ(a.index, b.index) << i;
        ASSERT_EQ(a.peaks.freqs, b.peaks.freqs) << "frame " << a.index;
        ASSERT_EQ(a.peaks.mags, b.peaks.mags) << "frame " << a.index;
        ASSERT_TRUE(std::equal(a.mags.ptrBegin(), a.mags.ptrBegin() + a.mags.numSamples(), b.mags.ptrBegin()))
            << "frame " << a.index;
    }
}

TEST_F(VariantLoopTest, BreathPeaksAreDrawnOnlyByTheTwin)
{
    // A breath recorded with harmonics: its frames carry peaks but are unvoiced.
    store_.voices["br"] = celltest::maVoice(kModelDb);
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.notes = {celltest::note("br", 20, 40)};
    HalvorenEngine::CellListCache list;
    sing(&HalvorenEngineV3_1::buildCells, score, list);
    ASSERT_FALSE(list.frames().empty());
    HalvorenEngine::SynthFrameV4 record = list.frames()[0]->record();
    EXPECT_EQ(record.unvoiced, 1);
    EXPECT_EQ(record.jitter, nullptr);
    ASSERT_FALSE(record.peaks->empty());

    HalvorenEngine::OutputBuffer buffer{4096};
    HalvorenEngine::SampleOutWriter out(buffer, 512, 128);
    out.appendZeros(200);
    FrameSynth plain(44100.0f, 128, 0, 0, 0, 16000.0f, 20, 0, 0, 3000.0f, 1000.0f);
    HalvorenEngineV3_2::FrameSynth twin(44100.0f, 128, 0, 0, 0, 16000.0f, 20, 0, 0, 3000.0f, 1000.0f);
    plain.renderFrame(record, out);
    EXPECT_EQ(plain.drawnPeaks(), nullptr);  // "3.4": noise only
    record = list.frames()[0]->record();
    twin.renderFrame(record, out);
    ASSERT_NE(twin.drawnPeaks(), nullptr);  // "3.5": its peaks too, without a phase table
    EXPECT_FALSE(twin.drawnPeaks()->empty());
}

}  // namespace
