#pragma once
// The two gammatone banks of the band model, designed once: one tabulated at
// the bins of a 4096-point FFT, one at those of a 512-point FFT, both with 64
// channels from 50 Hz to 22050 Hz and a significance threshold of 0.0025.
#include <cstdint>

#include "dsp/GammatoneFilterBank.h"

namespace Halvoren {

class HPR2GHR {
public:
    // Designs both banks; throws std::invalid_argument for a sample rate
    // that is not positive and finite.
    explicit HPR2GHR(float sampleRate);
    virtual ~HPR2GHR() = default;
    HPR2GHR(const HPR2GHR&) = delete;
    HPR2GHR& operator=(const HPR2GHR&) = delete;

    GammatoneFilterBank bankLarge;
    GammatoneFilterBank bankSmall;
    std::int32_t nfftLarge = 4096;
    std::int32_t nfftSmall = 512;
    float sampleRate;
};

}  // namespace Halvoren
