// Rendering single cells of the first two generations: levels, the tilt of
// a moved pitch, the second generation's residual and boost, phases across
// a gap, a steady partial in the output, and residual frames met again.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/HarmonicPeakAnalyser.h"
#include "engine/v1/CellSynthV1.h"
#include "engine/v2/CellSynthV2.h"
#include "support/engine/SinusoidFit.h"

namespace {

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;
using HalvorenEngineV1::Cell;

constexpr float kRate = 44100.0f;

// Peaks at f0, 2 f0, ... 10 f0, the first at levelDb and the rest 40 dB below.
Halvoren::PeakList comb(float f0, float levelDb = -20.0f)
{
    Halvoren::PeakList peaks;
    for (int k = 1; k <= 10; ++k)
        peaks.append(f0 * float(k), k == 1 ? levelDb : levelDb - 40.0f, 0.0f);
    return peaks;
}

// A residual of n samples of a square wave of amplitude a.
Halvoren::FIFOSampleBufferTemplate<short> squareResidual(int n, short a)
{
    Halvoren::FIFOSampleBufferTemplate<short> pcm(4096);
    std::vector<short> s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        s[std::size_t(i)] = (i / 7) % 2 == 0 ? a : short(-a);
    pcm.putSamples(s.data(), static_cast<unsigned>(n));
    return pcm;
}

struct Output {
    Output(int frameSize, int hop, int frames) : writer(buffer, frameSize, hop) { writer.appendZeros(frames); }
    std::vector<short> samples() const { return std::vector<short>(writer.data(), writer.data() + writer.length()); }
    OutputBuffer buffer{4096};
    SampleOutWriter writer;
};

const HalvorenEngineV2::BankSettings kBank = {-26.3583f, -0.000190626f, 69.9409f, 16000.0f, 20, 6.0f, 3000.0f, 1000.0f};

TEST(CellSynth, LevelScalesTheFrame)
{
    const auto residual = squareResidual(8192, 1000);
    struct Case {
        float level;
        double ratio;  // output over the output at level 0
    };
    const Case cases[] = {{-1.0f, 0.0}, {0.0f, 1.0}, {0.5f, 2.0}, {-0.5f, 0.5}, {-3.0f, 0.0}};
    auto render = [&](float level, bool second) {
        Output out(second ? 512 : 4096, 256, 20);
        Cell cell;
        cell.residual = &residual;
        cell.position = 4096;
        cell.number = 10;
        cell.level = level;
        cell.pitch = cell.sourcePitch = 220.0f;
        if (second) {
            HalvorenEngineV2::CellSynthV2 synth(kRate, 256, kBank);
            synth.synthCell(cell, out.writer);
        } else {
            HalvorenEngineV1::CellSynthV1 synth(kRate, 256);
            synth.synthCell(cell, out.writer);
        }
        out.writer.finish();
        double energy = 0.0;
        for (short s : out.samples())
            energy += double(s) * s;
        return std::sqrt(energy);
    };
    for (bool second : {false, true}) {
        const double unit = render(0.0f, second);
        ASSERT_GT(unit, 100.0);
        for (const Case& c : cases)
            EXPECT_NEAR(render(c.level, second) / unit, c.ratio, 0.01) << "generation " << (second ? 2 : 1)
                                                                       << " level " << c.level;
    }
}

TEST(CellSynthV1, TiltFollowsThePitchRatioClampedAtTwo)
{
    struct Case {
        float ratio;
        std::size_t peak;  // index of the moved peak (input peaks at 500 Hz steps)
        float freq;
        float tiltDb;  // a1 (exp(a2 f / min(r, 2)) - exp(a2 f)), a1 69.9409, a2 -0.000190626
    };
    const Case cases[] = {
        {2.0f, 0, 1000.0f, 5.780386f},  // 69.9409 * (exp(-0.095313) - exp(-0.190626))
        {2.0f, 2, 3000.0f, 13.068042f},
        {3.0f, 0, 1500.0f, 8.076220f},  // clamped to 2: 69.9409 * (exp(-0.142970) - exp(-0.285939))
        {3.0f, 1, 3000.0f, 13.068042f},
        {1.0f, 3, 2000.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "r " << c.ratio << " at " << c.freq);
        Cell cell;
        cell.peaks = comb(500.0f);
        cell.pitch = 500.0f * c.ratio;
        HalvorenEngineV1::CellSynthV1 synth(kRate, 256);
        Halvoren::PeakList input = cell.peaks;
        synth.analyser().setPeaksSpline(cell.peaks);
        Halvoren::PeakList got;
        ASSERT_TRUE(synth.buildFramePeaks(cell, got));
        Halvoren::HarmonicPeakAnalyser plain(kRate);
        plain.setPeaksSpline(input);
        Halvoren::PeakList untilted;
        plain.sampleHarmonicsSpline(c.ratio, untilted);
        ASSERT_GT(got.size(), c.peak);
        EXPECT_FLOAT_EQ(got.freqs[c.peak], c.freq);
        EXPECT_NEAR(got.mags[c.peak] - untilted.mags[c.peak], c.tiltDb, 1e-3);
    }
}

TEST(CellSynth, PitchRatioThatIsNoNumberOrAPitchBelowTenHertzGivesASilentFrame)
{
    for (float pitch : {0.0f, 9.99f, -220.0f, NAN, INFINITY}) {
        const auto residual = squareResidual(8192, 1000);
        Cell cell;
        cell.residual = &residual;
        cell.position = 4096;
        cell.peaks = comb(220.0f);
        cell.pitch = pitch;
        cell.sourcePitch = 220.0f;
        cell.number = 4;
        Output one(4096, 256, 10);
        HalvorenEngineV1::CellSynthV1(kRate, 256).synthCell(cell, one.writer);
        Output two(512, 256, 10);
        cell.peaks = comb(220.0f);
        HalvorenEngineV2::CellSynthV2(kRate, 256, kBank).synthCell(cell, two.writer);
        one.writer.finish();
        two.writer.finish();
        for (short s : one.samples())
            ASSERT_EQ(s, 0) << "generation 1, pitch " << pitch;
        for (short s : two.samples())
            ASSERT_EQ(s, 0) << "generation 2, pitch " << pitch;
    }
}

// Levels of a second-generation cell against the plain warped sampling of
// its envelope; the spectrum box's magnitudes start at 0 dB.
struct V2Levels {
    Halvoren::PeakList got;
    Halvoren::PeakList plain;
    std::vector<float> boxMags;
};

V2Levels v2Levels(float sourcePitch, float pitch, float boost, HalvorenEngineV2::BankSettings bank = kBank)
{
    Cell cell;
    cell.peaks = comb(sourcePitch);
    cell.sourcePitch = sourcePitch;
    cell.pitch = pitch;
    cell.boost = boost;
    Halvoren::PeakList input = cell.peaks;
    HalvorenEngineV2::CellSynthV2 synth(kRate, 256, bank);
    synth.analyser().setPeaksSpline(cell.peaks);
    std::fill(synth.box().mags.begin(), synth.box().mags.end(), 0.0f);
    V2Levels levels;
    EXPECT_TRUE(synth.buildFramePeaks(cell, levels.got));
    Halvoren::HarmonicPeakAnalyser plain(kRate);
    plain.setPeaksSpline(input);
    plain.sampleHarmonicsSplineWarped(pitch, levels.plain);
    levels.boxMags.assign(synth.box().mags.begin(), synth.box().mags.begin() + 257);
    return levels;
}

TEST(CellSynthV2, UnchangedAtTheSourcePitchWithoutBoost)
{
    const V2Levels l = v2Levels(500.0f, 500.0f, 0.0f);
    ASSERT_FALSE(l.got.empty());
    EXPECT_EQ(l.got.mags, l.plain.mags);
    EXPECT_EQ(l.got.freqs, l.plain.freqs);
    for (float m : l.boxMags)
        ASSERT_EQ(m, 0.0f);
}

TEST(CellSynthV2, OctaveDownLowersResidualAndSteepensTiltAtKeptLevel)
{
    const V2Levels l = v2Levels(500.0f, 250.0f, 0.0f);
    for (float m : l.boxMags)
        ASSERT_NEAR(m, -12.0412f, 1e-4);  // 40 log10(0.5)
    ASSERT_EQ(l.got.size(), l.plain.size());
    ASSERT_GT(l.got.size(), 12u);
    double mean = 0.0;
    for (std::size_t i = 0; i < l.got.size(); ++i)
        mean += l.got.mags[i] - l.plain.mags[i];
    EXPECT_NEAR(mean / double(l.got.size()), 0.0, 1e-3);
    // Harmonics 4 (1000 Hz) and 12 (3000 Hz) of 250 Hz: the rate a2 * 4,
    // 69.9409 (exp(4 a2 f) - exp(a2 f)): -25.174861 and -32.378836 dB.
    ASSERT_FLOAT_EQ(l.got.freqs[3], 1000.0f);
    ASSERT_FLOAT_EQ(l.got.freqs[11], 3000.0f);
    const float d1000 = l.got.mags[3] - l.plain.mags[3];
    const float d3000 = l.got.mags[11] - l.plain.mags[11];
    EXPECT_NEAR(d3000 - d1000, -7.203975f, 1e-3);
}

TEST(CellSynthV2, FormantBoostByPowerWeight)
{
    struct Case {
        float weight;
        float width;
        float db3000, db3500, db4000;
    };
    const Case cases[] = {
        // 6 exp(-(f - 3000)^2 / (2 * 500^2)): exp(0), exp(-0.5), exp(-2)
        {1.0f, 1000.0f, 6.0f, 3.639184f, 0.8120117f},
        {0.5f, 1000.0f, 3.0f, 1.819592f, 0.4060058f},
        {0.0f, 1000.0f, 0.0f, 0.0f, 0.0f},
        {1.0f, 0.0f, 0.0f, 0.0f, 0.0f},    // no width, no boost
        {1.0f, -100.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "k " << c.weight << " width " << c.width);
        HalvorenEngineV2::BankSettings bank = kBank;
        bank.boostWidth = c.width;
        const V2Levels l = v2Levels(500.0f, 500.0f, c.weight, bank);
        ASSERT_GT(l.got.size(), 8u);
        ASSERT_FLOAT_EQ(l.got.freqs[5], 3000.0f);
        EXPECT_NEAR(l.got.mags[5] - l.plain.mags[5], c.db3000, 1e-4);
        EXPECT_NEAR(l.got.mags[6] - l.plain.mags[6], c.db3500, 1e-4);
        EXPECT_NEAR(l.got.mags[7] - l.plain.mags[7], c.db4000, 1e-4);
    }
}

// The samples of frame k's span, k * hop .. k * hop + 2 hop.
std::vector<short> frameSpan(const std::vector<short>& x, int k, int hop)
{
    return std::vector<short>(x.begin() + k * hop, x.begin() + (k + 2) * hop);
}

TEST(CellSynthV1, NumberGapRestartsThePhases)
{
    // Cells 10 and 11, then 12 (continuing) or 20 (after a gap); each
    // compared with the same cell rendered by a fresh synthesis.
    auto render = [](const std::vector<int>& numbers) {
        Output out(4096, 256, 30);
        HalvorenEngineV1::CellSynthV1 synth(kRate, 256);
        for (int n : numbers) {
            Cell cell;
            cell.peaks = comb(300.0f);
            cell.pitch = 310.0f;
            cell.number = n;
            synth.synthCell(cell, out.writer);
        }
        out.writer.finish();
        return out.samples();
    };
    const std::vector<short> gap = render({10, 11, 20});
    const std::vector<short> continued = render({10, 11, 12});
    EXPECT_EQ(frameSpan(gap, 20, 256), frameSpan(render({20}), 20, 256));
    const std::vector<short> fresh12 = render({12});
    // Frame 12's second half lies past frame 11's reach.
    const std::vector<short> a(continued.begin() + 13 * 256, continued.begin() + 14 * 256);
    const std::vector<short> b(fresh12.begin() + 13 * 256, fresh12.begin() + 14 * 256);
    EXPECT_NE(a, b);
}

TEST(CellSynth, UnvoicedCellGivesItsResidualAlone)
{
    // Linear in the parts: residual alone plus peaks alone is the whole
    // (within the 16-bit truncation of each part and, in the second
    // generation, the float round trip of the residual through dB).
    const auto residual = squareResidual(8192, 800);
    auto render = [&](bool withResidual, bool withPeaks, bool second) {
        Output out(second ? 512 : 4096, 256, 20);
        Cell cell;
        cell.residual = withResidual ? &residual : nullptr;
        cell.position = 4096;
        if (withPeaks)
            cell.peaks = comb(220.0f);
        cell.pitch = cell.sourcePitch = 220.0f;
        cell.number = 8;
        if (second)
            HalvorenEngineV2::CellSynthV2(kRate, 256, kBank).synthCell(cell, out.writer);
        else
            HalvorenEngineV1::CellSynthV1(kRate, 256).synthCell(cell, out.writer);
        out.writer.finish();
        return out.samples();
    };
    for (bool second : {false, true}) {
        const auto whole = render(true, true, second);
        const auto residualOnly = render(true, false, second);
        const auto peaksOnly = render(false, true, second);
        double residualEnergy = 0.0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            ASSERT_NEAR(whole[i], residualOnly[i] + peaksOnly[i], 2 + 0.002 * std::abs(whole[i])) << "generation " << (second ? 2 : 1) << " at " << i;
            residualEnergy += double(residualOnly[i]) * residualOnly[i];
        }
        EXPECT_GT(residualEnergy, 0.0);
    }
}

