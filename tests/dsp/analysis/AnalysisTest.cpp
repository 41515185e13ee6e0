#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "VoicedSignal.h"
#include "dsp/EngineHprBuilder.h"

using namespace analysistest;
using Halvoren::FIFOSampleBufferTemplate;
using Halvoren::HPR_model;
using Halvoren::PeakList;

namespace {

double powerDb(const std::vector<double>& x, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t n = from; n < to; ++n)
        sum += x[n] * x[n];
    return 10.0 * std::log10(sum / double(to - from));
}

std::vector<double> residualOf(const HPR_model& model)
{
    std::vector<double> out(model.residual.numSamples());
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] = model.residual.ptrBegin()[n] / 32767.0;
    return out;
}

struct VoiceCase {
    const char* what;
    Voice voice;
    bool noisy;
    double levelAboveDb;  // harmonics louder than this must read their level within 1 dB
    double levelBelowHz;  // ... and lie below this frequency
};

TEST(HarmonicAnalysis, F0AndPeaksFollowTheHarmonics)
{
    Voice steady;
    Voice vibrato;
    vibrato.f0 = 125.0;
    vibrato.vibratoDepth = 0.02;
    // With noise at -50 dBFS RMS the noise reads -78.4 dB per bin through the
    // detection window (sum of squares of a Blackman window summing to 1:
    // 1.727 / 1201, -28.4 dB); a harmonic 30 dB above it keeps its level
    // within 1 dB. Above 8000 Hz a vibrato harmonic sweeps by more than
    // 137 Hz within the window (64 * 125 * 0.02 * 2 pi * 5 * 0.0272 s).
    const VoiceCase cases[] = {
        {"220 Hz", steady, false, -60.0, 22050.0},
        {"220 Hz with noise", steady, true, -48.0, 22050.0},
        {"125 Hz vibrato", vibrato, false, -60.0, 8000.0},
        {"125 Hz vibrato with noise", vibrato, true, -48.0, 8000.0},
    };
    for (const VoiceCase& c : cases) {
        const std::vector<double> clean = voicedSamples(c.voice);
        const auto pcm = toPcm(c.noisy ? plus(clean, noise(clean.size(), -50.0, 7)) : clean);
        HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
        HPR_model model;
        ASSERT_TRUE(builder.analyse(pcm, model)) << c.what;
        EXPECT_EQ(model.hop, 128);
        // 44100 samples: frames at 0, 128, ... 44160, (44099 / 128) + 2 = 346.
        ASSERT_EQ(model.peaks.size(), 346u) << c.what;
        ASSERT_EQ(model.residual.numSamples(), 44100u) << c.what;

        float previous = 0.0f;
        for (std::size_t i = 0; i < model.peaks.size(); ++i) {
            const std::int64_t centre = std::int64_t(i) * 128;
            PeakList again;
            const float f0 = builder.detector().detectFrame(pcm, centre, again, previous);
            previous = f0;
            // A frame whose window passes an end reads the f0 of the nearest
            // frame whose window fits.
            const bool inside = centre >= 600 && centre + 600 < 44100;
            const std::int64_t read = std::clamp<std::int64_t>(centre, 640, 43392);  // frames 5 .. 339
            const double trueF0 = c.voice.f0At(double(read) / kRate);
            if (inside) {
                ASSERT_GT(f0, 0.0f) << c.what << " frame " << i;
            }
            if (f0 <= 0.0f)
                continue;
            EXPECT_NEAR(f0 / trueF0, 1.0, 0.01) << c.what << " frame " << i;
            if (!inside)
                continue;
            const PeakList& peaks = model.peaks.frame(i);
            EXPECT_EQ(peaks.freqs, again.freqs) << c.what << " frame " << i;
            for (std::size_t k = 0; k < peaks.size(); ++k) {
                const double f = double(k + 1) * trueF0;
                const double level = envelopeDb(f);
                if (level < c.levelAboveDb || f > c.levelBelowHz || f > 21000.0)
                    continue;
                EXPECT_NEAR(peaks.freqs[k], f, 10.8) << c.what << " frame " << i << " harmonic " << k + 1;
                EXPECT_NEAR(peaks.mags[k], level, 1.0) << c.what << " frame " << i << " harmonic " << k + 1;
            }
        }
    }
}

