#pragma once
#include <cmath>

#include "dsp/FastMath.h"

namespace Halvoren {

// Wraps a phase into [-pi, pi].
inline float wrapPhase(float x)
{
    float v = std::fmod(x, kTwoPi);
    while (v < -kPi)
        v += kTwoPi;
    while (v > kPi)
        v -= kTwoPi;
    return v;
}

}  // namespace Halvoren
