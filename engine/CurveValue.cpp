#include "engine/CurveValue.h"

namespace HalvorenEngine {

float curveValueAt(Halvoren::LinearEnvelope& curve, float x)
{
    return curve.valueAt(x);
}

}  // namespace HalvorenEngine
