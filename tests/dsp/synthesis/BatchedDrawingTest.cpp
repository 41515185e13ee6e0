// The batched sinusoid drawing against the order its sums are kept in, bit
// for bit, and the noise rendering against a scalar copy of the routine it
// replaced: every bin within 1e-6 of the largest.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/FreqBox.h"
#include "dsp/SinusoidDrawing.h"
#include "dsp/SinusoidLobeTable.h"
#include "platform/Rand.h"

using namespace Halvoren;

namespace {

// The order the drawing's sums are kept in: sinusoids 64 at a time; within
// a batch, those whose lobes fold at DC or N/2 one after the other as they
// come, then every other one's tap -4, then every tap -3, and so on.
void tapByTapAddSinusoids(const float* magDb, const float* freqHz, const float* phase, int count, float* re,
                          float* im, int N, float sampleRate)
{
    const int half = N / 2;
    const SinusoidLobeTable& lobe = sinusoidLobeTable();
    // Lobes starting below bin 5 fold at DC, those within 4 bins of N/2 at
    // N/2; nothing is drawn at 0 Hz, below it, for NaN or within a bin of N/2.
    const float foldsAtHalf = static_cast<float>(half) - 4.0f;
    for (int first = 0; first < count; first += 64) {
        std::vector<int> placed;
        for (int i = first; i < std::min(count, first + 64); ++i) {
            const float loc = static_cast<float>(N) * freqHz[i] / sampleRate;
            const bool nearDc = freqHz[i] != 0.0f && loc > 0.0f && loc < 5.0f;
            const bool inside = freqHz[i] != 0.0f && loc >= 5.0f && loc < foldsAtHalf;
            const bool nearHalf = freqHz[i] != 0.0f && loc >= foldsAtHalf && loc < foldsAtHalf + 3.0f;
            if (inside)
                placed.push_back(i);
            if (!(nearDc || nearHalf))
                continue;
            const int bin = static_cast<int>(std::floor(loc + 0.5f));
            const float rem = static_cast<float>(bin) - loc;
            const float amp = fasterPow2(kCoarseLog2Of10 * magDb[i] / 20.0f);
            const float c = drawingSinWrapped(phase[i] + kHalfPi);
            const float s = drawingSinWrapped(phase[i]);
            for (int j = -4; j <= 4; ++j) {
                const float w = lobe[500 + static_cast<int>(std::trunc(100.0f * (static_cast<float>(j) + rem)))];
                const float ar = amp * w * c;
                const float ai = amp * w * s;
                // A tap below bin 0 or above N/2 lands conjugated on its
                // mirror bin; one on bin 0 or N/2 adds its real part twice.
                const int b = bin + j;
                const bool mirrored = (nearDc && b < 0) || (nearHalf && b > half);
                const int at = !mirrored ? b : (b < 0 ? -b : N - b);
                if ((nearDc && b == 0) || (nearHalf && b == half)) {
                    re[at] += 2.0f * ar;
                } else {
                    re[at] += ar;
                    im[at] += mirrored ? -ai : ai;
                }
            }
        }
        for (int j = -4; j <= 4; ++j) {
            for (int i : placed) {
                const float loc = static_cast<float>(N) * freqHz[i] / sampleRate;
                const int bin = static_cast<int>(std::floor(loc + 0.5f));
                const float rem = static_cast<float>(bin) - loc;
                const float w = lobe[500 + static_cast<int>(std::trunc(100.0f * (static_cast<float>(j) + rem)))];
                const float aw = fasterPow2(kCoarseLog2Of10 * magDb[i] / 20.0f) * w;
                re[bin + j] += aw * drawingSinWrapped(phase[i] + kHalfPi);
                im[bin + j] += aw * drawingSinWrapped(phase[i]);
            }
        }
    }
    for (int k = 1; k < half; ++k) {
        re[N - k] = re[k];
        im[N - k] = -im[k];
    }
}

// The noise rendering as it was: per bin a draw, a warped magnitude and a set bin.
void scalarNoiseWarped(const std::vector<float>& mags, float ratio, float sampleRate, int n, std::vector<float>& re,
                       std::vector<float>& im)
{
    ratio = formantRatioOrOne(ratio);
    const int half = n / 2;
    float limitBin = std::trunc(kFormantWarpLimitHz / (sampleRate / static_cast<float>(n)));
    if (!(limitBin > 0.0f))
        limitBin = 0.0f;
    const int limit = static_cast<int>(std::min(limitBin, static_cast<float>(half)));
    const float g1 = 1.0f / ratio;
    const float rise = limitBin > 0.0f && std::isfinite(limitBin) ? (1.0f - g1) / limitBin : 0.0f;
    for (int k = 0; k <= half; ++k) {
        float mag = mags[k];
        if (k >= 1 && k < limit) {
            const float g = g1 + static_cast<float>(k - 1) * rise;
            const float p = std::clamp(static_cast<float>(k) * g, 0.0f, static_cast<float>(half));
            const int i = static_cast<int>(std::floor(p));
            const float t = p - static_cast<float>(i);
            mag = mags[i] * (1.0f - t) + mags[i + 1] * t;
        }
        const float phase = static_cast<float>(hvRand() % 32767) * 0.00314f;
        const float a = fasterPow2(mag * 0.05f * kCoarseLog2Of10);
        re[k] = a * parabolicSinWrapped(phase + kHalfPi);
        im[k] = a * parabolicSinWrapped(phase);
        if (k > 0 && k < half) {
            re[n - k] = re[k];
            im[n - k] = -im[k];
        }
    }
}

// Largest difference over the largest magnitude of the expected bins.
double relativeError(const std::vector<float>& re, const std::vector<float>& im, const std::vector<float>& wantRe,
                     const std::vector<float>& wantIm)
{
    double largest = 0.0, worst = 0.0;
    for (std::size_t k = 0; k < re.size(); ++k) {
        largest = std::max({largest, std::fabs(double(wantRe[k])), std::fabs(double(wantIm[k]))});
        worst = std::max({worst, std::fabs(double(re[k]) - wantRe[k]), std::fabs(double(im[k]) - wantIm[k])});
    }
    return largest > 0.0 ? worst / largest : worst;
}

struct DrawCase {
    const char* name;
    int N;
    float f0;        // harmonics of f0 ...
    int count;       // ... this many
    float phaseStep; // phase of harmonic k: k * phaseStep
    int stride;      // harmonic k is drawn as the (k * stride % count)-th
};

TEST(BatchedDrawing, SinusoidsAddUpAsTapByTapDrawingAddsThem)
{
    const DrawCase cases[] = {
        {"100 harmonics of 200 Hz", 512, 200.0f, 100, 0.7f, 1},
        {"near DC and N/2 folds", 512, 40.0f, 560, 1.3f, 1},  // 40 Hz: loc 0.46; the top ones fold at N/2
        {"more than a batch, large phases", 512, 90.0f, 250, 37.0f, 1},
        {"two or three to a bin", 512, 33.0f, 300, 0.9f, 1},  // 33 Hz: 0.38 bins apart
        {"out of order", 512, 150.0f, 140, 1.1f, 37},
        {"smallest frame", 18, 1200.0f, 20, 0.4f, 1},
        {"4096 points", 4096, 110.0f, 200, 2.1f, 1},
    };
    for (const DrawCase& c : cases) {
        std::vector<float> mags, freqs, phases;
        for (int i = 1; i <= c.count; ++i) {
            const int k = 1 + (i * c.stride) % c.count;
            freqs.push_back(k % 17 == 0 ? 0.0f : c.f0 * k);  // a few partials at 0 Hz are skipped
            mags.push_back(-6.0f - 0.37f * k + 3.0f * std::sin(0.3f * k));
            phases.push_back(c.phaseStep * k);
        }
        freqs.push_back(-300.0f);  // negative: skipped
        mags.push_back(0.0f);
        phases.push_back(0.0f);
        const int n = static_cast<int>(freqs.size());
        std::vector<float> re(c.N, 0.0f), im(c.N, 0.0f), wantRe(c.N, 0.0f), wantIm(c.N, 0.0f);
        addSinusoidsToSpectrum(mags.data(), freqs.data(), phases.data(), n, re.data(), im.data(), c.N, 44100.0f);
        tapByTapAddSinusoids(mags.data(), freqs.data(), phases.data(), n, wantRe.data(), wantIm.data(), c.N,
                             44100.0f);
        for (int k = 0; k < c.N; ++k) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(re[k]), std::bit_cast<std::uint32_t>(wantRe[k]))
                << c.name << " bin " << k;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(im[k]), std::bit_cast<std::uint32_t>(wantIm[k]))
                << c.name << " bin " << k;
        }
    }
}

