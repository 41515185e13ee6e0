#include "dsp/JitterGenerator.h"

#include <cmath>

#include "dsp/FastMath.h"
#include "platform/Rand.h"

namespace Halvoren {

void JitterGenerator::newCycle()
{
    if (!on)
        return;
    const int m = modulus > 0 ? modulus : 1;
    const int r = hvRand() % m + 1;
    const float frac = static_cast<float>(r) / static_cast<float>(m);
    period = static_cast<int>(static_cast<float>(maxPeriod) * frac);
    // A cycle of zero frames would divide by zero below.
    if (period < 1)
        period = 1;
    amplitude = frac * amplitudeScale;
    phase = 0;
}

float JitterGenerator::nextValue()
{
    if (!on)
        return 0.0f;
    if (period < 1)
        period = 1;
    const float noise = static_cast<float>((hvRand() % 128) - 64) * noiseDepth * 0.015625f;
    const float v = noise + amplitude * std::sin(kTwoPi * static_cast<float>(phase) / static_cast<float>(period));
    phase += 1;
    if (phase >= period) {
        newCycle();
        phase = 0;
    }
    return v;
}

}  // namespace Halvoren
