#pragma once
// Conversions of positions, counts and samples to narrower integers:
// truncation toward zero, clamped to the target's range, NaN giving 0, so
// that no conversion is left undefined.
#include <cmath>
#include <cstdint>
#include <limits>

namespace HalvorenEngine {

inline std::int64_t truncToInt64(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lo = -9223372036854775808.0;  // -2^63
    if (v <= lo)
        return std::numeric_limits<std::int64_t>::min();
    if (v >= -lo)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(v);
}

inline int truncToInt(double v)
{
    const std::int64_t t = truncToInt64(v);
    if (t < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (t > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(t);
}

// A cell count or frame from a float expression: toward zero, 0 when not
// finite.
inline int countOf(double v)
{
    return std::isfinite(v) ? truncToInt(v) : 0;
}

inline int clampToInt(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// The length from one 32-bit position to another: 0 when `to` comes first.
inline int spanOf(std::int32_t from, std::int32_t to)
{
    return to > from ? clampToInt(std::int64_t{to} - from) : 0;
}

inline std::int16_t saturateToInt16(std::int64_t v)
{
    if (v < -32768)
        return -32768;
    if (v > 32767)
        return 32767;
    return static_cast<std::int16_t>(v);
}

}  // namespace HalvorenEngine
