#pragma once
// Centre frequencies of the 64 auditory bands: evenly spaced on the ERB-rate
// scale ln(f + 228.83292) from lowHz (the first centre) up towards highHz
// (the last centre lies one step below it). Computed in single precision by
// the same closed form the filter-bank design uses, so code that needs only
// the centres calls this instead of designing a bank.
#include <array>

namespace Halvoren {

constexpr int kGammatoneChannels = 64;
constexpr float kGammatoneLowHz = 50.0f;
constexpr float kGammatoneHighHz = 22050.0f;
// The ERB-rate offset 9.26449 * 24.7 (Glasberg and Moore).
constexpr float kErbOffsetHz = 228.83292f;

// Centres in Hz, ascending. lowHz and highHz must both lie above
// -kErbOffsetHz; otherwise every centre is NaN.
std::array<float, kGammatoneChannels> gammatoneCentres(float lowHz = kGammatoneLowHz,
                                                        float highHz = kGammatoneHighHz);

}  // namespace Halvoren
