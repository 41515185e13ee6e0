#include "engine/CurveValue.h"

#include <algorithm>

#include "dsp/LinearLookup.h"

namespace HalvorenEngine {

float curveValueAt(Halvoren::LinearEnvelope& curve, float x)
{
    const auto count = static_cast<int>(std::min(curve.xs.size(), curve.ys.size()));
    Halvoren::LinearLookup lookup;
    lookup.reset(count, curve.xs.data(), curve.ys.data());
    lookup.cursor = curve.cursor;
    const float value = lookup.valueAt(x);
    curve.cursor = lookup.cursor;
    return value;
}

}  // namespace HalvorenEngine
