#include "dsp/SynthesizeSinusoids.h"

#include <cmath>
#include <vector>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/LinearLookup.h"

namespace Halvoren {

namespace {
// The curve read at fx / (w * ratio + 1 - w), w falling from 1 at the second
// point to 0 at 18000 Hz; the first point and points from 18000 Hz on stay.
std::vector<float> warpedLevels(const float* freqs, const float* levels, int count, float ratio)
{
    std::vector<float> warped(levels, levels + count);
    if (count < 2)
        return warped;
    const float span = kFormantWarpLimitHz - freqs[1];
    if (!(span > 0.0f))
        return warped;  // no point below 18000 Hz to stretch from
    LinearLookup curve;
    curve.reset(count, freqs, levels);
    for (int i = 1; i < count; ++i) {
        const float fx = freqs[i];
        if (fx >= kFormantWarpLimitHz)
            continue;
        const float w = (kFormantWarpLimitHz - fx) / span;
        warped[i] = curve.valueAt(fx / (w * ratio + (1.0f - w)));
    }
    return warped;
}
}  // namespace

void synthesizeSinusoidsToBuffer(const float* freqs, const float* levels, const float* refLevels, int count,
                                 float ratio, float sampleRate, const FreqBox& source, FreqBox& dest)
{
    ratio = formantRatioOrOne(ratio);
    if (count < 0)
        count = 0;
    const int n = dest.n < source.n ? dest.n : source.n;
    const std::vector<float> warped = warpedLevels(freqs, levels, count, ratio);
    // Both curves share their frequencies: their difference is read once,
    // with one knot index that walks up with the bins.
    std::vector<float> diffs(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        diffs[i] = warped[i] - refLevels[i];
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
        const float magnitude = std::sqrt(source.re[k] * source.re[k] + source.im[k] * source.im[k]);
        const float a = magnitude * fasterPow2(diff * 0.05f * kCoarseLog2Of10);
        const float phase = randomBinPhase();
        dest.re[k] = a * parabolicSinWrapped(phase + kHalfPi);
        dest.im[k] = a * parabolicSinWrapped(phase);
        if (k > 0 && k < n / 2) {
            dest.re[n - k] = dest.re[k];
            dest.im[n - k] = -dest.im[k];
        }
    }
}

}  // namespace Halvoren
