#pragma once
// File values computed in 64 bits come back into the model's 32-bit fields.
#include <algorithm>
#include <cstdint>
#include <limits>

inline int32_t clampToInt32(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
