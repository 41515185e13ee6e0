#pragma once
// Bit-level approximations of log2, 2^x, x^p and sine used by the per-frame
// synthesis loops in place of the standard math library. Single precision.
namespace Halvoren {

inline constexpr float kPi = 3.14159265f;
inline constexpr float kTwoPi = 6.28318531f;
inline constexpr float kHalfPi = 1.57079637f;
// log2(10) as fasterPow2's own approximation sees it.
inline constexpr float kCoarseLog2Of10 = 3.3073044f;

float fastLog2(float x);
// 2^p from the exponent bits; p below -126 (or NaN) is taken as -126 and p
// above 128 as 128, so the result is always a finite non-negative float.
float fasterPow2(float p);
float fasterPow(float x, float p);

// Sine for x in [-pi, pi] (a parabola with a cubic correction).
float fastSin(float x);
// fastSin after folding x into [-pi, pi].
float fastSinWrapped(float x);

// The shorter parabolic sine of the spectral frames and the phase
// continuation: y * (0.77633023 + 0.2230851 * |y|) over the parabola y.
float parabolicSin(float x);
float parabolicSinWrapped(float x);
// The same parabola with the constant 0.7763302: the sine of
// addSinusoidsToSpectrum, which differs from parabolicSin in the last place.
float drawingSin(float x);
float drawingSinWrapped(float x);

// Rounds to the nearest integer, halves away from zero.
float roundHalfAway(float x);

}  // namespace Halvoren
