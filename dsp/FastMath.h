#pragma once
// Bit-level approximations of log2, 2^x, x^p and sine used by the per-frame
// synthesis loops in place of the standard math library. Single precision.
// The ones the per-bin and per-peak loops call are inline and come for one
// float and for four (dsp/Lanes.h), from one body, so that those loops can
// run several values at once with the same bits.
#include <bit>
#include <cmath>
#include <cstdint>

#include "dsp/Lanes.h"

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

// What the bodies below need of a float or of four: |x|, the conversion
// that truncates to int32, its way back, and int32 bits read as a float.
inline float magnitude(float x) { return std::fabs(x); }
inline Float4 magnitude(Float4 x) { return std::bit_cast<Float4>(std::bit_cast<Int4>(x) & 0x7FFFFFFF); }
inline std::int32_t truncated(float x) { return static_cast<std::int32_t>(x); }
inline Int4 truncated(Float4 x) { return __builtin_convertvector(x, Int4); }
inline float toFloat(std::int32_t i) { return static_cast<float>(i); }
inline Float4 toFloat(Int4 i) { return __builtin_convertvector(i, Float4); }
inline float fromBits(std::int32_t bits) { return std::bit_cast<float>(bits); }
inline Float4 fromBits(Int4 bits) { return std::bit_cast<Float4>(bits); }

// Folds x into [-pi, pi] keeping its sine: (trunc(x / 2pi) +- 1/2) * 2pi - x.
// Within 2^30 turns the conversion truncates as trunc does, without a
// library call. Beyond (where a float phase has no precision left) and for
// NaN the phase counts as 0.
template <class T>
T foldForSine(T x)
{
    constexpr float kMaxTurns = 1073741824.0f;
    const T t = x / kTwoPi;
    const auto held = (t >= -kMaxTurns) & (t <= kMaxTurns);
    const T q = toFloat(truncated(held ? t : 0.0f));
    const T v = held ? x : 0.0f;
    const T h = v >= 0.0f ? 0.5f : -0.5f;
    return (q + h) * kTwoPi - v;
}

// The parabola 4x/pi - 4x|x|/pi^2 that the sines correct towards sin(x).
template <class T>
T sineParabola(T x)
{
    return 1.2732395f * x - 0.40528473f * x * magnitude(x);
}

// The body of fasterPow2 below. After the clamp the product is below 2^31:
// the signed conversion gives the bits.
template <class T>
T fasterPow2(T p)
{
    p = p >= -126.0f ? p : -126.0f;
    p = p > 128.0f ? 128.0f : p;
    return fromBits(truncated((p + kPow2Bias) * kTwoPow23));
}

template <class T>
T parabolicSin(T x)
{
    const T y = sineParabola(x);
    return (0.2230851f * magnitude(y) + 0.77633023f) * y;
}

template <class T>
T drawingSin(T x)
{
    const T y = sineParabola(x);
    return y * (0.7763302f + 0.2230851f * magnitude(y));
}
}  // namespace fastmath

float fastLog2(float x);
// 2^p from the exponent bits; p below -126 (or NaN) is taken as -126 and p
// above 128 as 128, so the result is always a finite non-negative float.
inline float fasterPow2(float p) { return fastmath::fasterPow2(p); }
inline Float4 fasterPow2(Float4 p) { return fastmath::fasterPow2(p); }
float fasterPow(float x, float p);

// Sine for x in [-pi, pi] (a parabola with a cubic correction).
float fastSin(float x);
// fastSin after folding x into [-pi, pi].
float fastSinWrapped(float x);

// The shorter parabolic sine of the spectral frames and the phase
// continuation: y * (0.77633023 + 0.2230851 * |y|) over the parabola y.
inline float parabolicSin(float x) { return fastmath::parabolicSin(x); }
inline float parabolicSinWrapped(float x) { return fastmath::parabolicSin(fastmath::foldForSine(x)); }
inline Float4 parabolicSinWrapped(Float4 x) { return fastmath::parabolicSin(fastmath::foldForSine(x)); }
// The same parabola with the constant 0.7763302: the sine of
// addSinusoidsToSpectrum, which differs from parabolicSin in the last place.
inline float drawingSin(float x) { return fastmath::drawingSin(x); }
inline float drawingSinWrapped(float x) { return fastmath::drawingSin(fastmath::foldForSine(x)); }
inline Float4 drawingSinWrapped(Float4 x) { return fastmath::drawingSin(fastmath::foldForSine(x)); }

// Rounds to the nearest integer, halves away from zero.
float roundHalfAway(float x);

}  // namespace Halvoren
