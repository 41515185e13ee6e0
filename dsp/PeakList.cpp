#include "dsp/PeakList.h"

#include <algorithm>
#include <cmath>

#include "dsp/SinusoidDrawing.h"
#include "dsp/FreqBox.h"

namespace Halvoren {

namespace {
float tilt(const float p[3], float f) { return p[0] + p[1] * (std::exp(p[2] * f) - 1.0f); }
}  // namespace

void PeakList::truncate(std::size_t n)
{
    freqs.resize(std::min(n, freqs.size()));
    mags.resize(std::min(n, mags.size()));
    phases.resize(std::min(n, phases.size()));
}

void PeakList::assign(const PeakList& src)
{
    if (&src == this)
        return;
    freqs = src.freqs;
    mags = src.mags;
    phases = src.phases;
}

void PeakList::removeDuplicatePeaks()
{
    // The kept peaks move down in place: no list is built per call.
    std::size_t kept = 0;
    float lastFreq = 0.0f;
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i) {
        const float f = freqs[i];
        if (f == 0.0f || f == lastFreq)
            continue;
        freqs[kept] = f;
        mags[kept] = mags[i];
        phases[kept] = phases[i];
        ++kept;
        lastFreq = f;
    }
    if (kept != mags.size() || kept != freqs.size() || kept != phases.size()) {
        freqs.resize(kept);
        mags.resize(kept);
        phases.resize(kept);
    }
}

void PeakList::appendPeaks(PeakList& dst) const
{
    if (&dst == this) {
        const PeakList copy = *this;
        copy.appendPeaks(dst);
        return;
    }
    const auto n = static_cast<std::ptrdiff_t>(size());
    dst.freqs.insert(dst.freqs.end(), freqs.begin(), freqs.begin() + n);
    dst.mags.insert(dst.mags.end(), mags.begin(), mags.begin() + n);
    dst.phases.insert(dst.phases.end(), phases.begin(), phases.begin() + n);
}

void PeakList::subtractPeaks(const PeakList& other)
{
    const std::size_t n = std::min(size(), other.size());
    for (std::size_t i = 0; i < n; ++i) {
        freqs[i] = (freqs[i] + other.freqs[i]) / 2.0f;
        mags[i] -= other.mags[i];
    }
    truncate(n);
}

void PeakList::addScaledMagsTo(PeakList& dst, float w) const
{
    const std::size_t n = std::min(mags.size(), dst.mags.size());
    for (std::size_t i = 0; i < n; ++i)
        dst.mags[i] += w * mags[i];
}

void PeakList::addGainDb(float dB)
{
    for (float& m : mags)
        m += dB;
}

void PeakList::blendWith(const PeakList& other, float w, PeakList& out) const
{
    PeakList result;
    const std::size_t n = std::min(size(), other.size());
    result.freqs.reserve(n);
    result.mags.reserve(n);
    result.phases.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (freqs[i] == 0.0f)
            result.append(0.0f, 0.0f, 0.0f);
        else if (other.freqs[i] == 0.0f)
            result.append(freqs[i], mags[i], phases[i]);
        else
            result.append(w * freqs[i] + (1.0f - w) * other.freqs[i], w * mags[i] + (1.0f - w) * other.mags[i],
                          phases[i]);
    }
    out = std::move(result);
}

float PeakList::maxMagDb() const
{
    float best = -120.0f;
    for (float m : mags)
        best = std::max(best, m);
    return best;
}

void PeakList::replaceTilt(const float from[3], const float to[3])
{
    const std::size_t n = size();
    for (std::size_t i = 0; i < n; ++i)
        mags[i] += tilt(to, freqs[i]) - tilt(from, freqs[i]);
}

void PeakList::replaceTiltKeepLevel(const float from[3], const float to[3])
{
    const std::size_t n = size();
    if (n == 0)
        return;
    float total = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const float change = tilt(to, freqs[i]) - tilt(from, freqs[i]);
        mags[i] += change;
        total += change;
    }
    const float mean = total / static_cast<float>(n);
    for (std::size_t i = 0; i < n; ++i)
        mags[i] -= mean;
}

void PeakList::addToSpectrum(FreqMagAndPhaseBox& box, const float* sampleRate) const
{
    addSinusoidsToSpectrum(mags.data(), freqs.data(), phases.data(), static_cast<int>(size()), box.re.data(),
                           box.im.data(), box.n, *sampleRate);
}

void PeakList::addToSpectrumX4(FreqMagAndPhaseBox& box, const float* sampleRate) const
{
    box.clear();
    addToSpectrum(box, sampleRate);
}

}  // namespace Halvoren
