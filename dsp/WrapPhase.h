#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "dsp/FastMath.h"
#include "dsp/Lanes.h"

namespace Halvoren {

namespace wrapping {
constexpr double kTurnsPerRadian = 1.0 / static_cast<double>(kTwoPi);

// The last steps into [-pi, pi].
inline float settle(float v)
{
    while (v < -kPi)
        v += kTwoPi;
    while (v > kPi)
        v -= kTwoPi;
    return v;
}
}  // namespace wrapping

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
        const double turns = static_cast<double>(static_cast<long long>(d * wrapping::kTurnsPerRadian));
        v = static_cast<float>(d - turns * static_cast<double>(kTwoPi));
    } else {
        v = std::fmod(x, kTwoPi);
    }
    return wrapping::settle(v);
}

// wrapPhase of each of the n phases, four at a time where all four are
// below 1e9 in magnitude: their whole turns then fit an int32, whose
// truncation is the one wrapPhase takes. The first step of each settling
// loop is taken for the four at once; a lane still outside goes on alone.
inline void wrapPhases(float* phases, std::size_t n)
{
    typedef std::int32_t Int2 __attribute__((vector_size(8)));
    const auto inRange = [](Double2 d) { return std::fabs(d[0]) < 1e9 && std::fabs(d[1]) < 1e9; };
    const auto rest = [](Double2 d) {
        const Double2 turns =
            __builtin_convertvector(__builtin_convertvector(d * wrapping::kTurnsPerRadian, Int2), Double2);
        return d - turns * static_cast<double>(kTwoPi);
    };
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const Double2 low{phases[i], phases[i + 1]};
        const Double2 high{phases[i + 2], phases[i + 3]};
        if (!(inRange(low) && inRange(high))) {
            for (std::size_t k = i; k < i + 4; ++k)
                phases[k] = wrapPhase(phases[k]);
            continue;
        }
        const Double2 lowRest = rest(low);
        const Double2 highRest = rest(high);
        Float4 v{static_cast<float>(lowRest[0]), static_cast<float>(lowRest[1]), static_cast<float>(highRest[0]),
                 static_cast<float>(highRest[1])};
        v = v < -kPi ? v + kTwoPi : v;
        v = v > kPi ? v - kTwoPi : v;
        storeFloat4(phases + i, v);
        const Int4 outside = (v < -kPi) | (v > kPi);
        if ((outside[0] | outside[1] | outside[2] | outside[3]) != 0) {
            for (std::size_t k = i; k < i + 4; ++k)
                phases[k] = wrapping::settle(phases[k]);
        }
    }
    for (; i < n; ++i)
        phases[i] = wrapPhase(phases[i]);
}

}  // namespace Halvoren
