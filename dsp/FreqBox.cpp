#include "dsp/FreqBox.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "dsp/FastMath.h"
#include "dsp/FormantWarp.h"
#include "dsp/Lanes.h"
#include "dsp/SinusoidDrawing.h"
#include "platform/Rand.h"

namespace Halvoren {

namespace {
constexpr float kSilentBinDb = -120.0f;
constexpr float kPcmScale = 1.0f / 32767.0f;
}  // namespace

namespace {
float binPhaseOf(int draw) { return static_cast<float>(draw % 32767) * 0.00314f; }
}  // namespace

void randomBinPhases(float* out, int count, int* draws)
{
    hvRandFill(draws, count);
    // Four at a time: a draw is at most 32767, so its remainder is itself
    // but for 32767.
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        Int4 d;
        std::memcpy(&d, draws + i, sizeof d);
        storeFloat4(out + i, __builtin_convertvector(d == HV_RAND_MAX ? 0 : d, Float4) * 0.00314f);
    }
    for (; i < count; ++i)
        out[i] = binPhaseOf(draws[i]);
}

namespace {
int checkedSize(int n)
{
    if (n < kMinDrawingFftSize)
        throw std::invalid_argument("frame too small to draw sinusoids into");
    return n;
}
}  // namespace

FreqBox::FreqBox(int size)
    : n(checkedSize(size)), fft(size)
{
    re.assign(static_cast<std::size_t>(n), 0.0f);
    im.assign(static_cast<std::size_t>(n), 0.0f);
}

void FreqBox::clear()
{
    std::fill(re.begin(), re.end(), 0.0f);
    std::fill(im.begin(), im.end(), 0.0f);
}

bool FreqBox::loadFrame(const FIFOSampleBufferTemplate<short>& pcm, int start, const AnalysisWindow& window, float gain)
{
    clear();
    const int L = std::min<int>(window.length, static_cast<int>(window.w.size()));
    if (window.length > n || L < 0)
        return false;
    const int h = L / 2;
    const long long count = pcm.numSamples();
    const short* samples = pcm.ptrBegin();
    // Window entry j reads sample start + j; only the entries whose sample
    // lies within pcm are written, in one run.
    const int from = static_cast<int>(std::clamp<long long>(-static_cast<long long>(start), 0, L));
    const int to = static_cast<int>(std::clamp<long long>(count - start, from, L));
    const long long first = start;
    const float* w = window.w.data();
    float* out = re.data();
    for (int j = from; j < std::min(to, h); ++j)
        out[n - h + j] = samples[first + j] * w[j] * kPcmScale * gain;
    for (int j = std::max(from, h); j < to; ++j)
        out[j - h] = samples[first + j] * w[j] * kPcmScale * gain;
    return true;
}

void FreqBox::swapHalves()
{
    const int half = n / 2;
    for (int i = 0; i < half; ++i)
        std::swap(re[i], re[i + half]);
}

FreqMagAndPhaseBox::FreqMagAndPhaseBox(int size)
    : FreqBox(size)
{
    mags.assign(static_cast<std::size_t>(n / 2 + 16), 0.0f);
    phases.assign(static_cast<std::size_t>(n / 2 + 16), 0.0f);
    drawnMags_.assign(static_cast<std::size_t>(n / 2 + 1), 0.0f);
    drawnPhases_.assign(static_cast<std::size_t>(n / 2 + 1), 0.0f);
    draws_.assign(static_cast<std::size_t>(n / 2 + 1), 0);
}

void FreqMagAndPhaseBox::computeMagsDb()
{
    float last = kSilentBinDb;
    for (int k = 0; k <= n / 2; ++k) {
        const float power = re[k] * re[k] + im[k] * im[k];
        if (power > 0.0f)
            last = 10.0f * std::log10(power);
        mags[k] = last;
    }
}

void FreqMagAndPhaseBox::computeMagsDbAndPhases()
{
    computeMagsDbFloored();
    for (int k = 0; k <= n / 2; ++k)
        phases[k] = std::atan2(im[k], re[k]);
}

void FreqMagAndPhaseBox::computeMagsDbFloored()
{
    for (int k = 0; k <= n / 2; ++k) {
        const float power = re[k] * re[k] + im[k] * im[k];
        mags[k] = power > 0.0f ? 10.0f * std::log10(power) : kSilentBinDb;
    }
}

