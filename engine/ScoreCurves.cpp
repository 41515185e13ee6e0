#include "engine/ScoreCurves.h"

namespace HalvorenEngine {

void loadScoreCurves(const SynthScoreV3& score, ScoreCurveLookups& curves)
{
    for (int c = 0; c < kScoreCurveCount; ++c) {
        curves[c].clear();
        for (const CurvePoint& point : score.curves[c])
            curves[c].addPoint(point.seconds, point.value);
    }
}

}  // namespace HalvorenEngine
