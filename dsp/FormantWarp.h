#pragma once
// The formant warp shared by envelope sampling and phase continuation: below
// 18000 Hz a frequency is read at f * (w / ratio + 1 - w), w falling from 1
// at 0 Hz to 0 at 18000 Hz, so the envelope is stretched by the ratio at low
// frequencies and left alone at the top of the spectrum.
#include <cmath>

namespace Halvoren {

inline constexpr float kFormantWarpLimitHz = 18000.0f;

// A ratio that is not positive and finite counts as 1 (no warp).
inline float formantRatioOrOne(float ratio) { return ratio > 0.0f && std::isfinite(ratio) ? ratio : 1.0f; }

// The frequency at which the envelope is read for a partial at f, for one
// float or four (dsp/Lanes.h).
template <class T>
T formantWarpedFrequency(T f, float ratio)
{
    const T w = (kFormantWarpLimitHz - f) / kFormantWarpLimitHz;
    const T warped = (w / ratio + (1.0f - w)) * f;
    return f < kFormantWarpLimitHz ? warped : f;
}

}  // namespace Halvoren
