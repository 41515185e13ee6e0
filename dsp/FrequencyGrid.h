#pragma once
// The frequency grid on which the spectral tilt rows are read: fine steps
// up to an eighth of the span, double steps up to a quarter, quadruple steps
// up to just below half of it.
#include <vector>

namespace Halvoren {

inline constexpr int kMaxFrequencyGridCount = 1 << 20;

// With N = 4*count and step = span/N, appends i*step for i = 0..N/8-1, then
// N/16 values for i = N/8, N/8+2, ..., then N/16 values for j = N/4,
// N/4+4, ... (count values in all when count is a multiple of 4). A count
// below 1 appends nothing; one above 2^20 is taken as 2^20.
void fillFrequencyGrid(int count, float span, std::vector<float>& out);

}  // namespace Halvoren
