#pragma once
// Tells a float that is NaN or an infinity (every exponent bit set) by
// integer arithmetic, so that a loop over a run of values checks several at
// once where std::isfinite would check them one by one.
#include <bit>
#include <cstdint>

namespace Halvoren {

// 1 when v is NaN or an infinity, else 0.
inline int notFinite(float v)
{
    return (std::bit_cast<std::uint32_t>(v) & 0x7F800000u) == 0x7F800000u ? 1 : 0;
}

}  // namespace Halvoren
