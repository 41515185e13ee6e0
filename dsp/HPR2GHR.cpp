#include "dsp/HPR2GHR.h"

#include "dsp/GammatoneCentres.h"

namespace Halvoren {

namespace {
constexpr float kBandwidthScale = 1.0f;
constexpr float kSignificantResponse = 0.0025f;
}  // namespace

HPR2GHR::HPR2GHR(float rate) : sampleRate(rate)
{
    bankLarge.design(nfftLarge, rate, kBandwidthScale, kGammatoneLowHz, kGammatoneHighHz, kSignificantResponse);
    bankSmall.design(nfftSmall, rate, kBandwidthScale, kGammatoneLowHz, kGammatoneHighHz, kSignificantResponse);
}

}  // namespace Halvoren