TEST(HarmonicAnalysis, EveryFrameReadsF0WithRandomPhases)
{
    // Frames whose 1201-sample window fits (centres 600 .. length - 601)
    // search their own f0; the others take the f0 of the nearest of them.
    // 0.2 s: 8820 samples, 8819 / 128 + 2 = 70 frames; the windows of
    // frames 5 (centre 640) .. 64 (centre 8192 <= 8219) fit.
    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
    Halvoren::HarmonicsDetector& detector = builder.detector();
    for (double f0 : {80.0, 100.0, 140.0, 220.0, 523.25, 880.0, 995.0, 1000.0}) {
        for (unsigned seed : {1u, 2u, 3u, 4u}) {
            const Voice v{.f0 = f0, .seconds = 0.2, .phaseSeed = seed};
            const auto pcm = toPcm(voicedSamples(v));
            Halvoren::PeakTracks tracks;
            ASSERT_TRUE(detector.detect(pcm, 128, tracks));
            ASSERT_EQ(tracks.size(), 70u);
            std::vector<float> own(tracks.size(), 0.0f);
            PeakList again;
            for (std::size_t i = 5; i <= 64; ++i)
                own[i] = detector.detectFrame(pcm, std::int64_t(i) * 128, again);
            for (std::size_t i = 0; i < tracks.size(); ++i) {
                const float found = own[std::clamp<std::size_t>(i, 5, 64)];
                EXPECT_NEAR(found / f0, 1.0, 0.01) << f0 << " Hz seed " << seed << " frame " << i;
                detector.detectFrame(pcm, std::int64_t(i) * 128, again, found);
                EXPECT_EQ(tracks.frame(i).freqs, again.freqs) << f0 << " Hz seed " << seed << " frame " << i;
                EXPECT_FALSE(again.empty()) << f0 << " Hz seed " << seed << " frame " << i;
            }
            // Without a hint a frame whose window passes an end is unvoiced.
            EXPECT_EQ(detector.detectFrame(pcm, 0, again), 0.0f);
            EXPECT_EQ(detector.detectFrame(pcm, 8819 - 599, again), 0.0f);
        }
    }
}

TEST(HarmonicAnalysis, EveryVoiceReadsRightAtTheRatesServedAndOthersAreRefused)
{
    // 49 voices spaced evenly in pitch from 80 to 1000 Hz, under formants
    // near 1 kHz or with harmonics falling as 1 / k. At 4 kHz their periods
    // run from 50 samples down to 4, and the formants span 3 to 6 samples
    // per cycle: a correlation peak between two whole lags reads low there,
    // and a multiple of the period lying nearer a whole lag may win. The
    // longest period searched is 600 samples: 80 Hz at 48 kHz. Above that
    // rate an 80 Hz voice lies beyond it (1200 samples at 96 kHz, and a
    // 220 Hz voice 873 at 192 kHz), and the rate is refused.
    std::vector<double> voices;
    for (int i = 0; i <= 48; ++i)
        voices.push_back(80.0 * std::pow(1000.0 / 80.0, i / 48.0));
    const std::vector<double> few = {80.0, 125.0, 220.0, 523.25, 1000.0};
    struct RateCase {
        double rate;
        const std::vector<double>& voices;
        std::vector<unsigned> seeds;
    };
    const RateCase cases[] = {
        {4000.0, voices, {1, 2, 3}},  {6000.0, voices, {1, 2, 3}}, {8000.0, voices, {1, 2, 3}},
        {11025.0, voices, {1, 2, 3}}, {44100.0, few, {1}},         {48000.0, few, {1}},
        {96000.0, few, {1}},          {192000.0, few, {1}},
    };
    for (const RateCase& c : cases) {
        HalvorenEngineV3::EngineHprBuilder builder{static_cast<float>(c.rate)};
        Halvoren::HarmonicsDetector& detector = builder.detector();
        const bool served = c.rate <= 48000.0;
        for (double f0 : c.voices) {
            for (unsigned seed : c.seeds) {
                for (bool sawtooth : {false, true}) {
                    // 2400 samples: the windows of 10 frames fit, centres 640 .. 1792.
                    const Voice v{
                        .f0 = f0, .seconds = 2400.0 / c.rate, .phaseSeed = seed, .rate = c.rate, .sawtooth = sawtooth};
                    const auto pcm = toPcm(voicedSamples(v));
                    const std::string what = std::to_string(c.rate) + " Hz, " + std::to_string(f0) + " Hz voice, seed " +
                                             std::to_string(seed) + (sawtooth ? ", 1 / k" : ", formants");
                    PeakList peaks;
                    if (!served) {
                        Halvoren::PeakTracks tracks;
                        EXPECT_FALSE(detector.detect(pcm, 128, tracks)) << what;
                        EXPECT_TRUE(tracks.empty());
                        EXPECT_EQ(detector.detectFrame(pcm, std::int64_t(pcm.numSamples() / 2), peaks), 0.0f);
                        continue;
                    }
                    // Every frame whose 1201-sample window fits is voiced and right.
                    for (std::int64_t centre = 640; centre + 600 < std::int64_t(pcm.numSamples()); centre += 128)
                        EXPECT_NEAR(detector.detectFrame(pcm, centre, peaks) / f0, 1.0, 0.01)
                            << what << ", frame at " << centre;
                }
            }
        }
    }
}

