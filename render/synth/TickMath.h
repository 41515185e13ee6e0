#pragma once
// Sums of tick positions from a file (segment and note positions, widths),
// clamped to the int range instead of overflowing.
#include <cstdint>

#include "dsp/TruncToInt.h"

inline int addTicks(std::int64_t a, std::int64_t b, std::int64_t c = 0)
{
    return HalvorenEngine::truncToInt(static_cast<double>(a + b + c));
}
