#include "dsp/FastMath.h"

namespace Halvoren {

using fastmath::foldForSine;
using fastmath::kInvTwoPow23;
using fastmath::kPow2Bias;
using fastmath::sineParabola;

float fastLog2(float x)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    const float m = std::bit_cast<float>((bits & 0x7FFFFFu) | 0x3F000000u);
    const float y = static_cast<float>(bits) * kInvTwoPow23;
    return y - 124.22551f - 1.4980303f * m - 1.72588f / (m + 0.3520887f);
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

float roundHalfAway(float x) { return x > 0.0f ? std::floor(x + 0.5f) : std::ceil(x - 0.5f); }

}  // namespace Halvoren
