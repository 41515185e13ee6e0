#include "dsp/GammatoneCentres.h"

#include <cmath>
#include <limits>

namespace Halvoren {

std::array<float, kGammatoneChannels> gammatoneCentres(float lowHz, float highHz)
{
    std::array<float, kGammatoneChannels> centres{};
    const float lowShifted = lowHz + kErbOffsetHz;
    const float highShifted = highHz + kErbOffsetHz;
    if (!(lowShifted > 0.0f) || !(highShifted > 0.0f)) {
        centres.fill(std::numeric_limits<float>::quiet_NaN());
        return centres;
    }
    // Counted down from the top: k = 64 lands exactly on lowHz.
    const float step = (std::log(lowShifted) - std::log(highShifted)) / float(kGammatoneChannels);
    for (int k = 1; k <= kGammatoneChannels; ++k)
        centres[std::size_t(kGammatoneChannels - k)] = std::exp(float(k) * step) * highShifted - kErbOffsetHz;
    return centres;
}

}  // namespace Halvoren
