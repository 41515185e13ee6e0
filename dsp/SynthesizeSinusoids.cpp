#include "dsp/SynthesizeSinusoids.h"

#include <algorithm>
#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/Lanes.h"
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

// Bins from .. to - 1, whose frequencies are in values, read linearly
// between points j - 1 and j: the values become the level differences.
void readBetween(const float* freqs, const float* diffs, int j, int from, int to, float* values)
{
    const float upper = freqs[j];
    const float width = upper - freqs[j - 1];
    if (width > 0.0f) {
        for (int k = from; k < to; ++k) {
            const float t = (upper - values[k]) / width;
            values[k] = diffs[j] * (1.0f - t) + diffs[j - 1] * t;
        }
    } else {
        const float t = 0.0f;
        for (int k = from; k < to; ++k)
            values[k] = diffs[j] * (1.0f - t) + diffs[j - 1] * t;
    }
}

// The linear gain of each bin 0..n/2: the level difference read linearly
// between the points, with one knot index that walks up with the bins. The
// bins between the same two points are read in one run, several at once.
void binGains(const float* freqs, const float* diffs, int count, float sampleRate, int n, float* gains)
{
    const int half = n / 2;
    if (count <= 0) {
        // No curve: a difference of 0 dB everywhere.
        std::fill(gains, gains + half + 1, fasterPow2(0.0f));
        return;
    }
    // gains holds each bin's frequency until its level difference replaces it.
    for (int k = 0; k <= half; ++k)
        gains[k] = static_cast<float>(k) * sampleRate / static_cast<float>(n);
    const float first = freqs[0];
    const float last = freqs[count - 1];
    // Strictly between the first and the last point, so not NaN.
    auto inside = [first, last](float f) { return f > first && f < last; };
    gains[0] = diffs[0];
    int j = 1;
    for (int k = 1; k <= half;) {
        const float f = gains[k];
        if (!inside(f)) {
            gains[k] = f <= first || std::isnan(f) ? diffs[0] : diffs[count - 1];
            ++k;
            continue;
        }
        while (j < count - 1 && !(freqs[j] > f))
            ++j;
        // The bins after it that need no step of the knot index: inside and
        // below knot j, unless that is the last (neither bound is NaN here).
        const float bound = j == count - 1 ? last : std::min(last, freqs[j]);
        int end = k + 1;
        while (end <= half && gains[end] > first && gains[end] < bound)
            ++end;
        readBetween(freqs, diffs, j, k, end, gains);
        k = end;
    }
    // From dB to amplitude in a pass of its own, four bins at a time.
    int k = 0;
    for (; k + 4 <= half + 1; k += 4)
        storeFloat4(gains + k, fasterPow2(loadFloat4(gains + k) * 0.05f * kCoarseLog2Of10));
    for (; k <= half; ++k)
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
    const float* phases = work.phases.data();
    float* dr = dest.re.data();
    float* di = dest.im.data();
    // The gains become the bins' new magnitudes, then take their phases four
    // bins at a time.
    float* a = work.gains.data();
    for (int k = 0; k <= half; ++k)
        a[k] = std::sqrt(sr[k] * sr[k] + si[k] * si[k]) * a[k];
    int k = 0;
    for (; k + 4 <= half + 1; k += 4) {
        const Float4 phase = loadFloat4(phases + k);
        storeFloat4(dr + k, loadFloat4(a + k) * parabolicSinWrapped(phase + kHalfPi));
        storeFloat4(di + k, loadFloat4(a + k) * parabolicSinWrapped(phase));
    }
    for (; k <= half; ++k) {
        dr[k] = a[k] * parabolicSinWrapped(phases[k] + kHalfPi);
        di[k] = a[k] * parabolicSinWrapped(phases[k]);
    }
    for (int k = 1; k < half; ++k) {
        dr[n - k] = dr[k];
        di[n - k] = -di[k];
    }
}

}  // namespace Halvoren
