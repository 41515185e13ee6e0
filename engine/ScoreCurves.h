#pragma once
// The seven curves of a score as piecewise-linear lookups, read by a cell
// loop at each frame's time.
#include <array>

#include "dsp/LinearEnvelope.h"
#include "engine/SynthScoreV3.h"

namespace HalvorenEngine {

using ScoreCurveLookups = std::array<Halvoren::LinearEnvelope, kScoreCurveCount>;

// A curve value held to the curve's range: Pitch from 0 Hz up to the
// largest finite value, Cross 0..1, the others -1..1; not a number gives 0.
// Beyond these the level and breath controls overflow to infinities and
// the frames they make to NaN.
float clampCurveValue(ScoreCurve curve, float value);

// Replaces every lookup by the score's points, values held to their
// curve's range, cursors at the start.
void loadScoreCurves(const SynthScoreV3& score, ScoreCurveLookups& curves);

}  // namespace HalvorenEngine
