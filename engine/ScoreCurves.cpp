#include "engine/ScoreCurves.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace HalvorenEngine {

float clampCurveValue(ScoreCurve curve, float value)
{
    if (std::isnan(value))
        return 0.0f;
    if (curve == kScorePitch)
        return std::clamp(value, 0.0f, std::numeric_limits<float>::max());
    return std::clamp(value, curve == kScoreCross ? 0.0f : -1.0f, 1.0f);
}

void loadScoreCurves(const SynthScoreV3& score, ScoreCurveLookups& curves)
{
    for (int c = 0; c < kScoreCurveCount; ++c) {
        curves[c].clear();
        for (const CurvePoint& point : score.curves[c])
            curves[c].addPoint(point.seconds, clampCurveValue(static_cast<ScoreCurve>(c), point.value));
    }
}

}  // namespace HalvorenEngine
