#include "dsp/HarmonicPhaseState.h"

#include <algorithm>
#include <cmath>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/PhaseSlopeTable.h"
#include "dsp/WrapPhase.h"
#include "platform/Rand.h"

namespace Halvoren {

namespace {
constexpr float kRippleFromHz = 8000.0f;

// dst = src with the three vectors cut to src's complete peaks.
void copyCompletePeaks(const PeakList& src, PeakList& dst)
{
    dst.assign(src);
    dst.truncate(dst.size());
}
}  // namespace

HarmonicPhaseState::HarmonicPhaseState(float rate, float maxFrequency, int limit)
    : maxHz(maxFrequency), harmonicLimit(limit), sampleRate(rate)
{
}

void HarmonicPhaseState::reset(int maxPeriod, float amplitudeScale, float noiseDepth)
{
    current.clear();
    previous.clear();
    jitter.maxPeriod = maxPeriod;
    jitter.amplitudeScale = amplitudeScale;
    jitter.noiseDepth = noiseDepth;
    jitter.modulus = 3;
    jitter.on = 1;
    jitter.newCycle();
}

void HarmonicPhaseState::clearFrames()
{
    current.clear();
    previous.clear();
}

PeakList& HarmonicPhaseState::finish()
{
    previous.assign(current);
    // Kept wrapped: an unwrapped float phase grows by hundreds of radians per
    // frame at high partials and loses the precision the next frame adds to.
    wrapPhases(previous.phases.data(), previous.phases.size());
    return current;
}

int HarmonicPhaseState::nearestPrevious(float f) const
{
    int best = -1;
    float bestDistance = sampleRate;
    const std::size_t n = previous.size();
    for (std::size_t j = 0; j < n; ++j) {
        const float d = std::fabs(f - previous.freqs[j]);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(j);
        }
    }
    return best;
}

int HarmonicPhaseState::partnerOf(std::size_t i, float f) const
{
    if (i < previous.size())
        return static_cast<int>(i);
    return nearestPrevious(f);
}

float HarmonicPhaseState::continuedPhase(int j, float f, float T) const
{
    return (f + previous.freqs[j]) * kPi * T + previous.phases[j];
}

void HarmonicPhaseState::makeInitialPhases(const PeakList& frame, PeakList& out) const
{
    copyCompletePeaks(frame, out);
    const int n = static_cast<int>(out.size());
    if (n == 0)
        return;
    if (n == 1) {
        out.phases[0] = -2.0f;
        return;
    }
    std::vector<float> d(static_cast<std::size_t>(n));
    for (int i = 0; i + 1 < n; ++i)
        d[i] = (out.freqs[i + 1] - out.freqs[i]) * 0.16534698f;
    d[n - 1] = d[n - 2];
    int rippleStart = -1;
    for (int k = 1; k <= n; ++k) {
        const int from = std::max(k - 2, 0);
        const int to = std::min(k, n - 1);
        float sum = 0.0f;
        for (int m = from; m <= to; ++m)
            sum += d[m];
        float phase = sum / static_cast<float>(to - from + 1) - 2.0f;
        if (out.freqs[k - 1] > kRippleFromHz) {
            if (rippleStart < 0)
                rippleStart = k - 1;
            // A ripple with a period of 35 partials.
            phase += kPi * parabolicSinWrapped(kTwoPi * static_cast<float>(k - 1 - rippleStart) / 35.0f);
        }
        out.phases[k - 1] = phase;
    }
}

void HarmonicPhaseState::makeTablePhases(const PeakList& frame, PeakList& out, int index) const
{
    copyCompletePeaks(frame, out);
    const double v = phaseSlopeAt(index);
    for (std::size_t i = 0; i < out.size(); ++i)
        out.phases[i] = static_cast<float>(kPi - static_cast<double>(i + 1) * v * 2.0 * kPi);
}

void HarmonicPhaseState::makeTablePhasesWithOffsets(const PeakList& frame, PeakList& out, int index,
                                                    const FastVector<float>& offsets) const
{
    makeTablePhases(frame, out, index);
    const std::size_t n = std::min<std::size_t>(out.size(), offsets.numSamples());
    for (std::size_t i = 0; i < n; ++i)
        out.phases[i] += offsets.ptrBegin()[i];
}

float HarmonicPhaseState::jitterPhase(float f0, float f) const
{
    const float limit = std::min(maxHz, f0 * static_cast<float>(harmonicLimit));
    float scale = kPi;
    if (f < limit) {
        const float span = limit - f0;
        scale = span != 0.0f ? std::pow(kPi + 1.0f, (f - f0) / span) - 1.0f : 0.0f;
    }
    return static_cast<float>((hvRand() % 64) - 32) * 0.03125f * scale;
}

