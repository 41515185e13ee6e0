#include "dsp/GaussNoise.h"

#include <cmath>

#include "dsp/FastMath.h"

namespace Halvoren {

float gaussNoise(HvRandGen& gen, float mean, float variance)
{
    const float u1 = static_cast<float>(gen.next() / static_cast<double>(HV_RAND_MAX));
    const float u2 = static_cast<float>(gen.next() / static_cast<double>(HV_RAND_MAX));
    const float c = fastSinWrapped(kTwoPi * u2 + kHalfPi);
    // fastLog2(1) is slightly above 0; a negative radicand would give NaN.
    float radicand = -2.0f * variance * fastLog2(u1) * 0.6931472f;
    if (!(radicand > 0.0f))
        radicand = 0.0f;
    return mean + std::sqrt(radicand) * c;
}

}  // namespace Halvoren
