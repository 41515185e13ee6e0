#include "dsp/WarpedBandLayout.h"

#include <cmath>
#include <stdexcept>

#include "dsp/BandCount.h"
#include "dsp/FastMath.h"
#include "dsp/FreqBox.h"

namespace Halvoren {

namespace {
constexpr float kLinearLimitHz = 3000.0f;

float warp(float f) { return 5000.0f * std::log(f / 15000.0f + 1.0f); }
float unwarp(float m) { return 15000.0f * (std::exp(m / 5000.0f) - 1.0f); }

int clampBin(float v, int half)
{
    if (!(v > 0.0f))
        return 0;
    return v < static_cast<float>(half - 1) ? static_cast<int>(v) : half - 1;
}
}  // namespace

WarpedBandLayout::WarpedBandLayout(float rate, int count)
    : sampleRate(rate), bandCount(clampBandCount(count))
{
    if (!(rate > 0.0f) || !std::isfinite(rate))
        throw std::invalid_argument("band layout needs a positive sample rate");
    buildCentres();
    buildWeights();
}

void WarpedBandLayout::buildCentres()
{
    const float binHz = sampleRate / static_cast<float>(fftSize);
    const double linear = std::ceil(static_cast<double>(kLinearLimitHz / binHz));
    linearCount_ = static_cast<int>(std::min(linear, static_cast<double>(kMaxBandCount) + 1.0));
    centres.assign(static_cast<std::size_t>(bandCount), 0.0f);
    const int written = std::min(linearCount_, bandCount);
    for (int i = 0; i < written; ++i)
        centres[i] = binHz * static_cast<float>(i);
    const int warped = bandCount - linearCount_;
    if (warped <= 0)
        return;
    const float mLo = warp(binHz * static_cast<float>(linearCount_));
    const float mHi = warp(sampleRate / 2.0f);
    for (int j = 0; j < warped; ++j) {
        const float m = static_cast<float>(j) / static_cast<float>(warped) * (mHi - mLo) + mLo;
        centres[linearCount_ + j] = unwarp(m);
    }
}

void WarpedBandLayout::buildWeights()
{
    const int half = fftSize / 2;
    const float nyq = sampleRate / 2.0f;
    startBins.clear();
    weightOffsets.clear();
    weightCounts.clear();
    weights.clear();
    std::vector<float> band;
    for (int k = 0; k < bandCount; ++k) {
        band.clear();
        int start = k;
        if (k < linearCount_) {
            band.push_back(1.0f);
        } else {
            const float lo = centres[k - 1];
            const float hi = k + 1 < bandCount ? centres[k + 1] : 2.0f * centres[k] - centres[k - 1];
            const int loBin = clampBin(std::floor(lo / nyq * half), half);
            const int cBin = clampBin(roundHalfAway(centres[k] / nyq * half), half);
            const int hiBin = clampBin(std::ceil(hi / nyq * half), half);
            start = loBin;
            if (hiBin == loBin) {
                band.push_back(1.0f);
            } else {
                // Falling from 1 towards the centre bin, then rising again
                // from 0 at it: a V, not a triangle.
                const int n = cBin - loBin;
                for (int j = 0; j < n; ++j)
                    band.push_back(1.0f - static_cast<float>(j) / static_cast<float>(n));
                const int m = hiBin - cBin;
                for (int j = 0; j < m; ++j)
                    band.push_back(static_cast<float>(j) / static_cast<float>(m));
                float sum = 0.0f;
                for (float w : band)
                    sum += w;
                if (sum > 0.0f) {
                    for (float& w : band)
                        w /= sum;
                } else {
                    // Only the zero at the centre bin (or no bin at all):
                    // the band is that bin alone.
                    band.assign(1, 1.0f);
                    start = cBin;
                }
            }
        }
        startBins.push_back(start);
        weightOffsets.push_back(static_cast<int>(weights.numSamples()));
        weightCounts.push_back(static_cast<int>(band.size()));
        weights.putSamples(band.data(), static_cast<FastVector<float>::uint>(band.size()));
    }
}

namespace {
int binsOf(const FreqBox& spectrum)
{
    return std::min(static_cast<int>(spectrum.re.size()), static_cast<int>(spectrum.im.size()));
}

// The level of a known band over the first `bins` bins of the spectrum.
float levelOfBand(const WarpedBandLayout& layout, int band, int bins, const FreqBox& spectrum)
{
    const int start = layout.startBins[band];
    const int count = std::min(layout.weightCounts[band], bins - start);
    float s = 0.0f;
    if (count > 0) {
        const float* w = layout.weights.ptrBegin() + layout.weightOffsets[band];
        const float* re = spectrum.re.data() + start;
        const float* im = spectrum.im.data() + start;
        for (int j = 0; j < count; ++j)
            s += w[j] * (re[j] * re[j] + im[j] * im[j]);
    }
    return s > 0.0f ? 10.0f * std::log10(s) : WarpedBandLayout::kFloorDb;
}
}  // namespace

float WarpedBandLayout::bandLevelDb(int band, const FreqBox& spectrum) const
{
    if (band < 0 || band >= bandCount)
        return kFloorDb;
    return levelOfBand(*this, band, binsOf(spectrum), spectrum);
}

void WarpedBandLayout::computeBandsDb(const FreqBox& spectrum, std::vector<float>& out) const
{
    out.resize(static_cast<std::size_t>(bandCount));
    const int bins = binsOf(spectrum);
    for (int k = 0; k < bandCount; ++k)
        out[k] = levelOfBand(*this, k, bins, spectrum);
}

}  // namespace Halvoren
