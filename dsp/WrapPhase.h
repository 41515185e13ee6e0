#pragma once
#include <cmath>

#include "dsp/FastMath.h"

namespace Halvoren {

// Wraps a phase into [-pi, pi]. The remainder after whole turns is taken in
// double, which holds it exactly for any phase a frame loop reaches; larger
// or non-finite values go through fmod.
inline float wrapPhase(float x)
{
    float v;
    const double d = x;
    if (std::fabs(d) < 1e12) {
        // A product one place off the quotient can only miss a whole turn,
        // which the steps below restore.
        constexpr double kTurnsPerRadian = 1.0 / static_cast<double>(kTwoPi);
        const double turns = static_cast<double>(static_cast<long long>(d * kTurnsPerRadian));
        v = static_cast<float>(d - turns * static_cast<double>(kTwoPi));
    } else {
        v = std::fmod(x, kTwoPi);
    }
    while (v < -kPi)
        v += kTwoPi;
    while (v > kPi)
        v -= kTwoPi;
    return v;
}

}  // namespace Halvoren
