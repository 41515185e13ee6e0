#include "dsp/FastMath.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace Halvoren {

namespace {
constexpr float kTwoPow23 = 8388608.0f;
constexpr float kInvTwoPow23 = 1.0f / 8388608.0f;
constexpr float kPow2Bias = 126.94269504f;

// Folds x into [-pi, pi] keeping its sine: (trunc(x / 2pi) +- 1/2) * 2pi - x.
float foldForSine(float x)
{
    const float q = std::trunc(x / kTwoPi);
    const float h = x >= 0.0f ? 0.5f : -0.5f;
    return (q + h) * kTwoPi - x;
}

// The parabola 4x/pi - 4x|x|/pi^2 that the sines correct towards sin(x).
float sineParabola(float x) { return 1.2732395f * x - 0.40528473f * x * std::fabs(x); }
}  // namespace

float fastLog2(float x)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    const float m = std::bit_cast<float>((bits & 0x7FFFFFu) | 0x3F000000u);
    const float y = static_cast<float>(bits) * kInvTwoPow23;
    return y - 124.22551f - 1.4980303f * m - 1.72588f / (m + 0.3520887f);
}

float fasterPow2(float p)
{
    if (!(p >= -126.0f))
        p = -126.0f;
    if (p > 128.0f)
        p = 128.0f;
    return std::bit_cast<float>(static_cast<std::uint32_t>((p + kPow2Bias) * kTwoPow23));
}

float fasterPow(float x, float p)
{
    const float log2x = static_cast<float>(std::bit_cast<std::uint32_t>(x)) * kInvTwoPow23 - kPow2Bias;
    return fasterPow2(p * log2x);
}

float fastSin(float x)
{
    const float y = sineParabola(x);
    const float s = y * y;
    const float sign = x > 0.0f ? 1.0f : (x < 0.0f ? -1.0f : 0.0f);
    return 0.78444487f * y + sign * s * (0.20363937f + s * (0.015124941f - 0.00322259f * s));
}

float fastSinWrapped(float x) { return fastSin(foldForSine(x)); }

float parabolicSin(float x)
{
    const float y = sineParabola(x);
    return (0.2230851f * std::fabs(y) + 0.77633023f) * y;
}

float parabolicSinWrapped(float x) { return parabolicSin(foldForSine(x)); }

float drawingSin(float x)
{
    const float y = sineParabola(x);
    return y * (0.7763302f + 0.2230851f * std::fabs(y));
}

float drawingSinWrapped(float x) { return drawingSin(foldForSine(x)); }

float roundHalfAway(float x) { return x > 0.0f ? std::floor(x + 0.5f) : std::ceil(x - 0.5f); }

}  // namespace Halvoren