PeakList& HarmonicPhaseState::continuePhasesV1(const PeakList& frame, float T)
{
    if (previous.empty()) {
        makeInitialPhases(frame, current);
        return finish();
    }
    // In place: the kept partials move down over the dropped ones.
    copyCompletePeaks(frame, current);
    const std::size_t n = current.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const float f = current.freqs[i];
        if (f == 0.0f)
            continue;
        const int j = partnerOf(i, f);
        // Without any previous partial in reach the partial keeps its own phase.
        const float phase = j >= 0 ? continuedPhase(j, f, T) : current.phases[i];
        current.freqs[kept] = f;
        current.mags[kept] = current.mags[i];
        current.phases[kept] = phase;
        ++kept;
    }
    current.truncate(kept);
    return finish();
}

PeakList& HarmonicPhaseState::continuePhasesJitter(const PeakList& frame, float T)
{
    if (previous.empty()) {
        makeInitialPhases(frame, current);
        jitter.newCycle();
        return finish();
    }
    // In place: a frame that is this state's own current one is copied onto itself.
    copyCompletePeaks(frame, current);
    const float prevF0 = previous.freqs[0];
    const float f0 = current.empty() ? 0.0f : current.freqs[0];
    const float g = jitter.nextValue();
    const float a = wrapPhase(2.0f * g * kPi * prevF0 * T);
    for (std::size_t i = 0; i < current.size(); ++i) {
        const float f = current.freqs[i];
        if (f == 0.0f)
            continue;
        const int j = partnerOf(i, f);
        if (j < 0 || previous.freqs[j] == 0.0f)
            continue;
        current.phases[i] = continuedPhase(j, f, T) + wrapPhase(static_cast<float>(i + 1) * a) + jitterPhase(f0, f);
    }
    return finish();
}

PeakList& HarmonicPhaseState::continuePhasesWarped(const PeakList& frame, float T, float ratio, StepTable* table)
{
    if (previous.empty()) {
        makeInitialPhases(frame, current);
        return finish();
    }
    ratio = formantRatioOrOne(ratio);
    const bool useTable = table != nullptr && table->isValid();
    if (useTable) {
        if (table->columnCounter < 0 || ++table->columnCounter > table->columnLimit)
            pickRandomThird(*table);
    }
    copyCompletePeaks(frame, current);
    for (std::size_t i = 0; i < current.size(); ++i) {
        const float f = current.freqs[i];
        if (f == 0.0f)
            continue;
        const int j = partnerOf(i, f);
        if (j < 0 || previous.freqs[j] == 0.0f)
            continue;
        float tablePhase = 0.0f;
        if (useTable) {
            if (table->columnCounter < 0)
                pickRandomThird(*table);
            tablePhase = table->valueAt(table->columnCounter, formantWarpedFrequency(f, ratio));
        }
        current.phases[i] = continuedPhase(j, f, T) + tablePhase;
    }
    return finish();
}

PeakList& HarmonicPhaseState::continuePhasesTrackA(const PeakList& frame, float T, int index)
{
    if (previous.empty()) {
        makeTablePhases(frame, current, index);
        return finish();
    }
    copyCompletePeaks(frame, current);
    const std::size_t n = current.size();
    if (n > 3) {
        const float slope = static_cast<float>(phaseSlopeAt(index) * 2.0 * kPi);
        for (std::size_t k = 0; k < 3 && k < previous.size(); ++k)
            current.phases[k] = continuedPhase(static_cast<int>(k), current.freqs[k], T);
        const float e = wrapPhase(current.phases[0] - (kPi - slope));
        for (std::size_t k = 3; k < n; ++k) {
            const float h = static_cast<float>(k + 1);
            current.phases[k] = h * e + kPi - h * slope;
        }
    }
    return finish();
}

PeakList& HarmonicPhaseState::continuePhasesTrackB(const PeakList& frame, float T, int index,
                                                   const FastVector<float>& offsets)
{
    if (previous.empty()) {
        makeTablePhasesWithOffsets(frame, current, index, offsets);
        return finish();
    }
    copyCompletePeaks(frame, current);
    const std::size_t n = current.size();
    if (n > 1) {
        const float slope = static_cast<float>(phaseSlopeAt(index) * 2.0 * kPi);
        for (std::size_t k = 0; k < 2 && k < previous.size(); ++k)
            current.phases[k] = continuedPhase(static_cast<int>(k), current.freqs[k], T);
        const float e = wrapPhase(current.phases[0] - kPi);
        for (std::size_t k = 2; k < n; ++k) {
            const float h = static_cast<float>(k + 1);
            float phase = h * e + kPi - h * slope;
            if (k < offsets.numSamples())
                phase += offsets.ptrBegin()[k];
            current.phases[k] = phase;
        }
    }
    return finish();
}

}  // namespace Halvoren