TEST(BatchedDrawing, NoiseMatchesTheScalarRenderingAndItsDraws)
{
    struct Case {
        float ratio;
        float rate;
    } cases[] = {{1.0f, 44100.0f}, {0.85f, 44100.0f}, {1.25f, 44100.0f}, {1.25f, 22050.0f}, {0.0f, 44100.0f}};
    for (const Case& c : cases) {
        FreqMagAndPhaseBox box(512);
        std::vector<float> mags(257);
        for (int k = 0; k <= 256; ++k)
            mags[k] = -20.0f - 0.2f * k + 6.0f * std::sin(0.05f * k);
        std::copy(mags.begin(), mags.end(), box.mags.begin());
        std::vector<float> wantRe(512, 0.0f), wantIm(512, 0.0f);
        hvSrand(7);
        scalarNoiseWarped(mags, c.ratio, c.rate, 512, wantRe, wantIm);
        const int next = hvRand();
        hvSrand(7);
        box.addSinusoidsRandomPhaseWarped(c.ratio, c.rate);
        const std::string where = "ratio " + std::to_string(c.ratio) + " at " + std::to_string(c.rate);
        EXPECT_LE(relativeError(box.re, box.im, wantRe, wantIm), 1e-6) << where;
        // The same number of draws was taken.
        EXPECT_EQ(hvRand(), next) << where;
    }
}

}  // namespace