TEST(HarmonicAnalysis, NoiseAloneGivesNoHarmonics)
{
    Voice v;
    v.seconds = 0.3;
    v.silentTail = 0.5;
    const std::vector<double> clean = voicedSamples(v);
    const auto pcm = toPcm(plus(clean, noise(clean.size(), -50.0, 11)));
    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
    HPR_model model;
    ASSERT_TRUE(builder.analyse(pcm, model));
    // The noise alone runs from sample 13230; frames whose window lies in it
    // start at centre 13830.
    std::size_t checked = 0;
    for (std::size_t i = 0; i < model.peaks.size(); ++i) {
        const std::int64_t centre = std::int64_t(i) * 128;
        if (centre - 600 < 13230 || centre + 600 >= std::int64_t(clean.size()))
            continue;
        EXPECT_TRUE(model.peaks.frame(i).empty()) << "frame " << i;
        ++checked;
    }
    EXPECT_GT(checked, 150u);

    // Digital silence and a frame far outside the recording are unvoiced too.
    const auto silence = toPcm(std::vector<double>(4410, 0.0));
    PeakList out;
    EXPECT_EQ(builder.detector().detectFrame(silence, 2205, out), 0.0f);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(builder.detector().detectFrame(pcm, -100000, out), 0.0f);
    EXPECT_EQ(builder.detector().detectFrame(pcm, std::int64_t(1) << 40, out), 0.0f);
}

TEST(HarmonicAnalysis, ResidualIsTheRecordingLessItsHarmonics)
{
    Voice v;
    const std::vector<double> clean = voicedSamples(v);
    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);

    HPR_model model;
    ASSERT_TRUE(builder.analyse(toPcm(clean), model));
    const double signal = powerDb(clean, 0, clean.size());
    const double residual = powerDb(residualOf(model), 0, clean.size());
    EXPECT_LT(residual, signal - 30.0) << "signal " << signal << " residual " << residual;

    // With noise the residual keeps the noise, less what the harmonic fits
    // take of it: each of the ~95 harmonics is fitted over the 27 ms
    // detection window and removed over the middle 5.8 ms, which takes
    // about 2.8 dB of white noise.
    const std::vector<double> n = noise(clean.size(), -50.0, 3);
    ASSERT_TRUE(builder.analyse(toPcm(plus(clean, n)), model));
    const double noiseDb = powerDb(n, 4096, clean.size() - 4096);
    const double noisyResidual = powerDb(residualOf(model), 4096, clean.size() - 4096);
    EXPECT_NEAR(noisyResidual, noiseDb - 2.8, 1.0) << "noise " << noiseDb << " residual " << noisyResidual;
}

TEST(HarmonicAnalysis, BadInputIsRefusedOrEmpty)
{
    HPR_model model;
    const auto pcm = toPcm(voicedSamples(Voice{.seconds = 0.05}));
    // Below 4 kHz a 1000 Hz period is under 4 samples; above 48 kHz an 80 Hz
    // one passes the longest searched (600 samples). Rates far beyond any
    // integer are refused before they are converted.
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(), 3999.0f, 48001.0f, 600000.0f,
                       1e30f, inf, -inf}) {
        HalvorenEngineV3::EngineHprBuilder builder(rate);
        model.peaks.appendFrame().append(1, 2, 3);
        EXPECT_FALSE(builder.analyse(pcm, model)) << rate;
        EXPECT_TRUE(model.peaks.empty()) << rate;
        EXPECT_EQ(model.residual.numSamples(), 0u) << rate;
    }

    HalvorenEngineV3::EngineHprBuilder builder(44100.0f);
    FIFOSampleBufferTemplate<short> empty;
    EXPECT_TRUE(builder.analyse(empty, model));
    EXPECT_TRUE(model.peaks.empty());
    EXPECT_EQ(model.residual.numSamples(), 0u);
    EXPECT_EQ(model.hop, 128);

    // Settings that make no sense still end: no search width, no refinement,
    // no harmonics.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    builder.detector().configure(-5, nan, nan, nan, nan, nan);
    EXPECT_TRUE(builder.analyse(pcm, model));
    for (std::size_t i = 0; i < model.peaks.size(); ++i)
        EXPECT_TRUE(model.peaks.frame(i).empty()) << i;
    builder.detector().configure(100000, -100.0f, -1.0f, -1.0f, 1e30f, -1.0f);
    EXPECT_TRUE(builder.analyse(pcm, model));
}

}  // namespace
