#include "dsp/SourceJoiner.h"

#include <algorithm>
#include <cmath>

namespace Halvoren {

namespace {
// Order of the Butterworth low-pass that keeps ripple Ap dB up to wp and
// reaches As dB of attenuation at ws.
int butterworthOrder(double wp, double ws, double Ap, double As)
{
    const double stop = std::sqrt(std::pow(10.0, 0.1 * As) - 1.0);
    const double pass = std::sqrt(std::pow(10.0, 0.1 * Ap) - 1.0);
    return static_cast<int>(std::ceil(std::log10(stop / pass) / std::log10(ws / wp)));
}

constexpr int kSumRadius = 10;
}  // namespace

void SourceJoiner::init(int n, float rate)
{
    box_ = std::make_unique<FreqMagAndPhaseBox>(n);  // refuses an odd or tiny n
    fftSize = n;
    sampleRate = rate;
    window.resize(n);
    makeBlackmanHarrisWindow(window.w.data(), n);
    normalizeWindowSum(window);
    correction.assign(static_cast<std::size_t>(n / 2 + 4), 0.0f);
    // The smoother runs across bins: a 20-unit passband and a 500-unit
    // stopband at a design rate of 1000 (order 3), cutoff 20/1000.
    constexpr double kDesignRate = 1000.0;
    smootherOrder = butterworthOrder(20.0, 500.0, 1.0, 60.0);
    smoother.setup(smootherOrder, 20.0 / kDesignRate);
}

void SourceJoiner::release()
{
    box_.reset();
    smoother = ButterworthLowPass();
    smootherOrder = 0;
    correction = {};
    window = AnalysisWindow();
    fftSize = 0;
}

void SourceJoiner::sumLevels(const HPR_model& m, int frame, std::vector<float>& sums)
{
    const int half = fftSize / 2;
    sums.assign(static_cast<std::size_t>(half + 1), 0.0f);
    // Only the frames centred inside the residual count, so that a join at a
    // unit's first or last frames reads the unit's level and not the silence
    // beyond its ends; their sum is scaled to the full count of frames. When
    // none is inside, the join frame itself reads as silence.
    const long long hop = m.hop;
    const long long lastHeld = hop > 0 ? (static_cast<long long>(m.residual.numSamples()) - 1) / hop : -1;
    long long first = std::max<long long>(static_cast<long long>(frame) - kSumRadius, 0);
    long long last = std::min<long long>(static_cast<long long>(frame) + kSumRadius, lastHeld);
    if (first > last)
        first = last = frame;
    for (long long i = first; i <= last; ++i) {
        const long long centre = hop * i - half;
        const int start = static_cast<int>(std::clamp<long long>(centre, -(1LL << 30), 1LL << 30));
        box_->loadFrame(m.residual, start, window, 1.0f);
        box_->fft.forward(box_->re.data(), box_->re.data(), box_->im.data());
        box_->computeMagsDb();
        for (int k = 0; k <= half; ++k)
            sums[static_cast<std::size_t>(k)] += box_->mags[static_cast<std::size_t>(k)];
    }
    const long long counted = last - first + 1;
    if (counted == 2 * kSumRadius + 1)
        return;
    const float scale = static_cast<float>(2 * kSumRadius + 1) / static_cast<float>(counted);
    for (float& s : sums)
        s *= scale;
}

void SourceJoiner::computeResidualCorrection(const HPR_model& a, const HPR_model& b, int frameA, int frameB)
{
    if (!isReady())
        return;
    std::vector<float> sa, sb;
    sumLevels(a, frameA, sa);
    sumLevels(b, frameB, sb);
    const int half = fftSize / 2;
    smoother.cascade.reset();
    for (int k = 0; k <= half; ++k) {
        const auto i = static_cast<std::size_t>(k);
        correction[i] = smoother.cascade.process(sb[i] / 20.0f - sa[i] / 20.0f);
    }
    // Backward without clearing the state: the two passes cancel each
    // other's shift across frequency.
    for (int k = half; k >= 0; --k) {
        const auto i = static_cast<std::size_t>(k);
        correction[i] = smoother.cascade.process(correction[i]);
    }
}

}  // namespace Halvoren