TEST(CellSynth, SteadyPartialKeepsItsFrequency)
{
    for (bool second : {false, true}) {
        const int frameSize = second ? 512 : 4096;
        Output out(frameSize, 256, 400);
        HalvorenEngineV1::CellSynthV1 one(kRate, 256);
        HalvorenEngineV2::CellSynthV2 two(kRate, 256, kBank);
        for (int n = 0; n < 400; ++n) {
            Cell cell;
            cell.peaks = comb(440.0f);
            cell.pitch = cell.sourcePitch = 440.0f;
            cell.number = n;
            cell.noise = false;
            if (second)
                two.synthCell(cell, out.writer);
            else
                one.synthCell(cell, out.writer);
        }
        out.writer.finish();
        const auto m = enginetest::measureSinusoid(out.samples(), 20 * 256, 380 * 256, 440.0, kRate);
        EXPECT_NEAR(m.frequency, 440.0, 0.88) << "frame size " << frameSize;  // 0.2 %
    }
}

}  // namespace

TEST(CellSynthV2, ResidualFrameMetAgainRendersFromItsOwnSamples)
{
    // A voiced residual alone (no peaks) re-drawn with its own phases: the
    // output depends on the residual's samples only. A synthesiser that has
    // met other frames must render each one as a fresh one does.
    auto a = squareResidual(8192, 1000);
    const auto b = squareResidual(8192, 300);
    auto render = [](HalvorenEngineV2::CellSynthV2& synth, const Halvoren::FIFOSampleBufferTemplate<short>& residual,
                     int position) {
        Output out(512, 256, 20);
        Cell cell;
        cell.residual = &residual;
        cell.position = position;
        cell.pitch = cell.sourcePitch = 220.0f;
        cell.number = 8;
        synth.synthCell(cell, out.writer);
        out.writer.finish();
        return out.samples();
    };
    auto fresh = [&](const Halvoren::FIFOSampleBufferTemplate<short>& residual, int position) {
        HalvorenEngineV2::CellSynthV2 synth(kRate, 256, kBank);
        return render(synth, residual, position);
    };
    const auto freshA = fresh(a, 4096);
    const auto freshB = fresh(b, 4096);
    const auto freshALater = fresh(a, 4352);  // 256 samples on: another part of the square wave
    ASSERT_NE(freshA, freshB);
    ASSERT_NE(freshA, freshALater);

    HalvorenEngineV2::CellSynthV2 synth(kRate, 256, kBank);
    EXPECT_EQ(render(synth, a, 4096), freshA);
    EXPECT_EQ(render(synth, a, 4096), freshA) << "the same frame again";
    EXPECT_EQ(render(synth, b, 4096), freshB) << "another residual at the same sample";
    EXPECT_EQ(render(synth, a, 4352), freshALater) << "the same residual at another sample";
    // The job frees its sources; a new one may take the same address.
    synth.forgetResiduals();
    a.clear();
    a.putSamples(b);
    EXPECT_EQ(render(synth, a, 4096), freshB) << "new samples at a freed residual's address";
}