void FreqMagAndPhaseBox::setMagsInterpolated(const FreqMagAndPhaseBox& src)
{
    const int m = src.n;
    const int factor = n / m;
    if (factor == 1) {
        std::copy_n(src.mags.begin(), std::min(src.mags.size(), mags.size()), mags.begin());
    } else if (factor == 2 || factor == 4 || factor == 8) {
        for (int i = 0; i < m / 2; ++i) {
            const float a = src.mags[i];
            const float step = (src.mags[i + 1] - a) / static_cast<float>(factor);
            for (int j = 0; j < factor; ++j)
                mags[factor * i + j] = a + static_cast<float>(j) * step;
        }
    }
    mags[n / 2] = src.mags[m / 2];
}

void FreqMagAndPhaseBox::addGainDb(float dB)
{
    for (int k = 0; k <= n / 2; ++k)
        mags[k] += dB;
}

void FreqMagAndPhaseBox::setBin(int k, float magDb, float phase)
{
    const float a = fasterPow2(magDb * 0.05f * kCoarseLog2Of10);
    re[k] = a * parabolicSinWrapped(phase + kHalfPi);
    im[k] = a * parabolicSinWrapped(phase);
    if (k > 0 && k < n / 2) {
        re[n - k] = re[k];
        im[n - k] = -im[k];
    }
}

void FreqMagAndPhaseBox::addSinusoids()
{
    for (int k = 0; k <= n / 2; ++k)
        setBin(k, mags[k], phases[k]);
}

void FreqMagAndPhaseBox::addSinusoidsRandomPhase()
{
    // One draw per bin in bin order, drawn in one go.
    randomBinPhases(drawnPhases_.data(), n / 2 + 1, draws_.data());
    setBins(mags.data(), drawnPhases_.data());
}

void FreqMagAndPhaseBox::setBins(const float* magDb, const float* phase)
{
    const int half = n / 2;
    float* r = re.data();
    float* i = im.data();
    for (int k = 0; k <= half; ++k) {
        const float a = fasterPow2(magDb[k] * 0.05f * kCoarseLog2Of10);
        r[k] = a * parabolicSinWrapped(phase[k] + kHalfPi);
        i[k] = a * parabolicSinWrapped(phase[k]);
    }
    for (int k = 1; k < half; ++k) {
        r[n - k] = r[k];
        i[n - k] = -i[k];
    }
}

void FreqMagAndPhaseBox::addSinusoidsRandomPhaseWarped(float ratio, float sampleRate)
{
    ratio = formantRatioOrOne(ratio);
    const int half = n / 2;
    // The phases first, one draw per bin in bin order.
    randomBinPhases(drawnPhases_.data(), half + 1, draws_.data());
    // The factor rises from 1/ratio at bin 1 to 1 at the 18000 Hz bin, which
    // lies beyond n/2 at low sample rates. Bins from that bin on, bin 0 and
    // bin n/2 keep their own magnitude.
    float limitBin = std::trunc(kFormantWarpLimitHz / (sampleRate / static_cast<float>(n)));
    if (!(limitBin > 0.0f))
        limitBin = 0.0f;
    const int limit = static_cast<int>(std::min(limitBin, static_cast<float>(half)));
    const float g1 = 1.0f / ratio;
    const float rise = limitBin > 0.0f && std::isfinite(limitBin) ? (1.0f - g1) / limitBin : 0.0f;
    std::copy_n(mags.begin(), half + 1, drawnMags_.begin());
    for (int k = 1; k < limit; ++k) {
        const float g = g1 + static_cast<float>(k - 1) * rise;
        // Small ratios would read beyond the held bins.
        const float p = std::clamp(static_cast<float>(k) * g, 0.0f, static_cast<float>(half));
        const int i = static_cast<int>(p);  // p >= 0: truncation is the floor
        const float t = p - static_cast<float>(i);
        drawnMags_[k] = mags[i] * (1.0f - t) + mags[i + 1] * t;
    }
    setBins(drawnMags_.data(), drawnPhases_.data());
}

}  // namespace Halvoren
