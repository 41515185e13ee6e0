#include "render/audio/ToneMath.h"

#include <bit>
#include <cmath>
#include <cstdint>

float fastPow2(float p) {
    if (!(p >= -126.0f)) p = -126.0f;
    if (p > 128.0f) p = 128.0f;
    const float offset = p < 0.0f ? 1.0f : 0.0f;
    const float clipp = p;
    const float z = clipp - std::trunc(clipp) + offset;
    const float e = 8388608.0f * (clipp + 121.274055f + 27.728024f / (4.8425255f - z) - 1.4901291f * z);
    return std::bit_cast<float>(static_cast<uint32_t>(e));
}

float toneSine(float x) {
    const float k = std::trunc(x * 0.15915494f);
    const float half = x >= 0.0f ? 0.5f : -0.5f;
    const float y = (k + half) * 6.2831855f - x;
    const float q = 1.2732395f * y - 0.40528473f * y * std::fabs(y);
    const float p = std::copysign(0.2230851f, y);
    return q * (0.7763302f + p * q);
}
