#pragma once
// Tick arithmetic that cannot wrap: positions and widths from files may lie
// anywhere in the 32-bit range, so sums of them are taken in 64 bits and
// clamped back.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace HVCurrentModel {

inline int32_t clampTick(int64_t tick)
{
    return static_cast<int32_t>(std::clamp<int64_t>(tick, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace HVCurrentModel
