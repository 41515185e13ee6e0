#include "dsp/SynthesizeSinusoids.h"

#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/LinearLookup.h"

namespace Halvoren {

namespace {
// The curve read at fx / (w * ratio + 1 - w), w falling from 1 at the second
// point to 0 at 18000 Hz; the first point and points from 18000 Hz on stay.
void warpLevels(const float* freqs, const float* levels, int count, float ratio, std::vector<float>& warped)
{
    warped.assign(levels, levels + count);
    // At ratio 1 every point reads the curve at its own frequency (w + (1 - w)
    // rounds to exactly 1), where the curve is its own level.
    if (count < 2 || ratio == 1.0f)
        return;
    const float span = kFormantWarpLimitHz - freqs[1];
    if (!(span > 0.0f))
        return;  // no point below 18000 Hz to stretch from
    LinearLookup curve;
    curve.reset(count, freqs, levels);
    for (int i = 1; i < count; ++i) {
        const float fx = freqs[i];
        if (fx >= kFormantWarpLimitHz)
            continue;
        const float w = (kFormantWarpLimitHz - fx) / span;
        warped[i] = curve.valueAt(fx / (w * ratio + (1.0f - w)));
    }
}

// The linear gain of each bin 0..n/2: the level difference read linearly
// between the points, with one knot index that walks up with the bins.
void binGains(const float* freqs, const float* diffs, int count, float sampleRate, int n, float* gains)
{
    int j = 1;
    for (int k = 0; k <= n / 2; ++k) {
        float diff = 0.0f;
        if (count > 0) {
            const float f = static_cast<float>(k) * sampleRate / static_cast<float>(n);
            if (k == 0 || f <= freqs[0] || std::isnan(f)) {
                diff = diffs[0];
            } else if (f >= freqs[count - 1]) {
                diff = diffs[count - 1];
            } else {
                while (j < count - 1 && !(freqs[j] > f))
                    ++j;
                const float width = freqs[j] - freqs[j - 1];
                const float t = width > 0.0f ? (freqs[j] - f) / width : 0.0f;
                diff = diffs[j] * (1.0f - t) + diffs[j - 1] * t;
            }
        }
        gains[k] = diff;
    }
    // From dB to amplitude in a pass of its own, several bins at once.
    for (int k = 0; k <= n / 2; ++k)
        gains[k] = fasterPow2(gains[k] * 0.05f * kCoarseLog2Of10);
}
}  // namespace

void synthesizeSinusoidsToBuffer(const float* freqs, const float* levels, const float* refLevels, int count,
                                 float ratio, float sampleRate, const FreqBox& source, FreqBox& dest,
                                 RecolourWork& work)
{
    ratio = formantRatioOrOne(ratio);
    if (count < 0)
        count = 0;
    const int n = dest.n < source.n ? dest.n : source.n;
    const int half = n / 2;
    warpLevels(freqs, levels, count, ratio, work.warped);
    // Both curves share their frequencies: their difference is read once.
    work.diffs.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        work.diffs[i] = work.warped[i] - refLevels[i];
    work.gains.resize(static_cast<std::size_t>(half) + 1);
    binGains(freqs, work.diffs.data(), count, sampleRate, n, work.gains.data());
    work.phases.resize(static_cast<std::size_t>(half) + 1);
    work.draws.resize(static_cast<std::size_t>(half) + 1);
    randomBinPhases(work.phases.data(), half + 1, work.draws.data());

    const float* sr = source.re.data();
    const float* si = source.im.data();
    const float* gains = work.gains.data();
    const float* phases = work.phases.data();
    float* dr = dest.re.data();
    float* di = dest.im.data();
    for (int k = 0; k <= half; ++k) {
        const float a = std::sqrt(sr[k] * sr[k] + si[k] * si[k]) * gains[k];
        dr[k] = a * parabolicSinWrapped(phases[k] + kHalfPi);
        di[k] = a * parabolicSinWrapped(phases[k]);
    }
    for (int k = 1; k < half; ++k) {
        dr[n - k] = dr[k];
        di[n - k] = -di[k];
    }
}

}  // namespace Halvoren
