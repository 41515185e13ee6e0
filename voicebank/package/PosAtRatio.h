#pragma once
#include <cstdint>

namespace Halvoren {

// begin + (end - begin) * ratio computed in double and truncated toward zero,
// clamped to the int32 range; begin for a NaN ratio.
std::int32_t positionAtRatio(std::int32_t begin, std::int32_t end, float ratio);

}  // namespace Halvoren
