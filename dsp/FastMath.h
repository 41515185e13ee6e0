#pragma once
// Bit-level approximations of log2, 2^x, x^p and sine used by the per-frame
// synthesis loops in place of the standard math library. Single precision.
// The ones the per-bin and per-peak loops call are inline, so that those
// loops can run several values at once.
#include <bit>
#include <cmath>
#include <cstdint>

namespace Halvoren {

inline constexpr float kPi = 3.14159265f;
inline constexpr float kTwoPi = 6.28318531f;
inline constexpr float kHalfPi = 1.57079637f;
// log2(10) as fasterPow2's own approximation sees it.
inline constexpr float kCoarseLog2Of10 = 3.3073044f;

namespace fastmath {
inline constexpr float kTwoPow23 = 8388608.0f;
inline constexpr float kInvTwoPow23 = 1.0f / 8388608.0f;
inline constexpr float kPow2Bias = 126.94269504f;

// Folds x into [-pi, pi] keeping its sine: (trunc(x / 2pi) +- 1/2) * 2pi - x.
// Within 2^30 turns the conversion truncates as trunc does, without a
// library call, so loops of folds run several at once. Beyond (where a float
// phase has no precision left) and for NaN the phase counts as 0.
inline float foldForSine(float x)
{
    constexpr float kMaxTurns = 1073741824.0f;
    const float t = x / kTwoPi;
    const bool held = t >= -kMaxTurns && t <= kMaxTurns;
    const float q = static_cast<float>(static_cast<std::int32_t>(held ? t : 0.0f));
    const float v = held ? x : 0.0f;
    const float h = v >= 0.0f ? 0.5f : -0.5f;
    return (q + h) * kTwoPi - v;
}

// The parabola 4x/pi - 4x|x|/pi^2 that the sines correct towards sin(x).
inline float sineParabola(float x) { return 1.2732395f * x - 0.40528473f * x * std::fabs(x); }
}  // namespace fastmath

float fastLog2(float x);
// 2^p from the exponent bits; p below -126 (or NaN) is taken as -126 and p
// above 128 as 128, so the result is always a finite non-negative float.
inline float fasterPow2(float p)
{
    if (!(p >= -126.0f))
        p = -126.0f;
    if (p > 128.0f)
        p = 128.0f;
    // Below 2^31 after the clamp: the signed conversion gives the same bits.
    return std::bit_cast<float>(
        static_cast<std::uint32_t>(static_cast<std::int32_t>((p + fastmath::kPow2Bias) * fastmath::kTwoPow23)));
}
float fasterPow(float x, float p);

// Sine for x in [-pi, pi] (a parabola with a cubic correction).
float fastSin(float x);
// fastSin after folding x into [-pi, pi].
float fastSinWrapped(float x);

// The shorter parabolic sine of the spectral frames and the phase
// continuation: y * (0.77633023 + 0.2230851 * |y|) over the parabola y.
inline float parabolicSin(float x)
{
    const float y = fastmath::sineParabola(x);
    return (0.2230851f * std::fabs(y) + 0.77633023f) * y;
}
inline float parabolicSinWrapped(float x) { return parabolicSin(fastmath::foldForSine(x)); }
// The same parabola with the constant 0.7763302: the sine of
// addSinusoidsToSpectrum, which differs from parabolicSin in the last place.
inline float drawingSin(float x)
{
    const float y = fastmath::sineParabola(x);
    return y * (0.7763302f + 0.2230851f * std::fabs(y));
}
inline float drawingSinWrapped(float x) { return drawingSin(fastmath::foldForSine(x)); }

// Rounds to the nearest integer, halves away from zero.
float roundHalfAway(float x);

}  // namespace Halvoren
