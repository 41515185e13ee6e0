#pragma once
// Random pitch jitter: cycles of a sine of random period and amplitude plus
// a little noise, one value per frame.
#include <cstdint>

namespace Halvoren {

struct JitterGenerator {
    std::uint8_t on = 0;
    int phase = 0;
    int period = 1;
    float amplitude = 0.0f;
    int maxPeriod = 0;
    float amplitudeScale = 0.0f;
    float noiseDepth = 0.0f;
    int modulus = 3;

    // Draws the next cycle's period and amplitude (when on).
    void newCycle();
    // 0 when off; else noise plus the cycle's sine at the current phase.
    float nextValue();
};

}  // namespace Halvoren
