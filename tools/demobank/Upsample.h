#pragma once
// Doubles a recording's sample rate: zeros between the samples, then a
// windowed-sinc low-pass (cut-off 10 kHz at the doubled rate of 44100 Hz)
// that removes the images above the original band. Linear interpolation
// would leave those images for the analysis to find.
#include <cstdint>
#include <vector>

namespace demobank {

// Output sample 2n + j lies at input time n + j / 2; the length doubles.
// Rounded and saturated to 16 bits.
std::vector<std::int16_t> upsampleTwice(const std::vector<std::int16_t>& in, double outRate = 44100.0,
                                        double cutoffHz = 10000.0);

}  // namespace demobank
