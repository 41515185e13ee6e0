#pragma once
// A bank of 64 fourth-order gammatone filters on the ERB scale, each
// tabulated as a magnitude response at the bins of one FFT size, so band
// energies are weighted sums over bins instead of filters run in time.
#include <cstdint>
#include <vector>

namespace Halvoren {

struct GammatoneChannel {
    // binCount magnitudes; bin b lies at b * sampleRate / nfft Hz. Near 1 at
    // the centre when a bin falls on it.
    std::vector<float> response;
    // The first and last bins whose response exceeds the design threshold;
    // (0, -1) when none does, so a loop from firstBin to lastBin reads nothing.
    std::int32_t firstBin = 0;
    std::int32_t lastBin = -1;

    bool empty() const { return lastBin < firstBin; }
};

class GammatoneFilterBank {
public:
    GammatoneFilterBank() = default;
    virtual ~GammatoneFilterBank() = default;
    GammatoneFilterBank(const GammatoneFilterBank&) = delete;
    GammatoneFilterBank& operator=(const GammatoneFilterBank&) = delete;

    // Replaces the bank with 64 channels centred by gammatoneCentres(lowHz,
    // highHz), bandwidths 1.019 * ERB * bandwidthScale, responses tabulated
    // for bins 0..nfft/2 at sampleRate, all in single precision. Throws
    // std::invalid_argument for an nfft that is odd, below 2 or above 2^20,
    // a sample rate that is not positive and finite, or edges the centres
    // cannot be computed from.
    void design(int nfft, float sampleRate, float bandwidthScale, float lowHz, float highHz, float threshold);

    std::int32_t channelCount = 0;
    std::int32_t binCount = 0;
    std::int32_t nfft = 0;
    std::vector<float> centres;
    std::vector<GammatoneChannel> channels;
};

}  // namespace Halvoren
