#include "voicebank/package/PosAtRatio.h"

#include <cmath>

#include "dsp/TruncToInt.h"

namespace Halvoren {

std::int32_t positionAtRatio(std::int32_t begin, std::int32_t end, float ratio)
{
    if (std::isnan(ratio))
        return begin;
    // Both positions fit a double exactly, so only the product rounds.
    const double at = double(begin) + (double(end) - double(begin)) * double(ratio);
    return HalvorenEngine::truncToInt(at);
}

}  // namespace Halvoren
