#include "dsp/HarmonicPeakAnalyser.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "dsp/FormantWarp.h"
#include "dsp/Lanes.h"
#include "dsp/Spline.h"

namespace Halvoren {

namespace {
bool isPositive(float v) { return v > 0.0f && std::isfinite(v); }
}  // namespace

HarmonicPeakAnalyser::HarmonicPeakAnalyser(float sampleRate)
    : sampleRate_(sampleRate)
{
}

void HarmonicPeakAnalyser::setPeaks(PeakList& peaks)
{
    peaks.removeDuplicatePeaks();
    input_.assign(peaks);
    envelope_.clear();
    splineY2_.clear();
    const std::size_t n = input_.size();
    if (n > 0) {
        envelope_.append(0.0f, input_.mags[0], 0.0f);
        input_.appendPeaks(envelope_);
        envelope_.append(sampleRate_ * 0.5f, input_.mags[n - 1], 0.0f);
    }
    lookup_.reset(static_cast<int>(envelope_.size()), envelope_.freqs.data(), envelope_.mags.data());
}

void HarmonicPeakAnalyser::setPeaksSpline(PeakList& peaks)
{
    setPeaks(peaks);
    splineSecondDerivs(splineY2_, envelope_.freqs.data(), envelope_.mags.data(), static_cast<int>(envelope_.size()));
}

int HarmonicPeakAnalyser::harmonicLimit() const
{
    // In double: a huge rate would overflow the count as a float product.
    const double limit = static_cast<double>(sampleRate_) * 0.5 / kMinF0;
    if (!(limit >= 1.0))
        return 1;
    return limit < static_cast<double>(INT_MAX - 1) ? static_cast<int>(limit) : INT_MAX - 1;
}

SplineReader HarmonicPeakAnalyser::splineReader()
{
    // Envelopes set without the spline are read through one made on demand.
    if (splineY2_.size() != envelope_.size())
        splineSecondDerivs(splineY2_, envelope_.freqs.data(), envelope_.mags.data(),
                           static_cast<int>(envelope_.size()));
    return SplineReader(splineY2_, envelope_.freqs.data(), envelope_.mags.data());
}

void HarmonicPeakAnalyser::sampleHarmonics(float f0, PeakList& out)
{
    out.clear();
    if (envelope_.empty() || !isSungF0(f0))
        return;
    const float nyquist = sampleRate_ * 0.5f;
    const int limit = harmonicLimit();
    for (int k = 1; k <= limit; ++k) {
        const float f = static_cast<float>(k) * f0;
        if (!(f < nyquist))
            break;
        out.append(f, lookup_.valueAt(f), 0.0f);
    }
}

void HarmonicPeakAnalyser::sampleHarmonicsWarped(float f0, float ratio, PeakList& out)
{
    out.clear();
    if (envelope_.empty() || !isSungF0(f0))
        return;
    ratio = formantRatioOrOne(ratio);
    const float nyquist = sampleRate_ * 0.5f;
    const int limit = harmonicLimit();
    // The harmonics below nyquist: their frequencies rise with k, so the
    // count is the quotient, moved to where the products say.
    const float quotient = nyquist / f0;
    int n = quotient >= static_cast<float>(limit) ? limit : (quotient > 0.0f ? static_cast<int>(quotient) : 0);
    while (n < limit && static_cast<float>(n + 1) * f0 < nyquist)
        ++n;
    while (n > 0 && !(static_cast<float>(n) * f0 < nyquist))
        --n;
    out.freqs.resize(static_cast<std::size_t>(n));
    out.mags.resize(static_cast<std::size_t>(n));
    out.phases.assign(static_cast<std::size_t>(n), 0.0f);
    // The warped frequencies go where their levels will be, four at a time,
    // then are read in one sweep.
    int k = 1;
    for (; k + 3 <= n; k += 4) {
        const Float4 f = __builtin_convertvector(Int4{k, k + 1, k + 2, k + 3}, Float4) * f0;
        storeFloat4(out.freqs.data() + k - 1, f);
        storeFloat4(out.mags.data() + k - 1, formantWarpedFrequency(f, ratio));
    }
    for (; k <= n; ++k) {
        const float f = static_cast<float>(k) * f0;
        out.freqs[k - 1] = f;
        out.mags[k - 1] = formantWarpedFrequency(f, ratio);
    }
    lookup_.valuesAt(out.mags.data(), n, out.mags.data());
}

void HarmonicPeakAnalyser::sampleHarmonicsSpline(float ratio, PeakList& out)
{
    out.clear();
    if (envelope_.empty() || !isPositive(ratio))
        return;
    const int peakCount = static_cast<int>(input_.size());
    const float nyquist = sampleRate_ * 0.5f;
    const float firstMoved = envelope_.freqs[1] * ratio;
    const int limit = std::max(peakCount, harmonicLimit());
    SplineReader level = splineReader();
    for (int k = 1; k <= limit; ++k) {
        float f = sampleRate_ + 1.0f;
        float phase = 0.0f;
        if (k <= peakCount) {
            f = envelope_.freqs[k] * ratio;
            phase = envelope_.phases[k];
        }
        if (f > sampleRate_) {
            // Beyond the input peaks the series needs a rising step.
            if (!isPositive(firstMoved))
                break;
            f = static_cast<float>(k) * firstMoved;
            phase = 0.0f;
        }
        if (!(f < nyquist))
            break;
        out.append(f, level.valueAt(f), phase);
    }
}

void HarmonicPeakAnalyser::sampleHarmonicsSplineWarped(float f0, PeakList& out)
{
    out.clear();
    if (envelope_.empty() || !isSungF0(f0))
        return;
    const int peakCount = static_cast<int>(input_.size());
    const float first = input_.freqs[0];
    const float last = input_.freqs[peakCount - 1];
    const float nyquist = sampleRate_ * 0.5f;
    const int limit = std::max(peakCount, harmonicLimit());
    SplineReader level = splineReader();
    for (int k = 1; k <= limit; ++k) {
        const float f = static_cast<float>(k) * f0;
        int i = 0;
        if (first > 0.0f) {
            // Nearest harmonic number, an exact half rounded down.
            const float v = std::ceil(f / first - 1.0f - 0.5f);
            i = v <= 0.0f ? 0 : (v >= static_cast<float>(peakCount - 1) ? peakCount - 1 : static_cast<int>(v));
        }
        if (input_.freqs[i] == 0.0f) {
            out.append(0.0f, 0.0f, 0.0f);
        } else {
            if (!(f < nyquist))
                break;
            out.append(f, level.valueAt(f), input_.phases[i]);
        }
        if (!(f <= last))
            break;
    }
}

}  // namespace Halvoren
