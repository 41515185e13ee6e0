#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "dsp/SampleOutWriter.h"
#include "engine/v6/FrameSynth.h"
#include "support/engine/SinusoidFit.h"

using Halvoren::SynthFrameV6;
using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;
using HalvorenEngineV6::FrameSynth;

namespace {
constexpr double kRecordRate = 44100.0;
constexpr double kF0 = 220.0;
// Harmonic levels; the first two lie 6 dB apart.
const std::vector<float> kLevelsDb = {-12.0f, -18.0f, -19.0f, -20.0f};
const float kRecordEdges[] = {1000, 4000, 22050};

// The frequency of the strongest component within 2 % of nominal, by a
// coarse then a fine scan of the windowed spectrum.
double peakFrequency(const std::vector<short>& x, int from, int to, double nominal)
{
    double best = nominal;
    for (double stepHz : {0.5, 0.02}) {
        const double lo = stepHz == 0.5 ? nominal * 0.98 : best - 0.5, hi = stepHz == 0.5 ? nominal * 1.02 : best + 0.5;
        double bestLevel = -1.0;
        for (double f = lo; f <= hi; f += stepHz) {
            const double l = enginetest::hannLevel(x, from, to, f, kRecordRate);
            if (l > bestLevel) {
                bestLevel = l;
                best = f;
            }
        }
    }
    return best;
}

// Least-squares amplitudes of sinusoids at freqs over x[from..to).
std::vector<double> fitAmplitudes(const std::vector<short>& x, int from, int to, const std::vector<double>& freqs)
{
    const int m = 2 * static_cast<int>(freqs.size());
    std::vector<double> a(m * m, 0.0), b(m, 0.0), basis(m);
    for (int n = from; n < to; ++n) {
        for (std::size_t k = 0; k < freqs.size(); ++k) {
            const double ph = 2.0 * std::numbers::pi * freqs[k] * n / kRecordRate;
            basis[2 * k] = std::cos(ph);
            basis[2 * k + 1] = std::sin(ph);
        }
        for (int i = 0; i < m; ++i) {
            b[i] += basis[i] * x[n];
            for (int j = 0; j < m; ++j)
                a[i * m + j] += basis[i] * basis[j];
        }
    }
    // Gaussian elimination with partial pivoting.
    for (int c = 0; c < m; ++c) {
        int p = c;
        for (int r = c + 1; r < m; ++r)
            if (std::abs(a[r * m + c]) > std::abs(a[p * m + c]))
                p = r;
        for (int j = 0; j < m; ++j)
            std::swap(a[c * m + j], a[p * m + j]);
        std::swap(b[c], b[p]);
        for (int r = c + 1; r < m; ++r) {
            const double f = a[r * m + c] / a[c * m + c];
            for (int j = c; j < m; ++j)
                a[r * m + j] -= f * a[c * m + j];
            b[r] -= f * b[c];
        }
    }
    std::vector<double> s(m);
    for (int r = m - 1; r >= 0; --r) {
        double v = b[r];
        for (int j = r + 1; j < m; ++j)
            v -= a[r * m + j] * s[j];
        s[r] = v / a[r * m + r];
    }
    std::vector<double> amp(freqs.size());
    for (std::size_t k = 0; k < freqs.size(); ++k)
        amp[k] = std::hypot(s[2 * k], s[2 * k + 1]);
    return amp;
}

// One second of one voiced record, harmonics only.
std::vector<short> renderSecond(int hop)
{
    FrameSynth synth(static_cast<float>(kRecordRate), hop, 0, 0.0f, 0.0f, 0.0f, 0.5f, 0.8f, 0.0f,
                     static_cast<int>(std::size(kRecordEdges)), kRecordEdges, 40);
    const int frames = static_cast<int>(kRecordRate) / hop;
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, FrameSynth::kFrameSize, hop);
    EXPECT_TRUE(writer.appendZeros(frames));
    SynthFrameV6 frame;
    for (std::size_t k = 0; k < kLevelsDb.size(); ++k) {
        frame.peaks.freqs.push_back(static_cast<float>(kF0 * (k + 1)));
        frame.peaks.mags.push_back(kLevelsDb[k]);
        frame.peaks.phases.push_back(0.0f);
    }
    frame.glottalShape = 80;
    frame.modFloor = 1.0f;
    for (int i = 0; i < frames; ++i) {
        frame.index = i;
        synth.renderFrame(frame, writer);
    }
    writer.finish();
    return std::vector<short>(writer.data(), writer.data() + writer.length());
}
}  // namespace

TEST(FrameSynthV6, OneSecondOfAVoicedRecordKeepsItsHarmonicsFrequenciesAndLevels)
{
    for (int hop : {128, 256}) {
        SCOPED_TRACE(hop);
        const std::vector<short> out = renderSecond(hop);
        // The middle half second, clear of the first and last frames.
        const int from = 11025, to = 33075;
        std::vector<double> freqs;
        for (std::size_t k = 0; k < kLevelsDb.size(); ++k) {
            const double nominal = kF0 * (k + 1);
            const double f = peakFrequency(out, from, to, nominal);
            EXPECT_NEAR(f / nominal, 1.0, 0.002) << "harmonic " << k + 1 << " at " << f << " Hz";
            freqs.push_back(f);
        }
        // Levels fitted over every two hops.
        std::vector<double> lo(freqs.size(), 1e9), hi(freqs.size(), -1e9), mean(freqs.size(), 0.0);
        int fits = 0;
        for (int s = from; s + 2 * hop <= to; s += hop, ++fits) {
            const std::vector<double> amp = fitAmplitudes(out, s, s + 2 * hop, freqs);
            for (std::size_t k = 0; k < amp.size(); ++k) {
                const double db = 20.0 * std::log10(amp[k]);
                lo[k] = std::min(lo[k], db);
                hi[k] = std::max(hi[k], db);
                mean[k] += db;
            }
        }
        for (std::size_t k = 0; k < freqs.size(); ++k) {
            mean[k] /= fits;
            EXPECT_LT(hi[k] - lo[k], 0.5) << "harmonic " << k + 1 << " at " << mean[k] << " dB";
        }
        // At hop 256 the overlapping frames move each harmonic's level by
        // a few tenths of a dB, not alike (about 6.24 dB apart here).
        EXPECT_NEAR(mean[0] - mean[1], 6.0, 0.3);
        EXPECT_GT(mean[0] - 20.0 * std::log10(32767.0), -40.0);
    }
}
