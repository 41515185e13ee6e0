#pragma once
// Bands over the bins of a 512-point spectrum: one bin wide up to about
// 3000 Hz, above that spaced evenly on m(f) = 5000*ln(1 + f/15000), each
// with normalised V-shaped bin weights; and a spectrum's level per band.
#include <cstdint>
#include <vector>

#include "dsp/FIFOSampleBuffer.h"

namespace Halvoren {

class FreqBox;

class WarpedBandLayout {
public:
    static constexpr float kFloorDb = -120.0f;

    // sampleRate must be positive and finite (std::invalid_argument
    // otherwise); a band count outside 0..4096 is clamped. When the count is
    // below the number of one-bin bands, only that many linear bands exist.
    WarpedBandLayout(float sampleRate, int bandCount);
    WarpedBandLayout(const WarpedBandLayout&) = delete;
    WarpedBandLayout& operator=(const WarpedBandLayout&) = delete;

    // 10*log10 of the band's weighted power; zero power, an unknown band
    // or a band outside the spectrum gives -120 dB.
    float bandLevelDb(int band, const FreqBox& spectrum) const;
    // out resized to bandCount, one level per band.
    void computeBandsDb(const FreqBox& spectrum, std::vector<float>& out) const;

    // Number of one-bin bands: ceil(3000 / (sampleRate / fftSize)).
    int linearBandCount() const { return linearCount_; }

    std::vector<float> centres;  // Hz
    std::vector<int> startBins;
    std::vector<int> weightOffsets;
    std::vector<int> weightCounts;
    FastVector<float> weights;
    float sampleRate;
    std::int32_t fftSize = 512;
    std::int32_t bandCount;

private:
    void buildCentres();
    void buildWeights();

    int linearCount_ = 0;
};

}  // namespace Halvoren
