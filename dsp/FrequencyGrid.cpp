#include "dsp/FrequencyGrid.h"

#include <algorithm>

namespace Halvoren {

void fillFrequencyGrid(int count, float span, std::vector<float>& out)
{
    if (count < 1)
        return;
    const int N = 4 * std::min(count, kMaxFrequencyGridCount);
    const float step = span / static_cast<float>(N);
    const int eighth = N / 8;
    const int sixteenth = N / 16;
    out.reserve(out.size() + static_cast<std::size_t>(eighth + 2 * sixteenth));
    for (int i = 0; i < eighth; ++i)
        out.push_back(static_cast<float>(i) * step);
    for (int k = 0; k < sixteenth; ++k)
        out.push_back(static_cast<float>(eighth + 2 * k) * step);
    for (int k = 0; k < sixteenth; ++k)
        out.push_back(static_cast<float>(N / 4 + 4 * k) * step);
}

}  // namespace Halvoren
