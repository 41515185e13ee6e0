#include "voicebank/package/BellCurveFilter.h"

#include <cmath>

namespace Halvoren {

float BellCurveFilter::gain(float x) const
{
    const float d = x - center;
    if (width == 0.0f)
        return d == 0.0f ? amplitude : 0.0f;
    const float q = (d * d) / ((width + width) * width);
    const float e = std::exp(-q);
    return amplitude * e;
}

}  // namespace Halvoren
